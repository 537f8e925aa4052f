// View operations of the current drawing panel; see the header.
#include "session/view_ops.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "session/client_coordinate.h"

namespace kv {

namespace {

// The centre snap reaches this many pixels either side of 0.
constexpr double kSnapPixels = 8.0;
constexpr double kScrollStep = 0.1;
// A zoom rectangle needs at least this many pixels on each side.
constexpr int kMinRectSide = 10;

// Widths are differences of bounds and carry errors far above the last bit
// of the scaled value: 0.35 - 0.1 is 0.24999999999999997. Within this much of
// a half the width counts as a half and rounds up.
constexpr double kHalfTolerance = 1e-9;

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr int kMaxFinitePower = 300;

// v * 10^n. Within +-22 one multiplication or division by an exactly
// representable power, so 3 * 10^-7 is the double nearest 3e-7, which a
// chain of multiplications by 0.1 misses. Beyond, one rounded power; beyond
// the range of doubles, two steps.
double times_power_of_ten(double v, int n) {
  if (n > kMaxFinitePower || n < -kMaxFinitePower) {
    const int half = n / 2;
    return times_power_of_ten(times_power_of_ten(v, half), n - half);
  }
  const int a = n < 0 ? -n : n;
  const double power = a <= kMaxExactPower ? kExactPowers[a] : std::pow(10.0, a);
  return n >= 0 ? v * power : v / power;
}

double& value(PanelRecord& p, RangeIndex i) { return p.range[i].value; }

struct YBounds {
  double min, max;
};

YBounds y_bounds(const PanelRecord& p) { return {p.range[kYMin].value, p.range[kYMax].value}; }

// A view operation that moved a y bound has chosen it: it is no longer
// fitted to the curves.
void fix_moved_y_bounds(PanelRecord& p, const YBounds& before) {
  if (p.range[kYMin].value != before.min) p.ymin_fixed = true;
  if (p.range[kYMax].value != before.max) p.ymax_fixed = true;
}

void snap_axis(double& lo, double& hi, double scale, bool pi) {
  const double centre = (lo + hi) * 0.5;
  const double reach = kSnapPixels * scale;
  if (!(centre > -reach && centre < reach)) return;
  const double half = 0.5 * RoundRangeWidth(hi - lo, pi);
  hi = half;
  lo = -half;
}

ViewChange refresh_with(unsigned flags) {
  ViewChange c;
  c.refresh = true;
  c.refresh_flags = flags;
  return c;
}

// Floor division: the centre column of a plot that starts left of the client
// area still rounds downwards.
int half_rounded_down(int sum) { return sum >= 0 ? sum / 2 : -((1 - sum) / 2); }

}  // namespace

double RoundRangeWidth(double w, bool pi) {
  if (w == 0 || !std::isfinite(w)) return w;
  double a = std::fabs(w);
  if (pi) a *= 1.0 / std::numbers::pi;
  // The loops only find the power of ten; the scaling itself is done exactly
  // below. Their drift at the ends of [2, 20] is harmless: 20 * 10^e and
  // 2 * 10^(e+1) are the same width.
  int e = 0;
  for (double m = a; m > 20; m *= 0.1) ++e;
  for (double m = times_power_of_ten(a, -e); m < 2; m *= 10) --e;
  const double m = times_power_of_ten(a, -e);
  double r = times_power_of_ten(std::floor(m + 0.5 + kHalfTolerance), e);
  if (pi) r *= std::numbers::pi;
  return w < 0 ? -r : r;
}

void snap_to_centre(PanelRecord& panel) {
  snap_axis(value(panel, kXMin), value(panel, kXMax), panel.x_scale,
            panel.option(kOptXUnitsPi) != 0);
  snap_axis(value(panel, kYMin), value(panel, kYMax), panel.y_scale,
            panel.option(kOptYUnitsPi) != 0);
}

void zoom_bounds(PanelRecord& p, const PlotRect& plot, double fx, double fy,
                 std::optional<Point> point) {
  const YBounds before = y_bounds(p);
  double& xmin = value(p, kXMin);
  double& xmax = value(p, kXMax);
  double& ymin = value(p, kYMin);
  double& ymax = value(p, kYMax);
  const double dx = (xmax - xmin) * (fx - 1) * 0.5;
  const double dy = (ymax - ymin) * (fy - 1) * 0.5;
  if (point) {
    // The distance of the point from the plot's centre shrinks with the
    // range, so the value under the point stays where it is.
    const double sx = (point->x - half_rounded_down(plot.left + plot.right())) * p.x_scale;
    const double shift_x = sx - sx * fx;
    xmin += shift_x;
    xmax += shift_x;
    const double sy = (point->y - half_rounded_down(plot.top + plot.bottom())) * p.y_scale;
    const double shift_y = sy - sy * fy;
    ymin -= shift_y;
    ymax -= shift_y;
  }
  xmin -= dx;
  xmax += dx;
  ymin -= dy;
  ymax += dy;
  fix_moved_y_bounds(p, before);
}

void shift_bounds_by_pixels(PanelRecord& p, int dx, int dy) {
  const YBounds before = y_bounds(p);
  value(p, kXMin) -= dx * p.x_scale;
  value(p, kXMax) -= dx * p.x_scale;
  value(p, kYMin) += dy * p.y_scale;
  value(p, kYMax) += dy * p.y_scale;
  fix_moved_y_bounds(p, before);
}

ViewChange zoom_view(ViewTarget t, double fx, double fy, std::optional<Point> point) {
  save_bounds(t.undo, t.panel, kUndoZoom);
  zoom_bounds(t.panel, t.plot, fx, fy, point);
  if (!point) snap_to_centre(t.panel);
  return refresh_with(kRefreshAfterZoom);
}

ViewChange zoom_axis(ViewTarget t, bool x_axis, double factor) {
  t.panel.options[kOptEqualScales] = 0;
  ViewChange c = x_axis ? zoom_view(t, factor, 1.0, std::nullopt)
                        : zoom_view(t, 1.0, factor, std::nullopt);
  c.equal_scales_changed = true;
  return c;
}

ViewChange scroll_view(ViewTarget t, ScrollDirection direction) {
  PanelRecord& p = t.panel;
  double sx = 0, sy = 0;
  switch (direction) {
    case ScrollDirection::Left: sx = -kScrollStep; break;
    case ScrollDirection::Right: sx = kScrollStep; break;
    case ScrollDirection::Up: sy = kScrollStep; break;
    case ScrollDirection::Down: sy = -kScrollStep; break;
  }
  save_bounds(t.undo, p, kUndoScroll);
  const YBounds before = y_bounds(p);
  const double mx = (value(p, kXMax) - value(p, kXMin)) * sx;
  const double my = (value(p, kYMax) - value(p, kYMin)) * sy;
  value(p, kXMin) += mx;
  value(p, kXMax) += mx;
  value(p, kYMin) += my;
  value(p, kYMax) += my;
  fix_moved_y_bounds(p, before);
  snap_to_centre(p);
  return refresh_with(kRefreshAfterZoom);
}

ViewChange centre_view(ViewTarget t) {
  PanelRecord& p = t.panel;
  save_bounds(t.undo, p, kUndoCentre);
  const YBounds before = y_bounds(p);
  const double half_x = (value(p, kXMax) - value(p, kXMin)) * 0.5;
  value(p, kXMax) = half_x;
  value(p, kXMin) = -half_x;
  const double half_y = (value(p, kYMax) - value(p, kYMin)) * 0.5;
  value(p, kYMax) = half_y;
  value(p, kYMin) = -half_y;
  fix_moved_y_bounds(p, before);
  return refresh_with(kRefreshAfterZoom);
}

ViewChange standard_view(ViewTarget t) {
  PanelRecord& p = t.panel;
  save_bounds(t.undo, p, kUndoStandard);
  for (RangeIndex i : {kXMin, kXMax, kYMin, kYMax}) p.range[i] = p.default_range[i];
  p.ymin_fixed = value(p, kYMin) < kUndefined;
  p.ymax_fixed = value(p, kYMax) < kUndefined;
  return refresh_with(kRefreshAfterStandardView);
}

ViewChange zoom_to_rect(ViewTarget t, Rect corners) {
  PanelRecord& p = t.panel;
  const int equal_scales = p.options[kOptEqualScales];
  p.options[kOptEqualScales] = 0;
  const int x1 = to_client_coordinate(corners.left), x2 = to_client_coordinate(corners.right);
  const int y1 = to_client_coordinate(corners.top), y2 = to_client_coordinate(corners.bottom);
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (left + kMinRectSide - 1 >= right || top + kMinRectSide - 1 >= bottom) {
    p.options[kOptEqualScales] = equal_scales;
    return {};
  }
  save_bounds(t.undo, p, kUndoZoomRect);
  const YBounds before = y_bounds(p);
  const PlotRect& r = t.plot;
  value(p, kXMin) += (left - r.left) * p.x_scale;
  value(p, kXMax) -= (r.right() - right) * p.x_scale;
  value(p, kYMax) -= (top - r.top) * p.y_scale;
  value(p, kYMin) += (r.bottom() - bottom) * p.y_scale;
  fix_moved_y_bounds(p, before);
  snap_to_centre(p);
  ViewChange c = refresh_with(kRefreshAfterZoom);
  c.equal_scales_changed = true;
  return c;
}

ViewChange undo_view(ViewTarget t) {
  if (!undo_view_step(t.undo, t.panel)) return {};
  return refresh_with(kRefreshAfterUndo);
}

ViewChange view_command(ViewTarget t, Command command) {
  switch (command) {
    case Command::Undo: return undo_view(t);
    case Command::ZoomIn: return zoom_view(t, kZoomInFactor, kZoomInFactor, std::nullopt);
    case Command::ZoomOut: return zoom_view(t, kZoomOutFactor, kZoomOutFactor, std::nullopt);
    case Command::ZoomInX: return zoom_axis(t, true, kZoomInFactor);
    case Command::ZoomOutX: return zoom_axis(t, true, kZoomOutFactor);
    case Command::ZoomInY: return zoom_axis(t, false, kZoomInFactor);
    case Command::ZoomOutY: return zoom_axis(t, false, kZoomOutFactor);
    case Command::ScrollLeft: return scroll_view(t, ScrollDirection::Left);
    case Command::ScrollUp: return scroll_view(t, ScrollDirection::Up);
    case Command::ScrollRight: return scroll_view(t, ScrollDirection::Right);
    case Command::ScrollDown: return scroll_view(t, ScrollDirection::Down);
    case Command::Centre: return centre_view(t);
    case Command::StandardView: return standard_view(t);
    default: return {};
  }
}

// XMin + pixels * scale rather than (XMin / scale + pixels) * scale: the same
// value, without the detour through a huge quotient when the range is narrow
// and far from 0.
PlaneValue value_at_point(const PanelRecord& panel, const PlotRect& plot, Point p) {
  const double qx = panel.option(kOptXUnitsPi) ? std::numbers::pi : 1.0;
  const double qy = panel.option(kOptYUnitsPi) ? std::numbers::pi : 1.0;
  PlaneValue v;
  v.x = (panel.range[kXMin].value + (p.x - plot.left) * panel.x_scale) / qx;
  v.y = (panel.range[kYMin].value + (plot.bottom() - p.y) * panel.y_scale) / qy;
  return v;
}

}  // namespace kv
