// The two built-in help texts, written in the help tag language, as
// Windows-1252 bytes ready for parse_help_text. The sources are UTF-8 and hold
// only characters that Windows-1252 has.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The full help (F1): the formula language, every dialog, menu command,
// shortcut and mouse action.
std::string full_help_text();

// The overview of operators, functions and constants that the formula
// dialogs show below themselves.
std::string quick_reference_text();

// The UTF-8 sources of the two texts, for checking them.
std::string_view full_help_source();
std::string_view quick_reference_source();

}  // namespace kv
