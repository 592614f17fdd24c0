// The combat sequencer that carries spells and special attacks through their steps.
#pragma once
#include <cstdint>

#include "rules/casting_rules.h"  // SpellKeywordFull

// The creatures an area spell or action aims at (-1 ends the list).
constexpr int kAreaTargetCount = 300;
extern int32_t AreaTargetList[kAreaTargetCount];

// One step of the sequencer, every frame.
void ProcessCombatAction();
