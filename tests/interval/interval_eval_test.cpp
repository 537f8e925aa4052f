// Interval evaluation of whole formulas: known ranges, derivatives against
// closed forms, the definedness and continuity flags at the hard points.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "expr/evaluator.h"
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

bool overlaps(Interval a, Interval b) { return !is_empty(intersect(a, b)); }

// The Taylor derivatives of a formula, f[1] and f[2], against its closed-form
// derivatives evaluated as intervals at random points: both enclose the
// truth, so they must meet. The second derivative also runs through d( ),
// which must give the same as asking for order 1 of the inner formula.
struct DerivativeCase {
  const char* f;
  const char* d1;
  const char* d2;
  double lo, hi;  // points drawn from here
  bool deg = false;
};

const DerivativeCase kDerivatives[] = {
    {"x^5-5x^3+4x", "5x^4-15x^2+4", "20x^3-30x", -3, 3},
    {"sin(x)*cos(x)+exp(-x*x)", "cos(2x)-2x*exp(-x^2)", "-2sin(2x)+(4x^2-2)exp(-x^2)", -4, 4},
    {"tan(x)", "1/cos(x)^2", "2sin(x)/cos(x)^3", -1.5, 1.5},
    {"cot(x)", "-1/sin(x)^2", "2cos(x)/sin(x)^3", 0.1, 3},
    {"sec(x)", "sin(x)/cos(x)^2", "(1+sin(x)^2)/cos(x)^3", -1.5, 1.5},
    {"csc(x)", "-cos(x)/sin(x)^2", "(1+cos(x)^2)/sin(x)^3", 0.1, 3},
    {"sin(x)", "cos(x)*pi/180", "-sin(x)*(pi/180)^2", -400, 400, true},
    {"asin(x)", "1/sqrt(1-x^2)", "x/(1-x^2)^1.5", -0.99, 0.99},
    {"acos(x)", "-1/sqrt(1-x^2)", "-x/(1-x^2)^1.5", -0.99, 0.99},
    {"atan(x)", "1/(1+x^2)", "-2x/(1+x^2)^2", -5, 5},
    {"acot(x)", "-1/(1+x^2)", "2x/(1+x^2)^2", -5, 5},
    {"asec(x)", "1/(x^2*sqrt(1-1/x^2))", "(1-2x^2)/(x^3 (x^2-1) sqrt(1-1/x^2))", 1.01, 9},
    {"acsc(x)", "-1/(x^2*sqrt(1-1/x^2))", "(2x^2-1)/(x^3 (x^2-1) sqrt(1-1/x^2))", 1.01, 9},
    {"sinh(x)", "cosh(x)", "sinh(x)", -5, 5},
    {"cosh(x)", "sinh(x)", "cosh(x)", -5, 5},
    {"tanh(x)", "1/cosh(x)^2", "-2tanh(x)/cosh(x)^2", -5, 5},
    {"coth(x)", "-1/sinh(x)^2", "2cosh(x)/sinh(x)^3", 0.1, 5},
    {"sech(x)", "-tanh(x)/cosh(x)", "(2tanh(x)^2-1)/cosh(x)", -5, 5},
    {"csch(x)", "-cosh(x)/sinh(x)^2", "(1+2/sinh(x)^2)/sinh(x)", 0.1, 5},
    {"asinh(x)", "1/sqrt(x^2+1)", "-x/(x^2+1)^1.5", -5, 5},
    {"acosh(x)", "1/sqrt(x^2-1)", "-x/(x^2-1)^1.5", 1.01, 9},
    {"atanh(x)", "1/(1-x^2)", "2x/(1-x^2)^2", -0.99, 0.99},
    {"acoth(x)", "1/(1-x^2)", "2x/(1-x^2)^2", 1.01, 9},
    {"asech(x)", "-1/(x sqrt(1-x^2))", "(1-2x^2)/(x^2 (1-x^2)^1.5)", 0.01, 0.99},
    {"acsch(x)", "-1/(x sqrt(1+x^2))", "(1+2x^2)/(x^2 (1+x^2)^1.5)", 0.01, 9},
    {"ln(x)", "1/x", "-1/x^2", 0.01, 9},
    {"lb(x)", "1/(x ln(2))", "-1/(x^2 ln(2))", 0.01, 9},
    {"lg(x)", "1/(x ln(10))", "-1/(x^2 ln(10))", 0.01, 9},
    {"logn(x, 3)", "1/(x ln(3))", "-1/(x^2 ln(3))", 0.01, 9},
    {"sqrt(x)", "0.5/sqrt(x)", "-0.25/x^1.5", 0.01, 9},
    {"cbrt(x)", "1/(3 cbrt(x)^2)", "-2/(9 cbrt(x)^5)", -9, -0.01},
    {"root(x, 3)", "1/(3 cbrt(x)^2)", "-2/(9 cbrt(x)^5)", -9, -0.01},
    {"x^(1/3)", "1/(3 cbrt(x)^2)", "-2/(9 cbrt(x)^5)", 0.01, 9},
    {"x^x", "x^x (ln(x)+1)", "x^x ((ln(x)+1)^2+1/x)", 0.05, 4},
    {"2^x", "2^x ln(2)", "2^x ln(2)^2", -5, 5},
    {"x^-3", "-3x^-4", "12x^-5", 0.1, 5},
    // powers and products of factors of unit slope, the largest power multiplied out
    {"(x+0.7)^2", "2(x+0.7)", "2", -3, 3},
    {"(x-1.1)^7", "7(x-1.1)^6", "42(x-1.1)^5", -1, 3},
    {"(x+0.3)^64", "64(x+0.3)^63", "4032(x+0.3)^62", -1.2, 0.6},
    {"(x+1)(x-1)(x+2)(x-2)(x+3)(x-3)", "6x^5-56x^3+98x", "30x^4-168x^2+98", -3.5, 3.5},
    {"(x+0.1)(x-0.7)x", "3x^2-1.2x-0.07", "6x-1.2", -2, 2},
    {"(-x)^0.2", "-0.2(-x)^-0.8", "-0.16(-x)^-1.8", -5, -0.1},
    {"exp(sin(x))", "cos(x) exp(sin(x))", "(cos(x)^2-sin(x)) exp(sin(x))", -4, 4},
    {"atan2(sin(x), x)", "(x cos(x)-sin(x))/(x^2+sin(x)^2)", "", 0.1, 3},
    {"gaussd(x, 1, 2)", "-(x-1)/4*gaussd(x, 1, 2)", "((x-1)^2/16-1/4) gaussd(x, 1, 2)", -5, 5},
    {"abs(x^3)", "3x^2", "6x", 0.1, 3},
    {"max(x, x^2)", "2x", "2", 1.1, 3},
    {"min(x, x^2)", "1", "0", 1.1, 3},
    {"frac(x)", "1", "0", 0.1, 0.9},
    {"floor(x)+x", "1", "0", 0.1, 0.9},
};

