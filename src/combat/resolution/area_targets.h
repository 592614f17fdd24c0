// The creatures an area spell or special attack affects: the area target
// list the combat sequencer resolves one by one, who suits a spell's side
// restrictions, and the healing and harming families of the cure and inflict
// spells.
#pragma once
#include <cstdint>

#include "map/area_shapes.h"

// The creatures of the area (-1 free; the used entries form a prefix, each
// creature at most once). The shapes fill it; the sequencer resets it at the
// start of every cast.
constexpr int kAreaTargetCount = 300;
extern int32_t AreaTargetList[kAreaTargetCount];
// One mark per creature record: 2 for a creature listed in the area (the game
// screen shows it). The same words as the combat actions' CreatureMarkWords.
extern int32_t (&CreatureMarks)[2100];
// Frames the area marks stay shown; 100 whenever a creature is listed.
extern int32_t AreaMarkTimer;

// Single cures (first effect code 1) / single inflictions (9) / mass cures
// (1) / mass inflictions (9): the id must be of the family and its first
// effect code must match.
bool IsSpellInSetA(int spell);
bool IsSpellInSetB(int spell);
bool IsSpellInSetC(int spell);
bool IsSpellInSetD(int spell);

// Not an enemy of the caster, or an undead enemy: a mass cure heals the
// living allies and hurts the undead enemies.
bool IsAreaFriend(int creature, int caster);
// An enemy of the caster, or an undead ally: a mass infliction hurts the
// living enemies and heals the undead allies.
bool IsAreaFoe(int creature, int caster);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAreaTargetsState();
