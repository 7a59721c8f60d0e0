// Per-picture parameters: formula numbers, palette offset, orbit and channel
// factors, drawn from the generator right after the palette.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/generator.h"

namespace greetcard {

// Orbit angle step per pixel, radians.
inline constexpr double kOrbitStep = 0.00003;
// Factor of the orbit's start angle (not 2 pi, nor the palette's 6.28).
inline constexpr double kStartAngleFactor = 6.283;

struct Params {
  float tip1 = 0;      // `tip1` — number of the shape formula, 1..15
  float tip2 = 0;      // `tip2` — number of the channel formula set, 1..3
  float tip3 = 0;      // `tip3` — number of the blend formula, 1..4
  float pozic0 = 0;    // `pozic0` — palette row offset, 5..304
  double fi0 = 0;      // `fi0` — start angle of the orbit, radians
  float r0 = 0;        // `r0` — orbit radius, plane units, 1 <= r0 < 4
  double korakfi1 = 0; // `korakfi1` — orbit angle step per pixel, radians
  float fak1 = 0;      // `fak1` — red channel factor, 10..20
  float fak2 = 0;      // `fak2` — green channel factor, 10..20
  float fak3 = 0;      // `fak3` — blue channel factor, 10..20
};

// Draws the nine picture values, in the order tip1, tip2, tip3, pozic0, fi0,
// r0, fak1, fak2, fak3 (the parameter part of `setparams`).
Params drawParams(Generator& rnd);

// `imeslike` for a moment: "T" followed by yyyymmddhhmmss.
std::string snapshotName(const LocalTime& when);

}  // namespace greetcard
