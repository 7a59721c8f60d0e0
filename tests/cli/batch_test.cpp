// greetcard-render with --names: line endings and marks of a list, stdin,
// refused lines, empty and unreadable lists, a list that is one huge line,
// thread counts, formats and folders, failed cards, and a stop by signal.
#include <chrono>
#include <csignal>
#include <thread>

#include "cli_fixture.h"

namespace greetcard::cli_test {
namespace {

using Strings = std::vector<std::string>;

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUnreadable = 2;
constexpr int kExitInterrupted = 130;

const fs::path kGolden = GREETCARD_GOLDEN_DIR;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(CliTest, ListWithMarkCrlfAndBlankLines) {
  const fs::path list = putFile("names.txt", "\xEF\xBB\xBF" "ana\r\n\r\n\nbob\r\n  \r\n");
  const RunResult r = run({"--names", list.string()});
  EXPECT_EQ(r.exitCode, kExitOk) << r.err;
  EXPECT_EQ(entriesOf(folder()), (Strings{"__.png", "ana.png", "bob.png"}));
  EXPECT_TRUE(contains(r.err, "written 3, refused 0, failed 0")) << r.err;
  for (const auto& file : entriesOf(folder())) EXPECT_FALSE(loadImage(folder() / file).isNull()) << file;
}

TEST_F(CliTest, ListFromStdinGivesTheKnownArt) {
  const fs::path list = putFile("names.txt", "ana\n");
  const RunResult r = run({"--names", "-", "--no-caption"}, list);
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  ASSERT_EQ(entriesOf(folder()), Strings{"ana.png"});
  EXPECT_EQ(loadImage(folder() / "ana.png"), loadImage(kGolden / "ana-art.png"));
}

TEST_F(CliTest, RefusedLinesAreReportedAndTheRestIsWritten) {
  std::vector<RefusalCase> cases = refusals();
  cases.push_back({"nul_byte", std::string("a\0b", 3), "character U+0000 at position 2"});
  std::string text = "ana\n";
  for (const auto& c : cases) text += c.name + "\n";
  const RunResult r = run({"--names", putFile("names.txt", text).string()});
  EXPECT_EQ(r.exitCode, kExitSomeFailed);
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const std::string line = "line " + std::to_string(k + 2) + " refused: ";
    const std::size_t at = r.err.find(line);
    ASSERT_NE(at, std::string::npos) << cases[k].label << "\n" << r.err;
    const std::string message = r.err.substr(at, r.err.find('\n', at) - at);
    EXPECT_TRUE(contains(message, cases[k].reason)) << cases[k].label << ": " << message;
  }
  EXPECT_EQ(entriesOf(folder()), Strings{"ana.png"});
  EXPECT_TRUE(contains(r.err, "written 1, refused " + std::to_string(cases.size()) + ", failed 0")) << r.err;
}

class EmptyList : public CliTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(EmptyList, WritesNothingAndSucceeds) {
  const RunResult r = run({"--names", putFile("names.txt", GetParam()).string()});
  EXPECT_EQ(r.exitCode, kExitOk) << r.err;
  EXPECT_TRUE(contains(r.err, "written 0, refused 0, failed 0")) << r.err;
  EXPECT_TRUE(entriesOf(folder()).empty());
}

std::string emptyListLabel(const ::testing::TestParamInfo<std::string>& info) {
  const char* const labels[] = {"no_bytes", "line_ends", "mark_and_crlf"};
  return labels[info.index];
}

INSTANTIATE_TEST_SUITE_P(Contents, EmptyList, ::testing::Values("", "\n\n", "\xEF\xBB\xBF\r\n\r\n"), emptyListLabel);

struct UnreadableCase {
  const char* label;
  const char* list;  // relative to the run's folder
  const char* reason;
};

class UnreadableList : public CliTest, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableList, NamesThePathAndTheReason) {
  fs::create_directory(folder() / "folder");
  writeBytes(folder() / "plain", "ana\n");
  const RunResult r = run({"--names", GetParam().list, "--out-dir", "cards"});
  EXPECT_EQ(r.exitCode, kExitUnreadable);
  EXPECT_TRUE(contains(r.err, GetParam().list)) << r.err;
  EXPECT_TRUE(contains(r.err, GetParam().reason)) << r.err;
  EXPECT_EQ(entriesOf(folder()), (Strings{"folder", "plain"})) << "nothing may be written";
}

