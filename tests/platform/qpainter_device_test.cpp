// The QPainter device keeps the pixel rules the painters count on.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>

#include "graph/primitives.h"
#include "platform/qpainter_device.h"

namespace kv {
namespace {

constexpr Colour kWhite = 0xffffff;
constexpr Colour kBlack = 0x000000;

struct Canvas {
  QImage image{40, 30, QImage::Format_RGB32};
  QPainter painter;
  std::unique_ptr<QPainterDevice> dev;

  Canvas() {
    image.fill(0xffffffff);
    painter.begin(&image);
    dev = std::make_unique<QPainterDevice>(painter);
  }
  Colour at(int x, int y) {
    if (painter.isActive()) painter.end();
    return image.pixel(x, y) & 0xffffff;
  }
};

TEST(QPainterDevice, OnePixelLinesLeaveOutTheirEndPixel) {
  Canvas c;
  c.dev->set_pen({kBlack, 1, PenStyle::Solid});
  c.dev->line(2, 2, 12, 2);    // horizontal
  c.dev->line(20, 2, 20, 12);  // vertical
  c.dev->line(2, 5, 10, 13);   // diagonal
  EXPECT_EQ(c.at(2, 2), kBlack);
  EXPECT_EQ(c.at(11, 2), kBlack);
  EXPECT_EQ(c.at(12, 2), kWhite);
  EXPECT_EQ(c.at(20, 11), kBlack);
  EXPECT_EQ(c.at(20, 12), kWhite);
  EXPECT_EQ(c.at(9, 12), kBlack);
  EXPECT_EQ(c.at(10, 13), kWhite);
}

// Every black pixel of the canvas.
std::set<std::pair<int, int>> black_pixels(Canvas& c) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.image.height(); ++y) {
    for (int x = 0; x < c.image.width(); ++x) {
      if (c.at(x, y) == kBlack) out.insert({x, y});
    }
  }
  return out;
}

TEST(QPainterDevice, EveryDirectionDrawsTheFirstPixelAndLeavesOutTheLast) {
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      Canvas c;
      c.dev->set_pen({kBlack, 1, PenStyle::Solid});
      c.dev->line(20, 15, 20 + 6 * dx, 15 + 6 * dy);
      std::set<std::pair<int, int>> expected;
      for (int k = 0; k < 6; ++k) expected.insert({20 + k * dx, 15 + k * dy});
      EXPECT_EQ(black_pixels(c), expected) << "direction " << dx << "," << dy;
    }
  }
}

// Slopes that fall between pixels: each pixel is the one nearest to the
// ideal line, in both directions of drawing (no half-pixel shift).
TEST(QPainterDevice, SteepAndShallowLinesTakeTheNearestPixels) {
  // x = 5 + (y - 5) / 5 rounded, for y = 5 .. 14.
  const int steep_x[10] = {5, 5, 5, 6, 6, 6, 6, 6, 7, 7};
  struct Case { Point from, to; int first, last; };
  for (const Case& k : {Case{{5, 5}, {7, 15}, 5, 14}, Case{{7, 15}, {5, 5}, 6, 15}}) {
    Canvas c;
    c.dev->set_pen({kBlack, 1, PenStyle::Solid});
    c.dev->line(k.from.x, k.from.y, k.to.x, k.to.y);
    std::set<std::pair<int, int>> expected;
    for (int y = k.first; y <= k.last; ++y) expected.insert({y == 15 ? 7 : steep_x[y - 5], y});
    EXPECT_EQ(black_pixels(c), expected) << "steep from " << k.from.x << "," << k.from.y;
  }
  for (const Case& k : {Case{{5, 5}, {15, 7}, 5, 14}, Case{{15, 7}, {5, 5}, 6, 15}}) {
    Canvas c;
    c.dev->set_pen({kBlack, 1, PenStyle::Solid});
    c.dev->line(k.from.x, k.from.y, k.to.x, k.to.y);
    std::set<std::pair<int, int>> expected;
    for (int x = k.first; x <= k.last; ++x) expected.insert({x, x == 15 ? 7 : steep_x[x - 5]});
    EXPECT_EQ(black_pixels(c), expected) << "shallow from " << k.from.x << "," << k.from.y;
  }
}

