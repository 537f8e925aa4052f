// What every dialog and calculator window does beside its own controls:
// controls found by their numeric id (the id an error record names), the
// faulty field focused with its whole text selected, F1, right-button
// gestures and moving by the background (dialogs/window_gestures.h), the
// opening size as its minimum, and the placement remembered relative to the
// owner (session/dialog_placement.h).
//
// The formula dialogs and the calculators differ in two choices, made at
// construction (DialogRoutes): the corner their placement counts from, and
// where F1 goes.
#pragma once

#include <QDialog>
#include <QPointer>

#include "model/panel_record.h"
#include "session/dialog_placement.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

// The property that carries a control's id.
inline constexpr const char* kControlIdProperty = "kvControlId";

// Where F1 goes.
enum class HelpRoute : int {
  Dispatch,  // to run_control as Command::Help, as the quick reference's F1 does
  Host,      // straight to the main window as a help request
};

struct DialogRoutes {
  PlacementOrigin origin;
  HelpRoute help;
};

// A formula dialog: a child of its owner, F1 through its own commands.
inline constexpr DialogRoutes kFormulaDialogRoutes{PlacementOrigin::OwnerFrame,
                                                   HelpRoute::Dispatch};
// A calculator: a window of its own, F1 straight to the main window.
inline constexpr DialogRoutes kCalculatorRoutes{PlacementOrigin::OwnerPosition, HelpRoute::Host};

class CommonDialog : public QDialog {
  Q_OBJECT

 public:
  // parent (may be null) is the owner the placement counts from, until
  // set_owner names another; host takes F1 on the Host route.
  CommonDialog(QWidget* parent, const ShellState& state, ShellHost& host, DialogRoutes routes);

  // The control with this id, or nullptr.
  QWidget* control(int id) const;
  // Gives the control the focus and selects its whole text; no other field
  // keeps a selection.
  void focus_and_select(int id);

  // The dialog's command: a button press or a gesture (1, 2, 1011), or
  // Command::Help for F1 in the quick reference (and here on the Dispatch
  // route).
  virtual void run_control(int id) = 0;

 protected:
  static void set_control_id(QWidget* widget, int id);

  // Call once the controls are built: the size the dialog opens with becomes
  // its minimum, and gestures are watched over every control.
  void finish_controls();
  // The owner of a window that is nobody's child (may be null).
  void set_owner(QWidget* owner) { owner_ = owner; }
  // Places the dialog by `remembered` (relative to the owner; set to the
  // default offset when empty), fully on the screen.
  void place(DialogRect& remembered, Point default_offset);
  // The placement to remember, relative to the owner.
  DialogRect placement() const;
  // From now on every move and resize while the dialog is visible is
  // written to `remembered`, which must outlive the dialog.
  void keep_placement_in(DialogRect& remembered) { kept_ = &remembered; }

  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Point origin(const Rect& screen) const;
  Rect opening_screen() const;

  const ShellState& state_;
  const DialogRoutes routes_;
  QPointer<QWidget> owner_;
  DialogRect* kept_ = nullptr;
};

}  // namespace kv
