// Naming a proven zero of f, f' or f'': a Nullstelle or Schnittpunkt, a
// Hoch- or Tiefpunkt by the sign of f'' around it, a Wendepunkt, or a
// Sattelpunkt where f' is zero at the inflection as well.
#include "analysis/search.h"
#include "analysis/simple_point.h"

namespace kv::analysis {

namespace {

// The value of formula f itself at x (the first formula of a pair).
bool value_at(const Job& job, double x, double& y) {
  const PointValue p = point_value(job.target.first(), x, 0);
  if (!p.defined) return false;
  y = simple_point(p.v.lo, p.v.hi);
  return true;
}

}  // namespace

void add_proven(Search& s, int j, int k, Interval x, int slope_sign) {
  const Job& job = s.jobs[j];
  Feature f;
  f.formula = job.formula;
  f.other = job.other;
  f.has_x = true;
  f.x = simple_point(x.lo, x.hi);
  f.x_lo = x.lo;
  f.x_hi = x.hi;
  f.proven = !job.uncertain;
  if (k == 0) {
    f.kind = job.other >= 0 ? FeatureKind::kIntersection : FeatureKind::kZero;
  } else if (k == 1) {
    // An extremum needs both sides inside the range.
    if (x.hi <= s.a || x.lo >= s.b) return;
    f.kind = slope_sign < 0 ? FeatureKind::kMaximum : FeatureKind::kMinimum;
  } else {
    if (x.hi <= s.a || x.lo >= s.b) return;
    f.kind = FeatureKind::kInflection;
    const Enclosure e = evaluate_target(job.target, x, 1);
    if (e.smooth && has_zero(e.f[1])) {
      // f' = 0 at the inflection: proven only where f' is exactly zero there.
      f.kind = FeatureKind::kSaddle;
      f.proven = f.proven && is_exact_zero(e.f[1]);
    }
  }
  if (f.kind == FeatureKind::kZero) {
    f.has_y = true;
    f.y = 0;
  } else {
    f.has_y = value_at(job, f.x, f.y);
  }
  s.features.push_back(f);
}

}  // namespace kv::analysis
