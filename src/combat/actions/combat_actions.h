// Combat actions: starting a battle, carrying out the acting fighter's action,
// deaths and the end of combat.
#pragma once
#include <cstdint>

// The shared block of the action being carried out.
struct CombatActionState {
  int32_t currentEntry = -1;  // index into the turn order, -1 none
  int32_t actionCode = 0;     // 0 none, 12 attack of opportunity, 13 action over, 24 cast from page view
  int32_t actionParameter = 0;
  uint8_t casting = 0;
  int32_t movesLeft = 0;            // feet the acting fighter may still move
  int32_t fullRoundActionLeft = 0;  // nonzero while the full-round action is available
  int32_t standardActionLeft = 0;   // nonzero while the single action is available
};
extern CombatActionState CombatAction;

// One mark word per creature record and one per fighter slot.
extern int32_t CreatureMarkWords[2100];
extern int32_t FighterMarkWords[300];
// The creature whose death RunDeathScript handles, -1 none.
extern int32_t DyingCreature;

void StartCombat(int flag);
void ExecuteCombatAction();
void RunDeathScript();
int RemoveFromCombat(int creature, int eventIndex);
void CheckEndOfCombat();
