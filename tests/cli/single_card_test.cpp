// greetcard-render with one NAME: files and formats, the default file name,
// refused names and wrong usage, the recipe, the known card of "ana", the
// caption, failed writes, and sameness across runs and anagrams.
#include <QJsonDocument>
#include <QJsonObject>

#include "cli_fixture.h"

namespace greetcard::cli_test {
namespace {

using Strings = std::vector<std::string>;

constexpr int kExitOk = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitUsage = 2;
// The caption's text stands on rows 490 and below; the rows above it carry
// the art alone.
constexpr int kFirstCaptionRow = 480;

const fs::path kGolden = GREETCARD_GOLDEN_DIR;

// Number of pixels in which two images of the same size differ, in rows
// [rowBegin, rowEnd).
int differingPixels(const QImage& a, const QImage& b, int rowBegin, int rowEnd) {
  int count = 0;
  for (int y = rowBegin; y < rowEnd; ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) count += rowA[x] != rowB[x] ? 1 : 0;
  }
  return count;
}

void expectCardImage(const fs::path& path, std::string_view signature) {
  const std::string bytes = readBytes(path);
  EXPECT_TRUE(bytes.starts_with(signature)) << path;
  const QImage image = loadImage(path);
  ASSERT_FALSE(image.isNull()) << path;
  EXPECT_EQ(image.width(), kCardWidth);
  EXPECT_EQ(image.height(), kCardHeight);
}

// --- files and formats ---

struct FormatCase {
  const char* file;
  std::string_view signature;
};

class CardFormat : public CliTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CardFormat, ExtensionPicksTheFormat) {
  const RunResult r = run({"ana", "-o", GetParam().file});
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  EXPECT_EQ(entriesOf(folder()), Strings{GetParam().file});
  expectCardImage(folder() / GetParam().file, GetParam().signature);
}

INSTANTIATE_TEST_SUITE_P(Extensions, CardFormat,
                         ::testing::Values(FormatCase{"card.png", kPngSignature},
                                           FormatCase{"CARD.PNG", kPngSignature},
                                           FormatCase{"card.bmp", kBmpSignature},
                                           FormatCase{"card.Bmp", kBmpSignature}),
                         [](const auto& info) {
                           std::string label = info.param.file;
                           std::replace(label.begin(), label.end(), '.', '_');
                           return label;
                         });

struct DefaultNameCase {
  const char* label;
  std::string name;
  std::string file;
};

class DefaultFileName : public CliTest, public ::testing::WithParamInterface<DefaultNameCase> {};

TEST_P(DefaultFileName, IsTheNameWithBlanksAsUnderscores) {
  const RunResult r = run({GetParam().name});
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  EXPECT_EQ(entriesOf(folder()), Strings{GetParam().file});
  expectCardImage(folder() / GetParam().file, kPngSignature);
}

