// Runs the built greetcard-render as a child process in a folder of its own,
// with its output captured, as a person or a script would run it.
#pragma once

#include <sys/types.h>

#include <QImage>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_files.h"

namespace greetcard::cli_test {

namespace fs = std::filesystem;

struct RunResult {
  int exitCode = -1;    // the exit status, or 128 + the signal that ended it
  std::string out;      // everything written on stdout
  std::string err;      // everything written on stderr
  long peakMemoryKiB = 0;  // the child's peak resident memory
};

struct RunSpec {
  std::vector<std::string> args;            // arguments after the program name
  fs::path folder;                          // the current folder of the run
  std::optional<fs::path> input;            // stdin (otherwise /dev/null)
  std::string shellSetup;                   // bash commands run before the program, e.g. limits
};

// A started child; wait() must be called once.
class Child {
 public:
  Child(const RunSpec& run, const fs::path& captureFolder);
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child();

  void sendSignal(int signal) const;
  RunResult wait();

 private:
  pid_t pid_ = -1;
  fs::path outFile_;
  fs::path errFile_;
};

// Starts a child and waits for it.
RunResult runRender(const RunSpec& run, const fs::path& captureFolder);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Names of the entries of a folder, sorted.
using test_support::entriesOf;
using test_support::readBytes;
using test_support::writeBytes;
// The image in a file as 0xFFRRGGBB pixels (null when it cannot be decoded).
QImage loadImage(const fs::path& path);

inline constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
inline constexpr std::string_view kBmpSignature = "BM";
inline constexpr int kCardWidth = 700;
inline constexpr int kCardHeight = 525;

}  // namespace greetcard::cli_test
