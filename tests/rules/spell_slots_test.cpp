#include "rules/spell_slots.h"

#include <array>

#include "rules_fixture.h"

namespace {

using Row = std::array<int32_t, kSpellLevels>;

Row PerDay(int creature) {
  Row r;
  for (int i = 0; i < kSpellLevels; ++i) r[i] = Creatures[creature].spellsPerDay[i];
  return r;
}
Row Left(int creature) {
  Row r;
  for (int i = 0; i < kSpellLevels; ++i) r[i] = Creatures[creature].spellsLeft[i];
  return r;
}

class SpellSlotsTest : public RulesTest {};

TEST_F(SpellSlotsTest, TablesAndBonusSlots) {
  struct Case {
    int level;
    int flag;
    int score;
    Row perDay;
  };
  const Case cases[] = {
      {1, 1, 50, {6, 5, 5, 5, 4, 4, 4, 4, 3}},
      {1, 1, 18, {2, 1, 1, 1, 0, 0, 0, 0, 0}},
      {1, 1, 8, {1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {1, 1, 11, {1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {1, 1, 12, {2, 0, 0, 0, 0, 0, 0, 0, 0}},
      {25, 1, 10, {4, 4, 4, 4, 4, 4, 4, 4, 4}},
      {25, 0, 10, {5, 5, 5, 5, 5, 4, 4, 4, 4}},
      {11, 0, 10, {5, 4, 4, 3, 2, 1, 0, 0, 0}},
      {11, 1, 10, {4, 4, 4, 3, 2, 1, 0, 0, 0}},
      {10, 0, 10, {4, 4, 3, 3, 2, 0, 0, 0, 0}},
      {5, 0, 14, {4, 3, 1, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(1, 1);
    c.intelligence.base = k.flag == 1 ? k.score : 10;
    c.wisdom.base = k.flag == 0 ? k.score : 10;
    c.intelligence.current = c.wisdom.current = 30;  // the current scores are not used
    EXPECT_EQ(SetSpellSlotsByLevel(k.level, 1, k.flag, 0), 1);
    EXPECT_EQ(PerDay(1), k.perDay) << "level " << k.level << " score " << k.score;
  }
}

// A level of 0 or less takes no table row: the counts are the bonus slots
// alone, however often it is called.
TEST_F(SpellSlotsTest, LevelZeroAddsTheBonusOnce) {
  CreatureRecord& c = MakeCreature(1, 1);
  c.intelligence.base = 18;
  for (int level : {0, -3}) {
    c.spellsPerDay[0] = 7;
    SetSpellSlotsByLevel(level, 1, 1, 0);
    SetSpellSlotsByLevel(level, 1, 1, 0);
    EXPECT_EQ(PerDay(1), (Row{1, 1, 1, 1, 0, 0, 0, 0, 0}));
  }
}

TEST_F(SpellSlotsTest, Refill) {
  struct Case {
    int level;
    int effectiveLevel;
    int adjust;
    Row left;
  };
  const Case cases[] = {
      {1, 1, 1, {6, 0, 0, 0, 0, 0, 0, 0, 0}},   // caster level 1
      {1, 1, 0, {6, 0, 0, 0, 0, 0, 0, 0, 0}},   // caster level 0 counts as 1
      {5, 2, 1, {6, 0, 0, 0, 0, 0, 0, 0, 0}},   // drained below 1
      {1, 1, 5, {6, 5, 5, 0, 0, 0, 0, 0, 0}},   // caster level 5
      {1, 1, 20, {6, 5, 5, 5, 4, 4, 4, 4, 3}},  // caster level 20
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(1, k.level);
    c.effectiveLevel = k.effectiveLevel;
    c.casterLevelAdjust = k.adjust;
    c.intelligence.base = 50;
    SetSpellSlotsByLevel(1, 1, 1, 1);
    EXPECT_EQ(Left(1), k.left) << k.level << "/" << k.effectiveLevel << "/" << k.adjust;
  }
}

TEST_F(SpellSlotsTest, NoRefillLeavesTheSpellsLeft) {
  CreatureRecord& c = MakeCreature(1, 1);
  c.spellsLeft[0] = 9;
  c.spellsLeft[8] = 2;
  SetSpellSlotsByLevel(20, 1, 0, 0);
  EXPECT_EQ(Left(1), (Row{9, 0, 0, 0, 0, 0, 0, 0, 2}));
}

}  // namespace
