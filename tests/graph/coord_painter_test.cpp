// The picture painter, observed through the recording device: tick steps and
// positions, labels, marks and arrow heads in both axis styles, the input
// hint, formula and integral labels, the start-point marker and the hatch
// colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <string>

#include "graph/colours.h"
#include "graph/coord_painter.h"
#include "graph/coord_ticks.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

using test::OpKind;
using test::RecordedOp;

constexpr double kPi = std::numbers::pi;

// ---------------------------------------------------------------------------
// Tick step rule.

struct StepCase {
  double range;
  int size;
  bool pi;
  double step;  // world units
  int subdivisions;
};

class TickStepRule : public ::testing::TestWithParam<StepCase> {};

TEST_P(TickStepRule, PicksMantissaAndSubdivisions) {
  const StepCase c = GetParam();
  const TickStep t = tick_step(c.range, c.size, c.pi);
  EXPECT_NEAR(t.step, c.step, c.step * 1e-12);
  EXPECT_EQ(t.subdivisions, c.subdivisions);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, TickStepRule,
    ::testing::Values(StepCase{12, 600, false, 2, 4},            // raw 104: mantissa 20
                      StepCase{4 * kPi, 600, true, 0.5 * kPi, 5},  // pi units: 433 -> 50
                      StepCase{3, 600, false, 0.25, 5},          // 260 -> 25
                      StepCase{6, 600, false, 1, 4},             // 520 -> 100
                      StepCase{3.3, 600, false, 0.5, 5},         // 286 -> 50
                      StepCase{10, 520, false, 1, 4},            // 100 is not > 100.1: 1000
                      StepCase{1e6, 600, false, 1e5, 4},         // large ranges shrink e
                      StepCase{1e-9, 600, false, 1e-10, 4}));

// ---------------------------------------------------------------------------
// A panel painted onto the recording device.

struct Picture {
  test::Graph g;
  test::RecordingDevice dev;
  PlotRect rect;
  ColourTable colours = build_colour_table(0);
  bool vector_mode = false;

  explicit Picture(PanelIndex role = kPanelFunction, int w = 600, int h = 500)
      : g(role, w, h) {
    rect.left = 69;
    rect.top = 21;
    rect.width = w;
    rect.height = h;
  }
  void options(std::initializer_list<OptionIndex> on) {
    for (int i = kOptEqualScales; i < kOptionCount; ++i) {
      if (i != kOptPalette) g.panel.options[i] = 0;
    }
    for (OptionIndex o : on) g.panel.options[o] = 1;
  }
  void paint(const std::string& formulas = "") {
    ASSERT_TRUE(g.compile_and_run(formulas));
    colours = build_colour_table(g.panel.option(kOptPalette));
    PictureFrame frame;
    frame.background = {0, 0, rect.right() + 23, rect.bottom() + 24};
    frame.plot = rect;
    frame.vector_mode = vector_mode;
    paint_picture(dev, g.panel, g.plot, colours, frame);
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const RecordedOp* op : dev.of(OpKind::Text)) out.push_back(op->text);
    return out;
  }
  const RecordedOp* text(const std::string& t) const {
    for (const RecordedOp* op : dev.of(OpKind::Text)) {
      if (op->text == t) return op;
    }
    return nullptr;
  }
  bool has_line(Point a, Point b) const {
    for (const RecordedOp* op : dev.of(OpKind::Line)) {
      if (op->points[0] == a && op->points[1] == b) return true;
    }
    return false;
  }
};

TEST(TickPositions, SixHundredPixelExampleGivesATickEveryHundredColumns) {
  Picture p;
  p.paint();
  const ViewMap map = view_map(p.g.panel, 600, 500);
  const AxisTicks x = build_axis_ticks(map, p.rect, Axis::X, 12, false);
  ASSERT_EQ(x.ticks.size(), 7u);
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(x.ticks[k].pixel, p.rect.left + 100 * k);
    EXPECT_DOUBLE_EQ(x.ticks[k].value, -6 + 2 * k);
  }
  // y: [-5, 5] on 500 rows, step 2; the first multiple below -5 is dropped.
  const AxisTicks y = build_axis_ticks(map, p.rect, Axis::Y, 10, false);
  ASSERT_EQ(y.ticks.size(), 5u);
  EXPECT_EQ(y.ticks[0].pixel, p.rect.top + 450);
  EXPECT_DOUBLE_EQ(y.ticks[0].value, -4);
  EXPECT_EQ(y.ticks[4].pixel, p.rect.top + 50);
}

