#include "combat/actions/combat_actions.h"

#include "combat/actions/turn_order.h"

CombatActionState CombatAction;
int32_t CreatureMarkWords[2100] = {};
int32_t FighterMarkWords[300] = {};
int32_t HighlightTimer = 0;
int32_t PlaybackCreature = -1;
int32_t PlaybackFramesLeft = 0;
int32_t& DyingCreature = PlaybackCreature;
int32_t& CurrentTurnIndex = CombatAction.currentEntry;
int32_t QueuedActionCode = -1;
int32_t QueuedScreenMode = -1;
int32_t QueuedCombatState = -1;
int32_t g_ProcessingAttackNumber = -1;
uint8_t ActorFellDuringReaction = 0;
int32_t SpellAfterMove = -1;
uint8_t ReactionPending = 0;
int32_t g_Cleaving = -1;
uint8_t GrappleSequenceOpen = 0;
int32_t GrappleAttacksMade = 0;

int CurrentFighter() {
  const int entry = CombatAction.currentEntry;
  if (entry < 0 || entry >= kTurnOrderEntries || entry >= TurnEntryCount) return -1;
  return TurnOrder[entry].creature;
}

void ExecuteCombatAction() {}
