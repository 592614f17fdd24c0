// Carrying out the acting fighter's action, one small step per frame: the
// dispatch on the action code, the playback of an attack's animation and
// events (the reacting-creature value 2100), the end of an action (code 13)
// with its queued follow-up, and handing the turn back to the fighter. Out
// of combat the same call walks the creatures of the map.
#pragma once
#include <cstdint>

// Action codes of the combat action block.
enum ActionCode : int32_t {
  kActionNone = 0,
  kActionWalkPath = 1,
  kActionMeleeAttack = 2,
  kActionFullAttack = 3,
  kActionNextAttack = 4,
  kActionFiveFootStep = 5,
  kActionStepAndAttack = 6,
  kActionMoveAndAttack = 7,
  kActionShot = 8,
  kActionFullShots = 9,
  kActionNextShot = 10,
  kActionCharge = 11,
  kActionEnd = 13,
  kActionEscape = 14,
  kActionInventory = 15,
  kActionWake = 16,
  kActionDance = 17,
  kActionGrapple = 18,
  kActionPin = 19,
  kActionReload = 20,
  kActionWhirlwind = 21,
  kActionBullRush = 22,
  kActionAlarm = 23,
};

// The reacting-creature value while an attack's animation and events are
// played back; 0 to 2099 is a creature reacting now; -1 none.
constexpr int32_t kReactorPlayback = 2100;
// The phase of a sequence whose end is due.
constexpr int32_t kPhaseEnd = 99;

// The flight of a shot's missile: its start point, the step it moves each
// frame (the missile speed along the line to the target), the frames flown
// and whether it is in the air. The game screen draws it at MissileState.
struct ShotFlightWords {
  double startX = 0, startY = 0;
  double stepX = 0, stepY = 0;
  int32_t frames = 0;
  uint8_t flying = 0;
};
extern ShotFlightWords ShotFlight;
// The codes of an action that moves the fighter: a walk, a five-foot step,
// a step or a move and then an attack, a charge.
bool IsMoveAction(int32_t code);

// Pixels a missile flies each frame (4 at start; the game screen may change it).
extern int32_t MissilePixelsPerFrame;

// One step of the action under way (in combat) or of walking (out of
// combat); 1 always.
int ExecuteCombatAction();

// The common end of an action whose last step failed: an empty event shown
// over the action's target, then (code 13) the turn handed back. 1.
int FinishActionAfterFailure();
// Action code 0 and the turn back to the fighter: a player-controlled one
// waits for orders (state 1), a computer-controlled one decides again (state 2).
void HandTurnBack();
// The turn after an attack, shot, grapple or bull rush refused before it
// began: a player-controlled fighter gets it back to order something else,
// and so does a computer-controlled one the first time in its turn; at a
// second refusal in the turn, its decision would only order the same again,
// so the turn ends (state 4). The count is cleared as each turn begins,
// and by a new game or a load.
extern int32_t RefusedOrdersThisTurn;
void HandBackRefusedOrder();
// Shows the queued events over the creature, one every FramesPerEvent frames.
void StartEventPlayback(int creature);
// One frame of the playback of the queued events: counts the shown event
// down, runs the death scripts, moves on to the next event and, after an
// attack, to the attacker's two extra events; a death shown takes its
// creature off the map. False once the playback is over (PlaybackCreature -1).
bool StepEventPlayback(bool afterAttack);

// Whether the attacker may act on its target: the target present, the
// attacker free to strike (rules/free_deeds.h).
bool IsTargetValid(int attacker, int target);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetActionExecutorState();
