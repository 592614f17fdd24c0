#include "combat/resolution/combat_sequencer.h"

int32_t SpellCaster = -1;

void ProcessCombatAction() {}

void ResetCombatSequencerState() {
  SpellCaster = -1;
}
