#include "combat/actions/attack_support.h"

#include "combat/actions/combat_actions.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/message_log.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "state/queued_actions.h"

int32_t AttackDamageTotal = 0;

namespace {

constexpr uint32_t kSourceCastingDamage = 24;

void AddCastingDamage(int creature, int32_t damage) {
  const int32_t previous = ConditionValue(creature, kCondDamagedWhileCasting);
  RemoveCondition(creature, kCondDamagedWhileCasting);
  AddCondition(creature, kCondDamagedWhileCasting, 1, previous + damage, kSourceCastingDamage, 0);
}

}  // namespace

bool IsBlinded(int creature) {
  if (!IsValidCreature(creature)) return false;
  if (FindAnyCondition(creature, kCondBlinded, kCondCantSee) >= 0) return true;
  return Creatures[creature].special[kSenseKindWord] == 5 && FindAnyCondition(creature, kCondDeafened, kCondSilenced) >= 0;
}

bool MarkDamagedWhileCasting(int damaged, int attacker, int32_t damage) {
  AttackDamageTotal += damage;
  if (!IsValidCreature(damaged)) return false;
  const bool actingCaster = CurrentSpell != -1 && damaged == CurrentFighter() && damaged == SpellCaster;
  if ((actingCaster && attacker != damaged) || IsCreatureActionQueued(damaged)) {
    AddCastingDamage(damaged, damage);
    return true;
  }
  return false;
}

void ReportOutOfAmmunition(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  if (c.ammunition.code == 0 || c.ammunition.count > 0) return;
  c.ammunition = {0, 0};
  LogMessage("\xA3%s\xA3 is out of ammunition.\r", c.name);
  CombatAction.selectedAction = -1;
  ShowFloatingText(creature, "Out of ammunition");
}

void ResetAttackSupportState() {
  AttackDamageTotal = 0;
}
