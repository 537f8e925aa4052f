// The texts the drawing writes into the picture. UTF-8; the painter hands
// them to the device in Windows-1252.
#pragma once

namespace kv {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "graph/graph_texts.def"
#undef KV_TEXT

}  // namespace kv
