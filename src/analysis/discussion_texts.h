// The words of the curve discussion: the name of each kind of point and the
// status of a row, as the window, its copied table and the command line show
// them. UTF-8.
#pragma once

namespace kv::analysis {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "analysis/discussion_texts.def"
#undef KV_TEXT

}  // namespace kv::analysis
