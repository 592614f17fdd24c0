#include "rules/recompute_creature.h"

#include "map/rain_shelter.h"
#include "rules_fixture.h"

namespace {

class RecomputeTest : public RulesTest {};

TEST_F(RecomputeTest, FreeRecordIsLeftAlone) {
  Creatures[7].strength = {12, 3};
  EXPECT_EQ(RecomputeCreature(7, 0), 0);
  EXPECT_EQ(Creatures[7].strength.current, 3);
}

TEST_F(RecomputeTest, ConstitutionZeroKillsOnce) {
  MakeCreature(1);
  AddCondition(1, kCondDamagedConstitution, kDurationUntilRest, 10, kSourceSpell, 0);
  EXPECT_EQ(RecomputeCreature(1, 0), 1);
  EXPECT_EQ(Creatures[1].constitution.current, 0);
  ASSERT_NE(Entry(1, 111), nullptr);
  EXPECT_EQ(Entry(1, 111)->source, kSourceConstitutionLoss);
  RecomputeCreature(1, 0);
  EXPECT_EQ(CountId(1, 111), 1);
}

TEST_F(RecomputeTest, LevelDrainToZero) {
  struct Case {
    int baseHitPoints;
    int expectedMaximum;
  };
  for (const Case& k : {Case{40, 25}, Case{10, 1}}) {
    CreatureRecord& c = MakeCreature(1, 3);
    c.baseHitPoints = k.baseHitPoints;
    AddCondition(1, kCondLevelDrained, kDurationLasting, 3, kSourceSpell, 0);
    RecomputeCreature(1, 1);
    EXPECT_EQ(c.effectiveLevel, 0);
    EXPECT_EQ(c.maxHitPoints, k.expectedMaximum);
    ASSERT_NE(Entry(1, 111), nullptr);
    EXPECT_EQ(Entry(1, 111)->source, kSourceLevelLoss);
  }
}

// A loss of maximum hit points never takes a living creature below 1.
TEST_F(RecomputeTest, ConstitutionLossKeepsOneHitPoint) {
  struct Case {
    int before;
    int after;
  };
  for (const Case& k : {Case{5, 1}, Case{10, 1}, Case{11, 1}, Case{20, 10}, Case{40, 30}, Case{-3, -3}}) {
    CreatureRecord& c = MakeCreature(1, 5);
    c.constitution = {14, 14};
    InCombat = 1;
    RecomputeCreature(1, 1);
    ASSERT_EQ(c.maxHitPoints, 40);
    c.hitPoints = k.before;
    AddCondition(1, kCondDamagedConstitution, kDurationUntilRest, 4, kSourceSpell, 0);
    RecomputeCreature(1, 0);
    EXPECT_EQ(c.maxHitPoints, 30);
    EXPECT_EQ(c.hitPoints, k.after) << "from " << k.before;
  }
}

TEST_F(RecomputeTest, WizardRenewsMageArmourOnce) {
  struct Case {
    int allegiance;
    int option;
    uint32_t torso;
    bool renewed;
  };
  MakeCrafted(40, 40, 5, 6);
  for (const Case& k : {Case{2, 0, 0, true}, Case{1, 0, 0, false}, Case{1, 1, 0, true}, Case{2, 0, 40, false}}) {
    SetUp();
    MakeCrafted(40, 40, 5, 6);
    CreatureRecord& c = MakeCreature(1, 3, k.allegiance);
    c.creatureClass = 4;
    c.knownSpells[1] = 1;
    c.spellsLeft[0] = 2;
    c.equipment[kSlotTorso - 1] = k.torso;
    OptionWords[kOptionAutoRecastMageArmor] = k.option;
    RecomputeCreature(1, 0);
    RecomputeCreature(1, 0);
    EXPECT_EQ(CountId(1, 13), k.renewed ? 1 : 0);
    EXPECT_EQ(c.spellsLeft[0], k.renewed ? 1 : 2);
    if (k.renewed) {
      EXPECT_EQ(Entry(1, 13)->value, 4);
      EXPECT_EQ(Entry(1, 13)->duration, kDurationUntilRest);
    }
  }
}

TEST_F(RecomputeTest, TwoFireRingsGiveTheLeftOne) {
  CreatureRecord& c = MakeCreature(1);
  c.equipment[kSlotRightFinger - 1] = MakeBase(40, 33, 10);
  c.equipment[kSlotLeftFinger - 1] = MakeBase(41, 33, 20);
  RecomputeCreature(1, 0);
  EXPECT_EQ(CountId(1, 35), 1);
  EXPECT_EQ(Entry(1, 35)->source, static_cast<uint32_t>(kSlotLeftFinger));
  EXPECT_EQ(c.protections[kProtResistFire].current, 20);
  // A racial resistance keeps the rings out.
  c.protections[kProtResistFire].base = 5;
  RecomputeCreature(1, 0);
  EXPECT_EQ(CountId(1, 35), 0);
  EXPECT_EQ(c.protections[kProtResistFire].current, 5);
}

TEST_F(RecomputeTest, HasteAndSlow) {
  struct Case {
    uint32_t condition;
    int reflex;
    int speed;
  };
  for (const Case& k : {Case{0, 2, 30}, Case{151, 3, 60}, Case{152, 1, 15}}) {
    CreatureRecord& c = MakeCreature(1);
    c.reflex = {2, 2};
    if (k.condition != 0) AddCondition(1, k.condition, 5, 0, kSourceSpell, 0);
    InCombat = 1;
    RecomputeCreature(1, 0);
    EXPECT_EQ(c.reflex.current, k.reflex);
    EXPECT_EQ(c.speed.current, k.speed);
  }
}

TEST_F(RecomputeTest, ActingFighterKeepsItsShareOfMoves) {
  MakeCreature(1);
  InCombat = 1;
  TurnOrder[0].creature = 1;
  CombatAction.currentEntry = 0;
  CombatAction.movesLeft = 20;
  AddCondition(1, kCondHasted, 5, 0, kSourceSpell, 0);
  RecomputeCreature(1, 0);
  EXPECT_EQ(CombatAction.movesLeft, 40);
}

// A creature dressed for battle, with what each worn piece gives.
class EquippedTest : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    CreatureRecord& c = MakeCreature(1, 5);
    c.strength = {14, 14};
    c.dexterity = {16, 16};
    CraftedWeaponRecord& plate = MakeCrafted(10, 45, 7, 6);
    plate.critLow = 6;          // check penalty
    plate.dieCount = 1;         // maximum Dexterity bonus
    plate.critMultiplier = 35;  // arcane spell failure
    CraftedWeaponRecord& shield = MakeCrafted(11, 36, 8, 5);
    shield.critLow = 2;
    MakeCrafted(12, 19, 3, 2);  // longsword
    c.equipment[kSlotTorso - 1] = 10;
    c.equipment[kSlotLeftHand - 1] = 11;
    c.equipment[kSlotRightHand - 1] = 12;
    c.equipment[kSlotWaist - 1] = MakeBase(100, 21, 4);
    c.equipment[kSlotHead - 1] = MakeBase(101, 31, 2);
    c.equipment[kSlotCloak - 1] = MakeBase(102, 28, 1);
    AddCondition(1, kCondHasted, 5, 0, kSourceSpell, 0);
  }
};

