// The texts the session shows or hands to the user: message box captions,
// questions and errors, status bar texts, undo descriptions, the coordinate
// tip and the notes of the curve discussion. UTF-8. The menu and toolbar
// texts are the command table's (command_table.cpp); the formula messages
// are expr/messages.h.
#pragma once

namespace kv {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "session/session_texts.def"
#undef KV_TEXT

}  // namespace kv
