// The window's side of the formula dialogs: ShellHost::run_formula_dialog
// and focus_formula_dialog forward here. Only one formula dialog is open at
// a time (open_formula_dialog in the session layer sees to that).
#pragma once

#include <QPointer>

#include "session/shell_host.h"
#include "session/shell_state.h"

class QWidget;

namespace kv {

class FormulaDialog;

class FormulaDialogRunner {
 public:
  FormulaDialogRunner(QWidget* owner, ShellState& state, ShellHost& host)
      : owner_(owner), state_(state), host_(host) {}

  // Runs the dialog of drawing panel 0, 1 or 2, modal to the owner only;
  // true when it ended with "&Graph" / "&Integrieren".
  bool run(int panel);
  // Gives the open dialog the keyboard focus.
  void focus();

 private:
  QWidget* owner_;
  ShellState& state_;
  ShellHost& host_;
  QPointer<FormulaDialog> open_;
};

}  // namespace kv
