// libFuzzer target for the help tag language.
//
// Input: byte 0 and 1 give the wrap width (0..65535 pixels), byte 2 the scale
// (1 + b / 32, so 1.0 to 8.97) and byte 3 a second width for the re-wrap; the
// rest is the text. The text is parsed, laid out, laid out again at the second
// width, painted in slices and split into pages. Any crash or sanitizer
// report is a finding; so is a broken contract, which aborts:
//   - every segment lies inside the canvas rows and starts at or right of
//     the left margin;
//   - segments cover the text of their run and nothing else;
//   - the pages cover every segment exactly once.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "help/help_layout.h"
#include "help/help_paint.h"

namespace {

using namespace kv;

// Draws nothing; counts the text it is given.
class NullDevice : public Device {
 public:
  size_t text_bytes = 0;
  void set_pen(const Pen& p) override { pen_ = p; }
  Pen pen() const override { return pen_; }
  void set_brush(const Brush& b) override { brush_ = b; }
  Brush brush() const override { return brush_; }
  void set_clip_rect(const Rect&) override {}
  void clear_clip() override {}
  void set_origin(int x, int y) override { origin_ = {x, y}; }
  Point origin() const override { return origin_; }
  void line(int, int, int, int) override {}
  void polyline(const Point*, size_t) override {}
  void polygon(const Point*, size_t) override {}
  void rectangle(const Rect&) override {}
  void fill_rect(const Rect&, Colour) override {}
  void set_pixel(int, int, Colour) override {}
  void draw_strip(int, int, const Colour*, size_t, bool) override {}
  void select_font(const FontSpec&) override {}
  FontMetrics font_metrics() const override { return {14, 12, 2, 7}; }
  void set_text_colour(Colour) override {}
  void set_text_background(bool, Colour) override {}
  void draw_text(int, int, std::string_view text, TextAlign) override { text_bytes += text.size(); }
  TextExtent text_extent(std::string_view text) const override { return {7 * static_cast<int>(text.size()), 14}; }

 private:
  Pen pen_;
  Brush brush_;
  Point origin_;
};

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "contract broken: %s\n", what);
  std::abort();
}

void check(const HelpLayout& l) {
  const HelpDocument& d = l.document;
  for (const HelpSegment& s : l.segments) {
    if (s.x < l.margin) broken("segment left of the margin");
    if (s.y > l.canvas_height) broken("segment below the canvas");
    const HelpRun& r = d.runs[s.run];
    if (s.start < r.text_start || s.start + s.length > r.text_start + r.text_length) {
      broken("segment outside its run");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int width = data[0] | data[1] << 8;
  const double scale = 1.0 + data[2] / 32.0;
  const int second = data[3] * 8;
  const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);

  HelpLayout layout;
  layout.requested_width = width;
  layout.scale = scale;
  parse_help_text(layout, text);
  FixedWidthMeasurer measurer;
  layout_help(layout, measurer, 0, 100);
  check(layout);
  layout_help(layout, measurer, second, 300);
  check(layout);

  NullDevice device;
  const HelpColours colours;
  const int step = 97 * static_cast<int>(scale);
  for (int top = 0; top < layout.canvas_height && top < 40 * step; top += step) {
    paint_help(layout, device, {0, top, layout.canvas_width, top + step}, colours);
  }

  const auto pages = help_pages(layout, 400 * static_cast<int>(scale));
  size_t next = 0;
  for (const HelpPage& p : pages) {
    if (p.first != next || p.end < p.first) broken("pages leave a gap");
    next = p.end;
  }
  if (next != layout.segments.size()) broken("pages miss segments");
  paint_help_page(layout, pages, pages.size() - 1, device, 500, 400, colours);
  return 0;
}
