// Tick steps and tick positions; see the header.
#include "graph/coord_ticks.h"

#include <cmath>
#include <numbers>

namespace kv {

int axis_pixel(const ViewMap& map, const PlotRect& plot, Axis axis, double value) {
  return axis == Axis::X ? plot.left + map.column(value) : plot.top + map.row(value);
}

TickStep tick_step(double range, int size, bool pi_units) {
  const double f = pi_units ? std::numbers::pi : 1.0;
  double raw = range * 520.0 / (static_cast<double>(size) * f);
  if (pi_units) raw *= 1.25;
  // A degenerate range cannot be normalised; any positive value will do then.
  if (!(raw > 0.0) || !std::isfinite(raw)) raw = 104.0;
  int e = 0;
  while (raw <= 100.1) {
    raw *= 10.0;
    ++e;
  }
  while (raw > 1000.1) {
    raw /= 10.0;
    --e;
  }
  const double m = std::floor(raw);
  TickStep t;
  t.mantissa = m >= 520 ? 100 : m >= 280 ? 50 : m >= 160 ? 25 : 20;
  t.subdivisions = (t.mantissa == 50 || t.mantissa == 25) ? 5 : 4;
  t.step = t.mantissa * std::pow(10.0, -e) * f;
  return t;
}

AxisTicks build_axis_ticks(const ViewMap& map, const PlotRect& plot, Axis axis, double range,
                           bool pi_units) {
  const bool x = axis == Axis::X;
  const double min = x ? map.xmin : map.ymin;
  const double scale = x ? map.x_scale : map.y_scale;
  const int size = x ? map.width : map.height;
  AxisTicks out;
  out.step = tick_step(range, size, pi_units);
  out.factor = pi_units ? std::numbers::pi : 1.0;
  const double step = out.step.step;
  double first = std::floor(min / step) * step;
  if (min - scale / 2 > first) first += step;
  // Far from zero the steps can vanish in the rounding of first + k * step;
  // the bound keeps such a range from looping forever.
  const int limit = 4 * size + 16;
  for (int k = 0; k < limit; ++k) {
    const double v = first + k * step;
    const int p = axis_pixel(map, plot, axis, v);
    if (x ? p > plot.right() : p < plot.top) break;
    out.ticks.push_back({p, v / out.factor});
  }
  return out;
}

}  // namespace kv
