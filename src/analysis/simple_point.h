// The point of an interval with the fewest significant decimal digits: the
// place a user reads for a pole of tan is 1.5707963267949 rather than some
// neighbour of it, and the hole of (x^2-1)/(x-1) is at 1 exactly.
#pragma once

#include <charconv>
#include <cmath>

#include "analysis/interval_ops.h"

namespace kv::analysis {

inline double simple_point(double lo, double hi) {
  if (lo <= 0 && hi >= 0) return 0;
  const double m = mid({lo, hi});
  if (!std::isfinite(m)) return m;
  char buf[40];
  for (int digits = 1; digits <= 17; ++digits) {
    const auto end = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::scientific,
                                   digits - 1).ptr;
    double v = m;
    std::from_chars(buf, end, v);
    if (v >= lo && v <= hi) return v;
  }
  return m;
}

}  // namespace kv::analysis
