// One complete picture of a drawing panel; see the header.
#include "graph/coord_painter.h"

#include <cmath>
#include <string_view>

#include "expr/cp1252.h"
#include "expr/format.h"
#include "graph/coord_system.h"
#include "graph/curve_drawing.h"
#include "graph/graph_texts.h"
#include "graph/implicit_drawing.h"
#include "graph/integral_area.h"
#include "graph/labels.h"
#include "graph/primitives.h"
#include "graph/recompute.h"

namespace kv {

namespace {

constexpr int kLabelIndent = 12;  // formula and integral labels, from the plot's left edge
constexpr int kHintIndent = 14;

int font_height(Device& d, const FontSpec& font) {
  d.select_font(font);
  return d.text_extent("Aq").height;
}

void paint_input_hint(Device& d, const CoordContext& c) {
  const FontSpec font = graph_font(1, c.line_width, c.palette);
  const int h = font_height(d, font);
  // The hint is UTF-8 in the source; the device takes Windows-1252.
  const std::string text = utf8_to_cp1252(kInputHint);
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (true) {
    const size_t nl = text.find('\n', start);
    lines.push_back(std::string_view(text).substr(start, nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  const int count = static_cast<int>(lines.size());
  d.set_text_colour((*c.colours)[kColourText]);
  for (int k = 0; k < count; ++k) {
    const int top = c.plot.bottom() - (count + 1 - k) * (h + 2);
    d.draw_text(c.plot.left + kHintIndent, top, lines[k], TextAlign::Left);
  }
}

Colour formula_colour(const CoordContext& c, const CompiledFormula& f) {
  const int slot = f.colour_slot;
  return (*c.colours)[slot >= 0 && slot < kColourCount ? slot : kColourIntegral];
}

void paint_formula_labels(Device& d, const PanelRecord& panel, const CoordContext& c) {
  const int h = font_height(d, graph_font(1, c.line_width, c.palette));
  int top = c.plot.bottom() - h - 10;
  for (auto it = panel.formulas.rbegin(); it != panel.formulas.rend(); ++it) {
    const std::string text = formula_label_text(panel, **it);
    if (text.empty()) continue;
    d.set_text_colour(formula_colour(c, **it));
    d.draw_text(c.plot.left + kLabelIndent, top, text, TextAlign::Left);
    top -= h + 2;
  }
}

// The lower bound as typed; a bound set without text gets its full-precision
// value as text, which is then kept.
const std::string& lower_bound_text(RangeValue& x0) {
  if (!x0.has_text || x0.text.empty()) {
    x0.text = format_full_value(x0.value);
    x0.has_text = true;
  }
  return x0.text;
}

void paint_integral_labels(Device& d, PanelRecord& panel, const CoordContext& c) {
  if (panel.formulas.empty()) return;
  const CompiledFormula& f = *panel.formulas.front();
  const FontSpec font = graph_font(1, c.line_width, c.palette);
  const int h = font_height(d, font);
  const int left = c.plot.left + kLabelIndent;
  const int base = c.plot.bottom() - 2 * h - 9;
  const std::string integrand = formula_label_text(panel, f);
  d.set_text_colour(formula_colour(c, f));
  d.draw_text(left, base - 27 * h / 10, integrand, TextAlign::Left);

  const Colour colour = (*c.colours)[kColourIntegral];
  const int factor = c.line_width >= 2 ? 2 : 1;
  const std::string& lower = lower_bound_text(panel.dialog_values[kStartX]);
  const int right = draw_integral_glyph(d, left, base, lower, font,
                                        graph_font(2, c.line_width, c.palette), factor, colour);
  const bool absolute = panel.option_flag != 0;
  const std::string text =
      (absolute ? " |" : " (") + integrand + (absolute ? "| dx" : ") dx");
  d.set_text_colour(colour);
  d.draw_text(right + h / 2, base, text, TextAlign::Left);
}

void paint_start_marker(Device& d, const PanelRecord& panel, const CoordContext& c) {
  if (panel.formulas.empty()) return;
  const double x0 = panel.dialog_values[kStartX].value;
  const double y0 = panel.dialog_values[kStartY].value;
  const bool polar = panel.formulas.front()->is_polar();
  const double wx = polar ? y0 * std::cos(x0) : x0;
  const double wy = polar ? y0 * std::sin(x0) : y0;
  const int col = c.plot.left + c.map.column(wx);
  const int row = c.plot.top + c.map.row(wy);
  const PlotRect& r = c.plot;
  if (col < r.left - 1 || col > r.right() + 1 || row < r.top - 1 || row > r.bottom() + 1) return;
  const int s = (c.line_width + 4) / 2;
  hollow_rectangle(d, {col - s, row - s, col + s + 1, row + s + 1},
                   Pen{(*c.colours)[kColourMarker], c.line_width, PenStyle::Solid});
}

void paint_curves_and_labels(Device& d, PanelRecord& panel, const PanelPlot& plot,
                             const CoordContext& c) {
  const ColourTable& colours = *c.colours;
  if (panel.derivative) draw_curves(d, panel, plot, CurveKind::Derivative, c.plot, colours);
  draw_curves(d, panel, plot, CurveKind::Own, c.plot, colours);
  paint_implicit_curves(d, panel, plot, c.plot, colours, c.vector_mode);
  paint_point_marks(d, plot.marks, c);
  const bool expressions = panel.option(kOptFunctionExpressions) != 0;
  if (panel.role == kPanelIntegral) {
    draw_curves(d, panel, plot, CurveKind::Integral, c.plot, colours);
    if (expressions) paint_integral_labels(d, panel, c);
    return;
  }
  if (expressions) paint_formula_labels(d, panel, c);
  if (panel.role == kPanelDiffEqu) paint_start_marker(d, panel, c);
}

}  // namespace

std::string formula_label_text(const PanelRecord& panel, const CompiledFormula& f) {
  if (f.source_start >= panel.source.size()) return {};
  std::string text = panel.source.substr(f.source_start, f.source_length);
  for (char& ch : text) {
    if (ch == '*') ch = kCp1252MiddleDot;
    else if (ch == '#') ch = '\'';
    else if (ch == '\r' || ch == '\n' || ch == '\t') ch = ' ';
  }
  return text;
}

void paint_picture(Device& d, PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                   const PictureFrame& frame) {
  const Colour background = colours[kColourBackground];
  d.fill_rect(frame.background, background);
  if (panel.error.failed || !frame.ready) return;
  d.set_text_background(true, background);

  CoordContext c = make_coord_context(panel, colours, frame.plot, frame.vector_mode);
  const bool curves = plot.valid && plot_is_current(panel, plot, frame.plot.width, frame.plot.height);
  if (curves && panel.role == kPanelIntegral && panel.option(kOptFillIntegralArea) != 0) {
    paint_integral_area(d, panel, plot, frame.plot, colours);
  }
  if (curves) paint_implicit_regions(d, panel, plot, frame.plot, colours);
  paint_coordinate_system(d, c);
  if (panel.formulas.empty()) {
    paint_input_hint(d, c);
    return;
  }
  if (curves) paint_curves_and_labels(d, panel, plot, c);
  if (frame.selected != nullptr) paint_selected_point(d, *frame.selected, c);
}

}  // namespace kv
