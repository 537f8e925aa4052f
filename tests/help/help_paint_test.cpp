// Painting slices and pages, the page footer and the about box's version.
#include "help/help_paint.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "help/about_text.h"
#include "recording_device.h"

namespace kv {
namespace {

using test::OpKind;
using test::RecordingDevice;

void lay_out(HelpLayout& l, std::string_view text, int width = 300) {
  FixedWidthMeasurer m;
  l.requested_width = width;
  parse_help_text(l, text);
  layout_help(l, m, 0, 0);
}

std::string lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "line" + std::to_string(i) + "<n>";
  return text;
}

std::set<std::string> drawn(const RecordingDevice& d) {
  std::set<std::string> out;
  for (const auto* op : d.of(OpKind::Text)) out.insert(op->text);
  return out;
}

TEST(HelpPaint, SlicesTogetherDrawWhatTheWholeCanvasDraws) {
  HelpLayout l;
  lay_out(l, lines(40) + "<l>item</l>");
  RecordingDevice whole, upper, lower;
  const HelpColours colours{0x111111, 0xffffe1};
  paint_help(l, whole, {0, 0, l.canvas_width, l.canvas_height}, colours);
  paint_help(l, upper, {0, 0, l.canvas_width, 333}, colours);
  paint_help(l, lower, {0, 333, l.canvas_width, l.canvas_height}, colours);
  std::set<std::string> both = drawn(upper);
  both.merge(drawn(lower));
  EXPECT_EQ(drawn(whole), both);
  EXPECT_EQ(drawn(whole).size(), 41u);
  EXPECT_LT(upper.of(OpKind::Text).size(), 30u);
  // The background of the slice comes first.
  ASSERT_FALSE(lower.ops.empty());
  EXPECT_EQ(lower.ops[0].kind, OpKind::FillRect);
  EXPECT_EQ(lower.ops[0].colour, 0xffffe1u);
  EXPECT_EQ(whole.of(OpKind::Ellipse).size(), 1u);
}

TEST(HelpPaint, InksAndTextPosition) {
  HelpLayout l;
  lay_out(l, "a<c>r</c><a>k</a><l><c>x</c></l>");
  RecordingDevice d;
  paint_help(l, d, {0, 0, l.canvas_width, l.canvas_height}, {0x111111, 0xffffff});
  const auto t = d.of(OpKind::Text);
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0]->colour, 0x111111u);
  EXPECT_EQ(t[1]->colour, kHelpRed);
  EXPECT_EQ(t[2]->colour, kHelpLink);
  EXPECT_EQ(t[0]->points[0], (Point{10, 25 - 12}));  // cell top at y - font height
  // The bullet takes the colour of the list item's own style.
  ASSERT_EQ(d.of(OpKind::Ellipse).size(), 1u);
  EXPECT_EQ(d.of(OpKind::Ellipse)[0]->colour, 0x111111u);
}

TEST(HelpPrint, PagesCoverEverySegmentOnceAndStartAtTheTopMargin) {
  HelpLayout l;
  lay_out(l, lines(50));
  // Footer room 48: cells may reach down to 152; the lines at y 25..145 fit.
  const auto pages = help_pages(l, 200);
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages[0].first, 0u);
  EXPECT_EQ(pages[0].end, 9u);
  for (size_t p = 1; p < pages.size(); ++p) {
    EXPECT_EQ(pages[p].first, pages[p - 1].end);
    EXPECT_EQ(l.segments[pages[p].first].y - pages[p].offset, 25);
  }
  EXPECT_EQ(pages.back().end, l.segments.size());
}

TEST(HelpPrint, ALineTallerThanThePageStillAdvances) {
  HelpLayout l;
  lay_out(l, "<h><h><h><h><h><h><h><h>a b c</h></h></h></h></h></h></h></h>", 10);
  const auto pages = help_pages(l, 60);
  EXPECT_EQ(pages.size(), 3u);
  HelpLayout empty;
  lay_out(empty, "");
  EXPECT_EQ(help_pages(empty, 60).size(), 1u);
}

TEST(HelpPrint, FooterNamesTheProductAndThePage) {
  HelpLayout l;
  lay_out(l, lines(30));
  const HelpFooter f = help_page_footer(l, 3, 500, 700);
  EXPECT_EQ(f.left, "Kurvaline");
  EXPECT_EQ(f.right, "Seite 3");
  EXPECT_EQ(f.left_x, 10);
  EXPECT_EQ(f.right_x, 490);
  EXPECT_EQ(f.y, 700 - 48 + (48 - 12) / 2);
  RecordingDevice d;
  paint_help_page(l, help_pages(l, 200), 1, d, 500, 200, {});
  EXPECT_TRUE(drawn(d).count("Seite 2"));
  EXPECT_FALSE(drawn(d).count("line0"));
}

TEST(AboutBox, VersionTextDropsTrailingZeroGroupsButKeepsTwo) {
  const std::pair<const char*, const char*> cases[] = {
      {"2.5.0.0", "Version  2.5"}, {"1.2.3.0", "Version  1.2.3"}, {"1.0.0.0", "Version  1.0"},
      {"0.94.0.0", "Version  0.94"}, {"1.2.0.5", "Version  1.2.0.5"}, {"3.0.10.0", "Version  3.0.10"},
      {"1.00.000", "Version  1.00"}, {"7", "Version  7"}, {"0.0", "Version  0.0"},
      {"1.2.", "Version  1.2."}, {"", "Version  "},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(about_version_text(in), out) << in;
}

}  // namespace
}  // namespace kv