TEST(IntervalEval, DerivativesMeetTheirClosedForms) {
  std::mt19937_64 g(7);
  for (const DerivativeCase& c : kDerivatives) {
    const double angle = c.deg ? kDegrees : kRadians;
    test::Formula f = test::compile(c.f), d1 = test::compile(c.d1), d2 = test::compile(c.d2);
    const std::string nested = std::string("d(d(") + c.f + "))";
    test::Formula dd = test::compile(nested);
    ASSERT_TRUE(f.ok && d1.ok && dd.ok) << c.f;
    IntervalEvaluator ev;
    for (int i = 0; i < 200; ++i) {
      const double x = c.lo + (c.hi - c.lo) * std::uniform_real_distribution<double>(0, 1)(g);
      const Interval X = i % 2 ? point(x) : Interval{x, x + 1e-9};
      const Enclosure e = ev.evaluate(f.f(), X, 2, angle);
      const Enclosure e1 = ev.evaluate(d1.f(), X, 0, angle);
      ASSERT_EQ(e.defined, Defined::kEverywhere) << c.f << " at " << x;
      EXPECT_TRUE(overlaps(e.f[1], e1.f[0])) << c.f << " f' at " << x << ": [" << e.f[1].lo << ", "
                                             << e.f[1].hi << "] vs " << e1.f[0].lo;
      if (!d2.ok) continue;
      const Enclosure e2 = ev.evaluate(d2.f(), X, 0, angle);
      const Enclosure n = ev.evaluate(dd.f(), X, 0, angle);
      EXPECT_TRUE(overlaps(e.f[2], e2.f[0])) << c.f << " f'' at " << x << ": [" << e.f[2].lo
                                             << ", " << e.f[2].hi << "] vs " << e2.f[0].lo;
      EXPECT_TRUE(overlaps(n.f[0], e2.f[0])) << nested << " at " << x;
    }
    // Over a wide interval the enclosures hold the derivatives at its points.
    for (int i = 0; i < 50; ++i) {
      const double w = 0.2 * (c.hi - c.lo);
      const double x = c.lo + (c.hi - c.lo - w) * std::uniform_real_distribution<double>(0, 1)(g);
      const Enclosure e = ev.evaluate(f.f(), {x, x + w}, 2, angle);
      for (double t : {0.0, 0.37, 1.0}) {
        const Interval p = point(x + t * w);
        EXPECT_TRUE(overlaps(e.f[1], ev.evaluate(d1.f(), p, 0, angle).f[0])) << c.f << " on " << x;
        if (d2.ok) {
          EXPECT_TRUE(overlaps(e.f[2], ev.evaluate(d2.f(), p, 0, angle).f[0])) << c.f;
        }
      }
    }
  }
}

