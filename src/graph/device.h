// The drawing surface every painter of the graph engine draws on.
//
// A Device has a current pen, brush, font, text colour, text background, clip
// rectangle and origin. All coordinates are in device pixels relative to
// the current origin; rectangles are half open (right and bottom are not
// painted). Back ends: the screen and
// off-screen picture (QPainter), printer pages, vector metafiles and the
// recording device of the tests.
//
// Text is Windows-1252 bytes. Colours are 0x00RRGGBB.
//
// The interface is abstract so that the core needs no drawing library; the few
// operations with an obvious generic form (filled ellipse) carry a default
// implementation built on the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kv {

using Colour = uint32_t;  // 0x00RRGGBB

inline constexpr int colour_red(Colour c) { return static_cast<int>((c >> 16) & 0xff); }
inline constexpr int colour_green(Colour c) { return static_cast<int>((c >> 8) & 0xff); }
inline constexpr int colour_blue(Colour c) { return static_cast<int>(c & 0xff); }
inline constexpr Colour make_colour(int r, int g, int b) {
  return (static_cast<Colour>(r & 0xff) << 16) | (static_cast<Colour>(g & 0xff) << 8) |
         static_cast<Colour>(b & 0xff);
}

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle of pixels on a device or in a window, half open: (left, top)
// is inside, (right, bottom) is not. The plot has its own PlotRect
// (graph/view.h), whose right and bottom column and row belong to it.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle : uint8_t { Solid, Null };

struct Pen {
  Colour colour = 0;
  int width = 1;  // pixels; 0 and 1 both draw one pixel wide
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// HatchBackwardDiagonal: thin lines from lower left to upper right spaced 8
// pixels apart, background transparent.
enum class BrushStyle : uint8_t { Solid, HatchBackwardDiagonal, Null };

struct Brush {
  Colour colour = 0;
  BrushStyle style = BrushStyle::Solid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

// A font request. Height is the character height in pixels, without the
// internal leading. Escapement in tenths of a degree counter-clockwise: 2700 writes
// downwards. Italic and underlined text is used by the help texts only.
struct FontSpec {
  const char* face = "Verdana";
  int height = 11;
  bool bold = false;
  int escapement = 0;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontSpec& a, const FontSpec& b) {
    return std::string_view(a.face) == std::string_view(b.face) && a.height == b.height &&
           a.bold == b.bold && a.escapement == b.escapement && a.italic == b.italic &&
           a.underline == b.underline;
  }
};

// The five fonts of the graph, numbered 1 to 5: 1 formula labels and the input
// hint, 2 the lower limit of integral labels, 3 tick labels, 4 exponents of
// tick labels, 5 axis titles. Bold when LineWidth - (1 on palette 2) > 1.
inline FontSpec graph_font(int index, int line_width, int palette) {
  const bool bold = line_width - (palette == 2 ? 1 : 0) > 1;
  switch (index) {
    case 1: return {"Verdana", 11, bold, 0};
    case 2: return {"Verdana", 10, bold, 0};
    case 3: return {"Arial", 12, bold, 0};
    case 4: return {"Verdana", 10, bold, 0};
    default: return {"Verdana", 12, bold, 0};
  }
}

struct TextExtent {
  int width = 0, height = 0;
};

struct FontMetrics {
  int height = 0;   // ascent + descent
  int ascent = 0;
  int descent = 0;
  int average_width = 0;
};

// Horizontal reference of draw_text; the y coordinate is always the top of the
// text cell. Text is never clipped to a box.
enum class TextAlign : uint8_t { Left, Right, Center };

class Device {
 public:
  virtual ~Device() = default;

  // --- State -----------------------------------------------------------------
  virtual void set_pen(const Pen& pen) = 0;
  virtual Pen pen() const = 0;
  virtual void set_brush(const Brush& brush) = 0;
  virtual Brush brush() const = 0;

  // Clip to a rectangle in current coordinates; clear_clip removes any clip.
  virtual void set_clip_rect(const Rect& r) = 0;
  virtual void clear_clip() = 0;

