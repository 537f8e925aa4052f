// Gestures and background moves of a dialog window; see the header.
#include "dialogs/window_gestures.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kv {

namespace {

constexpr const char* kMoveHandle = "kvMoveHandle";
constexpr const char* kBackground = "kvBackground";

}  // namespace

WindowGestures::WindowGestures(QWidget* window, const ShellState& state, GestureWindow kind,
                               std::function<void(GestureAction)> run)
    : QObject(window), window_(window), state_(state), kind_(kind), run_(std::move(run)) {
  clock_.start();
  timeout_.setSingleShot(true);
  timeout_.setInterval(static_cast<int>(kGestureTimeoutMs));
  connect(&timeout_, &QTimer::timeout, this, [this] { cancel(); });
  watch_children();
}

void WindowGestures::watch_children() {
  // Installing twice is harmless: Qt keeps one entry per filter.
  window_->installEventFilter(this);
  for (QWidget* w : window_->findChildren<QWidget*>()) w->installEventFilter(this);
}

void WindowGestures::mark_move_handle(QWidget* w) { w->setProperty(kMoveHandle, true); }

void WindowGestures::mark_background(QWidget* w) { w->setProperty(kBackground, true); }

void WindowGestures::cancel() {
  timeout_.stop();
  gesture_cancel(recogniser_, mode_);
  held_menu_ = nullptr;
}

bool WindowGestures::on_press(QWidget* w, QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  if (me->button() == Qt::RightButton && !(me->buttons() & Qt::LeftButton)) {
    const QPoint p = window_->mapFromGlobal(me->globalPosition().toPoint());
    held_menu_ = nullptr;
    if (gesture_start(recogniser_, mode_, state_.prefs.mouse_gestures, {p.x(), p.y()},
                      clock_.elapsed())) {
      timeout_.start();
    }
    return false;
  }
  if (me->button() != Qt::LeftButton) return false;
  cancel();
  const bool background = w == window_ || qobject_cast<QLabel*>(w) != nullptr ||
                          w->property(kMoveHandle).toBool() ||
                          w->property(kBackground).toBool();
  if (!background || window_->windowHandle() == nullptr) return false;
  // Without a window manager that supports it nothing moves; that is all.
  const bool moving = window_->windowHandle()->startSystemMove();
  // A move handle never takes the press: no focus, no selection.
  return moving || w->property(kMoveHandle).toBool();
}

bool WindowGestures::on_release(QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  if (me->button() != Qt::RightButton) return false;
  timeout_.stop();
  const QPoint p = window_->mapFromGlobal(me->globalPosition().toPoint());
  const GestureFinish f = gesture_finish(recogniser_, mode_, state_.prefs.mouse_gestures,
                                         {p.x(), p.y()}, clock_.elapsed());
  QPointer<QWidget> menu_owner = held_menu_;
  held_menu_ = nullptr;
  if (f.result == kGestureClick && menu_owner) {
    const QPoint global = me->globalPosition().toPoint();
    QContextMenuEvent replay(QContextMenuEvent::Mouse, menu_owner->mapFromGlobal(global), global);
    QCoreApplication::sendEvent(menu_owner, &replay);
    return false;
  }
  const GestureAction action = gesture_action(kind_, f.result);
  if (action == GestureAction::None) return false;
  // The action may close the window; the release is consumed first.
  QMetaObject::invokeMethod(this, [this, action] { run_(action); }, Qt::QueuedConnection);
  return true;
}

bool WindowGestures::eventFilter(QObject* watched, QEvent* event) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (w == nullptr) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return on_press(w, event);
    case QEvent::MouseButtonRelease:
      return on_release(event);
    case QEvent::ContextMenu:
      // Held back while a gesture runs; a short release replays it.
      if (mode_ == MouseMode::Gesture &&
          static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse) {
        if (!held_menu_) held_menu_ = w;
        return true;
      }
      return false;
    case QEvent::KeyPress:
      if (mode_ == MouseMode::Gesture && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancel();
        return true;
      }
      return false;
    case QEvent::WindowDeactivate:
      cancel();
      return false;
    case QEvent::ToolTip:
      return !state_.prefs.tooltips;
    default:
      return false;
  }
}

}  // namespace kv
