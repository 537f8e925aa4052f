// What the calculator windows (value table, single value, curve discussion)
// share beside their pages: where a window stands relative to its owner, and
// the legend of the right-button gestures.
#pragma once

#include "session/dialog_placement.h"

class QFont;
class QGridLayout;
class QRect;
class QWidget;

namespace kv {

// The owner's top left corner, or the screen's without an owner: the point a
// calculator's placement is counted from.
Point owner_corner(const QWidget* owner, const QRect& screen);
// The window's rectangle relative to its owner's corner, as it is remembered.
DialogRect placement_relative_to_owner(const QWidget& window, const QWidget* owner);
// The three rows that say what the gestures do here, in a smaller font.
QGridLayout* gesture_legend(const QFont& base);

}  // namespace kv
