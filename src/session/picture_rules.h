// How large a picture of the graph may be, and where the plot sits in a
// picture of a given plot size: the rules the window's pictures, the
// clipboard and the command line's export share.
#pragma once

#include <cstdint>

#include "graph/view.h"

namespace kv {

// The largest picture of the graph area that is made: sides up to 32767
// pixels and 2^28 pixels (1 GiB) in all. Larger pictures count as failed to
// allocate, rather than leaving the failure to the memory manager.
inline constexpr int64_t kMaxPictureSide = 32767;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 28;
bool picture_size_possible(int64_t width, int64_t height);

// The placement of a plot of width x height pixels with the margins of the
// layout rule, in a graph area whose corner is (0, 0). Odd or too small
// sizes become even and at least 50, as in the window.
PlotPlacement placement_for_plot_size(int width, int height, bool boxed_style);

}  // namespace kv
