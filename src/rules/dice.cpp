#include "rules/dice.h"

#include "engine/random.h"
#include "rules/breakdown_sources.h"
#include "rules/modifier_list.h"

ModifierList* DiceRollList = nullptr;

int RollDice(int sides, int count, int dropLowest, int maximise) {
  if (sides < 1 || count < 1) return 0;
  const int32_t source = sides == 20 ? kSrcD20Roll : sides == 6 ? kSrcD6Roll : kSrcDiceRoll;
  int sum = 0, lowest = sides + 1;
  for (int i = 0; i < count; ++i) {
    const int die = maximise ? sides : static_cast<int>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1;
    sum += die;
    if (die < lowest) lowest = die;
    if (DiceRollList) AddModifier(die, DiceRollList, source);
  }
  if (dropLowest && count > 1) {
    sum -= lowest;
    if (DiceRollList) AddModifier(-lowest, DiceRollList, kSrcLowestOmitted);
  }
  return sum;
}
