#include "session/wheel_input.h"

#include <gtest/gtest.h>

#include "view_test_support.h"

namespace kv {
namespace {

TEST(Wheel, OneStepPerWholeNotchHoweverTheDeltasArrive) {
  WheelAccumulator acc;
  EXPECT_EQ(wheel_notches(acc, 120, 1000), 1);
  EXPECT_EQ(wheel_notches(acc, -120, 1010), -1);
  int steps = 0;
  for (int i = 0; i < 14; ++i) steps += wheel_notches(acc, 8, 1020 + i);
  EXPECT_EQ(steps, 0);  // 112 of 120
  EXPECT_EQ(wheel_notches(acc, 8, 1040), 1);
  EXPECT_EQ(wheel_notches(acc, 240, 1050), 2);
  EXPECT_EQ(wheel_notches(acc, 0, 1060), 0);

  EXPECT_EQ(wheel_notches(acc, 100, 1070), 0);
  EXPECT_EQ(wheel_notches(acc, -100, 1080), 0);  // reversal drops the 100
  EXPECT_EQ(wheel_notches(acc, 100, 1090), 0);
  EXPECT_EQ(wheel_notches(acc, 100, 1090 + kWheelPauseMs + 1), 0);  // so does a pause
  EXPECT_EQ(wheel_notches(acc, 1 << 30, 3000), kMaxNotchesPerEvent);
}

TEST(Wheel, ZoomsAroundTheCursorOnlyOverTheGraph) {
  test::ViewFixture f;
  WheelAccumulator acc;
  const Rect area{26, 0, 694, 565};
  EXPECT_FALSE(wheel_zoom(f.target(), acc, area, {30, 564}, 120, 0).refresh);  // status bar
  const ViewChange c = wheel_zoom(f.target(), acc, area, {f.plot.left, f.plot.top}, 120, 0);
  EXPECT_EQ(c.refresh_flags, kRefreshAfterZoom);
  EXPECT_DOUBLE_EQ(f.x(kXMin), -6);  // the corner under the cursor stays
  EXPECT_DOUBLE_EQ(f.x(kYMax), 5);
  EXPECT_DOUBLE_EQ(f.x(kXMax), -6 + 12 * 1.25);
}

TEST(TouchGesture, AGestureIsOneUndoStep) {
  test::ViewFixture f;
  TouchGesture g;
  for (int i = 0; i < 5; ++i) {
    const ViewChange c = pixel_scroll(f.target(), g, 10, -4, 100 + i);
    EXPECT_FALSE(f.refresh(c));  // no step while the fingers move
  }
  EXPECT_DOUBLE_EQ(f.x(kXMin), -6 - 50 * 0.02);
  EXPECT_DOUBLE_EQ(f.x(kYMin), -5 - 20 * 0.02);
  pinch_zoom(f.target(), g, {f.plot.left, f.plot.top}, 100.0, 110);  // limited to 0.8
  EXPECT_DOUBLE_EQ(f.x(kXMax) - f.x(kXMin), 12 * 0.8);
  EXPECT_FALSE(touch_gesture_quiet(g, 110 + kGestureQuietMs - 1));
  EXPECT_TRUE(touch_gesture_quiet(g, 110 + kGestureQuietMs));
  EXPECT_TRUE(f.refresh(end_touch_gesture(g)));
  EXPECT_FALSE(end_touch_gesture(g).refresh);
  EXPECT_STREQ(undo_description(f.undo), kUndoScroll);
  undo_view(f.target());
  EXPECT_EQ(f.x(kXMin), -6);
  EXPECT_EQ(f.undo.count, 0);
}

}  // namespace
}  // namespace kv
