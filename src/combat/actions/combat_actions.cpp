#include "combat/actions/combat_actions.h"

void StartCombat(int) {}
void ExecuteCombatAction() {}
void RunDeathScript() {}
int RemoveFromCombat(int, int) { return 10; }
int HandleFallAfterAttack(int) { return 10; }
void CheckEndOfCombat() {}
