// Equations, inequalities and parametric pairs through the recomputation the
// paint path runs, judged against the geometry of their curves.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "graph/coord_painter.h"
#include "graph/curve_drawing.h"
#include "graph/implicit_drawing.h"
#include "graph/recompute.h"
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

// The pixels the fills of one colour cover, over a picture of 500 x 450.
struct Coverage {
  std::vector<uint8_t> on = std::vector<uint8_t>(500 * 450, 0);
  int fills = 0;
  void add(const Rect& r) {
    ++fills;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, 450); ++y) {
      for (int x = std::max(r.left, 0); x < std::min(r.right, 500); ++x) on[y * 500 + x] = 1;
    }
  }
  bool at(int x, int y) const { return on[y * 500 + x] != 0; }
  int row(int y, int x0, int x1) const {
    int n = 0;
    for (int x = x0; x < x1; ++x) n += at(x, y);
    return n;
  }
};

// Through the paint entry: the line x=1 in its colour on its column, as wide
// as the line width and merged into few rectangles; the half plane y<0
// tinted below the axis before the coordinate system is painted over it,
// its boundary dashed.
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
    Coverage lines, boundary, tinted;
    size_t first_tint = dev.ops.size(), first_line = dev.ops.size();
    for (size_t k = 0; k < dev.ops.size(); ++k) {
      const RecordedOp& op = dev.ops[k];
      if (op.kind != OpKind::FillRect && first_line == dev.ops.size()) first_line = k;
      if (op.kind != OpKind::FillRect) continue;
      if (op.colour == line) lines.add(op.rect);
      if (op.colour == half) boundary.add(op.rect);
      if (op.colour == tint) {
        first_tint = std::min(first_tint, k);
        tinted.add(op.rect);
      }
    }
    const int column = rect.left + 240 - (lw - 1) / 2;
    int full_rows = 0, other = 0;
    for (int y = rect.top; y <= rect.bottom(); ++y) {
      full_rows += lines.row(y, column, column + lw) == lw;
      other += lines.row(y, 0, 500) - lines.row(y, column, column + lw);
    }
    EXPECT_GE(full_rows, 380) << lw;
    EXPECT_EQ(other, 0) << lw;
    EXPECT_LE(lines.fills, 5) << lw << ": one column of pixels is one rectangle";
    const int on_boundary = boundary.row(rect.top + 200 - (lw - 1) / 2, rect.left, rect.right());
    EXPECT_GT(on_boundary, 100) << lw;
    EXPECT_LT(on_boundary, 350) << lw << ": the boundary of < is dashed";
    EXPECT_EQ(tinted.row(rect.top + 100, rect.left, rect.right()), 0) << lw;
    EXPECT_GE(tinted.row(rect.top + 300, rect.left, rect.right()), 380) << lw;
    EXPECT_LT(tinted.fills, 400) << lw << ": rows of one colour merge";
    ASSERT_LT(first_line, dev.ops.size());
    EXPECT_LT(first_tint, first_line) << lw << ": the grid and axes lie over the tint";
  }
}

// The walk in pieces: however often it stops, a pixel once decided keeps
// its class and the end is the pixels of one run to the end.
TEST(ImplicitPixels, PiecesGiveThePixelsOfOneRun) {
  for (const char* text : {"sin(x^2+y^2)=cos(x*y)", "x^2+y^2<4", "y^2=x^3-x"}) {
    Plane p;
    ASSERT_TRUE(p.g.compile(text)) << text;
    const CompiledFormula& f = *p.g.panel.formulas[0];
    const analysis::PlaneWindow w{-5, 5, -5, 5, 200, 150};
    const auto far = std::chrono::steady_clock::now() + std::chrono::hours(1);
    const analysis::ImplicitPixels whole = analysis::classify_implicit(f, w, kRadians, far);
    ASSERT_TRUE(whole.complete) << text;
    analysis::ImplicitRefinement r = analysis::start_refinement(w, kRadians);
    int pieces = 0, changed = 0;
    while (!analysis::advance_refinement(r, f, std::chrono::steady_clock::now())) {
      ++pieces;
      for (size_t k = 0; k < whole.cls.size(); ++k) {
        changed += r.pixels.cls[k] != analysis::kPixelUndecided && r.pixels.cls[k] != whole.cls[k];
      }
    }
    EXPECT_GT(pieces, 3) << text;
    EXPECT_EQ(changed, 0) << text;
    EXPECT_TRUE(r.pixels.complete) << text;
    EXPECT_TRUE(r.pixels.cls == whole.cls) << text;
  }
}

