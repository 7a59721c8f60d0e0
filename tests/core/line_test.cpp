// Canvas::line against a plain reference drawer that paints step k at
// (x0 + q(k dx), y0 + q(k dy)), q(a) = floor((2a + N) / 2N), with a bounds
// test per pixel: the fast line loops must paint exactly those pixels, also
// when clipped to the canvas or to a band of rows.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "platform/canvas.h"

namespace greetcard {
namespace {

constexpr std::uint32_t kInk = 0xFF12A0FFu;

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

void referenceLine(Canvas& canvas, const Stroke& s, std::uint32_t colour, int rowBegin, int rowEnd) {
  const std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const std::int64_t n = std::max(std::abs(dx), std::abs(dy));
  for (std::int64_t k = 0; k < n; ++k) {
    const std::int64_t x = s.x0 + floorDivide(2 * k * dx + n, 2 * n);
    const std::int64_t y = s.y0 + floorDivide(2 * k * dy + n, 2 * n);
    if (y >= rowBegin && y < rowEnd) canvas.setPixel(static_cast<int>(x), static_cast<int>(y), colour);
  }
}

std::string describe(const Stroke& s) {
  std::ostringstream out;
  out << "(" << s.x0 << ", " << s.y0 << ") -> (" << s.x1 << ", " << s.y1 << ")";
  return out.str();
}

// First differing pixel of two canvases of one size, as text; empty when equal.
std::string firstDifference(const Canvas& got, const Canvas& want) {
  if (got == want) return {};
  for (int y = 0; y < want.height(); ++y) {
    for (int x = 0; x < want.width(); ++x) {
      if (got.pixel(x, y) != want.pixel(x, y)) {
        std::ostringstream out;
        out << "pixel (" << x << ", " << y << ") is " << std::hex << got.pixel(x, y) << ", want "
            << want.pixel(x, y);
        return out.str();
      }
    }
  }
  return {};
}

struct LineSizes {
  const char* label;
  int width, height;
  int reach;  // end points are drawn from [-reach, size + reach)
  int lines;
};

void PrintTo(const LineSizes& c, std::ostream* os) { *os << c.label; }

class LineRule : public ::testing::TestWithParam<LineSizes> {};

// Random lines of every direction and length, many of them crossing or
// missing the canvas, drawn whole and into three bands of rows.
TEST_P(LineRule, FastLinesPaintTheReferencePixels) {
  const LineSizes& p = GetParam();
  std::mt19937 rng(20240611u + static_cast<unsigned>(p.width));
  std::uniform_int_distribution<int> xs(-p.reach, p.width + p.reach - 1), ys(-p.reach, p.height + p.reach - 1);
  std::uniform_int_distribution<int> rows(0, p.height);
  for (int n = 0; n < p.lines; ++n) {
    const Stroke s{xs(rng), ys(rng), xs(rng), ys(rng)};
    Canvas want(p.width, p.height), got(p.width, p.height);
    referenceLine(want, s, kInk, 0, p.height);
    got.line(s, kInk);
    ASSERT_EQ(firstDifference(got, want), "") << describe(s);

    int a = rows(rng), b = rows(rng);
    if (a > b) std::swap(a, b);
    Canvas banded(p.width, p.height);
    for (const auto& [begin, end] : {std::pair{0, a}, std::pair{a, b}, std::pair{b, p.height}}) {
      banded.line(s, kInk, begin, end);
    }
    ASSERT_EQ(firstDifference(banded, want), "") << describe(s) << " in bands split at " << a << ", " << b;

    Canvas oneBand(p.width, p.height), oneBandWant(p.width, p.height);
    oneBand.line(s, kInk, a, b);
    referenceLine(oneBandWant, s, kInk, a, b);
    ASSERT_EQ(firstDifference(oneBand, oneBandWant), "") << describe(s) << " in rows " << a << ".." << b;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LineRule,
    ::testing::Values(LineSizes{"tiny", 9, 7, 12, 20000},      // lengths 0..30, every octant, edges
                      LineSizes{"small", 41, 29, 60, 20000},   // crossing and missing the canvas
                      LineSizes{"card", 700, 525, 150, 400},  // the card's size and stroke reach
                      LineSizes{"long", 300, 200, 1400, 400}), // longer than the fixed-point table
    [](const auto& info) { return std::string(info.param.label); });

// Lines whose ends lie on the edges, or one pixel beyond them, and the lines
// of length 0 and 1.
TEST(LineRuleEdges, EndsOnAndBeyondTheEdges) {
  constexpr int kW = 13, kH = 8;
  const int xs[] = {-1, 0, 1, kW / 2, kW - 2, kW - 1, kW};
  const int ys[] = {-1, 0, 1, kH / 2, kH - 2, kH - 1, kH};
  for (int x0 : xs)
    for (int y0 : ys)
      for (int x1 : xs)
        for (int y1 : ys) {
          const Stroke s{x0, y0, x1, y1};
          Canvas want(kW, kH), got(kW, kH);
          referenceLine(want, s, kInk, 0, kH);
          got.line(s, kInk);
          ASSERT_EQ(firstDifference(got, want), "") << describe(s);
        }
}

TEST(LineRuleEdges, EndPointIsNotPaintedAndLengthZeroPaintsNothing) {
  Canvas canvas(10, 10);
  canvas.line({2, 3, 7, 3}, kInk);
  EXPECT_EQ(canvas.pixel(2, 3), kInk);
  EXPECT_EQ(canvas.pixel(6, 3), kInk);
  EXPECT_EQ(canvas.pixel(7, 3), kBlack);

  canvas.line({4, 4, 4, 4}, kInk);
  EXPECT_EQ(canvas.pixel(4, 4), kBlack);

  canvas.line({5, 8, 6, 9}, kInk);  // length 1: only the start
  EXPECT_EQ(canvas.pixel(5, 8), kInk);
  EXPECT_EQ(canvas.pixel(6, 9), kBlack);
}

TEST(LineRuleEdges, HalfwayStepsRoundUp) {
  // N = 4, dy = 2: q(k dy) for k = 0..3 is floor((4k + 4) / 8) = 0, 1, 1, 2.
  Canvas canvas(8, 8);
  canvas.line({0, 0, 4, 2}, kInk);
  EXPECT_EQ(canvas.pixel(0, 0), kInk);
  EXPECT_EQ(canvas.pixel(1, 1), kInk);
  EXPECT_EQ(canvas.pixel(2, 1), kInk);
  EXPECT_EQ(canvas.pixel(3, 2), kInk);
  EXPECT_EQ(canvas.pixel(1, 0), kBlack);
}

TEST(LineRuleEdges, OutsideReadsMinusOneAndWritesNothing) {
  Canvas canvas(5, 4);
  const Canvas blank = canvas;
  for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{5, 0}, std::pair{0, 4}}) {
    EXPECT_EQ(canvas.pixel(x, y), kOutside);
    canvas.setPixel(x, y, kInk);
  }
  canvas.setPixel(1, 1, kOutside);
  EXPECT_TRUE(canvas == blank);
  canvas.line({-50, -3, -1, 60}, kInk);  // entirely left of the canvas
  canvas.line({0, 2, 4, 2}, kInk, 3, 4); // a row outside the band
  EXPECT_TRUE(canvas == blank);
}

}  // namespace
}  // namespace greetcard
