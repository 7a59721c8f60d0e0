// Faults of the disk and of the name list, from the outside: greetcard-render
// runs as a child process, and the window saves, while
// - the disk is full (a 64 KiB tmpfs, mounted for the test),
// - the folder cannot be written (the same tmpfs mounted read-only: root
//   writes through permission bits, but not onto a read-only file system),
// - the file size limit is hit (`ulimit -f`: every write past it fails with
//   EFBIG, on any file system),
// - the name list cannot be read (a dangling symbolic link; a path through a
//   regular file).
// Each time the program must name the path and the system's reason, leave no
// cut-off or temporary file behind, and keep the earlier file untouched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <vector>

#include "test_files.h"
#include "form/form1.h"
#include "form/snapshot.h"

namespace greetcard {
namespace {

namespace fs = std::filesystem;

// Longest wait for one run of greetcard-render (sanitizer builds are slow).
constexpr int kRunTimeoutMs = 300000;
constexpr int kExitNotWritten = 1;
constexpr int kExitListUnreadable = 2;
// Size of the small file system: smaller than any card, so that every card
// write runs out of room.
constexpr const char* kSmallDiskOptions = "size=64k";
// File size limit for the EFBIG cases, in bytes: smaller than any card.
constexpr rlim_t kFileSizeLimitBytes = 64 * 1024;
// What stands in a folder before the run: an earlier card that must survive.
constexpr std::string_view kEarlierCard = "an earlier card, not to be destroyed";

struct RunResult {
  int exitCode = -1;
  std::string err;
};

// Runs greetcard-render in `folder`; with `fileSizeLimit` the child runs under
// that limit (RLIMIT_FSIZE) with SIGXFSZ ignored, so that an oversized write
// fails with EFBIG instead of killing the program.
RunResult render(const QStringList& args, const fs::path& folder,
                 std::optional<rlim_t> fileSizeLimit = std::nullopt) {
  QProcess process;
  process.setWorkingDirectory(QString::fromStdString(folder.string()));
  process.setStandardInputFile(QProcess::nullDevice());
  if (fileSizeLimit) {
    const rlim_t limit = *fileSizeLimit;
    process.setChildProcessModifier([limit] {
      const rlimit small{limit, limit};
      setrlimit(RLIMIT_FSIZE, &small);
      std::signal(SIGXFSZ, SIG_IGN);
    });
  }
  process.start(QStringLiteral(GREETCARD_RENDER), args);
  if (!process.waitForFinished(kRunTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  RunResult result;
  result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.err = process.readAllStandardError().toStdString();
  return result;
}

using test_support::entriesOf;
using test_support::readBytes;
using test_support::writeBytes;

QString q(const fs::path& path) { return QString::fromStdString(path.string()); }

// A small tmpfs mounted on a fresh folder for the length of a test, either
// with 64 KiB of room (a full disk for any card) or read-only (a folder that
// even root cannot write). Skipped where mounting is not permitted.
struct DiskCase {
  const char* label;
  bool readOnly;
  int reasonErrno;  // what every write into it fails with
};
void PrintTo(const DiskCase& c, std::ostream* os) { *os << c.label; }

class SmallDisk : public ::testing::TestWithParam<DiskCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    disk_ = fs::path(temp_.path().toStdString()) / "disk";
    fs::create_directory(disk_);
    if (mount("tmpfs", disk_.c_str(), "tmpfs", 0, kSmallDiskOptions) != 0) {
      GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                   << "); the full and read-only disk cases need root with mount permission";
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount(disk_.c_str());
  }

  const fs::path& disk() const { return disk_; }
  // A folder outside the small disk, for the name list.
  fs::path outside() const { return fs::path(temp_.path().toStdString()); }
  // What a failed write of `file` says after "cannot write <file>: ". On a
  // read-only disk a file that is already there is refused before any write,
  // with Qt's own words instead of the system's reason.
  std::string reason(const fs::path& file, bool existed = false) const {
    if (existed && GetParam().readOnly) return "Existing file " + file.string() + " is not writable";
    return std::strerror(GetParam().reasonErrno);
  }

  // Writes the earlier files onto the disk, then makes it read-only when the
  // case asks for that.
  void prepare(const std::vector<fs::path>& earlierFiles) {
    for (const fs::path& file : earlierFiles) writeBytes(file, kEarlierCard);
    if (GetParam().readOnly) {
      ASSERT_EQ(mount("tmpfs", disk_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, kSmallDiskOptions), 0)
          << std::strerror(errno);
    }
  }

 private:
  QTemporaryDir temp_;
  fs::path disk_;
  bool mounted_ = false;
};

TEST_P(SmallDisk, OneCardFailsNamesPathAndReasonAndKeepsTheEarlierCard) {
  prepare({disk() / "card.png"});
  const RunResult run = render({"ana", "-o", q(disk() / "card.png")}, outside());
  EXPECT_EQ(run.exitCode, kExitNotWritten) << run.err;
  const fs::path card = disk() / "card.png";
  EXPECT_NE(run.err.find("cannot write " + card.string() + ": " + reason(card, true)), std::string::npos)
      << run.err;
  EXPECT_EQ(readBytes(disk() / "card.png"), kEarlierCard);
  EXPECT_EQ(entriesOf(disk()), std::vector<std::string>{"card.png"});
}

TEST_P(SmallDisk, EveryCardOfAListFailsAndTheSummarySaysSo) {
  prepare({disk() / "ana.bmp"});
  writeBytes(outside() / "names.txt", "ana\nmarko polo\nzz\n");
  const RunResult run =
      render({"--names", q(outside() / "names.txt"), "--out-dir", q(disk()), "--format", "bmp", "-j", "2"},
             outside());
  EXPECT_EQ(run.exitCode, kExitNotWritten) << run.err;
  EXPECT_NE(run.err.find("written 0, refused 0, failed 3"), std::string::npos) << run.err;
  for (const char* file : {"ana.bmp", "marko_polo.bmp", "zz.bmp"}) {
    const fs::path card = disk() / file;
    const std::string expected = "cannot write " + card.string() + ": " + reason(card, card == disk() / "ana.bmp");
    EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
  }
  EXPECT_EQ(readBytes(disk() / "ana.bmp"), kEarlierCard);
  EXPECT_EQ(entriesOf(disk()), std::vector<std::string>{"ana.bmp"});
}

TEST_P(SmallDisk, WindowSaveShowsTheReasonKeepsTheEarlierSnapshotAndGoesOn) {
  Form1 form(disk());
  form.setPrompt([](std::string_view, std::string_view) { return std::string("ana"); });
  QStringList messages;
  form.setMessageFunction([&messages](const QString& text) { messages << text; });
  int cycles = 0;
  QObject::connect(&form, &Form1::cycleEnded, [&cycles] { ++cycles; });
  form.start();
  while (cycles == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

  const fs::path snapshot = snapshotPath(disk(), form.cycle().state().imeslike);
  prepare({snapshot});
  const Canvas before = form.cycle().picture();
  form.findChild<QPushButton*>(QStringLiteral("Command3"))->click();

  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(messages[0].toStdString(), "cannot write " + snapshot.string() + ": " + reason(snapshot, true));
  EXPECT_EQ(readBytes(snapshot), kEarlierCard);
  EXPECT_EQ(entriesOf(disk()), std::vector<std::string>{snapshot.filename().string()});
  EXPECT_TRUE(form.cycle().picture() == before);
  EXPECT_FALSE(form.ended());

  // The program goes on: "repeat" paints the next card.
  form.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
  EXPECT_EQ(cycles, 2);
  EXPECT_FALSE(form.ended());
}

INSTANTIATE_TEST_SUITE_P(Disks, SmallDisk,
                         ::testing::Values(DiskCase{"full", false, ENOSPC}, DiskCase{"read_only", true, EROFS}),
                         [](const auto& info) { return std::string(info.param.label); });

// The file size limit on a BMP card and on a list (a PNG card under the
// limit is a case of the command-line tests).
struct SizeLimitCase {
  const char* label;
  QStringList args;                 // "%F" stands for the run's folder
  std::vector<std::string> files;  // files that stand there before and must survive
  std::string summary;              // part of stderr, besides the reason
};
void PrintTo(const SizeLimitCase& c, std::ostream* os) { *os << c.label; }

class FileSizeLimit : public ::testing::TestWithParam<SizeLimitCase> {};

TEST_P(FileSizeLimit, WritesFailWithTheReasonAndKeepTheEarlierFiles) {
  const SizeLimitCase& c = GetParam();
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const fs::path folder = fs::path(temp.path().toStdString());
  writeBytes(folder / "names.txt", "ana\nbob\n");
  for (const std::string& file : c.files) writeBytes(folder / file, kEarlierCard);
  const auto before = entriesOf(folder);

  const RunResult run = render(c.args, folder, kFileSizeLimitBytes);
  EXPECT_EQ(run.exitCode, kExitNotWritten) << run.err;
  EXPECT_NE(run.err.find(std::strerror(EFBIG)), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(c.summary), std::string::npos) << run.err;
  for (const std::string& file : c.files) EXPECT_EQ(readBytes(folder / file), kEarlierCard) << file;
  EXPECT_EQ(entriesOf(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileSizeLimit,
    ::testing::Values(SizeLimitCase{"one_bmp", {"ana", "-o", "ana.bmp"}, {"ana.bmp"}, "cannot write ana.bmp: "},
                      SizeLimitCase{"list", {"--names", "names.txt", "-j", "2"}, {"bob.png"},
                                    "written 0, refused 0, failed 2"}),
    [](const auto& info) { return std::string(info.param.label); });

// A name list behind a dangling symbolic link: nothing is written and the
// message names the list and the reason. (A list with its permission bits
// cleared would not do: root reads it anyway. A folder, a missing file and a
// path through a regular file are cases of the command-line tests.)
TEST(UnreadableList, DanglingLinkIsRefusedWithTheReasonAndNothingIsWritten) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const fs::path folder = fs::path(temp.path().toStdString());
  fs::create_symlink(folder / "gone.txt", folder / "names.txt");
  const auto before = entriesOf(folder);

  const RunResult run = render({"--names", "names.txt", "--out-dir", "cards"}, folder);
  EXPECT_EQ(run.exitCode, kExitListUnreadable) << run.err;
  EXPECT_NE(run.err.find(std::string("cannot read the name list names.txt: ") + std::strerror(ENOENT)),
            std::string::npos)
      << run.err;
  EXPECT_EQ(entriesOf(folder), before);
}

}  // namespace
}  // namespace greetcard
