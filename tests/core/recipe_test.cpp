// Palette and parameter ranges over many names, and the snapshot name.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "seeding/name.h"
#include "synth/art.h"

namespace greetcard {
namespace {

// Random accepted names of every length class, reproducible.
std::vector<std::string> sampleNames(int count) {
  std::mt19937 gen(20101);
  std::uniform_int_distribution<int> len(0, 100), letter(0, 26);
  std::vector<std::string> names;
  for (int n = 0; n < count; ++n) {
    std::string name;
    const int l = len(gen);
    for (int k = 0; k < l; ++k) {
      const int c = letter(gen);
      name += c == 26 ? ' ' : static_cast<char>('a' + c);
    }
    names.push_back(name);
  }
  return names;
}

bool whole(double v) { return v == std::floor(v); }

TEST(PaletteAndParams, StayInTheirRangesForManyNames) {
  for (const std::string& name : sampleNames(3000)) {
    const Recipe r = makeRecipe(name);
    const PaletteWaves& w = r.palette.waves;
    ASSERT_TRUE(w.base >= 10 && w.base <= 19 && whole(w.base)) << name;
    ASSERT_TRUE(w.spread >= 10 && w.spread <= 19 && whole(w.spread)) << name;
    for (int c = 0; c < 3; ++c) {
      ASSERT_TRUE(w.per[c] >= 10 && w.per[c] <= 38 && whole(w.per[c])) << name;
      ASSERT_TRUE(w.ph[c] >= 0 && w.ph[c] < kPhaseFactor) << name;
      ASSERT_TRUE(w.div[c] >= w.per[c] && w.div[c] <= 2 * w.per[c]) << name;
    }
    for (int k = 0; k < kPaletteRows; ++k) {
      const PaletteRow& row = r.palette.rows[k];
      for (double v : {row.red, row.green, row.blue}) {
        if (k < kPaletteWrittenRows) {
          ASSERT_TRUE(v >= 0 && v <= 252 && whole(v)) << name << " row " << k;
        } else {
          ASSERT_EQ(v, 0) << name << " row " << k;
        }
      }
    }
    const Params& p = r.params;
    ASSERT_TRUE(p.tip1 >= 1 && p.tip1 <= 15 && whole(p.tip1)) << name;
    ASSERT_TRUE(p.tip2 >= 1 && p.tip2 <= 3 && whole(p.tip2)) << name;
    ASSERT_TRUE(p.tip3 >= 1 && p.tip3 <= 4 && whole(p.tip3)) << name;
    ASSERT_TRUE(p.pozic0 >= 5 && p.pozic0 <= 304 && whole(p.pozic0)) << name;
    ASSERT_TRUE(p.fi0 >= 0 && p.fi0 < kStartAngleFactor) << name;
    ASSERT_TRUE(p.r0 >= 1 && p.r0 < 4) << name;
    for (float fak : {p.fak1, p.fak2, p.fak3}) ASSERT_TRUE(fak >= 10 && fak <= 20) << name;
    ASSERT_EQ(p.korakfi1, 0.00003);
  }
}

TEST(PaletteAndParams, RowZeroFollowsThePhaseAlone) {
  const Recipe r = makeRecipe("ana");
  const auto atZero = [](double ph) { return std::floor((std::sin(ph) + 1.0) * kWaveHeight); };
  EXPECT_EQ(r.palette.rows[0].red, atZero(r.palette.waves.ph[0]));
  EXPECT_EQ(r.palette.rows[0].green, atZero(r.palette.waves.ph[1]));
  EXPECT_EQ(r.palette.rows[0].blue, atZero(r.palette.waves.ph[2]));
}

TEST(PaletteAndParams, SameNameSameRecipeAnagramsShareIt) {
  const Recipe a = makeRecipe("abc"), b = makeRecipe("abc"), c = makeRecipe("cba");
  for (const Recipe* other : {&b, &c}) {
    EXPECT_EQ(a.seed, other->seed);
    EXPECT_EQ(a.params.fi0, other->params.fi0);
    EXPECT_EQ(a.params.fak3, other->params.fak3);
    EXPECT_EQ(a.palette.rows[300].green, other->palette.rows[300].green);
  }
  EXPECT_NE(makeRecipe("abc ").seed, a.seed);
}

TEST(SnapshotName, IsTAndFourteenDigits) {
  EXPECT_EQ(snapshotName({2010, 1, 3, 17, 5, 9}), "T20100103170509");
  EXPECT_EQ(snapshotName({2026, 12, 31, 0, 0, 0}), "T20261231000000");
}

}  // namespace
}  // namespace greetcard
