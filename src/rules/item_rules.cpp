#include "rules/item_rules.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "state/fighter_slots.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"
#include "rules/inventory_slots.h"

namespace {

const CraftedWeaponRecord* CraftedRow(uint32_t code) {
  if (code < 1 || code >= static_cast<uint32_t>(kCraftedRows)) return nullptr;
  return &CraftedWeapons[code];
}

const ItemRecord* BaseRow(uint32_t code) {
  if (code < kFirstBaseItemCode || code - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows)) return nullptr;
  return &ItemTable[code - kFirstBaseItemCode];
}

bool IsStackableCode(uint32_t code) {
  const ItemRecord* row = BaseRow(code);
  return row != nullptr && IsStackableBaseType(row->baseType);
}

// The first of the tiers that is set gives its value.
int32_t FirstTier(const int32_t* properties, std::initializer_list<std::pair<int, int32_t>> tiers) {
  for (const auto& [property, value] : tiers)
    if (properties[property - 1] == 1) return value;
  return 0;
}

// A pile code range: codes first..last give base + 10,000 x (code - first) + count.
struct PileRange {
  uint32_t first;
  uint32_t last;
  int32_t base;
};
constexpr PileRange kPileRanges[] = {
    {5486, 5500, 200000},
    {5502, 5516, 380000},
    {5232, 5240, 530000},
    {5473, 5481, 620000},
};

}  // namespace

bool IsStackableBaseType(int32_t t) {
  return t == 1 || t == 5 || t == 6 || (t >= 7 && t <= 17) || t == 19 || t == 39;
}

int32_t ItemEnhancementTotal(uint32_t code) {
  const CraftedWeaponRecord* row = CraftedRow(code);
  if (row == nullptr) return 0;
  // Property N of the item pages is flag N - 1 of the record.
  const int32_t* p = row->properties;
  auto has = [p](int n) { return p[n - 1] == 1; };
  int32_t total = row->enhancement;
  for (int first : {22, 25, 28, 31, 34}) total += FirstTier(p, {{first, 2}, {first + 1, 3}, {first + 2, 4}});
  total += FirstTier(p, {{37, 1}, {38, 3}, {39, 5}});
  if (has(40)) total += 3;
  total += FirstTier(p, {{41, 1}, {42, 2}, {43, 3}, {44, 4}, {45, 5}});
  for (int n : {1, 2, 3}) total += has(n) ? 4 : 0;
  for (int n : {4, 5, 6, 7}) total += has(n) ? 3 : 0;
  for (int n : {8, 9, 10, 11}) total += has(n) ? 2 : 0;
  total += FirstTier(p, {{12, 2}, {17, 1}});
  total += FirstTier(p, {{13, 2}, {18, 1}});
  total += FirstTier(p, {{14, 2}, {19, 1}});
  total += (has(15) ? 2 : 0) + (has(16) ? 1 : 0) + (has(20) ? 1 : 0) + (has(21) ? 1 : 0);
  return total;
}

bool IsItemHeldByParty(uint32_t code) {
  if (CraftedRow(code) == nullptr) return false;
  for (int member = 0; member < kPartySize; ++member) {
    const CreatureRecord& c = Creatures[member];
    for (int slot : {kSlotRightHand, kSlotLeftHand, kSlotTorso, kSlotRanged})
      if (c.equipment[slot - 1] == code) return true;
    for (const ItemPair& pair : c.carried)
      if (pair.code == code) return true;
  }
  return false;
}

int32_t StackedItemMapCode(int32_t count, uint32_t code) {
  for (const PileRange& r : kPileRanges) {
    if (code < r.first || code > r.last) continue;
    return std::clamp(count, 0, kPileCountLimit) + r.base + 10000 * static_cast<int32_t>(code - r.first);
  }
  return -1;
}

bool RearrangeCarriedItems(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return true;
  CreatureRecord& c = Creatures[creature];
  for (int k = 1; k < kCarriedPairs; ++k) {
    const ItemPair item = c.carried[k];
    if (item.code < 1) continue;
    bool moved = false;
    if (IsStackableCode(item.code)) {
      for (int j = 0; j < k && !moved; ++j) {
        if (c.carried[j].code != item.code) continue;
        EquipItemInSlot(creature, kSlotFirstCarried + j, item.code, c.carried[j].count + item.count);
        UnequipSlot(creature, kSlotFirstCarried + k, -1, 0);
        moved = true;
      }
    }
    for (int j = 0; j < k && !moved; ++j) {
      if (c.carried[j].code != 0) continue;
      EquipItemInSlot(creature, kSlotFirstCarried + j, item.code, item.count);
      UnequipSlot(creature, kSlotFirstCarried + k, -1, 0);
      moved = true;
    }
  }
  return true;
}

bool MergeCursorStack(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return false;
  const uint32_t code = static_cast<uint32_t>(CursorStack.code);
  if (CursorStack.code <= static_cast<int32_t>(kFirstBaseItemCode) || !IsStackableCode(code)) return false;
  CreatureRecord& c = Creatures[creature];
  for (int k = 1; k < kCarriedPairs; ++k) {
    if (c.carried[k].code != code) continue;
    EquipItemInSlot(creature, kSlotFirstCarried + k, code, c.carried[k].count + CursorStack.count);
    return true;
  }
  return false;
}

int32_t LevelScaledItemAmount(int creature, int baseRow) {
  if (creature < 0 || creature >= kCreatureCount || baseRow < 0 || baseRow >= kItemRows) return 0;
  const ItemRecord& row = ItemTable[baseRow];
  if (row.baseType != 20) return 0;
  return (row.bonus / 2) * Creatures[creature].effectiveLevel;
}

bool RenumberHeldItemCodes(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return true;
  CreatureRecord& c = Creatures[creature];
  auto first = [](uint32_t& code) {
    if (code >= 5242 && code <= 5481) code -= 241;
  };
  for (ItemPair& pair : c.carried) {
    if (pair.code >= 5502 && pair.code <= 5516) {
      pair.code -= 16;
    } else {
      first(pair.code);
    }
  }
  for (uint32_t& code : c.equipment) first(code);
  first(c.ammunition.code);
  return true;
}

bool IsBackpackSlotSelected() {
  return CursorStack.selectedSlot >= kSlotFirstCarried && CursorStack.selectedSlot <= kSlotLastCarried;
}

bool ResetPartyBlocks() {
  for (auto& member : RecentSpells)
    for (RecentSpellPair& pair : member) pair = {-1, -1};
  return true;
}

int CheckMapCleared() {
  if (CurrentMap.cleared == 1 || CurrentMap.mapKind != 2) return 0;
  const int count = std::clamp(FighterCount, 0, kFighterSlots);
  for (int slot = 0; slot < count; ++slot) {
    const int creature = FighterSlots[slot].creature;
    if (creature < 0 || creature >= kCreatureCount || Creatures[creature].allegiance != kAllegianceParty) return 0;
  }
  CurrentMap.cleared = 1;
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) StoredMaps[CurrentMapNumber].cleared = 1;
  return 1;
}
