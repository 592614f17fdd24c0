#include "rules/casting_rules.h"

#include "rules_fixture.h"

namespace {

constexpr int kCure = 107;      // may be cast outside combat
constexpr int kFireball = 40;   // combat only
constexpr int kTeleport = 55;

class CastingTest : public RulesTest {
 protected:
  // A level-7 party Wizard who knows the two spells and has every slot left.
  CreatureRecord& Caster() {
    CreatureRecord& c = MakeCreature(1, 7, 1);
    c.creatureClass = 4;
    c.casterLevelAdjust = 7;
    c.experience = 100000;
    for (int spell : {kCure, kFireball, kTeleport}) c.knownSpells[spell] = 1;
    for (int& left : c.spellsLeft) left = 1;
    for (int spell : {kCure, kFireball, kTeleport}) {
      SpellTable[spell].level = 2;
      SpellTable[spell].verbal = 1;
      SpellTable[spell].somatic = 1;
      SpellTable[spell].castingTime = 2;
    }
    return c;
  }
  void StartTurn(int creature) {
    InCombat = 1;
    TurnOrder[3].creature = creature;
    CombatAction.currentEntry = 3;
    CombatAction.fullRoundActionLeft = 1;
    CombatAction.standardActionLeft = 1;
    CombatAction.movesLeft = 30;
  }
};

TEST_F(CastingTest, MaxSpellLevelFollowsTheCasterLevel) {
  struct Case {
    int level, effective, adjust, max;
  };
  for (const Case& k : {Case{1, 1, 0, 1}, Case{1, 1, 1, 1}, Case{5, 5, 3, 2}, Case{5, 5, 4, 2}, Case{5, 5, 5, 3},
                        Case{17, 17, 17, 9}, Case{20, 20, 20, 9}, Case{10, 4, 10, 2}}) {
    CreatureRecord& c = MakeCreature(1, k.level);
    c.effectiveLevel = k.effective;
    c.casterLevelAdjust = k.adjust;
    EXPECT_EQ(MaxSpellLevel(1), k.max) << k.level << "/" << k.effective << "/" << k.adjust;
  }
}

TEST_F(CastingTest, PeacetimeSpells) {
  EXPECT_FALSE(IsCombatOnlySpell(kCure));
  EXPECT_FALSE(IsCombatOnlySpell(1));
  EXPECT_FALSE(IsCombatOnlySpell(174));
  EXPECT_TRUE(IsCombatOnlySpell(kFireball));
  EXPECT_TRUE(IsCombatOnlySpell(0));
  EXPECT_TRUE(IsCombatOnlySpell(998));
}

TEST_F(CastingTest, OutsideCombat) {
  Caster();
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 0, 0));
  EXPECT_TRUE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
  // Outside combat silence and paralysis do not matter.
  AddCondition(1, kCondSilenced, 5, 0, kSourceSpell, 0);
  AddCondition(1, kCondParalyzed, 5, 0, kSourceSpell, 0);
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 0, 0));
}

TEST_F(CastingTest, WhoMayCast) {
  CreatureRecord& c = Caster();
  LevelUpPending = 1;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 1, 1));
  LevelUpPending = 0;
  c.allegiance = kAllegianceEnemy;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 0, 0));
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 1, 0));
  c.knownSpells[kCure] = 0;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 1, 0));
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 1, 1));
  EXPECT_TRUE(IsSpellcastingBlocked(1, -1, 0, 1, 1));
  EXPECT_TRUE(IsSpellcastingBlocked(1, kSpellRows, 0, 1, 1));
  EXPECT_TRUE(IsSpellcastingBlocked(-1, kCure, 0, 1, 1));
  AddCondition(1, kCondPolymorphed, 5, 0, kSourceSpell, 0);  // polymorphed
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 1, 1));
}

TEST_F(CastingTest, ChargedWandInHand) {
  CreatureRecord& c = Caster();
  MakeCrafted(30, 8, 1, 1).charges = 1;
  MakeCrafted(31, 8, 1, 1).charges = 0;
  c.equipment[kSlotLeftHand - 1] = 30;
  EXPECT_TRUE(HoldsChargedWand(1));
  c.equipment[kSlotLeftHand - 1] = 31;
  EXPECT_FALSE(HoldsChargedWand(1));
}

