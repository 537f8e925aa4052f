// "Markante Punkte" on the graph: which points of a discussion are drawn, the
// school notation of their labels, and dots and labels as the picture
// painter draws them onto the recording device.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "graph/colours.h"
#include "graph/coord_painter.h"
#include "graph/point_marks.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

using analysis::Feature;
using analysis::FeatureKind;
using test::OpKind;
using test::RecordedOp;

struct LabelCase {
  FeatureKind kind;
  double x, y;
  const char* label;  // Windows-1252, "\x96" the minus
};

TEST(PointMarkLabels, SchoolNotationWithDecimalComma) {
  const LabelCase cases[] = {
      {FeatureKind::kMaximum, -1.2247448713915890, 3.6742346141747673, "H(\x96" "1,225|3,674)"},
      {FeatureKind::kMinimum, 1.2247448713915890, -3.674, "T(1,225|\x96" "3,674)"},
      // A proven zero's value is rounding noise; trailing zeros go.
      {FeatureKind::kZero, 2.0000000000000004, -3e-16, "N(2|0)"},
      {FeatureKind::kInflection, 0.5, 0.25, "W(0,5|0,25)"},
      {FeatureKind::kSaddle, 0, -0.0001, "SP(0|0)"},  // rounds to zero: no "-0"
      {FeatureKind::kYIntercept, 0, 999999.9996, "Sy(0|1000000)"},
      {FeatureKind::kIntersection, 12345678.9, -2.5e-7, "S(1,235E+7|0)"},
      {FeatureKind::kIntersection, -1e300, 1e-3, "S(\x96" "1,000E+300|0,001)"},
      {FeatureKind::kPole, 1.5707963267948966, 0, "P(1,571)"},  // x alone
      {FeatureKind::kHole, 1, 2, "L(1|2)"},
      {FeatureKind::kJump, -1, -1, "Sp(\x96" "1|\x96" "1)"},
  };
  for (const LabelCase& c : cases) {
    EXPECT_EQ(point_mark_label(c.kind, c.x, c.y), c.label) << c.x << " " << c.y;
  }
  // The window runs with the user's numeric locale, which writes commas itself.
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
    for (const LabelCase& c : cases) EXPECT_EQ(point_mark_label(c.kind, c.x, c.y), c.label);
    std::setlocale(LC_NUMERIC, "C");
  }
  for (FeatureKind k : {FeatureKind::kDomainGap, FeatureKind::kUnclear}) {
    EXPECT_EQ(point_mark_label(k, 1, 1), "");
  }
}

TEST(PointMarks, OnlyProvenPointsOfDrawnKindsReachTheGraph) {
  analysis::Discussion d;
  auto add = [&d](FeatureKind kind, int formula, bool proven, bool has_y = true) {
    Feature f;
    f.kind = kind;
    f.formula = formula;
    f.proven = proven;
    f.has_x = true;
    f.has_y = has_y;
    f.x = 1.0 + static_cast<double>(d.features.size());
    f.y = 2.0;
    d.features.push_back(f);
  };
  add(FeatureKind::kZero, 0, true);
  add(FeatureKind::kZero, 1, false);          // unsicher
  add(FeatureKind::kPole, 0, true, false);    // a pole needs no y
  add(FeatureKind::kHole, 1, true);
  add(FeatureKind::kJump, 0, true);           // no limits: not drawn
  add(FeatureKind::kJump, 0, false);          // unsicher
  add(FeatureKind::kIntersection, 1, true);
  add(FeatureKind::kUnclear, 0, false, false);
  add(FeatureKind::kMaximum, 5, true);        // no such formula
  // The discussion's formulas 0 and 1 are the panel's formulas 0 and 2 (a
  // polar one between them was left out).
  const std::vector<PointMark> marks = point_marks_from(d, {0, 2});
  ASSERT_EQ(marks.size(), 4u);
  EXPECT_EQ(marks[0].kind, FeatureKind::kZero);
  EXPECT_EQ(marks[0].formula, 0);
  EXPECT_EQ(marks[0].x, 1.0);
  EXPECT_EQ(marks[1].kind, FeatureKind::kPole);
  EXPECT_EQ(marks[2].kind, FeatureKind::kHole);
  EXPECT_EQ(marks[2].formula, 2);
  EXPECT_EQ(marks[3].kind, FeatureKind::kIntersection);
  EXPECT_EQ(marks[3].formula, 2);
}

