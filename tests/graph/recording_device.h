// A drawing device that records every operation instead of painting, so that
// tests can assert what is drawn: pen, polylines, discs, vertical lines.
// Points are recorded in device coordinates (the origin already applied).
// Text is measured with a fixed cell of 7 x (font height + 2) pixels.
#pragma once

#include <string>
#include <vector>

#include "graph/device.h"

namespace kv::test {

enum class OpKind { Line, Polyline, Polygon, Rectangle, FillRect, Pixel, Ellipse, Strip, Text };

struct RecordedOp {
  OpKind kind = OpKind::Line;
  Pen pen;
  Brush brush;
  Colour colour = 0;          // pixel, fill, ellipse, text
  std::vector<Point> points;  // line: 2, polyline/polygon: all
  Rect rect;                  // rectangle, fill, ellipse box
  Rect clip;
  bool clipped = false;
  std::string text;
};

class RecordingDevice : public Device {
 public:
  std::vector<RecordedOp> ops;

  void set_pen(const Pen& pen) override { pen_ = pen; }
  Pen pen() const override { return pen_; }
  void set_brush(const Brush& brush) override { brush_ = brush; }
  Brush brush() const override { return brush_; }
  void set_clip_rect(const Rect& r) override;
  void clear_clip() override { clipped_ = false; }
  void set_origin(int x, int y) override { origin_ = {x, y}; }
  Point origin() const override { return origin_; }

  void line(int x1, int y1, int x2, int y2) override;
  void polyline(const Point* points, size_t n) override;
  void polygon(const Point* points, size_t n) override;
  void rectangle(const Rect& r) override;
  void fill_rect(const Rect& r, Colour c) override;
  void set_pixel(int x, int y, Colour c) override;
  void fill_ellipse(int x, int y, int width, int height, Colour c) override;
  void draw_strip(int x, int y, const Colour* pixels, size_t length, bool vertical) override;

  void select_font(const FontSpec& font) override { font_ = font; }
  FontMetrics font_metrics() const override;
  void set_text_colour(Colour c) override { text_colour_ = c; }
  void set_text_background(bool, Colour) override {}
  void draw_text(int x, int y, std::string_view text, TextAlign align) override;
  TextExtent text_extent(std::string_view text) const override;

  // Queries.
  std::vector<const RecordedOp*> of(OpKind kind) const;
  bool clip_active() const { return clipped_; }

 private:
  RecordedOp make(OpKind kind) const;
  Point abs(int x, int y) const { return {x + origin_.x, y + origin_.y}; }

  Pen pen_;
  Brush brush_;
  FontSpec font_;
  Colour text_colour_ = 0;
  Point origin_;
  Rect clip_;
  bool clipped_ = false;
};

}  // namespace kv::test
