// The generic parts of the drawing device.
#include "graph/device.h"

#include <cmath>

namespace kv {

// A pixel belongs to the ellipse when its centre lies inside. Rows are filled
// in symmetric pairs, so the disc is symmetric whatever the rounding.
void Device::fill_ellipse(int x, int y, int width, int height, Colour c) {
  if (width <= 0 || height <= 0) return;
  const double a = width / 2.0, b = height / 2.0;
  for (int j = 0; j < (height + 1) / 2; ++j) {
    const double dy = (j + 0.5 - b) / b;
    const double rest = 1.0 - dy * dy;
    if (rest < 0) continue;
    const double half = a * std::sqrt(rest);
    // Columns whose centre i + 0.5 lies within [a - half, a + half].
    const int left = static_cast<int>(std::ceil(a - half - 0.5));
    const int right = static_cast<int>(std::floor(a + half - 0.5)) + 1;
    if (right <= left) continue;
    fill_rect({x + left, y + j, x + right, y + j + 1}, c);
    const int mirror = height - 1 - j;
    if (mirror != j) fill_rect({x + left, y + mirror, x + right, y + mirror + 1}, c);
  }
}

}  // namespace kv
