// The zoom box and the graph-area hit tests; see the header.
#include "session/zoom_box.h"

#include <algorithm>

#include "session/client_coordinate.h"

namespace kv {

namespace {

bool inside_pulled_in(const Rect& area, Point p, int pull_in) {
  return p.x >= area.left && p.x <= area.right - pull_in && p.y >= area.top &&
         p.y <= area.bottom - pull_in;
}

Point client_point(Point p) { return {to_client_coordinate(p.x), to_client_coordinate(p.y)}; }

}  // namespace

bool inside_graph_area(const Rect& area, Point p) { return inside_pulled_in(area, p, 2); }

bool zoom_box_may_start_at(const Rect& area, Point p) { return inside_pulled_in(area, p, 1); }

bool zoom_box_start(ZoomBox& box, MouseMode& mode, const Rect& area, Point p, bool right_held,
                    bool alt_held) {
  if (mode != MouseMode::Idle || right_held || alt_held || !zoom_box_may_start_at(area, p)) {
    return false;
  }
  box.anchor = box.corner = client_point(p);
  mode = MouseMode::ZoomBox;
  return true;
}

bool zoom_box_move(ZoomBox& box, Point p, bool left_held, bool has_capture) {
  box.corner = client_point(p);
  return left_held && has_capture;
}

Rect zoom_box_rect(const ZoomBox& box) {
  return {std::min(box.anchor.x, box.corner.x), std::min(box.anchor.y, box.corner.y),
          std::max(box.anchor.x, box.corner.x), std::max(box.anchor.y, box.corner.y)};
}

std::array<Rect, 4> zoom_box_edges(const ZoomBox& box) {
  const Rect r = zoom_box_rect(box);
  return {{
      {r.left, r.top, r.left + 1, r.bottom + 1},
      {r.left, r.top, r.right + 1, r.top + 1},
      {r.right, r.top, r.right + 1, r.bottom + 1},
      {r.left, r.bottom, r.right + 1, r.bottom + 1},
  }};
}

bool zoom_edge_pixel_black(int width, int height, int x, int y) {
  return width > height ? (x & 1) == 0 : (y & 1) == 1;
}

std::optional<Rect> zoom_box_end(ZoomBox& box, MouseMode& mode, bool with_zoom) {
  if (mode != MouseMode::ZoomBox) return std::nullopt;
  mode = MouseMode::Idle;
  if (!with_zoom) return std::nullopt;
  return Rect{box.anchor.x, box.anchor.y, box.corner.x, box.corner.y};
}

}  // namespace kv