INSTANTIATE_TEST_SUITE_P(Lists, UnreadableList,
                         ::testing::Values(UnreadableCase{"folder", "folder", "Is a directory"},
                                           UnreadableCase{"missing", "missing.txt", "No such file or directory"},
                                           UnreadableCase{"through_a_file", "plain/names.txt", "Not a directory"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CliTest, OneLineListOfFiftyMegabytesIsRefusedByLengthInLittleMemory) {
  constexpr std::size_t kLetters = 50u * 1024u * 1024u;
  const fs::path huge = putFile("huge.txt", std::string(kLetters, 'a'));
  const RunResult big = run({"--names", huge.string(), "--out-dir", "cards"});
  EXPECT_EQ(big.exitCode, kExitSomeFailed);
  EXPECT_TRUE(contains(big.err, "line 1 refused: the name has " + std::to_string(kLetters) + " characters")) << big.err;
  EXPECT_TRUE(contains(big.err, "written 0, refused 1, failed 0")) << big.err;
  EXPECT_TRUE(entriesOf(folder() / "cards").empty());

  // The same refusal for a short line: the long line may cost only a small,
  // bounded amount of memory more, far less than the line itself.
  const RunResult small = run({"--names", putFile("small.txt", std::string(101, 'a')).string()});
  EXPECT_EQ(small.exitCode, kExitSomeFailed);
  constexpr long kAllowanceKiB = 16 * 1024;
  EXPECT_LT(big.peakMemoryKiB - small.peakMemoryKiB, kAllowanceKiB)
      << "peak " << big.peakMemoryKiB << " KiB against " << small.peakMemoryKiB << " KiB";
}

TEST_F(CliTest, OneAndTwoJobsGiveIdenticalFiles) {
  const fs::path list = putFile("names.txt", "ana\nbob\ncarla maria\n");
  ASSERT_EQ(run({"--names", list.string(), "-j", "1", "--out-dir", "one"}).exitCode, kExitOk);
  ASSERT_EQ(run({"--names", list.string(), "-j2", "--out-dir", "two"}).exitCode, kExitOk);
  const Strings files = entriesOf(folder() / "one");
  ASSERT_EQ(files, (Strings{"ana.png", "bob.png", "carla_maria.png"}));
  EXPECT_EQ(entriesOf(folder() / "two"), files);
  for (const auto& file : files) {
    EXPECT_EQ(readBytes(folder() / "one" / file), readBytes(folder() / "two" / file)) << file;
  }
}

TEST_F(CliTest, BmpCardsGoToANewNestedFolder) {
  const RunResult r =
      run({"--names", putFile("names.txt", "ana\n").string(), "--format", "bmp", "--out-dir", "a/b/cards"});
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  ASSERT_EQ(entriesOf(folder() / "a/b/cards"), Strings{"ana.bmp"});
  const fs::path card = folder() / "a/b/cards/ana.bmp";
  EXPECT_TRUE(readBytes(card).starts_with(kBmpSignature));
  const QImage image = loadImage(card);
  EXPECT_EQ(image.width(), kCardWidth);
  EXPECT_EQ(image.height(), kCardHeight);
}

TEST_F(CliTest, OutputFolderThroughARegularFileIsReported) {
  writeBytes(folder() / "plain", "not a folder");
  const RunResult r = run({"--names", putFile("names.txt", "ana\n").string(), "--out-dir", "plain/cards"});
  EXPECT_EQ(r.exitCode, kExitSomeFailed);
  EXPECT_TRUE(contains(r.err, "plain/cards")) << r.err;
  EXPECT_TRUE(contains(r.err, "Not a directory")) << r.err;
  EXPECT_EQ(entriesOf(folder()), Strings{"plain"});
}

TEST_F(CliTest, CardThatCannotBeWrittenCountsAsFailed) {
  // A folder stands where bob's card should go.
  fs::create_directories(folder() / "cards" / "bob.png");
  const RunResult r = run({"--names", putFile("names.txt", "ana\nbob\n").string(), "--out-dir", "cards"});
  EXPECT_EQ(r.exitCode, kExitSomeFailed);
  EXPECT_TRUE(contains(r.err, "line 2: cannot write cards/bob.png")) << r.err;
  EXPECT_TRUE(contains(r.err, "written 1, refused 0, failed 1")) << r.err;
  EXPECT_EQ(entriesOf(folder() / "cards"), (Strings{"ana.png", "bob.png"}));
  EXPECT_TRUE(fs::is_directory(folder() / "cards" / "bob.png"));
}

// --- a stop by signal ---

class StopSignal : public CliTest, public ::testing::WithParamInterface<int> {};

TEST_P(StopSignal, KeepsFinishedCardsWhole) {
  constexpr int kNames = 40;
  std::string text;
  for (int k = 0; k < kNames; ++k) {
    text += "name ";
    text += static_cast<char>('a' + k % 26);
    text += static_cast<char>('a' + k / 26);
    text += "\n";
  }
  const fs::path cards = folder() / "cards";
  auto child = start({"--names", putFile("names.txt", text).string(), "--out-dir", "cards", "-j", "2"});

  // Stop once the first card is in place.
  constexpr auto kPatience = std::chrono::minutes(3);
  constexpr auto kPoll = std::chrono::milliseconds(20);
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  const auto firstCardWritten = [&cards] {
    std::error_code ignored;
    for (const auto& e : fs::directory_iterator(cards, ignored)) {
      if (e.path().extension() == ".png") return true;
    }
    return false;
  };
  while (!firstCardWritten() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(kPoll);
  ASSERT_TRUE(firstCardWritten()) << "no card appeared";
  child->sendSignal(GetParam());
  const RunResult r = child->wait();

  EXPECT_EQ(r.exitCode, kExitInterrupted) << r.err;
  const Strings files = entriesOf(cards);
  EXPECT_TRUE(contains(r.err, "written " + std::to_string(files.size()) + ", refused 0, failed 0, interrupted"))
      << r.err;
  EXPECT_LT(files.size(), static_cast<std::size_t>(kNames));
  for (const auto& file : files) {
    EXPECT_EQ(fs::path(file).extension(), ".png") << "left behind: " << file;
    const QImage image = loadImage(cards / file);
    EXPECT_EQ(image.width(), kCardWidth) << file;
    EXPECT_EQ(image.height(), kCardHeight) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return info.param == SIGINT ? "sigint" : "sigterm"; });

}  // namespace
}  // namespace greetcard::cli_test
