// "Unstetigkeiten zeigen": which parts of a sampled explicit curve may be
// drawn as the straight segments between its samples, and what is drawn
// instead where they may not.
//
// The segment between samples i and i + 1 counts as drawn when the formula is
// proven continuous over [t_i, t_i+1] and its enclosure there stays within one
// row of the rows the segment spans (sixteen segments at a time where the
// curve is proven monotone over all of them). Any other segment is split in halves,
// down to a 64th of its width, until every piece is
// - proven: continuous and within a row of the rows between its end values;
// - a proven band: continuous, so it takes every value between its end
//   values (intermediate values), but wider than them; the rest of its
//   enclosure is undecided;
// - a gap: proven undefined;
// - singular: not proven continuous. A singular piece is narrowed further,
//   half by half, to the double grid, and then named by the values on its
//   two sides: a pole when one side leaves the plot far beyond its height
//   (1/x, tan(x), exp(1/x) from the right), a hole when both sides meet
//   within a row ((x^2-1)/(x-1) at 1), a jump when both are finite and apart
//   (floor(x)); what cannot be named or narrowed is undecided.
// A segment whose proven bands already cover the plot height is not looked
// at further: nothing else could show in its columns.
//
// Rows are the plot's, as real numbers: row(y) = height - (y - ymin) / y_scale.
// The work stops at the budget; segments left then are undecided over their
// whole enclosure. The work is bounded by a count of evaluations per sample
// and, as a safety net, by the budget. Qt-free; time linear in the number of
// samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "expr/compiled_formula.h"
#include "expr/expr_panel.h"

namespace kv::analysis {

struct RowMap {
  double ymin = 0, y_scale = 1;  // y per row
  int height = 1;
  double row(double y) const { return height - (y - ymin) / y_scale; }
};

enum class MarkKind : uint8_t { kPole, kHole, kJump };

struct CurveMark {
  MarkKind kind = MarkKind::kPole;
  double x = 0;
  // The values on both sides (a pole's are not used) and, for a jump, the
  // value at x when the formula is defined there.
  double y_left = 0, y_right = 0, y_value = 0;
  bool value_defined = false;
};

// Every value between y_lo and y_hi is taken somewhere in the column of x
// (proven), or may be (undecided).
struct ColumnSpan {
  double x = 0;
  double y_lo = 0, y_hi = 0;
  bool proven = false;
};

struct CurveClassification {
  std::vector<uint8_t> drawn;  // per segment i between samples i and i + 1: 1 when proven
  std::vector<ColumnSpan> spans;
  std::vector<CurveMark> marks;  // by x
  bool all_drawn = true;
  bool budget_exhausted = false;
};

struct CurveInput {
  const double* t = nullptr;  // sample positions, increasing
  const double* v = nullptr;  // sampled values, NaN where undefined
  size_t count = 0;
  RowMap rows;
  // Column of x: round((x - x0) / x_scale); with x_scale 0 every column is
  // looked at to the end.
  double x0 = 0, x_scale = 0;
  int derivative = 0;  // 0: the formula's value, 1: its first derivative
  double budget_ms = 250;
};

CurveClassification classify_curve(const ExprPanel& panel, const CompiledFormula& f,
                                   const CurveInput& in);

}  // namespace kv::analysis
