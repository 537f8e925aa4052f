// View and coordinate mapping: the numbers that tie the mathematical plane of
// the current drawing panel to the pixels of the plot.
//
// The plot is addressed with local coordinates: column 0 is the left edge,
// column W the right edge, row 0 the top edge and row H the bottom edge; W and
// H are even and at least 50 (plot_rect_for_client guarantees it).
//
// prepare_x_range runs first in every recomputation, settle_y_range after all
// curves of the panel are sampled. Nothing here reports errors: values are
// clamped and degenerate ranges widened.
#pragma once

#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

// Ranges are kept within +-1e13 so that scales and pixel arithmetic stay exact
// enough.
inline constexpr double kRangeLimit = 1e13;
inline constexpr double kRangeLimitInner = 9999999999999.0;

struct PlotRect {
  int left = 0, top = 0;
  int width = 50, height = 50;  // W and H: columns 0..W, rows 0..H
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

// What the shell knows about the window when it places the plot.
struct ClientLayout {
  Rect client;               // the window's client area
  bool toolbars = true;      // the two vertical toolbars are shown
  bool status_bar = true;
  int status_bar_height = 0;
  bool boxed_style = false;  // panel option BoxedStyle
};

struct PlotPlacement {
  Rect client;  // area the painter clears, matching the plot
  PlotRect plot;
};

PlotPlacement plot_rect_for_client(const ClientLayout& layout);

// Rounds half away from zero and saturates at +-2147483646.
int round_to_int(double v);

// Keeps lower < upper with a minimal width; see view.cpp.
void normalise_range(double& lower, double& upper);

// Normalises XMin/XMax, applies the start-x rule of the panel "DiffEqu", sets
// the x scale and the jump threshold.
void prepare_x_range(PanelRecord& panel, int width);

// Fits automatic y bounds to the sampled main curves, applies EqualScales,
// normalises YMin/YMax and sets the y scale.
void settle_y_range(PanelRecord& panel, const PanelPlot& plot, int width, int height);

// World to plot-local pixels. Coordinates are clamped to one plot size beyond
// the plot on each side, or to the plot itself with clamp_to_plot (area fill).
struct ViewMap {
  double xmin = 0, ymin = 0, x_scale = 1, y_scale = 1;
  int width = 50, height = 50;
  bool clamp_to_plot = false;

  int column(double x) const {
    const double c = (x - xmin) / x_scale;
    return clamp_to_plot ? clamp_pixel(c, 0, width) : clamp_pixel(c, -(width + 2), 2 * width + 2);
  }
  int row(double y) const {
    const double r = height - (y - ymin) / y_scale;
    return clamp_to_plot ? clamp_pixel(r, 0, height)
                         : clamp_pixel(r, -(height + 2), 2 * height + 2);
  }

  // Clamping in double before the conversion keeps huge and infinite values
  // defined; NaN goes to the low end. Within the clamp, truncating v + 0.5
  // (or v - 0.5) is the floor (or ceiling) of rounding half away from zero,
  // without a library call in the innermost loop of the projection.
  static int clamp_pixel(double v, int lo, int hi) {
    if (!(v >= lo)) return lo;
    if (v > hi) return hi;
    return v >= 0 ? static_cast<int>(v + 0.5) : -static_cast<int>(0.5 - v);
  }
};

ViewMap view_map(const PanelRecord& panel, int width, int height);

}  // namespace kv
