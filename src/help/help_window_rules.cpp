#include "help/help_window_rules.h"

#include <algorithm>
#include <cstdint>

namespace kv {

bool help_needs_layout(HelpLayoutSize last, int layout_width, int canvas_height, int width,
                       int height) {
  if (last.width < 0 || last.height < 0) return true;
  return (width > layout_width && width != last.width) ||
         (height > canvas_height && height != last.height);
}

int help_wheel_pixels(int delta, int wheel_lines, int& rest) {
  if (wheel_lines <= 0) {
    rest = 0;
    return 0;
  }
  // More lines per notch than units in a notch: every unit is a line.
  const int64_t units_per_line = std::max(1, 120 / wheel_lines);
  const int64_t total = int64_t{rest} + delta;
  const int64_t lines = total / units_per_line;
  rest = static_cast<int>(total % units_per_line);
  const int64_t pixels = -lines * kHelpLineStepY;
  return static_cast<int>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
}

Rect quick_reference_rect(const Rect& dialog, const Rect& anchor, const Rect& screen) {
  int top = anchor.bottom;
  if (int64_t{top} + kQuickReferenceHeight > screen.bottom) {
    top = anchor.top - kQuickReferenceHeight;
    if (top <= screen.top) top = screen.top;
  }
  return {dialog.left, top, dialog.right, top + kQuickReferenceHeight};
}

}  // namespace kv
