// The coordinate tooltip window; see the header.
#include "shell/coord_tooltip.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QtMath>

#include "platform/qpainter_device.h"
#include "session/coord_tip.h"
#include "shell/overlay_window.h"

namespace kv {

namespace {

Rect screen_rect_at(QPoint p) {
  const QScreen* s = QGuiApplication::screenAt(p);
  if (s == nullptr) s = QGuiApplication::primaryScreen();
  if (s == nullptr) return Rect{p.x(), p.y(), p.x() + 1, p.y() + 1};
  const QRect g = s->geometry();
  return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

}  // namespace

QImage render_coord_tip(const CoordTip& tip, const PanelRecord& panel, const ColourTable& colours,
                        double dpr) {
  const LabelFonts fonts = coord_tip_fonts(panel);
  if (!(dpr > 0)) dpr = 1.0;
  // Measured on an image like the one drawn on, so the metrics agree.
  TextExtent size;
  {
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDevicePixelRatio(dpr);
    QPainter painter(&probe);
    QPainterDevice device(painter);
    size = coord_tip_size(device, tip, fonts);
  }
  if (size.width <= 0 || size.height <= 0 || size.width > 4096 || size.height > 4096) return QImage();
  QImage image(qCeil(size.width * dpr), qCeil(size.height * dpr), QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  QPainter painter(&image);
  QPainterDevice device(painter);
  draw_coord_tip(device, tip, fonts, colours);
  return image;
}

CoordTooltip::CoordTooltip(QWidget* owner)
    : QWidget(owner, kOverlayWindowFlags) {
  make_passive_overlay(this);
}

void CoordTooltip::show_values(const PanelRecord& panel, const PlotRect& plot,
                               const ColourTable& colours, Point client, QPoint cursor,
                               const PanelPlot* curves) {
  QImage picture = render_coord_tip(coord_tip_text(panel, plot, client, curves), panel, colours,
                                    devicePixelRatioF());
  if (picture.isNull()) {
    hide_tip();
    return;
  }
  picture_ = std::move(picture);
  // The picture's side was rounded up to whole device pixels; back in units
  // it rounds down again.
  const QSizeF logical = picture_.deviceIndependentSize();
  const TextExtent size{qFloor(logical.width()), qFloor(logical.height())};
  const Point at = place_coord_tip({cursor.x(), cursor.y()}, size, screen_rect_at(cursor));
  setGeometry(at.x, at.y, size.width, size.height);
  update();
  if (!shown_) show();
  shown_ = true;
}

void CoordTooltip::hide_tip() {
  hide();
  shown_ = false;
}

void CoordTooltip::paintEvent(QPaintEvent* event) {
  const double dpr = picture_.devicePixelRatio();
  const QRectF dirty(event->rect());
  QPainter(this).drawImage(dirty, picture_,
                           QRectF(dirty.topLeft() * dpr, dirty.size() * dpr));
}

}  // namespace kv
