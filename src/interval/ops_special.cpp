// Interval rules of the special functions: the normal density and the
// elliptic integrals (gamma has its own file).
//
// No tight enclosure of the elliptic integrals is known here: they are the
// whole line (K and E within their plain bounds), maybe defined, as the
// double evaluator's algorithm may fail near the ends of its domain.
#include <cmath>

#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {

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
