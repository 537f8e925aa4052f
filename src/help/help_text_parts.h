// The pieces the help texts are put together from (UTF-8 sources).
#pragma once

#include <string_view>

namespace kv {

std::string_view full_help_language_part();  // the formula language
std::string_view full_help_program_part();   // dialogs, commands, mouse and keys

}  // namespace kv