TEST_F(EquippedTest, WornItemsGiveTheirConditions) {
  InCombat = 1;
  ASSERT_EQ(RecomputeCreature(1, 0), 1);
  const CreatureRecord& c = Creatures[1];
  struct Want {
    uint32_t id;
    uint32_t source;
    int value;
  };
  for (const Want& w : {Want{56, 5, 4}, Want{60, 1, 2}, Want{52, 4, 1}, Want{124, 3, 6}, Want{128, 3, 10},
                        Want{127, 3, 1}, Want{125, 8, 2}, Want{130, 7, 4}}) {
    const ConditionEntry* e = Entry(1, w.id);
    ASSERT_NE(e, nullptr) << w.id;
    EXPECT_EQ(e->source, w.source) << w.id;
    EXPECT_EQ(e->value, w.value) << w.id;
    EXPECT_EQ(e->duration, kDurationLasting) << w.id;
  }
  EXPECT_EQ(Entry(1, 122), nullptr);  // a fighter knows no spell failure
  EXPECT_EQ(Entry(1, 131), nullptr);
  EXPECT_EQ(c.strength.current, 18);
  EXPECT_EQ(c.intelligence.current, 12);
  EXPECT_EQ(c.speed.current, 40);  // (30 - 10) doubled by haste
  EXPECT_EQ(c.fortitude.current, 1);
  EXPECT_EQ(c.reflex.current, 2);
}

