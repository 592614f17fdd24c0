#include "combat/resolution/combat_sequencer.h"

int32_t SpellCaster = -1;

void ProcessCombatAction() {}

const char* SpellKeywordFull(int) { return ""; }
