// The drawing device over a QPainter: the off-screen picture (a QImage), SVG
// output (QSvgGenerator) and the window.
//
// It keeps the pixel rules of our drawing interface where the painters count on them: one-pixel
// lines set their first pixel and leave out their end pixel in every
// direction, with the pixel nearest to the ideal line across it (on raster
// images they are set pixel by pixel, since Qt's own rasteriser leaves out the
// first pixel of lines drawn leftwards or upwards and rounds by half a pixel
// differently; vector targets get plain lines), wider pens have round caps and
// joins, Rectangle covers left..right-1 and top..bottom-1 with the outline on
// that frame, text is drawn without antialiasing and without kerning with its
// cell's top at the given point, and the clip rectangle stays where it was set
// when the origin moves. Text arrives as Windows-1252 bytes.
//
// On an RGB32 image drawn at one image pixel per unit (the window's picture,
// exported bitmaps), one-pixel lines, pixels, strips and solid fills are
// written straight into the image: the same pixels Qt would set, without its
// per-point transform and clip work, which was the larger part of a full-HD
// repaint. Everything else, and every other target, goes through Qt.
//
// The painter must be active for the device's lifetime; the device does not
// end it, and nothing else changes its transform, clip or composition while
// the device lives. Our coordinates start where the painter's transform puts
// them (the window's painter is moved to the corner of the client area).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTransform>
#include <optional>
#include <vector>

#include "graph/device.h"

class QPainter;

namespace kv {

class QPainterDevice final : public Device {
 public:
  explicit QPainterDevice(QPainter& painter);

  void set_pen(const Pen& pen) override;
  Pen pen() const override { return pen_; }
  void set_brush(const Brush& brush) override;
  Brush brush() const override { return brush_; }

  void set_clip_rect(const Rect& r) override;
  void clear_clip() override;
  void set_origin(int x, int y) override;
  Point origin() const override { return origin_; }

  void line(int x1, int y1, int x2, int y2) override;
  void polyline(const Point* points, size_t n) override;
  void polygon(const Point* points, size_t n) override;
  void rectangle(const Rect& r) override;
  void fill_rect(const Rect& r, Colour c) override;
  void set_pixel(int x, int y, Colour c) override;
  void fill_fine_rect(const Rect& r, int scale, Colour c) override;
  void draw_strip(int x, int y, const Colour* pixels, size_t length, bool vertical) override;
  void draw_column_strips(const int* columns, size_t count, int y, const Colour* pixels,
                          size_t length) override;
  // On a raster image dot by dot; on vector targets (SVG, printers) one
  // dashed line, so that a dotted grid stays small.
  void dotted_line(int x, int y, int extent, int spacing, bool vertical, Colour c) override;

  void select_font(const FontSpec& font) override;
  FontMetrics font_metrics() const override;
  void set_text_colour(Colour c) override { text_colour_ = c; }
  void set_text_background(bool opaque, Colour c) override;
  void draw_text(int x, int y, std::string_view text, TextAlign align) override;
  TextExtent text_extent(std::string_view text) const override;

 private:
  void apply_pen();
  void apply_brush();
  // One-pixel lines set pixel by pixel (raster images only).
  bool pixel_lines() const;
  // The picture in current coordinates.
  QRect pixel_bounds() const;
  void draw_line_pixels();
  // The direct path: the clip in image pixels, or null when Qt must draw.
  const QRect* direct_clip() const { return direct_bits_ != nullptr && clip_valid_ ? &clip_ : nullptr; }
  QRgb* direct_row(int y) const { return reinterpret_cast<QRgb*>(direct_bits_ + y * direct_stride_); }
  void fill_direct(const QRect& device_rect, Colour c);

  QPainter& painter_;
  QTransform base_;  // the painter's transform as the device got it
  Pen pen_;
  Brush brush_;
  Point origin_;
  FontSpec font_;
  QFont qfont_;
  std::optional<QFontMetrics> metrics_;
  Colour text_colour_ = 0;
  Colour text_background_ = 0xffffff;
  bool opaque_text_ = false;
  bool raster_ = true;
  uchar* direct_bits_ = nullptr;  // the image's pixels when the direct path applies
  qsizetype direct_stride_ = 0;   // bytes per row
  QRect image_rect_;              // the whole image
  QRect clip_;                    // image pixels that may be written
  bool clip_valid_ = true;        // false for a clip Qt must interpret (empty)
  std::vector<QPoint> line_pixels_;  // kept for its capacity
  std::vector<int> columns_;         // likewise
  mutable QString measured_;         // likewise
};

QColor to_qcolor(Colour c);
QString cp1252_to_qstring(std::string_view text);
// The same into out, reusing its room.
void cp1252_to_qstring(std::string_view text, QString& out);

}  // namespace kv
