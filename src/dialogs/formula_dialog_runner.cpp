// Running the formula dialogs; see the header.
#include "dialogs/formula_dialog_runner.h"

#include "dialogs/formula_dialog.h"

namespace kv {

bool FormulaDialogRunner::run(int panel) {
  FormulaDialog dialog(owner_, state_, host_, panel);
  open_ = &dialog;
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  open_ = nullptr;
  return confirmed;
}

void FormulaDialogRunner::focus() {
  if (open_ == nullptr) return;
  open_->raise();
  open_->activateWindow();
}

}  // namespace kv
