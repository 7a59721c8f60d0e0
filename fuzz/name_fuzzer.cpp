// Fuzzes the name rules, the seed and the file stem with arbitrary bytes.
//
// Invariants checked on every input:
// - a name is accepted exactly when it has at most 100 characters, each a
//   blank or a letter a..z (such a name is plain ASCII, so bytes = characters);
// - a refusal carries a reason that agrees with the input, and a message;
// - the seed of an accepted name equals 234567 + n x (sum of codes + n x n),
//   worked out here in 64 bits, and lies in [234567, 2454567];
// - the file stem of an accepted name is non-empty and holds no blank and no
//   slash, so it always names one file in the output folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "seeding/name.h"

namespace {

constexpr char kBlank = ' ';
constexpr std::int64_t kLargestSeed = 2454567;  // 100 letters z

bool acceptedByRule(std::string_view bytes) {
  if (bytes.size() > greetcard::kMaxNameLength) return false;
  for (const char ch : bytes) {
    if (ch != kBlank && (ch < 'a' || ch > 'z')) return false;
  }
  return true;
}

std::int64_t closedFormSeed(std::string_view name) {
  const auto n = static_cast<std::int64_t>(name.size());
  std::int64_t codes = 0;
  for (const char ch : name) codes += static_cast<unsigned char>(ch);
  return greetcard::kSeedBase + n * (codes + n * n);
}

void require(bool condition) {
  if (!condition) std::abort();
}

void checkRefusal(std::string_view bytes, const greetcard::NameProblem& problem) {
  using Kind = greetcard::NameProblem::Kind;
  require(!problem.message().empty());
  switch (problem.kind) {
    case Kind::InvalidEncoding:
      // Points at a byte of the input that is not ASCII.
      require(problem.position >= 1 && problem.position <= bytes.size());
      require(static_cast<unsigned char>(bytes[problem.position - 1]) == problem.character);
      require(problem.character >= 0x80);
      break;
    case Kind::TooLong:
      require(problem.length > greetcard::kMaxNameLength && problem.length <= bytes.size());
      break;
    case Kind::BadCharacter:
      require(problem.position >= 1 && problem.position <= greetcard::kMaxNameLength);
      require(problem.character != static_cast<char32_t>(kBlank));
      require(problem.character < U'a' || problem.character > U'z');
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto problem = greetcard::checkName(bytes);
  require(problem.has_value() != acceptedByRule(bytes));
  if (problem) {
    checkRefusal(bytes, *problem);
    return 0;
  }

  const std::int64_t seed = greetcard::seedOf(bytes);
  require(seed == closedFormSeed(bytes));
  require(seed >= greetcard::kSeedBase && seed <= kLargestSeed);

  const std::string stem = greetcard::fileStemOf(bytes);
  require(!stem.empty());
  require(stem.find(kBlank) == std::string::npos && stem.find('/') == std::string::npos);
  return 0;
}