TEST_F(EquippedTest, FeatsTakeThePenaltiesAway) {
  CreatureRecord& c = Creatures[1];
  c.feats[kFeatFirstMartial + 14] = 1;  // longsword
  c.feats[kFeatLightArmour + 2] = 1;  // heavy armour
  c.feats[kFeatShield] = 1;
  RecomputeCreature(1, 0);
  for (uint32_t id : {124u, 125u, 130u}) EXPECT_EQ(Entry(1, id), nullptr) << id;
  EXPECT_NE(Entry(1, 128), nullptr);
}

TEST_F(EquippedTest, RecomputingTwiceGivesTheSameRecord) {
  for (int combat : {0, 1}) {
    SetUp();
    InCombat = combat;
    AddCondition(1, kCondDamagedStrength, kDurationUntilRest, 2, kSourceSpell, 0);
    RecomputeCreature(1, 0);
    CreatureRecord once;
    std::memcpy(&once, &Creatures[1], sizeof once);
    RecomputeCreature(1, 0);
    EXPECT_EQ(std::memcmp(&once, &Creatures[1], sizeof once), 0) << "combat " << combat;
  }
}

// Worn items taken off between empty slots: the entries they gave go,
// whichever slots around them stand empty, and the rest keep their order.
TEST_F(EquippedTest, TakingOffWornItemsBetweenEmptySlotsDropsTheirEntries) {
  CreatureRecord& c = Creatures[1];
  c.equipment[kSlotNeck - 1] = MakeBase(103, 20, 2);
  c.equipment[kSlotFeet - 1] = MakeBase(104, 22, 0);
  InCombat = 1;
  RecomputeCreature(1, 0);
  ASSERT_NE(Entry(1, kCondLongStride), nullptr);
  ASSERT_NE(Entry(1, kCondEnhancedConstitution), nullptr);
  for (int slot : {kSlotWaist, kSlotHead, kSlotCloak, kSlotFeet}) c.equipment[slot - 1] = 0;
  RecomputeCreature(1, 0);
  for (uint32_t id : {kCondLongStride, kCondEnhancedStrength, kCondEnhancedIntelligence, kCondEnhancedSaves})
    EXPECT_EQ(Entry(1, id), nullptr) << id;
  ASSERT_NE(Entry(1, kCondEnhancedConstitution), nullptr);
  EXPECT_EQ(Entry(1, kCondEnhancedConstitution)->source, static_cast<uint32_t>(kSlotNeck));
  EXPECT_EQ(c.speed.current, 40);
}

TEST_F(EquippedTest, TakingOffArmourDropsItsConditions) {
  RecomputeCreature(1, 0);
  Creatures[1].equipment[kSlotTorso - 1] = 0;
  RecomputeCreature(1, 0);
  for (uint32_t id : {124u, 127u, 128u}) EXPECT_EQ(Entry(1, id), nullptr) << id;
}

TEST_F(RecomputeTest, TwoWeaponPenalties) {
  struct Case {
    int handling;
    bool feat;
    int left;
    int right;
  };
  for (const Case& k : {Case{1, false, 8, 4}, Case{2, false, 10, 6}, Case{1, true, 1, 1}, Case{2, true, 3, 3}}) {
    CreatureRecord& c = MakeCreature(1);
    MakeCrafted(20, 16, 1, k.handling);
    c.equipment[kSlotLeftHand - 1] = 20;
    c.feats[kFeatTwoWeaponFighting] = k.feat;
    c.feats[kFeatTwoWeaponDefence] = 1;
    RecomputeCreature(1, 0);
    EXPECT_EQ(Entry(1, 133)->value, k.left);
    EXPECT_EQ(Entry(1, 134)->value, k.right);
    EXPECT_EQ(Entry(1, 135)->value, 1);
  }
}