// Only the steps inside the picture are set, so a segment far beyond it
// neither hangs nor runs out of memory, and its visible part is still right.
TEST(QPainterDevice, HugeSegmentsAreCutToThePicture) {
  Canvas c;
  c.dev->set_pen({kBlack, 1, PenStyle::Solid});
  c.dev->set_origin(5, 0);
  c.dev->line(2000000000, 3, -2000000000, 3);
  c.dev->line(-5, -2000000000, -5, 2000000000);
  const auto black = black_pixels(c);
  EXPECT_EQ(black.size(), 40u + 30u - 1u);
  EXPECT_TRUE(black.count({39, 3}) && black.count({0, 3}) && black.count({0, 29}));
}

TEST(QPainterDevice, PolylineLeavesOutOnlyTheLastPixel) {
  Canvas c;
  c.dev->set_pen({kBlack, 1, PenStyle::Solid});
  const Point pts[] = {{2, 2}, {8, 2}, {8, 8}};
  c.dev->polyline(pts, 3);
  EXPECT_EQ(c.at(8, 2), kBlack);  // the corner is drawn
  EXPECT_EQ(c.at(8, 7), kBlack);
  EXPECT_EQ(c.at(8, 8), kWhite);
}

TEST(QPainterDevice, RectangleFramesLeftToRightMinusOne) {
  Canvas c;
  hollow_rectangle(*c.dev, {5, 5, 15, 12}, {kBlack, 1, PenStyle::Solid});
  EXPECT_EQ(c.at(5, 5), kBlack);
  EXPECT_EQ(c.at(14, 11), kBlack);
  EXPECT_EQ(c.at(15, 11), kWhite);
  EXPECT_EQ(c.at(14, 12), kWhite);
  EXPECT_EQ(c.at(9, 8), kWhite);  // hollow
}

TEST(QPainterDevice, ClipStaysWhereItWasSetWhenTheOriginMoves) {
  Canvas c;
  c.dev->set_origin(10, 10);
  c.dev->set_clip_rect({0, 0, 5, 5});  // device 10..14
  c.dev->set_origin(0, 0);
  c.dev->fill_rect({0, 0, 40, 30}, kBlack);
  c.dev->clear_clip();
  EXPECT_EQ(c.at(10, 10), kBlack);
  EXPECT_EQ(c.at(14, 14), kBlack);
  EXPECT_EQ(c.at(15, 14), kWhite);
  EXPECT_EQ(c.at(9, 10), kWhite);
}

TEST(QPainterDevice, OriginShiftsDrawing) {
  Canvas c;
  c.dev->set_origin(7, 3);
  c.dev->set_pixel(1, 1, kBlack);
  EXPECT_EQ(c.dev->origin(), (Point{7, 3}));
  EXPECT_EQ(c.at(8, 4), kBlack);
}

TEST(QPainterDevice, TextIsNotAntialiasedAndOpaqueCellStartsAtTheTop) {
  QImage image(120, 40, QImage::Format_RGB32);
  image.fill(0xffffffff);
  {
    QPainter painter(&image);
    QPainterDevice dev(painter);
    dev.select_font(graph_font(1, 1, 0));
    dev.set_text_colour(0x0000ff);
    dev.set_text_background(true, 0xeeeeee);
    dev.draw_text(10, 10, "Funktion g(x)", TextAlign::Left);
    const TextExtent e = dev.text_extent("Funktion g(x)");
    EXPECT_GT(e.width, 40);
    EXPECT_EQ(e.height, dev.font_metrics().height);
    // The cell is filled from its top row; nothing above it.
    EXPECT_EQ(image.pixel(10, 9) & 0xffffff, 0xffffffu);
  }
  std::set<Colour> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) & 0xffffff);
  }
  EXPECT_EQ(colours, (std::set<Colour>{0xffffff, 0xeeeeee, 0x0000ff}));
  EXPECT_EQ(image.pixel(10, 10) & 0xffffff, 0xeeeeeeu);
}

