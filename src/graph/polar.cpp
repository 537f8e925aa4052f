// Polar curves: plane points and the compacting projection.
#include "graph/polar.h"

#include <cmath>
#include <cstdlib>

namespace kv {

namespace {

// Samples between exact reseeds of the recurrence; the relative error grows
// by a few units of rounding per step.
constexpr int kReseedInterval = 32;

}  // namespace

bool compute_polar_plane(CurveSamples& c, double a, double step) {
  try {
    c.plane.assign(static_cast<size_t>(c.last) + 1, PlanePoint{});
  } catch (...) {
    c.plane.clear();
    return false;
  }
  const double cs = std::cos(step), sn = std::sin(step);
  double cos_t = 1, sin_t = 0;
  for (int i = 0; i <= c.last; ++i) {
    const double grid = a + i * step;
    if (i % kReseedInterval == 0) {
      cos_t = std::cos(grid);
      sin_t = std::sin(grid);
    } else {
      const double next_cos = cos_t * cs - sin_t * sn;
      sin_t = sin_t * cs + cos_t * sn;
      cos_t = next_cos;
    }
    const Sample& s = c.samples[i];
    if (!is_defined(s.flag)) continue;
    if (s.t == grid) {
      c.plane[i] = {s.v * cos_t, s.v * sin_t};
    } else {
      c.plane[i] = {s.v * std::cos(s.t), s.v * std::sin(s.t)};
    }
  }
  return true;
}

namespace {

// The middle of three pixels that form a unit step is not needed: the line
// from the first to the third covers it.
bool unit_corner(Point p2, Point p1, Point p) {
  if (p.x == p1.x && p2.y == p1.y && std::abs(p2.x - p1.x) == 1) return true;
  return p.y == p1.y && p2.x == p1.x && std::abs(p2.y - p1.y) == 1;
}

}  // namespace

void project_polar(CurveSamples& c, const ViewMap& map) {
  int kept = 0;
  const bool have_plane = c.plane.size() == static_cast<size_t>(c.last) + 1;
  for (int i = 0; i <= c.last; ++i) {
    const Sample& s = c.samples[i];
    if (!is_defined(s.flag)) continue;
    const PlanePoint q = have_plane ? c.plane[i]
                                    : PlanePoint{s.v * std::cos(s.t), s.v * std::sin(s.t)};
    const Point p{map.column(q.x), map.row(q.y)};
    if (s.flag == kDefined && kept > 0 && c.pixels[kept - 1] == p) continue;
    if (kept >= 2 && c.pixel_flags[kept - 1] == kDefined && is_defined(c.pixel_flags[kept - 2]) &&
        unit_corner(c.pixels[kept - 2], c.pixels[kept - 1], p)) {
      --kept;
    }
    c.pixels[kept] = p;
    c.pixel_flags[kept] = s.flag;
    ++kept;
  }
  c.pixel_last = kept - 1;
  for (int i = kept; i <= c.last + 1; ++i) c.pixel_flags[i] = 0;
}

}  // namespace kv
