// Solutions of explicit ordinary differential equations of order 1 to 5 in
// the panel "DiffEqu" (and, through the state operations, in value tables).
//
// The solution is computed at the sample positions of the formula, walking
// from the start point to the left edge and then from the start point to the
// right edge with a fixed-step fifth-order Runge-Kutta method (Cash-Karp
// coefficients, no step-size control): s sub-steps per sample distance, six
// evaluations of the right-hand side each. Every state component is clamped to
// +-max_magnitude, so an exploding solution runs along the clamp. An undefined
// value ends the solution in that direction; a pole (the test of the explicit
// sampler, unless the solver switch is on) ends it too.
//
// The start column is always within 0..n: a start parameter outside the
// sampled range (a polar start t outside TMin..TMax) is carried to the nearest
// end of the range first, without writing samples on the way.
#pragma once

#include <algorithm>
#include <array>

#include "graph/probe.h"
#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

// x (or t), y (or r), y', y'', y''', y''''.
using OdeState = std::array<double, 6>;

struct OdeSetup {
  int order = 1;  // 1..5
  int substeps = 6;  // Cash-Karp sub-steps per sample distance
  double max_magnitude = kMaxMagnitude;
};

// x0 and the start values of the panel, each value clamped to +-1e13.
OdeState initial_state(const PanelRecord& panel, int order);

// Sub-steps per column for the graph: the formula's subdivision (1 for a polar
// equation), three times as many with "High Precision".
int graph_substeps(const CompiledFormula& f, bool high_precision);

class OdeStepper {
 public:
  // An order outside 1..5 is taken as the nearest of them.
  OdeStepper(FormulaProbe& probe, const OdeSetup& setup)
      : probe_(probe), setup_(setup) {
    setup_.order = std::clamp(setup_.order, 1, 5);
  }

  // Integrates the state over the distance step (may be negative) in
  // setup.substeps sub-steps. On an undefined value returns false, or with
  // first_step keeps the state after the last completed sub-step and returns
  // true.
  bool advance(OdeState& st, double step, bool first_step);

  // Makes st the initial state moved onto the sample position of the start
  // column a + k0 * h and returns k0, clamped into 0..n. ok tells whether the
  // state there is defined.
  int go_to_start_column(OdeState& st, const OdeState& initial, double a, double h, int n,
                         bool& ok);

  // y' along the solution: the state's y' for order >= 2, f(x, y) for order 1.
  bool derivative(const OdeState& st, double& out);

  const OdeSetup& setup() const { return setup_; }

 private:
  FormulaProbe& probe_;
  OdeSetup setup_;
};

struct SolveOptions {
  bool derivative = false;    // "1. Ableitung zeichnen": slot 1 gets y'
  bool pole_switch = false;   // solver switch: no pole test
  double jump_threshold = 0;
};

// Fills slot 0 (and slot 1) of fp, laid out by layout_formula_plot.
void solve_equation(FormulaPlot& fp, OdeStepper& stepper, const OdeState& initial,
                    const SolveOptions& options);

}  // namespace kv
