// The coordinate system; see the header.
#include "graph/coord_system.h"

#include <algorithm>
#include <string>

#include "expr/cp1252.h"
#include "expr/format.h"
#include "graph/labels.h"
#include "graph/primitives.h"

namespace kv {

namespace {

constexpr int kMainTickLength = 9;
constexpr int kGridPeriod = 2;     // grid lines: one pixel on, one off
constexpr int kSubGridPeriod = 3;  // subgrid: one dot every third pixel

bool inside(const CoordContext& c, Axis axis, int p) {
  return axis == Axis::X ? p >= c.plot.left && p <= c.plot.right()
                         : p >= c.plot.top && p <= c.plot.bottom();
}

const AxisTicks& ticks_of(const CoordContext& c, Axis axis) {
  return axis == Axis::X ? c.x_ticks : c.y_ticks;
}

// A dotted line across the plot at pixel p: a vertical line for the x axis,
// a horizontal one for the y axis.
void dotted_line(Device& d, const CoordContext& c, Axis axis, int p, const std::vector<Colour>& strip,
                 Colour colour, int period) {
  if (axis == Axis::X) {
    if (c.vector_mode) {
      dotted_column(d, p, c.plot.top, c.plot.height, period, colour);
    } else {
      d.draw_strip(p, c.plot.top, strip.data(), strip.size(), true);
    }
  } else {
    if (c.vector_mode) {
      dotted_row(d, c.plot.left, p, c.plot.width, period, colour);
    } else {
      d.draw_strip(c.plot.left, p, strip.data(), strip.size(), false);
    }
  }
}

void paint_lines(Device& d, const CoordContext& c, Axis axis, const std::vector<int>& pixels,
                 Colour colour, int period) {
  const int length = (axis == Axis::X ? c.plot.height : c.plot.width) + 1;
  std::vector<Colour> strip;
  if (!c.vector_mode) strip = pattern_strip(static_cast<size_t>(length), colour, c.background, period);
  if (axis == Axis::X && !c.vector_mode) {
    d.draw_column_strips(pixels.data(), pixels.size(), c.plot.top, strip.data(), strip.size());
    return;
  }
  for (int p : pixels) dotted_line(d, c, axis, p, strip, colour, period);
}

std::vector<int> tick_pixels(const CoordContext& c, Axis axis) {
  std::vector<int> out;
  for (const Tick& t : ticks_of(c, axis).ticks) out.push_back(t.pixel);
  return out;
}

void paint_subgrid(Device& d, const CoordContext& c) {
  const Colour colour = c.subgrid_pen.colour;
  paint_lines(d, c, Axis::X, subdivision_pixels(c, Axis::X), colour, kSubGridPeriod);
  paint_lines(d, c, Axis::Y, subdivision_pixels(c, Axis::Y), colour, kSubGridPeriod);
}

void paint_grid(Device& d, const CoordContext& c) {
  const bool full = c.panel->option(kOptGrid) != 0;
  const Colour colour = full ? c.grid_pen.colour : c.subgrid_pen.colour;
  const int period = full ? kGridPeriod : kSubGridPeriod;
  paint_lines(d, c, Axis::X, tick_pixels(c, Axis::X), colour, period);
  paint_lines(d, c, Axis::Y, tick_pixels(c, Axis::Y), colour, period);
}

void paint_border(Device& d, const CoordContext& c) {
  hollow_rectangle(d, {c.plot.left, c.plot.top, c.plot.right() + 1, c.plot.bottom() + 1},
                   Pen{(*c.colours)[kColourAxes], 1, PenStyle::Solid});
}

void paint_mark(Device& d, const CoordContext& c, Axis axis, int p, int length, const Pen& pen) {
  const PlotRect& r = c.plot;
  if (!c.boxed) {
    if (axis == Axis::X) {
      vertical_line(d, p, c.axis_row - length / 2, length, pen);
    } else {
      horizontal_line(d, c.axis_column - length / 2, p, length, pen);
    }
    return;
  }
  const int far = length + pen.width / 2 - 1;  // so both marks look alike
  if (axis == Axis::X) {
    vertical_line(d, p, r.top, length, pen);
    vertical_line(d, p, r.bottom() - far, length, pen);
  } else {
    horizontal_line(d, r.left, p, length, pen);
    horizontal_line(d, r.right() - far, p, length, pen);
  }
}

void paint_tick_marks(Device& d, const CoordContext& c) {
  for (Axis axis : {Axis::X, Axis::Y}) {
    const std::vector<Tick>& ticks = ticks_of(c, axis).ticks;
    for (auto t = ticks.rbegin(); t != ticks.rend(); ++t) {
      paint_mark(d, c, axis, t->pixel, kMainTickLength, c.axis_pen);
    }
    for (int p : subdivision_pixels(c, axis)) paint_mark(d, c, axis, p, c.minor_length, c.thin_pen);
  }
}

std::string tick_label_text(const CoordContext& c, Axis axis, const Tick& t) {
  const AxisTicks& a = ticks_of(c, axis);
  return utf8_to_cp1252(format_scaled_value(t.value, a.step.step / 10.0, true));
}

void paint_tick_labels(Device& d, const CoordContext& c) {
  const LabelFonts fonts{graph_font(3, c.line_width, c.palette), graph_font(4, c.line_width, c.palette)};
  d.select_font(fonts.main);
  const int h = d.text_extent("Aq").height;
  const int b = h / 3;
  const PlotRect& r = c.plot;
  for (const Tick& t : c.x_ticks.ticks) {
    const std::string text = tick_label_text(c, Axis::X, t);
    if (text.empty() || (!c.boxed && text == "0")) continue;
    const int width = measure_label(d, text, fonts, c.x_pi).width;
    const int top = c.boxed ? r.bottom() + b : c.axis_row + b + 4;
    const int right = std::min(t.pixel + width / 2, r.right() + kPlotRightMargin);
    draw_label(d, right, top, TextAlign::Right, text, fonts, c.x_pi, c.text);
  }
  for (const Tick& t : c.y_ticks.ticks) {
    const std::string text = tick_label_text(c, Axis::Y, t);
    if (text.empty() || (!c.boxed && text == "0")) continue;
    const int top = t.pixel - h / 2 - 1;
    if (c.boxed) {
      draw_label(d, r.left - b, top, TextAlign::Right, text, fonts, c.y_pi, c.text);
    } else if (c.axis_column - r.left < 100) {
      draw_label(d, c.axis_column + b + 4, top, TextAlign::Left, text, fonts, c.y_pi, c.text);
    } else {
      draw_label(d, c.axis_column - (b + 4), top, TextAlign::Right, text, fonts, c.y_pi, c.text);
    }
  }
}

void paint_titles(Device& d, const CoordContext& c) {
  const PlotRect& r = c.plot;
  const PanelRecord& p = *c.panel;
  FontSpec font = graph_font(5, c.line_width, c.palette);
  d.set_text_colour(c.text);
  if (!p.title_x.empty()) {
    // A single letter stands upright; a word reads downwards beside the arrow.
    const bool rotated = p.title_x.size() > 1;
    d.select_font(font);
    const TextExtent e = d.text_extent(p.title_x);
    if (rotated) {
      font.escapement = 2700;
      d.select_font(font);
      font.escapement = 0;
    }
    const int x = r.right() + 6 + (rotated ? e.height : 0);
    int y = c.axis_row - (rotated ? e.width : e.height) - 8;
    if (y < r.top) y = c.axis_row + 8;
    d.draw_text(x, y, p.title_x, TextAlign::Left);
  }
  if (!p.title_y.empty()) {
    d.select_font(font);
    const TextExtent e = d.text_extent(p.title_y);
    const int y = r.top - e.height - 6;
    int x = c.axis_column + 8;
    if (x + e.width > r.right()) x = c.axis_column - e.width - 8;
    d.draw_text(x, y, p.title_y, TextAlign::Left);
  }
}

void paint_axes(Device& d, const CoordContext& c) {
  const PlotRect& r = c.plot;
  const int gap = c.boxed ? 0 : 4;
  const int row = c.axis_row, col = c.axis_column;
  filled_triangle(d, {r.right() + 15, row}, {r.right() + 6, row - 4}, {r.right() + 6, row + 4},
                  c.axis_brush);
  if (row >= r.top && row <= r.bottom()) {
    PenScope pen(d, c.axis_pen);
    d.line(r.left - gap - 2, row, r.right() + 7, row);
  }
  filled_triangle(d, {col, r.top - 15}, {col - 4, r.top - 6}, {col + 4, r.top - 6}, c.axis_brush);
  if (col >= r.left && col <= r.right()) {
    PenScope pen(d, c.axis_pen);
    d.line(col, r.top - 6, col, r.bottom() + gap + 3);
  }
  paint_titles(d, c);
}

}  // namespace

CoordContext make_coord_context(const PanelRecord& panel, const ColourTable& colours,
                                const PlotRect& plot, bool vector_mode) {
  CoordContext c;
  c.panel = &panel;
  c.colours = &colours;
  c.plot = plot;
  c.map = view_map(panel, plot.width, plot.height);
  c.vector_mode = vector_mode;
  c.boxed = panel.option(kOptBoxedStyle) != 0;
  c.x_pi = panel.option(kOptXUnitsPi) != 0;
  c.y_pi = panel.option(kOptYUnitsPi) != 0;
  c.line_width = panel.option(kOptLineWidth);
  c.palette = panel.option(kOptPalette);
  c.axis_width = c.palette == 2 ? (c.line_width + 1) / 2 : c.line_width;
  c.minor_length = 2 + c.axis_width - (c.boxed ? 1 : 0);
  c.background = colours[kColourBackground];
  c.text = colours[kColourText];
  c.grid_pen = {colours[kColourGrid], 1, PenStyle::Solid};
  c.subgrid_pen = {colours[kColourSubGrid], 1, PenStyle::Solid};
  c.thin_pen = {colours[kColourAxes], 1, PenStyle::Solid};
  c.axis_pen = {colours[kColourAxes], c.axis_width, PenStyle::Solid};
  c.axis_brush = {colours[kColourAxes], BrushStyle::Solid};
  c.axis_column = plot.left + std::clamp(c.map.column(0.0), -1, plot.width + 1);
  c.axis_row = plot.top + std::clamp(c.map.row(0.0), -1, plot.height + 1);
  return c;
}

std::vector<int> subdivision_pixels(const CoordContext& c, Axis axis) {
  const AxisTicks& a = ticks_of(c, axis);
  std::vector<int> out;
  const int n = a.step.subdivisions;
  const double sub = a.step.step / n;
  auto add = [&](double world) {
    const int p = axis_pixel(c.map, c.plot, axis, world);
    if (inside(c, axis, p)) out.push_back(p);
  };
  for (size_t i = 0; i < a.ticks.size(); ++i) {
    const double w = a.ticks[i].value * a.factor;
    for (int j = n - 1; j >= 1; --j) add(w - j * sub);
    if (i + 1 == a.ticks.size()) {
      for (int j = n - 1; j >= 1; --j) add(w + j * sub);
    }
  }
  return out;
}

void paint_coordinate_system(Device& d, CoordContext& c) {
  const PanelRecord& p = *c.panel;
  const bool labels = p.option(kOptTickLabels) != 0, border = p.option(kOptBorder) != 0;
  const bool grid = p.option(kOptGrid) != 0, subgrid = p.option(kOptSubGrid) != 0;
  const bool axes = p.option(kOptAxes) != 0, marks = p.option(kOptTickMarks) != 0;
  if (!labels && !border && !grid && !subgrid && !axes && !marks) return;
  const Pen saved_pen = d.pen();
  const Brush saved_brush = d.brush();
  d.select_font(graph_font(3, c.line_width, c.palette));
  d.set_text_colour(c.text);
  const double xrange = p.range[kXMax].value - p.range[kXMin].value;
  const double yrange = p.range[kYMax].value - p.range[kYMin].value;
  c.x_ticks = build_axis_ticks(c.map, c.plot, Axis::X, xrange, c.x_pi);
  c.y_ticks = build_axis_ticks(c.map, c.plot, Axis::Y, yrange, c.y_pi);
  if (subgrid) paint_subgrid(d, c);
  if (grid || subgrid) paint_grid(d, c);
  if (border) paint_border(d, c);
  if (marks) paint_tick_marks(d, c);
  if (labels) paint_tick_labels(d, c);
  if (axes) paint_axes(d, c);
  d.set_pen(saved_pen);
  d.set_brush(saved_brush);
}

}  // namespace kv
