// The coordinate tooltip; see the header.
#include "session/coord_tip.h"

#include <algorithm>
#include <numbers>

#include "expr/cp1252.h"
#include "expr/format.h"
#include "graph/honest_curves.h"
#include "session/session_texts.h"
#include "session/view_ops.h"

namespace kv {

namespace {

constexpr int kOffsetX = 10;
constexpr int kOffsetY = 2;

// The read-out's step is one pixel in the axis' own units: an axis in pi
// units shows the value divided by pi, so its pixel is the scale divided by
// pi too, and the text is never coarser than a pixel.
std::string line(const char* prefix, double value, double scale, bool pi) {
  const double step = pi ? scale / std::numbers::pi : scale;
  return prefix + utf8_to_cp1252(format_scaled_value(value, step, false));
}

}  // namespace

bool coord_tip_wanted(bool mouse_coordinates, const PanelRecord& panel) {
  return mouse_coordinates && !panel.error.failed;
}

CoordTip coord_tip_text(const PanelRecord& panel, const PlotRect& plot, Point cursor,
                        const PanelPlot* curves) {
  const PlaneValue v = value_at_point(panel, plot, cursor);
  CoordTip tip;
  tip.x_pi = panel.option(kOptXUnitsPi) != 0;
  tip.y_pi = panel.option(kOptYUnitsPi) != 0;
  tip.x_line = line(kTipXPrefix, v.x, panel.x_scale, tip.x_pi);
  tip.y_line = line(kTipYPrefix, v.y, panel.y_scale, tip.y_pi);
  if (curves != nullptr && column_undecided(panel, *curves, cursor.x - plot.left)) {
    tip.y_line += kTipUncertain;
  }
  return tip;
}

LabelFonts coord_tip_fonts(const PanelRecord& panel) {
  const int width = panel.option(kOptLineWidth), palette = panel.option(kOptPalette);
  return {graph_font(3, width, palette), graph_font(4, width, palette)};
}

TextExtent coord_tip_size(Device& d, const CoordTip& tip, const LabelFonts& fonts) {
  const TextExtent x = measure_label(d, tip.x_line, fonts, tip.x_pi);
  const TextExtent y = measure_label(d, tip.y_line, fonts, tip.y_pi);
  return {std::max(x.width, y.width) + 2, 2 * x.height + 1};
}

void draw_coord_tip(Device& d, const CoordTip& tip, const LabelFonts& fonts,
                    const ColourTable& colours) {
  const TextExtent size = coord_tip_size(d, tip, fonts);
  d.fill_rect({0, 0, size.width, size.height}, colours[kColourBackground]);
  d.set_text_background(false, colours[kColourBackground]);
  const int line_height = (size.height - 1) / 2;
  draw_label(d, 1, 0, TextAlign::Left, tip.x_line, fonts, tip.x_pi, colours[kColourText]);
  draw_label(d, 1, line_height, TextAlign::Left, tip.y_line, fonts, tip.y_pi,
             colours[kColourText]);
}

Point place_coord_tip(Point cursor, TextExtent size, const Rect& screen) {
  Point p{cursor.x + kOffsetX, cursor.y + kOffsetY};
  p.x = std::max(std::min(p.x, screen.right - size.width), screen.left);
  p.y = std::max(std::min(p.y, screen.bottom - size.height), screen.top);
  return p;
}

}  // namespace kv
