#include "frontend/game_reset.h"
#include "engine/sound.h"
#include "map/square_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "combat/actions/combat_actions.h"
#include "state/turn_order.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "state/combat_events.h"

namespace {

constexpr int kWalker = 20;
constexpr int kFireImmunity = kProtFirstImmunity + 15;
constexpr int kHamperingImmunity = kProtFirstImmunity + 21;

class SquareEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    EventDisplayTime = 3;
    mapfixture::DrawMap({"......", "......", "......"});
    mapfixture::PlaceFighter(kWalker, 2, 1);
    CreatureRecord& c = Creatures[kWalker];
    std::strcpy(c.name, "Orc");
    c.hitPoints = c.maxHitPoints = 30;
    c.baseHitPoints = 30;
    for (StatPair* a : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *a = {10, 10};
    c.level = c.effectiveLevel = 1;
    c.size = {3, 3};
    c.reflex = {0, 0};
    c.kind = 5;
    c.allegiance = kAllegianceEnemy;
    mapfixture::StartTestCombat();  // the areas' conditions last only in combat
    ClearMessageLog();
  }
  void TearDown() override { InCombat = 0; }
  static void Put(int x, int y, uint32_t kind, int32_t value, uint32_t rounds = 5) {
    MagicAreaGrid[SquareIndex(x, y)] = {kind, rounds, value};
  }
  // Calls the arrival every frame until it is done; the frames it took.
  static int RunArrival(int limit = 200) {
    int frames = 0;
    while (frames < limit && EnterSquareHazards(kWalker) == 1) ++frames;
    return frames;
  }
  static std::string Log() { return MessageLogText; }
  // Seeds the generator so that the next RandomUpTo(n) gives want.
  static void SeedFor(uint32_t n, uint32_t want) {
    for (uint32_t seed = 1; seed < 100000; ++seed) {
      SeedRandomForTests(seed);
      if (RandomUpTo(n) == want) {
        SeedRandomForTests(seed);
        return;
      }
    }
    FAIL() << "no seed";
  }
};

TEST_F(SquareEntry, DarknessIsShownBeforeTheWebSaveOfALaterFrame) {
  Put(2, 1, kEffectDarkness, 0);
  MagicAreaGrid[SquareIndex(2, 1)].kind = kEffectDarkness;
  // Darkness and web on neighbouring footprint squares of a 2 x 1 walker.
  Creatures[kWalker].footprintWidth = {2, 2};
  Put(3, 1, kEffectWeb, 15);
  SeedFor(19, 9);  // a 10: 10 + 0 + 0 fails against 15

  ASSERT_EQ(EnterSquareHazards(kWalker), 1);
  EXPECT_EQ(HazardStep, 3);
  EXPECT_EQ(CombatEvents[0].type, kEventCondition);
  EXPECT_EQ(CombatEvents[0].sound, kSampleMagic7);
  EXPECT_GE(FindCondition(kWalker, kCondConcealedByDarkness), 0);
  EXPECT_GE(FindCondition(kWalker, kCondCantSee), 0);
  EXPECT_EQ(Log().find("SAVING_THROW"), std::string::npos) << "no save in the darkness frame";

  RunArrival();
  const std::string log = Log();
  const size_t dark = log.find("@UNABLE_TO_SEE@"), save = log.find("@SAVING_THROW@");
  ASSERT_NE(dark, std::string::npos);
  ASSERT_NE(save, std::string::npos);
  EXPECT_LT(dark, save);
  EXPECT_NE(log.find("Save failed (DC \xA3" "15\xA3)"), std::string::npos);
  // The web entangled it first (the step before the save), so the failed save makes it stuck.
  EXPECT_NE(log.find("\xA3Orc\xA3 becomes @ENTANGLED@."), std::string::npos);
  EXPECT_NE(log.find("\xA3Orc\xA3 becomes @STUCK@."), std::string::npos);
  EXPECT_GE(FindCondition(kWalker, kCondStuck), 0);
  EXPECT_EQ(CombatAction.movesLeft, 0);
  EXPECT_EQ(HazardStep, 0);
  EXPECT_EQ(CombatRollCount, 1);
  EXPECT_EQ(std::string(CombatRollLog[0].caption), "Reflex Saving Throw");
}

TEST_F(SquareEntry, ANaturalTwentyAlwaysEscapesTheWeb) {
  Put(2, 1, kEffectWeb, 99);
  Creatures[kWalker].conditions[0] = {105, 1, 21, 0, 0};  // already entangled
  SeedFor(19, 19);
  RunArrival();
  EXPECT_NE(Log().find("\xA3" "Automatic_success\xA3 (roll of 20)."), std::string::npos);
  EXPECT_LT(FindCondition(kWalker, kCondStuck), 0) << "not stuck";
}

TEST_F(SquareEntry, ANaturalOneAlwaysFails) {
  Put(2, 1, kEffectWeb, 1);
  Creatures[kWalker].reflex = {30, 30};
  SeedFor(19, 0);
  RunArrival();
  EXPECT_NE(Log().find("\xA3" "Automatic_failure\xA3 (roll of 1)."), std::string::npos);
  EXPECT_GE(FindCondition(kWalker, kCondStuck), 0);
}

TEST_F(SquareEntry, FireResistanceTakesSevenDamageToZero) {
  Put(2, 1, kEffectFire, 4);
  Creatures[kWalker].protections[kProtResistFire] = {10, 10};
  SeedFor(7, 2);  // 1d8 gives 3; with the wall's 4, 7 damage
  RunArrival();
  EXPECT_NE(Log().find("Damage reduction reduced @WALL_OF_FIRE@ damage to zero."), std::string::npos);
  EXPECT_EQ(Creatures[kWalker].hitPoints, 30);
}

