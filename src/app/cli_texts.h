// The texts of the command line: its help, its usage errors and the head
// of the discussion's table. UTF-8. The formula messages are
// expr/messages.h, the document messages the window's own
// (session/session_texts.h), the discussion's words its own
// (analysis/discussion_texts.h).
#pragma once

namespace kv {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "app/cli_texts.def"
#undef KV_TEXT

}  // namespace kv
