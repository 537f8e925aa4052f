// Random formulas of the language's grammar over random intervals: at points
// of each interval the double evaluator's value lies in the enclosure (the
// rule the fuzz target checks, fuzz/interval/inclusion_check.h), for the
// value alone and with derivatives asked, in both angle modes.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "inclusion_check.h"
#include "interval_test_support.h"

namespace kv::interval {
namespace {

const char* const kUnary[] = {"abs", "sqrt", "sqr", "cbrt", "exp", "ln", "lb", "lg", "sin", "cos",
                              "tan", "cot", "sec", "csc", "asin", "acos", "atan", "acot", "asec",
                              "acsc", "sinh", "cosh", "tanh", "coth", "sech", "csch", "asinh",
                              "acosh", "atanh", "acoth", "asech", "acsch", "gamma", "fac", "sgn",
                              "floor", "ceil", "round", "frac", "i_ellc1", "i_ellc2"};
const char* const kBinary[] = {"atan2", "logn", "root", "min", "max", "i_ell1", "i_ell2"};
const char* const kOperators[] = {"+", "-", "*", "/", "^"};
const char* const kLeaves[] = {"x", "x", "x", "0.5", "2", "3", "0.1", "1.5", "pi", "e", "-x", "10"};

std::string random_formula(std::mt19937_64& g, int depth) {
  const unsigned pick = static_cast<unsigned>(g() % 10);
  if (depth == 0 || pick < 3) return kLeaves[g() % std::size(kLeaves)];
  if (pick < 6) {
    return std::string(kUnary[g() % std::size(kUnary)]) + "(" + random_formula(g, depth - 1) + ")";
  }
  if (pick < 9) {
    return "(" + random_formula(g, depth - 1) + ")" + kOperators[g() % std::size(kOperators)] + "(" +
           random_formula(g, depth - 1) + ")";
  }
  if (g() % 4 == 0) {
    return "gaussd(" + random_formula(g, depth - 1) + ", 1, " + random_formula(g, depth - 1) + ")";
  }
  return std::string(kBinary[g() % std::size(kBinary)]) + "(" + random_formula(g, depth - 1) + ", " +
         random_formula(g, depth - 1) + ")";
}

Interval random_interval(std::mt19937_64& g) {
  std::uniform_real_distribution<double> u(-1, 1);
  const double c = u(g) * std::pow(10.0, static_cast<int>(g() % 5) - 1);
  switch (g() % 3) {
    case 0: return point(c);
    case 1: return {c, c + 1e-6 * std::fabs(u(g))};
    default: return {c, c + 2 * std::fabs(u(g))};
  }
}

TEST(IntervalRandomFormulas, DoubleValuesLieInTheEnclosure) {
  std::mt19937_64 g(42);
  IntervalEvaluator ev, probe;
  int compiled = 0, failures = 0;
  for (int i = 0; i < 4000 && failures < 10; ++i) {
    const std::string text = random_formula(g, 4);
    test::Formula c = test::compile(text);
    if (!c.ok) continue;
    ++compiled;
    const CompiledFormula& f = c.f();
    const double scale = check::literal_scale(f.code);
    for (int j = 0; j < 4; ++j) {
      const double angle = g() % 3 == 0 ? kDegrees : kRadians;
      const Interval x = random_interval(g);
      const Enclosure e = ev.evaluate(f, x, static_cast<int>(g() % 3), angle);
      for (double p : {x.lo, x.hi, 0.5 * x.lo + 0.5 * x.hi}) {
        const std::string what = check::at_point(probe, f, e, p, angle, scale);
        if (what.empty()) continue;
        ++failures;
        ADD_FAILURE() << what << ": " << text << " on [" << x.lo << ", " << x.hi << "] at " << p
                      << (angle == kDegrees ? " (deg)" : "") << " enclosure [" << e.f[0].lo << ", "
                      << e.f[0].hi << "]";
      }
    }
  }
  EXPECT_GT(compiled, 2000);
}

// The value alone runs without series; it must give the very interval and
// flags that the series run gives as its first coefficient.
TEST(IntervalRandomFormulas, TheValueAloneIsTheSeriesRunsValue) {
  std::mt19937_64 g(7);
  IntervalEvaluator alone, series;
  int compared = 0, failures = 0;
  for (int i = 0; i < 3000 && failures < 10; ++i) {
    const std::string text = random_formula(g, 4);
    test::Formula c = test::compile(text);
    if (!c.ok) continue;
    for (int j = 0; j < 4; ++j) {
      const double angle = g() % 3 == 0 ? kDegrees : kRadians;
      const Interval x = random_interval(g);
      const Enclosure a = alone.evaluate(c.f(), x, 0, angle);
      const Enclosure s = series.evaluate(c.f(), x, 1 + static_cast<int>(g() % 2), angle);
      ++compared;
      const bool same = std::bit_cast<uint64_t>(a.f[0].lo) == std::bit_cast<uint64_t>(s.f[0].lo) &&
                        std::bit_cast<uint64_t>(a.f[0].hi) == std::bit_cast<uint64_t>(s.f[0].hi) &&
                        a.defined == s.defined && a.continuous == s.continuous && a.smooth == s.smooth;
      if (same) continue;
      ++failures;
      ADD_FAILURE() << text << " on [" << x.lo << ", " << x.hi << "]" << (angle == kDegrees ? " (deg)" : "")
                    << ": [" << a.f[0].lo << ", " << a.f[0].hi << "] " << int(a.defined) << a.continuous
                    << " vs [" << s.f[0].lo << ", " << s.f[0].hi << "] " << int(s.defined) << s.continuous;
    }
  }
  EXPECT_GT(compared, 6000);
}

// The value run takes x with the steps around it at once (products of
// linear factors, sums of powers, constants fused in): the same interval
// and flags as the series run on the intervals where a rounding, an
// exactness or a flag is decided: empty, points where a factor is 0 or 1,
// unbounded, overflowing, subnormal.
TEST(IntervalRandomFormulas, FusedStepsAreTheSeriesRunsValue) {
  const char* const formulas[] = {
      "(x+1)(x-1)(x+2)(x-2)(x+3)(x-3)", "((x+1)(x-1))/(1+x^2+x^4)", "x^3-4.5x", "2-(x+1)(x-0.1)x",
      "x^2+x^0-x^-1", "(x-1e308)(x+1e308)", "0.1x*(x-1)-3x^2", "(x+1)/(x-1)-(1-x)/x", "(x-1)*2", "x*x-x"};
  const Interval xs[] = {empty(),       point(0),           point(1),         point(-1),
                         {-1, 1},       whole(),            {-kInf, 0},       {0, kInf},
                         {1e300, 1e308}, {1e-320, 1e-310}, {2, next_up(2)}, {-3.5, -2.25}};
  IntervalEvaluator alone, series;
  for (const char* text : formulas) {
    test::Formula c = test::compile(text);
    ASSERT_TRUE(c.ok) << text;
    for (const Interval x : xs) {
      const Enclosure a = alone.evaluate(c.f(), x, 0, kRadians);
      const Enclosure s = series.evaluate(c.f(), x, 1, kRadians);
      EXPECT_TRUE(std::bit_cast<uint64_t>(a.f[0].lo) == std::bit_cast<uint64_t>(s.f[0].lo) &&
                  std::bit_cast<uint64_t>(a.f[0].hi) == std::bit_cast<uint64_t>(s.f[0].hi) &&
                  a.defined == s.defined && a.continuous == s.continuous && a.smooth == s.smooth)
          << text << " on [" << x.lo << ", " << x.hi << "]: [" << a.f[0].lo << ", " << a.f[0].hi << "] "
          << int(a.defined) << a.continuous << a.smooth << " vs [" << s.f[0].lo << ", " << s.f[0].hi
          << "] " << int(s.defined) << s.continuous << s.smooth;
    }
  }
}

}  // namespace
}  // namespace kv::interval
