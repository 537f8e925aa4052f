// Parser of the help tag language.
//
// Two flags decide how much space the breaking tags make: at-start (no text
// yet, so a break would only push the first line down) and just-broke (the
// last structural tag already made a paragraph or ended a heading, so the
// next heading or list item needs no break of its own).
#include "help/help_text.h"

#include <algorithm>
#include <unordered_map>

namespace kv {
namespace {

bool is_tag_letter(char c) {
  switch (c) {
    case 'a': case 'b': case 'c': case 'd': case 'h': case 'i':
    case 'l': case 'n': case 'p': case 's': case 't':
      return true;
    default:
      return false;
  }
}

// "<d>" and "<p>" have no closing form.
bool has_closing_form(char c) { return is_tag_letter(c) && c != 'd' && c != 'p'; }

uint16_t clamp_height(int h) {
  return static_cast<uint16_t>(std::clamp(h, kHelpMinHeight, kHelpMaxHeight));
}

uint32_t style_key(const HelpStyle& s) {
  return static_cast<uint32_t>(s.height) | static_cast<uint32_t>(s.face) << 16 |
         static_cast<uint32_t>(s.bold) << 17 | static_cast<uint32_t>(s.italic) << 18 |
         static_cast<uint32_t>(s.underline) << 19 | static_cast<uint32_t>(s.ink) << 20;
}

class Parser {
 public:
  explicit Parser(HelpDocument& doc) : doc_(doc) {
    stack_.push_back(intern(HelpStyle{}));
    current_.style = stack_.back();
  }

  void run() {
    const std::string& t = doc_.text;
    const size_t n = t.size();
    size_t i = 0;
    while (i < n) {
      if (t[i] != '<') {
        ++i;
        continue;
      }
      // "<x>" or "</x>"
      const bool closing = i + 1 < n && t[i + 1] == '/';
      const size_t letter = i + (closing ? 2 : 1);
      if (letter + 1 < n && t[letter + 1] == '>' &&
          (closing ? has_closing_form(t[letter]) : is_tag_letter(t[letter]))) {
        tag(t[letter], closing, i, letter + 2);
        i = letter + 2;
      } else {
        ++i;
      }
    }
    finish(static_cast<uint32_t>(n));
  }

 private:
  uint32_t intern(const HelpStyle& s) {
    auto [it, added] = index_.try_emplace(style_key(s), static_cast<uint32_t>(doc_.styles.size()));
    if (added) doc_.styles.push_back(s);
    return it->second;
  }

  const HelpStyle& style() const { return doc_.styles[stack_.back()]; }

  // Ends the current run at `end` and keeps it unless it does nothing at all.
  // A run begun by the same tag (a break before a new style) ends empty.
  void finish(uint32_t end) {
    HelpRun& r = current_;
    end = std::max(end, r.text_start);
    r.text_length = end - r.text_start;
    if (r.text_length == 0 && r.break_value == 0 && r.tab_step == 0 && r.list_step == 0) return;
    r.first_word = static_cast<uint32_t>(doc_.words.size());
    uint32_t word_start = r.text_start;
    for (uint32_t k = r.text_start + 1; k < end; ++k) {
      if (doc_.text[k] == ' ') {
        doc_.words.push_back({word_start, k - word_start});
        word_start = k;
      }
    }
    if (end > word_start) doc_.words.push_back({word_start, end - word_start});
    r.word_count = static_cast<uint32_t>(doc_.words.size()) - r.first_word;
    doc_.runs.push_back(r);
  }

  // Ends the current run at the tag and starts a new one after it.
  void begin(uint32_t tag_start, uint32_t after, int break_value, int tab, int list) {
    finish(tag_start);
    current_ = HelpRun{};
    current_.text_start = after;
    current_.style = stack_.back();
    current_.break_value = static_cast<int16_t>(break_value);
    current_.tab_step = static_cast<int8_t>(tab);
    current_.list_step = static_cast<int8_t>(list);
  }

  void open(const HelpStyle& s) { stack_.push_back(intern(s)); }
  void close() {
    if (stack_.size() > 1) stack_.pop_back();
  }

  void tag(char c, bool closing, size_t tag_start, size_t after) {
    const auto at = static_cast<uint32_t>(tag_start);
    const auto next = static_cast<uint32_t>(after);
    if (at > current_.text_start) {
      at_start_ = false;
      just_broke_ = false;
    }
    HelpStyle s = style();
    if (closing) {
      switch (c) {
        case 'h':
          begin(at, next, 10, 0, 0);
          close();
          begin(at, next, 0, 0, 0);
          just_broke_ = true;
          return;
        case 'n':
          begin(at, next, at_start_ ? 0 : -10, 0, 0);
          return;
        case 't':
          begin(at, next, 0, -1, 0);
          return;
        case 'l':
          begin(at, next, 10, 0, 0);
          close();
          begin(at, next, 0, 0, -1);
          just_broke_ = true;
          return;
        default:  // b, i, c, a, s
          close();
          begin(at, next, 0, 0, 0);
          return;
      }
    }
    switch (c) {
      case 'b': s.bold = true; break;
      case 'i': s.italic = true; break;
      case 'c': s.ink = HelpInk::Red; break;
      case 'a':
        s.underline = true;
        s.ink = HelpInk::Link;
        break;
      case 's':
        s.face = HelpFace::Verdana;
        s.height = clamp_height(s.height * 110 / 120);
        break;
      case 'h':
        s.face = HelpFace::Arial;
        s.height = clamp_height(s.height * 160 / 100);
        s.bold = true;
        if (!at_start_ && !just_broke_) {
          // The break is measured in the heading's own line height.
          stack_.push_back(intern(s));
          begin(at, next, 10, 0, 0);
          stack_.pop_back();
        }
        break;
      case 'n':
        begin(at, next, at_start_ ? 0 : 10, 0, 0);
        return;
      case 'p':
        begin(at, next, at_start_ ? 0 : just_broke_ ? 30 : 40, 0, 0);
        just_broke_ = true;
        return;
      case 'd':
        begin(at, next, at_start_ || just_broke_ ? 0 : 5, 0, 0);
        just_broke_ = false;
        return;
      case 't':
        begin(at, next, 0, 1, 0);
        return;
      case 'l':
        if (!just_broke_) begin(at, next, 10, 0, 0);
        open(s);
        begin(at, next, 0, 0, 1);
        just_broke_ = false;
        return;
      default:
        return;
    }
    open(s);
    begin(at, next, 0, 0, 0);
  }

  HelpDocument& doc_;
  std::unordered_map<uint32_t, uint32_t> index_;
  std::vector<uint32_t> stack_;  // style of every open tag; the base style at the bottom
  HelpRun current_;
  bool at_start_ = true;
  bool just_broke_ = false;
};

}  // namespace

bool parse_help_document(HelpDocument& doc, std::string_view text) {
  doc = HelpDocument{};
  if (text.size() > kHelpMaxTextSize) {
    doc.styles.push_back(HelpStyle{});
    return false;
  }
  doc.text.assign(text);
  Parser parser(doc);
  parser.run();
  return true;
}

}  // namespace kv
