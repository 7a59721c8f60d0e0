// The name-list reader: line endings, the byte-order mark, empty lines, and
// the verdict on every line, which must be exactly what checkName says of the
// line's bytes, however the line is cut while it streams.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "seeding/name_list.h"

namespace greetcard {
namespace {

std::vector<NameListEntry> readAll(const std::string& text) {
  std::istringstream in(text);
  NameListReader reader(in);
  std::vector<NameListEntry> entries;
  while (auto entry = reader.next()) entries.push_back(std::move(*entry));
  EXPECT_FALSE(reader.readFailed());
  return entries;
}

// The one entry a single-line list gives.
NameListEntry onlyEntry(const std::string& line) {
  const auto entries = readAll(line + "\n");
  EXPECT_EQ(entries.size(), 1u) << "line: " << line;
  return entries.empty() ? NameListEntry{} : entries.front();
}

void expectSameAsCheckName(const std::string& line) {
  const NameListEntry entry = onlyEntry(line);
  const std::optional<NameProblem> expected = checkName(line);
  ASSERT_EQ(entry.problem.has_value(), expected.has_value()) << "line of " << line.size() << " bytes";
  if (expected) {
    EXPECT_EQ(entry.problem->kind, expected->kind);
    EXPECT_EQ(entry.problem->message(), expected->message());
    EXPECT_TRUE(entry.name.empty());
  } else {
    EXPECT_EQ(entry.name, line);
  }
}

struct LinesCase {
  const char* label;
  std::string text;
  std::vector<std::pair<std::size_t, std::string>> names;  // line number, name
};

class NameListLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(NameListLines, GivesTheNamesWithTheirLineNumbers) {
  const auto entries = readAll(GetParam().text);
  std::vector<std::pair<std::size_t, std::string>> got;
  for (const auto& e : entries) {
    EXPECT_FALSE(e.problem) << "line " << e.line << ": " << e.problem->message();
    got.emplace_back(e.line, e.name);
  }
  EXPECT_EQ(got, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, NameListLines,
    ::testing::Values(
        LinesCase{"empty", "", {}},
        LinesCase{"only_line_ends", "\n\r\n\n", {}},
        LinesCase{"no_final_line_end", "ana\nbob", {{1, "ana"}, {2, "bob"}}},
        LinesCase{"empty_lines_skipped_but_counted", "\nana\n\n\nbob\n", {{2, "ana"}, {5, "bob"}}},
        LinesCase{"crlf", "ana\r\nbob\r\n", {{1, "ana"}, {2, "bob"}}},
        LinesCase{"return_before_end_of_input", "ana\r", {{1, "ana"}}},
        LinesCase{"byte_order_mark", "\xEF\xBB\xBF" "ana\nbob\n", {{1, "ana"}, {2, "bob"}}},
        LinesCase{"byte_order_mark_then_empty_line", "\xEF\xBB\xBF\r\nana", {{2, "ana"}}},
        LinesCase{"blanks_are_a_name", "   \n a b \n", {{1, "   "}, {2, " a b "}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NameListReader, ByteOrderMarkCountsOnlyAtTheStart) {
  const auto entries = readAll("ana\n\xEF\xBB\xBF" "bob\n");
  ASSERT_EQ(entries.size(), 2u);
  ASSERT_TRUE(entries[1].problem);
  EXPECT_EQ(entries[1].problem->kind, NameProblem::Kind::BadCharacter);
  EXPECT_EQ(entries[1].problem->character, U'\uFEFF');
  EXPECT_EQ(entries[1].problem->position, 1u);
}

TEST(NameListReader, RefusedLinesKeepTheirNumbersAndTheRestGoesOn) {
  const auto entries = readAll("ana\nAbc\n\nab\x01\nbob\n");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_FALSE(entries[0].problem);
  EXPECT_EQ(entries[1].line, 2u);
  ASSERT_TRUE(entries[1].problem);
  EXPECT_EQ(entries[1].problem->character, U'A');
  EXPECT_EQ(entries[2].line, 4u);
  ASSERT_TRUE(entries[2].problem);
  EXPECT_EQ(entries[2].problem->position, 3u);
  EXPECT_EQ(entries[3].line, 5u);
  EXPECT_EQ(entries[3].name, "bob");
}

// Lines whose verdict must match checkName's for the whole line: cuts every
// 100 characters, long runs of continuation bytes, faults on both sides of a
// cut, and lengths around the limit.
TEST(NameListReader, VerdictEqualsCheckNameOnTrickyLines) {
  const std::string a100(100, 'a');
  const std::string caron = "\xC4\x8D";  // č, two bytes
  std::vector<std::string> lines = {
      a100,
      a100 + "a",
      std::string(99, 'a') + caron,
      std::string(100, ' '),
      std::string(250, 'a') + "Q",
      std::string("A") + std::string(300, 'a'),
      std::string(150, 'a') + "Z" + std::string(150, 'a'),
      caron + std::string(200, 'a'),
      std::string(99, 'a') + "\xC4",                 // cut short at the end
      std::string(100, 'a') + "\xC4" + "a",          // malformed just after a cut
      std::string(99, 'a') + "\xE2\x82" + "a",       // cut inside a malformed sequence
      std::string(300, 'a') + "\xFF",                // malformed after the limit
      std::string("ab") + std::string(1000, '\x80'),              // long run of continuation bytes
      "\x80" "abc",                                  // stray continuation first
      std::string("\xF0\x9F\x98\x80") + std::string(3, '\x80'),  // valid 4-byte character, then strays
      "\xED\xA0\x80",                                // surrogate
      "\xC0\xAF",                                    // overlong
      "\xF4\x90\x80\x80",                            // above U+10FFFF
      std::string(120, 'a') + "\t",
      "a\rb",
      std::string("a\0b", 3),
  };
  // Multi-byte characters at every offset from a cut.
  for (std::size_t lead = 0; lead < 4; ++lead) {
    std::string twoByte(lead, 'a'), fourByte(lead, 'a');
    for (int k = 0; k < 90; ++k) twoByte += "\xC4\x8D";
    for (int k = 0; k < 60; ++k) fourByte += "\xF0\x9F\x98\x80";
    lines.push_back(twoByte);
    lines.push_back(fourByte);
  }
  for (const auto& line : lines) expectSameAsCheckName(line);
}

// Random lines made of letters with, here and there, characters and bytes
// that matter to UTF-8 and to the name rules.
TEST(NameListReader, VerdictEqualsCheckNameOnRandomLines) {
  const std::vector<std::string> tokens = {
      " ", "z", "A", "\t", std::string(1, '\0'), "\xC4\x8D", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
      "\x80", "\xC3", "\xE2\x82", "\xFF"};
  std::mt19937 random(20260101);
  std::uniform_int_distribution<std::size_t> pickToken(0, tokens.size() - 1);
  std::uniform_int_distribution<std::size_t> length(1, 320);
  std::uniform_int_distribution<int> oneIn(0, 9);
  constexpr int kLines = 3000;
  for (int n = 0; n < kLines; ++n) {
    const std::size_t characters = length(random);
    std::string line;
    for (std::size_t k = 0; k < characters; ++k) line += oneIn(random) == 0 ? tokens[pickToken(random)] : "a";
    expectSameAsCheckName(line);
  }
}

TEST(NameListReader, CountsTheLinesItWouldGive) {
  const std::string text = "\xEF\xBB\xBF" "ana\r\n\r\n  \nAbc\n\n" + std::string(5000, 'b');
  std::istringstream in(text);
  EXPECT_EQ(countNameLines(in), 4u);
  EXPECT_EQ(readAll(text).size(), 4u);
}

}  // namespace
}  // namespace greetcard
