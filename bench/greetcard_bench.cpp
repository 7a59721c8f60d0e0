// Speed of the card engine, as ratios measured inside one run:
//   - one card on one thread against the same strokes drawn with QPainter,
//   - one card on one thread against a tight loop writing as many pixels,
//   - one card on two threads against one thread,
//   - a 200-name mailing list through greetcard-render at -j 2 against -j 1,
//     with the peak memory of the child process.
// A summary with every figure and ratio is printed after the benchmarks.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "synth/art.h"

extern char** environ;

namespace greetcard {
namespace {

// The card every single-card figure is measured on (the golden card).
constexpr const char* kCardName = "ana";
// Names in the mailing-list benchmark.
constexpr int kListNames = 200;
constexpr int kLetters = 26;
// Repetitions of each in-process benchmark; the summary takes the fastest,
// which is the least disturbed by other work on a shared machine.
constexpr int kRepetitions = 5;

const Recipe& cardRecipe() {
  static const Recipe recipe = makeRecipe(kCardName);
  return recipe;
}

const std::vector<PixelStrokes>& cardStrokes() {
  static const std::vector<PixelStrokes> strokes = scanStrokes(cardRecipe(), 1);
  return strokes;
}

// Pixels the card's strokes write inside the canvas, counted step by step
// with the line rule.
std::int64_t countPixelWrites(const std::vector<PixelStrokes>& strokes) {
  std::int64_t writes = 0;
  const auto count = [&writes](const Stroke& s) {
    const std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const std::int64_t n = std::max(std::abs(dx), std::abs(dy));
    const auto q = [n](std::int64_t a) {
      const std::int64_t num = 2 * a + n, den = 2 * n;
      return num >= 0 ? num / den : -((-num + den - 1) / den);
    };
    for (std::int64_t k = 0; k < n; ++k) {
      const std::int64_t x = s.x0 + q(k * dx), y = s.y0 + q(k * dy);
      if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) ++writes;
    }
  };
  for (const PixelStrokes& p : strokes) {
    count(p.first);
    count(p.second);
  }
  return writes;
}

std::int64_t cardPixelWrites() {
  static const std::int64_t writes = countPixelWrites(cardStrokes());
  return writes;
}

void BM_Card(benchmark::State& state) {
  const unsigned threads = static_cast<unsigned>(state.range(0));
  const Recipe& recipe = cardRecipe();
  for (auto _ : state) {
    Canvas canvas = renderArt(recipe, threads);
    benchmark::DoNotOptimize(canvas.data());
  }
  state.counters["pixel_writes"] = static_cast<double>(cardPixelWrites());
}
BENCHMARK(BM_Card)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// The chain alone: every pixel's colour and strokes, nothing drawn.
void BM_ChainOnly(benchmark::State& state) {
  const unsigned threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    std::vector<PixelStrokes> strokes = scanStrokes(cardRecipe(), threads);
    benchmark::DoNotOptimize(strokes.data());
  }
}
BENCHMARK(BM_ChainOnly)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// The card's strokes alone, drawn with the canvas's line rule on one thread.
void BM_LinesOnly(benchmark::State& state) {
  const std::vector<PixelStrokes>& strokes = cardStrokes();
  Canvas canvas(kWidth, kHeight);
  for (auto _ : state) {
    for (const PixelStrokes& p : strokes) {
      canvas.line(p.first, p.colour);
      canvas.line(p.second, p.colour);
    }
    benchmark::DoNotOptimize(canvas.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LinesOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// The same strokes drawn with QPainter: aliased, cosmetic one-pixel pen, the
// same whole-pixel end points, into an RGB32 image.
void BM_QPainterLines(benchmark::State& state) {
  const std::vector<PixelStrokes>& strokes = cardStrokes();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen;
    pen.setWidth(0);
    pen.setCosmetic(true);
    for (const PixelStrokes& p : strokes) {
      pen.setColor(QColor::fromRgb(p.colour));
      painter.setPen(pen);
      painter.drawLine(QPoint(p.first.x0, p.first.y0), QPoint(p.first.x1, p.first.y1));
      painter.drawLine(QPoint(p.second.x0, p.second.y0), QPoint(p.second.x1, p.second.y1));
    }
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_QPainterLines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// Writes as many pixels as the card writes, one 32-bit store per pixel, in
// row-major sweeps over a canvas-sized buffer. The stores go through a
// volatile pointer so that the compiler neither drops nor merges them: this
// is the cost of the writes themselves, one pixel at a time.
void BM_PixelWriteBound(benchmark::State& state) {
  const std::int64_t writes = cardPixelWrites();
  std::vector<std::uint32_t> buffer(static_cast<std::size_t>(kWidth) * kHeight);
  volatile std::uint32_t* const pixels = buffer.data();
  const std::int64_t size = static_cast<std::int64_t>(buffer.size());
  for (auto _ : state) {
    std::uint32_t colour = kBlack;
    for (std::int64_t done = 0; done < writes; done += size, ++colour) {
      const std::int64_t sweep = std::min(size, writes - done);
      for (std::int64_t p = 0; p < sweep; ++p) pixels[p] = colour;
    }
  }
  state.counters["pixel_writes"] = static_cast<double>(writes);
}
BENCHMARK(BM_PixelWriteBound)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// The same number of pixels written by whole-row fills that the compiler may
// turn into wide vector stores: shown for comparison, it is not a per-pixel
// bound.
void BM_PixelFillVectorised(benchmark::State& state) {
  const std::int64_t writes = cardPixelWrites();
  std::vector<std::uint32_t> buffer(static_cast<std::size_t>(kWidth) * kHeight);
  const std::int64_t size = static_cast<std::int64_t>(buffer.size());
  for (auto _ : state) {
    std::uint32_t colour = kBlack;
    for (std::int64_t done = 0; done < writes; done += size, ++colour) {
      const std::int64_t sweep = std::min(size, writes - done);
      std::fill_n(buffer.data(), sweep, colour);
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_PixelFillVectorised)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5)->Repetitions(kRepetitions);

// How much of a second core the machine gives right now: the same fixed
// arithmetic on one thread, and on two threads at once (each doing all of
// it). On two free cores both take the same time; on a shared machine the
// ratio tells how far the two-thread figures can go.
constexpr long kControlSteps = 50'000'000;

void spinSteps() {
  double x = 0;
  for (long n = 0; n < kControlSteps; ++n) {
    x = x + 1.0;
    benchmark::DoNotOptimize(x);
  }
}

void BM_CoreCheck(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<std::jthread> workers;
    for (int t = 1; t < threads; ++t) workers.emplace_back(spinSteps);
    spinSteps();
  }
}
BENCHMARK(BM_CoreCheck)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.3)->Repetitions(kRepetitions);

// --- the mailing list through the command-line renderer -------------------

// A name of lower-case letters for list entry `index`.
std::string listName(int index) {
  std::string name = "card ";
  for (int n = index + kLetters; n > 0; n /= kLetters) name += static_cast<char>('a' + n % kLetters);
  return name;
}

struct ChildRun {
  bool ok = false;
  double seconds = 0;
  long peakKilobytes = 0;
  std::string problem;
};

ChildRun runRenderer(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ChildRun run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.problem = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
    return run;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) {
    run.problem = "wait4 failed";
    return run;
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakKilobytes = usage.ru_maxrss;
  if (WIFSIGNALED(status)) {
    run.problem = "greetcard-render was ended by signal " + std::to_string(WTERMSIG(status));
    return run;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    run.problem = "greetcard-render ended with status " + std::to_string(WEXITSTATUS(status)) +
                  " (does it know --names, --out-dir and -j yet?)";
    return run;
  }
  run.ok = true;
  return run;
}

void BM_RenderNames(benchmark::State& state) {
  const int jobs = static_cast<int>(state.range(0));
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("greetcard_bench_" + std::to_string(getpid()));
  fs::create_directories(dir / "out");
  const fs::path list = dir / "names.txt";
  {
    std::ofstream out(list);
    for (int n = 0; n < kListNames; ++n) out << listName(n) << '\n';
  }
  ChildRun last;
  for (auto _ : state) {
    last = runRenderer({GREETCARD_RENDER_PATH, "--names", list.string(), "--out-dir",
                        (dir / "out").string(), "-j", std::to_string(jobs)});
    if (!last.ok) break;
    state.SetIterationTime(last.seconds);
  }
  fs::remove_all(dir);
  if (!last.ok) {
    state.SkipWithError(last.problem.c_str());
    return;
  }
  state.counters["peak_MB"] = static_cast<double>(last.peakKilobytes) / 1024.0;
  state.counters["cards_per_s"] = kListNames / last.seconds;
}
BENCHMARK(BM_RenderNames)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

// --- summary ----------------------------------------------------------------

// Keeps the fastest time per iteration over the repetitions, and the
// counters, of every benchmark.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const double seconds =
          run.real_accumulated_time / static_cast<double>(std::max<std::int64_t>(run.iterations, 1));
      // Keyed by function and arguments only, e.g. "BM_Card/2".
      const std::string key =
          run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
      const auto known = times_.find(key);
      times_[key] = known == times_.end() ? seconds : std::min(known->second, seconds);
      for (const auto& [name, counter] : run.counters) counters_[key + "." + name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printSummary() const {
    std::printf("\nSummary (card \"%s\", fastest of %d repetitions, wall-clock time)\n", kCardName,
                kRepetitions);
    const auto time = [this](const char* name) {
      const auto it = times_.find(name);
      return it == times_.end() ? -1.0 : it->second;
    };
    const auto counter = [this](const std::string& key) {
      const auto it = counters_.find(key);
      return it == counters_.end() ? -1.0 : it->second;
    };
    const double card1 = time("BM_Card/1"), card2 = time("BM_Card/2");
    const double qpainter = time("BM_QPainterLines"), bound = time("BM_PixelWriteBound");
    const double names1 = time("BM_RenderNames/1");
    const double names2 = time("BM_RenderNames/2");
    const auto line = [](const char* what, double value, const char* target) {
      if (value < 0) {
        std::printf("  %-52s   (not measured)\n", what);
      } else {
        std::printf("  %-52s %8.2f   target %s\n", what, value, target);
      }
    };
    const auto ratio = [](double a, double b) { return (a < 0 || b <= 0) ? -1.0 : a / b; };
    const double chain1 = time("BM_ChainOnly/1"), lines = time("BM_LinesOnly");
    if (chain1 >= 0) std::printf("  chain alone, 1 thread: %.2f ms\n", chain1 * 1e3);
    if (lines >= 0) std::printf("  lines alone, 1 thread: %.2f ms\n", lines * 1e3);
    if (card1 >= 0) std::printf("  card, 1 thread: %.2f ms\n", card1 * 1e3);
    if (card2 >= 0) std::printf("  card, 2 threads: %.2f ms\n", card2 * 1e3);
    if (qpainter >= 0) std::printf("  QPainter, same strokes: %.2f ms\n", qpainter * 1e3);
    if (bound >= 0) {
      std::printf("  pixel-write bound: %.2f ms for %.0f writes\n", bound * 1e3,
                  counter("BM_PixelWriteBound.pixel_writes"));
    }
    if (names1 >= 0) std::printf("  %d names, -j 1: %.2f s\n", kListNames, names1);
    if (names2 >= 0) std::printf("  %d names, -j 2: %.2f s\n", kListNames, names2);
    line("QPainter time / card time (1 thread)", ratio(qpainter, card1), ">= 5");
    line("card time (1 thread) / pixel-write bound", ratio(card1, bound), "<= 2.5");
    line("card speed-up, 2 threads over 1", ratio(card1, card2), ">= 1.6");
    line("control: two threads' work / one thread's, same time", ratio(2 * time("BM_CoreCheck/1"), time("BM_CoreCheck/2")),
         "2 on two free cores");
    line("200 names: throughput -j 2 over -j 1", ratio(names1, names2), ">= 1.8");
    const double peak1 = counter("BM_RenderNames/1.peak_MB");
    const double peak2 = counter("BM_RenderNames/2.peak_MB");
    line("200 names -j 1: peak memory, MB", peak1, "< 100");
    line("200 names -j 2: peak memory, MB", peak2, "< 100");
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> counters_;
};

}  // namespace
}  // namespace greetcard

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  greetcard::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printSummary();
  benchmark::Shutdown();
  return 0;
}
