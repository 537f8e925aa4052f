// The texts of the dialog windows: the formula dialogs, the axis titles, the
// calculators, the curve discussion, the print question, the about box and
// the help window. Titles, labels, button texts with their mnemonics,
// tooltips and the gesture legends. UTF-8. A text that reads the same in two
// windows and means the same is written once.
#pragma once

namespace kv::dialog_text {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#define KV_TEXTS(name, ...) inline constexpr const char* name[] = {__VA_ARGS__};
#include "dialogs/dialog_texts.def"
#undef KV_TEXTS
#undef KV_TEXT

}  // namespace kv::dialog_text
