#include "synth/art.h"

#include <algorithm>
#include <array>
#include <memory>
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

Scan::Scan(const Params& params, const Palette& palette, PixelFields& fields)
    : chain_(params, palette), fields_(fields) {}

void Scan::paintRow(Canvas& canvas, int j) {
  std::array<PixelStrokes, kScanColumns> row;
  chain_.runRow(fields_, j, 0, kScanColumns, row.data());
  for (const PixelStrokes& s : row) {
    canvas.line(s.first, s.colour);
    canvas.line(s.second, s.colour);
  }
}

namespace {

// Warm-up of a piece of the chain that starts after the scan's start: two
// rows, enough for every carried field to be assigned afresh on any card
// seen so far (a whole column can fail one formula, never a whole row).
constexpr std::size_t kWarmUpPositions = 2 * kScanColumns;
// Rows beyond a band that a stroke can start from and still reach the band.
constexpr int kStrokeReach = static_cast<int>(kStrokeRadius) + 1;

// fi1 after `count` pixels: the same repeated addition the scan performs.
double orbitTravelled(const Params& p, std::size_t count) {
  double fi1 = 0;
  for (std::size_t n = 0; n < count; ++n) fi1 = fi1 + p.korakfi1;
  return fi1;
}

// Which carried fields hold the values the whole scan would have at this
// point. A statement that runs on known inputs makes its target known when
// it assigns it and leaves it as it was when it fails; a statement with an
// unknown input makes its target unknown.
struct KnownFields {
  bool fi = false, ba = false, re = false, gr = false, bl = false, barva = false;
  bool all() const { return fi && ba && re && gr && bl && barva; }
};

inline bool follow(bool inputsKnown, bool targetKnown, bool assigned) {
  return inputsKnown && (targetKnown || assigned);
}

// Runs the chain at scan position n and updates what is known.
void runTracked(PixelFields& f, KnownFields& known, const Recipe& recipe, std::size_t n) {
  const Params& p = recipe.params;
  const int i = static_cast<int>(n % kScanColumns), j = static_cast<int>(n / kScanColumns);
  placePixel(f, i, j);
  PixelTrig t;
  // fi depends on the orbit and the plane point only, both always known.
  known.fi = follow(true, known.fi, polarpos(f, p, t));
  known.ba = follow(known.fi, known.ba, shapeval(f, p, t));
  const unsigned assigned = channels(f, p, t);
  known.re = follow(known.ba, known.re, (assigned & kRedAssigned) != 0);
  known.gr = follow(known.ba, known.gr, (assigned & kGreenAssigned) != 0);
  known.bl = follow(known.ba, known.bl, (assigned & kBlueAssigned) != 0);
  known.barva = follow(known.re && known.gr && known.bl, known.barva, mixcolor(f, p, t));
  // Limits barva, as the scan does; the strokes themselves are not needed.
  plotstroke(f, p, recipe.palette, i, j, t);
}

}  // namespace

std::size_t scanPiece(const Recipe& recipe, std::size_t begin, std::size_t end, std::size_t warmUp,
                      PixelStrokes* out) {
  std::size_t back = warmUp;
  for (;;) {
    const std::size_t start = begin > back ? begin - back : 0;
    PixelFields f = startFields(recipe.palette);
    KnownFields known;
    if (start == 0) {
      known = {true, true, true, true, true, true};
    } else {
      f.fi1 = orbitTravelled(recipe.params, start);
    }
    for (std::size_t n = start; n < begin; ++n) runTracked(f, known, recipe, n);
    if (known.all()) {
      PixelChain chain(recipe.params, recipe.palette);
      // Row by row, the first and last rows possibly in part.
      for (std::size_t n = begin; n < end;) {
        const int i = static_cast<int>(n % kScanColumns), j = static_cast<int>(n / kScanColumns);
        const int stop = static_cast<int>(std::min<std::size_t>(kScanColumns, i + (end - n)));
        chain.runRow(f, j, i, stop, out + n);
        n += static_cast<std::size_t>(stop - i);
      }
      return start;
    }
    back = std::max<std::size_t>(2 * back, 1);
  }
}

namespace {

// Scan positions [begin, end) of piece `index` out of `count`.
std::size_t pieceStart(std::size_t index, std::size_t count) { return kScanPositions * index / count; }

// First row of band `index` out of `count`.
int bandStart(unsigned index, unsigned count) { return static_cast<int>(kHeight * index / count); }

// Draws, in scan order, every stroke that reaches rows [rowBegin, rowEnd).
void drawBand(Canvas& canvas, const PixelStrokes* strokes, int rowBegin, int rowEnd) {
  const int firstRow = std::max(0, rowBegin - kStrokeReach);
  const int lastRow = std::min(kScanRows, rowEnd + kStrokeReach);
  const PixelStrokes* const stop = strokes + static_cast<std::size_t>(lastRow) * kScanColumns;
  for (const PixelStrokes* s = strokes + static_cast<std::size_t>(firstRow) * kScanColumns; s != stop; ++s) {
    canvas.line(s->first, s->colour, rowBegin, rowEnd);
    canvas.line(s->second, s->colour, rowBegin, rowEnd);
  }
}

}  // namespace

namespace {

// Runs the chain over the whole scan into out[0, kScanPositions), in pieces
// on `threads` threads.
void scanInto(const Recipe& recipe, unsigned threads, PixelStrokes* out) {
  threads = std::clamp(threads, 1u, static_cast<unsigned>(kScanRows));
  std::vector<std::jthread> workers;
  for (unsigned t = 1; t < threads; ++t) {
    workers.emplace_back([&recipe, out, t, threads] {
      scanPiece(recipe, pieceStart(t, threads), pieceStart(t + 1, threads), kWarmUpPositions, out);
    });
  }
  scanPiece(recipe, 0, pieceStart(1, threads), kWarmUpPositions, out);
}

}  // namespace

std::vector<PixelStrokes> scanStrokes(const Recipe& recipe, unsigned threads) {
  std::vector<PixelStrokes> strokes(kScanPositions);
  scanInto(recipe, threads, strokes.data());
  return strokes;
}

Canvas renderArt(const Recipe& recipe, unsigned threads) {
  Canvas canvas(kWidth, kHeight);
  threads = std::clamp(threads, 1u, static_cast<unsigned>(kHeight));
  if (threads == 1) {
    // Row by row: the chain fills one row of strokes, which is drawn at once.
    PixelFields f = startFields(recipe.palette);
    Scan scan(recipe.params, recipe.palette, f);
    for (int j = 0; j < kScanRows; ++j) scan.paintRow(canvas, j);
    return canvas;
  }
  // Each thread runs its piece of the chain; once every piece is done, each
  // draws its band of rows.
  // Not cleared first: the chain writes every element.
  const std::unique_ptr<PixelStrokes[]> strokes = std::make_unique_for_overwrite<PixelStrokes[]>(kScanPositions);
  scanInto(recipe, threads, strokes.get());
  {
    std::vector<std::jthread> workers;
    for (unsigned t = 1; t < threads; ++t) {
      workers.emplace_back([&canvas, &strokes, t, threads] {
        drawBand(canvas, strokes.get(), bandStart(t, threads), bandStart(t + 1, threads));
      });
    }
    drawBand(canvas, strokes.get(), bandStart(0, threads), bandStart(1, threads));
  }
  return canvas;
}

}  // namespace greetcard
