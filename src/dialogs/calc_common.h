// What the calculator windows (value table, single value, curve discussion)
// share beside their pages: the window itself (top-level, F1, right-button
// gestures, the placement remembered relative to its owner), the layout of
// fields over a body beside the button column, and the legend of the
// gestures.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

#include "session/dialog_placement.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QFont;
class QGridLayout;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QRect;
class QWidget;

namespace kv {

// The owner's top left corner, or the screen's without an owner: the point a
// calculator's placement is counted from.
Point owner_corner(const QWidget* owner, const QRect& screen);
// The window's rectangle relative to its owner's corner, as it is remembered.
DialogRect placement_relative_to_owner(const QWidget& window, const QWidget* owner);
// The three rows that say what the gestures do here, in a smaller font.
QGridLayout* gesture_legend(const QFont& base);

// Lays out `window`: the fields on top, below them the body (stretching)
// with the button column to its right.
void lay_out_calculator(QWidget* window, QLayout* fields, QLayout* body, QWidget* buttons);
void lay_out_calculator(QWidget* window, QLayout* fields, QWidget* body, QWidget* buttons);

// The column of buttons beside a calculator's body, the gesture legend
// under them.
class ButtonColumn {
 public:
  ButtonColumn();
  // A button with its text and tool tip (may be null) that calls `pressed`.
  QPushButton* add(const char* text, const char* tip, std::function<void()> pressed);
  // Closes the column with the legend in `font`; the widget then belongs to
  // whoever lays it out.
  QWidget* finish(const QFont& font);

 private:
  QWidget* box_;
  QVBoxLayout* column_;
};

// A modeless calculator window: top-level, freed when closed, not keeping
// the program running. F1 asks the main window for the help; the gestures
// run the window's commands. Every move and resize after the window is
// first shown is written to `remembered`, relative to the owner.
class CalcDialog : public QDialog {
  Q_OBJECT

 public:
  // remembered must outlive the window.
  CalcDialog(ShellState& state, ShellHost& host, const char* title, DialogRect* remembered);

  // A command of the window: a button's id, or a gesture's (1, 2, 1011).
  virtual void run(int id) = 0;

 protected:
  // Call once the controls are built: gestures are watched over every control.
  void finish_controls();
  // Sizes the window to its contents (its minimum), places it by the
  // remembered rectangle (default_offset from the owner's corner when empty),
  // fully on the screen, and shows it.
  void place_and_show(QWidget* owner, Point default_offset);
  // From now on moves and resizes are remembered.
  void start_remembering() { placed_ = true; }

  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  ShellState& state_;
  ShellHost& host_;

 private:
  void remember_placement();

  DialogRect* remembered_;
  QPointer<QWidget> owner_;
  bool placed_ = false;  // moves before the window is placed are not remembered
};

}  // namespace kv