TEST_F(SquareEntry, WallOfFireDamageIsLoggedWithItsRoll) {
  Put(2, 1, kEffectFire, 4);
  SeedFor(7, 2);
  ASSERT_EQ(EnterSquareHazards(kWalker), 1);
  EXPECT_EQ(CombatEvents[0].type, kEventFireDamage);
  EXPECT_EQ(CombatEvents[0].value, 7);
  EXPECT_EQ(CombatEvents[0].sound, kSampleMagic20);
  EXPECT_EQ(Creatures[kWalker].hitPoints, 23);
  EXPECT_NE(Log().find("\xA3Orc\xA3 loses @7|00@ @HP@ (\xA3" "Fire\xA3)."), std::string::npos);
  EXPECT_EQ(std::string(CombatRollLog[0].caption), "Wall of Fire Damage Roll");
  RunArrival();
  EXPECT_EQ(HazardStep, 0);
}

// A plague's bite that takes the last hit point fells the walker as fire does.
TEST_F(SquareEntry, APlagueBiteOnTheLastHitPointFells) {
  Put(2, 1, kEffectInsectPlague, 0);
  Creatures[kWalker].hitPoints = 1;
  RunArrival();
  EXPECT_EQ(Creatures[kWalker].hitPoints, 0);
  EXPECT_EQ(TurnEntryCount, 0);
  EXPECT_NE(Log().find("\xA3Orc\xA3 dies."), std::string::npos);
}

TEST_F(SquareEntry, FlyersAndDrenchingCreaturesAtTheFire) {
  struct Case {
    int32_t kind;
    uint32_t rounds;
    const char* text;
    bool hurt;
    bool cellCleared;
  } cases[] = {
      {1, 5, "flies over the magical fire.", false, false},
      {1, 1000, "flies over the brazier.", false, false},
      {88, 5, "@DRENCH@: \xA3Orc\xA3 dispels the magical fire.", false, true},
      {88, 1000, "loses @", true, false},
  };
  for (const Case& k : cases) {
    SetUp();
    Creatures[kWalker].kind = k.kind;
    Put(2, 1, kEffectFire, 0, k.rounds);
    RunArrival();
    EXPECT_NE(Log().find(k.text), std::string::npos) << k.kind << " " << k.rounds;
    EXPECT_EQ(Creatures[kWalker].hitPoints < 30, k.hurt) << k.kind << " " << k.rounds;
    EXPECT_EQ(MagicAreaGrid[SquareIndex(2, 1)].kind == kEffectNone, k.cellCleared) << k.kind;
  }
}

TEST_F(SquareEntry, FireImmunityNegatesTheDamage) {
  Put(2, 1, kEffectFire, 4);
  Creatures[kWalker].protections[kFireImmunity] = {1, 1};
  RunArrival();
  EXPECT_NE(Log().find("Fire Immunity negates @WALL_OF_FIRE@ damage."), std::string::npos);
  EXPECT_EQ(Creatures[kWalker].hitPoints, 30);
}

TEST_F(SquareEntry, LeavingEntangleFreesTheCreature) {
  Creatures[kWalker].conditions[0] = {105, 1, 21, 0, 0};
  ASSERT_EQ(EnterSquareHazards(kWalker), 1);
  EXPECT_EQ(CombatEvents[0].type, kEventFreed);
  EXPECT_EQ(CombatEvents[0].sound, kSampleMagic9);
  EXPECT_LT(FindCondition(kWalker, kCondEntangled), 0);
  RunArrival();
  // Nothing else on the square: the arrival ends at once.
  EXPECT_EQ(RunArrival(), 0);
}

// The hold's loss of Dexterity counts as the creature steps in and ends as
// it steps out: one with 3 left is paralysed before it can act again.
TEST_F(SquareEntry, AnEntanglingAreaTakesItsDexterityAtOnce) {
  Creatures[kWalker].dexterity = {3, 3};
  Put(2, 1, kEffectEntangle, 0);
  RunArrival();
  ASSERT_GE(FindCondition(kWalker, kCondEntangled), 0);
  EXPECT_GE(FindCondition(kWalker, kCondParalyzed), 0);
  EXPECT_EQ(Creatures[kWalker].dexterity.current, 0);
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  RunArrival();
  EXPECT_LT(FindCondition(kWalker, kCondParalyzed), 0);
  EXPECT_EQ(Creatures[kWalker].dexterity.current, 3);
}

TEST_F(SquareEntry, LookAheadSeesANewHazardInTheFacing) {
  CreatureRecord& c = Creatures[kWalker];
  TurnOrder[0].plannedTarget = -1;  // no target to turn to
  c.facing = 3;  // right
  Put(3, 1, kEffectFire, 2);
  EXPECT_TRUE(SquareHazardCheck(kWalker));
  c.protections[kFireImmunity] = {1, 1};
  EXPECT_FALSE(SquareHazardCheck(kWalker)) << "immune";
  c.protections[kFireImmunity] = {0, 0};
  Put(2, 1, kEffectFire, 2);
  EXPECT_FALSE(SquareHazardCheck(kWalker)) << "already in fire";
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  Put(3, 1, kEffectEntangle, 0);
  EXPECT_TRUE(SquareHazardCheck(kWalker));
  c.protections[kHamperingImmunity] = {1, 1};
  EXPECT_FALSE(SquareHazardCheck(kWalker));
  c.facing = 7;
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  Put(1, 1, kEffectDarkness, 0);
  EXPECT_TRUE(SquareHazardCheck(kWalker));
  c.special[kSenseKindWord] = 5;
  EXPECT_FALSE(SquareHazardCheck(kWalker)) << "senses without sight";
}

}  // namespace
