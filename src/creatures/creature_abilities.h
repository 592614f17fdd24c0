// Abilities and known spells of created creatures.
#pragma once

// Ability indices.
enum AbilityIndex : int {
  kStrength = 0,
  kDexterity = 1,
  kConstitution = 2,
  kIntelligence = 3,
  kWisdom = 4,
  kCharisma = 5,
};
constexpr int kAbilityCount = 6;

// Adds the amount to the base value of the ability; any other index changes
// nothing. Returns 1.
int AddToAbility(int creature, int ability, int amount);
// The base value of the ability; -1 for any other index.
int GetAbility(int creature, int ability);
// Marks the first spells of the arcane group (arcane 1, from spell 0) or the
// divine group (arcane 0, from spell 102) that a caster of that level knows;
// any other flag marks nothing. Spells already known stay known. Returns 1.
int GrantKnownSpellsByLevel(int creature, int arcane, int casterLevel);
