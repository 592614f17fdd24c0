#include "state/combat_action.h"

#include "engine/page_history.h"
#include "engine/reset_words.h"
#include "state/turn_order.h"

CombatActionState CombatAction;
int32_t CreatureMarkWords[2100] = {};
int32_t FighterMarkWords[300] = {};
int32_t HighlightTimer = 0;
// Other names of PlaybackCreature and of the block's acting entry, which
// have their ends.
int32_t& DyingCreature = PlaybackCreature;
int32_t& CurrentTurnIndex = CombatAction.currentEntry;
int32_t g_ProcessingAttackNumber = -1;
uint8_t ActorFellDuringReaction = 0;
int32_t SpellAfterMove = -1;
uint8_t ReactionPending = 0;
int32_t ActionTarget = -1;
int32_t SavedTarget = -1;
uint8_t ContinueOpportunityChain = 0;
uint8_t EventIsPrelude = 0;
uint8_t ActionBeforeMove = 0;
AttackCounterWords AttackCounterDisplay;
uint8_t GrappleAttackEnded = 0;
int32_t g_Cleaving = -1;
int32_t QueuedSpell = -1;
uint8_t ExecutorBusy = 0;
uint8_t CastStarted = 0;
uint8_t CoupDeGraceAction = 0;
uint8_t GrappleSequenceOpen = 0;
int32_t GrappleAttacksMade = 0;
int32_t CombatState = 0;

bool PendingActionHoldsRightButton() { return CombatAction.holdsRightButton != 0; }
void GiveUpPendingAction() { CombatAction.actionCode = 13; }

int CurrentFighter() {
  const int entry = CombatAction.currentEntry;
  if (entry < 0 || entry >= kTurnOrderEntries || entry >= TurnEntryCount) return -1;
  return TurnOrder[entry].creature;
}

void ResetCombatActionState() {
  ResetWords(CombatAction);
  ResetWords(CreatureMarkWords);
  ResetWords(FighterMarkWords);
  HighlightTimer = 0;
  g_ProcessingAttackNumber = -1;
  ActorFellDuringReaction = 0;
  SpellAfterMove = -1;
  ReactionPending = 0;
  ActionTarget = SavedTarget = -1;
  ContinueOpportunityChain = 0;
  EventIsPrelude = 0;
  ActionBeforeMove = 0;
  ResetWords(AttackCounterDisplay);
  GrappleAttackEnded = 0;
  g_Cleaving = -1;
  QueuedSpell = -1;
  ExecutorBusy = 0;
  CastStarted = 0;
  CoupDeGraceAction = 0;
  GrappleSequenceOpen = 0;
  GrappleAttacksMade = 0;
  CombatState = 0;
  CurrentSpell = -1;
  PendingMetamagic = 0;
}
