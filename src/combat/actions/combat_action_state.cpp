#include "combat/actions/combat_action_state.h"

CombatActionBlock CombatActionState = {};
