// The mouse-gesture recogniser shared by the main window, the formula dialogs
// and the help window: a right-button drag in one of four directions.
//
// The widget owns the mouse capture and the time-out timer; this component
// owns the rules. gesture_start on right button down (without the left
// button), gesture_cancel on Esc, a left button down, the timer, or focus
// loss, gesture_finish on right button up. The time-out is also checked
// against the time stamps the caller passes, so a late timer cannot let an
// expired gesture through.
//
// A short movement (under 8 pixels) is no gesture: result 1 tells the caller
// to treat the release as an ordinary right click (the context menu).
#pragma once

#include <cstdint>

#include "graph/device.h"
#include "session/mouse_mode.h"
#include "session/session_texts.h"

namespace kv {

enum GestureResult : int {
  kGestureNone = 0,   // no gesture was running, it was cancelled or it timed out
  kGestureClick = 1,  // gestures are off or the movement was too short
  kGestureLeft = 2,
  kGestureUp = 3,
  kGestureRight = 4,
  kGestureDown = 5,
};

inline constexpr int64_t kGestureTimeoutMs = 1500;
// Squared length below which a movement is no gesture (8 pixels).
inline constexpr int64_t kGestureMinLengthSquared = 64;


struct GestureRecogniser {
  Point start;            // client coordinates of the button-down point
  int64_t started_ms = 0; // the caller's clock, milliseconds
};

// Cancels a running gesture, then starts one when gestures are on and the
// mouse is idle. True: the caller starts the time-out timer, captures the
// mouse and shows kGestureStatusText.
bool gesture_start(GestureRecogniser& g, MouseMode& mode, bool gestures_on, Point p,
                   int64_t now_ms);

// True when a gesture was running: the caller stops the timer, releases the
// capture and checks the hover state again.
bool gesture_cancel(GestureRecogniser& g, MouseMode& mode);

// True when a running gesture has outlived its time.
bool gesture_expired(const GestureRecogniser& g, int64_t now_ms);

struct GestureFinish {
  int result = kGestureNone;
  Point start;             // where the gesture began (the zoom point of up and down)
  bool was_running = false;  // the caller stops the timer and releases the capture
};

GestureFinish gesture_finish(GestureRecogniser& g, MouseMode& mode, bool gestures_on, Point end,
                             int64_t now_ms);

// The windows that take gestures, and what each gesture means in them: the
// one table of gesture meanings, so that the main window, the dialogs, the
// help window and the about box cannot drift apart.
enum class GestureWindow : int {
  Main,    // the graph: right and left open the current dialog, up zooms out, down in
  Dialog,  // formula dialogs and calculators: right confirms, left cancels, up or down helps
  Help,    // help and quick reference: right and left go to the owner, up or down close
  About,   // the about box: every direction closes it
};

enum class GestureAction : int {
  None,
  OpenDialog,  // the main window's current dialog
  ZoomIn,
  ZoomOut,
  Confirm,     // the dialog's "OK" (control 1); in a help window the owner's
  Cancel,      // the dialog's "Abbrechen" (control 2); in a help window the owner's
  Help,        // the dialog's quick reference (control 1011)
  Close,       // the window closes itself
};

// kGestureNone and kGestureClick mean no action anywhere.
GestureAction gesture_action(GestureWindow window, int result);

// The direction of a movement of at least 8 pixels. Exact diagonals go to
// up, then right, then down, in that order.
int classify_gesture(int dx, int dy);

}  // namespace kv
