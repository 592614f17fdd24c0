#include "state/current_cast.h"

#include "engine/game_speeds.h"
#include "engine/settings.h"
#include "state/map_view_state.h"

int32_t SpellInProgress = -1;
int32_t& CurrentSpell = SpellInProgress;
int32_t SpellCaster = -1;
int32_t SpellTarget = -1;
int32_t PendingMetamagic = 0;

uint8_t CastingFromItem = 0;
uint8_t CastingWand = 0;
uint32_t CastingItem = 0;
uint8_t CastingSpellLike = 0;
uint8_t CastingScripted = 0;
int32_t CastingParameter = 0;
int32_t CastingExtraValue[2] = {0, 0};
uint8_t CastResumed = 0;
uint8_t CastingLost = kCastingNotLost;
int32_t DisruptionTarget = -1;
int32_t DispelReason = 0;

int32_t QueuedActionCode = -1;
int32_t QueuedScreenMode = -1;
int32_t QueuedCombatState = -1;

bool ClearQueuedAction() {
  QueuedActionCode = QueuedScreenMode = QueuedCombatState = -1;
  return true;
}

int32_t PlaybackCreature = -1;
int32_t PlaybackFramesLeft = 0;
int32_t& FramesPerEvent = CombatStepFrames;

void SetReadyMode() {
  if (ReadyModeFlag == 0) ActionBarMode = 2;
  else if (ReadyModeFlag == 1) ActionBarMode = 1;
}

void ResetCurrentCastState() {
  SpellInProgress = SpellCaster = SpellTarget = -1;
  PendingMetamagic = 0;
  CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = CastResumed = 0;
  CastingLost = kCastingNotLost;
  CastingItem = 0;
  CastingParameter = 0;
  CastingExtraValue[0] = CastingExtraValue[1] = 0;
  DisruptionTarget = -1;
  DispelReason = 0;
  ClearQueuedAction();
  PlaybackCreature = -1;
  PlaybackFramesLeft = 0;
  FramesPerEvent = 45;
}
