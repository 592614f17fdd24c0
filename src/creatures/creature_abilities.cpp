#include "creatures/creature_abilities.h"

#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

StatPair* AbilityPair(int creature, int ability) {
  if (!IsValidCreature(creature)) return nullptr;
  CreatureRecord& c = Creatures[creature];
  switch (ability) {
    case kStrength: return &c.strength;
    case kDexterity: return &c.dexterity;
    case kConstitution: return &c.constitution;
    case kIntelligence: return &c.intelligence;
    case kWisdom: return &c.wisdom;
    case kCharisma: return &c.charisma;
    default: return nullptr;
  }
}

constexpr int kFirstDivineSpell = 102;

// Spells a caster knows by caster level: levels 1-2, 3-4 ... 15-16, 17 and above.
constexpr int kArcaneSpellsKnown[9] = {14, 27, 40, 54, 66, 77, 86, 95, 102};
constexpr int kDivineSpellsKnown[9] = {17, 29, 42, 51, 59, 63, 67, 70, 73};

}  // namespace

int AddToAbility(int creature, int ability, int amount) {
  if (StatPair* pair = AbilityPair(creature, ability)) pair->base += amount;
  return 1;
}

int GetAbility(int creature, int ability) {
  const StatPair* pair = AbilityPair(creature, ability);
  return pair ? pair->base : -1;
}

int GrantKnownSpellsByLevel(int creature, int arcane, int casterLevel) {
  if (!IsValidCreature(creature) || (arcane != 0 && arcane != 1)) return 1;
  int band = (casterLevel - 1) / 2;
  if (casterLevel < 1) band = 0;
  if (band > 8) band = 8;
  const int first = arcane == 1 ? 0 : kFirstDivineSpell;
  const int count = arcane == 1 ? kArcaneSpellsKnown[band] : kDivineSpellsKnown[band];
  for (int spell = first; spell < first + count && spell < kSpellRows; ++spell)
    Creatures[creature].knownSpells[spell] = 1;
  return 1;
}
