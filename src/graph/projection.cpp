// Projection and vertical clipping of curves.
#include "graph/projection.h"


namespace kv {

namespace {

enum class Clip { None, Above, Below };

int edge_row(Clip s, int height) { return s == Clip::Above ? 0 : height; }

// An isolated sample right of the end of the piece on its left joins that
// piece: the gap between them was closed by a snapped refinement. Works on
// the pixel flags, which start as copies of the sample flags, so that the
// samples keep their classification.
void join_isolated(std::vector<uint8_t>& f, int i) {
  if (i < 2) return;
  if (is_isolated(f[i - 1]) && (f[i - 2] & kPieceEnd)) {
    f[i - 1] &= ~kPieceStart;
    f[i - 2] &= ~kPieceEnd;
  }
}

// A point outside the plot.
void clip_outside(CurveSamples& c, int i, Clip side, Clip& state, int height) {
  uint8_t& pf = c.pixel_flags[i];
  const uint8_t f = pf;
  if (f & kPieceEnd) {
    pf = 0;
    if (!(f & kPieceStart)) state = side;
  } else if (!(f & kPieceStart)) {
    if (state == Clip::None) {
      c.pixels[i] = {i + 1, edge_row(side, height)};
      pf = kDefined | kPieceStart;
      state = side;
    } else if (state != side) {
      pf = kDefined | kPassThrough;
      state = side;
    } else {
      pf = 0;
    }
  }
}

// A point inside the plot right after an outside stretch: the right
// neighbour is pulled to the edge so that the curve runs out of the plot.
void clip_reenter(CurveSamples& c, int i, Clip& state, int height) {
  const int edge = edge_row(state, height);
  Point& right = c.pixels[i + 1];
  uint8_t& rf = c.pixel_flags[i + 1];
  right.y = edge;
  if (rf & kPassThrough) {
    if (c.pixel_flags[i] == kDefined) {
      right.x = i + 2;
      c.pixels[i].y = edge;
      c.pixel_flags[i] = kDefined | kPieceEnd;
    }
  } else {
    right.x = i;
    rf = static_cast<uint8_t>(((rf >> 1) ^ 2) | 1);
  }
  state = Clip::None;
}

}  // namespace

void project_cartesian(CurveSamples& c, const ViewMap& map) {
  const int n = c.last;
  const int height = map.height;
  const ViewMap m = map;  // a local copy: the stores below cannot change it
  Clip state = Clip::None;
  for (int i = 0; i <= n; ++i) c.pixel_flags[i] = c.samples[i].flag;
  c.pixel_flags[n + 1] = 0;
  for (int i = n; i >= 0; --i) {
    join_isolated(c.pixel_flags, i);
    const uint8_t f = c.pixel_flags[i];
    if (!is_defined(f)) continue;
    const int row = m.row(c.samples[i].v);
    c.pixels[i] = {i, row};
    const Clip side = row < 0 ? Clip::Above : row > height ? Clip::Below : Clip::None;
    if (side != Clip::None) {
      clip_outside(c, i, side, state, height);
    } else if (state != Clip::None) {
      clip_reenter(c, i, state, height);
    }
    if (f & kPieceStart) state = Clip::None;
  }
  c.pixel_last = n;
}

}  // namespace kv
