// Interval rules of the arithmetic operators, powers, roots, exponentials
// and logarithms.
//
// Powers follow the language's rules: 0^y has a value only for y > 0; a
// negative base has one for a whole exponent and for an exponent whose
// reciprocal lies within 1e-13 of an odd whole number (the real odd roots,
// (-8)^(1/3) = -2), where it is -(-x)^y.
#include <cmath>

#include "interval/interval_fn.h"
#include "interval/ops.h"

namespace kv::interval {
namespace {

constexpr double kOddRootTolerance = 1e-13;
// Whole exponents up to this are powered by multiplication, also as series.
constexpr double kSmallPower = 64;

// The series 1 (value 1, all other coefficients 0).
void one_series(Interval* w, int n) {
  w[0] = point(1);
  t_fill(w, n, point(0));
}

// w = u^k for a whole 1 <= k <= kSmallPower, by repeated squaring; w[0] the
// tight power of the value.
void series_powi(const Interval* u, Interval* w, int n, unsigned k) {
  Coeffs base, tmp;
  for (int i = 0; i < n; ++i) base[i] = u[i];
  one_series(w, n);
  for (bool first = true;;) {
    if (k & 1u) {
      if (first) {  // w is still 1: no product
        for (int i = 0; i < n; ++i) w[i] = base[i];
        first = false;
      } else {
        t_mul(w, base, tmp, n);
        for (int i = 0; i < n; ++i) w[i] = tmp[i];
      }
    }
    k >>= 1;
    if (k == 0) break;
    t_sqr(base, tmp, n);
    for (int i = 0; i < n; ++i) base[i] = tmp[i];
  }
}

// (a + t)^k for a whole 1 <= k <= kSmallPower has the coefficients
// C(k, i) a^(k - i): each power of a by itself is as tight as the value,
// and cheaper than the products of the chain. The binomials stay exact
// doubles (C(64, 7) < 2^53).
void unit_slope_power(Interval a, Interval* w, int n, int k) {
  double binomial = 1;
  for (int i = 1; i < n; ++i) {
    binomial = binomial * (k - i + 1) / i;
    w[i] = i > k ? point(0) : i == k ? point(1) : scale(powi(a, k - i), binomial);
  }
}

}  // namespace

// x^n, n whole.
Local whole_power(const Series& x, double n, Series& w, const Ctx& cx) {
  const Interval u0 = x.c[0];
  Local l;
  if (n <= 0 && contains(u0, 0)) {
    l.dom = is_point(u0) ? Defined::kNowhere : Defined::kMaybe;
    l.cont = l.smooth = false;
  }
  w.c[0] = powi(u0, n);
  if (cx.n == 1) return l;
  const double m = std::fabs(n);
  if (n == 0) {
    t_fill(w.c, cx.n, point(0));
  } else if (n > 0 && m <= kSmallPower && unit_slope(x.c, cx.n)) {
    unit_slope_power(u0, w.c, cx.n, static_cast<int>(n));
  } else if (m <= kSmallPower) {
    Coeffs p, q;
    if (m == 2) {  // the common squares straight, without the chain's copies
      t_sqr(x.c, p, cx.n);
    } else if (m == 4) {
      t_sqr(x.c, q, cx.n);
      t_sqr(q, p, cx.n);
    } else {
      series_powi(x.c, p, cx.n, static_cast<unsigned>(m));
    }
    if (n > 0) {
      for (int k = 1; k < cx.n; ++k) w.c[k] = p[k];
    } else {
      Coeffs one;
      one_series(one, cx.n);
      t_div(one, p, w.c, cx.n, w.c[0]);
    }
  } else if (!contains(u0, 0)) {
    // |u|^n = exp(n ln |u|), with the sign of u^n.
    Coeffs au, lg, e;
    for (int k = 0; k < cx.n; ++k) au[k] = u0.lo > 0 ? x.c[k] : neg(x.c[k]);
    t_ln(au, lg, cx.n, ln(au[0]));
    for (int k = 0; k < cx.n; ++k) lg[k] = scale(lg[k], n);
    t_exp(lg, e, cx.n, exp(lg[0]));
    const bool flip = u0.hi < 0 && is_odd(n);
    for (int k = 1; k < cx.n; ++k) w.c[k] = flip ? neg(e[k]) : e[k];
  } else {
    t_fill(w.c, cx.n, whole());
  }
  return l;
}

namespace {

// Does y make x^y of a negative x real: for all of y, some of it, none? It
// is for a whole y and for y within the band of an odd root.
Defined negative_base_exponent(Interval y) {
  const bool has_whole = std::isfinite(y.lo) && std::isfinite(y.hi) && std::ceil(y.lo) <= y.hi;
  if (!std::isfinite(y.lo) || !std::isfinite(y.hi) || y.hi - y.lo >= 1) return Defined::kMaybe;
  if (y.lo <= 0 && y.hi >= 0) return Defined::kMaybe;  // 0 is whole
  const Interval inv = recip(y);
  const double n = std::round(0.5 * inv.lo + 0.5 * inv.hi);
  const bool odd = std::isfinite(n) && std::fabs(std::fmod(n, 2.0)) == 1.0;
  if (odd && inv.lo >= n - kOddRootTolerance && inv.hi <= n + kOddRootTolerance) return Defined::kEverywhere;
  if (has_whole || inv.hi - inv.lo >= 1 || std::fabs(inv.lo) > 1e15) return Defined::kMaybe;
  for (double k = std::floor(inv.lo); k <= std::ceil(inv.hi); ++k) {
    if (std::fabs(std::fmod(k, 2.0)) == 1.0 && inv.lo <= k + kOddRootTolerance &&
        inv.hi >= k - kOddRootTolerance) {
      return Defined::kMaybe;
    }
  }
  return Defined::kNowhere;
}

Defined meet(Defined a, Defined b) { return a < b ? a : b; }

// The series of exp(y ln x) for x > 0 (sign 1) or -exp(y ln -x) for x < 0 (sign -1).
void pow_series(const Series& x, const Series& y, Interval* w, int n, double sign) {
  Coeffs ax, lg, prod, e;
  for (int k = 0; k < n; ++k) ax[k] = sign > 0 ? x.c[k] : neg(x.c[k]);
  ax[0] = intersect(ax[0], {0, kInf});
  t_ln(ax, lg, n, ln(ax[0]));
  t_mul(y.c, lg, prod, n);
  t_exp(prod, e, n, exp(prod[0]));
  for (int k = 1; k < n; ++k) w[k] = sign > 0 ? e[k] : neg(e[k]);
}

// x^y for a y that is not one whole number.
Local general_power(const Series& x, const Series& y, Series& w, const Ctx& cx) {
  const Interval a = x.c[0], b = y.c[0];
  Interval v = empty();
  Defined dom_pos = Defined::kNowhere, dom_zero = Defined::kNowhere, dom_neg = Defined::kNowhere;
  const Interval pos = intersect(a, {0, kInf});
  if (pos.hi > 0) {
    v = hull(v, exp(mul(b, ln(pos))));
    dom_pos = Defined::kEverywhere;
  }
  if (contains(a, 0)) {
    dom_zero = b.lo > 0 ? Defined::kEverywhere : b.hi > 0 ? Defined::kMaybe : Defined::kNowhere;
    if (b.hi > 0) v = hull(v, point(0));
  }
  const Interval negative = intersect(a, {-kInf, 0});
  if (negative.lo < 0) {
    dom_neg = negative_base_exponent(b);
    // An odd root is negative; a whole exponent among others may be even.
    const Interval m = exp(mul(b, ln(neg(negative))));
    if (dom_neg == Defined::kEverywhere) v = hull(v, neg(m));
    if (dom_neg == Defined::kMaybe) v = hull(v, hull(neg(m), m));
  }
  Local l;
  Defined all = Defined::kEverywhere;
  bool any = false;
  if (a.hi > 0) { all = meet(all, dom_pos); any |= dom_pos != Defined::kNowhere; }
  if (contains(a, 0)) { all = meet(all, dom_zero); any |= dom_zero != Defined::kNowhere; }
  if (a.lo < 0) { all = meet(all, dom_neg); any |= dom_neg != Defined::kNowhere; }
  l.dom = !any ? Defined::kNowhere : all == Defined::kEverywhere ? all : Defined::kMaybe;
  // Continuous where defined throughout, also through x = 0 for y > 0 (odd
  // roots of both signs meet there), but not smooth there: the derivatives
  // are unbounded.
  l.cont = l.dom == Defined::kEverywhere && (a.lo > 0 || a.hi < 0 || b.lo > 0);
  l.smooth = l.dom == Defined::kEverywhere && (a.lo > 0 || a.hi < 0);
  w.c[0] = v;
  if (cx.n > 1) {
    if (a.lo > 0) pow_series(x, y, w.c, cx.n, 1);
    else if (a.hi < 0 && dom_neg == Defined::kEverywhere) pow_series(x, y, w.c, cx.n, -1);
    else t_fill(w.c, cx.n, whole());
  }
  return l;
}

}  // namespace

Local iv_add(const Series* a, Series& w, const Ctx& cx) {
  t_add(a[0].c, a[1].c, w.c, cx.n);
  return {};
}

Local iv_sub(const Series* a, Series& w, const Ctx& cx) {
  t_sub(a[0].c, a[1].c, w.c, cx.n);
  return {};
}

Local iv_mul(const Series* a, Series& w, const Ctx& cx) {
  t_mul(a[0].c, a[1].c, w.c, cx.n);
  return {};
}

// x / y is undefined where y = 0.
Local iv_div(const Series* a, Series& w, const Ctx& cx) {
  const Interval d = a[1].c[0];
  t_div(a[0].c, a[1].c, w.c, cx.n, div(a[0].c[0], d));
  Local l;
  if (contains(d, 0)) {
    l.dom = is_point(d) ? Defined::kNowhere : Defined::kMaybe;
    l.cont = l.smooth = false;
  }
  return l;
}

Local iv_pow(const Series* a, Series& w, const Ctx& cx) {
  const Interval y = a[1].c[0];
  bool constant_exponent = true;
  for (int k = 1; k < cx.n; ++k) constant_exponent &= a[1].c[k].lo == 0 && a[1].c[k].hi == 0;
  if (is_point(y) && y.lo == std::floor(y.lo) && std::isfinite(y.lo) && constant_exponent) {
    return whole_power(a[0], y.lo, w, cx);
  }
  return general_power(a[0], a[1], w, cx);
}

// root(x, n) = x^(1/n).
Local iv_root(const Series* a, Series& w, const Ctx& cx) {
  Series e[2];
  e[0] = a[0];
  Local l;
  const Interval d = a[1].c[0];
  if (contains(d, 0)) {
    l.dom = is_point(d) ? Defined::kNowhere : Defined::kMaybe;
    l.cont = l.smooth = false;
  }
  Coeffs one;
  one_series(one, cx.n);
  t_div(one, a[1].c, e[1].c, cx.n, recip(d));
  const Local p = iv_pow(e, w, cx);
  return {meet(l.dom, p.dom), l.cont && p.cont, l.smooth && p.smooth};
}

Local iv_sqr(const Series* a, Series& w, const Ctx& cx) {
  t_sqr(a[0].c, w.c, cx.n);
  return {};
}

Local value_sqrt(Interval u, Interval& w) {
  w = sqrt(u);
  return {domain_of(u, {0, kInf}), true, u.lo > 0};
}

Local iv_sqrt(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  Coeffs r;
  for (int k = 0; k < cx.n; ++k) r[k] = a[0].c[k];
  r[0] = intersect(u, {0, kInf});
  Interval w0;
  const Local l = value_sqrt(u, w0);
  t_sqrt(r, w.c, cx.n, w0);
  return l;
}

// The real cube root, odd and increasing; its derivative is unbounded at 0.
Local iv_cbrt(const Series* a, Series& w, const Ctx& cx) {
  const Interval u = a[0].c[0];
  w.c[0] = cbrt(u);
  if (cx.n > 1) {
    if (contains(u, 0)) {
      t_fill(w.c, cx.n, whole());
    } else {
      Series e[2];
      e[0] = a[0];
      e[1].c[0] = div(point(1), point(3));
      t_fill(e[1].c, cx.n, point(0));
      Series p;
      general_power(e[0], e[1], p, cx);
      for (int k = 1; k < cx.n; ++k) w.c[k] = p.c[k];  // -(-x)^(1/3) for x < 0
    }
  }
  return {Defined::kEverywhere, true, !contains(u, 0)};
}

Local value_exp(Interval u, Interval& w) {
  w = exp(u);
  return {};
}

Local iv_exp(const Series* a, Series& w, const Ctx& cx) {
  t_exp(a[0].c, w.c, cx.n, exp(a[0].c[0]));
  return {};
}

namespace {

// Where the logarithms are defined and smooth.
Local log_rule(Interval u) {
  Local l{domain_of(u, {0, kInf}), u.lo > 0, u.lo > 0};
  if (u.hi <= 0) l.dom = Defined::kNowhere;
  if (u.lo <= 0 && u.hi > 0) l.dom = Defined::kMaybe;
  return l;
}

// ln, and lb and lg as ln times a constant, with the tight value of each.
Local logarithm(const Series& x, Series& w, const Ctx& cx, Interval w0, Interval factor) {
  const Interval u = x.c[0];
  const Local l = log_rule(u);
  if (cx.n > 1) {
    Coeffs r, lg;
    for (int k = 0; k < cx.n; ++k) r[k] = x.c[k];
    r[0] = intersect(u, {0, kInf});
    t_ln(r, lg, cx.n, ln(u));
    for (int k = 1; k < cx.n; ++k) w.c[k] = mul(lg[k], factor);
  }
  w.c[0] = w0;
  return l;
}

}  // namespace

Local value_ln(Interval u, Interval& w) {
  w = ln(u);
  return log_rule(u);
}

Local iv_ln(const Series* a, Series& w, const Ctx& cx) {
  return logarithm(a[0], w, cx, ln(a[0].c[0]), point(1));
}
Local iv_lb(const Series* a, Series& w, const Ctx& cx) {
  return logarithm(a[0], w, cx, log2(a[0].c[0]), kLog2eI);
}
Local iv_lg(const Series* a, Series& w, const Ctx& cx) {
  return logarithm(a[0], w, cx, log10(a[0].c[0]), kLog10eI);
}

// logn(x, b) = ln x / ln b, undefined where b = 1.
Local iv_logn(const Series* a, Series& w, const Ctx& cx) {
  Series l[2];
  const Local lx = logarithm(a[0], l[0], cx, ln(a[0].c[0]), point(1));
  const Local lb = logarithm(a[1], l[1], cx, ln(a[1].c[0]), point(1));
  const Local q = iv_div(l, w, cx);
  return {meet(meet(lx.dom, lb.dom), q.dom), lx.cont && lb.cont && q.cont,
          lx.smooth && lb.smooth && q.smooth};
}

}  // namespace kv::interval
