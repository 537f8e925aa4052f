#include "help/help_paint.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace kv {
namespace {

// Draws the segments [first, end) and their bullets, moved up by dy, keeping
// only those whose cell reaches into the rows [top, bottom).
void draw_segments(const HelpLayout& layout, Device& device, size_t first, size_t end, int dy,
                   int top, int bottom, const HelpColours& colours) {
  const HelpDocument& doc = layout.document;
  const std::string_view text = doc.text;
  auto bullet = std::lower_bound(layout.bullets.begin(), layout.bullets.end(), first,
                                 [](const HelpBullet& b, size_t i) { return b.segment < i; });
  device.set_text_background(false, colours.background);
  uint32_t selected = UINT32_MAX;
  for (size_t i = first; i < end; ++i) {
    const HelpSegment& s = layout.segments[i];
    const uint32_t style = doc.runs[s.run].style;
    const HelpFontMetrics& m = layout.fonts[style];
    const int64_t cell_top = int64_t{s.y} - m.font_height - dy;
    const bool visible = cell_top < bottom && cell_top + m.cell_height > top;
    for (; bullet != layout.bullets.end() && bullet->segment == i; ++bullet) {
      if (!visible) continue;
      const Colour c = help_ink_colour(doc.styles[bullet->style].ink, colours);
      device.fill_ellipse(bullet->x, bullet->y - dy, bullet->size, bullet->size, c);
    }
    if (!visible) continue;
    if (style != selected) {
      device.select_font(m.font);
      device.set_text_colour(help_ink_colour(doc.styles[style].ink, colours));
      selected = style;
    }
    device.draw_text(s.x, static_cast<int>(cell_top), text.substr(s.start, s.length), TextAlign::Left);
  }
}

}  // namespace

Colour help_ink_colour(HelpInk ink, const HelpColours& colours) {
  switch (ink) {
    case HelpInk::Red: return kHelpRed;
    case HelpInk::Link: return kHelpLink;
    default: return colours.text;
  }
}

void paint_help(const HelpLayout& layout, Device& device, const Rect& area, const HelpColours& colours) {
  device.fill_rect(area, colours.background);
  const HelpSegmentRange range = help_segments_in_rows(layout, area.top, area.bottom);
  draw_segments(layout, device, range.first, range.end, 0, area.top, area.bottom, colours);
}

int help_footer_space(double scale) {
  if (!std::isfinite(scale) || scale <= 0.0) scale = 1.0;
  return static_cast<int>(std::min(scale, 50.0) * 480) / 10;
}

std::vector<HelpPage> help_pages(const HelpLayout& layout, int page_height) {
  std::vector<HelpPage> pages;
  const size_t n = layout.segments.size();
  const int64_t bottom = int64_t{page_height} - help_footer_space(layout.scale);
  size_t i = 0;
  int64_t offset = 0;
  do {
    HelpPage page;
    page.first = i;
    page.offset = static_cast<int>(std::clamp<int64_t>(offset, INT32_MIN, INT32_MAX));
    for (; i < n; ++i) {
      const HelpSegment& s = layout.segments[i];
      const HelpFontMetrics& m = layout.fonts[layout.document.runs[s.run].style];
      const int64_t cell_bottom = int64_t{s.y} - m.font_height + m.cell_height - offset;
      if (cell_bottom > bottom && i > page.first) {
        offset = int64_t{s.y} - m.line_height - layout.margin;
        break;
      }
    }
    page.end = i;
    pages.push_back(page);
  } while (i < n);
  return pages;
}

HelpFooter help_page_footer(const HelpLayout& layout, int page_number, int page_width, int page_height) {
  HelpFooter f;
  f.font = layout.fonts.empty() ? FontSpec{"Verdana", kHelpBaseHeight} : layout.fonts[0].font;
  f.left = "Kurvaline";
  f.right = "Seite " + std::to_string(page_number);
  f.left_x = layout.margin;
  f.right_x = page_width - layout.margin;
  const int space = help_footer_space(layout.scale);
  f.y = page_height - space + (space - f.font.height) / 2;
  return f;
}

void paint_help_page(const HelpLayout& layout, const std::vector<HelpPage>& pages, size_t page_index,
                     Device& device, int page_width, int page_height, const HelpColours& colours) {
  device.fill_rect({0, 0, page_width, page_height}, colours.background);
  if (page_index >= pages.size()) return;
  const HelpPage& page = pages[page_index];
  draw_segments(layout, device, page.first, page.end, page.offset, INT32_MIN, INT32_MAX, colours);
  const HelpFooter f = help_page_footer(layout, static_cast<int>(page_index) + 1, page_width, page_height);
  device.select_font(f.font);
  device.set_text_colour(colours.text);
  device.draw_text(f.left_x, f.y, f.left, TextAlign::Left);
  device.draw_text(f.right_x, f.y, f.right, TextAlign::Right);
}

}  // namespace kv
