// A card's art as a pure function of its name: the recipe (seed, palette,
// parameters) and the scan that paints 701 x 526 pixel positions, each with
// two mirrored strokes, on a black canvas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
// and handle events between rows. The fields it carries from pixel to pixel
// are the caller's (they outlive the scan in the window's state record).
class Scan {
 public:
  // Keeps references to the parameters, the palette and the fields.
  Scan(const Params& params, const Palette& palette, PixelFields& fields);
  // Runs the chain at every column of row j and draws its strokes.
  void paintRow(Canvas& canvas, int j);

 private:
  PixelChain chain_;
  PixelFields& fields_;
};

// Pixel positions of a scan, numbered in scan order (row by row).
inline constexpr std::size_t kScanPositions = static_cast<std::size_t>(kScanRows) * kScanColumns;

// Runs the chain over the whole scan and returns every pixel's colour and
// strokes in scan order. Any thread count gives the same result.
std::vector<PixelStrokes> scanStrokes(const Recipe& recipe, unsigned threads = 1);

// Runs the chain for scan positions [begin, end) into out[begin, end) without
// running the positions before it. The chain carries a field on only where a
// statement fails, so it starts `warmUp` positions earlier from unknown
// fields (the orbit angle travelled is summed exactly as the scan sums it)
// and follows which carried fields have been assigned from known values since.
// When they are not all known by `begin` it starts again twice as far back,
// at worst from the start of the scan. Returns the position it started from.
std::size_t scanPiece(const Recipe& recipe, std::size_t begin, std::size_t end, std::size_t warmUp,
                      PixelStrokes* out);

// Paints the whole art (no caption) on a fresh canvas. Any thread count gives
// the same pixels: with several threads the chain runs in pieces of the scan
// (see scanPiece), then each thread draws, in scan order, every stroke that
// reaches its band of rows.
Canvas renderArt(const Recipe& recipe, unsigned threads = 1);

}  // namespace greetcard
