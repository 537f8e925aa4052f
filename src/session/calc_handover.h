// What the calculators hand to the drawing panels: "&Graph hinzufügen",
// "&Graph zeichnen" and the formulas a closing calculator gives up. The
// calculator page only moves its texts in and out and does what the answer says.
#pragma once

#include "session/command_ids.h"
#include "session/formula_checks.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

enum class CalcGraphStep {
  Nothing,        // refused: no formula dialogs, or a formula of blanks only
  ShowError,      // the equation's fields were refused; panel.error says where
  Posted,         // the formula dialog's command went to the host
  EndOpenDialog,  // a formula dialog is open: end it, then post `command`
};

struct CalcGraphAnswer {
  CalcGraphStep step = CalcGraphStep::Nothing;
  Command command = Command::FunctionDialog;
};

// The graph button of calculator panel `calc_panel` with the page's texts.
// The value and table calculators append the formula to the function panel's
// list and open the function dialog; the equation table first checks its
// fields (a refused field would otherwise reach the drawing panel if the
// user cancelled the dialog there), then hands fields and formula to the
// panel "DiffEqu" and opens the equation dialog. An open formula dialog
// shows the old text, so it must end before the command runs.
CalcGraphAnswer calc_to_graph(ShellState& state, ShellHost& host, int calc_panel,
                              const DialogTexts& texts);

// A closing calculator keeps no compiled formulas: the next page compiles
// the text again and nothing holds the old ones.
void release_calc_formulas(PanelRecord& calc);

}  // namespace kv
