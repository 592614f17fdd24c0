// Creature effects: a polymorph and its end give back the natural form byte
// for byte; natural attacks follow a size change along the dice table (and a
// size outside the table changes nothing); armour stays within its steps.
// Summoned elementals: their level and side, and one acting in the order.
#include "combat/actions/creature_effects.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/executor_fixture.h"
#include "combat/actions/summoned_elementals.h"
#include "combat/actions/turn_order_changes.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"
#include "rules/spell_ids.h"
#include "state/map_view_state.h"

namespace {

using namespace executorfixture;

constexpr int kHero = 4, kFoe = 5, kElemental = 9;
constexpr uint32_t kArmour = 20;

class CreatureEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(3);
    ClearMessageLog();
    mapfixture::DrawMap({"........", "........", "........", "........", "........"});
  }
};

TEST_F(CreatureEffects, APolymorphEndsInTheNaturalFormByteForByte) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  CreatureRecord& c = Creatures[kHero];
  c.naturalAttacks[0] = {3, 1, 20, 1, 1, 3, 0, 0, 0};
  c.protections[ImmunityPair(kImmSleep)].base = 1;
  c.ammunition = {5001, 12};
  RecomputeCreature(kHero, 1);
  CreatureRecord before;
  std::memcpy(&before, &c, sizeof before);

  // Into a bear: another figure, size, footprint, abilities, attacks and
  // protections, the equipment taken off.
  ASSERT_TRUE(SaveNaturalForm(kHero));
  AddCondition(kHero, kCondPolymorphed, 10, 4, 18, 0);
  c.strength = c.dexterity = c.wisdom = {27, 27};
  c.figure = 202;
  c.size = c.footprintWidth = c.footprintHeight = {2, 2};
  c.size = {4, 4};
  c.speed = {30, 30};
  c.naturalAttacks[0] = {2, 2, 20, 2, 1, 8, 4, 1, 6};
  c.naturalAttacks[1] = {1, 1, 20, 3, 2, 6, 0, 0, 0};
  c.protections[ImmunityPair(kImmSleep)].base = 0;
  c.protections[kProtNaturalArmour].base = 5;
  std::memset(c.equipment, 0, sizeof c.equipment);
  c.ammunition = {0, 0};
  RecomputeCreature(kHero, 0);

  EndPolymorph(kHero);
  EXPECT_FALSE(HasCondition(kHero, kCondPolymorphed));
  EXPECT_EQ(std::memcmp(&before, &c, sizeof before), 0);
  EXPECT_EQ(c.naturalAttacks[0].effectSides, 3);
  EXPECT_EQ(c.equipment[kSlotRightHand - 1], kSword);
}

TEST_F(CreatureEffects, NaturalAttacksAndArmourFollowASizeStep) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  CreatureRecord& c = Creatures[kHero];
  CraftedWeaponRecord& armour = CraftedWeapons[kArmour];
  std::memset(&armour, 0, sizeof armour);
  armour.itemType = 40;
  armour.size = 7;
  c.equipment[kSlotTorso - 1] = kArmour;
  // A medium 1d6 claw and a second part of 2d10, found only in the table's last column.
  c.naturalAttacks[0] = {2, 1, 20, 2, 1, 6, 4, 3, 6};
  c.naturalAttacks[1] = {5, 1, 20, 2, 1, 6, 0, 0, 0};
  c.size.current = 4;
  EnlargeCarriedItems(kHero);
  EXPECT_EQ(c.naturalAttacks[0].effectDice, 1);
  EXPECT_EQ(c.naturalAttacks[0].effectSides, 8);
  EXPECT_EQ(c.naturalAttacks[0].riderDice, 3);  // 3d6 stands only in the last column
  EXPECT_EQ(c.naturalAttacks[0].riderSides, 6);
  EXPECT_EQ(c.naturalAttacks[1].effectSides, 6);  // kind 5 keeps its dice
  EXPECT_EQ(armour.size, 7);
  c.size.current = 3;
  ReduceCarriedItems(kHero);
  EXPECT_EQ(c.naturalAttacks[0].effectSides, 6);
  EXPECT_EQ(armour.size, 6);
  // A size outside the table's rows changes no dice.
  c.size.current = 9;
  EnlargeCarriedItems(kHero);
  c.size.current = 0;
  ReduceCarriedItems(kHero);
  EXPECT_EQ(c.naturalAttacks[0].effectDice, 1);
  EXPECT_EQ(c.naturalAttacks[0].effectSides, 6);
}

