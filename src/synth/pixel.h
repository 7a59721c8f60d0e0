// The per-pixel chain: orbiting centre and polar terms, shape value, channel
// values, blend value and the two mirrored strokes of one pixel position.
// Every statement that can fail (a zero divisor, a non-finite value) leaves
// its target unchanged, so a field carries the value of the pixel before it.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/numeric.h"
#include "synth/palette.h"
#include "synth/params.h"

namespace greetcard {

// Canvas size in pixels; the scan visits columns 0..kWidth and rows 0..kHeight.
inline constexpr int kWidth = 700;    // `sir`
inline constexpr int kHeight = 525;   // `vis`
// Plane window: 12 x 9 units centred on the origin.
inline constexpr int kPlaneUnitsX = 12;
inline constexpr int kPlaneUnitsY = 9;
inline constexpr double kPolx = kPlaneUnitsX / 2.0;                         // `polx`
inline constexpr double kPoly = kPlaneUnitsY / 2.0;                         // `poly`
inline constexpr double kDx = static_cast<double>(kWidth) / kPlaneUnitsX;   // `dx`
inline constexpr double kDy = static_cast<double>(kHeight) / kPlaneUnitsY;  // `dy`
// Blend values are limited to this range before they pick a palette row.
inline constexpr double kBarvaMin = 1;
inline constexpr double kBarvaMax = 675;
// Cycle of palette rows that the blend value runs through.
inline constexpr std::int32_t kPaletteCycle = 280;
// Radius of the circle that holds the stroke ends, pixels.
inline constexpr double kStrokeRadius = 100;
// Largest value of a colour component.
inline constexpr int kComponentMax = 255;

// The fields of the state record that the chain reads and writes at every
// pixel. Fields whose statements can fail carry their value on.
struct PixelFields {
  double x = 0;      // `x` — plane x of the current pixel, -6..6
  double y = 0;      // `y` — plane y of the current pixel, 4.5..-4.5
  double fi1 = 0;    // `fi1` — orbit angle travelled so far in this picture
  double fit = 0;    // `fit` — current orbit angle, radians
  double r = 0;      // `r` — distance from the pixel to the orbiting centre
  double fi = 0;     // `fi` — arctangent angle term of the pixel
  double ba = 0;     // `ba` — shape value of the pixel
  double re = 0;     // `re` — red channel value
  double gr = 0;     // `gr` — green channel value
  double bl = 0;     // `bl` — blue channel value
  double barva = 0;  // `barva` — blend value that picks the palette row
};

// What `plotstroke` draws at one pixel: the colour (0xFFRRGGBB) and two strokes.
struct PixelStrokes {
  std::uint32_t colour;
  Stroke first, second;
};

// Sines and cosines of the pixel's distance `r` and orbit angle `fit`. Many
// statements of the chain take them; each is computed once per pixel and the
// statements use the stored value, which is the same double the function
// gives every time.
struct PixelTrig {
  double sinR = 0, cosR = 0;
  double sinFit = 0, cosFit = 0;
};

// The sines and cosines of the fields' r and fit.
inline PixelTrig trigOf(const PixelFields& f) {
  return {std::sin(f.r), std::cos(f.r), std::sin(f.fit), std::cos(f.fit)};
}

// Opaque colour value from three components (each limited to 255).
inline std::uint32_t composeColour(int red, int green, int blue) {
  constexpr std::uint32_t kOpaque = 0xFF000000u;
  const auto limit = [](int c) { return static_cast<std::uint32_t>(c > kComponentMax ? kComponentMax : c); };
  return kOpaque | (limit(red) << 16) | (limit(green) << 8) | limit(blue);
}

// `polarpos` — moves the centre one step along its orbit; sets fit, r and fi,
// and leaves the sines and cosines of fit and r in t. Returns whether fi was
// assigned (false: it carries the previous pixel's value).
// It runs in two parts: orbitStep, which reads only the angle travelled, and
// polarTerms, which takes the plane point.
inline void orbitStep(PixelFields& f, const Params& p, PixelTrig& t) {
  f.fi1 = f.fi1 + p.korakfi1;
  f.fit = p.fi0 + f.fi1;
  t.cosFit = std::cos(f.fit);
  t.sinFit = std::sin(f.fit);
}

inline bool polarTerms(PixelFields& f, const Params& p, PixelTrig& t) {
  const double r0 = p.r0;
  const double cenx = r0 * t.cosFit;
  const double ceny = r0 * t.sinFit;
  const double relx = cenx - f.x;
  const double rely = ceny - f.y;
  f.r = std::sqrt(relx * relx + rely * rely);
  t.sinR = std::sin(f.r);
  t.cosR = std::cos(f.r);
  if (relx != 0.0) {
    const double q = rely / relx;
    if (finite(q)) {
      f.fi = std::atan(q);
      return true;
    }
  }
  return false;
}

inline bool polarpos(PixelFields& f, const Params& p, PixelTrig& t) {
  orbitStep(f, p, t);
  return polarTerms(f, p, t);
}

inline void polarpos(PixelFields& f, const Params& p) {
  PixelTrig t;
  polarpos(f, p, t);
}

// Shape value of formula `tip` at the fields' point; false when the formula
// fails there (a zero divisor or a non-finite value).
inline bool shapeFormula(int tip, const PixelFields& f, const PixelTrig& t, double& out) {
  const double r = f.r, fi = f.fi, x = f.x, y = f.y, fit = f.fit;
  const double sinR = t.sinR;
  double v;
  switch (tip) {
    case 2: v = r * fi; break;
    case 3: v = (r * r) * sinR; break;
    case 4: v = x * r; break;
    case 5: v = ((r * sinR) * x) * std::cos(y); break;
    case 6: {
      const double den = std::pow(r, r + sinR);
      if (!usableDivisor(den)) return false;
      v = ((r * r) * (2.0 + std::sin(fit * r))) / den;
      break;
    }
    case 7: v = (r * std::tan(fi)) * fi; break;
    case 8: v = ((r * std::tan(r)) * x) * std::sin(x); break;
    case 9:
      v = ((r * (1.0 + sinR)) + (x * (1.0 + std::sin(x)))) + (y * (1.0 + std::sin(y)));
      break;
    case 10:
      v = (r * (1.0 + sinR)) + (((x * (1.0 + std::sin(x))) * y) * (1.0 + std::sin(y)));
      break;
    case 11:
      if (!usableDivisor(fi)) return false;
      v = ((r + x) + y) / fi;
      break;
    case 12: v = ((r * (1.0 + sinR)) * (1.0 + std::cos(fit + r))) * fi; break;
    case 13:
      if (!usableDivisor(fi)) return false;
      v = r / fi;
      break;
    case 14:
      if (!usableDivisor(fi)) return false;
      v = (std::sqrt(r) / fi) * std::pow(r, 1.0 + std::sin(x));
      break;
    case 15: {
      const double ax = std::abs(x);
      if (!usableDivisor(ax)) return false;
      const double base = r / ax;
      if (!finite(base)) return false;
      v = std::pow(base, (1.0 + sinR) + std::cos(fi));
      break;
    }
    default: v = r * r; break;
  }
  if (!finite(v)) return false;
  out = v;
  return true;
}

// Number of shape formulas, channel formula sets and blend formulas.
inline constexpr int kShapeFormulas = 15;
inline constexpr int kChannelSets = 3;
inline constexpr int kBlendFormulas = 4;

// The formula numbers of a picture, picked once from its parameters.
struct Formulas {
  int shape;       // from `tip1`
  int channelSet;  // from `tip2`
  int blend;       // from `tip3`
};

inline Formulas formulasOf(const Params& p) {
  return {pickFormula(p.tip1, kShapeFormulas), pickFormula(p.tip2, kChannelSets),
          pickFormula(p.tip3, kBlendFormulas)};
}

// `shapeval` — shape value `ba`; a failing formula keeps the previous value.
// Returns whether ba was assigned. The formula number is already picked.
inline bool shapeval(PixelFields& f, int shape, const PixelTrig& t) {
  double v;
  if (!shapeFormula(shape, f, t, v)) return false;
  f.ba = v;
  return true;
}

inline bool shapeval(PixelFields& f, const Params& p, const PixelTrig& t) {
  return shapeval(f, pickFormula(p.tip1, kShapeFormulas), t);
}

inline void shapeval(PixelFields& f, const Params& p) { shapeval(f, p, trigOf(f)); }

// Which channel values `channels` assigned (a bit each); the others carry on.
inline constexpr unsigned kRedAssigned = 1u, kGreenAssigned = 2u, kBlueAssigned = 4u;

// `channels` — red, green and blue channel values from the shape value.
// Returns the channels assigned (kRedAssigned | kGreenAssigned | kBlueAssigned).
// The channel set number `set` is already picked from tip2.
inline unsigned channels(PixelFields& f, const Params& p, int set, const PixelTrig& t) {
  constexpr double kSetTwoBase = 10.0;
  double fr, fg, fb;  // factors of the selected set
  switch (set) {
    case 2:
      fr = kSetTwoBase + t.sinR;
      fg = kSetTwoBase + t.cosR;
      fb = kSetTwoBase + t.sinFit;
      break;
    case 3:
      fr = static_cast<double>(p.fak1) + t.sinR;
      fg = static_cast<double>(p.fak2) + t.cosR;
      fb = static_cast<double>(p.fak3) + t.sinFit;
      break;
    default:
      fr = p.fak1;
      fg = p.fak2;
      fb = p.fak3;
      break;
  }
  const double re = f.ba * fr, gr = f.ba * fg, bl = f.ba * fb;
  unsigned assigned = 0;
  if (finite(re)) {
    f.re = re;
    assigned |= kRedAssigned;
  }
  if (finite(gr)) {
    f.gr = gr;
    assigned |= kGreenAssigned;
  }
  if (finite(bl)) {
    f.bl = bl;
    assigned |= kBlueAssigned;
  }
  f.re = std::abs(f.re);
  f.gr = std::abs(f.gr);
  f.bl = std::abs(f.bl);
  return assigned;
}

inline unsigned channels(PixelFields& f, const Params& p, const PixelTrig& t) {
  return channels(f, p, pickFormula(p.tip2, kChannelSets), t);
}

inline void channels(PixelFields& f, const Params& p) { channels(f, p, trigOf(f)); }

// `mixcolor` — blend value `barva` from the channel values; a failing formula
// keeps the previous value. Returns whether barva was assigned.
// The blend formula number `blend` is already picked from tip3.
inline bool mixcolor(PixelFields& f, int blend, const PixelTrig& t) {
  double v;
  switch (blend) {
    case 2: v = (f.re + f.gr) + (f.bl * (1.0 + t.sinR)); break;
    case 3: {
      const double root = std::sqrt(f.r);
      if (!usableDivisor(f.r) || !usableDivisor(root)) return false;
      v = (f.re / f.r) + (f.gr / root);
      break;
    }
    case 4: v = ((f.re * t.sinFit) + (f.gr * t.sinR)) + (f.bl * t.cosR); break;
    default: v = (f.re + f.gr) + f.bl; break;
  }
  if (!finite(v)) return false;
  f.barva = v;
  return true;
}

inline bool mixcolor(PixelFields& f, const Params& p, const PixelTrig& t) {
  return mixcolor(f, pickFormula(p.tip3, kBlendFormulas), t);
}

inline void mixcolor(PixelFields& f, const Params& p) { mixcolor(f, p, trigOf(f)); }

// Stroke coordinate: the double sum is passed as a single, and the line then
// takes the nearest whole pixel, halves to even.
inline int strokeCoordinate(double v) {
  return static_cast<int>(std::nearbyint(static_cast<float>(v)));
}

// `plotstroke` — limits `barva`, picks the palette row and computes the colour
// and the two mirrored strokes around pixel (i, j). It runs in three parts:
// limitBarva, paletteValues and strokesOf.

// Limits barva to 1..675 (the limited value carries on).
inline void limitBarva(PixelFields& f) {
  if (f.barva < kBarvaMin) f.barva = kBarvaMin;
  if (f.barva > kBarvaMax) f.barva = kBarvaMax;
}

// The palette values of the pixel (from the limited barva), and its colour.
struct PaletteValues {
  double rval, gval;
  std::uint32_t colour;
};

inline PaletteValues paletteValues(const PixelFields& f, const Params& p, const Palette& pal, const PixelTrig& t) {
  const int prow = static_cast<int>(std::floor(static_cast<double>(p.pozic0) +
                                               wholeMod(f.barva, kPaletteCycle)));
  double rval = 0, gval = 0, bval = 0;
  if (prow >= 0 && prow < kPaletteRows) {
    const PaletteRow& row = pal.rows[prow];
    rval = row.red * (1.0 + t.sinR);
    gval = row.green * (1.0 + t.sinFit);
    bval = row.blue * (1.0 + t.cosR);
  }
  const auto component = [](double v) { return static_cast<int>(roundHalfEven(v)); };
  return {rval, gval, composeColour(component(rval), component(gval), component(bval))};
}

// The two strokes around pixel (i, j) from its palette values.
inline PixelStrokes strokesOf(const PaletteValues& v, int i, int j) {
  const double rval = v.rval, gval = v.gval;
  PixelStrokes out;
  out.colour = v.colour;
  const double sx1 = kStrokeRadius * std::sin(rval / kStrokeRadius);
  const double sy1 = kStrokeRadius * std::cos(rval / kStrokeRadius);
  const double sx2 = kStrokeRadius * std::sin(gval / kStrokeRadius);
  const double sy2 = kStrokeRadius * std::cos(gval / kStrokeRadius);
  out.first = {strokeCoordinate(i + sx1), strokeCoordinate(j + sy1), strokeCoordinate(i - sx2),
               strokeCoordinate(j - sy2)};
  out.second = {strokeCoordinate(i - sx1), strokeCoordinate(j - sy1), strokeCoordinate(i + sx2),
                strokeCoordinate(j + sy2)};
  return out;
}

inline PixelStrokes plotstroke(PixelFields& f, const Params& p, const Palette& pal, int i, int j,
                               const PixelTrig& t) {
  limitBarva(f);
  return strokesOf(paletteValues(f, p, pal, t), i, j);
}

inline PixelStrokes plotstroke(PixelFields& f, const Params& p, const Palette& pal, int i, int j) {
  return plotstroke(f, p, pal, i, j, trigOf(f));
}

// Sets the plane point of pixel (i, j): x = i / dx - polx, y = poly - j / dy.
inline void placePixel(PixelFields& f, int i, int j) {
  f.x = i / kDx - kPolx;
  f.y = kPoly - j / kDy;
}

// Runs the whole chain at pixel (i, j).
inline PixelStrokes runPixel(PixelFields& f, const Params& p, const Palette& pal, int i, int j) {
  placePixel(f, i, j);
  PixelTrig t;
  polarpos(f, p, t);
  shapeval(f, p, t);
  channels(f, p, t);
  mixcolor(f, p, t);
  return plotstroke(f, p, pal, i, j, t);
}

// The chain prepared for one picture: the formula numbers are picked once,
// and the plane x of every column and y of every row are computed once by
// placePixel's expressions (the same doubles every time). runRow() gives
// what runPixel gives at each column.
class PixelChain {
 public:
  PixelChain(const Params& p, const Palette& pal) : params_(p), palette_(pal), formulas_(formulasOf(p)) {
    for (int i = 0; i <= kWidth; ++i) columnX_[i] = i / kDx - kPolx;
    for (int j = 0; j <= kHeight; ++j) rowY_[j] = kPoly - j / kDy;
  }

