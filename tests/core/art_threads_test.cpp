// A card is the same at any thread count: the chain run in pieces (each
// starting from unknown carried fields after a warm-up, falling back further
// when the warm-up is not enough) gives the strokes of the plain sequential
// chain, and the row bands drawn by several threads give the same pixels.
#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "synth/art.h"

namespace greetcard {
namespace {

bool sameStroke(const Stroke& a, const Stroke& b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}
bool sameStrokes(const PixelStrokes& a, const PixelStrokes& b) {
  return a.colour == b.colour && sameStroke(a.first, b.first) && sameStroke(a.second, b.second);
}

// The chain run once through the whole scan, pixel after pixel.
std::vector<PixelStrokes> sequentialChain(const Recipe& recipe) {
  std::vector<PixelStrokes> out;
  out.reserve(kScanPositions);
  PixelFields f = startFields(recipe.palette);
  for (int j = 0; j < kScanRows; ++j) {
    for (int i = 0; i < kScanColumns; ++i) out.push_back(runPixel(f, recipe.params, recipe.palette, i, j));
  }
  return out;
}

// Index of the first position where the two differ, or -1.
long firstDifferentPosition(const std::vector<PixelStrokes>& a, const std::vector<PixelStrokes>& b,
                            std::size_t begin, std::size_t end) {
  for (std::size_t n = begin; n < end; ++n) {
    if (!sameStrokes(a[n], b[n])) return static_cast<long>(n);
  }
  return -1;
}

// Names whose recipes cover shape formulas 1, 6, 7, 11, 14 and 15, every
// channel set and blend formulas 1, 3 and 4.
struct Card {
  const char* name;
  int tip1, tip2, tip3;
};
void PrintTo(const Card& c, std::ostream* os) { *os << c.name; }

constexpr Card kCards[] = {
    {"ava", 1, 3, 4},  {"ula", 6, 3, 1},  {"maja", 7, 2, 1},
    {"ana", 11, 3, 3}, {"petra", 14, 1, 4}, {"alja", 15, 2, 3},
};

class CardThreads : public ::testing::TestWithParam<Card> {};

TEST_P(CardThreads, RecipeHasTheFormulasThisCaseCovers) {
  const Recipe recipe = makeRecipe(GetParam().name);
  EXPECT_EQ(recipe.params.tip1, GetParam().tip1);
  EXPECT_EQ(recipe.params.tip2, GetParam().tip2);
  EXPECT_EQ(recipe.params.tip3, GetParam().tip3);
}

TEST_P(CardThreads, EveryThreadCountPaintsTheSamePixels) {
  const Recipe recipe = makeRecipe(GetParam().name);
  const Canvas one = renderArt(recipe, 1);
  // The one-thread card is not blank: the comparison below has something to compare.
  int painted = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) painted += one.pixel(x, y) != kBlack;
  EXPECT_GT(painted, kWidth * kHeight / 2);
  for (unsigned threads : {2u, 3u, 7u}) {
    EXPECT_TRUE(renderArt(recipe, threads) == one) << GetParam().name << " on " << threads << " threads";
  }
}

TEST_P(CardThreads, ChainInPiecesGivesTheSequentialStrokes) {
  const Recipe recipe = makeRecipe(GetParam().name);
  const std::vector<PixelStrokes> expected = sequentialChain(recipe);
  for (unsigned threads : {1u, 2u, 7u}) {
    const std::vector<PixelStrokes> got = scanStrokes(recipe, threads);
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(firstDifferentPosition(got, expected, 0, kScanPositions), -1)
        << GetParam().name << " on " << threads << " threads";
  }
}

INSTANTIATE_TEST_SUITE_P(Names, CardThreads, ::testing::ValuesIn(kCards),
                         [](const auto& info) { return std::string(info.param.name); });

class ScanPieceStart : public ::testing::Test {
 protected:
  // One piece of `length` positions from `begin`, checked against the
  // sequential chain; returns where the piece started.
  std::size_t checkedPiece(const Recipe& recipe, const std::vector<PixelStrokes>& expected, std::size_t begin,
                           std::size_t length, std::size_t warmUp) {
    std::vector<PixelStrokes> got(kScanPositions);
    const std::size_t end = std::min(begin + length, kScanPositions);
    const std::size_t start = scanPiece(recipe, begin, end, warmUp, got.data());
    EXPECT_EQ(firstDifferentPosition(got, expected, begin, end), -1)
        << recipe.name << " piece from " << begin << " with warm-up " << warmUp;
    return start;
  }
};

TEST_F(ScanPieceStart, WarmUpIsEnoughWhereEveryCarriedFieldIsAssigned) {
  const Recipe recipe = makeRecipe("ana");
  const std::vector<PixelStrokes> expected = sequentialChain(recipe);
  const std::size_t begin = 200 * kScanColumns + 17;
  EXPECT_EQ(checkedPiece(recipe, expected, begin, 3 * kScanColumns, 5), begin - 5);
}

TEST_F(ScanPieceStart, NoWarmUpFallsBackAndStaysExact) {
  const Recipe recipe = makeRecipe("ana");
  const std::vector<PixelStrokes> expected = sequentialChain(recipe);
  std::mt19937 rng(7u);
  std::uniform_int_distribution<std::size_t> position(1, kScanPositions - 1);
  for (int n = 0; n < 20; ++n) {
    const std::size_t begin = position(rng);
    EXPECT_LT(checkedPiece(recipe, expected, begin, kScanColumns, 0), begin);
  }
}

TEST_F(ScanPieceStart, ShapeValueCarriedAcrossTheMiddleColumnForcesAFallback) {
  // Formula 15 divides by |x|, which is 0 in the middle column (350): the
  // shape value there is the one of column 349. A piece starting at column
  // 351 after a warm-up of one position cannot know it, so it must start
  // further back.
  const Recipe recipe = makeRecipe("alja");
  ASSERT_EQ(recipe.params.tip1, 15);
  const std::vector<PixelStrokes> expected = sequentialChain(recipe);
  constexpr std::size_t kMiddleColumn = kWidth / 2;
  for (int row : {1, 262, 525}) {
    const std::size_t begin = static_cast<std::size_t>(row) * kScanColumns + kMiddleColumn + 1;
    EXPECT_LT(checkedPiece(recipe, expected, begin, kScanColumns, 1), begin - 1) << "row " << row;
    // Starting at the middle column itself, its strokes depend on the
    // carried value: a piece that skipped the fallback would draw others.
    EXPECT_LT(checkedPiece(recipe, expected, begin - 1, kScanColumns, 0), begin - 1) << "row " << row;
  }
}

TEST_F(ScanPieceStart, PiecesAtTheEndsOfTheScan) {
  const Recipe recipe = makeRecipe("alja");
  const std::vector<PixelStrokes> expected = sequentialChain(recipe);
  EXPECT_EQ(checkedPiece(recipe, expected, 0, kScanColumns, 1000), 0u);
  checkedPiece(recipe, expected, kScanPositions - 1, 1, 3);
  checkedPiece(recipe, expected, kScanPositions - kScanColumns, kScanColumns, 0);
}

// The chain computes the sine and the cosine of one argument together (the
// compiler joins them into one sincos call); on this platform that must give
// exactly the values of the separate functions.
TEST(SineAndCosineTogether, SameBitsAsSeparateCalls) {
  // Called through volatile pointers, so the compiler cannot join them itself.
  double (*volatile sine)(double) = ::sin;
  double (*volatile cosine)(double) = ::cos;
  void (*volatile both)(double, double*, double*) = ::sincos;
  std::mt19937_64 rng(11u);
  // The ranges the chain meets (distances, orbit angles up to about 18,
  // stroke angles up to 5.04) and a wide one.
  std::uniform_real_distribution<double> near(-20.0, 20.0), wide(-1e6, 1e6);
  for (int n = 0; n < 200000; ++n) {
    const double v = (n % 4 == 3) ? wide(rng) : near(rng);
    double s = 0, c = 0;
    both(v, &s, &c);
    ASSERT_EQ(s, sine(v)) << "sin of " << v;
    ASSERT_EQ(c, cosine(v)) << "cos of " << v;
  }
}

}  // namespace
}  // namespace greetcard
