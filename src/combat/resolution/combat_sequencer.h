// The combat sequencer that carries spells and special attacks through their steps.
#pragma once
#include <cstdint>

#include "combat/resolution/area_targets.h"
#include "rules/casting_rules.h"  // SpellKeywordFull

// The creature casting the current spell (-1 none).
extern int32_t SpellCaster;

// The spell being cast (998 Turn Undead, 999 a breath weapon or gaze, -1
// none): the current spell of the combat action block under its own name.
extern int32_t& SpellInProgress;

// The casting carried over from an earlier turn: its parameter, the two
// kept values (spell 27, the group spells), how the spell is used (a
// spell-like ability, a wand, a script-set spell) and the action block as it
// was when the casting began.
extern int32_t CastingParameter;
extern int32_t CastingExtraValue[2];
extern uint8_t CastingSpellLike;
extern uint8_t CastingWand;
extern uint8_t CastingScripted;
struct CombatActionState;
extern CombatActionState SavedCastingAction;

// The sequencer's target pass: 1 on the first pass over the targets; a fall
// during it makes it 2.
extern int32_t TargetPass;

// One step of the sequencer, every frame.
void ProcessCombatAction();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatSequencerState();