TEST_F(CastingTest, InCombat) {
  CreatureRecord& c = Caster();
  StartTurn(1);
  EXPECT_FALSE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
  EXPECT_TRUE(IsSpellcastingBlocked(1, kTeleport, 0, 0, 0));
  TurnOrder[3].creature = 2;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kFireball, 0, 0, 1));
  StartTurn(1);
  CombatAction.standardActionLeft = 0;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
  EXPECT_FALSE(IsSpellcastingBlocked(1, kFireball, 0, 0, 1));
  StartTurn(1);
  SpellTable[kFireball].castingTime = 3;
  CombatAction.fullRoundActionLeft = 0;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
  SpellTable[kFireball].castingTime = 1;
  CombatAction.movesLeft = c.speed.current - 1;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
  CombatAction.movesLeft = c.speed.current;
  EXPECT_FALSE(IsSpellcastingBlocked(1, kFireball, 0, 0, 0));
}

TEST_F(CastingTest, SilenceAndParalysisInCombat) {
  struct Case {
    uint32_t condition;
    int metamagic;
    bool blocked;
  };
  for (const Case& k : {Case{95, 0, true}, Case{103, 0, true}, Case{103, kMetamagicSilent, false},
                        Case{84, 0, true}, Case{157, 0, true}, Case{157, kMetamagicStilled, false}}) {
    Caster();
    StartTurn(1);
    AddCondition(1, k.condition, 5, 0, kSourceSpell, 0);
    // A metamagic kind costs levels: the caster of level 7 reaches level 4 spells.
    EXPECT_EQ(IsSpellcastingBlocked(1, kFireball, k.metamagic, 0, 1), k.blocked) << k.condition;
  }
}

TEST_F(CastingTest, MetamagicNeedsAHigherSlot) {
  struct Case {
    int adjust;     // caster level
    int metamagic;
    int slotLevel;  // the only spell level with a spell left
    bool blocked;
  };
  const Case cases[] = {
      {7, kMetamagicEmpowered, 4, false}, {7, kMetamagicEmpowered, 2, true}, {5, kMetamagicEmpowered, 4, true},
      {7, kMetamagicNone, 2, false},      {3, kMetamagicNone, 2, false},     {2, kMetamagicNone, 2, true},
      {17, kMetamagicMaximised, 5, false}, {17, kMetamagicHeightened, 3, false}, {17, kMetamagicStilled, 3, false},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = Caster();
    c.casterLevelAdjust = k.adjust;
    for (int& left : c.spellsLeft) left = 0;
    c.spellsLeft[k.slotLevel - 1] = 1;
    EXPECT_EQ(IsSpellcastingBlocked(1, kCure, k.metamagic, 0, 0), k.blocked)
        << k.adjust << "/" << k.metamagic << "/" << k.slotLevel;
  }
  // Above level 9 is refused before any slot is read.
  CreatureRecord& c = Caster();
  c.casterLevelAdjust = 20;
  SpellTable[kCure].level = 8;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, kMetamagicMaximised, 0, 0));
}

TEST_F(CastingTest, Costs) {
  CreatureRecord& c = Caster();
  SpellTable[kCure].goldCost = 100;
  PartyGold = 99;
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 0, 1));
  PartyGold = 100;
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 0, 1));
  SpellTable[kCure].xpCost = 50;
  c.experience = 500 * 6 * 7 + 49;  // 49 above what level 7 needs
  EXPECT_TRUE(IsSpellcastingBlocked(1, kCure, 0, 0, 1));
  c.experience += 1;
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 0, 1));
  c.allegiance = kAllegianceEnemy;
  c.experience = 0;
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 1, 1));
}

TEST_F(CastingTest, BusyHandsBlockSomaticSpells) {
  struct Case {
    bool shield;
    int grip;  // right-hand weapon
    int metamagic;
    uint8_t freeUse;
    bool blocked;
  };
  const Case cases[] = {
      {true, 2, 0, 0, true}, {true, 2, kMetamagicStilled, 0, false}, {true, 2, 0, 1, false},
      {false, 2, 0, 0, false}, {false, 3, 0, 0, true}, {false, 3, kMetamagicStilled, 0, false},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = Caster();
    MakeCrafted(10, 19, 1, k.grip);
    MakeCrafted(11, 36, 8, 5);
    c.equipment[kSlotRightHand - 1] = 10;
    c.equipment[kSlotLeftHand - 1] = k.shield ? 11 : 0;
    EXPECT_EQ(IsSpellcastingBlocked(1, kCure, k.metamagic, 0, k.freeUse), k.blocked)
        << k.shield << "/" << k.grip << "/" << k.metamagic;
  }
  CreatureRecord& c = Caster();
  SpellTable[kCure].somatic = 0;
  c.equipment[kSlotRightHand - 1] = 10;
  c.equipment[kSlotLeftHand - 1] = 11;
  EXPECT_FALSE(IsSpellcastingBlocked(1, kCure, 0, 0, 0));
}

