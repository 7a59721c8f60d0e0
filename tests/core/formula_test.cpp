// Worked cases of the shape, channel, blend and stroke stages, and the values
// a failing statement carries on from the pixel before.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

#include "synth/art.h"
#include "synth/pixel.h"

namespace greetcard {
namespace {

constexpr double kPi = std::numbers::pi;

// ---- shape formulas -------------------------------------------------------

struct ShapeCase {
  const char* label;
  float tip1;
  double r, fi, x, y, fit;
  double expected;
  double tolerance;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.label; }

class ShapeFormulas : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeFormulas, GiveWorkedValue) {
  const ShapeCase& c = GetParam();
  Params p;
  p.tip1 = c.tip1;
  PixelFields f;
  f.r = c.r, f.fi = c.fi, f.x = c.x, f.y = c.y, f.fit = c.fit;
  f.ba = 12345;  // a failing formula would leave this behind
  shapeval(f, p);
  EXPECT_NEAR(f.ba, c.expected, c.tolerance) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Worked, ShapeFormulas,
    ::testing::Values(
        ShapeCase{"1: r*r", 1, 3, 0, 0, 0, 0, 9, 0},
        ShapeCase{"0 falls back to 1", 0, 3, 0, 0, 0, 0, 9, 0},
        ShapeCase{"16 falls back to 1", 16, 3, 0, 0, 0, 0, 9, 0},
        ShapeCase{"2: r*fi", 2, 3, -0.5, 0, 0, 0, -1.5, 0},
        ShapeCase{"6 at r=1 is 2+sin(fit)", 6, 1, 0, 0, 0, 0.7, 2 + std::sin(0.7), 1e-15},
        ShapeCase{"6 at r=1, fit=0", 6, 1, 0, 0, 0, 0, 2, 0},
        ShapeCase{"7 never negative", 7, 2, -kPi / 4, 0, 0, 0, kPi / 2, 1e-15},
        ShapeCase{"11", 11, 3, 0.5, 1, -2, 0, 4, 0},
        ShapeCase{"13", 13, 2, 0.5, 0, 0, 0, 4, 0},
        ShapeCase{"14", 14, 4, 0.5, 0, 0, 0, 16, 0},
        ShapeCase{"15", 15, 2, 0, -1, 0, 0, std::pow(2.0, 2 + std::sin(2.0)), 0}));

TEST(ShapeFormulas, FifteenIsAboutSevenAndAHalfInItsWorkedCase) {
  Params p;
  p.tip1 = 15;
  PixelFields f;
  f.r = 2, f.x = -1, f.fi = 0;
  shapeval(f, p);
  EXPECT_NEAR(f.ba, 7.51, 0.005);
}

struct FailingShape {
  const char* label;
  float tip1;
  double r, fi, x;
};

void PrintTo(const FailingShape& c, std::ostream* os) { *os << c.label; }

class FailingShapes : public ::testing::TestWithParam<FailingShape> {};

TEST_P(FailingShapes, KeepThePreviousShapeValue) {
  const FailingShape& c = GetParam();
  Params p;
  p.tip1 = c.tip1;
  PixelFields f;
  f.r = c.r, f.fi = c.fi, f.x = c.x;
  f.ba = -7.25;
  shapeval(f, p);
  EXPECT_EQ(f.ba, -7.25) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Carried, FailingShapes,
                         ::testing::Values(FailingShape{"15 at x = 0", 15, 2, 0.3, 0.0},
                                           FailingShape{"13 at fi = 0", 13, 2, 0.0, 1.0},
                                           FailingShape{"11 at fi = 0", 11, 2, 0.0, 1.0},
                                           FailingShape{"14 at fi = 0", 14, 2, 0.0, 1.0},
                                           FailingShape{"11 overflowing", 11, 2, 1e-320, 1.0}));

// ---- channels ---------------------------------------------------------------

struct ChannelCase {
  const char* label;
  float tip2;
  double ba, r, fit;
  float fak1, fak2, fak3;
  double re, gr, bl;
};

void PrintTo(const ChannelCase& c, std::ostream* os) { *os << c.label; }

class ChannelSets : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(ChannelSets, GiveWorkedValues) {
  const ChannelCase& c = GetParam();
  Params p;
  p.tip2 = c.tip2, p.fak1 = c.fak1, p.fak2 = c.fak2, p.fak3 = c.fak3;
  PixelFields f;
  f.ba = c.ba, f.r = c.r, f.fit = c.fit;
  channels(f, p);
  EXPECT_DOUBLE_EQ(f.re, c.re) << c.label;
  EXPECT_DOUBLE_EQ(f.gr, c.gr) << c.label;
  EXPECT_DOUBLE_EQ(f.bl, c.bl) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Worked, ChannelSets,
    ::testing::Values(
        ChannelCase{"set 1", 1, -2, 0, 0, 10, 15, 19.5f, 20, 30, 39},
        ChannelCase{"0 falls back to set 1", 0, -2, 0, 0, 10, 15, 19.5f, 20, 30, 39},
        ChannelCase{"4 falls back to set 1", 4, -2, 0, 0, 10, 15, 19.5f, 20, 30, 39},
        ChannelCase{"set 2 ignores the factors", 2, 1, kPi / 2, 0, 99, 99, 99, 11, 10, 10},
        ChannelCase{"set 3", 3, -1, kPi, 0.25, 12, 15, 17, 12, 14, 17 + std::sin(0.25)},
        ChannelCase{"zero shape value", 3, 0, 1, 1, 12, 15, 17, 0, 0, 0}));

TEST(ChannelSets, OverflowKeepsThatChannelAndStillTakesAbsoluteValues) {
  Params p;
  p.tip2 = 1, p.fak1 = 20, p.fak2 = 20, p.fak3 = 20;
  PixelFields f;
  f.re = -3, f.gr = -4, f.bl = -5;
  f.ba = 1e308;  // times 20 is beyond the double range
  channels(f, p);
  EXPECT_EQ(f.re, 3);
  EXPECT_EQ(f.gr, 4);
  EXPECT_EQ(f.bl, 5);
}

// ---- blend ------------------------------------------------------------------

struct BlendCase {
  const char* label;
  float tip3;
  double re, gr, bl, r, fit;
  double expected;
  double tolerance;
};

void PrintTo(const BlendCase& c, std::ostream* os) { *os << c.label; }

class BlendFormulas : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendFormulas, GiveWorkedValue) {
  const BlendCase& c = GetParam();
  Params p;
  p.tip3 = c.tip3;
  PixelFields f;
  f.re = c.re, f.gr = c.gr, f.bl = c.bl, f.r = c.r, f.fit = c.fit;
  f.barva = 4242;
  mixcolor(f, p);
  EXPECT_NEAR(f.barva, c.expected, c.tolerance) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Worked, BlendFormulas,
    ::testing::Values(BlendCase{"1", 1, 1, 2, 3, 1, 0, 6, 0}, BlendCase{"0 falls back to 1", 0, 1, 2, 3, 1, 0, 6, 0},
                      BlendCase{"5 falls back to 1", 5, 1, 2, 3, 1, 0, 6, 0},
                      BlendCase{"2", 2, 1, 2, 3, kPi / 2, 0, 9, 0}, BlendCase{"3", 3, 8, 6, 0, 4, 0, 5, 0},
                      BlendCase{"3 keeps barva where r is 0", 3, 8, 6, 0, 0, 0, 4242, 0},
                      BlendCase{"4 can be negative", 4, 1, 1, 2, kPi, 0, -2, 1e-12}));

