// The spell effects' dispatch and their shared steps.
#include "combat/resolution/spell_effects.h"

#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/spell_effect_codes.h"
#include "combat/resolution/spell_effect_steps.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/message_log.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace spellfx {

Use Current() { return {SpellCaster, SpellInProgress, SpellPass.target}; }

const char* Name(int creature) { return Creatures[creature].name; }
bool IsUndead(int creature) { return Creatures[creature].type == 8; }
bool IsConstruct(int creature) { return Creatures[creature].type == 2; }
bool IsHumanoid(int creature) { return Creatures[creature].type == 5; }

void Refuse(const char* floating) { ReportSpellFailure(floating, SpellPass.target); }

void Show(const char* floating, int32_t eventType, int32_t value) {
  const int target = SpellPass.target;
  if (floating) ShowFloatingText(target, floating);
  QueueUseEvent(eventType, value, target, 0);
  PlaySpellSound(2);
}

void Say(const char* format, ...) {
  if (InCombat != 1) return;
  char line[400];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  LogMessage("%s\r", line);
}

int32_t PassDuration() { return SpellPass.duration > 0 ? SpellPass.duration : kDurationLasting; }

bool Give(int creature, uint32_t id, int32_t value, int32_t duration, uint32_t source, uint32_t param) {
  return AddCondition(creature, id, duration == -2 ? PassDuration() : duration, value, source, param);
}

bool Take(int creature, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  bool any = false;
  for (uint32_t id : {a, b, c, d}) {
    if (id == 0) continue;
    while (FindCondition(creature, id) >= 0) {
      RemoveCondition(creature, id);
      any = true;
    }
  }
  return any;
}

void EndGrapple(int creature) {
  int partner = -1;
  if (HasCondition(creature, kCondGrappling)) partner = ConditionValue(creature, kCondGrappling);
  else if (HasCondition(creature, kCondPinned)) partner = ConditionValue(creature, kCondPinned);
  Take(creature, kCondGrappling, kCondPinned);
  if (IsValidCreature(partner) && partner != creature) Take(partner, kCondGrappling, kCondPinned);
}

void Revive(int creature, int caster) {
  CreatureRecord& t = Creatures[creature];
  if (IsValidCreature(caster) && caster != creature) {
    const CreatureRecord& c = Creatures[caster];
    t.squareX = t.nextX = c.squareX;
    t.squareY = t.nextY = c.squareY;
    t.pixelX = c.pixelX;
    t.pixelY = c.pixelY;
  }
  if (InCombat == 1) InsertCombatantAfterCurrent(creature, 0);
  else t.present = 1;
  if (IsValidCreature(caster) && caster != creature) {
    FaceTowardsCreature(creature, caster);
    FaceTowardsCreature(caster, creature);
  }
}

}  // namespace spellfx

void ApplySpellEffect() {
  using namespace spellfx;
  const Use use = Current();
  if (!IsValidCreature(use.target)) return;
  const int32_t code = SpellPass.effectCode;
  if (ApplyConditionEffect(code) || ApplyControlEffect(code) || ApplyFormEffect(code)) {
    RecomputeCreature(use.target, 0);
    return;
  }
  // The fire cells of a wall are the square's, not the creature's: nothing
  // happens to a creature caught in them when the wall rises.
}
