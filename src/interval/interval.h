// Closed intervals of doubles with outward rounding.
//
// An Interval [lo, hi] stands for every real number between its ends. The
// ends may be infinite: [-inf, +inf] is the whole line and a bound of +/-inf
// means "unbounded on that side", never the value infinity itself. The empty
// set is lo > hi, written as [+inf, -inf] (empty()); every operation returns
// the empty set for an empty operand. NaN never appears in a result: where a
// bound computation could give one (0 * inf, inf - inf) the bound is taken
// as unbounded instead.
//
// Arithmetic rounds each end outward: a sum by exactly its rounding error
// (an error-free transformation tells whether it is already exact), a
// product or quotient one step unless it is known exact. So exact results
// of short numbers stay points: 4 / 2 is [2, 2], not [2 - ulp, 2 + ulp].
#pragma once

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kv::interval {

struct Interval {
  double lo, hi;
};

inline constexpr double kInf = std::numeric_limits<double>::infinity();

constexpr Interval empty() { return {kInf, -kInf}; }
constexpr Interval whole() { return {-kInf, kInf}; }
constexpr Interval point(double v) { return {v, v}; }
constexpr bool is_empty(Interval a) { return !(a.lo <= a.hi); }
constexpr bool is_point(Interval a) { return a.lo == a.hi; }
constexpr bool contains(Interval a, double v) { return a.lo <= v && v <= a.hi; }
constexpr bool subset(Interval a, Interval b) { return is_empty(a) || (b.lo <= a.lo && a.hi <= b.hi); }
inline Interval hull(Interval a, Interval b) {
  if (is_empty(a)) return b;
  if (is_empty(b)) return a;
  return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}
inline Interval intersect(Interval a, Interval b) {
  Interval r{std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
  return is_empty(r) ? empty() : r;
}

// Whether a whole number is odd; those beyond 2^53 are all even.
inline bool is_odd(double n) {
  return std::fabs(n) < 0x1p53 && (static_cast<int64_t>(n) & 1) != 0;
}

// The neighbouring doubles. NaN maps to the unbounded side, so a bound that
// could not be computed never narrows an interval.
constexpr double next_down(double x) {
  if (x > 0) return std::bit_cast<double>(std::bit_cast<uint64_t>(x) - 1);  // +inf -> DBL_MAX
  if (x < 0) return x == -kInf ? x : std::bit_cast<double>(std::bit_cast<uint64_t>(x) + 1);
  if (x == 0) return -std::numeric_limits<double>::denorm_min();
  return -kInf;
}
constexpr double next_up(double x) { return -next_down(-x); }

// Below this magnitude an fma residual may underflow and stop telling
// whether a product or quotient was exact.
inline constexpr double kExactnessFloor = 0x1p-960;

// a + b rounded down / up. The error's sign is as often one as the other,
// so the step down is taken without a branch on it: a finite s above the
// sum moves one unit toward -inf (s is never 0 then, as a sum that rounds
// is far from 0).
[[gnu::always_inline]] inline double add_dn(double a, double b) {
  const double s = a + b;
  // The error by the operand of larger magnitude first (Fast2Sum): two
  // operations after the sum instead of four, as the ends of a long chain
  // of sums wait on them.
  const bool swap = std::fabs(a) < std::fabs(b);
  const double big = swap ? b : a, small = swap ? a : b;
  const double e = small - (s - big);  // s + e == a + b exactly
  if (!std::isfinite(s)) return next_down(s);
  const uint64_t u = std::bit_cast<uint64_t>(s);
  const uint64_t toward = static_cast<uint64_t>(static_cast<int64_t>(u) >> 63) | 1u;  // -1 or +1
  return std::bit_cast<double>(u - (toward & (0 - static_cast<uint64_t>(e < 0))));
}
[[gnu::always_inline]] inline double add_up(double a, double b) { return -add_dn(-a, -b); }

// Whether a double has at most 26 significant bits, so that the product of
// two such is exact (barring overflow and underflow).
inline bool is_short(double a) { return (std::bit_cast<uint64_t>(a) & 0x7FFFFFFu) == 0; }

// One unit of the last place toward -inf from a finite nonzero v, or v
// itself where exact: without a branch, as exactness follows no pattern.
inline double step_down_unless(double v, bool exact) {
  const uint64_t u = std::bit_cast<uint64_t>(v);
  const uint64_t toward = static_cast<uint64_t>(static_cast<int64_t>(u) >> 63) | 1u;  // -1 or +1
  return std::bit_cast<double>(u - (toward & (static_cast<uint64_t>(exact) - 1)));
}

// Whether a product or quotient v lies where its exactness can be told and
// one step from it stays finite and nonzero.
inline bool in_exact_range(double v) { return std::fabs(v) >= kExactnessFloor && std::fabs(v) <= DBL_MAX; }

// a * b rounded down / up; 0 times an unbounded end is 0. A product of two
// short operands is exact; any other is moved one step outward, which
// costs an ulp where it happened to be exact but no error-free product.
[[gnu::always_inline]] inline double mul_dn(double a, double b) {
  const double p = a * b;
  if (in_exact_range(p)) return step_down_unless(p, is_short(a) && is_short(b));
  if (a == 0 || b == 0) return 0;
  return next_down(p);
}
[[gnu::always_inline]] inline double mul_up(double a, double b) { return -mul_dn(-a, b); }

// a / b rounded down / up for b != 0: exact when the quotient times b gives
// a back exactly, which a short quotient and divisor make checkable.
inline double div_dn(double a, double b) {
  const double q = a / b;
  if (in_exact_range(q) && std::fabs(a) >= kExactnessFloor) {
    return step_down_unless(q, is_short(q) && is_short(b) && q * b == a);
  }
  if (a == 0) return 0;
  return next_down(q);
}
inline double div_up(double a, double b) { return -div_dn(-a, b); }

inline Interval neg(Interval a) { return {-a.hi, -a.lo}; }

[[gnu::always_inline]] inline Interval add(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b)) return empty();
  return {add_dn(a.lo, b.lo), add_up(a.hi, b.hi)};
}
[[gnu::always_inline]] inline Interval sub(Interval a, Interval b) { return add(a, neg(b)); }

