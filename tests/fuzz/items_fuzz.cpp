// The item table "Item1.iml", and a rule that reads its rows.
#include "fuzz/fuzz_target.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"

GH_FUZZ_TARGET(items) {
  WriteScratchFile("Item1.iml", data, size);
  if (!LoadItemTable()) return;
  for (int row = 0; row < kItemRows; ++row) (void)IsStackableBaseType(ItemTable[row].baseType);
}
