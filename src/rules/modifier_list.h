// Modifier lists: the breakdown of one statistic or one roll (caption, help
// page, total and up to 20 (source, value) pairs), and the combat roll log
// that keeps the lists of the latest rolls of combat.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kModifierPairs = 20;
constexpr int kCombatRollLogSize = 99;

struct ModifierPair {
  int32_t source;  // row of ConditionNames; (0, 0) is an empty pair
  int32_t value;
};

struct ModifierList {
  char caption[40] = {};
  int32_t helpTopic = -1;  // help page explaining the statistic, -1 none
  int32_t total = 0;       // every value ever added, refused ones included
  ModifierPair pairs[kModifierPairs] = {};
};
static_assert(sizeof(ModifierList) == 208);
static_assert(sizeof(ModifierList::caption) == 40);
static_assert(offsetof(ModifierList, helpTopic) == 40);
static_assert(offsetof(ModifierList, total) == 44);
static_assert(offsetof(ModifierList, pairs) == 48);

// Two words that screens keep in arrays.
struct ValuePair {
  int32_t first;
  int32_t second;
};

void InitModifierList(ModifierList* list);
void InitValuePair(ValuePair* pair);

// Adds value to the total, then stores (source, value) in the first empty
// pair; false when all 20 are used (the total keeps the value).
bool AddModifier(int32_t value, ModifierList* list, int32_t source);
// Removes the first pair of that source (every pair of it when all is set),
// taking its value off the total; false when none was there.
bool RemoveModifier(ModifierList* list, int32_t source, uint8_t all);

// The lists of the latest rolls of combat; a log line refers to one by its
// two-digit index.
extern ModifierList CombatRollLog[kCombatRollLogSize];
extern int32_t CombatRollCount;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetModifierListState();
