// The texts of the dialog windows: the formula dialogs, the axis titles, the
// calculators, the curve discussion, the print question, the about box and
// the help window. Titles, labels, button texts with their mnemonics,
// tooltips and the gesture legends. UTF-8. A text that reads the same in two
// windows and means the same is written once.
#pragma once

namespace kv::dialog_text {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "dialogs/dialog_texts.def"
#undef KV_TEXT

// The range fields, in the order of the panel's ranges.
inline constexpr const char* kRangeLabels[] = {kXMinLabel, kXMaxLabel, "y min",
                                              "y max",     "t min",    "t max"};

// The columns of the curve discussion's table.
inline constexpr const char* kDiscussionColumns[4] = {"Art", "x", "y", "Status"};

// The lines of the question before printing the background.
inline constexpr const char* kPrintBackgroundLines[] = {
    "WARNUNG:",
    "Sie sind dabei, die Hintergrundfarbe mitzudrucken.",
    "Das wird möglicherweise langsam und teuer sein.",
    "Fortsetzen?",
};

}  // namespace kv::dialog_text
