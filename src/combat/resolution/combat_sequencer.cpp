#include "combat/resolution/combat_sequencer.h"

#include "engine/reset_words.h"
#include "state/combat_action.h"

int32_t SpellCaster = -1;
int32_t& SpellInProgress = CurrentSpell;
int32_t TargetPass = 0;
int32_t CastingParameter = 0;
int32_t CastingExtraValue[2] = {0, 0};
uint8_t CastingSpellLike = 0;
uint8_t CastingWand = 0;
uint8_t CastingScripted = 0;
CombatActionState SavedCastingAction;

void ProcessCombatAction() {}

const char* SpellKeywordFull(int) { return ""; }

void ResetCombatSequencerState() {
  SpellCaster = -1;
  TargetPass = 0;
  CastingParameter = 0;
  CastingExtraValue[0] = CastingExtraValue[1] = 0;
  CastingSpellLike = CastingWand = CastingScripted = 0;
  ResetWords(SavedCastingAction);
}
