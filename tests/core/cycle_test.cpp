// The paint cycle driven headless: the prompt, refusals, the recipe it paints
// and the snapshot name it stamps.
#include <gtest/gtest.h>

#include "form/cycle.h"
#include "platform/headless.h"

namespace greetcard {
namespace {

TEST(PaintCycle, RefusedAnswersReopenThePromptUntilOneIsAccepted) {
  HeadlessServices services;
  for (const char* answer : {"Abc", "abc1", "a-b", "a\tb", "\xC4\x8D"}) services.answer(answer);
  services.answer(std::string(101, 'a'));
  services.answer(std::string(100, 'a'));
  PaintCycle cycle(services);
  ASSERT_TRUE(cycle.run());
  EXPECT_EQ(services.promptsOpened(), 7);
  EXPECT_EQ(cycle.state().t, std::string(100, 'a'));
  EXPECT_EQ(cycle.state().dolz, 100);
}

TEST(PaintCycle, PaintsTheArtOfTheAcceptedName) {
  HeadlessServices services;
  services.answer("ana");
  PaintCycle cycle(services);
  cycle.run();
  EXPECT_EQ(cycle.state().seed, 235506);
  EXPECT_TRUE(cycle.picture() == renderArt(makeRecipe("ana")));
}

TEST(PaintCycle, CancelGivesTheEmptyName) {
  HeadlessServices services;  // no answers queued: the prompt is cancelled
  PaintCycle cycle(services);
  cycle.run();
  EXPECT_EQ(cycle.state().t, "");
  EXPECT_EQ(cycle.state().seed, 234567);
  EXPECT_TRUE(cycle.picture() == renderArt(makeRecipe("")));
}

TEST(PaintCycle, RepeatWithTheSameNameGivesTheSamePicture) {
  HeadlessServices services;
  services.answer("marko");
  services.answer("ana");
  services.answer("marko");
  PaintCycle cycle(services);
  cycle.run();
  const Canvas first = cycle.picture();
  cycle.run();
  cycle.run();
  EXPECT_TRUE(cycle.picture() == first);
}

TEST(PaintCycle, StampsTheSnapshotNameFromOneClockReading) {
  HeadlessServices services;
  services.answer("ana");
  services.setClock({2010, 1, 3, 17, 5, 9});
  PaintCycle cycle(services);
  cycle.run();
  EXPECT_EQ(cycle.state().imeslike, "T20100103170509");
}

TEST(PaintCycle, PrintsTheGreetingTwiceAndTheAsteriskOnce) {
  struct Recorder : HeadlessServices {
    std::vector<std::tuple<int, int, std::uint32_t, std::string>> texts;
    int asterisks = 0;
    void printText(Canvas&, int x, int y, std::uint32_t colour, std::string_view text) override {
      texts.emplace_back(x, y, colour, std::string(text));
    }
    void printOnWindow(int x, int y, std::string_view text) override {
      if (x == 1 && y == 1 && text == "*") ++asterisks;
    }
  } services;
  services.answer("ana");
  PaintCycle cycle(services);
  cycle.run();
  const std::string line = "ana, I wish you a happy new year 2010      greetcard.example.org";
  ASSERT_EQ(services.texts.size(), 2u);
  EXPECT_EQ(services.texts[0], std::make_tuple(10, 490, kBlack, line));
  EXPECT_EQ(services.texts[1], std::make_tuple(11, 491, kWhite, line));
  EXPECT_EQ(services.asterisks, 1);
}

}  // namespace
}  // namespace greetcard
