// The pictures of the toolbar buttons (bitmap ids 700..722) and the program
// icon, drawn with QPainter at the resolution they are shown at, so that they
// stay crisp at any device pixel ratio.
//
// Toolbar pictures are laid out on a grid of 18 x 18 logical pixels; one
// logical pixel becomes dpr device pixels, so lines sit on whole pixels at
// the ratios 1 and 2.
#pragma once

#include <QIcon>

class QPainter;

namespace kv {

inline constexpr int kFirstToolbarBitmap = 700;
inline constexpr int kLastToolbarBitmap = 722;
inline constexpr int kToolbarIconSize = 18;

// The button picture of a bitmap id; a null icon for an id outside 700..722.
QIcon toolbar_icon(int bitmap_id);

// Paints the picture of bitmap_id into the square 0..18 of the painter's
// current coordinates; nothing for an unknown id.
void paint_toolbar_picture(QPainter& painter, int bitmap_id);

// The window icon: a curve over axes on a rounded tile, drawn at any size.
QIcon program_icon();

}  // namespace kv
