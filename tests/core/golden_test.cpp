// The card of "ana" made by an independent implementation of the same rules:
// its recipe and every pixel of its caption-less art must match.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <sstream>

#include "output/recipe_json.h"
#include "synth/art.h"

namespace greetcard {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(Golden, RecipeOfAnaMatchesTextually) {
  const std::string expected = readFile(std::string(GREETCARD_GOLDEN_DIR) + "/ana-recipe.json");
  ASSERT_FALSE(expected.empty());
  std::string trimmed = expected;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
  EXPECT_EQ(recipeJson(makeRecipe("ana")), trimmed);
}

TEST(Golden, ArtOfAnaMatchesEveryPixel) {
  QImage golden(QString::fromUtf8(GREETCARD_GOLDEN_DIR "/ana-art.png"));
  ASSERT_FALSE(golden.isNull());
  golden = golden.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(golden.width(), kWidth);
  ASSERT_EQ(golden.height(), kHeight);
  for (unsigned threads : {1u, 2u}) {
    const Canvas art = renderArt(makeRecipe("ana"), threads);
    int mismatches = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < kHeight; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(golden.constScanLine(y));
      for (int x = 0; x < kWidth; ++x) {
        if ((row[x] | kBlack) != static_cast<std::uint32_t>(art.pixel(x, y))) {
          if (mismatches++ == 0) firstX = x, firstY = y;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "threads " << threads << ", first at (" << firstX << ", " << firstY << ")";
  }
}

}  // namespace
}  // namespace greetcard