TEST_F(RecomputeTest, OpposedWeaponsDrainLevels) {
  struct Case {
    int alignment;
    int level;
    int property;  // flag index of the record
    int drained;
  };
  for (const Case& k : {Case{1, 5, 8, 1}, Case{9, 5, 8, 0}, Case{3, 5, 7, 1}, Case{7, 5, 9, 1}, Case{2, 5, 10, 1},
                        Case{1, 1, 8, 0}, Case{1, 2, 8, 1}}) {
    CreatureRecord& c = MakeCreature(1, k.level);
    c.alignment = k.alignment;
    MakeCrafted(30, 19, 1, 2).properties[k.property] = 1;
    c.equipment[kSlotRightHand - 1] = 30;
    // The drain stays put however often the creature is recomputed.
    for (int i = 0; i < 3; ++i) {
      RecomputeCreature(1, 0);
      const ConditionEntry* e = Entry(1, kCondLevelDrained);
      EXPECT_EQ(e ? e->value : 0, k.drained) << k.alignment << "/" << k.property << " call " << i;
      EXPECT_EQ(c.effectiveLevel, k.level - k.drained);
    }
  }
}

TEST_F(RecomputeTest, MagicArmourProperties) {
  CreatureRecord& c = MakeCreature(1);
  CraftedWeaponRecord& a = MakeCrafted(10, 45, 6, 6);
  a.masterwork = 1;
  a.material = 8;
  a.properties[22] = 1;  // acid II
  a.properties[38] = 1;  // fortification III
  a.properties[39] = 1;  // invulnerability
  a.properties[41] = 1;  // spell resistance 13
  c.equipment[kSlotTorso - 1] = 10;
  c.feats[kFeatLightArmour + 1] = 1;
  RecomputeCreature(1, 0);
  struct Want {
    uint32_t id;
    int value;
  };
  for (const Want& w : {Want{42, 2}, Want{38, 20}, Want{19, 100}, Want{41, 5}, Want{22, 13}}) {
    ASSERT_NE(Entry(1, w.id), nullptr) << w.id;
    EXPECT_EQ(Entry(1, w.id)->value, w.value) << w.id;
  }
  EXPECT_EQ(c.protections[kProtSpellResistance].current, 13);
  EXPECT_EQ(c.protections[kProtResistAcid].current, 20);
  EXPECT_EQ(c.protections[kProtFirstImmunity + 7].current, kImmunityImmune);  // criticals
  // The last reduction of the list wins: the armour's 42 stands before 41.
  EXPECT_EQ(c.protections[kProtDamageReduction].current, 5);
  EXPECT_EQ(c.protections[kProtDamageReductionKind].current, 7);
}

TEST_F(RecomputeTest, ProficiencyTest) {
  struct Case {
    int proficiency;
    int type;
    int feat;  // -1 none
    bool proficient;
  };
  const Case cases[] = {
      {1, 5, -1, true},  {2, 5, -1, false}, {2, 5, 29, true},  {3, 17, -1, false}, {3, 17, 30, true},
      {3, 24, 51, true}, {3, 19, 44, true}, {3, 1, 30, false}, {4, 34, 52, true},  {4, 35, 53, true},
      {4, 35, 52, false}, {4, 19, 52, false}, {7, 40, -1, true},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(1);
    if (k.feat >= 0) c.feats[k.feat] = 1;
    MakeCrafted(10, k.type, k.proficiency, 2);
    EXPECT_EQ(IsProficientWithItem(1, 10), k.proficient) << k.proficiency << "/" << k.type;
  }
  MakeCreature(1);
  MakeCrafted(10, 17, 3, 2);
  AddCondition(1, kCondTransformation, 5, 0, kSourceSpell, 0);
  EXPECT_TRUE(IsProficientWithItem(1, 10));
  EXPECT_FALSE(IsProficientWithItem(1, 0));
  EXPECT_FALSE(IsProficientWithItem(1, kCraftedRows));
}

