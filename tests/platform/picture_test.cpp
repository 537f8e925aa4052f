// Pixel tests on the off-screen picture: what a user sees in the exported
// picture, drawn with the real fonts.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <set>

#include "expr/compiler.h"
#include "graph/colours.h"
#include "graph/recompute.h"
#include "model/initial_contents.h"
#include "model/settings_defaults.h"
#include "platform/picture.h"

namespace kv {
namespace {

constexpr Colour kWhite = 0xffffff;

// A drawing panel as a first start shows it, with options changed by the test.
struct Scene {
  PanelRecord panel;
  PanelPlot plot;
  int width, height;

  explicit Scene(int index = kPanelFunction, int w = 600, int h = 500) : width(w), height(h) {
    reset_panel(panel, index);
    apply_panel_defaults(panel, index);
    fill_panel_texts(panel, index);
    panel.options[kOptEqualScales] = 0;
  }
  void only(std::initializer_list<OptionIndex> on) {
    for (OptionIndex o : {kOptGrid, kOptSubGrid, kOptAxes, kOptTickLabels, kOptTickMarks,
                          kOptBorder, kOptBoxedStyle, kOptFunctionExpressions, kOptXUnitsPi,
                          kOptYUnitsPi, kOptFillIntegralArea}) {
      panel.options[o] = 0;
    }
    for (OptionIndex o : on) panel.options[o] = 1;
  }
  PlotPlacement placement() const {
    return placement_for_plot_size(width, height, panel.option(kOptBoxedStyle) != 0);
  }
  QImage render(const std::string& formulas) {
    panel.source = formulas;
    CompileEnv env;
    env.surface = panel.role == kPanelIntegral ? kPanelIntegral
                  : panel.role == kPanelDiffEqu ? kPanelDiffEqu
                                                     : kPanelFunction;
    EXPECT_TRUE(compile_formulas(panel, env));
    EXPECT_TRUE(recompute_panel(panel, plot, width, height));
    return paint_graph_image(panel, plot, build_colour_table(panel.option(kOptPalette)),
                             placement());
  }
};

Colour px(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

std::set<Colour> colours_of(const QImage& image) {
  std::set<Colour> out;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) out.insert(px(image, x, y));
  }
  return out;
}

TEST(Picture, GraphAreaHasThePlotAndItsMargins) {
  for (bool boxed : {false, true}) {
    const PlotPlacement p = placement_for_plot_size(624, 520, boxed);
    EXPECT_EQ(p.plot.left, boxed ? 69 : 23);
    EXPECT_EQ(p.plot.top, 21);
    EXPECT_EQ(p.plot.width, 624);
    EXPECT_EQ(p.client, (Rect{0, 0, p.plot.left + 624 + 22 + 1, 21 + 520 + 23 + 1}));
  }
  EXPECT_EQ(placement_for_plot_size(31, 101, true).plot.width, 50);
  EXPECT_EQ(placement_for_plot_size(31, 101, true).plot.height, 102);
}

TEST(Picture, StartPictureUsesOnlyPaletteColours) {
  // Text without antialiasing and one-pixel pens give no mixed colours.
  for (int palette = 0; palette < 3; ++palette) {
    Scene s;
    s.panel.options[kOptPalette] = palette;
    const QImage image = s.render(initial_function_text());
    const ColourTable table = build_colour_table(palette);
    std::set<Colour> allowed(table.entries.begin(), table.entries.end());
    for (Colour c : colours_of(image)) EXPECT_TRUE(allowed.count(c)) << std::hex << c;
  }
}

TEST(Picture, GridLinesAreDottedOnePixelOnOneOff) {
  Scene s;
  s.only({kOptGrid, kOptBoxedStyle});
  const QImage image = s.render("");
  const PlotRect r = s.placement().plot;
  const int col = r.left + 500;  // x = 4
  for (int y = r.top; y <= r.top + 200; ++y) {
    EXPECT_EQ(px(image, col, y), (y - r.top) % 2 == 0 ? 0x999999u : kWhite) << y;
  }
  EXPECT_EQ(px(image, col + 1, r.top), kWhite);
}

TEST(Picture, SubGridAloneDotsEveryThirdPixel) {
  Scene s;
  s.only({kOptSubGrid, kOptBoxedStyle});
  const QImage image = s.render("");
  const PlotRect r = s.placement().plot;
  const int col = r.left + 550;  // a subdivision line, x = 5
  int dots = 0;
  for (int y = r.top + 1; y < r.top + 200; ++y) {
    if (px(image, col, y) == 0xcccccc) {
      ++dots;
      EXPECT_NE(px(image, col, y + 1), 0xccccccu);
      EXPECT_NE(px(image, col, y + 2), 0xccccccu);
    }
  }
  EXPECT_GE(dots, 60);
}

TEST(Picture, BoxedTickMarksLeaveOutTheirEndPixel) {
  Scene s;
  s.only({kOptTickMarks, kOptBoxedStyle});
  const QImage image = s.render("");
  const PlotRect r = s.placement().plot;
  const int col = r.left + 100;
  for (int y = r.top; y < r.top + 9; ++y) EXPECT_EQ(px(image, col, y), 0u) << y;
  EXPECT_EQ(px(image, col, r.top + 9), kWhite);
  for (int y = r.bottom() - 8; y <= r.bottom(); ++y) EXPECT_EQ(px(image, col, y), 0u) << y;
  EXPECT_EQ(px(image, col, r.bottom() - 9), kWhite);
}

TEST(Picture, IsolatedPointIsADiscOfLineWidthPlusTwo) {
  for (int lw : {1, 3}) {
    Scene s;
    s.only({kOptBoxedStyle});
    s.panel.options[kOptLineWidth] = lw;
    const QImage image = s.render("sqrt(-x^2)");  // defined at x = 0 only
    const PlotRect r = s.placement().plot;
    const int col = r.left + 300, row = r.top + 250;
    const Colour red = 0xff0000;
    const int reach = (lw + 2) / 2;
    EXPECT_EQ(px(image, col, row), red);
    EXPECT_EQ(px(image, col - reach, row), red) << lw;
    EXPECT_EQ(px(image, col + reach, row), red) << lw;
    EXPECT_NE(px(image, col - reach - 1, row), red) << lw;
    EXPECT_NE(px(image, col + reach + 1, row), red) << lw;
    // A disc, not a square, once it is large enough to round.
    EXPECT_EQ(px(image, col - reach, row - reach) == red, lw == 1) << lw;
  }
}

TEST(Picture, HatchedIntegralAreaUsesTheQuarterColour) {
  Scene s(kPanelIntegral);
  s.only({kOptFillIntegralArea, kOptBoxedStyle});
  const QImage image = s.render("cos(x)");
  int hatch = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) hatch += px(image, x, y) == 0xbfbfff;
  }
  EXPECT_GT(hatch, 500);
}

