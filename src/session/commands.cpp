// Enabled, checked and text state of the commands; see commands.h.
#include "session/commands.h"

#include <cstdio>

namespace kv {

namespace {

bool has_formulas(const PanelRecord& p) { return p.count() > 0; }

// Something to draw: a formula, or any part of the coordinate system.
bool has_picture(const PanelRecord& p) {
  return has_formulas(p) || p.option(kOptAxes) || p.option(kOptGrid) || p.option(kOptSubGrid) ||
         p.option(kOptTickMarks) || p.option(kOptBorder) || p.option(kOptTickLabels);
}

// The panel option a command checks, or -1.
int checked_option(int id) {
  switch (id) {
    case kCmdXUnitsPi: return kOptXUnitsPi;
    case kCmdYUnitsPi: return kOptYUnitsPi;
    case kCmdEqualScales: return kOptEqualScales;
    case kCmdGrid: return kOptGrid;
    case kCmdSubGrid: return kOptSubGrid;
    case kCmdAxes: return kOptAxes;
    case kCmdTickMarks: return kOptTickMarks;
    case kCmdBorder: return kOptBorder;
    case kCmdTickLabels: return kOptTickLabels;
    case kCmdFunctionExpressions: return kOptFunctionExpressions;
    case kCmdBoxedStyle: return kOptBoxedStyle;
    case kCmdMarkPoints: return kOptMarkPoints;
    case kCmdMarkDiscontinuities: return kOptMarkDiscontinuities;
    default: return -1;
  }
}

// The global flag a command checks, or nullptr.
const bool* checked_flag(const ShellState& s, int id) {
  switch (id) {
    case kCmdOneInstance: return &s.prefs.one_instance;
    case kCmdMouseGestures: return &s.prefs.mouse_gestures;
    case kCmdDoubleBuffering: return &s.double_buffering;
    case kCmdFullScreen: return &s.full_screen;
    case kCmdStatusbar: return &s.prefs.statusbar;
    case kCmdToolbar: return &s.prefs.toolbar;
    case kCmdTooltips: return &s.prefs.tooltips;
    case kCmdMouseCoordinates: return &s.prefs.mouse_coordinates;
    default: return nullptr;
  }
}

}  // namespace

bool command_available(const ShellState& state, int id) {
  const CommandInfo* info = command_info(id);
  return info != nullptr && state.has(info->feature);
}

std::string undo_item_text(const ShellState& state) {
  char text[128];
  std::snprintf(text, sizeof text, "%s: %s%s", "&Rückgängig", undo_description(state.current_undo()),
                "\tStrg+Z");
  return text;
}

const char* toolbar_tooltip(const ShellState& state, int id) {
  if (!state.prefs.tooltips) return nullptr;
  const CommandInfo* info = command_info(id);
  return info != nullptr ? info->tooltip : nullptr;
}

CommandState command_state(const ShellState& state, int id) {
  CommandState out;
  const CommandInfo* info = command_info(id);
  if (info == nullptr) return out;
  if (info->menu_text != nullptr) out.text = info->menu_text;
  out.enabled = state.has(info->feature);

  const PanelRecord& panel = state.current();
  const bool clean = !panel.error.failed;
  switch (id) {
    case kCmdSave: out.enabled = out.enabled && panel.document.modified; break;
    case kCmdSaveAs: out.enabled = out.enabled && clean && has_formulas(panel); break;
    case kCmdSavePicture:
    case kCmdPrint: out.enabled = out.enabled && clean && has_picture(panel); break;
    // The points come from the Cartesian curves of the function panel.
    case kCmdMarkPoints: out.enabled = out.enabled && state.surface() == kPanelFunction; break;
    case kCmdUndo:
      out.text = undo_item_text(state);
      out.enabled = out.enabled && state.current_undo().count > 0;
      break;
    default: break;
  }

  if (const bool* flag = checked_flag(state, id)) {
    out.checkable = true;
    out.checked = *flag;
  } else if (const int option = checked_option(id); option >= 0) {
    out.checkable = true;
    out.checked = panel.options[static_cast<size_t>(option)] != 0;
  } else if (id == kCmdCrossedStyle) {
    out.checkable = true;
    out.checked = panel.option(kOptBoxedStyle) == 0;
  } else if (id >= kCmdLineWidthFirst && id <= kCmdLineWidthLast) {
    out.checkable = true;
    out.checked = panel.option(kOptLineWidth) == id - kCmdLineWidthBase;
  } else if (id >= kCmdPaletteFirst && id <= kCmdPaletteLast) {
    out.checkable = true;
    out.checked = panel.option(kOptPalette) == id - kCmdPaletteFirst;
  }
  return out;
}

}  // namespace kv
