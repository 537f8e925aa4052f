// The mouse-gesture recogniser; see the header.
#include "session/gesture.h"

#include <cstdlib>

#include "session/client_coordinate.h"

namespace kv {

bool gesture_start(GestureRecogniser& g, MouseMode& mode, bool gestures_on, Point p,
                   int64_t now_ms) {
  gesture_cancel(g, mode);
  if (!gestures_on || mode != MouseMode::Idle) return false;
  g.start = {to_client_coordinate(p.x), to_client_coordinate(p.y)};
  g.started_ms = now_ms;
  mode = MouseMode::Gesture;
  return true;
}

bool gesture_cancel(GestureRecogniser&, MouseMode& mode) {
  if (mode != MouseMode::Gesture) return false;
  mode = MouseMode::Idle;
  return true;
}

bool gesture_expired(const GestureRecogniser& g, int64_t now_ms) {
  return now_ms - g.started_ms >= kGestureTimeoutMs;
}

GestureFinish gesture_finish(GestureRecogniser& g, MouseMode& mode, bool gestures_on, Point end,
                             int64_t now_ms) {
  GestureFinish f;
  f.start = g.start;
  f.was_running = gesture_cancel(g, mode);
  if (!gestures_on) {
    f.result = kGestureClick;
    return f;
  }
  if (!f.was_running || gesture_expired(g, now_ms)) return f;
  // 64-bit: two 16-bit differences squared overflow an int.
  const int64_t dx = to_client_coordinate(end.x) - g.start.x;
  const int64_t dy = to_client_coordinate(end.y) - g.start.y;
  if (dx * dx + dy * dy < kGestureMinLengthSquared) {
    f.result = kGestureClick;
    return f;
  }
  f.result = classify_gesture(static_cast<int>(dx), static_cast<int>(dy));
  return f;
}

int classify_gesture(int dx, int dy) {
  const int ax = std::abs(dx), ay = std::abs(dy);
  if (dy < 0 && -dy >= ax) return kGestureUp;
  if (dx > 0 && dx >= ay) return kGestureRight;
  if (dy > 0 && dy >= ax) return kGestureDown;
  return kGestureLeft;
}

GestureAction gesture_action(GestureWindow window, int result) {
  using enum GestureAction;
  if (result < kGestureLeft || result > kGestureDown) return None;
  const bool vertical = result == kGestureUp || result == kGestureDown;
  switch (window) {
    case GestureWindow::Main:
      if (!vertical) return OpenDialog;
      return result == kGestureUp ? ZoomOut : ZoomIn;
    case GestureWindow::Dialog:
      if (vertical) return Help;
      return result == kGestureRight ? Confirm : Cancel;
    case GestureWindow::Help:
      if (vertical) return Close;
      return result == kGestureRight ? Confirm : Cancel;
    case GestureWindow::About: return Close;
  }
  return None;
}

}  // namespace kv