TEST(Picture, InputHintStandsAtTheLowerLeft) {
  Scene s(kPanelIntegral);
  s.only({});
  const QImage image = s.render("");
  const PlotRect r = s.placement().plot;
  int top = image.height(), bottom = -1, left = image.width();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (px(image, x, y) != 0) continue;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
    }
  }
  ASSERT_GE(bottom, 0);
  EXPECT_GE(left, r.left + 14);
  EXPECT_LE(left, r.left + 16);
  EXPECT_LT(bottom, r.bottom() - 15);   // two line pitches above the bottom
  EXPECT_GT(top, r.bottom() - 6 * 17);  // five lines of about 15 pixels
}

TEST(Picture, LongXTitleReadsDownwardsBesideTheArrow) {
  for (const char* title : {"X", "Zeit in s"}) {
    Scene s;
    s.only({kOptAxes});
    s.panel.title_x = title;
    s.panel.title_y.clear();
    const QImage image = s.render("");
    const PlotRect r = s.placement().plot;
    int minx = image.width(), maxx = -1, miny = image.height(), maxy = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = r.right() + 6; x < image.width(); ++x) {
        if (px(image, x, y) != 0) continue;
        // Skip the arrow head on the axis row.
        if (y >= r.top + 246 && y <= r.top + 254 && x <= r.right() + 15) continue;
        minx = std::min(minx, x), maxx = std::max(maxx, x);
        miny = std::min(miny, y), maxy = std::max(maxy, y);
      }
    }
    ASSERT_GE(maxx, 0) << title;
    const bool tall = (maxy - miny) > 2 * (maxx - minx);
    EXPECT_EQ(tall, std::string(title).size() > 1) << title;
    EXPECT_LT(maxy, r.top + 250) << "above the axis";
  }
}

