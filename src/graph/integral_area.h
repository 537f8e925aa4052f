// The hatched area between the integrand and the x axis in the panel
// "Integral" (option FillIntegralArea), painted before the coordinate system.
#pragma once

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

// Draws one hatched polygon
// per run of columns where the integral is defined; restores pen and brush.
void paint_integral_area(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                         const PlotRect& rect, const ColourTable& colours);

}  // namespace kv
