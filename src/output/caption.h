// Text printed into the canvas' own pixels with the font the program carries
// (DejaVu Sans, 16 pixels, unhinted), so that a caption has the same pixels in
// the window, from the command line and on every machine.
#pragma once

#include <QFont>
#include <cstdint>
#include <string_view>

#include "platform/canvas.h"

namespace greetcard {

// Font size of every text: 12 points at 96 dots per inch.
inline constexpr int kTextPixelSize = 16;

// The card's font (loaded from the program's resources on first use; needs a
// QGuiApplication).
QFont cardFont();

// Prints one line of UTF-8 text with its top left corner at (x, y) in the
// colour given (0xFFRRGGBB); glyphs past an edge are clipped, nothing wraps.
// Safe to call from several threads.
void printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view utf8);

}  // namespace greetcard