INSTANTIATE_TEST_SUITE_P(Names, DefaultFileName,
                         ::testing::Values(DefaultNameCase{"plain", "ana", "ana.png"},
                                           DefaultNameCase{"blanks", " anna  maria", "_anna__maria.png"},
                                           DefaultNameCase{"empty", "", "card.png"}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- refused names ---

class RefusedName : public CliTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedName, NamesTheFaultAndWritesNothing) {
  const RunResult r = run({GetParam().name});
  EXPECT_EQ(r.exitCode, kExitUsage);
  EXPECT_NE(r.err.find(GetParam().reason), std::string::npos) << r.err;
  EXPECT_TRUE(entriesOf(folder()).empty());
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedName, ::testing::ValuesIn(refusals()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CliTest, AcceptsHundredLettersAndBlanksOnly) {
  const std::string hundred(100, 'z');
  for (const std::string& name : {hundred, std::string("   ")}) {
    const RunResult r = run({name, "--no-caption", "-o", "card.bmp"});
    EXPECT_EQ(r.exitCode, kExitOk) << r.err;
    EXPECT_TRUE(fs::exists(folder() / "card.bmp"));
    fs::remove(folder() / "card.bmp");
  }
}

// --- wrong usage ---

struct UsageCase {
  const char* label;
  Strings args;
  std::string reason;
};

class WrongUsage : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(WrongUsage, ExplainsAndPointsToHelp) {
  const RunResult r = run(GetParam().args);
  EXPECT_EQ(r.exitCode, kExitUsage);
  EXPECT_NE(r.err.find(GetParam().reason), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
  EXPECT_TRUE(entriesOf(folder()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, WrongUsage,
    ::testing::Values(UsageCase{"unknown_option", {"ana", "--colour"}, "unknown option '--colour'"},
                      UsageCase{"missing_value", {"ana", "-o"}, "-o needs a value"},
                      UsageCase{"jobs_zero", {"--names", "list.txt", "-j", "0"}, "'0' for -j"},
                      UsageCase{"jobs_not_a_number", {"--names", "list.txt", "-j", "two"}, "'two' for -j"},
                      UsageCase{"jobs_negative", {"--names", "list.txt", "--jobs=-1"}, "'-1' for --jobs"},
                      UsageCase{"name_and_list", {"ana", "--names", "list.txt"}, "not both"},
                      UsageCase{"neither", {"--no-caption"}, "no NAME"},
                      UsageCase{"two_names", {"ana", "bob"}, "more than one NAME"},
                      UsageCase{"bad_format", {"--names", "list.txt", "--format", "gif"}, "'gif'"},
                      UsageCase{"other_extension", {"ana", "-o", "card.jpg"}, "card.jpg"},
                      UsageCase{"no_extension", {"ana", "-o", "card"}, ".png or .bmp"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CliTest, HelpListsEveryOptionAndVersionIsTheProjects) {
  const RunResult help = run({"--help"});
  EXPECT_EQ(help.exitCode, kExitOk);
  for (const char* option :
       {"-o, --output", "--no-caption", "--recipe", "--names", "--out-dir", "--format", "-j, --jobs", "--help",
        "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const RunResult version = run({"--version"});
  EXPECT_EQ(version.exitCode, kExitOk);
  EXPECT_EQ(version.out, "greetcard-render " GREETCARD_PROJECT_VERSION "\n");
  EXPECT_TRUE(entriesOf(folder()).empty());
}

TEST_F(CliTest, NeedsNoDisplayAndKeepsQuiet) {
  // A desktop platform asked for without a display to connect to would end
  // the program; it must paint offscreen and say nothing.
  const RunResult r = run({"ana", "-o", "card.png"}, std::nullopt,
                          "export QT_QPA_PLATFORM=xcb; unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR");
  EXPECT_EQ(r.exitCode, kExitOk);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(entriesOf(folder()), Strings{"card.png"});
}

// --- the recipe and the known card of "ana" ---

TEST_F(CliTest, RecipeOfAnaEqualsTheKnownRecipe) {
  const QJsonDocument golden = QJsonDocument::fromJson(QByteArray::fromStdString(readBytes(kGolden / "ana-recipe.json")));
  ASSERT_TRUE(golden.isObject());
  ASSERT_EQ(golden.object().value("seed").toInt(), 235506);

  const RunResult alone = run({"--recipe", "ana"});
  ASSERT_EQ(alone.exitCode, kExitOk) << alone.err;
  EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(alone.out)), golden) << alone.out;
  EXPECT_TRUE(entriesOf(folder()).empty()) << "--recipe without -o writes no file";

  const RunResult withFile = run({"--recipe", "ana", "-o", "ana.png"});
  ASSERT_EQ(withFile.exitCode, kExitOk) << withFile.err;
  EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(withFile.out)), golden) << withFile.out;
  EXPECT_EQ(entriesOf(folder()), Strings{"ana.png"});
}

TEST_F(CliTest, ArtOfAnaWithoutCaptionEqualsTheKnownArt) {
  const RunResult r = run({"ana", "--no-caption", "-o", "art.png"});
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  const QImage art = loadImage(folder() / "art.png");
  const QImage golden = loadImage(kGolden / "ana-art.png");
  ASSERT_EQ(art.size(), golden.size());
  EXPECT_EQ(differingPixels(art, golden, 0, kCardHeight), 0);
}

TEST_F(CliTest, CaptionChangesOnlyTheFootOfThePicture) {
  const RunResult r = run({"ana", "-o", "card.png"});
  ASSERT_EQ(r.exitCode, kExitOk) << r.err;
  const QImage card = loadImage(folder() / "card.png");
  const QImage art = loadImage(kGolden / "ana-art.png");
  ASSERT_EQ(card.size(), art.size());
  EXPECT_EQ(differingPixels(card, art, 0, kFirstCaptionRow), 0);
  EXPECT_GT(differingPixels(card, art, kFirstCaptionRow, kCardHeight), 0);
}

// --- failed writes ---

TEST_F(CliTest, FolderThroughARegularFileIsReported) {
  writeBytes(folder() / "plain", "not a folder");
  const RunResult r = run({"ana", "-o", "plain/card.png"});
  EXPECT_EQ(r.exitCode, kExitNotWritten);
  EXPECT_NE(r.err.find("plain/card.png"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Not a directory"), std::string::npos) << r.err;
  EXPECT_EQ(entriesOf(folder()), Strings{"plain"});
}

TEST_F(CliTest, FailedWriteKeepsTheEarlierFile) {
  ASSERT_EQ(run({"ana", "-o", "card.png"}).exitCode, kExitOk);
  const std::string earlier = readBytes(folder() / "card.png");
  ASSERT_GT(earlier.size(), 16u * 1024u) << "the card must be larger than the size limit below";

  // A file size limit of 16 KiB makes the write of a whole card fail.
  const RunResult r = run({"bob", "-o", "card.png"}, std::nullopt, "trap '' XFSZ; ulimit -f 16");
  EXPECT_EQ(r.exitCode, kExitNotWritten);
  EXPECT_NE(r.err.find("card.png"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
  EXPECT_EQ(readBytes(folder() / "card.png"), earlier);
  EXPECT_EQ(entriesOf(folder()), Strings{"card.png"}) << "no temporary file may be left";
}

// --- sameness ---

TEST_F(CliTest, TwoRunsGiveIdenticalFiles) {
  ASSERT_EQ(run({"ana", "-o", "first.png"}).exitCode, kExitOk);
  ASSERT_EQ(run({"ana", "-o", "second.png"}).exitCode, kExitOk);
  EXPECT_EQ(readBytes(folder() / "first.png"), readBytes(folder() / "second.png"));
}

TEST_F(CliTest, AnagramsShareTheArtButNotTheCaption) {
  for (const char* name : {"abc", "cba"}) {
    ASSERT_EQ(run({name, "--no-caption", "-o", std::string(name) + "-art.png"}).exitCode, kExitOk);
    ASSERT_EQ(run({name, "-o", std::string(name) + "-card.png"}).exitCode, kExitOk);
  }
  const QImage artAbc = loadImage(folder() / "abc-art.png");
  const QImage artCba = loadImage(folder() / "cba-art.png");
  ASSERT_FALSE(artAbc.isNull());
  EXPECT_EQ(differingPixels(artAbc, artCba, 0, kCardHeight), 0);
  EXPECT_NE(readBytes(folder() / "abc-card.png"), readBytes(folder() / "cba-card.png"));
}

}  // namespace
}  // namespace greetcard::cli_test
