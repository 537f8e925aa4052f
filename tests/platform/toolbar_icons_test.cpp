// The painted pictures: every toolbar bitmap id has one, drawn in device
// pixels at a pixel ratio of 2 rather than scaled up, the one of the build
// at ratio 1, and ids beside the range have none.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "platform/painted_icon.h"
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
  for (int id = kFirstToolbarBitmap; id <= kLastToolbarBitmap; ++id) {
    const QIcon icon = toolbar_icon(id);
    ASSERT_FALSE(icon.isNull()) << id;
    const QPixmap one = icon.pixmap(QSize(18, 18), 1.0);
    const QPixmap two = icon.pixmap(QSize(18, 18), 2.0);
    EXPECT_EQ(one.size(), QSize(18, 18)) << id;
    EXPECT_EQ(two.size(), QSize(36, 36)) << id;
    EXPECT_EQ(two.devicePixelRatio(), 2.0) << id;
    EXPECT_TRUE(has_paint(two.toImage())) << id;
  }
  EXPECT_TRUE(toolbar_icon(kFirstToolbarBitmap - 1).isNull());
  EXPECT_TRUE(toolbar_icon(kLastToolbarBitmap + 1).isNull());
}

// The pictures the build painted ahead are the ones the icon paints, in
// both modes a toolbar shows.
TEST(ToolbarIcons, PicturesFromTheBuildAreTheOnesPaintedNow) {
  for (int id = kFirstToolbarBitmap; id <= kLastToolbarBitmap; ++id) {
    const QIcon painted = painted_icon([id](QPainter& p) { paint_toolbar_picture(p, id); },
                                       QSizeF(kToolbarIconSize, kToolbarIconSize));
    const QIcon baked = toolbar_icon(id);
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
      const QImage now = painted.pixmap(QSize(18, 18), 1.0, mode).toImage();
      EXPECT_EQ(baked.pixmap(QSize(18, 18), 1.0, mode).toImage(), now) << id << " mode " << mode;
    }
  }
}

TEST(ToolbarIcons, PicturesAreKeptApartBySizeAndMode) {
  const QIcon icon = toolbar_icon(kFirstToolbarBitmap);
  const QImage normal = icon.pixmap(QSize(18, 18), 1.0).toImage();
  const QImage disabled = icon.pixmap(QSize(18, 18), 1.0, QIcon::Disabled).toImage();
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
