// The recomputation entry of a drawing panel.
#include "graph/recompute.h"

#include <algorithm>
#include <chrono>

#include "graph/honest_curves.h"
#include "graph/honest_plane.h"
#include "graph/integral.h"
#include "graph/ode_solver.h"
#include "graph/point_marks.h"
#include "graph/parametric.h"
#include "graph/polar.h"
#include "graph/projection.h"
#include "graph/sampling.h"
#include "graph/view.h"

namespace kv {

namespace {

bool fail(PanelRecord& panel, PanelPlot& plot, int message) {
  panel.error.report(message, kExpressionControlId);
  plot.valid = false;
  return false;
}

void solve(PanelRecord& panel, FormulaPlot& fp, FormulaProbe& probe, bool derivative) {
  CompiledFormula& f = probe.formula();
  OdeSetup setup;
  setup.order = std::clamp(f.order, 1, 5);
  setup.substeps = graph_substeps(f, panel.option_flag != 0);
  setup.max_magnitude = panel.limits.max_magnitude;
  OdeStepper stepper(probe, setup);
  SolveOptions options;
  options.derivative = derivative;
  options.pole_switch = panel.option(kOptSolverSwitch) != 0;
  options.jump_threshold = panel.jump_threshold;
  solve_equation(fp, stepper, initial_state(panel, setup.order), options);
}

// Samples one formula into fp; false when the formula proved unusable.
bool sample_formula(PanelRecord& panel, FormulaPlot& fp, CompiledFormula& f) {
  Evaluator ev(panel, surface_of(panel.role));
  FormulaProbe probe(ev, f);
  const bool derivative = has_derivative_curve(panel, f);
  if (f.order > 0) {
    solve(panel, fp, probe, derivative);
  } else {
    sample_explicit(fp, probe, {panel.jump_threshold, panel.limits.max_magnitude});
    if (derivative) sample_derivative_curve(fp, probe);
  }
  if (f.is_parametric() && f.second) {
    FormulaProbe y_probe(ev, *f.second);
    if (!compute_parametric_plane(fp, y_probe, panel.jump_threshold)) {
      panel.error.report(kMsgOutOfMemory, kExpressionControlId);
      return false;
    }
    if (y_probe.fatal()) {
      panel.error.report(y_probe.fatal_message(), kExpressionControlId);
      fp.failed = true;
      return false;
    }
  }
  if (probe.fatal()) {
    panel.error.report(probe.fatal_message(), kExpressionControlId);
    fp.failed = true;
    return false;
  }
  return true;
}

// The pixels of the equations and inequalities, once the y range is
// settled. All of them share one time budget per recomputation, so that the
// window stays responsive; pixels left when it runs out stay undecided.
void classify_implicit_formulas(const PanelRecord& panel, PanelPlot& plot, int width, int height) {
  const analysis::PlaneWindow window{panel.range[kXMin].value, panel.range[kXMax].value,
                                     panel.range[kYMin].value, panel.range[kYMax].value, width,
                                     height};
  const auto deadline = std::chrono::steady_clock::now() + kImplicitBudget;
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    FormulaPlot& fp = plot.formulas[k];
    if (!fp.implicit) continue;
    fp.pixels = analysis::classify_implicit(*panel.formulas[k], window, panel.angle_mode, deadline);
  }
}

bool integrate(PanelRecord& panel, PanelPlot& plot, int width) {
  if (panel.count() > 1) return fail(panel, plot, kMsgIntegralOneFunction);
  if (panel.count() == 0) return true;
  CompiledFormula& f = *panel.formulas[0];
  if (!has_integral_curve(panel, f)) return true;
  Evaluator ev(panel, surface_of(panel.role));
  FormulaProbe probe(ev, f);
  compute_integral_curve(plot.formulas[0], probe, integral_params(panel, f, width));
  if (probe.fatal()) return fail(panel, plot, probe.fatal_message());
  return true;
}

void project(const PanelRecord& panel, PanelPlot& plot, int width, int height) {
  const ViewMap map = view_map(panel, width, height);
  for (FormulaPlot& fp : plot.formulas) {
    if (fp.implicit) continue;
    if (fp.polar) {
      project_polar(fp.slot[0], map, fp.a, fp.step);
    } else {
      project_cartesian(fp.slot[0], map);
      if (fp.slot[1].used) project_cartesian(fp.slot[1], map);
    }
  }
}

}  // namespace

bool has_integral_curve(const PanelRecord& panel, const CompiledFormula& f) {
  return panel.role == kPanelIntegral && !f.is_polar() && f.order == 0;
}

bool has_derivative_curve(const PanelRecord& panel, const CompiledFormula& f) {
  return panel.role == kPanelDiffEqu && panel.derivative && !f.is_polar();
}

bool recompute_panel(PanelRecord& panel, PanelPlot& plot, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  plot.valid = false;
  plot.generation = panel.generation;
  plot.width = width;
  plot.height = height;
  if (panel.error.failed) return false;
  prepare_x_range(panel, width);

  // Polar plane points are kept only for the automatic y range.
  const bool automatic_y = !panel.ymin_fixed || !panel.ymax_fixed;
  plot.formulas.resize(panel.formulas.size());
  for (size_t k = 0; k < panel.formulas.size(); ++k) {
    CompiledFormula& f = *panel.formulas[k];
    FormulaPlot& fp = plot.formulas[k];
    if (f.is_implicit()) {
      fp = FormulaPlot{};
      fp.implicit = true;
      continue;
    }
    const bool slot1 = has_integral_curve(panel, f) || has_derivative_curve(panel, f);
    if (!layout_formula_plot(fp, f, panel, width, height, slot1)) {
      return fail(panel, plot, kMsgOutOfMemory);
    }
    if (!sample_formula(panel, fp, f)) return false;
    if (fp.polar && !f.is_parametric() && automatic_y && !compute_polar_plane(fp.slot[0], fp.a, fp.step)) {
      return fail(panel, plot, kMsgOutOfMemory);
    }
  }
  if (panel.role == kPanelIntegral && !integrate(panel, plot, width)) return false;

  settle_y_range(panel, plot, width, height);
  project(panel, plot, width, height);
  classify_curves(panel, plot, width, height);
  classify_plane_curves(panel, plot, width, height);
  plot.marks = find_point_marks(panel);
  classify_implicit_formulas(panel, plot, width, height);
  plot.valid = true;
  return true;
}

bool plot_is_current(const PanelRecord& panel, const PanelPlot& plot, int width, int height) {
  return plot.valid && plot.generation == panel.generation && plot.width == width &&
         plot.height == height && plot.formulas.size() == panel.formulas.size();
}

}  // namespace kv
