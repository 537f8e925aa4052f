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

bool recompute_panel(PanelRecord& panel, PanelPlot& plot, int width, int height);

// The arrays were made for the panel's current formulas and plot size.
bool plot_is_current(const PanelRecord& panel, const PanelPlot& plot, int width, int height);

// Curve slots of a formula that are projected and drawn.
bool has_integral_curve(const PanelRecord& panel, const CompiledFormula& f);
bool has_derivative_curve(const PanelRecord& panel, const CompiledFormula& f);

}  // namespace kv
