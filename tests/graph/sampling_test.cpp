#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graph/sampling.h"
#include "graph_test_support.h"

namespace kv {
namespace {

using test::Graph;

int count_flags(const CurveSamples& c, uint8_t mask, uint8_t want) {
  int n = 0;
  for (int i = 0; i <= c.last; ++i) n += (c.samples[i].flag & mask) == want;
  return n;
}

TEST(Sampling, CartesianHasOneSamplePerColumnAndExactEnds) {
  Graph g;
  ASSERT_TRUE(g.compile_and_run("x"));
  const CurveSamples& c = g.curve();
  ASSERT_EQ(c.last, g.width);
  ASSERT_EQ(c.samples.size(), static_cast<size_t>(g.width) + 2);
  EXPECT_EQ(c.samples[0].t, -6.0);
  EXPECT_EQ(c.samples[g.width].t, 6.0);  // exactly b, not a + n * step
  EXPECT_EQ(c.samples[0].flag, kDefined | kPieceStart);
  EXPECT_EQ(c.samples[g.width].flag, kDefined | kPieceEnd);
  EXPECT_EQ(count_flags(c, 0xff, kDefined), g.width - 1);
}

TEST(Sampling, PolarUsesEightSamplesPerPixelOfTheLargerSide) {
  Graph g(kPanelFunction, 300, 400);
  ASSERT_TRUE(g.compile_and_run("r(t)=3"));
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.last, 8 * 400);
  EXPECT_EQ(c.samples[c.last].t, g.panel.range[kTMax].value);
}

// y = 1/x with the pole between two columns: the line between them is
// broken and both ends are pulled towards the pole.
TEST(Sampling, PoleBetweenColumnsBreaksThePieceAndRefinesBothEnds) {
  Graph g(kPanelFunction, 600, 400);
  g.set_range(-6.01, 5.99, -5, 5);  // x = 0 lies between columns 300 and 301
  ASSERT_TRUE(g.compile_and_run("1/x"));
  const CurveSamples& c = g.curve();
  const Sample& left = c.samples[300];
  const Sample& right = c.samples[301];
  EXPECT_EQ(left.flag & kPieceEnd, kPieceEnd);
  EXPECT_EQ(right.flag & kPieceStart, kPieceStart);
  EXPECT_LT(left.t, 0.0);
  EXPECT_GT(left.t, -0.01);   // moved from -0.01 towards the pole
  EXPECT_GT(right.t, 0.0);
  EXPECT_LT(right.t, 0.01);
  EXPECT_LT(left.v, -100.0);  // 1/x grows towards the pole
  EXPECT_GT(right.v, 100.0);
}

TEST(Sampling, PoleOnAColumnLeavesItUndefinedAndRefinesTheNeighbours) {
  Graph g(kPanelFunction, 600, 400);  // x = 0 is column 300
  ASSERT_TRUE(g.compile_and_run("1/x"));
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.samples[299].flag & kPieceEnd, kPieceEnd);
  EXPECT_GT(c.samples[299].t, -0.02);
  EXPECT_LT(c.samples[299].v, -100.0);
  // The right branch's end was snapped into the pole's slot or stays at 301;
  // in both cases no piece joins the branches.
  EXPECT_NE(c.samples[300].flag & kPieceEnd, kPieceEnd);
  const bool snapped = is_defined(c.samples[300].flag);
  const Sample& start = snapped ? c.samples[300] : c.samples[301];
  EXPECT_EQ(start.flag & kPieceStart, kPieceStart);
  EXPECT_GT(start.v, 100.0);
}

// sqrt(x): the defined piece starts right of 0; its start is refined towards
// 0 in sub-steps of step/8 and snapped into the undefined neighbour's slot
// when it gets within half a step of that neighbour's x.
TEST(Sampling, DomainEdgeIsRefinedAndSnappedIntoTheUndefinedNeighbour) {
  Graph g(kPanelFunction, 600, 400);
  g.set_range(-5.985, 6.015, -5, 5);  // column 299 at -0.005, column 300 at 0.015
  ASSERT_TRUE(g.compile_and_run("sqrt(x)"));
  const CurveSamples& c = g.curve();
  EXPECT_FALSE(is_defined(c.samples[298].flag));
  const Sample& start = c.samples[299];
  ASSERT_TRUE(is_defined(start.flag));
  EXPECT_EQ(start.flag & kPieceStart, kPieceStart);
  EXPECT_GE(start.t, 0.0);
  EXPECT_LT(start.t, 0.02 / 8 / 8);  // at least two sub-step sizes deep
  EXPECT_NEAR(start.v, std::sqrt(start.t), 1e-12);
  EXPECT_EQ(c.samples[300].flag & kPieceStart, 0);
}

