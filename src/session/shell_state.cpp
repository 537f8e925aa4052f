// Start state and panel checks of the shell; see the header.
#include "session/shell_state.h"

#include <algorithm>

namespace kv {

void apply_palette(ShellState& state, int panel) {
  if (!is_drawing_panel(panel)) return;
  const size_t i = static_cast<size_t>(panel);
  state.colours[i] = build_colour_table(state.panels[i].options[kOptPalette]);
}

void make_start_state(ShellState& state) {
  state = ShellState{};
  fill_initial_contents(state.panels);
  check_drawing_panels(state);
}

void check_drawing_panels(ShellState& state) {
  state.prefs.surface = std::clamp(state.prefs.surface, 0, kDrawingPanelCount - 1);
  for (int i = kDrawingPanelCount - 1; i >= 0; --i) {
    auto& options = state.panels[static_cast<size_t>(i)].options;
    // A settings file may hold any number here: only the two low bits count.
    options[kOptLineWidth] &= 3;
    if (options[kOptLineWidth] == 0) options[kOptLineWidth] = 1;
    options[kOptPalette] = std::clamp(options[kOptPalette], 0, kPaletteCount - 1);
    apply_palette(state, i);
  }
}

UserPrefs persistent_prefs(const ShellState& state) {
  UserPrefs prefs = state.prefs;
  if (state.full_screen) {
    prefs.toolbar = state.saved_toolbar;
    prefs.statusbar = state.saved_statusbar;
    prefs.pos = state.saved_window;
  }
  return prefs;
}

}  // namespace kv
