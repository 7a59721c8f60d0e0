#include "seeding/name.h"

#include <cstdio>

namespace greetcard {
namespace {

constexpr char kBlank = ' ';
constexpr char32_t kFirstLetter = U'a';
constexpr char32_t kLastLetter = U'z';

bool allowed(char32_t c) { return c == U' ' || (c >= kFirstLetter && c <= kLastLetter); }

// Decodes one UTF-8 sequence starting at `pos`; returns its code point and
// advances `pos`, or nullopt for a malformed sequence (overlong forms,
// surrogates and values above U+10FFFF included).
std::optional<char32_t> decodeOne(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= s.size()) return std::nullopt;  // sequence cut short
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto cont = static_cast<unsigned char>(s[pos + k]);
    if ((cont & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (cont & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += extra + 1;
  return cp;
}

std::string describe(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  if (c >= 0x21 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "' (" + code + ")";
  return code;
}

}  // namespace

std::string NameProblem::message() const {
  switch (kind) {
    case Kind::InvalidEncoding: {
      char byte[8];
      std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(character));
      return "the name is not valid UTF-8: byte " + std::string(byte) + " at byte position " +
             std::to_string(position);
    }
    case Kind::TooLong:
      return "the name has " + std::to_string(length) + " characters; at most " +
             std::to_string(kMaxNameLength) + " are allowed";
    case Kind::BadCharacter:
      return "character " + describe(character) + " at position " + std::to_string(position) +
             " is not allowed; use small letters a to z and blanks";
  }
  return {};
}

std::optional<NameProblem> checkName(std::string_view utf8) {
  // First pass: decode and count, so that an over-long name is reported by its
  // length before any character is judged.
  std::size_t length = 0;
  std::optional<NameProblem> firstBad;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const auto cp = decodeOne(utf8, pos);
    if (!cp) {
      NameProblem p{NameProblem::Kind::InvalidEncoding};
      p.position = start + 1;
      p.character = static_cast<unsigned char>(utf8[start]);
      return p;
    }
    ++length;
    if (!firstBad && !allowed(*cp)) {
      firstBad = NameProblem{NameProblem::Kind::BadCharacter, length, *cp};
    }
  }
  if (length > kMaxNameLength) {
    NameProblem p{NameProblem::Kind::TooLong};
    p.length = length;
    return p;
  }
  return firstBad;
}

std::int32_t seedOf(std::string_view acceptedName) {
  const auto dolz = static_cast<std::int32_t>(acceptedName.size());
  std::int32_t sum = 0;
  for (const char ch : acceptedName) sum = (sum + static_cast<unsigned char>(ch)) + dolz;
  return kSeedBase + dolz * sum;
}

std::string fileStemOf(std::string_view acceptedName) {
  if (acceptedName.empty()) return "card";
  std::string stem(acceptedName);
  for (char& ch : stem) {
    if (ch == kBlank) ch = '_';
  }
  return stem;
}

}  // namespace greetcard
