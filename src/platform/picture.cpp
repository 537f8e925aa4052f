// The graph as a picture; see the header.
#include "platform/picture.h"

#include <QBuffer>
#include <QtMath>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "graph/coord_painter.h"
#include "graph/recompute.h"
#include "platform/qpainter_device.h"

namespace kv {

namespace {

// The frame of a picture whose origin is the client area's corner.
PictureFrame picture_frame(const PlotPlacement& placement, bool vector_mode) {
  const Rect& c = placement.client;
  PictureFrame f;
  f.background = {0, 0, c.width(), c.height()};
  f.plot = placement.plot;
  f.plot.left -= c.left;
  f.plot.top -= c.top;
  f.vector_mode = vector_mode;
  return f;
}

// A picture at the window's pixel ratio; pictures beyond the limits of
// picture_size_possible count as ones that cannot be made.
QImage make_picture(const Rect& client, double dpr = 1.0) {
  const qint64 w = qCeil(client.width() * dpr), h = qCeil(client.height() * dpr);
  if (!picture_size_possible(w, h)) return QImage();
  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  return image;
}

// The picture still fits the window: the same graph area and pixel ratio.
bool picture_fits(const QImage& image, const Rect& client, double dpr) {
  return image.devicePixelRatio() == dpr && image.width() == qCeil(client.width() * dpr) &&
         image.height() == qCeil(client.height() * dpr);
}

void render(QPainter& painter, PanelRecord& panel, const PanelPlot& plot,
            const ColourTable& colours, const PictureFrame& frame) {
  QPainterDevice device(painter);
  paint_picture(device, panel, plot, colours, frame);
}

}  // namespace

QImage paint_graph_image(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                         const PlotPlacement& placement) {
  QImage image = make_picture(placement.client);
  if (image.isNull()) return image;
  QPainter painter(&image);
  render(painter, panel, plot, colours, picture_frame(placement, false));
  painter.end();
  return image;
}

QByteArray paint_graph_svg(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                           const PlotPlacement& placement) {
  const Rect& c = placement.client;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  // 96 dots per inch: the size in millimetres that viewers show as one
  // picture pixel per screen pixel.
  svg.setResolution(96);
  svg.setSize(QSize(c.width(), c.height()));
  svg.setViewBox(QRect(0, 0, c.width(), c.height()));
  svg.setTitle(QStringLiteral("Kurvaline"));
  {
    QPainter painter(&svg);
    render(painter, panel, plot, colours, picture_frame(placement, true));
  }
  return buffer.data();
}

QPicture record_graph_picture(PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                              const PlotPlacement& placement) {
  QPicture picture;
  QPainter painter(&picture);
  render(painter, panel, plot, colours, picture_frame(placement, true));
  painter.end();
  return picture;
}

RgbImage to_rgb_image(const QImage& source) {
  RgbImage out;
  if (source.isNull()) return out;
  const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
  out.width = image.width();
  out.height = image.height();
  out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uint32_t* dst = out.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
    for (int x = 0; x < out.width; ++x) dst[x] = row[x] & kRgbMask;
  }
  return out;
}

void OffscreenPicture::paint(QPainter& window, const QRect& dirty, PanelRecord& panel,
                             PanelPlot& plot, const ColourTable& colours,
                             const PlotPlacement& placement, const PaintFlags& flags) {
  const PlotRect& p = placement.plot;
  const double dpr = flags.device_pixel_ratio > 0 ? flags.device_pixel_ratio : 1.0;
  if (!panel.error.failed && flags.ready && flags.recompute) {
    // Sharp pixels on a high-density screen: classified at device pixels.
    const ImplicitOptions implicit{flags.progressive, std::clamp(qRound(dpr), 1, 4)};
    recompute_panel(panel, plot, p.width, p.height, implicit);
  }
  painted_ = true;
  const Rect& c = placement.client;
  PictureFrame direct;
  direct.background = c;
  direct.plot = p;
  direct.ready = flags.ready;
  direct.selected = flags.selected;
  if (!flags.double_buffering) {
    discard();
    render(window, panel, plot, colours, direct);
    return;
  }
  if (!picture_fits(image_, c, dpr)) discard();
  if (image_.isNull() && flags.whole) {
    render(window, panel, plot, colours, direct);
    return;
  }
  if (flags.redraw || image_.isNull()) {
    // A picture that still fits is painted over: every pixel is drawn again,
    // and a fresh full-screen picture would cost its allocation and the
    // first touch of each page on every redraw.
    render_picture(panel, plot, colours, placement, flags, dpr);
    if (image_.isNull()) {
      render(window, panel, plot, colours, direct);
      render_failed_ = true;
    }
  }
  if (!image_.isNull()) {
    // The source rectangle counts the picture's own (device) pixels.
    const QRectF source(QRectF(dirty.translated(-c.left, -c.top)).topLeft() * dpr,
                        QSizeF(dirty.size()) * dpr);
    window.drawImage(QRectF(dirty), image_, source);
  }
}

const QImage& OffscreenPicture::picture_for(PanelRecord& panel, const PanelPlot& plot,
                                            const ColourTable& colours,
                                            const PlotPlacement& placement,
                                            const PaintFlags& flags) {
  const double dpr = flags.device_pixel_ratio > 0 ? flags.device_pixel_ratio : 1.0;
  if (painted_ && !picture_fits(image_, placement.client, dpr)) {
    discard();
    render_picture(panel, plot, colours, placement, flags, dpr);
  }
  return image_;
}

void OffscreenPicture::render_picture(PanelRecord& panel, const PanelPlot& plot,
                                      const ColourTable& colours, const PlotPlacement& placement,
                                      const PaintFlags& flags, double dpr) {
  if (image_.isNull()) image_ = make_picture(placement.client, dpr);
  if (image_.isNull()) return;
  PictureFrame frame = picture_frame(placement, false);
  frame.ready = flags.ready;
  frame.selected = flags.selected;
  QPainter painter(&image_);
  render(painter, panel, plot, colours, frame);
  render_failed_ = false;
}

}  // namespace kv
