// The painted pictures: every toolbar bitmap id has one, drawn in device
// pixels at a pixel ratio of 2 rather than scaled up, the same whether it
// was painted ahead or when asked.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "platform/swatch_icon.h"
#include "platform/toolbar_icons.h"

namespace kv {
namespace {

bool has_paint(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}

TEST(ToolbarIcons, EveryIdHasAPictureInDevicePixels) {
  const std::vector<QIcon> ahead = toolbar_icons(2.0);  // 36 x 36 made ahead
  const std::vector<QIcon> asked = toolbar_icons(1.0);  // 36 x 36 painted when asked
  ASSERT_EQ(ahead.size(), static_cast<size_t>(kLastToolbarBitmap - kFirstToolbarBitmap + 1));
  for (size_t i = 0; i < ahead.size(); ++i) {
    const QPixmap one = ahead[i].pixmap(QSize(18, 18), 1.0);
    const QPixmap two = ahead[i].pixmap(QSize(18, 18), 2.0);
    EXPECT_EQ(one.size(), QSize(18, 18)) << i;
    EXPECT_EQ(two.size(), QSize(36, 36)) << i;
    EXPECT_EQ(two.devicePixelRatio(), 2.0) << i;
    EXPECT_TRUE(has_paint(two.toImage())) << i;
    EXPECT_EQ(two.toImage(), asked[i].pixmap(QSize(18, 18), 2.0).toImage()) << i;
  }
}

// The disabled picture greys a copy: the normal one, made ahead, stays.
TEST(ToolbarIcons, PicturesAreKeptApartBySizeAndMode) {
  const QIcon icon = toolbar_icons(1.0).front();
  const QImage disabled = icon.pixmap(QSize(18, 18), 1.0, QIcon::Disabled).toImage();
  const QImage normal = icon.pixmap(QSize(18, 18), 1.0).toImage();
  EXPECT_EQ(normal, toolbar_icons(2.0).front().pixmap(QSize(18, 18), 1.0).toImage());
  EXPECT_NE(normal, disabled);
  EXPECT_EQ(icon.pixmap(QSize(18, 18), 1.0).toImage(), normal);
  EXPECT_EQ(icon.pixmap(QSize(24, 24), 1.0).size(), QSize(24, 24));
  EXPECT_EQ(icon.pixmap(QSize(18, 18), 1.0, QIcon::Disabled).toImage(), disabled);
}

TEST(ToolbarIcons, ProgramIconNamesTheUsualSizesAndPaintsThemWhenAsked) {
  const QIcon icon = program_icon();
  const QList<QSize> sizes = icon.availableSizes();
  ASSERT_EQ(sizes.size(), 7);
  EXPECT_EQ(sizes.front(), QSize(16, 16));
  EXPECT_EQ(sizes.back(), QSize(256, 256));
  const QPixmap large = icon.pixmap(QSize(256, 256), 1.0);
  EXPECT_EQ(large.size(), QSize(256, 256));
  EXPECT_TRUE(has_paint(large.toImage()));
}

TEST(ToolbarIcons, SwatchKeepsItsShapeAndShowsTheSchemeBackground) {
  const QImage dark = swatch_icon(2).pixmap(QSize(kSwatchWidth, kSwatchHeight), 2.0).toImage();
  ASSERT_EQ(dark.size(), QSize(2 * kSwatchWidth, 2 * kSwatchHeight));
  EXPECT_EQ(dark.pixel(8, 2 * kSwatchHeight - 8) & 0xffffff, 0u);  // black background of scheme 2
  EXPECT_EQ(dark.pixel(0, 0) & 0xffffff, 0x999999u);                // grey frame
  // Asked for a square, the swatch stays 36:16.
  EXPECT_EQ(swatch_icon(0).pixmap(QSize(36, 36)).size(), QSize(36, 16));
}

}  // namespace
}  // namespace kv
