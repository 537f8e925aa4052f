// Interval rules of the piecewise functions: abs, min, max, and the step
// functions sgn, floor, ceil, round, frac and fac.
//
// A step function is constant (derivatives 0) between its jumps; it is
// continuous on X exactly when its values at both ends of X agree, since
// all of them are monotone (frac after removing its slope). Where a piece
// is not smooth, the derivatives enclose those of every piece.
#include <cmath>

#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {
namespace {

// A monotone step function f: values [f(lo), f(hi)], flat pieces.
template <class F>
Local step(const Series& x, Series& w, const Ctx& cx, F f) {
  const Interval u = x.c[0];
  const double a = f(u.lo), b = f(u.hi);
  w.c[0] = {a, b};
  t_fill(w.c, cx.n, point(0));
  if (a == b) return {};
  return {Defined::kEverywhere, false, false};
}

// n! for a whole 0 <= n, outward rounded.
Interval factorial(double n) {
  if (n > 170) return {DBL_MAX, kInf};
  Interval p = point(1);
  for (double i = 2; i <= n; ++i) p = scale(p, i);
  return p;
}

// fac rounds its argument half up: fac(2.5) = 3! (it multiplies 2 .. round(x)).
double fac_index(double x) { return std::floor(x + 0.5); }

}  // namespace

Local value_abs(Interval u, Interval& w) {
  w = abs(u);
  return {Defined::kEverywhere, true, u.lo > 0 || u.hi < 0};
}

Local iv_abs(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  const Interval s = u.lo > 0 ? point(1) : u.hi < 0 ? point(-1) : Interval{-1, 1};
  for (int k = 1; k < cx.n; ++k) w.c[k] = mul(s, a[0].c[k]);
  return value_abs(u, w.c[0]);
}

namespace {

// min (sign -1) or max (sign 1): the series of the side that wins on all of
// X, else the hull of both.
Local extremum(const Series* a, Series& w, const Ctx& cx, double sign) {
  const Interval p = a[0].c[0], q = a[1].c[0];
  const bool first = sign > 0 ? p.lo > q.hi : p.hi < q.lo;
  const bool second = sign > 0 ? q.lo > p.hi : q.hi < p.lo;
  if (first || second) {
    const Series& s = first ? a[0] : a[1];
    for (int k = 0; k < cx.n; ++k) w.c[k] = s.c[k];
    return {};
  }
  w.c[0] = sign > 0 ? Interval{std::max(p.lo, q.lo), std::max(p.hi, q.hi)}
                    : Interval{std::min(p.lo, q.lo), std::min(p.hi, q.hi)};
  for (int k = 1; k < cx.n; ++k) w.c[k] = hull(a[0].c[k], a[1].c[k]);
  return {Defined::kEverywhere, true, false};
}

}  // namespace

Local iv_min(const Series* a, Series& w, const Ctx& cx) { return extremum(a, w, cx, -1); }
Local iv_max(const Series* a, Series& w, const Ctx& cx) { return extremum(a, w, cx, 1); }

Local iv_sgn(const Series* a, Series& w, const Ctx& cx) {
  return step(a[0], w, cx, [](double v) { return v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0; });
}
Local iv_floor(const Series* a, Series& w, const Ctx& cx) {
  return step(a[0], w, cx, [](double v) { return std::floor(v); });
}
Local iv_ceil(const Series* a, Series& w, const Ctx& cx) {
  return step(a[0], w, cx, [](double v) { return std::ceil(v); });
}
// Half away from zero.
Local iv_round(const Series* a, Series& w, const Ctx& cx) {
  return step(a[0], w, cx, [](double v) { return std::round(v); });
}

// frac(x) = x - trunc(x): the slope 1 between jumps at the whole numbers
// other than 0.
Local iv_frac(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  for (int k = 1; k < cx.n; ++k) w.c[k] = a[0].c[k];
  const double tl = std::trunc(u.lo), th = std::trunc(u.hi);
  if (tl == th && std::isfinite(tl)) {
    w.c[0] = sub(u, point(tl));
    return {};
  }
  w.c[0] = u.lo >= 0 ? Interval{0, 1} : u.hi <= 0 ? Interval{-1, 0} : Interval{-1, 1};
  return {Defined::kEverywhere, false, false};
}

// fac(x) = round(x)! for x >= 0.
Local iv_fac(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Local l{domain_of(u, {0, kInf}), true, true};
  const Interval r = intersect(u, {0, kInf});
  t_fill(w.c, cx.n, point(0));
  if (is_empty(r)) {
    w.c[0] = empty();
    return l;
  }
  const double nl = fac_index(r.lo), nh = fac_index(r.hi);
  w.c[0] = hull(factorial(nl), factorial(nh));
  if (nl != nh || l.dom != Defined::kEverywhere) l.cont = l.smooth = false;
  return l;
}

}  // namespace kv::interval
