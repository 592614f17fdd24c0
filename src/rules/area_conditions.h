// The conditions lasting spell areas give a creature standing in them:
// silence and the insect plague.
#pragma once
#include <cstdint>

// True when the condition changed. flag and view go to ScrollToCreature so
// that the view follows the creature (view, a result byte, may be null).
bool ApplySilenced(int creature, int flag, uint8_t* view);
bool ApplyPlagued(int creature, int flag, uint8_t* view);
bool ReleasePlague(int creature, uint8_t* view);
