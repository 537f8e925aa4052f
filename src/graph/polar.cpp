// Polar curves: plane points and the compacting projection.
#include "graph/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kv {

namespace {

// Samples per group that share one exact cos and sin of the group's start.
constexpr int kReseedInterval = 32;

}  // namespace

bool compute_polar_plane(CurveSamples& c, double a, double step) {
  const size_t n = static_cast<size_t>(c.last) + 1;
  try {
    c.plane.resize(n);  // entries of undefined samples are never read
  } catch (...) {
    c.plane.clear();
    return false;
  }
  // Every group of kReseedInterval samples starts from an exact cos and sin
  // of its first grid position; the others follow by the angle-addition
  // formulas with the exact cos and sin of k * step, so that the samples of
  // a group do not depend on each other.
  double ck[kReseedInterval], sk[kReseedInterval];
  for (int k = 0; k < kReseedInterval; ++k) {
    ck[k] = std::cos(k * step);
    sk[k] = std::sin(k * step);
  }
  const Sample* samples = c.samples.data();
  PlanePoint* plane = c.plane.data();
  for (int g = 0; g <= c.last; g += kReseedInterval) {
    const double ca = std::cos(a + g * step), sa = std::sin(a + g * step);
    const int count = std::min(kReseedInterval, c.last + 1 - g);
    for (int k = 0; k < count; ++k) {
      const Sample& s = samples[g + k];
      const double cos_t = ca * ck[k] - sa * sk[k];
      const double sin_t = sa * ck[k] + ca * sk[k];
      plane[g + k] = {s.v * cos_t, s.v * sin_t};
    }
    // Refined samples moved off the grid get their own cos and sin.
    for (int k = 0; k < count; ++k) {
      const Sample& s = samples[g + k];
      if (is_defined(s.flag) && s.t != a + (g + k) * step) {
        plane[g + k] = {s.v * std::cos(s.t), s.v * std::sin(s.t)};
      }
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
