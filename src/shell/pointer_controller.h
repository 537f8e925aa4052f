// The mouse, wheel and touchpad over the graph of the main window: the zoom
// rectangle, the right-button gestures, the wheel, pinch and two-finger
// scrolling, the hover state with its status texts and the coordinate
// tooltip.
//
// The controller watches the graph widget through an event filter, so the
// window only creates it; the rules live in the session layer
// (pointer_handlers.h, gesture.h, zoom_box.h, wheel_input.h), and this class
// moves events, timers, the cursor and the small windows in and out.
//
// Positions are taken in the client coordinates of ShellState's layout:
// client_offset tells where the graph widget's corner lies in that area.
//
// The mouse capture is the toolkit's implicit grab: while a button is held
// every move and the release come to the graph, also outside the window. A
// focus loss counts as a lost capture, so the zoom rectangle then ends
// without zooming at the next move.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "graph/device.h"

class QKeyEvent;
class QMouseEvent;
class QNativeGestureEvent;
class QWheelEvent;
class QWidget;

namespace kv {

struct ShellState;
class ShellHost;
class CoordTooltip;
class ZoomBoxWindow;

struct PointerHooks {
  // A right click that is no gesture: the context menu at this screen point.
  std::function<void(QPoint global)> context_menu;
  // After each view change made here (menu states follow the undo steps).
  std::function<void()> view_changed;
};

// The hover check of the timer: how often the cursor is looked for.
inline constexpr int kHoverCheckMs = 50;

class PointerController final : public QObject {
 public:
  // Installs itself as event filter of graph and becomes its child. The
  // tooltip and the edge windows belong to graph's window.
  PointerController(ShellState& state, ShellHost& host, QWidget* graph,
                    std::function<QPoint()> client_offset, PointerHooks hooks);
  ~PointerController() override;

  // The event handlers the filter calls; each returns whether it used the
  // event (the widget then does not see it).
  bool mouse_press(QMouseEvent* event);
  bool mouse_move(QMouseEvent* event);
  bool mouse_release(QMouseEvent* event);
  bool wheel(QWheelEvent* event);
  bool native_gesture(QNativeGestureEvent* event);
  bool key_press(QKeyEvent* event);  // Esc ends a zoom rectangle or a gesture
  void focus_in();
  void focus_out();
  void leave();

  // Whether the cursor is over the graph of the foreground window: enters or
  // leaves the hover state accordingly.
  void hover_check();
  // The window's side of ShellHost: hide, or redraw at the cursor if shown.
  void hide_tooltip();
  void refresh_tooltip();

  const CoordTooltip& tooltip() const { return *tooltip_; }
  const ZoomBoxWindow& zoom_box() const { return *box_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Point to_client(QPoint widget_pos) const;
  Point cursor_client() const;
  QPoint to_global(Point client) const;
  int64_t now_ms() const { return clock_.elapsed(); }

  void hover_enter();
  void hover_leave();
  void hover_tick();
  void update_tooltip(Point client, QPoint global);

  void start_zoom_box();
  void place_zoom_edges();
  void end_zoom_box(bool with_zoom);
  void cancel_gesture();
  void finish_gesture(Point client, QPoint global, QPoint widget_pos);
  void touch_event_done();
  void touch_quiet();
  void changed();

  ShellState& state_;
  ShellHost& host_;
  QWidget* graph_;
  std::function<QPoint()> client_offset_;
  PointerHooks hooks_;
  CoordTooltip* tooltip_ = nullptr;  // a window of its own, owned by graph's window
  QPoint tip_cursor_;                 // the cursor (screen) the tooltip shows
  std::unique_ptr<ZoomBoxWindow> box_;
  QTimer gesture_timer_;
  QTimer hover_timer_;
  QTimer touch_timer_;
  QElapsedTimer clock_;
  bool capture_ = false;       // the zoom rectangle still has the mouse
  bool swallow_right_up_ = false;  // the right button ended a zoom rectangle
  bool cursor_overridden_ = false;
};

}  // namespace kv
