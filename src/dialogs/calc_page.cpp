// A calculator form; see the header.
#include "dialogs/calc_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>

#include "dialogs/calc_common.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/radio_focus.h"
#include "dialogs/window_gestures.h"
#include "expr/cp1252.h"
#include "expr/messages.h"
#include "platform/message_boxes.h"
#include "platform/qt_boundary.h"
#include "session/calc_handover.h"
#include "session/commands.h"
#include "session/formula_history.h"
#include "session/refresh.h"

namespace kv {

namespace {

const int kCtlXMaxField = range_control(kXMax);  // 515

// Background of the result rows.
const QColor kResultColour(192, 211, 255);
// Room for typed numbers and formulas, in characters of the edit font.
constexpr int kFieldChars = 11;
constexpr int kFormulaChars = 34;
constexpr int kTableLines = 14;
constexpr int kValueLines = 3;

// The result boxes show the rows without CR.
QString display_text(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.remove(QLatin1Char('\r'));
  if (s.endsWith(QLatin1Char('\n'))) s.chop(1);
  return s;
}

QPlainTextEdit* make_result_box(const QFont& font, int lines) {
  auto* box = new QPlainTextEdit;
  box->setReadOnly(true);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setTabChangesFocus(true);  // the rows hold tabs, the keyboard still leaves
  box->setFont(font);
  QPalette pal = box->palette();
  pal.setColor(QPalette::Base, kResultColour);
  pal.setColor(QPalette::Text, Qt::black);
  box->setPalette(pal);
  const QFontMetrics fm(font);
  box->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * 44,
                      fm.lineSpacing() * lines + 2 * box->frameWidth() + 8);
  return box;
}

// The header line: one line, never focused; grabbing it moves the window.
QPlainTextEdit* make_header_line(const QFont& font) {
  auto* line = new QPlainTextEdit;
  line->setReadOnly(true);
  line->setLineWrapMode(QPlainTextEdit::NoWrap);
  line->setFocusPolicy(Qt::NoFocus);
  line->setFont(font);
  line->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  line->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  line->setTextInteractionFlags(Qt::NoTextInteraction);
  line->viewport()->setCursor(Qt::ArrowCursor);
  const int margin = static_cast<int>(line->document()->documentMargin());
  line->setFixedHeight(QFontMetrics(font).lineSpacing() + 2 * margin + 2 * line->frameWidth());
  WindowGestures::mark_move_handle(line);
  WindowGestures::mark_move_handle(line->viewport());
  return line;
}

void set_tab_stop(QPlainTextEdit* box, int dialog_units) {
  // A dialog unit is a quarter of an average character.
  const double width = QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char('0'));
  box->setTabStopDistance(dialog_units / 4.0 * width);
}

const char* message_or_default(int message) {
  const char* text = message_text(message);
  return text != nullptr ? text : message_text(kMsgInvalidExpression);
}

}  // namespace

CalcPage::CalcPage(int panel_index, ShellState& state, ShellHost& host, QWidget* parent)
    : QWidget(parent),
      panel_index_(panel_index),
      state_(state),
      host_(host),
      panel_(state.panels[static_cast<size_t>(panel_index)]) {
  WindowGestures::mark_background(this);
  const QFont font = edit_font(this);

  auto* fields = new QGridLayout;
  build_fields(fields);

  header_ = make_header_line(font);
  result_ = make_result_box(font, panel_index_ == kPanelValue ? kValueLines : kTableLines);
  controls_[kCtlHeader] = header_;
  controls_[kCtlResult] = result_;
  // The header follows the rows when they scroll sideways.
  connect(result_->horizontalScrollBar(), &QScrollBar::valueChanged, header_->horizontalScrollBar(),
          &QScrollBar::setValue);

  auto* results = new QVBoxLayout;
  results->setSpacing(0);
  results->addWidget(header_);
  results->addWidget(result_, 1);

  lay_out_calculator(this, fields, results, build_buttons());

  for (auto& [id, w] : controls_) w->setObjectName(QStringLiteral("ctl%1").arg(id));
  fill();
}

QLineEdit* CalcPage::add_field(int id) {
  auto* edit = new QLineEdit;
  edit->setFont(edit_font(this));
  edit->setToolTip(ui_text(dialog_text::kTipExpression));
  edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('0')) *
                        kFieldChars);
  fields_[id] = edit;
  controls_[id] = edit;
  return edit;
}

