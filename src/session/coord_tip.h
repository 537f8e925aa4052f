// The coordinate tooltip that follows the mouse over the graph: two lines
// "x = ..." and "y = ..." with the values under the cursor, each as precise
// as one pixel of its axis, an axis in pi units written as on the axes (the
// number followed by the pi glyph).
//
// Text, size, picture and placement are computed here; the widget only shows
// a frameless window of the given size at the given place and copies the
// picture drawn through a Device into it.
#pragma once

#include <string>

#include "graph/colours.h"
#include "graph/device.h"
#include "graph/labels.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/panel_record.h"

namespace kv {

struct CoordTip {
  std::string x_line;  // Windows-1252, "x = 1.25"
  std::string y_line;
  bool x_pi = false;   // the pi glyph follows the number
  bool y_pi = false;
};

// Shown only with MouseCoordinates on and while the panel has no pending error.
bool coord_tip_wanted(bool mouse_coordinates, const PanelRecord& panel);

// The values under a client point, with the panel's scales from the last
// recomputation. With the curves given and "Unstetigkeiten zeigen" on, a
// column shaded as undecided adds " unsicher" to the y line.
CoordTip coord_tip_text(const PanelRecord& panel, const PlotRect& plot, Point cursor,
                        const PanelPlot* curves = nullptr);

// The fonts of the tick labels, which the tooltip's lines use too.
LabelFonts coord_tip_fonts(const PanelRecord& panel);

// The wider line plus 2 by twice the line height plus 1.
TextExtent coord_tip_size(Device& d, const CoordTip& tip, const LabelFonts& fonts);

// The tooltip's picture at (0, 0): background in colour entry 0, the lines in
// entry 1, x in the upper and y in the lower half.
void draw_coord_tip(Device& d, const CoordTip& tip, const LabelFonts& fonts,
                    const ColourTable& colours);

// Top-left corner: 10 pixels right of and 2 below the cursor, moved left or
// up to stay on the screen (half-open screen coordinates).
Point place_coord_tip(Point cursor, TextExtent size, const Rect& screen);

}  // namespace kv
