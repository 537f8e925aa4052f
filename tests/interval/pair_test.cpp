// The rules that round both ends at once give the very interval of their
// one-end-at-a-time twins, bit for bit: on every pair of intervals whose
// ends are the doubles where a rounding shortcut ends (0 of either sign,
// subnormals, the exactness floor, short and long mantissas, overflow,
// infinity), and on random ones.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "interval/interval_fn.h"
#include "interval/pair.h"

namespace kv::interval {
namespace {

bool same(Interval a, Interval b) {
  return std::bit_cast<uint64_t>(a.lo) == std::bit_cast<uint64_t>(b.lo) &&
         std::bit_cast<uint64_t>(a.hi) == std::bit_cast<uint64_t>(b.hi);
}

std::vector<Interval> edge_intervals() {
  const double magnitudes[] = {0,     4.9e-324, 1e-310, 0x1p-961, 0x1p-960, 0x1.8p-960, 0.1,    1,
                               1.5,   3,        1 + DBL_EPSILON,  1e154,    0x1p512,    1e300,
                               DBL_MAX, kInf};
  std::vector<double> ends;
  for (double m : magnitudes) {
    ends.push_back(m);
    ends.push_back(-m);
  }
  std::vector<Interval> out{empty()};
  for (double lo : ends) {
    for (double hi : ends) {
      if (lo <= hi && lo != kInf && hi != -kInf) out.push_back({lo, hi});
    }
  }
  return out;
}

// Fails with the operation and operands of the first difference.
void expect_twins(const std::vector<Interval>& xs, int& failures) {
  for (Interval a : xs) {
    const Interval r3 = is_empty(a) ? a : powi(a, 3);
    const struct { const char* name; Interval both, one; } unary[] = {
        {"sqr", sqr_both(a), sqr(a)}, {"cube", is_empty(a) ? a : cube_both(a), r3}};
    for (const auto& u : unary) {
      if (same(u.both, u.one) || ++failures > 10) continue;
      ADD_FAILURE() << u.name << " [" << a.lo << ", " << a.hi << "]";
    }
    for (Interval b : xs) {
      const struct { const char* name; Interval both, one; } binary[] = {
          {"+", add_both(a, b), add(a, b)}, {"-", sub_both(a, b), sub(a, b)},
          {"*", mul_both(a, b), mul(a, b)}, {"/", div_both(a, b), div(a, b)}};
      for (const auto& o : binary) {
        if (same(o.both, o.one) || ++failures > 10) continue;
        ADD_FAILURE() << "[" << a.lo << ", " << a.hi << "] " << o.name << " [" << b.lo << ", " << b.hi
                      << "]: [" << o.both.lo << ", " << o.both.hi << "] vs [" << o.one.lo << ", " << o.one.hi
                      << "]";
      }
    }
  }
}

TEST(IntervalBothEnds, AreTheOneEndRulesBitForBit) {
  int failures = 0;
  expect_twins(edge_intervals(), failures);
  // Random ends, half of them short (exact products), over all magnitudes.
  std::mt19937_64 g(11);
  std::vector<Interval> xs;
  for (int i = 0; i < 1000; ++i) {
    double e[2];
    for (double& v : e) {
      const uint64_t bits = g();
      v = std::ldexp(static_cast<double>(bits >> 11) * 0x1p-53, static_cast<int>(g() % 2100) - 1050);
      if (g() % 2) v = std::bit_cast<double>(std::bit_cast<uint64_t>(v) & ~uint64_t{0x7FFFFFF});
      if (g() % 2) v = -v;
    }
    xs.push_back({std::min(e[0], e[1]), std::max(e[0], e[1])});
  }
  expect_twins(xs, failures);
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace kv::interval