  // Origin: device point that coordinate (0, 0) addresses (viewport offset).
  virtual void set_origin(int x, int y) = 0;
  virtual Point origin() const = 0;

  // --- Shapes ----------------------------------------------------------------
  // Line with the current pen from (x1, y1) towards (x2, y2); the end pixel is
  // not set, so that joined lines set each pixel once.
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Connected lines through n points with the current pen; the last pixel is
  // not set.
  virtual void polyline(const Point* points, size_t n) = 0;
  // Closed polygon: interior with the current brush, outline with the pen.
  virtual void polygon(const Point* points, size_t n) = 0;
  // Outline with the pen, interior with the brush; the
  // rectangle covers left..right-1, top..bottom-1.
  virtual void rectangle(const Rect& r) = 0;
  // Solid fill of r without outline, independent of pen and brush.
  virtual void fill_rect(const Rect& r, Colour c) = 0;
  virtual void set_pixel(int x, int y, Colour c) = 0;
  // Solid fill of r given in parts of 1/scale pixel (device pixels of a
  // high-density picture). Back ends without finer pixels fill the pixels
  // the rectangle touches.
  virtual void fill_fine_rect(const Rect& r, int scale, Colour c) {
    if (scale <= 1) return fill_rect(r, c);
    auto down = [scale](int v) { return v >= 0 ? v / scale : -((-v + scale - 1) / scale); };
    auto up = [&down, scale](int v) { return down(v + scale - 1); };
    fill_rect({down(r.left), down(r.top), up(r.right), up(r.bottom)}, c);
  }
  // Filled ellipse inscribed in the box (x, y, x + width, y + height), drawn
  // as a midpoint scan of filled rows so that small discs look the same on
  // every back end. The default implementation uses fill_rect.
  virtual void fill_ellipse(int x, int y, int width, int height, Colour c);

  // Copies a one pixel thick strip of 24-bit pixels to (x, y), running right
  // (vertical false) or down (vertical true). Back ends that cannot take
  // bitmaps draw it pixel by pixel.
  virtual void draw_strip(int x, int y, const Colour* pixels, size_t length, bool vertical) = 0;
  // The same vertical strip from row y in each of count columns, as count
  // calls of draw_strip would draw it. Back ends that write pixel memory go
  // row by row instead of down one column after the other.
  virtual void draw_column_strips(const int* columns, size_t count, int y, const Colour* pixels,
                                  size_t length) {
    for (size_t k = 0; k < count; ++k) draw_strip(columns[k], y, pixels, length, true);
  }

  // --- Text ------------------------------------------------------------------
  virtual void select_font(const FontSpec& font) = 0;
  virtual FontMetrics font_metrics() const = 0;
  virtual void set_text_colour(Colour c) = 0;
  // Opaque: the text cell is first filled with the colour; otherwise transparent.
  virtual void set_text_background(bool opaque, Colour c) = 0;
  virtual void draw_text(int x, int y, std::string_view text, TextAlign align) = 0;
  virtual TextExtent text_extent(std::string_view text) const = 0;

  // --- Dotted lines ------------------------------------------------------------
  // One-pixel dots of colour c at offsets k = extent, extent - spacing, ...
  // >= 0 from (x, y), along the row (vertical false) or the column. Vector
  // back ends may record them as one dashed line instead of single dots.
  virtual void dotted_line(int x, int y, int extent, int spacing, bool vertical, Colour c) {
    if (spacing < 1) spacing = 1;
    for (int k = extent; k >= 0; k -= spacing) {
      if (vertical) {
        set_pixel(x, y + k, c);
      } else {
        set_pixel(x + k, y, c);
      }
    }
  }
};

// Selects a pen for the lifetime of the object and restores the previous one.
class PenScope {
 public:
  PenScope(Device& d, const Pen& p) : device_(d), saved_(d.pen()) { d.set_pen(p); }
  ~PenScope() { device_.set_pen(saved_); }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  Device& device_;
  Pen saved_;
};

}  // namespace kv
