// Recomputation of the curves of a drawing panel: the one entry the paint
// path calls when the shell asks for new curves.
//
// Order: prepare the x range; sample every formula in list order (explicit
// Cartesian and polar functions, differential equations through the solver,
// derivative curves in the panel "DiffEqu"); the integral curve in the panel
// "Integral"; settle the y range; project every curve to pixels; classify
// the pixels of equations and inequalities; with "Markante Punkte" on the
// function panel, find the notable points over the x range
// (graph/point_marks.h); with "Unstetigkeiten zeigen", classify the
// explicit Cartesian curves (graph/honest_curves.h) and the curves in the
// plane (graph/honest_plane.h).
//
// Returns false and records the first error in panel.error (an unusable
// formula, more than one formula in the panel "Integral", memory) when the
// curves cannot be drawn; plot.valid is then false.
#pragma once

#include <chrono>

#include "graph/samples.h"
#include "model/panel_record.h"

namespace kv {

// Wall time the pixels of all equations and inequalities of one
// recomputation may take together; what is left then stays undecided.
inline constexpr std::chrono::milliseconds kImplicitBudget{900};
// The window never waits for them: its recomputation classifies for one
// short piece and leaves the rest to advance_implicit, called from the event
// loop, which may go on for the longer window budget in all.
inline constexpr std::chrono::milliseconds kImplicitFirstPiece{15};
inline constexpr std::chrono::milliseconds kImplicitWindowBudget{4000};

struct ImplicitOptions {
  bool progressive = false;  // classify for kImplicitFirstPiece only
  int pixel_scale = 1;       // device pixels per unit (1 to 4)
};

bool recompute_panel(PanelRecord& panel, PanelPlot& plot, int width, int height,
                     const ImplicitOptions& implicit = {});

// A progressive recomputation of a plot that is still current left pixels
// to refine.
bool implicit_pending(const PanelRecord& panel, const PanelPlot& plot);
// Refines them for about piece (at least a little); true when the pixels
// changed and the picture should be painted again. Nothing for a plot that
// is no longer current: its work was cancelled by the change.
bool advance_implicit(const PanelRecord& panel, PanelPlot& plot, std::chrono::milliseconds piece);
// Before a picture, print or the clipboard draws the plot: refines to the
// end within kImplicitBudget, classifying again at pixel_scale when the
// plot was made at another.
void finish_implicit(const PanelRecord& panel, PanelPlot& plot, int pixel_scale = 1);
// The plot as a picture, print or the clipboard draws it: plot itself when
// its pixels are final at one pixel per unit, else a finished copy of it in
// scratch (the window keeps its own work going).
const PanelPlot& finished_for_picture(const PanelRecord& panel, const PanelPlot& plot,
                                      PanelPlot& scratch);

// The arrays were made for the panel's current formulas and plot size.
bool plot_is_current(const PanelRecord& panel, const PanelPlot& plot, int width, int height);

// Curve slots of a formula that are projected and drawn.
bool has_integral_curve(const PanelRecord& panel, const CompiledFormula& f);
bool has_derivative_curve(const PanelRecord& panel, const CompiledFormula& f);

}  // namespace kv
