// Projection of sampled curves to plot-local pixels, after the y range is
// settled.
//
// Cartesian curves keep one pixel point per sample (column = sample index)
// and are clipped vertically: a curve that leaves the plot is continued by a
// vertical line to the edge at its last inside column, a jump from beyond one
// edge to beyond the other between adjacent columns becomes a full-height
// pass-through line, and everything else outside is dropped. Polar curves
// (polar.h) are compacted instead.
#pragma once

#include "graph/samples.h"
#include "graph/view.h"

namespace kv {

void project_cartesian(CurveSamples& c, const ViewMap& map);

}  // namespace kv
