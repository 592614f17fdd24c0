#include "rules/area_conditions.h"

#include "engine/message_log.h"
#include "engine/sound.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/camera.h"
#include "map/map_view.h"

namespace {

// Puts a fresh one-round entry of the area's condition in place of any other.
void PutAreaEntry(int creature, uint32_t id) {
  RemoveCondition(creature, id);
  const int slot = FreeConditionSlot(creature);
  if (slot != kNoFreeConditionSlot) {
    Creatures[creature].conditions[slot] = {id, 1, kSourceMagicArea, 0, 0};
    CompactConditions(creature);
  }
}

}  // namespace

bool ApplySilenced(int creature, int flag, uint8_t* view) {
  if (!IsValidCreature(creature) || FindCondition(creature, kCondSilenced) >= 0) return false;
  LogMessage("\xA3%s\xA3 is @SILENCED@.\r\r", Creatures[creature].name);
  PutAreaEntry(creature, kCondSilenced);
  RecomputeCreature(creature, 0);  // its immunities to sound and speech at once
  ShowFloatingText(creature, "Silenced");
  SetFirstCombatEvent(kEventCondition, 0, kSampleMagic7);
  ScrollToCreature(creature, flag, view);
  return true;
}

bool ApplyPlagued(int creature, int flag, uint8_t* view) {
  if (!IsValidCreature(creature) || FindCondition(creature, kCondPlagued) >= 0) return false;
  LogMessage("@INSECT_PLAGUE@: \xA3%s\xA3 loses \xA3" "1\xA3 @HP@.\r\r", Creatures[creature].name);
  Creatures[creature].hitPoints -= 1;
  PutAreaEntry(creature, kCondPlagued);
  ShowFloatingText(creature, "Plagued");
  SetFirstCombatEvent(kEventDamage, 1, kSampleMagic7);
  ScrollToCreature(creature, flag, view);
  return true;
}

bool ReleasePlague(int creature, uint8_t* view) {
  if (!IsValidCreature(creature) || FindCondition(creature, kCondPlagued) < 0) return false;
  RemoveCondition(creature, kCondPlagued);
  RecomputeCreature(creature, 0);
  ShowFloatingText(creature, "Free");
  SetFirstCombatEvent(kEventFreed, 0, kSampleMagic9);
  ScrollToCreature(creature, 1, view);
  return true;
}
