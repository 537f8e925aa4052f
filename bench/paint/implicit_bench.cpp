// Equations drawn by proof at full-HD size: recompute (the pixel
// classification) and paint into the off-screen image, on the panel's
// default range. Targets: x^2+y^2=9 under 50 ms, x^3+y^3=3xy under 100 ms,
// sin(x^2+y^2)=cos(xy) under 1 s, a zoom step with one equation under 100 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "expr/compiler.h"
#include "graph/colours.h"
#include "graph/recompute.h"
#include "model/initial_contents.h"
#include "model/settings_defaults.h"
#include "platform/picture.h"

namespace kv {
namespace {

const char* const kFormulas[] = {"x^2+y^2=9", "x^3+y^3=3xy", "sin(x^2+y^2)=cos(xy)"};

struct Picture {
  PanelRecord panel;
  PanelPlot plot;
  PlotPlacement placement;
  ColourTable colours = build_colour_table(0);

  explicit Picture(const char* formula) {
    reset_panel(panel, kPanelFunction);
    apply_panel_defaults(panel, kPanelFunction);
    fill_panel_texts(panel, kPanelFunction);
    panel.source = formula;
    CompileEnv env;
    compile_formulas(panel, env);
    placement = placement_for_plot_size(1920, 1080, panel.option(kOptBoxedStyle) != 0);
  }
  bool draw() {
    const bool ok = recompute_panel(panel, plot, placement.plot.width, placement.plot.height);
    QImage image = paint_graph_image(panel, plot, colours, placement);
    benchmark::DoNotOptimize(image.constBits());
    return ok && !plot.formulas.empty() && plot.formulas[0].pixels.complete;
  }
};

void BM_ImplicitRecomputeAndPaint(benchmark::State& state) {
  Picture p(kFormulas[state.range(0)]);
  bool complete = true;
  for (auto _ : state) complete &= p.draw();
  state.SetLabel(std::string(kFormulas[state.range(0)]) + (complete ? "" : " (budget ran out)"));
}
BENCHMARK(BM_ImplicitRecomputeAndPaint)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Zooming in and out by a fifth around the middle, one step per iteration.
void BM_ImplicitZoomStep(benchmark::State& state) {
  Picture p(kFormulas[0]);
  bool in = true;
  for (auto _ : state) {
    for (int k : {kXMin, kXMax, kYMin, kYMax}) p.panel.range[k].value *= in ? 0.8 : 1.25;
    in = !in;
    p.draw();
  }
}
BENCHMARK(BM_ImplicitZoomStep)->Unit(benchmark::kMillisecond);

// The window's first picture of a hard equation: the recomputation with its
// first piece of refinement and the paint of the coarse pixels, at ratio 1
// and 2; the rest is refined later, between events.
void BM_ImplicitFirstPicture(benchmark::State& state) {
  Picture p(kFormulas[2]);
  const int ratio = static_cast<int>(state.range(0));
  for (auto _ : state) {
    recompute_panel(p.panel, p.plot, p.placement.plot.width, p.placement.plot.height, {true, ratio});
    QImage image = paint_graph_image(p.panel, p.plot, p.colours, p.placement);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_ImplicitFirstPicture)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kv

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
