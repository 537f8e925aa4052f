// The help tag language, parsed: a text of Windows-1252 bytes becomes a list
// of runs (stretches of one style) and the words of their text.
//
// Tags have exactly the forms "<x>" and "</x>" with one lower-case letter x
// from the table below; every other "<" is ordinary text, and so is a tag
// form whose letter has no meaning (nothing the author typed disappears).
//
//   <b> bold   <i> italic   <c> red   <a> link (underlined, blue)   <s> small
//   <h> heading (Arial, 1.6 times the height, bold, with a break before it)
//   closing </b> </i> </c> </a> </s> </h> </l> return to the style before the
//   opening tag; a closing tag with nothing open keeps the base style.
//   <n> line break   </n> back up one line   <p> paragraph   <d> small gap
//   <t> </t> left margin one tab right / left   <l> </l> list item with bullet
//
// Parsing is one pass, linear in the length of the text; nesting depth and
// font heights are unbounded in the text and bounded here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class HelpFace : uint8_t { Verdana, Arial };
// Text: the viewer's text colour (the tooltip text colour on screen).
enum class HelpInk : uint8_t { Text, Red, Link };

inline constexpr int kHelpBaseHeight = 12;  // pixels at scale 1
// Repeated <h> or <s> tags would grow or shrink the font without end.
inline constexpr int kHelpMinHeight = 3;
inline constexpr int kHelpMaxHeight = 240;

struct HelpStyle {
  uint16_t height = kHelpBaseHeight;  // character height in pixels at scale 1
  HelpFace face = HelpFace::Verdana;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  HelpInk ink = HelpInk::Text;
  friend bool operator==(const HelpStyle&, const HelpStyle&) = default;
};

// One stretch of text in one style. Before its text the layout applies, in
// this order, the break (vertical movement in tenths of a line of this run's
// font; 0 none), the tab step and the list step (+1 starts a list item, -1
// ends the list item).
struct HelpRun {
  uint32_t text_start = 0, text_length = 0;  // in HelpDocument::text, tags excluded
  uint32_t first_word = 0, word_count = 0;   // in HelpDocument::words
  uint32_t style = 0;                        // index into HelpDocument::styles
  int16_t break_value = 0;
  int8_t tab_step = 0;
  int8_t list_step = 0;
};

// A word runs up to the next blank and includes its own leading blank.
struct HelpWord {
  uint32_t start = 0, length = 0;  // in HelpDocument::text
};

struct HelpDocument {
  std::string text;  // the source, tags included
  std::vector<HelpStyle> styles;  // each distinct style once; 0 is the base style
  std::vector<HelpRun> runs;
  std::vector<HelpWord> words;
};

// Texts up to this size are parsed; a longer one is refused whole.
inline constexpr size_t kHelpMaxTextSize = size_t{1} << 28;

// Parses the text into doc (replacing what it held). False, with an empty
// document, when the text is longer than kHelpMaxTextSize.
bool parse_help_document(HelpDocument& doc, std::string_view text);

}  // namespace kv
