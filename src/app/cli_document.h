// Documents on the command line: a document named beside --export is loaded
// into its drawing panel as opening it in the window applies it, before the
// other options apply on top; an output ending in ".kvl" is written as the
// document of the resulting panel.
#pragma once

#include <string>

#include "formats/document.h"
#include "model/panel_record.h"

namespace kv {

// panel must be doc.panel_index in its first-start state. The options are set
// as their menu commands would set them, then the values and texts are
// applied, as opening the document in the window does. Without field options
// on the command line nothing is checked: the export draws what the window
// shows. With them (checked), the fields are checked as the formula dialog
// would check them, and a field whose text a view operation left behind
// (stale) keeps its value and loses the text, as a dialog replaces such a
// text before it checks the field; so the checks read the document's values.
void load_document_into_panel(const DocumentData& doc, PanelRecord& panel, bool checked);

// True when path ends in ".kvl" in any ASCII letter case.
bool is_document_path(const std::string& path);

}  // namespace kv
