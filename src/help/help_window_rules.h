// The arithmetic of the help windows: when the text is laid out again, how
// far the wheel scrolls, and where the quick reference of a dialog opens.
#pragma once

#include "graph/device.h"

namespace kv {

// Scroll steps in pixels.
inline constexpr int kHelpLineStepX = 10;
inline constexpr int kHelpLineStepY = 14;
inline constexpr int kQuickReferenceHeight = 280;

// The client size the text was last laid out for; negative before the first
// layout.
struct HelpLayoutSize {
  int width = -1;
  int height = -1;
};

// Whether a client area of width x height needs a new layout: before the
// first one; when it is wider than the layout width and its width changed
// (the text re-wraps to the window); or when it is taller than the canvas and
// its height changed (the canvas grows to the window). A window made
// narrower keeps its wrapping and scrolls sideways.
bool help_needs_layout(HelpLayoutSize last, int layout_width, int canvas_height, int width,
                       int height);

// Scrolling for a wheel movement of delta eighths of a degree (120 a notch,
// positive away from the user): one line step per 120 / wheel_lines units,
// upwards for positive deltas. Returns the change of the vertical scroll
// position in pixels; the part below one line step is kept in rest for the
// next movement. wheel_lines <= 0 scrolls nothing.
int help_wheel_pixels(int delta, int wheel_lines, int& rest);

// Where the quick reference of a dialog opens (screen coordinates): as wide
// as the dialog and kQuickReferenceHeight high, below the anchor (the dialog
// itself or one of its controls); above it when it would reach past the
// screen's bottom; at the screen's top when there is no room above either.
Rect quick_reference_rect(const Rect& dialog, const Rect& anchor, const Rect& screen);

}  // namespace kv
