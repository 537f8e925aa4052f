// What the calculator windows (value table, single value, curve discussion)
// share beside their pages and what every dialog has (dialogs/common_dialog.h):
// a window of its own, the layout of fields over a body beside the button
// column, and the legend of the gestures.
#pragma once

#include <functional>

class QFont;
class QGridLayout;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace kv {

// Makes `window` a calculator: top-level, freed when closed, not keeping the
// program running, with its title.
void make_calculator_window(QWidget* window, const char* title);

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

}  // namespace kv
