// The axis-title dialog; see the header.
#include "dialogs/axis_title_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_texts.h"
#include "platform/qt_boundary.h"
#include "session/command_ids.h"
#include "session/dialog_controls.h"
#include "session/refresh.h"

namespace kv {

AxisTitleDialog::AxisTitleDialog(QWidget* owner, ShellState& state, ShellHost& host,
                                 PanelRecord& panel)
    : CommonDialog(owner, state, host, kFormulaDialogRoutes),
      state_(state),
      host_(host),
      panel_(panel) {
  setWindowTitle(ui_text(dialog_text::kAxisTitlesTitle));
  auto* top = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  title_x_ = new QLineEdit(panel_to_widget(panel_.title_x));
  title_y_ = new QLineEdit(panel_to_widget(panel_.title_y));
  set_control_id(title_x_, kCtlTitleX);
  set_control_id(title_y_, kCtlTitleY);
  const QFontMetrics fm(title_x_->font());
  title_x_->setMinimumWidth(fm.horizontalAdvance(QLatin1Char('x')) * 28);
  form->addRow(ui_text(dialog_text::kHorizontalAxis), title_x_);
  form->addRow(ui_text(dialog_text::kVerticalAxis), title_y_);
  top->addLayout(form);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (auto [id, text] :
       {std::pair{kCtlOk, dialog_text::kOk}, std::pair{kCtlApply, dialog_text::kApply},
        std::pair{kCtlCancel, dialog_text::kCancel}}) {
    auto* b = new QPushButton(ui_text(text));
    set_control_id(b, id);
    b->setAutoDefault(false);
    b->setDefault(id == kCtlOk);
    connect(b, &QPushButton::clicked, this, [this, id] { run_control(id); });
    row->addWidget(b);
  }
  top->addLayout(row);
  finish_controls();
  setMaximumHeight(minimumHeight());
}

void AxisTitleDialog::store() {
  panel_.title_x = widget_to_panel(title_x_->text());
  panel_.title_y = widget_to_panel(title_y_->text());
  refresh_view(state_, host_, REFRESH_MODIFIED);
}

void AxisTitleDialog::run_control(int id) {
  switch (id) {
    case kCtlOk:
      store();
      accept();
      break;
    case kCtlApply: store(); break;
    case kCtlCancel: reject(); break;
    case command_number(Command::Help): host_.post_command(Command::Help); break;
    default: break;
  }
}

}  // namespace kv
