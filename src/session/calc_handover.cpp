// The calculators' hand-over to the drawing panels; see the header.
#include "session/calc_handover.h"

#include "session/refresh.h"
#include "session/value_table.h"

namespace kv {

CalcGraphAnswer calc_to_graph(ShellState& state, ShellHost& host, int calc_panel,
                              const DialogTexts& texts) {
  CalcGraphAnswer answer;
  if (calc_panel != kPanelTableDiffEqu) {
    if (!append_to_function_list(state.panels[kPanelFunction].source, texts.formula))
      return answer;
    answer.command = Command::FunctionDialog;
  } else {
    PanelRecord& table = state.panels[kPanelTableDiffEqu];
    if (!read_table_fields(table, texts, compile_env(state))) {
      answer.step = CalcGraphStep::ShowError;
      return answer;
    }
    hand_equation_to_graph(table, state.panels[kPanelDiffEqu]);
    answer.command = Command::DiffEquDialog;
  }
  if (state.formula_dialog_open) {
    answer.step = CalcGraphStep::EndOpenDialog;
    return answer;
  }
  host.post_command(answer.command);
  answer.step = CalcGraphStep::Posted;
  return answer;
}

void release_calc_formulas(PanelRecord& calc) {
  calc.formulas.clear();
  calc.current = -1;
}

}  // namespace kv