// ---- strokes ----------------------------------------------------------------

// A palette whose row k holds red = k mod 256 and green = k div 256, so the
// colour of a stroke drawn with r = 0 and fit = 0 tells which row was picked.
Palette numberedPalette() {
  Palette pal;
  for (int k = 0; k < kPaletteWrittenRows; ++k) pal.rows[k] = {double(k % 256), double(k / 256), 0};
  return pal;
}

int pickedRow(std::uint32_t colour) {
  const int red = (colour >> 16) & 0xFF, green = (colour >> 8) & 0xFF;
  return green * 256 + red;
}

struct RowCase {
  double barva;
  int offset;  // expected row minus pozic0
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << "barva " << c.barva; }

class PaletteRowChoice : public ::testing::TestWithParam<RowCase> {};

TEST_P(PaletteRowChoice, FollowsTheLimitedBlendValue) {
  const RowCase& c = GetParam();
  const Palette pal = numberedPalette();
  Params p;
  p.pozic0 = 304;
  PixelFields f;
  f.barva = c.barva;  // r = 0 and fit = 0 leave red and green unscaled
  const PixelStrokes s = plotstroke(f, p, pal, 0, 0);
  EXPECT_EQ(pickedRow(s.colour), 304 + c.offset) << "barva " << c.barva;
}

INSTANTIATE_TEST_SUITE_P(Limits, PaletteRowChoice,
                         ::testing::Values(RowCase{0.4, 1}, RowCase{0, 1}, RowCase{-50, 1}, RowCase{1000, 115},
                                           RowCase{675, 115}, RowCase{280, 0}, RowCase{560, 0},
                                           RowCase{279, 279}, RowCase{559, 279}, RowCase{279.5, 0},
                                           RowCase{278.5, 278}));

TEST(PlotStroke, ClampStoresTheLimit) {
  const Palette pal = numberedPalette();
  Params p;
  PixelFields f;
  f.barva = -3;
  plotstroke(f, p, pal, 0, 0);
  EXPECT_EQ(f.barva, 1);
  f.barva = 900;
  plotstroke(f, p, pal, 0, 0);
  EXPECT_EQ(f.barva, 675);
}

