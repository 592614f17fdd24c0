#include "combat/resolution/combat_sequencer.h"

#include "combat/actions/combat_actions.h"
#include "map/map_switching.h"

int32_t AreaTargetList[kAreaTargetCount] = {};
int32_t& SpellInProgress = PendingSpell;
int32_t& SpellCaster = PendingSpellCaster;
int32_t TargetPass = 0;
int32_t CastingParameter = 0;
int32_t CastingExtraValue[2] = {0, 0};
uint8_t CastingSpellLike = 0;
uint8_t CastingWand = 0;
uint8_t CastingScripted = 0;
CombatActionState SavedCastingAction;

void ProcessCombatAction() {}

const char* SpellKeywordFull(int) { return ""; }
