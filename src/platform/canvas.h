// The raster canvas every card is painted on: 32-bit opaque pixels
// (0xFFRRGGBB, the layout Qt's RGB32 images use), lines by a rule whose every
// pixel follows from its step number alone, so that a line drawn in pieces,
// or into row bands by several threads, paints the same pixels.
#pragma once

#include <cstdint>
#include <vector>


namespace greetcard {

// A line with whole-pixel end points (the end point itself is not painted).
struct Stroke {
  int x0, y0, x1, y1;
};

inline constexpr std::uint32_t kBlack = 0xFF000000u;
inline constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
// What reading a pixel outside the canvas gives; setting it changes nothing.
inline constexpr std::int64_t kOutside = -1;

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::uint32_t* data() const { return pixels_.data(); }
  std::uint32_t* data() { return pixels_.data(); }

  // Fills every pixel with one colour.
  void fill(std::uint32_t colour);

  // Colour at (x, y), or kOutside beyond the edges.
  std::int64_t pixel(int x, int y) const;
  // Sets (x, y); a position outside the canvas, or the colour kOutside, does nothing.
  void setPixel(int x, int y, std::int64_t colour);

  // Draws the stroke: rounds nothing (the ends are whole pixels already), takes
  // N = max(|dx|, |dy|) steps and paints step k at
  // (x0 + q(k dx), y0 + q(k dy)) with q(a) = floor((2a + N) / 2N), so the end
  // point itself is not painted. Only rows in [rowBegin, rowEnd) are painted.
  // The line is clipped by steps beforehand, so its loop tests no pixel.
  void line(const Stroke& s, std::uint32_t colour, int rowBegin, int rowEnd);
  void line(const Stroke& s, std::uint32_t colour) { line(s, colour, 0, height_); }

  bool operator==(const Canvas& other) const = default;

 private:
  // The same rule one step at a time with a test per pixel, for lines too long
  // for the fixed-point loops of line().
  void lineExact(const Stroke& s, std::uint32_t colour, int rowBegin, int rowEnd);

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace greetcard
