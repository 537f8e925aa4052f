// The full help laid out for a 600 pixel wide window, first with measuring
// the words and then as a re-wrap after a resize, which measures nothing.
// Target: the first layout under 5 ms. A megabyte of tagged text shows that
// the cost grows linearly.
#include <benchmark/benchmark.h>

#include <string>

#include "help/help_layout.h"
#include "help/help_texts.h"

namespace {

using namespace kv;

void BM_ParseFullHelp(benchmark::State& state) {
  const std::string text = full_help_text();
  HelpLayout layout;
  for (auto _ : state) {
    parse_help_text(layout, text);
    benchmark::DoNotOptimize(layout.document.runs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseFullHelp)->Unit(benchmark::kMicrosecond);

void BM_LayoutFullHelp600(benchmark::State& state) {
  HelpLayout layout;
  parse_help_text(layout, full_help_text());
  FixedWidthMeasurer measurer;
  for (auto _ : state) {
    forget_help_measurements(layout);
    layout_help(layout, measurer, 600, 400);
    benchmark::DoNotOptimize(layout.segments.data());
  }
  state.counters["segments"] = static_cast<double>(layout.segments.size());
}
BENCHMARK(BM_LayoutFullHelp600)->Unit(benchmark::kMicrosecond);

void BM_RewrapFullHelp(benchmark::State& state) {
  HelpLayout layout;
  parse_help_text(layout, full_help_text());
  FixedWidthMeasurer measurer;
  layout_help(layout, measurer, 600, 400);
  int width = 600;
  for (auto _ : state) {
    width = width == 600 ? 731 : 600;
    layout_help(layout, measurer, width, 400);
    benchmark::DoNotOptimize(layout.segments.data());
  }
}
BENCHMARK(BM_RewrapFullHelp)->Unit(benchmark::kMicrosecond);

void BM_LayoutMegabyte(benchmark::State& state) {
  std::string text;
  const std::string piece = "<p><h><c>Titel</c></h><b>logn(</b><i>Wert</i><b>)</b><t><t>Logarithmus "
                            "von Wert zur Basis</t></t><n><l>eins zwei</l>a < b </n>";
  while (text.size() < (size_t{1} << 20)) text += piece;
  HelpLayout layout;
  FixedWidthMeasurer measurer;
  for (auto _ : state) {
    parse_help_text(layout, text);
    layout_help(layout, measurer, 600, 400);
    benchmark::DoNotOptimize(layout.segments.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LayoutMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
