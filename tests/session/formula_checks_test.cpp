#include <gtest/gtest.h>

#include "fake_host.h"
#include "model/initial_contents.h"
#include "session/formula_checks.h"
#include "session/formula_history.h"

namespace kv {
namespace {

struct Dialog {
  PanelSet panels;
  int index;
  DialogTexts texts;
  explicit Dialog(int panel_index) : index(panel_index) {
    fill_initial_contents(panels);
    texts = dialog_texts_from_panel(panel());
  }
  PanelRecord& panel() { return panels[index]; }
  bool commit() { return commit_formula_dialog(panel(), index, texts, {}); }
  int message() { return panel().error.message; }
  int control() { return panel().error.control_id; }
};

TEST(FormulaChecks, FirstErrorWinsInTheOrderOfTheDialog) {
  Dialog fnc(kPanelFunction);
  fnc.texts.range[kXMin] = "2";
  fnc.texts.range[kXMax] = "2";
  fnc.texts.range[kYMin] = "3";
  fnc.texts.range[kYMax] = "2";
  EXPECT_FALSE(fnc.commit());
  EXPECT_EQ(fnc.message(), kMsgXRange);
  EXPECT_EQ(fnc.control(), kCtlXMin);

  // A bad max field names itself, not the pair.
  fnc.texts.range[kXMax] = "1;2";
  EXPECT_FALSE(fnc.commit());
  EXPECT_EQ(fnc.message(), kMsgInvalidExpression);
  EXPECT_EQ(fnc.control(), kCtlXMin + 1);

  // The equation dialog: start x, then y'''' down to y, and the t range last.
  Dialog deq(kPanelDiffEqu);
  deq.texts.values[kStartY] = "";
  deq.texts.values[kStartY4] = "1/0";
  deq.texts.range[kTMin] = "1";
  deq.texts.range[kTMax] = "0";
  EXPECT_FALSE(deq.commit());
  EXPECT_EQ(deq.message(), kMsgUndefinedValue);
  EXPECT_EQ(deq.control(), kCtlStartX + 5);
  deq.texts.values[kStartX] = "";
  EXPECT_FALSE(deq.commit());
  EXPECT_EQ(deq.control(), kCtlStartX);

  // The integral dialog reads its lower bound after the ranges and has no t pair.
  Dialog igl(kPanelIntegral);
  igl.texts.range[kTMin] = "1";
  igl.texts.range[kTMax] = "0";
  EXPECT_TRUE(igl.commit());
  igl.texts.values[kStartX] = "(";
  EXPECT_FALSE(igl.commit());
  EXPECT_EQ(igl.control(), kCtlStartX);
  igl.texts.values[kStartX] = "-pi";
  EXPECT_TRUE(igl.commit());
  EXPECT_FALSE(igl.panel().error.failed);
}

TEST(FormulaChecks, AnAutomaticYBoundPassesAndIsNotFixed) {
  Dialog d(kPanelFunction);
  d.texts.range[kYMin] = "";
  d.texts.range[kYMax] = "5";
  EXPECT_TRUE(d.commit());
  EXPECT_FALSE(d.panel().ymin_fixed);
  EXPECT_TRUE(d.panel().ymax_fixed);
  EXPECT_TRUE(d.panel().range[kYMin].is_automatic());

  d.texts.range[kYMin] = "3";
  d.texts.range[kYMax] = " ";
  EXPECT_TRUE(d.commit());
  EXPECT_TRUE(d.panel().ymin_fixed);
  EXPECT_FALSE(d.panel().ymax_fixed);

  // An empty x bound is required: the invalid-expression message.
  d.texts.range[kXMin] = "";
  EXPECT_FALSE(d.commit());
  EXPECT_EQ(d.message(), kMsgInvalidExpression);
  EXPECT_EQ(d.control(), kCtlXMin);
}

TEST(FormulaChecks, AFailedMinFieldNeverLetsThePairPass) {
  Dialog d(kPanelFunction);
  d.panel().range[kYMin].value = -100;  // an old value below y max
  d.panel().ymin_fixed = false;
  d.texts.range[kYMin] = "(";
  d.texts.range[kYMax] = "5";
  EXPECT_FALSE(d.commit());
  EXPECT_EQ(d.message(), kMsgBrackets);
  EXPECT_EQ(d.control(), kCtlXMin + 2);
  EXPECT_FALSE(d.panel().ymin_fixed);
}

TEST(FormulaChecks, DegreesApplyToTheFieldsOfTheSameCommit) {
  Dialog d(kPanelFunction);
  d.texts.degrees = true;
  d.texts.range[kXMax] = "asin(1)";
  EXPECT_TRUE(d.commit());
  EXPECT_NEAR(d.panel().range[kXMax].value, 90.0, 1e-12);
  EXPECT_TRUE(angle_is_degrees(d.panel().angle_mode));
}

TEST(FormulaChecks, DefaultRangesAreCheckedOnACopy) {
  Dialog d(kPanelDiffEqu);
  const double xmax = d.panel().range[kXMax].value;
  d.texts.range[kXMax] = "2pi";
  d.texts.range[kTMin] = "3";
  d.texts.range[kTMax] = "2";
  EXPECT_FALSE(set_default_ranges(d.panel(), d.index, d.texts, {}));
  EXPECT_EQ(d.message(), kMsgTRange);
  EXPECT_NE(d.panel().default_range[kXMax].text, "2pi");

  d.texts.range[kTMax] = "";  // t is optional here
  EXPECT_TRUE(set_default_ranges(d.panel(), d.index, d.texts, {}));
  EXPECT_EQ(d.panel().default_range[kXMax].text, "2pi");
  EXPECT_NEAR(d.panel().default_range[kXMax].value, 6.283185307179586, 1e-15);
  EXPECT_EQ(d.panel().range[kXMax].value, xmax);
}

// The question comes while not silenced; a tick silences it whatever the
// answer; only Yes (or no question) stores; a refused field is reported.
TEST(FormulaChecks, SetDefaultsAsksUntilSilencedAndStoresOnlyOnYes) {
  ShellState state;
  FakeHost host{state};
  Dialog d(kPanelIntegral);
  d.texts.range[kXMax] = "7";
  state.prefs.alert_set_def_range = true;
  const auto set = [&] {
    return ask_and_set_default_ranges(state.prefs, host, d.panel(), d.index, d.texts, {});
  };
  host.answer = MessageResult::No;
  EXPECT_TRUE(set());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], default_range_question(kPanelIntegral));
  EXPECT_NE(d.panel().default_range[kXMax].text, "7");
  EXPECT_TRUE(state.prefs.alert_set_def_range);

