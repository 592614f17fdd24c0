#include "combat/actions/casting_checks.h"

#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "state/inventory_state.h"

int32_t BaseCasterLevel(int creature) { return IsValidCreature(creature) ? CasterLevel(creature) : 1; }

int32_t CurrentCasterLevel() { return BaseCasterLevel(ActingCreature); }

namespace {

int SpellFocusBonusOf(int creature, int school) {
  static const int kFocusPlace[9] = {-1, 4, 2, 5, 0, 3, 6, 1, 7};  // by school 1 to 8
  if (!IsValidCreature(creature) || school < 1 || school > 8) return 0;
  const int place = kFocusPlace[school];
  const CreatureRecord& c = Creatures[creature];
  return (c.feats[kFeatSpellFocusFirst + place] != 0 ? 1 : 0) +
         (c.feats[kFeatGreaterSpellFocusFirst + place] != 0 ? 1 : 0);
}

}  // namespace

int SpellFocusBonus(int school) { return SpellFocusBonusOf(ActingCreature, school); }
