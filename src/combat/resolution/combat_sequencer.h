// The combat sequencer that carries spells and special attacks through their steps.
#pragma once
#include <cstdint>

#include "combat/resolution/area_targets.h"

// One step of the sequencer, every frame.
void ProcessCombatAction();

// The full keyword of a spell as the log writes it ("" for an unknown id).
const char* SpellKeywordFull(int spell);
