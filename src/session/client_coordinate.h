// Mouse positions in client coordinates travel as 16-bit signed numbers (the
// zoom box and gesture rules were made for them). A position beyond that range
// saturates instead of wrapping, so a far drag never turns into its opposite.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kv {

inline int to_client_coordinate(int v) {
  return std::clamp(v, static_cast<int>(INT16_MIN), static_cast<int>(INT16_MAX));
}

}  // namespace kv
