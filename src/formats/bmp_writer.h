// Uncompressed 24-bit Windows bitmap writer for the graph picture.
//
//   bool write_bmp(const RgbImage& image, ByteSink& sink);
//
// Returns false, having written nothing, if the image is inconsistent (see
// rgb_image.h) or the file would not fit the format's 32-bit size field;
// returns false if a write to the sink fails (the sink then holds a partial
// file).
//
// Byte layout (numbers little-endian), 54 bytes of headers and the rows:
//   file header, 14 bytes:
//     "BM"  file size:32 = 54 + image size  reserved:16 = 0  reserved:16 = 0
//     pixel offset:32 = 54
//   info header, 40 bytes:
//     size:32 = 40  width:32  height:32 (positive: rows stored bottom-up)
//     planes:16 = 1  bits per pixel:16 = 24  compression:32 = 0 (none)
//     image size:32 = row bytes * height  x and y resolution:32 = 0
//     colours used:32 = 0  important colours:32 = 0
//   rows: the bottom picture row first; each pixel blue, green, red; each row
//     padded with zero bytes to row bytes = (width * 24 + 31) / 32 * 4.
#pragma once

#include <cstddef>

#include "formats/byte_sink.h"
#include "formats/rgb_image.h"

namespace kv {

inline constexpr size_t kBmpHeaderBytes = 54;

// Bytes of one stored row: 3 per pixel, rounded up to a multiple of 4.
inline size_t bmp_row_bytes(int width) {
  return (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

bool write_bmp(const RgbImage& image, ByteSink& sink);

}  // namespace kv
