// The pictures of the toolbar buttons (bitmap ids 700..722) and the program
// icon, drawn with QPainter at the resolution they are shown at, so that they
// stay crisp at any device pixel ratio.
//
// Toolbar pictures are laid out on a grid of 18 x 18 logical pixels; one
// logical pixel becomes dpr device pixels, so lines sit on whole pixels at
// the ratios 1 and 2.
#pragma once

#include <QIcon>
#include <vector>

class QPainter;

namespace kv {

inline constexpr int kFirstToolbarBitmap = 700;
inline constexpr int kLastToolbarBitmap = 722;
inline constexpr int kToolbarIconSize = 18;

// The pictures of 700..722 in id order, painted ahead at the device pixel
// ratio dpr (painted_icons_ahead): the window asks for them all at once.
std::vector<QIcon> toolbar_icons(double dpr);

// Paints the picture of bitmap_id into the square 0..18 of the painter's
// current coordinates; nothing for an unknown id.
void paint_toolbar_picture(QPainter& painter, int bitmap_id);

// The window icon: a curve over axes on a rounded tile, drawn at any size.
QIcon program_icon();

}  // namespace kv
