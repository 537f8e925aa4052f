// The texts of the main window's own parts: the file dialogs in German, the
// names of the toolbars and what it says when the settings cannot be
// written. UTF-8. The menus and toolbar tooltips are the command table's
// (session/command_table.cpp), the questions and messages the session's
// (session/session_texts.h).
#pragma once

namespace kv::window_text {

#define KV_TEXT(name, text) inline constexpr const char* name = text;
#include "shell/window_texts.def"
#undef KV_TEXT

// In the order of the picture formats offered.
inline constexpr const char* kPictureFilters[] = {
    "GIF - Graphics Interchange Format (*.gif)",
    "BMP - Windows Bitmap (*.bmp)",
    "PNG - Portable Network Graphics (*.png)",
    "SVG - Scalable Vector Graphics (*.svg)",
};

}  // namespace kv::window_text
