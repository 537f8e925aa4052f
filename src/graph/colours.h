// The three colour schemes of the graph and the panel colour table.
//
// Each scheme has 20 colours: entry 0 the background, 1 and 2 the text and
// lines of the coordinate system, 3 the grid, 4 the subgrid, 5 the integral
// curve and first curve colour, 5..19 the fifteen curve colours. The schemes
// are stored column-interleaved (colour j of scheme p at 3 * j + p), as the
// picture export and document files expect the same numbering.
//
// A table built for a device with fewer than 24 bits per pixel holds the
// device's nearest colours instead of the exact ones.
#pragma once

#include <array>

#include "graph/device.h"

namespace kv {

inline constexpr int kColourCount = 20;
inline constexpr int kFirstCurveColour = 5;
inline constexpr int kCurveColourCount = kColourCount - kFirstCurveColour;
inline constexpr int kPaletteCount = 3;

enum ColourEntry : int {
  kColourBackground = 0,
  kColourText = 1,
  kColourAxes = 2,
  kColourGrid = 3,
  kColourSubGrid = 4,
  kColourIntegral = 5,
  kColourMarker = 6,
};

struct ColourTable {
  std::array<Colour, kColourCount> entries{};
  Colour operator[](int j) const { return entries[static_cast<size_t>(j)]; }
};

// Palette outside 0..2 is taken as 0; j outside 0..19 gives black.
Colour scheme_colour(int palette, int j);

ColourTable build_colour_table(int palette);

// Per channel (a + b) / 2, rounded down.
Colour blend(Colour a, Colour b);

}  // namespace kv
