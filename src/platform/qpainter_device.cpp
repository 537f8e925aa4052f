// The drawing device over a QPainter; see the header.
#include "platform/qpainter_device.h"

#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QTransform>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "expr/cp1252.h"
#include "graph/fonts.h"
#include "platform/qt_boundary.h"

namespace kv {

QColor to_qcolor(Colour c) { return QColor(colour_red(c), colour_green(c), colour_blue(c)); }

void cp1252_to_qstring(std::string_view text, QString& out) {
  out.resize(static_cast<qsizetype>(text.size()));
  QChar* d = out.data();
  for (unsigned char b : text) *d++ = QChar(static_cast<char16_t>(cp1252_to_unicode(b)));
}

QString cp1252_to_qstring(std::string_view text) {
  QString s;
  cp1252_to_qstring(text, s);
  return s;
}

namespace {


// The points of a polyline or polygon in Qt's type.
class QPoints {
 public:
  QPoints(const Point* points, size_t n) : v_(n) {
    for (size_t i = 0; i < n; ++i) v_[i] = QPoint(points[i].x, points[i].y);
  }
  const QPoint* data() const { return v_.data(); }
  int size() const { return static_cast<int>(v_.size()); }

 private:
  std::vector<QPoint> v_;
};

// A fill of at least this many pixels (4 MB) is larger than the caches keep
// for it: the background of a full-HD picture.
constexpr qint64 kStreamedFillPixels = qint64{1} << 20;

// Fills n pixels from p with v. The stores go past the caches where the
// processor can: the caches would first read every line of the picture only
// to have it overwritten, which made the background fill of a full-HD
// picture cost as much as the curves on it. The caller fences.
void fill_streamed(QRgb* p, int n, QRgb v) {
#if defined(__SSE2__)
  while (n > 0 && (reinterpret_cast<uintptr_t>(p) & 15u) != 0) {
    *p++ = v;
    --n;
  }
  const __m128i four = _mm_set1_epi32(static_cast<int>(v));
  for (; n >= 4; n -= 4, p += 4) _mm_stream_si128(reinterpret_cast<__m128i*>(p), four);
#endif
  std::fill(p, p + n, v);
}

// Our colour as the picture's opaque pixel: both hold red, green and blue
// in the low three bytes.
QRgb opaque(Colour c) { return 0xff000000u | (c & 0xffffffu); }

// floor(n / d) for d > 0.
int64_t floor_div(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// Appends the pixels of a one-pixel line from a to b with b left out, as our
// device interface sets them: one pixel per step along the longer axis, and
// across it the pixel nearest to the ideal line. The nearest pixel is worked
// out from the end with the smaller coordinate on the longer axis (ties go to
// the larger coordinate across), so a segment covers the same pixels
// whichever way it is drawn. Steps outside [lo, hi) on the longer axis are skipped, so a huge
// segment costs no more than the picture is wide.
void append_line_pixels(std::vector<QPoint>& out, Point a, Point b, const QRect& bounds) {
  const bool steep = std::abs(int64_t{b.y} - a.y) > std::abs(int64_t{b.x} - a.x);
  auto major = [steep](Point p) { return steep ? p.y : p.x; };
  auto minor = [steep](Point p) { return steep ? p.x : p.y; };
  const int64_t n = std::abs(int64_t{major(b)} - major(a));
  if (n == 0) return;
  const bool forward = major(a) < major(b);
  const Point p = forward ? a : b;  // the canonical start
  const int64_t d_minor = int64_t{minor(forward ? b : a)} - minor(p);
  const int step = forward ? 1 : -1;
  const int64_t lo = steep ? bounds.top() : bounds.left();
  const int64_t hi = int64_t{steep ? bounds.bottom() : bounds.right()} + 1;
  // Steps k = 0 .. n - 1 from a; major coordinate major(a) + k * step.
  int64_t k_first = 0, k_last = n - 1;
  if (step > 0) {
    k_first = std::max(k_first, lo - major(a));
    k_last = std::min(k_last, hi - 1 - major(a));
  } else {
    k_first = std::max(k_first, major(a) - (hi - 1));
    k_last = std::min(k_last, major(a) - lo);
  }
  for (int64_t k = k_first; k <= k_last; ++k) {
    const int64_t m = major(a) + k * step;
    const int64_t j = m - major(p);
    const int64_t across = minor(p) + floor_div(2 * j * d_minor + n, 2 * n);
    out.push_back(steep ? QPoint(static_cast<int>(across), static_cast<int>(m))
                        : QPoint(static_cast<int>(m), static_cast<int>(across)));
  }
}

}  // namespace

QPainterDevice::QPainterDevice(QPainter& painter) : painter_(painter), base_(painter.transform()) {
  raster_ = painter.device() != nullptr && painter.device()->devType() == QInternal::Image;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setClipping(false);
  if (raster_) {
    // An opaque colour drawn over an RGB32 pixel replaces it; a picture at a
    // higher pixel ratio is scaled by the painter and stays with Qt, as does
    // an image shared with a copy, whose pixels would move on the first write.
    auto* image = static_cast<QImage*>(painter.device());
    if (image->format() == QImage::Format_RGB32 && image->isDetached() &&
        painter.deviceTransform().isIdentity() && painter.opacity() == 1.0 &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver) {
      direct_bits_ = const_cast<uchar*>(image->constBits());
      direct_stride_ = image->bytesPerLine();
      image_rect_ = image->rect();
      clip_ = image_rect_;
    }
  }
  apply_pen();
  apply_brush();
  select_font(FontSpec{});
}

void QPainterDevice::apply_pen() {
  if (pen_.style == PenStyle::Null) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  if (pen_.width <= 1) {
    // A flat cap leaves out the end pixel of one-pixel lines, as our lines want.
    painter_.setPen(QPen(to_qcolor(pen_.colour), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  } else {
    painter_.setPen(
        QPen(to_qcolor(pen_.colour), pen_.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
}

void QPainterDevice::apply_brush() {
  switch (brush_.style) {
    case BrushStyle::Solid:
      painter_.setBrush(QBrush(to_qcolor(brush_.colour), Qt::SolidPattern));
      break;
    case BrushStyle::HatchBackwardDiagonal:
      // Qt's pattern has the same 8-pixel "/" lines, aligned to the device.
      painter_.setBrush(QBrush(to_qcolor(brush_.colour), Qt::BDiagPattern));
      break;
    case BrushStyle::Null:
      painter_.setBrush(Qt::NoBrush);
      break;
  }
}

void QPainterDevice::set_pen(const Pen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  apply_pen();
}

void QPainterDevice::set_brush(const Brush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  apply_brush();
}

void QPainterDevice::set_clip_rect(const Rect& r) {
  // Qt fixes the clip in device space at the time it is set, as our interface wants.
  painter_.setClipRect(to_qrect(r));
  clip_valid_ = r.width() > 0 && r.height() > 0;
  clip_ = to_qrect(r).translated(origin_.x, origin_.y) & image_rect_;
}

void QPainterDevice::clear_clip() {
  painter_.setClipping(false);
  clip_valid_ = true;
  clip_ = image_rect_;
}

void QPainterDevice::set_origin(int x, int y) {
  origin_ = {x, y};
  painter_.setTransform(QTransform::fromTranslate(x, y) * base_);
}

bool QPainterDevice::pixel_lines() const { return raster_ && pen_.width <= 1; }

QRect QPainterDevice::pixel_bounds() const {
  const QPaintDevice* d = painter_.device();
  const QRect device(0, 0, d->width(), d->height());
  return base_.inverted().mapRect(device).translated(-origin_.x, -origin_.y);
}

void QPainterDevice::draw_line_pixels() {
  if (const QRect* clip = direct_clip()) {
    const QRgb v = opaque(pen_.colour);
    // The clip's edges in locals: QRect::contains is a call per pixel.
    const int left = clip->left(), right = clip->right(), top = clip->top(), bottom = clip->bottom();
    for (const QPoint& q : line_pixels_) {
      const int x = q.x() + origin_.x, y = q.y() + origin_.y;
      if (x < left || x > right || y < top || y > bottom) continue;
      direct_row(y)[x] = v;
    }
  } else if (!line_pixels_.empty()) {
    painter_.drawPoints(line_pixels_.data(), static_cast<int>(line_pixels_.size()));
  }
  line_pixels_.clear();
}

void QPainterDevice::fill_direct(const QRect& device_rect, Colour c) {
  const QRect r = device_rect & *direct_clip();
  if (r.isEmpty()) return;
  const QRgb v = opaque(c);
  const bool large = qint64{r.width()} * r.height() >= kStreamedFillPixels;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    QRgb* row = direct_row(y);
    if (large) {
      fill_streamed(row + r.left(), r.width(), v);
    } else {
      std::fill(row + r.left(), row + r.right() + 1, v);
    }
  }
#if defined(__SSE2__)
  if (large) _mm_sfence();
#endif
}

void QPainterDevice::line(int x1, int y1, int x2, int y2) {
  if (pen_.style == PenStyle::Null) return;
  if (pixel_lines()) {
    append_line_pixels(line_pixels_, {x1, y1}, {x2, y2}, pixel_bounds());
    draw_line_pixels();
    return;
  }
  painter_.drawLine(x1, y1, x2, y2);
}

void QPainterDevice::polyline(const Point* points, size_t n) {
  if (n < 2 || pen_.style == PenStyle::Null) return;
  if (pixel_lines()) {
    const QRect bounds = pixel_bounds();
    for (size_t i = 0; i + 1 < n; ++i) append_line_pixels(line_pixels_, points[i], points[i + 1], bounds);
    draw_line_pixels();
    return;
  }
  QPoints q(points, n);
  painter_.drawPolyline(q.data(), q.size());
}

void QPainterDevice::polygon(const Point* points, size_t n) {
  if (n < 2) return;
  QPoints q(points, n);
  painter_.drawPolygon(q.data(), q.size());
}

void QPainterDevice::rectangle(const Rect& r) {
  if (r.width() < 1 || r.height() < 1) return;
  // QRect(l, t, w - 1, h - 1) puts a one-pixel outline on columns l and
  // r - 1 and rows t and b - 1, the frame our rectangles have.
  painter_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void QPainterDevice::fill_rect(const Rect& r, Colour c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  if (direct_clip() != nullptr) return fill_direct(to_qrect(r).translated(origin_.x, origin_.y), c);
  painter_.fillRect(to_qrect(r), to_qcolor(c));
}

void QPainterDevice::fill_fine_rect(const Rect& r, int scale, Colour c) {
  if (scale <= 1) return fill_rect(r, c);
  if (r.width() <= 0 || r.height() <= 0) return;
  const double s = scale;
  painter_.fillRect(QRectF(r.left / s, r.top / s, r.width() / s, r.height() / s), to_qcolor(c));
}

void QPainterDevice::set_pixel(int x, int y, Colour c) {
  if (direct_clip() != nullptr) return fill_direct(QRect(x + origin_.x, y + origin_.y, 1, 1), c);
  painter_.fillRect(QRect(x, y, 1, 1), to_qcolor(c));
}

void QPainterDevice::draw_strip(int x, int y, const Colour* pixels, size_t length,
                                bool vertical) {
  if (length == 0) return;
  const int n = static_cast<int>(length);
  if (const QRect* clip = direct_clip()) {
    const int x0 = x + origin_.x, y0 = y + origin_.y;
    const QRect r = QRect(x0, y0, vertical ? 1 : n, vertical ? n : 1) & *clip;
    if (r.isEmpty()) return;
    for (int py = r.top(); py <= r.bottom(); ++py) {
      QRgb* row = direct_row(py);
      for (int px = r.left(); px <= r.right(); ++px) {
        row[px] = opaque(pixels[vertical ? py - y0 : px - x0]);
      }
    }
    return;
  }
  QImage strip(vertical ? 1 : n, vertical ? n : 1, QImage::Format_RGB32);
  if (strip.isNull()) return;
  // Written straight into the pixel memory: setPixel checks and detaches per
  // pixel, which made dotted grids the larger part of a full-HD repaint.
  uchar* bits = strip.bits();
  const qsizetype step = vertical ? strip.bytesPerLine() : qsizetype{sizeof(QRgb)};
  for (int i = 0; i < n; ++i) {
    const QRgb v = opaque(pixels[i]);
    std::memcpy(bits + i * step, &v, sizeof v);
  }
  painter_.drawImage(x, y, strip);
}

void QPainterDevice::draw_column_strips(const int* columns, size_t count, int y,
                                        const Colour* pixels, size_t length) {
  const QRect* clip = direct_clip();
  if (clip == nullptr || length == 0) {
    return Device::draw_column_strips(columns, count, y, pixels, length);
  }
  // Down the rows with every column in each: the picture's memory in order,
  // where one column after the other touches a new cache line per pixel.
  columns_.clear();
  for (size_t k = 0; k < count; ++k) {
    const int x = columns[k] + origin_.x;
    if (x >= clip->left() && x <= clip->right()) columns_.push_back(x);
  }
  const int y0 = y + origin_.y;
  const QRect rows = QRect(clip->left(), y0, 1, static_cast<int>(length)) & *clip;
  if (columns_.empty() || rows.isEmpty()) return;
  for (int py = rows.top(); py <= rows.bottom(); ++py) {
    QRgb* row = direct_row(py);
    const QRgb v = opaque(pixels[py - y0]);
    for (int x : columns_) row[x] = v;
  }
}

void QPainterDevice::dotted_line(int x, int y, int extent, int spacing, bool vertical,
                                 Colour c) {
  if (raster_ || spacing < 2 || extent < 0) {
    Device::dotted_line(x, y, extent, spacing, vertical, c);
    return;
  }
  // Dashes of one pixel and gaps of spacing - 1, starting on the far dot and
  // running back to (x, y), along the pixel centres.
  const int reach = extent - (extent % spacing);
  const QPointF from = vertical ? QPointF(x + 0.5, y + extent + 1) : QPointF(x + extent + 1, y + 0.5);
  const QPointF to = vertical ? QPointF(x + 0.5, y + extent - reach) : QPointF(x + extent - reach, y + 0.5);
  QPen pen(to_qcolor(c), 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
  pen.setDashPattern({1.0, static_cast<qreal>(spacing - 1)});
  painter_.save();
  painter_.setPen(pen);
  painter_.drawLine(QLineF(from, to));
  painter_.restore();
}

void QPainterDevice::select_font(const FontSpec& font) {
  if (metrics_ && font == font_) return;
  font_ = font;
  qfont_ = QFont(QString::fromLatin1(font_family_for_face(font.face)));
  qfont_.setPixelSize(font.height > 0 ? font.height : 1);
  qfont_.setBold(font.bold);
  qfont_.setItalic(font.italic);
  qfont_.setUnderline(font.underline);
  qfont_.setKerning(false);
  qfont_.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
  qfont_.setHintingPreference(QFont::PreferFullHinting);
  painter_.setFont(qfont_);
  metrics_.emplace(qfont_, painter_.device());
}

FontMetrics QPainterDevice::font_metrics() const {
  FontMetrics m;
  m.ascent = metrics_->ascent();
  m.descent = metrics_->descent();
  m.height = m.ascent + m.descent;
  m.average_width = metrics_->averageCharWidth();
  return m;
}

void QPainterDevice::set_text_background(bool opaque, Colour c) {
  opaque_text_ = opaque;
  text_background_ = c;
}

void QPainterDevice::draw_text(int x, int y, std::string_view text, TextAlign align) {
  if (text.empty()) return;
  const QString s = cp1252_to_qstring(text);
  const int width = metrics_->horizontalAdvance(s);
  const int height = metrics_->ascent() + metrics_->descent();
  int left = 0;
  if (align == TextAlign::Right) left = -width;
  if (align == TextAlign::Center) left = -width / 2;

  painter_.save();
  // Draw in the frame of the text: the reference point at (0, 0), the
  // writing direction along +x (our escapement is counter-clockwise).
  painter_.translate(x, y);
  if (font_.escapement != 0) painter_.rotate(-font_.escapement / 10.0);
  if (opaque_text_) painter_.fillRect(QRect(left, 0, width, height), to_qcolor(text_background_));
  painter_.setPen(QPen(to_qcolor(text_colour_)));
  painter_.drawText(QPoint(left, metrics_->ascent()), s);
  painter_.restore();
}

TextExtent QPainterDevice::text_extent(std::string_view text) const {
  // The help measures thousands of words in a row; the buffer keeps its room.
  cp1252_to_qstring(text, measured_);
  return {metrics_->horizontalAdvance(measured_), metrics_->ascent() + metrics_->descent()};
}

}  // namespace kv
