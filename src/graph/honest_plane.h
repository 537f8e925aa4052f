// "Unstetigkeiten zeigen" for polar curves and parametric pairs of the
// function panel: their classification (analysis/plane_classification.h)
// after the projection, and what the painter draws from it.
//
// Segments that are not proven are cut from the sampler's polyline (the
// projection runs again with the cuts); the proven pieces of split segments
// are drawn as lines, holes as open rings, jumps as a dot at the end that
// takes the value and a ring at the other (a dot too where the curve takes
// that end elsewhere: a ring never covers a jump's dot), undecided places as
// a light shade of the curve's colour over their box. A pole gets no line
// across, and where its asymptote is shown, that line dashed over the plot
// as a Cartesian pole's. With the option off, or where every segment is
// proven, nothing changes.
#pragma once

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

// Classifies every polar curve and parametric pair of the plot; clears the
// classifications with the option off.
void classify_plane_curves(const PanelRecord& panel, PanelPlot& plot, int width, int height);

// The shade (under = true) or the lines and marks of one classified curve,
// in plot-local coordinates.
void paint_plane_marks(Device& d, const analysis::PlaneClassification& k, const ViewMap& map,
                       Colour colour, Colour background, int line_width, bool under);

// Whether plot-local column col crosses an undecided box of a curve in the
// plane.
bool plane_column_undecided(const PanelPlot& plot, const ViewMap& map, int col);

}  // namespace kv
