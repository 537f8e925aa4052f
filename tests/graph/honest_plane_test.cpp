// "Unstetigkeiten zeigen" for polar curves and parametric pairs: the
// classification of their segments and the painter's marks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "graph/curve_drawing.h"
#include "graph/honest_plane.h"
#include "graph_test_support.h"
#include "honest_picture.h"
#include "recording_device.h"

namespace kv {
namespace {

using analysis::MarkKind;
using test::OpKind;
using test::Picture;
using test::RecordedOp;
using test::same_ops;

const double kPi = 3.14159265358979323846;

const analysis::PlaneClassification& classified(test::Graph& g, const std::string& formula) {
  g.panel.options[kOptMarkDiscontinuities] = 1;
  EXPECT_TRUE(g.compile_and_run(formula)) << formula;
  EXPECT_TRUE(g.plot.formulas.at(0).plane_classified) << formula;
  return g.plot.formulas.at(0).plane_honest;
}

struct PlaneMarkCase {
  const char* formula;
  MarkKind kind;
  std::vector<double> ts;  // where the marks sit, in order
};

// Every mark at its place (within a 1024th of a segment), none elsewhere; a
// jump's dot on the side that takes the value.
TEST(HonestPlane, PolesHolesAndJumpsAreNamedWhereTheyAre) {
  const PlaneMarkCase cases[] = {
      {"r(t)=1/cos(t)", MarkKind::kPole, {-3 * kPi / 2, -kPi / 2, kPi / 2, 3 * kPi / 2}},
      {"r(t)=1/t", MarkKind::kPole, {0}},
      {"(t, 1/(t-1))", MarkKind::kPole, {1}},
      {"r(t)=sin(t)/t", MarkKind::kHole, {0}},
      {"r(t)=floor(t)", MarkKind::kJump, {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}},
      {"(t, floor(t))", MarkKind::kJump, {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}},
  };
  for (const PlaneMarkCase& c : cases) {
    test::Graph g;
    const analysis::PlaneClassification& k = classified(g, c.formula);
    const double segment = 4 * kPi / g.plot.formulas[0].slot[0].last;
    EXPECT_FALSE(k.all_drawn) << c.formula;
    EXPECT_FALSE(k.budget_exhausted) << c.formula;
    ASSERT_EQ(k.marks.size(), c.ts.size()) << c.formula;
    for (size_t i = 0; i < c.ts.size(); ++i) {
      const analysis::PlaneMark& m = k.marks[i];
      EXPECT_EQ(m.kind, c.kind) << c.formula;
      EXPECT_NEAR(m.t, c.ts[i], segment / 1024) << c.formula;
      if (c.kind != MarkKind::kJump) continue;
      ASSERT_TRUE(m.value_defined) << c.formula << " " << m.t;
      EXPECT_NEAR(m.value.x, m.right.x, 1e-9) << c.formula << " " << m.t;  // floor(n) = n
      EXPECT_NEAR(m.value.y, m.right.y, 1e-9) << c.formula << " " << m.t;
    }
  }
}

// Proven-smooth curves keep the sampler's picture, operation by operation.
TEST(HonestPlane, SmoothCurvesAreTheSamePixelsWithAndWithout) {
  for (const char* f : {"r(t)=3", "r(t)=t/2", "(cos(3t), sin(2t))", "(t, t^2)",
                        "r(t)=3;r(t)=t/2;x^2"}) {
    Picture p;
    EXPECT_TRUE(same_ops(p.paint(f, false), p.paint(f, true))) << f;
    for (const FormulaPlot& fp : p.g.plot.formulas) {
      EXPECT_TRUE(!fp.plane_classified || fp.plane_honest.all_drawn) << f;
    }
  }
}

// The steps of the polylines of the picture's first curve.
std::vector<std::pair<Point, Point>> steps(const Picture& pic, const test::RecordingDevice& dev) {
  const Colour colour =
      pic.colours[curve_colour_entry(pic.g.panel, *pic.g.panel.formulas.at(0), CurveKind::Own)];
  std::vector<std::pair<Point, Point>> out;
  for (const RecordedOp* op : dev.of(OpKind::Polyline)) {
    if (op->pen.colour != colour) continue;
    for (size_t i = 1; i < op->points.size(); ++i) out.push_back({op->points[i - 1], op->points[i]});
  }
  return out;
}

// r(t) = 1/cos(t) is the line x = 1, run through in both directions from
// each pole; r(t) = 1/t runs to both ends of the asymptote y = 1. Neither
// is joined across its pole: no step from beyond one edge of the plot to
// beyond the other. Everything drawn of 1/cos(t) in the plot lies on its
// line (far beyond it, r cos t of a huge r is not exactly 1).
TEST(HonestPlane, NoLineAcrossAPoleOfR) {
  const int left = 69, top = 21, width = 600, height = 500;
  Picture line;
  const test::RecordingDevice sec = line.paint("r(t)=1/cos(t)", true);
  const int column = left + view_map(line.g.panel, width, height).column(1);
  ASSERT_FALSE(steps(line, sec).empty());
  for (const auto& [p, q] : steps(line, sec)) {
    const auto inside = [&](Point a) { return a.y >= top && a.y <= top + height; };
    if (inside(p) || inside(q)) {
      EXPECT_LE(std::abs(p.x - column), 1);
      EXPECT_LE(std::abs(q.x - column), 1);
    }
    EXPECT_FALSE((p.y < top && q.y > top + height) || (q.y < top && p.y > top + height));
  }
  Picture hyperbola;
  const test::RecordingDevice hyp = hyperbola.paint("r(t)=1/t", true);
  ASSERT_FALSE(steps(hyperbola, hyp).empty());
  for (const auto& [p, q] : steps(hyperbola, hyp)) {
    EXPECT_FALSE((p.x < left && q.x > left + width) || (q.x < left && p.x > left + width));
  }
}

// Whether some step of the curve runs from near a to near b (2 pixels).
bool joined(const std::vector<std::pair<Point, Point>>& s, Point a, Point b) {
  const auto near = [](Point p, Point q) { return std::abs(p.x - q.x) <= 2 && std::abs(p.y - q.y) <= 2; };
  for (const auto& [p, q] : s) {
    if ((near(p, a) && near(q, b)) || (near(p, b) && near(q, a))) return true;
  }
  return false;
}

// floor(t) and (t, floor(t)): per jump a dot where the value is n and a ring
// at n - 1, with the background inside the ring, and no step between them
// (the sampler's pole test already breaks these). r(t) = floor(t) is the
// origin all over [0, 1): the left end of its jump at 1 is taken, a dot over
// the dot of the jump at 0, not a ring.
TEST(HonestPlane, JumpsAreDotAndRingNotJoined) {
  const struct {
    const char* formula;
    size_t rings;
  } cases[] = {{"r(t)=floor(t)", 12}, {"(t, floor(t))", 13}};
  for (const auto& [f, ring_count] : cases) {
    Picture on;
    const test::RecordingDevice dev = on.paint(f, true);
    const std::vector<const RecordedOp*> e = dev.of(OpKind::Ellipse);
    ASSERT_EQ(e.size(), 13u * 2 + ring_count) << f;
    size_t rings = 0;
    const Point origin{69 + view_map(on.g.panel, 600, 500).column(0),
                       21 + view_map(on.g.panel, 600, 500).row(0)};
    for (const RecordedOp* op : e) {
      if (op->colour != on.colours[kColourBackground]) continue;
      ++rings;
      const Point centre{(op->rect.left + op->rect.right) / 2, (op->rect.top + op->rect.bottom) / 2};
      EXPECT_FALSE(centre == origin) << f;
    }
    EXPECT_EQ(rings, ring_count) << f;
    const ViewMap map = view_map(on.g.panel, 600, 500);
    const auto at = [&](analysis::PlaneSpot s) { return Point{69 + map.column(s.x), 21 + map.row(s.y)}; };
    for (const analysis::PlaneMark& m : on.g.plot.formulas[0].plane_honest.marks) {
      EXPECT_FALSE(joined(steps(on, dev), at(m.left), at(m.right))) << f << " " << m.t;
    }
  }
}

struct AsymptoteCase {
  const char* formula;
  bool line;
  double direction, offset;  // the line p.x * -sin(direction) + p.y * cos(direction) = offset
};

// A pole's asymptote is dashed across the whole plot in the curve's colour
// where its offset is shown, and nowhere else: 1/t and 1/(t - 1) (the slanted
// line at offset 1), 1/cos(t) (its own line, drawn once for four poles), a
// pair that keeps x; no line for the parabolic branch of 1/t^2, nor for
// exp(1/t), whose sides part.
TEST(HonestPlane, PolesGetTheAsymptoteTheyApproach) {
  const AsymptoteCase cases[] = {
      {"r(t)=1/t", true, 0, 1},
      {"r(t)=1/(t-1)", true, 1, 1},
      {"r(t)=1/cos(t)", true, kPi / 2, -1},
      {"(t, 1/(t-1))", true, kPi / 2, -1},
      {"r(t)=1/t^2", false, 0, 0},
      {"r(t)=exp(1/t)", false, 0, 0},
  };
  const int left = 69, top = 21, width = 600, height = 500;
  for (const AsymptoteCase& c : cases) {
    Picture p;
    const test::RecordingDevice dev = p.paint(c.formula, true);
    const Colour colour =
        p.colours[curve_colour_entry(p.g.panel, *p.g.panel.formulas.at(0), CurveKind::Own)];
    std::vector<Point> ends;
    for (const RecordedOp* op : dev.of(OpKind::Line)) {
      if (op->pen.colour == colour) ends.insert(ends.end(), op->points.begin(), op->points.end());
    }
    if (!c.line) {
      EXPECT_TRUE(ends.empty()) << c.formula;
      continue;
    }
    // The line in device pixels: through the point nearest the origin, along the pole.
    const ViewMap map = view_map(p.g.panel, width, height);
    const double cs = std::cos(c.direction), sn = std::sin(c.direction);
    const double x0 = left + (-c.offset * sn - map.xmin) / map.x_scale;
    const double y0 = top + height - (c.offset * cs - map.ymin) / map.y_scale;
    const double ux = cs / map.x_scale, uy = -sn / map.y_scale, u = std::hypot(ux, uy);
    double lo = 1e300, hi = -1e300;
    for (const Point& e : ends) {
      EXPECT_LE(std::fabs((e.x - x0) * uy - (e.y - y0) * ux) / u, 1.0) << c.formula;
      const double along = ((e.x - x0) * ux + (e.y - y0) * uy) / u;
      lo = std::min(lo, along);
      hi = std::max(hi, along);
    }
    // From edge to edge of the plot, dashes of 4 with gaps of 3, once.
    const double across = std::max(std::fabs(ux), std::fabs(uy)) / u * (hi - lo);
    const double edge = std::fabs(uy) > std::fabs(ux) ? height : width;
    EXPECT_NEAR(across, edge, 7) << c.formula;
    EXPECT_NEAR(static_cast<double>(ends.size()) / 2, edge / 7, 2) << c.formula;
  }
}

// Jumps closer than a ring, in the plane and on explicit curves zoomed out:
// every dot is painted after every ring's background it meets.
TEST(HonestPlane, NoRingCoversADot) {
  const struct {
    const char* formula;
    double x_lo, x_hi, y_lo, y_hi;
  } cases[] = {{"r(t)=floor(t)", -6, 6, -5, 5}, {"floor(3x)", -30, 30, -25, 25}};
  for (const auto& c : cases) {
    Picture p;
    p.g.set_range(c.x_lo, c.x_hi, c.y_lo, c.y_hi);
    const test::RecordingDevice dev = p.paint(c.formula, true);
    const std::vector<const RecordedOp*> e = dev.of(OpKind::Ellipse);
    const Colour background = p.colours[kColourBackground];
    const auto meet = [](Rect a, Rect b) {
      return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    int dots = 0;
    for (size_t i = 0; i < e.size(); ++i) {
      const bool dot = e[i]->colour != background &&
                       (i + 1 == e.size() || e[i + 1]->colour != background);
      if (!dot) continue;
      ++dots;
      for (size_t j = i + 1; j < e.size(); ++j) {
        EXPECT_FALSE(e[j]->colour == background && meet(e[i]->rect, e[j]->rect)) << c.formula;
      }
    }
    EXPECT_GT(dots, 3) << c.formula;
  }
}

}  // namespace
}  // namespace kv