TEST(Picture, SvgIsWellFormedAndQtDrawsIt) {
  Scene s;
  s.panel.options[kOptSubGrid] = 1;
  s.render(initial_function_text());
  const QByteArray svg = paint_graph_svg(s.panel, s.plot, build_colour_table(0), s.placement());
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  const Rect c = s.placement().client;
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, c.width(), c.height()));
  QImage image(c.width(), c.height(), QImage::Format_RGB32);
  image.fill(0xff808080);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  const std::set<Colour> seen = colours_of(image);
  EXPECT_TRUE(seen.count(kWhite));
  EXPECT_TRUE(seen.count(0xff0000) || seen.size() > 10);
}

TEST(Picture, RgbImageKeepsEveryPixel) {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(0xff102030);
  image.setPixel(2, 1, 0xffabcdef);
  const RgbImage rgb = to_rgb_image(image);
  ASSERT_TRUE(rgb_image_is_consistent(rgb));
  EXPECT_EQ(rgb.pixels[0], 0x102030u);
  EXPECT_EQ(rgb.pixels[5], 0xabcdefu);
}

TEST(OffscreenPicture, RepaintsWithoutRedrawOnlyCopy) {
  Scene s;
  s.panel.source = initial_function_text();
  CompileEnv env;
  ASSERT_TRUE(compile_formulas(s.panel, env));
  const PlotPlacement place = s.placement();
  const ColourTable colours = build_colour_table(0);
  QImage window(place.client.width(), place.client.height(), QImage::Format_RGB32);
  OffscreenPicture picture;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, window.width(), window.height()), s.panel, s.plot, colours,
                  place, PaintFlags{});
  }
  ASSERT_TRUE(picture.has_picture());
  EXPECT_TRUE(s.plot.valid);
  EXPECT_EQ(window, picture.image());
  const QImage first = picture.image();

  // Another palette without the redraw flag: the old picture is copied.
  const ColourTable dark = build_colour_table(2);
  PaintFlags copy_only;
  copy_only.redraw = copy_only.recompute = false;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, 10, 10), s.panel, s.plot, dark, place, copy_only);
  }
  EXPECT_EQ(picture.image(), first);

  // Without double buffering there is no picture.
  PaintFlags direct;
  direct.double_buffering = false;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, 10, 10), s.panel, s.plot, dark, place, direct);
  }
  EXPECT_FALSE(picture.has_picture());
  EXPECT_EQ(px(window, 0, 0), 0u);  // palette 2 background drawn directly
}

