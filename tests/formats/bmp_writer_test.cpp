#include "formats/bmp_writer.h"

#include <gtest/gtest.h>

#include "gif_test_support.h"

namespace kv {
namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint32_t u16(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }

std::vector<uint8_t> encode(const RgbImage& image) {
  MemorySink sink;
  EXPECT_TRUE(write_bmp(image, sink));
  return sink.bytes;
}

TEST(BmpWriter, HeadersDescribeA24BitBottomUpBitmap) {
  const std::vector<uint8_t> b = encode(test::make_image(5, 3));
  const uint32_t row = 16;  // 15 bytes padded to 16
  ASSERT_EQ(b.size(), 54 + row * 3);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(u32(b, 2), b.size());
  EXPECT_EQ(u32(b, 6), 0u);   // two reserved words
  EXPECT_EQ(u32(b, 10), 54u);
  EXPECT_EQ(u32(b, 14), 40u);
  EXPECT_EQ(u32(b, 18), 5u);
  EXPECT_EQ(u32(b, 22), 3u);  // positive height: bottom-up
  EXPECT_EQ(u16(b, 26), 1u);
  EXPECT_EQ(u16(b, 28), 24u);
  EXPECT_EQ(u32(b, 30), 0u);  // no compression
  EXPECT_EQ(u32(b, 34), row * 3);
  for (size_t at : {38, 42, 46, 50}) EXPECT_EQ(u32(b, at), 0u) << at;
}

// Rows go bottom first, pixels as blue, green, red, padding bytes zero.
TEST(BmpWriter, RowsAreBottomUpBgrAndPaddedWithZeros) {
  for (int width : {1, 2, 3, 4, 5, 7, 8}) {
    SCOPED_TRACE(width);
    RgbImage image = test::make_noise(width, 3, 200, uint32_t(width));
    image.pixels[0] |= 0xFF000000u;  // top byte is not colour
    const std::vector<uint8_t> b = encode(image);
    const size_t row = bmp_row_bytes(width);
    ASSERT_EQ(row % 4, 0u);
    ASSERT_GE(row, size_t(width) * 3);
    ASSERT_LT(row, size_t(width) * 3 + 4);
    ASSERT_EQ(b.size(), 54 + row * 3);
    for (int y = 0; y < 3; ++y) {
      const size_t stored = 54 + size_t(2 - y) * row;
      for (int x = 0; x < width; ++x) {
        const uint32_t p = image.pixels[size_t(y * width + x)] & kRgbMask;
        const size_t at = stored + size_t(x) * 3;
        EXPECT_EQ(uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 1]) << 8 | b[at], p) << x << "," << y;
      }
      for (size_t pad = size_t(width) * 3; pad < row; ++pad) EXPECT_EQ(b[stored + pad], 0);
    }
  }
}

TEST(BmpWriter, RejectsInconsistentPicturesWithoutWriting) {
  RgbImage mismatched = test::make_image(3, 3);
  mismatched.pixels.resize(10);
  for (const RgbImage& image : {RgbImage{}, RgbImage{0, 3, {}}, RgbImage{3, -2, {}}, mismatched}) {
    MemorySink sink;
    EXPECT_FALSE(write_bmp(image, sink));
    EXPECT_TRUE(sink.bytes.empty());
  }
}

TEST(BmpWriter, ReportsAFailedWrite) {
  class FailAfterHeaders final : public ByteSink {
   public:
    bool write(const void*, size_t size) override { return (written += size) <= 54 + 16; }
    size_t written = 0;
  } sink;
  EXPECT_FALSE(write_bmp(test::make_image(5, 3), sink));
}

}  // namespace
}  // namespace kv
