// The dice routine: every die rolled for the rules goes through it and is
// entered into the modifier list being built.
#pragma once
#include <cstdint>

struct ModifierList;

// The list the dice are entered into (null: the dice are rolled unrecorded).
extern ModifierList* DiceRollList;

// The sum of count dice of that many sides, each RandomUpTo(sides - 1) + 1
// (sides when maximise), less the lowest when dropLowest; each die is entered
// into DiceRollList (a d20 under D20_Roll, a d6 under D6_Roll, others under Dice_Roll).
int RollDice(int sides, int count, int dropLowest, int maximise);
