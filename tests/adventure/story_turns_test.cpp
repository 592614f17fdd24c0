// Turns of both adventures' stories as their built scripts tell them in the
// running game, answered box by box: a chief who falls is gone from his
// square before the box tells of his fall, and the words of his guards
// yielding come only while one of them still stands; Mother Isolt's remedy
// is carried as a remedy, and Odran takes it (also as the letter a game
// saved before holds) in boxes that keep off the box's fifth line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "adventure/dialogue.h"
#include "engine/linked_text.h"
#include "engine/reset_words.h"
#include "frontend/creature_roster.h"
#include "harness/harness.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "script_fixture.h"
#include "state/game_flags.h"

namespace {

constexpr uint32_t kLetter = 5521;  // what the remedy was carried as before it had a row of its own
constexpr int kHermitHelped = 32, kPostern = 33;

class StoryTurns : public scriptfixture::ScriptTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ASSERT_TRUE(harness::StepFrames(1));
    ScriptTest::SetUp();
    ASSERT_EQ(LoadItemTable(), 1);
  }
  void TearDown() override {
    harness::SetBoxIdleHandler(nullptr);
    ScriptTest::TearDown();
    harness::StopGame();
  }

  // The adventure's prepared people, its flags cleared.
  static void Begin(const char* adventure) {
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", adventure), 1);
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s", adventure);
    ResetWords(GameFlags);
  }

  // Runs the adventure's script; each box calls seen (while it is shown)
  // and takes the next of answers, then answer 1. The texts of the boxes, in
  // order.
  static std::vector<std::string> Run(const char* script, const std::function<void()>& seen = [] {},
                                      std::vector<const char*> answers = {}) {
    std::vector<std::string> texts;
    harness::SetBoxIdleHandler([&] {
      texts.emplace_back(DialogueText);
      seen();
      harness::QueueBoxKey(texts.size() <= answers.size() ? answers[texts.size() - 1] : "1");
    });
    char path[260];
    std::snprintf(path, sizeof path, "Scripts\\%s\\%s.mls", AdventureFolder, script);
    EXPECT_EQ(RunScriptFile(path), 1) << script;
    harness::SetBoxIdleHandler(nullptr);
    return texts;
  }

  static std::vector<uint32_t> PartyItems() {
    std::vector<uint32_t> codes;
    for (int m = 0; m < 4; ++m)
      for (const ItemPair& pair : Creatures[m].carried)
        if (pair.code != 0) codes.push_back(pair.code);
    return codes;
  }
};

// The death scripts run while the battle still shows the fallen: the script
// itself takes him off, and only guards still on their feet (present) may
// be told to yield or flee.
TEST_F(StoryTurns, AFallenChiefIsGoneBeforeTheWordsAndOnlyStandingGuardsYield) {
  struct Fall {
    const char* adventure;
    const char* script;
    int chief, firstGuard, lastGuard;
    const char* yielding;  // the words of the guards' yielding
  };
  const Fall falls[] = {
      {"FullVersion", "Map26_Death1", 35, 36, 39, "throw down"},  // Varek Ironbrand, his guard and warlock
      {"DemoVersion", "Map24_Death1", 18, 19, 20, "club"},        // Grask Red-Hand and his two guards
      {"FullVersion", "Map23_Death1", 20, 21, 21, "acolyte"},     // Serenne and her acolyte
  };
  for (const Fall& fall : falls) {
    const int guards = fall.lastGuard - fall.firstGuard + 1;
    for (int standing = 0; standing <= guards; ++standing) {
      SCOPED_TRACE(std::string(fall.script) + ", guards standing: " + std::to_string(standing));
      Begin(fall.adventure);
      Creatures[fall.chief].present = 1;
      for (int g = fall.firstGuard; g <= fall.lastGuard; ++g)
        Creatures[g].present = g - fall.firstGuard < standing ? 1 : 0;
      int chiefShown = -1;
      const std::vector<std::string> texts = Run(fall.script, [&] { chiefShown = Creatures[fall.chief].present; });
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(chiefShown, 0) << "the fallen still stood on his square while the box told of his fall";
      EXPECT_EQ(texts[0].find(fall.yielding) != std::string::npos, standing > 0) << texts[0];
      for (int g = fall.firstGuard; g <= fall.lastGuard; ++g) EXPECT_EQ(Creatures[g].present, 0) << g;
    }
  }
}

// Mother Isolt hands over a remedy, which is what the party then carries;
// Odran takes it, or the letter it was carried as in a game saved before, and
// tells of the postern; both speak in boxes of at most four lines beside
// their portraits.
TEST_F(StoryTurns, IsoltsRemedyIsCarriedAsOneAndOdranTakesItInBoxesOfFourLines) {
  std::vector<int> overflows;
  const auto measure = [&] {
    DrawLinkedText(DialogueText, 0, 6, 1, 37, 4, 0, 1, 1, 0);  // beside the portrait, rows 1 to 4
    overflows.push_back(LinkedTextOverflow);
  };
  const auto expectFourLines = [&](const std::vector<std::string>& texts) {
    ASSERT_EQ(texts.size(), overflows.size());
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(overflows[i], 1) << "runs to a fifth line: " << texts[i];
    overflows.clear();
  };
  Begin("FullVersion");
  const std::vector<uint32_t> before = PartyItems();
  // Her welcome, the remedy asked for and given, a healing; then the
  // reminder while the party carries it, and her word once Odran is well.
  expectFourLines(Run("Priestess", measure, {"1", "1", "3", "1", "1"}));  // "Go on." twice, "Can we help the temple?", "Go on.", "We will."
  std::vector<uint32_t> given = PartyItems();
  expectFourLines(Run("Priestess", measure, {"1", "1"}));  // "Heal us and let us rest.", "Thank you."
  expectFourLines(Run("Priestess", measure, {"3", "1"}));  // the reminder, "We will."
  GameFlags[kHermitHelped] = 1;
  expectFourLines(Run("Priestess", measure, {"3", "1", "4"}));  // Odran on his feet, "Go on.", "Nothing now."
  GameFlags[kHermitHelped] = 0;
  for (const uint32_t code : before) std::erase(given, code);
  ASSERT_EQ(given.size(), 1u);
  const uint32_t remedy = given[0];
  ASSERT_GE(remedy, kFirstBaseItemCode);
  EXPECT_NE(std::string(ItemTable[remedy - kFirstBaseItemCode].name).find("Remedy"), std::string::npos)
      << ItemTable[remedy - kFirstBaseItemCode].name;

  for (const uint32_t carried : {remedy, kLetter}) {
    SCOPED_TRACE(carried == kLetter ? "a letter from a game saved before" : "the remedy");
    GameFlags[kHermitHelped] = GameFlags[kPostern] = 0;
    for (int m = 0; m < 4; ++m)
      for (ItemPair& pair : Creatures[m].carried)
        if (pair.code == remedy || pair.code == kLetter) pair = ItemPair{};
    Creatures[0].carried[0] = ItemPair{carried, 1};
    expectFourLines(Run("Odran", measure));
    EXPECT_EQ(GameFlags[kPostern], 1u) << "Odran took it and told of the postern";
    const std::vector<uint32_t> left = PartyItems();
    EXPECT_EQ(std::count(left.begin(), left.end(), remedy) + std::count(left.begin(), left.end(), kLetter), 0);
  }
}

}  // namespace
