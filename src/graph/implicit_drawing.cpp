// Drawing of the classified pixels of equations and inequalities.
#include "graph/implicit_drawing.h"

#include <algorithm>

#include "graph/curve_drawing.h"
#include "graph/recompute.h"

namespace kv {

namespace {

constexpr int kRegionShare = 64;      // proven region: a quarter of the curve colour
constexpr int kUndecidedShare = 32;   // undecided pixels of an inequality
constexpr int kOpenCurveShare = 96;   // undecided pixels of an equation
constexpr int kDashShift = 2;         // dashes of 4 x 4 pixel blocks

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

// Runs of one class along each row, filled as rectangles.
void fill_class(Device& d, const analysis::ImplicitPixels& px, const PlotRect& rect, uint8_t cls,
                Colour c) {
  for (int j = 0; j < px.height; ++j) {
    int i = 0;
    while (i < px.width) {
      if (px.at(i, j) != cls) {
        ++i;
        continue;
      }
      const int start = i;
      while (i < px.width && px.at(i, j) == cls) ++i;
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
  device.set_clip_rect({rect.left, rect.top, rect.right() + 1, rect.bottom() + 1});
  for_implicit(panel, plot, rect, [&](const CompiledFormula& f, const analysis::ImplicitPixels& px) {
    const Colour colour = colours[curve_colour_entry(panel, f, CurveKind::Own)];
    if (inequality(f)) {
      fill_class(device, px, rect, analysis::kPixelInside, mix_colour(colour, background, kRegionShare));
      fill_class(device, px, rect, analysis::kPixelUndecided,
                 mix_colour(colour, background, kUndecidedShare));
    } else {
      fill_class(device, px, rect, analysis::kPixelUndecided,
                 mix_colour(colour, background, kOpenCurveShare));
    }
  });
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
        if (dashed && (((i >> kDashShift) + (j >> kDashShift)) & 1)) continue;
        const int x = rect.left + i, y = rect.top + j;
        device.fill_rect({x - before, y - before, x + after, y + after}, colour);
      }
    }
  });
  device.clear_clip();
}

}  // namespace kv
