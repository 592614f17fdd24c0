#include "combat/actions/combat_sounds.h"

#include "engine/reset_words.h"

CombatSoundRequest PendingCombatSound;

void QueueCombatSound(int32_t item, uint8_t ranged, int32_t kind, int32_t value, uint8_t flag) {
  PendingCombatSound = {1, item, ranged, kind, value, flag};
}

void ResetCombatSoundsState() {
  ResetWords(PendingCombatSound);
}
