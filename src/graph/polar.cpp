// Polar curves: plane points and the compacting projection.
#include "graph/polar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graph/vector_clones.h"

namespace kv {

namespace {

// Samples per group that share one exact cos and sin of the group's start.
// A group costs two trigonometric calls and its table entry two more, so a
// group near the square root of the usual sample count makes fewest calls;
// the error does not grow with the group, as no sample depends on another.
constexpr int kGroup = 128;

// Calls emit(i, x, y) with the plane point of every grid sample i < n, and
// group_done(g, count) after each group: every group of kGroup samples starts
// from an exact cos and sin of its first grid position, the others follow by
// the angle-addition formulas with the exact cos and sin of k * step. Inlined
// into the loops below, which vectorise.
template <typename Emit, typename GroupDone>
[[gnu::always_inline]] inline void for_grid_points(const Sample* samples, int n, double a,
                                                  double step, Emit emit, GroupDone group_done) {
  double ck[kGroup], sk[kGroup];
  for (int k = 0; k < std::min(kGroup, n); ++k) {
    ck[k] = std::cos(k * step);
    sk[k] = std::sin(k * step);
  }
  for (int g = 0; g < n; g += kGroup) {
    const double ca = std::cos(a + g * step), sa = std::sin(a + g * step);
    const int count = std::min(kGroup, n - g);
    for (int k = 0; k < count; ++k) {
      const double cos_t = ca * ck[k] - sa * sk[k];
      const double sin_t = sa * ck[k] + ca * sk[k];
      const double r = samples[g + k].v;
      emit(g + k, r * cos_t, r * sin_t);
    }
    group_done(g, count);
  }
}

KV_VECTOR_CLONES void grid_plane_points(const Sample* samples, PlanePoint* plane, int n, double a,
                                        double step) {
  for_grid_points(
      samples, n, a, step, [plane](int i, double x, double y) { plane[i] = {x, y}; },
      [](int, int) {});
}

// Calls fix(i) for every defined sample that lies off its grid position: of
// the explicit sampler's samples only those it listed can, solver samples may
// lie anywhere.
template <typename Fix>
void for_off_grid(const CurveSamples& c, double a, double step, Fix fix) {
  auto check = [&](int i) {
    const Sample& s = c.samples[i];
    if (is_defined(s.flag) && s.t != a + i * step) fix(i, s);
  };
  if (c.on_grid) {
    for (int i : c.moved) {
      if (i >= 0 && i <= c.last) check(i);
    }
  } else {
    for (int i = 0; i <= c.last; ++i) check(i);
  }
}

}  // namespace

bool compute_polar_plane(CurveSamples& c, double a, double step) {
  const size_t n = static_cast<size_t>(c.last) + 1;
  try {
    c.plane.resize(n);  // entries of undefined samples are never read
  } catch (...) {
    c.plane.clear();
    return false;
  }
  const Sample* samples = c.samples.data();
  PlanePoint* plane = c.plane.data();
  grid_plane_points(samples, plane, c.last + 1, a, step);
  // Samples moved off the grid get their own cos and sin.
  for_off_grid(c, a, step, [&](int i, const Sample& s) {
    plane[i] = {s.v * std::cos(s.t), s.v * std::sin(s.t)};
  });
  return true;
}

namespace {

// The middle of three pixels that form a unit step is not needed: the line
// from the first to the third covers it.
bool unit_corner(Point p2, Point p1, Point p) {
  if (p.x == p1.x && p2.y == p1.y && std::abs(p2.x - p1.x) == 1) return true;
  return p.y == p1.y && p2.x == p1.x && std::abs(p2.y - p1.y) == 1;
}

// Pixels of the grid samples without storing their plane points, the same
// as plane_pixels finds for them. The sample flags are copied afterwards,
// while their cache lines are at hand.
KV_VECTOR_CLONES void grid_pixels(const Sample* samples, Point* pixels, uint8_t* flags, int n,
                                  double a, double step, const ViewMap& map) {
  const ViewMap m = map;  // a copy the stores cannot change, so the loop vectorises
  for_grid_points(
      samples, n, a, step, [&](int i, double x, double y) { pixels[i] = {m.column(x), m.row(y)}; },
      [&](int g, int count) {
        for (int k = 0; k < count; ++k) flags[g + k] = samples[g + k].flag;
      });
}

// Pixels of plane points, for all points in one plain loop: the divisions
// dominate the projection of a fine polar grid, and here they run several at
// a time.
KV_VECTOR_CLONES void plane_pixels(const PlanePoint* plane, Point* pixels, size_t count,
                                   const ViewMap& map) {
  const ViewMap m = map;  // a copy the stores cannot change, so the loop vectorises
  for (size_t i = 0; i < count; ++i) pixels[i] = {m.column(plane[i].x), m.row(plane[i].y)};
}

}  // namespace

void project_polar(CurveSamples& c, const ViewMap& map, double a, double step) {
  const size_t count = static_cast<size_t>(c.last) + 1;
  Point* pixels = c.pixels.data();
  // Points of undefined samples get a pixel too, which the compaction below
  // never reads.
  uint8_t* flags = c.pixel_flags.data();
  if (c.plane.size() == count) {
    plane_pixels(c.plane.data(), pixels, count, map);
    for (size_t i = 0; i < count; ++i) flags[i] = c.samples[i].flag;
  } else {
    grid_pixels(c.samples.data(), pixels, flags, c.last + 1, a, step, map);
    for_off_grid(c, a, step, [&](int i, const Sample& s) {
      pixels[i] = {map.column(s.v * std::cos(s.t)), map.row(s.v * std::sin(s.t))};
    });
  }
  // Compaction in place: point i and its flags move to kept <= i.
  int kept = 0;
  for (int i = 0; i <= c.last; ++i) {
    const uint8_t f = flags[i];
    if (!is_defined(f)) continue;
    const Point p = pixels[i];
    if (f == kDefined && kept > 0 && pixels[kept - 1] == p) continue;
    if (kept >= 2 && flags[kept - 1] == kDefined && is_defined(flags[kept - 2]) &&
        unit_corner(pixels[kept - 2], pixels[kept - 1], p)) {
      --kept;
    }
    pixels[kept] = p;
    flags[kept] = f;
    ++kept;
  }
  c.pixel_last = kept - 1;
  std::fill(flags + kept, flags + c.last + 2, uint8_t{0});
}

}  // namespace kv
