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

// The window of device pixels: at scale s each pixel of the plot is s x s
// device pixels, whose centres lie a fraction of a plot pixel off its centre.
analysis::PlaneWindow device_window(const PanelRecord& panel, int width, int height, int s) {
  const double dx = (panel.range[kXMax].value - panel.range[kXMin].value) / width;
  const double dy = (panel.range[kYMax].value - panel.range[kYMin].value) / height;
  const double shift = (s - 1) / (2.0 * s);
  analysis::PlaneWindow w;
  w.width = s * (width + 1) - 1;
  w.height = s * (height + 1) - 1;
  w.xmin = panel.range[kXMin].value - shift * dx;
  w.xmax = w.xmin + w.width * dx / s;
  w.ymax = panel.range[kYMax].value + shift * dy;
  w.ymin = w.ymax - w.height * dy / s;
  return w;
}

// Goes on with the walk of every equation and inequality in list order until
// the deadline; true when every walk has ended.
bool run_walks(const PanelRecord& panel, PanelPlot& plot, analysis::Deadline deadline) {
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    FormulaPlot& fp = plot.formulas[k];
    if (!fp.refining) continue;
    std::swap(fp.work.pixels, fp.pixels);
    fp.refining = !analysis::advance_refinement(fp.work, *panel.formulas[k], deadline);
    std::swap(fp.work.pixels, fp.pixels);
    if (fp.refining) return false;
    fp.work = {};
  }
  return true;
}

// What was not refined stays undecided.
void stop_walks(PanelPlot& plot) {
  for (FormulaPlot& fp : plot.formulas) {
    fp.refining = false;
    fp.work = {};
  }
}

// The pixels of the equations and inequalities, once the y range is
// settled. All of them share one time budget, so that the window stays
// responsive; pixels left when it runs out stay undecided.
void classify_implicit_formulas(const PanelRecord& panel, PanelPlot& plot, int width, int height,
                                const ImplicitOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const int s = std::clamp(options.pixel_scale, 1, 4);
  plot.pixel_scale = s;
  plot.implicit_spent = {};
  const analysis::PlaneWindow window = device_window(panel, width, height, s);
  for (FormulaPlot& fp : plot.formulas) {
    if (!fp.implicit) continue;
    fp.work = analysis::start_refinement(window, panel.angle_mode);
    fp.pixels = std::move(fp.work.pixels);
    fp.refining = true;
  }
  const bool done =
      run_walks(panel, plot, start + (options.progressive ? kImplicitFirstPiece : kImplicitBudget));
  plot.implicit_spent = std::chrono::steady_clock::now() - start;
  if (!done && !options.progressive) stop_walks(plot);
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

bool recompute_panel(PanelRecord& panel, PanelPlot& plot, int width, int height,
                     const ImplicitOptions& implicit) {
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
  classify_implicit_formulas(panel, plot, width, height, implicit);
  plot.valid = true;
  return true;
}

bool plot_is_current(const PanelRecord& panel, const PanelPlot& plot, int width, int height) {
  return plot.valid && plot.generation == panel.generation && plot.width == width &&
         plot.height == height && plot.formulas.size() == panel.formulas.size();
}

bool implicit_pending(const PanelRecord& panel, const PanelPlot& plot) {
  if (!plot_is_current(panel, plot, plot.width, plot.height)) return false;
  return std::any_of(plot.formulas.begin(), plot.formulas.end(),
                     [](const FormulaPlot& fp) { return fp.refining; });
}

bool advance_implicit(const PanelRecord& panel, PanelPlot& plot, std::chrono::milliseconds piece) {
  if (!implicit_pending(panel, plot)) return false;
  const auto start = std::chrono::steady_clock::now();
  run_walks(panel, plot, start + piece);
  plot.implicit_spent += std::chrono::steady_clock::now() - start;
  if (plot.implicit_spent >= kImplicitWindowBudget) stop_walks(plot);
  return true;
}

void finish_implicit(const PanelRecord& panel, PanelPlot& plot, int pixel_scale) {
  if (!plot_is_current(panel, plot, plot.width, plot.height)) return;
  const bool any = std::any_of(plot.formulas.begin(), plot.formulas.end(),
                               [](const FormulaPlot& fp) { return fp.implicit; });
  if (!any) return;
  if (plot.pixel_scale != std::clamp(pixel_scale, 1, 4)) {
    classify_implicit_formulas(panel, plot, plot.width, plot.height, {false, pixel_scale});
    return;
  }
  if (!run_walks(panel, plot, std::chrono::steady_clock::now() + kImplicitBudget)) stop_walks(plot);
}

const PanelPlot& finished_for_picture(const PanelRecord& panel, const PanelPlot& plot,
                                      PanelPlot& scratch) {
  if (!plot_is_current(panel, plot, plot.width, plot.height)) return plot;
  const bool final = std::none_of(plot.formulas.begin(), plot.formulas.end(), [&](const FormulaPlot& fp) {
    return fp.refining || (fp.implicit && plot.pixel_scale != 1);
  });
  if (final) return plot;
  scratch = plot;
  finish_implicit(panel, scratch, 1);
  return scratch;
}

}  // namespace kv
