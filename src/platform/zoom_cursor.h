// The cursor shown while a zoom rectangle is dragged: a small cross whose
// centre is the hot spot, with a magnifying glass below and to its right.
// 32 by 32 pixels, black outlined in white so it shows on any background.
#pragma once

#include <QCursor>
#include <QImage>

namespace kv {

inline constexpr int kZoomCursorSize = 32;

// The cursor's picture: black, white and transparent pixels.
QImage zoom_cursor_image();

// The cursor with its hot spot at (5, 5). Needs a QGuiApplication.
QCursor zoom_cursor();

}  // namespace kv
