// The combat sequencer that carries spells and special attacks through their steps.
#pragma once
#include <cstdint>

#include "combat/resolution/area_targets.h"
#include "rules/casting_rules.h"  // SpellKeywordFull

// One step of the sequencer, every frame.
void ProcessCombatAction();
