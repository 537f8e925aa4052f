// The structure of one formula at bracket depth 0, as the compiler needs it
// to tell equations, inequalities and parametric pairs from the other forms:
// found in one pass over the normalised text (blanks removed, brackets
// folded to round ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "expr/compiled_formula.h"

namespace kv {

struct TopLevel {
  int relations = 0;
  size_t relation = std::string::npos;  // the first relation sign
  size_t relation_length = 0;           // 1, or 2 for "<=" and ">="
  uint8_t relation_kind = kRelNone;
  bool balanced = true;    // no ')' without its '('
  bool bracketed = false;  // a '(' at the start closes at the end
  int inner_commas = 0;    // commas inside that outer bracket, at its depth
  size_t comma = std::string::npos;
};

// The structure of text[pos, end).
TopLevel scan_top_level(const std::string& text, size_t pos, size_t end);

}  // namespace kv
