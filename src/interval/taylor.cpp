// Recurrences of the Taylor coefficients; see taylor.h.
#include "interval/taylor.h"

#include <algorithm>

namespace kv::interval {
namespace {

Interval over(Interval a, int k) { return k == 1 ? a : div(a, point(k)); }

// sum over i = 1..k of i u[i] v[k - i], u[i] = 0 beyond du.
Interval weighted(const Interval* u, const Interval* v, int k, int du) {
  Interval s = point(0);
  for (int i = 1; i <= std::min(k, du); ++i) s = add(s, mul(scale(u[i], i), v[k - i]));
  return s;
}

}  // namespace

// Most series in a formula end early: constants after one coefficient, x
// after two, a polynomial after its degree plus one. The products skip the
// terms with a factor that is exactly 0 there, which changes no result, as
// adding the product [0, 0] is exact.
int last_nonzero(const Interval* u, int n) {
  int d = n - 1;
  while (d > 0 && u[d].lo == 0 && u[d].hi == 0) --d;
  return d;
}

bool unit_slope(const Interval* u, int n) {
  return n > 1 && u[1].lo == 1 && u[1].hi == 1 && last_nonzero(u, n) == 1;
}

namespace {

// w = (a + t) v: the general product's sums for a factor of unit slope,
// a v[k] + 1 v[k - 1] (1 times a coefficient is that coefficient), without
// its bounds per term. Products of linear factors are common. The value
// keeps the operands' order (left: a first), as a product of two points
// rounds by its first factor's shortness and must stay the value run's.
void unit_times(Interval a, const Interval* v, Interval* w, int n, bool left) {
  const int dv = last_nonzero(v, n);
  w[0] = left ? mul(a, v[0]) : mul(v[0], a);
  for (int k = 1; k < n; ++k) {
    w[k] = k > dv + 1 ? point(0) : k > dv ? v[k - 1] : add(mul(a, v[k]), v[k - 1]);
  }
}

}  // namespace

void t_add(const Interval* u, const Interval* v, Interval* w, int n) {
  for (int k = 0; k < n; ++k) w[k] = add(u[k], v[k]);
}

void t_sub(const Interval* u, const Interval* v, Interval* w, int n) {
  for (int k = 0; k < n; ++k) w[k] = sub(u[k], v[k]);
}

void t_mul(const Interval* u, const Interval* v, Interval* w, int n) {
  if (unit_slope(v, n)) return unit_times(v[0], u, w, n, false);
  if (unit_slope(u, n)) return unit_times(u[0], v, w, n, true);
  const int du = last_nonzero(u, n), dv = last_nonzero(v, n);
  for (int k = 0; k < n; ++k) {
    const int first = std::max(0, k - dv), last = std::min(k, du);
    if (first > last) {
      w[k] = point(0);
      continue;
    }
    Interval s = mul(u[first], v[k - first]);
    for (int i = first + 1; i <= last; ++i) s = add(s, mul(u[i], v[k - i]));
    w[k] = s;
  }
}

// The symmetric products counted once: w[k] = 2 sum_{i < k-i} u[i] u[k-i] + u[k/2]^2.
void t_sqr(const Interval* u, Interval* w, int n) {
  const int du = last_nonzero(u, n);
  w[0] = sqr(u[0]);
  for (int k = 1; k < n; ++k) {
    if (k > 2 * du) {
      w[k] = point(0);
      continue;
    }
    Interval s = point(0);
    for (int i = std::max(0, k - du); 2 * i < k; ++i) s = add(s, mul(u[i], u[k - i]));
    s = scale(s, 2);
    if (k % 2 == 0) s = add(s, sqr(u[k / 2]));
    w[k] = s;
  }
}

void t_div(const Interval* u, const Interval* v, Interval* w, int n, Interval w0) {
  const int dv = last_nonzero(v, n);
  w[0] = w0;
  for (int k = 1; k < n; ++k) {
    Interval s = u[k];
    for (int i = 1; i <= std::min(k, dv); ++i) s = sub(s, mul(v[i], w[k - i]));
    w[k] = div(s, v[0]);
  }
}

void t_exp(const Interval* u, Interval* w, int n, Interval w0) {
  const int du = last_nonzero(u, n);
  w[0] = w0;
  for (int k = 1; k < n; ++k) w[k] = over(weighted(u, w, k, du), k);
}

// u w' = u', so k u0 w[k] = k u[k] - sum_{i=1}^{k-1} i w[i] u[k-i].
void t_ln(const Interval* u, Interval* w, int n, Interval w0) {
  w[0] = w0;
  for (int k = 1; k < n; ++k) {
    Interval s = point(0);
    for (int i = 1; i < k; ++i) s = add(s, mul(scale(w[i], i), u[k - i]));
    w[k] = div(sub(u[k], over(s, k)), u[0]);
  }
}

// w^2 = u: 2 w0 w[k] = u[k] - sum_{i=1}^{k-1} w[i] w[k-i].
void t_sqrt(const Interval* u, Interval* w, int n, Interval w0) {
  w[0] = w0;
  for (int k = 1; k < n; ++k) {
    Interval s = u[k];
    for (int i = 1; i < k; ++i) s = sub(s, mul(w[i], w[k - i]));
    w[k] = div(s, scale(w0, 2));
  }
}

void t_sincos(const Interval* u, Interval* s, Interval* c, int n, Interval s0, Interval c0,
              double sign) {
  const int du = last_nonzero(u, n);
  s[0] = s0;
  c[0] = c0;
  for (int k = 1; k < n; ++k) {
    s[k] = over(weighted(u, c, k, du), k);
    c[k] = scale(over(weighted(u, s, k, du), k), sign);
  }
}

void t_chain(const Interval* u, const Interval* g, Interval* w, int n, Interval w0) {
  const int du = last_nonzero(u, n);
  w[0] = w0;
  for (int k = 1; k < n; ++k) w[k] = over(weighted(u, g, k, du), k);
}

void t_riccati(const Interval* u, Interval* w, int n, Interval w0, double alpha, double beta) {
  Coeffs q;  // alpha + beta w^2, known one term behind w
  const int du = last_nonzero(u, n);
  w[0] = w0;
  for (int k = 1; k < n; ++k) {
    const int j = k - 1;
    Interval s = point(0);
    for (int i = 0; i <= j; ++i) s = add(s, mul(w[i], w[j - i]));
    q[j] = scale(s, beta);
    if (j == 0) q[0] = add(q[0], point(alpha));
    w[k] = over(weighted(u, q, k, du), k);
  }
}

void t_derive(const Interval* u, Interval* w, int n) {
  for (int k = 0; k + 1 < n; ++k) w[k] = scale(u[k + 1], k + 1);
}


}  // namespace kv::interval
