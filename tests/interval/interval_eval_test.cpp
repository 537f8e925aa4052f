// Interval evaluation of whole formulas: known ranges, derivatives against
// closed forms, the definedness and continuity flags at the hard points.
#include <gtest/gtest.h>

#include <cmath>

#include "interval/interval_eval.h"
#include "interval_test_support.h"

namespace kv::interval {
namespace {

Enclosure eval(const std::string& text, Interval x, int order = 0, double angle = kRadians) {
  test::Formula c = test::compile(text);
  EXPECT_TRUE(c.ok) << text;
  if (!c.ok) return {};
  return evaluate_interval(c.f(), x, order, angle);
}

TEST(IntervalEval, Smoke) {
  Enclosure e = eval("x^2", {-1, 2}, 2);
  EXPECT_EQ(e.f[0].lo, 0);
  EXPECT_EQ(e.f[0].hi, 4);
  EXPECT_EQ(e.defined, Defined::kEverywhere);
  EXPECT_TRUE(e.smooth);
  EXPECT_EQ(e.f[1].lo, -2);
  EXPECT_EQ(e.f[1].hi, 4);
  EXPECT_EQ(e.f[2].lo, 2);
  EXPECT_EQ(e.f[2].hi, 2);
}

}  // namespace
}  // namespace kv::interval
