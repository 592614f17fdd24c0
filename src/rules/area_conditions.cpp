#include "rules/area_conditions.h"

#include "engine/message_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_events.h"
#include "state/camera.h"
#include "map/map_view.h"

namespace {

// An active entry, scanning up to the first empty slot.
bool HasActive(int creature, uint32_t id) {
  const CreatureRecord& c = Creatures[creature];
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = c.conditions[i];
    if (e.id == 0 && e.duration == 0) break;
    if (e.id == id && e.duration > 0) return true;
  }
  return false;
}

void PutEntry(int creature, uint32_t id) {
  RemoveCondition(creature, id);
  const int slot = FreeConditionSlot(creature);
  if (slot != kNoFreeConditionSlot) {
    Creatures[creature].conditions[slot] = {id, 1, kSourceMagicArea, 0, 0};
    CompactConditions(creature);
  }
}

void SetFirstEvent(int32_t type, int32_t value, int32_t sound) {
  CombatEvents[0].type = type;
  CombatEvents[0].value = value;
  CombatEvents[0].sound = sound;
  CombatEvents[0].soundPlayed = 0;
}

}  // namespace

bool ApplySilenced(int creature, int flag, int view) {
  (void)flag;
  (void)view;
  if (!IsValidCreature(creature) || HasActive(creature, kCondSilenced)) return false;
  LogMessage("\xA3%s\xA3 is @SILENCED@.\r\r", Creatures[creature].name);
  PutEntry(creature, kCondSilenced);
  ShowFloatingText(creature, "Silenced");
  SetFirstEvent(45, 0, 35);
  ScrollTo(creature, -1, -1);
  return true;
}

bool ApplyPlagued(int creature, int flag, int view) {
  (void)flag;
  (void)view;
  if (!IsValidCreature(creature) || HasActive(creature, kCondPlagued)) return false;
  LogMessage("@INSECT_PLAGUE@: \xA3%s\xA3 loses \xA3" "1\xA3 @HP@.\r\r", Creatures[creature].name);
  Creatures[creature].hitPoints -= 1;
  PutEntry(creature, kCondPlagued);
  ShowFloatingText(creature, "Plagued");
  SetFirstEvent(1, 1, 35);
  ScrollTo(creature, -1, -1);
  return true;
}

bool ReleasePlague(int creature, int view) {
  (void)view;
  if (!IsValidCreature(creature) || !HasActive(creature, kCondPlagued)) return false;
  RemoveCondition(creature, kCondPlagued);
  ShowFloatingText(creature, "Free");
  SetFirstEvent(46, 0, 37);
  ScrollTo(creature, -1, -1);
  return true;
}
