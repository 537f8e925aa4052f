// Where a printed picture goes on the page: the margin rectangle of the
// printable area and the largest rectangle of the picture's aspect ratio that
// fits into it. Used by the printout of the graph and of the help texts.
#pragma once

#include "graph/device.h"

namespace kv {

// The printable area less a margin of 4 % of its shorter side on every side.
Rect print_margin_rect(int printable_width, int printable_height);

// The picture of the given width and height scaled to the full margin width,
// or, when it would then be taller than the margin rectangle, to the full
// margin height; placed at the margin rectangle's top-left corner. Integer
// arithmetic; an empty picture or margin rectangle gives an empty target.
Rect fit_to_page(const Rect& margin, int source_width, int source_height);

}  // namespace kv
