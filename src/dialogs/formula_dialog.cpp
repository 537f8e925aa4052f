// The formula dialogs; see the header.
#include "dialogs/formula_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>

#include "dialogs/axis_title_dialog.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/help_window.h"
#include "dialogs/radio_focus.h"
#include "expr/messages.h"
#include "platform/qt_boundary.h"
#include "session/command_ids.h"
#include "session/dialog_controls.h"
#include "session/dialog_placement.h"
#include "session/formula_history.h"
#include "session/refresh.h"

namespace kv {

namespace {

const char* dialog_title(int panel) {
  switch (panel) {
    case kPanelIntegral: return dialog_text::kIntegralTitle;
    case kPanelDiffEqu: return dialog_text::kDiffEquTitle;
    default: return dialog_text::kFunctionTitle;
  }
}

const char* ok_tip(int panel) {
  switch (panel) {
    case kPanelIntegral: return dialog_text::kTipIntegrate;
    case kPanelDiffEqu: return dialog_text::kTipSolve;
    default: return dialog_text::kDrawGraphAction;
  }
}

const char* formula_caption(int panel) {
  switch (panel) {
    case kPanelIntegral: return dialog_text::kIntegralCaption;
    case kPanelDiffEqu: return dialog_text::kEquationLabel;
    default: return dialog_text::kFunctionCaption;
  }
}

static_assert(std::size(dialog_text::kRangeLabels) == kRangeCount);

// The lines of function terms. An empty clipboard (no program owns it) and
// some drops offer data in no format at all, and the toolkit's paste then
// reads the first of none and crashes: such data is nothing to insert.
class FormulaLines final : public QPlainTextEdit {
 protected:
  void insertFromMimeData(const QMimeData* source) override {
    if (source == nullptr || source->formats().isEmpty()) return;
    QPlainTextEdit::insertFromMimeData(source);
  }
};

}  // namespace

FormulaDialog::FormulaDialog(QWidget* owner, ShellState& state, ShellHost& host, int panel)
    : CommonDialog(owner, state, host, kFormulaDialogRoutes),
      state_(state),
      host_(host),
      panel_(state.panels[static_cast<size_t>(surface_of(panel))]),
      index_(surface_of(panel)),
      initial_(dialog_texts_from_panel(panel_)) {
  setWindowTitle(ui_text(dialog_title(index_)));
  build();
  finish_controls();
  place(panel_.dialog_pos, kFormulaDialogOffset);
  // As a dialog of the desktop does with its first field: typing replaces it.
  focus_and_select(kCtlFormula);
  // Only the width of a one-line formula field can grow.
  if (index_ != kPanelFunction) setMaximumHeight(minimumHeight());
  // Counted from the dialog's creation, so the message comes once the dialog
  // is up; the timer dies with the dialog.
  QTimer::singleShot(kErrorDisplayDelayMs, this, &FormulaDialog::show_pending_error);
}

void FormulaDialog::build() {
  auto* top = new QVBoxLayout(this);
  top->addWidget(build_formula_field(), index_ == kPanelFunction ? 1 : 0);
  auto* middle = new QHBoxLayout;
  middle->addWidget(build_ranges());
  if (index_ == kPanelDiffEqu) middle->addWidget(build_values());
  top->addLayout(middle);
  auto* lower = new QHBoxLayout;
  lower->addWidget(build_options());
  lower->addWidget(build_gesture_help(), 1);
  top->addLayout(lower);
  top->addLayout(build_buttons());
}

// Shown only while the user has tooltips on (WindowGestures holds them back).
void FormulaDialog::set_tooltip(QWidget* w, const char* text) { w->setToolTip(ui_text(text)); }

QWidget* FormulaDialog::build_formula_field() {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel(ui_text(formula_caption(index_)));
  layout->addWidget(caption);
  QWidget* field = nullptr;
  if (index_ == kPanelFunction) {
    formula_lines_ = new FormulaLines;
    formula_lines_->setFont(edit_font(this));
    formula_lines_->setTabChangesFocus(true);
    formula_lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    formula_lines_->setPlainText(panel_lines_to_widget(initial_.formula));
    const QFontMetrics fm(formula_lines_->font());
    formula_lines_->setMinimumSize(fm.horizontalAdvance(QLatin1Char('x')) * 48,
                                   fm.lineSpacing() * 6);
    field = formula_lines_;
  } else {
    formula_combo_ = new QComboBox;
    formula_combo_->setEditable(true);
    formula_combo_->setInsertPolicy(QComboBox::NoInsert);
    // The formula is the text as typed; a completion from the history would
    // draw an earlier formula where the user typed only its start.
    formula_combo_->setCompleter(nullptr);
    formula_combo_->setMaxCount(kHistorySize);
    formula_combo_->setFont(edit_font(this));
    formula_combo_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    formula_combo_->setMinimumContentsLength(36);
    const HistoryList history = refresh_history(panel_);
    for (const std::string& item : history.items) formula_combo_->addItem(panel_to_widget(item));
    formula_combo_->setEditText(panel_to_widget(history.edit_text));
    // The combo box keeps Enter to itself; in a dialog it should draw.
    connect(formula_combo_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { run_control(kCtlOk); });
    field = formula_combo_;
  }
  set_control_id(field, kCtlFormula);
  caption->setBuddy(field);
  layout->addWidget(field, 1);
  return box;
}

QLineEdit* FormulaDialog::numeric_field(int id, const std::string& text) {
  auto* edit = new QLineEdit(panel_to_widget(text));
  edit->setFont(edit_font(this));
  const QFontMetrics fm(edit->font());
  edit->setMinimumWidth(fm.horizontalAdvance(QLatin1Char('0')) * 14);
  set_control_id(edit, id);
  set_tooltip(edit, dialog_text::kTipExpression);
  return edit;
}

QWidget* FormulaDialog::build_ranges() {
  auto* box = new QGroupBox(ui_text(dialog_text::kRange));
  auto* grid = new QGridLayout(box);
  const int pairs = index_ == kPanelIntegral ? 2 : 3;
  for (int row = 0; row < pairs; ++row) {
    for (int col = 0; col < 2; ++col) {
      const int i = row * 2 + col;
      ranges_[i] = numeric_field(range_control(i), initial_.range[i]);
      grid->addWidget(new QLabel(ui_text(dialog_text::kRangeLabels[i])), row, col * 2);
      grid->addWidget(ranges_[i], row, col * 2 + 1);
    }
  }
  if (index_ == kPanelIntegral) {
    values_[kStartX] = numeric_field(kCtlStartX, initial_.values[kStartX]);
    grid->addWidget(new QLabel(ui_text(dialog_text::kLowerLimit)), pairs, 0);
    grid->addWidget(values_[kStartX], pairs, 1);
  }
  return box;
}

QWidget* FormulaDialog::build_values() {
  auto* box = new QGroupBox(ui_text(dialog_text::kStartValues));
  auto* grid = new QGridLayout(box);
  for (int v = kStartX; v <= kStartY4; ++v) {
    values_[v] = numeric_field(value_control(v), initial_.values[v]);
    auto* label = new QLabel;
    set_control_id(label, v == kStartX ? kCtlStartXLabel : kCtlStartYLabel + (v - kStartY));
    if (v == kStartX) {
      start_x_label_ = label;
    } else {
      start_labels_[v - kStartY] = label;
    }
    const int i = v - kStartX;
    grid->addWidget(label, i / 2, (i % 2) * 2);
    grid->addWidget(values_[v], i / 2, (i % 2) * 2 + 1);
  }
  relabel(formula_combo_->currentText());
  connect(formula_combo_, &QComboBox::editTextChanged, this, &FormulaDialog::relabel);
  return box;
}

QWidget* FormulaDialog::build_options() {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* angle = new QGroupBox(ui_text(dialog_text::kAngle));
  auto* angle_layout = new QHBoxLayout(angle);
  degrees_ = new QRadioButton(ui_text(dialog_text::kDegrees));
  auto* radians = new QRadioButton(ui_text(dialog_text::kRadians));
  set_control_id(degrees_, kCtlDegrees);
  set_control_id(radians, kCtlRadians);
  set_tooltip(degrees_, dialog_text::kTipDegrees);
  set_tooltip(radians, dialog_text::kTipRadians);
  (initial_.degrees ? degrees_ : radians)->setChecked(true);
  tab_to_checked({degrees_, radians});
  angle_layout->addWidget(degrees_);
  angle_layout->addWidget(radians);
  layout->addWidget(angle);
  if (index_ != kPanelFunction) {
    option_ = new QCheckBox(ui_text(index_ == kPanelIntegral ? dialog_text::kAbsoluteIntegral
                                                              : dialog_text::kHighPrecision));
    option_->setChecked(initial_.option);
    set_control_id(option_, kCtlOption);
    layout->addWidget(option_);
  }
  if (index_ == kPanelDiffEqu) {
    derivative_ = new QCheckBox(ui_text(dialog_text::kDrawDerivative));
    derivative_->setChecked(initial_.derivative);
    set_control_id(derivative_, kCtlDerivative);
    set_tooltip(derivative_, dialog_text::kTipDrawDerivative);
    layout->addWidget(derivative_);
  }
  layout->addStretch(1);
  return box;
}

QWidget* FormulaDialog::build_gesture_help() {
  auto* box = new QGroupBox(ui_text(dialog_text::kGestures));
  auto* grid = new QGridLayout(box);
  const char* rows[3][2] = {
      {dialog_text::kGestureRight,
       index_ == kPanelIntegral ? dialog_text::kGestureIntegrate : dialog_text::kDrawGraphAction},
      {dialog_text::kGestureLeft, dialog_text::kGestureCancel},
      {dialog_text::kGestureVertical, dialog_text::kGestureHelp},
  };
  for (int r = 0; r < 3; ++r) {
    grid->addWidget(new QLabel(ui_text(rows[r][0])), r, 0);
    grid->addWidget(new QLabel(ui_text(rows[r][1])), r, 1);
  }
  grid->setColumnStretch(1, 1);
  return box;
}

QLayout* FormulaDialog::build_buttons() {
  auto* row = new QHBoxLayout;
  auto add = [&](int id, const char* text, const char* tip) {
    auto* b = new QPushButton(ui_text(text));
    b->setAutoDefault(false);
    set_control_id(b, id);
    if (tip != nullptr) set_tooltip(b, tip);
    connect(b, &QPushButton::clicked, this, [this, id] { run_control(id); });
    return b;
  };
  row->addWidget(add(kCtlSetDefault, dialog_text::kSetDefault, dialog_text::kTipSetDefault));
  row->addWidget(add(kCtlAxisTitles, dialog_text::kRenameAxes, dialog_text::kTipRenameAxes));
  row->addStretch(1);
  row->addWidget(add(kCtlHelp, dialog_text::kHelp, dialog_text::kTipHelp));
  QPushButton* ok =
      add(kCtlOk, index_ == kPanelIntegral ? dialog_text::kIntegrate : dialog_text::kGraph,
          ok_tip(index_));
  ok->setDefault(true);
  row->addWidget(ok);
  row->addWidget(add(kCtlCancel, dialog_text::kCancel, nullptr));
  return row;
}

void FormulaDialog::relabel(const QString& formula) {
  const StartLabels labels = start_field_labels(widget_to_panel(formula));
  start_x_label_->setText(panel_to_widget(labels.x));
  for (size_t i = 0; i < start_labels_.size(); ++i) {
    start_labels_[i]->setText(panel_to_widget(labels.values[i]));
  }
}

DialogTexts FormulaDialog::texts() const {
  DialogTexts t = initial_;  // fields this dialog lacks keep the panel's texts
  t.formula = formula_lines_ ? widget_lines_to_panel(formula_lines_->toPlainText())
                             : widget_to_panel(formula_combo_->currentText());
  for (int i = 0; i < kRangeCount; ++i) {
    if (ranges_[i]) t.range[i] = widget_to_panel(ranges_[i]->text());
  }
  for (int v = 0; v < kDialogValueCount; ++v) {
    if (values_[v]) t.values[v] = widget_to_panel(values_[v]->text());
  }
  t.degrees = degrees_->isChecked();
  if (option_) t.option = option_->isChecked();
  if (derivative_) t.derivative = derivative_->isChecked();
  return t;
}

void FormulaDialog::run_control(int id) {
  switch (id) {
    case kCtlOk: commit(); break;
    case kCtlCancel: reject(); break;
    case kCtlSetDefault: set_defaults(); break;
    case kCtlAxisTitles: edit_axis_titles(); break;
    case kCtlHelp:
      toggle_quick_reference(this, state_, [this](int command) { run_control(command); });
      break;
    case command_number(Command::Help): host_.post_command(Command::Help); break;
    default: break;
  }
}

void FormulaDialog::commit() {
  commit_formula_dialog(panel_, index_, texts(), compile_env(state_));
  accept();
}

void FormulaDialog::set_defaults() {
  if (!ask_and_set_default_ranges(state_.prefs, host_, panel_, index_, texts(),
                                  compile_env(state_)))
    show_pending_error();
}

void FormulaDialog::edit_axis_titles() {
  AxisTitleDialog titles(this, state_, host_, panel_);
  titles.exec();
  // Without a window manager nothing else makes this dialog active again.
  activateWindow();
}

void FormulaDialog::show_pending_error() {
  if (!take_error_to_show(panel_.error)) return;
  focus_and_select(panel_.error.control_id);
  const char* text = message_text(panel_.error.message);
  host_.error_box(text ? text : message_text(kMsgInvalidExpression));
}

void FormulaDialog::done(int result) {
  if (isVisible()) panel_.dialog_pos = placement();
  CommonDialog::done(result);
}

}  // namespace kv
