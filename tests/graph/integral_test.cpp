#include <gtest/gtest.h>

#include <cmath>

#include "graph/colours.h"
#include "graph/integral_area.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

using test::Graph;
constexpr double kPi = 3.14159265358979323846;

TEST(Integral, CosineFromMinusPiMatchesSineAtEveryColumn) {
  Graph g(kPanelIntegral);
  g.set_start(-kPi);
  ASSERT_TRUE(g.compile_and_run("cos(x)"));
  const CurveSamples& F = g.curve(0, 1);
  const int k0 = 156;  // -pi on [-2pi, 2pi] with 624 columns
  for (int i = 0; i < k0; ++i) EXPECT_FALSE(is_defined(F.samples[i].flag)) << i;
  EXPECT_EQ(F.samples[k0].flag & kPieceStart, kPieceStart);
  for (int i = k0; i <= F.last; ++i) {
    const double x = -2 * kPi + i * g.panel.x_scale;
    ASSERT_TRUE(is_defined(F.samples[i].flag)) << i;
    EXPECT_NEAR(F.samples[i].v, std::sin(x), 1e-9) << "column " << i;
  }
}

struct AbsCase {
  const char* formula;
  int absolute;
};

class AbsoluteIntegral : public ::testing::TestWithParam<AbsCase> {};

TEST_P(AbsoluteIntegral, NeverDecreases) {
  Graph g(kPanelIntegral);
  g.set_start(-2 * kPi);
  g.panel.option_flag = GetParam().absolute;
  ASSERT_TRUE(g.compile_and_run(GetParam().formula));
  const CurveSamples& F = g.curve(0, 1);
  for (int i = 1; i <= F.last; ++i) {
    ASSERT_GE(F.samples[i].v, F.samples[i - 1].v) << "column " << i;
  }
  EXPECT_NEAR(F.samples[F.last].v, 8.0, 1e-9);  // four half-waves of area 2
}

INSTANTIATE_TEST_SUITE_P(Integral, AbsoluteIntegral,
                         ::testing::Values(AbsCase{"sin(x)", 1}, AbsCase{"abs(sin(x))", 0}));

TEST(Integral, LowerBoundLeftOfThePlotIntegratesTheHiddenStretch) {
  Graph g(kPanelIntegral);
  g.set_range(0, 2, -5, 5);
  g.set_start(-1);
  ASSERT_TRUE(g.compile_and_run("x^2"));
  const CurveSamples& F = g.curve(0, 1);
  EXPECT_EQ(F.samples[0].flag & kPieceStart, kPieceStart);
  EXPECT_NEAR(F.samples[0].v, 1.0 / 3, 1e-12);  // from -1 to 0
  EXPECT_NEAR(F.samples[F.last].v, 3.0, 1e-12);  // from -1 to 2
}

TEST(Integral, LowerBoundBetweenColumnsStartsAtZeroButCarriesThePartialIntegral) {
  Graph g(kPanelIntegral);
  g.set_range(0, 6.24, -5, 5);  // x scale 0.01
  g.set_start(1.002);           // column 100 at 1.0
  ASSERT_TRUE(g.compile_and_run("1"));
  const CurveSamples& F = g.curve(0, 1);
  EXPECT_EQ(F.samples[100].v, 0.0);
  EXPECT_NEAR(F.samples[101].v, 0.01 - 0.002, 1e-12);
}

TEST(Integral, LowerBoundRightOfThePlotLeavesOnlyTheLastColumn) {
  Graph g(kPanelIntegral);
  g.set_start(100);
  ASSERT_TRUE(g.compile_and_run("x"));
  const CurveSamples& F = g.curve(0, 1);
  for (int i = 0; i < F.last; ++i) EXPECT_FALSE(is_defined(F.samples[i].flag));
  EXPECT_EQ(F.samples[F.last].flag & (kDefined | kPieceStart), kDefined | kPieceStart);
  EXPECT_EQ(F.samples[F.last].v, 0.0);
}

