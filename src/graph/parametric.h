// Parametric pairs (x(t), y(t)): the x component is sampled into slot 0 like
// a polar curve's r, with its breaks; this adds the y component at the same
// parameters as the plane points, which the polar projection then draws.
#pragma once

#include "graph/probe.h"
#include "graph/samples.h"

namespace kv {

// Fills fp.slot[0].plane with (x(t), y(t)) for samples 0..last. A sample
// where y is undefined becomes undefined; a pole of y between two samples
// (the explicit sampler's pole test with threshold jump) ends the piece
// there. False when memory runs out.
bool compute_parametric_plane(FormulaPlot& fp, FormulaProbe& y_probe, double jump);

}  // namespace kv
