// Least versions of combat-action services the casting steps call, standing
// until the attacks of opportunity, creature effects and summoned
// elementals of the combat actions replace them.
// Each does the smallest thing its callers rely on.
#pragma once
#include <cstdint>

#include "combat/actions/creature_effects.h"
#include "combat/actions/displacement.h"
#include "combat/actions/summoned_elementals.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/reactions.h"
#include "combat/actions/turn_order_changes.h"
#include "state/casting_services.h"


// The caster's planned action on the first creature of the area target list,
// the map cursor on it and the missile set up.
void AimSpellAndScroll();
