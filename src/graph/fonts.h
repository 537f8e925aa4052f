// The font families the graph's fonts are drawn with.
//
// The graph asks for the faces "Verdana" and "Arial", and the help viewer for
// "Courier New". Linux systems rarely have them; the back end uses families
// with the same character widths (or as close as free fonts come) that every
// Debian system ships: DejaVu Sans for Verdana, Liberation Sans for Arial and
// Liberation Mono for Courier New. A face not listed is passed on unchanged.
#pragma once

#include <string_view>

namespace kv {

struct FontFamilyMapping {
  const char* face;    // as the painters name it
  const char* family;  // installed family drawn instead
};

inline constexpr FontFamilyMapping kFontFamilies[] = {
    {"Verdana", "DejaVu Sans"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

inline const char* font_family_for_face(const char* face) {
  for (const FontFamilyMapping& m : kFontFamilies) {
    if (std::string_view(m.face) == face) return m.family;
  }
  return face;
}

}  // namespace kv
