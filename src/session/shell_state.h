// The window-level state of the program as plain data: the six panels with
// the sample arrays, colour tables and view-undo rings of the three drawing
// panels, the user preferences, and the flags the main window keeps between
// messages. One ShellState lives for the whole run; the window layer owns it
// and passes it to the functions of this folder, which never reach for
// globals.
//
// Start-up order: make_start_state (zeroed panels, initial contents, limits,
// undo rings, colour tables), then loading the settings overwrites options,
// ranges and preferences, then check_drawing_panels repairs what a settings
// file may have spoilt (line width, palette).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "expr/mathfn.h"
#include "graph/colours.h"
#include "graph/point_marks.h"
#include "graph/samples.h"
#include "graph/view.h"
#include "model/initial_contents.h"
#include "session/mouse_mode.h"
#include "session/pointer_state.h"
#include "session/session_texts.h"
#include "session/user_prefs.h"
#include "session/view_undo.h"

namespace kv {

inline constexpr int kDrawingPanelCount = 3;

struct ShellState {
  PanelSet panels;
  std::array<PanelPlot, kDrawingPanelCount> plots;
  std::array<ViewUndoRing, kDrawingPanelCount> undo;
  // The applied colour scheme of each drawing panel (its Palette option).
  std::array<ColourTable, kDrawingPanelCount> colours;
  UserPrefs prefs;  // prefs.surface is the index of the current drawing panel

  bool full_screen = false;
  bool double_buffering = true;
  bool length_limit = true;  // the compiler rejects formulas of more than 512 operations
  MouseMode mouse_mode = MouseMode::Idle;
  PointerState pointer;
  bool hover = false;                // the mouse is known to be over the graph area
  bool formula_dialog_open = false;

  // What the next paint must do: paint the picture again, and recompute the
  // curves before that.
  bool recompute_needed = false;
  bool recompute_curves = false;
  // Off until the window is first shown; refresh_view does nothing meanwhile.
  bool ready = false;

  // The plot size of the last layout; a resize that keeps it does not recompute.
  int plot_width = 0;
  int plot_height = 0;
  // The current layout: graph area (placement.client) and plot rectangle, in
  // client coordinates of the window.
  PlotPlacement layout;

  std::string status_text = kDefaultStatusText;
  std::string document_path;  // the document last opened or saved
  std::string last_path;      // the folder of the last document ([File] Dir)

  // Remembered while the full-screen mode is on, restored when it ends.
  bool saved_toolbar = false;
  bool saved_statusbar = false;
  DialogRect saved_window;

  // The point the curve discussion window has selected, marked on the
  // function panel's graph in the window (not in pictures or printouts).
  std::optional<MarkedPoint> selected_point;

  // The one random sequence of the run behind the formula language's rand:
  // every compilation and numeric field of the window draws from it.
  RandState random;

  int surface() const { return prefs.surface; }
  PanelRecord& current() { return panels[static_cast<size_t>(prefs.surface)]; }
  const PanelRecord& current() const { return panels[static_cast<size_t>(prefs.surface)]; }
  PanelPlot& current_plot() { return plots[static_cast<size_t>(prefs.surface)]; }
  ViewUndoRing& current_undo() { return undo[static_cast<size_t>(prefs.surface)]; }
  const ViewUndoRing& current_undo() const { return undo[static_cast<size_t>(prefs.surface)]; }
  const ColourTable& current_colours() const { return colours[static_cast<size_t>(prefs.surface)]; }
};

// The state of a fresh start before the settings are read: panels with their
// initial contents and limits, undo rings allocated (a panel whose ring cannot
// be allocated works without undo), colour tables of the default palettes,
// full screen off, double buffering and length limit on, repaint and ready
// flags clear, no remembered plot size.
void make_start_state(ShellState& state);

// The checks of the drawing panels after the settings are loaded: LineWidth
// keeps its two low bits (0 becomes 1), Palette is clamped to 0..2, and the
// colour tables are built again. Also clamps the surface to 0..2.
void check_drawing_panels(ShellState& state);

// The preferences as the settings file should keep them: while the
// full-screen mode has hidden the bars and spread the window, the bars and
// the window rectangle from before it.
UserPrefs persistent_prefs(const ShellState& state);

// Builds the colour table of a drawing panel from its Palette option.
void apply_palette(ShellState& state, int panel);

}  // namespace kv