TEST(TickPositions, TickLessThanHalfAPixelLeftOfTheRangeIsKept) {
  Picture p;
  p.g.set_range(-3.995, 8.005, -5, 5);
  p.paint();
  const AxisTicks x = build_axis_ticks(view_map(p.g.panel, 600, 500), p.rect, Axis::X, 12, false);
  ASSERT_FALSE(x.ticks.empty());
  EXPECT_DOUBLE_EQ(x.ticks[0].value, -4);
  EXPECT_EQ(x.ticks[0].pixel, p.rect.left);
}

TEST(TickPositions, PiUnitsKeepValuesInMultiplesOfPi) {
  Picture p;
  p.g.set_range(-2 * kPi, 2 * kPi, -5, 5);
  p.paint();
  const AxisTicks x =
      build_axis_ticks(view_map(p.g.panel, 600, 500), p.rect, Axis::X, 4 * kPi, true);
  ASSERT_EQ(x.ticks.size(), 9u);
  EXPECT_NEAR(x.ticks[1].value, -1.5, 1e-12);
  EXPECT_EQ(x.ticks[4].pixel, p.rect.left + 300);
}

// ---------------------------------------------------------------------------
// Labels.

TEST(TickLabels, LargeValuesGetAPowerOfTenWithARaisedExponent) {
  Picture p;
  p.options({kOptTickLabels, kOptBoxedStyle});
  p.g.set_range(0, 7e7, -5, 5);  // step 1e7
  p.paint();
  const RecordedOp* base = p.text("1\xB7" "10");
  ASSERT_NE(base, nullptr);
  // The exponent follows the base directly (4 characters of 7 pixels), raised.
  const Point want{base->points[0].x + 28, base->points[0].y - 3};
  bool found = false;
  for (const RecordedOp* op : p.dev.of(OpKind::Text)) {
    if (op->text == "7" && op->points[0] == want) found = true;
  }
  EXPECT_TRUE(found);
  // Boxed: x labels hang below the plot, b = h / 3 with h = 14.
  EXPECT_EQ(base->points[0].y, p.rect.bottom() + 14 / 3);
}

TEST(TickLabels, ZeroIsLeftOutWhereTheCrossedAxesMeet) {
  for (bool boxed : {false, true}) {
    Picture p;
    p.options({kOptTickLabels});
    p.g.panel.options[kOptBoxedStyle] = boxed;
    p.paint();
    const auto texts = p.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "0"), boxed ? 2 : 0) << boxed;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "-4"), 2) << boxed;
  }
}

TEST(TickLabels, CrossedLabelsSitBesideTheAxes) {
  Picture p;
  p.options({kOptTickLabels});
  p.paint();
  // x labels: top at axis row + b + 4, centred on the tick (two characters).
  const int row = p.rect.top + 250, col = p.rect.left + 300;
  const RecordedOp* x2 = nullptr;
  for (const RecordedOp* op : p.dev.of(OpKind::Text)) {
    if (op->text == "2" && op->points[0].y == row + 4 + 4) x2 = op;
  }
  ASSERT_NE(x2, nullptr);
  EXPECT_EQ(x2->points[0].x, p.rect.left + 400 + 7 / 2 - 7);
  // y labels: the axis column is 300 pixels from the left edge, so they end
  // b + 4 pixels left of it.
  const RecordedOp* y4 = nullptr;
  for (const RecordedOp* op : p.dev.of(OpKind::Text)) {
    if (op->text == "4" && op->points[0].x < col) y4 = op;
  }
  ASSERT_NE(y4, nullptr);
  EXPECT_EQ(y4->points[0].x + 7, col - (4 + 4));
  EXPECT_EQ(y4->points[0].y, p.rect.top + 50 - 14 / 2 - 1);
}

