// The interval operations of the language, one function per row of the
// operation table (expr/op_table.h), so that an operation without an
// interval rule fails to build.
//
// An operation reads its operands' series and writes the result's; it
// returns what it knows about itself on the operands' ranges: whether their
// values lie in its domain, and whether it is continuous and smooth there.
// The caller combines that with the operands' own flags.
#pragma once

#include "expr/op_table.h"
#include "interval/interval_eval.h"
#include "interval/taylor.h"

namespace kv::interval {

struct IntervalEvaluator::Series {
  Coeffs c;
  Defined def = Defined::kEverywhere;
  bool cont = true;    // defined and continuous on all of X
  bool smooth = true;  // and infinitely differentiable there
};
using Series = IntervalEvaluator::Series;

struct Ctx {
  int n = 1;             // coefficients carried
  bool degrees = false;  // forward trigonometric arguments are in degrees
};

struct Local {
  Defined dom = Defined::kEverywhere;
  bool cont = true;
  bool smooth = true;
};

// Where the operands' values r lie relative to a domain d.
inline Defined domain_of(Interval r, Interval d) {
  if (is_empty(intersect(r, d))) return Defined::kNowhere;
  return subset(r, d) ? Defined::kEverywhere : Defined::kMaybe;
}

// The whole line, maybe defined: where no tighter rule is known.
inline Local unknown(Series& w, const Ctx& cx) {
  for (int k = 0; k < cx.n; ++k) w.c[k] = whole();
  return {Defined::kMaybe, false, false};
}

// The rule of operation code (opcodes.h) on operands a; d( ) has none.
Local apply_operation(uint8_t code, const Series* a, Series& w, const Ctx& cx);

// The value alone of the commonest functions, which the value-only run calls
// directly: w encloses the value on the operand's range u.
Local value_abs(Interval u, Interval& w);
Local value_sqrt(Interval u, Interval& w);
Local value_exp(Interval u, Interval& w);
Local value_ln(Interval u, Interval& w);
Local value_sin(Interval u, Interval& w, bool degrees);
Local value_cos(Interval u, Interval& w, bool degrees);

// x^n for a whole n, the rule of pow with a constant whole exponent.
Local whole_power(const Series& x, double n, Series& w, const Ctx& cx);

#define KV_IV_DECLARE(code, name) Local iv_##name(const Series* a, Series& w, const Ctx& cx);
KV_UNARY_OPERATIONS(KV_IV_DECLARE)
KV_ARITHMETIC_OPERATIONS(KV_IV_DECLARE)
KV_OTHER_BINARY_OPERATIONS(KV_IV_DECLARE)
KV_TERNARY_OPERATIONS(KV_IV_DECLARE)
#undef KV_IV_DECLARE

}  // namespace kv::interval
