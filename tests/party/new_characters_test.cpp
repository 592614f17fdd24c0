// New party members: the random level-1 character, the rolls that explain
// its scores, and the class, race and gender choices of the creation page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "engine/random.h"
#include "engine/settings.h"
#include "frontend/game_reset.h"
#include "party/character_names.h"
#include "party/creation_rules.h"
#include "party/new_characters.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "state/game_progress.h"

namespace {

class NewCharacters : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    SeedRandomForTests(11);
    OptionWords[kOptionMaxAbilityScores] = 0;
  }
};

int CountPairs(const ModifierList& list, int32_t source, int32_t value) {
  int n = 0;
  for (const ModifierPair& p : list.pairs) n += p.source == source && p.value == value ? 1 : 0;
  return n;
}

bool InList(const char (*names)[kNameRowSize], int count, const char* name) {
  for (int i = 0; i < count; ++i)
    if (std::strcmp(names[i], name) == 0) return true;
  return false;
}

std::set<int> HeldFeats(int member) {
  std::set<int> held;
  for (int f = 0; f < kFeatFlags; ++f)
    if (Creatures[member].feats[f] != 0) held.insert(f);
  return held;
}

// Every score is explained by its record: the record's total is the score.
void ExpectRecordsExplainScores(int member) {
  for (int a = 0; a < kAbilityCount; ++a) {
    EXPECT_EQ(AbilityRollRecord(member, a).total, BaseAbility(member, a)) << "member " << member << " ability " << a;
    EXPECT_EQ(AbilityRollRecord(member, a).helpTopic, 21007 + a);
  }
}

TEST_F(NewCharacters, ANewPartyIsFourPlayableKnightsWithTheirOwnNamesAndColours) {
  for (int option : {0, 2, 6}) {
    OptionWords[kOptionMaxAbilityScores] = option;
    for (int round = 0; round < 25; ++round) {
      StartPartyCreation();
      EXPECT_EQ(NewPartyPending, 1);
      std::set<std::string> names;
      std::set<int> figures;
      for (int m = 0; m < kPartySize; ++m) {
        const CreatureRecord& c = Creatures[m];
        names.insert(c.name);
        figures.insert(c.figure);
        EXPECT_TRUE(InList(MaleNames, kMaleNameCount, c.name)) << c.name;
        EXPECT_GE(c.figure, 1);
        EXPECT_LE(c.figure, 8);
        EXPECT_EQ(c.gender, 1);
        EXPECT_EQ(c.creatureClass, kClassKnight);
        EXPECT_EQ(c.kind, 57);
        EXPECT_EQ(c.alignment, 1);
        EXPECT_EQ(c.level, 1);
        EXPECT_EQ(c.effectiveLevel, 1);
        EXPECT_EQ(c.baseAttack.base, 1);
        EXPECT_EQ(c.fortitude.base, 2);
        EXPECT_EQ(c.reflex.base, 0);
        EXPECT_EQ(c.willpower.base, 0);
        std::set<int> knight = {29, 54, 55, 56, 57};
        for (int f = 30; f <= 51; ++f) knight.insert(f);
        EXPECT_EQ(HeldFeats(m), knight);
        int halves = 0, best = 0, eighteens = 0;
        for (int a = 0; a < kAbilityCount; ++a) {
          const int score = BaseAbility(m, a);
          EXPECT_GE(score, 3);
          EXPECT_LE(score, 18);
          halves += score / 2;
          best = std::max(best, score);
          eighteens += score == 18 ? 1 : 0;
          const ModifierList& r = AbilityRollRecord(m, a);
          EXPECT_EQ(std::string(r.caption), "Ability Roll (" + std::string(AbilityNames[a]) + ")");
          if (option == 6) {
            EXPECT_EQ(CountPairs(r, kSrcD6Roll, 6), 4);
            EXPECT_EQ(CountPairs(r, kSrcLowestOmitted, -6), 1);
            EXPECT_EQ(r.pairs[5].source, 0);  // the first dice are gone from the record
          }
        }
        ExpectRecordsExplainScores(m);
        EXPECT_GT(halves, 30);
        EXPECT_GE(best, 14);
        EXPECT_GE(eighteens, option);
      }
      EXPECT_EQ(names.size(), 4u);
      EXPECT_EQ(figures.size(), 4u);
    }
  }
}

