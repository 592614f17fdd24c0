#include "adventure/item_commands.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "adventure/script_faults.h"
#include "adventure/world_commands.h"
#include "creatures/weapon_size.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sound.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/inventory_slots.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "map/free_square.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"

namespace {

constexpr uint32_t kLastBaseItemCode = kFirstBaseItemCode + kItemRows - 1;  // 6,999
constexpr uint32_t kGoldCoins = 5484;
// Square objects: gold from 10,001 to 199,999 (the amount is the code less
// 10,000), and stacks of goods in bands of 10,000 codes from 200,001.
constexpr int32_t kGoldObjectBase = 10000;
constexpr int32_t kGoldObjectLast = 199999;
constexpr int32_t kStackObjectBase = 200000;
constexpr int32_t kStackBand = 10000;
// The order in which worn items are taken: slots 6, 4, 11, 1, 10, 8, 2, 12, 9, 7, 3, 5.
constexpr int kTakeOrder[kEquipSlots] = {6, 4, 11, 1, 10, 8, 2, 12, 9, 7, 3, 5};
constexpr int kMainHandSlot = kSlotRightHand;
constexpr int kLastWeaponKind = 35;
constexpr int kFirstTemplateRow = 4951;
constexpr int kMediumDiceRow = 3;

bool IsPartyMember(int creature) { return creature >= 0 && creature < kPartySize; }

bool CheckCreature(int creature, const char* what) { return ScriptIndexFits(creature, kCreatureCount, what, "creature"); }

// A code that names an item: a crafted row or a base row from 5,001 (base
// row 0, code 5,000, holds no item).
bool IsItemCode(uint32_t code) {
  return IsCraftedCode(code) || (code > kFirstBaseItemCode && code <= kLastBaseItemCode);
}

// Lays items on the free squares nearest to the creature's square on its
// map: a pile when the item piles, else one square each. False when some
// found no square.
bool LayNearCreature(int creature, uint32_t code, int quantity) {
  const CreatureRecord& c = Creatures[creature];
  if (c.map < 0 || c.map >= kStoredMapCount || c.squareX < 0 || c.squareX >= kMapSide || c.squareY < 0 ||
      c.squareY >= kMapSide) {
    ScriptDebugLine("creature %i stands on no map square; its items are not laid", creature);
    return false;
  }
  const bool current = c.map == CurrentMapNumber;
  const int32_t pile = quantity > 1 ? StackedItemMapCode(quantity, code) : -1;
  // The free places are found in one search, and no more are looked for than
  // the map has.
  const int drops = pile > 0 ? 1 : std::min(quantity, kMapSquares * kObjectLevels + 1);
  static std::vector<FreeSquare> squares;
  squares.resize(static_cast<size_t>(drops));
  const int found = FindFreeSquaresNear(current ? -1 : c.map, c.squareX, c.squareY, drops, squares.data());
  const int32_t object = pile > 0 ? pile : static_cast<int32_t>(code);
  for (int i = 0; i < found; ++i) {
    const FreeSquare& square = squares[static_cast<size_t>(i)];
    StoredMaps[c.map].At(square.layer, square.x, square.y) = object;
    if (current) CurrentMap.At(square.layer, square.x, square.y) = object;
  }
  if (found < (pile > 0 ? 1 : quantity)) {
    ScriptDebugLine("no free square near creature %i for item %u", creature, code);
    return false;
  }
  return true;
}

// A stack of the code the creature already carries (a pair, then the
// ammunition); null when none.
ItemPair* StackOf(CreatureRecord& c, uint32_t code) {
  for (ItemPair& p : c.carried)
    if (p.code == code) return &p;
  if (c.ammunition.code == code) return &c.ammunition;
  return nullptr;
}

ItemPair* FreePair(CreatureRecord& c) {
  for (ItemPair& p : c.carried)
    if (p.code == 0) return &p;
  return nullptr;
}

int32_t AddCount(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// Takes up to `needed` matching items from one pair; returns how many it took.
int64_t TakeFromPair(ItemPair& p, int32_t mode, int32_t value, int64_t needed) {
  if (needed <= 0 || p.code == 0 || !ItemMatches(p.code, mode, value)) return 0;
  if (p.count > needed) {
    p.count -= static_cast<int32_t>(needed);
    return needed;
  }
  const int64_t taken = std::max<int32_t>(p.count, 0);
  p = ItemPair{0, 0};
  return taken;
}

bool IsLivingAndConscious(int member) {
  return FindCondition(member, kCondDead) < 0 && FindCondition(member, kCondUnconscious) < 0;
}

}  // namespace

int CurrentCharacter() {
  return PartyLeader < static_cast<uint32_t>(kPartySize) ? static_cast<int>(PartyLeader) : 0;
}

int32_t BaseItemKind(uint32_t code) {
  if (code < kFirstBaseItemCode || code > kLastBaseItemCode) return -1;
  return ItemTable[code - kFirstBaseItemCode].baseType;
}

bool IsStackableItem(uint32_t code) {
  return code > kFirstBaseItemCode && code <= kLastBaseItemCode && IsStackableBaseType(BaseItemKind(code));
}

bool ItemMatches(uint32_t code, int32_t mode, int32_t value) {
  if (code == 0) return false;
  if (mode == kMatchKind) return code > kFirstBaseItemCode && code <= kLastBaseItemCode && BaseItemKind(code) == value;
  if (mode == kMatchCode) return code == static_cast<uint32_t>(value);
  return false;
}

int GiveItemToCharacter(int creature, int quantity, uint32_t code) {
  if (!CheckCreature(creature, "give item")) return 0;
  if (!IsItemCode(code) || quantity < 1) {
    ScriptDebugLine("give item: %i of code %u name no item", quantity, code);
    return 0;
  }
  CreatureRecord& c = Creatures[creature];
  if (IsStackableItem(code)) {
    if (ItemPair* stack = StackOf(c, code)) {
      stack->count = AddCount(stack->count, quantity);
      return 1;
    }
  }
  if (ItemPair* pair = FreePair(c)) {
    *pair = ItemPair{code, quantity};
    return 1;
  }
  return LayNearCreature(creature, code, quantity) ? 1 : 0;
}

int GiveItemToParty(uint32_t code, int quantity) {
  if (!IsItemCode(code) || quantity < 1) {
    ScriptDebugLine("give item to the party: %i of code %u name no item", quantity, code);
    return 0;
  }
  if (IsStackableItem(code)) {
    for (int m = 0; m < kPartySize; ++m) {
      if (ItemPair* stack = StackOf(Creatures[m], code)) {
        stack->count = AddCount(stack->count, quantity);
        return 1;
      }
    }
  }
  const int current = CurrentCharacter();
  const int order[kPartySize + 1] = {current, 0, 1, 2, 3};
  for (int m : order) {
    if (ItemPair* pair = FreePair(Creatures[m])) {
      *pair = ItemPair{code, quantity};
      return 1;
    }
  }
  return LayNearCreature(current, code, quantity) ? 1 : 0;
}

void GiveExperienceOrGold(int32_t amount, int32_t kind) {
  if (kind == 0) {
    for (int m = 0; m < kPartySize; ++m) Creatures[m].experience = AddCount(Creatures[m].experience, amount);
  } else {
    const int64_t gold = static_cast<int64_t>(PartyGold) + amount;
    PartyGold = static_cast<uint32_t>(std::clamp<int64_t>(gold, 0, INT32_MAX));
  }
  if (amount >= 1) PlaySampleOnIdleChannel(kSampleExperience, kSoundChannelCount);
  if (kind != 0) CheckTreasureAchievements();
}

bool PartyLevelOrGoldTest(int32_t what, int32_t comparison, int32_t value) {
  int64_t measured = 0;
  if (what == 0 || what == 2) {
    int64_t sum = 0;
    int32_t highest = 0;
    int count = 0;
    for (int m = 0; m < kPartySize; ++m) {
      if (!IsLivingAndConscious(m)) continue;
      sum += Creatures[m].level;
      highest = std::max(highest, Creatures[m].level);
      ++count;
    }
    if (what == 0) {
      // Nobody standing has no average: the test fails.
      if (count == 0) return false;
      measured = sum / count;
    } else {
      measured = highest;
    }
  } else if (what == 1) {
    measured = PartyGold;
  } else {
    return true;
  }
  if (comparison == 0) return measured >= value;
  if (comparison == 1) return measured <= value;
  return false;
}

int64_t CountPartyItems(int32_t mode, int32_t value) {
  int64_t count = 0;
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    for (const ItemPair& p : c.carried)
      if (ItemMatches(p.code, mode, value)) count += p.count;
    for (uint32_t worn : c.equipment)
      if (ItemMatches(worn, mode, value)) ++count;
    if (ItemMatches(c.ammunition.code, mode, value)) count += c.ammunition.count;
  }
  return count;
}