// Grid values are evaluated in chunks, and the pole test walks a window of
// four samples; a pole or a domain edge right at, before or after a chunk
// border must be classified as anywhere else, and no other sample may gain a
// piece flag.
TEST(Sampling, PolesAndDomainEdgesNextToChunkBordersAreClassified) {
  std::vector<int> columns;
  for (int border : {256, 512, 1024}) {
    for (int k = border - 6; k <= border + 4; ++k) {
      if (k >= 1 && k < 1022) columns.push_back(k);
    }
  }
  for (int k : columns) {
    SCOPED_TRACE(k);
    Graph g(kPanelFunction, 1024, 400);
    g.set_range(0, 16, -5, 5);  // column i at i / 64, exactly
    const std::string c = std::to_string((k + 0.5) / 64);
    ASSERT_TRUE(g.compile_and_run("1/(x-" + c + ");sqrt(x-" + c + ")"));
    const CurveSamples& pole = g.curve(0);
    EXPECT_EQ(pole.samples[k].flag, kDefined | kPieceEnd);
    EXPECT_EQ(pole.samples[k + 1].flag, kDefined | kPieceStart);
    EXPECT_EQ(count_flags(pole, 0xff, kDefined), pole.last + 1 - 4);
    // The refined start may have been snapped into the undefined column k.
    const CurveSamples& edge = g.curve(1);
    const int snapped = is_defined(edge.samples[k].flag) ? 1 : 0;
    EXPECT_EQ(count_flags(edge, kDefined, 0), k + 1 - snapped);
    EXPECT_EQ(edge.samples[k + 1 - snapped].flag, kDefined | kPieceStart);
    EXPECT_EQ(count_flags(edge, 0xff, kDefined), edge.last - k - 2 + snapped);
  }
}

TEST(Sampling, DomainEdgeFarFromTheNeighbourStaysInItsOwnSlot) {
  Graph g(kPanelFunction, 600, 400);
  g.set_range(-5.995, 6.005, -5, 5);  // column 300 at 0.005, less than half a step from 0
  ASSERT_TRUE(g.compile_and_run("sqrt(x)"));
  const CurveSamples& c = g.curve();
  EXPECT_FALSE(is_defined(c.samples[299].flag));
  EXPECT_EQ(c.samples[300].flag, kDefined | kPieceStart);
  EXPECT_LT(c.samples[300].t, 0.005);
  EXPECT_GE(c.samples[300].t, 0.0);
}

struct NoRefineCase {
  const char* formula;
};

class DiscontinuousFormulas : public ::testing::TestWithParam<NoRefineCase> {};

// Piece ends of rand and frac keep their grid positions.
TEST_P(DiscontinuousFormulas, KeepPieceEndsOnTheGrid) {
  Graph g(kPanelFunction, 600, 400);
  ASSERT_TRUE(g.compile_and_run(GetParam().formula));
  const CurveSamples& c = g.curve();
  const FormulaPlot& fp = g.plot.formulas[0];
  int ends = 0;
  for (int i = 0; i < c.last; ++i) {
    if (!(c.samples[i].flag & (kPieceEnd | kPieceStart))) continue;
    ++ends;
    EXPECT_DOUBLE_EQ(c.samples[i].t, fp.a + i * fp.step) << "sample " << i;
  }
  EXPECT_GT(ends, 2);
}

INSTANTIATE_TEST_SUITE_P(Sampling, DiscontinuousFormulas,
                         ::testing::Values(NoRefineCase{"frac(x)"}, NoRefineCase{"100*rand"}));

TEST(Sampling, SingleDefinedSampleIsIsolated) {
  Graph g(kPanelFunction, 600, 400);
  ASSERT_TRUE(g.compile_and_run("sqrt(-x^2)"));  // defined only at x = 0, column 300
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.samples[300].flag, kIsolated);
  EXPECT_EQ(count_flags(c, kDefined, kDefined), 1);
}

TEST(Sampling, SpikeAtTheRightEdgeIsIsolatedFromThePiece) {
  Graph g(kPanelFunction, 600, 400);
  ASSERT_TRUE(g.compile_and_run("100*(1-sgn(abs(x-6)))"));  // 100 only at x = 6
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.samples[600].flag, kIsolated);
  EXPECT_EQ(c.samples[599].flag, kDefined | kPieceEnd);
}

TEST(Sampling, SpikeAtTheLeftEdgeIsIsolatedFromThePiece) {
  Graph g(kPanelFunction, 512, 400);
  g.set_range(-1, 1, -5, 5);  // column 1 at -1 + 1/256, exact
  ASSERT_TRUE(g.compile_and_run("100*(1-sgn(abs(x+0.99609375)))"));
  const CurveSamples& c = g.curve();
  EXPECT_EQ(c.samples[0].flag, kIsolated);
  EXPECT_EQ(c.samples[1].flag & kPieceStart, kPieceStart);
}

TEST(Sampling, DerivativeCurveInDiffEquPanel) {
  Graph g(kPanelDiffEqu, 600, 400);
  g.panel.derivative = true;
  ASSERT_TRUE(g.compile_and_run("x^3/3"));
  const CurveSamples& d = g.curve(0, 1);
  ASSERT_TRUE(d.used);
  for (int i = 0; i <= d.last; i += 50) {
    ASSERT_TRUE(is_defined(d.samples[i].flag));
    EXPECT_NEAR(d.samples[i].v, d.samples[i].t * d.samples[i].t, 1e-5);
  }
}

TEST(Sampling, UnusableFormulaIsReportedAndNothingIsDrawn) {
  Graph g;
  ASSERT_TRUE(g.compile("x;max(1)"));
  EXPECT_FALSE(g.run());
  EXPECT_TRUE(g.panel.error.failed);
  EXPECT_EQ(g.panel.error.message, kMsgInvalidExpression);
  EXPECT_EQ(g.panel.error.control_id, kExpressionControlId);
  EXPECT_FALSE(g.plot.valid);
}

}  // namespace
}  // namespace kv
