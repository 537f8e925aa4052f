// Version comparison; see the header.
#include "formats/version.h"

#include <algorithm>
#include <array>
#include <climits>

namespace kv {
namespace {

using VersionParts = std::array<long long, 4>;

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One part as atoi reads it, from text[i] up to the next "." or the end;
// returns the index just past the part's "." (or the end).
size_t read_part(std::string_view text, size_t i, long long& out) {
  const size_t end = std::min(text.find('.', i), text.size());
  while (i < end && is_blank(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  // Saturated one step beyond int, so every larger number compares equal to
  // every other and nothing overflows.
  constexpr long long kSaturated = INT_MAX + 1LL;
  for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(value * 10 + (text[i] - '0'), kSaturated);
  out = negative ? -value : value;
  return end == text.size() ? end : end + 1;
}

VersionParts split_version(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  VersionParts parts{};
  size_t i = 0;
  // The fourth part runs to the end, but atoi stops at its first "." anyway.
  for (size_t p = 0; p < parts.size() && i < text.size(); ++p) i = read_part(text, i, parts[p]);
  return parts;
}

}  // namespace

int compare_versions(std::string_view first, std::string_view second) {
  const VersionParts a = split_version(first);
  const VersionParts b = split_version(second);
  for (size_t p = 0; p < a.size(); ++p) {
    if (a[p] > b[p]) return kVersionNewer;
    if (a[p] < b[p]) return kVersionOlder;
  }
  return kVersionEqual;
}

int compare_versions(const char* first, const char* second) {
  if (first == nullptr) return kVersionOlder;
  if (second == nullptr) return kVersionNewer;
  return compare_versions(std::string_view(first), std::string_view(second));
}

}  // namespace kv
