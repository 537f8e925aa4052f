// Honest curves on the graph; see the header.
#include "graph/honest_curves.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graph/honest_plane.h"
#include "graph/recompute.h"

namespace kv {

namespace {

constexpr int kDash = 4, kDashGap = 3;
constexpr int kTintPercent = 25;  // of the curve colour over the background

analysis::CurveClassification classify_slot(const PanelRecord& panel, const CompiledFormula& f,
                                            const CurveSamples& c, const ViewMap& map,
                                            int derivative) {
  const size_t count = static_cast<size_t>(std::max(c.pixel_last + 1, 0));
  std::vector<double> t(count), v(count);
  for (size_t i = 0; i < count; ++i) {
    t[i] = c.samples[i].t;
    v[i] = is_defined(c.samples[i].flag) ? c.samples[i].v : std::numeric_limits<double>::quiet_NaN();
  }
  analysis::CurveInput in;
  in.t = t.data();
  in.v = v.data();
  in.count = count;
  in.rows = {map.ymin, map.y_scale, map.height};
  in.x0 = map.xmin;
  in.x_scale = map.x_scale;
  in.derivative = derivative;
  in.budget_ms = kHonestBudgetMs;
  return analysis::classify_curve(panel, f, in);
}

// Marks in two passes: asymptotes and rings, then the dots over them, so
// that no ring covers a point the curve takes (jumps closer than a ring).
struct Marker {
  Device& d;
  const ViewMap& map;
  Colour colour, background;
  int lw;
  bool dots = false;

  void ring(int x, int y, bool filled) {
    if (filled == dots) paint_ring(d, x, y, lw, colour, background, filled);
  }

  void asymptote(double x) {
    const int col = map.column(x);
    paint_dashes(d, col, 0, col, map.height + 1, lw, colour);
  }

  void mark(const analysis::CurveMark& m) {
    const int col = map.column(m.x);
    switch (m.kind) {
      case analysis::MarkKind::kPole:
        if (!dots) asymptote(m.x);
        break;
      case analysis::MarkKind::kHole: ring(col, map.row((m.y_left + m.y_right) / 2), false); break;
      case analysis::MarkKind::kJump: {
        const double tol = std::fabs(map.y_scale);
        const bool left = m.value_defined && std::fabs(m.y_value - m.y_left) <= tol;
        const bool right = !left && m.value_defined && std::fabs(m.y_value - m.y_right) <= tol;
        ring(col, map.row(m.y_left), left);
        ring(col, map.row(m.y_right), right);
        if (m.value_defined && !left && !right) ring(col, map.row(m.y_value), true);
        break;
      }
    }
  }
};

// The rows of a span in the plot, false when it lies outside.
bool span_rows(const analysis::ColumnSpan& s, const ViewMap& map, int& top, int& bottom) {
  const double ytop = map.ymin + map.height * map.y_scale;
  if (!(s.y_hi >= map.ymin - map.y_scale && s.y_lo <= ytop + map.y_scale)) return false;
  top = std::clamp(map.row(s.y_hi), -1, map.height + 1);
  bottom = std::clamp(map.row(s.y_lo), -1, map.height + 1);
  return top <= bottom;
}

}  // namespace

Colour tint(Colour c, Colour background) {
  const auto mix = [](int a, int b) { return (a * kTintPercent + b * (100 - kTintPercent)) / 100; };
  return make_colour(mix(colour_red(c), colour_red(background)),
                     mix(colour_green(c), colour_green(background)),
                     mix(colour_blue(c), colour_blue(background)));
}

void paint_dashes(Device& d, double x1, double y1, double x2, double y2, int lw, Colour colour) {
  const double dx = x2 - x1, dy = y2 - y1, length = std::max(std::fabs(dx), std::fabs(dy));
  if (!(length > 0) || !std::isfinite(length)) return;
  PenScope pen(d, {colour, lw, PenStyle::Solid});
  const auto px = [&](double k) { return static_cast<int>(std::lround(x1 + dx * (k / length))); };
  const auto py = [&](double k) { return static_cast<int>(std::lround(y1 + dy * (k / length))); };
  for (double k = 0; k < length; k += kDash + kDashGap) {
    const double e = std::min(k + kDash, length);
    d.line(px(k), py(k), px(e), py(e));
  }
}

void paint_ring(Device& d, int x, int y, int lw, Colour colour, Colour background, bool filled) {
  const int r = 2 + lw;
  d.fill_ellipse(x - r, y - r, 2 * r + 1, 2 * r + 1, colour);
  if (!filled) d.fill_ellipse(x - r + lw, y - r + lw, 2 * (r - lw) + 1, 2 * (r - lw) + 1, background);
}

void classify_curves(const PanelRecord& panel, PanelPlot& plot, int width, int height) {
  const bool on = panel.option(kOptMarkDiscontinuities) != 0;
  const ViewMap map = view_map(panel, width, height);
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    FormulaPlot& fp = plot.formulas[k];
    fp.classified = {false, false};
    fp.honest = {};
    const CompiledFormula& f = *panel.formulas[k];
    if (!on || fp.polar || fp.failed || f.order != 0 || f.is_polar()) continue;
    if (fp.slot[0].used) {
      fp.honest[0] = classify_slot(panel, f, fp.slot[0], map, 0);
      fp.classified[0] = true;
    }
    if (has_derivative_curve(panel, f) && fp.slot[1].used) {
      fp.honest[1] = classify_slot(panel, f, fp.slot[1], map, 1);
      fp.classified[1] = true;
    }
  }
}

