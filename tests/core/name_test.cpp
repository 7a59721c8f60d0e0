// Which names are accepted, and what a refusal says.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "seeding/name.h"

namespace greetcard {
namespace {

struct NameCase {
  const char* label;
  std::string name;
  bool accepted;
  std::string messagePart;  // must appear in the refusal's message
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class NameRules : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRules, AcceptOrRefuseWithReason) {
  const NameCase& c = GetParam();
  const auto problem = checkName(c.name);
  ASSERT_EQ(!problem.has_value(), c.accepted) << c.label;
  if (problem) {
    EXPECT_NE(problem->message().find(c.messagePart), std::string::npos) << problem->message();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NameRules,
    ::testing::Values(
        NameCase{"empty", "", true, ""}, NameCase{"blanks only", "   ", true, ""},
        NameCase{"letters and blanks", " ana  marija ", true, ""},
        NameCase{"100 letters", std::string(100, 'q'), true, ""},
        NameCase{"101 letters", std::string(101, 'q'), false, "101 characters"},
        NameCase{"upper case", "Abc", false, "'A' (U+0041) at position 1"},
        NameCase{"digit", "abc1", false, "'1' (U+0031) at position 4"},
        NameCase{"hyphen", "a-b", false, "'-' (U+002D) at position 2"},
        NameCase{"full stop", "abc.", false, "position 4"},
        NameCase{"tab", "a\tb", false, "U+0009 at position 2"},
        NameCase{"NUL byte", std::string("ab\0c", 4), false, "U+0000 at position 3"},
        NameCase{"c with caron", "a\xC4\x8D", false, "U+010D at position 2"},
        NameCase{"position counts characters", "\xC4\x8D" "a-", false, "U+010D at position 1"},
        NameCase{"lone continuation byte", "ab\x80", false, "byte 0x80 at byte position 3"},
        NameCase{"cut-off sequence", "ab\xC4", false, "byte 0xC4 at byte position 3"},
        NameCase{"overlong encoding", "\xC0\xA0", false, "not valid UTF-8"},
        NameCase{"surrogate", "\xED\xA0\x80", false, "not valid UTF-8"},
        NameCase{"101 characters with a bad one: length first", std::string(100, 'a') + "A", false,
                 "101 characters"}));

TEST(FileStem, BlanksBecomeUnderscoresEmptyIsCard) {
  EXPECT_EQ(fileStemOf("ana marija"), "ana_marija");
  EXPECT_EQ(fileStemOf(" a "), "_a_");
  EXPECT_EQ(fileStemOf(""), "card");
}

}  // namespace
}  // namespace greetcard
