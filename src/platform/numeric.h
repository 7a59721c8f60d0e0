// Numeric rules shared by every stage of the card: rounding to whole numbers
// with halves to even, the whole-number remainder, and the test that decides
// whether a statement succeeds (a zero divisor or a non-finite value makes it
// fail, and its target keeps its old value).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace greetcard {

// Smallest and largest value of a 16-bit integer.
inline constexpr double kInt16Min = -32768.0;
inline constexpr double kInt16Max = 32767.0;

// Nearest whole number, halves to even (the default IEEE rounding mode).
inline double roundHalfEven(double v) { return std::nearbyint(v); }

// Conversion to a 16-bit integer: nearest, halves to even; nullopt when the
// value is not finite or lies outside the 16-bit range.
inline std::optional<int> toInt16(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  const double rounded = roundHalfEven(v);
  if (rounded < kInt16Min || rounded > kInt16Max) return std::nullopt;
  return static_cast<int>(rounded);
}

// Whole-number remainder: both operands are first rounded to whole numbers
// (halves to even); the result has the dividend's sign. The caller keeps the
// operands inside the 32-bit range.
inline std::int32_t wholeMod(double dividend, std::int32_t divisor) {
  return static_cast<std::int32_t>(roundHalfEven(dividend)) % divisor;
}

// A statement's result is kept only when it is a finite number.
inline bool finite(double v) { return std::isfinite(v); }

// A divisor is usable when it is neither zero nor infinite (dividing by an
// infinity would hide an overflow that already made the statement fail).
inline bool usableDivisor(double d) { return d != 0.0 && std::isfinite(d); }

// Picks the formula number from a stored formula field: the field is
// converted to a 16-bit integer and numbers outside [1, count], as well as a
// failing conversion, fall back to formula 1.
inline int pickFormula(float field, int count) {
  const auto n = toInt16(field);
  if (!n || *n < 1 || *n > count) return 1;
  return *n;
}

}  // namespace greetcard
