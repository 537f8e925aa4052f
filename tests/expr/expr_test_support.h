// Shared helpers of the expression-language tests.
#pragma once

#include <string>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace kv::test {

struct Compiled {
  ExprPanel panel;
  CompileEnv env;
  bool ok = false;
  int message() const { return panel.error.message; }
};

inline Compiled compile(const std::string& text, PanelIndex surface = kPanelFunction,
                        PanelIndex role = kPanelFunction, bool length_limit = true) {
  Compiled c;
  c.panel.role = role;
  if (surface == kPanelDiffEqu || role == kPanelTableDiffEqu) {
    c.panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
  }
  c.panel.source = text;
  c.env.surface = surface;
  c.env.length_limit = length_limit;
  c.ok = compile_formulas(c.panel, c.env);
  return c;
}

struct Value {
  double v = 0;
  bool undefined = false;
  int fatal = kMsgNone;
};

// Value of formula `index` of a compiled text at x (y and its derivatives 0
// unless given).
inline Value eval_at(Compiled& c, double x, int index = 0, const double* more = nullptr) {
  double vars[6] = {x, 0, 0, 0, 0, 0};
  if (more) for (int i = 1; i < 6; ++i) vars[i] = more[i - 1];
  Evaluator ev(c.panel, c.env.surface);
  Value r;
  r.v = ev.evaluate(*c.panel.formulas.at(index), vars);
  r.undefined = ev.undefined();
  r.fatal = ev.fatal();
  return r;
}

}  // namespace kv::test
