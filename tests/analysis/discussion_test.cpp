// The curve discussion against known answers: every true point of a case is
// listed with the true x inside its enclosure, the points marked "must
// prove" are proven, and no proven point of a kind the case lists
// completely is anything but one of its true points.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/discussion.h"
#include "analysis/place_proof.h"
#include "expr/compiler.h"

namespace kv::analysis {
namespace {

using K = FeatureKind;

struct Point {
  K kind;
  double x;
  bool prove = true;
  int formula = 0, other = -1;
};

struct Case {
  const char* text;
  double a, b;
  std::vector<Point> points;
  // Kinds whose true points the case lists completely: any other proven
  // point of these kinds is false.
  std::vector<K> complete;
  bool degrees = false;
};

const double kPi = 3.141592653589793;

ExprPanel compiled(const char* text, bool degrees) {
  ExprPanel panel;
  panel.angle_mode = degrees ? kDegrees : kRadians;
  panel.source = text;
  EXPECT_TRUE(compile_formulas(panel, CompileEnv{})) << text;
  return panel;
}

Discussion run(const ExprPanel& panel, double a, double b, double budget = kDefaultBudgetMs) {
  std::vector<int> all;
  for (int i = 0; i < panel.count(); ++i) all.push_back(i);
  return discuss(panel, all, a, b, budget);
}

bool holds(const Feature& f, const Point& p) {
  // The expected x are doubles computed with rounding of their own.
  const double slack = 1e-15 * std::fabs(p.x) + 1e-300;
  return f.kind == p.kind && f.formula == p.formula && f.other == p.other &&
         f.x_lo - slack <= p.x && p.x <= f.x_hi + slack;
}

void check_case(const Case& c) {
  SCOPED_TRACE(c.text);
  const ExprPanel panel = compiled(c.text, c.degrees);
  const Discussion d = run(panel, c.a, c.b);
  for (const Point& p : c.points) {
    const Feature* found = nullptr;
    for (const Feature& f : d.features) {
      if (holds(f, p) && (!found || f.proven)) found = &f;
    }
    ASSERT_TRUE(found) << feature_name(p.kind) << " at " << p.x << " missing";
    if (p.prove) {
      EXPECT_TRUE(found->proven) << feature_name(p.kind) << " at " << p.x;
    }
    if (found->proven && found->has_x) {
      EXPECT_LE(found->x_hi - found->x_lo, 1e-9 * (1 + std::fabs(p.x))) << p.x;
    }
  }
  for (const Feature& f : d.features) {
    EXPECT_LE(f.x_lo, f.x_hi);
    if (!f.proven) continue;
    bool listed_kind = false, true_point = false;
    for (K k : c.complete) listed_kind = listed_kind || k == f.kind;
    for (const Point& p : c.points) true_point = true_point || holds(f, p);
    EXPECT_TRUE(!listed_kind || true_point)
        << "false " << feature_name(f.kind) << " at " << f.x << " [" << f.x_lo << ", " << f.x_hi << "]";
  }
  for (size_t i = 1; i < d.features.size(); ++i) {
    const auto key = [](const Feature& f) { return f.has_x ? f.x : f.x_lo; };
    EXPECT_LE(key(d.features[i - 1]), key(d.features[i]));
  }
}

const std::vector<K> kSmooth = {K::kZero, K::kMaximum, K::kMinimum, K::kInflection, K::kSaddle};

TEST(Discussion, PolynomialsFindEveryPointAndProveTheSimpleOnes) {
  const double e1 = std::sqrt((15 - std::sqrt(145.0)) / 10), e2 = std::sqrt((15 + std::sqrt(145.0)) / 10);
  const double w = std::sqrt(1.5);
  const Case cases[] = {
      {"x^5-5x^3+4x", -3, 3,
       {{K::kZero, -2}, {K::kZero, -1}, {K::kZero, 0}, {K::kZero, 1}, {K::kZero, 2},
        {K::kMaximum, -e2}, {K::kMinimum, -e1}, {K::kMaximum, e1}, {K::kMinimum, e2},
        {K::kInflection, -w}, {K::kInflection, 0}, {K::kInflection, w}, {K::kYIntercept, 0}},
       kSmooth},
      // A double zero is found but cannot be proven.
      {"(x-1)^2*(x+2)", -3, 3,
       {{K::kZero, -2}, {K::kZero, 1, false}, {K::kMaximum, -1}, {K::kMinimum, 1},
        {K::kInflection, 0}},
       kSmooth},
      {"x^2", -1, 2, {{K::kZero, 0, false}, {K::kMinimum, 0}}, kSmooth},
      {"x^3", -1, 2, {{K::kZero, 0, false}, {K::kSaddle, 0}}, kSmooth},
      {"d(x^3-3x)", -2, 2, {{K::kZero, -1}, {K::kZero, 1}, {K::kMinimum, 0}}, kSmooth},
      {"d(d(x^4 / 12 - 3/2 x^2))", -6, 6,
       {{K::kZero, -std::sqrt(3.0)}, {K::kZero, std::sqrt(3.0)}, {K::kMinimum, 0}}, kSmooth},
  };
  for (const Case& c : cases) check_case(c);
}

TEST(Discussion, PolesHolesJumpsAndGaps) {
  const Case cases[] = {
      {"tan(x)", -2, 2,
       {{K::kPole, -kPi / 2, false}, {K::kPole, kPi / 2, false}, {K::kZero, 0}, {K::kInflection, 0}},
       kSmooth},
      {"1/x", -6, 6, {{K::kPole, 0, false}}, kSmooth},
      {"1/(x-1)^2", -6, 6, {{K::kPole, 1, false}}, kSmooth},
      {"gamma(x)", -3.5, 4,
       {{K::kPole, -3, false}, {K::kPole, -2, false}, {K::kPole, -1, false}, {K::kPole, 0, false},
        {K::kMaximum, -2.6107208684441446}, {K::kMinimum, -1.5734984731623904},
        {K::kMaximum, -0.5040830082644554}, {K::kMinimum, 1.4616321449683623}},
       kSmooth},
      {"sin(x)/x", -6, 6,
       {{K::kHole, 0, false}, {K::kZero, -kPi}, {K::kZero, kPi},
        {K::kMinimum, -4.493409457909064}, {K::kMinimum, 4.493409457909064}},
       {K::kZero}},
      {"(x^2-1)/(x-1)", -6, 6, {{K::kHole, 1, false}, {K::kZero, -1}}, kSmooth},
      {"floor(x)", -2.5, 2.5,
       {{K::kJump, -2, false}, {K::kJump, -1, false}, {K::kJump, 0, false}, {K::kJump, 1, false},
        {K::kJump, 2, false}},
       {K::kMaximum, K::kMinimum, K::kInflection}},
      {"sgn(x)", -1, 1, {{K::kJump, 0, false}}, {K::kMaximum, K::kMinimum, K::kInflection}},
      {"abs(x)-1", -3, 3, {{K::kMinimum, 0, false}, {K::kZero, -1}, {K::kZero, 1}}, kSmooth},
      {"sqrt(x)", -6, 6, {{K::kDomainGap, -6, false}, {K::kDomainGap, -1, false}, {K::kZero, 0, false}},
       kSmooth},
      {"ln(x)", -6, 6, {{K::kDomainGap, -3, false}, {K::kPole, 0, false}, {K::kZero, 1}}, kSmooth},
  };
  for (const Case& c : cases) check_case(c);
}

// Poles, holes and jumps proven from the formula: the kind, the true place
// inside the enclosure, the true limits inside the printed values (exact
// here, so equal), one-sided poles on the right side. Places the proofs do
// not reach stay listed, unproven.
TEST(Discussion, ProvenPolesHolesAndJumps) {
  struct Expect {
    const char* text;
    double a, b;
    K kind;
    double x;
    bool proven;
    double y_left = 0, y_right = 0;  // limits of a hole or jump
    bool pole_left = true, pole_right = true;
  } const cases[] = {
      {"tan(x)", 1, 2, K::kPole, kPi / 2, true},
      {"tan(x)", -2, -1, K::kPole, -kPi / 2, true},
      {"1/x", -0.5, 1, K::kPole, 0, true},
      {"1/(x-1)^2", 0.5, 1.7, K::kPole, 1, true},
      {"1/(x-0.1)", -0.5, 0.5, K::kPole, 0.1, true},
      {"exp(1/x)", -1, 1, K::kPole, 0, true, 0, 0, false, true},
      {"ln(x)", -1, 1, K::kPole, 0, true, 0, 0, false, true},
      {"2+1/(x-1)^3*cos(x)", 0.5, 1.7, K::kPole, 1, true},
      {"(x^2-1)/(x-1)", 0.5, 1.7, K::kHole, 1, true, 2, 2},
      {"sin(x)/x", -1, 1, K::kHole, 0, true, 1, 1},
      {"(x^2-2x+1)/(x-1)^2", 0.5, 1.7, K::kHole, 1, true, 1, 1},
      // Holes whose Taylor terms vanish through exp(0), cos(0) and ln(1).
      {"(1-cos(x))/x^2", -1, 1, K::kHole, 0, true, 0.5, 0.5},
      {"(exp(x)-1)/x", -1, 1, K::kHole, 0, true, 1, 1},
      {"ln(x)/(x-1)", 0.5, 1.7, K::kHole, 1, true, 1, 1},
      {"floor(x)", 0.5, 1.7, K::kJump, 1, true, 0, 1},
      {"floor(-x)+x", -1.7, -0.5, K::kJump, -1, true, 0, -1},
      {"sgn(x)", -1, 1, K::kJump, 0, true, -1, 1},
      {"frac(x)", 0.5, 1.7, K::kJump, 1, true, 1, 0},
      {"frac(x)", -1.7, -0.5, K::kJump, -1, true, 0, -1},
      {"round(x)", 0.1, 0.9, K::kJump, 0.5, true, 0, 1},
      {"ceil(2x)", 0.1, 0.9, K::kJump, 0.5, true, 1, 2},
      {"gamma(x)", -2.5, -1.5, K::kPole, -2, true},
      {"gamma(1-x)", 0.5, 1.5, K::kPole, 1, true},
      {"x^-2", -1, 0.5, K::kPole, 0, true},
      {"(x-1)^(-3)", 0.5, 1.7, K::kPole, 1, true},
      // Places at no double, through the one argument the formula depends on.
      {"sin(x-0.1)/(x-0.1)", -0.5, 0.5, K::kHole, 0.1, true, 1, 1},
      {"(exp(0.3-x)-1)/(0.3-x)", 0, 0.5, K::kHole, 0.3, true, 1, 1},
      // x is left outside the denominator: not proven.
      {"sin(x-0.1)/(x-0.1)+0*x", -0.5, 0.5, K::kHole, 0.1, false},
  };
  for (const Expect& c : cases) {
    SCOPED_TRACE(c.text);
    const Discussion d = run(compiled(c.text, false), c.a, c.b);
    int places = 0;
    for (const Feature& f : d.features) {
      if (f.kind != K::kPole && f.kind != K::kHole && f.kind != K::kJump) continue;
      ++places;
      EXPECT_EQ(f.kind, c.kind);
      EXPECT_EQ(f.proven, c.proven) << f.x;
      EXPECT_TRUE(f.x_lo <= c.x && c.x <= f.x_hi) << f.x_lo << " " << f.x_hi;
      EXPECT_LE(f.x_hi - f.x_lo, 1e-9);
      if (!f.proven) continue;
      if (c.kind == K::kPole) {
        EXPECT_EQ(f.pole_left, c.pole_left);
        EXPECT_EQ(f.pole_right, c.pole_right);
      } else {
        ASSERT_TRUE(f.has_limits);
        EXPECT_EQ(f.y_left, c.y_left);
        EXPECT_EQ(f.y_right, c.y_right);
      }
    }
    EXPECT_EQ(places, 1);
  }
}

// Beside a hole the enclosure through Cauchy's form holds the curve's
// values and is tight where the plain one is lost to cancellation; where
// the parts do not vanish together it is no tighter than the plain one.
TEST(PlaceProof, EnclosuresBesideAHoleHoldTheCurveAndAreTight) {
  using interval::Interval;
  PieceEvaluators ev;
  struct Beside {
    const char* text;
    Interval where;
    double (*f)(double);
    double shift;  // the piece is [shift + a, shift + 2a]
    bool tight;
  } const cases[] = {
      {"sin(x)/x", {0, 0}, [](double x) { return std::sin(x) / x; }, 0, true},
      {"(1-cos(x))/x^2+0.5", {0, 0}, [](double x) { return 1 - x * x / 24; }, 0, true},
      // holds the real 0.1 between two doubles
      {"sin(x-0.1)/(x-0.1)", {0.0999999999999999, 0.1000000000000001}, [](double x) { return std::sin(x - 0.1) / (x - 0.1); },
       0.1, true},
      {"(sin(x-0.1)+0.001)/(x-0.1)", {0.0999999999999999, 0.1000000000000001},
       [](double x) { return (std::sin(x - 0.1) + 0.001) / (x - 0.1); }, 0.1, false},
  };
  for (const Beside& c : cases) {
    const ExprPanel panel = compiled(c.text, false);
    for (double a : {1e-6, 1e-3, 0.25}) {
      const double lo = c.shift + a, hi = c.shift + 2 * a;
      const Interval r = enclosure_beside_hole(*panel.formulas.at(0), 0, c.where, lo, hi, ev);
      for (double x : {lo, lo + (hi - lo) / 3, hi}) {
        EXPECT_TRUE(r.lo <= c.f(x) + 1e-12 && c.f(x) - 1e-12 <= r.hi) << c.text << " at " << x << ": [" << r.lo << ", " << r.hi << "]";
      }
      if (c.tight) {
        EXPECT_LE(r.hi - r.lo, 4 * a * a + 1e-12) << c.text << " " << a;
      } else {
        EXPECT_GT(r.hi - r.lo, 1e-4) << c.text << " " << a;
      }
    }
  }
}

// The same forms about places that are doubles (proven) and that are not
// (proven only where the proof needs no exact place): whatever is proven
// holds the true place, and a hole's printed y is its limit.
TEST(Discussion, ShiftedPlacesAreProvenOnlyWhereTheyAre) {
  struct Shift {
    const char* a;
    bool exact;  // the place is a double
  } const shifts[] = {{"2.5", true}, {"-7.25", true}, {"0.1", false}, {"1.7", false}};
  for (const Shift& sh : shifts) {
    const std::string a = std::string("(") + sh.a + ")";
    const double x = std::stod(sh.a);
    struct Form {
      std::string text;
      K kind;
      bool proven;  // when the place is not a double
      double limit;
    } const forms[] = {{"1/(x-" + a + ")", K::kPole, true, 0},
                       {"tan(x-" + a + "+pi/2)", K::kPole, true, 0},
                       {"(x^2-" + a + "^2)/(x-" + a + ")", K::kHole, false, 2 * x},
                       {"floor(x-" + a + ")", K::kJump, false, 0}};
    for (const Form& f : forms) {
      SCOPED_TRACE(f.text);
      const Discussion d = run(compiled(f.text.c_str(), false), x - 0.5, x + 0.75);
      const Feature* found = nullptr;
      for (const Feature& g : d.features) {
        if (g.kind == f.kind && g.x_lo - 1e-15 <= x && x <= g.x_hi + 1e-15) found = &g;
        if (g.proven && (g.kind == K::kPole || g.kind == K::kHole || g.kind == K::kJump)) {
          EXPECT_TRUE(g.x_lo - 1e-15 <= x && x <= g.x_hi + 1e-15) << g.x_lo << " " << g.x_hi;
        }
      }
      ASSERT_TRUE(found);
      EXPECT_EQ(found->proven, sh.exact || f.proven);
      if (f.kind == K::kHole) {
        EXPECT_NEAR(found->y, f.limit, found->proven ? 1e-15 : 1e-6);
      }
    }
  }
}

TEST(Discussion, DegreesAndIntersections) {
  const Case cases[] = {
      {"sin(x)", -400, 400,
       {{K::kZero, -360}, {K::kZero, -180}, {K::kZero, 0}, {K::kZero, 180}, {K::kZero, 360},
        {K::kMaximum, -270}, {K::kMaximum, 90}, {K::kMinimum, -90}, {K::kMinimum, 270},
        {K::kInflection, -360}, {K::kInflection, -180}, {K::kInflection, 0},
        {K::kInflection, 180}, {K::kInflection, 360}},
       kSmooth, true},
      // The pair's difference grows beside 0: no place of either formula
      // is the pair's.
      {"sin(x)/x;exp(1/x)", -2, 2,
       {{K::kHole, 0, true, 0}, {K::kPole, 0, true, 1}, {K::kIntersection, -1.7459841288175599, true, 0, 1}},
       {K::kIntersection, K::kHole, K::kPole}},
      {"x;x^2", -2, 2,
       {{K::kIntersection, 0, true, 0, 1}, {K::kIntersection, 1, true, 0, 1}},
       {K::kIntersection}},
      {"sin(x);cos(x);0.5", -3, 3,
       {{K::kIntersection, -3 * kPi / 4, true, 0, 1}, {K::kIntersection, kPi / 4, true, 0, 1},
        {K::kIntersection, kPi / 6, true, 0, 2}, {K::kIntersection, 5 * kPi / 6, true, 0, 2},
        {K::kIntersection, -kPi / 3, true, 1, 2}, {K::kIntersection, kPi / 3, true, 1, 2}},
       {K::kIntersection}},
  };
  for (const Case& c : cases) check_case(c);
}

// y is the value at x, the limit at a hole, the value where a jump is
// defined; cos at the single point 0 is 1, not somewhere in [-1, 1].
TEST(Discussion, YValuesOfPoints) {
  struct YCase {
    const char* text;
    bool degrees;
    K kind;
    double x, y, tolerance;
  } const cases[] = {
      {"x^2-1", false, K::kYIntercept, 0, -1, 0},
      {"x^2-1", false, K::kMinimum, 0, -1, 0},
      {"cos(x)", true, K::kYIntercept, 0, 1, 1e-15},
      {"x^3-4.5x", false, K::kMaximum, -std::sqrt(1.5), std::sqrt(1.5) * 3, 1e-14},
      {"sin(x)/x", false, K::kHole, 0, 1, 1e-6},
      {"(x^2-1)/(x-1)", false, K::kHole, 1, 2, 1e-6},
      {"floor(x)", false, K::kJump, 1, 1, 0},
  };
  for (const YCase& c : cases) {
    SCOPED_TRACE(c.text);
    const Discussion d = run(compiled(c.text, c.degrees), -3, 3);
    const Feature* found = nullptr;
    for (const Feature& f : d.features) {
      if (f.kind == c.kind && f.x_lo <= c.x && c.x <= f.x_hi) found = &f;
    }
    ASSERT_TRUE(found) << feature_name(c.kind);
    ASSERT_TRUE(found->has_y);
    EXPECT_NEAR(found->y, c.y, c.tolerance);
  }
}

TEST(Discussion, ManyOscillationsAreAllProven) {
  Case c{"sin(1/x)", 0.01, 1, {}, {K::kZero, K::kMaximum, K::kMinimum}};
  for (int k = 1; k <= 31; ++k) c.points.push_back({K::kZero, 1 / (k * kPi)});
  for (int k = 0; k <= 31; ++k) {
    c.points.push_back({k % 2 ? K::kMinimum : K::kMaximum, 1 / (kPi / 2 + k * kPi)});
  }
  check_case(c);
  const Discussion d = run(compiled(c.text, false), c.a, c.b);
  int zeros = 0, extrema = 0;
  for (const Feature& f : d.features) {
    zeros += f.kind == K::kZero && f.proven;
    extrema += (f.kind == K::kMaximum || f.kind == K::kMinimum) && f.proven;
  }
  EXPECT_EQ(zeros, 31);
  EXPECT_EQ(extrema, 32);
}

// Whatever the input, the discussion ends about when its budget does and
// leaves what it could not decide as Unklar; these guard against hangs,
// not speed.
TEST(Discussion, HardInputsEndWithinTheBudget) {
  // 512 operations, the most a formula may have.
  std::string long_formula = "x";
  for (int i = 0; i < 256; ++i) long_formula += "+sin(x)";
  struct Hard {
    std::string text;
    double a, b;
  } const hard[] = {
      {"sin(1/x)", -1, 1},
      {"x^5-5x^3+4x", -1e13, 1e13},
      {"sin(x)", -1e13, 1e13},
      {"x^2-1e-301", 0, 1e-300},
      {"1/x", 1, 1.0000000000000004},
      {long_formula, -6, 6},
      {"x^(10^300)", -2, 2},
      {"(1+1/x)^(10^15)", -2, 2},
      {"2^(x^100)-3", -2, 2},
      {"d(d(d(sin(1/x))))", -1, 1},
      {"rand", -1, 1},
  };
  const double budget = 60;
  for (const Hard& h : hard) {
    SCOPED_TRACE(h.text);
    const ExprPanel panel = compiled(h.text.c_str(), false);
    const auto start = std::chrono::steady_clock::now();
    const Discussion d = run(panel, h.a, h.b, budget);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 10 * budget);
    for (const Feature& f : d.features) {
      EXPECT_TRUE(f.x_lo >= h.a && f.x_hi <= h.b) << feature_name(f.kind) << " " << f.x_lo;
    }
  }
}

TEST(Discussion, UnclearRangeAroundAnEndlessOscillation) {
  const Discussion d = run(compiled("sin(1/x)", false), -1, 1, 60);
  EXPECT_TRUE(d.budget_exhausted);
  bool around_zero = false;
  for (const Feature& f : d.features) {
    around_zero = around_zero || (f.kind == K::kUnclear && f.x_lo <= 0 && f.x_hi >= 0);
    if (f.proven && f.kind == K::kZero) {
      // The enclosure holds some 1 / (k pi); the deadline may have left it wide.
      const double k_lo = 1 / (f.x_hi * kPi), k_hi = 1 / (f.x_lo * kPi);
      const double lo = std::min(k_lo, k_hi), hi = std::max(k_lo, k_hi);
      EXPECT_LE(std::ceil(lo - 1e-9 * std::fabs(lo)), std::floor(hi + 1e-9 * std::fabs(hi)))
          << f.x_lo << " " << f.x_hi;
    }
  }
  EXPECT_TRUE(around_zero);
}

TEST(Discussion, RandomFormulasProveNothing) {
  const Discussion d = run(compiled("x-rand", false), -2, 2, 30);
  for (const Feature& f : d.features) EXPECT_FALSE(f.proven) << feature_name(f.kind);
}

}  // namespace
}  // namespace kv::analysis
