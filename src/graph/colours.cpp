// The colour schemes; see the header.
#include "graph/colours.h"

namespace kv {

namespace {

// Colour j of scheme p at 3 * j + p.
constexpr Colour kSchemes[kColourCount * kPaletteCount] = {
    0xffffff, 0xeeeeee, 0x000000,  // 0 background
    0x000000, 0x000000, 0xffffff,  // 1
    0x000000, 0x000000, 0xffffff,  // 2
    0x999999, 0x909090, 0x888888,  // 3
    0xcccccc, 0xc0c0c0, 0x666666,  // 4
    0xff0000, 0xff0000, 0xff0000,  // 5 integral curve, first curve colour
    0x0000ff, 0x0000ff, 0x2088ff,  // 6
    0x00a600, 0x00a600, 0x00b300,  // 7
    0xff9300, 0xff9300, 0xffff33,  // 8
    0x990099, 0x990099, 0xcc00cc,  // 9
    0x00aaff, 0x00aaff, 0x00ffff,  // 10
    0xd60000, 0xd60000, 0xcf6900,  // 11
    0x00e000, 0x00e000, 0x00ff00,  // 12
    0x008ac9, 0x008ac9, 0x0000ff,  // 13
    0xee00ee, 0xee00ee, 0xbf3636,  // 14
    0xf9ba00, 0xf9ba00, 0xffb600,  // 15
    0x006f00, 0x006f00, 0x00cf7c,  // 16
    0x9900ff, 0x9900ff, 0xff66ff,  // 17
    0x00c099, 0x00c099, 0x00cfcf,  // 18
    0x000099, 0x000099, 0x9f00ff,  // 19
};

int checked_palette(int palette) { return palette >= 0 && palette < kPaletteCount ? palette : 0; }

}  // namespace

Colour scheme_colour(int palette, int j) {
  if (j < 0 || j >= kColourCount) return 0;
  return kSchemes[3 * j + checked_palette(palette)];
}

ColourTable build_colour_table(int palette) {
  ColourTable t;
  for (int j = 0; j < kColourCount; ++j) t.entries[j] = scheme_colour(palette, j);
  return t;
}

Colour blend(Colour a, Colour b) {
  return make_colour((colour_red(a) + colour_red(b)) / 2, (colour_green(a) + colour_green(b)) / 2,
                     (colour_blue(a) + colour_blue(b)) / 2);
}

}  // namespace kv