// Ranges, definedness and continuity at the edges of domains and at poles.
struct RangeCase {
  const char* f;
  Interval x;
  Interval contains;  // must lie inside f[0]
  Defined defined;
  bool continuous;
  double angle = kRadians;
};

const RangeCase kRanges[] = {
    {"1/x", {-1, 1}, {-1e300, 1e300}, Defined::kMaybe, false},
    {"1/x", {0, 0}, empty(), Defined::kNowhere, false},
    {"1/x", {0, 1}, {1, 1e300}, Defined::kMaybe, false},
    {"tan(x)", {1.5, 1.6}, {-1e10, 1e10}, Defined::kMaybe, false},
    {"tan(x)", {1.5, 1.57}, {14.11, 1255}, Defined::kEverywhere, true},
    {"tan(x)", {89, 91}, {-1e10, 1e10}, Defined::kMaybe, false, kDegrees},
    {"tan(x)", {1e22, 1e22}, {-1.628778225606898, -1.628778225606898}, Defined::kEverywhere, true},
    {"sin(x)", {1e22, 1e22}, {-0.8522008497671888, -0.8522008497671888}, Defined::kEverywhere, true},
    {"sin(x)", {0, 3}, {0, 1}, Defined::kEverywhere, true},
    {"cos(x)", {3, 3.3}, {-1, -0.988}, Defined::kEverywhere, true},
    {"sin(x)", {90, 90}, {1, 1}, Defined::kEverywhere, true, kDegrees},
    {"sqrt(x)", {-1, 4}, {0, 2}, Defined::kMaybe, false},
    {"sqrt(x)", {-2, -1}, empty(), Defined::kNowhere, false},
    {"sqrt(x)", {0, 4}, {0, 2}, Defined::kEverywhere, true},
    {"ln(x)", {-1, 1}, {-1e300, 0}, Defined::kMaybe, false},
    {"asin(x)", {0.5, 2}, {0.5236, 1.5707}, Defined::kMaybe, false},
    {"acosh(x)", {1, 2}, {0, 1.3169}, Defined::kEverywhere, true},
    {"atanh(x)", {0.5, 1}, {0.5494, 1e300}, Defined::kMaybe, false},
    {"x^x", {0, 2}, {0.6922, 4}, Defined::kMaybe, false},
    {"0^x", {-1, 1}, {0, 0}, Defined::kMaybe, false},
    {"x^0", {-1, 1}, {1, 1}, Defined::kMaybe, false},
    {"(-8)^(1/3)", {0, 1}, {-2, -2}, Defined::kEverywhere, true},
    {"x^(1/3)", {-8, 27}, {-2, 3}, Defined::kEverywhere, true},
    {"x^0.5", {-4, -1}, empty(), Defined::kNowhere, false},
    {"x^2.5", {-4, 4}, {0, 32}, Defined::kMaybe, false},
    {"x^-2", {-1, 1}, {1, 1e300}, Defined::kMaybe, false},
    {"floor(x)", {0.5, 1}, {0, 1}, Defined::kEverywhere, false},
    {"floor(x)", {0.5, 0.9}, {0, 0}, Defined::kEverywhere, true},
    {"ceil(x)", {0.5, 1}, {1, 1}, Defined::kEverywhere, true},
    {"sgn(x)", {-1, 0}, {-1, 0}, Defined::kEverywhere, false},
    {"frac(x)", {-0.5, 0.5}, {-0.5, 0.5}, Defined::kEverywhere, true},
    {"frac(x)", {0.5, 1.5}, {0, 0.99}, Defined::kEverywhere, false},
    {"abs(x)-1", {-1, 1}, {-1, 0}, Defined::kEverywhere, true},
    {"fac(x)", {2.4, 2.6}, {2, 6}, Defined::kEverywhere, false},
    {"fac(x)", {-1, 0.3}, {1, 1}, Defined::kMaybe, false},
    {"gamma(x)", {-0.5, 0.5}, {-1e300, 1e300}, Defined::kMaybe, false},
    {"gamma(x)", {0, 0}, empty(), Defined::kNowhere, false},
    {"gamma(x)", {1, 3}, {0.8857, 2}, Defined::kEverywhere, true},
    {"gamma(x)", {-1.6, -1.4}, {2.31, 2.65}, Defined::kEverywhere, true},
    {"atan2(x, -1)", {-1, 1}, {-3.14159, 3.14159}, Defined::kEverywhere, false},
    {"atan2(1, x)", {-1, 1}, {0.7854, 2.3561}, Defined::kEverywhere, true},
    {"logn(x, 1)", {1, 2}, empty(), Defined::kNowhere, false},  // ln(1) is exactly 0
    {"gaussd(x, 0, 0)", {1, 2}, empty(), Defined::kNowhere, false},
    {"d(abs(x))", {-1, 1}, {-1, 1}, Defined::kMaybe, false},
    {"d(floor(x))", {0.5, 1.5}, {0, 0}, Defined::kMaybe, false},
    {"d(x^3)+x-x", {2, 2}, {12, 12}, Defined::kEverywhere, true},
    {"d(d(x^4 / 12 - 3/2 x^2))", {-1, 2}, {-3, 1}, Defined::kEverywhere, true},
    {"d(d(d(x^4)))", {1, 1}, {24, 24}, Defined::kEverywhere, true},
    {"0.1*x", {3, 3}, {0.3, 0.3}, Defined::kEverywhere, true},
    {"e400", {0, 1}, {1087.312731383618, 1087.312731383618}, Defined::kEverywhere, true},  // e times 400
    {"12345678901234567/x", {1, 1}, {12345678901234567.0, 12345678901234567.0}, Defined::kEverywhere, true},
    {"rand", {0, 1}, {0, 0.999}, Defined::kEverywhere, false},
};

