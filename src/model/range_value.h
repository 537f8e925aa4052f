// One numeric input field: its value, the expression text as typed, and
// whether that text still matches the value.
#pragma once

#include <string>

#include "expr/limits.h"

namespace kv {

struct RangeValue {
  double value = 0.0;
  std::string text;      // Windows-1252, as typed; empty when absent
  bool has_text = false; // absent text differs from an empty one
  // Set when a view operation moved the value away from its text, or when the
  // value was set without text: the text is regenerated before a dialog shows it.
  bool text_stale = false;

  // An empty optional field holds the largest double, meaning "automatic".
  bool is_automatic() const { return value == kUndefined; }
};

}  // namespace kv