void CalcPage::build_fields(QGridLayout* grid) {
  const bool equation = panel_index_ == kPanelTableDiffEqu;
  const bool single = panel_index_ == kPanelValue;
  formula_ = new QComboBox;
  formula_->setEditable(true);
  formula_->setInsertPolicy(QComboBox::NoInsert);
  formula_->setCompleter(nullptr);  // a completion would change the formula behind the user's back
  formula_->setFont(edit_font(this));
  formula_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  formula_->setMinimumContentsLength(kFormulaChars);
  if (single) formula_->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
  controls_[kCtlFormula] = formula_;

  int row = 0;
  grid->addWidget(
      new QLabel(ui_text(equation ? dialog_text::kEquationLabel : dialog_text::kFunctionLabel)),
      row, 0);
  grid->addWidget(formula_, row, 1, 1, 5);
  ++row;
  if (single) {
    grid->addWidget(new QLabel(ui_text(dialog_text::kXLabel)), row, 0);
    grid->addWidget(add_field(kCtlXMin), row, 1);
  } else {
    grid->addWidget(new QLabel(ui_text(dialog_text::kXMinLabel)), row, 0);
    grid->addWidget(add_field(kCtlXMin), row, 1);
    grid->addWidget(new QLabel(ui_text(dialog_text::kXMaxLabel)), row, 2);
    grid->addWidget(add_field(kCtlXMaxField), row, 3);
    grid->addWidget(new QLabel(ui_text(dialog_text::kXStepLabel)), row, 4);
    grid->addWidget(add_field(kCtlXStep), row, 5);
  }
  ++row;
  if (equation) {
    build_start_fields(grid, row);
    row += 2;
  }

  degrees_ = new QRadioButton(ui_text(dialog_text::kDegrees));
  radians_ = new QRadioButton(ui_text(dialog_text::kRadians));
  degrees_->setToolTip(ui_text(dialog_text::kTipDegrees));
  radians_->setToolTip(ui_text(dialog_text::kTipRadians));
  auto* angles = new QButtonGroup(this);
  angles->addButton(degrees_);
  angles->addButton(radians_);
  tab_to_checked({degrees_, radians_});
  controls_[kCtlDegrees] = degrees_;
  controls_[kCtlRadians] = radians_;
  auto* flags = new QHBoxLayout;
  flags->addWidget(degrees_);
  flags->addWidget(radians_);
  if (equation) {
    precision_ = new QCheckBox(ui_text(dialog_text::kHighPrecision));
    controls_[kCtlOption] = precision_;
    flags->addSpacing(QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) * 3);
    flags->addWidget(precision_);
  }
  flags->addStretch(1);
  grid->addLayout(flags, row, 1, 1, 5);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(5, 1);
}

// Start x and y .. y'''' in two rows of three, labels 526..531 before them.
void CalcPage::build_start_fields(QGridLayout* grid, int row) {
  grid->addWidget(new QLabel(ui_text(dialog_text::kStartLabel)), row, 0);
  auto* starts = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    start_labels_[i] = new QLabel;
    start_labels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls_[kCtlStartXLabel + i] = start_labels_[i];
    starts->addWidget(start_labels_[i], i / 3, 2 * (i % 3));
    starts->addWidget(add_field(kCtlStartX + i), i / 3, 2 * (i % 3) + 1);
    starts->setColumnStretch(2 * (i % 3) + 1, 1);
  }
  grid->addLayout(starts, row, 1, 2, 5);
  connect(formula_, &QComboBox::editTextChanged, this, [this] { relabel(); });
}

QWidget* CalcPage::build_buttons() {
  const bool single = panel_index_ == kPanelValue;
  const bool equation = panel_index_ == kPanelTableDiffEqu;
  ButtonColumn column;
  auto add = [&](int id, const char* text, const char* tip) {
    QPushButton* b = column.add(text, tip, [this, id] { run(id); });
    controls_[id] = b;
    return b;
  };
  calculate_ = add(kCtlOk, dialog_text::kCalculate,
                   single ? dialog_text::kTipCalculateValue : dialog_text::kTipCalculateTable);
  add(kCtlCopy, single ? dialog_text::kCopyValue : dialog_text::kCopyTable, dialog_text::kTipCopy);
  add(kCtlToGraph, equation ? dialog_text::kDrawGraph : dialog_text::kAddGraph,
      dialog_text::kTipGraph);
  add(kCtlHelp, dialog_text::kHelp, dialog_text::kTipHelp);
  add(kCtlCancel, dialog_text::kClose, nullptr);
  return column.finish(font());
}

void CalcPage::fill() {
  const DialogTexts t = dialog_texts_from_panel(panel_);
  if (panel_index_ == kPanelValue) {
    fields_[kCtlXMin]->setText(panel_to_widget(t.values[kStartX]));
  } else {
    fields_[kCtlXMin]->setText(panel_to_widget(t.range[kXMin]));
    fields_[kCtlXMaxField]->setText(panel_to_widget(t.range[kXMax]));
    fields_[kCtlXStep]->setText(panel_to_widget(t.values[kXStep]));
  }
  if (panel_index_ == kPanelTableDiffEqu) {
    for (int i = 0; i < 6; ++i)
      fields_[kCtlStartX + i]->setText(panel_to_widget(t.values[kStartX + i]));
    precision_->setChecked(false);  // "High Precision" starts unchecked with every page
  }
  (t.degrees ? degrees_ : radians_)->setChecked(true);
  fill_history();
  relabel();
}

