// Layout of a parsed help text: word wrapping into line segments on a canvas.
//
// The window owns one HelpLayout: parse_help_text once, then layout_help
// whenever the client width changes (only the wrapping is redone: the words
// are measured once per scale), then paint_help for the visible part.
// Printing uses a second HelpLayout at the printer's scale.
//
// Coordinates are canvas pixels. A segment's y is the bottom reference of its
// line: its text is drawn with the top of the cell at y - font height.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "graph/device.h"
#include "help/help_text.h"
#include "help/text_measurer.h"

namespace kv {

// Screen wrap widths of the two help windows.
inline constexpr int kFullHelpWidth = 460;
inline constexpr int kQuickReferenceWidth = 400;

// Coordinates are kept within this magnitude, whatever the text asks for.
inline constexpr int kHelpCoordinateLimit = 1 << 30;

// One style of the document at the layout's scale.
struct HelpFontMetrics {
  FontSpec font;
  int font_height = 0;  // the positive pixel height of the font
  int cell_height = 0;  // height of the text "Äg"
  int line_height = 0;  // cell_height / 8 + cell_height rounded down to even
  int space_width = 0;
};

// A wrapped piece of one run, all on one line.
struct HelpSegment {
  uint32_t start = 0, length = 0;  // in the document's text
  uint32_t run = 0;
  int32_t x = 0, y = 0;
};

// The bullet of a list item, drawn with the first segment after the list
// item starts; box of size x size pixels.
struct HelpBullet {
  uint32_t segment = 0;
  uint32_t style = 0;
  int32_t x = 0, y = 0, size = 0;
};

struct HelpLayout {
  // Set by the caller before layout_help.
  double scale = 1.0;  // 1 on screen; printer pixels per screen pixel when printing
  int requested_width = kFullHelpWidth;  // wrap width at scale 1

  HelpDocument document;  // built by parse_help_text

  // Results of layout_help.
  int margin = 0;        // left, top and right
  int tab_width = 0;     // 15 average characters of the base font
  int layout_width = 0;  // requested width at the scale
  int canvas_width = 0, canvas_height = 0;
  std::vector<HelpFontMetrics> fonts;  // per style of the document
  std::vector<HelpSegment> segments;   // in text order
  std::vector<HelpBullet> bullets;     // in segment order
  // For painting a slice: reach_down[i] is the lowest cell bottom of the
  // segments 0..i, reach_up[i] the highest cell top of the segments i..end.
  std::vector<int32_t> reach_down, reach_up;

  // Word widths, measured once per document and scale.
  std::vector<int32_t> word_widths;
  double measured_scale = 0.0;
  bool measured = false;
};

// Parses the text (Windows-1252 bytes) into the layout's document and clears
// all layout results. False when the text is too long (kHelpMaxTextSize).
bool parse_help_text(HelpLayout& layout, std::string_view text);

// Wraps the document for a client area of the given size: the canvas is at
// least the client area and at least the requested width at the scale; text
// wraps at the canvas width less the margins, and a word too long for an
// empty line stays whole and widens the canvas.
void layout_help(HelpLayout& layout, TextMeasurer& measurer, int client_width, int client_height);

// The fonts behind the measurer changed: measure again at the next layout.
inline void forget_help_measurements(HelpLayout& layout) { layout.measured = false; }

// The segment range [first, end) that can reach into the rows [top, bottom).
struct HelpSegmentRange {
  size_t first = 0, end = 0;
};
HelpSegmentRange help_segments_in_rows(const HelpLayout& layout, int top, int bottom);

}  // namespace kv
