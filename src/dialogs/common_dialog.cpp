// The behaviour all formula dialogs share; see the header.
#include "dialogs/common_dialog.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWindow>

#include "session/dialog_placement.h"

namespace kv {

namespace {

Rect screen_rect(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  if (screen == nullptr) return {};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int gesture_command(int result) {
  switch (result) {
    case kGestureRight: return 1;
    case kGestureLeft: return 2;
    case kGestureUp:
    case kGestureDown: return 1011;
    default: return 0;
  }
}

}  // namespace

CommonDialog::CommonDialog(QWidget* owner) : QDialog(owner) {
  clock_.start();
  gesture_timer_.setSingleShot(true);
  gesture_timer_.setInterval(static_cast<int>(kGestureTimeoutMs));
  connect(&gesture_timer_, &QTimer::timeout, this, [this] { gesture_cancel(gesture_, mouse_mode_); });
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
  w->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->selectAll();
  } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
    combo->lineEdit()->selectAll();
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
    text->selectAll();
  }
}

QPoint CommonDialog::owner_corner() const {
  const QWidget* owner = parentWidget();
  return owner ? owner->window()->frameGeometry().topLeft() : QPoint();
}

void CommonDialog::finish_controls() {
  adjustSize();
  setMinimumSize(size());
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

void CommonDialog::open_at(DialogRect& remembered, Point default_offset) {
  finish_controls();
  const QSize opening = size();
  const QPoint corner = owner_corner();
  const DialogRect r = place_dialog(remembered, {corner.x(), corner.y()}, opening.width(),
                                    opening.height(), default_offset, screen_rect(this));
  resize(r.right - r.left, r.bottom - r.top);
  move(r.left, r.top);
}

DialogRect CommonDialog::placement() const {
  const QPoint corner = owner_corner();
  const QPoint at = pos();
  return relative_placement({at.x(), at.y(), at.x() + width(), at.y() + height()},
                            {corner.x(), corner.y()});
}

Point CommonDialog::client_point(QPoint global) const {
  const QPoint p = mapFromGlobal(global);
  return {p.x(), p.y()};
}

bool CommonDialog::right_press(QPoint global) {
  if (!gesture_start(gesture_, mouse_mode_, gestures_on(), client_point(global),
                     clock_.elapsed())) {
    return false;
  }
  gesture_timer_.start();
  return true;
}

void CommonDialog::right_release(QWidget* receiver, QPoint global) {
  const GestureFinish finish =
      gesture_finish(gesture_, mouse_mode_, gestures_on(), client_point(global), clock_.elapsed());
  gesture_timer_.stop();
  if (finish.result == kGestureClick) {
    QContextMenuEvent menu(QContextMenuEvent::Mouse, receiver->mapFromGlobal(global), global);
    QCoreApplication::sendEvent(receiver, &menu);
    return;
  }
  if (const int id = gesture_command(finish.result)) run_control(id);
}

bool CommonDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::RightButton && !(e->buttons() & Qt::LeftButton)) {
        return right_press(e->globalPosition().toPoint());
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::RightButton && mouse_mode_ == MouseMode::Gesture) {
        right_release(widget, e->globalPosition().toPoint());
        return true;
      }
      break;
    }
    // The platform may open the context menu at the press that began a gesture.
    case QEvent::ContextMenu:
      return mouse_mode_ == MouseMode::Gesture;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
          gesture_cancel(gesture_, mouse_mode_)) {
        gesture_timer_.stop();
        return true;
      }
      break;
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

// Presses that reach the dialog itself are on its background (labels and
// frames pass theirs on): the left button ends a gesture or moves the dialog.
void CommonDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  if (gesture_cancel(gesture_, mouse_mode_)) {
    gesture_timer_.stop();
    return;
  }
  // Without a window manager that moves windows, the dialog follows the mouse itself.
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  drag_offset_ = event->globalPosition().toPoint() - pos();
}

void CommonDialog::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) move(event->globalPosition().toPoint() - drag_offset_);
  QDialog::mouseMoveEvent(event);
}

void CommonDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace kv
