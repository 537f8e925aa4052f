// Wrapping, margins, tabs, lists and the backward break, measured with the
// fixed-width measurer: 7 pixels per character, cell 14, line height 15,
// margin 10, tab width 105 at the base font.
#include "help/help_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

struct Seg {
  std::string text;
  int x, y;
  friend bool operator==(const Seg&, const Seg&) = default;
};

void PrintTo(const Seg& s, std::ostream* os) { *os << "{\"" << s.text << "\", " << s.x << ", " << s.y << "}"; }

std::vector<Seg> lay_out(HelpLayout& l, std::string_view text, int width, int client = 0) {
  FixedWidthMeasurer m;
  l.requested_width = width;
  parse_help_text(l, text);
  layout_help(l, m, client, 0);
  std::vector<Seg> out;
  for (const HelpSegment& s : l.segments) out.push_back({l.document.text.substr(s.start, s.length), s.x, s.y});
  return out;
}

std::vector<Seg> lay_out(std::string_view text, int width, int client = 0) {
  HelpLayout l;
  return lay_out(l, text, width, client);
}

TEST(HelpLayout, WrapsWordsAndDropsOneBlankAtTheNewLine) {
  // Right limit 90: "aaaa bbbb" ends at 73, " cccc" would end at 108.
  EXPECT_EQ(lay_out("aaaa bbbb cccc  dddd", 100),
            (std::vector<Seg>{{"aaaa bbbb", 10, 25}, {"cccc  dddd", 10, 40}}));
  // Width 97: the limit is 87, and "aaaaa aaaaa" (77 pixels) ends exactly there.
  EXPECT_EQ(lay_out("aaaaa aaaaa", 97).size(), 1u);
  EXPECT_EQ(lay_out("aaaaa aaaaa", 96), (std::vector<Seg>{{"aaaaa", 10, 25}, {"aaaaa", 10, 40}}));
}

// A style change may fall inside a word. A closing mark after it stays at
// the end of the line (limit 80: the comma ends at 87); letters still wrap.
TEST(HelpLayout, ClosingMarkAfterAStyleChangeNeverStartsALine) {
  EXPECT_EQ(lay_out("aaaa <b>bbbbb</b>, x", 90),
            (std::vector<Seg>{{"aaaa ", 10, 25}, {"bbbbb", 45, 25}, {",", 80, 25}, {"x", 10, 40}}));
  EXPECT_EQ(lay_out("aaaa <b>bbbbb</b>cc", 90),
            (std::vector<Seg>{{"aaaa ", 10, 25}, {"bbbbb", 45, 25}, {"cc", 10, 40}}));
}

TEST(HelpLayout, ClientWiderThanTheRequestedWidthWrapsAtTheClient) {
  EXPECT_EQ(lay_out("aaaa bbbb cccc", 100, 140).size(), 1u);
  HelpLayout l;
  lay_out(l, "x", 100, 140);
  EXPECT_EQ(l.canvas_width, 140);
  lay_out(l, "x", 100, 60);
  EXPECT_EQ(l.canvas_width, 100);
}

TEST(HelpLayout, OverlongWordWidensTheCanvasInsteadOfBeingSplit) {
  HelpLayout l;
  const std::string word(20, 'w');  // 140 pixels
  EXPECT_EQ(lay_out(l, "ab " + word + " cd", 100),
            (std::vector<Seg>{{"ab", 10, 25}, {word, 10, 40}, {"cd", 10, 55}}));
  EXPECT_EQ(l.canvas_width, 10 + 140 + 10);
  // The wider limit holds for the rest of the text.
  EXPECT_EQ(lay_out(l, word + " aaaaaaaaaaa bbb", 100).size(), 2u);
}

TEST(HelpLayout, TabsMoveMarginAndPositionAndReturn) {
  EXPECT_EQ(lay_out("ab<t><t>Text cc</t></t><n>x", 300, 0),
            (std::vector<Seg>{{"ab", 10, 25}, {"Text cc", 10 + 14 + 210, 25}, {"x", 10, 40}}));
  // Wrapped text of the indented run starts at the indented margin.
  const auto segs = lay_out("ab<t><t>aaaa bbbb cccc dddd eeee</t></t>", 300);
  ASSERT_GE(segs.size(), 2u);
  EXPECT_EQ(segs[2].x, 10 + 210);
  // Unbalanced closing tabs never move text left of the margin.
  EXPECT_EQ(lay_out("</t></t>a<n>b", 300)[1].x, 10);
}

TEST(HelpLayout, BackwardBreakLinesUpAndTheNextBreakContinuesBelow) {
  const auto segs = lay_out("a<n>b<n>c</n></n><t>d</t><n>e", 300);
  ASSERT_EQ(segs.size(), 5u);
  EXPECT_EQ(segs[3], (Seg{"d", 10 + 105, 25}));  // beside "a"
  EXPECT_EQ(segs[4], (Seg{"e", 10, 70}));        // below "c", not below "d"
}

TEST(HelpLayout, ListItemsIndentByALineAndGetABulletBeforeTheirText) {
  HelpLayout l;
  const auto segs = lay_out(l, "a<l><b>i</b></l><l>j</l>k", 300);
  ASSERT_EQ(segs.size(), 4u);
  EXPECT_EQ(segs[1].x, 10 + 15);
  EXPECT_EQ(segs[2].x, 10 + 15);
  EXPECT_EQ(segs[3].x, 10);
  // A quarter line ((15 + 2) / 4 = 4) above each item.
  EXPECT_EQ(segs[1].y, 25 + 15 + 4);
  ASSERT_EQ(l.bullets.size(), 2u);
  EXPECT_EQ(l.bullets[0].segment, 1u);
  EXPECT_EQ(l.bullets[0].x, 10);
  EXPECT_EQ(l.bullets[0].size, 5);  // (12 + 3) / 3
}

