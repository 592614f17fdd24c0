// Routines that spells and the turn cycle use on one creature: starting the
// visual effect of a spell or event on it and bringing it into view, the
// 44-value block of its natural form kept in its fighter slot, and the damage
// a caster takes while casting. Resizing what a creature carries, keeping
// and restoring its natural form and curing afflictions are declared in
// rules/creature_forms.h and defined here.
#pragma once
#include <cstdint>

#include "rules/creature_forms.h"

// Clears the event queue, puts the effect kind (0 for -1) with the graphic
// id as its sound into entry 0, makes the creature the playback creature for
// one event period (a kind other than -1 recomputes it first) and brings it
// into view.
void StartCreatureEffect(int kind, int creature, int graphic);

// The creature's centre as the camera sees it: its pixel position plus half
// its drawn size, moved right while the side panel hides the view's right
// side for a player-controlled fighter, and up while the combat-rolls panel
// is open (in combat, no modal screen up).
void CreatureViewCentre(int creature, int32_t* x, int32_t* y);
// True when that centre lies more than 70 pixels inside every edge of the view.
bool IsCreatureInView(int creature);
// Brings the creature into view unless it already is: with a panel open in
// combat the view takes an explicit target, else it follows the creature.
void BringCreatureIntoView(int creature);

// The 44 saved-form values (the bases of derived values 18 to 61) become 0 /
// are copied back from the creature's fighter slot / into it.
void ClearModifierBlock(int creature);
void RestoreModifierBlockFromSlot(int creature);
void SaveModifierBlockToSlot(int creature);

// When the creature is casting (its planned action is a queued cast): its
// Damaged_While_Casting entries become one whose value adds the damage. True
// when it was casting.
bool MarkCasterDamaged(int creature, int32_t damage);
