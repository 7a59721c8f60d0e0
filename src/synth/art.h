// A card's art as a pure function of its name: the recipe (seed, palette,
// parameters) and the scan that paints 701 x 526 pixel positions, each with
// two mirrored strokes, on a black canvas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "synth/palette.h"
#include "synth/params.h"
#include "synth/pixel.h"

namespace greetcard {

// Argument of the generator reset that precedes every seeding.
inline constexpr float kResetArgument = -1.0f;
// Pixel positions a scan visits: columns 0..700 by rows 0..525.
inline constexpr int kScanColumns = kWidth + 1;
inline constexpr int kScanRows = kHeight + 1;

// Everything a card's art is made from.
struct Recipe {
  std::string name;      // `t` — the name as typed (already accepted)
  std::int32_t seed = 0; // `seed` — seed derived from the name
  Palette palette;
  Params params;
};

// Resets and seeds a generator from the name's seed, then draws the palette
// and the parameters (20 values in all).
Recipe makeRecipe(std::string_view acceptedName);

// Fields at the start of a scan: the orbit at its start and the channel values
// left by the palette (its last row); everything else 0.
PixelFields startFields(const Palette& palette);

// The scan of one picture, row by row, so that a caller can show the canvas
// and handle events between rows.
class Scan {
 public:
  explicit Scan(const Recipe& recipe);
  // Runs the chain at every column of row j and draws its strokes.
  void paintRow(Canvas& canvas, int j);
  const PixelFields& fields() const { return fields_; }

 private:
  const Recipe& recipe_;
  PixelFields fields_;
};

// Paints the whole art (no caption) on a fresh canvas. Any thread count gives
// the same pixels.
Canvas renderArt(const Recipe& recipe, unsigned threads = 1);

}  // namespace greetcard
