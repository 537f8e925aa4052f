// What only the window can do, as seen from the rules of this folder: paint,
// show and hide its bars, report its geometry, ask the user, open dialogs,
// reach the settings file. The window layer implements ShellHost; the tests
// use a fake that records the calls.
//
// Calls come from inside run_command, refresh_view and friends, always on the
// user-interface thread. None of them may call back into run_command
// synchronously except where noted (repaint_now paints synchronously and its
// paint calls after_paint).
#pragma once

#include <string>

#include "graph/device.h"
#include "model/panel_record.h"
#include "session/command_ids.h"
#include "session/session_texts.h"
#include "session/user_prefs.h"

namespace kv {

struct ShellState;

// The window's geometry as the layout rules need it.
struct WindowMetrics {
  Rect client;                // the client area, client coordinates: (0, 0, width, height)
  int status_bar_height = 0;  // the status bar's height (counted only while it is shown)
  int frame_width = 0;        // window width minus client width
  int frame_height = 0;       // window height minus client height (caption, menu bar, borders)
  DialogRect window;          // the window rectangle, screen coordinates
  Rect screen;                // the screen the window is on, screen coordinates
  bool maximised = false;
  bool minimised = false;
};

enum class MessageButtons : int { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon : int { Information, Question, Warning };
enum class MessageResult : int { Ok, Cancel, Yes, No };


class ShellHost {
 public:
  virtual ~ShellHost() = default;

  // Paints the whole window now (synchronously). The paint reads
  // paint_flags(state) and ends with after_paint(state, host).
  virtual void repaint_now() = 0;

  virtual WindowMetrics window_metrics() = 0;
  virtual void show_toolbars(bool shown) = 0;
  virtual void show_status_bar(bool shown) = 0;
  virtual void set_toolbar_check(Command id, bool checked) = 0;
  virtual void set_title(const std::string& title) = 0;
  virtual void set_status_text(const std::string& text) = 0;

  // "Kurvaline" as caption, information icon, OK.
  virtual void error_box(const std::string& text) = 0;
  // A message box; with alert non-null it carries the check box "Nicht mehr
  // nachfragen", and *alert becomes 0 when it was ticked, 1 when not,
  // whatever the answer.
  virtual MessageResult message_box(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon, bool* alert) = 0;

  // Full screen: enter covers the whole screen without menu bar and frame;
  // leave restores menu bar and frame and moves the window to `window`.
  virtual void enter_full_screen() = 0;
  virtual void leave_full_screen(const DialogRect& window) = 0;
  // Restores a maximised window and spreads it over the whole screen.
  virtual void restore_from_maximised() = 0;
  // Moves and sizes the window (screen coordinates, frame included).
  virtual void set_window_rect(const DialogRect& window) = 0;
  // Posts a close request; the window asks its questions and may stay.
  virtual void close_window() = 0;
  virtual void bring_to_foreground() = 0;
  // Runs the command later, from the event loop (never inside the caller).
  virtual void post_command(Command id) = 0;

  // Formula dialogs: runs the dialog of a drawing panel modally and returns
  // whether it was confirmed; gives the focus to the one already open.
  virtual bool run_formula_dialog(int panel) = 0;
  virtual void focus_formula_dialog() = 0;

  // The coordinate tooltip: hide it, or redraw it if it is shown.
  virtual void hide_value_tooltip() = 0;
  virtual void refresh_value_tooltip() = 0;

  // Work of other layers the window provides (documents, pictures, printing,
  // clipboard, calculators, help, about): the commands whose row in the
  // command table names the window's path. Returns whether it ran.
  virtual bool run_window_command(Command id, const std::string& path) = 0;

  // The settings file. The reads return false when the file cannot be read;
  // nothing is changed then.
  virtual bool load_one_instance(UserPrefs& prefs) = 0;
  virtual bool save_one_instance(const UserPrefs& prefs) = 0;
  // Sets every setting of the panels and preferences to its default without
  // reading the file (the folder of the last document stays).
  virtual bool reset_settings(ShellState& state) = 0;
};

}  // namespace kv