// All of the window painted with no picture yet goes straight to it, at
// either pixel ratio and with an implicit curve; the picture made afterwards
// for a part or when asked for holds the same pixels.
TEST(OffscreenPicture, PaintsAllOfTheWindowStraightAndMakesThePictureLater) {
  for (const double dpr : {1.0, 2.0}) {
    Scene s;
    s.panel.source = "sin(x);\r\nx^2+y^2=9";
    CompileEnv env;
    ASSERT_TRUE(compile_formulas(s.panel, env));
    const PlotPlacement place = s.placement();
    const ColourTable colours = build_colour_table(0);
    const int w = place.client.width(), h = place.client.height();
    QImage window(qRound(w * dpr), qRound(h * dpr), QImage::Format_RGB32);
    window.setDevicePixelRatio(dpr);
    PaintFlags flags;
    flags.device_pixel_ratio = dpr;
    flags.whole = true;
    OffscreenPicture picture;
    EXPECT_TRUE(picture.picture_for(s.panel, s.plot, colours, place, flags).isNull());
    {
      QPainter painter(&window);
      picture.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, colours, place, flags);
    }
    EXPECT_FALSE(picture.has_picture()) << dpr;
    ASSERT_TRUE(s.plot.valid);
    EXPECT_EQ(picture.picture_for(s.panel, s.plot, colours, place, flags), window) << dpr;

    // A part after a straight paint: the picture is made and copied from.
    OffscreenPicture part;
    {
      QPainter painter(&window);
      part.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, colours, place, flags);
    }
    const QImage shown = window.copy();
    window.fill(0);
    PaintFlags copy = flags;
    copy.whole = false;
    copy.redraw = copy.recompute = false;
    {
      QPainter painter(&window);
      part.paint(painter, QRect(10, 10, 40, 30), s.panel, s.plot, colours, place, copy);
    }
    ASSERT_TRUE(part.has_picture());
    EXPECT_EQ(part.image(), shown) << dpr;
    EXPECT_EQ(window.pixel(qRound(30 * dpr), qRound(20 * dpr)),
              shown.pixel(qRound(30 * dpr), qRound(20 * dpr)));
    EXPECT_EQ(window.pixel(qRound(60 * dpr), qRound(60 * dpr)), 0xff000000u);  // not dirty
  }
}

TEST(OffscreenPicture, DrawsDirectlyWhenThePictureCannotBeMadeAndRetriesLater) {
  Scene s;
  s.panel.source = "x";
  CompileEnv env;
  ASSERT_TRUE(compile_formulas(s.panel, env));
  PlotPlacement huge = s.placement();
  huge.client = {0, 0, 60000, 60000};  // more than a QImage can hold
  const ColourTable dark = build_colour_table(2);
  QImage window(100, 100, QImage::Format_RGB32);
  window.fill(0xffffffff);
  OffscreenPicture picture;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, 100, 100), s.panel, s.plot, dark, huge, PaintFlags{});
  }
  EXPECT_FALSE(picture.has_picture());
  EXPECT_TRUE(picture.render_failed());
  EXPECT_EQ(px(window, 5, 5), 0u);  // the graph was drawn straight onto the window

  PaintFlags again;
  again.redraw = again.recompute = false;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, 100, 100), s.panel, s.plot, dark, s.placement(), again);
  }
  EXPECT_TRUE(picture.has_picture());
  EXPECT_FALSE(picture.render_failed());
}

TEST(OffscreenPicture, KeepsDevicePixelsAtRatioTwoAndFollowsARatioChange) {
  Scene s;
  s.panel.source = "x";
  CompileEnv env;
  ASSERT_TRUE(compile_formulas(s.panel, env));
  const PlotPlacement place = s.placement();
  const ColourTable colours = build_colour_table(0);
  const int w = place.client.width(), h = place.client.height();
  QImage window(2 * w, 2 * h, QImage::Format_RGB32);
  window.setDevicePixelRatio(2);
  PaintFlags flags;
  flags.device_pixel_ratio = 2;
  OffscreenPicture picture;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, colours, place, flags);
  }
  ASSERT_EQ(picture.image().size(), QSize(2 * w, 2 * h));
  EXPECT_EQ(picture.image().devicePixelRatio(), 2.0);
  EXPECT_EQ(window, picture.image());  // one picture pixel per device pixel

  // A dirty part lands on its own device pixels and nowhere else.
  window.fill(0);
  flags.redraw = flags.recompute = false;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(10, 10, 20, 20), s.panel, s.plot, colours, place, flags);
  }
  EXPECT_EQ(px(window, 19, 19), 0u);
  EXPECT_EQ(px(window, 60, 60), 0u);
  for (int d : {20, 40, 59}) EXPECT_EQ(window.pixel(d, d), picture.image().pixel(d, d)) << d;

  // Moved to a screen of ratio 1: painted again at that ratio without being asked.
  flags.device_pixel_ratio = 1;
  QImage plain(w, h, QImage::Format_RGB32);
  {
    QPainter painter(&plain);
    picture.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, colours, place, flags);
  }
  EXPECT_EQ(picture.image().size(), QSize(w, h));
  EXPECT_EQ(plain, picture.image());
}

