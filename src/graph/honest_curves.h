// "Unstetigkeiten zeigen" on the graph: the classification of every explicit
// Cartesian curve after its projection (analysis/curve_classification.h), and
// what the painter draws from it through the device, so that the window,
// every picture format, print and clipboard show the same marks.
//
// With the option on, a curve's segment is drawn only where it is proven;
// elsewhere each column gets its proven values filled (one line width wide)
// and the values that stay undecided shaded lightly in the curve's colour.
// Poles get a dashed vertical asymptote over the plot height (dashes of 4
// pixels, gaps of 3, one line width wide) instead of the sampler's vertical
// line; holes an open ring of radius 2 + line width (background inside);
// jumps a filled dot at the end that takes the value and a ring at the other
// (both rings, and a dot at the value, when neither end does). With the option
// off, or where every segment is proven, nothing changes.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

// Time one curve's classification may take before the rest is left
// undecided; the work is bounded by a count of evaluations well before, so
// the picture does not depend on the machine's load.
inline constexpr double kHonestBudgetMs = 250.0;

// Classifies every explicit Cartesian curve of the plot (own curves and
// derivative curves); clears the classifications with the option off.
void classify_curves(const PanelRecord& panel, PanelPlot& plot, int width, int height);

// The pixel flags the painter uses for a classified curve: segments that are
// not proven are cut, the sampler's vertical pole lines and points left alone
// by the cuts are dropped.
std::vector<uint8_t> honest_pixel_flags(const CurveSamples& c,
                                        const analysis::CurveClassification& k);

// The spans, asymptotes, rings and dots of one classified curve, in plot-local
// coordinates (the painter has moved the origin). Undecided shading goes
// under the curve (under = true), the rest over it.
void paint_honest_marks(Device& d, const analysis::CurveClassification& k, const ViewMap& map,
                        Colour colour, Colour background, int line_width, bool under);

// The light shade of undecided places in a curve's colour.
Colour tint(Colour c, Colour background);

// Dashes of 4 pixels with gaps of 3, counted along the longer axis, from
// (x1, y1) towards (x2, y2), whose pixel is not set; one line width wide:
// the asymptotes of poles.
void paint_dashes(Device& d, double x1, double y1, double x2, double y2, int lw, Colour colour);

// A ring of radius 2 + lw at (x, y), background inside, or a dot (filled).
void paint_ring(Device& d, int x, int y, int lw, Colour colour, Colour background, bool filled);

// Whether the column of plot-local pixel column `col` is shaded as undecided
// for some curve of the plot (the coordinate tooltip says "unsicher").
bool column_undecided(const PanelRecord& panel, const PanelPlot& plot, int col);

}  // namespace kv
