// Applying a read document to the drawing panels.
//
// An open works in three steps, after parse_document or read_document_file
// has read and checked the whole file (a failed read changes nothing):
//
//   1. doc.panel_index (already clamped to 0..2) becomes the current drawing
//      panel, without a refresh.
//   2. document_option_commands lists the options of that panel that differ
//      from the document, as the menu commands that switch them, in the order
//      they must run: Palette (5000 + palette), LineWidth (5100 + width),
//      BoxedStyle (4040 "Crossed Style", then 4041 "Boxed Style" if still
//      different), YUnitsPi 4046, XUnitsPi 4045, solver switch 4028, Border
//      4039, FunctionExpressions 4042, TickLabels 4037, TickMarks 4038, Axes
//      4033, SubGrid 4035, Grid 4034, EqualScales 4043, MarkPoints 6001,
//      MarkDiscontinuities 6002 (a document without them switches them off). The window dispatches
//      each command with redrawing suspended, so toolbar buttons, layout and
//      pens follow as for a user's choice. A caller without a window (the
//      command line) uses apply_option_commands, which only sets the values.
//      FillIntegralArea, the default ranges and the dialog placement of a
//      document are never applied.
//   3. apply_document_values copies the thirteen values with their texts and
//      text-stale flags, the option flag, angle factor and derivative flag,
//      the formula text and the axis titles the file has, and derives
//      y-min-fixed and y-max-fixed from whether y min and y max are automatic.
//      A legacy document keeps the panel's own t range. The panel's compiled
//      formulas are dropped (they point into the old formula text); the
//      caller then recompiles, recomputes and repaints, clears the modified
//      flag and remembers the path and file title in the panel.
#pragma once

#include <vector>

#include "formats/document.h"
#include "model/panel_record.h"

namespace kv {

struct OptionCommand {
  int command;        // menu command id
  OptionIndex option; // the option it switches
  int value;          // the option's value after the command
  bool operator==(const OptionCommand&) const = default;
};

std::vector<OptionCommand> document_option_commands(const DocumentData& doc,
                                                    const PanelRecord& panel);

// Sets each command's option value, in order.
void apply_option_commands(const std::vector<OptionCommand>& commands, PanelRecord& panel);

void apply_document_values(const DocumentData& doc, PanelRecord& panel);

}  // namespace kv
