// Placement of a printed picture on the page.
#include "graph/print_fit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(PrintFit, MarginIsFourPercentOfTheShorterSide) {
  EXPECT_EQ(print_margin_rect(4800, 6600), (Rect{192, 192, 4608, 6408}));
  EXPECT_EQ(print_margin_rect(24, 100), (Rect{0, 0, 24, 100}));
}

TEST(PrintFit, WidePicturesTakeTheWidthTallOnesTheHeight) {
  const Rect m{100, 100, 1100, 900};  // 1000 x 800
  EXPECT_EQ(fit_to_page(m, 600, 300), (Rect{100, 100, 1100, 600}));
  // 1000 x 800 exactly fills the margin: still the full width.
  EXPECT_EQ(fit_to_page(m, 500, 400), (Rect{100, 100, 1100, 900}));
  // One row taller: now the height decides; 1000 * 800 / 802 = 997.
  EXPECT_EQ(fit_to_page(m, 500, 401), (Rect{100, 100, 100 + 997, 900}));
  EXPECT_EQ(fit_to_page(m, 0, 300), (Rect{100, 100, 100, 100}));
  EXPECT_EQ(fit_to_page({0, 0, 0, 0}, 10, 10), (Rect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace kv
