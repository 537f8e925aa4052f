// The mouse, wheel and touchpad over the graph; see the header.
#include "shell/pointer_controller.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "platform/zoom_cursor.h"
#include "session/command_handlers.h"
#include "session/commands.h"
#include "session/coord_tip.h"
#include "session/pointer_handlers.h"
#include "session/refresh.h"
#include "session/shell_host.h"
#include "session/shell_state.h"
#include "session/zoom_box.h"
#include "shell/coord_tooltip.h"
#include "shell/zoom_box_window.h"

namespace kv {

PointerController::PointerController(ShellState& state, ShellHost& host, QWidget* graph,
                                     std::function<QPoint()> client_offset, PointerHooks hooks)
    : QObject(graph),
      state_(state),
      host_(host),
      graph_(graph),
      client_offset_(std::move(client_offset)),
      hooks_(std::move(hooks)),
      tooltip_(new CoordTooltip(graph->window())),
      box_(std::make_unique<ZoomBoxWindow>(graph->window())) {
  clock_.start();
  graph_->setMouseTracking(true);
  graph_->installEventFilter(this);

  gesture_timer_.setSingleShot(true);
  gesture_timer_.setInterval(static_cast<int>(kGestureTimeoutMs));
  connect(&gesture_timer_, &QTimer::timeout, this, [this] { cancel_gesture(); });
  hover_timer_.setInterval(kHoverCheckMs);
  connect(&hover_timer_, &QTimer::timeout, this, [this] { hover_tick(); });
  touch_timer_.setSingleShot(true);
  touch_timer_.setInterval(static_cast<int>(kGestureQuietMs));
  connect(&touch_timer_, &QTimer::timeout, this, [this] { touch_quiet(); });
}

PointerController::~PointerController() {
  if (cursor_overridden_) QGuiApplication::restoreOverrideCursor();
}

// ---- coordinates ------------------------------------------------------------

Point PointerController::to_client(QPoint widget_pos) const {
  const QPoint p = widget_pos + client_offset_();
  return {p.x(), p.y()};
}

Point PointerController::cursor_client() const {
  return to_client(graph_->mapFromGlobal(QCursor::pos()));
}

QPoint PointerController::to_global(Point client) const {
  return graph_->mapToGlobal(QPoint(client.x, client.y) - client_offset_());
}

// ---- events -----------------------------------------------------------------

bool PointerController::eventFilter(QObject* watched, QEvent* event) {
  if (watched != graph_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return mouse_press(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return mouse_move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return mouse_release(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel: return wheel(static_cast<QWheelEvent*>(event));
    case QEvent::NativeGesture: return native_gesture(static_cast<QNativeGestureEvent*>(event));
    case QEvent::KeyPress: return key_press(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: focus_in(); return false;
    case QEvent::FocusOut: focus_out(); return false;
    case QEvent::Leave: leave(); return false;
    default: return false;
  }
}

bool PointerController::mouse_press(QMouseEvent* event) {
  const Point p = to_client(event->position().toPoint());
  const bool right_held = (event->buttons() & Qt::RightButton) != 0;
  const bool alt_held = (event->modifiers() & Qt::AltModifier) != 0;
  if (event->button() == Qt::LeftButton) {
    if (state_.mouse_mode == MouseMode::Gesture) {
      cancel_gesture();
      return true;
    }
    if (alt_held) {
      // Alt and drag moves the window from anywhere on the graph.
      if (QWindow* w = graph_->window()->windowHandle()) w->startSystemMove();
      return true;
    }
    if (zoom_box_start(state_.pointer.zoom_box, state_.mouse_mode, state_.layout.client, p,
                       right_held, alt_held)) {
      start_zoom_box();
    }
    return true;
  }
  if (event->button() == Qt::RightButton) {
    if (state_.mouse_mode == MouseMode::ZoomBox) {
      end_zoom_box(false);
      swallow_right_up_ = true;
      return true;
    }
    if ((event->buttons() & Qt::LeftButton) != 0) return true;
    cancel_gesture();
    if (gesture_start(state_.pointer.gesture, state_.mouse_mode, state_.prefs.mouse_gestures, p,
                      now_ms())) {
      gesture_timer_.start();
      set_status_text(state_, host_, kGestureStatusText);
    }
    return true;
  }
  return false;
}

bool PointerController::mouse_move(QMouseEvent* event) {
  const Point p = to_client(event->position().toPoint());
  const QPoint global = event->globalPosition().toPoint();
  if (state_.mouse_mode == MouseMode::ZoomBox) {
    const bool left_held = (event->buttons() & Qt::LeftButton) != 0;
    if (zoom_box_move(state_.pointer.zoom_box, p, left_held, capture_)) {
      place_zoom_edges();
      update_tooltip(p, global);
    } else {
      end_zoom_box(false);
    }
    return true;
  }
  if (inside_graph_area(state_.layout.client, p)) {
    if (!state_.hover) hover_enter();
    update_tooltip(p, global);
  } else if (state_.hover) {
    hover_leave();
  }
  return true;
}

bool PointerController::mouse_release(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    if (state_.mouse_mode == MouseMode::ZoomBox) end_zoom_box(true);
    return true;
  }
  if (event->button() == Qt::RightButton) {
    if (swallow_right_up_) {
      swallow_right_up_ = false;
      return true;
    }
    finish_gesture(to_client(pos), event->globalPosition().toPoint(), pos);
    return true;
  }
  return false;
}

bool PointerController::wheel(QWheelEvent* event) {
  const Point p = to_client(event->position().toPoint());
  const QPoint pixels = event->pixelDelta();
  const bool zoom_modifier = (event->modifiers() & Qt::ControlModifier) != 0;
  if (!pixels.isNull() && !zoom_modifier) {
    // Two fingers on a touchpad: the view follows them pixel by pixel, one
    // undo step for the whole movement.
    if (inside_graph_area(state_.layout.client, p)) {
      on_pixel_scroll(state_, host_, pixels.x(), pixels.y(), now_ms());
      touch_event_done();
    }
  } else {
    on_wheel(state_, host_, p, event->angleDelta().y(), now_ms());
    changed();
  }
  if (event->phase() == Qt::ScrollEnd) {
    on_touch_end(state_, host_);
    changed();
  }
  event->accept();
  return true;
}

bool PointerController::native_gesture(QNativeGestureEvent* event) {
  switch (event->gestureType()) {
    case Qt::ZoomNativeGesture: {
      // value() is the change of the magnification since the last event.
      on_pinch(state_, host_, to_client(event->position().toPoint()), 1.0 + event->value(),
               now_ms());
      touch_event_done();
      return true;
    }
    case Qt::EndNativeGesture:
      on_touch_end(state_, host_);
      changed();
      return true;
    default: return false;
  }
}

bool PointerController::key_press(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) return false;
  if (state_.mouse_mode == MouseMode::ZoomBox) {
    end_zoom_box(false);
    return true;
  }
  if (state_.mouse_mode == MouseMode::Gesture) {
    cancel_gesture();
    return true;
  }
  return false;
}

void PointerController::focus_in() { hover_check(); }

void PointerController::focus_out() {
  capture_ = false;
  cancel_gesture();
}

void PointerController::leave() {
  // The toolkit says when the mouse leaves the graph; the timer need not wait.
  if (state_.hover) hover_tick();
}

// ---- hover and tooltip ------------------------------------------------------

void PointerController::hover_check() {
  const bool foreground = graph_->window()->isActiveWindow();
  if (foreground && inside_graph_area(state_.layout.client, cursor_client())) {
    hover_enter();
  } else {
    hover_leave();
  }
}

void PointerController::hover_enter() {
  state_.hover = true;
  // A running gesture or rectangle keeps its own status text.
  if (state_.mouse_mode == MouseMode::Idle) {
    set_status_text(state_, host_,
                    state_.current().count() > 0 ? kZoomHintStatusText : kDefaultStatusText);
  }
  hover_timer_.start();
}

void PointerController::hover_leave() {
  hover_timer_.stop();
  state_.hover = false;
  hide_tooltip();
  if (state_.mouse_mode == MouseMode::Idle) set_status_text(state_, host_, kDefaultStatusText);
}

void PointerController::hover_tick() {
  const Point p = cursor_client();
  if (!inside_graph_area(state_.layout.client, p)) {
    hover_leave();
    return;
  }
  // A jump that lands the cursor on the tooltip, or the tooltip pushed under
  // the cursor in a corner of the screen, sends the moves to the tooltip's
  // window and not to the graph: the tooltip follows the cursor from here.
  const QPoint cursor = QCursor::pos();
  if (state_.mouse_mode == MouseMode::Idle && tooltip_->tip_shown() && cursor != tip_cursor_) {
    update_tooltip(p, cursor);
  }
}

void PointerController::update_tooltip(Point client, QPoint global) {
  if (!coord_tip_wanted(state_.prefs.mouse_coordinates, state_.current())) {
    hide_tooltip();
    return;
  }
  tip_cursor_ = global;
  tooltip_->show_values(state_.current(), state_.layout.plot, state_.current_colours(), client,
                        global, &state_.current_plot());
}

void PointerController::hide_tooltip() { tooltip_->hide_tip(); }

void PointerController::refresh_tooltip() {
  if (tooltip_->tip_shown()) update_tooltip(cursor_client(), QCursor::pos());
}

// ---- zoom rectangle ---------------------------------------------------------

void PointerController::start_zoom_box() {
  QGuiApplication::setOverrideCursor(zoom_cursor());
  cursor_overridden_ = true;
  place_zoom_edges();
  set_status_text(state_, host_, kZoomBoxStatusText);
  capture_ = true;
}

void PointerController::place_zoom_edges() {
  std::array<Rect, 4> edges = zoom_box_edges(state_.pointer.zoom_box);
  for (Rect& r : edges) {
    const QPoint corner = to_global({r.left, r.top});
    r = Rect{corner.x(), corner.y(), corner.x() + r.width(), corner.y() + r.height()};
  }
  box_->place(edges);
}

void PointerController::end_zoom_box(bool with_zoom) {
  const std::optional<Rect> rect =
      zoom_box_end(state_.pointer.zoom_box, state_.mouse_mode, with_zoom);
  if (cursor_overridden_) {
    QGuiApplication::restoreOverrideCursor();
    cursor_overridden_ = false;
  }
  capture_ = false;
  box_->hide();
  hover_check();
  if (rect) {
    CommandParam param;
    param.rect = *rect;
    run_command(state_, host_, Command::ZoomRect, param);
    changed();
  }
}

// ---- gestures ---------------------------------------------------------------

void PointerController::cancel_gesture() {
  gesture_timer_.stop();
  if (gesture_cancel(state_.pointer.gesture, state_.mouse_mode)) hover_check();
}

void PointerController::finish_gesture(Point client, QPoint global, QPoint widget_pos) {
  const GestureFinish f = gesture_finish(state_.pointer.gesture, state_.mouse_mode,
                                         state_.prefs.mouse_gestures, client, now_ms());
  if (f.was_running) {
    gesture_timer_.stop();
    hover_check();
  }
  if (f.result == kGestureClick) {
    // A click is meant for what lies under the mouse: on the graph, that is
    // the context menu.
    if (graph_->rect().contains(widget_pos) && hooks_.context_menu) hooks_.context_menu(global);
    return;
  }
  if (run_gesture_result(state_, host_, f)) changed();
}

// ---- touchpad ---------------------------------------------------------------

void PointerController::touch_event_done() {
  touch_timer_.start();
  changed();
}

void PointerController::touch_quiet() {
  if (touch_gesture_quiet(state_.pointer.touch, now_ms())) {
    on_touch_end(state_, host_);
    changed();
  } else if (state_.pointer.touch.open) {
    touch_timer_.start();
  }
}

void PointerController::changed() {
  if (hooks_.view_changed) hooks_.view_changed();
}

}  // namespace kv
