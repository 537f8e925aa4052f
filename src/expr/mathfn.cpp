// Arithmetic with infinite operands, powers and roots, and the dispatch by
// operation code.
//
// +/-max_mag stands for an infinite value: sums and products with it follow
// the rules of infinity, and every finite result beyond it is clamped to it.
// A non-zero divisor within eps of zero gives +/-max_mag (a pole the curve
// runs off to) unless numerator or divisor is too close to zero to tell a pole
// from 0/0, which is undefined.
#include "expr/mathfn.h"

#include "expr/op_table.h"

namespace kv::fn {
namespace detail {
namespace {

// Zero counts as positive, as a pole of a/b takes its side from the signs.
double sign_of(double v) { return v < 0.0 ? -1.0 : 1.0; }

}  // namespace

double add_rare(const MathEnv& m, bool& err, double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return undefined(err);
  a = clamp(m, a);
  b = clamp(m, b);
  const bool a_inf = std::fabs(a) == m.max_mag, b_inf = std::fabs(b) == m.max_mag;
  if (a_inf && b_inf) return a == b ? a : 0.0;  // infinity minus infinity is 0 here
  if (a_inf) return a;
  if (b_inf) return b;
  return clamp(m, a + b);
}

// An infinite factor keeps its magnitude and takes the sign of the product;
// factors within eps of zero were handled inline.
double mul_rare(const MathEnv& m, bool& err, double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return undefined(err);
  return sign_of(a) * sign_of(b) * m.max_mag;
}

double div_rare(const MathEnv& m, bool& err, double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return undefined(err);
  a = clamp(m, a);
  b = clamp(m, b);
  const double fa = std::fabs(a), fb = std::fabs(b);
  if (fa == m.max_mag && fb < m.max_mag) return sign_of(a) * sign_of(b) * m.max_mag;
  // A tiny value rather than 0, so that the quotient still carries its sign.
  if (fb == m.max_mag && fa < m.max_mag) return sign_of(a) * sign_of(b) * m.eps;
  if (fb >= m.eps) return clamp(m, a / b);
  // The solver of differential equations meets 0/0 at rest points, where
  // the slope 0 is the useful value.
  if (m.diffequ_surface && a == 0.0) return 0.0;
  if (fb < m.eps / 10.0 || fa < m.eps) return undefined(err);
  return sign_of(a) * sign_of(b) * m.max_mag;
}

}  // namespace detail

double pow(const MathEnv& m, bool& err, double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return detail::undefined(err);
  if (a == 0.0) {
    if (b > 0.0) return 0.0;
    return detail::undefined(err);  // 0^0, and the pole of 0^negative
  }
  if (a < 0.0 && b != 0.0) {
    // Real odd roots: (-8)^(1/3) = -2 although 1/3 is not exactly a third.
    const double inv = 1.0 / b;
    const double n = std::round(inv);
    if (std::fabs(inv - n) <= 1e-13 && std::fabs(std::fmod(n, 2.0)) == 1.0) {
      return detail::mapped(m, err, -std::pow(-a, b));
    }
  }
  // The library returns NaN for a negative base with a broken exponent and a
  // signed infinity on overflow, which is exactly the mapping wanted.
  return detail::mapped(m, err, std::pow(a, b));
}

double root(const MathEnv& m, bool& err, double x, double n) {
  bool bad = false;
  const double inv = div(m, bad, 1.0, n);
  if (bad) return detail::undefined(err);
  return pow(m, err, x, inv);
}

double sqr(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  return detail::clamp(m, x * x);
}

// The library cube root is exact for perfect cubes, unlike |x|^0.3333333333333333.
double cbrt(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) >= m.max_mag) return std::copysign(m.max_mag, x);
  return std::cbrt(x);
}

double apply1(uint8_t code, const MathEnv& m, bool& err, double a) {
  switch (code) {
#define KV_APPLY1(c, name) \
  case c:                  \
    return name(m, err, a);
    KV_UNARY_OPERATIONS(KV_APPLY1)
#undef KV_APPLY1
    default: return detail::undefined(err);  // not a one-argument operation
  }
}

double apply2(uint8_t code, const MathEnv& m, bool& err, double a, double b) {
  switch (code) {
#define KV_APPLY2(c, name) \
  case c:                  \
    return name(m, err, a, b);
    KV_ARITHMETIC_OPERATIONS(KV_APPLY2)
    KV_OTHER_BINARY_OPERATIONS(KV_APPLY2)
#undef KV_APPLY2
    default: return detail::undefined(err);  // not a two-argument operation
  }
}

}  // namespace kv::fn
