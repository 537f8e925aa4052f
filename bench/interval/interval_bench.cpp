// Nanoseconds per interval evaluation of the five benchmark formulas over
// 1000 adjacent intervals covering [-6, 6]: the value alone, with the first,
// and with the first and second derivative, beside the point evaluation of
// the same formulas at the intervals' left ends, in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "interval/interval_eval.h"

namespace {

const char* const kFormulas[] = {
    "x^3-4.5x",
    "cos(pi*x)/(-ln2*x)",
    "sin(x)*cos(x)+exp(-x*x)",
    "sqrt(abs(x))*sin(3x)+x^2/(1+x^2)",
    "((x+1)(x-1)(x+2)(x-2)(x+3)(x-3))/(1+x^2+x^4)",
};

constexpr int kCount = 1000;

double left_end(int i) { return -6.0 + 12.0 * i / kCount + 1e-7; }  // avoid an exact 0

bool compile(kv::ExprPanel& panel, int index, benchmark::State& state) {
  panel.source = kFormulas[index];
  if (kv::compile_formulas(panel, kv::CompileEnv{})) return true;
  state.SkipWithError("does not compile");
  return false;
}

void per_evaluation(benchmark::State& state) {
  state.counters["ns"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCount * 1e-9,
                                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel(kFormulas[state.range(0)]);
}

void BM_Point(benchmark::State& state) {
  kv::ExprPanel panel;
  if (!compile(panel, static_cast<int>(state.range(0)), state)) return;
  kv::Evaluator ev(panel, kv::kPanelFunction);
  const kv::CompiledFormula& cf = *panel.formulas[0];
  double vars[6] = {};
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < kCount; ++i) {
      vars[0] = left_end(i);
      sum += ev.evaluate(cf, vars);
    }
    benchmark::DoNotOptimize(sum);
  }
  per_evaluation(state);
}

// range(1): the number of derivatives.
void BM_Interval(benchmark::State& state) {
  kv::ExprPanel panel;
  if (!compile(panel, static_cast<int>(state.range(0)), state)) return;
  kv::interval::IntervalEvaluator ev;
  const kv::CompiledFormula& cf = *panel.formulas[0];
  const int order = static_cast<int>(state.range(1));
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < kCount; ++i) {
      const kv::interval::Enclosure e = ev.evaluate(cf, {left_end(i), left_end(i + 1)}, order, kv::kRadians);
      sum += e.f[order].lo;
    }
    benchmark::DoNotOptimize(sum);
  }
  per_evaluation(state);
}

BENCHMARK(BM_Point)->DenseRange(0, 4);
BENCHMARK(BM_Interval)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2}});

}  // namespace

BENCHMARK_MAIN();
