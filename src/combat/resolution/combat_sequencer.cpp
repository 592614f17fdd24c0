#include "combat/resolution/combat_sequencer.h"

void ProcessCombatAction() {}