TEST_F(RecomputeTest, FootprintGrowsAndShrinks) {
  struct Case {
    int y, x;
    uint32_t condition;
    int count;
    int wantY, wantX, figure;
  };
  const Case cases[] = {
      {1, 1, 153, 1, 2, 2, 48}, {1, 1, 153, 2, 4, 4, 96}, {3, 3, 153, 1, 3, 3, 24}, {4, 4, 154, 1, 3, 3, 12},
      {3, 3, 154, 1, 2, 2, 12}, {2, 3, 154, 1, 1, 2, 12}, {2, 4, 154, 1, 1, 2, 12}, {1, 2, 154, 1, 1, 1, 12},
      {1, 1, 154, 1, 1, 1, 12}, {3, 2, 154, 1, 3, 2, 24}, {4, 4, 154, 2, 2, 2, 6},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(1);
    c.footprintHeight = {k.y, k.y};
    c.footprintWidth = {k.x, k.x};
    for (int i = 0; i < k.count; ++i) {
      const int slot = FreeConditionSlot(1);
      c.conditions[slot] = {k.condition, 5, kSourceSpell, 0, 0};
    }
    InCombat = 1;
    RecomputeCreature(1, 0);
    EXPECT_EQ(c.footprintHeight.current, k.wantY) << k.y << "x" << k.x;
    EXPECT_EQ(c.footprintWidth.current, k.wantX) << k.y << "x" << k.x;
    EXPECT_EQ(c.figureSize[0].current, k.figure) << k.y << "x" << k.x;
    EXPECT_EQ(c.figureSize[1].current, k.figure);
  }
}

// In combat an ability back above 0 takes its own Paralyzed away again. The
// mental abilities come after Dexterity, so its 0 follows one call later.
TEST_F(RecomputeTest, AbilityAtZeroParalyses) {
  struct Case {
    uint32_t damage;
    uint32_t source;
  };
  for (const Case& k : {Case{61, kSourceStrengthLoss}, Case{62, kSourceDexterityLoss},
                        Case{65, kSourceIntelligenceLoss}, Case{64, kSourceWisdomLoss},
                        Case{71, kSourceCharismaLoss}}) {
    CreatureRecord& c = MakeCreature(1);
    InCombat = 1;
    AddCondition(1, k.damage, kDurationUntilRest, 12, kSourceSpell, 0);
    RecomputeCreature(1, 0);
    RecomputeCreature(1, 0);
    ASSERT_NE(Entry(1, 84), nullptr) << k.damage;
    EXPECT_EQ(CountId(1, 84), 1);
    EXPECT_EQ(Entry(1, 84)->source, k.source);
    EXPECT_EQ(c.dexterity.current, 0);
    RemoveCondition(1, k.damage);
    RecomputeCreature(1, 0);
    RecomputeCreature(1, 0);
    EXPECT_EQ(Entry(1, 84), nullptr) << k.damage;
    EXPECT_EQ(c.dexterity.current, 10);
  }
}

TEST_F(RecomputeTest, ProtectionsFromConditions) {
  CreatureRecord& c = MakeCreature(1);
  InCombat = 1;
  for (uint32_t id : {33u, 42u}) AddCondition(1, id, 5, 7, kSourceSpell, 0);
  AddCondition(1, kCondDeflecting, 5, 3, kSourceSpell, 0);
  AddCondition(1, kCondProtectedVersusEvil, 5, 2, kSourceSpell, 0);
  AddCondition(1, kCondIceShielded, 5, 0, kSourceSpell, 0);
  AddCondition(1, 6, 5, 0, kSourceSpell, 0);
  AddCondition(1, kCondSilenced, 5, 0, kSourceSpell, 0);
  RecomputeCreature(1, 0);
  const StatPair* p = c.protections;
  EXPECT_EQ(p[kProtDamageReduction].current, 7);
  EXPECT_EQ(p[kProtDamageReductionKind].current, 1);
  EXPECT_EQ(p[kProtDeflection].current, 3);
  EXPECT_EQ(p[kProtSacred].current, 2);
  EXPECT_EQ(p[kProtResistFire].current, 10);
  for (int category : {28, 21, 20, 32, 41, 40, 22}) EXPECT_EQ(p[kProtFirstImmunity + category].current, 1);
  EXPECT_EQ(p[kProtFirstImmunity + 10].current, 0);
  // A racial reduction keeps the conditions out.
  c.protections[kProtDamageReduction].base = 10;
  c.protections[kProtDamageReductionKind].base = 5;
  RecomputeCreature(1, 0);
  EXPECT_EQ(p[kProtDamageReduction].current, 10);
  EXPECT_EQ(p[kProtDamageReductionKind].current, 5);
}

