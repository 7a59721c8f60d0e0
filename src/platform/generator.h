// The random generator behind every card: a 24-bit linear congruential
// generator with a reset and a re-seed, so that a card depends on its seed
// alone.
#pragma once

#include <cstdint>

namespace greetcard {

class Generator {
 public:
  // State the generator has before its first reset.
  static constexpr std::uint32_t kStartState = 327680;

  // Next value, a single in [0, 1).
  float next();

  // Resets the state from the bits of `n` (negative) as a single, takes one
  // step and returns that value (callers usually discard it).
  float reset(float n);

  // Re-seeds from the high 32 bits of `n` as a double; only the low 8 bits of
  // the current state survive.
  void randomize(double n);

  std::uint32_t state() const { return s_; }

 private:
  static constexpr std::uint32_t kMultiplier = 1140671485u;
  static constexpr std::uint32_t kIncrement = 12820163u;
  static constexpr std::uint32_t kMask24 = 0xFFFFFFu;
  static constexpr float kScale = 16777216.0f;  // 2^24

  std::uint32_t s_ = kStartState;  // 24-bit state
};

}  // namespace greetcard
