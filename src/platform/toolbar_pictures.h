// The pictures of the toolbar buttons (bitmap ids 700..722) and of the
// program icon, drawn with QPainter in logical units; toolbar_icons.h makes
// icons of them.
//
// Toolbar pictures are laid out on a grid of 18 x 18 logical pixels; one
// logical pixel becomes dpr device pixels, so lines sit on whole pixels at
// the ratios 1 and 2. They need no application object, so the build can
// paint them too.
#pragma once

class QPainter;

namespace kv {

inline constexpr int kFirstToolbarBitmap = 700;
inline constexpr int kLastToolbarBitmap = 722;
inline constexpr int kToolbarIconSize = 18;

// Paints the picture of bitmap_id into the square 0..18 of the painter's
// current coordinates; nothing for an unknown id.
void paint_toolbar_picture(QPainter& painter, int bitmap_id);

// The program icon's picture on a grid of 64 x 64 units.
void paint_program_picture(QPainter& painter);

}  // namespace kv
