// The coordinate system of the graph: subgrid, grid, border, tick marks, tick
// labels, axes with arrow heads, and the axis titles, painted in that order.
//
// The context is built once per picture from the panel's options, its view
// (scales and ranges, settled by the last recomputation) and the colour
// table; painting restores the device's pen and brush. The axis row and
// column are those of y = 0 and x = 0, clamped to one pixel outside the plot,
// so arrow heads always show and the axis lines only when zero is visible.
#pragma once

#include "graph/colours.h"
#include "graph/coord_ticks.h"
#include "graph/device.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

// Space right of the plot that x labels may use.
inline constexpr int kPlotRightMargin = 22;

struct CoordContext {
  const PanelRecord* panel = nullptr;
  const ColourTable* colours = nullptr;
  PlotRect plot;
  ViewMap map;
  bool boxed = false;
  bool vector_mode = false;
  bool x_pi = false, y_pi = false;
  int line_width = 1;
  int palette = 0;
  int axis_width = 1;
  int minor_length = 3;
  Pen grid_pen, subgrid_pen, thin_pen, axis_pen;
  Brush axis_brush;
  Colour background = 0xffffff;
  Colour text = 0;
  int axis_column = 0, axis_row = 0;  // device coordinates
  AxisTicks x_ticks, y_ticks;
};

// The painting context of one picture; the ticks are filled in by
// paint_coordinate_system.
CoordContext make_coord_context(const PanelRecord& panel, const ColourTable& colours,
                                const PlotRect& plot, bool vector_mode);

// Pixels of the subdivisions between the ticks of one axis and beyond the
// outermost ticks, inside the plot.
std::vector<int> subdivision_pixels(const CoordContext& c, Axis axis);

// Does nothing when all six coordinate options are off.
void paint_coordinate_system(Device& d, CoordContext& c);

}  // namespace kv
