#include "session/layout.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "session/command_handlers.h"
#include "session/zoom_box.h"

namespace kv {
namespace {

struct LayoutTest : ::testing::Test {
  ShellState state;
  FakeHost host{state};
  void SetUp() override {
    start_ready(state, host);
    state.current().options[kOptBoxedStyle] = 0;  // crossed axes: left margin 23
  }
  PlotRect plot_for_client(int width, int height) {
    host.metrics.client = {0, 0, width, height};
    relayout(state, host);
    return state.layout.plot;
  }
};

TEST_F(LayoutTest, PlotIsAtLeast50AndEven) {
  // Toolbars 26 + 25, margins 23 + 22: a client of 146 leaves exactly 50.
  EXPECT_EQ(plot_for_client(146, 300).width, 50);
  EXPECT_EQ(plot_for_client(147, 300).width, 52);  // 51 is rounded up
  EXPECT_EQ(plot_for_client(10, 10).width, 50);
  // Top 21, bottom 23, status bar 20: 114 leaves 50.
  EXPECT_EQ(plot_for_client(400, 114).height, 50);
  EXPECT_EQ(plot_for_client(400, 115).height, 52);
}

TEST_F(LayoutTest, BarsAndStyleTakeTheirRoom) {
  const PlotRect with_bars = plot_for_client(800, 600);
  EXPECT_EQ(with_bars.left, 26 + 23);
  run_command(state, host, Command::Toolbar);  // toolbars off
  run_command(state, host, Command::Statusbar);  // status bar off
  EXPECT_FALSE(host.toolbars_shown);
  EXPECT_EQ(state.layout.plot.left, 23);
  EXPECT_EQ(state.layout.plot.width, with_bars.width + 52);  // 51 more, made even
  EXPECT_EQ(state.layout.plot.height, with_bars.height + 20);
  run_command(state, host, Command::BoxedStyle);  // boxed style: left margin 69
  EXPECT_EQ(state.layout.plot.left, 69);
}

TEST_F(LayoutTest, ResizeKeepingThePlotSizeDoesNotRecompute) {
  plot_for_client(800, 600);
  const int repaints = host.repaints;
  host.metrics.client = {0, 0, 799, 600};  // plot 703, made even: 704 as from 800
  EXPECT_FALSE(relayout(state, host));
  EXPECT_EQ(host.repaints, repaints);
  host.metrics.client = {0, 0, 798, 600};
  EXPECT_TRUE(relayout(state, host));
  EXPECT_EQ(host.repaints, repaints + 1);
}

TEST_F(LayoutTest, DefaultWindowSizeGivesThePlotBack) {
  for (bool bars : {true, false}) {
    state.prefs.toolbar = state.prefs.statusbar = bars;
    const WindowSize size = default_window_size(state, host.metrics, 624, 520);
    host.metrics.client = {0, 0, size.width - host.metrics.frame_width,
                           size.height - host.metrics.frame_height};
    EXPECT_EQ(layout_for(state, host.metrics).plot.width, 624);
    EXPECT_EQ(layout_for(state, host.metrics).plot.height, 520);
  }
}

TEST_F(LayoutTest, StartPlacementCentresTheDefaultOrClipsTheSavedRectangle) {
  const WindowSize size = default_window_size(state, host.metrics, 624, 520);
  DialogRect r = start_placement(state, host.metrics, false);
  EXPECT_EQ(r.right - r.left, size.width);
  EXPECT_EQ(r.left, (1920 - size.width) / 2);
  EXPECT_EQ(r.top, (1080 - size.height) / 2);

  state.prefs.pos = {10, 20, 0, 0};  // only two numbers in the file: empty
  EXPECT_EQ(start_placement(state, host.metrics, false).left, (1920 - size.width) / 2);
  state.prefs.pos = {-50, 100, 2950, 700};
  r = start_placement(state, host.metrics, false);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 1920);
  EXPECT_EQ(r.top, 100);
  // A registration that ran ignores the saved rectangle.
  r = start_placement(state, host.metrics, true);
  EXPECT_EQ(r.right - r.left, size.width);
}

TEST_F(LayoutTest, SquareWindowUsesTheSmallerSide) {
  plot_for_client(800, 600);
  const int side = std::min(state.layout.plot.width, state.layout.plot.height);
  run_command(state, host, Command::SquareWindow);
  host.metrics.client = {0, 0, host.metrics.window.right - host.metrics.window.left - 16,
                         host.metrics.window.bottom - host.metrics.window.top - 60};
  relayout(state, host);
  EXPECT_EQ(state.layout.plot.width, side);
  EXPECT_EQ(state.layout.plot.height, side);
}

TEST_F(LayoutTest, MouseTestsPullTheEdgesIn) {
  const PlotPlacement p = layout_for(state, host.metrics);
  const Rect& a = p.client;
  EXPECT_TRUE(inside_graph_area(a, {a.right - 2, a.bottom - 2}));
  EXPECT_FALSE(inside_graph_area(a, {a.right - 1, a.top}));
  EXPECT_TRUE(zoom_box_may_start_at(a, {a.right - 1, a.bottom - 1}));
  EXPECT_FALSE(zoom_box_may_start_at(a, {a.right, a.top}));
  EXPECT_FALSE(inside_graph_area(a, {a.left - 1, a.top}));
}

}  // namespace
}  // namespace kv
