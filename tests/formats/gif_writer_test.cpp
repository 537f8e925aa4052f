#include "formats/gif_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gif_test_support.h"

namespace kv {
namespace {

using test::decode_with_giflib;
using test::make_image;
using test::make_noise;
using test::read_lzw_stream;

std::vector<uint8_t> encode(const RgbImage& image, int colour_count = kGifColourCount) {
  MemorySink sink;
  EXPECT_TRUE(write_gif(image, sink, colour_count));
  return sink.bytes;
}

// Something like a small plot: background, grid, axes, two curves, text.
RgbImage make_plot(int width, int height) {
  RgbImage image = make_image(width, height, 0xFFFFFF);
  auto set = [&](int x, int y, uint32_t c) {
    if (x >= 0 && x < width && y >= 0 && y < height) image.pixels[size_t(y) * size_t(width) + size_t(x)] = c;
  };
  for (int x = 0; x < width; x += 37)
    for (int y = 0; y < height; y += 2) set(x, y, 0xCCCCCC);
  for (int x = 0; x < width; ++x) set(x, height / 2, 0x000000);
  for (int y = 0; y < height; ++y) set(width / 3, y, 0x000000);
  for (int x = 0; x < width; ++x) {
    set(x, height / 2 - int(0.3 * height * std::sin(x / 23.0)), 0xFF0000);
    set(x, height / 2 - (x * x) % std::max(1, height / 2), 0x0000FF);
  }
  return image;
}

struct RoundTripCase {
  const char* name;
  RgbImage image;
  int colour_count;
};

// Every picture with at most K colours must come back pixel for pixel, both
// through giflib and through the strict stream reader.
TEST(GifWriter, DecodesToTheSamePixels) {
  std::vector<RoundTripCase> cases = {
      {"1x1", make_image(1, 1, 0x123456), 20},
      {"1x1 black", make_image(1, 1, 0x000000), 20},
      {"single row", make_noise(301, 1, 20, 1), 20},
      {"single column", make_noise(1, 257, 20, 2), 20},
      {"odd 7x5", make_noise(7, 5, 5, 3), 20},
      {"odd 13x11", make_noise(13, 11, 17, 4), 20},
      {"plot 401x299", make_plot(401, 299), 20},
      {"noise 257x263", make_noise(257, 263, 20, 5), 20},
      {"two colours K=2", make_noise(33, 17, 2, 6), 2},
      {"one colour K=1", make_image(9, 9, 0xABCDEF), 1},
      {"256 colours K=256", make_noise(211, 97, 256, 7), 256},
      {"uniform large", make_image(1000, 1000, 0xEEEEEE), 20},
  };
  for (int colours = 1; colours <= 32; ++colours)
    cases.push_back({"colours", make_noise(61, 37, colours, 100u + uint32_t(colours)), 32});

  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.image.width) + "x" +
                 std::to_string(c.image.height));
    const std::vector<uint8_t> bytes = encode(c.image, c.colour_count);
    const test::DecodedGif gif = decode_with_giflib(bytes);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, c.image.width);
    EXPECT_EQ(gif.height, c.image.height);
    EXPECT_TRUE(gif.pixels == c.image.pixels);
    const test::LzwTrace trace = read_lzw_stream(bytes);
    ASSERT_TRUE(trace.ok) << trace.error;
    EXPECT_TRUE(trace.indices == gif.indices);
  }
}

// 1000x800 noise fills the 4096-code dictionary hundreds of times.
TEST(GifWriter, LargeNoiseWithManyClearCodesRoundTrips) {
  const RgbImage image = make_noise(1000, 800, 20, 42);
  const std::vector<uint8_t> bytes = encode(image);
  const test::LzwTrace trace = read_lzw_stream(bytes);
  ASSERT_TRUE(trace.ok) << trace.error;
  EXPECT_GT(trace.next_code_at_clear.size(), 50u);
  const test::DecodedGif gif = decode_with_giflib(bytes);
  ASSERT_TRUE(gif.ok);
  EXPECT_TRUE(gif.pixels == image.pixels);
}

