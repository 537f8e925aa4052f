// The central refresh, the surface switch, title, status text and the paint
// rule; see refresh.h.
#include "session/refresh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "expr/compiler.h"
#include "session/commands.h"
#include "session/layout.h"

namespace kv {

namespace {

constexpr RangeIndex kBounds[4] = {kXMin, kXMax, kYMin, kYMax};

// A view operation that moved a bound by more than half a pixel has made its
// typed text wrong; the dialog regenerates it from the value.
void mark_moved_bounds_stale(ShellState& state) {
  const ViewUndoRing& ring = state.current_undo();
  if (!ring.available()) return;
  PanelRecord& panel = state.current();
  for (int i = 0; i < 4; ++i) {
    const double half_pixel = 0.5 * (i < 2 ? panel.x_scale : panel.y_scale);
    RangeValue& bound = panel.range[kBounds[i]];
    if (std::fabs(bound.value - ring.current().bounds[i].value) > half_pixel)
      bound.text_stale = true;
  }
}

}  // namespace

CompileEnv compile_env(ShellState& state) {
  CompileEnv env;
  env.surface = static_cast<PanelIndex>(state.surface());
  env.palette_size = kCurveColourCount;
  env.length_limit = state.length_limit;
  env.random = &state.random;
  return env;
}

bool refresh_view(ShellState& state, ShellHost& host, unsigned flags) {
  if (flags & REFRESH_CHECK_RANGES) mark_moved_bounds_stale(state);
  if (!state.ready) return true;

  PanelRecord& panel = state.current();
  bool ok = true;
  if (flags & REFRESH_COMPILE) {
    if (panel.error.failed) {
      ok = false;
    } else if (!compile_formulas(panel, compile_env(state))) {
      // The compiler has stored its own message; only flag and control are added.
      panel.error.report(kMsgNone, kExpressionControlId);
      ok = false;
    }
  }

  state.recompute_needed = true;
  if (ok && (flags & REFRESH_RECOMPUTE)) state.recompute_curves = true;
  host.repaint_now();

  ViewUndoRing& ring = state.current_undo();
  if (flags & (REFRESH_CHECK_RANGES | REFRESH_UNDO_STEP)) {
    record_step_if_moved(ring, panel);
  } else if (flags & REFRESH_COMPILE) {
    // New formulas: the old view steps no longer belong to them.
    ring.count = 0;
  }

  if (flags & REFRESH_MODIFIED) panel.document.modified = ok && !panel.error.failed && panel.count() > 0;
  if (ok) host.refresh_value_tooltip();
  return ok;
}

void set_toolbar_checks(const ShellState& state, ShellHost& host) {
  const PanelRecord& p = state.current();
  host.set_toolbar_check(Command::EqualScales, p.option(kOptEqualScales) != 0);
  host.set_toolbar_check(Command::Axes, p.option(kOptAxes) != 0);
  host.set_toolbar_check(Command::Grid, p.option(kOptGrid) != 0);
  host.set_toolbar_check(Command::SubGrid, p.option(kOptSubGrid) != 0);
  host.set_toolbar_check(Command::TickLabels, p.option(kOptTickLabels) != 0);
  host.set_toolbar_check(Command::TickMarks, p.option(kOptTickMarks) != 0);
  host.set_toolbar_check(Command::Border, p.option(kOptBorder) != 0);
  host.set_toolbar_check(Command::FunctionExpressions, p.option(kOptFunctionExpressions) != 0);
}

void switch_surface(ShellState& state, ShellHost& host, int index, bool apply) {
  state.prefs.surface = std::clamp(index, 0, kDrawingPanelCount - 1);
  if (!apply) return;
  apply_palette(state, state.surface());
  lay_out(state, host);
  set_toolbar_checks(state, host);
  // The document functions read the current panel's document part directly.
  update_title(state, host);
}

std::string window_title(const ShellState& state) {
  const std::string& title = state.current().document.title;
  if (title.empty()) return kCaption;
  return std::string(kCaption) + " - " + title;
}

void update_title(const ShellState& state, ShellHost& host) { host.set_title(window_title(state)); }

void set_status_text(ShellState& state, ShellHost& host, const std::string& text) {
  if (text == state.status_text) return;
  state.status_text = text;
  host.set_status_text(text);
}

ShellPaintFlags paint_flags(const ShellState& state) {
  ShellPaintFlags f;
  f.redraw = state.recompute_needed;
  f.recompute = state.recompute_curves;
  f.double_buffering = state.double_buffering;
  f.ready = state.ready;
  return f;
}

void after_paint(ShellState& state, ShellHost& host) {
  const PendingError& error = state.current().error;
  // Posted rather than run: a modal dialog must not open inside the paint.
  if (error.failed && !error.shown && !state.formula_dialog_open)
    host.post_command(Command::ShowPendingError);
  state.recompute_needed = false;
  state.recompute_curves = false;
}

bool after_open_refresh(ShellState& state, ShellHost& host) {
  switch_surface(state, host, state.surface(), true);
  state.current().error.clear();
  return refresh_view(state, host, kRefreshAfterOpen);
}

}  // namespace kv
