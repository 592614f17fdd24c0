#include "creatures/creature_abilities.h"

#include "creation_fixture.h"

namespace {

class CreatureAbilitiesTest : public CreationTest {};

int Known(int creature, int first, int last) {
  int n = 0;
  for (int s = first; s <= last; ++s) n += Creatures[creature].knownSpells[s];
  return n;
}

TEST_F(CreatureAbilitiesTest, AbilityIndicesOutsideTheSixChangeNothing) {
  CreatureRecord& c = MakeCreature(9);
  AddToAbility(9, kWisdom, 3);
  EXPECT_EQ(GetAbility(9, kWisdom), 13);
  EXPECT_EQ(c.wisdom.current, 10);
  const CreatureRecord before = c;
  EXPECT_EQ(AddToAbility(9, 6, 5), 1);
  AddToAbility(9, -1, 5);
  EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0);
  EXPECT_EQ(GetAbility(9, 6), -1);
  EXPECT_EQ(GetAbility(kCreatureCount, kStrength), -1);
}

TEST_F(CreatureAbilitiesTest, KnownSpellsByCasterLevel) {
  struct Case {
    int arcane, level, count;
  };
  for (const Case& k : {Case{1, 0, 14}, Case{0, -3, 17}, Case{1, 2, 14}, Case{1, 3, 27}, Case{0, 8, 51},
                        Case{1, 17, 102}, Case{0, 40, 73}}) {
    MakeCreature(9);
    GrantKnownSpellsByLevel(9, k.arcane, k.level);
    const int first = k.arcane == 1 ? 0 : 102;
    EXPECT_EQ(Known(9, 0, kSpellRows - 1), k.count) << k.arcane << " " << k.level;
    EXPECT_EQ(Known(9, first, first + k.count - 1), k.count);
  }
  MakeCreature(9).knownSpells[170] = 1;
  GrantKnownSpellsByLevel(9, 2, 10);
  GrantKnownSpellsByLevel(9, 1, 1);
  EXPECT_EQ(Known(9, 0, kSpellRows - 1), 15);  // nothing cleared, flag 2 marks nothing
}

}  // namespace
