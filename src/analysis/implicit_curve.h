// Pixel classification of equations and inequalities in x and y, by proof.
//
// The plot is a grid of pixel squares; pixel (i, j) is the square of side one
// pixel centred at column i, row j of the plot (row 0 at the top), so that
// the pixels line up with the columns and rows explicit curves are drawn on.
// The squares are classified by the interval evaluation of the formula's
// code (left side minus right side) over boxes of x and y: whole tiles of
// 64 x 64 pixels first, each undecided square split in four (a quadtree),
// down to single pixels and, inside a pixel, to quarter pixels.
//
// Contract of classify_implicit():
// - kCurve: the square provably holds a point of the curve: the difference
//   is continuous on the square and has values of both signs at two of the
//   probed points, or a probed point where it is exactly 0;
// - kNone: the square provably holds no point of the curve and, for an
//   inequality, no point of the region (or the formula is undefined there);
// - kInside (inequalities): every point of the square satisfies the relation;
// - kUndecided: nothing of that could be proven, including every square left
//   when the work stopped at the deadline.
// It runs in time bounded by the deadline plus one tile's work, never throws,
// and leaves complete false when it stopped early.
//
// The same walk can be run in pieces: start_refinement() sets it up,
// advance_refinement() goes on until a deadline and may be called again with
// the same formula, and what it leaves behind is a valid picture at every
// stop (decided squares in their class, the rest undecided). The squares are
// taken level by level, the large ones first, so an early stop shows a
// coarse picture; run to the end in any number of pieces, the pixels are
// those of one classify_implicit() to the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "expr/compiled_formula.h"

namespace kv::analysis {

enum PixelClass : uint8_t { kPixelNone = 0, kPixelInside = 1, kPixelCurve = 2, kPixelUndecided = 3 };

struct PlaneWindow {
  double xmin = -1, xmax = 1, ymin = -1, ymax = 1;
  // The plot's width and height as the view maps them: pixel columns 0..width
  // and rows 0..height are classified.
  int width = 1, height = 1;
};

struct ImplicitPixels {
  int width = 0, height = 0;
  std::vector<uint8_t> cls;  // PixelClass, row by row from the top
  bool complete = false;     // every square was refined as far as it goes
  uint8_t at(int i, int j) const { return cls[static_cast<size_t>(j) * width + i]; }
};

using Deadline = std::chrono::steady_clock::time_point;

// One square of the quadtree: columns [i, i + size), rows [j, j + size).
struct PixelSquare {
  int i = 0, j = 0, size = 0;
};

// The state of a walk that stopped before its end; plain data.
struct ImplicitRefinement {
  PlaneWindow window;
  double angle = 1;
  double dx = 1, dy = 1;             // pixel sides in plot units
  std::vector<int8_t> corners;       // signs at pixel corners, kept between pieces
  std::vector<PixelSquare> level;    // the squares of the level in work
  std::vector<PixelSquare> next;     // their undecided quarters
  size_t position = 0;               // the next square of level
  ImplicitPixels pixels;             // complete when the walk has ended
};

// A walk over the window with every pixel undecided; nothing classified yet.
ImplicitRefinement start_refinement(const PlaneWindow& window, double angle);

// Goes on with the walk of f until the deadline (at least a few squares, so
// that every call makes progress); true when the walk has ended. f must be
// the formula the walk began with.
bool advance_refinement(ImplicitRefinement& r, const CompiledFormula& f, Deadline deadline);

// Classifies the pixels of f (an implicit formula) in the window; angle is
// the panel's angle factor.
ImplicitPixels classify_implicit(const CompiledFormula& f, const PlaneWindow& window, double angle,
                                 Deadline deadline);

}  // namespace kv::analysis
