#include "synth/art.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "seeding/name.h"

namespace greetcard {

Recipe makeRecipe(std::string_view acceptedName) {
  Recipe recipe;
  recipe.name = std::string(acceptedName);
  recipe.seed = seedOf(acceptedName);
  Generator rnd;
  rnd.reset(kResetArgument);
  rnd.randomize(recipe.seed);
  recipe.palette = makepalette(rnd);
  recipe.params = drawParams(rnd);
  return recipe;
}

PixelFields startFields(const Palette& palette) {
  PixelFields f;
  const PaletteRow& last = palette.rows[kPaletteWrittenRows - 1];
  f.re = last.red;
  f.gr = last.green;
  f.bl = last.blue;
  return f;
}

Scan::Scan(const Recipe& recipe) : recipe_(recipe), fields_(startFields(recipe.palette)) {}

void Scan::paintRow(Canvas& canvas, int j) {
  for (int i = 0; i < kScanColumns; ++i) {
    const PixelStrokes s = runPixel(fields_, recipe_.params, recipe_.palette, i, j);
    canvas.line(s.first, s.colour);
    canvas.line(s.second, s.colour);
  }
}

namespace {

// Draws, in scan order, every stroke that reaches rows [rowBegin, rowEnd).
void drawBand(Canvas& canvas, const std::vector<PixelStrokes>& strokes, int rowBegin, int rowEnd) {
  const int reach = static_cast<int>(kStrokeRadius) + 1;
  const int firstRow = std::max(0, rowBegin - reach);
  const int lastRow = std::min(kScanRows, rowEnd + reach);
  for (int j = firstRow; j < lastRow; ++j) {
    const PixelStrokes* row = strokes.data() + static_cast<std::size_t>(j) * kScanColumns;
    for (int i = 0; i < kScanColumns; ++i) {
      canvas.line(row[i].first, row[i].colour, rowBegin, rowEnd);
      canvas.line(row[i].second, row[i].colour, rowBegin, rowEnd);
    }
  }
}

}  // namespace

Canvas renderArt(const Recipe& recipe, unsigned threads) {
  Canvas canvas(kWidth, kHeight);
  threads = std::clamp(threads, 1u, static_cast<unsigned>(kHeight));
  if (threads == 1) {
    Scan scan(recipe);
    for (int j = 0; j < kScanRows; ++j) scan.paintRow(canvas, j);
    return canvas;
  }
  // The chain carries values from pixel to pixel, so it runs in scan order;
  // the strokes are then drawn in row bands, one per thread.
  std::vector<PixelStrokes> strokes(static_cast<std::size_t>(kScanRows) * kScanColumns);
  PixelFields f = startFields(recipe.palette);
  for (int j = 0; j < kScanRows; ++j) {
    for (int i = 0; i < kScanColumns; ++i) {
      strokes[static_cast<std::size_t>(j) * kScanColumns + i] =
          runPixel(f, recipe.params, recipe.palette, i, j);
    }
  }
  std::vector<std::jthread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    const int rowBegin = static_cast<int>(kHeight * t / threads);
    const int rowEnd = static_cast<int>(kHeight * (t + 1) / threads);
    workers.emplace_back([&canvas, &strokes, rowBegin, rowEnd] { drawBand(canvas, strokes, rowBegin, rowEnd); });
  }
  workers.clear();
  return canvas;
}

}  // namespace greetcard
