// The one dispatcher of the main window's commands.
//
// run_command carries out a command id: the colour-scheme ids 5000..5002 are
// tried first, then every other id, along the path its row of the command
// table names. Unknown ids return false, so the caller may hand them to its
// default handling.
#pragma once

#include <string>

#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

struct CommandParam {
  std::string path;  // 4000: the document to open without a file dialog
  Rect rect;         // 4066: the zoom rectangle in client coordinates
};

// Returns whether the id was handled.
bool run_command(ShellState& state, ShellHost& host, Command id, const CommandParam& param = {});

// Opens the formula dialog of a drawing panel (commands 1, 3000..3002, the
// gestures): focuses the one already open; else runs it modally and, when
// confirmed, switches to that panel and refreshes with 15, otherwise only
// repaints.
void open_formula_dialog(ShellState& state, ShellHost& host, int panel);

// The menu state reads OneInstance again from the settings file when a menu
// opens, so that a change by another instance shows; call this first.
void before_menu_opens(ShellState& state, ShellHost& host);

}  // namespace kv
