// Name rules and the seed: which names a card accepts, why a name is refused,
// and the number that a name turns into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace greetcard {

// Longest accepted name, in characters.
inline constexpr std::size_t kMaxNameLength = 100;
// Seed of the empty name; every name adds to it.
inline constexpr std::int32_t kSeedBase = 234567;

// Why a name is refused.
struct NameProblem {
  enum class Kind { InvalidEncoding, TooLong, BadCharacter };
  Kind kind;
  std::size_t position = 0;  // 1-based: character position, or byte position for invalid encoding
  char32_t character = 0;    // the offending character (BadCharacter) or byte (InvalidEncoding)
  std::size_t length = 0;    // length of the name in characters (TooLong)

  // One line for a person: names the first offending character and its
  // position, or the length.
  std::string message() const;
};

// Checks a UTF-8 name: at most 100 characters, each a blank or a letter a..z.
// Returns the first problem found, or nullopt for an accepted name.
std::optional<NameProblem> checkName(std::string_view utf8);

// Seed of an accepted name: 234567 + n x (sum of the codes + n x n), where n is
// the length. The order of the letters plays no part, so anagrams share it.
std::int32_t seedOf(std::string_view acceptedName);

// File-name stem of a name: blanks become '_', the empty name gives "card".
std::string fileStemOf(std::string_view acceptedName);

}  // namespace greetcard
