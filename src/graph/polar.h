// Polar curves in the plane: the points (r cos t, r sin t) of the samples,
// computed once per recomputation for the automatic y range and the
// projection, and the compacting projection to pixels.
//
// Samples on the regular grid a + i * step get their sine and cosine from an
// angle-addition recurrence that is reseeded exactly every few samples, which
// keeps the error near the rounding of a double while saving most of the
// trigonometric calls; refined and solver samples are computed exactly.
#pragma once

#include "graph/samples.h"
#include "graph/view.h"

namespace kv {

// Fills c.plane for samples 0..last of a polar curve sampled from a in steps
// of step. False when memory runs out.
bool compute_polar_plane(CurveSamples& c, double a, double step);

// Pixel points of a polar curve, compacted from sample 0 upwards: undefined
// samples are removed, an inner point on the same pixel as the previous kept
// one is removed, and the middle of a unit-step corner is removed. Needs the
// plane points; pixel_last ends below last when points were removed.
void project_polar(CurveSamples& c, const ViewMap& map);

}  // namespace kv
