// The about box: the program icon, the product name, its version and the OK
// button "&Klick". It names no home page or mail address: the program has
// none to point at.
//
// OK, Esc and closing end it; Esc first ends a running right-button gesture,
// and any recognised gesture closes the box. A left press anywhere on its
// body moves it, as its caption would.
#pragma once

#include <QDialog>

namespace kv {

struct ShellState;

class AboutBox final : public QDialog {
  Q_OBJECT

 public:
  // state: the user's MouseGestures and Tooltips settings.
  AboutBox(QWidget* owner, const ShellState& state);
};

// Shows the about box modally over the main window.
void show_about_box(QWidget* owner, const ShellState& state);

}  // namespace kv
