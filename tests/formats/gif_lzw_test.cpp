#include "formats/gif_lzw.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

namespace kv {
namespace {

// The plain greedy LZW of the GIF writer, one index at a time with an ordered
// map as dictionary, followed by the same sub-block framing. The encoder
// under test must produce the same bytes however it walks the dictionary.
std::vector<uint8_t> reference_lzw(const std::vector<uint8_t>& indices, int m) {
  std::vector<uint8_t> data;
  uint64_t bits = 0;
  int used = 0;
  auto emit = [&](uint32_t code, int width) {
    bits |= uint64_t{code} << used;
    for (used += width; used >= 8; used -= 8, bits >>= 8) data.push_back(uint8_t(bits));
  };
  const uint32_t clear = 1u << m;
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> dictionary;
  uint32_t next = clear + 2;
  int width = m + 1;
  emit(clear, width);
  int64_t current = -1;
  for (uint8_t c : indices) {
    if (current < 0) { current = c; continue; }
    const auto it = dictionary.find({uint32_t(current), c});
    if (it != dictionary.end()) { current = it->second; continue; }
    emit(uint32_t(current), width);
    if (next == 4096) {
      emit(clear, 12);
      dictionary.clear();
      next = clear + 2;
      width = m + 1;
    } else {
      dictionary[{uint32_t(current), c}] = next;
      if (next > (1u << width) - 1) ++width;
      ++next;
    }
    current = c;
  }
  if (current >= 0) {
    emit(uint32_t(current), width);
    if (width < 12 && next == (1u << width)) ++width;
  }
  emit(clear + 1, width);
  if (used > 0) data.push_back(uint8_t(bits));
  std::vector<uint8_t> out;
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
  }
  out.push_back(0);
  return out;
}

std::vector<uint8_t> encode(const std::vector<uint8_t>& indices, int m, size_t chunk) {
  MemorySink sink;
  GifLzwEncoder lzw(sink, m);
  for (size_t at = 0; at < indices.size(); at += chunk)
    lzw.add(indices.data() + at, std::min(chunk, indices.size() - at));
  EXPECT_TRUE(lzw.finish());
  return sink.bytes;
}

// Runs of every length, alone and between noise, so that runs longer than
// the longest known run string, runs cut by a clear code and runs split
// between add() calls all occur.
std::vector<std::pair<const char*, std::vector<uint8_t>>> sequences(int colours) {
  std::mt19937 rng{uint32_t(colours)};
  auto any = [&] { return uint8_t(rng() % uint32_t(colours)); };
  std::vector<std::pair<const char*, std::vector<uint8_t>>> out;
  out.push_back({"empty", {}});
  out.push_back({"one index", {uint8_t(colours - 1)}});
  out.push_back({"one long run", std::vector<uint8_t>(200000, 0)});
  std::vector<uint8_t> growing;
  for (int run = 1; run < 700; ++run) growing.insert(growing.end(), size_t(run), any());
  out.push_back({"growing runs", growing});
  std::vector<uint8_t> mixed;
  for (int piece = 0; piece < 3000; ++piece) {
    const size_t run = rng() % 4 == 0 ? rng() % 300 : rng() % 4;
    mixed.insert(mixed.end(), run, any());
  }
  out.push_back({"runs and noise", mixed});
  std::vector<uint8_t> noise(100000);
  for (uint8_t& c : noise) c = any();
  out.push_back({"noise", noise});
  return out;
}

TEST(GifLzw, MatchesThePlainGreedyEncoderByteForByte) {
  for (int m : {2, 5, 8}) {
    const int colours = m == 2 ? 4 : m == 5 ? 20 : 256;
    for (const auto& [name, indices] : sequences(colours)) {
      SCOPED_TRACE(std::string(name) + " m=" + std::to_string(m));
      const std::vector<uint8_t> expected = reference_lzw(indices, m);
      EXPECT_TRUE(encode(indices, m, indices.size() + 1) == expected) << "one call";
      EXPECT_TRUE(encode(indices, m, 1) == expected) << "one index per call";
      EXPECT_TRUE(encode(indices, m, 97) == expected) << "chunks of 97";
    }
  }
}

// Bits above the minimum code size would address codes that are not roots.
TEST(GifLzw, IgnoresIndexBitsAboveTheMinimumCodeSize) {
  std::vector<uint8_t> indices(5000);
  std::mt19937 rng(5);
  for (uint8_t& c : indices) c = uint8_t(rng() % 3 == 0 ? 0 : rng());
  std::vector<uint8_t> masked = indices;
  for (uint8_t& c : masked) c &= 0x1F;
  EXPECT_TRUE(encode(indices, 5, 1000) == reference_lzw(masked, 5));
}

}  // namespace
}  // namespace kv
