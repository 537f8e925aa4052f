// Interval rules of the special functions: gamma, the normal density and
// the elliptic integrals.
//
// No tight enclosure of the elliptic integrals is known here: they are the
// whole line (K and E within their plain bounds), maybe defined, as the
// double evaluator's algorithm may fail near the ends of its domain.
#include <cmath>

#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {
namespace {

// The minimum of gamma on the positive axis, at x = 1.46163214496836...,
// is 0.88560319441088870...; both bounds enclose it.
constexpr double kGammaArgMinLo = 1.4616321449683622, kGammaArgMinHi = 1.4616321449683625;
constexpr double kGammaMinLo = 0.8856031944108886;
// glibc documents at most 9 ulps for tgamma.
constexpr double kGammaUlps = 32;

double gdn(double x) { return widen_dn(std::tgamma(x), kGammaUlps); }
double gup(double x) { return widen_up(std::tgamma(x), kGammaUlps); }

Interval gamma_value(Interval u, Local& l) {
  if (u.lo > 0) {
    if (u.hi <= kGammaArgMinLo) return {gdn(u.hi), gup(u.lo)};
    if (u.lo >= kGammaArgMinHi) return {gdn(u.lo), gup(u.hi)};
    return {kGammaMinLo, std::max(gup(u.lo), gup(u.hi))};
  }
  const double cell = std::floor(u.lo);
  if (u.hi < 0 && u.hi < cell + 1 && u.lo > cell) {
    // Between two poles |gamma| falls, then rises: its largest value on u
    // is at an end. The sign alternates from cell to cell.
    const double bound = std::max(std::max(std::fabs(gdn(u.lo)), std::fabs(gup(u.lo))),
                                  std::max(std::fabs(gdn(u.hi)), std::fabs(gup(u.hi))));
    const Interval sign = std::fmod(-cell, 2.0) == 1.0 ? Interval{-bound, 0} : Interval{0, bound};
    // Reflection: gamma(x) = pi / (sin(pi x) gamma(1 - x)), 1 - x > 1.
    Local positive;
    const Interval s = sin(mul(kPiI, u));
    const Interval r = div(kPiI, mul(s, gamma_value(sub(point(1), u), positive)));
    return intersect(r, sign).lo <= intersect(r, sign).hi ? intersect(r, sign) : sign;
  }
  const bool at_pole = is_point(u) && u.lo == std::floor(u.lo);
  l = {at_pole ? Defined::kNowhere : Defined::kMaybe, false, false};
  return at_pole ? empty() : whole();
}

}  // namespace

// Derivatives are not enclosed yet beyond the whole line.
Local iv_gamma(const Series* a, Series& w, const Ctx& cx) {
  Local l;
  w.c[0] = gamma_value(a[0].c[0], l);
  t_fill(w.c, cx.n, whole());
  return l;
}

// gaussd(x, mean, sigma) = exp(-z^2 / 2) / (sigma sqrt(2 pi)), z = (x - mean) / sigma;
// a negative sigma gives the negative density, sigma = 0 no value.
Local iv_gaussd(const Series* a, Series& w, const Ctx& cx) {
  const int n = cx.n;
  Coeffs d, z, t, e, s;
  t_sub(a[0].c, a[1].c, d, n);
  const Interval sigma = a[2].c[0];
  t_div(d, a[2].c, z, n, div(d[0], sigma));
  t_sqr(z, t, n);
  for (int k = 0; k < n; ++k) t[k] = scale(t[k], -0.5);
  t_exp(t, e, n, exp(t[0]));
  e[0] = intersect(e[0], {0, 1});
  for (int k = 0; k < n; ++k) s[k] = mul(a[2].c[k], kSqrtTwoPiI);
  t_div(e, s, w.c, n, div(e[0], s[0]));
  if (!contains(sigma, 0)) return {};
  return {is_point(sigma) ? Defined::kNowhere : Defined::kMaybe, false, false};
}

// K(k) >= pi/2.
Local iv_i_ellc1(const Series*, Series& w, const Ctx& cx) {
  Local l = unknown(w, cx);
  w.c[0] = {kHalfPiI.lo, kInf};
  return l;
}

// 1 <= E(k) <= pi/2.
Local iv_i_ellc2(const Series*, Series& w, const Ctx& cx) {
  Local l = unknown(w, cx);
  w.c[0] = {1, kHalfPiI.hi};
  return l;
}

Local iv_i_ell1(const Series*, Series& w, const Ctx& cx) { return unknown(w, cx); }
Local iv_i_ell2(const Series*, Series& w, const Ctx& cx) { return unknown(w, cx); }

}  // namespace kv::interval
