// The modeless window "Kurvendiskussion" (Ctrl+K): a function field, x min
// and x max, "&Berechnen", the table Art, x, y, Status, "Tabelle
// &kopieren", "&Hilfe" (the quick reference) and "&Schließen", with the
// right-button gestures of the calculators.
//
// The window moves texts between its controls and its own panel and leaves
// every rule to session/discussion_page.h. It opens with the function
// panel's Cartesian formulas and x range and says which polar formulas it
// left out. Selecting a row with a point marks that point on the function
// panel's graph; closing the window takes the mark away. It exists at most
// once, opens 80 pixels left of the main window's corner the first time and
// where it was last closed afterwards.
#pragma once

#include "dialogs/calc_window.h"
#include "session/discussion_page.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kv {

class DiscussionWindow final : public CommonDialog {
  Q_OBJECT

 public:
  // remembered must outlive the window.
  DiscussionWindow(ShellState& state, ShellHost& host, const CalculatorHooks& hooks,
                   DialogRect* remembered);
  ~DiscussionWindow() override;

  void open_at(QWidget* owner);
  // Commands of the window: 1 ("&Berechnen"), 501 (copy), 1011 (help), 2 (close).
  // Its controls (control()) are 510, 514, 515, 532, 1, 501, 1011 and 2.
  void run_control(int id) override;
  QTableWidget* table() const { return table_; }
  const DiscussionResult& result() const { return result_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;  // Esc ends here without a close event

 private:
  QWidget* build_buttons();
  void calculate();
  void copy() const;
  void show_result();
  void show_error();
  void select_row(int row);

  ShellState& state_;
  ShellHost& host_;
  const CalculatorHooks& hooks_;
  DialogRect& remembered_;
  PanelRecord panel_;
  bool degrees_ = false;
  std::string start_formulas_, start_note_;  // Windows-1252
  DiscussionResult result_;

  QLineEdit* formula_ = nullptr;
  QLineEdit* x_min_ = nullptr;
  QLineEdit* x_max_ = nullptr;
  QLabel* note_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* calculate_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace kv