TEST(TickLabels, PiUnitsDrawTheGlyphAfterTheNumber) {
  Picture p;
  p.options({kOptTickLabels, kOptBoxedStyle, kOptXUnitsPi});
  p.g.set_range(-2 * kPi, 2 * kPi, -5, 5);
  p.paint();
  const RecordedOp* label = p.text("-1.5");
  ASSERT_NE(label, nullptr);
  const int text_right = label->points[0].x + 4 * 7;
  bool glyph = false;
  for (const RecordedOp* op : p.dev.of(OpKind::FillRect)) {
    if (op->colour == p.colours[kColourText] && op->rect.left >= text_right &&
        op->rect.left < text_right + 12 && op->rect.top >= label->points[0].y) {
      glyph = true;
    }
  }
  EXPECT_TRUE(glyph);
  EXPECT_NE(p.text("0.5"), nullptr);
}

// ---------------------------------------------------------------------------
// Marks and axes.

TEST(TickMarks, BoxedStyleMarksBothEdgesCrossedStyleTheAxes) {
  Picture boxed;
  boxed.options({kOptTickMarks, kOptBoxedStyle});
  boxed.paint();
  const PlotRect& r = boxed.rect;
  const int x = r.left + 100, y = r.top + 50;
  EXPECT_TRUE(boxed.has_line({x, r.top}, {x, r.top + 9}));
  EXPECT_TRUE(boxed.has_line({x, r.bottom() - 8}, {x, r.bottom() + 1}));
  EXPECT_TRUE(boxed.has_line({r.left, y}, {r.left + 9, y}));
  EXPECT_TRUE(boxed.has_line({r.right() - 8, y}, {r.right() + 1, y}));
  // Minor marks, a quarter step apart: length 2 + 1 - 1 in boxed style.
  EXPECT_TRUE(boxed.has_line({x + 25, r.top}, {x + 25, r.top + 2}));

  Picture crossed;
  crossed.options({kOptTickMarks});
  crossed.paint();
  const int row = r.top + 250, col = r.left + 300;
  EXPECT_TRUE(crossed.has_line({x, row - 4}, {x, row + 5}));
  EXPECT_TRUE(crossed.has_line({col - 4, y}, {col + 5, y}));
  EXPECT_TRUE(crossed.has_line({x + 25, row - 1}, {x + 25, row + 2}));
}

TEST(Axes, ArrowHeadsStayAtTheClampedAxisWhenTheOriginIsOutside) {
  struct Case {
    double xmin, xmax, ymin, ymax;
    bool right_of_plot, above_plot;
  };
  for (const Case c : {Case{1, 13, 2, 12, false, false}, Case{-13, -1, -12, -2, true, true}}) {
    Picture p;
    p.options({kOptAxes});
    p.g.set_range(c.xmin, c.xmax, c.ymin, c.ymax);
    p.paint();
    const PlotRect& r = p.rect;
    const int row = c.above_plot ? r.top - 1 : r.bottom() + 1;
    const int col = c.right_of_plot ? r.right() + 1 : r.left - 1;
    const auto polygons = p.dev.of(OpKind::Polygon);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0]->points,
              (std::vector<Point>{{r.right() + 15, row}, {r.right() + 6, row - 4}, {r.right() + 6, row + 4}}));
    EXPECT_EQ(polygons[1]->points,
              (std::vector<Point>{{col, r.top - 15}, {col - 4, r.top - 6}, {col + 4, r.top - 6}}));
    EXPECT_EQ(polygons[0]->brush.colour, p.colours[kColourAxes]);
    EXPECT_TRUE(p.dev.of(OpKind::Line).empty()) << "no axis line outside the plot";
  }
}

TEST(Axes, AxisLinesReachBeyondThePlotForTheArrowHeads) {
  Picture p;
  p.options({kOptAxes});
  p.g.panel.options[kOptLineWidth] = 3;
  p.paint();
  const PlotRect& r = p.rect;
  const int row = r.top + 250, col = r.left + 300;
  EXPECT_TRUE(p.has_line({r.left - 6, row}, {r.right() + 7, row}));
  EXPECT_TRUE(p.has_line({col, r.top - 6}, {col, r.bottom() + 7}));
  EXPECT_EQ(p.dev.of(OpKind::Line)[0]->pen.width, 3);
}