TEST_F(CreatureEffects, AMarkOfDamageWhileCastingNeedsACast) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  EXPECT_FALSE(MarkCasterDamaged(kHero, 7));
  EXPECT_FALSE(HasCondition(kHero, kCondDamagedWhileCasting));
}

class Elementals : public CreatureEffects {
 protected:
  static void Caster(int level, int32_t allegiance) {
    MakeFighter(kHero, "Caster", 2, 2, allegiance);
    Creatures[kHero].creatureClass = 4;
    Creatures[kHero].level = Creatures[kHero].effectiveLevel = level;
    Creatures[kHero].casterLevelAdjust = level;
    SpellCaster = kHero;
    MapCursorX = 3;
    MapCursorY = 2;
  }
};

TEST_F(Elementals, StrengthFollowsTheCasterLevelAndTheSummonersSide) {
  Caster(1, kAllegianceParty);
  CreateSummonedElemental(kElemental, kSpellSummonEarthElemental);
  const CreatureRecord& e = Creatures[kElemental];
  EXPECT_STREQ(e.name, "Elemental");
  EXPECT_EQ(e.kind, 28);
  EXPECT_EQ(e.level, 1);
  EXPECT_EQ(e.challengeRating, 1);
  EXPECT_EQ(e.experience, 0);
  EXPECT_EQ(e.allegiance, kAllegianceAlly);
  EXPECT_EQ(e.squareX, 3);
  EXPECT_EQ(e.feats[kFeatImprovedBullRush], 1);
  EXPECT_EQ(e.feats[kFeatCleave], 0);
  EXPECT_GE(e.hitPoints, 1);
  // An enemy caster's fire elemental, summoned into flames, is a level higher.
  Caster(18, kAllegianceEnemy);
  MagicAreaGrid[SquareIndex(3, 2)].kind = 6;
  CreateSummonedElemental(kElemental, kSpellSummonFireElemental);
  EXPECT_EQ(e.level, 19);
  EXPECT_EQ(e.allegiance, kAllegianceEnemy);
  EXPECT_EQ(e.challengeRating, (18 - 1) / 4 + 1 + 2);
  EXPECT_EQ(e.naturalAttacks[0].count, 2);
  // Tier 7 (18 / 3 + 1): improved natural armour twice.
  EXPECT_EQ(e.feats[kFeatImprovedNaturalArmor], 2);
  EXPECT_EQ(e.feats[kFeatIronWill], 1);
}

TEST_F(Elementals, ASummonedElementalActsInTheOrderAfterItsSummoner) {
  Caster(6, kAllegianceParty);
  MakeFighter(kFoe, "Foe", 4, 2, kAllegianceEnemy, 0, 500);
  StartBattle(kHero);
  CreateSummonedElemental(kElemental, kSpellSummonAirElemental);
  ASSERT_TRUE(InsertCombatantAfterCurrent(kElemental, 1));
  EXPECT_EQ(TurnOrder[CurrentTurnIndex + 1].creature, kElemental);
  // The elemental's turn: it strikes the foe next to it.
  CurrentTurnIndex = CurrentTurnIndex + 1;
  ActingCreature = kElemental;
  CombatAction.playerControlled = 0;
  Order(kActionMeleeAttack, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "Elemental\xA3 attacks \xA3" "Foe\xA3"), 1);
}

}  // namespace
