#include "batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

#include "card.h"
#include "interrupt.h"
#include "output/image_file.h"
#include "seeding/name_list.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace greetcard::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kExitSomeFailed = 1;
constexpr int kExitUnreadable = 2;
constexpr std::string_view kStdinName = "-";
// How often the progress bar is redrawn while no card finishes.
constexpr std::chrono::milliseconds kProgressTick{200};
// Width of the progress bar in characters.
constexpr int kBarWidth = 30;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Why a list file cannot be read, or nothing when it can be opened.
std::optional<std::string> openList(const std::string& path, std::ifstream& file) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) return error.message();
  if (fs::is_directory(status)) return std::make_error_code(std::errc::is_a_directory).message();
  errno = 0;
  file.open(path, std::ios::binary);
  if (!file) return errno != 0 ? std::string(std::strerror(errno)) : std::string("cannot be opened");
  return std::nullopt;
}

// stderr shared by the workers and the progress bar: whole lines, and the bar
// cleared before a line is written over it.
class Console {
 public:
  explicit Console(bool terminal) : terminal_(terminal) {}

  bool terminal() const { return terminal_; }

  void line(const std::string& text) {
    const std::lock_guard lock(mutex_);
    clearBar();
    const std::string out = std::string(kProgramName) + ": " + text + "\n";
    std::fputs(out.c_str(), stderr);
  }

  void bar(std::size_t done, std::size_t total, bool totalKnown, double elapsed) {
    const std::lock_guard lock(mutex_);
    // The list may have changed since it was counted: never past the end.
    const int filled = total == 0 ? kBarWidth
                                  : std::min(kBarWidth, static_cast<int>(static_cast<double>(kBarWidth) * done / total));
    std::string text = "\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
                       std::to_string(done) + "/" + std::to_string(total) + (totalKnown ? "" : "+");
    char left[32] = "";
    if (totalKnown && done > 0 && done < total) {
      std::snprintf(left, sizeof left, "  %.0f s left", std::ceil(elapsed / done * (total - done)));
    }
    text += left;
    text += "\x1b[K";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    barShown_ = true;
  }

  void summary(const std::string& text) {
    const std::lock_guard lock(mutex_);
    clearBar();
    std::fputs((text + "\n").c_str(), stderr);
  }

 private:
  void clearBar() {
    if (!barShown_) return;
    std::fputs("\r\x1b[K", stderr);
    barShown_ = false;
  }

  std::mutex mutex_;
  bool terminal_;
  bool barShown_ = false;
};

// The run of one list: the reader, shared by the workers one line at a time,
// and the tallies.
class Batch {
 public:
  Batch(std::istream& list, const Options& options, Console& console)
      : reader_(list), options_(options), console_(console), format_(options.format.value_or(ImageFormat::Png)) {}

  // Runs `jobs` workers until the list ends or a stop is asked for; the
  // calling thread draws the progress bar meanwhile.
  void run(unsigned jobs, std::optional<std::size_t> total, Clock::time_point start) {
    active_ = jobs;
    std::vector<std::jthread> workers;
    workers.reserve(jobs);
    for (unsigned k = 0; k < jobs; ++k) workers.emplace_back([this] { work(); });
    std::unique_lock lock(progressMutex_);
    while (active_ > 0) {
      progress_.wait_for(lock, kProgressTick);
      if (console_.terminal()) {
        const std::size_t done = written_ + refused_ + failed_;
        const bool known = total.has_value() || listEnded_;
        console_.bar(done, total.value_or(seen_), known, secondsSince(start));
      }
    }
  }

  std::size_t written() const { return written_; }
  std::size_t refused() const { return refused_; }
  std::size_t failed() const { return failed_; }
  bool readFailed() const { return reader_.readFailed(); }
  // Whether a stop request left part of the list unread.
  bool interrupted() const { return interrupted_; }

 private:
  void work() {
    for (;;) {
      if (interruptRequested()) {
        interrupted_ = true;
        break;
      }
      std::optional<NameListEntry> entry;
      {
        const std::lock_guard lock(readerMutex_);
        entry = reader_.next();
        if (entry) ++seen_;
      }
      if (!entry) {
        listEnded_ = true;
        break;
      }
      // Reading may have waited for input (stdin) while a stop came in.
      if (interruptRequested()) {
        interrupted_ = true;
        break;
      }
      render(*entry);
      progress_.notify_one();
    }
    {
      const std::lock_guard lock(progressMutex_);
      --active_;
    }
    progress_.notify_one();
  }

  void render(const NameListEntry& entry) {
    const std::string where = "line " + std::to_string(entry.line);
    if (entry.problem) {
      console_.line(where + " refused: " + entry.problem->message());
      ++refused_;
      return;
    }
    const std::string file = fileStemOf(entry.name) + std::string(extensionOf(format_));
    const std::string path = options_.outDir ? (fs::path(*options_.outDir) / file).string() : file;
    std::string error;
    try {
      // One thread per card: the workers already keep the cores busy.
      const Card card = paintCard(entry.name, options_.caption, 1);
      error = writeImage(card.picture, path, format_);
    } catch (const std::exception& e) {
      error = "cannot render " + path + ": " + e.what();
    }
    if (error.empty()) {
      ++written_;
    } else {
      console_.line(where + ": " + error);
      ++failed_;
    }
  }

  NameListReader reader_;
  std::mutex readerMutex_;
  const Options& options_;
  Console& console_;
  ImageFormat format_;
  std::atomic<std::size_t> seen_{0};
  std::atomic<std::size_t> written_{0};
  std::atomic<std::size_t> refused_{0};
  std::atomic<std::size_t> failed_{0};
  std::atomic<bool> listEnded_{false};
  std::atomic<bool> interrupted_{false};
  std::mutex progressMutex_;
  std::condition_variable progress_;
  unsigned active_ = 0;  // workers still running (under progressMutex_)
};

}  // namespace

int runBatch(const Options& options) {
  const Clock::time_point start = Clock::now();
  const std::string& listPath = *options.namesFile;
  const bool fromStdin = listPath == kStdinName;
  std::ifstream file;
  if (!fromStdin) {
    if (const auto reason = openList(listPath, file)) {
      reportError("cannot read the name list " + listPath + ": " + *reason);
      return kExitUnreadable;
    }
  }
  std::istream& list = fromStdin ? std::cin : file;

  if (options.outDir && !makeOutputFolder(*options.outDir)) return kExitSomeFailed;

  Console console(isatty(fileno(stderr)) != 0);
  // A regular file can be counted ahead for the progress total; a pipe only
  // as it is read.
  std::optional<std::size_t> total;
  std::error_code notRegular;
  if (console.terminal() && !fromStdin && fs::is_regular_file(listPath, notRegular)) {
    std::ifstream again(listPath, std::ios::binary);
    if (again) total = countNameLines(again);
  }

  Batch batch(list, options, console);
  batch.run(jobsOf(options), total, start);

  if (batch.readFailed()) console.line("cannot read the name list " + listPath + ": read error");
  const bool interrupted = batch.interrupted();
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f s", secondsSince(start));
  console.summary("written " + std::to_string(batch.written()) + ", refused " + std::to_string(batch.refused()) +
                  ", failed " + std::to_string(batch.failed()) + (interrupted ? ", interrupted" : "") + ", " +
                  seconds);
  if (interrupted) return kExitInterrupted;
  if (batch.readFailed()) return kExitUnreadable;
  return batch.refused() + batch.failed() > 0 ? kExitSomeFailed : 0;
}

}  // namespace greetcard::cli
