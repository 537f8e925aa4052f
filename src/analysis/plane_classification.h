// "Unstetigkeiten zeigen" for curves in the plane drawn over a parameter t:
// polar curves r(t) at (r cos t, r sin t) and parametric pairs (x(t), y(t)).
// The same rules as for explicit curves (curve_classification.h), with the
// pixel box in place of the rows:
//
// The segment between samples i and i + 1 counts as drawn when the formula
// is proven continuous over [t_i, t_i+1] and the enclosure of its points
// there stays within the box of the pixels the segment joins, widened by a
// pixel. Runs of samples where both plane coordinates are proven monotone
// count as drawn at once: each piece then lies in the box of its ends. Any
// other segment is split in halves (down to a 1024th of it) until each piece
// is
// - proven: continuous and within the box of its ends (a line is drawn);
// - outside: continuous with an enclosure that misses the plot (nothing);
// - a gap: proven undefined;
// - singular: not proven continuous. It is narrowed half by half to the
//   double grid and named by the points on its two sides: a pole when the
//   enclosure is unbounded and a side leaves the plot far beyond its size
//   (1/cos(t) at pi/2, 1/t at 0; no line across), a hole when both sides meet
//   within a pixel, a jump when both are finite and apart (floor(t));
//   a pole of a polar curve has an asymptote where r(t) sin(t - t0), the
//   distance of its points from the line through the origin in the pole's
//   direction, is enclosed within a pixel on thin neighbourhoods at three
//   distances on either side of t0 (1/t at 0: the line y = 1; not 1/t^2,
//   whose sides part), a pole of a pair where one coordinate is so enclosed
//   (t, 1/(t - 1): the line x = 1);
// and what stays open at the depth or the budget is undecided over its box.
//
// Bounded by a count of evaluations per sample and, as a safety net, by the
// budget in time; what is left then is undecided over the whole plot.
// Qt-free; time linear in the number of samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/curve_classification.h"
#include "expr/compiled_formula.h"
#include "expr/expr_panel.h"

namespace kv::analysis {

struct PlaneSpot {
  double x = 0, y = 0;
};

struct PlaneLine {
  PlaneSpot from, to;
};

struct PlaneBox {
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
};

struct PlaneMark {
  MarkKind kind = MarkKind::kPole;
  double t = 0;
  PlaneSpot left, right, value;  // the sides' limits and, for a jump, the point at t
  bool value_defined = false;
  // A jump's side limit that the curve takes all the same: the piece beside
  // it is that very point (floor(t) on [0, 1) is the origin).
  bool left_taken = false, right_taken = false;
  // A pole whose branches approach the line of the points p with
  // p.x * -sin(direction) + p.y * cos(direction) = offset.
  bool asymptote = false;
  double direction = 0, offset = 0;
};

struct PlaneClassification {
  std::vector<uint8_t> drawn;      // per segment i between samples i and i + 1: 1 when proven
  std::vector<PlaneLine> lines;    // proven pieces of segments that were split
  std::vector<PlaneBox> undecided;
  std::vector<PlaneMark> marks;    // by t
  bool all_drawn = true;
  bool budget_exhausted = false;
};

struct PlaneCurveInput {
  const double* t = nullptr;        // sample parameters, increasing
  // Sample points in the plane; where null, a polar curve's points are
  // computed from r only where they are needed.
  const PlaneSpot* p = nullptr;
  const double* r = nullptr;
  const uint8_t* joined = nullptr;  // per segment: 1 when the sampler joins its ends
  size_t count = 0;
  // The plot: x = xmin + column * x_scale, y = ymin + (height - row) * y_scale.
  double xmin = 0, x_scale = 1, ymin = 0, y_scale = 1;
  int width = 1, height = 1;
  double budget_ms = 250;
};

// f is r(t) of a polar curve (y_of null) or the x component of a pair whose
// y component is y_of.
PlaneClassification classify_plane_curve(const ExprPanel& panel, const CompiledFormula& f,
                                         const CompiledFormula* y_of, const PlaneCurveInput& in);

}  // namespace kv::analysis
