#include "combat/resolution/combat_sequencer.h"

int32_t AreaTargetList[kAreaTargetCount] = {};

void ProcessCombatAction() {}
