// Where the plot goes in the main window and how large the window is.
//
// The plot rectangle follows the rule of plot_rect_for_client (graph/view.h):
// margins left 23 (69 with BoxedStyle), top 21, right 22, bottom 23 around
// the plot; the toolbars take 26 pixels on the left and 25 on the right of
// the client area and the status bar its height at the bottom; plot width and
// height are at least 50 and even. The graph area runs from the area's corner
// to one pixel beyond the right and bottom margins.
//
// relayout is run after every size change, toolbar or status-bar toggle,
// surface switch and style change. Only a new plot size recomputes the
// curves; a resize that keeps it just lays out.
#pragma once

#include "graph/view.h"
#include "session/shell_host.h"
#include "session/shell_state.h"

namespace kv {

// The plot size of a first start.
inline constexpr int kFirstPlotWidth = 624;
inline constexpr int kFirstPlotHeight = 520;

// The layout for a client area with the current panel's style and the shown bars.
PlotPlacement layout_for(const ShellState& state, const WindowMetrics& metrics);

// Lays the window out again from its metrics, nothing more (after a toggle of
// the bars, a style change or a surface switch, which refresh themselves).
void lay_out(ShellState& state, ShellHost& host);

// The size handling: lays the window out again from its metrics. When the plot size differs from
// the remembered one, refreshes with REFRESH_RECOMPUTE; remembers the new
// size. Returns whether it refreshed.
bool relayout(ShellState& state, ShellHost& host);

struct WindowSize {
  int width = 0, height = 0;
};

// The window size that gives a plot of plot_width x plot_height with the
// current style and bars, for the frame sizes in metrics.
WindowSize default_window_size(const ShellState& state, const WindowMetrics& metrics,
                               int plot_width, int plot_height);

// Width and height cut to the screen's; the window moved back onto the
// screen where it sticks out.
DialogRect clip_to_screen(const DialogRect& window, const Rect& screen);
// The same size, centred on the screen.
DialogRect centre_on_screen(const DialogRect& window, const Rect& screen);

// The window rectangle of the first show: the saved rectangle (prefs.pos)
// unless it is empty or registered is true, else the default size for a
// 624 x 520 plot, centred. Sets the remembered plot size to 624 x 520.
DialogRect start_placement(ShellState& state, const WindowMetrics& metrics, bool registered);

// Command 4051: a maximised window is restored first; plot width and height
// become the smaller of the two, and the window gets the default size for
// that plot, its position unchanged, clipped to the screen.
void square_window(ShellState& state, ShellHost& host);

}  // namespace kv
