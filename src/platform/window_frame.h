// The frame a window manager will put around a top-level window, asked for
// before the window is shown, so that its first placement already takes the
// frame into account and the window never jumps once it is framed.
//
// Works on X11 with a window manager that answers _NET_REQUEST_FRAME_EXTENTS
// (openbox, xfwm, KWin, Mutter, ...). Without one, on another platform, or
// when no answer comes within a short wait, the result is empty and the
// caller places the window again once the frame has appeared.
#pragma once

#include <QMargins>
#include <optional>

class QWidget;

namespace kv {

// Creates the native window of `window` (still hidden) if need be and asks
// the window manager for its frame: left, top, right, bottom in pixels.
std::optional<QMargins> frame_before_show(QWidget& window);

}  // namespace kv
