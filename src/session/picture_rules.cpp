// The size rules of pictures; see the header.
#include "session/picture_rules.h"

namespace kv {

bool picture_size_possible(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

PlotPlacement placement_for_plot_size(int width, int height, bool boxed_style) {
  // A graph area exactly as large as plot and margins; the layout rule then
  // gives the plot back, made even and at least 50.
  const PlotMargins m = plot_margins(boxed_style);
  ClientLayout layout;
  layout.toolbars = false;
  layout.status_bar = false;
  layout.boxed_style = boxed_style;
  layout.client = {0, 0, m.left + width + m.right, m.top + height + m.bottom};
  return plot_rect_for_client(layout);
}

}  // namespace kv