// The discussion of the graph's own panel reaches the marks with the proven
// limits: the hole at its limit, the jump's dot at its value and the limits.
TEST(PointMarks, ProvenHolesAndJumpsCarryTheirLimits) {
  test::Graph g;
  g.panel.options[kOptMarkPoints] = 1;
  ASSERT_TRUE(g.compile_and_run("(x^2-1)/(x-1);floor(x)+3"));
  std::vector<std::string> labels;
  for (const PointMark& m : g.plot.marks) {
    if (m.kind == FeatureKind::kHole) labels.push_back(point_mark_label(m.kind, m.x, m.y));
    if (m.kind == FeatureKind::kJump && m.x == 1) {
      EXPECT_TRUE(m.has_value);
      EXPECT_EQ(m.y, 4);
      EXPECT_EQ(m.y_left, 3);
      EXPECT_EQ(m.y_right, 4);
    }
  }
  EXPECT_EQ(labels, std::vector<std::string>{"L(1|2)"});
}

TEST(PointMarks, FoundOnlyWithTheOptionOnTheFunctionPanel) {
  test::Graph g;
  ASSERT_TRUE(g.compile_and_run("x^2-1"));
  EXPECT_TRUE(g.plot.marks.empty());  // off by default
  g.panel.options[kOptMarkPoints] = 1;
  ASSERT_TRUE(g.run());
  // Both zeros, the minimum and the y intercept, which share their point.
  std::vector<std::string> labels;
  for (const PointMark& m : g.plot.marks) labels.push_back(point_mark_label(m.kind, m.x, m.y));
  EXPECT_EQ(labels, (std::vector<std::string>{"N(\x96" "1|0)", "T(0|\x96" "1)", "Sy(0|\x96" "1)",
                                              "N(1|0)"}));
  g.panel.role = kPanelIntegral;
  EXPECT_TRUE(find_point_marks(g.panel).empty());
  g.panel.role = kPanelFunction;
  g.panel.source = "r(t)=3";  // only polar curves: nothing to discuss
  ASSERT_TRUE(g.compile("r(t)=3"));
  EXPECT_TRUE(find_point_marks(g.panel).empty());
}

struct MarkedPicture {
  test::Graph g;
  test::RecordingDevice dev;
  ColourTable colours = build_colour_table(0);
  PictureFrame frame;

  MarkedPicture() : g(kPanelFunction, 600, 500) {
    frame.background = {0, 0, 700, 560};
    frame.plot = {69, 21, 600, 500};
    g.panel.options[kOptFunctionExpressions] = 0;
  }
  void paint(const std::vector<PointMark>& marks) {
    ASSERT_TRUE(g.compile_and_run("x^2-1;x"));
    g.plot.marks = marks;
    paint_picture(dev, g.panel, g.plot, colours, frame);
  }
  std::vector<const RecordedOp*> labels() const {
    std::vector<const RecordedOp*> out;
    for (const RecordedOp* op : dev.of(OpKind::Text)) {
      if (op->text.find('|') != std::string::npos) out.push_back(op);
    }
    return out;
  }
};

Rect text_box(const test::RecordingDevice& dev, const RecordedOp& op) {
  const TextExtent e = dev.text_extent(op.text);
  return {op.points[0].x, op.points[0].y, op.points[0].x + e.width, op.points[0].y + e.height};
}

