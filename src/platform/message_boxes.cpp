// The program's message boxes; see the header.
#include "platform/message_boxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <iterator>

#include "platform/qt_boundary.h"

namespace kv {

namespace {

// The buttons of each MessageButtons, in their order, the one Enter presses
// (none beside a lone OK) and the one Escape presses. The texts are ours:
// without a Qt translation loaded the standard buttons would say "Yes" and
// "Cancel"; the program speaks German whatever the locale.
struct ButtonText {
  QMessageBox::StandardButton which = QMessageBox::NoButton;
  const char* text = nullptr;
};
struct ButtonSet {
  ButtonText buttons[3];
  QMessageBox::StandardButton enter, escape;
};
constexpr ButtonText kOk{QMessageBox::Ok, kOkButton}, kCancel{QMessageBox::Cancel, kCancelButton},
    kYes{QMessageBox::Yes, kYesButton}, kNo{QMessageBox::No, kNoButton};
constexpr ButtonSet kButtonSets[] = {
    {{kOk}, QMessageBox::NoButton, QMessageBox::Ok},                // Ok
    {{kOk, kCancel}, QMessageBox::Ok, QMessageBox::Cancel},         // OkCancel
    {{kYes, kNo}, QMessageBox::Yes, QMessageBox::No},               // YesNo
    {{kYes, kNo, kCancel}, QMessageBox::Yes, QMessageBox::Cancel},  // YesNoCancel
};
static_assert(std::size(kButtonSets) == static_cast<size_t>(MessageButtons::YesNoCancel) + 1);

void add_buttons(QMessageBox& box, MessageButtons buttons) {
  const ButtonSet& set = kButtonSets[static_cast<int>(buttons)];
  for (const ButtonText& b : set.buttons) {
    if (b.text != nullptr) box.addButton(b.which)->setText(QString::fromUtf8(b.text));
  }
  if (set.enter != QMessageBox::NoButton) box.setDefaultButton(set.enter);
  box.setEscapeButton(set.escape);
}

QMessageBox::Icon qt_icon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    default: return QMessageBox::Information;
  }
}

MessageResult result_of(const QMessageBox& box, MessageButtons buttons) {
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    default: break;
  }
  // Closed without a button (the escape button is set, so this is rare).
  switch (buttons) {
    case MessageButtons::Ok: return MessageResult::Ok;
    case MessageButtons::YesNo: return MessageResult::No;
    default: return MessageResult::Cancel;
  }
}

}  // namespace

void show_error_box(QWidget* owner, std::string_view text) {
  show_message_box(owner, text, kCaption, MessageButtons::Ok, MessageIcon::Information, nullptr);
}

MessageResult show_message_box(QWidget* owner, std::string_view text, std::string_view caption,
                               MessageButtons buttons, MessageIcon icon, bool* alert) {
  QMessageBox box(qt_icon(icon), ui_text(caption), ui_text(text), QMessageBox::NoButton, owner);
  add_buttons(box, buttons);
  QCheckBox* check = nullptr;
  if (alert) {
    check = new QCheckBox(QString::fromUtf8(kDoNotAskAgain), &box);
    box.setCheckBox(check);
    // The toolkit puts the tick above the buttons; ours stands below them,
    // across the whole box.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
      grid->removeWidget(check);
      grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
    }
  }
  box.exec();
  if (alert) *alert = !check->isChecked();
  return result_of(box, buttons);
}

}  // namespace kv