  host.answer = MessageResult::Cancel;
  host.tick_do_not_ask = true;
  EXPECT_TRUE(set());
  EXPECT_NE(d.panel().default_range[kXMax].text, "7");
  EXPECT_FALSE(state.prefs.alert_set_def_range);

  EXPECT_TRUE(set());  // silenced: no question, stored
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(d.panel().default_range[kXMax].text, "7");

  state.prefs.alert_set_def_range = true;
  host.tick_do_not_ask = false;
  host.answer = MessageResult::Yes;
  d.texts.range[kXMax] = "x+";
  EXPECT_FALSE(set());
  EXPECT_TRUE(d.panel().error.failed);
  EXPECT_EQ(d.panel().default_range[kXMax].text, "7");
}

TEST(FormulaChecks, FieldTextsShownAgain) {
  RangeValue f;
  f.value = 0.25;
  EXPECT_EQ(field_display_text(f), "0.25");  // set without text
  f.text = "1/4";
  f.has_text = true;
  EXPECT_EQ(field_display_text(f), "1/4");
  f.text_stale = true;
  f.value = -1.5;
  EXPECT_EQ(field_display_text(f), "-1.5");
  f.value = kUndefined;
  EXPECT_EQ(field_display_text(f), "");
}

TEST(FormulaChecks, AnErrorIsShownOnce) {
  PendingError e;
  EXPECT_FALSE(take_error_to_show(e));
  e.report(kMsgXRange, kCtlXMin);
  EXPECT_TRUE(take_error_to_show(e));
  EXPECT_FALSE(take_error_to_show(e));
}

TEST(FormulaHistory, AnEqualEntryMovesToTheTopWithTheNewText) {
  FormulaHistory h{"sqrt(3-xx)", "cos(x)", "gaussd(x, 0, 0.2)"};
  EXPECT_TRUE(record_in_history(h, "COS( X )\r\n;x"));
  EXPECT_EQ(h[0], "COS( X )\r\n");
  EXPECT_EQ(h[1], "sqrt(3-xx)");
  EXPECT_EQ(h[2], "gaussd(x, 0, 0.2)");
  EXPECT_EQ(h[3], "");
  EXPECT_FALSE(same_history_entry("cos(x)", "cos(x)*1"));
  EXPECT_FALSE(record_in_history(h, " \t;x"));
  EXPECT_EQ(h[0], "COS( X )\r\n");
}

TEST(FormulaHistory, TheFiftyFirstFormulaDropsTheOldest) {
  FormulaHistory h;
  for (int i = 0; i < kHistorySize; ++i) record_in_history(h, "x+" + std::to_string(i));
  EXPECT_EQ(h[kHistorySize - 1], "x+0");
  record_in_history(h, "x+50");
  EXPECT_EQ(h[0], "x+50");
  EXPECT_EQ(h[kHistorySize - 1], "x+1");
  // Moving an entry up from the last slot keeps all others.
  record_in_history(h, "x+1");
  EXPECT_EQ(h[0], "x+1");
  EXPECT_EQ(h[1], "x+50");
  EXPECT_EQ(h[kHistorySize - 1], "x+2");
}

TEST(FormulaHistory, APendingErrorKeepsTheFaultyTextAsTyped) {
  PanelSet panels;
  fill_initial_contents(panels);
  PanelRecord& igl = panels[kPanelIntegral];
  HistoryList list = refresh_history(igl);  // empty formula: slot 0 shows
  EXPECT_EQ(list.edit_text, "cos(x)");
  EXPECT_EQ(list.items.size(), 3u);

  igl.source = "sin(x";
  igl.error.report(kMsgBrackets, kCtlFormula);
  list = refresh_history(igl);
  EXPECT_EQ(list.edit_text, "sin(x");
  EXPECT_EQ(list.items.size(), 3u);

  igl.error.clear();
  igl.source = "sin(x);";
  list = refresh_history(igl);
  EXPECT_EQ(list.edit_text, "sin(x)");
  EXPECT_EQ(list.items.front(), "sin(x)");
}

TEST(FormulaHistory, StartLabelsFollowTheEquation) {
  EXPECT_EQ(start_field_labels(" \r\n R'' = -r").x, "t");
  EXPECT_EQ(start_field_labels("r''=-r").values[2], "r''");
  EXPECT_EQ(start_field_labels("y'=r").x, "x");
  EXPECT_EQ(start_field_labels("").values[4], "y''''");
}

}  // namespace
}  // namespace kv
