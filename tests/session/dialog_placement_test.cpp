// Dialog placement: the default offset on first opening, the remembered
// place afterwards, and the screen edges.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "session/dialog_placement.h"

namespace kv {
namespace {

const Rect kScreen{0, 0, 1280, 1024};

TEST(DialogPlacement, FirstOpeningUsesTheDefaultOffsetAndRemembersIt) {
  DialogRect remembered;
  const DialogRect r = place_dialog(remembered, {300, 200}, {500, 100}, kTableDialogOffset, kScreen);
  EXPECT_EQ(r.left, 420);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(remembered.left, -80);
  EXPECT_EQ(remembered.top, 0);
  // The window's own report of that place gives the same rectangle back.
  const DialogRect back = relative_placement(r, {500, 100});
  EXPECT_EQ(back.left, remembered.left);
  EXPECT_EQ(back.bottom, remembered.bottom);
}

TEST(DialogPlacement, RememberedPlaceFollowsTheOwnerAndKeepsAtLeastTheNaturalSize) {
  DialogRect remembered{10, 20, 110, 70};  // 100 x 50, smaller than natural
  const DialogRect r = place_dialog(remembered, {300, 200}, {100, 100}, kValueDialogOffset, kScreen);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
}

TEST(DialogPlacement, StaysOnTheScreen) {
  // Owner at the left edge: the default offset would put the dialog off screen.
  DialogRect remembered;
  DialogRect r = place_dialog(remembered, {300, 200}, {0, 0}, kTableDialogOffset, kScreen);
  EXPECT_EQ(r.left, 0);
  // Beyond the bottom-right corner: moved back, the last pixel on the screen.
  remembered = {1200, 1000, 1500, 1200};
  r = place_dialog(remembered, {300, 200}, {0, 0}, kTableDialogOffset, kScreen);
  EXPECT_EQ(r.right, 1280);
  EXPECT_EQ(r.bottom, 1024);
  // Larger than the screen: the size is cut, the corner stays visible.
  remembered = {5, 5, 5000, 5000};
  r = place_dialog(remembered, {300, 200}, {0, 0}, kTableDialogOffset, kScreen);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 1280);
  // A natural size beyond the screen wins over the screen; the corner stays.
  remembered = {};
  r = place_dialog(remembered, {2000, 200}, {600, 0}, kTableDialogOffset, kScreen);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right - r.left, 2000);
}

TEST(DialogPlacement, ExtremeRememberedValuesDoNotOverflow) {
  DialogRect remembered{INT_MAX - 10, INT_MIN + 10, INT_MAX, INT_MIN + 400};
  const DialogRect r = place_dialog(remembered, {300, 200}, {INT_MAX, INT_MAX}, kTableDialogOffset,
                                    kScreen);
  EXPECT_GE(r.left, 0);
  EXPECT_LE(r.right, 1280);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, 1024);
}

TEST(DialogPlacement, LargerRememberedSizeIsKeptAndAnyIntsStayOnScreen) {
  DialogRect larger{10, 20, 610, 520};
  DialogRect r = place_dialog(larger, {400, 300}, {0, 0}, kFormulaDialogOffset, kScreen);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 500);
  // The widest rectangle a settings file can hold, with the owner far away.
  DialogRect widest{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  r = place_dialog(widest, {400, 300}, {INT_MAX, INT_MAX}, kFormulaDialogOffset, kScreen);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1280);
  EXPECT_EQ(r.bottom, 1024);
}

TEST(DialogPlacement, OriginIsTheOwnersCornerOrTheFallbackOfTheDialogsKind) {
  const Rect second_screen{1280, 0, 2560, 1024};
  struct Case {
    PlacementOrigin origin;
    std::optional<Point> owner;
    Point expected;
  };
  const Case cases[] = {
      // An owner is counted from as it is, even off the screen.
      {PlacementOrigin::OwnerFrame, Point{-50, 3000}, {-50, 3000}},
      {PlacementOrigin::OwnerPosition, Point{-50, 3000}, {-50, 3000}},
      // The owner's corner at the desktop's origin is an owner, not a fallback.
      {PlacementOrigin::OwnerPosition, Point{0, 0}, {0, 0}},
      // Without one: a formula dialog from the desktop's origin, a calculator
      // from its screen's corner.
      {PlacementOrigin::OwnerFrame, std::nullopt, {0, 0}},
      {PlacementOrigin::OwnerPosition, std::nullopt, {1280, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(placement_origin(c.origin, c.owner, second_screen), c.expected)
        << static_cast<int>(c.origin) << " " << c.owner.has_value();
  }
  // No screen known: a calculator without owner counts from the empty rectangle's corner.
  EXPECT_EQ(placement_origin(PlacementOrigin::OwnerPosition, std::nullopt, {}), (Point{0, 0}));
}

}  // namespace
}  // namespace kv
