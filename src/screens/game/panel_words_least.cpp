// Least version of the map mouse handler's word the combat banner reads,
// standing until the mouse handler defines it: no attack order is shown
// waiting for its target.
#include "screens/game/panel_words.h"

int32_t AttackKindBanner = 0;
