#include "session/view_ops.h"

#include <gtest/gtest.h>

#include <numbers>

#include "view_test_support.h"

namespace kv {
namespace {

using test::ViewFixture;
constexpr double kPi = std::numbers::pi;

TEST(RoundRangeWidth, RoundsToTwoToTwentyTimesAPowerOfTenHalvesUp) {
  struct Case {
    double w;
    double expected;
  };
  // Exact: a chain of multiplications by 0.1 gives 3.000000000000002e-07 and
  // 0.30000000000000004.
  const Case cases[] = {{9.6, 10},         {12.5, 13},    {19.6, 20},   {20.4, 20},
                        {2.5e-7, 3e-7},    {0.25, 0.3},   {0.35 - 0.1, 0.3},
                        {-9.6, -10},       {1.5, 1.5},    {2.0, 2.0},   {20.0, 20.0},
                        {2.5e13, 3e13},    {2.5e-12, 3e-12}, {0.0, 0.0}};
  for (const Case& c : cases) EXPECT_EQ(RoundRangeWidth(c.w, false), c.expected) << c.w;
  EXPECT_DOUBLE_EQ(RoundRangeWidth(9.6 * kPi, true), 10 * kPi);
  EXPECT_DOUBLE_EQ(RoundRangeWidth(-12.5 * kPi, true), -13 * kPi);
  EXPECT_DOUBLE_EQ(RoundRangeWidth(12.0, true), 4 * kPi);  // 3.82 pi
  EXPECT_EQ(RoundRangeWidth(INFINITY, false), INFINITY);  // no endless loop
}

TEST(ViewOps, ZoomInAndOutSnapToRoundSymmetricRanges) {
  ViewFixture f;
  EXPECT_EQ(f.refresh(view_command(f.target(), Command::ZoomIn)), true);
  EXPECT_EQ(f.x(kXMin), -5);
  EXPECT_EQ(f.x(kXMax), 5);
  f.set_range(-5, 5, -5, 5);
  view_command(f.target(), Command::ZoomOut);
  EXPECT_EQ(f.x(kXMin), -6.5);
  EXPECT_EQ(f.x(kXMax), 6.5);
}

TEST(ViewOps, CentreSnapOnlyStrictlyWithinEightPixels) {
  ViewFixture f;  // width 9.375 on 600 pixels: 8 pixels are 0.125, all exact
  f.set_range(-4.6875 + 0.125, 4.6875 + 0.125, -5, 5);
  snap_to_centre(f.panel);
  EXPECT_EQ(f.x(kXMin), -4.5625);
  const double inside = 0.125 - 1.0 / 1024;
  f.set_range(-4.6875 + inside, 4.6875 + inside, -5, 5);
  snap_to_centre(f.panel);
  EXPECT_EQ(f.x(kXMin), -4.5);
  EXPECT_EQ(f.x(kXMax), 4.5);
}

TEST(ViewOps, ZoomAroundAPointKeepsTheValuesUnderIt) {
  for (double factor : {kZoomInFactor, kZoomOutFactor}) {
    ViewFixture f;
    f.set_range(0.3, 7.1, -2.7, 0.9);
    const Point p{f.plot.left + 137, f.plot.top + 411};
    const PlaneValue before = value_at_point(f.panel, f.plot, p);
    zoom_view(f.target(), factor, factor, p);
    f.recompute();
    const PlaneValue after = value_at_point(f.panel, f.plot, p);
    EXPECT_NEAR(after.x, before.x, 1e-13);
    EXPECT_NEAR(after.y, before.y, 1e-13);
    EXPECT_NEAR(f.x(kXMax) - f.x(kXMin), 6.8 * factor, 1e-13);
  }
}

TEST(ViewOps, UndoKeepsAtMost1024StepsAndSkipsZoomsThatChangeNothing) {
  ViewFixture f;
  for (int i = 0; i < 1025; ++i) f.refresh(scroll_view(f.target(), ScrollDirection::Up));
  const double after_first = -5 + 1.0;
  int undos = 0;
  while (undo_view(f.target()).refresh) ++undos;
  EXPECT_EQ(undos, 1024);
  EXPECT_EQ(f.undo.count, 0);
  EXPECT_FALSE(undo_view(f.target()).refresh);
  EXPECT_DOUBLE_EQ(f.x(kYMin), after_first);  // the oldest step was dropped

  // Zooming out at the range limit: the recomputation clamps back to +-1e13.
  f.set_range(-1e13, 1e13, -1e13, 1e13);
  EXPECT_FALSE(f.refresh(view_command(f.target(), Command::ZoomOut)));
  EXPECT_EQ(f.undo.count, 0);
}

TEST(ViewOps, UndoRestoresValueAndStaleFlagButNotText) {
  ViewFixture f;
  f.panel.range[kXMin].text = "-6";
  f.refresh(centre_view(f.target()));  // nothing moves: no step
  EXPECT_EQ(f.undo.count, 0);
  f.refresh(scroll_view(f.target(), ScrollDirection::Left));
  f.panel.range[kXMin].text_stale = true;
  const ViewChange c = undo_view(f.target());
  EXPECT_EQ(c.refresh_flags, kRefreshAfterUndo);
  EXPECT_EQ(f.x(kXMin), -6);
  EXPECT_FALSE(f.panel.range[kXMin].text_stale);
  EXPECT_EQ(f.panel.range[kXMin].text, "-6");
}

TEST(ViewOps, RectangleNeedsTenPixelsOnEachSide) {
  ViewFixture f;
  f.panel.options[kOptEqualScales] = 1;
  const int l = f.plot.left + 100, t = f.plot.top + 50;
  for (Rect r : {Rect{l, t, l + 9, t + 200}, Rect{l, t, l + 200, t + 9}}) {
    const ViewChange c = zoom_to_rect(f.target(), r);
    EXPECT_FALSE(c.refresh);
    EXPECT_EQ(f.panel.options[kOptEqualScales], 1);  // restored
    EXPECT_EQ(f.x(kXMin), -6);
  }
  // Ten pixels, corners given in reverse: columns 100..110, rows 50..60.
  const ViewChange c = zoom_to_rect(f.target(), Rect{l + 10, t + 10, l, t});
  EXPECT_EQ(c.refresh_flags, kRefreshAfterZoom);
  EXPECT_TRUE(c.equal_scales_changed);
  EXPECT_EQ(f.panel.options[kOptEqualScales], 0);
  EXPECT_DOUBLE_EQ(f.x(kXMin), -6 + 100 * 0.02);
  EXPECT_DOUBLE_EQ(f.x(kXMax), 6 - 490 * 0.02);
  EXPECT_DOUBLE_EQ(f.x(kYMax), 5 - 50 * 0.02);
  EXPECT_DOUBLE_EQ(f.x(kYMin), -5 + 440 * 0.02);
}

TEST(ViewOps, MovedYBoundsBecomeFixedAndStandardViewRestoresAutomatic) {
  ViewFixture f;
  f.panel.ymin_fixed = f.panel.ymax_fixed = false;
  f.panel.options[kOptEqualScales] = 1;
  EXPECT_TRUE(view_command(f.target(), Command::ZoomInX).equal_scales_changed);  // x only
  EXPECT_EQ(f.panel.options[kOptEqualScales], 0);
  EXPECT_FALSE(f.panel.ymin_fixed || f.panel.ymax_fixed);  // y stays automatic
  scroll_view(f.target(), ScrollDirection::Down);
  EXPECT_DOUBLE_EQ(f.x(kYMin), -6);
  EXPECT_TRUE(f.panel.ymin_fixed && f.panel.ymax_fixed);

  f.panel.default_range[kXMin] = RangeValue{-2 * kPi, "-2pi", true, false};
  f.panel.default_range[kYMax] = RangeValue{kUndefined, "", true, true};
  const ViewChange c = standard_view(f.target());
  EXPECT_EQ(c.refresh_flags, kRefreshAfterStandardView);
  EXPECT_EQ(f.panel.range[kXMin].text, "-2pi");
  EXPECT_TRUE(f.panel.range[kYMax].text_stale);
  EXPECT_TRUE(f.panel.ymin_fixed);
  EXPECT_FALSE(f.panel.ymax_fixed);
}

}  // namespace
}  // namespace kv
