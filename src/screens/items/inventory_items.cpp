// The inventory's items and boxes: what a code names, where each box stands,
// the held stack and the messages of refused moves.
#include <cstdio>
#include <cstring>

#include "engine/text.h"

#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "screens/game/click_results.h"
#include "screens/items/inventory_screen.h"

uint8_t DragInProgress = 0;
InventoryMessageWords InventoryMessage = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
HoveredItemWords HoveredItem = {0, -1, 0};

const EquipBox EquipBoxes[kEquipBoxCount] = {
    {kSlotRanged, 91, 27, 393, false, true, 11, 3, "Ranged Weapon"},
    {kSlotAmmunition, 91, 46, 392, true, false, 11, 5, "Ammunition"},
    {kSlotHead, 40, 17, 395, true, false, 5, 3, "Head"},
    {kSlotArms, 21, 36, 399, true, false, 3, 5, "Arms"},
    {kSlotNeck, 40, 36, 396, true, false, 5, 5, "Neck"},
    {kSlotCloak, 59, 36, 394, true, false, 7, 5, "Cloak"},
    {kSlotRightHand, 21, 55, 400, false, true, 3, 7, "Right Hand"},
    {kSlotTorso, 40, 55, 397, false, true, 5, 7, "Torso"},
    {kSlotLeftHand, 59, 55, 401, true, true, 7, 7, "Left Hand"},
    {kSlotRightFinger, 21, 74, 402, true, false, 3, 9, "Right Finger"},
    {kSlotWaist, 40, 74, 398, true, false, 5, 9, "Waist"},
    {kSlotLeftFinger, 59, 74, 403, true, false, 7, 9, "Left Finger"},
    {kSlotFeet, 40, 93, 404, true, false, 5, 11, "Feet"},
};

namespace {

void ClearMessage(int32_t code) { InventoryMessage = {code, -1, -1, -1, -1, -1, -1, -1, -1, -1}; }

}  // namespace

const char* InventoryMessageText(int32_t code) {
  const char* text = InventoryClickResultText(code);
  return text ? text : "";
}

void SetMessageAtCell(int32_t code, int column, int row) {
  ClearMessage(code);
  InventoryMessage.cellColumn = column;
  InventoryMessage.cellRow = row;
}

void SetMessageAtText(int32_t code, int column, int row, int width) {
  ClearMessage(code);
  InventoryMessage.textColumn = column;
  InventoryMessage.textRow = row;
  InventoryMessage.textWidth = width;
}

void SetMessageAroundPointer(int32_t code) {
  ClearMessage(code);
  InventoryMessage.left = PointerX() - 10;
  InventoryMessage.right = PointerX() + 10;
  InventoryMessage.top = PointerY() - 10;
  InventoryMessage.bottom = PointerY() + 10;
}

bool MessageShowing() { return InventoryMessage.code != -1 || ClickResult.code != -1; }

bool IsStockCode(uint32_t code) { return code > kFirstBaseItemCode && code - kFirstBaseItemCode < kItemRows; }

const ItemRecord* StockRow(uint32_t code) { return IsStockCode(code) ? &ItemTable[code - kFirstBaseItemCode] : nullptr; }

const CraftedWeaponRecord* CraftedItem(uint32_t code) { return IsCraftedCode(code) ? &CraftedWeapons[code] : nullptr; }

const char* ItemCodeName(uint32_t code) {
  if (const ItemRecord* row = StockRow(code)) return row->name;
  if (const CraftedWeaponRecord* row = CraftedItem(code)) return row->name;
  return "";
}

int32_t ItemCodeIcon(uint32_t code) {
  if (const ItemRecord* row = StockRow(code)) return row->icon;
  if (const CraftedWeaponRecord* row = CraftedItem(code)) return row->icon;
  return -1;
}

int32_t ItemNoSale(uint32_t code) {
  if (const ItemRecord* row = StockRow(code)) return row->noSale;
  if (const CraftedWeaponRecord* row = CraftedItem(code)) return row->noSale;
  return 0;
}

int ItemCaptionStyle(uint32_t code) {
  const CraftedWeaponRecord* row = CraftedItem(code);
  if (row == nullptr) return 0;
  switch (row->material) {
    case 7: return 10;
    case 8: return 11;
    case 4: return 12;
    case 5: return 13;
    default: break;
  }
  return IsBowType(row->itemType) && row->composite == 1 ? 14 : 0;
}

void DrawBoxCount(int32_t count, int x, int y) {
  constexpr int kBoxSize = 18;
  char text[16];
  std::snprintf(text, sizeof text, "%i", count > 99 ? 99 : count);
  const int width = static_cast<int>(std::strlen(text)) * 5;
  DrawNumberBacking(x + kBoxSize - 2 - width, y + kBoxSize - 8, x + kBoxSize, y + kBoxSize);
  DrawTextAt(kDefaultColour, 2, x + kBoxSize - 1 - width, text, 0, 0, 0, 0, y + kBoxSize - 7, 1, 0);
}

const EquipBox* EquipBoxOf(int slot) {
  for (const EquipBox& box : EquipBoxes)
    if (box.slot == slot) return &box;
  return nullptr;
}

int BackpackBoxX(int entry) { return 8 + 18 * (entry % 8); }
int BackpackBoxY(int entry) { return entry < 8 ? 138 : 156; }

bool BoxShowsCode(const EquipBox& box, uint32_t code) {
  return (box.takesStock && IsStockCode(code)) || (box.takesCrafted && IsCraftedCode(code));
}

uint32_t PlaceCode(int creature, int slot) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  if (slot >= kSlotHead && slot <= kSlotRanged) return c.equipment[slot - 1];
  if (slot == kSlotAmmunition) return c.ammunition.code;
  if (slot >= kSlotFirstCarried && slot <= kSlotLastCarried) return c.carried[slot - kSlotFirstCarried].code;
  return 0;
}

int32_t PickedUpCount(int creature, int slot) {
  const CreatureRecord& c = Creatures[creature];
  if (slot == kSlotAmmunition) return c.ammunition.count;
  if (slot >= kSlotFirstCarried && slot <= kSlotLastCarried) {
    const ItemPair& pair = c.carried[slot - kSlotFirstCarried];
    return IsStockCode(pair.code) ? pair.count : 1;
  }
  return 1;
}

void ClearHeldStack() {
  HeldItemCode = -1;
  HeldItemOrigin = -1;
  DragInProgress = 0;
}

void ResetInventoryScreenState() {
  DragInProgress = 0;
  ClearMessage(-1);
  HoveredItem = {0, -1, 0};
}
