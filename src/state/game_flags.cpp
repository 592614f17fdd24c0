#include "state/game_flags.h"

#include "engine/reset_words.h"

uint32_t GameFlags[kGameFlagCount] = {};

void ResetGameFlagsState() {
  ResetWords(GameFlags);
}
