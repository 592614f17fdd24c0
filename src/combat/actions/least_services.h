// Least versions of combat-action services the casting steps call, standing
// until the turn-order changes, attacks of opportunity, creature effects,
// displacement and summoned elementals of the combat actions replace them.
// Each does the smallest thing its callers rely on.
#pragma once
#include <cstdint>

#include "state/casting_services.h"

// Puts A's turn-order entry just before B's; the current turn index stays on
// the same creature. True.
bool MoveTurnBefore(int a, int b, int current);
// Makes the creature present and, in combat, lists it right after the
// caster of the current spell. True.
bool InsertCombatantAfterCurrent(int creature, int keepPlace);
// Appends an entry for the creature at the end of the turn order, on the
// other creature's square. True.
bool AppendCombatant(int creature, int other);
// Marks the creature Dead (1000 rounds) and absent and shortens the turn
// order by one. True.
bool DismissCombatant(int creature);

// Whether an enemy could take an attack of opportunity on the acting caster
// now / sets the next such reactor (false: none is left).
bool HasOpportunityAttacker();
bool NextOpportunityAttacker();

// Fills the record of the elemental of spells 114 to 117.
void CreateSummonedElemental(int record, int spell);
// Takes 10,000 hit points, starts effect kind 4 and removes it from combat.
void SlayCreature(int creature);
// Clears the event queue, puts the effect kind (0 for -1) with the graphic id
// as its sound into entry 0, makes the creature the playback creature and
// brings it into view.
void StartCreatureEffect(int kind, int creature, int graphic);
// When the creature is casting, its Damaged_While_Casting entries become one
// whose value adds the damage; true when it was casting.
bool MarkCasterDamaged(int creature, int32_t damage);
// Moves the creature to a place where its footprint fits. True.
bool NudgeOrDisplace(int creature, int footprint);
// Moves a party member off a blocked square. True.
bool RelocateIfBlocked(int creature);
// The caster's planned action on the first creature of the area target list,
// the map cursor on it and the missile set up.
void AimSpellAndScroll();
