// The point of an interval a user reads: the shortest decimal inside it,
// found by rounding the middle to ever more digits.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/simple_point.h"

namespace kv::analysis {
namespace {

TEST(SimplePoint, ShortestDecimalInside) {
  const double half_pi = 1.5707963267948966;
  struct Case {
    double lo, hi, want;
  } cases[] = {
      {-1, 2, 0},                                           // holds zero
      {-0.0, 0.0, 0},
      {0.9999999, 1.0000001, 1},                            // a hole at 1 exactly
      {half_pi - 1e-13, half_pi + 1e-13, 1.5707963267949},  // 1.570796326795 is outside
      {-3.7, -3.1, -3.4},                                   // -3, from the middle, is outside
      {2.5, 2.5, 2.5},                                      // one double
      {0x1p-1074, 0x1p-1073, 0x1p-1074},                    // no double between: the lower end
      {1e300, 1.7e308, 9e307},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(simple_point(c.lo, c.hi), c.want) << c.lo << " " << c.hi;
  }
  EXPECT_TRUE(std::isnan(simple_point(NAN, 1)));
  EXPECT_EQ(simple_point(1, INFINITY), INFINITY);
}

}  // namespace
}  // namespace kv::analysis
