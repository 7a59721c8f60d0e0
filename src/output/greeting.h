// The greeting caption: the name followed at once by the New Year wish, six
// blanks and the maker's address, printed near the foot of the picture in
// black and again in white one pixel to the right and below.
#pragma once

#include <string>
#include <string_view>

namespace greetcard {

// The wish that follows the name (it starts with a comma).
inline constexpr std::string_view kWish = ", I wish you a happy new year 2010";
// Blanks between the wish and the maker's address.
inline constexpr std::string_view kWishGap = "      ";
// The maker's web address at the end of the caption.
inline constexpr std::string_view kMakerAddress = "greetcard.example.org";

// Top left corner of the black copy of the caption on the canvas; the white
// copy stands one pixel to the right and below.
inline constexpr int kCaptionX = 10;
inline constexpr int kCaptionY = 490;
inline constexpr int kCaptionShadowOffset = 1;
// Where the asterisk stands on the window's own surface.
inline constexpr int kAsteriskX = 1;
inline constexpr int kAsteriskY = 1;
inline constexpr std::string_view kAsterisk = "*";

// The caption line for a name.
inline std::string greetingLine(std::string_view name) {
  std::string line(name);
  line += kWish;
  line += kWishGap;
  line += kMakerAddress;
  return line;
}

}  // namespace greetcard
