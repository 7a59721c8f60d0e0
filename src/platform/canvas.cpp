#include "platform/canvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace greetcard {
namespace {

// floor(a / b) and ceil(a / b) for b > 0.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); }

// The minor coordinate of step k is q(k d) = floor((2 k d + N) / 2N) =
// floor(1/2 + k d / N). The fast loops keep 1/2 + k d / N as a fixed-point
// number with kFractionBits fraction bits, stepping by d / N taken as d times
// a reciprocal of N that is rounded so the step is never below d / N. Each
// step is then at most |d| <= N units of 2^-32 too large, so after k < N steps
// the fixed-point value lies in [exact, exact + N^2 * 2^-32). An exact value
// that is not whole lies at least 1/2N below the next whole number, so while
// N^2 * 2^-32 < 1/2N (N^3 < 2^31, N <= 1290) the floor of the fixed-point
// value is exactly q(k d).
constexpr int kFractionBits = 32;
constexpr std::int64_t kOne = std::int64_t{1} << kFractionBits;
constexpr std::int64_t kHalf = kOne / 2;
// Longest line, in steps, drawn by the fixed-point loops; longer ones take
// the exact quotient-and-remainder path.
constexpr int kTableSteps = 1024;

struct Reciprocals {
  // up[n] = ceil(2^32 / n), down[n] = floor(2^32 / n).
  std::array<std::int64_t, kTableSteps + 1> up{}, down{};
  Reciprocals() {
    for (int n = 1; n <= kTableSteps; ++n) {
      down[n] = kOne / n;
      up[n] = (kOne + n - 1) / n;
    }
  }
};
const Reciprocals kReciprocals;

// Fixed-point step d / N, rounded towards +infinity within the error the
// exactness argument above allows.
inline std::int64_t fixedStep(int d, int n) {
  return d >= 0 ? d * kReciprocals.up[n] : d * kReciprocals.down[n];
}

// Steps [first, last) of a line whose major coordinate m0 + dir k lies in [lo, hi).
inline void majorRange(int m0, int dir, int lo, int hi, std::int64_t& first, std::int64_t& last) {
  if (dir > 0) {
    first = std::max<std::int64_t>(first, lo - m0);
    last = std::min<std::int64_t>(last, hi - m0);
  } else {
    first = std::max<std::int64_t>(first, m0 - (hi - 1));
    last = std::min<std::int64_t>(last, m0 - lo + 1);
  }
}

// Narrows [first, last) to the steps whose minor coordinate c0 + q(k d) lies
// in [lo, hi). q(k d) >= L holds exactly when 2 k d >= 2 N L - N, and
// q(k d) < H exactly when 2 k d < 2 N H - N; q is monotone in k.
inline void minorRange(int c0, int d, int n, int lo, int hi, std::int64_t& first, std::int64_t& last) {
  const std::int64_t twoN = 2LL * n;
  const std::int64_t low = twoN * (lo - c0) - n;   // 2 k d >= low
  const std::int64_t high = twoN * (hi - c0) - n;  // 2 k d < high
  if (d > 0) {
    first = std::max(first, ceilDiv(low, 2LL * d));
    last = std::min(last, ceilDiv(high, 2LL * d));
  } else if (d < 0) {
    const std::int64_t e = -2LL * d;  // -2 k |d| >= low, -2 k |d| < high
    first = std::max(first, floorDiv(-high, e) + 1);
    last = std::min(last, floorDiv(-low, e) + 1);
  } else if (c0 < lo || c0 >= hi) {
    last = first;
  }
}

// Steps painted per round of the unrolled line loops.
constexpr std::int64_t kUnroll = 4;

// The unrolled loops paint the first group of four steps, then groups of four
// that end exactly at the last step: the first of these may paint again some
// steps of the first group, with the same colour, so no remainder loop (and
// no second loop exit for the branch predictor to miss) is needed.
inline std::int64_t secondGroupStart(std::int64_t count) {
  const std::int64_t rest = count % kUnroll;
  return rest == 0 ? kUnroll : rest;
}

// Paints `count` steps of a line whose x moves one pixel per step, left to
// right. `pixel` points at the leftmost step without its minor offset, `acc`
// is that step's fixed-point value. Unrolled by four, with the row offset of
// each step taken from the fixed-point value alone.
void paintXMajor(std::uint32_t* pixel, std::ptrdiff_t width, std::int64_t acc, std::int64_t step,
                 std::int64_t count, std::uint32_t colour) {
  const auto group = [width, step, colour](std::uint32_t* p, std::int64_t a) {
    p[(a >> kFractionBits) * width] = colour;
    p[1 + ((a + step) >> kFractionBits) * width] = colour;
    p[2 + ((a + 2 * step) >> kFractionBits) * width] = colour;
    p[3 + ((a + 3 * step) >> kFractionBits) * width] = colour;
  };
  if (count < kUnroll) {
    for (; count > 0; --count, ++pixel, acc += step) pixel[(acc >> kFractionBits) * width] = colour;
    return;
  }
  group(pixel, acc);
  const std::int64_t start = secondGroupStart(count);
  pixel += start;
  acc += start * step;
  for (count -= start; count > 0; count -= kUnroll, pixel += kUnroll, acc += kUnroll * step) {
    group(pixel, acc);
  }
}

// Paints `count` steps of a line whose y moves one row per step, top to
// bottom, from the topmost step at `pixel` (without its minor offset) with
// fixed-point value `acc`; `rowStep` is the row length.
void paintYMajor(std::uint32_t* pixel, std::ptrdiff_t rowStep, std::int64_t acc, std::int64_t step,
                 std::int64_t count, std::uint32_t colour) {
  const auto group = [rowStep, step, colour](std::uint32_t* p, std::int64_t a) {
    p[a >> kFractionBits] = colour;
    p[rowStep + ((a + step) >> kFractionBits)] = colour;
    p[2 * rowStep + ((a + 2 * step) >> kFractionBits)] = colour;
    p[3 * rowStep + ((a + 3 * step) >> kFractionBits)] = colour;
  };
  if (count < kUnroll) {
    for (; count > 0; --count, pixel += rowStep, acc += step) pixel[acc >> kFractionBits] = colour;
    return;
  }
  group(pixel, acc);
  const std::int64_t start = secondGroupStart(count);
  pixel += rowStep * start;
  acc += start * step;
  for (count -= start; count > 0; count -= kUnroll, pixel += kUnroll * rowStep, acc += kUnroll * step) {
    group(pixel, acc);
  }
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, kBlack) {}

void Canvas::fill(std::uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

std::int64_t Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kOutside;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Canvas::setPixel(int x, int y, std::int64_t colour) {
  if (colour == kOutside || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = static_cast<std::uint32_t>(colour);
}

void Canvas::line(const Stroke& s, std::uint32_t colour, int rowBegin, int rowEnd) {
  rowBegin = std::max(rowBegin, 0);
  rowEnd = std::min(rowEnd, height_);
  if (rowBegin >= rowEnd) return;
  // Quick reject: every painted pixel lies inside the box of the two ends.
  if (std::max(s.x0, s.x1) < 0 || std::min(s.x0, s.x1) >= width_ || std::max(s.y0, s.y1) < rowBegin ||
      std::min(s.y0, s.y1) >= rowEnd) {
    return;
  }
  const std::int64_t dx = static_cast<std::int64_t>(s.x1) - s.x0;
  const std::int64_t dy = static_cast<std::int64_t>(s.y1) - s.y0;
  const std::int64_t n64 = std::max(std::abs(dx), std::abs(dy));
  if (n64 == 0) return;
  if (n64 > kTableSteps) {
    lineExact(s, colour, rowBegin, rowEnd);
    return;
  }
  const int n = static_cast<int>(n64);
  const bool xMajor = std::abs(dx) == n;
  // The major axis moves one pixel per step, the minor one follows q(k d).
  const int m0 = xMajor ? s.x0 : s.y0;
  const int c0 = xMajor ? s.y0 : s.x0;
  const int dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int d = static_cast<int>(xMajor ? dy : dx);
  std::int64_t first = 0, last = n;
  const bool inside = std::min(s.x0, s.x1) >= 0 && std::max(s.x0, s.x1) < width_ &&
                      std::min(s.y0, s.y1) >= rowBegin && std::max(s.y0, s.y1) < rowEnd;
  if (!inside) {
    // Clip by steps: no pixel test inside the loops.
    if (xMajor) {
      majorRange(m0, dir, 0, width_, first, last);
      minorRange(c0, d, n, rowBegin, rowEnd, first, last);
    } else {
      majorRange(m0, dir, rowBegin, rowEnd, first, last);
      minorRange(c0, d, n, 0, width_, first, last);
    }
    if (first >= last) return;
  }
  const std::int64_t step = fixedStep(d, n);
  const std::ptrdiff_t width = width_;
  std::uint32_t* const base = pixels_.data();
  const std::int64_t count = last - first;
  if (xMajor) {
    // A line never paints one pixel twice, so the order of its own steps does
    // not matter: a line running left is painted from its last step back to
    // its first, left to right, by the same loop (the fixed-point value of
    // step k is kHalf + k step either way).
    const std::int64_t from = dir > 0 ? first : last - 1;
    const std::ptrdiff_t index = static_cast<std::ptrdiff_t>(c0) * width + m0 + dir * from;
    paintXMajor(base + index, width, kHalf + from * step, dir > 0 ? step : -step, count, colour);
  } else {
    // Likewise a line running up is painted from its last step back, downwards.
    const std::int64_t from = dir > 0 ? first : last - 1;
    const std::ptrdiff_t index = (m0 + dir * from) * width + c0;
    paintYMajor(base + index, width, kHalf + from * step, dir > 0 ? step : -step, count, colour);
  }
}

void Canvas::lineExact(const Stroke& s, std::uint32_t colour, int rowBegin, int rowEnd) {
  const std::int64_t dx = static_cast<std::int64_t>(s.x1) - s.x0;
  const std::int64_t dy = static_cast<std::int64_t>(s.y1) - s.y0;
  const std::int64_t n = std::max(std::abs(dx), std::abs(dy));
  const bool xMajor = std::abs(dx) == n;
  // Quotient and remainder of (2 k d + N) / 2N, one step at a time.
  const std::int64_t m0 = xMajor ? s.x0 : s.y0;
  const std::int64_t c0 = xMajor ? s.y0 : s.x0;
  const std::int64_t dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const std::int64_t d = xMajor ? dy : dx;
  const std::int64_t twoN = 2 * n;
  std::int64_t q = 0, rem = n;  // q(0) = 0 with remainder N
  for (std::int64_t k = 0; k < n; ++k) {
    const std::int64_t m = m0 + dir * k, c = c0 + q;
    const std::int64_t x = xMajor ? m : c, y = xMajor ? c : m;
    if (x >= 0 && x < width_ && y >= rowBegin && y < rowEnd) {
      pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] = colour;
    }
    rem += 2 * d;
    const std::int64_t carry = floorDiv(rem, twoN);
    q += carry;
    rem -= carry * twoN;
  }
}

}  // namespace greetcard
