// Interval rules of the trigonometric and hyperbolic functions and their
// inverses.
//
// The forward trigonometric functions take degrees in the Deg mode, the
// inverse ones return degrees there (factor 180/pi, enclosed); cot, like
// the double evaluator's, always takes radians. The inverse functions of a
// reciprocal (asec, acsc, asech, acsch, acoth) are split at 0 into their
// two branches, whose hull is the value.
#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {
namespace {

void copy(const Interval* u, Interval* w, int n) {
  for (int k = 0; k < n; ++k) w[k] = u[k];
}

// The argument series in radians.
void radians(const Series& x, Interval* u, const Ctx& cx, bool always_radians = false) {
  if (!cx.degrees || always_radians) {
    copy(x.c, u, cx.n);
  } else {
    for (int k = 0; k < cx.n; ++k) u[k] = mul(x.c[k], kRadPerDegI);
  }
}

void to_degrees(Series& w, const Ctx& cx) {
  if (!cx.degrees) return;
  for (int k = 0; k < cx.n; ++k) w.c[k] = mul(w.c[k], kDegPerRadI);
}

// w = 1 / v with w[0] given.
void reciprocal(const Interval* v, Interval* w, int n, Interval w0) {
  Coeffs one;
  one[0] = point(1);
  t_fill(one, n, point(0));
  t_div(one, v, w, n, w0);
}

// w with w' = sign v' / r, r = alpha + beta v^2 or its square root: the
// inverse functions. v[0] lies in the function's domain.
void inverse_series(const Interval* v, Interval* w, int n, Interval w0, double alpha, double beta,
                    bool root, double sign) {
  w[0] = w0;
  if (n == 1) return;
  const int m = n - 1;
  Coeffs q, r, g;
  t_sqr(v, q, m);
  for (int k = 0; k < m; ++k) q[k] = scale(q[k], beta);
  q[0] = add(q[0], point(alpha));
  if (root) {
    q[0] = intersect(q[0], {0, kInf});
    t_sqrt(q, r, m, sqrt(q[0]));
  } else {
    copy(q, r, m);
  }
  reciprocal(r, g, m, recip(r[0]));
  for (int k = 0; k < m; ++k) g[k] = scale(g[k], sign);
  t_chain(v, g, w, n, w0);
}

// The series 1 / u and the hull of the reciprocals of u's pieces in dom.
void reciprocal_in(const Series& x, Interval* v, int n, Interval dom_neg, Interval dom_pos) {
  const Interval u = x.c[0];
  const Interval v0 = hull(recip(intersect(u, dom_neg)), recip(intersect(u, dom_pos)));
  reciprocal(x.c, v, n, v0);
}

}  // namespace

Local value_sin(Interval u, Interval& w, bool degrees) {
  w = sin(degrees ? mul(u, kRadPerDegI) : u);
  return {};
}

Local value_cos(Interval u, Interval& w, bool degrees) {
  w = cos(degrees ? mul(u, kRadPerDegI) : u);
  return {};
}

Local iv_sin(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u, c;
  radians(a[0], u, cx);
  t_sincos(u, w.c, c, cx.n, sin(u[0]), cx.n > 1 ? cos(u[0]) : whole(), -1);
  return {};
}

Local iv_cos(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u, s;
  radians(a[0], u, cx);
  t_sincos(u, s, w.c, cx.n, cx.n > 1 ? sin(u[0]) : whole(), cos(u[0]), -1);
  return {};
}

namespace {

// tan and cot: whole with a possible pole inside.
Local tangent(const Interval* u, Series& w, const Ctx& cx, Interval w0, double sign) {
  t_riccati(u, w.c, cx.n, w0, sign, sign);
  if (w0.lo == -kInf || w0.hi == kInf) return {Defined::kMaybe, false, false};
  return {};
}

// sec and csc: 1 / (cos or sin), with a possible pole where it is 0.
Local secant(const Interval* u, Series& w, const Ctx& cx, bool cosine) {
  Coeffs s, c;
  t_sincos(u, s, c, cx.n, sin(u[0]), cos(u[0]), -1);
  const Interval* d = cosine ? c : s;
  reciprocal(d, w.c, cx.n, recip(d[0]));
  if (contains(d[0], 0)) return {Defined::kMaybe, false, false};
  return {};
}

}  // namespace

Local iv_tan(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u;
  radians(a[0], u, cx);
  return tangent(u, w, cx, tan(u[0]), 1);
}

Local iv_cot(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u;
  radians(a[0], u, cx, true);
  return tangent(u, w, cx, cot(u[0]), -1);
}

Local iv_sec(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u;
  radians(a[0], u, cx);
  return secant(u, w, cx, true);
}

Local iv_csc(const Series* a, Series& w, const Ctx& cx) {
  Coeffs u;
  radians(a[0], u, cx);
  return secant(u, w, cx, false);
}

