#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "graph/ode_solver.h"
#include "graph_test_support.h"

namespace kv {
namespace {

using test::Graph;

TEST(Ode, ExponentialMatchesToTheAccuracyOfTheMethod) {
  Graph g(kPanelDiffEqu);
  g.set_start(0, {1});
  ASSERT_TRUE(g.compile_and_run("y'=y"));
  const CurveSamples& c = g.curve();
  ASSERT_EQ(c.last, 624);
  for (int i = 0; i <= c.last; ++i) {
    const Sample& s = c.samples[i];
    ASSERT_TRUE(is_defined(s.flag)) << i;
    EXPECT_NEAR(s.t, -6 + i * 12.0 / 624, 1e-12);
    EXPECT_NEAR(s.v / std::exp(s.t), 1.0, 1e-9) << "column " << i;
  }
  EXPECT_EQ(c.samples[0].flag, kDefined | kPieceStart);
  EXPECT_EQ(c.samples[624].flag, kDefined | kPieceEnd);
}

TEST(Ode, StartOnASamplePositionNeedsNoStartStep) {
  Graph g(kPanelDiffEqu);
  g.set_start(0, {1.25});
  ASSERT_TRUE(g.compile_and_run("y'=y"));
  const Sample& s = g.curve().samples[312];
  EXPECT_EQ(s.t, 0.0);
  EXPECT_EQ(s.v, 1.25);
}

TEST(Ode, StartBetweenSamplesIsCarriedOntoTheNearestColumn) {
  Graph g(kPanelDiffEqu);
  g.set_start(std::sqrt(2.0), {std::exp(std::sqrt(2.0))});
  ASSERT_TRUE(g.compile_and_run("y'=y"));
  const CurveSamples& c = g.curve();
  const int k0 = static_cast<int>(std::lround((std::sqrt(2.0) + 6) / (12.0 / 624)));
  EXPECT_NEAR(c.samples[k0].t, -6 + k0 * 12.0 / 624, 1e-12);
  EXPECT_NEAR(c.samples[k0].v / std::exp(c.samples[k0].t), 1.0, 1e-12);
}

struct PoleCase {
  int solver_switch;
  bool stops;
};

class OdePole : public ::testing::TestWithParam<PoleCase> {};

// A jump of the solution by more than the threshold between two falling
// stretches looks like a pole: the forward pass ends before it unless the
// solver switch is on; the backward pass is unaffected. (A jump of 10 within
// the column interval from x = 1 to the next.)
TEST_P(OdePole, ForwardPassEndsAtAPoleUnlessSwitchedOff) {
  Graph g(kPanelDiffEqu);
  g.set_start(0, {0});
  g.panel.options[kOptSolverSwitch] = GetParam().solver_switch;
  ASSERT_TRUE(g.compile_and_run("y'=-1+250*(1+sgn(x-1.005))*(1-sgn(x-1.015))"));
  const CurveSamples& c = g.curve();
  for (int i = 0; i <= 364; ++i) {
    ASSERT_TRUE(is_defined(c.samples[i].flag)) << i;
    EXPECT_NEAR(c.samples[i].v, -c.samples[i].t, 1e-9);
  }
  EXPECT_EQ(c.samples[0].flag & kPieceStart, kPieceStart);
  if (GetParam().stops) {
    EXPECT_EQ(c.samples[364].flag, kDefined | kPieceEnd);
    for (int i = 365; i <= c.last; ++i) EXPECT_FALSE(is_defined(c.samples[i].flag)) << i;
  } else {
    EXPECT_EQ(c.samples[364].flag, kDefined);
    EXPECT_EQ(c.samples[c.last].flag, kDefined | kPieceEnd);
    EXPECT_NEAR(c.samples[c.last].v, -6 + 10, 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(Ode, OdePole,
                         ::testing::Values(PoleCase{0, true}, PoleCase{1, false}));

struct SubstepCase {
  const char* formula;
  int high_precision;
  int want;
};

class OdeSubsteps : public ::testing::TestWithParam<SubstepCase> {};

TEST_P(OdeSubsteps, FollowTheSubdivisionFormAndPrecision) {
  Graph g(kPanelDiffEqu);
  ASSERT_TRUE(g.compile(GetParam().formula));
  EXPECT_EQ(graph_substeps(*g.panel.formulas[0], GetParam().high_precision != 0),
            GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Ode, OdeSubsteps,
                         ::testing::Values(SubstepCase{"y'=y", 0, 6}, SubstepCase{"y'=y", 1, 18},
                                           SubstepCase{"r'=r", 0, 1}, SubstepCase{"r'=r", 1, 3}));

TEST(Ode, HighPrecisionIsMoreAccurate) {
  double err[2];
  for (int hp = 0; hp < 2; ++hp) {
    Graph g(kPanelDiffEqu, 50, 50);
    g.set_start(0, {0, 1});
    g.panel.option_flag = hp;
    ASSERT_TRUE(g.compile_and_run("y''=-y"));
    const Sample& s = g.curve().samples[50];
    err[hp] = std::fabs(s.v - std::sin(s.t));
  }
  EXPECT_LT(err[1], err[0] / 100);
}

// y''' = -y' from y = 0, y' = 1, y'' = 0 is sin(x); the derivative curve is
// the state's y', cos(x).
TEST(Ode, DerivativeCurveOfAHigherOrderEquationIsTheStateDerivative) {
  Graph g(kPanelDiffEqu);
  g.panel.derivative = true;
  g.set_start(0, {0, 1, 0});
  ASSERT_TRUE(g.compile_and_run("y'''=-y'"));
  const CurveSamples& c = g.curve();
  const CurveSamples& d = g.curve(0, 1);
  ASSERT_TRUE(d.used);
  for (int i = 0; i <= c.last; i += 13) {
    EXPECT_NEAR(c.samples[i].v, std::sin(c.samples[i].t), 1e-8);
    EXPECT_EQ(d.samples[i].flag, c.samples[i].flag);
    EXPECT_NEAR(d.samples[i].v, std::cos(c.samples[i].t), 1e-8);
  }
}

TEST(Ode, DerivativeCurveOfAFirstOrderEquationIsTheRightHandSide) {
  Graph g(kPanelDiffEqu);
  g.panel.derivative = true;
  g.set_start(0, {1});
  ASSERT_TRUE(g.compile_and_run("y'=-2*y"));
  const CurveSamples& d = g.curve(0, 1);
  for (int i = 0; i <= d.last; i += 31) {
    EXPECT_NEAR(d.samples[i].v, -2 * std::exp(-2 * d.samples[i].t), 1e-7 * std::exp(12.0));
  }
}

TEST(Ode, ExplodingSolutionRunsAlongTheClamp) {
  Graph g(kPanelDiffEqu);
  g.set_start(0, {1});
  ASSERT_TRUE(g.compile_and_run("y'=y^2"));
  const CurveSamples& c = g.curve();
  EXPECT_TRUE(is_defined(c.samples[c.last].flag));
  EXPECT_EQ(c.samples[c.last].v, g.panel.limits.max_magnitude);
}

struct PolarStartCase {
  double t0;
};

class PolarStartOutsideRange : public ::testing::TestWithParam<PolarStartCase> {};

// A polar start parameter outside TMin..TMax: the solution is carried to the
// nearest end of the range and no sample is written out of bounds.
TEST_P(PolarStartOutsideRange, IsCarriedIntoTheRange) {
  Graph g(kPanelDiffEqu, 60, 50);
  const double t0 = GetParam().t0;
  g.set_start(t0, {2});
  ASSERT_TRUE(g.compile_and_run("r'=1"));
  const CurveSamples& c = g.curve();
  ASSERT_EQ(c.last, 8 * 60);
  const double tmin = g.panel.range[kTMin].value;
  const double step = (g.panel.range[kTMax].value - tmin) / c.last;
  for (int i = 0; i <= c.last; i += 40) {
    ASSERT_TRUE(is_defined(c.samples[i].flag)) << i;
    EXPECT_NEAR(c.samples[i].t, tmin + i * step, 1e-9);
    EXPECT_NEAR(c.samples[i].v, 2 + c.samples[i].t - t0, 1e-6 * std::fabs(t0) + 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Ode, PolarStartOutsideRange,
                         ::testing::Values(PolarStartCase{100}, PolarStartCase{-100},
                                           PolarStartCase{1e13}, PolarStartCase{-7}));

// Undefined at the start point: the first step of each direction keeps the
// state it reached (here the start itself), the second ends the pass.
TEST(Ode, UndefinedAtTheStartDrawsNothingBeyondTheFirstSteps) {
  Graph g(kPanelDiffEqu);
  g.set_start(0.01, {1});
  ASSERT_TRUE(g.compile_and_run("y'=sqrt(-1-y)"));
  const CurveSamples& c = g.curve();
  const int k0 = 313;  // 6.01 * 52 = 312.52
  for (int i = 0; i <= c.last; ++i) {
    if (i >= k0 - 1 && i <= k0 + 1) {
      EXPECT_TRUE(is_defined(c.samples[i].flag)) << i;
      EXPECT_EQ(c.samples[i].t, 0.01);
      EXPECT_EQ(c.samples[i].v, 1.0);
    } else {
      EXPECT_FALSE(is_defined(c.samples[i].flag)) << i;
    }
  }
  EXPECT_EQ(c.samples[k0 - 1].flag & kPieceStart, kPieceStart);
  EXPECT_EQ(c.samples[k0 + 1].flag & kPieceEnd, kPieceEnd);
}

TEST(Ode, UndefinedValueEndsThePassAndMarksThePieceEnd) {
  Graph g(kPanelDiffEqu);
  g.set_start(0, {0});
  g.set_range(-6.01, 5.99, -5, 5);
  ASSERT_TRUE(g.compile_and_run("y'=1/sqrt(2-x)"));  // undefined from x = 2
  const CurveSamples& c = g.curve();
  int end = -1;
  for (int i = 0; i <= c.last; ++i) {
    if (c.samples[i].flag & kPieceEnd) end = i;
  }
  ASSERT_GT(end, 0);
  EXPECT_LT(c.samples[end].t, 2.0);
  EXPECT_GT(c.samples[end].t, 1.9);
  for (int i = end + 1; i <= c.last; ++i) EXPECT_FALSE(is_defined(c.samples[i].flag));
}

}  // namespace
}  // namespace kv
