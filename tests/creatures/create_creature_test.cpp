#include "creatures/create_creature.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "creation_fixture.h"
#include "creatures/creature_feats.h"
#include "creatures/creature_kinds.h"
#include "rules/inventory_slots.h"
#include "rules/recompute_creature.h"

namespace {

const int32_t* AbilityTableRow(const CreatureRecord& c) {
  if (const DragonAges* d = FindDragonAges(c.kind)) {
    int row = (c.level - d->firstLevel) / 3;
    return d->rows[row < 0 ? 0 : row > 7 ? 7 : row].abilities;
  }
  if (c.kind == kKindHuman) {
    for (const HumanClassRow& r : HumanClassRows)
      if (r.creatureClass == c.creatureClass) return r.abilities;
    return HumanClassRows[4].abilities;  // the Warrior's
  }
  return FindKindTemplate(c.kind)->abilities[AbilityGroupOfClass(c.creatureClass)];
}

bool Terminated(const char* field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

bool ItemCodeNamesARow(uint32_t code) {
  if (code == 0) return true;
  if (IsCraftedCode(code)) return CraftedWeapons[code].name[0] != 0;
  return code >= kFirstBaseItemCode && code < kFirstBaseItemCode + kItemRows &&
         ItemTable[code - kFirstBaseItemCode].name[0] != 0;
}

// The classes a kind takes: its own, and the classes scripts and encounters give.
std::vector<int> ClassesOf(const KindTemplate& t) {
  if (t.classRule == kClassAlways) return {0};
  return {0, kClassKnight, kClassCleric, kClassWizard, kClassLich, kClassCommoner, kClassWarrior, kClassNoble};
}

void ExpectSoundRecord(int id, int extraLevels, int boost) {
  const CreatureRecord& c = Creatures[id];
  SCOPED_TRACE(testing::Message() << "kind " << c.kind << " class " << c.creatureClass << " level " << c.level);
  EXPECT_TRUE(Terminated(c.name, sizeof c.name));
  EXPECT_NE(c.name[0], 0);
  EXPECT_TRUE(Terminated(c.description, sizeof c.description));
  EXPECT_GE(c.hitPoints, 1);
  EXPECT_EQ(c.hitPoints, c.maxHitPoints);

  // Abilities: table value + 0 to 4, + the increases by level and boost.
  const int32_t* table = AbilityTableRow(c);
  const int increases = (c.race != 8 && extraLevels >= 4) ? c.level / 4 : 0;
  const StatPair* pairs[6] = {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma};
  for (int i = 0; i < 6; ++i) {
    int extra = 4 + increases + (boost == 1 ? 4 : 0);
    if (c.kind == kKindThriKreen && i == 5 && c.level > 5) extra += 4;
    EXPECT_GE(pairs[i]->base, table[i]) << "ability " << i;
    EXPECT_LE(pairs[i]->base, table[i] + extra) << "ability " << i;
  }

  // Footprint and figure follow size and figure size.
  const int figureSize = c.displayWords[kDisplayFigureSize];
  const int squares = c.size.base <= 3 ? 1 : figureSize == 8 ? 3 : 2;
  if (c.size.base > 3) {
    EXPECT_TRUE(figureSize == 5 || figureSize == 8);
  }
  EXPECT_EQ(c.footprintWidth.current, squares);
  EXPECT_EQ(c.footprintHeight.current, squares);
  EXPECT_EQ(c.figureSize[0].current, 24 * squares);
  EXPECT_EQ(c.figureSize[1].current, 24 * squares);

  for (uint32_t code : c.equipment) EXPECT_TRUE(ItemCodeNamesARow(code)) << code;
  EXPECT_TRUE(ItemCodeNamesARow(c.ammunition.code));
  for (const ItemPair& pair : c.carried) EXPECT_TRUE(ItemCodeNamesARow(pair.code)) << pair.code;

  CreatureRecord before = c;
  RecomputeCreature(id, 0);
  EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0) << "a second recompute changed the record";
}

class CreateCreatureTest : public CreationTest {};

// Every kind and class at a number of levels above the kind's own, a test
// for each number.
class CreatureLevels : public CreationTest, public ::testing::WithParamInterface<int> {};

TEST_P(CreatureLevels, EveryKindAndClassGivesASoundRecord) {
  const int extraLevels = GetParam();
  for (const KindTemplate& t : KindTemplates) {
    for (int classCode : ClassesOf(t)) {
      for (uint32_t seed : {1u, 2u, 3u}) {
        std::memset(&CraftedWeapons[kFirstGeneratedItemRow], 0,
                    sizeof(CraftedWeaponRecord) * (kLastGeneratedItemRow - kFirstGeneratedItemRow + 1));
        const int boost = seed == 3 ? 1 : 0;
        const int main = seed == 2 ? kWeaponLongsword : 0;
        Create(seed, t.kind, classCode, extraLevels, boost, main, 0, seed == 1 ? kWeaponShortbow : 0);
        ExpectSoundRecord(601, extraLevels, boost);
        if (HasFailure()) return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ExtraLevels, CreatureLevels, ::testing::Values(0, 1, 5, 10, 20));

// The record and the generated item rows it points at.
TEST_F(CreateCreatureTest, SameSeedGivesTheSameRecord) {
  static CraftedWeaponRecord crafted[kCraftedRows], afterFirst[kCraftedRows];
  std::memcpy(crafted, CraftedWeapons, sizeof crafted);
  for (int kind : {kKindHuman, kKindRedDragon, kKindLich, kKindGnoll, kKindBalor}) {
    std::memcpy(CraftedWeapons, crafted, sizeof crafted);
    const CreatureRecord first = Create(77, kind, kind == kKindHuman ? kClassCleric : 0, 18, 1, kWeaponLongsword);
    std::memcpy(afterFirst, CraftedWeapons, sizeof afterFirst);
    std::memcpy(CraftedWeapons, crafted, sizeof crafted);
    const CreatureRecord& second = Create(77, kind, kind == kKindHuman ? kClassCleric : 0, 18, 1, kWeaponLongsword);
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0) << "kind " << kind;
    EXPECT_EQ(std::memcmp(afterFirst, CraftedWeapons, sizeof afterFirst), 0) << "kind " << kind;
  }
}

TEST_F(CreateCreatureTest, ArgumentsAndDefaultsOfTheRecord) {
  for (int side : {0, 1, 2, 257}) {
    SeedRandomForTests(4);
    CreateCreature(5, 7, 9, 602, kKindOrc, 0, 0, 0, side, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Creatures[602].displayWords[kDisplaySideMark], side % 256 == 1 ? 1 : 2) << side;
  }
  const CreatureRecord& c = Creatures[602];
  EXPECT_EQ(c.map, 5);
  EXPECT_EQ(c.squareX, 7);
  EXPECT_EQ(c.pixelY, 9 * 24);
  EXPECT_EQ(c.destinationX, -1);
  EXPECT_EQ(c.allegiance, 2);
  EXPECT_EQ(c.present, 1);
  EXPECT_EQ(c.facing, 1);
  EXPECT_EQ(CreateCreature(5, 7, 9, kCreatureCount, kKindOrc, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), 0);
}

// A creature made over one still standing gives back the rows of its
// generated items, but never a row something else still holds: here the
// sword a party member took from it while it lay fallen, before a script
// stood it up again. Once sold, that sword's row comes back too.
TEST_F(CreateCreatureTest, MadeOverAStandingCreatureItsItemRowsComeBack) {
  const auto SwordOf = [](int id) { return Creatures[id].equipment[kSlotRightHand - 1]; };
  CreateCreature(5, 7, 9, 602, kKindOrc, kClassKnight, 0, 0, 1, 0, 0, 0, kWeaponLongsword, 0, 0);
  const uint32_t taken = SwordOf(602);
  ASSERT_TRUE(IsGeneratedItemRow(taken));
  Creatures[1].carried[0] = {taken, 1};
  CreateCreature(5, 7, 9, 602, kKindOrc, kClassKnight, 0, 0, 1, 0, 0, 0, kWeaponLongsword, 0, 0);
  const uint32_t standing = SwordOf(602);
  EXPECT_NE(CraftedWeapons[taken].name[0], '\0');
  ASSERT_NE(standing, taken);
  CreateCreature(5, 7, 9, 602, kKindGiantRat, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(CraftedWeapons[standing].name[0], '\0');
  EXPECT_NE(CraftedWeapons[taken].name[0], '\0');
  UnequipSlot(1, kSlotFirstCarried, -1, 1);
  EXPECT_EQ(CraftedWeapons[taken].name[0], '\0');
}

TEST_F(CreateCreatureTest, KindWithoutTemplateKeepsTheDefaults) {
  const CreatureRecord& c = Create(5, kKindGiantRat);
  EXPECT_EQ(c.name[0], 0);
  EXPECT_EQ(c.kind, kKindGiantRat);
  EXPECT_EQ(c.level, 0);
  EXPECT_EQ(c.maxHitPoints, 0);
  EXPECT_EQ(c.strength.base, 0);
  EXPECT_EQ(c.squareY, 12);
  EXPECT_EQ(c.present, 1);
}

TEST_F(CreateCreatureTest, HumanTakesNameAndClassFromItsClass) {
  EXPECT_STREQ(Create(1, kKindHuman, 0).name, "Warrior");
  EXPECT_EQ(Creatures[601].creatureClass, kClassWarrior);
  EXPECT_STREQ(Create(1, kKindHuman, kClassKnight).name, "Mercenary");
  EXPECT_EQ(Creatures[601].figure, 171);
  EXPECT_STREQ(Create(1, kKindHuman, kClassNoble).name, "Aristocrat");
  const CreatureRecord& commoner = Create(1, kKindHuman, kClassCommoner);
  const int32_t figures[] = {176, 177, 178, 179, 198, 199};
  EXPECT_NE(std::find(std::begin(figures), std::end(figures), commoner.figure), std::end(figures));
}

TEST_F(CreateCreatureTest, ZombieHoldsToughnessAndChoosesNothing) {
  for (int level : {0, 6, 20}) {
    const CreatureRecord& c = Create(9, kKindZombie, 0, level);
    int feats = 0;
    for (int f = 0; f < kFeatFlags; ++f) feats += c.feats[f];
    EXPECT_EQ(c.feats[kFeatToughness], 1);
    EXPECT_EQ(feats, 1) << "level " << c.level;
  }
  // Toughness comes on top of the hit dice of the same rolls.
  const int withToughness = Create(9, kKindZombie).baseHitPoints;
  const int mul = Create(9, kKindMul).baseHitPoints;
  EXPECT_GE(withToughness, 4 + 3);
  EXPECT_GE(mul, 1 + 3);
}

TEST_F(CreateCreatureTest, AbilityBoostFollowsThePreferredAbilities) {
  const CreatureRecord plain = Create(21, kKindHuman, kClassWizard, 1);
  const CreatureRecord& boosted = Create(21, kKindHuman, kClassWizard, 1, 1);
  EXPECT_EQ(boosted.intelligence.base - plain.intelligence.base, 4);
  EXPECT_EQ(boosted.constitution.base - plain.constitution.base, 3);
  EXPECT_EQ(boosted.dexterity.base - plain.dexterity.base, 2);
  EXPECT_EQ(boosted.strength.base, plain.strength.base);
}

TEST_F(CreateCreatureTest, WarriorOfLevelEightRaisesStrengthTwice) {
  // Level 3 rolls the same template; find a seed that rolls Strength 12.
  for (uint32_t seed = 1; seed < 200; ++seed) {
    if (Create(seed, kKindHuman, kClassWarrior, 3).strength.base != 12) continue;
    const CreatureRecord& c = Create(seed, kKindHuman, kClassWarrior, 8);
    EXPECT_EQ(c.strength.base, 14);
    return;
  }
  FAIL() << "no seed rolled Strength 12";
}

TEST_F(CreateCreatureTest, ElementalSlamDoublesAtLevelTen) {
  const CreatureRecord nine = Create(3, kKindAirElemental, 0, 9);
  const CreatureRecord& ten = Create(3, kKindAirElemental, 0, 10);
  EXPECT_EQ(nine.naturalAttacks[0].effectDice, 1);
  EXPECT_EQ(ten.naturalAttacks[0].effectDice, 2);
  EXPECT_EQ(ten.naturalAttacks[0].effectSides, 6);
  EXPECT_EQ(ten.challengeRating - nine.challengeRating, 2);
}

TEST_F(CreateCreatureTest, DragonsTakeTheAgeRowOfTheirLevelAndGrowHuge) {
  const CreatureRecord young = Create(2, kKindBlackDragon, 0, 2);  // level 18
  EXPECT_EQ(young.special[kSpecialCasterLevel], 1);
  EXPECT_EQ(young.protections[kProtNaturalArmour].base, 15);
  EXPECT_EQ(young.size.base, 4);
  EXPECT_EQ(young.footprintWidth.base, 2);
  EXPECT_EQ(young.naturalAttacks[0].effectDice, 2);
  EXPECT_EQ(young.naturalAttacks[0].effectSides, 6);
  const CreatureRecord& old = Create(2, kKindBlackDragon, 0, 24);  // level 40
  EXPECT_EQ(old.special[kSpecialCasterLevel], 15);
  EXPECT_EQ(old.special[kSpecialAttackDice], 24);
  EXPECT_EQ(old.protections[kProtSpellResistance].base, 28);
  EXPECT_EQ(old.size.base, 5);
  EXPECT_EQ(old.figure, 213);
  EXPECT_EQ(old.displayWords[kDisplayFigureSize], 8);
  EXPECT_EQ(old.footprintWidth.current, 3);
  EXPECT_EQ(old.naturalAttacks[3].kind, kAttackTailSlap);
  EXPECT_EQ(old.naturalAttacks[3].effectDice, 2);
}

TEST_F(CreateCreatureTest, LevelsAndRatingsOfTheKinds) {
  struct Case {
    int kind, classCode, extraLevels, level, rating;
  };
  const Case cases[] = {
      {kKindBalor, 0, 0, 20, 20},
      {kKindBalor, kClassKnight, 2, 22, 22},      // the Balor takes a class it is given
      {kKindBabau, kClassKnight, 2, 9, 8},        // the Babau stays an Outsider: + 2 / 2
      {kKindOrc, 0, 0, 1, 1},
      {kKindOrc, kClassWarrior, 1, 1, 1},         // a rating of 0 becomes 1
      {kKindOrc, kClassCleric, 6, 6, 6},
      {kKindVampire, kClassWarrior, 5, 5, 7},     // the vampire's +2 alone
      {kKindVampire, kClassLich, 9, 9, 3},
      {kKindEarthElemental, 0, 9, 9, 3},
      {kKindTroll, 0, 4, 10, 9},                  // a Warrior with extra levels
      {kKindTroll, kClassCleric, 4, 10, 7},       // own levels 6 >= 4: + 4 / 2
      {kKindGnoll, kClassWizard, 6, 8, 6},        // own levels 2 < 6: + 6 - 2 + 1
      {kKindLich, 0, 3, 14, 16},
      {kKindWolf, 0, 6, 8, 3},                    // animal: + 6 / 3
      {kKindThriKreen, 0, 2, 5, 4},
      {kKindThriKreen, 0, 3, 6, 6},               // + 1 above level 5
  };
  for (const Case& k : cases) {
    const CreatureRecord& c = Create(11, k.kind, k.classCode, k.extraLevels);
    EXPECT_EQ(c.level, k.level) << "kind " << k.kind << " class " << k.classCode;
    EXPECT_EQ(c.challengeRating, k.rating) << "kind " << k.kind << " class " << k.classCode;
  }
  EXPECT_EQ(Create(1, kKindThriKreen, 0, 3).naturalAttacks[1].riderKind, 24);
  EXPECT_EQ(Create(1, kKindIronGolem, 0, 2).protections[kProtSpellResistance].base, 20);
  EXPECT_EQ(Create(1, kKindVrock).special[kSpecialSpellLike], 30);
}

TEST_F(CreateCreatureTest, CastersGetTheirSpellsFeatsAndStyles) {
  SeedRandomForTests(8);
  CreateCreature(3, 1, 1, 603, kKindHuman, kClassCleric, 7, 0, 0, 8, 1, 0, 0, 0, 0);
  const CreatureRecord& c = Creatures[603];
  EXPECT_EQ(c.casterLevelAdjust, 7);
  EXPECT_GT(c.spellsLeft[3], 0);    // spell level 4 at caster level 7
  EXPECT_EQ(c.spellsLeft[4], 0);
  EXPECT_EQ(c.knownSpells[102 + 50], 1);
  EXPECT_EQ(c.knownSpells[102 + 51], 0);
  EXPECT_EQ(c.feats[kFeatSuperiorConcentration], 1);
  EXPECT_EQ(c.feats[kFeatMetamagicEmpower], 1);
  EXPECT_EQ(c.feats[kFeatMetamagicMaximise], 1);
  EXPECT_EQ(c.behaviour[kBehaviourCasting], 50);
  EXPECT_EQ(c.behaviour[kBehaviourCleric], 45);
  EXPECT_EQ(c.behaviour[kBehaviourSpellAttack], 45);
  EXPECT_EQ(c.behaviour[kBehaviourMetamagic], 50);
  EXPECT_EQ(c.behaviour[kBehaviourCastingStyle], 1);
  EXPECT_EQ(c.behaviour[kBehaviourDefensiveStyle], 2);
  EXPECT_EQ(c.behaviour[kBehaviourCounterspell], 8);
  EXPECT_EQ(c.behaviour[kBehaviourRangedUse], 15);
  EXPECT_GE(c.displayWords[kDisplayTurnUndeadUses], 1);

  const CreatureRecord& lich = Create(8, kKindLich, 0, 6);  // level 17
  EXPECT_EQ(lich.casterLevelAdjust, 17);
  EXPECT_EQ(lich.knownSpells[99], 1);
  EXPECT_EQ(lich.feats[kFeatSpellFocusNecromancy], 1);
  EXPECT_EQ(lich.behaviour[kBehaviourSpellAttack], 80);
  EXPECT_EQ(lich.behaviour[kBehaviourGrapple], 0);
}

// The option of the weapon made for the right hand, 0 for none.
int RightHandOption(const CreatureRecord& c) {
  const uint32_t code = c.equipment[kSlotRightHand - 1];
  return IsCraftedCode(code) ? CraftedWeapons[code].itemType : 0;
}

TEST_F(CreateCreatureTest, DefaultWeaponsOfTheKinds) {
  EXPECT_EQ(RightHandOption(Create(4, kKindBalor)), kWeaponLongsword);
  EXPECT_EQ(RightHandOption(Create(4, kKindMinotaur)), kWeaponGreataxe);
  // A salamander's spear, given or drawn, becomes the shortspear for a
  // caster class or above five extra levels.
  EXPECT_EQ(RightHandOption(Create(4, kKindSalamander, 0, 0, 0, kWeaponSpear)), kWeaponSpear);
  EXPECT_EQ(RightHandOption(Create(4, kKindSalamander, kClassWizard, 0, 0, kWeaponSpear)), kWeaponShortspear);
  EXPECT_EQ(RightHandOption(Create(4, kKindSalamander, 0, 6, 0, kWeaponSpear)), kWeaponShortspear);
  EXPECT_EQ(RightHandOption(Create(4, kKindSalamander, 0, 5, 0, kWeaponLongsword)), kWeaponLongsword);
}

TEST_F(CreateCreatureTest, FixedFeatsOfWeaponsAndBodies) {
  const CreatureRecord& twoBlades = Create(6, kKindOrc, kClassWarrior, 3, 0, kWeaponLongsword, kWeaponDagger);
  EXPECT_EQ(twoBlades.feats[kFeatTwoWeaponFighting], 1);
  const CreatureRecord& bear = Create(6, kKindBrownBear, 0, 0, 0, kWeaponLongsword);
  EXPECT_EQ(bear.equipment[kSlotRightHand - 1], 0u);  // a bear carries nothing
  EXPECT_EQ(bear.feats[kFeatImprovedGrapple], 1);
  EXPECT_EQ(bear.feats[kFeatMultiattack], 1);
  EXPECT_EQ(bear.behaviour[kBehaviourGrapple], 40);  // the template's stays
  EXPECT_EQ(Create(6, kKindEarthElemental).feats[kFeatImprovedBullRush], 1);
  EXPECT_EQ(Creatures[601].behaviour[kBehaviourBullRush], 65);
  EXPECT_EQ(Create(6, kKindSkeleton).feats[kFeatImprovedInitiative], 1);
}

// Rogue, and a code beyond the class table, have no class step: the creature
// is made of its kind's own class, the same record class None gives, and so
// has hit dice and at least 1 hit point.
TEST_F(CreateCreatureTest, AClassWithoutATableIsMadeAsTheKindsOwn) {
  static CraftedWeaponRecord crafted[kCraftedRows];
  std::memcpy(crafted, CraftedWeapons, sizeof crafted);
  for (const KindTemplate& t : KindTemplates) {
    if (t.classRule == kClassAlways) continue;
    for (int classCode : {static_cast<int>(kClassRogue), 19}) {
      for (int extraLevels : {0, 6}) {
        SCOPED_TRACE(testing::Message() << "kind " << t.kind << " class " << classCode << " levels " << extraLevels);
        std::memcpy(CraftedWeapons, crafted, sizeof crafted);
        const CreatureRecord own = Create(9, t.kind, kClassNone, extraLevels);
        std::memcpy(CraftedWeapons, crafted, sizeof crafted);
        const CreatureRecord& made = Create(9, t.kind, classCode, extraLevels);
        EXPECT_GE(made.hitPoints, 1);
        EXPECT_EQ(made.hitPoints, made.maxHitPoints);
        EXPECT_EQ(std::memcmp(&own, &made, sizeof own), 0);
        if (HasFailure()) return;
      }
    }
  }
}

// Whatever class a script or a roster gives a kind, the creature made has at
// least 1 hit point, its maximum.
TEST_F(CreateCreatureTest, EveryClassOnEveryKindGivesAtLeastOneHitPoint) {
  static CraftedWeaponRecord crafted[kCraftedRows];
  std::memcpy(crafted, CraftedWeapons, sizeof crafted);
  for (const KindTemplate& t : KindTemplates) {
    for (int classCode = 0; classCode <= kClassMonstrousHumanoid; ++classCode) {
      for (int extraLevels : {0, 6}) {
        SCOPED_TRACE(testing::Message() << "kind " << t.kind << " class " << classCode << " levels " << extraLevels);
        std::memcpy(CraftedWeapons, crafted, sizeof crafted);
        const CreatureRecord& made = Create(3, t.kind, classCode, extraLevels);
        EXPECT_GE(made.hitPoints, 1);
        EXPECT_EQ(made.hitPoints, made.maxHitPoints);
        if (HasFailure()) return;
      }
    }
  }
}

}  // namespace
