// Sampling of explicit functions: one value per sample position, classified
// into pieces, with the ends of pieces refined towards the edge of the
// definition domain or towards a pole.
//
// Cartesian formulas get one sample per pixel column (n = W) over XMin..XMax,
// polar formulas 8 * max(W, H) samples over TMin..TMax. Samples are computed
// from right to left; classifying sample i sees its left neighbour and its
// already final right neighbours.
#pragma once

#include "graph/probe.h"
#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

struct SamplingLimits {
  double jump_threshold = 0;  // 3 x x scale
  double max_magnitude = kMaxMagnitude;
};

// Sample positions of a formula: a, b, step and the last index, and sizes
// slot 0 (and slot 1 when with_slot1). False when memory runs out.
bool layout_formula_plot(FormulaPlot& fp, const CompiledFormula& f, const PanelRecord& panel,
                         int width, int height, bool with_slot1);

// Samples and classifies an explicit function into slot 0.
void sample_explicit(FormulaPlot& fp, FormulaProbe& probe, const SamplingLimits& limits);

// The derivative curve of an explicit function into slot 1: flags copied from
// slot 0, values from the numerical derivative.
void sample_derivative_curve(FormulaPlot& fp, FormulaProbe& probe);

// The pole test between samples i and i + 1 from the values yL, y, yR, yRR of
// samples i - 1 .. i + 2: -1 when the curve falls into a pole and comes down
// from above behind it, +1 for the mirror image, 0 for no pole.
int pole_test(double yl, double y, double yr, double yrr, double jump);

}  // namespace kv
