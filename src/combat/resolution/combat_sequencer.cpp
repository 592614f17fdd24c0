#include "combat/resolution/combat_sequencer.h"

void ProcessCombatAction() {}

const char* SpellKeywordFull(int) { return ""; }
