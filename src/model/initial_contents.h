// What the six panels hold when the main window is created: roles, the
// limits of each panel, the formula texts, histories and start values a first
// start shows, and for the drawing panels the option and range defaults of
// the settings.
//
// fill_initial_contents sets up all six panels of a run in that order: the
// start-up state (scales 1.0, both y bounds fixed, the drawing limits), the
// settings defaults of the drawing panels with their current ranges, the
// limits of panels 2 to 5, and the initial texts; the value tables copy the
// fields and flags of the panel they belong to (copy_dialog_fields) and keep
// their own x step. Settings read from a file and
// opened documents overwrite these fields later.
#pragma once

#include <array>

#include "model/panel_record.h"

namespace kv {

using PanelSet = std::array<PanelRecord, kPanelCount>;

// The start-up state of one panel before any settings are applied.
void reset_panel(PanelRecord& panel, int panel_index);

// The initial formula text, history and start values of one panel.
void fill_panel_texts(PanelRecord& panel, int panel_index);

void fill_initial_contents(PanelSet& panels);

// What a value-table panel takes over from its drawing panel, and "&Graph
// zeichnen" from the equation table back to the drawing panel: the thirteen
// numeric fields (values, texts and flags), the option flag, the angle
// factor, the y-fixed flags and the derivative flag.
void copy_dialog_fields(const PanelRecord& from, PanelRecord& to);

// The formula text of the "Function" panel at a first start.
const char* initial_function_text();

}  // namespace kv
