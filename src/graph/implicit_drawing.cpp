// Drawing of the classified pixels of equations and inequalities.
#include "graph/implicit_drawing.h"

#include <algorithm>
#include <vector>

#include "graph/curve_drawing.h"
#include "graph/recompute.h"

namespace kv {

namespace {

constexpr int kRegionShare = 64;      // proven region: a quarter of the curve colour
constexpr int kUndecidedShare = 32;   // undecided pixels of an inequality
constexpr int kOpenCurveShare = 96;   // undecided pixels of an equation

// A gap of the dashed boundary: a checkerboard of 4 x 4 pixel blocks, and
// the same board turned by 45 degrees, combined so that a gap lies where
// exactly one of them is dark. Lines along the rows or columns cross the
// first board's blocks, lines along the diagonals the second's, so every
// boundary direction gets gaps at intervals.
bool dark(int u, int v) { return (((u >> 2) + (v >> 2)) & 1) != 0; }
bool dash_gap(int i, int j) { return dark(i, j) != dark(i + j, i - j + (1 << 12)); }

bool strict(const CompiledFormula& f) { return f.relation == kRelLess || f.relation == kRelGreater; }
bool inequality(const CompiledFormula& f) { return f.relation != kRelEqual; }

template <typename Visit>
void for_implicit(const PanelRecord& panel, const PanelPlot& plot, const PlotRect& rect,
                  Visit visit) {
  if (!plot_is_current(panel, plot, rect.width, rect.height)) return;
  for (size_t k = 0; k < plot.formulas.size(); ++k) {
    const FormulaPlot& fp = plot.formulas[k];
    if (fp.implicit && !fp.pixels.cls.empty()) visit(*panel.formulas[k], fp.pixels);
  }
}

// Mixes colour into the pixels of one class: over the background at first,
// over the tints of earlier inequalities where they overlap, so that every
// region shows through the others.
void tint_class(std::vector<Colour>& layer, std::vector<uint8_t>& touched,
                const analysis::ImplicitPixels& px, uint8_t cls, Colour colour, int share) {
  // The layer holds few colours, mostly in long stretches: the last mix is
  // kept rather than computed again for every pixel.
  Colour last_in = layer.empty() ? 0 : ~layer[0], last_out = 0;
  for (size_t k = 0; k < px.cls.size(); ++k) {
    if (px.cls[k] != cls) continue;
    if (layer[k] != last_in) {
      last_in = layer[k];
      last_out = mix_colour(colour, last_in, share);
    }
    layer[k] = last_out;
    touched[k] = 1;
  }
}

// A run of equal pixels along a row, grown downwards while the rows below
// have the same run: columns [a, b), rows [top, bottom).
struct Run {
  int a, b, top;
  Colour colour;
};

// Merges the runs of every row (row_runs(j, out) appends them left to right)
// into rectangles, handed to emit(run, bottom). Vector pictures get few
// shapes this way; the union of the pixels, and so every raster picture,
// stays the same.
template <typename RowRuns, typename Emit>
void merge_runs(int height, RowRuns row_runs, Emit emit) {
  std::vector<Run> open, now;
  for (int j = 0; j <= height; ++j) {
    now.clear();
    if (j < height) row_runs(j, now);
    size_t p = 0;
    for (Run& r : now) {
      while (p < open.size() && open[p].a < r.a) emit(open[p++], j);
      if (p < open.size() && open[p].a == r.a) {
        if (open[p].b == r.b && open[p].colour == r.colour) {
          r.top = open[p].top;
        } else {
          emit(open[p], j);
        }
        ++p;
      }
    }
    while (p < open.size()) emit(open[p++], j);
    open.swap(now);
  }
}

// Chains of runs in consecutive rows that overlap or touch at a corner,
// each run in at most one chain; chain(runs) gets every chain, top down.
template <typename RowRuns, typename Chain>
void chain_runs(int height, RowRuns row_runs, Chain chain) {
  std::vector<std::vector<Run>> open, now;
  std::vector<Run> runs;
  for (int j = 0; j <= height; ++j) {
    runs.clear();
    if (j < height) row_runs(j, runs);
    now.clear();
    size_t p = 0;
    for (const Run& r : runs) {
      // Chains that end left of this run end here.
      while (p < open.size() && open[p].back().b < r.a) chain(open[p++]);
      if (p < open.size() && open[p].back().a <= r.b) {
        now.push_back(std::move(open[p++]));
      } else {
        now.emplace_back();
      }
      now.back().push_back(r);
    }
    while (p < open.size()) chain(open[p++]);
    open.swap(now);
  }
}

// Where the edges of a run lie: left + a, right + b, top + row, bottom + row.
struct Grow {
  int left, right, top, bottom;
};

// A chain as one polygon: down its left edges, up its right edges. Runs of
// consecutive rows overlap or touch, so the outline does not cross itself.
void draw_chain(Device& d, const std::vector<Run>& chain, const Grow& g, Colour colour) {
  std::vector<Point> outline;
  outline.reserve(chain.size() * 4);
  for (const Run& r : chain) {
    outline.push_back({g.left + r.a, g.top + r.top});
    outline.push_back({g.left + r.a, g.bottom + r.top});
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    outline.push_back({g.right + it->b, g.bottom + it->top});
    outline.push_back({g.right + it->b, g.top + it->top});
  }
  const Pen pen = d.pen();
  const Brush brush = d.brush();
  d.set_pen({colour, 1, PenStyle::Null});
  d.set_brush({colour, BrushStyle::Solid});
  d.polygon(outline.data(), outline.size());
  d.set_brush(brush);
  d.set_pen(pen);
}

// Pixel (i, j) of a plot classified at scale s starts at device pixel
// (s * left + i, s * top + j), in parts of 1/s unit.
void draw_layer(Device& d, const std::vector<Colour>& layer, const std::vector<uint8_t>& touched,
                int width, int height, const PlotRect& rect, int s) {
  auto row_runs = [&](int j, std::vector<Run>& out) {
    const size_t row = static_cast<size_t>(j) * width;
    int i = 0;
    while (i < width) {
      if (!touched[row + i]) {
        ++i;
        continue;
      }
      const int start = i;
      const Colour c = layer[row + i];
      while (i < width && touched[row + i] && layer[row + i] == c) ++i;
      out.push_back({start, i, j, c});
    }
  };
  merge_runs(height, row_runs, [&](const Run& r, int bottom) {
    d.fill_fine_rect({s * rect.left + r.a, s * rect.top + r.top, s * rect.left + r.b,
                      s * rect.top + bottom},
                     s, r.colour);
  });
}

}  // namespace

Colour mix_colour(Colour a, Colour b, int share) {
  auto part = [share](int x, int y) { return (x * share + y * (256 - share) + 128) / 256; };
  return make_colour(part(colour_red(a), colour_red(b)), part(colour_green(a), colour_green(b)),
                     part(colour_blue(a), colour_blue(b)));
}

void paint_implicit_regions(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                            const PlotRect& rect, const ColourTable& colours) {
  const Colour background = colours[kColourBackground];
  std::vector<Colour> layer;
  std::vector<uint8_t> touched;
  int width = 0, height = 0;
  for_implicit(panel, plot, rect, [&](const CompiledFormula& f, const analysis::ImplicitPixels& px) {
    if (layer.empty()) {
      width = px.width;
      height = px.height;
      layer.assign(px.cls.size(), background);
      touched.assign(px.cls.size(), 0);
    }
    if (px.width != width || px.height != height) return;
    const Colour colour = colours[curve_colour_entry(panel, f, CurveKind::Own)];
    if (inequality(f)) {
      tint_class(layer, touched, px, analysis::kPixelInside, colour, kRegionShare);
      tint_class(layer, touched, px, analysis::kPixelUndecided, colour, kUndecidedShare);
    } else {
      tint_class(layer, touched, px, analysis::kPixelUndecided, colour, kOpenCurveShare);
    }
  });
  if (layer.empty()) return;
  device.set_clip_rect({rect.left, rect.top, rect.right() + 1, rect.bottom() + 1});
  draw_layer(device, layer, touched, width, height, rect, plot.pixel_scale);
  device.clear_clip();
}

void paint_implicit_curves(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                           const PlotRect& rect, const ColourTable& colours, bool vector_mode) {
  const int lw = std::max(panel.option(kOptLineWidth), 1);
  const int s = plot.pixel_scale;
  // A curve pixel as a square of the line width in units, so that the curve
  // is as thick at every pixel ratio.
  const int side = lw * s, before = (side - 1) / 2, after = side - before;
  device.set_clip_rect({rect.left - lw / 2, rect.top - lw / 2, rect.right() + 1 + (lw - 1) / 2,
                        rect.bottom() + 1 + (lw - 1) / 2});
  for_implicit(panel, plot, rect, [&](const CompiledFormula& f, const analysis::ImplicitPixels& px) {
    const Colour colour = colours[curve_colour_entry(panel, f, CurveKind::Own)];
    const bool dashed = strict(f);
    // Dash gaps in units, whatever the pixel ratio.
    auto drawn = [&](int i, int j) {
      return px.at(i, j) == analysis::kPixelCurve && !(dashed && dash_gap(i / s, j / s));
    };
    auto row_runs = [&](int j, std::vector<Run>& out) {
      int i = 0;
      while (i < px.width) {
        if (!drawn(i, j)) {
          ++i;
          continue;
        }
        const int start = i;
        while (i < px.width && drawn(i, j)) ++i;
        out.push_back({start, i, j, colour});
      }
    };
    const int x = s * rect.left, y = s * rect.top;
    if (vector_mode && side == 1) {
      chain_runs(px.height, row_runs, [&](const std::vector<Run>& chain) {
        draw_chain(device, chain, {x, x, y, y + 1}, colour);
      });
      return;
    }
    merge_runs(px.height, row_runs, [&](const Run& r, int bottom) {
      device.fill_fine_rect({x + r.a - before, y + r.top - before, x + r.b - 1 + after,
                             y + bottom - 1 + after},
                            s, colour);
    });
  });
  device.clear_clip();
}

}  // namespace kv
