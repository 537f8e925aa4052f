// The program's message boxes; see the header.
#include "platform/message_boxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "platform/qt_boundary.h"

namespace kv {

namespace {

void add_button(QMessageBox& box, QMessageBox::StandardButton which, const char* text) {
  box.addButton(which)->setText(QString::fromUtf8(text));
}

// Without a Qt translation loaded the standard buttons would say "Yes" and
// "Cancel"; the program speaks German whatever the locale.
void add_buttons(QMessageBox& box, MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      add_button(box, QMessageBox::Ok, kOkButton);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      add_button(box, QMessageBox::Ok, kOkButton);
      add_button(box, QMessageBox::Cancel, kCancelButton);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      add_button(box, QMessageBox::Yes, kYesButton);
      add_button(box, QMessageBox::No, kNoButton);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      add_button(box, QMessageBox::Yes, kYesButton);
      add_button(box, QMessageBox::No, kNoButton);
      add_button(box, QMessageBox::Cancel, kCancelButton);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
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
