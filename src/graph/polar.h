// Polar curves in the plane: the points (r cos t, r sin t) of the samples,
// and the compacting projection to pixels. The plane points are kept only
// where the automatic y range needs them; otherwise the projection computes
// them on the way, with the same bits.
//
// Samples on the regular grid a + i * step get their sine and cosine by the
// angle-addition formulas from an exact cos and sin every few samples, which
// keeps the error near the rounding of a double while saving most of the
// trigonometric calls; refined and solver samples are computed exactly.
#pragma once

#include "graph/samples.h"
#include "graph/view.h"

namespace kv {

// Fills c.plane for samples 0..last of a polar curve sampled from a in steps
// of step. False when memory runs out.
bool compute_polar_plane(CurveSamples& c, double a, double step);

// Pixel points of a polar curve sampled from a in steps of step, compacted
// from sample 0 upwards: undefined samples are removed, an inner point on the
// same pixel as the previous kept one is removed, and the middle of a
// unit-step corner is removed. Uses c.plane when it is filled; pixel_last
// ends below last when points were removed.
void project_polar(CurveSamples& c, const ViewMap& map, double a, double step);

}  // namespace kv
