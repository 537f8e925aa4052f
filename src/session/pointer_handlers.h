// The view commands and the mouse and touchpad input of the main window, as
// the window layer calls them: each carries out one view change on the
// current drawing panel and runs the refresh it asks for.
//
// An open touchpad gesture is closed (and its undo step recorded) before any
// other view change, so two changes never share one undo node.
#pragma once

#include <cstdint>

#include "session/gesture.h"
#include "session/shell_host.h"
#include "session/shell_state.h"
#include "session/view_ops.h"

namespace kv {

// The current panel, its undo ring and the plot of the current layout.
ViewTarget current_view(ShellState& state);

// Updates the EqualScales button when asked and runs the refresh.
void apply_view_change(ShellState& state, ShellHost& host, const ViewChange& change);

// Commands 4010, 4060..4072; rect is the zoom rectangle of 4066.
void run_view_command(ShellState& state, ShellHost& host, Command id, const Rect& rect);

// A finished gesture: left and right open the dialog of the current surface,
// up zooms out and down zooms in around the start point. Returns false for
// results the window handles itself (1: pass the click on as a context-menu
// click) or that mean nothing (0).
bool run_gesture_result(ShellState& state, ShellHost& host, const GestureFinish& finish);

// Wheel over the window: cursor in client coordinates, Qt's vertical angle delta.
void on_wheel(ShellState& state, ShellHost& host, Point cursor, int angle_delta, int64_t now_ms);
// Touchpad: pinch scale ratio since the previous event, two-finger pixel delta.
void on_pinch(ShellState& state, ShellHost& host, Point centre, double scale, int64_t now_ms);
void on_pixel_scroll(ShellState& state, ShellHost& host, int dx, int dy, int64_t now_ms);
// The toolkit's end phase of a touchpad gesture, or the window's quiet timer.
void on_touch_end(ShellState& state, ShellHost& host);

}  // namespace kv
