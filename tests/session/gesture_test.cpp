#include "session/gesture.h"

#include <gtest/gtest.h>

#include "session/zoom_box.h"

namespace kv {
namespace {

struct Drag {
  GestureRecogniser g;
  MouseMode mode = MouseMode::Idle;
  int finish(int dx, int dy, int64_t held_ms = 100) {
    gesture_start(g, mode, true, {300, 200}, 1000);
    return gesture_finish(g, mode, true, {300 + dx, 200 + dy}, 1000 + held_ms).result;
  }
};

TEST(Gesture, EightPixelsCountSevenAreAClick) {
  Drag r;
  EXPECT_EQ(r.finish(8, 0), kGestureRight);
  EXPECT_EQ(r.finish(0, -8), kGestureUp);
  EXPECT_EQ(r.finish(7, 0), kGestureClick);
  EXPECT_EQ(r.finish(0, 7), kGestureClick);
  EXPECT_EQ(r.finish(-5, 6), kGestureClick);  // 61 < 64
  EXPECT_EQ(r.finish(-6, 6), kGestureDown);   // 72
  EXPECT_EQ(r.mode, MouseMode::Idle);
}

TEST(Gesture, DiagonalsGoToUpThenRightThenDown) {
  EXPECT_EQ(classify_gesture(20, -20), kGestureUp);
  EXPECT_EQ(classify_gesture(20, 20), kGestureRight);
  EXPECT_EQ(classify_gesture(-20, 20), kGestureDown);
  EXPECT_EQ(classify_gesture(-20, -20), kGestureUp);
  EXPECT_EQ(classify_gesture(-20, 19), kGestureLeft);
  EXPECT_EQ(classify_gesture(-20, -19), kGestureLeft);
}

TEST(Gesture, TimeOutSwitchOffAndZoomBoxExclusion) {
  Drag r;
  EXPECT_EQ(r.finish(50, 0, kGestureTimeoutMs - 1), kGestureRight);
  EXPECT_EQ(r.finish(50, 0, kGestureTimeoutMs), kGestureNone);
  // Released without a running gesture (cancelled by Esc before).
  EXPECT_EQ(gesture_finish(r.g, r.mode, true, {0, 0}, 0).result, kGestureNone);

  EXPECT_FALSE(gesture_start(r.g, r.mode, false, {1, 1}, 0));
  const GestureFinish off = gesture_finish(r.g, r.mode, false, {90, 1}, 10);
  EXPECT_EQ(off.result, kGestureClick);  // an ordinary right click

  r.mode = MouseMode::ZoomBox;
  EXPECT_FALSE(gesture_start(r.g, r.mode, true, {1, 1}, 0));
  EXPECT_EQ(r.mode, MouseMode::ZoomBox);
  ZoomBox box;
  EXPECT_FALSE(zoom_box_start(box, r.mode, Rect{0, 0, 100, 100}, {5, 5}, false, false));
}

TEST(ZoomBox, StartsOneColumnFurtherThanTheHoverArea) {
  const Rect area{26, 0, 700, 565};
  EXPECT_TRUE(inside_graph_area(area, {698, 563}));
  EXPECT_FALSE(inside_graph_area(area, {699, 100}));
  EXPECT_TRUE(zoom_box_may_start_at(area, {699, 564}));
  EXPECT_FALSE(zoom_box_may_start_at(area, {700, 100}));
  EXPECT_FALSE(zoom_box_may_start_at(area, {25, 100}));

  MouseMode mode = MouseMode::Idle;
  ZoomBox box;
  EXPECT_FALSE(zoom_box_start(box, mode, area, {100, 100}, false, true));  // Alt drags the window
  ASSERT_TRUE(zoom_box_start(box, mode, area, {100, 100}, false, false));
  EXPECT_TRUE(zoom_box_move(box, {40, 130}, true, true));
  const auto edges = zoom_box_edges(box);
  EXPECT_EQ(edges[0], (Rect{40, 100, 41, 131}));   // left, bottom row included
  EXPECT_EQ(edges[1], (Rect{40, 100, 101, 101}));  // top, right column included
  EXPECT_FALSE(zoom_box_move(box, {50, 130}, true, false));  // capture lost
  EXPECT_EQ(zoom_box_end(box, mode, true), (Rect{100, 100, 50, 130}));
  EXPECT_EQ(mode, MouseMode::Idle);
}

// One row per window: what left, up, right and down do there; no gesture and
// a click do nothing anywhere.
TEST(GestureMeaning, EachWindowFromTheOneTable) {
  using enum GestureAction;
  struct Row {
    GestureWindow window;
    GestureAction left, up, right, down;
  };
  const Row rows[] = {
      {GestureWindow::Main, OpenDialog, ZoomOut, OpenDialog, ZoomIn},
      {GestureWindow::Dialog, Cancel, Help, Confirm, Help},
      {GestureWindow::Help, Cancel, Close, Confirm, Close},
      {GestureWindow::About, Close, Close, Close, Close},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.window));
    EXPECT_EQ(gesture_action(r.window, kGestureLeft), r.left);
    EXPECT_EQ(gesture_action(r.window, kGestureUp), r.up);
    EXPECT_EQ(gesture_action(r.window, kGestureRight), r.right);
    EXPECT_EQ(gesture_action(r.window, kGestureDown), r.down);
    for (const int none : {int{kGestureNone}, int{kGestureClick}, kGestureDown + 1, -1})
      EXPECT_EQ(gesture_action(r.window, none), None);
  }
}

}  // namespace
}  // namespace kv
