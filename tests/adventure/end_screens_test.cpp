// The end screens in the running game: a won battle's awards, gold and
// spoils; a lost battle and the end of the introductory adventure going back
// to the main menu with the game given up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adventure/end_screens.h"
#include "adventure/scripts.h"
#include "combat/actions/start_of_combat.h"
#include "creatures/creature_kinds.h"
#include "creatures/treasure_rows.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "frontend/fade_screens.h"
#include "harness/harness.h"
#include "harness/play_verbs.h"
#include "harness/test_scenes.h"
#include "map/map_record.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "map/square_grids.h"
#include "rules/formation.h"
#include "screens/game/creature_figures.h"
#include "script_fixture.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace {

constexpr uint32_t kGold = kFirstBaseItemCode + kGoldCoinsRow;
constexpr uint32_t kArrows = 5001;      // arrows do not lie in piles
constexpr uint32_t kPiledGems = 5486;   // a kind that does
constexpr uint32_t kSword = 5010;
constexpr int kChief = scenes::kFirstFoe, kRaider = scenes::kFirstFoe + 1;

// Four knights of level 3 (the last one dead) who have just beaten two orcs
// carrying gold, the chief with a death script, as combat leaves them.
void LayOutWonBattle() {
  scenes::LayOutGround(9, 6);
  for (int m = 0; m < 4; ++m) scenes::AddKnight(m, 1 + m, 4);
  scenes::AddFoe(kChief, kKindOrc, 1, 1);
  scenes::AddFoe(kRaider, kKindOrc, 3, 1);
  scenes::Finish();
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "Tests");
  for (int id : {kChief, kRaider}) {  // no gear of the orcs' own, which is drawn at random
    for (uint32_t& code : Creatures[id].equipment) code = 0;
    for (ItemPair& pair : Creatures[id].carried) pair = {};
  }
  Creatures[kChief].carried[0] = {kGold, 30};
  Creatures[kChief].scriptWords[kScriptWordDeathScript] = 5;
  Creatures[kRaider].carried[0] = {kGold, 12};
  Creatures[kChief].equipment[kSlotRightHand - 1] = kSword;
  Creatures[kRaider].carried[1] = {kPiledGems, 20};
  Creatures[kRaider].carried[2] = {kArrows, 20};
  for (int id : {kChief, kRaider}) Creatures[id].hitPoints = -12;
  AddCondition(3, kCondDead, kDurationLasting, 0, 0, 0);
  CombatParticipants[0] = kChief;
  CombatParticipants[1] = kRaider;
  CombatParticipantCount = 2;
  for (int32_t& n : EncounterRatingCounts) n = 0;
  EncounterRatingCounts[1] = 2;  // two enemies of challenge rating 1
  ScreenMode = kModeVictory;
  FadeOut = 0;
}

// Object codes lying on the current map.
std::vector<int32_t> ObjectsOnMap() {
  std::vector<int32_t> codes;
  for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer)
    for (int i = 0; i < kMapSquares; ++i)
      if (CurrentMap.layers[layer][i] != 0) codes.push_back(CurrentMap.layers[layer][i]);
  return codes;
}

bool Contains(const std::vector<int32_t>& codes, int32_t code) {
  for (int32_t c : codes)
    if (c == code) return true;
  return false;
}

void PressSpace() {
  harness::KeyDown("Space");
  harness::StepFrames(1);
  harness::KeyUp("Space");
  harness::StepFrames(1);
}

TEST(EndScreens, AWonBattleHandsOutAwardsGoldAndSpoilsAndRunsItsScriptsOnce) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(1));
  LayOutWonBattle();
  IntroductoryAdventureFlag = 1;
  Creatures[0].experience = 3 * 4 * 500 - 200;  // the award reaches level 4
  const int32_t before1 = Creatures[1].experience, before3 = Creatures[3].experience;
  const uint32_t gold = PartyGold;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "DrawVictoryScreen");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "victory"), 0);

  // Space takes the screen; the chief's death script asks its question.
  ASSERT_TRUE(harness::QueueBoxKey("1"));
  PressSpace();
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(Creatures[0].experience, 6000) << "300 for each of two orcs, shared by three";
  EXPECT_EQ(Creatures[1].experience, before1 + 200);
  EXPECT_EQ(Creatures[3].experience, before3) << "the dead earn nothing";
  EXPECT_EQ(PartyGold, gold + 42);
  EXPECT_EQ(GameFlags[4], 1u);
  EXPECT_EQ(GameFlags[40], 1u) << "the level-up script ran";
  EXPECT_EQ(GameFlags[41], 1u) << "the death script ran and its box was answered";
  EXPECT_EQ(Creatures[kChief].present, 0);
  EXPECT_EQ(Creatures[kRaider].present, 0);
  const std::vector<int32_t> spoils = ObjectsOnMap();
  EXPECT_TRUE(Contains(spoils, StackedItemMapCode(20, kPiledGems))) << "the gems lie as one pile";
  EXPECT_TRUE(Contains(spoils, static_cast<int32_t>(kSword)));
  EXPECT_EQ(spoils.size(), 2u) << "neither the gold nor the arrows, which do not pile, are laid";
  EXPECT_EQ(Creatures[kChief].equipment[kSlotRightHand - 1], 0u) << "the sword laid is the chief's no more";
  EXPECT_EQ(Creatures[kRaider].carried[2].code, kArrows) << "the arrows, not laid, stay with the raider";

  // Another victory: the level-up script has had its run.
  Creatures[1].experience = 100000;
  ScreenMode = kModeVictory;
  ASSERT_TRUE(harness::QueueBoxKey("1"));
  PressSpace();
  EXPECT_EQ(GameFlags[40], 1u);
  // Nor does it run in the main adventure.
  GameFlags[4] = 0;
  IntroductoryAdventureFlag = 0;
  ScreenMode = kModeVictory;
  ASSERT_TRUE(harness::QueueBoxKey("1"));
  PressSpace();
  EXPECT_EQ(GameFlags[40], 1u);
  harness::StopGame();
}

