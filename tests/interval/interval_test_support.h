// Shared helpers of the interval tests: compiling a formula as the function
// panel does and evaluating it over an interval.
#pragma once

#include <string>

#include "expr/compiler.h"
#include "expr/limits.h"
#include "interval/interval_eval.h"

namespace kv::interval::test {

struct Formula {
  ExprPanel panel;
  bool ok = false;
  const CompiledFormula& f() const { return *panel.formulas.at(0); }
};

inline Formula compile(const std::string& text) {
  Formula c;
  c.panel.source = text;
  c.ok = compile_formulas(c.panel, CompileEnv{}) && !c.panel.formulas.empty();
  return c;
}

}  // namespace kv::interval::test
