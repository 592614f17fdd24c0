// Changes of a creature's form and state that the rules core asks of the
// combat actions: resizing what it carries, ending a polymorph or an iron
// body, curing afflictions and the allegiance kept while it is controlled.
#pragma once
#include <cstdint>

// The allegiance a creature had before it came under "Controlled" or
// "Dominated"; the recomputation writes it back when those end.
extern int32_t SavedAllegiance[2100];

// One size step up (at most 7) / down (at least 1) for every crafted item the
// creature wears or carries; weapons take the dice of their new size
// (EnlargeWeaponSize / ReduceWeaponSize).
void EnlargeCarriedItems(int creature);
void ReduceCarriedItems(int creature);

// Keeps the creature's natural form (abilities, figure, size, speed,
// footprint, natural attacks, protections, equipment and ammunition) in its
// fighter slot; false when it has no fighter slot.
bool SaveNaturalForm(int creature);
// End the transformation: remove "Polymorphed" / "Iron_Body", put the saved
// natural form back (when one is kept) and recompute.
void EndPolymorph(int creature);
void EndIronBody(int creature);

// Removes the afflictions: Acid_burns, Bleeding, Blinded, Confused, Dazed,
// Deafened, Exhausted, Fatigued, Feebleminded, Insane, Nauseated, Sickened,
// Stunned and the six ability-damage conditions.
void CureAfflictions(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCreatureFormsState();
