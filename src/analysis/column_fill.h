// A quick proof that a curve fills its pixel column over the whole plot
// height: tan(10x) zoomed far out runs through several poles inside one
// column, and each branch between two poles takes every value between its
// values near them (intermediate values). Splitting such a column into
// pieces that each prove a part costs hundreds of evaluations; this looks
// only for the points that settle it.
//
// The column's x interval is halved, depth first from left to right, where
// the formula is not proven continuous (down to a 2^max_depth-th of it). The
// pieces proven continuous and lying beside each other form chains; the
// formula takes every value between the least and the greatest value it has
// at the points of one chain. The column is filled once the chains together
// cover [view_lo, view_hi] within tol; the walk stops there. Qt-free.
#pragma once

#include "expr/compiled_formula.h"
#include "interval/interval_eval.h"

namespace kv::analysis {

struct FillInput {
  double a = 0, b = 0;  // the column's part of the x axis
  int derivative = 0;   // 0: the formula's value, 1: its first derivative
  double angle = 1;
  double view_lo = 0, view_hi = 0, tol = 0;
  int max_depth = 7;
};

struct FillResult {
  bool filled = false;
  int evaluations = 0;
};

FillResult fill_column(interval::IntervalEvaluator& ev, const CompiledFormula& f,
                       const FillInput& in);

}  // namespace kv::analysis
