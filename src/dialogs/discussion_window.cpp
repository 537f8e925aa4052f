// The curve discussion window; see the header.
#include "dialogs/discussion_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

#include "dialogs/calc_common.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/window_gestures.h"
#include "platform/qt_boundary.h"
#include "session/dialog_controls.h"
#include "expr/cp1252.h"
#include "expr/messages.h"
#include "platform/message_boxes.h"
#include "session/commands.h"
#include "session/refresh.h"

namespace kv {

namespace {

const int kCtlXMaxField = range_control(kXMax);  // 515
constexpr int kFieldChars = 11;
constexpr int kFormulaChars = 40;
constexpr int kTableLines = 14;

QLineEdit* make_field(const QFont& font, int chars, const char* tip) {
  auto* edit = new QLineEdit;
  edit->setFont(font);
  if (tip != nullptr) edit->setToolTip(ui_text(tip));
  edit->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) * chars);
  return edit;
}

QTableWidget* make_table(const QFont& font) {
  auto* table = new QTableWidget(0, 4);
  table->setFont(font);
  QStringList headers;
  for (const char* c : dialog_text::kDiscussionColumns) headers << ui_text(c);
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->setVisible(false);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setTabKeyNavigation(false);
  table->horizontalHeader()->setStretchLastSection(true);
  const QFontMetrics fm(font);
  // Rows as tight as the value table's lines.
  table->verticalHeader()->setDefaultSectionSize(fm.lineSpacing() + 6);
  table->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * 60,
                        (fm.lineSpacing() + 6) * (kTableLines + 1));
  return table;
}

const char* message_or_default(int message) {
  const char* text = message_text(message);
  return text != nullptr ? text : message_text(kMsgInvalidExpression);
}

}  // namespace

DiscussionWindow::DiscussionWindow(ShellState& state, ShellHost& host, const CalculatorHooks& hooks,
                                   DialogRect* remembered)
    : CommonDialog(nullptr, state, host, kCalculatorRoutes),
      state_(state),
      host_(host),
      hooks_(hooks),
      remembered_(*remembered) {
  make_calculator_window(this, dialog_text::kDiscussionTitle);
  WindowGestures::mark_background(this);
  const PanelRecord& function_panel = state_.panels[kPanelFunction];
  reset_discussion_panel(panel_, function_panel);
  const DiscussionStart start = discussion_start(function_panel);
  degrees_ = start.degrees;
  start_formulas_ = start.formulas;
  start_note_ = start.skipped;

  const QFont font = edit_font(this);
  formula_ = make_field(font, kFormulaChars, nullptr);
  x_min_ = make_field(font, kFieldChars, dialog_text::kTipExpression);
  x_max_ = make_field(font, kFieldChars, dialog_text::kTipExpression);
  formula_->setMaxLength(std::numeric_limits<int>::max());
  formula_->setText(panel_to_widget(start.formulas));
  x_min_->setText(panel_to_widget(start.x_min));
  x_max_->setText(panel_to_widget(start.x_max));
  note_ = new QLabel(panel_to_widget(start.skipped));
  note_->setWordWrap(true);
  note_->setVisible(!start.skipped.empty());

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(ui_text(dialog_text::kFunctionLabel)), 0, 0);
  fields->addWidget(formula_, 0, 1, 1, 3);
  fields->addWidget(note_, 1, 1, 1, 3);
  fields->addWidget(new QLabel(ui_text(dialog_text::kXMinLabel)), 2, 0);
  fields->addWidget(x_min_, 2, 1);
  fields->addWidget(new QLabel(ui_text(dialog_text::kXMaxLabel)), 2, 2);
  fields->addWidget(x_max_, 2, 3);
  fields->setColumnStretch(1, 1);
  fields->setColumnStretch(3, 1);

  table_ = make_table(font);
  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { select_row(row); });
  lay_out_calculator(this, fields, table_, build_buttons());

  const std::pair<int, QWidget*> names[] = {{kCtlFormula, formula_}, {kCtlXMin, x_min_},
                                            {kCtlXMaxField, x_max_}, {kCtlResult, table_},
                                            {kCtlOk, calculate_}, {kCtlCopy, copy_},
                                            {kCtlHelp, help_}, {kCtlCancel, close_}};
  for (const auto& [id, w] : names) {
    set_control_id(w, id);
    w->setObjectName(QStringLiteral("ctl%1").arg(id));
  }
  finish_controls();
}

