#include "platform/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace greetcard {
namespace {

// floor(a / b) for b > 0.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Range [first, last) of steps k whose major coordinate m0 + dir*k lies in [lo, hi).
inline void majorRange(int m0, int dir, int lo, int hi, int n, int& first, int& last) {
  int a, b;  // inclusive bounds of k
  if (dir > 0) {
    a = lo - m0;
    b = hi - 1 - m0;
  } else {
    a = m0 - (hi - 1);
    b = m0 - lo;
  }
  first = std::max(a, 0);
  last = std::min(b + 1, n);
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
  const int dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const int n = std::max(std::abs(dx), std::abs(dy));
  if (n == 0 || rowBegin >= rowEnd) return;
  // Quick reject: every painted pixel lies inside the box of the two ends.
  if (std::max(s.x0, s.x1) < 0 || std::min(s.x0, s.x1) >= width_ ||
      std::max(s.y0, s.y1) < rowBegin || std::min(s.y0, s.y1) >= rowEnd) {
    return;
  }
  const bool xMajor = std::abs(dx) == n;
  // Major axis moves one pixel per step; the minor one follows q(k d) kept as
  // quotient and remainder of (2 k d + N) / 2N.
  const int m0 = xMajor ? s.x0 : s.y0;
  const int dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int minor0 = xMajor ? s.y0 : s.x0;
  const int dm = xMajor ? dy : dx;
  const int majorLo = xMajor ? 0 : rowBegin, majorHi = xMajor ? width_ : rowEnd;
  const int minorLo = xMajor ? rowBegin : 0, minorHi = xMajor ? rowEnd : width_;
  int first, last;
  majorRange(m0, dir, majorLo, majorHi, n, first, last);
  if (first >= last) return;
  const std::int64_t twoN = 2LL * n;
  const std::int64_t num = 2LL * first * dm + n;
  std::int64_t q = floorDiv(num, twoN);
  std::int64_t rem = num - q * twoN;
  const std::int64_t step = 2LL * dm;
  int m = m0 + dir * first;
  std::uint32_t* const base = pixels_.data();
  for (int k = first; k < last; ++k, m += dir) {
    const std::int64_t minor = minor0 + q;
    if (minor >= minorLo && minor < minorHi) {
      const int px = xMajor ? m : static_cast<int>(minor);
      const int py = xMajor ? static_cast<int>(minor) : m;
      base[static_cast<std::size_t>(py) * width_ + px] = colour;
    }
    rem += step;
    if (rem >= twoN) {
      rem -= twoN;
      ++q;
    } else if (rem < 0) {
      rem += twoN;
      --q;
    }
  }
}

}  // namespace greetcard
