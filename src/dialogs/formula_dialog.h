// The formula dialogs of the three drawing panels: "Funktionsterm eingeben"
// (panel 0), "Bestimmtes Integral (numerisch)" (panel 1) and
// "Differentialgleichung numerisch lösen" (panel 2). Each edits one panel:
// its texts go out as DialogTexts and the checks of session/formula_checks.h
// do the rest, so this class only builds controls and moves text.
//
// "&Graph" / "&Integrieren" stores the fields and ends the dialog as
// confirmed even when a field is at fault: the window compiles and repaints,
// then opens the dialog again, which shows the recorded error shortly after
// it appears, with the field focused and its text selected.
#pragma once

#include <array>

#include "dialogs/common_dialog.h"
#include "session/formula_checks.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace kv {

// The delay between the dialog appearing and a pending error being shown.
inline constexpr int kErrorDisplayDelayMs = 64;

class FormulaDialog final : public CommonDialog {
  Q_OBJECT

 public:
  FormulaDialog(QWidget* owner, ShellState& state, ShellHost& host, int panel);

  // The controls as text, as "&Graph" would read them.
  DialogTexts texts() const;

  void run_control(int id) override;
  // Remembers the placement in the panel before the dialog closes.
  void done(int result) override;

 private:
  void build();
  QWidget* build_formula_field();
  QWidget* build_ranges();
  QWidget* build_values();
  QWidget* build_options();
  QWidget* build_gesture_help();
  QLayout* build_buttons();
  QLineEdit* numeric_field(int id, const std::string& text);
  void set_tooltip(QWidget* w, const char* text);
  void relabel(const QString& formula);

  void commit();
  void set_defaults();
  void edit_axis_titles();
  // Shows the panel's recorded error once: focus, selection, message.
  void show_pending_error();

  ShellState& state_;
  ShellHost& host_;
  PanelRecord& panel_;
  int index_;
  DialogTexts initial_;

  QPlainTextEdit* formula_lines_ = nullptr;  // the function dialog
  QComboBox* formula_combo_ = nullptr;       // the integral and equation dialogs
  std::array<QLineEdit*, kRangeCount> ranges_{};
  std::array<QLineEdit*, kDialogValueCount> values_{};
  QLabel* start_x_label_ = nullptr;
  std::array<QLabel*, 5> start_labels_{};
  QRadioButton* degrees_ = nullptr;
  QCheckBox* option_ = nullptr;
  QCheckBox* derivative_ = nullptr;
};

}  // namespace kv
