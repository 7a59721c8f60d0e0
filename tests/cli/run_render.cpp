#include "run_render.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace greetcard::cli_test {
namespace {

constexpr int kSignalExitBase = 128;
constexpr mode_t kCaptureMode = 0644;

// Runs the setup, enters the folder and replaces the shell with the program,
// so that signals and resource figures reach the program itself.
constexpr const char* kLauncher = R"(eval "$1" || exit 125; cd -- "$2" || exit 126; shift 2; exec "$@")";

}  // namespace

Child::Child(const RunSpec& run, const fs::path& captureFolder) {
  static int runs = 0;
  ++runs;
  outFile_ = captureFolder / ("run" + std::to_string(runs) + ".out");
  errFile_ = captureFolder / ("run" + std::to_string(runs) + ".err");
  const std::string input = run.input ? run.input->string() : "/dev/null";

  std::vector<std::string> argv = {"bash", "-c", kLauncher, "launcher", run.shellSetup, run.folder.string(),
                                   GREETCARD_RENDER_BINARY};
  argv.insert(argv.end(), run.args.begin(), run.args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   kCaptureMode);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   kCaptureMode);
  const int error = posix_spawnp(&pid_, "bash", &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error(std::string("cannot start bash: ") + std::strerror(error));
}

Child::~Child() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

void Child::sendSignal(int signal) const { ::kill(pid_, signal); }

RunResult Child::wait() {
  int status = 0;
  rusage usage{};
  pid_t got;
  do {
    got = ::wait4(pid_, &status, 0, &usage);
  } while (got < 0 && errno == EINTR);
  pid_ = -1;
  RunResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.exitCode = kSignalExitBase + WTERMSIG(status);
  result.out = readBytes(outFile_);
  result.err = readBytes(errFile_);
  result.peakMemoryKiB = usage.ru_maxrss;
  return result;
}

RunResult runRender(const RunSpec& run, const fs::path& captureFolder) {
  Child child(run, captureFolder);
  return child.wait();
}

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "greetcard-cli-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

QImage loadImage(const fs::path& path) {
  QImage image(QString::fromStdString(path.string()));
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace greetcard::cli_test
