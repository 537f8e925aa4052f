// Isolating one zero of g = f^(k) (or of f - g for intersections) on an
// interval where g is continuous and its derivative g' has no zero, so g is
// strictly monotone and holds at most one zero there.
//
// The interval Newton step N = m - g(m) / g'(X) keeps every zero of X in
// N ∩ X; N inside the interior of X proves that X holds one. Where Newton
// stalls, the sign of g at the middle halves X instead. A sign change
// between the ends, certain in interval arithmetic, proves the zero too.
// The enclosure is narrowed until it is a few doubles wide or no test can
// narrow it any further.
#include "analysis/search.h"

namespace kv::analysis {

namespace {

constexpr int kMaxSteps = 200;

bool tight(Interval x) { return x.hi <= up(up(x.lo)); }

int sign_at(const Target& t, double x, int k) {
  const PointValue p = point_value(t, x, k);
  return p.defined ? certain_sign(p.v) : 2;
}

// One Newton step, followed by a halving where the step gained little.
// Returns false when nothing narrowed x; sets empty when no zero is left.
bool narrow(const Target& t, int k, Interval& x, Interval slope, int sign_lo, bool& proven,
            bool& empty) {
  const double m = mid(x);
  const PointValue gm = point_value(t, m, k);
  if (!gm.defined) return false;
  if (is_exact_zero(gm.v)) {
    x = {m, m};
    proven = true;
    return false;
  }
  const Interval n = interval::sub({m, m}, interval::div(gm.v, slope));
  Interval next = x;
  if (is_number(n)) {
    if (n.hi < x.lo || n.lo > x.hi) {
      empty = true;
      return false;
    }
    if (n.lo > x.lo && n.hi < x.hi) proven = true;
    next = {std::max(x.lo, n.lo), std::min(x.hi, n.hi)};
  }
  const int sm = certain_sign(gm.v);
  if (next.hi - next.lo > (x.hi - x.lo) / 2 && (sm == 1 || sm == -1) &&
      (sign_lo == 1 || sign_lo == -1)) {
    if (sm == sign_lo) next.lo = std::max(next.lo, m);
    else next.hi = std::min(next.hi, m);
  }
  if (next.lo == x.lo && next.hi == x.hi) return false;
  x = next;
  return true;
}

}  // namespace

Isolation isolate_zero(const Search& s, const Target& t, int k, Interval& x, Interval slope) {
  const int sign_lo = sign_at(t, x.lo, k), sign_hi = sign_at(t, x.hi, k);
  const bool certain_ends = (sign_lo == 1 || sign_lo == -1) && (sign_hi == 1 || sign_hi == -1);
  if (certain_ends && sign_lo == sign_hi) return Isolation::kNone;
  bool proven = certain_ends;
  if (sign_lo == 0 || sign_hi == 0) {
    x = sign_lo == 0 ? Interval{x.lo, x.lo} : Interval{x.hi, x.hi};
    return Isolation::kProven;
  }
  Interval cur = x;
  for (int step = 0; step < kMaxSteps && !tight(cur) && !s.out_of_time(); ++step) {
    bool empty = false;
    const bool moved = narrow(t, k, cur, slope, sign_lo, proven, empty);
    if (empty) return Isolation::kNone;
    if (!moved) break;
    const Enclosure e = evaluate_target(t, cur, k + 1);
    const Interval d = e.f[k + 1];
    if (e.smooth && (positive(d) || negative(d))) slope = d;
  }
  if (!proven) {
    const int lo = sign_at(t, cur.lo, k), hi = sign_at(t, cur.hi, k);
    const bool certain = (lo == 1 || lo == -1) && (hi == 1 || hi == -1);
    if (certain && lo == hi) return Isolation::kNone;
    proven = certain;
  }
  if (!proven) return Isolation::kOpen;
  x = cur;
  return Isolation::kProven;
}

}  // namespace kv::analysis
