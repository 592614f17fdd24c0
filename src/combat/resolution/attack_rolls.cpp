// The dice, events, immunities and saving throws shared by the roll and the
// damage of an attack.
#include <cstdio>

#include "combat/resolution/attack_context.h"
#include "rules/combat_roll_log.h"
#include "engine/message_log.h"
#include "rules/dice.h"
#include "rules/creature_record.h"

namespace {

constexpr int32_t kSourceFortitudeBonus = 630;
constexpr int32_t kSourceWillpowerBonus = 631;
constexpr int32_t kSourceConstitutionModifier = 175;
constexpr int32_t kSourceWisdomModifier = 176;

}  // namespace

int RollInto(ModifierList* list, int sides, int count) {
  ModifierList* const saved = DiceRollList;
  DiceRollList = list;
  const int sum = RollDice(sides, count, 0, 0);
  DiceRollList = saved;
  return sum;
}

CombatEvent* NextEvent(AttackContext& a) {
  if (a.nextEvent < 0 || a.nextEvent >= kCombatEventsKept) return nullptr;
  return &CombatEvents[a.nextEvent++];
}

void SetEvent(CombatEvent* e, int32_t type, int32_t value, int creature, int32_t sound) {
  if (e == nullptr) return;
  *e = CombatEvent{type, value, creature, sound, 0};
}

int32_t ImmunityCode(int creature, int category) {
  if (!IsValidCreature(creature) || category < 0 || category >= kImmunityCategories) return 0;
  return Creatures[creature].protections[kProtFirstImmunity + category].current;
}

bool IsImmune(int creature, int category) { return ImmunityCode(creature, category) == kImmunityImmune; }

bool SavingThrow(int creature, int kind, int32_t dc, bool* natural) {
  const CreatureRecord& c = Creatures[creature];
  ModifierList list;
  std::snprintf(list.caption, sizeof list.caption, "%s",
                kind == 0 ? "Fortitude Saving Throw" : "Willpower Saving Throw");
  const int d20 = RollInto(&list, 20, 1);
  if (kind == 0) {
    AddModifier(c.fortitude.current, &list, kSourceFortitudeBonus);
    AddModifier(AbilityModifier(c.constitution.current), &list, kSourceConstitutionModifier);
  } else {
    AddModifier(c.willpower.current, &list, kSourceWillpowerBonus);
    AddModifier(AbilityModifier(c.wisdom.current), &list, kSourceWisdomModifier);
  }
  const int index = StoreCombatRoll(list);
  LogMessage(HL "%s" HL " @SAVING_THROW@ @%i|%.2i@\r", c.name, list.total, index);
  if (natural) *natural = d20 == 1 || d20 == 20;
  if (d20 == 1) {
    LogMessage(HL "Automatic_failure" HL " (roll of 1).\r");
    return false;
  }
  if (d20 == 20) {
    LogMessage(HL "Automatic_success" HL " (roll of 20).\r");
    return true;
  }
  return list.total >= dc;
}
