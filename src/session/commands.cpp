// Enabled, checked and text state of the commands; see commands.h.
#include "session/commands.h"

#include <cstdio>
#include <string>

namespace kv {

namespace {

bool has_formulas(const PanelRecord& p) { return p.count() > 0; }

// Something to draw: a formula, or any part of the coordinate system.
bool has_picture(const PanelRecord& p) {
  return has_formulas(p) || p.option(kOptAxes) || p.option(kOptGrid) || p.option(kOptSubGrid) ||
         p.option(kOptTickMarks) || p.option(kOptBorder) || p.option(kOptTickLabels);
}

// The panel option a command checks, or -1.
int checked_option(Command id) {
  switch (id) {
    case Command::XUnitsPi: return kOptXUnitsPi;
    case Command::YUnitsPi: return kOptYUnitsPi;
    case Command::EqualScales: return kOptEqualScales;
    case Command::Grid: return kOptGrid;
    case Command::SubGrid: return kOptSubGrid;
    case Command::Axes: return kOptAxes;
    case Command::TickMarks: return kOptTickMarks;
    case Command::Border: return kOptBorder;
    case Command::TickLabels: return kOptTickLabels;
    case Command::FunctionExpressions: return kOptFunctionExpressions;
    case Command::BoxedStyle: return kOptBoxedStyle;
    case Command::MarkPoints: return kOptMarkPoints;
    case Command::MarkDiscontinuities: return kOptMarkDiscontinuities;
    default: return -1;
  }
}

// The global flag a command checks, or nullptr.
const bool* checked_flag(const ShellState& s, Command id) {
  switch (id) {
    case Command::OneInstance: return &s.prefs.one_instance;
    case Command::MouseGestures: return &s.prefs.mouse_gestures;
    case Command::DoubleBuffering: return &s.double_buffering;
    case Command::FullScreen: return &s.full_screen;
    case Command::Statusbar: return &s.prefs.statusbar;
    case Command::Toolbar: return &s.prefs.toolbar;
    case Command::Tooltips: return &s.prefs.tooltips;
    case Command::MouseCoordinates: return &s.prefs.mouse_coordinates;
    default: return nullptr;
  }
}

}  // namespace

std::string undo_item_text(const ShellState& state) {
  // The table's text with the description before its key.
  std::string text = command_info(Command::Undo)->menu_text;
  const size_t key = text.find('\t');
  text.insert(key == std::string::npos ? text.size() : key, undo_description(state.current_undo()));
  return text;
}

const char* toolbar_tooltip(const ShellState& state, Command id) {
  if (!state.prefs.tooltips) return nullptr;
  const CommandInfo* info = command_info(id);
  return info != nullptr ? info->tooltip : nullptr;
}

CommandState command_state(const ShellState& state, Command id) {
  CommandState out;
  const CommandInfo* info = command_info(id);
  if (info == nullptr) return out;
  if (info->menu_text != nullptr) out.text = info->menu_text;
  out.enabled = true;

  const PanelRecord& panel = state.current();
  const bool clean = !panel.error.failed;
  switch (id) {
    case Command::Save: out.enabled = panel.document.modified; break;
    case Command::SaveAs: out.enabled = clean && has_formulas(panel); break;
    case Command::SavePicture:
    case Command::Print: out.enabled = clean && has_picture(panel); break;
    // The points come from the Cartesian curves of the function panel.
    case Command::MarkPoints: out.enabled = state.surface() == kPanelFunction; break;
    case Command::Undo:
      out.text = undo_item_text(state);
      out.enabled = state.current_undo().count > 0;
      break;
    default: break;
  }

  if (const bool* flag = checked_flag(state, id)) {
    out.checkable = true;
    out.checked = *flag;
  } else if (const int option = checked_option(id); option >= 0) {
    out.checkable = true;
    out.checked = panel.options[static_cast<size_t>(option)] != 0;
  } else if (id == Command::CrossedStyle) {
    out.checkable = true;
    out.checked = panel.option(kOptBoxedStyle) == 0;
  } else if (const int width = line_width_of(id); width != 0) {
    out.checkable = true;
    out.checked = panel.option(kOptLineWidth) == width;
  } else if (const int palette = palette_of(id); palette >= 0) {
    out.checkable = true;
    out.checked = panel.option(kOptPalette) == palette;
  }
  return out;
}

}  // namespace kv
