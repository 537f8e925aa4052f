// Drawing of the classified pixels of equations and inequalities.
//
// paint_implicit_regions runs before the coordinate system, so that grid,
// axes and the other curves stay visible over what it paints: the proven
// region of an inequality in a tint of the curve colour, undecided pixels in
// a lighter one (the tints are the colour mixed with the background and with
// the tints of earlier inequalities, which is what translucent fills over
// the bare background give).
// paint_implicit_curves runs with the curves: every pixel proven to hold a
// point of the curve (or of an inequality's boundary) as a square of the
// line width in the curve colour; the boundary of "<" and ">" dashed.
#pragma once

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

// a mixed with b: share parts in 256 of a.
Colour mix_colour(Colour a, Colour b, int share);

void paint_implicit_regions(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                            const PlotRect& rect, const ColourTable& colours);
// In vector mode (one pixel per unit, line width 1) the pixels of a curve go out as
// few polygons, each the outline of a chain of touching runs, instead of
// rectangles.
void paint_implicit_curves(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                           const PlotRect& rect, const ColourTable& colours,
                           bool vector_mode = false);

}  // namespace kv
