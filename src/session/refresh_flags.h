// The flag bits of the central refresh (refresh_view, refresh.h) and the
// combinations the commands pass. Written by name at every call.
#pragma once

namespace kv {

// No bit: repaint only.
inline constexpr unsigned REFRESH_REPAINT = 0;
inline constexpr unsigned REFRESH_COMPILE = 1;
inline constexpr unsigned REFRESH_RECOMPUTE = 2;
// Given with formulas that arrived from outside the window (an opened
// document, a confirmed formula dialog). The refresh does the same with or
// without it; it keeps those two calls recognisable as one kind.
inline constexpr unsigned REFRESH_NEW_FORMULAS = 4;
inline constexpr unsigned REFRESH_MODIFIED = 8;
inline constexpr unsigned REFRESH_CHECK_RANGES = 0x10;
inline constexpr unsigned REFRESH_UNDO_STEP = 0x20;

// After an opened document: compiled and recomputed; the open itself has
// cleared the modified mark.
inline constexpr unsigned kRefreshAfterOpen =
    REFRESH_COMPILE | REFRESH_RECOMPUTE | REFRESH_NEW_FORMULAS;
// After a confirmed formula dialog: as an open, and the document is modified.
inline constexpr unsigned kRefreshAfterDialog = kRefreshAfterOpen | REFRESH_MODIFIED;
// An option that changes only how the picture is painted.
inline constexpr unsigned kRefreshAfterOption = REFRESH_MODIFIED;
// An option that moves the plot or changes the curves.
inline constexpr unsigned kRefreshAfterLayout = REFRESH_MODIFIED | REFRESH_RECOMPUTE;

// The view operations: zoom, scroll and centre mark moved texts stale and
// record an undo step; the standard view brings its own texts and records a
// step without touching them; undo records none.
inline constexpr unsigned kRefreshAfterZoom =
    REFRESH_RECOMPUTE | REFRESH_MODIFIED | REFRESH_CHECK_RANGES;
inline constexpr unsigned kRefreshAfterStandardView =
    REFRESH_RECOMPUTE | REFRESH_MODIFIED | REFRESH_UNDO_STEP;
inline constexpr unsigned kRefreshAfterUndo = REFRESH_RECOMPUTE | REFRESH_MODIFIED;
// The events of a touchpad gesture (wheel_input.h) record no undo step: its
// end records the one for the whole gesture.
inline constexpr unsigned kRefreshDuringGesture = REFRESH_RECOMPUTE | REFRESH_MODIFIED;

}  // namespace kv
