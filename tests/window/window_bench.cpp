// How much the window adds to painting a card: one paint cycle in the window
// (row by row, events handled and the canvas shown between rows) against the
// same cycle headless on one thread (the art in one pass), and against a
// headless cycle that goes row by row without a window.
//
// Runs on the platform Qt picks (the offscreen one when there is no display);
// start it with DISPLAY set (e.g. inside Xvfb) to include drawing on an X
// server.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

#include "form/cycle.h"
#include "form/form1.h"
#include "output/caption.h"
#include "platform/headless.h"

namespace greetcard {
namespace {

constexpr const char* kCardName = "ana";

// Runs headless paint cycles of the card, caption included, on one thread.
void runHeadlessCycles(benchmark::State& state, HeadlessServices& services) {
  services.setTextPrinter(printText);
  PaintCycle cycle(services);
  for (auto _ : state) {
    services.answer(kCardName);
    cycle.run();
    benchmark::DoNotOptimize(cycle.picture().data());
  }
}

// A headless cycle on one thread: the art in one pass, then the caption.
void BM_HeadlessCycle(benchmark::State& state) {
  HeadlessServices services;
  runHeadlessCycles(state, services);
}
BENCHMARK(BM_HeadlessCycle)->Unit(benchmark::kMillisecond)->UseRealTime();

// A headless cycle that paints row by row, as the window does, but handles
// no events between rows.
void BM_HeadlessRowByRowCycle(benchmark::State& state) {
  struct RowByRow : HeadlessServices {
    bool progressive() const override { return true; }
  } services;
  runHeadlessCycles(state, services);
}
BENCHMARK(BM_HeadlessRowByRowCycle)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window's cycle, run by a click on "repeat" (the click returns when the
// card and its caption are done).
void BM_WindowCycle(benchmark::State& state) {
  QTemporaryDir folder;
  Form1 form(folder.path().toStdString());
  form.setPrompt([](std::string_view, std::string_view) { return std::string(kCardName); });
  bool started = false;
  QObject::connect(&form, &Form1::cycleEnded, [&started] { started = true; });
  form.start();
  while (!started) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  auto* repeat = form.findChild<QPushButton*>(QStringLiteral("Command5"));
  for (auto _ : state) {
    repeat->click();
    benchmark::DoNotOptimize(form.cycle().picture().data());
  }
  state.SetLabel(QGuiApplication::platformName().toStdString());
}
BENCHMARK(BM_WindowCycle)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace greetcard

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
