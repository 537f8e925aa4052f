// The plain picture the encoders take: the graph area's pixels as 24-bit
// colours, with no drawing library behind it.
//
// pixels holds width * height values 0x00RRGGBB, top row first, each row left
// to right. The top byte is ignored by every encoder, so a 0xFFRRGGBB pixel
// straight from an ARGB32 picture is the same colour. The Qt layer converts
// its QImage into this at the boundary; the core never sees Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Only the low 24 bits are colour.
inline constexpr uint32_t kRgbMask = 0x00FFFFFFu;

// True if width and height are positive and pixels holds exactly
// width * height values (computed in 64 bits, so huge sizes cannot wrap).
inline bool rgb_image_is_consistent(const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  return uint64_t{image.pixels.size()} ==
         static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
}

}  // namespace kv
