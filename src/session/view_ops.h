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
#include "session/command_ids.h"
#include "session/refresh_flags.h"
#include "session/view_undo.h"

namespace kv {

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

// One of the commands above: undo, zoom in and out (both axes, x only, y
// only), the four scrolls, centre, standard view. Any other command changes
// nothing (ZoomRect needs its rectangle: zoom_to_rect).
ViewChange view_command(ViewTarget t, Command command);

// The values under a client point, in axis units (divided by pi when the axis
// is in pi units).
struct PlaneValue {
  double x = 0, y = 0;
};
PlaneValue value_at_point(const PanelRecord& panel, const PlotRect& plot, Point p);

}  // namespace kv
