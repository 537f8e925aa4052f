// Evaluation of one compiled formula at one parameter value, as the samplers
// need it: the value, whether it is defined, and the cache protocol.
//
// One probe per formula being sampled; it owns no global state, so probes of
// different formulas may run on different threads.
#pragma once

#include "expr/evaluator.h"

namespace kv {

class FormulaProbe {
 public:
  FormulaProbe(Evaluator& ev, CompiledFormula& f) : ev_(ev), f_(f) {}

  // Value at parameter t (x or t) with y and its derivatives zero. Returns
  // whether the value is defined.
  bool at(double t, double& value) {
    vars_[0] = t;
    return run(vars_, value);
  }
  // Value at a full variables vector (x, y, y', y'', y''', y'''').
  bool at_state(const double* vars, double& value) { return run(vars, value); }
  // Values at many parameters at once (y and its derivatives zero); the same
  // values as at() point by point, computed block by block. A value is
  // defined where undefined[i] is false and it is not a NaN; the caller
  // tests both in the loop that stores the values.
  void at_many(const double* t, int n, double* value, bool* undefined) {
    ev_.evaluate_many(f_, t, n, vars_, value, undefined);
    f_.cache_ready = true;
  }
  // First derivative at t, given the value there.
  bool derivative(double t, double value, double& out) {
    out = ev_.derivative(f_, t, value);
    f_.cache_ready = true;
    return !ev_.undefined() && out == out;
  }
  // The formula turned out unusable: every later value is undefined.
  bool fatal() const { return ev_.fatal() != kMsgNone; }
  int fatal_message() const { return ev_.fatal(); }
  CompiledFormula& formula() { return f_; }

 private:
  // A NaN would slip through every comparison of the classification; the
  // mathematical functions never produce one, but it is treated as undefined.
  bool run(const double* vars, double& value) {
    value = ev_.evaluate(f_, vars);
    f_.cache_ready = true;
    return !ev_.undefined() && value == value;
  }

  Evaluator& ev_;
  CompiledFormula& f_;
  double vars_[6] = {0, 0, 0, 0, 0, 0};
};

}  // namespace kv
