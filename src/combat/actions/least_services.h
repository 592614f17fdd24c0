// The services of the combat actions that the casting steps and spell
// effects call, gathered in one include: attacks of opportunity, creature
// effects, displacement, summoned elementals, leaving combat, turn-order
// changes and the small routines.
#pragma once
#include <cstdint>

#include "combat/actions/creature_effects.h"
#include "combat/actions/displacement.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/reactions.h"
#include "combat/actions/small_routines.h"
#include "combat/actions/summoned_elementals.h"
#include "combat/actions/turn_order_changes.h"
#include "state/casting_services.h"
