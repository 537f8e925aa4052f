// The help windows: the full help (F1) and the quick reference a formula
// dialog shows below itself. Both are windows titled "Kurvaline Hilfe" with
// the one menu item "&Drucken\tStrg+P" over a scrolling view of a help text.
//
// The text wraps at the layout width (460 for the full help, 400 for the
// quick reference) or at the window's width when that is wider; a narrower
// window keeps the wrapping and scrolls sideways. Keys: Esc closes (or ends
// a running gesture), PageUp and PageDown scroll a page, Home and End go to
// the top and bottom, the arrows scroll a line (14 pixels) or a step (10
// pixels), Enter confirms the owner (command 1). Right-button gestures: right
// sends command 1 to the owner, left the left command, up or down close the
// window. Alt with a left press moves the window.
#pragma once

#include <QAbstractScrollArea>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "help/help_layout.h"
#include "help/help_window_rules.h"

class QPrinter;

namespace kv {

struct ShellState;

// Shows the print dialog for a printout of the help and returns the chosen
// printer; nullptr when cancelled.
using HelpPrinterChooser = std::function<QPrinter*(QWidget* owner)>;

// The scrolling view of one laid-out help text.
class HelpView final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  HelpView(std::string_view text, int layout_width, QWidget* parent);

  const HelpLayout& layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void lay_out_if_needed();
  void update_scroll_bars();

  HelpLayout layout_;
  HelpLayoutSize laid_out_for_;
  int wheel_rest_ = 0;
};

class HelpWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // run_owner receives command 1 (Enter, right gesture), left_command
  // (left gesture) and Command::Help (F1); choose_printer may be empty (the window then keeps its
  // own printer settings).
  HelpWindow(QWidget* owner, std::string_view text, int layout_width, const ShellState& state,
             std::function<void(int)> run_owner, int left_command, HelpPrinterChooser choose_printer);
  ~HelpWindow() override;

  HelpView* view() const { return view_; }
  const std::string& text() const { return text_; }
  void print();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string text_;
  int layout_width_;
  HelpView* view_;
  std::function<void(int)> run_owner_;
  int left_command_;
  HelpPrinterChooser choose_printer_;
  std::unique_ptr<QPrinter> own_printer_;
};

// Opens the full help, or gives the open one the focus. main_window runs the
// commands of Enter and of the gestures (both open the current surface's
// dialog: command 1).
HelpWindow* open_full_help(QPointer<HelpWindow>& slot, QWidget* main_window, const ShellState& state,
                           std::function<void(int)> run_main, HelpPrinterChooser choose_printer);

// The "&Hilfe" button of a formula dialog: opens the quick reference below
// the dialog (or above it, near the screen's bottom), or closes the one that
// is open. run_control receives 1 (Enter, right gesture) and 2 (left
// gesture). Returns the window opened, nullptr when it was closed.
HelpWindow* toggle_quick_reference(QWidget* dialog, const ShellState& state,
                                   std::function<void(int)> run_control);

}  // namespace kv
