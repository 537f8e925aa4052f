// The texts of the main window's own parts: the file dialogs in German, the
// names of the toolbars and what it says when the settings cannot be
// written. UTF-8. The menus and toolbar tooltips are the command table's
// (session/command_table.cpp), the questions and messages the session's
// (session/session_texts.h).
#pragma once

namespace kv::window_text {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#define KV_TEXTS(name, ...) inline constexpr const char* name[] = {__VA_ARGS__};
#include "shell/window_texts.def"
#undef KV_TEXTS
#undef KV_TEXT

}  // namespace kv::window_text
