// The behaviour all formula dialogs share; see the header.
#include "dialogs/common_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>

#include "dialogs/window_gestures.h"
#include "session/dialog_controls.h"
#include "platform/qt_boundary.h"
#include "session/command_ids.h"
#include "session/dialog_placement.h"

namespace kv {

namespace {

Rect screen_rect(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  if (screen == nullptr) return {};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

CommonDialog::CommonDialog(QWidget* owner, const ShellState& state)
    : QDialog(owner), state_(state) {
  // F1 opens the help window from any field of the dialog.
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { run_control(command_number(Command::Help)); });
}

void CommonDialog::set_control_id(QWidget* widget, int id) {
  widget->setProperty(kControlIdProperty, id);
}

QWidget* CommonDialog::control(int id) const {
  for (QWidget* w : findChildren<QWidget*>()) {
    const QVariant v = w->property(kControlIdProperty);
    if (v.isValid() && v.toInt() == id) return w;
  }
  return nullptr;
}

void CommonDialog::focus_and_select(int id) {
  QWidget* w = control(id);
  if (w == nullptr) return;
  // One selection at a time: the formula selected when the dialog opened
  // must not stand beside the faulty field.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    if (edit != w && edit->parentWidget() != w) edit->deselect();
  }
  for (QPlainTextEdit* text : findChildren<QPlainTextEdit*>()) {
    if (text == w) continue;
    QTextCursor cursor = text->textCursor();
    cursor.clearSelection();
    text->setTextCursor(cursor);
  }
  w->setFocus(Qt::OtherFocusReason);
  select_field_text(w);
}

QPoint CommonDialog::owner_corner() const {
  const QWidget* owner = parentWidget();
  return owner ? owner->window()->frameGeometry().topLeft() : QPoint();
}

void CommonDialog::finish_controls() {
  adjustSize();
  setMinimumSize(size());
  // Owned by the dialog.
  new WindowGestures(this, state_, GestureWindow::Dialog,
                     [this](GestureAction a) { run_control(gesture_control(a)); });
}

void CommonDialog::open_at(DialogRect& remembered, Point default_offset) {
  finish_controls();
  const QPoint corner = owner_corner();
  const DialogRect r = place_dialog(remembered, {width(), height()}, {corner.x(), corner.y()},
                                    default_offset, screen_rect(this));
  resize(r.right - r.left, r.bottom - r.top);
  move(r.left, r.top);
}

DialogRect CommonDialog::placement() const {
  const QPoint corner = owner_corner();
  const QPoint at = pos();
  return relative_placement({at.x(), at.y(), at.x() + width(), at.y() + height()},
                            {corner.x(), corner.y()});
}

}  // namespace kv