// a times an exact double.
[[gnu::always_inline]] inline Interval scale(Interval a, double c) {
  if (is_empty(a)) return a;
  if (c >= 0) return {mul_dn(a.lo, c), mul_up(a.hi, c)};
  return {mul_dn(a.hi, c), mul_up(a.lo, c)};
}

// By the signs of the operands, two products in all cases but one. A point
// operand, common among the Taylor coefficients (0, 1, whole numbers),
// scales the other; 1 leaves it exact. Always inline: the series products
// call it in their inner loops, where a call costs as much as the work.
[[gnu::always_inline]] inline Interval mul(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b)) return empty();
  if (b.lo == b.hi) return b.lo == 1 ? a : scale(a, b.lo);
  if (a.lo == a.hi) return a.lo == 1 ? b : scale(b, a.lo);
  if (a.lo >= 0) {
    if (b.lo >= 0) return {mul_dn(a.lo, b.lo), mul_up(a.hi, b.hi)};
    if (b.hi <= 0) return {mul_dn(a.hi, b.lo), mul_up(a.lo, b.hi)};
    return {mul_dn(a.hi, b.lo), mul_up(a.hi, b.hi)};
  }
  if (a.hi <= 0) {
    if (b.lo >= 0) return {mul_dn(a.lo, b.hi), mul_up(a.hi, b.lo)};
    if (b.hi <= 0) return {mul_dn(a.hi, b.hi), mul_up(a.lo, b.lo)};
    return {mul_dn(a.lo, b.hi), mul_up(a.lo, b.lo)};
  }
  if (b.lo >= 0) return {mul_dn(a.lo, b.hi), mul_up(a.hi, b.hi)};
  if (b.hi <= 0) return {mul_dn(a.hi, b.lo), mul_up(a.lo, b.lo)};
  return {std::min(mul_dn(a.lo, b.hi), mul_dn(a.hi, b.lo)),
          std::max(mul_up(a.lo, b.lo), mul_up(a.hi, b.hi))};
}


// The quotient where the divisor is not 0: a divisor containing 0 leaves one
// or two unbounded pieces, whose hull is returned; [0, 0] gives the empty set.
Interval div(Interval a, Interval b);

[[gnu::always_inline]] inline Interval sqr(Interval a) {
  if (is_empty(a)) return a;
  if (a.lo >= 0) return {mul_dn(a.lo, a.lo), mul_up(a.hi, a.hi)};
  if (a.hi <= 0) return {mul_dn(a.hi, a.hi), mul_up(a.lo, a.lo)};
  const double m = std::max(-a.lo, a.hi);
  return {0, mul_up(m, m)};
}

inline Interval abs(Interval a) {
  if (is_empty(a) || a.lo >= 0) return a;
  if (a.hi <= 0) return neg(a);
  return {0, std::max(-a.lo, a.hi)};
}

// The interval widened by k units of the last place of each end, relative to
// the end's magnitude, for library functions with a documented error of at
// most k ulps. Zero ends move by the smallest subnormal only.
inline double widen_dn(double v, double k) {
  if (!(v > -kInf)) return -kInf;  // also NaN
  if (v == kInf) return DBL_MAX;
  return next_down(v - std::fabs(v) * (k * DBL_EPSILON));
}
inline double widen_up(double v, double k) { return -widen_dn(-v, k); }
inline Interval widen(Interval a, double k) { return {widen_dn(a.lo, k), widen_up(a.hi, k)}; }

}  // namespace kv::interval
