// View and coordinate mapping.
#include "graph/view.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// Plot margins in pixels: room for tick labels, arrow heads and titles.
constexpr int kMarginLeftBoxed = 69;
constexpr int kMarginLeftCrossed = 23;
constexpr int kMarginTop = 21;
constexpr int kMarginRight = 22;
constexpr int kMarginBottom = 23;
constexpr int kToolbarLeft = kToolbarLeftWidth;
constexpr int kToolbarRight = kToolbarRightWidth;
constexpr int kMinPlotSize = 50;

int even_plot_size(int size) {
  size = std::max(size, kMinPlotSize);
  return size + (size & 1);
}

double clamp_value(double v, double lo, double hi) {
  if (std::isnan(v)) return 0.0;
  return std::min(std::max(v, lo), hi);
}

bool is_diffequ(const PanelRecord& panel) { return panel.role == kPanelDiffEqu; }

}  // namespace

PlotMargins plot_margins(bool boxed_style) {
  return {boxed_style ? kMarginLeftBoxed : kMarginLeftCrossed, kMarginTop, kMarginRight,
          kMarginBottom};
}

PlotPlacement plot_rect_for_client(const ClientLayout& layout) {
  Rect c = layout.client;
  if (layout.toolbars) {
    c.left += kToolbarLeft;
    c.right -= kToolbarRight;
  }
  if (layout.status_bar) c.bottom -= layout.status_bar_height;
  PlotPlacement out;
  out.plot.left = c.left + (layout.boxed_style ? kMarginLeftBoxed : kMarginLeftCrossed);
  out.plot.top = c.top + kMarginTop;
  out.plot.width = even_plot_size(c.right - kMarginRight - out.plot.left);
  out.plot.height = even_plot_size(c.bottom - kMarginBottom - out.plot.top);
  c.right = out.plot.right() + kMarginRight + 1;
  c.bottom = out.plot.bottom() + kMarginBottom + 1;
  out.client = c;
  return out;
}

int round_to_int(double v) {
  constexpr double kLimit = 2147483646.0;
  if (std::isnan(v)) return 0;
  const double r = v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5);
  return static_cast<int>(clamp_value(r, -kLimit, kLimit));
}

// Reversed or too narrow pairs become an interval of minimal width around
// their centre; the minimal width grows with the magnitude so that the scale
// never falls below the resolution of a double.
void normalise_range(double& lower, double& upper) {
  upper = clamp_value(upper, -kRangeLimitInner, kRangeLimit);
  lower = clamp_value(lower, -kRangeLimit, kRangeLimitInner);
  const double eps = std::max(1e-12, 1e-13 * std::max(std::fabs(lower), std::fabs(upper)));
  if (upper - lower < eps) {
    lower = (lower + upper - eps) / 2;
    upper = lower + eps;
  }
}

void prepare_x_range(PanelRecord& panel, int width) {
  double& xmin = panel.range[kXMin].value;
  double& xmax = panel.range[kXMax].value;
  normalise_range(xmin, xmax);
  if (is_diffequ(panel)) {
    double& x0 = panel.dialog_values[kStartX].value;
    x0 = clamp_value(x0, -kRangeLimit, kRangeLimit);
    bool cartesian_equation = false;
    for (const auto& f : panel.formulas) {
      if (f->order > 0 && !f->is_polar()) cartesian_equation = true;
    }
    if (cartesian_equation) {
      if (x0 < xmin) {
        xmin = x0;
      } else if (x0 > xmax) {
        xmax = x0;
      }
    }
  }
  panel.x_scale = (xmax - xmin) / std::max(width, 1);
  panel.jump_threshold = 3 * panel.x_scale;
}

namespace {

void fit_automatic_bounds(PanelRecord& panel, const PanelPlot& plot) {
  double& ymin = panel.range[kYMin].value;
  double& ymax = panel.range[kYMax].value;
  const double seed = panel.limits.max_magnitude;
  if (!panel.ymin_fixed) ymin = seed;
  if (!panel.ymax_fixed) ymax = -seed;
  if (panel.ymin_fixed && panel.ymax_fixed) return;
  for (const FormulaPlot& fp : plot.formulas) {
    const CurveSamples& c = fp.slot[0];
    if (!c.used) continue;
    const bool plane = fp.polar && c.plane.size() == static_cast<size_t>(c.last) + 1;
    for (int i = 0; i <= c.last; ++i) {
      const Sample& s = c.samples[i];
      if (!is_defined(s.flag)) continue;
      const double height = !fp.polar ? s.v : plane ? c.plane[i].y : s.v * std::sin(s.t);
      if (!panel.ymin_fixed && height < ymin) ymin = height;
      if (!panel.ymax_fixed && height > ymax) ymax = height;
    }
  }
}

}  // namespace

void settle_y_range(PanelRecord& panel, const PanelPlot& plot, int width, int height) {
  fit_automatic_bounds(panel, plot);
  double& ymin = panel.range[kYMin].value;
  double& ymax = panel.range[kYMax].value;
  if (panel.option(kOptEqualScales)) {
    const double span = (panel.range[kXMax].value - panel.range[kXMin].value) * height /
                        std::max(width, 1);
    ymin = (ymin + ymax - span) / 2;
    ymax = ymin + span;
  }
  normalise_range(ymin, ymax);
  panel.y_scale = (ymax - ymin) / std::max(height, 1);
}

ViewMap view_map(const PanelRecord& panel, int width, int height) {
  ViewMap m;
  m.xmin = panel.range[kXMin].value;
  m.ymin = panel.range[kYMin].value;
  m.x_scale = panel.x_scale;
  m.y_scale = panel.y_scale;
  m.width = width;
  m.height = height;
  return m;
}

}  // namespace kv