// The pole's own column gets the refined end of the right branch, so the
// integral jumps there, but stays finite and resumes like ln(x).
TEST(Integral, IntegrationResumesBehindAPole) {
  Graph g(kPanelIntegral);
  g.set_range(-6, 6, -5, 5);  // x = 0 is column 312
  g.set_start(-1);
  ASSERT_TRUE(g.compile_and_run("1/x"));
  const CurveSamples& F = g.curve(0, 1);
  ASSERT_TRUE(is_defined(F.samples[313].flag));
  ASSERT_TRUE(is_defined(F.samples[400].flag));
  EXPECT_TRUE(std::isfinite(F.samples[400].v));
  // Right of the pole the curve rises like ln(x) again.
  EXPECT_NEAR(F.samples[500].v - F.samples[400].v, std::log(500.0 - 312) - std::log(400.0 - 312),
              1e-9);
}

TEST(Integral, MoreThanOneFormulaIsAnError) {
  Graph g(kPanelIntegral);
  ASSERT_TRUE(g.compile("x;x^2"));
  EXPECT_FALSE(g.run());
  EXPECT_EQ(g.panel.error.message, kMsgIntegralOneFunction);
  EXPECT_FALSE(g.plot.valid);
}

TEST(IntegralArea, GapInTheIntegrandGivesTwoHatchedPolygons) {
  Graph g(kPanelIntegral);
  g.set_start(-6);
  g.set_range(-6, 6, -5, 5);
  ASSERT_TRUE(g.compile_and_run("1+0*sqrt(x^2-1)"));  // undefined for |x| < 1
  test::RecordingDevice dev;
  const PlotRect rect{10, 20, g.width, g.height};
  const ColourTable colours = build_colour_table(0);
  dev.set_pen({0x123456, 2, PenStyle::Solid});
  paint_integral_area(dev, g.panel, g.plot, rect, colours);
  const auto polys = dev.of(test::OpKind::Polygon);
  ASSERT_EQ(polys.size(), 2u);
  const int zero_row = 20 + g.height / 2;  // y range [-5, 5]
  for (const auto* p : polys) {
    EXPECT_EQ(p->brush.style, BrushStyle::HatchBackwardDiagonal);
    EXPECT_EQ(p->pen.style, PenStyle::Null);
    EXPECT_EQ(p->points.back().y, zero_row);
    for (const Point& q : p->points) {
      EXPECT_GE(q.y, 20);
      EXPECT_LE(q.y, 20 + g.height);  // rows clamped to the plot
    }
  }
  // A quarter of the integrand's colour on palette 0.
  const Colour curve = colours[g.panel.formulas[0]->colour_slot];
  EXPECT_EQ(polys[0]->brush.colour, blend(blend(curve, colours[0]), colours[0]));
  EXPECT_EQ(dev.pen(), (Pen{0x123456, 2, PenStyle::Solid}));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// An undefined stretch of the integrand: the running sum stays over it and
// the next Simpson step starts from an undefined sample that contributes 0.
TEST(Integral, UndefinedStretchKeepsTheRunningSum) {
  Graph g(kPanelIntegral);
  g.set_range(-6.005, 5.995, -5, 5);
  g.set_start(-6.005);
  ASSERT_TRUE(g.compile_and_run("1+0*sqrt(x^2-1)"));  // 1 where |x| >= 1
  const CurveSamples& f = g.curve(0, 0);
  const CurveSamples& F = g.curve(0, 1);
  int first_gap = -1, after_gap = -1;
  for (int i = 1; i <= F.last; ++i) {
    if (first_gap < 0 && !is_defined(f.samples[i].flag)) first_gap = i;
    if (first_gap > 0 && after_gap < 0 && is_defined(f.samples[i].flag)) after_gap = i;
  }
  ASSERT_GT(first_gap, 0);
  ASSERT_GT(after_gap, first_gap);
  EXPECT_FALSE(is_defined(F.samples[first_gap].flag));
  // The value just behind the gap continues from the last value before it.
  EXPECT_NEAR(F.samples[after_gap].v, F.samples[first_gap - 1].v, 0.05);
  EXPECT_GT(F.samples[after_gap].v, F.samples[first_gap - 1].v);
}

}  // namespace
}  // namespace kv
