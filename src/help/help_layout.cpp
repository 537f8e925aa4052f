// Word wrapping of the help runs.
//
// Positions are computed in 64 bits and clamped when stored, so that no text,
// however many lines or tabs it asks for, overflows.
#include "help/help_layout.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace kv {
namespace {

// Deeper tab or list nesting than this moves the margin no further.
constexpr int kMaxIndentSteps = 64;

int32_t clamp_coordinate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, -kHelpCoordinateLimit, kHelpCoordinateLimit));
}

double usable_scale(double scale) {
  if (!std::isfinite(scale) || scale <= 0.0) return 1.0;
  return std::clamp(scale, 0.05, 50.0);
}

FontSpec font_for(const HelpStyle& s, double scale) {
  FontSpec f;
  f.face = s.face == HelpFace::Arial ? "Arial" : "Verdana";
  f.height = std::max(1, static_cast<int>(std::lround(s.height * scale)));
  f.bold = s.bold;
  f.italic = s.italic;
  f.underline = s.underline;
  return f;
}

// The distinct words of one style, in the order first met.
struct StyleWords {
  std::unordered_map<std::string_view, uint32_t> slot;  // word -> index into words
  std::vector<std::string_view> words;
  std::vector<int32_t> widths;
};

void measure(HelpLayout& layout, TextMeasurer& measurer, double scale) {
  const HelpDocument& doc = layout.document;
  layout.fonts.clear();
  for (const HelpStyle& s : doc.styles) {
    HelpFontMetrics m;
    m.font = font_for(s, scale);
    m.font_height = m.font.height;
    m.cell_height = std::max(1, measurer.extent(m.font, "\xC4g").height);
    m.line_height = std::max(1, m.cell_height / 8 + (m.cell_height & ~1));
    m.space_width = std::max(0, measurer.extent(m.font, " ").width);
    layout.fonts.push_back(m);
  }
  // A real font measures slowly, and most words of a text recur: each
  // distinct word is measured once per style. The styles alternate from run
  // to run, so the words are gathered first and measured style by style,
  // which changes the device's font once per style instead of once per run.
  // Until the words are measured, word_widths holds each word's index among
  // the distinct words of its style.
  const std::string_view text = doc.text;
  std::vector<StyleWords> styles(doc.styles.size());
  std::vector<int32_t>& slots = layout.word_widths;
  slots.assign(doc.words.size(), 0);
  for (const HelpRun& r : doc.runs) {
    StyleWords& known = styles[r.style];
    for (uint32_t w = r.first_word; w < r.first_word + r.word_count; ++w) {
      const std::string_view word = text.substr(doc.words[w].start, doc.words[w].length);
      auto [it, added] = known.slot.try_emplace(word, static_cast<uint32_t>(known.words.size()));
      if (added) known.words.push_back(word);
      slots[w] = static_cast<int32_t>(it->second);
    }
  }
  for (size_t s = 0; s < styles.size(); ++s) {
    StyleWords& known = styles[s];
    known.widths.reserve(known.words.size());
    for (std::string_view word : known.words) {
      known.widths.push_back(std::max(0, measurer.extent(layout.fonts[s].font, word).width));
    }
  }
  for (const HelpRun& r : doc.runs) {
    const std::vector<int32_t>& widths = styles[r.style].widths;
    for (uint32_t w = r.first_word; w < r.first_word + r.word_count; ++w) {
      slots[w] = widths[static_cast<size_t>(slots[w])];
    }
  }
  const FontSpec base = font_for(HelpStyle{}, scale);
  layout.tab_width = 15 * std::max(0, measurer.average_char_width(base));
  layout.measured_scale = scale;
  layout.measured = true;
}

// The moving state of one layout pass.
struct WrapState {
  int64_t left = 0, right = 0;
  int64_t x = 0, y = 0;
  int64_t lowest = INT64_MIN;   // remembered at each backward break
  int64_t first_line = 0;       // y of the first line; nothing goes above it
  int64_t deepest = 0;          // lowest y any segment got
  bool placed_any = false;
  bool line_empty = true;
  bool segment_open = false;
  bool bullet_pending = false;
  uint32_t bullet_style = 0;
  int tab_level = 0;
  std::vector<int64_t> list_indents;
};