TEST(QPainterDevice, RightAlignedTextEndsAtTheReferencePoint) {
  QImage image(120, 30, QImage::Format_RGB32);
  image.fill(0xffffffff);
  QPainter painter(&image);
  QPainterDevice dev(painter);
  dev.select_font(graph_font(3, 1, 0));
  dev.set_text_colour(kBlack);
  dev.set_text_background(true, 0x00ff00);
  dev.draw_text(80, 5, "123", TextAlign::Right);
  painter.end();
  EXPECT_EQ(image.pixel(79, 6) & 0xffffff, 0x00ff00u);  // opaque cell up to x - 1
  EXPECT_EQ(image.pixel(80, 6) & 0xffffff, 0xffffffu);
}

TEST(QPainterDevice, HatchBrushDrawsRisingDiagonals) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(0xffffffff);
  {
    QPainter painter(&image);
    QPainterDevice dev(painter);
    dev.set_pen({0, 1, PenStyle::Null});
    dev.set_brush({0xff0000, BrushStyle::HatchBackwardDiagonal});
    const Point square[] = {{0, 0}, {32, 0}, {32, 32}, {0, 32}};
    dev.polygon(square, 4);
  }
  int hatched = 0;
  for (int y = 1; y < 30; ++y) {
    for (int x = 1; x < 30; ++x) {
      if ((image.pixel(x, y) & 0xffffff) != 0xff0000) continue;
      ++hatched;
      EXPECT_EQ(image.pixel(x + 1, y - 1) & 0xffffff, 0xff0000u) << x << "," << y;
      EXPECT_EQ(image.pixel(x + 1, y) & 0xffffff, 0xffffffu) << x << "," << y;
    }
  }
  // One pixel in eight.
  EXPECT_NEAR(hatched, 29 * 29 / 8, 29);
}

TEST(QPainterDevice, BoldFollowsLineWidthAndPalette) {
  EXPECT_FALSE(graph_font(1, 1, 0).bold);
  EXPECT_TRUE(graph_font(1, 2, 0).bold);
  EXPECT_FALSE(graph_font(1, 2, 2).bold);
  EXPECT_TRUE(graph_font(3, 3, 2).bold);
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  QPainterDevice dev(painter);
  dev.select_font(graph_font(1, 1, 0));
  const int normal = dev.text_extent("Mmmmmmmmmm").width;
  dev.select_font(graph_font(1, 3, 0));
  EXPECT_GT(dev.text_extent("Mmmmmmmmmm").width, normal);
}

TEST(QPainterDevice, StripCopiesItsPixels) {
  Canvas c;
  const std::vector<Colour> strip = pattern_strip(7, kBlack, 0x00ff00, 3);
  c.dev->draw_strip(4, 2, strip.data(), strip.size(), true);
  EXPECT_EQ(c.at(4, 2), kBlack);
  EXPECT_EQ(c.at(4, 3), 0x00ff00u);
  EXPECT_EQ(c.at(4, 5), kBlack);
  EXPECT_EQ(c.at(4, 8), kBlack);
  EXPECT_EQ(c.at(4, 9), kWhite);
}

