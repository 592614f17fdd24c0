#include "rules/dice.h"

#include <algorithm>

#include "engine/random.h"
#include "rules/breakdown_sources.h"
#include "rules/modifier_list.h"

ModifierList* DiceRollList = nullptr;

int32_t DiceSource(int sides) {
  switch (sides) {
    case 2: return kSrcRollOfD2;
    case 3: return kSrcRollOfD3;
    case 4: return kSrcRollOfD4;
    case 6: return kSrcD6Roll;
    case 8: return kSrcRollOfD8;
    case 10: return kSrcRollOfD10;
    case 20: return kSrcD20Roll;
    default: return kSrcDiceRoll;
  }
}

int RollDice(int sides, int count, int dropLowest, int maximise, ModifierList* list) {
  if (sides < 1 || count < 1) return 0;
  const int32_t source = DiceSource(sides);
  // Summed wide: 99 dice of the largest sides pass a 32-bit word.
  int64_t sum = 0;
  int lowest = 0;
  for (int i = 0; i < std::min(count, kMostDice); ++i) {
    const int die = maximise != 0 ? sides : static_cast<int>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1;
    sum += die;
    if (i == 0 || die < lowest) lowest = die;
    if (list) AddModifier(die, list, source);
  }
  if (dropLowest != 0) {
    sum -= lowest;
    if (list) AddModifier(-lowest, list, kSrcLowestOmitted);
  }
  return static_cast<int>(std::min<int64_t>(sum, INT32_MAX));
}

int RollDice(int sides, int count, int dropLowest, int maximise) {
  return RollDice(sides, count, dropLowest, maximise, DiceRollList);
}

void ResetDiceState() {
  DiceRollList = nullptr;
}