// The battle won with the leader's back to a wall, so that the party's places
// behind him are walled off, and Berta knocked out: she stands again, and
// every standing member has a square of its own and is drawn from the first
// frame after the victory screen.
TEST(EndScreens, AfterTheBattleEveryStandingMemberIsDrawnOnASquareOfItsOwn) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(1));
  LayOutWonBattle();
  Creatures[kChief].scriptWords[kScriptWordDeathScript] = 0;
  SetPartyLine();
  for (int x = 0; x < 9; ++x) scenes::SetWall(x, 5, 46);
  BuildOccupancyGrids(0);
  Creatures[0].facing = 1;
  Creatures[1].hitPoints = -3;
  Creatures[1].present = 0;
  AddCondition(1, kCondUnconscious, 3000, 0, 0, 0);
  ASSERT_TRUE(harness::StepFrames(1));
  PressSpace();
  ASSERT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(Creatures[1].hitPoints, 1);
  for (int m = 0; m < 3; ++m) {
    EXPECT_NE(ScreenPosX[m], -1) << m << " is not drawn";
    for (int other = 0; other < m; ++other)
      EXPECT_FALSE(Creatures[m].squareX == Creatures[other].squareX && Creatures[m].squareY == Creatures[other].squareY)
          << m << " stands on " << other << "'s square";
  }
  harness::StopGame();
}

// The battle won with the leader fallen, dead at -10 or turned to stone, as
// combat leaves him (off the map): the first standing member leads from the
// victory screen on, and a click on open ground walks the party there.
TEST(EndScreens, AfterABattleWonWithTheLeaderFallenTheFirstStandingMemberLeadsTheWalk) {
  ASSERT_TRUE(harness::StartGame());
  for (const bool petrified : {false, true}) {
    SCOPED_TRACE(petrified ? "petrified" : "dead");
    ASSERT_TRUE(harness::StepFrames(1));
    LayOutWonBattle();
    Creatures[kChief].scriptWords[kScriptWordDeathScript] = 0;
    const std::string second = Creatures[1].name;
    if (petrified) {
      AddCondition(0, kCondPetrified, kDurationLasting, 0, 0, 0);
    } else {
      Creatures[0].hitPoints = -10;
      AddCondition(0, kCondDead, kDurationLasting, 0, 0, 0);
    }
    Creatures[0].present = 0;
    ASSERT_TRUE(harness::StepFrames(1));
    PressSpace();
    ASSERT_EQ(ScreenMode, kModeExploring);
    EXPECT_EQ(Creatures[0].name, second);
    ASSERT_EQ(playverbs::ClickSquare(7, 2), "");
    ASSERT_TRUE(harness::StepFrames(60));
    EXPECT_EQ(Creatures[PartyLeader].squareX, 7);
    EXPECT_EQ(Creatures[PartyLeader].squareY, 2);
  }
  harness::StopGame();
}

