#include "platform/generator.h"

#include <bit>

namespace greetcard {

float Generator::next() {
  // Unsigned 32-bit arithmetic wraps mod 2^32, a multiple of 2^24, so masking
  // afterwards gives the product mod 2^24 exactly.
  s_ = (s_ * kMultiplier + kIncrement) & kMask24;
  return static_cast<float>(s_) / kScale;  // exact: s_ < 2^24
}

float Generator::reset(float n) {
  const auto b = std::bit_cast<std::uint32_t>(n);
  s_ = (b + (b >> 24)) & kMask24;
  return next();
}

void Generator::randomize(double n) {
  constexpr std::uint32_t kLow8 = 0xFFu;
  constexpr std::uint32_t kLow16 = 0xFFFFu;
  const auto h = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(n) >> 32);
  s_ = (s_ & kLow8) | (((h & kLow16) ^ (h >> 16)) << 8);
}

}  // namespace greetcard
