// Applying a read document to the drawing panels.
//
// An open works in three steps, after parse_document or read_document_file
// has read and checked the whole file (a failed read changes nothing):
//
//   1. doc.panel_index (already clamped to 0..2) becomes the current drawing
//      panel, without a refresh.
//   2. document_option_changes lists the options of that panel that differ
//      from the document, each with the value it must get, in the order they
//      must change: Palette, LineWidth, BoxedStyle (first to 0, then to 1 if
//      the document wants the boxed style), YUnitsPi, XUnitsPi, the solver
//      switch, Border, FunctionExpressions, TickLabels, TickMarks, Axes,
//      SubGrid, Grid, EqualScales, MarkPoints, MarkDiscontinuities (a
//      document without them switches them off). The window turns each
//      change into the menu command that makes it and runs them with
//      redrawing suspended, so
//      toolbar buttons, layout and pens follow as for a user's choice. A
//      caller without a window (the command line) uses apply_option_changes,
//      which only sets the values. FillIntegralArea, the default ranges and
//      the dialog placement of a document are never applied.
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

struct OptionChange {
  OptionIndex option;
  int value;  // the option's value after the change
  bool operator==(const OptionChange&) const = default;
};

std::vector<OptionChange> document_option_changes(const DocumentData& doc,
                                                  const PanelRecord& panel);

// Sets each option to its value, in order.
void apply_option_changes(const std::vector<OptionChange>& changes, PanelRecord& panel);

void apply_document_values(const DocumentData& doc, PanelRecord& panel);

}  // namespace kv
