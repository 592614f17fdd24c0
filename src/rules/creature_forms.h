// Changes of a creature's form and state that the rules core asks of the
// combat actions: resizing what it carries, ending a polymorph or an iron
// body, curing afflictions and the allegiance kept while it is controlled.
// The routines are implemented by the combat actions
// (combat/actions/creature_effects.cpp).
#pragma once
#include <cstdint>

// The allegiance a creature had before it came under "Controlled" or
// "Dominated"; the recomputation writes it back when those end.
extern int32_t SavedAllegiance[2100];

// After the creature's size has changed by one step up / down: every carried
// crafted item of count 1 and the crafted items of its two hands and its
// ranged slot go one size step up (at most 7) / down (at least 1), taking the
// dice of their new size (EnlargeWeaponSize / ReduceWeaponSize); its armour's
// size step follows, within 1 to 7; its natural attacks take the damage dice
// of its present size in place of those of its former size.
void EnlargeCarriedItems(int creature);
void ReduceCarriedItems(int creature);

// Keeps the creature's natural form (attack values, abilities, the 44-value
// block, size, footprint, ammunition, figure, speed, natural armour, natural
// attacks and equipment) in its fighter slot; false when it has no slot.
bool SaveNaturalForm(int creature);
// End the transformation. Iron body: the attack values, Strength, Dexterity,
// Constitution and the 44-value block come back from the slot (with the
// figure, speed, natural armour and equipment); a polymorph also brings back
// the other abilities, size, footprint and ammunition. The first natural
// attack becomes the unarmed attack (one die of as many sides as sizes 1 to
// 4 have), the others are cleared; "Iron_Body" / "Polymorphed" is removed
// and the creature recomputed.
void EndPolymorph(int creature);
void EndIronBody(int creature);

// Removes the afflictions: Acid_burns, Bleeding, Blinded, Confused, Dazed,
// Deafened, Exhausted, Fatigued, Feebleminded, Insane, Nauseated, Sickened,
// Stunned and the six ability-damage conditions.
void CureAfflictions(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCreatureFormsState();
