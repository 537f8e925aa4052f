// The drawing primitives; see the header.
#include "graph/primitives.h"

namespace kv {

void horizontal_line(Device& d, int x, int y, int length) { d.line(x, y, x + length, y); }

void horizontal_line(Device& d, int x, int y, int length, const Pen& pen) {
  PenScope scope(d, pen);
  d.line(x, y, x + length, y);
}

void vertical_line(Device& d, int x, int y, int length) { d.line(x, y, x, y + length); }

void vertical_line(Device& d, int x, int y, int length, const Pen& pen) {
  PenScope scope(d, pen);
  d.line(x, y, x, y + length);
}

void dotted_row(Device& d, int x, int y, int extent, int spacing, Colour c) {
  d.dotted_line(x, y, extent, spacing, false, c);
}

void dotted_column(Device& d, int x, int y, int extent, int spacing, Colour c) {
  d.dotted_line(x, y, extent, spacing, true, c);
}

std::vector<Colour> pattern_strip(size_t length, Colour a, Colour b, int period) {
  if (period < 1) period = 1;
  std::vector<Colour> strip(length, b);
  for (size_t i = 0; i < length; i += static_cast<size_t>(period)) strip[i] = a;
  return strip;
}


void filled_box(Device& d, int x, int y, int width, int height, Colour c) {
  d.fill_rect({x, y, x + width, y + height}, c);
}

void filled_triangle(Device& d, Point a, Point b, Point c, const Brush& brush) {
  PenScope pen(d, Pen{brush.colour, 1, PenStyle::Solid});
  const Brush saved = d.brush();
  d.set_brush(brush);
  const Point points[3] = {a, b, c};
  d.polygon(points, 3);
  d.set_brush(saved);
}

void hollow_rectangle(Device& d, const Rect& r, const Pen& pen) {
  PenScope scope(d, pen);
  const Brush saved = d.brush();
  d.set_brush(Brush{0, BrushStyle::Null});
  d.rectangle(r);
  d.set_brush(saved);
}

}  // namespace kv
