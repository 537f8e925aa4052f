// Hatched area fill under the integrand.
#include "graph/integral_area.h"

#include <vector>

namespace kv {

namespace {

// A quarter of the curve colour on the light palettes, three quarters on the
// dark one, so that the hatch stays behind the curves.
Colour hatch_colour(Colour curve, Colour background, int palette) {
  const Colour half = blend(curve, background);
  return palette == 2 ? blend(half, curve) : blend(half, background);
}

void close_run(Device& device, std::vector<Point>& run, int zero_row) {
  if (run.empty()) return;
  const int first_x = run.front().x;
  run.push_back({run.back().x, zero_row});
  run.push_back({first_x, zero_row});
  device.polygon(run.data(), run.size());
  run.clear();
}

}  // namespace

void paint_integral_area(Device& device, const PanelRecord& panel, const PanelPlot& plot,
                         const PlotRect& rect, const ColourTable& colours) {
  if (plot.formulas.size() != 1 || panel.formulas.size() != 1) return;
  const FormulaPlot& fp = plot.formulas[0];
  const CurveSamples& f = fp.slot[0];
  const CurveSamples& F = fp.slot[1];
  if (fp.polar || !f.used || !F.used) return;

  ViewMap map = view_map(panel, rect.width, rect.height);
  map.clamp_to_plot = true;
  const int slot = panel.formulas[0]->colour_slot;
  const Colour curve = colours[slot >= 0 && slot < kColourCount ? slot : kColourIntegral];
  const Colour hatch = hatch_colour(curve, colours[kColourBackground], panel.option(kOptPalette));

  const Pen saved_pen = device.pen();
  const Brush saved_brush = device.brush();
  device.set_pen({0, 1, PenStyle::Null});
  device.set_brush({hatch, BrushStyle::HatchBackwardDiagonal});
  const int zero_row = rect.top + map.row(0.0);
  std::vector<Point> run;
  run.reserve(static_cast<size_t>(F.last) + 3);
  for (int i = F.last; i >= 0; --i) {
    if (is_defined(F.samples[i].flag)) {
      run.push_back({rect.left + i, rect.top + map.row(f.samples[i].v)});
    } else {
      close_run(device, run, zero_row);
    }
  }
  close_run(device, run, zero_row);
  device.set_brush(saved_brush);
  device.set_pen(saved_pen);
}

}  // namespace kv
