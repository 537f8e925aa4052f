#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "model/initial_contents.h"
#include "session/value_table.h"

namespace kv {
namespace {

struct Calc {
  PanelSet panels;
  int index;
  DialogTexts texts;
  TableResult result;
  explicit Calc(int panel_index, const char* formula, const char* x_min = "0",
                const char* x_max = "1", const char* step = "0.25")
      : index(panel_index) {
    fill_initial_contents(panels);
    texts = dialog_texts_from_panel(panel());
    texts.formula = formula;
    texts.range[kXMin] = x_min;
    texts.range[kXMax] = x_max;
    texts.values[kXStep] = step;
  }
  PanelRecord& panel() { return panels[index]; }
  void start(double x0, std::initializer_list<double> values) {
    texts.values[kStartX] = exact(x0);
    int k = kStartY;
    for (double v : values) texts.values[k++] = exact(v);
  }
  static std::string exact(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
  }
  bool run() { return read_table_fields(panel(), texts, {}) && compute_table(panel(), result, {}); }
  std::string rows() { return table_text(result).rows; }
};

TEST(ValueTable, GridEndsExactlyAtXMax) {
  Calc c(kPanelTable, "x", "0", "1", "0.3");
  ASSERT_TRUE(c.run());
  EXPECT_EQ(c.rows(), "0\t0\t1\r\n0.3\t0.3\t1\r\n0.6\t0.6\t1\r\n0.9\t0.9\t1\r\n1\t1\t1\r\n");

  // A step beyond the range becomes the range; the text stays as typed.
  c.texts.values[kXStep] = "2";
  ASSERT_TRUE(c.run());
  EXPECT_EQ(c.result.rows.size(), 2u);
  EXPECT_EQ(c.panel().dialog_values[kXStep].value, 1.0);
  EXPECT_EQ(c.panel().dialog_values[kXStep].text, "2");

  // 0.9 / 0.3 is a little above 3 in doubles: no second row at 0.9.
  EXPECT_EQ(table_intervals(0, 0.9, 0.3), 3);
  EXPECT_EQ(table_intervals(0, 0.9 + 1e-6, 0.3), 4);
}

TEST(ValueTable, TooLongAtTheEdge) {
  Calc c(kPanelTable, "x", "0", "10000", "1");
  ASSERT_TRUE(c.run());
  EXPECT_EQ(c.result.rows.size(), 10001u);

  c.texts.values[kXStep] = "0.99999999999999";
  EXPECT_FALSE(c.run());
  EXPECT_EQ(c.panel().error.message, kMsgTableTooLong);
  EXPECT_EQ(c.panel().error.control_id, kCtlXStep);

  c.texts.values[kXStep] = "0";
  EXPECT_FALSE(c.run());
  EXPECT_EQ(c.panel().error.message, kMsgXStep);

  // The range comes first, and a bad range skips the length check.
  c.texts.range[kXMax] = "0";
  c.texts.values[kXStep] = "1e-310";
  EXPECT_FALSE(c.run());
  EXPECT_EQ(c.panel().error.message, kMsgXRange);
}

TEST(ValueTable, UndefinedPointsAndFormulaErrors) {
  Calc c(kPanelTable, "1/x^3", "-1", "1", "1");
  ASSERT_TRUE(c.run());
  EXPECT_EQ(c.rows(), "-1\t-1\t-3\r\n0\tError\tError\r\n1\t1\t-3\r\n");
  EXPECT_EQ(table_text(c.result).header, "x\ty\ty'\r\n");

  // A failed computation keeps the previous result.
  c.texts.formula = "x;x^2";
  EXPECT_FALSE(c.run());
  EXPECT_EQ(c.panel().error.message, kMsgSeveralFunctions);
  EXPECT_EQ(c.panel().error.control_id, kCtlFormula);
  EXPECT_EQ(c.result.formula, "1/x^3");
  c.texts.formula = "  ";
  EXPECT_FALSE(c.run());
  EXPECT_FALSE(c.panel().error.failed);
}

// A parametric pair: x and y per t like a polar curve; where either part
// is undefined the row has no point. Equations stay refused here.
TEST(ValueTable, ParametricPairsGiveTheirPoints) {
  Calc c(kPanelTable, "(t, sqrt(t))", "-1", "4", "2.5");
  ASSERT_TRUE(c.run()) << c.panel().error.message;
  const TableText t = table_text(c.result);
  EXPECT_EQ(t.header, "x\ty\r\n");
  EXPECT_EQ(t.rows, "Error\tError\t\r\n1.5\t1.22474\t\r\n4\t2\t\r\n");
  c.texts.formula = "x^2+y^2=9";
  EXPECT_FALSE(c.run());
  EXPECT_EQ(c.panel().error.message, kMsgOnlyX);
}

TEST(ValueTable, LayoutOfCellsAndTabStop) {
  TableResult r;
  r.rows = {{1e300, 2e303, -2e303, true, true, true}, {123456789, 1e-14, 0, true, true, false}};
  TableText t = table_text(r);
  EXPECT_EQ(t.rows, "1E+300\t+Infinity\t-Infinity\r\n1.23457E+8\t0\tError\r\n");
  EXPECT_EQ(t.tab_stop, 4 * (10 + 1 + 2));

  // Polar rows: the plane point, an empty y' column; no value, no point.
  Calc c(kPanelTable, "r(t)=2/t", "0", "pi/2", "pi/2");
  ASSERT_TRUE(c.run());
  t = table_text(c.result);
  EXPECT_EQ(t.header, "x\ty\r\n");
  EXPECT_EQ(t.rows, "Error\tError\t\r\n0\t1.27324\t\r\n");
}

TEST(ValueTable, ClipboardTextWithDecimalComma) {
  Calc c(kPanelTableDiffEqu, "y'=y", "0", "0.5", "0.25");
  c.texts.values[kStartX] = "0.0";
  c.texts.values[kStartY] = "1.0";
  ASSERT_TRUE(c.run());
  const TableText t = table_text(c.result);
  EXPECT_EQ(table_clipboard_text(c.result, t, ','),
            "y'=y\r\n\r\nx0=0.0\r\ny(x0)=1.0\r\n\r\nx\ty\ty'\r\n"
            "0\t1\t1\r\n0,25\t1,28403\t1,28403\r\n0,5\t1,64872\t1,64872\r\n");

  Calc f(kPanelTable, "sin(0.5x)");
  ASSERT_TRUE(f.run());
  const std::string text = table_clipboard_text(f.result, table_text(f.result), '.');
  EXPECT_EQ(text.substr(0, 21), "y=sin(0.5x)\r\n\r\nx\ty\ty'");
  EXPECT_EQ(table_clipboard_text(TableResult{}, TableText{}, ','), "");
}

TEST(ValueTable, EquationStepsPerInterval) {
  EXPECT_EQ(equation_table_substeps(1, false), 2004);
  EXPECT_EQ(equation_table_substeps(3, true), 2010);
  EXPECT_EQ(equation_table_substeps(2001, false), 4);
  EXPECT_EQ(equation_table_substeps(10000, true), 12);

  // y'' = -10000 y at 10000 intervals: four sub-steps are visibly coarse,
  // three times as many cut the error by about 3^5.
  auto error_at_end = [](bool high_precision) {
    Calc c(kPanelTableDiffEqu, "y''=-10000y", "0", "100", "0.01");
    c.start(0, {1, 0});
    c.texts.option = high_precision;
    EXPECT_TRUE(c.run());
    return std::fabs(c.result.rows.back().y - std::cos(100.0 * 100.0));
  };
  const double coarse = error_at_end(false), fine = error_at_end(true);
  EXPECT_GT(coarse, 1e-4);
  EXPECT_LT(fine, coarse / 100);
}

TEST(ValueTable, EquationsAreSolvedOutwardFromTheStart) {
  // Start between rows and outside the table: every row still holds e^x.
  for (double x0 : {0.1, -1.0, 3.0}) {
    Calc c(kPanelTableDiffEqu, "y'=y", "0", "1", "0.25");
    c.start(x0, {std::exp(x0)});
    ASSERT_TRUE(c.run());
    for (const TableRow& row : c.result.rows) {
      ASSERT_TRUE(row.y_ok && row.dy_ok);
      EXPECT_NEAR(row.y / std::exp(row.x), 1.0, 1e-9) << x0 << " at " << row.x;
    }
  }
  // An undefined value ends the solution in its direction only.
  Calc c(kPanelTableDiffEqu, "y'=1/(x-1)", "-1", "3", "0.5");
  c.start(0, {0});
  ASSERT_TRUE(c.run());
  EXPECT_NEAR(c.result.rows[0].y, std::log(2.0), 1e-9);
  EXPECT_TRUE(c.result.rows[3].y_ok);
  for (size_t i = 4; i < c.result.rows.size(); ++i) EXPECT_FALSE(c.result.rows[i].y_ok) << i;
}

TEST(ValueTable, SingleValue) {
  PanelSet panels;
  fill_initial_contents(panels);
  PanelRecord& p = panels[kPanelValue];
  DialogTexts t = dialog_texts_from_panel(p);
  ASSERT_TRUE(read_value_fields(p, t, {}));
  TableResult r;
  ASSERT_TRUE(compute_value(p, r, {}));
  EXPECT_EQ(table_text(r).rows, "7.2\t4.38013\t-5.10606\r\n");
  t.values[kStartX] = "";
  EXPECT_FALSE(read_value_fields(p, t, {}));
  EXPECT_EQ(p.error.control_id, kCtlXMin);
}

TEST(ValueTable, GraphHinzufuegenAppendsOneFormula) {
  std::string list = "x^2;  \r\n";
  EXPECT_TRUE(append_to_function_list(list, "sin(x)"));
  EXPECT_EQ(list, "x^2;  \r\n\r\nsin(x);");
  list = "x^2 ";
  append_to_function_list(list, "1/x");
  EXPECT_EQ(list, "x^2 ;\r\n1/x;");
  list = " \r\n";
  append_to_function_list(list, "1/x");
  EXPECT_EQ(list, "1/x;");
  EXPECT_FALSE(append_to_function_list(list, " \t"));
  EXPECT_EQ(list, "1/x;");
}

TEST(ValueTable, GraphZeichnenHandsTheEquationOver) {
  Calc c(kPanelTableDiffEqu, "y''=-y", "-2", "2", "0.5");
  c.texts.option = true;
  c.texts.degrees = true;
  ASSERT_TRUE(read_table_fields(c.panel(), c.texts, {}));
  PanelRecord& deq = c.panels[kPanelDiffEqu];
  hand_equation_to_graph(c.panel(), deq);
  EXPECT_EQ(deq.source, "y''=-y");
  EXPECT_EQ(deq.range[kXMin].text, "-2");
  EXPECT_EQ(deq.option_flag, 1);
  EXPECT_TRUE(angle_is_degrees(deq.angle_mode));
  EXPECT_EQ(deq.dialog_values[kStartY].text, "e/2");
}

}  // namespace
}  // namespace kv
