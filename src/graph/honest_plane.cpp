// Honest curves in the plane on the graph; see the header.
#include "graph/honest_plane.h"

#include <algorithm>
#include <cmath>
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
  for (const analysis::PlaneMark& m : k.marks) {
    switch (m.kind) {
      case analysis::MarkKind::kPole: break;  // no line across, nothing to mark
      case analysis::MarkKind::kHole: {
        const Point p = pixel(map, {(m.left.x + m.right.x) / 2, (m.left.y + m.right.y) / 2});
        paint_ring(d, p.x, p.y, lw, colour, background, false);
        break;
      }
      case analysis::MarkKind::kJump: {
        const Point l = pixel(map, m.left), r = pixel(map, m.right), v = pixel(map, m.value);
        const bool at_left = m.value_defined && v == l;
        const bool at_right = !at_left && m.value_defined && v == r;
        paint_ring(d, l.x, l.y, lw, colour, background, at_left);
        paint_ring(d, r.x, r.y, lw, colour, background, at_right);
        if (m.value_defined && !at_left && !at_right) paint_ring(d, v.x, v.y, lw, colour, background, true);
        break;
      }
    }
  }
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
