#include <gtest/gtest.h>

#include "fake_host.h"
#include "session/calc_handover.h"
#include "session/command_handlers.h"
#include "session/refresh.h"
#include "session/value_table.h"

namespace kv {
namespace {

struct HandOverTest : ::testing::Test {
  ShellState state;
  FakeHost host{state};
  void SetUp() override {
    start_ready(state, host);
    state.panels[kPanelFunction].source = "x^2;";
  }
  DialogTexts texts(int panel, const char* formula) {
    DialogTexts t = dialog_texts_from_panel(state.panels[panel]);
    t.formula = formula;
    return t;
  }
};

// The value and table calculators append to the function list; blanks are
// refused without touching anything.
TEST_F(HandOverTest, FormulaGoesToTheFunctionList) {
  for (int panel : {kPanelValue, kPanelTable}) {
    state.panels[kPanelFunction].source = "x^2;";
    host.posted.clear();
    const CalcGraphAnswer a = calc_to_graph(state, host, panel, texts(panel, "sin(x)"));
    EXPECT_EQ(a.step, CalcGraphStep::Posted) << panel;
    EXPECT_EQ(state.panels[kPanelFunction].source, "x^2;\r\nsin(x);");
    EXPECT_EQ(host.posted, std::vector<Command>{Command::FunctionDialog});
    EXPECT_EQ(calc_to_graph(state, host, panel, texts(panel, " \t")).step, CalcGraphStep::Nothing);
    EXPECT_EQ(state.panels[kPanelFunction].source, "x^2;\r\nsin(x);");
  }
}

// A refused field stays in the calculator; an accepted equation reaches
// "DiffEqu", and an open formula dialog must end before the command runs.
TEST_F(HandOverTest, EquationIsCheckedBeforeItReachesTheDrawingPanel) {
  const std::string before = state.panels[kPanelDiffEqu].source;
  DialogTexts t = texts(kPanelTableDiffEqu, "y''=-y");
  t.values[kXStep] = "0";
  EXPECT_EQ(calc_to_graph(state, host, kPanelTableDiffEqu, t).step, CalcGraphStep::ShowError);
  EXPECT_TRUE(state.panels[kPanelTableDiffEqu].error.failed);
  EXPECT_EQ(state.panels[kPanelTableDiffEqu].error.control_id, kCtlXStep);
  EXPECT_EQ(state.panels[kPanelDiffEqu].source, before);
  EXPECT_TRUE(host.posted.empty());

  t.values[kXStep] = "0.5";
  state.formula_dialog_open = true;
  const CalcGraphAnswer a = calc_to_graph(state, host, kPanelTableDiffEqu, t);
  EXPECT_EQ(a.step, CalcGraphStep::EndOpenDialog);
  EXPECT_EQ(a.command, Command::DiffEquDialog);
  EXPECT_EQ(state.panels[kPanelDiffEqu].source, "y''=-y");
  EXPECT_TRUE(host.posted.empty());  // the page posts once the dialog has gone
}

TEST_F(HandOverTest, ClosingCalculatorDropsItsCompiledFormulas) {
  PanelRecord& calc = state.panels[kPanelTable];
  const CompileEnv env = compile_env(state);
  TableResult result;
  ASSERT_TRUE(read_table_fields(calc, texts(kPanelTable, "x+1"), env));
  ASSERT_TRUE(compute_table(calc, result, env));
  EXPECT_FALSE(calc.formulas.empty());
  release_calc_formulas(calc);
  EXPECT_TRUE(calc.formulas.empty());
  EXPECT_EQ(calc.current, -1);
}

}  // namespace
}  // namespace kv