TEST(IntervalEval, RangesAndFlagsAtHardPoints) {
  for (const RangeCase& c : kRanges) {
    const Enclosure e = eval(c.f, c.x, 0, c.angle);
    const std::string what = std::string(c.f) + " on [" + std::to_string(c.x.lo) + ", " +
                             std::to_string(c.x.hi) + "]";
    EXPECT_TRUE(subset(c.contains, e.f[0])) << what << ": [" << e.f[0].lo << ", " << e.f[0].hi << "]";
    EXPECT_EQ(e.defined, c.defined) << what;
    EXPECT_EQ(e.continuous, c.continuous) << what;
  }
}

// The decimal 0.1 is no double: its enclosure has width; 0.5 and whole
// numbers are points; a literal beyond the doubles is unbounded above.
TEST(IntervalEval, DecimalLiteralsAreExactValues) {
  const Enclosure e = eval("x*0+0.1", point(1));
  EXPECT_LT(e.f[0].lo, 0.1);
  EXPECT_GT(e.f[0].hi, 0.1);
  const Enclosure big = eval("x+1" + std::string(400, '0'), {0, 1});
  EXPECT_EQ(big.f[0].hi, kInf);
  EXPECT_GE(big.f[0].lo, 1.7e308);
  const Enclosure half = eval("x-0.5", point(0.5));
  EXPECT_EQ(half.f[0].lo, 0);
  EXPECT_EQ(half.f[0].hi, 0);
  const Enclosure pi = eval("sin(pi)", point(0));
  EXPECT_TRUE(contains(pi.f[0], 0) && pi.f[0].hi > 0);
}

