// The tag parser: what is a tag, the style stack, and the break values that
// depend on at-start and just-broke.
#include "help/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

HelpDocument parse(std::string_view text) {
  HelpDocument doc;
  EXPECT_TRUE(parse_help_document(doc, text));
  return doc;
}

std::string run_text(const HelpDocument& d, const HelpRun& r) {
  return d.text.substr(r.text_start, r.text_length);
}

// The runs that carry text, as "text" strings.
std::vector<std::string> texts(const HelpDocument& d) {
  std::vector<std::string> out;
  for (const HelpRun& r : d.runs) {
    if (r.text_length > 0) out.push_back(run_text(d, r));
  }
  return out;
}

std::vector<int> breaks(const HelpDocument& d) {
  std::vector<int> out;
  for (const HelpRun& r : d.runs) {
    if (r.break_value != 0) out.push_back(r.break_value);
  }
  return out;
}

const HelpStyle& style_of(const HelpDocument& d, std::string_view text) {
  for (const HelpRun& r : d.runs) {
    if (run_text(d, r) == text) return d.styles[r.style];
  }
  ADD_FAILURE() << "no run " << text;
  return d.styles[0];
}

TEST(HelpParse, OnlyExactTagFormsWithKnownLettersAreTags) {
  for (const char* text : {"a < b", "<bb>", "<B>x", "<q>", "</p>", "</d>", "x<b", "<", "</", "</b",
                           "<>", "< b>"}) {
    const HelpDocument d = parse(text);
    EXPECT_EQ(texts(d), std::vector<std::string>{text}) << text;
  }
}

TEST(HelpParse, ClosingTagsReturnToTheStyleBeforeTheOpeningTag) {
  const HelpDocument d = parse("a<b>x</b>y<p><h><c>Titel</c>T2</h>z");
  EXPECT_TRUE(style_of(d, "x").bold);
  EXPECT_EQ(style_of(d, "y"), HelpStyle{});
  const HelpStyle& title = style_of(d, "Titel");
  EXPECT_EQ(title.face, HelpFace::Arial);
  EXPECT_EQ(title.height, 19);  // 12 * 160 / 100
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(title.ink, HelpInk::Red);
  EXPECT_EQ(style_of(d, "T2").ink, HelpInk::Text);
  EXPECT_EQ(style_of(d, "z"), HelpStyle{});
}

TEST(HelpParse, StrayClosingTagsKeepTheBaseStyleAndHeightsStayBounded) {
  HelpDocument d = parse("</b></i></h>x");
  EXPECT_EQ(style_of(d, "x"), HelpStyle{});
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "<h><s>";
  d = parse(deep + "x" + std::string(40 * 2, ' '));
  for (const HelpStyle& s : d.styles) {
    EXPECT_GE(s.height, kHelpMinHeight);
    EXPECT_LE(s.height, kHelpMaxHeight);
  }
  std::string grow;
  for (int i = 0; i < 40; ++i) grow += "<h>";
  EXPECT_EQ(style_of(parse(grow + "x"), "x").height, kHelpMaxHeight);
}

TEST(HelpParse, SmallAndLinkStyles) {
  const HelpDocument d = parse("<h><s>k</s></h><a>l</a>");
  EXPECT_EQ(style_of(d, "k").height, 17);  // 19 * 110 / 120
  EXPECT_EQ(style_of(d, "k").face, HelpFace::Verdana);
  EXPECT_TRUE(style_of(d, "l").underline);
  EXPECT_EQ(style_of(d, "l").ink, HelpInk::Link);
}

TEST(HelpParse, BreakValuesFollowAtStartAndJustBroke) {
  EXPECT_EQ(breaks(parse("<n>a<n>b")), (std::vector<int>{10}));  // the first adds no space
  EXPECT_EQ(breaks(parse("</n>a</n>b")), (std::vector<int>{-10}));
  EXPECT_EQ(breaks(parse("<p>a<p>b")), (std::vector<int>{40}));
  // <p> sets just-broke: the heading after it gets no break of its own, and a
  // paragraph right after a heading is smaller.
  EXPECT_EQ(breaks(parse("a<p><h>T</h><p>b")), (std::vector<int>{40, 10, 30}));
  EXPECT_EQ(breaks(parse("a<h>T</h>")), (std::vector<int>{10, 10}));
  EXPECT_EQ(breaks(parse("a<p><d>b<d>c")), (std::vector<int>{40, 5}));
  EXPECT_EQ(breaks(parse("a<l>x</l><l>y</l>")), (std::vector<int>{10, 10, 10}));
}

TEST(HelpParse, TabAndListSteps) {
  const HelpDocument d = parse("<t><t>Text</t></t><l>i</l>");
  std::vector<int> tabs, lists;
  for (const HelpRun& r : d.runs) {
    if (r.tab_step) tabs.push_back(r.tab_step);
    if (r.list_step) lists.push_back(r.list_step);
  }
  EXPECT_EQ(tabs, (std::vector<int>{1, 1, -1, -1}));
  EXPECT_EQ(lists, (std::vector<int>{1, -1}));
}

TEST(HelpParse, WordsCarryTheirLeadingBlank) {
  const HelpDocument d = parse("ab  cd<b> e</b>");
  std::vector<std::string> words;
  for (const HelpWord& w : d.words) words.push_back(d.text.substr(w.start, w.length));
  EXPECT_EQ(words, (std::vector<std::string>{"ab", " ", " cd", " e"}));
}

TEST(HelpParse, EmptyTextHasOnlyTheBaseStyle) {
  const HelpDocument d = parse("");
  EXPECT_TRUE(d.runs.empty());
  EXPECT_EQ(d.styles.size(), 1u);
}

}  // namespace
}  // namespace kv
