// Gamma and factorial, the normal distribution density, and the elliptic
// integrals through Carlson's symmetric forms RF and RD.
//
// gamma uses a Lanczos approximation (relative error about 1e-10) and the
// reflection formula for negative arguments; poles at 0 and the negative
// integers give +/-max_mag. The elliptic integrals take the modulus k (not the
// parameter k^2) and the amplitude phi in radians whatever the angle mode.
#include "expr/mathfn.h"

#include <algorithm>
#include <numbers>

namespace kv::fn {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kSqrtTwoPi = 2.5066282746310002;
// Above this gamma exceeds any representable double, so the Lanczos sum is
// not evaluated (its e^-(a+5.5) would underflow to zero against an infinite
// power).
constexpr double kGammaOverflow = 180.0;
// A fault in the argument checks must not turn into an endless loop.
constexpr int kMaxDuplications = 200;

// Lanczos approximation of gamma(a) for a > 0:
// (a+5.5)^(a+0.5) e^-(a+5.5) P(a) / (a (a+1) ... (a+6)).
// The power is taken as two halves with the exponential in between:
// (a+5.5)^(a+0.5) alone overflows from a = 143 on, although gamma stays
// below the largest double up to a = 171.6.
double lanczos_gamma(double a) {
  if (a > kGammaOverflow) return HUGE_VAL;
  static constexpr double kP[] = {75122.633153,  80916.6278952, 36308.2951477, 8687.24529705,
                                  1168.92649479, 83.8676043424, 2.50662827511};
  double p = kP[6];
  for (int i = 5; i >= 0; --i) p = p * a + kP[i];
  double q = a;
  for (int i = 1; i <= 6; ++i) q *= a + i;
  const double t = a + 5.5;
  const double half_power = std::pow(t, (a + 0.5) / 2.0);
  return half_power * std::exp(-t) * (p / q) * half_power;
}

// sin(pi x) with x reduced to [-1/2, 1/2] first: pi * x itself would lose the
// digits that decide how close x is to a pole of gamma.
double sin_pi(double x) {
  const double n = std::round(x);
  const double s = std::sin(kPi * (x - n));
  return std::fmod(n, 2.0) != 0.0 ? -s : s;
}

// One step of Carlson's duplication: the relative distances of x, y and z
// from their mean, and, unless all three are below tol, the lambda that
// moves the three closer; false when they are close enough to stop.
bool duplication_step(double mean, double x, double y, double z, double tol, double (&d)[3],
                      double& lambda) {
  d[0] = (mean - x) / mean;
  d[1] = (mean - y) / mean;
  d[2] = (mean - z) / mean;
  if (std::max({std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])}) < tol) return false;
  const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
  lambda = sx * (sy + sz) + sy * sz;
  return true;
}

// Carlson's RF(x, y, z) by the duplication algorithm; false for arguments
// outside its domain (a negative one, two of them near zero, one near
// overflow).
bool carlson_rf(double x, double y, double z, double& out) {
  static const double tol = std::pow(8.881784197001252e-16, 1.0 / 6.0);
  constexpr double kTiny = 1.112536929253601e-307;
  constexpr double kBig = 3.595386269724632e+307;
  if (!(x >= 0.0 && y >= 0.0 && z >= 0.0)) return false;  // also NaN
  if (std::min({x + y, x + z, y + z}) < kTiny || std::max({x, y, z}) > kBig) return false;
  double mean = 0, d[3] = {0, 0, 0}, lambda = 0;
  for (int i = 0; i < kMaxDuplications; ++i) {
    mean = (x + y + z) / 3.0;
    if (!duplication_step(mean, x, y, z, tol, d, lambda)) break;
    x = (x + lambda) / 4.0;
    y = (y + lambda) / 4.0;
    z = (z + lambda) / 4.0;
  }
  const double dx = d[0], dy = d[1], dz = d[2];
  const double e2 = dx * dy - dz * dz;
  const double e3 = dx * dy * dz;
  out = (1.0 + (e2 / 24.0 - 0.1 - 3.0 * e3 / 44.0) * e2 + e3 / 14.0) / std::sqrt(mean);
  return true;
}

// Carlson's RD(x, y, z) = RJ(x, y, z, z); false outside its domain.
bool carlson_rd(double x, double y, double z, double& out) {
  static const double tol = std::pow(7.401486830834377e-17, 1.0 / 6.0);
  static const double tiny = 2.0 * std::pow(DBL_MAX, -2.0 / 3.0);
  static const double big = 0.1 * tol * std::pow(DBL_MIN, -2.0 / 3.0);
  if (!(x >= 0.0 && y >= 0.0 && z >= 0.0)) return false;
  if (std::min(x + y, z) < tiny || std::max({x, y, z}) > big) return false;
  constexpr double c1 = 3.0 / 14.0, c2 = 1.0 / 6.0, c3 = 9.0 / 22.0, c4 = 3.0 / 26.0;
  constexpr double c5 = 0.25 * c3, c6 = 1.5 * c4;
  double sum = 0.0, factor = 1.0;
  double mean = 0, d[3] = {0, 0, 0}, lambda = 0;
  for (int i = 0; i < kMaxDuplications; ++i) {
    mean = (x + y + 3.0 * z) / 5.0;
    if (!duplication_step(mean, x, y, z, tol, d, lambda)) break;
    sum += factor / (std::sqrt(z) * (z + lambda));
    factor /= 4.0;
    x = (x + lambda) / 4.0;
    y = (y + lambda) / 4.0;
    z = (z + lambda) / 4.0;
  }
  const double dx = d[0], dy = d[1], dz = d[2];
  const double ea = dx * dy, eb = dz * dz;
  const double ec = ea - eb, ed = ea - 6.0 * eb, ee = ed + ec + ec;
  const double series =
      1.0 + ed * (-c1 + c5 * ed - c6 * dz * ee) + dz * (c2 * ee + dz * (-c3 * ec + dz * c4 * ea));
  out = 3.0 * sum + factor * series / (mean * std::sqrt(mean));
  return true;
}

