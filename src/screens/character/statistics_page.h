// The pages that explain one statistic of a creature (page types 10 to 45):
// its breakdown as a modifier list, derived here from the creature's base
// values and active conditions (10 to 23), taken from the armour class (24)
// or copied from one list of the creature's attack profile (25 to 45).
#pragma once
#include <cstdint>

struct ModifierList;

// Page types of the statistics.
enum StatisticPage : int32_t {
  kStatLevel = 10,
  kStatHitPoints = 11,
  kStatSize = 12,
  kStatStrength = 13,
  kStatDexterity = 14,
  kStatConstitution = 15,
  kStatIntelligence = 16,
  kStatWisdom = 17,
  kStatCharisma = 18,
  kStatFortitude = 19,
  kStatReflex = 20,
  kStatWillpower = 21,
  kStatBaseAttack = 22,
  kStatSpeed = 23,
  kStatArmourClass = 24,
  kStatAttackCountFirst = 25,  // 25 to 31: number of attacks of entry type - 25
  kStatAttackRollFirst = 32,   // 32 to 38: attack roll of entry type - 32
  kStatDamageBonusFirst = 39,  // 39 to 45: damage bonus of entry type - 39
  kStatLast = 45,
};

// The crafted item whose weapon list a page of types 25 to 45 shows (its
// weapon rows link to it).
extern uint32_t PageWeaponCode;

// Fills the list of a statistic page of type 10 to 23 for the creature: its
// caption and help page, and one row per source. Other types leave it empty.
void BuildStatisticList(int32_t type, int creature, ModifierList* list);
// The list the page shows now (for tests).
const ModifierList& StatisticsPageList();
