#include "session/refresh.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "session/commands.h"

namespace kv {
namespace {

struct RefreshTest : ::testing::Test {
  ShellState state;
  FakeHost host{state};
  void SetUp() override { start_ready(state, host); }
  // A view change as the view operations make it.
  void move_x(double by) {
    save_bounds(state.current_undo(), state.current(), kUndoScroll);
    state.current().range[kXMin].value += by;
    state.current().range[kXMax].value += by;
    refresh_view(state, host, REFRESH_CHECK_RANGES | REFRESH_MODIFIED | REFRESH_RECOMPUTE);
  }
};

TEST_F(RefreshTest, UndoKeepsAtMost1024Of1025Steps) {
  const double start = state.current().range[kXMin].value;
  for (int i = 1; i <= 1025; ++i) move_x(1.0);
  EXPECT_EQ(state.current_undo().count, 1024);
  int undone = 0;
  while (undo_view_step(state.current_undo(), state.current())) ++undone;
  EXPECT_EQ(undone, 1024);
  EXPECT_EQ(state.current().range[kXMin].value, start + 1.0);
}

TEST_F(RefreshTest, NoStepWithoutMovementAndCompileForgetsSteps) {
  move_x(0.0);
  EXPECT_EQ(state.current_undo().count, 0);
  move_x(2.0);
  move_x(2.0);
  EXPECT_EQ(state.current_undo().count, 2);
  refresh_view(state, host, REFRESH_COMPILE | REFRESH_RECOMPUTE);
  EXPECT_EQ(state.current_undo().count, 0);
}

TEST_F(RefreshTest, TextTurnsStaleBeyondHalfAPixel) {
  state.current().x_scale = 0.1;
  RangeValue& xmin = state.current().range[kXMin];
  move_x(0.05);  // exactly half a pixel: the text still matches
  EXPECT_FALSE(xmin.text_stale);
  move_x(0.051);
  EXPECT_TRUE(xmin.text_stale);
  EXPECT_FALSE(state.current().range[kYMin].text_stale);
}

TEST_F(RefreshTest, NotReadyDoesNothing) {
  state.ready = false;
  EXPECT_TRUE(refresh_view(state, host, REFRESH_COMPILE | REFRESH_MODIFIED));
  EXPECT_EQ(host.repaints, 0);
  EXPECT_EQ(state.current().count(), 0);
}

TEST_F(RefreshTest, CompileErrorIsPendingAndThePaintAsksForTheDialog) {
  state.current().source = "x+";
  EXPECT_FALSE(refresh_view(state, host, REFRESH_COMPILE | REFRESH_RECOMPUTE | REFRESH_MODIFIED));
  const PendingError& error = state.current().error;
  EXPECT_TRUE(error.failed);
  EXPECT_EQ(error.control_id, kExpressionControlId);
  EXPECT_NE(error.message, kMsgNone);
  EXPECT_FALSE(state.current().document.modified);
  EXPECT_EQ(host.posted, std::vector<Command>{Command::ShowPendingError});
  EXPECT_FALSE(state.recompute_needed || state.recompute_curves);  // cleared by the paint

  // A pending error fails the next compile without compiling; once the dialog
  // has shown it the paint no longer asks.
  state.current().source = "x";
  state.current().error.shown = true;
  EXPECT_FALSE(refresh_view(state, host, REFRESH_COMPILE));
  EXPECT_EQ(host.posted.size(), 1u);
  state.current().error.clear();
  EXPECT_TRUE(refresh_view(state, host, REFRESH_COMPILE | REFRESH_MODIFIED));
  EXPECT_TRUE(state.current().document.modified);
}

// An opened document arrives unmodified with its own formulas: the refresh
// compiles and recomputes them, forgets the view steps of the old ones, and
// leaves the modified mark as the open set it.
TEST_F(RefreshTest, AfterOpenCompilesRecomputesAndKeepsTheDocumentUnmodified) {
  move_x(1.0);
  ASSERT_EQ(state.current_undo().count, 1);
  state.current().source = "x^2";
  state.current().error.report(kMsgNone, kExpressionControlId);
  state.current().document.modified = false;
  const int recomputes = host.recomputing_repaints;
  EXPECT_TRUE(after_open_refresh(state, host));
  EXPECT_EQ(state.current().count(), 1);
  EXPECT_EQ(host.recomputing_repaints, recomputes + 1);
  EXPECT_EQ(state.current_undo().count, 0);
  EXPECT_FALSE(state.current().document.modified);
}

TEST_F(RefreshTest, TitleNamesTheCurrentPanelsDocument) {
  EXPECT_EQ(window_title(state), "Kurvaline");
  state.panels[kPanelIntegral].document.title = "a.kvl";
  EXPECT_EQ(window_title(state), "Kurvaline");
  switch_surface(state, host, kPanelIntegral, true);
  EXPECT_EQ(window_title(state), "Kurvaline - a.kvl");
  EXPECT_EQ(host.title, "Kurvaline - a.kvl");
}

TEST_F(RefreshTest, EmptyFormulaTextIsNotModified) {
  state.current().source.clear();
  EXPECT_TRUE(refresh_view(state, host, REFRESH_COMPILE | REFRESH_MODIFIED));
  EXPECT_FALSE(state.current().document.modified);
}

}  // namespace
}  // namespace kv
