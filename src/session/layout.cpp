// Plot layout and window placement; see layout.h.
#include "session/layout.h"

#include <algorithm>

#include "session/refresh.h"

namespace kv {

PlotPlacement layout_for(const ShellState& state, const WindowMetrics& metrics) {
  ClientLayout in;
  in.client = metrics.client;
  in.toolbars = state.prefs.toolbar;
  in.status_bar = state.prefs.statusbar;
  in.status_bar_height = metrics.status_bar_height;
  in.boxed_style = state.current().option(kOptBoxedStyle) != 0;
  return plot_rect_for_client(in);
}

void lay_out(ShellState& state, ShellHost& host) {
  state.layout = layout_for(state, host.window_metrics());
}

bool relayout(ShellState& state, ShellHost& host) {
  lay_out(state, host);
  const PlotRect& plot = state.layout.plot;
  if (plot.width == state.plot_width && plot.height == state.plot_height) return false;
  state.plot_width = plot.width;
  state.plot_height = plot.height;
  refresh_view(state, host, REFRESH_RECOMPUTE);
  return true;
}

WindowSize default_window_size(const ShellState& state, const WindowMetrics& metrics,
                               int plot_width, int plot_height) {
  const PlotMargins m = plot_margins(state.current().option(kOptBoxedStyle) != 0);
  WindowSize size;
  // The toolbars take 26 + 25 pixels; the extra pixel and the -1 cancel out
  // with them, and without them the plot width comes out one less, which the
  // layout rounds up to the even size again.
  size.width = m.left + m.right + plot_width + (state.prefs.toolbar ? 52 : 0) +
               metrics.frame_width - 1;
  size.height = m.top + m.bottom + plot_height +
                (state.prefs.statusbar ? metrics.status_bar_height : 0) + metrics.frame_height;
  return size;
}

DialogRect clip_to_screen(const DialogRect& window, const Rect& screen) {
  if (screen.width() <= 0 || screen.height() <= 0) return window;  // no screen known
  const int width = std::clamp(window.right - window.left, 0, screen.width());
  const int height = std::clamp(window.bottom - window.top, 0, screen.height());
  // A window saved on a screen that is gone comes back onto this one.
  const int left = std::clamp(window.left, screen.left, screen.right - width);
  const int top = std::clamp(window.top, screen.top, screen.bottom - height);
  return {left, top, left + width, top + height};
}

DialogRect centre_on_screen(const DialogRect& window, const Rect& screen) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int left = screen.left + (screen.width() - width) / 2;
  const int top = screen.top + (screen.height() - height) / 2;
  return {left, top, left + width, top + height};
}

DialogRect start_placement(ShellState& state, const WindowMetrics& metrics, bool registered) {
  state.layout.plot.width = kFirstPlotWidth;
  state.layout.plot.height = kFirstPlotHeight;
  if (!registered && !state.prefs.pos.empty()) return clip_to_screen(state.prefs.pos, metrics.screen);
  const WindowSize size = default_window_size(state, metrics, kFirstPlotWidth, kFirstPlotHeight);
  const DialogRect window{metrics.window.left, metrics.window.top, metrics.window.left + size.width,
                          metrics.window.top + size.height};
  return centre_on_screen(clip_to_screen(window, metrics.screen), metrics.screen);
}

void square_window(ShellState& state, ShellHost& host) {
  if (host.window_metrics().maximised) {
    const bool ready = state.ready;
    state.ready = false;  // no refresh while the window changes twice
    host.restore_from_maximised();
    relayout(state, host);
    state.ready = ready;
  }
  const WindowMetrics metrics = host.window_metrics();
  PlotRect& plot = state.layout.plot;
  plot.width = plot.height = std::min(plot.width, plot.height);
  const WindowSize size = default_window_size(state, metrics, plot.width, plot.height);
  const DialogRect window{metrics.window.left, metrics.window.top, metrics.window.left + size.width,
                          metrics.window.top + size.height};
  host.set_window_rect(clip_to_screen(window, metrics.screen));
}

}  // namespace kv
