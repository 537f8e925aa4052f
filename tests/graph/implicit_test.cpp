// Equations, inequalities and parametric pairs through the recomputation the
// paint path runs, judged against the geometry of their curves.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "graph/coord_painter.h"
#include "graph/curve_drawing.h"
#include "graph/implicit_drawing.h"
#include "graph_test_support.h"
#include "recording_device.h"

namespace kv {
namespace {

using analysis::kPixelCurve;
using analysis::kPixelInside;
using analysis::kPixelNone;
using Fn = std::function<double(double, double)>;
using test::OpKind;
using test::RecordedOp;
using test::RecordingDevice;

constexpr double kPi = 3.14159265358979323846;

struct Pt {
  double x, y;
};

// The plot of -5..5 in both directions at 400 x 400 pixels.
struct Plane {
  test::Graph g{kPanelFunction, 400, 400};
  Plane() {
    g.set_range(-5, 5, -5, 5);
    g.panel.ymin_fixed = g.panel.ymax_fixed = true;
  }
  double px() const { return 10.0 / 400; }
  const analysis::ImplicitPixels& pixels(int k = 0) const { return g.plot.formulas.at(k).pixels; }
  double x(int i) const { return -5 + i * px(); }
  double y(int j) const { return 5 - j * px(); }
  int column(double x) const { return static_cast<int>(std::lround((x + 5) / px())); }
  int row(double y) const { return static_cast<int>(std::lround((5 - y) / px())); }
};

// Every point of the curve has a drawn pixel within one pixel.
void expect_points_drawn(const Plane& p, const std::vector<Pt>& points, const char* text) {
  const auto& px = p.pixels();
  int missed = 0;
  for (const Pt& q : points) {
    const int i = p.column(q.x), j = p.row(q.y);
    if (i < 1 || j < 1 || i + 1 >= px.width || j + 1 >= px.height) continue;
    bool drawn = false;
    for (int b = -1; b <= 1; ++b) {
      for (int a = -1; a <= 1; ++a) drawn |= px.at(i + a, j + b) == kPixelCurve;
    }
    missed += !drawn;
  }
  EXPECT_EQ(missed, 0) << text;
}

// Every drawn pixel has the curve within two pixels: the difference changes
// sign (or is 0) on a fine grid over the square two pixels around it.
void expect_drawn_near_curve(const Plane& p, const Fn& g, const char* text) {
  const auto& px = p.pixels();
  int far = 0, drawn = 0;
  for (int j = 0; j < px.height; ++j) {
    for (int i = 0; i < px.width; ++i) {
      if (px.at(i, j) != kPixelCurve) continue;
      ++drawn;
      bool neg = false, pos = false;
      for (int b = -8; b <= 8; ++b) {
        for (int a = -8; a <= 8; ++a) {
          const double v = g(p.x(i) + a * p.px() / 4, p.y(j) + b * p.px() / 4);
          neg |= v <= 0;
          pos |= v >= 0;
        }
      }
      far += !(neg && pos);
    }
  }
  EXPECT_GT(drawn, 0) << text;
  EXPECT_EQ(far, 0) << text;
}

std::vector<Pt> along(double a, double b, int n, const std::function<Pt(double)>& curve) {
  std::vector<Pt> out;
  for (int k = 0; k <= n; ++k) out.push_back(curve(a + (b - a) * k / n));
  return out;
}

struct CurveCase {
  const char* text;
  Fn difference;
  std::vector<Pt> points;
};

TEST(ImplicitPixels, EquationsDrawEveryPixelOfTheirCurveAndNothingFar) {
  std::vector<Pt> cubic = along(-1, 0, 400, [](double x) { return Pt{x, std::sqrt(x * x * x - x)}; });
  for (Pt q : along(1, 3.1, 800, [](double x) { return Pt{x, std::sqrt(x * x * x - x)}; })) {
    cubic.push_back(q);
  }
  for (size_t k = 0, n = cubic.size(); k < n; ++k) cubic.push_back({cubic[k].x, -cubic[k].y});
  const CurveCase cases[] = {
      {"x^2+y^2=9", [](double x, double y) { return x * x + y * y - 9; },
       along(0, 2 * kPi, 2000, [](double t) { return Pt{3 * std::cos(t), 3 * std::sin(t)}; })},
      {"y^2=x^3-x", [](double x, double y) { return y * y - (x * x * x - x); }, cubic},
      {"x^3+y^3=3xy", [](double x, double y) { return x * x * x + y * y * y - 3 * x * y; },
       along(-0.6, 40, 8000, [](double t) {
         return Pt{3 * t / (1 + t * t * t), 3 * t * t / (1 + t * t * t)};
       })},
      {"x=1", [](double x, double) { return x - 1; },
       along(-5, 5, 400, [](double s) { return Pt{1, s}; })},
  };
  for (const CurveCase& c : cases) {
    Plane p;
    ASSERT_TRUE(p.g.compile_and_run(c.text)) << c.text;
    ASSERT_TRUE(p.pixels().complete) << c.text;
    expect_points_drawn(p, c.points, c.text);
    expect_drawn_near_curve(p, c.difference, c.text);
  }
}

// Inequalities: proven inside two pixels off the boundary, untouched two
// pixels outside it, the boundary drawn as the equation is.
TEST(ImplicitPixels, InequalitiesFillTheProvenRegionOnly) {
  const CurveCase cases[] = {
      {"x^2+y^2<4", [](double x, double y) { return x * x + y * y - 4; },
       along(0, 2 * kPi, 2000, [](double t) { return Pt{2 * std::cos(t), 2 * std::sin(t)}; })},
      {"y>sin(x)", [](double x, double y) { return std::sin(x) - y; },
       along(-5, 5, 2000, [](double x) { return Pt{x, std::sin(x)}; })},
      {"abs(x)+abs(y)<=1", [](double x, double y) { return std::fabs(x) + std::fabs(y) - 1; },
       along(0, 4, 2000, [](double s) {
         const double u = s - std::min(std::floor(s), 3.0);
         const int side = std::min(static_cast<int>(s), 3);
         const Pt corners[5] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}};
         return Pt{corners[side].x + u * (corners[side + 1].x - corners[side].x),
                   corners[side].y + u * (corners[side + 1].y - corners[side].y)};
       })},
  };
  for (const CurveCase& c : cases) {
    Plane p;
    ASSERT_TRUE(p.g.compile_and_run(c.text)) << c.text;
    const auto& px = p.pixels();
    ASSERT_TRUE(px.complete) << c.text;
    int wrong = 0;
    for (int j = 0; j < px.height; ++j) {
      for (int i = 0; i < px.width; ++i) {
        bool in = true, out = true;  // for all points two pixels around
        for (int b = -2; b <= 2; ++b) {
          for (int a = -2; a <= 2; ++a) {
            const double v = c.difference(p.x(i) + a * p.px(), p.y(j) + b * p.px());
            in &= v < 0;
            out &= v > 0;
          }
        }
        if (in) wrong += px.at(i, j) != kPixelInside;
        if (out) wrong += px.at(i, j) != kPixelNone;
      }
    }
    EXPECT_EQ(wrong, 0) << c.text;
    // The dashed boundary of "<" and ">" leaves gaps: only the solid one is
    // held to every point.
    if (p.g.panel.formulas[0]->relation == kRelLessEqual) expect_points_drawn(p, c.points, c.text);
    expect_drawn_near_curve(p, c.difference, c.text);
  }
}

