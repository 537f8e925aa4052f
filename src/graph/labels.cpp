// Tick labels, the pi glyph and the integral sign; see the header.
#include "graph/labels.h"

#include <algorithm>

#include "graph/primitives.h"

namespace kv {

namespace {

// Raise of the exponent above the main text, in pixels.
constexpr int kExponentRaise = 3;

struct LabelWidths {
  int base = 0, exponent = 0, pi = 0, height = 0;
  int total() const { return base + exponent + pi; }
};

LabelWidths label_widths(Device& d, const LabelParts& parts, const LabelFonts& fonts, bool pi) {
  LabelWidths w;
  if (!parts.exponent.empty()) {
    d.select_font(fonts.exponent);
    w.exponent = d.text_extent(parts.exponent).width;
  }
  d.select_font(fonts.main);
  const TextExtent base = d.text_extent(parts.base);
  w.base = base.width;
  w.height = base.height;
  if (pi) w.pi = pi_glyph_width(d.font_metrics(), fonts.main.bold);
  return w;
}

// The integral sign in units of 1/80 of the text height, centred on (0, 0),
// y growing downwards: the lower hook on the left, the upper on the right.
constexpr Point kIntegralTemplate[14] = {
    {-40, 76}, {-40, 92}, {-33, 100}, {-18, 100}, {-12, 90}, {-5, 70}, {0, 30},
    {0, -30},  {5, -70},  {12, -90},  {18, -100}, {33, -100}, {40, -92}, {40, -76},
};

}  // namespace

LabelParts split_label(std::string_view text) {
  const size_t dot = text.find(kCp1252MiddleDot);
  if (dot == std::string_view::npos) return {text, {}};
  const size_t cut = std::min(text.size(), dot + 3);
  return {text.substr(0, cut), text.substr(cut)};
}

TextExtent measure_label(Device& d, std::string_view text, const LabelFonts& fonts, bool pi) {
  const LabelWidths w = label_widths(d, split_label(text), fonts, pi);
  return {w.total(), w.height};
}

void draw_label(Device& d, int x, int y, TextAlign align, std::string_view text,
                const LabelFonts& fonts, bool pi, Colour c) {
  const LabelParts parts = split_label(text);
  const LabelWidths w = label_widths(d, parts, fonts, pi);
  const int left = align == TextAlign::Right ? x - w.total() : x;
  d.set_text_colour(c);
  if (!parts.exponent.empty()) {
    d.select_font(fonts.exponent);
    d.draw_text(left + w.base, y - kExponentRaise, parts.exponent, TextAlign::Left);
    d.select_font(fonts.main);
  }
  d.draw_text(left, y, parts.base, TextAlign::Left);
  if (pi) draw_pi_glyph(d, left + w.base + w.exponent, y, d.font_metrics(), fonts.main.bold, c);
}

// The glyph stands on the baseline and is as tall as a lower-case letter,
// about 0.6 of the ascent; one pixel of space on either side.
int pi_glyph_width(const FontMetrics& m, bool bold) {
  const int xh = std::max(4, (m.ascent * 6 + 5) / 10);
  return xh + 2 + (bold ? 1 : 0) + 1;
}

void draw_pi_glyph(Device& d, int x, int top, const FontMetrics& m, bool bold, Colour c) {
  const int xh = std::max(4, (m.ascent * 6 + 5) / 10);
  const int t = bold ? 2 : 1;  // stroke
  const int width = xh + 1 + (bold ? 1 : 0);
  const int base = top + m.ascent;  // first row below the glyph
  const int bar = base - xh;
  const int left = x + 1;
  // Bar, with the left end slightly drooping as in a written pi.
  filled_box(d, left + 1, bar, width - 1, t, c);
  filled_box(d, left, bar + 1, 1, t, c);
  // Left leg: leaning, its lower half one pixel further left.
  const int leg_top = bar + t;
  const int leg_height = base - leg_top;
  const int lx = left + width / 4 + 1;
  filled_box(d, lx, leg_top, t, leg_height / 2, c);
  filled_box(d, lx - 1, leg_top + leg_height / 2, t, leg_height - leg_height / 2, c);
  // Right leg: upright, with a foot to the right.
  const int rx = left + (width * 3) / 4;
  filled_box(d, rx, leg_top, t, leg_height - 1, c);
  filled_box(d, rx + 1, base - 1, t, 1, c);
}

int draw_integral_glyph(Device& d, int x, int top, std::string_view lower_limit,
                        const FontSpec& text_font, const FontSpec& limit_font, int factor,
                        Colour c) {
  d.select_font(text_font);
  const int h = d.text_extent("\xC4q").height;
  const int half_width = (40 * h) / 80;
  const int cx = x + half_width;
  const int cy = top + h / 2;
  Point points[14];
  for (int i = 0; i < 14; ++i) {
    points[i] = {cx + kIntegralTemplate[i].x * h / 80, cy + kIntegralTemplate[i].y * h / 80};
  }
  {
    PenScope pen(d, Pen{c, ((h + 5) / 10) * (factor + 1), PenStyle::Solid});
    d.polyline(points, 14);
  }
  const int reach = (100 * h) / 80;  // half height of the sign
  d.set_text_colour(c);
  d.select_font(limit_font);
  const int limit_height = d.text_extent("x").height;
  // The limits sit right of the sign's ends, centred on them.
  d.draw_text(cx + half_width / 2 + 2, cy + reach - limit_height / 2, lower_limit, TextAlign::Left);
  d.draw_text(cx + half_width + 2, cy - reach - limit_height / 2, "x", TextAlign::Left);
  d.select_font(text_font);
  return cx + half_width + 1;
}

}  // namespace kv