// Once code 4095 is assigned, the next unknown string emits the clear code
// at 12 bits, and the code after it is back to M + 1 = 6 bits.
TEST(GifWriter, ClearCodeFollowsCode4095) {
  const std::vector<uint8_t> bytes = encode(make_noise(300, 300, 20, 9));
  const test::LzwTrace trace = read_lzw_stream(bytes);
  ASSERT_TRUE(trace.ok) << trace.error;
  ASSERT_EQ(trace.min_code_size, 5);
  ASSERT_FALSE(trace.next_code_at_clear.empty());
  for (size_t i = 0; i < trace.next_code_at_clear.size(); ++i) {
    EXPECT_EQ(trace.next_code_at_clear[i], 4096u) << "clear " << i;
    EXPECT_EQ(trace.width_at_clear[i], 12) << "clear " << i;
    EXPECT_EQ(trace.width_after_clear[i], 6) << "clear " << i;
  }
}

// When the last code fills the decoder's 2^w codes, the decoder reads the end
// code one bit wider. An end code written at the old width that happens to end
// on a byte boundary would make the decoder read past the data. Every prefix
// of one noise row gives every code count, so each width step is reached.
TEST(GifWriter, EndCodeUsesTheWidthTheDecoderExpects) {
  for (int k : {2, 20, 128}) {
    SCOPED_TRACE(k);
    const RgbImage row = make_noise(1200, 1, k, uint32_t(k));
    int risky = 0;  // grown end code whose last bit starts a byte
    for (int length = 1; length <= row.width; ++length) {
      const RgbImage prefix{length, 1, {row.pixels.begin(), row.pixels.begin() + length}};
      const test::LzwTrace trace = read_lzw_stream(encode(prefix, k));
      ASSERT_TRUE(trace.ok) << "length " << length << ": " << trace.error;
      risky += trace.end_code_at_grown_width && trace.end_bit_in_byte == 1;
    }
    EXPECT_GT(risky, 0) << "the sweep no longer reaches the case it guards";
  }
}