TEST_F(NewCharacters, EveryClassAndRaceMakesALegalLevelOneCharacter) {
  struct ClassCase {
    int32_t code, bab, fort, ref, will, figureBase;
    std::set<int> granted;
  };
  std::set<int> knight = {29, 54, 55, 56, 57};
  for (int f = 30; f <= 51; ++f) knight.insert(f);
  const ClassCase classes[] = {{kClassKnight, 1, 2, 0, 0, 0, knight},
                               {kClassWizard, 0, 0, 0, 2, 8, {289}},
                               {kClassCleric, 0, 2, 0, 2, 16, {29, 54, 55, 56, 57}}};
  const int32_t races[] = {kRaceHuman, kRaceMul, kRaceHalfElf};
  for (const ClassCase& k : classes)
    for (int32_t race : races) {
      RollNewCharacter(1);
      int rolled[kAbilityCount];
      for (int a = 0; a < kAbilityCount; ++a) rolled[a] = BaseAbility(1, a);
      const int colour = FigureColour(1);
      Creatures[1].knownSpells[3] = 1;
      ChooseClass(1, k.code);
      ChooseRace(1, race);
      const CreatureRecord& c = Creatures[1];
      EXPECT_EQ(c.figure, 1 + colour + k.figureBase);
      EXPECT_EQ(c.baseAttack.base, k.bab);
      EXPECT_EQ(c.fortitude.base, k.fort);
      EXPECT_EQ(c.reflex.base, k.ref);
      EXPECT_EQ(c.willpower.base, k.will);
      std::set<int> feats = k.granted;
      if (race == kRaceMul) feats.insert(kFeatToughness);
      EXPECT_EQ(HeldFeats(1), feats);
      EXPECT_EQ(Creatures[1].feats[kFeatToughness], race == kRaceMul ? 1 : 0);
      EXPECT_EQ(KnownSpells(1).size(), 0u);
      for (int a = 0; a < kAbilityCount; ++a) EXPECT_EQ(BaseAbility(1, a), rolled[a] + RacialAdjustment(race, a));
      ExpectRecordsExplainScores(1);
      EXPECT_EQ(c.protections[ImmunityPair(kImmSleep)].base, race == kRaceHalfElf ? 1 : 0);
      EXPECT_TRUE(ChosenFeats(1).empty());
      EXPECT_EQ(FeatPicksAtCreation(1), 1 + (k.code == kClassKnight) + (race == kRaceHuman));
      const int caster = k.code == kClassWizard ? c.intelligence.base : k.code == kClassCleric ? c.wisdom.base : -1;
      EXPECT_EQ(SpellPicksAtCreation(1), caster < 0 ? 0 : caster / 2 - 2);
    }
}

TEST_F(NewCharacters, RacesComeAndGoWithoutLeavingTheirMark) {
  RollNewCharacter(0);
  int rolled[kAbilityCount];
  ModifierList records[kAbilityCount];
  for (int a = 0; a < kAbilityCount; ++a) {
    rolled[a] = BaseAbility(0, a);
    records[a] = AbilityRollRecord(0, a);
  }
  ChooseRace(0, kRaceHalfElf);
  EXPECT_EQ(CountPairs(AbilityRollRecord(0, 3), kSrcRacialIntelligence, 2), 1);
  ChooseRace(0, kRaceMul);
  EXPECT_EQ(BaseAbility(0, 0), rolled[0] + 2);
  EXPECT_EQ(CountPairs(AbilityRollRecord(0, 0), kSrcRacialStrength, 2), 1);
  EXPECT_EQ(CountPairs(AbilityRollRecord(0, 0), kSrcRacialStrength, -2), 0);
  ChooseRace(0, kRaceHuman);
  for (int a = 0; a < kAbilityCount; ++a) {
    EXPECT_EQ(BaseAbility(0, a), rolled[a]);
    EXPECT_EQ(std::memcmp(&AbilityRollRecord(0, a), &records[a], sizeof records[a]), 0) << a;
  }
}

TEST_F(NewCharacters, GenderChoicesRebuildTheFigureAndAFemaleMulTurnsMale) {
  RollNewCharacter(0);
  RollNewCharacter(2);
  ChooseClass(2, kClassCleric);
  const int colour = FigureColour(2);
  ChooseGender(2, kGenderFemale);
  ChooseGender(2, kGenderFemale);  // chosen again: the offset is not added twice
  EXPECT_EQ(Creatures[2].figure, 1 + colour + 16 + 139);
  EXPECT_TRUE(InList(FemaleNames, kFemaleNameCount, Creatures[2].name));
  EXPECT_STRNE(Creatures[2].name, Creatures[0].name);
  ChooseRace(2, kRaceHalfElf);
  ChooseRace(2, kRaceMul);
  EXPECT_EQ(Creatures[2].gender, kGenderMale);
  EXPECT_EQ(Creatures[2].figure, 1 + colour + 16);
  EXPECT_TRUE(InList(MaleNames, kMaleNameCount, Creatures[2].name));
  EXPECT_STRNE(Creatures[2].name, Creatures[0].name);
}

TEST_F(NewCharacters, ClassesAndRacesGrantTheirFeatsAndNothingElse) {
  Creatures[9].creatureClass = kClassCleric;
  Creatures[9].feats[kFeatDodge] = 1;
  ResetCreatureFeats(9);
  EXPECT_EQ(HeldFeats(9), (std::set<int>{29, 54, 55, 56, 57}));
  Creatures[9].creatureClass = kClassWizard;
  ResetCreatureFeats(9);
  EXPECT_EQ(HeldFeats(9), (std::set<int>{289}));
  Creatures[9].kind = kRaceMul;
  ResetCreatureFeats(9);
  EXPECT_EQ(HeldFeats(9), (std::set<int>{11, 289}));
}

TEST_F(NewCharacters, PicksCountTheChosenFeatsAndTheCastingAbility) {
  RollNewCharacter(0);  // a Human Knight: three feats
  CreatureRecord& c = Creatures[0];
  c.feats[kFeatToughness] = 2;
  c.feats[kFeatDodge] = 1;
  EXPECT_EQ(ChosenFeats(0), (std::vector<int>{kFeatToughness, kFeatToughness, kFeatDodge}));
  EXPECT_EQ(FeatPicksAtCreation(0), 3);
  ChooseRace(0, kRaceMul);  // two feats, TOUGHNESS given once
  c.feats[kFeatToughness] = 2;
  c.feats[kFeatCleave] = 1;
  EXPECT_EQ(ChosenFeats(0), (std::vector<int>{kFeatToughness, kFeatCleave}));
  EXPECT_EQ(FeatPicksAtCreation(0), 2);
  ChooseClass(0, kClassWizard);
  c.intelligence.base = 10;
  EXPECT_EQ(SpellPicksAtCreation(0), 3);
  c.intelligence.base = 17;
  EXPECT_EQ(SpellPicksAtCreation(0), 6);
}

}  // namespace