class Wrapper {
 public:
  Wrapper(HelpLayout& layout, int64_t left, int64_t right) : layout_(layout), doc_(layout.document) {
    pen_.left = left;
    pen_.right = right;
    pen_.x = left;
    pen_.y = layout.margin;
  }

  void run(uint32_t index) {
    const HelpRun& r = doc_.runs[index];
    const HelpFontMetrics& m = layout_.fonts[r.style];
    pen_.segment_open = false;
    if (r.break_value != 0) vertical_break(r.break_value, m.line_height);
    if (r.tab_step != 0) tab(r.tab_step);
    if (r.list_step > 0) list_start(r.style, m.line_height);
    if (r.list_step < 0) list_end();
    for (uint32_t w = r.first_word; w < r.first_word + r.word_count; ++w) word(index, w, m);
  }

  const WrapState& pen() const { return pen_; }

 private:
  void vertical_break(int value, int line_height) {
    const int64_t move = static_cast<int64_t>(line_height) * value / 10;
    if (value < 0) {
      pen_.lowest = std::max(pen_.lowest, pen_.y);
      pen_.y = std::max(pen_.y + move, pen_.placed_any ? pen_.first_line : int64_t{pen_.y});
    } else {
      pen_.y = (pen_.y < pen_.lowest ? pen_.lowest : pen_.y) + move;
    }
    pen_.x = pen_.left;
    pen_.line_empty = true;
  }

  void tab(int step) {
    const int64_t w = layout_.tab_width;
    if (step > 0) {
      if (pen_.tab_level >= 0 && pen_.tab_level < kMaxIndentSteps) shift(w);
      ++pen_.tab_level;
    } else {
      --pen_.tab_level;
      if (pen_.tab_level >= 0 && pen_.tab_level < kMaxIndentSteps) shift(-w);
    }
  }

  void list_start(uint32_t style, int line_height) {
    const int64_t indent = pen_.list_indents.size() < kMaxIndentSteps ? line_height : 0;
    pen_.list_indents.push_back(indent);
    shift(indent);
    pen_.y += (line_height + 2) / 4;
    pen_.bullet_pending = true;
    pen_.bullet_style = style;
  }

  void list_end() {
    if (pen_.list_indents.empty()) return;
    shift(-pen_.list_indents.back());
    pen_.list_indents.pop_back();
  }

  void shift(int64_t dx) {
    pen_.left += dx;
    pen_.x += dx;
  }

  // A run may begin inside a word: "<b>y(x0)</b>, " gives a word ", ". A
  // closing mark there belongs to the text before it and never starts a line;
  // it is narrow, so the line overshoots its limit by little.
  static bool clings(char c) {
    switch (c) {
      case ',': case '.': case ';': case ':': case '!': case '?': case ')':
      case '\x93':  // the German closing quotation mark in Windows-1252
        return true;
      default:
        return false;
    }
  }

  void word(uint32_t run, uint32_t index, const HelpFontMetrics& m) {
    const HelpWord& w = doc_.words[index];
    uint32_t start = w.start, length = w.length;
    int64_t width = layout_.word_widths[index];
    if (!pen_.line_empty && pen_.x + width > pen_.right && !clings(doc_.text[start])) {
      pen_.y += m.line_height;
      pen_.x = pen_.left;
      pen_.line_empty = true;
      pen_.segment_open = false;
      if (doc_.text[start] == ' ') {
        ++start;
        --length;
        width = std::max<int64_t>(0, width - m.space_width);
      }
      if (length == 0) return;
    }
    if (!pen_.placed_any) {
      pen_.y = std::max<int64_t>(pen_.y, layout_.margin + m.line_height);
      pen_.first_line = pen_.y;
      pen_.placed_any = true;
    }
    if (pen_.line_empty && pen_.x + width > pen_.right) pen_.right = pen_.x + width;
    if (pen_.segment_open) {
      layout_.segments.back().length += length;
    } else {
      layout_.segments.push_back({start, length, run, clamp_coordinate(pen_.x), clamp_coordinate(pen_.y)});
      pen_.segment_open = true;
      if (pen_.bullet_pending) bullet(m);
    }
    pen_.deepest = std::max(pen_.deepest, pen_.y);
    pen_.x += width;
    pen_.line_empty = false;
  }

