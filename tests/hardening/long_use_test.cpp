// Long use: hundreds of paint cycles in one process, each with its caption and
// its file written as the command line does, must keep resident memory flat.
// A leak of even a few kilobytes a cycle adds up to megabytes over the run.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <array>
#include <cstddef>
#include <fstream>
#include <string>
#include <unistd.h>

#include "form/cycle.h"
#include "output/caption.h"
#include "output/image_file.h"
#include "platform/headless.h"

namespace greetcard {
namespace {

constexpr int kWarmUpCycles = 50;
constexpr int kTotalCycles = 500;
// Allowed growth of resident memory between the warm-up and the last cycle.
constexpr long kRssGrowthLimitBytes = 2L * 1024 * 1024;

// Resident memory of this process now, in bytes, or -1 when unknown.
long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long totalPages = 0, residentPages = 0;
  if (!(statm >> totalPages >> residentPages)) return -1;
  return residentPages * sysconf(_SC_PAGESIZE);
}

// Names of different lengths and letters, so that every cycle builds a new
// palette, new parameters and a caption of another width.
const std::array<std::string, 5> kNames = {"ana", "", " marko  polo ", std::string(100, 'z'),
                                           "abcdefghijklmnopqrstuvwxyz"};

TEST(LongUse, FiveHundredCyclesKeepResidentMemoryFlat) {
  if (residentBytes() < 0) GTEST_SKIP() << "/proc/self/statm is not readable here";
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string path = folder.filePath("card.bmp").toStdString();

  HeadlessServices services;
  services.setThreads(1);
  services.setTextPrinter(printText);
  for (int k = 0; k < kTotalCycles; ++k) services.answer(kNames[k % kNames.size()]);
  PaintCycle cycle(services);

  long afterWarmUp = 0;
  for (int k = 1; k <= kTotalCycles; ++k) {
    ASSERT_TRUE(cycle.run()) << "cycle " << k;
    ASSERT_EQ(cycle.state().t, kNames[(k - 1) % kNames.size()]);
    ASSERT_EQ(writeImage(cycle.picture(), path, ImageFormat::Bmp), "") << "cycle " << k;
    if (k == kWarmUpCycles) afterWarmUp = residentBytes();
  }
  const long atEnd = residentBytes();
  EXPECT_EQ(services.promptsOpened(), kTotalCycles);
  EXPECT_LT(atEnd - afterWarmUp, kRssGrowthLimitBytes)
      << "resident memory after cycle " << kWarmUpCycles << ": " << afterWarmUp << " bytes, after cycle "
      << kTotalCycles << ": " << atEnd << " bytes";
  RecordProperty("rss_after_warm_up", std::to_string(afterWarmUp));
  RecordProperty("rss_at_end", std::to_string(atEnd));
}

}  // namespace
}  // namespace greetcard