// Parametric pairs take polar sampling: (t, t^2) lies on the pixels of x^2,
// and the Lissajous figure on its own points.
TEST(ImplicitPixels, ParametricPairsLieOnTheirCurves) {
  test::Graph pair(kPanelFunction, 400, 400), parabola(kPanelFunction, 400, 400);
  for (test::Graph* g : {&pair, &parabola}) {
    g->set_range(-3, 3, -1, 9);
    g->panel.ymin_fixed = g->panel.ymax_fixed = true;
    g->panel.range[kTMin].value = -3;
    g->panel.range[kTMax].value = 3;
  }
  ASSERT_TRUE(pair.compile_and_run("(t, t^2)"));
  ASSERT_TRUE(parabola.compile_and_run("x^2"));
  const CurveSamples& c = pair.curve();
  ASSERT_GT(c.pixel_last, 100);
  const CurveSamples& e = parabola.curve();
  for (int k = 0; k <= c.pixel_last; ++k) {
    const Point q = c.pixels[k];
    if (q.x < 0 || q.x > 400) continue;
    EXPECT_NEAR(q.y, e.pixels[q.x].y, std::max(2.0, std::fabs(e.pixels[q.x].y - e.pixels[std::min(q.x + 1, 400)].y) + 1))
        << "column " << q.x;
  }

  test::Graph lissajous(kPanelFunction, 400, 400);
  lissajous.set_range(-2, 2, -2, 2);
  lissajous.panel.ymin_fixed = lissajous.panel.ymax_fixed = true;
  ASSERT_TRUE(lissajous.compile_and_run("(cos(3t), sin(2t))"));
  const CurveSamples& l = lissajous.curve();
  ASSERT_GT(l.pixel_last, 100);
  for (int k = 0; k <= l.pixel_last; k += 7) {
    // the point's t is not kept in the pixels: the pixel must lie within two
    // pixels of some point of the figure
    const double x = -2 + l.pixels[k].x * 0.01, y = 2 - l.pixels[k].y * 0.01;
    double best = 1e9;
    for (int s = 0; s < 4000; ++s) {
      const double t = 2 * kPi * s / 4000;
      best = std::min(best, std::hypot(std::cos(3 * t) - x, std::sin(2 * t) - y));
    }
    EXPECT_LT(best, 0.02) << k;
  }
}

