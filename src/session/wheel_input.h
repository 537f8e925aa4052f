// Wheel and touchpad input over the graph.
//
// Mouse wheel: angle deltas in eighths of a degree, 120 per notch, positive
// when the wheel turns away from the user. One notch is one zoom step around
// the cursor (away: out by 1.25, towards: in by 0.8). Touchpads and
// high-resolution wheels send many small deltas; they are summed until a
// whole notch is reached, so a notch never yields more than one step. A
// change of direction or a pause drops the unfinished part, so a half notch
// left from earlier does not fire on the next touch. A delta of zero (touchpad
// phase events) does nothing.
//
// Touchpad gestures change the view continuously: pinch zooms around the
// fingers, two-finger scrolling moves the view by the pixels the fingers
// moved. One gesture is one undo step: its first event saves the bounds, its
// events refresh without recording, and its end (the toolkit's end phase, or
// a quiet timer the widget runs) asks for the refresh that records the step.
// End an open gesture before any other view operation.
#pragma once

#include <cstdint>

#include "session/view_ops.h"

namespace kv {

inline constexpr int kWheelNotch = 120;
// Partial notches older than this are forgotten.
inline constexpr int64_t kWheelPauseMs = 400;
// More notches than this in one event come from a faulty device or a stall;
// the zoom is limited to them.
inline constexpr int kMaxNotchesPerEvent = 10;
// A touchpad gesture without events for this long is over.
inline constexpr int64_t kGestureQuietMs = 300;

struct WheelAccumulator {
  int pending = 0;  // eighths of a degree, less than one notch, signed
  int64_t last_ms = 0;
};

// Whole notches completed by this delta: positive away from the user.
int wheel_notches(WheelAccumulator& acc, int angle_delta, int64_t now_ms);

// 1.25 per notch away, 0.8 per notch towards the user.
double wheel_zoom_factor(int notches);

// The wheel over the graph: zooms around the cursor once per whole notch.
// Outside inside_graph_area of graph_area nothing happens (toolbars, status
// bar).
ViewChange wheel_zoom(ViewTarget t, WheelAccumulator& acc, const Rect& graph_area, Point cursor,
                      int angle_delta, int64_t now_ms);

struct TouchGesture {
  bool open = false;
  int64_t last_ms = 0;
};

// Pinch: scale is the ratio of finger distances since the previous event
// (> 1: fingers apart, the content grows). The range shrinks by the inverse,
// limited per event to one keyboard step (0.8 .. 1.25), around centre.
// The zoom follows the fingers continuously instead of in keyboard steps; steps
// of 0.8 would make the graph jump under the fingers.
ViewChange pinch_zoom(ViewTarget t, TouchGesture& g, Point centre, double scale, int64_t now_ms);

// Two-finger scrolling by the toolkit's pixel delta (positive: content moves
// right or down).
ViewChange pixel_scroll(ViewTarget t, TouchGesture& g, int dx, int dy, int64_t now_ms);

// True when an open gesture has had no event for kGestureQuietMs.
bool touch_gesture_quiet(const TouchGesture& g, int64_t now_ms);

// Closes an open gesture: the refresh it asks for records its one undo step.
ViewChange end_touch_gesture(TouchGesture& g);

}  // namespace kv