  // Runs the chain at columns [begin, end) of row j, in that order, into
  // out[0, end - begin); gives the same fields and strokes as run() column
  // after column. polarpos reads no field that another statement may carry
  // on (only the plane point and the orbit angle travelled, a plain sum), so
  // it runs first for the whole stretch, on a copy of the fields; the
  // statements that carry fields on then run column after column on its
  // results, up to the limited barva; the palette values and colour, which
  // read only that barva, and then the strokes come last, each for the whole
  // stretch. Independent pixels in one loop let the processor overlap their
  // sines and cosines.
  void runRow(PixelFields& f, int j, int begin, int end, PixelStrokes* out) {
    PixelFields orbit = f;
    orbit.y = rowY_[j];
    for (int i = begin; i < end; ++i) {
      OrbitOf& o = orbits_[i];
      orbitStep(orbit, params_, o.trig);
      o.fi1 = orbit.fi1;
      o.fit = orbit.fit;
    }
    for (int i = begin; i < end; ++i) {
      OrbitOf& o = orbits_[i];
      orbit.x = columnX_[i];
      orbit.fit = o.fit;
      o.fiAssigned = polarTerms(orbit, params_, o.trig);
      o.r = orbit.r;
      o.fi = orbit.fi;
    }
    f.y = rowY_[j];
    for (int i = begin; i < end; ++i) {
      const OrbitOf& o = orbits_[i];
      f.x = columnX_[i];
      f.fi1 = o.fi1;
      f.fit = o.fit;
      f.r = o.r;
      if (o.fiAssigned) f.fi = o.fi;
      shapeval(f, formulas_.shape, o.trig);
      channels(f, params_, formulas_.channelSet, o.trig);
      mixcolor(f, formulas_.blend, o.trig);
      limitBarva(f);
      orbits_[i].barva = f.barva;
    }
    PixelFields limited = f;
    for (int i = begin; i < end; ++i) {
      limited.barva = orbits_[i].barva;
      orbits_[i].values = paletteValues(limited, params_, palette_, orbits_[i].trig);
    }
    for (int i = begin; i < end; ++i) out[i - begin] = strokesOf(orbits_[i].values, i, j);
  }

  const Formulas& formulas() const { return formulas_; }

 private:
  // What polarpos gives at one column, and the column's limited barva.
  struct OrbitOf {
    double fi1, fit, r, fi;
    bool fiAssigned;
    double barva;  // limited, for the colour and strokes
    PaletteValues values;
    PixelTrig trig;
  };

  const Params& params_;
  const Palette& palette_;
  Formulas formulas_;
  std::array<double, kWidth + 1> columnX_;
  std::array<double, kHeight + 1> rowY_;
  std::array<OrbitOf, kWidth + 1> orbits_;
};

}  // namespace greetcard
