// Interval rule of gamma, with its derivatives.
//
// The value comes from the library's tgamma on the monotone pieces of the
// positive axis and by reflection between the poles of the negative one.
// The derivatives follow from (ln |gamma|)' = psi, the digamma function:
// the series of psi(u) is composed from the polygamma values psi^(m) over
// the range of u (monotone on the positive axis; by the reflection
// psi(x) = psi(1 - x) - pi cot(pi x) on the negative one), then
// ln |gamma(u)| by the chain rule and gamma = sign exp(ln |gamma|).
// Polygamma values come from the asymptotic series beyond 20, shifted by
// psi^(m)(x) = psi^(m)(x + 1) - (-1)^m m! / x^(m+1), with the first omitted
// term of the series as its error bound.
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
    const Interval sign = is_odd(cell) ? Interval{-bound, 0} : Interval{0, bound};
    // Reflection: gamma(x) = pi / (sin(pi x) gamma(1 - x)), 1 - x > 1.
    Local positive;
    const Interval s = sin(mul(kPiI, u));
    const Interval r = div(kPiI, mul(s, gamma_value(sub(point(1), u), positive)));
    const Interval both = intersect(r, sign);
    return is_empty(both) ? sign : both;
  }
  const bool at_pole = is_point(u) && u.lo == std::floor(u.lo);
  l = {at_pole ? Defined::kNowhere : Defined::kMaybe, false, false};
  return at_pole ? empty() : whole();
}


// Where the asymptotic series starts, and its length.
constexpr double kAsymptotic = 20;
constexpr int kBernoulliTerms = 6;
// B_2, B_4, ... B_14 as numerator / denominator.
constexpr double kBernoulli[][2] = {{1, 6},   {-1, 30},    {1, 42}, {-1, 30},
                                    {5, 66},  {-691, 2730}, {7, 6}};

double factorial(int k) {
  double f = 1;
  for (int i = 2; i <= k; ++i) f *= i;
  return f;
}

// psi^(m)(z) for z >= kAsymptotic from the asymptotic series.
Interval polygamma_asymptotic(int m, Interval z) {
  Interval s = m == 0 ? sub(ln(z), div(point(0.5), z))
                      : add(div(point(factorial(m - 1)), powi(z, m)),
                            div(point(factorial(m) / 2), powi(z, m + 1)));
  Interval last = point(0);
  for (int j = 1; j <= kBernoulliTerms + 1; ++j) {
    // B_2j (2j + m - 1)! / ((2j)! z^(2j+m)), the m = 0 term B_2j / (2j z^2j).
    const double num = kBernoulli[j - 1][0] * factorial(2 * j + m - 1);
    const double den = kBernoulli[j - 1][1] * factorial(2 * j);
    const Interval t = div(div(point(num), point(den)), powi(z, 2 * j + m));
    if (j > kBernoulliTerms) {
      last = t;
      break;
    }
    s = m == 0 ? sub(s, t) : add(s, t);
  }
  const double r = 2 * std::max(std::fabs(last.lo), std::fabs(last.hi));  // its rounding too
  s = add(s, {-r, r});
  return (m % 2 == 1 || m == 0) ? s : neg(s);
}

// psi^(m)(x) for a double x > 0.
Interval polygamma_at(int m, double x) {
  Interval z = point(x), sum = point(0);
  while (z.lo < kAsymptotic) {
    sum = add(sum, recip(powi(z, m + 1)));
    z = add(z, point(1));
  }
  const Interval shifted = scale(sum, (m % 2 == 0 ? 1 : -1) * factorial(m));
  return sub(polygamma_asymptotic(m, z), shifted);
}

// psi^(m) over u > 0: monotone, so the hull of its ends.
Interval polygamma(int m, Interval u) {
  if (!(u.lo > 0) || !std::isfinite(u.hi)) return whole();
  return hull(polygamma_at(m, u.lo), polygamma_at(m, u.hi));
}

// w = sum_m f[m] (u - u0)^m for the Taylor coefficients f of a function at
// the value of u, pointwise over X.
void compose(const Interval* f, const Interval* u, Interval* w, int n) {
  Coeffs du, p, t;
  du[0] = point(0);
  for (int k = 1; k < n; ++k) du[k] = u[k];
  for (int k = 0; k < n; ++k) w[k] = point(0);
  p[0] = point(1);
  t_fill(p, n, point(0));
  for (int m = 0; m < n; ++m) {
    for (int k = 0; k < n; ++k) w[k] = add(w[k], mul(f[m], p[k]));
    t_mul(p, du, t, n);
    for (int k = 0; k < n; ++k) p[k] = t[k];
  }
}

// The series of psi(u) of length n for u > 0.
void digamma_positive(const Interval* u, Interval* p, int n) {
  Coeffs f;
  for (int m = 0; m < n; ++m) f[m] = div(polygamma(m, u[0]), point(factorial(m)));
  compose(f, u, p, n);
}

// The series of gamma(u) beyond w[0], for u inside one piece without poles.
void gamma_series(const Interval* u, Interval* w, int n, Interval value) {
  const int m = n - 1;
  Coeffs p;
  if (u[0].lo > 0) {
    digamma_positive(u, p, m);
  } else {
    // psi(u) = psi(1 - u) - pi cot(pi u)
    Coeffs v{}, q{}, pu{}, c{};
    for (int k = 0; k < m; ++k) {
      v[k] = k == 0 ? sub(point(1), u[0]) : neg(u[k]);
      pu[k] = mul(u[k], kPiI);
    }
    digamma_positive(v, q, m);
    t_riccati(pu, c, m, cot(pu[0]), -1, -1);
    for (int k = 0; k < m; ++k) p[k] = sub(q[k], mul(kPiI, c[k]));
  }
  Coeffs l, e;
  const Interval mag = abs(value);
  t_chain(u, p, l, n, ln(mag));
  t_exp(l, e, n, mag);
  const bool negative = value.hi <= 0;
  for (int k = 1; k < n; ++k) w[k] = negative ? neg(e[k]) : e[k];
}

}  // namespace

Local iv_gamma(const Series* a, Series& w, const Ctx& cx) {
  Local l;
  const Interval u = a[0].c[0];
  w.c[0] = gamma_value(u, l);
  if (cx.n > 1) {
    if (l.dom == Defined::kEverywhere && !is_empty(w.c[0])) gamma_series(a[0].c, w.c, cx.n, w.c[0]);
    else t_fill(w.c, cx.n, whole());
  }
  return l;
}

}  // namespace kv::interval