std::vector<uint8_t> honest_pixel_flags(const CurveSamples& c,
                                        const analysis::CurveClassification& k) {
  const size_t count = static_cast<size_t>(std::max(c.pixel_last + 1, 0));
  std::vector<uint8_t> f(c.pixel_flags.begin(), c.pixel_flags.begin() + count);
  for (uint8_t& x : f) {
    if (x & kPassThrough) x = 0;
  }
  for (size_t i = 0; i + 1 < count && i < k.drawn.size(); ++i) {
    if (k.drawn[i]) continue;
    if (is_defined(f[i])) f[i] |= kPieceEnd;
    if (is_defined(f[i + 1])) f[i + 1] |= kPieceStart;
  }
  for (size_t i = 0; i < count; ++i) {
    if (is_isolated(f[i]) && !is_isolated(c.pixel_flags[i])) f[i] = 0;
  }
  return f;
}

void paint_honest_marks(Device& d, const analysis::CurveClassification& k, const ViewMap& map,
                        Colour colour, Colour background, int line_width, bool under) {
  const int lw = std::max(line_width, 1);
  const Colour shade = tint(colour, background);
  // Neighbouring columns with the same rows are filled as one rectangle: a
  // band over the whole plot (tan(10x) far out) is one fill, not thousands.
  const Colour fill = under ? shade : colour;
  Rect run{0, 0, -1, -1};
  for (const analysis::ColumnSpan& s : k.spans) {
    if (s.proven == under) continue;
    int top = 0, bottom = 0;
    if (!span_rows(s, map, top, bottom)) continue;
    const int left = map.column(s.x) - lw / 2;
    const Rect r{left, top - lw / 2, left + lw, bottom + (lw + 1) / 2};
    const bool same_rows = r.top == run.top && r.bottom == run.bottom;
    if (same_rows && r.left >= run.left && r.left <= run.right) {
      run.right = std::max(run.right, r.right);
      continue;
    }
    if (run.right > run.left) d.fill_rect(run, fill);
    run = r;
  }
  if (run.right > run.left) d.fill_rect(run, fill);
  if (under) return;
  for (const bool dots : {false, true}) {
    Marker marker{d, map, colour, background, lw, dots};
    for (const analysis::CurveMark& m : k.marks) marker.mark(m);
  }
}

bool column_undecided(const PanelRecord& panel, const PanelPlot& plot, int col) {
  if (panel.option(kOptMarkDiscontinuities) == 0 || !plot.valid) return false;
  const ViewMap map = view_map(panel, plot.width, plot.height);
  if (plane_column_undecided(plot, map, col)) return true;
  for (const FormulaPlot& fp : plot.formulas) {
    for (int s = 0; s < 2; ++s) {
      if (!fp.classified[s]) continue;
      for (const analysis::ColumnSpan& span : fp.honest[s].spans) {
        int top = 0, bottom = 0;
        if (!span.proven && map.column(span.x) == col && span_rows(span, map, top, bottom)) return true;
      }
    }
  }
  return false;
}

}  // namespace kv
