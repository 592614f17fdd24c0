// The shared block of the combat action being carried out, the mark words and
// the combat cycle's state word, written by the combat actions and the turn
// cycle and read by the rules, the map and the screens; and the services of
// the combat actions that the map calls (implemented in combat/actions).
#pragma once
#include <cstdint>

#include "state/current_cast.h"  // the current spell, its caster and metamagic

// The shared block of the action being carried out.
struct CombatActionState {
  int32_t currentEntry = -1;  // index into the turn order, -1 none
  int32_t actionCode = 0;     // 0 none, 12 attack of opportunity, 13 action over, 24 cast from page view
  int32_t actionParameter = 0;
  uint8_t casting = 0;
  int32_t movesLeft = 0;            // feet the acting fighter may still move; 0 once a web holds the mover
  int32_t fiveFootStep = 0;         // 1 = the move is a five-foot step
  int32_t fullRoundActionLeft = 0;  // nonzero while the full-round action is available
  int32_t standardActionLeft = 0;   // nonzero while the single action is available
  // Set while a pending combat action holds the right button: the help
  // navigation bar then does not go Back or Forward, and a right press
  // returns to the game and ends the action.
  uint8_t holdsRightButton = 0;
  int32_t reactingCreature = -1;   // while set, an attack of opportunity or readied attack is made
  int32_t attackCounter = 0;       // attacks made with the current attack-profile entry in this action
  int32_t currentProfileEntry = 0; // the attack-profile entry in use
  int32_t movementProvokes = 0;    // nonzero while the acting fighter's movement provokes attacks
  uint8_t playerControlled = 0;    // 1: the acting fighter takes the player's orders
  int32_t attackMade = 0;          // 1 once a real attack of the action has been resolved
  int32_t moveMode = 0;            // 3 while the move is a charge
  // The rest of the turn's budget, set when a fighter's turn begins.
  int32_t moveActionLeft = 0;       // 1 while the move action is available
  int32_t fiveFootStepLeft = 0;     // 1 until the fighter enters any square
  uint8_t fiveFootStepAllowed = 0;  // whether it may take a five-foot step at all this turn
  int32_t movementClosed = 0;       // 1 closes movement for the rest of the turn
  uint8_t singleActionTurn = 0;     // the turn has a single move (surprise, Nauseated, Slowed)
  int32_t endedActionCode = 0;      // the action being played back under code 13
  int32_t selectedAction = -1;      // the action-list row waiting for a target, -1 none
  uint8_t cleaveUsed = 0;
  uint8_t fiveFootStepTaken = 0;
  uint8_t attackSequenceOpen = 0;   // a full melee attack is under way
  uint8_t shootingSequenceOpen = 0; // a full ranged attack is under way
  int32_t meleeAttacksMade = 0, meleeAttacksAllowed = 0;
  int32_t shotsMade = 0, shotsAllowed = 0;
  uint8_t inventoryOpenedThisTurn = 0;
  // The computer's planning of the turn (rolled at the next-fighter step).
  uint8_t whirlwindPlanned = 0;
  uint8_t bullRushPlanned = 0;
  uint8_t useAlternateAttack = 0;   // the fourth natural attack instead of the first
  uint8_t turnUndeadPlanned = 0;
  uint8_t breathPlanned = 0;
  uint8_t wandPlanned = 0;
  uint8_t spellLikePlanned = 0;
  uint8_t scriptedSpellPlanned = 0;
  int32_t scriptedSpell = -1;       // the preprogrammed spell, -1 none
  uint8_t useSpells = 1;
  uint8_t cureOthers = 0;
  uint8_t seekCastingSquare = 0;    // while set, a caster may put off seeking a square to cast from
  int32_t preferredRange = 0;       // squares a caster keeps from its foes, 0 none
  int32_t confusionRoll = 0;        // d100 of a Confused or Insane fighter
  int32_t attacksInEntry = 0;      // attacks the attack-profile entry in use allows
  // Planning bytes of the computer's decision: keep the standard action
  // (stop the walk within one move), and the two stop-for-standard-action
  // flags that the walk-back of the best square sets.
  uint8_t keepStandardAction = 0;
  uint8_t stopForStandardAction[2] = {0, 0};
  // The computer decision's bytes of the turn, cleared when a fighter's turn
  // is prepared.
  uint8_t moveAgain = 0;          // one more computer move after the one issued
  uint8_t grappleAttack = 0;      // the grapple lets the fighter attack its partner
  // The magic-area kind a computer fighter is walking out of (0 none), and
  // the word set once it has moved this turn.
  int32_t leavingArea = 0;
  uint8_t moved = 0;
};
extern CombatActionState CombatAction;
// The acting turn-order entry under its own name (the block's currentEntry).
extern int32_t& CurrentTurnIndex;

