// The numerical derivative of d( ): its step size and the combination of the
// four neighbouring values, shared by the point and the block evaluation so
// that both compute the same numbers.
//
// Neighbours are f1 = g(x + 2h), f2 = g(x + h), f3 = g(x - h), f4 = g(x - 2h).
// One-sided formulas stand in where neighbours are undefined, and a steep
// slope growing towards x is taken for a vertical asymptote next to x.
#pragma once

#include <cmath>

#include "expr/mathfn.h"

namespace kv::derivative_rule {

inline constexpr double kBaseStep = 5e-8;
inline constexpr double kStepExponent = 0.3703703703703703;
inline constexpr double kNestedStepFactor = 1000.0;
inline constexpr double kSteepThreshold = 5000.0;
inline constexpr double kSteepThresholdOneSided = 500.0;

// Step h at x with f0 = g(x); depth is the nesting of d( ) (0 for the
// derivative of a whole formula).
inline double step(double x, double f0, int depth) {
  double h = kBaseStep * std::pow((std::fabs(x) + std::fabs(f0)) / 2, kStepExponent);
  if (depth > 0) h *= kNestedStepFactor;
  return h < kBaseStep ? kBaseStep : h;
}

// n / d for d > 0 without overflow; clamped tells whether it hit the bound.
inline double safe_quotient(const MathEnv& m, double n, double d, bool& clamped) {
  if (n > m.max_mag * d - 2) { clamped = true; return m.max_mag; }
  if (n < -(m.max_mag * d - 2)) { clamped = true; return -m.max_mag; }
  if (std::fabs(n) < m.eps * d) return 0.0;
  return n / d;
}

// f[1..4] and ok[1..4] are the neighbours; sets err when too few are defined.
inline double combine(const MathEnv& m, int depth, double f0, double h, const double* f,
                      const bool* ok, bool& err) {
  enum class Steep { None, Left, Right, Both };
  const double f1 = f[1], f2 = f[2], f3 = f[3], f4 = f[4];
  bool clamped = false;
  double d = 0;
  Steep steep = Steep::None;
  double threshold = kSteepThresholdOneSided;
  if (ok[1] && ok[2] && ok[3] && ok[4]) {
    d = safe_quotient(m, f4 - 8 * f3 + 8 * f2 - f1, 12 * h, clamped);
    steep = Steep::Both;
    threshold = kSteepThreshold;
  } else if (!ok[2]) {
    if (!ok[3]) {
      err = true;
      return kUndefined;
    }
    if (!ok[4]) {
      d = safe_quotient(m, f0 - f3, h, clamped);
    } else {
      d = safe_quotient(m, 3 * f0 - 4 * f3 + f4, 2 * h, clamped);
      steep = Steep::Left;
    }
  } else if (!ok[1]) {
    if (!ok[3]) d = safe_quotient(m, f2 - f0, h, clamped);
    else if (ok[4]) d = safe_quotient(m, 3 * f0 - 4 * f3 + f4, 2 * h, clamped);
    else d = safe_quotient(m, f2 - f3, 2 * h, clamped);
  } else if (!ok[3]) {
    d = safe_quotient(m, 4 * f2 - 3 * f0 - f1, 2 * h, clamped);
    steep = Steep::Right;
  } else {
    d = safe_quotient(m, 4 * f2 - 3 * f0 - f1, 2 * h, clamped);
  }
  if (steep != Steep::None && depth <= 1 && !clamped && std::fabs(d) > threshold) {
    const bool left = std::fabs(f0 - f3) > std::fabs(f3 - f4);
    const bool right = std::fabs(f2 - f0) > std::fabs(f1 - f2);
    const bool holds = steep == Steep::Left ? left : steep == Steep::Right ? right : left && right;
    if (holds) d = d >= 0 ? m.max_mag : -m.max_mag;
  }
  return d;
}

}  // namespace kv::derivative_rule
