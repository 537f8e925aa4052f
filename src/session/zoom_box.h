// The zoom box: a rectangle dragged with the left button over the graph,
// drawn as four dotted edges one pixel thick, that becomes the new view
// (command 4066) when the button is released. Also the hit tests of the
// graph area that the box, the wheel and the hover state use.
//
// The widget owns the capture, the cursor and the four edge windows; this
// component owns the rules: where the box may start, which corner moves,
// where the edges go and how they are dotted.
#pragma once

#include <array>
#include <optional>

#include "graph/device.h"
#include "session/mouse_mode.h"
#include "session/session_texts.h"

namespace kv {


// The zoom cursor is 32 by 32 pixels with its hot spot here.
inline constexpr Point kZoomCursorHotSpot{5, 5};

// The graph area (as laid out with the plot) less its last two columns and
// rows: hover, tooltip and wheel.
bool inside_graph_area(const Rect& area, Point p);
// The same less only the last column and row: where a zoom box may start.
bool zoom_box_may_start_at(const Rect& area, Point p);

struct ZoomBox {
  Point anchor;  // the button-down point
  Point corner;  // follows the mouse
};

// Left button down: starts the box when the mouse is idle, the point lies in
// the graph area, and neither the right button nor Alt is held (Alt drags the
// window). True: the caller shows the zoom cursor, creates the edges,
// captures the mouse and shows kZoomBoxStatusText.
bool zoom_box_start(ZoomBox& box, MouseMode& mode, const Rect& area, Point p, bool right_held,
                    bool alt_held);

// Mouse move while the box runs. With the left button held and the capture
// still ours the corner follows and the edges are placed again; otherwise
// the box must end without zoom (false).
bool zoom_box_move(ZoomBox& box, Point p, bool left_held, bool has_capture);

// The box with left <= right and top <= bottom, both edges inclusive.
Rect zoom_box_rect(const ZoomBox& box);

// The four edges as half-open rectangles in the box's coordinates: left, top,
// right, bottom, each one pixel thick, spanning the box inclusively.
std::array<Rect, 4> zoom_box_edges(const ZoomBox& box);

// The dotted pattern of an edge window of this size at its own client pixel:
// a window wider than high alternates black and white along x starting with
// black, any other along y starting with white.
bool zoom_edge_pixel_black(int width, int height, int x, int y);

// Ends the box (left button up with zoom; Esc, right button or a lost
// capture without). With zoom, the corners for command 4066.
std::optional<Rect> zoom_box_end(ZoomBox& box, MouseMode& mode, bool with_zoom);

}  // namespace kv