TEST(HelpLayout, ScaleEnlargesFontsMarginAndWidth) {
  HelpLayout l;
  l.scale = 2.0;
  lay_out(l, "x", 100);
  EXPECT_EQ(l.margin, 20);
  EXPECT_EQ(l.layout_width, 200);
  EXPECT_EQ(l.fonts[0].font.height, 24);
  EXPECT_EQ(l.segments[0].y, 20 + 26 / 8 + 26);
}

TEST(HelpLayout, RewrapAtAnotherWidthEqualsAFreshLayout) {
  const std::string text = "<h>Titel</h>eins zwei <b>drei vier</b> fünf sechs<l>sieben acht</l>neun";
  HelpLayout reused;
  lay_out(reused, text, 400);
  FixedWidthMeasurer m;
  layout_help(reused, m, 130, 0);
  HelpLayout fresh;
  lay_out(fresh, text, 400, 130);
  ASSERT_EQ(reused.segments.size(), fresh.segments.size());
  for (size_t i = 0; i < fresh.segments.size(); ++i) {
    EXPECT_EQ(reused.segments[i].x, fresh.segments[i].x);
    EXPECT_EQ(reused.segments[i].y, fresh.segments[i].y);
  }
  EXPECT_EQ(reused.canvas_height, fresh.canvas_height);
}

// Widths that differ by font and by text, so that a word measured in the
// wrong style or taken from another word shows.
class StyleSensitiveMeasurer : public TextMeasurer {
 public:
  TextExtent extent(const FontSpec& font, std::string_view text) override {
    int w = font.bold ? 1000 : 0;
    for (unsigned char c : text) w += font.height + c % 5;
    return {w, font.height + 2};
  }
  int average_char_width(const FontSpec& font) override { return font.height / 2; }
};

TEST(HelpLayout, EachWordKeepsTheWidthOfItsOwnStyle) {
  HelpLayout l;
  parse_help_text(l, "eins zwei <b>eins zwei</b> eins <h>zwei eins</h><b>drei</b> eins");
  StyleSensitiveMeasurer m;
  layout_help(l, m, 0, 0);
  ASSERT_GE(l.document.styles.size(), 3u);
  for (const HelpRun& r : l.document.runs) {
    for (uint32_t w = r.first_word; w < r.first_word + r.word_count; ++w) {
      const HelpWord& word = l.document.words[w];
      const std::string_view text = std::string_view(l.document.text).substr(word.start, word.length);
      EXPECT_EQ(l.word_widths[w], m.extent(l.fonts[r.style].font, text).width) << text;
    }
  }
}

TEST(HelpLayout, CanvasHeightIsTheLastLineAndAtLeastTheClient) {
  HelpLayout l;
  lay_out(l, "a<n>b", 100);
  EXPECT_EQ(l.canvas_height, 40 + 10);
  FixedWidthMeasurer m;
  layout_help(l, m, 0, 500);
  EXPECT_EQ(l.canvas_height, 500);
  lay_out(l, "", 100);
  EXPECT_TRUE(l.segments.empty());
}

TEST(HelpLayout, SegmentsInRowsFindsEveryVisibleSegment) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line" + std::to_string(i) + "<n>";
  HelpLayout l;
  lay_out(l, text, 300);
  // Line i has y = 25 + 15 i and its cell covers [y - 12, y + 2).
  const HelpSegmentRange r = help_segments_in_rows(l, 100, 160);
  for (size_t i = 0; i < l.segments.size(); ++i) {
    const int top = l.segments[i].y - 12, bottom = l.segments[i].y + 2;
    const bool visible = top < 160 && bottom > 100;
    if (visible) {
      EXPECT_GE(i, r.first);
      EXPECT_LT(i, r.end);
    }
  }
  EXPECT_LE(r.end - r.first, 6u);
}

TEST(HelpLayout, HostileMegabyteTextsStayInsideTheCanvas) {
  const size_t mb = size_t{1} << 20;
  auto repeat = [mb](std::string_view piece) {
    std::string t;
    while (t.size() < mb) t += piece;
    return t;
  };
  const std::string texts[] = {
      repeat("<h>") + "x", repeat("<t>") + "x", repeat("</t>") + "x", repeat("a</n>"),
      repeat("<h>a<p>"), std::string(mb, 'w'), std::string(mb, '<'), repeat("<l>x"), repeat("<b><s> "),
  };
  for (const std::string& text : texts) {
    HelpLayout l;
    lay_out(l, text, 300, 300);
    EXPECT_GT(l.canvas_width, 0);
    EXPECT_LE(l.canvas_width, kHelpCoordinateLimit);
    EXPECT_LE(l.canvas_height, kHelpCoordinateLimit);
    for (const HelpSegment& s : l.segments) {
      ASSERT_GE(s.x, l.margin) << text.substr(0, 12);
      ASSERT_LE(s.y, l.canvas_height) << text.substr(0, 12);
    }
  }
}

}  // namespace
}  // namespace kv
