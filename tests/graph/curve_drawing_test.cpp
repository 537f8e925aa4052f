#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graph/colours.h"
#include "graph/curve_drawing.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

using test::Graph;
using test::OpKind;
using test::RecordingDevice;

constexpr int kLeft = 30, kTop = 20;

void draw(Graph& g, CurveKind kind, RecordingDevice& dev) {
  const PlotRect rect{kLeft, kTop, g.width, g.height};
  draw_curves(dev, g.panel, g.plot, kind, rect, build_colour_table(0));
}

TEST(CurveDrawing, PenColourAndWidthFollowSlotAndLineWidth) {
  Graph g;
  g.panel.options[kOptLineWidth] = 2;
  ASSERT_TRUE(g.compile_and_run("x/10;x/10+1"));
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  const auto lines = dev.of(OpKind::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->pen, (Pen{0xff0000, 2, PenStyle::Solid}));  // entry 5
  EXPECT_EQ(lines[1]->pen, (Pen{0x0000ff, 2, PenStyle::Solid}));  // entry 6
}

TEST(CurveDrawing, IntegralAndDerivativeKindsUseTheirEntries) {
  Graph in(kPanelIntegral);
  in.set_start(0);
  ASSERT_TRUE(in.compile_and_run("cos(x)"));
  RecordingDevice dev;
  draw(in, CurveKind::Integral, dev);
  ASSERT_FALSE(dev.of(OpKind::Polyline).empty());
  EXPECT_EQ(dev.of(OpKind::Polyline)[0]->pen.colour, 0xff0000u);  // entry 5
  RecordingDevice own;
  draw(in, CurveKind::Own, own);
  EXPECT_EQ(own.of(OpKind::Polyline)[0]->pen.colour, 0x0000ffu);  // integrand: entry 6

  Graph de(kPanelDiffEqu);
  de.panel.derivative = true;
  de.set_start(0, {1});
  ASSERT_TRUE(de.compile_and_run("y'=-y/3"));
  RecordingDevice d;
  draw(de, CurveKind::Derivative, d);
  ASSERT_FALSE(d.of(OpKind::Polyline).empty());
  EXPECT_EQ(d.of(OpKind::Polyline)[0]->pen.colour, 0x0000ffu);  // entry 5 + 1 formula
}

TEST(CurveDrawing, DerivativeColourOfManyFormulasStaysInTheTable) {
  Graph de(kPanelDiffEqu);
  de.panel.derivative = true;
  std::string text;
  for (int k = 0; k < 20; ++k) text += "x+" + std::to_string(k) + ";";
  ASSERT_TRUE(de.compile_and_run(text));
  for (const auto& f : de.panel.formulas) {
    const int e = curve_colour_entry(de.panel, *f, CurveKind::Derivative);
    EXPECT_GE(e, kFirstCurveColour);
    EXPECT_LT(e, kColourCount);
  }
}

struct ClipCase {
  int line_width;
  Rect want;  // relative to the plot corner
};

class CurveClip : public ::testing::TestWithParam<ClipCase> {};

TEST_P(CurveClip, ClipIsThePlotWidenedByTheLineWidthAndEverythingIsRestored) {
  Graph g;
  g.panel.options[kOptLineWidth] = GetParam().line_width;
  ASSERT_TRUE(g.compile_and_run("x/10"));
  RecordingDevice dev;
  dev.set_origin(5, 7);
  const Pen before{0x010203, 1, PenStyle::Solid};
  dev.set_pen(before);
  draw(g, CurveKind::Own, dev);
  const auto lines = dev.of(OpKind::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  const Rect w = GetParam().want;
  const int ox = 5 + kLeft, oy = 7 + kTop;
  EXPECT_TRUE(lines[0]->clipped);
  EXPECT_EQ(lines[0]->clip, (Rect{ox + w.left, oy + w.top, ox + w.right, oy + w.bottom}));
  EXPECT_EQ(lines[0]->points.front(), (Point{ox, oy + 291}));  // y = -0.6 at row 291.2
  EXPECT_FALSE(dev.clip_active());
  EXPECT_EQ(dev.origin(), (Point{5, 7}));
  EXPECT_EQ(dev.pen(), before);
}

INSTANTIATE_TEST_SUITE_P(CurveDrawing, CurveClip,
                         ::testing::Values(ClipCase{1, {0, 0, 625, 521}},
                                           ClipCase{2, {-1, -1, 625, 521}},
                                           ClipCase{3, {-1, -1, 626, 522}}));

TEST(CurveDrawing, LongPiecesAreChunkedIntoPolylinesSharingTheirEnds) {
  Graph g(kPanelFunction, 3000, 400);
  ASSERT_TRUE(g.compile_and_run("x/10"));
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  const auto lines = dev.of(OpKind::Polyline);
  ASSERT_EQ(lines.size(), 3u);  // 3001 points: 1026 + 1026 + 951, two shared
  int covered = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    EXPECT_LE(lines[k]->points.size(), static_cast<size_t>(kMaxPolylinePoints));
    covered += static_cast<int>(lines[k]->points.size()) - 1;
    if (k > 0) {
      EXPECT_EQ(lines[k]->points.back(), lines[k - 1]->points.front());
    }
  }
  EXPECT_EQ(covered, 3000);
  EXPECT_EQ(lines.front()->points.back().x, kLeft + 3000);
  EXPECT_EQ(lines.back()->points.front().x, kLeft);
  // The last pixel of every polyline is set, since lines leave it out.
  const auto pixels = dev.of(OpKind::Pixel);
  ASSERT_EQ(pixels.size(), lines.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    EXPECT_EQ(pixels[k]->points[0], lines[k]->points.back());
  }
}

