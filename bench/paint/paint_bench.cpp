// The cost of one full redraw of the "Function" start picture at full-HD
// size: recompute the curves and paint the whole graph area into the
// off-screen image. Target: under 16 ms for both together.
//
// With "Unstetigkeiten zeigen" on (the Honest benchmarks): the same within
// 1.5 times the time without, and tan(10x) on [-1000, 1000] under 30 ms.
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

struct StartPicture {
  PanelRecord panel;
  PanelPlot plot;
  PlotPlacement placement;
  ColourTable colours = build_colour_table(0);

  StartPicture(int width, int height, bool honest = false, const char* formula = nullptr) {
    reset_panel(panel, kPanelFunction);
    apply_panel_defaults(panel, kPanelFunction);
    fill_panel_texts(panel, kPanelFunction);
    panel.options[kOptMarkDiscontinuities] = honest ? 1 : 0;
    if (formula != nullptr) {
      panel.source = formula;
      panel.range[kXMin].value = -1000;
      panel.range[kXMax].value = 1000;
    }
    CompileEnv env;
    compile_formulas(panel, env);
    placement = placement_for_plot_size(width, height, panel.option(kOptBoxedStyle) != 0);
  }
  bool recompute() {
    return recompute_panel(panel, plot, placement.plot.width, placement.plot.height);
  }
};

void BM_RecomputeAndPaint(benchmark::State& state) {
  StartPicture s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    s.recompute();
    QImage image = paint_graph_image(s.panel, s.plot, s.colours, s.placement);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(s.plot.valid ? "ok" : "no curves");
}
BENCHMARK(BM_RecomputeAndPaint)->Args({1920, 1080})->Args({624, 520})->Unit(benchmark::kMillisecond);

void BM_RecomputeAndPaintHonest(benchmark::State& state) {
  StartPicture s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
  for (auto _ : state) {
    s.recompute();
    QImage image = paint_graph_image(s.panel, s.plot, s.colours, s.placement);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(s.plot.valid ? "ok" : "no curves");
}
BENCHMARK(BM_RecomputeAndPaintHonest)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// state.range(0): the option on (1) or off (0).
void BM_TanTenXHonest(benchmark::State& state) {
  StartPicture s(1920, 1080, state.range(0) != 0, "tan(10x)");
  bool exhausted = false;
  for (auto _ : state) {
    s.recompute();
    QImage image = paint_graph_image(s.panel, s.plot, s.colours, s.placement);
    benchmark::DoNotOptimize(image.constBits());
    exhausted = exhausted || s.plot.formulas.at(0).honest[0].budget_exhausted;
  }
  state.SetLabel(exhausted ? "budget exhausted" : "ok");
}
BENCHMARK(BM_TanTenXHonest)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Recompute(benchmark::State& state) {
  StartPicture s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(s.recompute());
}
BENCHMARK(BM_Recompute)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_PaintOnly(benchmark::State& state) {
  StartPicture s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  s.recompute();
  for (auto _ : state) {
    QImage image = paint_graph_image(s.panel, s.plot, s.colours, s.placement);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintOnly)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

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
