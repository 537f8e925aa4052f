// Interval division, the one arithmetic operation with cases for a divisor
// that contains zero.
#include "interval/interval.h"

namespace kv::interval {

Interval div(Interval a, Interval b) {
  if (is_empty(a) || is_empty(b) || (b.lo == 0 && b.hi == 0)) return empty();
  if (b.lo > 0) {
    if (a.lo >= 0) return {div_dn(a.lo, b.hi), div_up(a.hi, b.lo)};
    if (a.hi <= 0) return {div_dn(a.lo, b.lo), div_up(a.hi, b.hi)};
    return {div_dn(a.lo, b.lo), div_up(a.hi, b.lo)};
  }
  if (b.hi < 0) {
    if (a.lo >= 0) return {div_dn(a.hi, b.hi), div_up(a.lo, b.lo)};
    if (a.hi <= 0) return {div_dn(a.hi, b.lo), div_up(a.lo, b.hi)};
    return {div_dn(a.hi, b.hi), div_up(a.lo, b.hi)};
  }
  // The divisor touches or contains 0: the quotient of the nonzero divisors.
  if (a.lo == 0 && a.hi == 0) return point(0);
  if (b.lo == 0) {  // b = [0, d], d > 0
    if (a.lo >= 0) return {div_dn(a.lo, b.hi), kInf};
    if (a.hi <= 0) return {-kInf, div_up(a.hi, b.hi)};
  } else if (b.hi == 0) {  // b = [c, 0], c < 0
    if (a.lo >= 0) return {-kInf, div_up(a.lo, b.lo)};
    if (a.hi <= 0) return {div_dn(a.hi, b.lo), kInf};
  }
  return whole();
}

}  // namespace kv::interval
