// Evaluation of a compiled formula over an interval of x, with enclosures of
// its derivatives.
//
// The one rule: for every x in X where the formula is defined, f[0] holds
// its value and f[k] (k <= order) its k-th derivative wherever that exists.
// The function enclosed is the one the formula writes mathematically: its
// decimal literals and constants as real numbers (0.1 is not the double
// 0.1), poles unbounded rather than cut at the drawing limits, d( ) the exact
// derivative of its argument, the angle factor of the Deg mode as 180/pi.
// Where no tight enclosure is known the result is the whole line, "maybe
// defined", not continuous; it is never narrower than the truth.
//
// Derivatives are carried as Taylor coefficients (forward-mode automatic
// differentiation on intervals), enough of them for the order asked plus
// one per nesting level of d( ).
//
// Bad code (an empty formula, y inside d( ), a structural fault the compiler
// let through) evaluates to the empty set, defined nowhere. Formulas that
// read y or its derivatives are whole, maybe defined: there is no y here,
// except in evaluate_plane, where y is an interval of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "expr/compiled_formula.h"
#include "interval/interval.h"

namespace kv::interval {

inline constexpr int kMaxOrder = 4;

enum class Defined : uint8_t { kNowhere, kMaybe, kEverywhere };

struct Enclosure {
  // f[k] encloses the k-th derivative of the formula for every x in X where
  // defined (k <= the order asked; the others are left whole).
  Interval f[kMaxOrder + 1];
  Defined defined = Defined::kMaybe;
  // Proven defined and continuous on all of X.
  bool continuous = false;
  // Proven order times continuously differentiable on all of X: then f[1..order]
  // are the derivatives at every point of X (mean-value and Newton arguments
  // hold). Implies continuous. abs(x) on [-1, 1] is continuous, not smooth.
  bool smooth = false;
  // The formula draws rand.
  bool uncertain = false;
};

// One evaluation program derived from a formula's prefix code, and the
// scratch space to run it: reuse one evaluator for many intervals of the
// same formulas. The program is rebuilt when the formula's code or the
// angle factor changes. Not for use on two threads at once.
class IntervalEvaluator {
 public:
  IntervalEvaluator();
  ~IntervalEvaluator();
  IntervalEvaluator(const IntervalEvaluator&) = delete;
  IntervalEvaluator& operator=(const IntervalEvaluator&) = delete;

  // x in X; order = number of derivatives wanted (0..kMaxOrder, clamped);
  // angle = the panel's angle factor (kRadians or kDegrees).
  Enclosure evaluate(const CompiledFormula& f, Interval x, int order, double angle);
  // The value over the box X x Y, y read as the plane's second coordinate
  // (an equation or inequality in x and y); f[0] and the flags only, which
  // then speak of the whole box: "continuous" is continuity in x and y.
  Enclosure evaluate_plane(const CompiledFormula& f, Interval x, Interval y, double angle);

  struct Program;
  struct Series;
  struct Value;

 private:
  void build(const std::string& code, double angle);
  Enclosure run(const CompiledFormula& f, Interval x, const Interval* y, int order, double angle);
  Program* program_;
  std::vector<Series> stack_;
  std::vector<Value> values_;  // the value-only run's stack
};

// A thin wrapper for single calls; it builds the program each time.
Enclosure evaluate_interval(const CompiledFormula& f, Interval x, int order, double angle);

}  // namespace kv::interval
