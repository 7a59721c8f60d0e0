// What the paint cycle asks of its surroundings: a name prompt, the clock,
// event handling between rows, text printing on the canvas and on the window.
// The window implements it with Qt; the command line and the tests with the
// headless services.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/clock.h"

namespace greetcard {

class Services {
 public:
  virtual ~Services() = default;

  // Opens the modal name prompt showing two lines; returns the typed text
  // (UTF-8), or the empty text when the prompt is cancelled.
  virtual std::string promptName(std::string_view line1, std::string_view line2) = 0;

  // One reading of the local clock.
  virtual LocalTime now() = 0;

  // Whether the scan paints row by row and lets events run between rows
  // (a window); otherwise the whole art is painted at once.
  virtual bool progressive() const = 0;

  // Handles pending events; called before each row of a progressive scan. A
  // handler may run a nested cycle or a save here. Returns false when the
  // program is ending and the scan must stop at once.
  virtual bool processEvents() = 0;

  // Threads a non-progressive scan may use.
  virtual unsigned threads() const { return 1; }

  // Prints one line of text with the card's font, its top left corner at
  // (x, y), in the colour given, into the canvas pixels.
  virtual void printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view text) = 0;

  // Prints one line of text on the window's own surface at (x, y), in the
  // window's text colour. Without a window it does nothing.
  virtual void printOnWindow(int x, int y, std::string_view text) = 0;
};

}  // namespace greetcard
