// The expression evaluator.
//
// An Evaluator holds all state of evaluating formulas of one panel: the
// panel's limits and angle factor, the surface, the nesting depth of d( ),
// the evaluation error flag of the last call and the first fatal error.
// `rand` draws from the panel's generator (the program's one sequence), or
// from a sequence of the Evaluator's own when the panel has none. Evaluators
// sharing a generator must not run on different threads at once; otherwise
// they are independent of each other.
//
// Variables: [0] the independent variable (x or t), [1] y (or r), [2] y',
// [3] y'', [4] y''', [5] y''''. Ordinary functions read only [0].
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "expr/compiled_formula.h"
#include "expr/expr_panel.h"
#include "expr/mathfn.h"

namespace kv {

class Evaluator {
 public:
  Evaluator(const ExprPanel& panel, PanelIndex surface);
  // Without a panel `rand` uses the Evaluator's own sequence.
  Evaluator(double angle, const Limits& limits, PanelIndex surface);

  // Value of the formula at the variables. Afterwards undefined() tells
  // whether the value is undefined there; fatal() whether the formula is
  // unusable (then every later call returns kUndefined at once).
  inline double evaluate(const CompiledFormula& f, const double* vars);
  // First derivative at x, given fx = f(x).
  double derivative(const CompiledFormula& f, double x, double fx);
  // Values at many points at once: out[i] = f(x[i]) with the other variables
  // taken from vars[1..5], undefined[i] set where the value is undefined.
  // Each operation runs over a block of points, so the cost of walking the
  // program is shared. Same values as evaluate(), point by point (rand draws
  // its numbers in another order). When the formula is unusable every value
  // is undefined and fatal() is set.
  void evaluate_many(const CompiledFormula& f, const double* x, int n, const double* vars,
                     double* out, bool* undefined);

  bool undefined() const { return err_; }
  int fatal() const { return fatal_; }
  const MathEnv& env() const { return env_; }

 private:
  double evaluate_general(const CompiledFormula& f, const double* vars);
  double run(const Program& p, int begin, int end, double* vars, double* stack);
  // Runs the point steps of a plain program: the value, or NaN when the
  // point left the common case somewhere and is for the general path.
  double run_point(const Program& p, const double* vars);
  double derivative_step(const Program& p, int begin, int end, double* vars, double* stack,
                         double f0);
  // Runs [begin, end) over a block of n points: results in acc, undefined
  // points flagged in e; st is the block stack space to use.
  void run_block(const Program& p, int begin, int end, const double* x, int n,
                 const double* vars, double* acc, bool* e, double* st, int depth);
  void block_derivative(const Program& p, int begin, int end, const double* x, int n,
                        const double* vars, double* acc, bool* e, double* st, int depth);
  // The program to run for f: its own, or one rebuilt for this context's
  // limits when they differ from those it was compiled with.
  const Program* prepare(const CompiledFormula& f);
  // Start of every entry: the program to run, or nullptr (with the error flag
  // set) when the formula or the context is unusable.
  const Program* enter(const CompiledFormula& f);
  double* stack_for(const Program& p);
  RandState& random_state() { return shared_rand_ ? *shared_rand_ : own_rand_; }
  double draw_random() { return random_state().next() / 32767.0; }

  MathEnv env_;
  double literal_limit_;
  ProgramKey key_;
  int depth_ = 0;
  bool err_ = false;
  int fatal_ = kMsgNone;
  RandState* shared_rand_ = nullptr;
  RandState own_rand_;
  std::vector<double> stack_;
  std::vector<double> block_stack_;
  Program rebuilt_;
  const CompiledFormula* rebuilt_for_ = nullptr;
  std::string rebuilt_source_;
};

// The common case inline: a program built for this context, without d( ),
// at a point where its value is defined and all arithmetic ordinary.
inline double Evaluator::evaluate(const CompiledFormula& f, const double* vars) {
  const Program& p = f.program;
  if (p.plain && fatal_ == kMsgNone && p.key == key_) {
    const double value = run_point(p, vars);
    if (!std::isnan(value)) {
      err_ = false;
      return value;
    }
  }
  return evaluate_general(f, vars);
}

// Makes the flat program of a compiled formula for the given context.
void build_program(CompiledFormula& f, const MathEnv& env, double literal_limit);

// Entry points on a panel: evaluate the panel's current formula,
// set its evaluation error flag, and report a fatal error once into the
// panel's first-error record with control id 510.
double evaluate_formula(ExprPanel& panel, const double* vars, PanelIndex surface);
double evaluate_derivative(ExprPanel& panel, double x, double fx, PanelIndex surface);

}  // namespace kv
