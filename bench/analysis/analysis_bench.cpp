// Milliseconds per full curve discussion: a quintic with five zeros, the
// Cartesian start formulas of the function panel on its start range, and
// sin(1/x) with its 318 zeros near 0. The budget is far above the times
// measured, so each run is the whole discussion.
#include <benchmark/benchmark.h>

#include <vector>

#include "analysis/discussion.h"
#include "expr/compiler.h"
#include "model/initial_contents.h"

namespace {

void discuss_text(benchmark::State& state, const char* text, double a, double b) {
  kv::ExprPanel panel;
  panel.source = text;
  if (!kv::compile_formulas(panel, kv::CompileEnv{})) {
    state.SkipWithError("does not compile");
    return;
  }
  std::vector<int> all;
  for (int i = 0; i < panel.count(); ++i) all.push_back(i);
  size_t features = 0;
  for (auto _ : state) {
    const kv::analysis::Discussion d = kv::analysis::discuss(panel, all, a, b, 5000);
    features = d.features.size();
    benchmark::DoNotOptimize(features);
  }
  state.counters["features"] = static_cast<double>(features);
}

void BM_Quintic(benchmark::State& state) { discuss_text(state, "x^5-5x^3+4x", -10, 10); }

void BM_StartFormulas(benchmark::State& state) {
  kv::PanelSet panels;
  kv::fill_initial_contents(panels);
  kv::PanelRecord& p = panels[kv::kPanelFunction];
  kv::ExprPanel panel;
  panel.source = p.source;
  if (!kv::compile_formulas(panel, kv::CompileEnv{})) {
    state.SkipWithError("does not compile");
    return;
  }
  std::vector<int> cartesian;
  for (int i = 0; i < panel.count(); ++i) {
    if (!panel.formulas[i]->is_polar()) cartesian.push_back(i);
  }
  const double a = p.range[kv::kXMin].value, b = p.range[kv::kXMax].value;
  for (auto _ : state) {
    const kv::analysis::Discussion d = kv::analysis::discuss(panel, cartesian, a, b, 5000);
    benchmark::DoNotOptimize(d.features.size());
  }
  state.counters["formulas"] = static_cast<double>(cartesian.size());
}

void BM_SinOfReciprocal(benchmark::State& state) { discuss_text(state, "sin(1/x)", 0.001, 1); }

BENCHMARK(BM_Quintic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SinOfReciprocal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
