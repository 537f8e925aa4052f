// The names of the formula language: functions and constants with all their
// accepted spellings, as they read after normalisation (lower case).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kv {

struct Keyword {
  std::string_view spelling;
  uint8_t code;       // operation code, or constant / rand code
  bool function;      // a function name must be followed directly by "("
};

// Every name of the function and constant tables as listed (the alternative
// names such as "log10" and "random" included), without the spellings made
// from them by the prefix and "cosin", "cotan", "cosec" rules. The constant
// "e" is read by the compiler itself and is not among them. For the help
// texts, which must name every one of them.
struct KeywordName {
  std::string_view name;
  bool function;
};
std::vector<KeywordName> keyword_names();

// The longest spelling that stands at text[pos] (a function only when "("
// follows it), or nullptr.
const Keyword* match_keyword(std::string_view text, size_t pos);

}  // namespace kv
