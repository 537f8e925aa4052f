// The central refresh that every command changing what is shown ends with,
// the switch between the three drawing panels, the window title, the status
// text and the rule the paint follows.
//
// refresh_view, in order: with REFRESH_CHECK_RANGES mark each bound of the
// current panel whose value moved more than half a pixel from the current
// undo node as text-stale; nothing more while the window is not ready; with
// REFRESH_COMPILE compile the current panel (a pending error, or a failed
// compile recorded with control id 510, makes the result false); set the
// repaint flags (curves only on success with REFRESH_RECOMPUTE); repaint at
// once; record an undo step when a bound moved (REFRESH_CHECK_RANGES or
// REFRESH_UNDO_STEP), else reset the undo count after a compile; with
// REFRESH_MODIFIED mark the document modified when the result is true and
// the panel has formulas and no pending error, else unmodified; on success
// refresh the coordinate tooltip.
#pragma once

#include <string>

#include "expr/expr_panel.h"
#include "session/refresh_flags.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

// The compiler's view of the shell: current surface, length-limit switch,
// number of curve colours.
CompileEnv compile_env(ShellState& state);

bool refresh_view(ShellState& state, ShellHost& host, unsigned flags);

// Clamps index to 0..2 and makes that drawing panel current. With apply:
// builds its colour table, lays the window out again, sets every toolbar
// check button from the panel's options and sets the title.
void switch_surface(ShellState& state, ShellHost& host, int index, bool apply);

// Sets the check state of the toolbar buttons 4033..4043 from the current panel.
void set_toolbar_checks(const ShellState& state, ShellHost& host);

// "Kurvaline", or "Kurvaline - <file title>" when the current panel's
// document has a title.
std::string window_title(const ShellState& state);
void update_title(const ShellState& state, ShellHost& host);

// Shows text in the status bar; the same text again does nothing.
void set_status_text(ShellState& state, ShellHost& host, const std::string& text);

// What the next paint of the main window must do.
struct ShellPaintFlags {
  bool redraw = false;     // paint the picture again
  bool recompute = false;  // recompute the curves first
  bool double_buffering = true;
  bool ready = false;
};
ShellPaintFlags paint_flags(const ShellState& state);

// Called by the paint after the graph is painted: a pending error of the
// current panel that its dialog has not shown yet brings that dialog up
// (posted as Command::ShowPendingError, so the paint itself finishes first); both repaint
// flags are cleared.
void after_paint(ShellState& state, ShellHost& host);

// After a document was opened: switch to the stored surface with apply,
// clear the current panel's pending error, refresh with kRefreshAfterOpen.
bool after_open_refresh(ShellState& state, ShellHost& host);

}  // namespace kv