// The window's recomputation: a first piece, then refinement to the same
// pixels as a recomputation to the end; a picture meanwhile takes a finished
// copy; a change of the formulas cancels the work, and its pixels are no
// longer drawn.
TEST(ImplicitPixels, ProgressiveRecomputationRefinesAndCancels) {
  const char* const text = "sin(x^2+y^2)=cos(x*y);x^2+y^2<4";
  Plane q;
  ASSERT_TRUE(q.g.compile(text));
  ASSERT_TRUE(recompute_panel(q.g.panel, q.g.plot, 400, 400, {true, 1}));
  ASSERT_TRUE(implicit_pending(q.g.panel, q.g.plot));
  ASSERT_TRUE(q.g.compile("x^2+y^2<4"));  // a new formula: the old work is stale
  EXPECT_FALSE(implicit_pending(q.g.panel, q.g.plot));
  EXPECT_FALSE(advance_implicit(q.g.panel, q.g.plot, std::chrono::milliseconds(1)));
  RecordingDevice dev;
  paint_implicit_regions(dev, q.g.panel, q.g.plot, {0, 0, 400, 400}, build_colour_table(0));
  paint_implicit_curves(dev, q.g.panel, q.g.plot, {0, 0, 400, 400}, build_colour_table(0));
  EXPECT_TRUE(dev.of(OpKind::FillRect).empty());

  Plane whole, p;
  ASSERT_TRUE(whole.g.compile_and_run(text));
  ASSERT_TRUE(p.g.compile(text));
  ASSERT_TRUE(recompute_panel(p.g.panel, p.g.plot, 400, 400, {true, 1}));
  ASSERT_TRUE(implicit_pending(p.g.panel, p.g.plot));
  PanelPlot scratch;
  const PanelPlot& finished = finished_for_picture(p.g.panel, p.g.plot, scratch);
  ASSERT_EQ(&finished, &scratch);
  EXPECT_TRUE(implicit_pending(p.g.panel, p.g.plot)) << "the window's work goes on";
  int pieces = 0;
  while (advance_implicit(p.g.panel, p.g.plot, std::chrono::milliseconds(1))) ++pieces;
  EXPECT_GT(pieces, 2);
  EXPECT_EQ(&finished_for_picture(p.g.panel, p.g.plot, scratch), &p.g.plot);
  if (!whole.pixels(0).complete || !p.pixels(1).complete) {
    GTEST_SKIP() << "the safety net cut the work short here";
  }
  for (int k = 0; k < 2; ++k) {
    EXPECT_TRUE(p.pixels(k).cls == whole.pixels(k).cls) << k;
    EXPECT_TRUE(scratch.formulas[k].pixels.cls == whole.pixels(k).cls) << k;
  }
}

// At two device pixels per unit: twice as many pixels on each side, at the
// same places: every device pixel of the circle lies on a unit pixel of the
// circle at one pixel per unit or beside it, and they are finer than those.
TEST(ImplicitPixels, DevicePixelsAtTwiceTheRatioKeepTheGeometry) {
  Plane one, two;
  ASSERT_TRUE(one.g.compile_and_run("x^2+y^2=9;x=1"));
  ASSERT_TRUE(two.g.compile("x^2+y^2=9;x=1"));
  ASSERT_TRUE(recompute_panel(two.g.panel, two.g.plot, 400, 400, {false, 2}));
  const auto& a = one.pixels();
  const auto& b = two.pixels();
  ASSERT_EQ(b.width, 2 * a.width);
  ASSERT_EQ(b.height, 2 * a.height);
  int fine = 0, far = 0;
  for (int j = 0; j < b.height; ++j) {
    for (int i = 0; i < b.width; ++i) {
      if (b.at(i, j) != kPixelCurve) continue;
      ++fine;
      bool near = false;
      for (int v = std::max(j / 2 - 1, 0); v <= std::min(j / 2 + 1, a.height - 1); ++v) {
        for (int u = std::max(i / 2 - 1, 0); u <= std::min(i / 2 + 1, a.width - 1); ++u) {
          near |= a.at(u, v) == kPixelCurve;
        }
      }
      far += !near;
    }
  }
  int coarse = 0;
  for (uint8_t c : a.cls) coarse += c == kPixelCurve;
  EXPECT_EQ(far, 0);
  // A thin curve: about twice the pixels at twice the ratio, not four times.
  EXPECT_GT(fine, coarse * 3 / 2);
  EXPECT_LT(fine, coarse * 3);
  // The line x=1 on device columns 480 and 481 only: unit column 240.
  const auto& line = two.pixels(1);
  for (int j = 0; j < line.height; j += 7) {
    for (int i = 0; i < line.width; ++i) {
      if (line.at(i, j) == kPixelCurve) {
        EXPECT_TRUE(i == 480 || i == 481) << i << " " << j;
      }
    }
  }
}

TEST(ImplicitDrawing, TintsMixTheCurveColourIntoTheBackground) {
  EXPECT_EQ(mix_colour(0xFF0000, 0xFFFFFF, 64), 0xFFBFBFu);
  EXPECT_EQ(mix_colour(0x123456, 0x123456, 100), 0x123456u);
  EXPECT_EQ(mix_colour(0x000000, 0xFFFFFF, 256), 0x000000u);
}

}  // namespace
}  // namespace kv
