// The two modeless calculator windows and the object that keeps them:
// "Funktionsrechner - Wertetabelle" with the pages "Funktion" and
// "Differentialgleichung", and "Funktionsrechner Einzelwert".
//
// Each window exists at most once; opening it again brings it to the front.
// A window opens where it was last closed relative to the main window (the
// table 80 pixels left of its corner the first time, the single value also
// 40 pixels lower), at least as large as its contents need, and fully on the
// screen. The table window comes back on the page it showed last. Closing a
// window frees its compiled formulas and keeps everything else of its
// panels. The windows are top-level and do not keep the program running
// once the main window has closed.
#pragma once

#include <QPointer>
#include <functional>

#include "dialogs/common_dialog.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

class QTabWidget;

namespace kv {

class CalcPage;
class DiscussionWindow;

// What other layers lend the calculators.
struct CalculatorHooks {
  // "&Hilfe": opens or closes the quick reference beside the dialog. While
  // unset the button is greyed.
  std::function<void(QWidget* dialog)> toggle_quick_reference;
};

class CalcWindow final : public CommonDialog {
  Q_OBJECT

 public:
  enum Kind { Table, Value };

  // selected_page: the table window's page, kept by its owner between openings.
  CalcWindow(Kind kind, ShellState& state, ShellHost& host, const CalculatorHooks& hooks,
             int* selected_page);
  ~CalcWindow() override;

  // Sizes, places relative to owner (may be null) and shows the window.
  void open_at(QWidget* owner);
  CalcPage* current_page() const;
  CalcPage* page(int index) const;
  QTabWidget* tabs() const { return tabs_; }
  // Commands of the window: those of its visible page, 2, 1011 and the
  // quick reference's F1.
  void run_control(int id) override;

 private:
  CalcPage* add_page(int panel_index);

  DialogRect& remembered();

  ShellState& state_;
  ShellHost& host_;
  Kind kind_;
  const CalculatorHooks& hooks_;
  QTabWidget* tabs_ = nullptr;
  CalcPage* pages_[2] = {};
};

class Calculators {
 public:
  Calculators(ShellState& state, ShellHost& host, CalculatorHooks hooks = {});
  ~Calculators();
  Calculators(const Calculators&) = delete;
  Calculators& operator=(const Calculators&) = delete;

  // Commands 3010 and 3011: open the window or bring it to the front.
  void show_table(QWidget* owner);
  void show_value(QWidget* owner);
  // Command 6000: the curve discussion window (dialogs/discussion_window.h).
  void show_discussion(QWidget* owner);
  DiscussionWindow* discussion_window() const;

  CalcWindow* table_window() const { return table_; }
  CalcWindow* value_window() const { return value_; }

 private:
  void show(QPointer<CalcWindow>& window, CalcWindow::Kind kind, QWidget* owner);

  ShellState& state_;
  ShellHost& host_;
  CalculatorHooks hooks_;
  QPointer<CalcWindow> table_;
  QPointer<CalcWindow> value_;
  QPointer<DiscussionWindow> discussion_;
  int table_page_ = 0;  // lives as long as the program
  DialogRect discussion_pos_;  // where the discussion window was, for this run
};

}  // namespace kv
