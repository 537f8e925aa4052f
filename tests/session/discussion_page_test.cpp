// The curve discussion window's rules: its start fields from the function
// panel, the checks of "&Berechnen", the table rows, the clipboard text and
// the point a row marks.
#include <gtest/gtest.h>

#include "model/initial_contents.h"
#include "session/discussion_page.h"

namespace kv {
namespace {

using analysis::Feature;
using analysis::FeatureKind;

struct Page {
  PanelSet panels;
  PanelRecord panel;
  DialogTexts texts;
  DiscussionResult result;
  Page() {
    fill_initial_contents(panels);
    reset_discussion_panel(panel, panels[kPanelFunction]);
  }
  bool run(const char* formula, const char* x_min, const char* x_max) {
    texts.formula = formula;
    texts.range[kXMin] = x_min;
    texts.range[kXMax] = x_max;
    return read_discussion_fields(panel, texts, {}) && compute_discussion(panel, result, 20);
  }
};

TEST(DiscussionPage, StartsWithTheCartesianFormulasAndNamesThePolarOnes) {
  Page p;
  PanelRecord& f = p.panels[kPanelFunction];
  f.source = "x^2;\r\nr(t)=3; sin(x) ;r(t)=t;x^2+y^2=9";
  f.range[kXMin].text = "-2pi";
  f.angle_mode = kDegrees;
  const DiscussionStart s = discussion_start(f);
  EXPECT_EQ(s.formulas, "x^2; sin(x)");
  EXPECT_EQ(s.skipped, "Nicht diskutiert (keine Funktion von x): r(t)=3; r(t)=t; x^2+y^2=9");
  EXPECT_EQ(s.x_min, "-2pi");
  EXPECT_TRUE(s.degrees);

  f.source = "x^2";
  EXPECT_EQ(discussion_start(f).skipped, "");
  f.source = "x^2+(";  // does not compile: an empty field, not a half list
  EXPECT_EQ(discussion_start(f).formulas, "");
}

TEST(DiscussionPage, FieldsAreCheckedAsTheValueTableChecksThem) {
  struct Case {
    const char* formula;
    const char* x_min;
    const char* x_max;
    int control;  // 0: accepted
    int message;  // kMsgNone: whatever the compiler says
  };
  const Case cases[] = {
      {"x^2", "-1", "1", 0, kMsgNone},
      {"x^2", "-1", "-0.9999999999999999", 0, kMsgNone},  // the narrowest range
      {"x^2", "1", "1", kCtlXMin, kMsgXRange},
      {"x^2", "2", "1", kCtlXMin, kMsgXRange},
      {"x^2", "", "1", kCtlXMin, kMsgNone},  // both bounds are required
      {"x^2+(", "-1", "1", kCtlFormula, kMsgNone},
  };
  for (const Case& c : cases) {
    Page p;
    const bool ok = p.run(c.formula, c.x_min, c.x_max);
    EXPECT_EQ(ok, c.control == 0) << c.formula << " " << c.x_min << " " << c.x_max;
    if (c.control == 0) continue;
    EXPECT_TRUE(p.panel.error.failed);
    EXPECT_EQ(p.panel.error.control_id, c.control);
    if (c.message != kMsgNone) {
      EXPECT_EQ(p.panel.error.message, c.message);
    }
  }
  Page empty;
  EXPECT_FALSE(empty.run("  ", "-1", "1"));
  EXPECT_FALSE(empty.panel.error.failed);
}

TEST(DiscussionPage, PolarFormulasAreSkippedAndTheRestStaysInTheRange) {
  Page p;
  ASSERT_TRUE(p.run("r(t)=3", "-1", "1"));
  EXPECT_TRUE(discussion_rows(p.result).empty());
  EXPECT_EQ(p.result.skipped, "Nicht diskutiert (keine Funktion von x): r(t)=3");
  EXPECT_EQ(discussion_clipboard_text(p.result, ','), "");

  ASSERT_TRUE(p.run("x^3-4.5x;r(t)=3", "-3", "3"));
  EXPECT_EQ(p.result.formulas, std::vector<std::string>{"x^3-4.5x"});
  ASSERT_FALSE(p.result.discussion.features.empty());
  for (const Feature& f : p.result.discussion.features) {
    EXPECT_EQ(f.formula, 0);
    EXPECT_LE(-3, f.x_lo);
    EXPECT_LE(f.x_hi, 3);
  }
}

Feature feature(FeatureKind kind, int formula, double x, double y, bool proven) {
  Feature f;
  f.kind = kind;
  f.formula = formula;
  f.has_x = f.has_y = true;
  f.x = x;
  f.y = y;
  f.x_lo = f.x_hi = x;
  f.proven = proven;
  return f;
}

TEST(DiscussionPage, RowsAndClipboardWithTheLocaleDecimalComma) {
  DiscussionResult r;
  r.formulas = {"0.5x^2-2", "y=x"};
  r.discussion.features.push_back(feature(FeatureKind::kZero, 0, -2, 0, true));
  r.discussion.features.push_back(feature(FeatureKind::kIntersection, 0, -1.2360679774997898,
                                          -1.2360679774997898, false));
  r.discussion.features.back().other = 1;
  Feature gap;
  gap.kind = FeatureKind::kUnclear;
  gap.formula = 1;
  gap.x_lo = 0.25;
  gap.x_hi = 1.5;
  r.discussion.features.push_back(gap);

  const std::vector<DiscussionCells> rows = discussion_rows(r);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (DiscussionCells{"Nullstelle (1)", "-2", "0", "bewiesen"}));
  EXPECT_EQ(rows[1], (DiscussionCells{"Schnittpunkt (1,2)", "-1.23607", "-1.23607", "unsicher"}));
  EXPECT_EQ(rows[2], (DiscussionCells{"Unklar (2)", "[0.25; 1.5]", "", "unsicher"}));

  EXPECT_EQ(discussion_clipboard_text(r, ','),
            "y=0.5x^2-2\r\ny=x\r\n\r\nArt\tx\ty\tStatus\r\n"
            "Nullstelle (1)\t-2\t0\tbewiesen\r\n"
            "Schnittpunkt (1,2)\t-1,23607\t-1,23607\tunsicher\r\n"
            "Unklar (2)\t[0,25; 1,5]\t\tunsicher\r\n");
  EXPECT_NE(discussion_clipboard_text(r, '.').find("\t-1.23607\t"), std::string::npos);

  // One formula: no numbers in Art.
  r.formulas.pop_back();
  r.discussion.features.resize(1);
  EXPECT_EQ(discussion_rows(r)[0][0], "Nullstelle");

  MarkedPoint m;
  ASSERT_TRUE(discussion_row_point(r, 0, m));
  EXPECT_EQ(m.x, -2);
  EXPECT_FALSE(discussion_row_point(r, 1, m));
  EXPECT_FALSE(discussion_row_point(r, -1, m));
  r.discussion.features.push_back(gap);
  EXPECT_FALSE(discussion_row_point(r, 1, m));  // a range has no point
}

}  // namespace
}  // namespace kv