TEST(PlotStroke, WorkedExampleAtPixel300By200) {
  Palette pal;
  pal.rows[6] = {126, 252, 0};
  Params p;
  p.pozic0 = 5;
  PixelFields f;
  f.barva = 1;  // row pozic0 + 1
  f.r = 0.5;
  f.fit = 2.0;
  const PixelStrokes s = plotstroke(f, p, pal, 300, 200);
  EXPECT_EQ(s.colour, composeColour(186, 255, 0));
  EXPECT_EQ(s.colour & 0xFFFFFFu, 0xBAFF00u);  // red 186, green saturated, no blue
  // (395.7301, 171.0906) -> (399.5099, 190.1121) and its mirror image.
  EXPECT_EQ((s.first.x0), 396);
  EXPECT_EQ((s.first.y0), 171);
  EXPECT_EQ((s.first.x1), 400);
  EXPECT_EQ((s.first.y1), 190);
  EXPECT_EQ((s.second.x0), 204);
  EXPECT_EQ((s.second.y0), 229);
  EXPECT_EQ((s.second.x1), 200);
  EXPECT_EQ((s.second.y1), 210);
}

TEST(PlotStroke, ZeroRedPutsTheFirstEndStraightBelow) {
  Palette pal;
  pal.rows[6] = {200, 0, 0};
  Params p;
  p.pozic0 = 5;
  PixelFields f;
  f.barva = 1;
  f.r = -kPi / 2;  // 1 + sin r = 0: no red
  const PixelStrokes s = plotstroke(f, p, pal, 300, 200);
  EXPECT_EQ(s.first.x0, 300);
  EXPECT_EQ(s.first.y0, 300);
}

TEST(StrokeCoordinate, RoundsThroughSinglePrecisionThenHalfToEven) {
  EXPECT_EQ(strokeCoordinate(2.5), 2);
  EXPECT_EQ(strokeCoordinate(3.5), 4);
  EXPECT_EQ(strokeCoordinate(-2.5), -2);
  // Just below a half in double, exactly a half once passed as a single.
  EXPECT_EQ(strokeCoordinate(100.49999999999), 100);
  EXPECT_EQ(strokeCoordinate(101.49999999999), 102);
}

// ---- orbit and carried values ---------------------------------------------

TEST(PolarPos, KeepsFiWhereThePointIsStraightAboveTheCentre) {
  Params p;
  p.r0 = 0;  // centre at the origin
  p.korakfi1 = kOrbitStep;
  PixelFields f;
  f.fi = 0.625;
  f.x = 0;
  f.y = 2;
  polarpos(f, p);
  EXPECT_EQ(f.fi, 0.625);
  EXPECT_EQ(f.r, 2);
  EXPECT_EQ(f.fi1, kOrbitStep);
}

TEST(PolarPos, FirstPixelSeesOneStep) {
  const Recipe recipe = makeRecipe("ana");
  PixelFields f = startFields(recipe.palette);
  placePixel(f, 0, 0);
  polarpos(f, recipe.params);
  EXPECT_EQ(f.fit, recipe.params.fi0 + kOrbitStep);
}

TEST(Scan, PlaneMappingOfEdgesAndMiddle) {
  PixelFields f;
  placePixel(f, 0, 0);
  EXPECT_EQ(f.x, -6);
  EXPECT_EQ(f.y, 4.5);
  placePixel(f, 350, 525);
  EXPECT_EQ(f.x, 0);
  EXPECT_EQ(f.y, -4.5);
  placePixel(f, 700, 0);
  EXPECT_EQ(f.x, 6);
}

TEST(Scan, ShapeFifteenInTheMiddleColumnKeepsItsLeftNeighboursValue) {
  Recipe recipe = makeRecipe("ana");
  recipe.params.tip1 = 15;
  PixelFields f = startFields(recipe.palette);
  constexpr int kRow = 100, kMiddle = 350;
  for (int j = 0; j < kRow; ++j)
    for (int i = 0; i < kScanColumns; ++i) runPixel(f, recipe.params, recipe.palette, i, j);
  double left = 0;
  for (int i = 0; i <= kMiddle; ++i) {
    if (i == kMiddle) left = f.ba;
    runPixel(f, recipe.params, recipe.palette, i, kRow);
  }
  EXPECT_EQ(f.x, 0);
  EXPECT_EQ(f.ba, left);
  runPixel(f, recipe.params, recipe.palette, kMiddle + 1, kRow);
  EXPECT_NE(f.ba, left);
}

TEST(Scan, FirstPixelAssignsEveryCarriedField) {
  // A picture's first pixel never fails, so whatever an earlier picture left in
  // the carried fields cannot change a card.
  for (const char* name : {"ana", "abc", "", "zzzz zz", "marko polo"}) {
    const Recipe recipe = makeRecipe(name);
    PixelFields fresh = startFields(recipe.palette);
    PixelFields stale = fresh;
    stale.fi = 1.25, stale.ba = -99, stale.barva = 333;
    stale.re = stale.gr = stale.bl = 77;
    const PixelStrokes a = runPixel(fresh, recipe.params, recipe.palette, 0, 0);
    const PixelStrokes b = runPixel(stale, recipe.params, recipe.palette, 0, 0);
    EXPECT_EQ(a.colour, b.colour) << name;
    EXPECT_EQ(fresh.fi, stale.fi) << name;
    EXPECT_EQ(fresh.ba, stale.ba) << name;
    EXPECT_EQ(fresh.barva, stale.barva) << name;
  }
}

}  // namespace
}  // namespace greetcard