void CalcPage::fill_history() {
  const HistoryList list = refresh_history(panel_);
  formula_->clear();
  for (const std::string& item : list.items) formula_->addItem(panel_to_widget(item));
  formula_->setEditText(panel_to_widget(list.edit_text));
}

void CalcPage::relabel() {
  if (panel_index_ != kPanelTableDiffEqu) return;
  const StartLabels labels = start_field_labels(widget_to_panel(formula_->currentText()));
  start_labels_[0]->setText(panel_to_widget(labels.x));
  for (int i = 0; i < 5; ++i) start_labels_[i + 1]->setText(panel_to_widget(labels.values[i]));
}

QWidget* CalcPage::control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void CalcPage::focus_formula() {
  formula_->setFocus(Qt::OtherFocusReason);
  formula_->lineEdit()->selectAll();
}

void CalcPage::release_formula() { release_calc_formulas(panel_); }

DialogTexts CalcPage::texts() const {
  // Controls the page does not have keep the panel's texts.
  DialogTexts t = dialog_texts_from_panel(panel_);
  t.formula = widget_to_panel(formula_->currentText());
  t.degrees = degrees_->isChecked();
  if (panel_index_ == kPanelValue) {
    t.values[kStartX] = widget_to_panel(fields_.at(kCtlXMin)->text());
    return t;
  }
  t.range[kXMin] = widget_to_panel(fields_.at(kCtlXMin)->text());
  t.range[kXMax] = widget_to_panel(fields_.at(kCtlXMaxField)->text());
  t.values[kXStep] = widget_to_panel(fields_.at(kCtlXStep)->text());
  if (panel_index_ == kPanelTableDiffEqu) {
    t.option = precision_->isChecked();
    for (int i = 0; i < 6; ++i)
      t.values[kStartX + i] = widget_to_panel(fields_.at(kCtlStartX + i)->text());
  }
  return t;
}

void CalcPage::run(int id) {
  switch (id) {
    case kCtlOk: calculate(); break;
    case kCtlCopy: copy(); break;
    case kCtlToGraph: to_graph(); break;
    case kCtlCancel: emit close_requested(); break;
    case kCtlHelp: emit help_requested(); break;
    default: break;
  }
}

void CalcPage::calculate() {
  const CompileEnv env = compile_env(state_);
  const bool single = panel_index_ == kPanelValue;
  const DialogTexts t = texts();
  if (!(single ? read_value_fields(panel_, t, env) : read_table_fields(panel_, t, env))) {
    show_error();
    return;
  }
  TableResult result;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = single ? compute_value(panel_, result, env) : compute_table(panel_, result, env);
  QApplication::restoreOverrideCursor();
  if (ok) {
    result_data_ = std::move(result);
    has_result_ = true;
    show_result();
    fill_history();
  }
  if (panel_.error.failed) show_error();
}

void CalcPage::show_result() {
  result_text_ = table_text(result_data_);
  header_->setPlainText(display_text(result_text_.header));
  result_->setPlainText(display_text(result_text_.rows));
  set_tab_stop(header_, result_text_.tab_stop);
  set_tab_stop(result_, result_text_.tab_stop);
}

void CalcPage::show_error() {
  panel_.error.shown = true;
  QWidget* w = control(panel_.error.control_id);
  if (w == nullptr || !w->isEnabled()) w = formula_;
  w->setFocus(Qt::OtherFocusReason);
  select_field_text(w);
  show_error_box(window(), message_or_default(panel_.error.message));
}

void CalcPage::copy() const {
  if (!has_result_) return;
  const char separator = QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
  const std::string text = table_clipboard_text(result_data_, result_text_, separator);
  if (text.empty()) return;
  QGuiApplication::clipboard()->setText(panel_to_widget(text));
}

void CalcPage::to_graph() {
  const CalcGraphAnswer answer = calc_to_graph(state_, host_, panel_index_, texts());
  switch (answer.step) {
    case CalcGraphStep::ShowError: show_error(); break;
    case CalcGraphStep::EndOpenDialog: end_dialog_then_post(answer.command); break;
    case CalcGraphStep::Nothing:
    case CalcGraphStep::Posted: break;
  }
}

void CalcPage::end_dialog_then_post(Command id) {
  // The command is posted once the open dialog's event loop has returned.
  ShellHost* host = &host_;
  end_modal_dialog();
  QTimer::singleShot(0, this, [host, id] { host->post_command(id); });
}

}  // namespace kv
