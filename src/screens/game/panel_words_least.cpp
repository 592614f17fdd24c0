// Least versions of the map mouse handler's words the combat panels read,
// standing until the mouse handler defines them: no attack order is shown
// waiting for its target and the keypad never moves the leader.
#include "screens/game/panel_words.h"

int32_t AttackKindBanner = 0;
uint8_t KeypadStepActive = 0;