// The circle x^2+y^2=9 at ratio 2 in the window's picture: the geometry of
// the picture at ratio 1, as thin in units, with edges between the device
// pixels of one unit (not the ratio-1 pixels blown up); as SVG, merged
// rectangles instead of one per pixel.
TEST(OffscreenPicture, ImplicitCurvesTakeDevicePixelsAndFewShapes) {
  Scene s;
  s.only({});
  const QImage one = s.render("x^2+y^2=9");
  const PlotPlacement place = s.placement();
  const int w = place.client.width(), h = place.client.height();
  int n1 = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) n1 += px(one, x, y) != kWhite;
  }
  ASSERT_GT(n1, 500);

  QImage window(2 * w, 2 * h, QImage::Format_RGB32);
  window.setDevicePixelRatio(2);
  PaintFlags flags;
  flags.device_pixel_ratio = 2;
  flags.progressive = true;
  OffscreenPicture picture;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, build_colour_table(0), place, flags);
  }
  EXPECT_EQ(s.plot.pixel_scale, 2);
  while (advance_implicit(s.panel, s.plot, std::chrono::milliseconds(50))) {
  }
  flags.recompute = false;
  {
    QPainter painter(&window);
    picture.paint(painter, QRect(0, 0, w, h), s.panel, s.plot, build_colour_table(0), place, flags);
  }
  const QImage& two = picture.image();
  int n2 = 0, far = 0, split_units = 0;
  for (int y = 0; y < 2 * h; ++y) {
    for (int x = 0; x < 2 * w; ++x) {
      if (px(two, x, y) == kWhite) continue;
      ++n2;
      bool near = false;
      for (int v = std::max(y / 2 - 1, 0); v <= std::min(y / 2 + 1, h - 1); ++v) {
        for (int u = std::max(x / 2 - 1, 0); u <= std::min(x / 2 + 1, w - 1); ++u) {
          near |= px(one, u, v) != kWhite;
        }
      }
      far += !near;
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int drawn = (px(two, 2 * x, 2 * y) != kWhite) + (px(two, 2 * x + 1, 2 * y) != kWhite) +
                        (px(two, 2 * x, 2 * y + 1) != kWhite) +
                        (px(two, 2 * x + 1, 2 * y + 1) != kWhite);
      split_units += drawn > 0 && drawn < 4;
    }
  }
  EXPECT_EQ(far, 0);
  EXPECT_GT(n2, 2 * n1);
  EXPECT_LT(n2, 5 * n1) << "as thin as at ratio 1";
  EXPECT_GT(split_units, n1 / 4) << "sharp at device pixels";

  // Pictures take pixels at one per unit, finished, whatever the window has.
  PanelPlot scratch;
  const PanelPlot& plot = finished_for_picture(s.panel, s.plot, scratch);
  EXPECT_EQ(plot.pixel_scale, 1);
  EXPECT_EQ(paint_graph_image(s.panel, plot, build_colour_table(0), place), one);
  const QByteArray svg = paint_graph_svg(s.panel, plot, build_colour_table(0), place);
  const qsizetype shapes = svg.count("<rect") + svg.count("<path") + svg.count("<polygon");
  EXPECT_LT(shapes, 40) << shapes << " shapes for " << n1 << " pixels";
  // Drawn by Qt, the polygons cover the pixels of the raster picture.
  QSvgRenderer renderer(svg);
  QImage drawn(w, h, QImage::Format_RGB32);
  QPainter painter(&drawn);
  renderer.render(&painter);
  painter.end();
  int differ = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) differ += (px(drawn, x, y) == kWhite) != (px(one, x, y) == kWhite);
  }
  EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace kv
