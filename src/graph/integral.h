// Integral curves of the panel "Integral": F(x) = integral from x0 to x of f
// (or of |f|) at every pixel column from x0 rightwards, by composite Simpson
// integration between neighbouring columns.
//
// The integrand must already be sampled in slot 0; the integral goes into slot
// 1, index-aligned, with the integrand's flags (no classification of its own).
// Columns left of x0 are undefined. A lower bound left of the plot is
// integrated over the hidden stretch up to the left edge first.
#pragma once

#include "graph/probe.h"
#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

struct IntegralParams {
  double x0 = 0;           // lower bound
  double xmin = 0;         // column 0
  double x_scale = 1;      // distance between columns
  int width = 50;          // columns 0..width
  int subdivision = 6;     // Simpson pairs per column: 6, 4 or 2
  bool absolute = false;   // integrate |f|
  double zero_tolerance = kZeroToleranceDrawing;
  double max_magnitude = kMaxMagnitude;
};

// Endpoint of a Simpson interval; undefined endpoints contribute 0.
struct SimpsonPoint {
  double v = 0;
  bool defined = false;
};

// Running sum extended by the integral over one interval of length h ending at
// position e, with 2m sub-intervals; interior points are evaluated through the
// probe. The result is clamped to +-max_magnitude.
double simpson_step(FormulaProbe& probe, const IntegralParams& p, double sum, double e, double h,
                    int m, SimpsonPoint start, SimpsonPoint end);

// Fills slot 1 of fp from the integrand samples in slot 0.
void compute_integral_curve(FormulaPlot& fp, FormulaProbe& probe, const IntegralParams& p);

IntegralParams integral_params(const PanelRecord& panel, const CompiledFormula& f, int width);

}  // namespace kv
