// The shared combat action block: the action being carried out. Only the
// words read outside the combat actions so far are here; the combat actions
// add theirs.
#pragma once
#include <cstdint>

struct CombatActionBlock {
  int32_t actionCode;      // 0 none, 12 attack of opportunity, 13 action over, 24 a cast pending from page view
  int32_t actionParameter;
  uint8_t castingByte;
  // Set while a pending combat action holds the right button: the help
  // navigation bar then does not go Back or Forward, and a right press
  // returns to the game and ends the action.
  uint8_t holdsRightButton;
  int32_t currentEntry = -1;       // turn-order index of the acting fighter, -1 none
  int32_t reactingCreature = -1;   // while set, an attack of opportunity or readied attack is made
  int32_t attackCounter;           // attacks made with the current attack-profile entry in this action
  int32_t currentProfileEntry;     // the attack-profile entry in use
  int32_t movementProvokes;        // nonzero while the acting fighter's movement provokes attacks
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
