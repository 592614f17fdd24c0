#include "combat/actions/combat_actions.h"

void ExecuteCombatAction() {}
