#include "combat/actions/combat_actions.h"

CombatActionState CombatAction;
int32_t CreatureMarkWords[2100] = {};
int32_t FighterMarkWords[300] = {};
int32_t DyingCreature = -1;

void StartCombat(int) {}
void ExecuteCombatAction() {}
void RunDeathScript() {}
int RemoveFromCombat(int, int) { return 10; }
void CheckEndOfCombat() {}
