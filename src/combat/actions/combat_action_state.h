// The shared combat action block: the action being carried out. Only the
// words read outside combat so far are here; the combat actions add theirs.
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
};

extern CombatActionBlock CombatActionState;
