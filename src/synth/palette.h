// The colour palette: three sine waves over the row number, one per colour
// component, with wavelengths and phases drawn from the seeded generator.
#pragma once

#include <array>

#include "platform/generator.h"

namespace greetcard {

// Rows the palette table has (0..610); only rows 0..601 are ever written.
inline constexpr int kPaletteRows = 611;
// Rows each palette run writes (0..601).
inline constexpr int kPaletteWrittenRows = 602;
// Height of a wave: a component runs from 0 to 2 x 126 = 252.
inline constexpr double kWaveHeight = 126.0;
// Factor of the phases (not 2 pi).
inline constexpr double kPhaseFactor = 6.28;

// The eleven values a palette is drawn from.
struct PaletteWaves {
  float base = 0;                   // `base` — lowest wavelength before spreading, 10..19
  float spread = 0;                 // `spread` — range of the wavelengths, 10..19
  std::array<float, 3> per{};       // `per1`..`per3` — whole-number wavelength base per component
  std::array<double, 3> ph{};       // `ph1`..`ph3` — phase per component, 0 <= ph < 6.28
  std::array<float, 3> div{};       // `div1`..`div3` — divisor of the row number per component
};

// One palette row: the red, green and blue components (whole numbers 0..252).
struct PaletteRow {
  double red = 0;
  double green = 0;
  double blue = 0;
};

// `palette` — table of stroke colours; rows 602..610 stay 0.
struct Palette {
  PaletteWaves waves;
  std::array<PaletteRow, kPaletteRows> rows{};
};

// `makepalette` — takes the next eleven generator values and fills rows 0..601.
Palette makepalette(Generator& rnd);

}  // namespace greetcard
