// The start of a fighter's turn: its conditions counted down, expired
// effects ended, ongoing damage and healing, the conditions that forbid
// acting, the magic areas under it, and the turn's budget. Each step that
// shows the player something queues its event, starts the playback and
// returns; a done byte per step lets the next call go on with the next step.
#pragma once
#include <cstdint>

// The done bytes of the upkeep steps, cleared when a fighter's turn begins.
enum TurnStep : int {
  kStepExpiredConditions,
  kStepAcid,
  kStepPin,
  kStepBleeding,
  kStepRegeneration,
  kStepSleeping,
  kStepStunned,
  kStepCowering,
  kStepDazed,
  kStepCursed,
  kStepConfused,
  kStepSurprised,
  kStepPlague,
  kStepDarkness,
  kStepEntangle,
  kStepSilence,
  kStepFire,
  kStepTurnLost,  // the fighter cannot act this turn
  kTurnSteps,
};
extern uint8_t TurnStepDone[kTurnSteps];
// The byte that says the fighter cannot act this turn.
extern uint8_t& TurnLost;

enum class UpkeepResult {
  kShowing,     // an event is on display; call again once it has been shown
  kTurnLost,    // the fighter cannot act: go on to the next fighter
  kCombatOver,  // the battle has ended
  kDone,        // the turn's budget is set
};

// Counts down the creature's condition durations (1 to 999) by one round;
// a Controlled or Dominated creature whose control ends gets its own side back.
void CountDownConditions(int creature);
// One call of the upkeep of the acting fighter (the creature of the current
// entry; joined: its entry joined the battle this round).
UpkeepResult RunTurnUpkeep(int creature, bool joined);
// The budget of a fighter that can act: a full turn, or a single move during
// the surprise round, for a Nauseated or Slowed fighter or one that acts only
// once per turn.
void SetTurnBudget(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTurnUpkeepState();
