#include "session/picture_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kv {
namespace {

// The largest accepted picture beside the first refused one, on each limit.
TEST(PictureRules, LargestAcceptedBesideFirstRefused) {
  struct Case {
    int64_t width, height;
    bool possible;
  };
  const Case cases[] = {
      {1, 1, true},           {0, 1, false},          {1, 0, false},
      {-1, -1, false},        {32767, 8192, true},    {32768, 1, false},
      {1, 32768, false},      {16384, 16384, true},   {16384, 16385, false},
      {32767, 8193, false},   {INT64_MAX, 2, false},  {2, INT64_MAX, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_EQ(picture_size_possible(c.width, c.height), c.possible);
  }
}

// The placement is the window's layout rule for a graph area of plot and
// margins: the plot comes back unchanged when even and at least 50.
TEST(PictureRules, PlacementGivesThePlotBackWithTheMargins) {
  for (const bool boxed : {false, true}) {
    const PlotMargins m = plot_margins(boxed);
    for (const int side : {50, 52, 1000, 32000}) {
      const PlotPlacement p = placement_for_plot_size(side, side + 2, boxed);
      EXPECT_EQ(p.plot.left, m.left);
      EXPECT_EQ(p.plot.top, m.top);
      EXPECT_EQ(p.plot.width, side);
      EXPECT_EQ(p.plot.height, side + 2);
      EXPECT_EQ(p.client.width(), m.left + side + m.right + 1);
      EXPECT_EQ(p.client.height(), m.top + side + 2 + m.bottom + 1);
    }
    EXPECT_EQ(placement_for_plot_size(49, 0, boxed).plot.width, 50);
    EXPECT_EQ(placement_for_plot_size(51, -7, boxed).plot.width, 52);
    EXPECT_EQ(placement_for_plot_size(51, -7, boxed).plot.height, 50);
  }
}

}  // namespace
}  // namespace kv