// A scene that runs every write across the picture's edges and the clip:
// lines in all directions, pixels, fills and strips, under moved origins.
// The columns of the grid's strips come in any order and may repeat.
void paint_edge_scene(QPainterDevice& d) {
  const std::vector<Colour> strip = pattern_strip(50, kBlack, 0x00ff00, 3);
  d.set_pen({0x0000ff, 1, PenStyle::Solid});
  d.line(-5, -3, 45, 33);
  d.line(39, 0, 0, 29);
  d.fill_rect({-10, 20, 8, 40}, 0xff0000);
  d.set_pixel(-1, 0, kBlack);
  d.set_pixel(39, 29, kBlack);
  d.set_pixel(40, 29, kBlack);
  d.draw_strip(-7, 1, strip.data(), strip.size(), false);
  d.draw_strip(38, -9, strip.data(), strip.size(), true);
  const int columns[] = {-3, 0, 5, 17, 17, 39, 40, 60};
  d.draw_column_strips(columns, 8, -4, strip.data(), 30);
  d.set_origin(6, 4);
  d.set_clip_rect({-2, -1, 20, 15});  // image pixels 4..25 by 3..18
  const Point zigzag[] = {{-9, 30}, {3, -8}, {30, 12}, {8, 8}, {8, 20}};
  d.polyline(zigzag, 5);
  d.fill_rect({15, 10, 60, 60}, 0x808080);
  d.draw_strip(-4, 5, strip.data(), strip.size(), false);
  d.draw_strip(2, -6, strip.data(), strip.size(), true);
  d.draw_column_strips(columns, 8, 2, strip.data(), strip.size());
  d.set_pixel(-3, 0, kBlack);  // outside the clip
  d.set_pixel(-2, -1, kBlack);
  d.set_origin(0, 0);
  d.fill_rect({0, 0, 3, 40}, 0x00ffff);  // the clip stays where it was set
  d.clear_clip();
  d.set_pixel(0, 0, 0x123456);
  d.set_clip_rect({10, 10, 10, 20});  // empty: Qt decides
  d.fill_rect({0, 0, 40, 30}, kBlack);
  d.clear_clip();
  d.fill_ellipse(30, 20, 9, 7, 0xffff00);
}

// On an RGB32 picture the device writes pixels itself; on any other image Qt
// sets them. Both must give the same picture.
TEST(QPainterDevice, WritingPixelsDirectlySetsThePixelsQtSets) {
  Canvas direct;
  paint_edge_scene(*direct.dev);
  QImage through_qt(40, 30, QImage::Format_ARGB32_Premultiplied);
  through_qt.fill(0xffffffff);
  {
    QPainter painter(&through_qt);
    QPainterDevice dev(painter);
    paint_edge_scene(dev);
  }
  int differing = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) differing += direct.at(x, y) != (through_qt.pixel(x, y) & 0xffffff);
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(direct.at(0, 0), 0x123456u);
  EXPECT_EQ(direct.at(25, 18), 0x808080u);  // the clip's corner
  EXPECT_NE(direct.at(26, 18), 0x808080u);
  EXPECT_NE(direct.at(25, 19), 0x808080u);
}

// A fill of a million pixels and more bypasses the caches; on rows that do
// not start on a 16-byte boundary it still covers exactly its rectangle.
TEST(QPainterDevice, LargeFillsCoverExactlyTheirRectangle) {
  QImage image(1031, 1110, QImage::Format_RGB32);  // 4124 bytes a row
  image.fill(0xffffffff);
  {
    QPainter painter(&image);
    QPainterDevice dev(painter);
    dev.set_origin(-2, 5);
    dev.fill_rect({5, -10, 1030, 1095}, 0x336699);  // image columns 3..1027, rows 0..1099
  }
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool inside = x >= 3 && x <= 1027 && y <= 1099;
      wrong += (image.pixel(x, y) & 0xffffff) != (inside ? 0x336699u : 0xffffffu);
    }
  }
  EXPECT_EQ(wrong, 0);
}

// A picture at twice the pixel density is drawn scaled, by Qt.
TEST(QPainterDevice, DensePicturesScaleEveryWrite) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(0xffffffff);
  image.setDevicePixelRatio(2.0);
  {
    QPainter painter(&image);
    QPainterDevice dev(painter);
    dev.set_pixel(1, 1, kBlack);
    dev.set_pen({kBlack, 1, PenStyle::Solid});
    dev.line(0, 3, 2, 3);
  }
  int black = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) black += (image.pixel(x, y) & 0xffffff) == kBlack;
  }
  EXPECT_GT(black, 6);  // the pixel covers four, the line more than its two
  EXPECT_EQ(image.pixel(2, 2) & 0xffffff, kBlack);
  EXPECT_EQ(image.pixel(3, 3) & 0xffffff, kBlack);
  EXPECT_EQ(image.pixel(4, 4) & 0xffffff, 0xffffffu);
}

}  // namespace
}  // namespace kv
