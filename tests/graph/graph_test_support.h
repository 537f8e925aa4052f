// Shared helpers of the graph-engine tests: drawing panels with their default
// ranges, compiled from a formula text, and a recomputation at a plot size.
#pragma once

#include <string>

#include "expr/compiler.h"
#include "graph/recompute.h"
#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv::test {

struct Graph {
  PanelRecord panel;
  PanelPlot plot;
  int width = 624, height = 520;

  explicit Graph(PanelIndex role = kPanelFunction, int w = 624, int h = 520)
      : width(w), height(h) {
    panel.role = role;
    if (role == kPanelDiffEqu) {
      panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
    }
    const double pi = 3.14159265358979323846;
    const double xr = role == kPanelIntegral ? 2 * pi : 6.0;
    set_range(-xr, xr, -5, 5);
    panel.range[kTMin].value = -2 * pi;
    panel.range[kTMax].value = 2 * pi;
    panel.options[kOptLineWidth] = 1;
  }
  void set_range(double xmin, double xmax, double ymin, double ymax) {
    panel.range[kXMin].value = xmin;
    panel.range[kXMax].value = xmax;
    panel.range[kYMin].value = ymin;
    panel.range[kYMax].value = ymax;
  }
  void set_start(double x0, std::initializer_list<double> values = {}) {
    panel.dialog_values[kStartX].value = x0;
    int k = kStartY;
    for (double v : values) panel.dialog_values[k++].value = v;
  }
  bool compile(const std::string& text) {
    panel.source = text;
    CompileEnv env;
    env.surface = surface_of(panel.role);
    return compile_formulas(panel, env);
  }
  bool run() { return recompute_panel(panel, plot, width, height); }
  bool compile_and_run(const std::string& text) { return compile(text) && run(); }

  const CurveSamples& curve(int formula = 0, int slot = 0) const {
    return plot.formulas.at(formula).slot[slot];
  }
};

}  // namespace kv::test
