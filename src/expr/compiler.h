// The expression compiler: turns a panel's source text into one compiled
// formula per ';'-separated formula.
//
// compile_formulas frees the panel's previous formulas first. On success it
// returns true, the panel holds one CompiledFormula per formula in text order
// (none for an empty text) and the current formula is the last one. On failure
// it returns false, the panel holds no formulas and panel.error.message names
// the first error; failed flag and control id are left to the caller. The
// panel takes env.random as the generator of its `rand`.
#pragma once

#include "expr/expr_panel.h"

namespace kv {

// Deepest bracket nesting a formula may have, counting the brackets the
// operator rewriting adds. Deeper formulas are rejected as too long, so that
// nothing that walks the code can exhaust the stack.
inline constexpr int kMaxNesting = 2000;
// Largest tokenised code accepted.
inline constexpr size_t kMaxCodeBytes = 200000;
// The operator rewriting costs about (operations) x (final code bytes); a
// formula above this product is rejected as too long before the rewriting
// starts, in time linear in its length. With the length limit on, no formula
// of 512 operations or fewer comes near it.
inline constexpr long kMaxRewriteWork = long{1} << 27;

bool compile_formulas(ExprPanel& panel, const CompileEnv& env);

}  // namespace kv