namespace {

// asin (sign 1) and acos (sign -1) on [-1, 1]; not smooth at its ends.
Local arcsine(const Series& x, Series& w, const Ctx& cx, double sign) {
  const Interval u = x.c[0];
  Coeffs v;
  copy(x.c, v, cx.n);
  v[0] = intersect(u, {-1, 1});
  inverse_series(v, w.c, cx.n, sign > 0 ? asin(u) : acos(u), 1, -1, true, sign);
  to_degrees(w, cx);
  return {domain_of(u, {-1, 1}), true, u.lo > -1 && u.hi < 1};
}

}  // namespace

Local iv_asin(const Series* a, Series& w, const Ctx& cx) { return arcsine(a[0], w, cx, 1); }
Local iv_acos(const Series* a, Series& w, const Ctx& cx) { return arcsine(a[0], w, cx, -1); }

Local iv_atan(const Series* a, Series& w, const Ctx& cx) {
  inverse_series(a[0].c, w.c, cx.n, atan(a[0].c[0]), 1, 1, false, 1);
  to_degrees(w, cx);
  return {};
}

// acot(x) = -(atan(x) + pi/2), from -pi to 0.
Local iv_acot(const Series* a, Series& w, const Ctx& cx) {
  const Interval v = neg(add(atan(a[0].c[0]), kHalfPiI));
  inverse_series(a[0].c, w.c, cx.n, intersect(v, {-kPiI.hi, 0}), 1, 1, false, -1);
  to_degrees(w, cx);
  return {};
}

namespace {

// acos(1/x) (sign -1) and asin(1/x) (sign 1) for |x| >= 1.
Local arc_of_reciprocal(const Series& x, Series& w, const Ctx& cx, double sign) {
  const Interval u = x.c[0];
  Coeffs v;
  reciprocal_in(x, v, cx.n, {-kInf, -1}, {1, kInf});
  v[0] = intersect(v[0], {-1, 1});
  const Interval w0 = sign > 0 ? asin(v[0]) : acos(v[0]);
  inverse_series(v, w.c, cx.n, w0, 1, -1, true, sign);
  to_degrees(w, cx);
  Local l;
  const bool one_branch = u.hi <= -1 || u.lo >= 1;
  l.dom = one_branch ? Defined::kEverywhere
                     : (u.lo > -1 && u.hi < 1) ? Defined::kNowhere : Defined::kMaybe;
  l.cont = one_branch;
  l.smooth = u.hi < -1 || u.lo > 1;
  return l;
}

}  // namespace

Local iv_asec(const Series* a, Series& w, const Ctx& cx) { return arc_of_reciprocal(a[0], w, cx, -1); }
Local iv_acsc(const Series* a, Series& w, const Ctx& cx) { return arc_of_reciprocal(a[0], w, cx, 1); }

// atan2(y, x): continuous off the closed negative x axis, where it jumps
// from pi to -pi; the value at the origin is 0.
Local iv_atan2(const Series* a, Series& w, const Ctx& cx) {
  const Interval y = a[0].c[0], x = a[1].c[0];
  Local l;
  if (y.lo > 0 || y.hi < 0 || x.lo > 0) {
    const double c[4] = {std::atan2(y.lo, x.lo), std::atan2(y.lo, x.hi), std::atan2(y.hi, x.lo),
                         std::atan2(y.hi, x.hi)};
    w.c[0] = widen({std::min(std::min(c[0], c[1]), std::min(c[2], c[3])),
                    std::max(std::max(c[0], c[1]), std::max(c[2], c[3]))},
                   kLibUlps);
    w.c[0] = intersect(w.c[0], {-kPiI.hi, kPiI.hi});
  } else {
    w.c[0] = {-kPiI.hi, kPiI.hi};
    l.cont = l.smooth = false;
  }
  if (cx.n > 1) {
    // w' = (x y' - y x') / (x^2 + y^2)
    const int m = cx.n - 1;
    Coeffs dx, dy, p, q, num, den, g, t;
    t_derive(a[1].c, dx, cx.n);
    t_derive(a[0].c, dy, cx.n);
    t_mul(a[1].c, dy, p, m);
    t_mul(a[0].c, dx, q, m);
    t_sub(p, q, num, m);
    t_sqr(a[1].c, p, m);
    t_sqr(a[0].c, q, m);
    t_add(p, q, den, m);
    t_div(num, den, g, m, div(num[0], den[0]));
    for (int k = 1; k < cx.n; ++k) w.c[k] = div(g[k - 1], point(k));
    (void)t;
  }
  to_degrees(w, cx);
  return l;
}

// ---- hyperbolic functions ----------------------------------------------

Local iv_sinh(const Series* a, Series& w, const Ctx& cx) {
  Coeffs c;
  const Interval u = a[0].c[0];
  t_sincos(a[0].c, w.c, c, cx.n, sinh(u), cx.n > 1 ? cosh(u) : whole(), 1);
  return {};
}

