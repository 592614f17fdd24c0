// The spell table "Spell1.sml", and the rules that work on its levels and
// costs: every spell of a table that is taken, with each metamagic, is
// checked for casting by a creature that knows it.
#include "fuzz/fuzz_target.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/turn_order.h"

GH_FUZZ_TARGET(spells) {
  WriteScratchFile("Spell1.sml", data, size);
  if (!LoadSpellTable()) return;
  // Creature 0 knows every spell and stands outside combat; both are put back after.
  const CreatureRecord kept = Creatures[0];
  const uint32_t inCombat = InCombat;
  Creatures[0] = CreatureRecord{};
  for (int32_t& known : Creatures[0].knownSpells) known = 1;
  InCombat = 0;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    (void)WandValue(spell);
    (void)IsCombatOnlySpell(spell);
    (void)SpellHelpPage(spell);
    for (int metamagic = 0; metamagic <= 6; ++metamagic) (void)IsSpellcastingBlocked(0, spell, metamagic, 1, 0);
  }
  Creatures[0] = kept;
  InCombat = inCombat;
}
