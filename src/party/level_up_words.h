// The words a level-up shares with the feat and spell pages it opens: the
// choices made so far and which of two choices the next pick fills.
#pragma once
#include <cstdint>

// First new feat, second new feat, first new spell, second new spell of
// the level-up under way (-1 none).
enum PendingChoice : int { kPendingFirstFeat = 0, kPendingSecondFeat = 1, kPendingFirstSpell = 2, kPendingSecondSpell = 3 };
extern int32_t PendingLevelUpChoices[4];
// 1 or 2: whether the next feat (spell) picked is the first or the second
// new one; set by the level-up page before it opens the feat (spell) page.
extern int32_t FeatSlotCounter;
extern int32_t SpellSlotCounter;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetLevelUpWords();
