// The state record of the main window and its paint cycle: ask for the name,
// build the palette, draw the picture's parameters, scan every pixel position
// and print the greeting. The window and the command line run this same code
// against their own services.
#pragma once

#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "platform/generator.h"
#include "platform/services.h"
#include "synth/art.h"

namespace greetcard {

// First and second line of the name prompt.
inline constexpr std::string_view kPromptLine1 = "enter your name and surname";
inline constexpr std::string_view kPromptLine2 = "small letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)";

// The fields every procedure of the cycle passes its values through.
struct Form1State {
  int sir = kWidth;        // `sir` — canvas width in pixels (last scanned column)
  int vis = kHeight;       // `vis` — canvas height in pixels (last scanned row)
  double polx = kPolx;     // `polx` — half width of the plane window, plane units
  double poly = kPoly;     // `poly` — half height of the plane window, plane units
  double dx = kDx;         // `dx` — pixels per plane unit across
  double dy = kDy;         // `dy` — pixels per plane unit down
  int i = 0;               // `i` — current pixel column of the scan
  int j = 0;               // `j` — current pixel row of the scan
  PixelFields px;          // `x`, `y`, `fi1`, `fit`, `r`, `fi`, `ba`, `re`, `gr`, `bl`, `barva`
  Params params;           // `tip1`..`tip3`, `pozic0`, `fi0`, `r0`, `korakfi1`, `fak1`..`fak3`
  Palette palette;         // `palette` — stroke colours by row
  std::string imeslike;    // `imeslike` — snapshot base name, "T" + yyyymmddhhmmss
  std::string t;           // `t` — the name as typed
  std::string t1{kPromptLine1};  // `t1` — first line of the name prompt
  std::string t2{kPromptLine2};  // `t2` — second line of the name prompt
  std::int32_t dolz = 0;   // `dolz` — length of the name in characters
  std::int32_t seed = 0;   // `seed` — seed derived from the name
};

class PaintCycle {
 public:
  explicit PaintCycle(Services& services);

  // One paint cycle: `askname`, `makepalette`, `newimage`. Returns false when
  // the program is ending (the scan was stopped).
  bool run();

  // `askname` — asks until a name is accepted, then resets and seeds the generator.
  void askname();
  // `makepalette` — fills the palette from the next 11 generator values.
  void makepalette();
  // `newimage` — parameters, scan and greeting of one picture.
  void newimage();
  // `setparams` — snapshot name from one clock reading, then 9 generator values.
  void setparams();
  // `drawimage` — clears the canvas and scans every pixel position. Returns
  // false when the scan stopped early: the program is ending, or a cycle run
  // from the event handling between rows has painted a newer picture.
  bool drawimage();
  // `greeting` — prints the caption on the canvas and the asterisk on the window.
  void greeting();

  const Form1State& state() const { return s_; }
  // `Picture1` — the canvas the picture is painted on.
  const Canvas& picture() const { return picture1_; }
  // Whether a scan is running (a command handled between rows sees true).
  bool painting() const { return scansRunning_ > 0; }
  // Whether the program is ending.
  bool ending() const { return ending_; }
  // The recipe of the current picture.
  Recipe recipe() const;

 private:
  Services& services_;
  Form1State s_;
  Generator rnd_;
  Canvas picture1_{kWidth, kHeight};
  unsigned cycles_ = 0;       // cycles started so far; a scan stops when a newer one began
  int scansRunning_ = 0;
  bool ending_ = false;
};

}  // namespace greetcard
