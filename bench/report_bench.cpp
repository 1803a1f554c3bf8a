// The UI thread under fast editing with the maths report open: 1,000 Alt+arrow presses in the
// map editor, each a change of the grid that the panel, the editor and the report follow.
//
// BM_HeldKey: a press every 4 ms (a held key or a drag, faster than the screen's frames), the
// event loop running as it would between them. Per change: the UI thread's own processor time
// from one press to the next (the press and whatever the event loop then runs), which the other
// threads and programs of a shared machine do not inflate; its median and mean.
// BM_Backlog: the presses handed over in one go, as the window system does with input queued
// while the program was busy, then the event loop until all is shown. Per change: the UI
// thread's processor time over the whole, divided by the presses.
// Both: how often the report's table and chart were refreshed, and the growth of the resident
// memory, at its peak and at the end.
//
//   QT_QPA_PLATFORM=offscreen quillmere_report_bench

#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/control_panel.h"
#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/program.h"
#include "core/maps/panel_state.h"
#include "support/fakes.h"

namespace quill {
namespace {

constexpr int kChanges = 1000;
constexpr std::chrono::nanoseconds kHeldKeySpacing = std::chrono::milliseconds(4);

// A line of /proc/self/status in MiB: VmRSS now, VmHWM the peak since the last resetPeak().
double statusMiB(const QByteArray& key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(key + ':')) {
      return line.mid(key.size() + 1).trimmed().split(' ').front().toDouble() / 1024;
    }
  }
  return 0;
}

void resetPeak() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// Processor time of the calling thread, in milliseconds.
double threadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The event loop, waiting as it does, for `duration`; at least one turn.
void runEventLoopFor(std::chrono::nanoseconds duration) {
  QApplication::processEvents();
  if (duration <= std::chrono::nanoseconds(0)) return;
  QEventLoop loop;
  QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(duration), Qt::PreciseTimer,
                     &loop, &QEventLoop::quit);
  loop.exec();
}

void pressAltArrow(QWidget* widget, int change) {
  // Right and back left: the maps stay where they were, the grid changes every time.
  const int key = change % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
  QKeyEvent down(QEvent::KeyPress, key, Qt::AltModifier);
  QApplication::sendEvent(widget, &down);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::AltModifier);
  QApplication::sendEvent(widget, &up);
}

// The program with the fern in the grid, the map editor and the report open, map 2 selected.
class OpenReport {
 public:
  OpenReport() {
    program.start();
    program.document->presetDirectory = QStringLiteral(QUILLMERE_PRESET_DIR);
    program.controlPanel->findChild<QAction*>(QStringLiteral("patternAction_%1").arg(kFernPattern))
        ->trigger();
    program.controlPanel->openMapEditor();
    program.controlPanel->openMathsReport();
    canvas = program.controlPanel->mapEditor()->canvas();
    report = program.controlPanel->mathsReport();
    QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier);
    QApplication::sendEvent(canvas, &two);
    runEventLoopFor(std::chrono::milliseconds(200));
  }
  ~OpenReport() { program.controlPanel->close(); }

  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
  Program program{dialogs, printer};
  MapCanvas* canvas = nullptr;
  MathsReportWindow* report = nullptr;
};

void reportMemory(benchmark::State& state, double before) {
  state.counters["rss_peak_growth_MiB"] = statusMiB("VmHWM") - before;
  state.counters["rss_growth_MiB"] = statusMiB("VmRSS") - before;
}

void BM_HeldKey(benchmark::State& state) {
  OpenReport open;
  for (auto _ : state) {
    const double before = statusMiB("VmRSS");
    resetPeak();
    const int refreshesBefore = open.report->refreshes();
    std::vector<double> processor;
    QElapsedTimer run;
    run.start();
    double lastProcessor = threadMilliseconds();
    for (int change = 0; change <= kChanges; ++change) {
      runEventLoopFor(change * kHeldKeySpacing - std::chrono::nanoseconds(run.nsecsElapsed()));
      // The time of the change before, to this one.
      if (change > 0) processor.push_back(threadMilliseconds() - lastProcessor);
      if (change == kChanges) break;
      lastProcessor = threadMilliseconds();
      pressAltArrow(open.canvas, change);
    }
    double total = 0;
    for (const double each : processor) total += each;
    state.counters["ui_median_ms"] = median(processor);
    state.counters["ui_mean_ms"] = total / double(processor.size());
    state.counters["refreshes"] = open.report->refreshes() - refreshesBefore;
    reportMemory(state, before);
  }
}
BENCHMARK(BM_HeldKey)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Backlog(benchmark::State& state) {
  OpenReport open;
  for (auto _ : state) {
    const double before = statusMiB("VmRSS");
    resetPeak();
    const int refreshesBefore = open.report->refreshes();
    const double start = threadMilliseconds();
    for (int change = 0; change < kChanges; ++change) pressAltArrow(open.canvas, change);
    while (open.report->refreshPending()) runEventLoopFor(std::chrono::milliseconds(1));
    state.counters["ui_per_change_ms"] = (threadMilliseconds() - start) / kChanges;
    state.counters["refreshes"] = open.report->refreshes() - refreshesBefore;
    reportMemory(state, before);
  }
}
BENCHMARK(BM_Backlog)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
