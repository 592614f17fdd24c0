#include "rules/free_deeds.h"

#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

uint32_t FreeDeeds(int creature) {
  if (!IsValidCreature(creature)) return 0;
  uint32_t deeds = kAllDeeds;
  for (const ConditionEntry& e : Creatures[creature].conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if (e.duration > 0) deeds &= DeedsLeftBy(e.id);
  }
  return deeds;
}

uint32_t CastingDeed(int spell, int metamagic) {
  if (spell < 0 || spell >= kSpellRows) return kDeedGestureCast;
  return SpellTable[spell].somatic != 0 && metamagic != kMetamagicStilled ? kDeedGestureCast : kDeedStillCast;
}
