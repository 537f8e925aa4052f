// Drawing of the projected curves of a drawing panel onto a device.
//
// For one curve kind (own curves, integral curves, derivative curves) every
// formula's pixel points are drawn in list order: pieces as polylines of at
// most 1026 points that share their joining points, isolated points as small
// discs, pass-through points as vertical lines over the whole plot height.
// The device origin is moved to the plot's top-left corner and the drawing is
// clipped to the plot widened by the line width; both are reset afterwards.
#pragma once

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

enum class CurveKind { Own = 0, Integral = 1, Derivative = 2 };

// Longest polyline handed to the device at once.
inline constexpr int kMaxPolylinePoints = 1026;

void draw_curves(Device& device, const PanelRecord& panel, const PanelPlot& plot, CurveKind kind,
                 const PlotRect& rect, const ColourTable& colours);

// Colour table entry of a formula's curve of the given kind.
int curve_colour_entry(const PanelRecord& panel, const CompiledFormula& f, CurveKind kind);

}  // namespace kv
