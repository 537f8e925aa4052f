// The sign tests the discussion makes on enclosures. A bound that is not a
// number makes an interval mean "nothing known": has_zero is true for it
// and no test here proves anything about it. The empty set (no value at
// all) has no zero.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "interval/interval.h"

namespace kv::analysis {

using interval::Interval;

using interval::kInf;

inline double up(double v) { return interval::next_up(v); }

inline bool is_number(Interval v) { return !std::isnan(v.lo) && !std::isnan(v.hi); }
inline bool positive(Interval v) { return is_number(v) && v.lo > 0; }
inline bool negative(Interval v) { return is_number(v) && v.hi < 0; }
inline bool has_zero(Interval v) { return !positive(v) && !negative(v); }
inline bool is_exact_zero(Interval v) { return v.lo == 0 && v.hi == 0; }
// -1, 0 or 1 where the sign is certain, 2 where it is not.
inline int certain_sign(Interval v) {
  if (positive(v)) return 1;
  if (negative(v)) return -1;
  return is_exact_zero(v) ? 0 : 2;
}
// A point of v, not beyond its ends even in the subnormal range.
inline double mid(Interval v) {
  const double w = v.hi - v.lo;
  const double m = std::isfinite(w) ? v.lo + w / 2 : v.lo / 2 + v.hi / 2;
  return std::clamp(m, v.lo, v.hi);
}

}  // namespace kv::analysis
