// Text pieces of the graph that are more than one draw_text: tick labels with
// a power of ten and the pi unit, the pi glyph, and the integral sign with its
// limits.
//
// All texts are Windows-1252. A tick label marks its power of ten with the
// middle dot 0xB7: the text up to the dot and the two characters after it
// (the base "10") is written in the main font, the rest (the exponent) in the
// exponent font three pixels higher. The pi glyph is drawn from rectangles in
// the text colour, so that it looks the same in every font.
#pragma once

#include <string>
#include <string_view>

#include "graph/device.h"

namespace kv {

inline constexpr char kCp1252MiddleDot = '\xB7';

struct LabelParts {
  std::string_view base;      // main font
  std::string_view exponent;  // exponent font, raised; empty without a power
};

LabelParts split_label(std::string_view text);

struct LabelFonts {
  FontSpec main;
  FontSpec exponent;
};

// Width of the whole label (base, exponent and pi glyph) and the height of the
// main font's cell.
TextExtent measure_label(Device& d, std::string_view text, const LabelFonts& fonts, bool pi);

// Draws the label in colour c with its cell top at y, starting at x (Left) or
// ending at x (Right). Leaves the main font selected.
void draw_label(Device& d, int x, int y, TextAlign align, std::string_view text,
                const LabelFonts& fonts, bool pi, Colour c);

// Width the pi glyph takes after a text in a font with these metrics.
int pi_glyph_width(const FontMetrics& m, bool bold);
// Draws the glyph in colour c, its cell starting at (x, top).
void draw_pi_glyph(Device& d, int x, int top, const FontMetrics& m, bool bold, Colour c);

// The integral sign for the integral labels: a 14-point polyline scaled to
// the text height of text_font, drawn in colour c with a pen of width
// ((height + 5) / 10) * (factor + 1), the lower limit in limit_font at its
// lower end and "x" at its upper end. (x, top) is the top of the text line the
// sign stands in; the sign reaches three quarters of a line above and below
// it. Returns the column right of the sign. Leaves text_font selected.
int draw_integral_glyph(Device& d, int x, int top, std::string_view lower_limit,
                        const FontSpec& text_font, const FontSpec& limit_font, int factor,
                        Colour c);

}  // namespace kv
