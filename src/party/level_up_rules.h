// What one new level brings a party member: an ability increase every fourth
// level, the level's new feats and spells, and the hit points of its die.
#pragma once
#include <cstdint>

struct ModifierList;

constexpr int kMaxPartyLevel = 20;

// Levels 4, 8, 12, 16 and 20 raise one ability.
bool IsAbilityIncreaseLevel(int32_t level);
// The feats of reaching the class level: 1 at levels 3, 6, 9, 12, 15 and
// 18, one more for a Knight at every even level and for a Wizard at levels
// 5, 10, 15 and 20.
int NewFeatCount(int32_t creatureClass, int32_t level);
// The spells the member learns at its new level: 2 for a Cleric or a Wizard,
// fewer when fewer are left of a level it can cast (the ones already chosen
// at this level counted as left); none for other classes.
int NewSpellCount(int member);
// The hit-point die of the member's class at its current level, by the
// level-up option: the pre-rolled die, the die's top, or its average taken
// alternately low and high (Knight 5 and 6, Cleric 4 and 5, Wizard 2 and 3).
// 0 for other classes.
int32_t LevelHitDie(int member);
// The hit points the member's die gives at its current level, with its
// breakdown ("Hit Point Bonus (name)"): the die, the Constitution modifier
// and, when the two come below 1, what lifts them to 1 (the level-up page
// adds the level's TOUGHNESS and a raised Constitution's earlier levels).
// Returns the total.
int32_t BuildHitPointBonus(int member, ModifierList* list);
