#include "graph/print_fit.h"

#include <algorithm>
#include <cstdint>

namespace kv {

Rect print_margin_rect(int printable_width, int printable_height) {
  const int m = std::max(0, std::min(printable_width, printable_height)) * 4 / 100;
  return {m, m, printable_width - m, printable_height - m};
}

Rect fit_to_page(const Rect& margin, int source_width, int source_height) {
  const int64_t mw = margin.width(), mh = margin.height();
  if (mw <= 0 || mh <= 0 || source_width <= 0 || source_height <= 0) {
    return {margin.left, margin.top, margin.left, margin.top};
  }
  int64_t w = mw;
  int64_t h = mw * source_height / source_width;
  if (h > mh) {
    // h >= 1 here, so the division is safe.
    w = mw * mh / h;
    h = mh;
  }
  return {margin.left, margin.top, margin.left + static_cast<int>(w), margin.top + static_cast<int>(h)};
}

}  // namespace kv
