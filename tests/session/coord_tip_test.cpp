#include "session/coord_tip.h"

#include <gtest/gtest.h>

#include <numbers>

#include "view_test_support.h"

namespace kv {
namespace {

TEST(CoordTip, OnePixelPrecisionAndPiUnitsAsOnTheAxes) {
  test::ViewFixture f;
  const Point p{f.plot.left + 301, f.plot.top + 125};
  CoordTip tip = coord_tip_text(f.panel, f.plot, p);
  EXPECT_EQ(tip.x_line, "x = 0.02");
  EXPECT_EQ(tip.y_line, "y = 2.5");
  EXPECT_FALSE(tip.x_pi);

  f.panel.options[kOptXUnitsPi] = 1;
  f.set_range(-2 * std::numbers::pi, 2 * std::numbers::pi, -5, 5);
  tip = coord_tip_text(f.panel, f.plot, {f.plot.left + 450, p.y});
  EXPECT_EQ(tip.x_line, "x = 1");  // pi, shown as 1 and the pi glyph
  EXPECT_TRUE(tip.x_pi);
  // A pixel is 0.00667 pi: three decimals, not the two of 0.0209 units.
  tip = coord_tip_text(f.panel, f.plot, {f.plot.left + 451, p.y});
  EXPECT_EQ(tip.x_line, "x = 1.007");
}

TEST(CoordTip, PlacedBesideTheCursorAndKeptOnTheScreen) {
  const Rect screen{1920, 0, 3840, 1080};  // a second monitor
  const TextExtent size{80, 31};
  EXPECT_EQ(place_coord_tip({2000, 100}, size, screen), (Point{2010, 102}));
  EXPECT_EQ(place_coord_tip({3830, 1070}, size, screen), (Point{3760, 1049}));
  EXPECT_EQ(place_coord_tip({3750, 1047}, size, screen), (Point{3760, 1049}));
  EXPECT_EQ(place_coord_tip({3749, 1046}, size, screen), (Point{3759, 1048}));
}

}  // namespace
}  // namespace kv