TEST(EndScreens, VictoryAwardsOfTheEdgeCases) {
  LayOutWonBattle();
  int32_t awards[4];
  EXPECT_EQ(ComputeVictoryAwards(awards), 3);
  EXPECT_EQ(awards[0], 200);
  EXPECT_EQ(awards[3], 0);
  AlliesJoined = 1;
  ComputeVictoryAwards(awards);
  EXPECT_EQ(awards[0], 120) << "allies take their share";
  AlliesJoined = 0;
  // Enemies too weak to count: each living member still gets 25.
  Creatures[0].level = 20;
  ComputeVictoryAwards(awards);
  EXPECT_EQ(awards[0], 25);
  // With nobody alive there is nothing to share out.
  for (int m = 0; m < 3; ++m) AddCondition(m, kCondDead, kDurationLasting, 0, 0, 0);
  EXPECT_EQ(ComputeVictoryAwards(awards), 0);
  for (int32_t a : awards) EXPECT_EQ(a, 0);
  // A Dead condition that has run out, or one after an empty slot, does not count.
  ConditionEntry& dead = Creatures[1].conditions[FindCondition(1, kCondDead)];
  dead.duration = 0;
  EXPECT_TRUE(MemberIsAlive(1));
  for (ConditionEntry& e : Creatures[2].conditions) e = ConditionEntry{};
  Creatures[2].conditions[1] = ConditionEntry{kCondDead, kDurationLasting, 0, 0, 0};
  EXPECT_TRUE(MemberIsAlive(2));
}

TEST(EndScreens, ExperienceTableRowsOfTheRules) {
  const std::vector<int32_t> low = {300, 600, 900, 1350, 1800, 2700, 3600, 5400, 7200};
  const std::vector<int32_t> ten = {0, 0, 250, 375, 500, 750, 1000, 1500, 2000, 3000, 4500, 6000, 9000, 12000,
                                    18000, 24000};
  const std::vector<int32_t> twenty = {500, 750, 1000, 1500, 2000, 3000, 4000, 6000, 9000, 12000, 18000, 24000,
                                       36000, 48000};
  for (int k = 0; k < kXPRatings; ++k) {
    EXPECT_EQ(XPTable[0][k], 0);
    for (int level = 1; level <= 3; ++level)
      EXPECT_EQ(XPTable[level][k], k < 9 ? low[k] : 10800) << level << " " << k;
    EXPECT_EQ(XPTable[10][k], k < 16 ? ten[k] : 36000) << k;
    EXPECT_EQ(XPTable[20][k], k < 12 ? 0 : k < 26 ? twenty[k - 12] : 72000) << k;
  }
}

TEST(EndScreens, NoGoldFoundDrawsNeitherTheGoldLineNorTheCoin) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(1));
  LayOutWonBattle();
  for (int id : {kChief, kRaider}) Creatures[id].carried[0] = {};
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  ASSERT_TRUE(harness::StepFrames(1));
  RecordSheetDraws(nullptr);
  EXPECT_STREQ(LastScreenDrawn, "DrawVictoryScreen");
  EXPECT_EQ(GoldOfDefeatedEnemies(), 0);
  for (const SheetDraw& d : draws) EXPECT_FALSE(d.slot == 19 && d.frame == 80) << "a coin at " << d.x;
  harness::StopGame();
}

TEST(EndScreens, ALostBattleShowsTheDefeatAndGoesBackToTheMainMenu) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(2));
  ASSERT_TRUE(scenes::LayOutScene("skirmish"));
  GameRunningFlag = 1;
  for (int i = 0; i < 10 && InCombat == 0; ++i) harness::StepFrames(1);
  ASSERT_EQ(InCombat, 1u);
  for (int m = 0; m < 4; ++m) {
    Creatures[m].hitPoints = -20;
    RemoveFromCombat(m, -1);
  }
  CheckEndOfCombat();
  ASSERT_EQ(ScreenMode, kModeDefeat);
  FadeOut = 0;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "DrawDefeatScreen");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "defeat"), 0);
  harness::Click(160, 120);
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(PageHistory[0].type, kPageMainMenu);
  EXPECT_STREQ(PageHistory[0].caption, "TITLE SCREEN");
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(TurnEntryCount, 0);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(GameRunningFlag, 0) << "the lost game cannot be taken up again";
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "DrawMainMenuScreen");
  harness::StopGame();
}

TEST(EndScreens, TheScriptsEndOfTheAdventureShowsItsScreenUntilAClick) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(2));
  scenes::LayOutGround(9, 6);
  for (int m = 0; m < 4; ++m) scenes::AddKnight(m, 1 + m, 4);
  scenes::Finish();
  IntroductoryAdventureFlag = 1;
  GameRunningFlag = 1;
  scriptfixture::RunSource("end_introduction\n");
  SpellInProgress = 7;
  FadeOut = 0;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(ScreenMode, kModeEndOfIntro);
  EXPECT_STREQ(LastScreenDrawn, "DrawEndOfDemoScreen");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "end_of_demo"), 0);
  PressSpace();
  EXPECT_EQ(ScreenMode, kModeEndOfIntro) << "only a click leaves this screen";
  harness::Click(160, 120);
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageHistory[0].type, kPageMainMenu);
  EXPECT_EQ(GameRunningFlag, 0);
  EXPECT_EQ(SpellInProgress, 7) << "the pending spell is left alone here";
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "DrawMainMenuScreen");
  harness::StopGame();
}

}  // namespace
