// The shared combat action block: the action being carried out. Only the
// words read outside combat so far are here; the combat actions add theirs.
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
  // Movement words of the acting fighter.
  int32_t currentTurn = -1;     // turn-order index of the acting fighter, -1 none
  int32_t movesLeft = 0;        // feet; 0 once a web holds the mover
  int32_t fiveFootStep = 0;     // 1 = the move is a five-foot step
  int32_t reactingCreature = -1;  // -1 none; set while an attack of opportunity is made
};

extern CombatActionBlock CombatActionState;
