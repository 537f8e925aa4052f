// The expression compiler: turns a panel's source text into one compiled
// formula per ';'-separated formula.
//
// compile_formulas frees the panel's previous formulas first. On success it
// returns true, the panel holds one CompiledFormula per formula in text order
// (none for an empty text) and the current formula is the last one. On failure
// it returns false, the panel holds no formulas and panel.error.message names
// the first error; failed flag and control id are left to the caller.
#pragma once

#include "expr/expr_panel.h"

namespace kv {

// Deepest bracket nesting a formula may have, counting the brackets the
// operator rewriting adds. Deeper formulas are rejected as too long, so that
// nothing that walks the code can exhaust the stack.
inline constexpr int kMaxNesting = 2000;
// Largest compiled code accepted while the length limit is off; the rewriting
// is quadratic in the code length.
inline constexpr size_t kMaxCodeBytes = 200000;

bool compile_formulas(ExprPanel& panel, const CompileEnv& env);

}  // namespace kv
