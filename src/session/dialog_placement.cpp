// Placement of the formula dialogs; see the header.
#include "session/dialog_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>


namespace kv {

namespace {

// Settings files may hold any ints; sums and differences are taken in 64 bits
// and brought back into int range before the screen clamps them.
int to_int(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

}  // namespace

DialogRect place_dialog(DialogRect& remembered, Point owner, int min_width, int min_height,
                        Point default_offset, const Rect& screen) {
  if (remembered.empty()) {
    remembered = {default_offset.x, default_offset.y, default_offset.x + min_width,
                  default_offset.y + min_height};
  }
  int64_t width =
      std::max<int64_t>(min_width, int64_t{remembered.right} - remembered.left);
  int64_t height =
      std::max<int64_t>(min_height, int64_t{remembered.bottom} - remembered.top);
  int64_t left = int64_t{owner.x} + remembered.left;
  int64_t top = int64_t{owner.y} + remembered.top;
  if (screen.width() > 0 && screen.height() > 0) {
    width = std::min<int64_t>(width, screen.width());
    height = std::min<int64_t>(height, screen.height());
    left = std::clamp<int64_t>(left, screen.left, screen.right - width);
    top = std::clamp<int64_t>(top, screen.top, screen.bottom - height);
  }
  return {to_int(left), to_int(top), to_int(left + width), to_int(top + height)};
}

DialogRect relative_placement(const DialogRect& dialog, Point owner) {
  return {to_int(int64_t{dialog.left} - owner.x), to_int(int64_t{dialog.top} - owner.y),
          to_int(int64_t{dialog.right} - owner.x), to_int(int64_t{dialog.bottom} - owner.y)};
}

}  // namespace kv