TEST(Axes, PaletteTwoHalvesTheAxisWidth) {
  Picture p;
  p.options({kOptAxes});
  p.g.panel.options[kOptLineWidth] = 3;
  p.g.panel.options[kOptPalette] = 2;
  p.paint();
  EXPECT_EQ(p.dev.of(OpKind::Line)[0]->pen.width, 2);
}

TEST(CoordinateSystem, AllSixOptionsOffLeaveOnlyBackgroundAndCurves) {
  Picture p;
  p.options({});
  p.paint("x");
  for (const RecordedOp* op : p.dev.of(OpKind::Line)) {
    EXPECT_NE(op->pen.colour, p.colours[kColourAxes]);
  }
  EXPECT_TRUE(p.dev.of(OpKind::Strip).empty());
  EXPECT_TRUE(p.dev.of(OpKind::Text).empty());
  EXPECT_TRUE(p.dev.of(OpKind::Polygon).empty());
  EXPECT_FALSE(p.dev.of(OpKind::Polyline).empty());
}

// ---------------------------------------------------------------------------
// Grid.

TEST(Grid, ScreenUsesPatternStripsVectorModeSingleDots) {
  Picture screen;
  screen.options({kOptGrid});
  screen.paint();
  const auto strips = screen.dev.of(OpKind::Strip);
  ASSERT_EQ(strips.size(), 7u + 5u);
  EXPECT_EQ(strips[0]->colour, screen.colours[kColourGrid]);
  EXPECT_EQ(strips[0]->rect.height(), 501);

  Picture vec;
  vec.options({kOptGrid});
  vec.vector_mode = true;
  vec.paint();
  EXPECT_TRUE(vec.dev.of(OpKind::Strip).empty());
  // The first vertical line: dots from the bottom up, every second row.
  const auto pixels = vec.dev.of(OpKind::Pixel);
  ASSERT_GE(pixels.size(), 3u);
  EXPECT_EQ(pixels[0]->points[0], (Point{vec.rect.left, vec.rect.bottom()}));
  EXPECT_EQ(pixels[1]->points[0], (Point{vec.rect.left, vec.rect.bottom() - 2}));
  EXPECT_EQ(pixels[0]->colour, vec.colours[kColourGrid]);
}

TEST(Grid, SubGridAloneDrawsTheTickLinesAsSparseDots) {
  Picture p;
  p.options({kOptSubGrid});
  p.vector_mode = true;
  p.paint();
  const auto pixels = p.dev.of(OpKind::Pixel);
  ASSERT_FALSE(pixels.empty());
  for (const RecordedOp* op : pixels) EXPECT_EQ(op->colour, p.colours[kColourSubGrid]);
  // Subdivision lines a quarter step (25 columns) apart, tick lines included.
  // Row bottom - 3 carries a dot of every vertical line and lies on no
  // horizontal one.
  std::vector<int> columns;
  for (const RecordedOp* op : pixels) {
    if (op->points[0].y == p.rect.bottom() - 3) columns.push_back(op->points[0].x);
  }
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  ASSERT_EQ(columns.size(), 25u);
  EXPECT_EQ(columns[1] - columns[0], 25);
}

// ---------------------------------------------------------------------------
// Texts, marker, hatch.

TEST(InputHint, FiveLinesStandAboveThePlotBottom) {
  Picture p;
  p.options({});
  p.paint("");
  const auto texts = p.dev.of(OpKind::Text);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0]->text, "Funktion eingeben:");
  EXPECT_EQ(texts[2]->text, "oder \"Graph\" im Men\xFC");
  const int pitch = 11 + 2 + 2;
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(texts[k]->points[0], (Point{p.rect.left + 14, p.rect.bottom() - (6 - k) * pitch}));
    EXPECT_EQ(texts[k]->colour, p.colours[kColourText]);
  }
}

