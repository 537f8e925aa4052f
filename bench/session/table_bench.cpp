// Milliseconds per "&Berechnen" of a value table with 10 000 intervals, from
// the field texts to the text of the result box:
//   - the start equation of the equation page, "y'''' = -4y - 5y''", with
//     "High Precision" (12 sub-steps of six evaluations per interval);
//     target under 100 ms;
//   - a function with its derivative at every row; target under 20 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "model/initial_contents.h"
#include "session/value_table.h"

namespace {

using namespace kv;

void run_table(benchmark::State& state, int page, const char* formula, bool high_precision) {
  PanelSet panels;
  fill_initial_contents(panels);
  PanelRecord& panel = panels[page];
  DialogTexts texts = dialog_texts_from_panel(panel);
  // Whole strings assigned: g++ 12 warns falsely (-Wrestrict) at -O3 when a
  // literal is assigned to a string here.
  texts.formula = std::string(formula);
  texts.range[kXMin] = std::string("0");
  texts.range[kXMax] = std::string("10000");
  texts.values[kXStep] = std::string("1");
  texts.option = high_precision;
  size_t bytes = 0;
  for (auto _ : state) {
    TableResult result;
    if (!read_table_fields(panel, texts, {}) || !compute_table(panel, result, {})) {
      state.SkipWithError("the table was refused");
      return;
    }
    const TableText text = table_text(result);
    bytes = text.rows.size();
    benchmark::DoNotOptimize(text.rows.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_EquationTableHighPrecision(benchmark::State& state) {
  run_table(state, kPanelTableDiffEqu, "y'''' = -4y - 5y''", true);
}
BENCHMARK(BM_EquationTableHighPrecision)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_FunctionTable(benchmark::State& state) {
  run_table(state, kPanelTable, "x*cos(x) - 1/x^3", false);
}
BENCHMARK(BM_FunctionTable)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
