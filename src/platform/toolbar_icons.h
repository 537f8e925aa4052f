// The icons of the toolbar buttons and of the program, painted at the
// resolution they are shown at, so that they stay crisp at any device pixel
// ratio (the pictures: toolbar_pictures.h).
//
// At one device pixel per logical pixel, the size the toolbars show, the
// toolbar pictures come ready from the build: painting the 23 of them was
// the largest part of the window's first paint after the graph. Every other
// size, and the program icon, is painted when first asked for.
#pragma once

#include <QIcon>

#include "platform/toolbar_pictures.h"

namespace kv {

// The button picture of a bitmap id; a null icon for an id outside 700..722.
QIcon toolbar_icon(int bitmap_id);

// The window icon: a curve over axes on a rounded tile, drawn at any size.
QIcon program_icon();

}  // namespace kv
