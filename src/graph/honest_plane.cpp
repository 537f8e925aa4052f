// Honest curves in the plane on the graph; see the header.
#include "graph/honest_plane.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "graph/honest_curves.h"
#include "graph/polar.h"

namespace kv {

namespace {

// The classification input of slot 0, in order of increasing t (a reversed
// t range is read backwards).
struct PlaneInput {
  std::vector<double> t;
  std::vector<analysis::PlaneSpot> p;  // empty: computed from r where needed
  std::vector<double> r;
  std::vector<uint8_t> joined;
  bool reversed = false;
};

PlaneInput plane_input(const CurveSamples& c) {
  const size_t n = static_cast<size_t>(c.last) + 1;
  const bool plane = c.plane.size() == n;
  PlaneInput in;
  in.reversed = n > 1 && c.samples[0].t > c.samples[n - 1].t;
  in.t.resize(n);
  if (plane) {
    in.p.resize(n);
  } else {
    in.r.resize(n);
  }
  in.joined.assign(n > 0 ? n - 1 : 0, 0);
  for (size_t k = 0; k < n; ++k) {
    const size_t i = in.reversed ? n - 1 - k : k;
    const Sample& s = c.samples[i];
    in.t[k] = s.t;
    if (plane) {
      in.p[k] = {c.plane[i].x, c.plane[i].y};
    } else {
      in.r[k] = s.v;
    }
  }
  // Segment i of the samples joins i and i + 1 when both are defined and no
  // piece ends between them.
  for (size_t i = 0; i + 1 < n; ++i) {
    const uint8_t f = c.samples[i].flag, g = c.samples[i + 1].flag;
    const bool joined = is_defined(f) && is_defined(g) && !(f & kPieceEnd) && !(g & kPieceStart);
    in.joined[in.reversed ? n - 2 - i : i] = joined ? 1 : 0;
  }
  return in;
}

// Projects the curve again with the unproven segments cut; a sample the cuts
// leave alone is dropped rather than drawn as a dot.
void project_with_cuts(CurveSamples& c, const PlaneInput& in,
                       const analysis::PlaneClassification& k, const ViewMap& map, double a,
                       double step) {
  const size_t n = static_cast<size_t>(c.last) + 1;
  // Segments the sampler does not join (the ends of a domain) are cut
  // already: without another cut the projection stays as it is.
  bool cut = false;
  for (size_t j = 0; j + 1 < n && !cut; ++j) cut = in.joined[j] && !k.drawn[j];
  if (!cut) return;
  std::vector<uint8_t> saved(n);
  for (size_t i = 0; i < n; ++i) saved[i] = c.samples[i].flag;
  for (size_t i = 0; i + 1 < n; ++i) {
    const size_t j = in.reversed ? n - 2 - i : i;
    if (!in.joined[j] || k.drawn[j]) continue;
    c.samples[i].flag |= kPieceEnd;
    c.samples[i + 1].flag |= kPieceStart;
  }
  for (size_t i = 0; i < n; ++i) {
    if (is_isolated(c.samples[i].flag) && !is_isolated(saved[i])) c.samples[i].flag = 0;
  }
  project_polar(c, map, a, step);
  for (size_t i = 0; i < n; ++i) c.samples[i].flag = saved[i];
}

Point pixel(const ViewMap& map, analysis::PlaneSpot p) { return {map.column(p.x), map.row(p.y)}; }

// The rectangle of a box in the plot, false when it lies outside.
bool box_rect(const analysis::PlaneBox& b, const ViewMap& map, Rect& r) {
  const double xtop = map.xmin + map.width * map.x_scale, ytop = map.ymin + map.height * map.y_scale;
  if (b.x_hi < map.xmin - map.x_scale || b.x_lo > xtop + map.x_scale) return false;
  if (b.y_hi < map.ymin - map.y_scale || b.y_lo > ytop + map.y_scale) return false;
  const int left = std::clamp(map.column(b.x_lo), -1, map.width + 1);
  const int right = std::clamp(map.column(b.x_hi), -1, map.width + 1);
  const int top = std::clamp(map.row(b.y_hi), -1, map.height + 1);
  const int bottom = std::clamp(map.row(b.y_lo), -1, map.height + 1);
  r = {left, top, right + 1, bottom + 1};
  return left <= right && top <= bottom;
}

using Ends = std::array<double, 4>;  // x1, y1, x2, y2

// The part of a pole's asymptote inside the plot, in plot-local pixels:
// false when it misses the plot.
bool asymptote_across(const analysis::PlaneMark& m, const ViewMap& map, Ends& ends) {
  const double c = std::cos(m.direction), s = std::sin(m.direction);
  // The point of the line nearest the origin, and the line's step per unit
  // of its parameter, in pixels.
  const double x0 = (-m.offset * s - map.xmin) / map.x_scale;
  const double y0 = map.height - (m.offset * c - map.ymin) / map.y_scale;
  const double ux = c / map.x_scale, uy = -s / map.y_scale;
  double lo = -std::numeric_limits<double>::infinity(), hi = -lo;
  // Liang and Barsky: the parameters where the line is inside each pair of edges.
  const auto keep = [&](double start, double step, double low, double high) {
    if (step == 0) return start >= low && start <= high;
    const double p = (low - start) / step, q = (high - start) / step;
    lo = std::max(lo, std::min(p, q));
    hi = std::min(hi, std::max(p, q));
    return lo <= hi;
  };
  if (!std::isfinite(x0) || !std::isfinite(y0)) return false;
  if (!keep(x0, ux, 0, map.width) || !keep(y0, uy, 0, map.height)) return false;
  ends[0] = x0 + lo * ux;
  ends[1] = y0 + lo * uy;
  ends[2] = x0 + hi * ux;
  ends[3] = y0 + hi * uy;
  return true;
}

bool by_place(Point p, Point q) { return std::pair(p.x, p.y) < std::pair(q.x, q.y); }

// The pixels of the dots of jumps, sorted: a ring there would cover a point
// the curve takes.
std::vector<Point> jump_dots(const analysis::PlaneClassification& k, const ViewMap& map) {
  std::vector<Point> dots;
  for (const analysis::PlaneMark& m : k.marks) {
    if (m.kind != analysis::MarkKind::kJump) continue;
    if (m.value_defined) dots.push_back(pixel(map, m.value));
    if (m.left_taken) dots.push_back(pixel(map, m.left));
    if (m.right_taken) dots.push_back(pixel(map, m.right));
  }
  std::sort(dots.begin(), dots.end(), by_place);
  return dots;
}

// Asymptotes and rings first, then the dots over them, so that a ring never
// covers a point the curve takes: a jump's end whose pixel is a dot of some
// jump is a dot itself.
void paint_marks(Device& d, const analysis::PlaneClassification& k, const ViewMap& map,
                 Colour colour, Colour background, int lw) {
  const std::vector<Point> dots = jump_dots(k, map);
  const auto taken = [&](Point p) {
    return std::binary_search(dots.begin(), dots.end(), p, by_place);
  };
  std::set<Ends> asymptotes;
  std::vector<Point> filled;
  for (const analysis::PlaneMark& m : k.marks) {
    switch (m.kind) {
      case analysis::MarkKind::kPole: {
        // No line across; the asymptote where it is shown, once however
        // many poles share it (1/cos(t) at every odd multiple of pi/2).
        Ends e{};
        if (!m.asymptote || !asymptote_across(m, map, e)) break;
        for (double& v : e) v = std::round(v);
        if (std::pair(e[0], e[1]) > std::pair(e[2], e[3])) e = {e[2], e[3], e[0], e[1]};
        if (!asymptotes.insert(e).second) break;
        paint_dashes(d, e[0], e[1], e[2], e[3], lw, colour);
        break;
      }
      case analysis::MarkKind::kHole: {
        const Point p = pixel(map, {(m.left.x + m.right.x) / 2, (m.left.y + m.right.y) / 2});
        paint_ring(d, p.x, p.y, lw, colour, background, false);
        break;
      }
      case analysis::MarkKind::kJump: {
        const Point l = pixel(map, m.left), r = pixel(map, m.right), v = pixel(map, m.value);
        for (const Point p : {l, r}) {
          if (taken(p)) {
            filled.push_back(p);
          } else {
            paint_ring(d, p.x, p.y, lw, colour, background, false);
          }
        }
        if (m.value_defined && !(v == l) && !(v == r)) filled.push_back(v);
        break;
      }
    }
  }
  for (const Point p : filled) paint_ring(d, p.x, p.y, lw, colour, background, true);
}

}  // namespace

void classify_plane_curves(const PanelRecord& panel, PanelPlot& plot, int width, int height) {
  const bool on = panel.option(kOptMarkDiscontinuities) != 0;
  const ViewMap map = view_map(panel, width, height);
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    FormulaPlot& fp = plot.formulas[k];
    fp.plane_classified = false;
    fp.plane_honest = {};
    const CompiledFormula& f = *panel.formulas[k];
    if (!on || !fp.polar || fp.failed || f.order != 0 || !fp.slot[0].used) continue;
    const CompiledFormula* y_of = f.is_parametric() ? f.second.get() : nullptr;
    if (f.is_parametric() && y_of == nullptr) continue;
    CurveSamples& c = fp.slot[0];
    const PlaneInput in = plane_input(c);
    analysis::PlaneCurveInput input;
    input.t = in.t.data();
    input.p = in.p.empty() ? nullptr : in.p.data();
    input.r = in.r.data();
    input.joined = in.joined.data();
    input.count = in.t.size();
    input.xmin = map.xmin;
    input.x_scale = map.x_scale;
    input.ymin = map.ymin;
    input.y_scale = map.y_scale;
    input.width = map.width;
    input.height = map.height;
    input.budget_ms = kHonestBudgetMs;
    fp.plane_honest = analysis::classify_plane_curve(panel, f, y_of, input);
    fp.plane_classified = true;
    if (!fp.plane_honest.all_drawn) project_with_cuts(c, in, fp.plane_honest, map, fp.a, fp.step);
  }
}