struct DiscCase {
  int line_width;
  int offset;  // top-left corner relative to the point
};

class IsolatedPoint : public ::testing::TestWithParam<DiscCase> {};

TEST_P(IsolatedPoint, IsADiscOfLineWidthPlusTwo) {
  Graph g(kPanelFunction, 600, 400);
  g.panel.options[kOptLineWidth] = GetParam().line_width;
  ASSERT_TRUE(g.compile_and_run("sqrt(-x^2)"));  // only x = 0, column 300, row 200
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  EXPECT_TRUE(dev.of(OpKind::Polyline).empty());
  const auto discs = dev.of(OpKind::Ellipse);
  ASSERT_EQ(discs.size(), 1u);
  const int d = GetParam().line_width + 2;
  const int x = kLeft + 300 + GetParam().offset, y = kTop + 200 + GetParam().offset;
  EXPECT_EQ(discs[0]->rect, (Rect{x, y, x + d, y + d}));
  EXPECT_EQ(discs[0]->colour, 0xff0000u);
}

INSTANTIATE_TEST_SUITE_P(CurveDrawing, IsolatedPoint,
                         ::testing::Values(DiscCase{1, -1}, DiscCase{2, -2}, DiscCase{3, -2}));

// A single undefined sample splits a curve into two pieces, and the refined
// start of the right one may be snapped into the undefined column: neither
// piece may be lost, wherever the gap lies. Column k lies at x_min + k / 32.
struct GapCase {
  const char* formula;
  double x_min;
  int gap;  // the undefined column, -1 for x = 0 between two columns
};

class CurveGap : public ::testing::TestWithParam<GapCase> {};

TEST_P(CurveGap, EveryColumnButTheGapIsDrawn) {
  const GapCase& p = GetParam();
  Graph g(kPanelFunction, 512, 400);
  g.set_range(p.x_min, p.x_min + 16, -5, 5);
  ASSERT_TRUE(g.compile_and_run(p.formula));
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  std::vector<bool> drawn(513, false);
  for (const auto* l : dev.of(OpKind::Polyline)) {
    for (const Point& q : l->points) drawn.at(q.x - kLeft) = true;
  }
  for (const auto* d : dev.of(OpKind::Ellipse)) drawn.at(d->rect.left + 1 - kLeft) = true;
  for (int k = 0; k <= 512; ++k) {
    if (k != p.gap) {
      EXPECT_TRUE(drawn[k]) << "column " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CurveDrawing, CurveGap,
                         ::testing::Values(GapCase{"sin(x)/x", -8, 256},
                                           GapCase{"sin(x)/x-2", -8, 256},
                                           GapCase{"sin(x)/x", -8 - 1.0 / 64, -1},
                                           GapCase{"sin(x)/x", 0, 0},
                                           GapCase{"sin(x)/x", -1.0 / 32, 1},
                                           GapCase{"sin(x)/x", -16 + 1.0 / 32, 511},
                                           GapCase{"sin(x)/x", -16, 512},
                                           GapCase{"x/x", -8, 256}));

// tan(x): every branch that leaves the plot ends with a vertical line to the
// edge at its last inside column; nothing is drawn outside the rows 0..H.
TEST(CurveDrawing, BranchesLeavingThePlotEndWithAVerticalLineToTheEdge) {
  Graph g(kPanelFunction, 600, 400);
  ASSERT_TRUE(g.compile_and_run("tan(x)"));
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  const auto lines = dev.of(OpKind::Polyline);
  ASSERT_GE(lines.size(), 4u);
  int to_top = 0, to_bottom = 0;
  for (const auto* l : lines) {
    for (const Point& p : l->points) {
      EXPECT_GE(p.y, kTop);
      EXPECT_LE(p.y, kTop + 400);
    }
    const size_t n = l->points.size();
    ASSERT_GE(n, 2u);
    const Point a = l->points[0], b = l->points[1];
    const Point y = l->points[n - 2], z = l->points[n - 1];
    if (a.y == kTop + 400 && a.x == b.x) ++to_bottom;  // left end of a branch
    if (z.y == kTop && z.x == y.x) ++to_top;            // right end of a branch
  }
  EXPECT_GE(to_top, 3);
  EXPECT_GE(to_bottom, 3);
}

TEST(CurveDrawing, JumpAcrossThePlotBetweenColumnsIsAPassThroughLine) {
  Graph g(kPanelFunction, 600, 400);
  ASSERT_TRUE(g.compile_and_run("1000*sin(300*x)"));
  const CurveSamples& c = g.curve();
  int pass = 0;
  for (int i = 0; i <= c.pixel_last; ++i) pass += (c.pixel_flags[i] & kPassThrough) != 0;
  ASSERT_GT(pass, 0);
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  int full = 0;
  for (const auto* l : dev.of(OpKind::Line)) {
    if (l->points[0].y == kTop && l->points[1].y == kTop + 401 &&
        l->points[0].x == l->points[1].x) {
      ++full;
    }
  }
  EXPECT_EQ(full, pass);
}

TEST(CurveDrawing, StalePlotDrawsNothing) {
  Graph g;
  ASSERT_TRUE(g.compile_and_run("x"));
  ASSERT_TRUE(g.compile("x^2"));  // compiled again, not recomputed
  RecordingDevice dev;
  draw(g, CurveKind::Own, dev);
  EXPECT_TRUE(dev.ops.empty());
}

}  // namespace
}  // namespace kv
