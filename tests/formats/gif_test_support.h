// Test-side GIF readers: giflib as the independent decoder, and a strict LZW
// stream reader that also reports where clear codes fall and at which widths
// codes were read.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats/rgb_image.h"

namespace kv::test {

struct DecodedGif {
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint8_t> indices;
  std::vector<uint32_t> pixels;   // palette[indices[i]]
};

struct MemoryReader {
  const std::vector<uint8_t>* bytes;
  size_t pos = 0;
};

inline int read_from_memory(GifFileType* gif, GifByteType* out, int size) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const size_t left = reader->bytes->size() - reader->pos;
  const size_t n = static_cast<size_t>(size) < left ? static_cast<size_t>(size) : left;
  std::memcpy(out, reader->bytes->data() + reader->pos, n);
  reader->pos += n;
  return static_cast<int>(n);
}

inline DecodedGif decode_with_giflib(const std::vector<uint8_t>& bytes) {
  DecodedGif result;
  MemoryReader reader{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, read_from_memory, &error);
  if (gif == nullptr) return result;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 && gif->SColorMap != nullptr) {
    const SavedImage& image = gif->SavedImages[0];
    result.width = image.ImageDesc.Width;
    result.height = image.ImageDesc.Height;
    const ColorMapObject* map = gif->SColorMap;
    for (int i = 0; i < map->ColorCount; ++i) {
      const GifColorType& c = map->Colors[i];
      result.palette.push_back(uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
    }
    const size_t count = size_t(result.width) * size_t(result.height);
    result.indices.assign(image.RasterBits, image.RasterBits + count);
    result.ok = true;
    for (uint8_t index : result.indices) {
      if (index >= result.palette.size()) result.ok = false;
      else result.pixels.push_back(result.palette[index]);
    }
  }
  DGifCloseFile(gif, &error);
  return result;
}

// What the strict reader saw in the image data.
struct LzwTrace {
  bool ok = false;
  std::string error;
  int min_code_size = 0;
  std::vector<uint8_t> indices;
  std::vector<uint8_t> block_lengths;  // data sub-blocks, without the terminator
  // Clear codes after the first: the decoder's next free code when each was
  // read, the width it was read with, the width of the code after it.
  std::vector<uint32_t> next_code_at_clear;
  std::vector<int> width_at_clear;
  std::vector<int> width_after_clear;
  bool end_code_at_grown_width = false;  // end code read one bit wider than the code before
  int end_bit_in_byte = 0;               // bits of the end code's last byte in use (1..8)
};

// Reads a file as our writer lays it out: 13-byte screen descriptor, global
// table, 10-byte image descriptor, minimum code size, sub-blocks, ';'.
// Strict: unknown codes, a missing end code, data after it, non-zero padding
// or a missing trailer are errors.
inline LzwTrace read_lzw_stream(const std::vector<uint8_t>& file) {
  LzwTrace t;
  if (file.size() < 13) return t.error = "short", t;
  const size_t table_bytes = 3 * (size_t{1} << ((file[10] & 7) + 1));
  size_t pos = 13 + table_bytes + 10;
  if (file.size() < pos + 1) return t.error = "short", t;
  t.min_code_size = file[pos++];
  std::vector<uint8_t> data;
  for (;;) {
    if (pos >= file.size()) return t.error = "no terminator", t;
    const uint8_t len = file[pos++];
    if (len == 0) break;
    if (pos + len > file.size()) return t.error = "truncated block", t;
    t.block_lengths.push_back(len);
    data.insert(data.end(), file.begin() + long(pos), file.begin() + long(pos + len));
    pos += len;
  }
  if (pos + 1 != file.size() || file[pos] != 0x3B) return t.error = "trailer", t;

  const uint32_t clear = 1u << t.min_code_size;
  const uint32_t end = clear + 1;
  size_t bit = 0;
  auto read = [&](int width, uint32_t& code) {
    if (bit + size_t(width) > data.size() * 8) return false;
    code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= uint32_t((data[bit / 8] >> (bit % 8)) & 1) << i;
    return true;
  };
  std::vector<std::vector<uint8_t>> table;
  auto reset = [&] {
    table.assign(clear + 2, {});
    for (uint32_t i = 0; i < clear; ++i) table[i] = {uint8_t(i)};
  };
  reset();
  int width = t.min_code_size + 1;
  uint32_t code = 0;
  if (!read(width, code) || code != clear) return t.error = "no leading clear", t;
  int prev = -1;
  int last_width = width;  // width the previous data code was read with
  bool after_clear = false;
  for (;;) {
    if (!read(width, code)) return t.error = "stream ends without end code", t;
    if (after_clear) t.width_after_clear.push_back(width), after_clear = false;
    if (code == clear) {
      t.next_code_at_clear.push_back(uint32_t(table.size()));
      t.width_at_clear.push_back(width);
      reset();
      width = t.min_code_size + 1;
      prev = -1;
      after_clear = true;
      continue;
    }
    if (code == end) {
      t.end_code_at_grown_width = prev >= 0 && width > last_width;
      t.end_bit_in_byte = int((bit + 7) % 8) + 1;
      break;
    }
    last_width = width;
    std::vector<uint8_t> entry;
    if (code < table.size() && code != end) entry = table[code];
    else if (code == table.size() && prev >= 0) entry = table[size_t(prev)], entry.push_back(table[size_t(prev)][0]);
    else return t.error = "bad code " + std::to_string(code), t;
    t.indices.insert(t.indices.end(), entry.begin(), entry.end());
    if (prev >= 0 && table.size() < 4096) {
      std::vector<uint8_t> added = table[size_t(prev)];
      added.push_back(entry[0]);
      table.push_back(std::move(added));
    }
    if (prev >= 0 && table.size() == (size_t{1} << width) && width < 12) ++width;
    prev = int(code);
  }
  if ((bit + 7) / 8 != data.size()) return t.error = "data after end code", t;
  for (size_t b = bit; b < data.size() * 8; ++b)
    if ((data[b / 8] >> (b % 8)) & 1) return t.error = "non-zero padding", t;
  t.ok = true;
  return t;
}

// Deterministic pictures.
inline RgbImage make_image(int width, int height, uint32_t fill = 0xFFFFFF) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(size_t(width) * size_t(height), fill);
  return image;
}

// Every pixel one of `colours` distinct colours, chosen at random.
inline RgbImage make_noise(int width, int height, int colours, uint32_t seed) {
  RgbImage image = make_image(width, height);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> pick(0, colours - 1);
  for (uint32_t& p : image.pixels) p = ((0x010203u * uint32_t(pick(rng) + 1)) ^ 0x5A0000u) & kRgbMask;
  return image;
}

}  // namespace kv::test
