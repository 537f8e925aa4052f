// What the main window remembers about the mouse and the touchpad between
// events: the running gesture, the zoom box corners, the unfinished part of a
// wheel notch and the open touchpad gesture. MouseMode says which of gesture
// and zoom box runs.
#pragma once

#include "session/gesture.h"
#include "session/wheel_input.h"
#include "session/zoom_box.h"

namespace kv {

struct PointerState {
  GestureRecogniser gesture;
  ZoomBox zoom_box;
  WheelAccumulator wheel;
  TouchGesture touch;
};

}  // namespace kv
