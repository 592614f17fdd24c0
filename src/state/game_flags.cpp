#include "state/game_flags.h"

uint32_t GameFlags[kGameFlagCount] = {};
