// The colour scheme of a printout after the background question.
#include "session/print_background.h"

#include <gtest/gtest.h>

#include "graph/colours.h"

namespace kv {
namespace {

TEST(PrintBackground, OnlyColouredSchemesAsk) {
  EXPECT_FALSE(print_asks_background(0));
  EXPECT_TRUE(print_asks_background(1));
  EXPECT_TRUE(print_asks_background(2));
  // Scheme 0 prints as it is, whatever a stray answer says.
  EXPECT_EQ(print_palette(0, kPrintAnswerCancel), 0);
  EXPECT_EQ(print_palette(0, kPrintWithBackground), 0);
}

TEST(PrintBackground, AnswersOnColouredSchemes) {
  for (int palette : {1, 2}) {
    EXPECT_EQ(print_palette(palette, kPrintOmitBackground), 0) << palette;
    EXPECT_EQ(print_palette(palette, kPrintWithBackground), palette) << palette;
    EXPECT_EQ(print_palette(palette, kPrintAnswerCancel), -1) << palette;
    EXPECT_EQ(print_palette(palette, 2), -1) << palette;  // the cancel button's own id
  }
}

TEST(PrintBackground, LeavingOutTheDarkBackgroundPrintsDarkTextOnWhite) {
  const ColourTable shown = build_colour_table(2);
  const ColourTable printed = build_colour_table(print_palette(2, kPrintOmitBackground));
  EXPECT_EQ(printed[kColourBackground], 0xffffffu);
  // The white text and axes of the dark scheme would vanish on white paper.
  EXPECT_EQ(shown[kColourText], 0xffffffu);
  EXPECT_EQ(printed[kColourText], 0x000000u);
  EXPECT_EQ(printed[kColourAxes], 0x000000u);
  EXPECT_EQ(printed.entries, build_colour_table(0).entries);
}

}  // namespace
}  // namespace kv
