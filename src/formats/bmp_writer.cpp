// 24-bit bitmap assembly: the two headers, then the rows bottom-up. The
// contract and byte layout are in bmp_writer.h.
#include "formats/bmp_writer.h"

#include <cstdint>
#include <vector>

namespace kv {
namespace {

void put16(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out + 2, value >> 16);
}

void build_headers(uint8_t (&h)[kBmpHeaderBytes], const RgbImage& image,
                   uint32_t image_bytes) {
  for (uint8_t& b : h) b = 0;  // reserved fields, resolutions, colour counts
  // BITMAPFILEHEADER
  h[0] = 'B';
  h[1] = 'M';
  put32(h + 2, static_cast<uint32_t>(kBmpHeaderBytes) + image_bytes);
  put32(h + 10, static_cast<uint32_t>(kBmpHeaderBytes));
  // BITMAPINFOHEADER
  put32(h + 14, 40);
  put32(h + 18, static_cast<uint32_t>(image.width));
  put32(h + 22, static_cast<uint32_t>(image.height));  // positive: bottom-up
  put16(h + 26, 1);                                     // planes
  put16(h + 28, 24);                                    // bits per pixel
  put32(h + 34, image_bytes);                           // compression 0 before it
}

}  // namespace

bool write_bmp(const RgbImage& image, ByteSink& sink) {
  if (!rgb_image_is_consistent(image)) return false;
  const size_t row_bytes = bmp_row_bytes(image.width);
  const size_t height = static_cast<size_t>(image.height);
  // In 64 bits: both factors are below 2^33, so the product cannot wrap.
  const uint64_t total = uint64_t{row_bytes} * height + kBmpHeaderBytes;
  if (total > UINT32_MAX) return false;
  const uint32_t image_bytes = static_cast<uint32_t>(total - kBmpHeaderBytes);

  uint8_t headers[kBmpHeaderBytes];
  build_headers(headers, image, image_bytes);
  if (!sink.write(headers, sizeof headers)) return false;

  const size_t width = static_cast<size_t>(image.width);
  std::vector<uint8_t> row(row_bytes, 0);  // padding bytes stay zero
  for (size_t y = height; y-- > 0;) {
    const uint32_t* pixel = image.pixels.data() + y * width;
    uint8_t* out = row.data();
    for (size_t x = 0; x < width; ++x, out += 3) {
      out[0] = static_cast<uint8_t>(pixel[x]);        // blue
      out[1] = static_cast<uint8_t>(pixel[x] >> 8);   // green
      out[2] = static_cast<uint8_t>(pixel[x] >> 16);  // red
    }
    if (!sink.write(row.data(), row.size())) return false;
  }
  return true;
}

}  // namespace kv
