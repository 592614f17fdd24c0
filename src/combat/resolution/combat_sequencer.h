// The combat sequencer that carries spells and special attacks through their steps.
#pragma once
#include <cstdint>

#include "combat/resolution/area_targets.h"
#include "rules/casting_rules.h"  // SpellKeywordFull

// The creature casting the current spell (-1 none).
extern int32_t SpellCaster;

// One step of the sequencer, every frame.
void ProcessCombatAction();
