// New party members: a complete random level-1 character, the feats that
// class and race grant, and the ability rolls every member keeps to explain
// its scores.
#pragma once
#include <cstdint>

#include "party/party_screens.h"  // CreationAbilityRolls

struct ModifierList;

constexpr int kAbilityCount = 6;  // Strength, Dexterity, Constitution, Intelligence, Wisdom, Charisma
extern const char* const AbilityNames[kAbilityCount];  // "Strength" ... "Charisma"
// The help pages of the six abilities: 21007 Strength to 21012 Charisma.
constexpr int32_t kAbilityHelpPageBase = 21007;

// The record of a member's ability roll.
ModifierList& AbilityRollRecord(int member, int ability);
// Makes a record empty and gives it the caption "<prefix> (<ability>)" and
// the ability's help page.
void StartAbilityRecord(ModifierList* record, const char* prefix, int ability);

// The base score of an ability (0 Strength .. 5 Charisma) of a creature.
int32_t& BaseAbility(int creature, int ability);

// Rebuilds the party member (0 to 3) as a random level-1 Lawful Good human
// male Knight: a name and a colour no member before it has, the Knight's
// base values and feats, and a set of ability rolls good enough to play
// (see the maximum-ability-scores option). Returns 1.
int RollNewCharacter(int member);
// Clears every feat of the creature and sets the ones its class and race
// grant (a Mul's TOUGHNESS among them).
void ResetCreatureFeats(int creature);
// The main menu's new game: the four party records made again by
// RollNewCharacter in member order, the creation page's ability flags and
// saved slots cleared, and NewPartyPending set.
void StartPartyCreation();
