// What the mouse is doing over the main window. A gesture and the zoom box
// exclude each other: neither starts unless the mode is Idle.
#pragma once

namespace kv {

// 0 idle, 1 a mouse gesture runs, 2 the zoom rectangle runs.
enum class MouseMode : int { Idle = 0, Gesture = 1, ZoomBox = 2 };

}  // namespace kv
