// Placement of the formula dialogs: the default offset, the opening size as
// minimum, and remembered rectangles (from any settings file) kept on screen.
#include "session/dialog_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace kv {
namespace {

const Rect kScreen{0, 0, 1920, 1080};

void expect_rect(const DialogRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(DialogPlacement, NeverPlacedOpensAtTheDefaultOffsetAndRemembersIt) {
  DialogRect remembered;
  expect_rect(place_dialog(remembered, {100, 50}, 400, 300, kDialogDefaultOffset, kScreen), 140,
              90, 540, 390);
  expect_rect(remembered, 40, 40, 440, 340);
}

TEST(DialogPlacement, RememberedSizeAtLeastTheOpeningSize) {
  DialogRect smaller{10, 20, 110, 120};
  expect_rect(place_dialog(smaller, {0, 0}, 400, 300, kDialogDefaultOffset, kScreen), 10, 20, 410,
              320);
  DialogRect larger{10, 20, 610, 520};
  expect_rect(place_dialog(larger, {0, 0}, 400, 300, kDialogDefaultOffset, kScreen), 10, 20, 610,
              520);
}

TEST(DialogPlacement, KeptFullyOnTheScreen) {
  DialogRect right_of{1700, 900, 2100, 1200};  // sticks out right and below
  expect_rect(place_dialog(right_of, {0, 0}, 400, 300, kDialogDefaultOffset, kScreen), 1520, 780,
              1920, 1080);
  DialogRect left_of{-50, -10, 350, 290};
  expect_rect(place_dialog(left_of, {0, 0}, 400, 300, kDialogDefaultOffset, kScreen), 0, 0, 400,
              300);
  // Taller than the screen: cut to it.
  DialogRect tall{0, 0, 400, 5000};
  expect_rect(place_dialog(tall, {0, 0}, 400, 300, kDialogDefaultOffset, kScreen), 0, 0, 400,
              1080);
}

TEST(DialogPlacement, ExtremeSettingsValuesDoNotOverflow) {
  DialogRect wide{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  expect_rect(place_dialog(wide, {INT_MAX, INT_MAX}, 400, 300, kDialogDefaultOffset, kScreen), 0,
              0, 1920, 1080);
  DialogRect far{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX};
  expect_rect(place_dialog(far, {100, 100}, 400, 300, kDialogDefaultOffset, kScreen), 1520, 780,
              1920, 1080);
  expect_rect(relative_placement({INT_MIN, 0, 10, 10}, {1, INT_MIN}), INT_MIN, INT_MAX, 9, INT_MAX);
}

}  // namespace
}  // namespace kv
