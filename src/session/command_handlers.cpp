// The command dispatcher and the handlers of the options, bars and window
// commands; see command_handlers.h.
#include "session/command_handlers.h"

#include "session/commands.h"
#include "session/layout.h"
#include "session/pointer_handlers.h"
#include "session/refresh.h"
#include "session/session_texts.h"

namespace kv {

namespace {

int& option_of(ShellState& state, OptionIndex i) { return state.current().options[i]; }

// The toggles with a button on the right toolbar.
int right_toolbar_option(Command id) {
  switch (id) {
    case Command::Axes: return kOptAxes;
    case Command::Grid: return kOptGrid;
    case Command::SubGrid: return kOptSubGrid;
    case Command::TickLabels: return kOptTickLabels;
    case Command::TickMarks: return kOptTickMarks;
    case Command::Border: return kOptBorder;
    case Command::FunctionExpressions: return kOptFunctionExpressions;
    default: return -1;
  }
}

void flip_right_option(ShellState& state, ShellHost& host, Command id) {
  int& option = option_of(state, static_cast<OptionIndex>(right_toolbar_option(id)));
  option = !option;
  host.set_toolbar_check(id, option != 0);
}

void toggle_right_option(ShellState& state, ShellHost& host, Command id) {
  flip_right_option(state, host, id);
  refresh_view(state, host, kRefreshAfterOption);
}

// Ctrl+G: any grid on switches off what is on; none on switches both on.
// Both options change before the one repaint: a full-screen picture painted
// twice would double the time the key takes.
void toggle_grids(ShellState& state, ShellHost& host) {
  const bool grid = option_of(state, kOptGrid) != 0;
  const bool sub_grid = option_of(state, kOptSubGrid) != 0;
  if (grid || !sub_grid) flip_right_option(state, host, Command::Grid);
  if (sub_grid || !grid) flip_right_option(state, host, Command::SubGrid);
  refresh_view(state, host, kRefreshAfterOption);
}

void set_boxed_style(ShellState& state, ShellHost& host, bool boxed) {
  option_of(state, kOptBoxedStyle) = boxed;
  lay_out(state, host);
  refresh_view(state, host, kRefreshAfterLayout);
}

void choose_palette(ShellState& state, ShellHost& host, int k) {
  int& palette = option_of(state, kOptPalette);
  if (palette == k) return;
  palette = k;
  apply_palette(state, state.surface());
  refresh_view(state, host, kRefreshAfterOption);
}

void choose_line_width(ShellState& state, ShellHost& host, int n) {
  int& width = option_of(state, kOptLineWidth);
  if (width == n) return;
  width = n;
  refresh_view(state, host, kRefreshAfterOption);
}

void toggle_bar(ShellState& state, ShellHost& host, Command id) {
  if (id == Command::Statusbar) {
    state.prefs.statusbar = !state.prefs.statusbar;
    host.show_status_bar(state.prefs.statusbar);
  } else {
    state.prefs.toolbar = !state.prefs.toolbar;
    host.show_toolbars(state.prefs.toolbar);
  }
  lay_out(state, host);
  refresh_view(state, host, REFRESH_RECOMPUTE);
}

// 4020: only a file that could be read is written, so an unreadable file is
// never overwritten with a guess.
void toggle_one_instance(ShellState& state, ShellHost& host) {
  if (!host.load_one_instance(state.prefs)) return;
  state.prefs.one_instance = !state.prefs.one_instance;
  host.save_one_instance(state.prefs);
}

void reset_all_settings(ShellState& state, ShellHost& host) {
  if (host.message_box(kResetSettingsQuestion, kCaption, MessageButtons::OkCancel,
                       MessageIcon::Question, nullptr) != MessageResult::Ok)
    return;
  const int surface = state.surface();
  if (!host.reset_settings(state)) return;
  state.prefs.surface = surface;
  check_drawing_panels(state);  // also applies the palettes
  host.show_toolbars(state.prefs.toolbar);
  host.show_status_bar(state.prefs.statusbar);
  lay_out(state, host);
  set_toolbar_checks(state, host);
  refresh_view(state, host, kRefreshAfterLayout);
}

void toggle_full_screen(ShellState& state, ShellHost& host) {
  state.full_screen = !state.full_screen;
  const bool ready = state.ready;
  state.ready = false;  // the window changes several times; one refresh at the end
  if (state.full_screen) {
    state.saved_toolbar = state.prefs.toolbar;
    state.saved_statusbar = state.prefs.statusbar;
    state.saved_window = host.window_metrics().window;
    state.prefs.toolbar = false;
    state.prefs.statusbar = false;
    if (state.saved_toolbar) host.show_toolbars(false);
    if (state.saved_statusbar) host.show_status_bar(false);
    host.enter_full_screen();
  } else {
    state.prefs.toolbar = state.saved_toolbar;
    state.prefs.statusbar = state.saved_statusbar;
    if (state.saved_toolbar) host.show_toolbars(true);
    if (state.saved_statusbar) host.show_status_bar(true);
    host.leave_full_screen(state.saved_window);
  }
  relayout(state, host);
  state.ready = ready;
  refresh_view(state, host, REFRESH_RECOMPUTE);
}

// Commands whose work is done by the window (documents, pictures, printing,
// clipboard, calculators, help, about).
bool run_window_work(ShellState& state, ShellHost& host, Command id, const CommandParam& param) {
  const bool export_picture = id == Command::SavePicture || id == Command::CopyBitmap;
  // The picture is taken from the off-screen copy, so double buffering is on
  // while it is made.
  const bool force_buffering = export_picture && !state.double_buffering;
  if (force_buffering) run_command(state, host, Command::DoubleBuffering);
  const bool ok = host.run_window_command(id, param.path);
  if (force_buffering) run_command(state, host, Command::DoubleBuffering);
  if (ok && id == Command::Open) after_open_refresh(state, host);
  if (ok && (id == Command::Save || id == Command::SaveAs)) update_title(state, host);
  return true;
}

bool run_option_command(ShellState& state, ShellHost& host, Command id) {
  switch (id) {
    case Command::OneInstance: toggle_one_instance(state, host); return true;
    case Command::MouseGestures:
      state.prefs.mouse_gestures = !state.prefs.mouse_gestures;
      return true;
    case Command::DoubleBuffering:
      state.double_buffering = !state.double_buffering;
      refresh_view(state, host, REFRESH_REPAINT);
      return true;
    case Command::ResetSettings: reset_all_settings(state, host); return true;
    case Command::LengthLimit: state.length_limit = !state.length_limit; return true;
    case Command::SolverSwitch: {
      int& solver = option_of(state, kOptSolverSwitch);
      solver = !solver;
      if (state.surface() == kPanelDiffEqu) refresh_view(state, host, kRefreshAfterLayout);
      return true;
    }
    case Command::Statusbar:
    case Command::Toolbar: toggle_bar(state, host, id); return true;
    case Command::Tooltips: state.prefs.tooltips = !state.prefs.tooltips; return true;
    case Command::GridBoth: toggle_grids(state, host); return true;
    case Command::CrossedStyle: set_boxed_style(state, host, false); return true;
    case Command::BoxedStyle: set_boxed_style(state, host, true); return true;
    case Command::EqualScales: {
      int& equal = option_of(state, kOptEqualScales);
      equal = !equal;
      host.set_toolbar_check(Command::EqualScales, equal != 0);
      refresh_view(state, host, kRefreshAfterLayout);
      return true;
    }
    case Command::MouseCoordinates:
      state.prefs.mouse_coordinates = !state.prefs.mouse_coordinates;
      return true;
    case Command::MarkPoints: {
      // The points are found when the curves are computed.
      if (state.surface() != kPanelFunction) return true;
      int& marks = option_of(state, kOptMarkPoints);
      marks = !marks;
      refresh_view(state, host, kRefreshAfterLayout);
      return true;
    }
    case Command::MarkDiscontinuities: {
      // The classification runs when the curves are computed.
      int& honest = option_of(state, kOptMarkDiscontinuities);
      honest = !honest;
      refresh_view(state, host, kRefreshAfterLayout);
      return true;
    }
    case Command::XUnitsPi:
    case Command::YUnitsPi: {
      int& pi = option_of(state, id == Command::XUnitsPi ? kOptXUnitsPi : kOptYUnitsPi);
      pi = !pi;
      refresh_view(state, host, kRefreshAfterOption);
      return true;
    }
    default: break;
  }
  if (right_toolbar_option(id) >= 0) {
    toggle_right_option(state, host, id);
    return true;
  }
  return false;
}

}  // namespace

void open_formula_dialog(ShellState& state, ShellHost& host, int panel) {
  if (!is_drawing_panel(panel)) return;
  if (state.formula_dialog_open) {
    host.focus_formula_dialog();
    return;
  }
  host.hide_value_tooltip();
  state.formula_dialog_open = true;
  const bool confirmed = host.run_formula_dialog(panel);
  state.formula_dialog_open = false;
  if (confirmed) {
    switch_surface(state, host, panel, true);
    refresh_view(state, host, kRefreshAfterDialog);
  } else {
    refresh_view(state, host, REFRESH_REPAINT);
  }
  host.bring_to_foreground();
}

void before_menu_opens(ShellState& state, ShellHost& host) { host.load_one_instance(state.prefs); }

bool run_command(ShellState& state, ShellHost& host, Command id, const CommandParam& param) {
  if (const int palette = palette_of(id); palette >= 0) {
    choose_palette(state, host, palette);
    return true;
  }
  if (id == Command::ShowPendingError) {
    const PendingError& error = state.current().error;
    if (error.failed && !error.shown) open_formula_dialog(state, host, state.surface());
    return true;
  }
  const CommandInfo* info = command_info(id);
  if (info == nullptr) return false;

  if (const int width = line_width_of(id); width != 0) {
    choose_line_width(state, host, width);
    return true;
  }
  switch (id) {
    case Command::OpenCurrentDialog: open_formula_dialog(state, host, state.surface()); return true;
    case Command::FunctionDialog:
    case Command::IntegralDialog:
    case Command::DiffEquDialog:
      open_formula_dialog(state, host,
                          command_number(id) - command_number(Command::FunctionDialog));
      return true;
    case Command::Exit: host.close_window(); return true;
    case Command::FullScreen: toggle_full_screen(state, host); return true;
    case Command::SquareWindow: square_window(state, host); return true;
    default: break;
  }
  if (info->path == CommandPath::View) {
    run_view_command(state, host, id, param.rect);
    return true;
  }
  if (info->path == CommandPath::Window) return run_window_work(state, host, id, param);
  return run_option_command(state, host, id);
}

}  // namespace kv