// gamma'(1) = -Euler's constant, gamma''(1) = gamma^2 + pi^2/6, and between
// the poles gamma'(-1.5) = gamma(-1.5) psi(2.5) = 4 sqrt(pi)/3 (8/3 - gamma - 2 ln 2).
TEST(IntervalEval, GammaDerivativesAtKnownPoints) {
  constexpr double kEuler = 0.5772156649015329;
  const double cases[][3] = {
      {1, -kEuler, kEuler * kEuler + M_PI * M_PI / 6},
      {-1.5, 4 * std::sqrt(M_PI) / 3 * (8.0 / 3 - kEuler - 2 * M_LN2), NAN},
  };
  for (const auto& c : cases) {
    const Enclosure e = eval("gamma(x)", point(c[0]), 2);
    EXPECT_TRUE(overlaps(e.f[1], {c[1] - 1e-12, c[1] + 1e-12})) << c[0] << ": " << e.f[1].lo;
    EXPECT_LT(e.f[1].hi - e.f[1].lo, 1e-10);
    if (!std::isnan(c[2])) {
      EXPECT_TRUE(overlaps(e.f[2], {c[2] - 1e-12, c[2] + 1e-12})) << e.f[2].lo;
    }
    EXPECT_TRUE(e.smooth);
  }
  // Wide intervals on both sides of the poles stay finite and correct in sign.
  const Enclosure left = eval("gamma(x)", {-1.9, -1.1}, 1);
  EXPECT_TRUE(std::isfinite(left.f[1].lo) && std::isfinite(left.f[1].hi));
  const Enclosure right = eval("gamma(x)", {3, 4}, 1);
  EXPECT_GT(right.f[1].lo, 0);
}

TEST(IntervalEval, UncertainOnlyWithRand) {
  EXPECT_TRUE(eval("x+rand", {0, 1}).uncertain);
  EXPECT_FALSE(eval("x+1", {0, 1}).uncertain);
}

TEST(IntervalEval, SmoothExcludesCorners) {
  EXPECT_FALSE(eval("abs(x)", {-1, 1}, 1).smooth);
  EXPECT_TRUE(eval("abs(x)", {-1, 1}, 1).continuous);
  EXPECT_TRUE(eval("abs(x)", {0.5, 1}, 1).smooth);
  EXPECT_FALSE(eval("sqrt(x)", {0, 1}, 1).smooth);
}

// Empty code has no value.
TEST(IntervalEval, FaultyCodeIsNowhereOrWhole) {
  CompiledFormula empty_code;
  const Enclosure e = evaluate_interval(empty_code, {0, 1}, 2, kRadians);
  EXPECT_EQ(e.defined, Defined::kNowhere);
}

// Equations in x and y over boxes: the enclosure holds the double
// evaluator's values at random points of the box, the flags speak of the
// whole box, and without a y interval y stays unknown as before.
TEST(IntervalEval, PlaneBoxesEncloseTheValuesInXAndY) {
  struct Case {
    const char* text;
    Interval x, y;
    bool continuous;
  };
  const Case cases[] = {
      {"x^2+y^2=9", {-1, 2}, {0.5, 3}, true},
      {"x^3+y^3=3xy", {-0.1, 0.1}, {1.4, 1.5}, true},
      {"sin(x^2+y^2)=cos(x*y)", {2, 2.25}, {-3, -2.5}, true},
      {"y/x=1", {-1, 1}, {2, 3}, false},
      {"y/x=1", {1, 2}, {-1, 1}, true},
      {"sqrt(y)=x", {0, 1}, {-1, 1}, false},
      {"abs(x)+abs(y)<=1", {-0.5, 0.5}, {-2, 2}, true},
  };
  std::mt19937 rng(19);
  for (const Case& c : cases) {
    test::Formula f = test::compile(c.text);
    ASSERT_TRUE(f.ok) << c.text;
    IntervalEvaluator ev;
    const Enclosure e = ev.evaluate_plane(f.f(), c.x, c.y, kRadians);
    EXPECT_EQ(e.continuous, c.continuous) << c.text;
    Evaluator point(f.panel, kPanelFunction);
    std::uniform_real_distribution<double> ux(c.x.lo, c.x.hi), uy(c.y.lo, c.y.hi);
    for (int k = 0; k < 200; ++k) {
      const double vars[6] = {ux(rng), uy(rng), 0, 0, 0, 0};
      const double v = point.evaluate(f.f(), vars);
      if (point.undefined()) continue;
      EXPECT_TRUE(e.f[0].lo <= v && v <= e.f[0].hi) << c.text << " at " << vars[0] << ", " << vars[1];
    }
    const Enclosure one = ev.evaluate(f.f(), c.x, 0, kRadians);
    EXPECT_FALSE(one.continuous) << c.text << ": without a y interval y is unknown";
  }
}

}  // namespace
}  // namespace kv::interval
