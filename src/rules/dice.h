// The dice routine: every die rolled for the rules goes through it and is
// entered into the modifier list of the roll.
#pragma once
#include <cstdint>

struct ModifierList;

// The list the four-argument form enters its dice into (null: unrecorded).
extern ModifierList* DiceRollList;

// The most dice one roll keeps.
constexpr int kMostDice = 99;

// The source id a die of that many sides is entered under: a d2, d3, d4, d8
// and d10 their own "Roll_of_D..", a d6 "D6_Roll", a d20 "D20_Roll", any
// other "Dice_Roll".
int32_t DiceSource(int sides);

// The sum of count dice of that many sides (at most kMostDice of them), each
// RandomUpTo(sides - 1) + 1, or sides when maximise is set; with dropLowest set
// the lowest die (the first of equal lowest ones) does not count. Each die is
// entered into the list under DiceSource(sides), a dropped die under
// "Lowest_Roll_Omitted" with its value negated; the list is not cleared
// first. 0, recording nothing, when sides or count is below 1.
int RollDice(int sides, int count, int dropLowest, int maximise, ModifierList* list);
// The same into DiceRollList.
int RollDice(int sides, int count, int dropLowest, int maximise);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDiceState();
