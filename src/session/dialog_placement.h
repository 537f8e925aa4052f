// Where a dialog opens and what it remembers of its place.
//
// A panel keeps the placement of its dialog relative to the main window's
// top-left corner (PanelRecord::dialog_pos), so a dialog follows the main
// window between openings. left/top are the position of the dialog's frame,
// right/bottom add the size of its client area, as the window layer moves
// and sizes it.
//
// At opening: the dialog's natural size is its minimum. An empty remembered
// placement becomes the natural size at the default offset. The dialog goes
// to the owner's corner plus the remembered offset, with the remembered size
// (at least the minimum, at most the screen), moved so that it lies fully on
// the screen.
#pragma once

#include <optional>

#include "graph/device.h"
#include "model/panel_record.h"

namespace kv {

// Default offsets from the main window's corner, in pixels.
inline constexpr Point kFormulaDialogOffset{40, 40};
inline constexpr Point kValueDialogOffset{-80, 40};
inline constexpr Point kTableDialogOffset{-80, 0};

struct DialogSize {
  int width = 0, height = 0;
};

// The dialog's rectangle on the screen (frame position, client size).
// Fills an empty `remembered` with the default placement.
DialogRect place_dialog(DialogRect& remembered, DialogSize natural, Point owner,
                        Point default_offset, const Rect& screen);

// What a dialog at `window` remembers, relative to its owner's corner.
DialogRect relative_placement(const DialogRect& window, Point owner);

// The corner a dialog's placement is counted from. The two kinds of dialog
// differ only when there is no owner to count from.
enum class PlacementOrigin : int {
  // A formula dialog, a child of its owner: the owner window's frame corner;
  // without an owner the desktop's origin.
  OwnerFrame,
  // A calculator, a window of its own: the owner's position; without an
  // owner the top-left corner of the screen it opens on.
  OwnerPosition,
};

// owner: the corner the origin names, when the dialog has an owner.
Point placement_origin(PlacementOrigin origin, std::optional<Point> owner, const Rect& screen);

}  // namespace kv
