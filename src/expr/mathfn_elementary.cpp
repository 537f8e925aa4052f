// Logarithms, trigonometric and hyperbolic functions with their inverses, and
// rounding.
//
// Forward trigonometric functions divide their argument by the angle factor
// (1 or 180/pi), inverse ones multiply their result by it; cot alone always
// takes radians. Poles give +/-max_mag with the sign of the function on the
// side the argument lies on, so curves run off the screen the right way.
// Where a textbook formula such as ln(x + sqrt(x^2 + 1)) loses digits or
// overflows in between, the library's own function computes the same value.
#include "expr/mathfn.h"

#include <numbers>

namespace kv::fn {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2;
// Beyond this the hyperbolic functions are infinite or zero for any limit.
constexpr double kHyperbolicLimit = 5000.0;

double sign_pole(const MathEnv& m, double x) { return x < 0.0 ? -m.max_mag : m.max_mag; }

// Ignores -0, which a function whose value is zero there would otherwise show
// as "-0".
double no_negative_zero(double v) { return v == 0.0 ? 0.0 : v; }

// tan of an argument in radians.
double tan_radians(const MathEnv& m, bool& err, double u) {
  const double r = std::fmod(u, kPi);  // sign of u
  if (std::fabs(r - kHalfPi) <= m.eps) return r <= kHalfPi ? m.max_mag : -m.max_mag;
  if (std::fabs(r + kHalfPi) <= m.eps) return r <= -kHalfPi ? m.max_mag : -m.max_mag;
  return detail::mapped(m, err, std::tan(u));
}

}  // namespace

// ---- logarithms ----------------------------------------------------------

double ln(const MathEnv& m, bool& err, double x) {
  if (!(x > -m.eps)) return detail::undefined(err);  // also NaN
  if (x >= m.max_mag) return m.max_mag;
  if (x <= m.eps) return -m.max_mag;
  return std::log(x);
}

// The binary and decimal logarithms are exact at powers of their base, which
// ln(x) * LOG2E is not (ln(8) * LOG2E = 2.9999999999999996).
double lb(const MathEnv& m, bool& err, double x) {
  if (!(x > -m.eps)) return detail::undefined(err);
  if (x >= m.max_mag) return m.max_mag;
  if (x <= m.eps) return -m.max_mag;
  return std::log2(x);
}

double lg(const MathEnv& m, bool& err, double x) {
  if (!(x > -m.eps)) return detail::undefined(err);
  if (x >= m.max_mag) return m.max_mag;
  if (x <= m.eps) return -m.max_mag;
  return std::log10(x);
}

double logn(const MathEnv& m, bool& err, double x, double base) {
  bool bad = false;
  const double num = ln(m, bad, x);
  const double den = ln(m, bad, base);
  if (bad) return detail::undefined(err);
  return div(m, err, num, den);
}

// ---- trigonometric functions ---------------------------------------------

double tan(const MathEnv& m, bool& err, double x) { return tan_radians(m, err, detail::radians(m, x)); }

double cot(const MathEnv& m, bool& err, double x) {
  bool bad = false;
  const double t = tan_radians(m, bad, x);
  if (bad) return detail::undefined(err);
  return div(m, err, 1.0, t);
}

double sec(const MathEnv& m, bool& err, double x) {
  const double c = std::cos(detail::radians(m, x));
  if (std::isnan(c)) return detail::undefined(err);
  if (std::fabs(c) > m.eps) return detail::clamp(m, 1.0 / c);
  return sign_pole(m, c);
}

double csc(const MathEnv& m, bool& err, double x) {
  const double s = std::sin(detail::radians(m, x));
  if (std::isnan(s)) return detail::undefined(err);
  if (std::fabs(s) > m.eps) return detail::clamp(m, 1.0 / s);
  return sign_pole(m, s);
}

// Outside [-1, 1] the library would report a domain error through errno and
// the floating-point exceptions, which costs more than the whole evaluation.
double asin(const MathEnv& m, bool& err, double x) {
  if (!(std::fabs(x) <= 1.0)) return detail::undefined(err);
  return std::asin(x) * m.angle;
}

double acos(const MathEnv& m, bool& err, double x) {
  if (!(std::fabs(x) <= 1.0)) return detail::undefined(err);
  return std::acos(x) * m.angle;
}

double atan(const MathEnv& m, bool& err, double x) {
  const double r = std::atan(x);
  return std::isnan(r) ? detail::undefined(err) : r * m.angle;
}

// Values from -pi to 0, continuous at 0 and jumping at infinity.
double acot(const MathEnv& m, bool& err, double x) {
  const double r = std::atan(x);
  return std::isnan(r) ? detail::undefined(err) : -(r + kHalfPi) * m.angle;
}

double asec(const MathEnv& m, bool& err, double x) {
  if (!(std::fabs(x) >= 1.0)) return detail::undefined(err);
  return std::acos(1.0 / x) * m.angle;
}

