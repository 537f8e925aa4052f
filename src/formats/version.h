// Comparison of program and document versions: texts of four decimal numbers
// separated by ".", such as "0.94.0.0".
//
//   int compare_versions(std::string_view first, std::string_view second);
//     kVersionNewer (1) when first is newer than second, kVersionEqual (2)
//     when equal, kVersionOlder (4) when first is older.
//   int compare_versions(const char* first, const char* second);
//     The same, where nullptr means missing: a missing first gives
//     kVersionOlder, otherwise a missing second gives kVersionNewer.
//
// Each text is split at "." into at most four parts (the fourth runs to the
// end); a part is read as a decimal integer the way atoi reads it (leading
// blanks, an optional sign, then digits up to the first other character, 0
// when there are none) and saturates at the int range instead of overflowing.
// Missing parts count as 0, so "1.2" equals "1.2.0.0"; a NUL ends the text.
// Any text is accepted and read in time linear in its length.
#pragma once

#include <string_view>

namespace kv {

inline constexpr int kVersionNewer = 1;
inline constexpr int kVersionEqual = 2;
inline constexpr int kVersionOlder = 4;

int compare_versions(std::string_view first, std::string_view second);
int compare_versions(const char* first, const char* second);

}  // namespace kv
