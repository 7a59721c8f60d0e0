#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "seeding/name.h"

namespace greetcard {
namespace {

struct SeedCase {
  std::string name;
  std::int32_t seed;
};

void PrintTo(const SeedCase& c, std::ostream* os) { *os << "seed " << c.seed; }

class SeedTable : public ::testing::TestWithParam<SeedCase> {};

TEST_P(SeedTable, SeedMatches) {
  const auto& c = GetParam();
  ASSERT_FALSE(checkName(c.name).has_value()) << c.name;
  EXPECT_EQ(seedOf(c.name), c.seed);
}

INSTANTIATE_TEST_SUITE_P(Names, SeedTable,
                         ::testing::Values(SeedCase{"", 234567}, SeedCase{" ", 234600},
                                           SeedCase{"a", 234665}, SeedCase{"abc", 235476},
                                           SeedCase{"cba", 235476}, SeedCase{"ana", 235506},
                                           SeedCase{" abc", 235935}, SeedCase{"abc ", 235935},
                                           SeedCase{std::string(100, ' '), 1554567},
                                           SeedCase{std::string(100, 'z'), 2454567}));

}  // namespace
}  // namespace greetcard
