// Running the formula dialogs; see the header.
#include "dialogs/formula_dialog_runner.h"

#include "dialogs/formula_dialog.h"

namespace kv {

bool FormulaDialogRunner::run(int panel) {
  FormulaDialog dialog(owner_, state_, host_, panel);
  // Modal to the main window only: the help window and the calculators,
  // windows of their own, stay usable while the dialog waits.
  dialog.setWindowModality(Qt::WindowModal);
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
