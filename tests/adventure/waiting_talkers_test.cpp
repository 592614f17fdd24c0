// The main adventure's talkers who wait for the story: they speak on sight
// once, then only when spoken to (Mara a talker who sees nobody, Hob a
// friend), and on sight again once the story has moved on, by the compiled
// scripts of the game folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>

#include "adventure/quest_journal.h"
#include "adventure/script_fixture.h"
#include "frontend/creature_roster.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace {

constexpr int kPennick = 22, kHob = 27;
constexpr int kSerenneDead = 25, kGnollsDealt = 27, kDroverFreed = 28;
// Quest journal entries: the Red Banner and three of its stages.
constexpr int kTheRedBanner = 1, kSerenneFallen = 7, kKeepReached = 8, kPennicksHome = 15;

class WaitingTalkers : public scriptfixture::ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", "FullVersion"), 1);
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "FullVersion");
  }

  void Run(const char* script, std::initializer_list<int32_t> answers = {1, 1, 1}) {
    scriptfixture::Answer(answers);
    char path[260];
    std::snprintf(path, sizeof path, "Scripts\\FullVersion\\%s.mls", script);
    ASSERT_EQ(RunScriptFile(path), 1) << script;
  }
};

TEST_F(WaitingTalkers, MaraPennickWhispersOnceAndSpeaksAgainWhenSerenneFalls) {
  ASSERT_EQ(Creatures[kPennick].allegiance, kAllegianceTalker);
  const int32_t sight = Creatures[kPennick].sight;
  ASSERT_GT(sight, 0);
  // She waits as a talker who sees nobody: no friend to join the tomb's fights.
  Run("Pennick");
  EXPECT_EQ(Creatures[kPennick].allegiance, kAllegianceTalker);
  EXPECT_EQ(Creatures[kPennick].sight, 0);
  EXPECT_EQ(Creatures[kPennick].present, 1);
  Run("Serenne", {2});
  EXPECT_EQ(Creatures[kPennick].allegiance, kAllegianceTalker);
  Run("Pennick");
  Run("Map23_Death1");
  EXPECT_EQ(GameFlags[kSerenneDead], 1u);
  EXPECT_EQ(Creatures[kPennick].allegiance, kAllegianceTalker);
  EXPECT_EQ(Creatures[kPennick].sight, sight) << "she speaks on sight again";
  Run("Pennick");  // she thanks the party and goes home
  EXPECT_EQ(Creatures[kPennick].present, 0);
  // The journal no longer keeps the family in their cell: their going home
  // is the quest's pending stage, the letter's stage done.
  EXPECT_EQ(QuestJournal[kSerenneFallen].state, kJournalCompleted);
  EXPECT_EQ(QuestJournal[kPennicksHome].state, kJournalStarted);
  EXPECT_EQ(QuestJournal[kPennicksHome].value, static_cast<uint32_t>(kTheRedBanner));

  // Freed only after the party has reached Blackmoor: the keep stays the
  // pending stage and their going home is written as past.
  Creatures[kPennick].present = 1;
  QuestJournal[kPennicksHome] = ResetJournalEntry();
  Run("Map25_1");
  ASSERT_EQ(QuestJournal[kKeepReached].state, kJournalStarted);
  Run("Pennick");
  EXPECT_EQ(QuestJournal[kKeepReached].state, kJournalStarted);
  EXPECT_EQ(QuestJournal[kPennicksHome].state, kJournalCompleted);
}

TEST_F(WaitingTalkers, HobHissesOnceAndSpeaksAgainWhenTheGnollsAreDealtWith) {
  for (const bool paid : {true, false}) {
    SCOPED_TRACE(paid ? "the gnolls paid off" : "the gnolls fought");
    GameFlags[kGnollsDealt] = 0;
    Creatures[kHob].allegiance = kAllegianceTalker;
    Run("Hob");
    EXPECT_EQ(Creatures[kHob].allegiance, kAllegianceAllyOther);
    EXPECT_EQ(GameFlags[kDroverFreed], 0u);
    PartyGold = 500;
    Run("Packleader", {paid ? 1 : 2, 1});
    EXPECT_EQ(Creatures[kHob].allegiance, kAllegianceTalker);
    if (!paid) Run("Map24_Death2");
    EXPECT_EQ(GameFlags[kGnollsDealt], 1u);
  }
  Run("Hob");  // cut loose at last
  EXPECT_EQ(GameFlags[kDroverFreed], 1u);
  EXPECT_EQ(Creatures[kHob].present, 0);
}

}  // namespace
