// The graph widget; see the header.
#include "shell/graph_widget.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPainter>

#include "session/gesture.h"
#include "session/pointer_handlers.h"
#include "session/refresh.h"
#include "session/shell_state.h"

namespace kv {

GraphWidget::GraphWidget(ShellState& state, ShellHost& host, std::function<QPoint()> client_offset,
                         QWidget* parent)
    : QWidget(parent), state_(state), host_(host), client_offset_(std::move(client_offset)) {
  // The picture covers every pixel, so nothing needs clearing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  clock_.start();
  gesture_timer_.setSingleShot(true);
  gesture_timer_.setInterval(static_cast<int>(kGestureTimeoutMs));
  connect(&gesture_timer_, &QTimer::timeout, this, &GraphWidget::cancel_gesture);
}

Point GraphWidget::client_point(QPointF widget_pos) const {
  const QPoint p = widget_pos.toPoint() + client_offset_();
  return Point{p.x(), p.y()};
}

void GraphWidget::paintEvent(QPaintEvent* event) {
  const QPoint offset = client_offset_();
  const ShellPaintFlags shell = paint_flags(state_);
  PaintFlags flags;
  flags.redraw = shell.redraw;
  flags.recompute = shell.recompute;
  flags.double_buffering = shell.double_buffering;
  flags.ready = shell.ready;
  flags.device_pixel_ratio = devicePixelRatioF();
  {
    QPainter painter(this);
    painter.translate(-offset);
    picture_.paint(painter, event->rect().translated(offset), state_.current(),
                   state_.current_plot(), state_.current_colours(), state_.layout, flags);
  }
  after_paint(state_, host_);
  if (shell.ready && after_paint_hook_) after_paint_hook_();
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !(event->buttons() & Qt::LeftButton)) {
    if (gesture_start(state_.pointer.gesture, state_.mouse_mode, state_.prefs.mouse_gestures,
                      client_point(event->position()), now_ms())) {
      gesture_timer_.start();
      set_status_text(state_, host_, kGestureStatusText);
    }
  } else if (event->button() == Qt::LeftButton) {
    cancel_gesture();
  }
  QWidget::mousePressEvent(event);
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const GestureFinish finish =
        gesture_finish(state_.pointer.gesture, state_.mouse_mode, state_.prefs.mouse_gestures,
                       client_point(event->position()), now_ms());
    if (finish.was_running) gesture_ended();
    if (finish.result == kGestureClick) {
      if (rect().contains(event->position().toPoint())) {
        emit context_menu_requested(event->globalPosition().toPoint());
      }
    } else if (run_gesture_result(state_, host_, finish)) {
      emit view_changed();
    }
  }
  QWidget::mouseReleaseEvent(event);
}

void GraphWidget::cancel_gesture() {
  if (gesture_cancel(state_.pointer.gesture, state_.mouse_mode)) gesture_ended();
}

void GraphWidget::gesture_ended() {
  gesture_timer_.stop();
  set_status_text(state_, host_, kDefaultStatusText);
}

void GraphWidget::focusOutEvent(QFocusEvent* event) {
  // A context menu takes the focus while the button is still up; only a
  // running gesture is affected.
  cancel_gesture();
  QWidget::focusOutEvent(event);
}

void GraphWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta != 0) {
    on_wheel(state_, host_, client_point(event->position()), delta, now_ms());
    emit view_changed();
  }
  event->accept();
}

}  // namespace kv
