// The calculator windows; see the header.
#include "dialogs/calc_window.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/calc_common.h"
#include "dialogs/calc_page.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/discussion_window.h"
#include "session/dialog_controls.h"
#include "platform/qt_boundary.h"
#include "session/commands.h"

namespace kv {

CalcWindow::CalcWindow(Kind kind, ShellState& state, ShellHost& host, const CalculatorHooks& hooks,
                       int* selected_page)
    : CommonDialog(nullptr, state, host, kCalculatorRoutes),
      state_(state),
      host_(host),
      kind_(kind),
      hooks_(hooks) {
  make_calculator_window(this, kind == Table ? dialog_text::kTableTitle : dialog_text::kValueTitle);
  auto* layout = new QVBoxLayout(this);
  if (kind == Table) {
    tabs_ = new QTabWidget;
    tabs_->setDocumentMode(false);
    pages_[0] = add_page(kPanelTable);
    pages_[1] = add_page(kPanelTableDiffEqu);
    tabs_->addTab(pages_[0], ui_text(dialog_text::kFunctionTab));
    tabs_->addTab(pages_[1], ui_text(dialog_text::kEquationTab));
    tabs_->setCurrentIndex(std::clamp(*selected_page, 0, 1));
    connect(tabs_, &QTabWidget::currentChanged, this, [this, selected_page](int index) {
      if (index < 0) return;
      *selected_page = index;
      current_page()->calculate_button()->setDefault(true);
      current_page()->focus_formula();
    });
    layout->addWidget(tabs_);
  } else {
    pages_[0] = add_page(kPanelValue);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_[0]);
  }
  // Only now that the page belongs to this window does the window keep
  // "&Berechnen" as its default button: a button the focus leaves hands the
  // default back to it.
  current_page()->calculate_button()->setDefault(true);
  finish_controls();
}

CalcWindow::~CalcWindow() {
  for (CalcPage* p : pages_) {
    if (p != nullptr) p->release_formula();
  }
}

CalcPage* CalcWindow::add_page(int panel_index) {
  auto* p = new CalcPage(panel_index, state_, host_);
  p->control(kCtlHelp)->setEnabled(static_cast<bool>(hooks_.toggle_quick_reference));
  connect(p, &CalcPage::close_requested, this, &QWidget::close);
  connect(p, &CalcPage::help_requested, this, [this] { run_control(kCtlHelp); });
  return p;
}

CalcPage* CalcWindow::page(int index) const {
  return index >= 0 && index < 2 ? pages_[index] : nullptr;
}

CalcPage* CalcWindow::current_page() const {
  return tabs_ != nullptr ? pages_[tabs_->currentIndex() == 1 ? 1 : 0] : pages_[0];
}

void CalcWindow::run_control(int id) {
  if (id == kCtlCancel) {
    close();
  } else if (id == kCtlHelp) {
    if (hooks_.toggle_quick_reference) hooks_.toggle_quick_reference(this);
  } else if (id == command_number(Command::Help)) {
    host_.post_command(Command::Help);  // F1 in the quick reference
  } else {
    current_page()->run(id);
  }
}

DialogRect& CalcWindow::remembered() {
  return state_.panels[kind_ == Table ? kPanelTable : kPanelValue].dialog_pos;
}

void CalcWindow::open_at(QWidget* owner) {
  set_owner(owner);
  place(remembered(), kind_ == Table ? kTableDialogOffset : kValueDialogOffset);
  show();
  // A new window gets the keyboard focus from nobody without a window
  // manager; Alt+B would open the main window's menu instead.
  raise();
  activateWindow();
  keep_placement_in(remembered());
  current_page()->focus_formula();
}

Calculators::Calculators(ShellState& state, ShellHost& host, CalculatorHooks hooks)
    : state_(state), host_(host), hooks_(std::move(hooks)) {}

Calculators::~Calculators() {
  delete table_.data();
  delete value_.data();
  delete discussion_.data();
}

void Calculators::show_table(QWidget* owner) { show(table_, CalcWindow::Table, owner); }

void Calculators::show_value(QWidget* owner) { show(value_, CalcWindow::Value, owner); }

void Calculators::show_discussion(QWidget* owner) {
  if (discussion_) {
    if (discussion_->isMinimized()) discussion_->showNormal();
    discussion_->raise();
    discussion_->activateWindow();
    return;
  }
  discussion_ = new DiscussionWindow(state_, host_, hooks_, &discussion_pos_);
  discussion_->open_at(owner);
}

DiscussionWindow* Calculators::discussion_window() const { return discussion_; }

void Calculators::show(QPointer<CalcWindow>& window, CalcWindow::Kind kind, QWidget* owner) {
  if (window) {
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
    return;
  }
  window = new CalcWindow(kind, state_, host_, hooks_, &table_page_);
  window->open_at(owner);
}

}  // namespace kv