// -1 idle, 0 and up the running action's step, 99 its end is due.
extern int32_t g_ProcessingAttackNumber;
// Set when the fighter whose turn it is falls: once its death has been shown
// the turn passes to the next fighter.
extern uint8_t ActorFellDuringReaction;
// The spell the acting fighter casts when its move ends, -1 none.
extern int32_t SpellAfterMove;
// A reaction has borrowed the attacker and target (during a move the mover
// waits on a square it has already entered and paid for).
extern uint8_t ReactionPending;
// The target of the attack being made (its attacker is ActingCreature, with
// state/inventory_state.h); the action's own target kept while a reaction
// borrows the pair; -1 none.
extern int32_t ActionTarget;
extern int32_t SavedTarget;
// After an attack of opportunity on a mover, look for the next enemy that
// threatens it; the queued event is the prelude marker (64).
extern uint8_t ContinueOpportunityChain;
extern uint8_t EventIsPrelude;
// Set when the acting fighter spent an action before moving: its remaining
// move is labelled "Move Action" rather than "Double Move Action".
extern uint8_t ActionBeforeMove;

// The attack counter the current-action banner shows, written after every
// attack: the number of the attack just made, the attacks allowed, hidden,
// and the cleave kind (-1 none, 1 Cleave, 2 Great Cleave).
struct AttackCounterWords {
  int32_t attackNumber = 0;
  int32_t attackCount = 0;
  uint8_t hidden = 0;
  int32_t cleaveKind = -1;
};
extern AttackCounterWords AttackCounterDisplay;

// A grapple attack sequence is under way, the attacks made inside it, and
// that it has ended.
extern uint8_t GrappleSequenceOpen;
extern int32_t GrappleAttacksMade;
extern uint8_t GrappleAttackEnded;

// -1 none, 1 a Cleave attack pending, 2 a Great Cleave attack pending; while
// set the attack counter counts one attack too many.
extern int32_t g_Cleaving;

// A spell to cast when the acting fighter's action ends (-1 none); the
// executor's busy byte; set when a queued cast has been started.
extern int32_t QueuedSpell;
extern uint8_t ExecutorBusy;
extern uint8_t CastStarted;
// 1 while the action being carried out is a coup de grace by the acting fighter.
extern uint8_t CoupDeGraceAction;

// The creature of the acting turn-order entry, -1 when none.
int CurrentFighter();

// One mark word per creature record (the highlight of the turn's fighter)
// with its timer, and one per fighter slot.
extern int32_t CreatureMarkWords[2100];
extern int32_t HighlightTimer;
extern int32_t FighterMarkWords[300];
// The creature whose death RunDeathScript handles, -1 none: the playback
// creature of state/current_cast.h under its older name.
extern int32_t& DyingCreature;

// The combat state word and its values (6 never occurs).
extern int32_t CombatState;
enum CombatStateValue : int32_t {
  kStateStartOfCombat = 0,
  kStatePlayerTurn = 1,
  kStateComputerDecision = 2,
  kStateActionUnderWay = 3,
  kStateNextFighter = 4,
  kStateEndOfRound = 5,
  kStateStartOfTurn = 7,
};

// Services of the combat actions (implemented in combat/actions) that the
// map's square entry calls when a creature dies or leaves the battle.
// Runs the death or fall script due for PlaybackCreature; 1.
int RunDeathScript();
// Takes a fallen creature out of the battle; the fall result (10 no change,
// 11 died, 12 knocked out, 13 petrified). The death event goes into the
// event entry given (-1 entry 1).
int RemoveFromCombat(int creature, int eventIndex);
// True when one side is gone from the turn order (the battle is won or lost).
bool IsBattleDecided();
// True when one side is gone and the battle has ended.
bool CheckEndOfCombat();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatActionState();
