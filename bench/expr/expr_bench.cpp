// Nanoseconds per evaluation of typical formulas over 1000 x values in
// [-6, 6]: Kurvaline's evaluator beside muparser and a hand-written lambda,
// in the same run.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

struct Formula {
  const char* ours;
  const char* muparser;
  std::function<double(double)> lambda;
};

const Formula kFormulas[] = {
    {"x^3-4.5x", "x^3-4.5*x", [](double x) { return x * x * x - 4.5 * x; }},
    {"cos(pi*x)/(-ln2*x)", "cos(3.141592653589793*x)/(-0.6931471805599453*x)",
     [](double x) { return std::cos(M_PI * x) / (-M_LN2 * x); }},
    {"sin(x)*cos(x)+exp(-x*x)", "sin(x)*cos(x)+exp(-x*x)",
     [](double x) { return std::sin(x) * std::cos(x) + std::exp(-x * x); }},
    {"sqrt(abs(x))*sin(3x)+x^2/(1+x^2)", "sqrt(abs(x))*sin(3*x)+x^2/(1+x^2)",
     [](double x) { return std::sqrt(std::fabs(x)) * std::sin(3 * x) + x * x / (1 + x * x); }},
    {"((x+1)(x-1)(x+2)(x-2)(x+3)(x-3))/(1+x^2+x^4)",
     "((x+1)*(x-1)*(x+2)*(x-2)*(x+3)*(x-3))/(1+x^2+x^4)",
     [](double x) {
       return ((x + 1) * (x - 1) * (x + 2) * (x - 2) * (x + 3) * (x - 3)) /
              (1 + x * x + x * x * x * x);
     }},
};

std::vector<double> xs() {
  std::vector<double> v(1000);
  for (int i = 0; i < 1000; ++i) v[i] = -6.0 + 12.0 * i / 999.0 + 1e-7;  // avoid an exact 0
  return v;
}

bool compile_for_bench(const Formula& f, kv::ExprPanel& panel, benchmark::State& state) {
  panel.source = f.ours;
  if (kv::compile_formulas(panel, kv::CompileEnv{})) return true;
  state.SkipWithError("does not compile");
  return false;
}

void BM_Kurvaline(benchmark::State& state) {
  const Formula& f = kFormulas[state.range(0)];
  kv::ExprPanel panel;
  if (!compile_for_bench(f, panel, state)) return;
  kv::Evaluator ev(panel, kv::kPanelFunction);
  const kv::CompiledFormula& cf = *panel.formulas[0];
  const std::vector<double> x = xs();
  double vars[6] = {};
  for (auto _ : state) {
    double sum = 0;
    for (double xi : x) {
      vars[0] = xi;
      sum += ev.evaluate(cf, vars);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * x.size());
  state.SetLabel(f.ours);
}

// The same evaluations through the block entry the curve sampler uses.
void BM_KurvalineBlock(benchmark::State& state) {
  const Formula& f = kFormulas[state.range(0)];
  kv::ExprPanel panel;
  if (!compile_for_bench(f, panel, state)) return;
  kv::Evaluator ev(panel, kv::kPanelFunction);
  const kv::CompiledFormula& cf = *panel.formulas[0];
  const std::vector<double> x = xs();
  std::vector<double> out(x.size());
  std::unique_ptr<bool[]> undefined(new bool[x.size()]);
  double vars[6] = {};
  for (auto _ : state) {
    ev.evaluate_many(cf, x.data(), static_cast<int>(x.size()), vars, out.data(), undefined.get());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * x.size());
  state.SetLabel(f.ours);
}

void BM_Muparser(benchmark::State& state) {
  const Formula& f = kFormulas[state.range(0)];
  mu::Parser p;
  double xv = 0;
  p.DefineVar("x", &xv);
  p.SetExpr(f.muparser);
  p.Eval();
  const std::vector<double> x = xs();
  for (auto _ : state) {
    double sum = 0;
    for (double xi : x) {
      xv = xi;
      sum += p.Eval();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * x.size());
  state.SetLabel(f.ours);
}

void BM_Lambda(benchmark::State& state) {
  const Formula& f = kFormulas[state.range(0)];
  const std::vector<double> x = xs();
  for (auto _ : state) {
    double sum = 0;
    for (double xi : x) sum += f.lambda(xi);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * x.size());
  state.SetLabel(f.ours);
}

BENCHMARK(BM_Kurvaline)->DenseRange(0, 4);
BENCHMARK(BM_KurvalineBlock)->DenseRange(0, 4);
BENCHMARK(BM_Muparser)->DenseRange(0, 4);
BENCHMARK(BM_Lambda)->DenseRange(0, 4);

}  // namespace

BENCHMARK_MAIN();