TEST_F(CastingTest, WandCharges) {
  struct Case {
    int spellLevel;
    int gold;
    int xp;
    int charges;
    int price;
    int wantCharges;
    int wantPrice;
  };
  // Fiftieths of the value: level 1 15 gold, level 2 90, level 4 with costs ((84 + 10) x 5 + 100) x 50 / 50 = 570.
  const Case cases[] = {
      {1, 0, 0, 50, 750, 49, 735},   {1, 0, 0, 1, 15, 0, 0},      {2, 0, 0, 10, 900, 9, 810},
      {4, 100, 10, 5, 100000, 4, 100000 - 570}, {5, 0, 0, 10, 5000, 9, 5000}, {1, 0, 0, 0, 300, 0, 300},
  };
  for (const Case& k : cases) {
    SpellTable[20].level = k.spellLevel;
    SpellTable[20].goldCost = k.gold;
    SpellTable[20].xpCost = k.xp;
    CraftedWeaponRecord& wand = MakeCrafted(30, 8, 1, 1);
    wand.spell = 20;
    wand.charges = k.charges;
    wand.price = k.price;
    EXPECT_EQ(UseWandCharge(30), k.charges >= 1 ? 1 : 0);
    EXPECT_EQ(wand.charges, k.wantCharges);
    EXPECT_EQ(wand.price, k.wantPrice) << "level " << k.spellLevel << " charges " << k.charges;
  }
  EXPECT_EQ(UseWandCharge(0), 0);
  EXPECT_EQ(UseWandCharge(kCraftedRows), 0);
}

TEST_F(CastingTest, WandValuesFromHugeFileCostsStayInTheirWord) {
  // A spell file's costs are any 32-bit words: the value saturates, never wraps.
  SpellTable[20].level = 1;
  SpellTable[20].goldCost = 0;
  SpellTable[20].xpCost = 536870912;
  EXPECT_EQ(WandValue(20), INT32_MAX);
  SpellTable[20].xpCost = INT32_MIN;
  EXPECT_EQ(WandValue(20), INT32_MIN);
  // The most charges and the lowest price a crafted row holds: the price stops at 0.
  SpellTable[20].level = 4;
  SpellTable[20].goldCost = SpellTable[20].xpCost = INT32_MAX;
  CraftedWeaponRecord& wand = MakeCrafted(30, 8, 1, 1);
  wand.spell = 20;
  wand.charges = kLargestCraftedCount;
  wand.price = 0;
  EXPECT_EQ(UseWandCharge(30), 1);
  EXPECT_EQ(wand.charges, kLargestCraftedCount - 1);
  EXPECT_EQ(wand.price, 0);
}

TEST_F(CastingTest, NeededRestoration) {
  struct Case {
    uint32_t condition;  // 0 none
    uint32_t source;
    int hitPoints;
    int need;
  };
  const Case cases[] = {
      {111, 0, 40, 3}, {92, 0, 40, 3}, {61, 0, 40, 2},  {72, 0, 40, 2},  {96, 0, 40, 2}, {108, 18, 40, 2},
      {108, 7, 40, -1}, {108, 8, 30, 1}, {151, 0, 40, -1}, {0, 0, 39, 1},  {0, 0, 40, -1},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(1);
    c.hitPoints = k.hitPoints;
    if (k.condition != 0) AddCondition(1, k.condition, kDurationLasting, 1, k.source, 0);
    EXPECT_EQ(NeededRestoration(1), k.need) << k.condition << "/" << k.source;
  }
}

TEST_F(CastingTest, RestorationMakesWhole) {
  CreatureRecord& c = MakeCreature(1, 5);
  c.hitPoints = -4;
  c.pixelX = 5 * 24 + 20;
  c.nextX = 6;
  c.nextY = 5;
  c.destinationX = 9;
  for (uint32_t id : {108u, 62u, 67u, 111u, 95u, 96u, 88u, 97u})
    AddCondition(1, id, kDurationLasting, 1, kSourceSpell, 0);
  EXPECT_TRUE(RestoreCreature(1));
  EXPECT_EQ(NeededRestoration(1), -1);
  EXPECT_EQ(c.effectiveLevel, 5);
  EXPECT_EQ(c.hitPoints, c.maxHitPoints);
  EXPECT_EQ(c.maxHitPoints, 40);
  EXPECT_EQ(c.squareX, 6);
  EXPECT_EQ(c.pixelX, 6 * 24);
  EXPECT_EQ(c.destinationX, -1);
}

}  // namespace
