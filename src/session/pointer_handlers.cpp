// View commands, gestures, wheel and touchpad of the main window; see the header.
#include "session/pointer_handlers.h"

#include "session/command_handlers.h"
#include "session/commands.h"
#include "session/refresh.h"

namespace kv {

namespace {

void close_touch_gesture(ShellState& state, ShellHost& host) {
  apply_view_change(state, host, end_touch_gesture(state.pointer.touch));
}

}  // namespace

ViewTarget current_view(ShellState& state) {
  return {state.current(), state.current_undo(), state.layout.plot};
}

void apply_view_change(ShellState& state, ShellHost& host, const ViewChange& change) {
  if (change.equal_scales_changed) {
    host.set_toolbar_check(Command::EqualScales, state.current().option(kOptEqualScales) != 0);
  }
  if (change.refresh) refresh_view(state, host, change.refresh_flags);
}

void run_view_command(ShellState& state, ShellHost& host, Command id, const Rect& rect) {
  close_touch_gesture(state, host);
  const ViewTarget t = current_view(state);
  apply_view_change(state, host,
                    id == Command::ZoomRect ? zoom_to_rect(t, rect) : view_command(t, id));
}

bool run_gesture_result(ShellState& state, ShellHost& host, const GestureFinish& finish) {
  const GestureAction action = gesture_action(GestureWindow::Main, finish.result);
  switch (action) {
    case GestureAction::OpenDialog: open_formula_dialog(state, host, state.surface()); return true;
    case GestureAction::ZoomOut:
    case GestureAction::ZoomIn: {
      close_touch_gesture(state, host);
      const double f = action == GestureAction::ZoomOut ? kZoomOutFactor : kZoomInFactor;
      apply_view_change(state, host, zoom_view(current_view(state), f, f, finish.start));
      return true;
    }
    default: return false;
  }
}

void on_wheel(ShellState& state, ShellHost& host, Point cursor, int angle_delta, int64_t now_ms) {
  close_touch_gesture(state, host);
  apply_view_change(state, host,
                    wheel_zoom(current_view(state), state.pointer.wheel, state.layout.client,
                               cursor, angle_delta, now_ms));
}

void on_pinch(ShellState& state, ShellHost& host, Point centre, double scale, int64_t now_ms) {
  apply_view_change(state, host,
                    pinch_zoom(current_view(state), state.pointer.touch, centre, scale, now_ms));
}

void on_pixel_scroll(ShellState& state, ShellHost& host, int dx, int dy, int64_t now_ms) {
  apply_view_change(state, host,
                    pixel_scroll(current_view(state), state.pointer.touch, dx, dy, now_ms));
}

void on_touch_end(ShellState& state, ShellHost& host) { close_touch_gesture(state, host); }

}  // namespace kv
