// "Titel für Achsen": the two axis titles of one panel. "OK" and
// "Ü&bernehmen" store both texts as typed (empty allowed) and refresh the
// window; "OK" then closes, "&Abbrechen" closes without storing.
#pragma once

#include "dialogs/common_dialog.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QLineEdit;

namespace kv {

class AxisTitleDialog final : public CommonDialog {
  Q_OBJECT

 public:
  AxisTitleDialog(QWidget* owner, ShellState& state, ShellHost& host, PanelRecord& panel);

  void run_control(int id) override;

 private:
  void store();

  ShellState& state_;
  ShellHost& host_;
  PanelRecord& panel_;
  QLineEdit* title_x_ = nullptr;
  QLineEdit* title_y_ = nullptr;
};

}  // namespace kv
