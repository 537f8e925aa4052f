// What every formula dialog does beside its own controls: controls found by
// their numeric id (the id an error record names), the faulty field focused
// with its whole text selected, right-button gestures and moving by the
// background (dialogs/window_gestures.h), the opening size as its minimum,
// and the placement remembered relative to the owner.
#pragma once

#include <QDialog>

#include "model/panel_record.h"
#include "session/shell_state.h"

namespace kv {

// The property that carries a control's id.
inline constexpr const char* kControlIdProperty = "kvControlId";

class CommonDialog : public QDialog {
  Q_OBJECT

 public:
  CommonDialog(QWidget* owner, const ShellState& state);

  // The control with this id, or nullptr.
  QWidget* control(int id) const;
  // Gives the control the focus and selects its whole text; no other field
  // keeps a selection.
  void focus_and_select(int id);

  // The dialog's command: a button press or a gesture (1, 2, 1011), or
  // Command::Help for F1 here or in the quick reference.
  virtual void run_control(int id) = 0;

 protected:
  static void set_control_id(QWidget* widget, int id);

  // Call once the controls are built: the size the dialog opens with becomes
  // its minimum, and gestures are watched over every control.
  void finish_controls();
  // finish_controls, then the dialog is placed by `remembered` (relative to
  // the owner; set to the default offset when empty).
  void open_at(DialogRect& remembered, Point default_offset);
  // The placement to remember, relative to the owner.
  DialogRect placement() const;

 private:
  QPoint owner_corner() const;

  const ShellState& state_;
};

}  // namespace kv
