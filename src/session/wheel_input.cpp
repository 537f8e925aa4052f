// Wheel and touchpad input; see the header.
#include "session/wheel_input.h"

#include <algorithm>
#include <cmath>

#include "session/zoom_box.h"

namespace kv {

namespace {

// The bounds at the start of a gesture go into the undo node once.
void open_gesture(ViewTarget t, TouchGesture& g, const char* description, int64_t now_ms) {
  if (!g.open) save_bounds(t.undo, t.panel, description);
  g.open = true;
  g.last_ms = now_ms;
}

ViewChange gesture_refresh() {
  ViewChange c;
  c.refresh = true;
  c.refresh_flags = kRefreshDuringGesture;
  return c;
}

}  // namespace

int wheel_notches(WheelAccumulator& acc, int angle_delta, int64_t now_ms) {
  if (angle_delta == 0) return 0;
  const bool stale = now_ms - acc.last_ms > kWheelPauseMs;
  const bool reversed = (acc.pending > 0 && angle_delta < 0) || (acc.pending < 0 && angle_delta > 0);
  if (stale || reversed) acc.pending = 0;
  acc.last_ms = now_ms;
  // Summed in 64 bits: a faulty device may send any int.
  const int64_t sum = static_cast<int64_t>(acc.pending) + angle_delta;
  const int64_t notches = sum / kWheelNotch;
  acc.pending = static_cast<int>(sum - notches * kWheelNotch);
  return static_cast<int>(std::clamp<int64_t>(notches, -kMaxNotchesPerEvent, kMaxNotchesPerEvent));
}

double wheel_zoom_factor(int notches) {
  return notches >= 0 ? std::pow(kZoomOutFactor, notches) : std::pow(kZoomInFactor, -notches);
}

ViewChange wheel_zoom(ViewTarget t, WheelAccumulator& acc, const Rect& graph_area, Point cursor,
                      int angle_delta, int64_t now_ms) {
  if (!inside_graph_area(graph_area, cursor)) return {};
  const int notches = wheel_notches(acc, angle_delta, now_ms);
  if (notches == 0) return {};
  const double f = wheel_zoom_factor(notches);
  return zoom_view(t, f, f, cursor);
}

ViewChange pinch_zoom(ViewTarget t, TouchGesture& g, Point centre, double scale, int64_t now_ms) {
  if (!(scale > 0) || !std::isfinite(scale)) return {};
  open_gesture(t, g, kUndoZoom, now_ms);
  const double f = std::clamp(1.0 / scale, kZoomInFactor, kZoomOutFactor);
  zoom_bounds(t.panel, t.plot, f, f, centre);
  return gesture_refresh();
}

ViewChange pixel_scroll(ViewTarget t, TouchGesture& g, int dx, int dy, int64_t now_ms) {
  if (dx == 0 && dy == 0) return {};
  open_gesture(t, g, kUndoScroll, now_ms);
  shift_bounds_by_pixels(t.panel, dx, dy);
  return gesture_refresh();
}

bool touch_gesture_quiet(const TouchGesture& g, int64_t now_ms) {
  return g.open && now_ms - g.last_ms >= kGestureQuietMs;
}

ViewChange end_touch_gesture(TouchGesture& g) {
  if (!g.open) return {};
  g.open = false;
  ViewChange c;
  c.refresh = true;
  c.refresh_flags = kRefreshAfterZoom;
  return c;
}

}  // namespace kv
