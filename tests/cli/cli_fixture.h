// A fresh folder for every test, in which greetcard-render runs; its output
// is captured in a second folder, so that the first holds only what the
// program wrote.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_render.h"

namespace greetcard::cli_test {

class CliTest : public ::testing::Test {
 protected:
  // The folder the program runs in.
  const fs::path& folder() const { return work_.path(); }

  RunResult run(std::vector<std::string> args, std::optional<fs::path> input = std::nullopt,
                std::string shellSetup = {}) const {
    return runRender(RunSpec{std::move(args), folder(), std::move(input), std::move(shellSetup)}, capture_.path());
  }

  // Starts the program without waiting for it.
  std::unique_ptr<Child> start(std::vector<std::string> args) const {
    return std::make_unique<Child>(RunSpec{std::move(args), folder(), std::nullopt, {}}, capture_.path());
  }

  // Writes an input file (a name list, say) beside the captured output, so
  // that the run's folder holds only what the program writes; gives its path.
  fs::path putFile(const std::string& name, const std::string& bytes) const {
    writeBytes(capture_.path() / name, bytes);
    return capture_.path() / name;
  }

 private:
  TempFolder work_;
  TempFolder capture_;
};

// A name the program refuses, and what its message must say.
struct RefusalCase {
  const char* label;
  std::string name;
  std::string reason;  // what the message must say
};

// Names refused both as NAME and as a line of a list.
inline const std::vector<RefusalCase>& refusals() {
  static const std::vector<RefusalCase> cases = {
      {"upper_case", "Abc", "character 'A' (U+0041) at position 1"},
      {"digit", "abc1", "character '1' (U+0031) at position 4"},
      {"hyphen", "a-b", "character '-' (U+002D) at position 2"},
      {"full_stop", "abc.", "character '.' (U+002E) at position 4"},
      {"tab", "a\tb", "character U+0009 at position 2"},
      {"carriage_return_inside", "a\rb", "character U+000D at position 2"},
      {"invalid_utf8", "ab\xFF" "c", "byte 0xFF at byte position 3"},
      {"caron", "\xC4\x8D", "character U+010D at position 1"},
      {"no_break_space", "a\xC2\xA0" "b", "character U+00A0 at position 2"},
      {"letters_101", std::string(101, 'a'), "101 characters"},
  };
  return cases;
}

}  // namespace greetcard::cli_test
