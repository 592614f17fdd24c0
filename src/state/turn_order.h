// The initiative order of a battle: one entry per fighter with its planned
// (held) action, the in-combat flag, and cancelling a readied action.
#pragma once
#include <cstdint>

constexpr int kTurnOrderEntries = 300;

struct TurnOrderEntry {
  int32_t creature = -1;         // -1 none
  uint8_t joinedThisRound = 0;
  uint8_t threatMark = 0;
  uint8_t opportunityMark = 0;
  int32_t plannedAction = 0;     // 9, 21, 22, 23 readied; 24-31 a carried casting
  int32_t plannedTarget = 0;
  int32_t plannedParameter = 0;
  int32_t triggerCreature = -1;  // releases a readied action against casting, -1 none
  int32_t extraValue1 = 0;
  int32_t extraValue2 = 0;
};

extern TurnOrderEntry TurnOrder[kTurnOrderEntries];
extern int32_t TurnEntryCount;
// 1 while a battle runs.
extern uint32_t InCombat;
// Set by the combat state machine each time the turn passes to a fighter:
// the initiative panel brings the acting entry into view once.
extern uint8_t InitiativeAutoScroll;
// One more each time the turn passes to a fighter (a battle's first turn
// too, and a turn that resumes a held casting): words kept for one turn
// compare it to know that their turn has passed.
extern uint32_t TurnsBegun;

// In combat, clears the creature's readied action (codes 9, 21, 22, 23):
// code, target and parameter 0, trigger -1. True when one was cancelled.
bool CancelReadiedAction(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTurnOrderState();
