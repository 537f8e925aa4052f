// The help windows' arithmetic: re-layout, wheel steps, quick-reference place.
#include "help/help_window_rules.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(HelpView, WiderReWrapsNarrowerKeepsTheWrapping) {
  const HelpLayoutSize last{600, 400};
  EXPECT_TRUE(help_needs_layout({}, 460, 0, 300, 200));  // first layout
  EXPECT_TRUE(help_needs_layout(last, 460, 900, 700, 400));
  EXPECT_TRUE(help_needs_layout(last, 460, 900, 461, 400));
  EXPECT_FALSE(help_needs_layout(last, 460, 900, 460, 400));  // not wider than the layout width
  EXPECT_FALSE(help_needs_layout(last, 460, 900, 600, 500));  // same width, canvas still taller
  // Taller than the canvas: the canvas must grow.
  EXPECT_TRUE(help_needs_layout(last, 460, 900, 300, 901));
  EXPECT_FALSE(help_needs_layout(last, 460, 900, 300, 900));
}

TEST(HelpView, WheelScrollsLineStepsAndKeepsTheRest) {
  int rest = 0;
  EXPECT_EQ(help_wheel_pixels(120, 3, rest), -3 * kHelpLineStepY);
  EXPECT_EQ(help_wheel_pixels(-120, 3, rest), 3 * kHelpLineStepY);
  // A touchpad's small deltas add up: 39 units are no line yet, 40 are.
  EXPECT_EQ(help_wheel_pixels(39, 3, rest), 0);
  EXPECT_EQ(help_wheel_pixels(1, 3, rest), -kHelpLineStepY);
  EXPECT_EQ(rest, 0);
  // 120 / 7 = 17 units a line: a notch gives 7 lines and keeps 1 unit.
  EXPECT_EQ(help_wheel_pixels(120, 7, rest), -7 * kHelpLineStepY);
  EXPECT_EQ(rest, 1);
  rest = 0;
  EXPECT_EQ(help_wheel_pixels(120, 0, rest), 0);
  EXPECT_EQ(help_wheel_pixels(2, 500, rest), -2 * kHelpLineStepY);
}

TEST(HelpView, QuickReferenceBelowAboveOrAtTheTop) {
  const Rect screen{0, 0, 1280, 1024};
  // Room below: 1024 - 280 = 744 is the lowest bottom edge that still fits.
  EXPECT_EQ(quick_reference_rect({100, 400, 500, 744}, {100, 400, 500, 744}, screen),
            (Rect{100, 744, 500, 1024}));
  EXPECT_EQ(quick_reference_rect({100, 400, 500, 745}, {100, 400, 500, 745}, screen),
            (Rect{100, 120, 500, 400}));
  // No room above either: the top of the screen.
  EXPECT_EQ(quick_reference_rect({100, 280, 500, 900}, {100, 280, 500, 900}, screen),
            (Rect{100, 0, 500, 280}));
  // Below a control of the dialog, as wide as the dialog.
  EXPECT_EQ(quick_reference_rect({100, 100, 500, 600}, {120, 300, 200, 330}, screen),
            (Rect{100, 330, 500, 610}));
}

}  // namespace
}  // namespace kv
