// Milliseconds per recomputation of a drawing panel (prepare the x range,
// sample, solve, settle the y range, project), without painting:
//   - the "Function" panel with its five start formulas at 624 x 520 and
//     1920 x 1080 pixels;
//   - the start equation "y'' = 150*cos(40x-4) - 2y + 3y'" of the "DiffEqu"
//     panel at 1920 columns, with and without "High Precision".
// The EvaluatorOnly variants replay the evaluations at the sample positions
// (without the few refinement evaluations) with nothing around them; the
// difference to the full recomputation is the time spent outside the
// evaluator: classification, solver arithmetic, y range and projection.
// The Share variants run both in turns and report that difference as a share
// of the full time (counter outside_share), so that a machine whose speed
// drifts between two benchmarks does not skew it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "graph/recompute.h"

namespace {

using namespace kv;

constexpr double kPi = 3.14159265358979323846;

const char* const kFunctionPanel =
    "cos(pi*x) / (-LN2*x);\r\nr(t) = 3;\r\nd(d(x^4 / 12 - 3/2 x^2));\r\n(x^3)/3 - 1.5 x^2 + x;\r\n"
    "pi*asin(t/2 - 0.25pi);";
const char* const kEquation = "y'' = 150*cos(40x-4) - 2y + 3y'";

struct Setup {
  PanelRecord panel;
  PanelPlot plot;
};

// The default ranges of the drawing panels at first start.
void set_default_ranges(PanelRecord& panel) {
  panel.range[kXMin].value = -6;
  panel.range[kXMax].value = 6;
  panel.range[kYMin].value = -5;
  panel.range[kYMax].value = 5;
  panel.range[kTMin].value = -2 * kPi;
  panel.range[kTMax].value = 2 * kPi;
}

void init_function_panel(Setup& s) {
  s.panel.role = kPanelFunction;
  set_default_ranges(s.panel);
  s.panel.options[kOptEqualScales] = 1;
  s.panel.options[kOptLineWidth] = 1;
  s.panel.source = kFunctionPanel;
  CompileEnv env;
  env.surface = kPanelFunction;
  compile_formulas(s.panel, env);
}

void init_diffequ_panel(Setup& s, bool high_precision) {
  s.panel.role = kPanelDiffEqu;
  s.panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
  set_default_ranges(s.panel);
  s.panel.dialog_values[kStartX].value = std::sqrt(2.0);
  s.panel.dialog_values[kStartY].value = std::exp(1.0) / 2;
  s.panel.dialog_values[kStartY1].value = 1.0;
  s.panel.dialog_values[kStartY2].value = -kPi * kPi;
  s.panel.dialog_values[kStartY3].value = 12.5;
  s.panel.dialog_values[kStartY4].value = 85;
  s.panel.option_flag = high_precision;
  s.panel.source = kEquation;
  CompileEnv env;
  env.surface = kPanelDiffEqu;
  compile_formulas(s.panel, env);
}

void run_recompute(benchmark::State& state, Setup& s, int w, int h) {
  if (s.panel.formulas.empty()) {
    state.SkipWithError("formulas did not compile");
    return;
  }
  for (auto _ : state) {
    if (!recompute_panel(s.panel, s.plot, w, h)) {
      state.SkipWithError("recomputation failed");
      return;
    }
    benchmark::DoNotOptimize(s.plot.formulas.data());
  }
}

void BM_FunctionPanel(benchmark::State& state) {
  Setup s;
  init_function_panel(s);
  run_recompute(state, s, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_FunctionPanel)->Args({624, 520})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_DiffEqu(benchmark::State& state) {
  Setup s;
  init_diffequ_panel(s, state.range(0) != 0);
  run_recompute(state, s, 1920, 1080);
}
BENCHMARK(BM_DiffEqu)->ArgName("high_precision")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The evaluations a recomputation makes at the sample positions: n + 2 per
// explicit formula (the grid through the block entry), 6 per Cash-Karp
// sub-step of an equation.
double replay(Setup& s, int w, int h) {
  double sum = 0;
  Evaluator ev(s.panel, s.panel.role == kPanelDiffEqu ? kPanelDiffEqu : kPanelFunction);
  for (auto& fp : s.panel.formulas) {
    CompiledFormula& f = *fp;
    const bool polar = f.is_polar();
    const int n = polar ? 8 * std::max(w, h) : w;
    const double a = polar ? s.panel.range[kTMin].value : s.panel.range[kXMin].value;
    const double b = polar ? s.panel.range[kTMax].value : s.panel.range[kXMax].value;
    const double step = (b - a) / n;
    if (f.order == 0) {
      // As the sampler does: the grid in blocks, the two ends point by point.
      double vars[6] = {0, 0, 0, 0, 0, 0};
      std::vector<double> t(static_cast<size_t>(n)), value(t.size());
      std::unique_ptr<bool[]> undefined(new bool[t.size()]);
      for (int i = 0; i < n; ++i) t[i] = a + i * step;
      ev.evaluate_many(f, t.data(), n, vars, value.data(), undefined.get());
      sum += value[0];
      for (int i = n; i <= n + 1; ++i) {
        vars[0] = a + i * step;
        sum += ev.evaluate(f, vars);
      }
      continue;
    }
    const int sub = (polar ? 1 : f.subdivision) * (s.panel.option_flag ? 3 : 1);
    double vars[6] = {0, 0.5, 1, 0, 0, 0};
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < 6 * sub; ++j) {
        vars[0] = a + (i + j / (6.0 * sub)) * step;
        sum += ev.evaluate(f, vars);
      }
    }
  }
  return sum;
}

void BM_FunctionPanelEvaluatorOnly(benchmark::State& state) {
  Setup s;
  init_function_panel(s);
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(replay(s, w, h));
}
BENCHMARK(BM_FunctionPanelEvaluatorOnly)
    ->Args({624, 520})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_DiffEquEvaluatorOnly(benchmark::State& state) {
  Setup s;
  init_diffequ_panel(s, state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(replay(s, 1920, 1080));
}
BENCHMARK(BM_DiffEquEvaluatorOnly)
    ->ArgName("high_precision")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Full recomputation and evaluator replay in turns; the iteration time is the
// full recomputation.
void run_share(benchmark::State& state, Setup& s, int w, int h) {
  using Clock = std::chrono::steady_clock;
  double full = 0, evaluator = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    recompute_panel(s.panel, s.plot, w, h);
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(replay(s, w, h));
    const auto t2 = Clock::now();
    const double f = std::chrono::duration<double>(t1 - t0).count();
    full += f;
    evaluator += std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(f);
  }
  state.counters["evaluator_ms"] = 1e3 * evaluator / static_cast<double>(state.iterations());
  state.counters["outside_share"] = full > 0 ? (full - evaluator) / full : 0;
}

void BM_FunctionPanelShare(benchmark::State& state) {
  Setup s;
  init_function_panel(s);
  run_share(state, s, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_FunctionPanelShare)
    ->Args({624, 520})
    ->Args({1920, 1080})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_DiffEquShare(benchmark::State& state) {
  Setup s;
  init_diffequ_panel(s, state.range(0) != 0);
  run_share(state, s, 1920, 1080);
}
BENCHMARK(BM_DiffEquShare)
    ->ArgName("high_precision")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
