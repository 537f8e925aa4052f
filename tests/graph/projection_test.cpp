#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "graph/projection.h"
#include "graph_test_support.h"

namespace kv {
namespace {

// A plot of 10 x 10 pixels over y in [-5, 5]: row = 5 - y.
ViewMap small_map() {
  ViewMap m;
  m.xmin = 0;
  m.ymin = -5;
  m.x_scale = 1;
  m.y_scale = 1;
  m.width = 10;
  m.height = 10;
  return m;
}

CurveSamples curve_of(const std::vector<double>& values, const std::vector<uint8_t>& flags) {
  CurveSamples c;
  EXPECT_TRUE(c.reset(static_cast<int>(values.size()) - 1));
  for (size_t i = 0; i < values.size(); ++i) {
    c.samples[i] = Sample{static_cast<double>(i), values[i], flags[i]};
  }
  return c;
}

constexpr uint8_t S = kDefined | kPieceStart, I = kDefined, E = kDefined | kPieceEnd;

TEST(CartesianClipping, CurveLeavingTheTopEndsAtTheEdgeInItsLastInsideColumn) {
  CurveSamples c = curve_of({0, 1, 2, 100, 100, 100}, {S, I, I, I, I, E});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixel_flags[2], I);
  EXPECT_EQ(c.pixels[3], (Point{2, 0}));  // the dropped neighbour, now the piece end
  EXPECT_EQ(c.pixel_flags[3], E);
  EXPECT_EQ(c.pixel_flags[4], 0);
  EXPECT_EQ(c.pixel_flags[5], 0);
}

TEST(CartesianClipping, CurveEnteringFromBelowStartsOnTheEdge) {
  CurveSamples c = curve_of({-100, -100, 0, 1, 2}, {S, I, I, I, E});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixels[1], (Point{2, 10}));
  EXPECT_EQ(c.pixel_flags[1], S);
  EXPECT_EQ(c.pixels[2], (Point{2, 5}));
}

TEST(CartesianClipping, JumpFromAboveToBelowBecomesAPassThrough) {
  CurveSamples c = curve_of({0, 0, 100, -100, 0}, {S, I, I, I, E});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixel_flags[4], E);
  EXPECT_EQ(c.pixels[3], (Point{4, 10}));  // piece start on the bottom edge
  EXPECT_EQ(c.pixel_flags[3], S);
  EXPECT_EQ(c.pixel_flags[2], kDefined | kPassThrough);
  EXPECT_EQ(c.pixels[1], (Point{1, 0}));  // moved to the top edge, ends the left piece
  EXPECT_EQ(c.pixel_flags[1], E);
  EXPECT_EQ(c.pixel_flags[0], S);
}

TEST(CartesianClipping, ShortExcursionBecomesADipToTheEdge) {
  CurveSamples c = curve_of({0, 0, 100, 0, 0}, {S, I, I, I, E});
  project_cartesian(c, small_map());
  // The outside point became a start on the edge and then an inner point at
  // the edge of its left neighbour's column.
  EXPECT_EQ(c.pixel_flags[2], I);
  EXPECT_EQ(c.pixels[2], (Point{1, 0}));
}

TEST(CartesianClipping, PieceOutsideEntirelyIsDropped) {
  CurveSamples c = curve_of({100, 100, 100}, {S, I, E});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixel_flags[2], 0);
  EXPECT_EQ(c.pixel_flags[1], 0);
}

TEST(CartesianClipping, IsolatedPointNextToAPieceEndJoinsThePiece) {
  CurveSamples c = curve_of({0, 1, 2, 3, 0}, {S, I, E, kIsolated, 0});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixel_flags[2], I);
  EXPECT_EQ(c.pixel_flags[3], E);
  EXPECT_EQ(c.samples[3].flag, kIsolated);  // the samples keep their classification
}

TEST(CartesianClipping, UndefinedSamplesStayUndefined) {
  CurveSamples c = curve_of({0, 7, 2}, {kIsolated, 0, kIsolated});
  project_cartesian(c, small_map());
  EXPECT_EQ(c.pixel_flags[1], 0);
  EXPECT_EQ(c.pixel_last, 2);
}

