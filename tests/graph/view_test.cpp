#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graph/view.h"
#include "graph_test_support.h"

namespace kv {
namespace {

struct RangeCase {
  double lower, upper;
  double want_lower, want_upper;
};

class NormaliseRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(NormaliseRange, ClampsAndWidensDegenerateRanges) {
  const RangeCase c = GetParam();
  double lo = c.lower, hi = c.upper;
  normalise_range(lo, hi);
  EXPECT_NEAR(lo, c.want_lower, std::fabs(c.want_lower) * 1e-15 + 1e-27);
  EXPECT_NEAR(hi, c.want_upper, std::fabs(c.want_upper) * 1e-15 + 1e-27);
  EXPECT_LT(lo, hi);
}

INSTANTIATE_TEST_SUITE_P(
    View, NormaliseRange,
    ::testing::Values(RangeCase{-6, 6, -6, 6},                                    // unchanged
                      RangeCase{3, 3, 3 - 0.5e-12, 3 + 0.5e-12},                  // empty
                      RangeCase{1e15, 2e15, 9999999999999.0, 1e13},               // both clamped
                      RangeCase{5, 4, 4.5 - 0.5e-12, 4.5 + 0.5e-12},              // reversed
                      RangeCase{kMaxMagnitude, -kMaxMagnitude, -0.49999999999995,  // seeds
                                0.49999999999995}));

TEST(View, ConstantCurveGetsMinimalAutomaticRange) {
  test::Graph g;
  g.panel.ymin_fixed = g.panel.ymax_fixed = false;
  ASSERT_TRUE(g.compile_and_run("2"));
  EXPECT_DOUBLE_EQ(g.panel.range[kYMin].value, 1.9999999999995);
  EXPECT_DOUBLE_EQ(g.panel.range[kYMax].value, 2.0000000000005);
  EXPECT_NEAR(g.panel.y_scale, 1e-12 / g.height, 1e-18);
}

TEST(View, NoDefinedPointGivesUnitRangeAroundZero) {
  test::Graph g;
  g.panel.ymin_fixed = g.panel.ymax_fixed = false;
  ASSERT_TRUE(g.compile_and_run("sqrt(-1-x^2)"));
  EXPECT_DOUBLE_EQ(g.panel.range[kYMin].value, -0.49999999999995);
  EXPECT_DOUBLE_EQ(g.panel.range[kYMax].value, 0.49999999999995);
}

TEST(View, AutomaticBoundsFollowDefinedSamplesOnly) {
  test::Graph g;
  g.panel.ymin_fixed = false;  // YMax stays as typed
  ASSERT_TRUE(g.compile_and_run("x^2-1"));
  EXPECT_DOUBLE_EQ(g.panel.range[kYMin].value, -1.0);
  EXPECT_DOUBLE_EQ(g.panel.range[kYMax].value, 5.0);
}

TEST(View, PolarHeightsFeedTheAutomaticRange) {
  test::Graph g;
  g.panel.ymin_fixed = g.panel.ymax_fixed = false;
  ASSERT_TRUE(g.compile_and_run("r(t)=3"));
  EXPECT_NEAR(g.panel.range[kYMin].value, -3.0, 1e-6);
  EXPECT_NEAR(g.panel.range[kYMax].value, 3.0, 1e-6);
}

TEST(View, EqualScalesRecentresTheYRange) {
  test::Graph g(kPanelFunction, 600, 400);
  g.set_range(-6, 6, 0, 2);
  g.panel.options[kOptEqualScales] = 1;
  ASSERT_TRUE(g.compile_and_run("x"));
  EXPECT_DOUBLE_EQ(g.panel.range[kYMin].value, -3.0);
  EXPECT_DOUBLE_EQ(g.panel.range[kYMax].value, 5.0);
  EXPECT_DOUBLE_EQ(g.panel.y_scale, g.panel.x_scale);
}

struct StartCase {
  const char* formula;
  double x0;
  double want_xmin, want_xmax;
};

class DiffEquStartWidens : public ::testing::TestWithParam<StartCase> {};

TEST_P(DiffEquStartWidens, OnlyForCartesianEquations) {
  const StartCase c = GetParam();
  test::Graph g(kPanelDiffEqu);
  g.set_start(c.x0, {1, 0, 0, 0, 0});
  ASSERT_TRUE(g.compile(c.formula));
  prepare_x_range(g.panel, g.width);
  EXPECT_EQ(g.panel.range[kXMin].value, c.want_xmin);
  EXPECT_EQ(g.panel.range[kXMax].value, c.want_xmax);
}

INSTANTIATE_TEST_SUITE_P(View, DiffEquStartWidens,
                         ::testing::Values(StartCase{"y'=y", 10, -6, 10},
                                           StartCase{"y'=y", -8, -8, 6},
                                           StartCase{"y'=y", 2, -6, 6},
                                           StartCase{"y'=y", 1e20, -6, 1e13},
                                           StartCase{"r'=r", 10, -6, 6}));

TEST(View, WorldToPixelRoundsHalfAwayAndClampsOnePlotBeyond) {
  ViewMap m;
  m.xmin = -6;
  m.ymin = -5;
  m.x_scale = 0.02;
  m.y_scale = 0.025;
  m.width = 600;
  m.height = 400;
  EXPECT_EQ(m.column(-6), 0);
  EXPECT_EQ(m.column(6), 600);
  EXPECT_EQ(m.column(-1e300), -602);
  EXPECT_EQ(m.column(1e300), 1202);
  EXPECT_EQ(m.column(std::numeric_limits<double>::infinity()), 1202);
  EXPECT_EQ(m.column(std::nan("")), -602);
  EXPECT_EQ(m.row(-5), 400);
  EXPECT_EQ(m.row(5), 0);
  EXPECT_EQ(m.row(1e300), -402);
  EXPECT_EQ(m.row(-1e300), 802);
  ViewMap exact;  // binary fractions: exact halves
  exact.x_scale = 0.25;
  exact.width = 600;
  EXPECT_EQ(exact.column(0.125), 1);
  EXPECT_EQ(exact.column(-0.125), -1);
  EXPECT_EQ(exact.column(0.375), 2);
  m.clamp_to_plot = true;
  EXPECT_EQ(m.row(1e300), 0);
  EXPECT_EQ(m.column(-1e300), 0);
}

TEST(View, PlotRectangleIsEvenAndAtLeastFifty) {
  ClientLayout layout;
  layout.client = {0, 0, 801, 601};
  layout.status_bar_height = 20;
  PlotPlacement p = plot_rect_for_client(layout);
  EXPECT_EQ(p.plot.left, 26 + 23);
  EXPECT_EQ(p.plot.top, 21);
  EXPECT_EQ(p.plot.width % 2, 0);
  EXPECT_EQ(p.plot.height % 2, 0);
  EXPECT_EQ(p.client.right, p.plot.right() + 22 + 1);
  EXPECT_EQ(p.client.bottom, p.plot.bottom() + 23 + 1);

  layout.client = {0, 0, 10, 10};
  layout.boxed_style = true;
  p = plot_rect_for_client(layout);
  EXPECT_EQ(p.plot.width, 50);
  EXPECT_EQ(p.plot.height, 50);
  EXPECT_EQ(p.plot.left, 26 + 69);
}

TEST(View, RoundToIntSaturates) {
  EXPECT_EQ(round_to_int(2.5), 3);
  EXPECT_EQ(round_to_int(-2.5), -3);
  EXPECT_EQ(round_to_int(1e300), 2147483646);
  EXPECT_EQ(round_to_int(-1e300), -2147483646);
}

}  // namespace
}  // namespace kv