// An undefined y component ends the piece: (t, sqrt(t)) has no point left
// of t = 0, and (t, 1/t) breaks at its pole.
TEST(ImplicitPixels, ParametricBreaksFollowEitherComponent) {
  test::Graph g(kPanelFunction, 400, 400);
  g.set_range(-3, 3, -3, 3);
  g.panel.ymin_fixed = g.panel.ymax_fixed = true;
  ASSERT_TRUE(g.compile_and_run("(t, sqrt(t)); (t, 1/t)"));
  const CurveSamples& root = g.curve(0);
  for (int i = 0; i <= root.last; ++i) {
    if (root.samples[i].t < 0) {
      EXPECT_FALSE(is_defined(root.samples[i].flag)) << i;
    }
  }
  const CurveSamples& hyperbola = g.curve(1);
  int pieces = 0;
  for (int i = 0; i <= hyperbola.last; ++i) pieces += (hyperbola.samples[i].flag & kPieceStart) != 0;
  EXPECT_GE(pieces, 2);
}

// A budget already spent leaves every pixel undecided, not wrong.
TEST(ImplicitPixels, ADeadlineInThePastLeavesPixelsUndecided) {
  Plane p;
  ASSERT_TRUE(p.g.compile("sin(x^2+y^2)=cos(x*y)"));
  analysis::PlaneWindow w{-5, 5, -5, 5, 400, 400};
  const auto px = analysis::classify_implicit(*p.g.panel.formulas[0], w, kRadians,
                                              std::chrono::steady_clock::now());
  EXPECT_FALSE(px.complete);
  int decided = 0;
  for (uint8_t c : px.cls) decided += c != analysis::kPixelUndecided;
  EXPECT_LT(decided, 64 * 64 * 64);
}

// Through the paint entry: the line x=1 as squares of the line width in its
// colour on its column, the half plane y<0 tinted below the axis before the
// coordinate system is painted over it, its boundary dashed.
TEST(ImplicitDrawing, CurvePixelsAndRegionsReachTheDevice) {
  for (int lw : {1, 3}) {
    Plane p;
    p.g.panel.options[kOptLineWidth] = lw;
    p.g.panel.options[kOptGrid] = 1;
    ASSERT_TRUE(p.g.compile_and_run("x=1;y<0"));
    const ColourTable colours = build_colour_table(0);
    RecordingDevice dev;
    PictureFrame frame;
    const PlotRect rect{50, 10, 400, 400};
    frame.background = {0, 0, 500, 450};
    frame.plot = rect;
    paint_picture(dev, p.g.panel, p.g.plot, colours, frame);
    const Colour line = colours[curve_colour_entry(p.g.panel, *p.g.panel.formulas[0], CurveKind::Own)];
    const Colour half = colours[curve_colour_entry(p.g.panel, *p.g.panel.formulas[1], CurveKind::Own)];
    const Colour tint = mix_colour(half, colours[kColourBackground], 64);
    int line_squares = 0, boundary = 0, tinted_above = 0, tinted_below = 0;
    size_t first_tint = dev.ops.size(), first_line = dev.ops.size();
    for (size_t k = 0; k < dev.ops.size(); ++k) {
      const RecordedOp& op = dev.ops[k];
      if (op.kind != OpKind::FillRect && first_line == dev.ops.size()) first_line = k;
      if (op.kind != OpKind::FillRect) continue;
      const Rect& r = op.rect;
      if (op.colour == line) {
        EXPECT_EQ(r.width(), lw);
        EXPECT_EQ(r.height(), lw);
        EXPECT_EQ(r.left + (lw - 1) / 2, rect.left + 240);
        ++line_squares;
      } else if (op.colour == half) {
        EXPECT_EQ(r.top + (lw - 1) / 2, rect.top + 200);
        ++boundary;
      } else if (op.colour == tint) {
        first_tint = std::min(first_tint, k);
        (r.top < rect.top + 200 ? tinted_above : tinted_below) += 1;
      }
    }
    EXPECT_GE(line_squares, 380) << lw;
    EXPECT_GT(boundary, 100) << lw;
    EXPECT_LT(boundary, 350) << lw << ": the boundary of < is dashed";
    EXPECT_EQ(tinted_above, 0) << lw;
    EXPECT_GE(tinted_below, 199) << lw;
    ASSERT_LT(first_line, dev.ops.size());
    EXPECT_LT(first_tint, first_line) << lw << ": the grid and axes lie over the tint";
  }
}

TEST(ImplicitDrawing, TintsMixTheCurveColourIntoTheBackground) {
  EXPECT_EQ(mix_colour(0xFF0000, 0xFFFFFF, 64), 0xFFBFBFu);
  EXPECT_EQ(mix_colour(0x123456, 0x123456, 100), 0x123456u);
  EXPECT_EQ(mix_colour(0x000000, 0xFFFFFF, 256), 0x000000u);
}

}  // namespace
}  // namespace kv