bool overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PointMarks, DotsInTheCurveColourAndLabelsThatNeverOverlap) {
  MarkedPicture p;
  // x from -6 to 6 and y from -5 to 5 over 600 x 500: 50 pixels a unit.
  p.paint({{FeatureKind::kMinimum, 0, 0, -1},
           {FeatureKind::kYIntercept, 0, 0, -1},  // the same point: its label moves
           {FeatureKind::kZero, 0, 0.02, 0},      // one pixel beside the next
           {FeatureKind::kZero, 1, 0, 0},
           {FeatureKind::kZero, 0, 5.95, 0},      // at the right edge: label to the left
           {FeatureKind::kMaximum, 0, 1, 7}});    // above the visible range: nothing
  const std::vector<const RecordedOp*> dots = p.dev.of(OpKind::Ellipse);
  ASSERT_EQ(dots.size(), 5u);
  // Centre (69 + 300, 21 + 250 + 50): the dot of radius 2 around it.
  EXPECT_EQ(dots[0]->rect, (Rect{367, 319, 372, 324}));
  EXPECT_EQ(dots[0]->colour, p.colours[p.g.panel.formulas[0]->colour_slot]);
  EXPECT_EQ(dots[3]->colour, p.colours[p.g.panel.formulas[1]->colour_slot]);
  EXPECT_NE(dots[0]->colour, dots[3]->colour);

  const std::vector<const RecordedOp*> labels = p.labels();
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(labels[0]->text, "T(0|\x96" "1)");
  EXPECT_EQ(labels[1]->text, "Sy(0|\x96" "1)");
  for (size_t i = 0; i < labels.size(); ++i) {
    const Rect a = text_box(p.dev, *labels[i]);
    EXPECT_GE(a.left, 69);
    EXPECT_LE(a.right, 670);
    for (size_t j = i + 1; j < labels.size(); ++j) {
      EXPECT_FALSE(overlap(a, text_box(p.dev, *labels[j]))) << labels[i]->text << " " << labels[j]->text;
    }
  }
  const RecordedOp* edge = labels.back();
  EXPECT_EQ(edge->text, "N(5,95|0)");
  EXPECT_LT(edge->points[0].x, 69 + 597);
}

TEST(PointMarks, PolesStrokeTheAxisHolesAreRingsJumpsRingTheLimitsNotTaken) {
  MarkedPicture p;
  p.paint({{FeatureKind::kPole, 0, 1, 0},
           {FeatureKind::kHole, 0, -2, 2},
           {FeatureKind::kJump, 0, 3, 1, 0, 1, true},      // takes the right limit
           {FeatureKind::kJump, 0, -4, -2, -3, -1, true}}); // sgn-like: takes neither
  const std::vector<const RecordedOp*> lines = p.dev.of(OpKind::Line);
  bool stroke = false;  // across the x axis at row 271, column 69 + 350
  for (const RecordedOp* op : lines) {
    stroke = stroke || (op->points[0].x == 419 && op->points[1].x == 419 && op->points[0].y < 271 &&
                        op->points[1].y > 271);
  }
  EXPECT_TRUE(stroke);
  // A ring is the curve colour with the background inside: two ellipses.
  // Hole: 2; first jump: a ring at 0 and the dot; second: two rings and the dot.
  const std::vector<const RecordedOp*> e = p.dev.of(OpKind::Ellipse);
  ASSERT_EQ(e.size(), 10u);
  EXPECT_NE(e[0]->colour, e[1]->colour);
  std::vector<std::string> texts;
  for (const RecordedOp* op : p.dev.of(OpKind::Text)) {
    if (op->text.find('(') != std::string::npos) texts.push_back(op->text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"P(1)", "L(\x96" "2|2)", "Sp(3|1)",
                                             "Sp(\x96" "4|\x96" "2)"}));
}

TEST(PointMarks, SelectedPointIsRingedWithItsLabel) {
  MarkedPicture p;
  const MarkedPoint point{FeatureKind::kMaximum, -1, 2};
  p.frame.selected = &point;
  p.paint({});
  EXPECT_TRUE(p.dev.of(OpKind::Ellipse).empty());
  const std::vector<const RecordedOp*> labels = p.labels();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0]->text, "H(\x96" "1|2)");
  EXPECT_EQ(labels[0]->colour, p.colours[kColourMarker]);

  // Outside the view: nothing.
  test::RecordingDevice other;
  const MarkedPoint far{FeatureKind::kMaximum, 100, 2};
  p.frame.selected = &far;
  paint_picture(other, p.g.panel, p.g.plot, p.colours, p.frame);
  EXPECT_EQ(other.of(OpKind::Text).size(), p.dev.of(OpKind::Text).size() - 1);
}

}  // namespace
}  // namespace kv
