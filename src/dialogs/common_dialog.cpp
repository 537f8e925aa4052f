// The behaviour all dialogs and calculator windows share; see the header.
#include "dialogs/common_dialog.h"

#include <QComboBox>
#include <QGuiApplication>
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

Rect available_rect(const QScreen* screen) {
  return screen != nullptr ? to_rect(screen->availableGeometry()) : Rect{};
}

}  // namespace

CommonDialog::CommonDialog(QWidget* parent, const ShellState& state, ShellHost& host,
                           DialogRoutes routes)
    : QDialog(parent), state_(state), routes_(routes), owner_(parent) {
  // F1 opens the help window from any field of the dialog.
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  if (routes.help == HelpRoute::Host) {
    connect(help, &QShortcut::activated, this, [&host] { host.post_command(Command::Help); });
  } else {
    connect(help, &QShortcut::activated, this,
            [this] { run_control(command_number(Command::Help)); });
  }
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

Point CommonDialog::origin(const Rect& screen) const {
  std::optional<Point> corner;
  if (owner_) {
    const QPoint p = routes_.origin == PlacementOrigin::OwnerFrame
                         ? owner_->window()->frameGeometry().topLeft()
                         : owner_->pos();
    corner = Point{p.x(), p.y()};
  }
  return placement_origin(routes_.origin, corner, screen);
}

Rect CommonDialog::opening_screen() const {
  // A child dialog opens on its owner's screen by itself; a window of its
  // own is not on any screen yet and takes its owner's.
  if (routes_.origin == PlacementOrigin::OwnerFrame) return available_rect(screen());
  return available_rect(owner_ ? owner_->screen() : QGuiApplication::primaryScreen());
}

void CommonDialog::finish_controls() {
  adjustSize();
  setMinimumSize(size());
  // Owned by the dialog.
  new WindowGestures(this, state_, GestureWindow::Dialog,
                     [this](GestureAction a) { run_control(gesture_control(a)); });
}

void CommonDialog::place(DialogRect& remembered, Point default_offset) {
  const Rect screen = opening_screen();
  const DialogRect r =
      place_dialog(remembered, {width(), height()}, origin(screen), default_offset, screen);
  resize(r.right - r.left, r.bottom - r.top);
  move(r.left, r.top);
}

DialogRect CommonDialog::placement() const {
  const QPoint at = pos();
  return relative_placement({at.x(), at.y(), at.x() + width(), at.y() + height()},
                            origin(available_rect(screen())));
}

void CommonDialog::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  if (kept_ != nullptr && isVisible()) *kept_ = placement();
}

void CommonDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (kept_ != nullptr && isVisible()) *kept_ = placement();
}

}  // namespace kv