TEST(FormulaLabels, LastFormulaOnTheLowestLineWithMiddleDots) {
  Picture p;
  p.options({kOptFunctionExpressions});
  p.paint("2*x; x^2");
  const auto texts = p.dev.of(OpKind::Text);
  ASSERT_EQ(texts.size(), 2u);
  const int h = 11 + 2;
  EXPECT_EQ(texts[0]->text, "x^2");
  EXPECT_EQ(texts[0]->points[0], (Point{p.rect.left + 12, p.rect.bottom() - h - 10}));
  EXPECT_EQ(texts[1]->text, "2\xB7x");
  EXPECT_EQ(texts[1]->points[0].y, p.rect.bottom() - h - 10 - (h + 2));
  EXPECT_EQ(texts[1]->colour, p.colours[5]);
  EXPECT_EQ(texts[0]->colour, p.colours[6]);
}

TEST(IntegralLabels, LowerBoundWithoutTextGetsItsValueAsText) {
  for (bool absolute : {false, true}) {
    Picture p(kPanelIntegral);
    p.options({kOptFunctionExpressions});
    p.g.panel.option_flag = absolute;
    p.g.set_start(-1.5);
    p.paint("cos(x)");
    EXPECT_EQ(p.g.panel.dialog_values[kStartX].text, "-1.5");
    EXPECT_NE(p.text("-1.5"), nullptr);
    EXPECT_NE(p.text("x"), nullptr);
    EXPECT_NE(p.text(absolute ? " |cos(x)| dx" : " (cos(x)) dx"), nullptr);
  }
}

TEST(StartMarker, HollowSquareAroundTheStartPoint) {
  Picture p(kPanelDiffEqu);
  p.options({});
  p.g.panel.options[kOptLineWidth] = 2;
  p.g.set_start(0, {1});
  p.paint("y' = y");
  const auto rects = p.dev.of(OpKind::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  const int col = p.rect.left + 300, row = p.rect.top + 250 - 50;
  EXPECT_EQ(rects[0]->rect, (Rect{col - 3, row - 3, col + 4, row + 4}));
  EXPECT_EQ(rects[0]->pen.colour, p.colours[kColourMarker]);
  EXPECT_EQ(rects[0]->pen.width, 2);
  EXPECT_EQ(rects[0]->brush.style, BrushStyle::Null);
}

TEST(IntegralArea, HatchIsAQuarterCurveColourOnLightPalettesThreeQuartersOnDark) {
  const Colour want[3] = {0xbfbfff, 0xb2b2f2, 0x1866bf};
  for (int palette = 0; palette < 3; ++palette) {
    Picture p(kPanelIntegral);
    p.options({kOptFillIntegralArea});
    p.g.panel.options[kOptPalette] = palette;
    p.g.set_start(-kPi);
    p.paint("cos(x)");
    const auto polygons = p.dev.of(OpKind::Polygon);
    ASSERT_FALSE(polygons.empty());
    EXPECT_EQ(polygons[0]->brush.style, BrushStyle::HatchBackwardDiagonal);
    EXPECT_EQ(polygons[0]->brush.colour, want[palette]) << palette;
  }
}

TEST(Picture, PendingErrorLeavesOnlyTheBackground) {
  Picture p;
  p.g.panel.options[kOptGrid] = 1;
  ASSERT_TRUE(p.g.compile_and_run("x"));
  p.g.panel.error.report(kMsgUndefinedValue, 510);
  PictureFrame frame;
  frame.background = {0, 0, 700, 560};
  frame.plot = p.rect;
  paint_picture(p.dev, p.g.panel, p.g.plot, p.colours, frame);
  ASSERT_EQ(p.dev.ops.size(), 1u);
  EXPECT_EQ(p.dev.ops[0].kind, OpKind::FillRect);
  EXPECT_EQ(p.dev.ops[0].rect, frame.background);
}

TEST(Colours, SchemesAreStoredColumnInterleaved) {
  EXPECT_EQ(scheme_colour(0, 0), 0xffffffu);
  EXPECT_EQ(scheme_colour(1, 0), 0xeeeeeeu);
  EXPECT_EQ(scheme_colour(2, 6), 0x2088ffu);
  EXPECT_EQ(scheme_colour(2, 19), 0x9f00ffu);
  EXPECT_EQ(scheme_colour(0, 20), 0u);
  EXPECT_EQ(blend(0xff0000, 0x0000ff), 0x7f007fu);
}

}  // namespace
}  // namespace kv