double acsc(const MathEnv& m, bool& err, double x) {
  if (!(std::fabs(x) >= 1.0)) return detail::undefined(err);
  return std::asin(1.0 / x) * m.angle;
}

// Just below the negative x axis counts as on it, so the angle is -pi there
// rather than jumping to +pi on the way.
double atan2(const MathEnv& m, bool& err, double y, double x) {
  if (y < 0.0 && y >= -m.eps && x < 0.0) return -kPi * m.angle;
  const double r = std::atan2(y, x);
  return std::isnan(r) ? detail::undefined(err) : r * m.angle;
}

// ---- hyperbolic functions --------------------------------------------------

double sinh(const MathEnv& m, bool& err, double x) {
  if (x > kHyperbolicLimit) return m.max_mag;
  if (x < -kHyperbolicLimit) return -m.max_mag;
  return detail::mapped(m, err, std::sinh(x));
}

double cosh(const MathEnv& m, bool& err, double x) {
  return detail::mapped(m, err, std::cosh(std::fabs(x)));
}

double tanh(const MathEnv& m, bool& err, double x) {
  return detail::mapped(m, err, std::tanh(x));
}

double coth(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) > m.eps) return detail::clamp(m, 1.0 / std::tanh(x));
  return sign_pole(m, x);
}

double sech(const MathEnv&, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) >= kHyperbolicLimit) return 0.0;
  return 1.0 / std::cosh(x);
}

double csch(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) <= m.eps) return sign_pole(m, x);
  if (std::fabs(x) >= kHyperbolicLimit) return 0.0;
  return detail::clamp(m, 1.0 / std::sinh(x));
}

double asinh(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) >= m.max_mag) return sign_pole(m, x);
  return std::asinh(x);
}

double acosh(const MathEnv& m, bool& err, double x) {
  if (!(x >= 1.0 - m.eps)) return detail::undefined(err);
  if (x <= 1.0 + m.eps) return 0.0;
  if (x >= m.max_mag) return m.max_mag;
  return std::acosh(x);
}

double atanh(const MathEnv& m, bool& err, double x) {
  const double ax = std::fabs(x);
  if (!(ax <= 1.0 + m.eps)) return detail::undefined(err);
  if (ax < 1.0 - m.eps) return std::atanh(x);
  return sign_pole(m, x);
}

// acoth(x) = 1/2 ln((x+1)/(x-1)) = 1/2 ln(1 + 2/(x-1)); x - 1 is exact near
// the pole and log1p keeps the small values of large |x|.
double acoth(const MathEnv& m, bool& err, double x) {
  const double ax = std::fabs(x);
  if (std::isnan(x)) return detail::undefined(err);
  if (ax > 1.0 + m.eps) {
    const double r = 0.5 * std::log1p(2.0 / (ax - 1.0));
    return x < 0.0 ? -r : r;
  }
  if (ax < 1.0 - m.eps) return detail::undefined(err);
  return x <= 0.0 ? -m.max_mag : m.max_mag;
}

// asech(x) = acosh(1/x) = ln(1 + t + sqrt(1 - x^2)/x) with t = (1 - x)/x;
// 1 - x is exact near 1, where the value goes to zero like sqrt(2(1 - x)).
double asech(const MathEnv& m, bool& err, double x) {
  if (!(x >= -m.eps && x <= 1.0 + m.eps)) return detail::undefined(err);
  if (x >= 1.0 - m.eps) return 0.0;
  if (x <= m.eps) return m.max_mag;
  const double t = (1.0 - x) / x;
  return std::log1p(t + std::sqrt((1.0 - x) * (1.0 + x)) / x);
}

// acsch(x) = asinh(1/x): 1/x^2 + 1 of the textbook formula overflows for
// |x| below 1e-154 although the value is only about 355 there.
double acsch(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  if (std::fabs(x) <= m.eps) return sign_pole(m, x);
  return std::asinh(1.0 / x);
}

// ---- rounding -------------------------------------------------------------

double sgn(const MathEnv&, bool&, double x) {
  if (x > 0.0) return 1.0;
  if (x < 0.0) return -1.0;
  return 0.0;
}

double floor(const MathEnv& m, bool& err, double x) {
  return detail::mapped(m, err, std::floor(x));
}

double ceil(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  return no_negative_zero(detail::clamp(m, std::ceil(x)));
}

// Half away from zero; unlike floor(x + 0.5) it also keeps
// 0.49999999999999994 below one half.
double round(const MathEnv& m, bool& err, double x) {
  if (std::isnan(x)) return detail::undefined(err);
  return no_negative_zero(detail::clamp(m, std::round(x)));
}

double frac(const MathEnv&, bool& err, double x) {
  if (!(std::fabs(x) <= DBL_MAX)) return detail::undefined(err);
  return no_negative_zero(std::fmod(x, 1.0));
}

}  // namespace kv::fn
