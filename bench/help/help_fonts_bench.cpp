// The full help laid out for a 600 pixel wide window with the real fonts,
// measured through the drawing device the help window uses.
//
// - LayoutFullHelp600Fonts: the first layout of a freshly opened window, a
//   new device and painter included, so nothing is left over from an earlier
//   run but the toolkit's own font cache. Target: under 5 ms.
// - RewrapFullHelpFonts: a width change afterwards, which measures nothing.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>

#include "help/help_layout.h"
#include "help/help_texts.h"
#include "platform/qpainter_device.h"

namespace {

using namespace kv;

void BM_LayoutFullHelp600Fonts(benchmark::State& state) {
  HelpLayout layout;
  parse_help_text(layout, full_help_text());
  QImage canvas(1, 1, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&canvas);
    QPainterDevice device(painter);
    DeviceTextMeasurer measurer(device);
    forget_help_measurements(layout);
    layout_help(layout, measurer, 600, 400);
    benchmark::DoNotOptimize(layout.segments.data());
  }
  state.counters["segments"] = static_cast<double>(layout.segments.size());
}
BENCHMARK(BM_LayoutFullHelp600Fonts)->Unit(benchmark::kMillisecond);

void BM_RewrapFullHelpFonts(benchmark::State& state) {
  HelpLayout layout;
  parse_help_text(layout, full_help_text());
  QImage canvas(1, 1, QImage::Format_RGB32);
  QPainter painter(&canvas);
  QPainterDevice device(painter);
  DeviceTextMeasurer measurer(device);
  layout_help(layout, measurer, 600, 400);
  int width = 600;
  for (auto _ : state) {
    width = width == 600 ? 731 : 600;
    layout_help(layout, measurer, width, 400);
    benchmark::DoNotOptimize(layout.segments.data());
  }
}
BENCHMARK(BM_RewrapFullHelpFonts)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
