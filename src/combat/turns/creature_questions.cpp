// The questions about a creature that creature generation asks of the
// computer-controlled fighters (declared in creatures/control_tendencies.h).
#include <algorithm>
#include <iterator>

#include "creatures/control_tendencies.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

// Spells the computer uses from wands and as spell-like abilities.
constexpr int kAiItemSpells[] = {5,   14,  31,  39,  47,  49,  69,  72,  82,  84,  91,  92,  95,
                                 101, 106, 129, 130, 138, 146, 155, 164, 166, 170, 171, 173};
constexpr int32_t kVerbalKindExcluded = 3;

// The price of the item of that code (crafted or base); 0 for none.
int32_t ItemValue(uint32_t code) {
  if (IsCraftedCode(code)) return CraftedWeapons[code].price;
  if (code >= kFirstBaseItemCode && code < kFirstBaseItemCode + kItemRows) return ItemTable[code - kFirstBaseItemCode].price;
  return 0;
}

}  // namespace

bool HighestUsableSpellLevel(int start, int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int highest = MaxSpellLevel(creature);
  for (int level = std::max(start, 1); level <= highest; ++level) {
    if (c.spellsLeft[level - 1] <= 0) continue;
    for (int spell = 0; spell < kSpellRows; ++spell)
      if (c.knownSpells[spell] == 1 && SpellTable[spell].level == level) return true;
  }
  return false;
}

bool PrefersRangedAttack(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const uint32_t ammunition = c.ammunition.code;
  if (ammunition > kFirstBaseItemCode && ammunition < kFirstBaseItemCode + kItemRows) {
    const int32_t kind = ItemTable[ammunition - kFirstBaseItemCode].baseType;
    if (kind >= 8 && kind <= 16) return true;
  }
  if (ItemValue(c.equipment[kSlotRanged - 1]) > ItemValue(c.equipment[kSlotRightHand - 1])) return true;
  return c.dexterity.current - c.strength.current >= 2;
}

bool IsAiItemSpell(int spell) {
  if (spell < 0 || spell >= kSpellRows || SpellTable[spell].verbal == kVerbalKindExcluded) return false;
  return std::find(std::begin(kAiItemSpells), std::end(kAiItemSpells), spell) != std::end(kAiItemSpells);
}
