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
  for (size_t k = 0; k < px.cls.size(); ++k) {
    if (px.cls[k] != cls) continue;
    layer[k] = mix_colour(colour, layer[k], share);
    touched[k] = 1;
  }
}

// Runs of one colour along each row, as rectangles: the same picture on
// every back end, and few shapes for the vector ones.
void draw_layer(Device& d, const std::vector<Colour>& layer, const std::vector<uint8_t>& touched,
                int width, int height, const PlotRect& rect) {
  for (int j = 0; j < height; ++j) {
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
      d.fill_rect({rect.left + start, rect.top + j, rect.left + i, rect.top + j + 1}, c);
    }
  }
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
  draw_layer(device, layer, touched, width, height, rect);
  device.clear_clip();
}

void paint_implicit_curves(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                           const PlotRect& rect, const ColourTable& colours) {
  const int lw = std::max(panel.option(kOptLineWidth), 1);
  const int before = (lw - 1) / 2, after = lw / 2 + 1;
  device.set_clip_rect({rect.left - lw / 2, rect.top - lw / 2, rect.right() + 1 + (lw - 1) / 2,
                        rect.bottom() + 1 + (lw - 1) / 2});
  for_implicit(panel, plot, rect, [&](const CompiledFormula& f, const analysis::ImplicitPixels& px) {
    const Colour colour = colours[curve_colour_entry(panel, f, CurveKind::Own)];
    const bool dashed = strict(f);
    for (int j = 0; j < px.height; ++j) {
      for (int i = 0; i < px.width; ++i) {
        if (px.at(i, j) != analysis::kPixelCurve) continue;
        if (dashed && dash_gap(i, j)) continue;
        const int x = rect.left + i, y = rect.top + j;
        device.fill_rect({x - before, y - before, x + after, y + after}, colour);
      }
    }
  });
  device.clear_clip();
}

}  // namespace kv