void paint_plane_marks(Device& d, const analysis::PlaneClassification& k, const ViewMap& map,
                       Colour colour, Colour background, int line_width, bool under) {
  const int lw = std::max(line_width, 1);
  if (under) {
    const Colour shade = tint(colour, background);
    for (const analysis::PlaneBox& b : k.undecided) {
      Rect r;
      if (box_rect(b, map, r)) d.fill_rect(r, shade);
    }
    return;
  }
  // Lines that meet are drawn as one polyline, each ending on its last pixel
  // like the sampler's pieces.
  std::vector<Point> run;
  const auto flush = [&] {
    if (run.size() >= 2) {
      d.polyline(run.data(), run.size());
      d.set_pixel(run.back().x, run.back().y, colour);
    }
    run.clear();
  };
  for (const analysis::PlaneLine& l : k.lines) {
    const Point p = pixel(map, l.from), q = pixel(map, l.to);
    if (run.empty() || !(run.back() == p)) {
      flush();
      run.push_back(p);
    }
    if (!(q == run.back())) run.push_back(q);
    if (run.size() == 1) run.push_back(q);
  }
  flush();
  paint_marks(d, k, map, colour, background, lw);
}

bool plane_column_undecided(const PanelPlot& plot, const ViewMap& map, int col) {
  for (const FormulaPlot& fp : plot.formulas) {
    if (!fp.plane_classified) continue;
    for (const analysis::PlaneBox& b : fp.plane_honest.undecided) {
      Rect r;
      if (box_rect(b, map, r) && r.left <= col && col < r.right) return true;
    }
  }
  return false;
}

}  // namespace kv
