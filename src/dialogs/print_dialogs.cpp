// The questions before a printout; see the header.
#include "dialogs/print_dialogs.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_texts.h"
#include "session/print_background.h"
#include "session/session_texts.h"

namespace kv {

bool ask_printer(QPrinter& printer, QWidget* owner) {
  QPrintDialog dialog(&printer, owner);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                    QAbstractPrintDialog::PrintCollateCopies);
  return dialog.exec() == QDialog::Accepted;
}

int ask_print_background(QWidget* owner) {
  QDialog box(owner);
  box.setObjectName(QStringLiteral("print_background_question"));
  box.setWindowTitle(QString::fromUtf8(kCaption));
  auto* layout = new QVBoxLayout(&box);
  for (const char* line : dialog_text::kPrintBackgroundLines) {
    auto* label = new QLabel(QString::fromUtf8(line), &box);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
  }
  layout->addSpacing(8);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  auto add = [&](const char* text, int id) {
    auto* b = new QPushButton(QString::fromUtf8(text), &box);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, &box, [&box, id] { box.done(id); });
    buttons->addWidget(b);
    return b;
  };
  add(dialog_text::kPrintOmitBackgroundButton, kPrintOmitBackground)->setDefault(true);
  add(dialog_text::kPrintWithBackgroundButton, kPrintWithBackground);
  add(dialog_text::kPrintCancelButton, kPrintAnswerCancel);
  box.setFixedSize(box.sizeHint());
  // Esc and closing end with QDialog::Rejected, which is 0 as well.
  const int answer = box.exec();
  return answer == kPrintOmitBackground || answer == kPrintWithBackground ? answer : kPrintAnswerCancel;
}

}  // namespace kv