DiscussionWindow::~DiscussionWindow() = default;

QWidget* DiscussionWindow::build_buttons() {
  ButtonColumn column;
  auto add = [&](int id, const char* text, const char* tip) {
    return column.add(text, tip, [this, id] { run_control(id); });
  };
  calculate_ = add(kCtlOk, dialog_text::kCalculate, dialog_text::kTipDiscuss);
  calculate_->setDefault(true);
  copy_ = add(kCtlCopy, dialog_text::kCopyTable, dialog_text::kTipCopy);
  help_ = add(kCtlHelp, dialog_text::kHelp, dialog_text::kTipHelp);
  help_->setEnabled(static_cast<bool>(hooks_.toggle_quick_reference));
  close_ = add(kCtlCancel, dialog_text::kClose, nullptr);
  return column.finish(font());
}

void DiscussionWindow::run_control(int id) {
  switch (id) {
    case kCtlOk: calculate(); break;
    case kCtlCopy: copy(); break;
    case kCtlCancel: close(); break;
    case kCtlHelp:
      if (hooks_.toggle_quick_reference) hooks_.toggle_quick_reference(this);
      break;
    default: break;
  }
}

void DiscussionWindow::calculate() {
  DialogTexts t;
  t.formula = widget_to_panel(formula_->text());
  t.range[kXMin] = widget_to_panel(x_min_->text());
  t.range[kXMax] = widget_to_panel(x_max_->text());
  t.degrees = degrees_;
  if (!read_discussion_fields(panel_, t, compile_env(state_))) {
    show_error();
    return;
  }
  DiscussionResult result;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = compute_discussion(panel_, result);
  QApplication::restoreOverrideCursor();
  if (ok) {
    result_ = std::move(result);
    show_result();
  }
  if (panel_.error.failed) show_error();
}

void DiscussionWindow::show_result() {
  const std::vector<DiscussionCells> rows = discussion_rows(result_);
  table_->blockSignals(true);
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < 4; ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(rows[r][c]));
      if (c == 1 || c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }
  table_->blockSignals(false);
  table_->resizeColumnsToContents();
  // The polar formulas left out of the start text stay named while that text is discussed.
  std::string note = result_.skipped;
  if (note.empty() && widget_to_panel(formula_->text()) == start_formulas_) note = start_note_;
  if (result_.discussion.budget_exhausted) {
    note += (note.empty() ? "" : "\n") + utf8_to_cp1252(dialog_text::kBudgetNote);
  }
  note_->setText(panel_to_widget(note));
  note_->setVisible(!note.empty());
  select_row(-1);
}

void DiscussionWindow::show_error() {
  panel_.error.shown = true;
  QWidget* w = control(panel_.error.control_id);
  auto* edit = qobject_cast<QLineEdit*>(w);
  if (edit == nullptr) edit = formula_;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  show_error_box(this, message_or_default(panel_.error.message));
}

void DiscussionWindow::copy() const {
  const char separator = QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
  const std::string text = discussion_clipboard_text(result_, separator);
  if (text.empty()) return;
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void DiscussionWindow::select_row(int row) {
  MarkedPoint point;
  const bool has = discussion_row_point(result_, row, point);
  if (!has && !state_.selected_point) return;
  if (has) {
    state_.selected_point = point;
  } else {
    state_.selected_point.reset();
  }
  refresh_view(state_, host_, 0);
}

void DiscussionWindow::closeEvent(QCloseEvent* event) {
  select_row(-1);
  CommonDialog::closeEvent(event);
}

void DiscussionWindow::done(int result) {
  select_row(-1);
  CommonDialog::done(result);
}

void DiscussionWindow::open_at(QWidget* owner) {
  set_owner(owner);
  place(remembered_, kTableDialogOffset);
  show();
  keep_placement_in(remembered_);
  formula_->setFocus(Qt::OtherFocusReason);
  formula_->selectAll();
}

}  // namespace kv
