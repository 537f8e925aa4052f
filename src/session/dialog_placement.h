// Where a formula dialog opens and what it remembers when it closes.
//
// A panel keeps the rectangle of its dialog (DialogPos) relative to the
// owner window's top-left corner; an empty rectangle means the dialog was
// never placed. The rectangle comes from the settings file too, so any four
// ints must give a rectangle on the screen.
#pragma once

#include "graph/device.h"
#include "model/panel_record.h"

namespace kv {

// The offset of a dialog that was never placed, from the owner's corner.
inline constexpr Point kDialogDefaultOffset{40, 40};

// The dialog's rectangle in screen coordinates: the owner's corner plus the
// remembered position, the remembered size but at least min_width x
// min_height (the size the dialog opens with) and at most the screen, moved
// fully onto the screen. An empty remembered rectangle is first set to the
// minimum size at the default offset.
DialogRect place_dialog(DialogRect& remembered, Point owner, int min_width, int min_height,
                        Point default_offset, const Rect& screen);

// The rectangle to remember for a dialog at `dialog` (screen coordinates).
DialogRect relative_placement(const DialogRect& dialog, Point owner);

}  // namespace kv
