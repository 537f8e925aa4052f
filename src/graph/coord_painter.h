// One complete picture of a drawing panel: background, hatched integral area,
// coordinate system, curves, the notable points, formula or integral labels,
// the start-point marker of a differential equation, the point selected in
// the curve discussion window, or the input hint of an empty panel.
//
// paint_picture draws with the panel's options and the view and curves of the
// last recomputation (recompute_panel); it does not recompute. With a pending
// error in the panel, or before the shell is ready, only the background is
// drawn. vector_mode is for targets that cannot take bitmap copies (metafiles,
// SVG): dotted lines are then drawn dot by dot. The panel is not const only
// because an integral label stores the text of a lower bound that has none.
//
// The device's pen, brush, clip and origin are as they were afterwards; the
// text background is left opaque in the background colour.
#pragma once

#include <string>

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/point_marks.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

struct PictureFrame {
  Rect background;  // cleared in the background colour, device coordinates
  PlotRect plot;    // device coordinates
  bool vector_mode = false;
  bool ready = true;  // the shell's ready flag
  // The point selected in the curve discussion window (the window's own
  // picture only), or null.
  const MarkedPoint* selected = nullptr;
};

void paint_picture(Device& d, PanelRecord& panel, const PanelPlot& plot, const ColourTable& colours,
                   const PictureFrame& frame);

// The text of a formula label: the source as typed with "*" shown as the
// middle dot and "#" as "'" (Windows-1252).
std::string formula_label_text(const PanelRecord& panel, const CompiledFormula& f);

}  // namespace kv
