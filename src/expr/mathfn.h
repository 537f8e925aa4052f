// The mathematical functions behind the operation codes.
//
// Contract of every function: it returns a finite value, or +/-max_mag in place
// of an infinite value, or it declares the value undefined by setting err and
// returning kUndefined. Values within eps of a critical point count as being at
// it. The evaluator discards every result computed after err was set, so the
// functions need not test err on entry. Arguments are in formula order:
// logn(x, base), root(x, n), atan2(y, x), gaussd(x, mean, sigma), i_ell1(phi, k).
//
// There is no mathematics-error hook to rely on, so every use of a library
// function maps its outcome itself: NaN (a domain error) is undefined, an
// overflow becomes +/-max_mag with the sign of the true result, a singularity
// of a logarithm is -max_mag, any other singularity is undefined, and an
// underflow is 0.
//
// The functions the evaluator calls for nearly every formula are defined
// inline below so that its switch can inline them; their rare paths (infinite
// operands, near-zero divisors) stay out of line.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "expr/limits.h"

namespace kv {

struct MathEnv {
  double angle = kRadians;            // AngleMode
  double eps = kZeroToleranceDrawing; // zero_tolerance
  double max_mag = kMaxMagnitude;     // max_magnitude
  bool diffequ_surface = false;       // 0/0 is 0 while the surface is "DiffEqu"
};

namespace fn {

namespace detail {

inline double undefined(bool& err) {
  err = true;
  return kUndefined;
}

inline double clamp(const MathEnv& m, double v) {
  if (v > m.max_mag) return m.max_mag;
  if (v < -m.max_mag) return -m.max_mag;
  return v;
}

// Outcome of a library function: NaN undefined, overflow to +/-max_mag,
// underflow to 0.
inline double mapped(const MathEnv& m, bool& err, double v) {
  if (std::isnan(v)) return undefined(err);
  if (std::fabs(v) < DBL_MIN) return 0.0;
  return clamp(m, v);
}

// The argument of a forward trigonometric function in radians. Dividing by 1
// changes no value, but it is slow and would lie on the dependency chain of
// every sine in the radian mode.
inline double radians(const MathEnv& m, double x) { return m.angle == kRadians ? x : x / m.angle; }

double add_rare(const MathEnv& m, bool& err, double a, double b);
double mul_rare(const MathEnv& m, bool& err, double a, double b);
double div_rare(const MathEnv& m, bool& err, double a, double b);

}  // namespace detail

// The fast paths below are written as positive comparisons so that NaN and
// infinite operands always fall through to the rare paths.

inline double add(const MathEnv& m, bool& err, double a, double b) {
  if (std::fabs(a) < m.max_mag && std::fabs(b) < m.max_mag) return detail::clamp(m, a + b);
  return detail::add_rare(m, err, a, b);
}

inline double sub(const MathEnv& m, bool& err, double a, double b) {
  if (std::fabs(a) < m.max_mag && std::fabs(b) < m.max_mag) return detail::clamp(m, a - b);
  return detail::add_rare(m, err, a, -b);
}

inline double mul(const MathEnv& m, bool& err, double a, double b) {
  const double fa = std::fabs(a), fb = std::fabs(b);
  if (fa <= m.eps || fb <= m.eps) return 0.0;  // also against an infinite factor
  if (fa < m.max_mag && fb < m.max_mag) return detail::clamp(m, a * b);
  return detail::mul_rare(m, err, a, b);
}

inline double div(const MathEnv& m, bool& err, double a, double b) {
  const double fb = std::fabs(b);
  if (fb >= m.eps && fb < m.max_mag && std::fabs(a) < m.max_mag) return detail::clamp(m, a / b);
  return detail::div_rare(m, err, a, b);
}

// Binary exponentiation. It agrees with pow for whole exponents: for a
// negative base and |n| >= 2 pow leaves the decision to the library, whose
// integer powers carry the sign of (-1)^n, and n = +/-1 gives a^n either way.
// Intermediate powers lie between 1 and a^n, so only a result that is itself
// out of range can overflow or underflow.
inline double powi(const MathEnv& m, bool& err, double a, int n) {
  if (a == 0.0) return n > 0 ? 0.0 : detail::undefined(err);
  if (std::isnan(a)) return detail::undefined(err);
  unsigned k = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
  double r = 1.0, base = a;
  for (;;) {
    if (k & 1u) r *= base;
    k >>= 1;
    if (k == 0) break;
    base *= base;
  }
  if (n < 0) r = 1.0 / r;  // r = +/-0 (underflow) gives +/-inf, clamped below
  return detail::mapped(m, err, r);
}

inline double sqrt(const MathEnv& m, bool& err, double x) {
  if (x > m.eps) return x >= m.max_mag ? m.max_mag : std::sqrt(x);
  if (x >= -m.eps) return 0.0;
  return detail::undefined(err);
}

inline double sin(const MathEnv& m, bool& err, double x) {
  const double r = std::sin(detail::radians(m, x));
  return std::isnan(r) ? detail::undefined(err) : r;
}

inline double cos(const MathEnv& m, bool& err, double x) {
  const double r = std::cos(detail::radians(m, x));
  return std::isnan(r) ? detail::undefined(err) : r;
}

// e^500 is far below max_mag, so the result test never fires for a positive
// max_mag this large; it keeps the rule for smaller limits.
inline double exp(const MathEnv& m, bool& err, double x) {
  if (x > 500.0) return m.max_mag;
  if (x > -500.0) {
    const double r = std::exp(x);
    return r >= m.max_mag ? m.max_mag : r;
  }
  return std::isnan(x) ? detail::undefined(err) : 0.0;
}

inline double abs(const MathEnv&, bool&, double x) { return std::fabs(x); }
inline double min(const MathEnv&, bool&, double a, double b) { return a < b ? a : b; }
inline double max(const MathEnv&, bool&, double a, double b) { return a > b ? a : b; }

double pow(const MathEnv& m, bool& err, double a, double b);
double root(const MathEnv& m, bool& err, double x, double n);
double sqr(const MathEnv& m, bool& err, double x);
double cbrt(const MathEnv& m, bool& err, double x);

double ln(const MathEnv& m, bool& err, double x);
double lb(const MathEnv& m, bool& err, double x);
double lg(const MathEnv& m, bool& err, double x);
double logn(const MathEnv& m, bool& err, double x, double base);

double tan(const MathEnv& m, bool& err, double x);
double cot(const MathEnv& m, bool& err, double x);
double sec(const MathEnv& m, bool& err, double x);
double csc(const MathEnv& m, bool& err, double x);
double asin(const MathEnv& m, bool& err, double x);
double acos(const MathEnv& m, bool& err, double x);
double atan(const MathEnv& m, bool& err, double x);
double acot(const MathEnv& m, bool& err, double x);
double asec(const MathEnv& m, bool& err, double x);
double acsc(const MathEnv& m, bool& err, double x);
double atan2(const MathEnv& m, bool& err, double y, double x);

double sinh(const MathEnv& m, bool& err, double x);
double cosh(const MathEnv& m, bool& err, double x);
double tanh(const MathEnv& m, bool& err, double x);
double coth(const MathEnv& m, bool& err, double x);
double sech(const MathEnv& m, bool& err, double x);
double csch(const MathEnv& m, bool& err, double x);
double asinh(const MathEnv& m, bool& err, double x);
double acosh(const MathEnv& m, bool& err, double x);
double atanh(const MathEnv& m, bool& err, double x);
double acoth(const MathEnv& m, bool& err, double x);
double asech(const MathEnv& m, bool& err, double x);
double acsch(const MathEnv& m, bool& err, double x);

double gamma(const MathEnv& m, bool& err, double x);
double fac(const MathEnv& m, bool& err, double x);
double gaussd(const MathEnv& m, bool& err, double x, double mean, double sigma);
double i_ellc1(const MathEnv& m, bool& err, double k);
double i_ellc2(const MathEnv& m, bool& err, double k);
double i_ell1(const MathEnv& m, bool& err, double phi, double k);
double i_ell2(const MathEnv& m, bool& err, double phi, double k);

double sgn(const MathEnv& m, bool& err, double x);
double floor(const MathEnv& m, bool& err, double x);
double ceil(const MathEnv& m, bool& err, double x);
double round(const MathEnv& m, bool& err, double x);
double frac(const MathEnv& m, bool& err, double x);

// By operation code (opcodes.h), for constant folding and generic callers.
// Not for kDeriv; apply1 is for one-argument codes, apply2 for two-argument codes.
double apply1(uint8_t op, const MathEnv& m, bool& err, double a);
double apply2(uint8_t op, const MathEnv& m, bool& err, double a, double b);

}  // namespace fn

// The pseudo-random generator behind `rand`: a linear congruential generator
// with the classic constants, seeded with 1 and never reseeded, giving values
// 0..32767. The program state owns the one sequence of a run and passes it
// in (CompileEnv::random), so there is no global.
struct RandState {
  uint32_t state = 1;
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fff);
  }
  // Undoes one next(): 3115528533 is the inverse of 214013 modulo 2^32.
  void back() { state = (state - 2531011u) * 3115528533u; }
};

}  // namespace kv
