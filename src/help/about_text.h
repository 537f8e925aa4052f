// The texts of the about box that are computed rather than fixed.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// "Version  " and the version (four groups, such as kProgramVersion of
// formats/program_version.h) without its trailing zero groups, keeping at
// least two groups: "2.5.0.0" gives "Version  2.5", "1.2.3.0" "Version  1.2.3",
// "1.0.0.0" "Version  1.0". A group counts as zero when it is made of zeros
// only ("00" too, but not an empty group).
std::string about_version_text(std::string_view version);

}  // namespace kv
