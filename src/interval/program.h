// The interval program of one formula and angle factor, shared by the
// builder and the two runners: the value alone and the Taylor series.
#pragma once

#include <string>
#include <vector>

#include "interval/interval_eval.h"

namespace kv::interval {

struct IntervalEvaluator::Program {
  // kOpConstRight and kOpConstLeft are binary operations with a constant
  // second or first operand (arg), which then takes no stack slot.
  enum Kind : uint8_t {
    kConst, kX, kY, kRand, kWhole, kUndef, kOp, kDeriv, kPowWhole, kOpConstRight, kOpConstLeft
  };
  struct Step {
    Kind kind;
    uint8_t op = 0;
    int32_t arg = 0;  // constant index; the exponent of kPowWhole
  };
  std::string code;
  double angle = 0;
  bool built = false;
  bool fatal = false;      // a fault in the code's structure
  bool draws_rand = false;
  int depth = 0;           // deepest nesting of d( )
  int max_stack = 0;
  std::vector<Step> steps;
  std::vector<Interval> consts;
  // The same program for the value-only run (value.cpp), its arithmetic
  // resolved to one step kind each and its constants inline, closed by an
  // end step.
  struct ValueStep {
    uint8_t kind;
    uint8_t op = 0;
    uint8_t mask = 0;  // the flags a constant divisor leaves
    int32_t arg = 0;   // the exponent of a whole power
    Interval c{};
  };
  std::vector<ValueStep> value_steps;
};

// A stack slot of the value-only run: the interval and the flags of a
// series as bits (value.cpp), so that an operation meets its operands'
// flags with one "and".
struct IntervalEvaluator::Value {
  Interval v;
  uint8_t flags;
};

// Derives the program of code (a fresh Program) for the angle factor.
void build_program(const std::string& code, double angle, IntervalEvaluator::Program& p);

// Derives p.value_steps from p.steps.
void lower_values(IntervalEvaluator::Program& p);

// The value alone, without series: for programs without d( ) at order 0.
Enclosure run_value(const IntervalEvaluator::Program& p, Interval x, const Interval* y,
                    IntervalEvaluator::Value* stack);

}  // namespace kv::interval
