// The point program: the form of a plain program that Evaluator::evaluate
// runs (see evaluator_point.cpp).
#pragma once

#include "expr/compiled_formula.h"

namespace kv {

// Values a point program may hold at once; the stack lives in the frame of
// the run. Programs that need more take the general path.
inline constexpr int kPointStack = 48;

// Fills p.steps from p.code when the program is usable, has no d( ) and
// fits the stack; otherwise leaves them empty and returns false.
bool build_point_steps(Program& p);

}  // namespace kv
