// Dialog placement; see dialog_placement.h.
#include "session/dialog_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kv {

namespace {

// Sums and differences of coordinates are taken in 64 bits and brought back
// into int range, so a stray remembered offset cannot overflow.
int to_int(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min() / 2,
                                              std::numeric_limits<int>::max() / 2));
}

// Length between lo and hi (taken when lo exceeds hi).
int64_t bounded(int64_t length, int64_t lo, int64_t hi) {
  return std::max(lo, std::min(length, hi));
}

}  // namespace

DialogRect place_dialog(DialogRect& remembered, DialogSize natural, Point owner,
                        Point default_offset, const Rect& screen) {
  if (remembered.empty()) {
    remembered = {default_offset.x, default_offset.y, default_offset.x + natural.width,
                  default_offset.y + natural.height};
  }
  int64_t width = static_cast<int64_t>(remembered.right) - remembered.left;
  int64_t height = static_cast<int64_t>(remembered.bottom) - remembered.top;
  int64_t left = static_cast<int64_t>(owner.x) + remembered.left;
  int64_t top = static_cast<int64_t>(owner.y) + remembered.top;
  if (screen.width() > 0 && screen.height() > 0) {
    width = bounded(width, natural.width, screen.width());
    height = bounded(height, natural.height, screen.height());
    // The right and bottom edges first, so that a dialog larger than the
    // screen keeps its top-left corner visible.
    left = std::max<int64_t>(std::min<int64_t>(left, screen.right - width), screen.left);
    top = std::max<int64_t>(std::min<int64_t>(top, screen.bottom - height), screen.top);
  } else {
    width = std::max<int64_t>(width, natural.width);
    height = std::max<int64_t>(height, natural.height);
  }
  return {to_int(left), to_int(top), to_int(left + width), to_int(top + height)};
}

DialogRect relative_placement(const DialogRect& window, Point owner) {
  return {to_int(static_cast<int64_t>(window.left) - owner.x),
          to_int(static_cast<int64_t>(window.top) - owner.y),
          to_int(static_cast<int64_t>(window.right) - owner.x),
          to_int(static_cast<int64_t>(window.bottom) - owner.y)};
}

Point placement_origin(PlacementOrigin origin, std::optional<Point> owner, const Rect& screen) {
  if (owner) return *owner;
  if (origin == PlacementOrigin::OwnerPosition) return {screen.left, screen.top};
  return {};
}

}  // namespace kv
