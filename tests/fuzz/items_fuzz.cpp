// The item table "Item1.iml", and the rules that read its rows: every row of
// a table that is taken is worn in turn by a creature of the highest level,
// in the place its base type is worn (held in the right hand when it has
// none), and its level-scaled amount and the armour class it gives are
// worked out.
#include <cstdio>
#include <initializer_list>

#include "fuzz/fuzz_target.h"
#include "rules/armour_class.h"
#include "rules/creature_record.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

namespace {

constexpr int kWearer = 0;
constexpr int32_t kHighestLevel = 100;  // the highest a roster takes

int WornSlot(int32_t baseType) {
  for (const WornItemRule& rule : WornItemTable)
    if (rule.baseType == baseType) return rule.slot;
  return kSlotRightHand;
}

}  // namespace

GH_FUZZ_TARGET(items) {
  WriteScratchFile("Item1.iml", data, size);
  if (!LoadItemTable()) return;
  // The wearer is put back after.
  const CreatureRecord kept = Creatures[kWearer];
  CreatureRecord wearer{};
  std::snprintf(wearer.name, sizeof wearer.name, "Wearer");
  wearer.level = kHighestLevel;
  wearer.size = {3, 3};
  for (StatPair* p : {&wearer.strength, &wearer.dexterity, &wearer.constitution, &wearer.intelligence, &wearer.wisdom,
                      &wearer.charisma})
    *p = {10, 10};
  for (int row = 0; row < kItemRows; ++row) {
    const ItemRecord& item = ItemTable[row];
    (void)IsStackableBaseType(item.baseType);
    if (item.baseType == 0) continue;
    Creatures[kWearer] = wearer;
    Creatures[kWearer].equipment[WornSlot(item.baseType) - 1] = kFirstBaseItemCode + static_cast<uint32_t>(row);
    RecomputeCreature(kWearer, 1);
    (void)LevelScaledItemAmount(kWearer, row);
    (void)ComputeArmourClass(kWearer, nullptr, nullptr, 0, -1, kAttackMelee, 0);
  }
  Creatures[kWearer] = kept;
}
