// The view operations of the current drawing panel: zoom (both axes, one
// axis, around a point), scrolling by a tenth, centring, the standard view,
// zoom to a rectangle, undo, and the mapping of a client point to values.
//
// Each operation works on the panel's four bounds XMin, XMax, YMin, YMax with
// the plot placement and the scales of the last recomputation, saves the old
// bounds into the current undo node first (the refresh records the step only
// when a bound really moved), and returns what the caller must do next: the
// refresh flags, and whether the EqualScales button must be updated because
// the operation switched EqualScales off. No operation fails; the range
// rules of the recomputation (clamping to +-1e13, minimal width) keep
// whatever zooming produces usable.
#pragma once

#include <optional>

#include "graph/device.h"
#include "graph/view.h"
#include "model/panel_record.h"
#include "session/view_undo.h"

namespace kv {

// Refresh requests, in the refresh bits: recompute 0x02, modified 0x08,
// check ranges 0x10 (marks moved texts stale and records an undo step),
// undo step 0x20 (records a step without touching texts).
inline constexpr unsigned kRefreshAfterZoom = 0x1a;          // 26
inline constexpr unsigned kRefreshAfterStandardView = 0x2a;  // 42
inline constexpr unsigned kRefreshAfterUndo = 0x0a;          // 10

inline constexpr double kZoomInFactor = 0.8;
inline constexpr double kZoomOutFactor = 1.25;

struct ViewChange {
  bool refresh = false;  // run the refresh with refresh_flags
  unsigned refresh_flags = 0;
  bool equal_scales_changed = false;  // set the EqualScales button from the panel
};

// What a view operation works on: the current drawing panel, its undo ring
// and its plot (client coordinates). The scales are the panel's own.
struct ViewTarget {
  PanelRecord& panel;
  ViewUndoRing& undo;
  const PlotRect& plot;
};

// A width rounded to an integer between 2 and 20 times a power of ten, halves
// up, the sign kept; with pi the width is taken in multiples of pi. Zero and
// values that are not finite come back unchanged.
double RoundRangeWidth(double w, bool pi);

// For each axis whose centre lies strictly within 8 pixels of 0: the range
// becomes symmetric around 0 with the rounded width.
void snap_to_centre(PanelRecord& panel);

// Scales the x range by fx and the y range by fy. Around a point (client
// coordinates), the values under that point stay; without one, the centre
// snap follows. Described as "Zoomen".
ViewChange zoom_view(ViewTarget t, double fx, double fy, std::optional<Point> point);

// The arithmetic of zoom_view alone: no undo node is saved and no centre
// snap follows. For zooms that continue over many events (pinch), whose undo
// node was saved at their start.
void zoom_bounds(PanelRecord& panel, const PlotRect& plot, double fx, double fy,
                 std::optional<Point> point);

// Moves the range by whole pixels, the content following the fingers: dx > 0
// shows more of the left, dy > 0 more of the top. No undo node, no snap.
void shift_bounds_by_pixels(PanelRecord& panel, int dx, int dy);

// Zoom of one axis, after switching EqualScales off.
ViewChange zoom_axis(ViewTarget t, bool x_axis, double factor);

enum class ScrollDirection : int { Left, Up, Right, Down };

// Moves the range by a tenth of its width or height.
ViewChange scroll_view(ViewTarget t, ScrollDirection direction);

// The origin into the middle, widths kept.
ViewChange centre_view(ViewTarget t);

// Value, text and text-stale flag of the default bounds; a y bound is fixed
// unless its default is automatic.
ViewChange standard_view(ViewTarget t);

// Zooms to the rectangle with these corners (client coordinates, in any
// order). Smaller than 10 by 10 pixels changes nothing. Switches EqualScales
// off, since the rectangle chooses both ranges.
ViewChange zoom_to_rect(ViewTarget t, Rect corners);

// Takes back the last recorded view change.
ViewChange undo_view(ViewTarget t);

// One of the commands above by its number: 4010 undo, 4060/4061 zoom in and
// out, 4062/4063 x only, 4064/4065 y only, 4067 scroll left, 4068 up, 4069
// right, 4070 down, 4071 centre, 4072 standard view. Any other number
// changes nothing (4066 needs its rectangle: zoom_to_rect).
ViewChange view_command(ViewTarget t, int command);

// The values under a client point, in axis units (divided by pi when the axis
// is in pi units).
struct PlaneValue {
  double x = 0, y = 0;
};
PlaneValue value_at_point(const PanelRecord& panel, const PlotRect& plot, Point p);

}  // namespace kv