Local iv_cosh(const Series* a, Series& w, const Ctx& cx) {
  Coeffs s;
  const Interval u = a[0].c[0];
  t_sincos(a[0].c, s, w.c, cx.n, cx.n > 1 ? sinh(u) : whole(), cosh(u), 1);
  return {};
}

Local iv_tanh(const Series* a, Series& w, const Ctx& cx) {
  t_riccati(a[0].c, w.c, cx.n, tanh(a[0].c[0]), 1, -1);
  return {};
}

namespace {

// A pole at 0: undefined there.
Local pole_at_zero(Interval u) {
  if (!contains(u, 0)) return {};
  return {is_point(u) ? Defined::kNowhere : Defined::kMaybe, false, false};
}

}  // namespace

Local iv_coth(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  t_riccati(a[0].c, w.c, cx.n, recip(tanh(u)), 1, -1);
  return pole_at_zero(u);
}

Local iv_sech(const Series* a, Series& w, const Ctx& cx) {
  Coeffs s, c;
  const Interval u = a[0].c[0];
  t_sincos(a[0].c, s, c, cx.n, sinh(u), cosh(u), 1);
  reciprocal(c, w.c, cx.n, recip(c[0]));
  return {};
}

Local iv_csch(const Series* a, Series& w, const Ctx& cx) {
  Coeffs s, c;
  const Interval u = a[0].c[0];
  t_sincos(a[0].c, s, c, cx.n, sinh(u), cosh(u), 1);
  reciprocal(s, w.c, cx.n, recip(s[0]));
  return pole_at_zero(u);
}

Local iv_asinh(const Series* a, Series& w, const Ctx& cx) {
  inverse_series(a[0].c, w.c, cx.n, asinh(a[0].c[0]), 1, 1, true, 1);
  return {};
}

Local iv_acosh(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Coeffs v;
  copy(a[0].c, v, cx.n);
  v[0] = intersect(u, {1, kInf});
  inverse_series(v, w.c, cx.n, acosh(u), -1, 1, true, 1);
  return {domain_of(u, {1, kInf}), true, u.lo > 1};
}

namespace {

// Inside the open interval (lo, hi): everywhere; missing it: nowhere.
Defined open_domain(Interval u, double lo, double hi) {
  if (u.lo > lo && u.hi < hi) return Defined::kEverywhere;
  if (u.hi <= lo || u.lo >= hi) return Defined::kNowhere;
  return Defined::kMaybe;
}

}  // namespace

Local iv_atanh(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Coeffs v;
  copy(a[0].c, v, cx.n);
  v[0] = intersect(u, {-1, 1});
  inverse_series(v, w.c, cx.n, atanh(u), 1, -1, false, 1);
  const Defined d = open_domain(u, -1, 1);
  return {d, d == Defined::kEverywhere, d == Defined::kEverywhere};
}

// acoth(x) = atanh(1/x) for |x| > 1; its derivative is that of atanh.
Local iv_acoth(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  const Interval w0 = hull(atanh(recip(intersect(u, {-kInf, -1}))), atanh(recip(intersect(u, {1, kInf}))));
  Coeffs v;
  copy(a[0].c, v, cx.n);
  v[0] = hull(intersect(u, {-kInf, -1}), intersect(u, {1, kInf}));
  inverse_series(v, w.c, cx.n, w0, 1, -1, false, 1);
  Local l;
  const bool one_branch = u.hi < -1 || u.lo > 1;
  l.dom = one_branch ? Defined::kEverywhere
                     : (u.lo >= -1 && u.hi <= 1) ? Defined::kNowhere : Defined::kMaybe;
  l.cont = l.smooth = one_branch;
  return l;
}

// asech(x) = acosh(1/x) for 0 < x <= 1.
Local iv_asech(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Coeffs v;
  reciprocal_in(a[0], v, cx.n, empty(), {0, 1});
  v[0] = intersect(v[0], {1, kInf});
  inverse_series(v, w.c, cx.n, acosh(v[0]), -1, 1, true, 1);
  Local l;
  l.dom = u.lo > 0 && u.hi <= 1 ? Defined::kEverywhere
          : (u.hi <= 0 || u.lo > 1) ? Defined::kNowhere : Defined::kMaybe;
  l.cont = l.dom == Defined::kEverywhere;
  l.smooth = l.cont && u.hi < 1;
  return l;
}

// acsch(x) = asinh(1/x) for x != 0.
Local iv_acsch(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Coeffs v;
  reciprocal_in(a[0], v, cx.n, {-kInf, 0}, {0, kInf});
  inverse_series(v, w.c, cx.n, asinh(v[0]), 1, 1, true, 1);
  return pole_at_zero(u);
}

}  // namespace kv::interval
