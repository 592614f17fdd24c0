// The numbers shown beside the creatures of an area while the player aims a
// spell: the damage each should take, or the chance in percent that the
// spell takes effect on it. Nothing is rolled and nothing else changes.
#pragma once
#include <cstdint>

#include "rules/creature_record.h"

// One value per creature record: -1 unaffected, -2 healed instead of hurt,
// else the expected damage or the chance in percent.
extern int32_t SpellPreviewValues[kCreatureCount];
constexpr int32_t kPreviewUnaffected = -1;
constexpr int32_t kPreviewHealed = -2;

// For the damaging spells: the expected damage of CurrentSpell cast by
// ActingCreature on each creature of the area target list. 1 when the
// current spell is one of them, else 0 and nothing is done.
int PreviewSpellArea();
// For the spells with a saving throw or spell resistance (and Turn Undead):
// the chance in percent that the spell takes effect on each creature of the
// list. 1 when the current spell is one of them, else 0 and nothing is done.
int BuildSpellAreaGrid();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetSpellPreviewState();
