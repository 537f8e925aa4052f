// GIF87a writer for the graph picture.
//
//   bool write_gif(const RgbImage& image, ByteSink& sink,
//                  int colour_count = kGifColourCount);
//
// Writes one GIF87a file with a global colour table built from the colours
// actually present and one LZW-compressed image. Returns false, having written
// nothing, if the image is inconsistent (see rgb_image.h), either side is
// larger than 65535 (GIF stores them in 16 bits) or colour_count is outside
// 1..256; returns false if its working memory (one index byte per pixel and
// the LZW dictionary) cannot be allocated, also without writing; returns false
// if a write to the sink fails (the sink then holds a partial file).
//
// colour_count is K, the number of colours the table may hold: the painter's
// curve colours plus the five background and coordinate-system colours, 20.
// The table has 2^N entries, N the smallest n >= 1 with 2^n >= K.
//
// Colour collection: pixels are visited row by row from the top, left to
// right; each 24-bit colour not seen yet is appended to the table until K
// colours are found, then the scan stops. A pixel's index is the first table
// entry equal to its colour; a colour not in the table (only possible with
// more than K colours) gets index 0.
//
// Byte layout (multi-byte numbers little-endian):
//   "GIF87a"
//   width:16 height:16 packed:8 = 0x80 | 0x70 | (N - 1)  (0xF4 for N = 5)
//   background index:8 = 0, aspect ratio:8 = 0
//   colour table: 2^N entries of red, green, blue; entries beyond the found
//     colours are black (96 bytes for N = 5)
//   ',' left:16 = 0 top:16 = 0 width:16 height:16 packed:8 = 0
//   minimum code size:8 M = max(N, 2)
//   LZW data sub-blocks and a zero terminator (gif_lzw.h)
//   ';'
#pragma once

#include "formats/byte_sink.h"
#include "formats/rgb_image.h"

namespace kv {

// 15 curve colours plus background and four coordinate-system colours.
inline constexpr int kGifColourCount = 20;
inline constexpr int kGifMaxSide = 65535;

bool write_gif(const RgbImage& image, ByteSink& sink, int colour_count = kGifColourCount);

}  // namespace kv