TEST_F(RecomputeTest, LeavingCombatCleansUp) {
  CreatureRecord& c = MakeCreature(1, 5, 1);
  c.hitPoints = -2;
  c.present = 0;
  AddCondition(1, kCondUnconscious, kDurationLasting, 0, 0, 0);        // unconscious
  AddCondition(1, kCondHasted, 4, 0, kSourceSpell, 0);  // haste of a few rounds
  AddCondition(1, kCondDamagedStrength, kDurationUntilRest, 2, kSourceSpell, 0);
  AddCondition(1, kCondGrassConcealment, kDurationLasting, 20, kSourceMagicArea, 0);
  AddCondition(1, kCondSleeping, kDurationLasting, 0, 0, 0);  // lasting sleep stays
  RecomputeCreature(1, 0);
  EXPECT_EQ(c.hitPoints, 1);
  EXPECT_EQ(c.present, 1);
  for (uint32_t id : {109u, 151u, 166u}) EXPECT_EQ(Entry(1, id), nullptr) << id;
  EXPECT_NE(Entry(1, 61), nullptr);
  EXPECT_NE(Entry(1, 85), nullptr);
}

// Ending a polymorph recomputes the creature inside the recomputation; the
// hit points it gains are counted once.
TEST_F(RecomputeTest, EndingAPolymorphCountsTheHitPointsOnce) {
  CreatureRecord& c = MakeCreature(1, 5, 1);
  c.constitution = {14, 14};
  AddCondition(1, kCondDamagedConstitution, 5, 4, kSourceSpell, 0);
  InCombat = 1;
  RecomputeCreature(1, 1);
  ASSERT_EQ(c.maxHitPoints, 30);
  c.hitPoints = 5;
  AddCondition(1, kCondPolymorphed, 5, 0, kSourceSpell, 0);
  InCombat = 0;
  RecomputeCreature(1, 0);
  EXPECT_EQ(Entry(1, 148), nullptr);
  EXPECT_EQ(c.maxHitPoints, 40);
  EXPECT_EQ(c.hitPoints, 15);
}

TEST_F(RecomputeTest, RainFallsOnOpenSquares) {
  for (uint32_t mark : {2u, 0u}) {
    MakeCreature(1);
    StormActive = 1;
    CurrentMap.rain = 1;
    RainShelterGrid[SquareIndex(5, 5)] = mark;
    RecomputeCreature(1, 0);
    const ConditionEntry* e = Entry(1, 165);
    if (mark == 2) {
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->source, kSourceRain);
      EXPECT_EQ(e->value, 4);
    } else {
      EXPECT_EQ(e, nullptr);
    }
  }
}

TEST_F(RecomputeTest, FullListStopsTheRecomputation) {
  CreatureRecord& c = MakeCreature(1);
  for (int i = 0; i < kConditionSlots; ++i) c.conditions[i] = {2, kDurationLasting, 0, 0, 0};
  c.equipment[kSlotWaist - 1] = MakeBase(100, 21, 4);
  c.strength.current = 3;
  EXPECT_EQ(RecomputeCreature(1, 0), 0);
  EXPECT_EQ(c.strength.current, 3);
}

// The recomputation finds the entries it reads wherever they stand: far down
// a list that cannot be closed up, and as it adds them itself (the Paralyzed
// of a Strength of 0 takes the Dexterity away in the same recomputation).
TEST_F(RecomputeTest, EntriesAreFoundFarDownTheListAndAsTheyAreAdded) {
  CreatureRecord& c = MakeCreature(1);
  InCombat = 1;
  for (int i = 0; i < 40; ++i) c.conditions[i] = {0, 5, 0, 0, 0};  // spent entries that stay
  c.conditions[40] = {kCondEnhancedWisdom, 5, kSourceSpell, 0, 4};
  RecomputeCreature(1, 0);
  EXPECT_EQ(c.wisdom.current, c.wisdom.base + 4);
  for (int i = 0; i < kConditionSlots; ++i) c.conditions[i] = {};
  AddCondition(1, kCondDamagedStrength, kDurationUntilRest, 12, kSourceSpell, 0);
  RecomputeCreature(1, 0);
  EXPECT_EQ(Entry(1, 84)->source, kSourceStrengthLoss);
  EXPECT_EQ(c.dexterity.current, 0);
}

}  // namespace
