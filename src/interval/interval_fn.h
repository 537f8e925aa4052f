// Ranges of the elementary functions over intervals.
//
// Each function returns an enclosure of {f(x) : x in a, x in the function's
// domain}; the empty set where a misses the domain. Trigonometric arguments
// are in radians. Library results are widened by kLibUlps units of the last
// place, above the 1 to 4 ulps that glibc documents for these functions on
// x86_64 and aarch64.
#pragma once

#include "interval/interval.h"

namespace kv::interval {

inline constexpr double kLibUlps = 8;

// Enclosures of the constants of the language: the nearest double and its
// neighbours on both sides.
constexpr Interval around(double v) { return {next_down(v), next_up(v)}; }
inline constexpr Interval kPiI = around(3.141592653589793);
inline constexpr Interval kHalfPiI = around(1.5707963267948966);
inline constexpr Interval kDegPerRadI = around(57.29577951308232);     // 180 / pi
inline constexpr Interval kRadPerDegI = around(0.017453292519943295);  // pi / 180
inline constexpr Interval kLn2I = around(0.6931471805599453);
inline constexpr Interval kLn10I = around(2.302585092994046);
inline constexpr Interval kLog2eI = around(1.4426950408889634);
inline constexpr Interval kLog10eI = around(0.4342944819032518);
inline constexpr Interval kEI = around(2.718281828459045);
inline constexpr Interval kSqrt2I = around(1.4142135623730951);
inline constexpr Interval kSqrt1_2I = around(0.7071067811865476);
inline constexpr Interval kSqrtTwoPiI = around(2.5066282746310002);

Interval exp(Interval a);
Interval ln(Interval a);
Interval log2(Interval a);
Interval log10(Interval a);
Interval sqrt(Interval a);
Interval cbrt(Interval a);
// v^3 rounded down: the square rounded toward the side that makes the
// product with v smaller (up for a negative v), then the product down.
inline double cube_dn(double v) { return mul_dn(v, v >= 0 ? mul_dn(v, v) : mul_up(v, v)); }

// a^n for a whole n other than 1 to 4; 0^n for n <= 0 has no value.
Interval powi_beyond(Interval a, double n);
// a^n for a whole n: the powers 1 to 4, common in formulas and in the
// series of powers, inline, without the general chain.
[[gnu::always_inline]] inline Interval powi(Interval a, double n) {
  if (is_empty(a)) return a;
  if (n == 1) return a;
  if (n == 2) return sqr(a);
  if (n == 3) return {cube_dn(a.lo), -cube_dn(-a.hi)};
  if (n == 4) return sqr(sqr(a));
  return powi_beyond(a, n);
}
Interval sin(Interval a);
Interval cos(Interval a);
Interval tan(Interval a);
Interval cot(Interval a);
Interval asin(Interval a);
Interval acos(Interval a);
Interval atan(Interval a);
Interval sinh(Interval a);
Interval cosh(Interval a);
Interval tanh(Interval a);
Interval asinh(Interval a);
Interval acosh(Interval a);
Interval atanh(Interval a);
// 1/a without 0 (whole when a contains 0 inside).
inline Interval recip(Interval a) { return div(point(1), a); }

// The two pieces of a around 0: below (a ∩ (-inf, 0)) and above (a ∩ (0, inf)),
// each empty when a has no such part.
inline Interval below_zero(Interval a) { return a.lo < 0 ? Interval{a.lo, std::min(a.hi, -0.0)} : empty(); }
inline Interval above_zero(Interval a) { return a.hi > 0 ? Interval{std::max(a.lo, 0.0), a.hi} : empty(); }

}  // namespace kv::interval
