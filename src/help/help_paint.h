// Painting a laid-out help text through a drawing device: a slice of the
// canvas for the window, whole pages with their footer for the printer.
#pragma once

#include <string>
#include <vector>

#include "graph/device.h"
#include "help/help_layout.h"

namespace kv {

// The two colours that come from the system; red and link blue are fixed.
struct HelpColours {
  Colour text = 0x000000;
  Colour background = 0xffffff;
};

inline constexpr Colour kHelpRed = 0xCC0000;   // RGB(204, 0, 0)
inline constexpr Colour kHelpLink = 0x0000DD;  // RGB(0, 0, 221)

Colour help_ink_colour(HelpInk ink, const HelpColours& colours);

// Fills `area` (canvas coordinates) with the background and draws every
// bullet and segment reaching into it. The caller sets the device origin so
// that canvas coordinates land where they belong (minus the scroll position
// in the window).
void paint_help(const HelpLayout& layout, Device& device, const Rect& area, const HelpColours& colours);

// --- Printing ----------------------------------------------------------------

// One printed page: the segments [first, end), moved up by offset pixels.
struct HelpPage {
  size_t first = 0, end = 0;
  int offset = 0;
};

// Room kept free for the footer at the bottom of each page, at the scale.
int help_footer_space(double scale);

// Splits a layout made at the printer's scale into pages of the given height:
// a page ends before the first segment whose cell would reach into the footer
// room, and the next page starts with that segment's line at the top margin.
// Every page takes at least one segment, so a line taller than a page cannot
// stall the printing; an empty text still gives one page.
std::vector<HelpPage> help_pages(const HelpLayout& layout, int page_height);

// The footer of page number (counted from 1): "Kurvaline" at the left margin
// and "Seite n" right-aligned at the right margin, in the base font, centred
// in the footer room. y is the top of the text cell.
struct HelpFooter {
  std::string left, right;
  int left_x = 0, right_x = 0, y = 0;
  FontSpec font;
};
HelpFooter help_page_footer(const HelpLayout& layout, int page_number, int page_width, int page_height);

// Paints page page_index of pages (white or whatever the colours say) onto a
// page of the given size, footer included.
void paint_help_page(const HelpLayout& layout, const std::vector<HelpPage>& pages, size_t page_index,
                     Device& device, int page_width, int page_height, const HelpColours& colours);

}  // namespace kv
