#include "synth/params.h"

#include <cmath>
#include <cstdio>

namespace greetcard {
namespace {

// floor(scale x u + offset), computed in double, kept as a single.
float wholeDraw(Generator& rnd, double scale, double offset) {
  return static_cast<float>(std::floor(scale * static_cast<double>(rnd.next()) + offset));
}

// scale x u + offset, computed in double, rounded to a single.
float fractionDraw(Generator& rnd, double scale, double offset) {
  return static_cast<float>(scale * static_cast<double>(rnd.next()) + offset);
}

constexpr double kShapeCount = 15, kChannelCount = 3, kBlendCount = 4;
constexpr double kOffsetRange = 300, kOffsetBase = 5;
constexpr double kRadiusRange = 3, kRadiusBase = 1;
constexpr double kFactorRange = 10, kFactorBase = 10;

}  // namespace

Params drawParams(Generator& rnd) {
  Params p;
  p.tip1 = wholeDraw(rnd, kShapeCount, 1);
  p.tip2 = wholeDraw(rnd, kChannelCount, 1);
  p.tip3 = wholeDraw(rnd, kBlendCount, 1);
  p.pozic0 = wholeDraw(rnd, kOffsetRange, kOffsetBase);
  p.fi0 = kStartAngleFactor * static_cast<double>(rnd.next());
  p.r0 = fractionDraw(rnd, kRadiusRange, kRadiusBase);
  p.korakfi1 = kOrbitStep;
  p.fak1 = fractionDraw(rnd, kFactorRange, kFactorBase);
  p.fak2 = fractionDraw(rnd, kFactorRange, kFactorBase);
  p.fak3 = fractionDraw(rnd, kFactorRange, kFactorBase);
  return p;
}

std::string snapshotName(const LocalTime& when) {
  char text[32];
  std::snprintf(text, sizeof text, "T%04d%02d%02d%02d%02d%02d", when.year, when.month, when.day,
                when.hour, when.minute, when.second);
  return text;
}

}  // namespace greetcard
