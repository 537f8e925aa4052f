// Our bitmaps (and GIFs, where Qt has a GIF reader) through Qt's own image
// readers: an independent check that the files are what other programs expect.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include "formats/bmp_writer.h"
#include "formats/gif_writer.h"
#include "gif_test_support.h"

namespace kv {
namespace {

QImage read_with_qt(const std::vector<uint8_t>& bytes, const char* format) {
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer, format);
  return reader.read();
}

void expect_same_pixels(const QImage& read, const RgbImage& image) {
  ASSERT_FALSE(read.isNull());
  ASSERT_EQ(read.width(), image.width);
  ASSERT_EQ(read.height(), image.height);
  int wrong = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      wrong += (read.pixel(x, y) & kRgbMask) != image.pixels[size_t(y) * size_t(image.width) + size_t(x)];
  EXPECT_EQ(wrong, 0);
}

const RgbImage kPictures[] = {
    test::make_image(1, 1, 0x123456),   test::make_noise(5, 3, 200, 1),
    test::make_noise(7, 9, 20, 2),      test::make_noise(64, 17, 20, 3),
    test::make_noise(321, 201, 20, 4),
};

TEST(QtReader, OpensOurBitmapsPixelIdentical) {
  for (const RgbImage& image : kPictures) {
    SCOPED_TRACE(std::to_string(image.width) + "x" + std::to_string(image.height));
    MemorySink sink;
    ASSERT_TRUE(write_bmp(image, sink));
    expect_same_pixels(read_with_qt(sink.bytes, "BMP"), image);
  }
}

TEST(QtReader, OpensOurGifsPixelIdentical) {
  if (!QImageReader::supportedImageFormats().contains("gif")) GTEST_SKIP() << "no GIF reader in this Qt";
  for (const RgbImage& image : kPictures) {
    if (image.width == 5) continue;  // 200 colours: more than a GIF table of 20 holds
    SCOPED_TRACE(std::to_string(image.width) + "x" + std::to_string(image.height));
    MemorySink sink;
    ASSERT_TRUE(write_gif(image, sink));
    expect_same_pixels(read_with_qt(sink.bytes, "GIF"), image);
  }
}

}  // namespace
}  // namespace kv
