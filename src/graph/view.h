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

#include <cmath>

#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

// Ranges are kept within +-1e13 so that scales and pixel arithmetic stay exact
// enough.
inline constexpr double kRangeLimit = 1e13;
inline constexpr double kRangeLimitInner = 9999999999999.0;

// The plot: its origin and its size in scale steps. Unlike Rect both edges
// belong to it, so the plot of width W has W + 1 pixel columns.
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

// The margins around the plot and the room the toolbars take, in pixels, as
// plot_rect_for_client uses them (window sizes are computed back from them).
struct PlotMargins {
  int left = 0, top = 0, right = 0, bottom = 0;
};
PlotMargins plot_margins(bool boxed_style);
inline constexpr int kToolbarLeftWidth = 26;
inline constexpr int kToolbarRightWidth = 25;

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
    return clamp_pixel((x - xmin) / x_scale, column_low(), column_high());
  }
  int row(double y) const {
    return clamp_pixel(height - (y - ymin) / y_scale, row_low(), row_high());
  }

  int column_low() const { return clamp_to_plot ? 0 : -(width + 2); }
  int column_high() const { return clamp_to_plot ? width : 2 * width + 2; }
  int row_low() const { return clamp_to_plot ? 0 : -(height + 2); }
  int row_high() const { return clamp_to_plot ? height : 2 * height + 2; }

  // Clamping in double before the conversion keeps huge and infinite values
  // defined; NaN goes to the low end. Within the clamp, truncating v + 0.5
  // (or v - 0.5) is the floor (or ceiling) of rounding half away from zero.
  // Written without branches, so that loops over many points vectorise.
  static int clamp_pixel(double v, int lo, int hi) {
    v = v >= lo ? v : lo;
    v = v > hi ? hi : v;
    return static_cast<int>(v + std::copysign(0.5, v));
  }
};

ViewMap view_map(const PanelRecord& panel, int width, int height);

}  // namespace kv
