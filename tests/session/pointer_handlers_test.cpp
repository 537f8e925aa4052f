#include "session/pointer_handlers.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "session/command_handlers.h"
#include "session/commands.h"

namespace kv {
namespace {

struct PointerTest : ::testing::Test {
  ShellState state;
  FakeHost host{state};
  void SetUp() override {
    start_ready(state, host);
    state.current().x_scale = 12.0 / state.layout.plot.width;
    state.current().y_scale = 10.0 / state.layout.plot.height;
  }
  double bound(RangeIndex i) { return state.current().range[i].value; }
};

TEST_F(PointerTest, ViewCommandsRefreshAndRecordOneUndoStepEach) {
  EXPECT_TRUE(command_state(state, Command::ZoomIn).enabled);
  const int repaints = host.repaints;
  EXPECT_TRUE(run_command(state, host, Command::ZoomIn));
  EXPECT_EQ(bound(kXMin), -5);
  EXPECT_EQ(host.repaints, repaints + 1);
  EXPECT_EQ(command_state(state, Command::Undo).text, "&Rückgängig: Zoomen\tStrg+Z");

  state.current().options[kOptEqualScales] = 1;
  host.toolbar_checks[Command::EqualScales] = true;
  run_command(state, host, Command::ZoomOutY);
  EXPECT_FALSE(host.toolbar_checks[Command::EqualScales]);
  run_command(state, host, Command::Undo);
  run_command(state, host, Command::Undo);
  EXPECT_EQ(bound(kXMin), -6);
  EXPECT_EQ(state.current_undo().count, 0);
}

TEST_F(PointerTest, GestureUpZoomsOutAroundItsStartAndTouchGesturesCloseFirst) {
  on_pixel_scroll(state, host, 30, 0, 10);
  GestureFinish up;
  up.result = kGestureUp;
  up.start = {state.layout.plot.left, state.layout.plot.top};
  EXPECT_TRUE(run_gesture_result(state, host, up));
  EXPECT_EQ(state.current_undo().count, 2);  // the scroll, then the zoom
  EXPECT_EQ(command_state(state, Command::Undo).text, "&Rückgängig: Zoomen\tStrg+Z");
  up.result = kGestureClick;
  EXPECT_FALSE(run_gesture_result(state, host, up));
}

}  // namespace
}  // namespace kv