TEST(PolarProjection, CircleIsCompactedWithoutRepeatsOrUnitCorners) {
  test::Graph g(kPanelFunction, 200, 200);
  g.set_range(-6, 6, -6, 6);
  ASSERT_TRUE(g.compile_and_run("r(t)=3"));
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.last, 1600);
  ASSERT_GT(c.pixel_last, 100);
  EXPECT_LT(c.pixel_last, c.last / 2);
  const double radius = 3 / g.panel.x_scale;
  const double cx = 100, cy = 100;
  for (int i = 0; i <= c.pixel_last; ++i) {
    const Point p = c.pixels[i];
    EXPECT_NEAR(std::hypot(p.x - cx, p.y - cy), radius, 1.0);
    if (i > 0 && c.pixel_flags[i] == kDefined) {
      EXPECT_NE(p, c.pixels[i - 1]);
    }
    if (i >= 2 && c.pixel_flags[i - 1] == kDefined) {
      const Point a = c.pixels[i - 2], b = c.pixels[i - 1];
      const bool corner = (p.x == b.x && a.y == b.y && std::abs(a.x - b.x) == 1) ||
                          (p.y == b.y && a.x == b.x && std::abs(a.y - b.y) == 1);
      EXPECT_FALSE(corner) << i;
    }
  }
  EXPECT_EQ(c.pixel_flags[0], kDefined | kPieceStart);
  EXPECT_EQ(c.pixel_flags[c.pixel_last], kDefined | kPieceEnd);
}

TEST(PolarProjection, PlanePointsFollowTheSamplesAndMovedOnesAreExact) {
  for (const char* text : {"r(t)=sqrt(t)", "r(t)=1/sin(t)", "r'=r"}) {
    SCOPED_TRACE(text);
    test::Graph g(text[1] == '\'' ? kPanelDiffEqu : kPanelFunction, 300, 200);
    g.set_start(0.3, {1});
    g.panel.ymax_fixed = false;  // the automatic range keeps the plane points
    ASSERT_TRUE(g.compile_and_run(text));
    const FormulaPlot& fp = g.plot.formulas[0];
    const CurveSamples& c = fp.slot[0];
    ASSERT_EQ(c.plane.size(), static_cast<size_t>(c.last) + 1);
    int moved = 0;
    for (int i = 0; i <= c.last; ++i) {
      const Sample& s = c.samples[i];
      if (!is_defined(s.flag)) continue;
      const double x = s.v * std::cos(s.t), y = s.v * std::sin(s.t);
      if (s.t != fp.a + i * fp.step) {
        ++moved;
        EXPECT_EQ(c.plane[i].x, x) << i;
        EXPECT_EQ(c.plane[i].y, y) << i;
      } else {
        const double tol = 1e-13 * std::max(1.0, std::fabs(s.v));
        EXPECT_NEAR(c.plane[i].x, x, tol) << i;
        EXPECT_NEAR(c.plane[i].y, y, tol) << i;
      }
    }
    EXPECT_GT(moved, 0);
  }
}

// With fixed y bounds the plane points are not kept, and the projection
// computes them on the way; it must find the same pixels.
TEST(PolarProjection, PixelsDoNotDependOnKeepingThePlanePoints) {
  for (const char* text : {"r(t)=sqrt(t)", "r(t)=3+sin(7t)", "r(t)=1/sin(t)", "r'=r"}) {
    SCOPED_TRACE(text);
    const PanelIndex role = text[1] == '\'' ? kPanelDiffEqu : kPanelFunction;
    test::Graph automatic(role, 400, 300), fixed(role, 400, 300);
    automatic.panel.ymin_fixed = automatic.panel.ymax_fixed = false;
    for (test::Graph* g : {&automatic, &fixed}) g->set_start(0.3, {1});
    ASSERT_TRUE(automatic.compile_and_run(text));
    fixed.set_range(-6, 6, automatic.panel.range[kYMin].value, automatic.panel.range[kYMax].value);
    ASSERT_TRUE(fixed.compile_and_run(text));
    const CurveSamples& a = automatic.curve();
    const CurveSamples& b = fixed.curve();
    ASSERT_FALSE(a.plane.empty());
    EXPECT_TRUE(b.plane.empty());
    ASSERT_EQ(a.pixel_last, b.pixel_last);
    ASSERT_GT(a.pixel_last, 10);
    for (int i = 0; i <= a.pixel_last; ++i) {
      ASSERT_EQ(a.pixels[i], b.pixels[i]) << i;
      ASSERT_EQ(a.pixel_flags[i], b.pixel_flags[i]) << i;
    }
  }
}

TEST(PolarProjection, UndefinedSamplesAreRemoved) {
  test::Graph g(kPanelFunction, 100, 100);
  ASSERT_TRUE(g.compile_and_run("r(t)=sqrt(t)"));
  const CurveSamples& c = g.curve();
  ASSERT_GT(c.pixel_last, 0);
  for (int i = 0; i <= c.pixel_last; ++i) EXPECT_TRUE(is_defined(c.pixel_flags[i]));
  for (int i = c.pixel_last + 1; i <= c.last + 1; ++i) EXPECT_EQ(c.pixel_flags[i], 0);
  EXPECT_EQ(c.pixel_flags[0] & kPieceStart, kPieceStart);
}

}  // namespace
}  // namespace kv
