#include "synth/palette.h"

#include <cmath>

namespace greetcard {
namespace {

constexpr double kBaseScale = 10.0;   // base and spread: floor(10u + 10)
constexpr double kBaseOffset = 10.0;

float drawBase(Generator& rnd) {
  const double u = rnd.next();
  return static_cast<float>(std::floor(kBaseScale * u + kBaseOffset));
}

// Component of row k: floor((sin(ph + k / div) + 1) x 126); k / div is a
// single-precision quotient, the rest is double.
double component(int k, double ph, float div) {
  const float q = static_cast<float>(k) / div;
  return std::floor((std::sin(ph + static_cast<double>(q)) + 1.0) * kWaveHeight);
}

}  // namespace

Palette makepalette(Generator& rnd) {
  Palette p;
  PaletteWaves& w = p.waves;
  w.base = drawBase(rnd);
  w.spread = drawBase(rnd);
  for (float& per : w.per) {
    // Single-precision product and sum, then floor.
    const float u = rnd.next();
    const float spreadTimesU = w.spread * u;
    const float sum = w.base + spreadTimesU;
    per = std::floor(sum);
  }
  for (double& ph : w.ph) ph = kPhaseFactor * static_cast<double>(rnd.next());
  for (int c = 0; c < 3; ++c) {
    const float u = rnd.next();
    const float perTimesU = w.per[c] * u;
    w.div[c] = w.per[c] + perTimesU;
  }
  for (int k = 0; k < kPaletteWrittenRows; ++k) {
    PaletteRow& row = p.rows[k];
    row.red = component(k, w.ph[0], w.div[0]);
    row.green = component(k, w.ph[1], w.div[1]);
    row.blue = component(k, w.ph[2], w.div[2]);
  }
  return p;
}

}  // namespace greetcard
