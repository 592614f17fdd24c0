// The shared combat action block: the action being carried out. Only the
// words read outside the combat actions so far are here; the combat actions
// add theirs.
#pragma once
#include <cstdint>

struct CombatActionBlock {
  int32_t actionCode = 0;      // 0 none, 12 attack of opportunity, 13 action over, 24 a cast pending from page view
  int32_t actionParameter = 0;
  uint8_t castingByte = 0;
  // Set while a pending combat action holds the right button: the help
  // navigation bar then does not go Back or Forward, and a right press
  // returns to the game and ends the action.
  uint8_t holdsRightButton = 0;
  int32_t currentEntry = -1;       // turn-order index of the acting fighter, -1 none
  int32_t reactingCreature = -1;   // while set, an attack of opportunity or readied attack is made
  int32_t attackCounter = 0;       // attacks made with the current attack-profile entry in this action
  int32_t currentProfileEntry = 0; // the attack-profile entry in use
  int32_t movementProvokes = 0;    // nonzero while the acting fighter's movement provokes attacks
  int32_t movesLeft = 0;           // feet; 0 once a web holds the mover
  int32_t fiveFootStep = 0;        // 1 = the move is a five-foot step
};

extern CombatActionBlock CombatActionState;

// A grapple attack sequence is under way, and the attacks made inside it.
extern uint8_t GrappleSequenceOpen;
extern int32_t GrappleAttacksMade;

// -1 none, 1 a Cleave attack pending, 2 a Great Cleave attack pending; while
// set the attack counter counts one attack too many.
extern int32_t g_Cleaving;

// The creature of the acting turn-order entry, -1 when none.
int CurrentFighter();