int64_t CountCarriedItems(int creature, int32_t mode, int32_t value) {
  if (!CheckCreature(creature, "count carried items")) return 0;
  int64_t count = 0;
  for (const ItemPair& p : Creatures[creature].carried)
    if (ItemMatches(p.code, mode, value)) count += p.count;
  return count;
}

void TakePartyItems(int32_t count, int32_t mode, int32_t value) {
  int64_t needed = count;
  for (int m = 0; m < kPartySize && needed > 0; ++m) {
    CreatureRecord& c = Creatures[m];
    for (ItemPair& p : c.carried) {
      needed -= TakeFromPair(p, mode, value, needed);
      if (needed <= 0) return;
    }
    bool unworn = false;
    for (int slot : kTakeOrder) {
      uint32_t& worn = c.equipment[slot - 1];
      if (!ItemMatches(worn, mode, value)) continue;
      worn = 0;
      unworn = true;
      if (--needed <= 0) break;
    }
    if (unworn) RecomputeCreature(m, 0);
    if (needed <= 0) return;
    needed -= TakeFromPair(c.ammunition, mode, value, needed);
  }
}

void TakeCreatureItems(int creature, uint32_t code, int32_t count) {
  if (!CheckCreature(creature, "take items")) return;
  CreatureRecord& c = Creatures[creature];
  if (count == 1) {
    for (int slot : kTakeOrder) {
      uint32_t& worn = c.equipment[slot - 1];
      if (worn == 0 || worn != code) continue;
      worn = 0;
      RecomputeCreature(creature, 0);
      return;
    }
  }
  int64_t needed = count;
  for (ItemPair& p : c.carried) {
    needed -= TakeFromPair(p, kMatchCode, static_cast<int32_t>(code), needed);
    if (needed <= 0) return;
  }
}

