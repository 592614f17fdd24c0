// Least versions of combat-action services the casting steps call, standing
// until the attacks of opportunity, creature effects and summoned
// elementals of the combat actions replace them.
// Each does the smallest thing its callers rely on.
#pragma once
#include <cstdint>

#include "combat/actions/displacement.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/turn_order_changes.h"
#include "state/casting_services.h"

// Whether an enemy could take an attack of opportunity on the acting caster
// now / sets the next such reactor (false: none is left).
bool HasOpportunityAttacker();
bool NextOpportunityAttacker();

// Fills the record of the elemental of spells 114 to 117.
void CreateSummonedElemental(int record, int spell);
// Clears the event queue, puts the effect kind (0 for -1) with the graphic id
// as its sound into entry 0, makes the creature the playback creature and
// brings it into view.
void StartCreatureEffect(int kind, int creature, int graphic);
// When the creature is casting, its Damaged_While_Casting entries become one
// whose value adds the damage; true when it was casting.
bool MarkCasterDamaged(int creature, int32_t damage);
// The caster's planned action on the first creature of the area target list,
// the map cursor on it and the missile set up.
void AimSpellAndScroll();