TEST(GifWriter, HeaderOf400x300With20Colours) {
  RgbImage image = make_plot(400, 300);
  const std::vector<uint8_t> bytes = encode(image);
  ASSERT_GT(bytes.size(), 13u + 96u + 11u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");
  EXPECT_EQ(bytes[6] | bytes[7] << 8, 400);
  EXPECT_EQ(bytes[8] | bytes[9] << 8, 300);
  EXPECT_EQ(bytes[10], 0xF4);
  EXPECT_EQ(bytes[11], 0);  // background index
  EXPECT_EQ(bytes[12], 0);  // aspect ratio
  const size_t descriptor = 13 + 96;  // 32 entries of 3 bytes
  const std::vector<uint8_t> expected_descriptor = {0x2C, 0, 0, 0, 0, 0x90, 0x01, 0x2C, 0x01, 0};
  EXPECT_TRUE(std::equal(expected_descriptor.begin(), expected_descriptor.end(),
                         bytes.begin() + long(descriptor)));
  EXPECT_EQ(bytes[descriptor + 10], 5);             // minimum code size
  EXPECT_EQ(bytes[descriptor + 12] & 0x3F, 32);     // clear code, 6 bits, first
  EXPECT_EQ(bytes.back(), 0x3B);
  EXPECT_EQ(bytes[bytes.size() - 2], 0);            // block terminator
}

TEST(GifWriter, SubBlocksHoldAtMost255Bytes) {
  const std::vector<uint8_t> bytes = encode(make_noise(200, 200, 20, 11));
  const test::LzwTrace trace = read_lzw_stream(bytes);
  ASSERT_TRUE(trace.ok) << trace.error;
  ASSERT_GT(trace.block_lengths.size(), 2u);
  for (size_t i = 0; i + 1 < trace.block_lengths.size(); ++i) EXPECT_EQ(trace.block_lengths[i], 255);
  EXPECT_GE(trace.block_lengths.back(), 1);
}

TEST(GifWriter, SingleColourGivesThatColourThenBlackEntriesAndIndexZero) {
  const std::vector<uint8_t> bytes = encode(make_image(10, 4, 0x336699));
  EXPECT_EQ(bytes[13], 0x33);
  EXPECT_EQ(bytes[14], 0x66);
  EXPECT_EQ(bytes[15], 0x99);
  EXPECT_TRUE(std::all_of(bytes.begin() + 16, bytes.begin() + 13 + 96, [](uint8_t b) { return b == 0; }));
  const test::DecodedGif gif = decode_with_giflib(bytes);
  ASSERT_TRUE(gif.ok);
  EXPECT_TRUE(std::all_of(gif.indices.begin(), gif.indices.end(), [](uint8_t i) { return i == 0; }));
}

// K = 1 or 2 needs only a 2-entry table, but GIF's minimum code size is 2.
TEST(GifWriter, TableBitsAndMinimumCodeSizeFollowTheColourCount) {
  struct Case { int k; uint8_t packed; size_t entries; uint8_t min_code_size; };
  for (const Case& c : {Case{1, 0xF0, 2, 2}, Case{2, 0xF0, 2, 2}, Case{3, 0xF1, 4, 2},
                        Case{5, 0xF2, 8, 3}, Case{20, 0xF4, 32, 5}, Case{32, 0xF4, 32, 5},
                        Case{33, 0xF5, 64, 6}, Case{256, 0xF7, 256, 8}}) {
    SCOPED_TRACE(c.k);
    const std::vector<uint8_t> bytes = encode(make_noise(16, 16, 2, 1), c.k);
    EXPECT_EQ(bytes[10], c.packed);
    EXPECT_EQ(bytes[13 + 3 * c.entries], 0x2C);
    EXPECT_EQ(bytes[13 + 3 * c.entries + 10], c.min_code_size);
    EXPECT_TRUE(decode_with_giflib(bytes).ok);
  }
}

// Table order is first appearance, top row first; colours after the first K
// map to index 0 (the first colour found).
TEST(GifWriter, ColoursBeyondKMapToIndexZero) {
  RgbImage image = make_image(8, 2);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = 0x100000u * uint32_t(i + 1);
  const test::DecodedGif gif = decode_with_giflib(encode(image, 5));
  ASSERT_TRUE(gif.ok);
  for (size_t i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(gif.indices[i], i < 5 ? i : 0);
  }
  EXPECT_EQ(gif.palette[0], 0x100000u);
  EXPECT_EQ(gif.palette[4], 0x500000u);
  EXPECT_EQ(gif.palette[5], 0u);
}

TEST(GifWriter, IgnoresTheTopByteOfPixels) {
  RgbImage image = make_noise(31, 7, 6, 3);
  const std::vector<uint8_t> plain = encode(image);
  for (uint32_t& p : image.pixels) p |= 0xFF000000u;
  EXPECT_TRUE(encode(image) == plain);
}

TEST(GifWriter, RejectsPicturesTheFormatCannotHoldWithoutWriting) {
  RgbImage mismatched = make_image(4, 4);
  mismatched.pixels.pop_back();
  struct Case { const char* name; RgbImage image; int k; };
  const std::vector<Case> cases = {
      {"empty", RgbImage{}, 20},
      {"zero width", RgbImage{0, 5, {}}, 20},
      {"negative height", RgbImage{5, -1, {}}, 20},
      {"pixel count mismatch", mismatched, 20},
      {"width 65536", make_image(65536, 1), 20},
      {"height 65536", make_image(1, 65536), 20},
      {"no colours", make_image(2, 2), 0},
      {"257 colours", make_image(2, 2), 257},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySink sink;
    EXPECT_FALSE(write_gif(c.image, sink, c.k));
    EXPECT_TRUE(sink.bytes.empty());
  }
  MemorySink widest;
  EXPECT_TRUE(write_gif(make_image(65535, 1), widest));
}

// A sink that fails after `budget` bytes, like a full disk.
class FailingSink final : public ByteSink {
 public:
  explicit FailingSink(size_t budget) : budget_(budget) {}
  bool write(const void*, size_t size) override {
    if (size > budget_) return false;
    budget_ -= size;
    return true;
  }

 private:
  size_t budget_;
};

TEST(GifWriter, ReportsAFailedWriteAnywhereInTheFile) {
  const RgbImage image = make_noise(300, 200, 20, 8);
  const size_t full = encode(image).size();
  for (size_t budget : {size_t{0}, size_t{5}, size_t{120}, size_t{400}, full / 2, full - 2, full - 1}) {
    SCOPED_TRACE(budget);
    FailingSink sink(budget);
    EXPECT_FALSE(write_gif(image, sink));
  }
  FailingSink exact(full);
  EXPECT_TRUE(write_gif(image, exact));
}

}  // namespace
}  // namespace kv
