// The crafted-item table "SaveWeapon.wml", and the rules that work on its
// rows: enhancement totals, and wand charges spent (prices and charges from
// the file). Spell 0 is given the largest costs a spell file can hold, so
// that its wands have the largest value.
#include "fuzz/fuzz_target.h"
#include "rules/casting_rules.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"

GH_FUZZ_TARGET(crafted) {
  SpellTable[0].level = 4;
  SpellTable[0].xpCost = SpellTable[0].goldCost = INT32_MAX;
  WriteScratchFile("SaveWeapon.wml", data, size);
  if (!LoadCraftedWeapons("SaveWeapon.wml")) return;
  for (uint32_t code = 1; code < static_cast<uint32_t>(kCraftedRows); ++code) {
    (void)ItemEnhancementTotal(code);
    (void)UseWandCharge(code);
  }
}
