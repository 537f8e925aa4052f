// The names of the formula language: functions and constants with all their
// accepted spellings, as they read after normalisation (lower case).
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

struct Keyword {
  std::string_view spelling;
  uint8_t code;       // operation code, or constant / rand code
  bool function;      // a function name must be followed directly by "("
};

// The longest spelling that stands at text[pos] (a function only when "("
// follows it), or nullptr.
const Keyword* match_keyword(std::string_view text, size_t pos);

}  // namespace kv