void OpenTrade(int creature) {
  if (!CheckCreature(creature, "trade")) return;
  TradePartner = creature;
  CreatureHighlight[creature] = 0;
  const int current = CurrentCharacter();
  char caption[kPageCaptionSize] = {};
  std::memcpy(caption, Creatures[current].name, strnlen(Creatures[current].name, sizeof caption - 1));
  SetFirstPage(caption, kPageInventory, current);
  ScreenMode = kModePageView;
  CursorStack.selectedSlot = -1;
  ChosenItem = -1;
  ResetHover();
}

void ImproveMainHandWeapon() {
  const uint32_t code = Creatures[CurrentCharacter()].equipment[kMainHandSlot - 1];
  if (!IsCraftedCode(code)) {
    ScriptDebugLine("improve weapon: the main hand holds no crafted weapon (code %u)", code);
    return;
  }
  CraftedWeaponRecord& r = CraftedWeapons[code];
  auto mediumIndex = [](int32_t count, int32_t sides) {
    for (int i = 0; i < kWeaponDieKinds; ++i) {
      const WeaponDice& d = WeaponDamageBySize[kMediumDiceRow][i];
      if (d.count == count && d.sides == sides) return i;
    }
    return -1;
  };
  int c = -1;
  if (r.dieKind >= 1 && r.dieKind <= kWeaponDieKinds - 1) {
    c = r.dieKind;
  } else if (r.itemType >= 0 && kFirstTemplateRow + r.itemType < kCraftedRows) {
    const CraftedWeaponRecord& t = CraftedWeapons[kFirstTemplateRow + r.itemType];
    c = mediumIndex(t.dieCount, t.dieSides);
  }
  // The largest size has no larger dice: such a weapon keeps its dice.
  const int row = r.size + 1;
  if (c >= 0 && c <= kWeaponDieKinds - 2 && row >= 1 && row < kWeaponSizes) {
    r.dieCount = WeaponDamageBySize[row][c].count;
    r.dieSides = WeaponDamageBySize[row][c].sides;
  }
  const int index = mediumIndex(r.dieCount, r.dieSides);
  if (index >= 0) r.dieKind = index;
  // The count of improvements and the price stop at their largest values.
  r.word720[kImprovementWord] = std::min(AddCount(r.word720[kImprovementWord], 1), kLargestCraftedCount);
  r.price = ChangedCraftedPrice(r.price, kImprovementPrice);
}