// 1 - a^2 without losing the digits of a near 1.
double one_minus_square(double a) { return (1.0 - a) * (1.0 + a); }

}  // namespace

double gamma(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x) || x == 0.0) return detail::undefined(err);
  if (x > 0.0) {
    if (x <= m.eps || x > 1700.0) return m.max_mag;
    return detail::clamp(m, lanczos_gamma(x));
  }
  const double s = sin_pi(x);
  const double pole = 1000.0 * m.eps;
  if (s >= 0.0 && s <= pole) return m.max_mag;
  if (s < 0.0 && s >= -pole) return -m.max_mag;
  // Reflection: gamma(x) gamma(1 - x) = pi / sin(pi x), with gamma(1 - x) = -x gamma(-x).
  // An infinite gamma(-x) makes the value underflow to 0.
  return detail::mapped(m, err, -kPi / (x * s * lanczos_gamma(-x)));
}

double fac(const MathEnv& m, bool& err, double x) {
  if (!(x >= 0.0)) return detail::undefined(err);  // also NaN
  if (x >= m.max_mag) return m.max_mag;
  if (x >= 40.0) return gamma(m, err, std::round(x) + 1.0);
  const int n = static_cast<int>(x + 0.5);
  double product = 1.0;
  for (int i = 2; i <= n; ++i) product *= i;
  return detail::clamp(m, product);
}

// The density is computed from z = d / sigma: squaring d and sigma separately
// overflows to inf / inf for large values of both.
double gaussd(const MathEnv& m, bool& err, double x, double mean, double sigma) {
  if (std::isnan(x) || std::isnan(mean) || std::isnan(sigma) || sigma == 0.0) {
    return detail::undefined(err);
  }
  const double d = x - mean;
  const double sign = sigma < 0.0 ? -1.0 : 1.0;
  sigma = std::fabs(sigma);
  if (sigma < m.eps && std::fabs(d) < m.eps) return sign * m.max_mag;
  const double z = d / sigma;
  const double density = std::exp(-0.5 * z * z);
  if (density == 0.0) return 0.0;
  return sign * detail::clamp(m, density / (sigma * kSqrtTwoPi));
}

double i_ellc1(const MathEnv& m, bool& err, double k) {
  if (!(k >= 0.0 && k <= 1.0 + m.eps)) return detail::undefined(err);
  if (k >= 1.0 - m.eps) return m.max_mag;
  double rf;
  if (!carlson_rf(0.0, one_minus_square(k), 1.0, rf)) return detail::undefined(err);
  return rf;
}

// At k = 1 the value would be 1, but RF(0, 0, 1) has no value: undefined.
double i_ellc2(const MathEnv&, bool& err, double k) {
  if (!(k >= 0.0 && k <= 1.0)) return detail::undefined(err);
  const double y = one_minus_square(k);
  double rf, rd;
  if (!carlson_rf(0.0, y, 1.0, rf) || !carlson_rd(0.0, y, 1.0, rd)) return detail::undefined(err);
  return rf - k * k / 3.0 * rd;
}

double i_ell1(const MathEnv& m, bool& err, double phi, double k) {
  if (!(k >= 0.0 && k <= 1.0 + m.eps)) return detail::undefined(err);
  const double s = std::sin(phi);
  // F(phi, 1) is odd in phi, so the pole at -pi/2 is -max_mag.
  if (k >= 1.0 - m.eps && std::fabs(s) >= 1.0 - m.eps) return s < 0.0 ? -m.max_mag : m.max_mag;
  double rf;
  if (!carlson_rf(one_minus_square(s), one_minus_square(k * s), 1.0, rf)) {
    return detail::undefined(err);
  }
  return s * rf;
}

// A negative k is accepted: E depends on k^2 only.
double i_ell2(const MathEnv& m, bool& err, double phi, double k) {
  const double s = std::sin(phi);
  const double c2 = one_minus_square(s);
  const double q = one_minus_square(k * s);
  if (!(q >= 0.0 && k <= 1.0 + m.eps)) return detail::undefined(err);  // also NaN
  if (c2 < 2.220446049250313e-16) {
    // At phi = +/-pi/2 (modulo pi) the value is +/-E(k).
    bool bad = false;
    const double e = i_ellc2(m, bad, std::fabs(k));
    if (bad) return detail::undefined(err);
    return s < 0.0 ? -e : e;
  }
  double rf, rd;
  if (!carlson_rf(c2, q, 1.0, rf) || !carlson_rd(c2, q, 1.0, rd)) return detail::undefined(err);
  return s * rf - k * k / 3.0 * s * s * s * rd;
}

}  // namespace kv::fn
