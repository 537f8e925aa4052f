#include "help/about_text.h"

namespace kv {
namespace {

bool is_zero_group(std::string_view g) { return !g.empty() && g.find_first_not_of('0') == std::string_view::npos; }

}  // namespace

std::string about_version_text(std::string_view version) {
  // Drop ".group" from the end while it is zero and two groups remain.
  size_t dots = 0;
  for (char c : version) dots += c == '.';
  std::string_view kept = version;
  while (dots >= 2) {
    const size_t dot = kept.rfind('.');
    if (!is_zero_group(kept.substr(dot + 1))) break;
    kept = kept.substr(0, dot);
    --dots;
  }
  std::string out = "Version  ";
  out.append(kept);
  return out;
}

}  // namespace kv
