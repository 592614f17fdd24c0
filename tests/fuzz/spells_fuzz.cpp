// The spell table "Spell1.sml", and the rules that work on its costs.
#include "fuzz/fuzz_target.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"

GH_FUZZ_TARGET(spells) {
  WriteScratchFile("Spell1.sml", data, size);
  if (!LoadSpellTable()) return;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    (void)WandValue(spell);
    (void)IsCombatOnlySpell(spell);
  }
}
