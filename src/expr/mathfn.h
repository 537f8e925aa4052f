// The mathematical functions behind the operation codes.
//
// Contract of every function: it returns a finite value, or +/-max_mag in place
// of an infinite value, or it declares the value undefined by setting err and
// returning kUndefined. Values within eps of a critical point count as being at
// it. The evaluator discards every result computed after err was set, so the
// functions need not test err on entry. Arguments are in formula order:
// logn(x, base), root(x, n), atan2(y, x), gaussd(x, mean, sigma), i_ell1(phi, k).
#pragma once

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

double add(const MathEnv& m, bool& err, double a, double b);
double sub(const MathEnv& m, bool& err, double a, double b);
double mul(const MathEnv& m, bool& err, double a, double b);
double div(const MathEnv& m, bool& err, double a, double b);
double pow(const MathEnv& m, bool& err, double a, double b);
double powi(const MathEnv& m, bool& err, double a, int n);  // pow with a whole exponent, |n| <= 64
double root(const MathEnv& m, bool& err, double x, double n);
double sqr(const MathEnv& m, bool& err, double x);
double sqrt(const MathEnv& m, bool& err, double x);
double cbrt(const MathEnv& m, bool& err, double x);

double exp(const MathEnv& m, bool& err, double x);
double ln(const MathEnv& m, bool& err, double x);
double lb(const MathEnv& m, bool& err, double x);
double lg(const MathEnv& m, bool& err, double x);
double logn(const MathEnv& m, bool& err, double x, double base);

double sin(const MathEnv& m, bool& err, double x);
double cos(const MathEnv& m, bool& err, double x);
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

double abs(const MathEnv& m, bool& err, double x);
double sgn(const MathEnv& m, bool& err, double x);
double min(const MathEnv& m, bool& err, double a, double b);
double max(const MathEnv& m, bool& err, double a, double b);
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
// 0..32767. Its state lives with the evaluation, not in a global.
struct RandState {
  uint32_t state = 1;
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fff);
  }
};

}  // namespace kv