bool MainHandIsCraftedWeapon() {
  const uint32_t code = Creatures[CurrentCharacter()].equipment[kMainHandSlot - 1];
  return IsCraftedCode(code) && CraftedWeapons[code].itemType < kLastWeaponKind + 1;
}

void ChangePartyHitPoints(int32_t amount, int32_t mode) {
  if (mode < 0 || mode > 3) return;
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    if (c.present != 1 || c.hitPoints <= 0) continue;
    const bool percentage = mode == 0 || mode == 1;
    const bool heldToMaximum = mode == 0 || mode == 2;
    const int64_t step = percentage ? static_cast<int64_t>(c.hitPoints) * amount / 100 : amount;
    if (heldToMaximum && !(step < 1 || c.hitPoints < c.maxHitPoints)) continue;
    int64_t value = std::max<int64_t>(static_cast<int64_t>(c.hitPoints) + step, 1);
    if (heldToMaximum) value = std::min<int64_t>(value, c.maxHitPoints);
    c.hitPoints = static_cast<int32_t>(std::clamp<int64_t>(value, 1, INT32_MAX));
  }
}

bool PickUpSquareItem(int creature, int32_t object) {
  if (!CheckCreature(creature, "pick up")) return false;
  uint32_t code = 0;
  int32_t count = 1;
  if (object > kGoldObjectBase && object <= kGoldObjectLast) {
    if (IsPartyMember(creature)) {
      // The party's gold goes to the purse and takes no pair.
      PartyGold = static_cast<uint32_t>(
          std::min<int64_t>(static_cast<int64_t>(PartyGold) + (object - kGoldObjectBase), INT32_MAX));
      CheckTreasureAchievements();
      return true;
    }
    code = kGoldCoins;
    count = object - kGoldObjectBase;
  } else if (object > kStackObjectBase) {
    const int32_t band = (object - kStackObjectBase - 1) / kStackBand;
    count = object - kStackObjectBase - kStackBand * band;
    if (count >= kStackBand) count = 0;
    if (band <= 14) code = 5486 + band;
    else if (band >= 18 && band <= 32) code = 5502 + (band - 18);
    else if (band >= 33 && band <= 41) code = 5232 + (band - 33);
    else if (band >= 42 && band <= 50) code = 5473 + (band - 42);
    if (code == 0 || count < 1) {
      ScriptDebugLine("pick up: object %i names no item", object);
      return false;
    }
  } else if (object > static_cast<int32_t>(kFirstBaseItemCode) && object <= static_cast<int32_t>(kLastBaseItemCode)) {
    code = static_cast<uint32_t>(object);
  } else if (IsCraftedCode(static_cast<uint32_t>(object)) && CraftedWeapons[object].name[0] != '\0') {
    // A crafted item on the ground (a fallen enemy's weapon or armour, or an
    // item dropped from a full backpack) is one item of its own.
    code = static_cast<uint32_t>(object);
  } else {
    ScriptDebugLine("pick up: object %i names no item", object);
    return false;
  }
  CreatureRecord& c = Creatures[creature];
  if (IsStackableItem(code)) {
    if (ItemPair* stack = StackOf(c, code)) {
      stack->count = AddCount(stack->count, count);
      return true;
    }
  }
  if (ItemPair* pair = FreePair(c)) {
    *pair = ItemPair{code, count};
    return true;
  }
  return false;
}

bool PartyHasItem(uint32_t code) {
  if (code <= kFirstBaseItemCode) return false;
  return CountPartyItems(kMatchCode, static_cast<int32_t>(code)) >= 1;
}
