// The main window's costs as a user feels them:
//
// - StartToFirstPaint: the program started as a process (on the platform
//   the benchmark runs on, offscreen by default; without a settings file)
//   until its first graph is painted, with KURVALINE_QUIT_AFTER_PAINT=1.
//   Under a virtual X server: QT_QPA_PLATFORM=xcb xvfb-run -a bench_shell
//   --benchmark_enable_random_interleaving=true. BareQtWindow beside it is
//   a plain Qt window of the same size that paints once and quits, so the
//   difference is what Kurvaline adds to the toolkit's own start. The
//   program registers
//   with the desktop in a data folder of its own, once before the timed
//   starts: they measure a start where nothing changed.
// - ResizeKeepingPlot: a window width change that keeps the plot size
//   (the curves must not be recomputed, the label says whether they were).
// - GridToggle1920x1080: Ctrl+G (command 4036) with its repaint in a
//   full-HD window. Target: under 8 ms.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "session/commands.h"
#include "session/shell_state.h"
#include "shell/graph_widget.h"
#include "shell/main_window.h"

extern char** environ;

namespace kv {
namespace {

constexpr const char* kBareWindowArg = "--bare-window";

// Runs a program to its end; false when it could not be started or failed.
// Adds the processor time the program used (all its threads, user and
// system) to cpu_ms: on a loaded machine the wall times wander, this less.
bool run_process(const std::vector<std::string>& args, const std::vector<std::string>& extra_env,
                 double& cpu_ms) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_store(extra_env);
  for (char** e = environ; *e != nullptr; ++e) env_store.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env_store) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  cpu_ms += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-3;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The starts run on the platform the benchmark itself was given (xcb under
// a virtual X server: QT_QPA_PLATFORM=xcb), offscreen without one.
std::vector<std::string> child_env() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  return {"QT_QPA_PLATFORM=" + (platform.isEmpty() ? std::string("offscreen") : platform.toStdString()),
          "KURVALINE_INI=/nonexistent/kurvaline-bench.ini"};
}

std::string data_home;  // the program's desktop registration goes here

void BM_StartToFirstPaint(benchmark::State& state) {
  std::vector<std::string> env = child_env();
  env.emplace_back("KURVALINE_QUIT_AFTER_PAINT=1");
  env.emplace_back("XDG_DATA_HOME=" + data_home);
  static bool registered = false;
  double cpu_ms = 0;
  if (!registered) {
    // The first start registers and starts the desktop's tools; let them end.
    registered = run_process({KV_PROGRAM}, env, cpu_ms);
    usleep(500000);
    cpu_ms = 0;
  }
  for (auto _ : state) {
    if (!run_process({KV_PROGRAM}, env, cpu_ms)) state.SkipWithError("kurvaline did not start and quit");
  }
  state.counters["cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

std::string self_path;

void BM_BareQtWindow(benchmark::State& state) {
  double cpu_ms = 0;
  for (auto _ : state) {
    if (!run_process({self_path, kBareWindowArg}, child_env(), cpu_ms)) {
      state.SkipWithError("the bare window did not start and quit");
    }
  }
  state.counters["cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// A plain window of the start window's size that quits after its first paint.
class BareWindow : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), Qt::white);
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  }
};

int run_bare_window(int argc, char** argv) {
  QApplication app(argc, argv);
  BareWindow w;
  w.resize(766, 605);
  w.show();
  return QApplication::exec();
}

struct Window {
  ShellState state;
  MainWindow window;
  Window() : window((make_start_state(state), state), settings_without_file()) {
    window.first_show();
    QCoreApplication::processEvents();
  }
};

void BM_ResizeKeepingPlot(benchmark::State& state) {
  Window w;
  // Graph areas of 600 and 601 pixels give the same even plot width.
  const int base = w.window.width() - w.window.graph()->width() + 600;
  w.window.resize(base, w.window.height());
  QCoreApplication::processEvents();
  const int plot_width = w.state.plot_width;
  int recomputes = 0, step = 0;
  for (auto _ : state) {
    w.window.resize(base + (++step & 1), w.window.height());
    w.window.graph()->repaint();
    if (w.state.plot_width != plot_width) ++recomputes;
  }
  state.SetLabel(recomputes == 0 ? "plot kept, no recompute" : "plot size changed");
}
BENCHMARK(BM_ResizeKeepingPlot)->Unit(benchmark::kMillisecond);

void BM_GridToggle1920x1080(benchmark::State& state) {
  Window w;
  w.window.resize(1920, 1080);
  QCoreApplication::processEvents();
  for (auto _ : state) w.window.execute(Command::GridBoth);
  state.SetLabel(std::to_string(w.state.layout.plot.width) + "x" +
                 std::to_string(w.state.layout.plot.height) + " plot");
}
BENCHMARK(BM_GridToggle1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kv

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], kv::kBareWindowArg) == 0) return kv::run_bare_window(argc, argv);
  kv::self_path = "/proc/self/exe";
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) kv::self_path.assign(buffer, static_cast<size_t>(n));
  char folder[] = "/tmp/kurvaline-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  kv::data_home = folder;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