  void bullet(const HelpFontMetrics& text) {
    const HelpFontMetrics& m = layout_.fonts[pen_.bullet_style];
    const int size = (m.font_height + 3) / 3;
    const HelpSegment& s = layout_.segments.back();
    const int64_t top = static_cast<int64_t>(s.y) - text.font_height + (text.cell_height - size) / 2;
    layout_.bullets.push_back({static_cast<uint32_t>(layout_.segments.size() - 1), pen_.bullet_style,
                               clamp_coordinate(s.x - static_cast<int64_t>(m.line_height)),
                               clamp_coordinate(top), size});
    pen_.bullet_pending = false;
  }

  HelpLayout& layout_;
  const HelpDocument& doc_;
  WrapState pen_;
};

void index_rows(HelpLayout& layout) {
  const size_t n = layout.segments.size();
  layout.reach_down.resize(n);
  layout.reach_up.resize(n);
  int32_t down = INT32_MIN;
  for (size_t i = 0; i < n; ++i) {
    const HelpSegment& s = layout.segments[i];
    const HelpFontMetrics& m = layout.fonts[layout.document.runs[s.run].style];
    down = std::max(down, clamp_coordinate(int64_t{s.y} - m.font_height + m.cell_height));
    layout.reach_down[i] = down;
  }
  int32_t up = INT32_MAX;
  for (size_t i = n; i-- > 0;) {
    const HelpSegment& s = layout.segments[i];
    const HelpFontMetrics& m = layout.fonts[layout.document.runs[s.run].style];
    up = std::min(up, clamp_coordinate(int64_t{s.y} - m.font_height));
    layout.reach_up[i] = up;
  }
}

}  // namespace

bool parse_help_text(HelpLayout& layout, std::string_view text) {
  const bool ok = parse_help_document(layout.document, text);
  layout.measured = false;
  layout.fonts.clear();
  layout.segments.clear();
  layout.bullets.clear();
  layout.reach_down.clear();
  layout.reach_up.clear();
  layout.word_widths.clear();
  layout.canvas_width = layout.canvas_height = 0;
  return ok;
}

void layout_help(HelpLayout& layout, TextMeasurer& measurer, int client_width, int client_height) {
  const double scale = usable_scale(layout.scale);
  if (!layout.measured || layout.measured_scale != scale ||
      layout.word_widths.size() != layout.document.words.size() ||
      layout.fonts.size() != layout.document.styles.size()) {
    measure(layout, measurer, scale);
  }
  layout.margin = static_cast<int>(scale * 100) / 10;
  const double wanted = std::max(0, layout.requested_width) * scale * 1.00001;
  layout.layout_width = static_cast<int>(std::min<double>(wanted, kHelpCoordinateLimit));
  const int64_t canvas = std::max({int64_t{client_width}, int64_t{layout.layout_width}, int64_t{0}});
  layout.segments.clear();
  layout.bullets.clear();

  Wrapper wrapper(layout, layout.margin, canvas - layout.margin);
  for (uint32_t r = 0; r < layout.document.runs.size(); ++r) wrapper.run(r);

  const WrapState& pen = wrapper.pen();
  layout.canvas_width = clamp_coordinate(std::max(canvas, pen.right + layout.margin));
  const int64_t bottom = std::max({pen.y, pen.lowest, pen.deepest}) + layout.margin;
  layout.canvas_height = clamp_coordinate(std::max<int64_t>(client_height, bottom));
  index_rows(layout);
}

HelpSegmentRange help_segments_in_rows(const HelpLayout& layout, int top, int bottom) {
  const auto& down = layout.reach_down;
  const auto& up = layout.reach_up;
  // Both arrays are monotonic: reach_down rises, reach_up rises too.
  const size_t first = static_cast<size_t>(
      std::upper_bound(down.begin(), down.end(), top) - down.begin());
  const size_t end = static_cast<size_t>(
      std::lower_bound(up.begin(), up.end(), bottom) - up.begin());
  return {first, std::max(first, end)};
}

}  // namespace kv
