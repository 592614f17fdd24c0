// The inventory screen: a creature's thirteen equipment boxes drawn as a
// figure, its sixteen backpack boxes, the party members to pass items to,
// and the dragging of items between them; the item actions and the character
// panel stand on the same page. Called once a frame, in page view and as the
// item picker of the crafting and casting screen modes.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/inventory_slots.h"
#include "rules/item_rules.h"
#include "rules/recompute_creature.h"
#include "screens/game/click_results.h"
#include "screens/game/shared_routines.h"
#include "screens/items/inventory_screen.h"
#include "screens/items/item_screens.h"
#include "state/combat_action.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int kBoxFrame = 405;       // the backdrop of an item picture
constexpr int kBoxSize = 18;
constexpr uint32_t kPlain = 0xFFFFFFFFu;
constexpr uint32_t kHovered = 0xFFAAAAAAu;
constexpr int32_t kCursorDefault = 11;
constexpr int32_t kCursorAction = 4;
constexpr int32_t kCursorMember = 8;
constexpr int32_t kCursorChoosable = 16;
constexpr int32_t kCursorRefused = 18;
constexpr int kMemberColumn = 18;
constexpr int kMemberFirstRow = 5;
constexpr int kMemberNameLength = 15;
// Stock types of the letters that only the party can read.
constexpr int32_t kStockTypeLetter = 2;
constexpr int32_t kStockTypeSealedLetter = 3;
// The combat action code while the acting fighter's scroll action has opened the screen.
constexpr int32_t kScrollActionCode = 24;

// Set while the pointer is on an item that the picker or the scroll action accepts.
bool g_pointerAccepted = false;

// The caption of an item: its name, "+name" for a masterwork crafted item
// without enhancement, "count*name" for a stack.
void ItemCaption(uint32_t code, int32_t count) {
  const CraftedWeaponRecord* crafted = CraftedItem(code);
  if (crafted != nullptr && crafted->masterwork == 1 && crafted->enhancement == 0)
    std::snprintf(HoverCaption, 100, "+%s", crafted->name);
  else if (count > 1)
    std::snprintf(HoverCaption, 100, "%i*%s", count, ItemCodeName(code));
  else
    std::snprintf(HoverCaption, 100, "%s", ItemCodeName(code));
}

// Pushes the page of an item: its details for a crafted item, its properties
// for a stock item.
void OpenItemPage(uint32_t code) {
  const int32_t type = IsCraftedCode(code) ? static_cast<int32_t>(code) + kPageItemPropertiesLast : static_cast<int32_t>(code);
  PushPage(ItemCodeName(code), type, TopPageParameter());
}

// Starts holding the stack of a place.
void PickUp(int creature, uint32_t code, int slot) {
  HeldItemCode = static_cast<int32_t>(code);
  HeldItemOrigin = slot;
  HeldItemCount = PickedUpCount(creature, slot);
}

// The picker's press on an item; true when the screen returns at once.
bool PickerPress(const InventoryFrame& f, uint32_t code, int slot) {
  if (ScreenMode == kModeWandPicker) {
    const CraftedWeaponRecord* wand = CraftedItem(code);
    if (wand->charges > 0) {
      OpenInventoryMenu(f.creature);
      CurrentSpell = -1;
      ChosenItem = -1;
      if (slot == kSlotRightHand) {
        SetMessageAtCell(27, 3, 7);
      } else {
        const EquipBox* box = EquipBoxOf(slot);
        const int entry = slot - kSlotFirstCarried;
        if (box) SetClickResult(box->x, box->y, 27);
        else SetClickResult(BackpackBoxX(entry), BackpackBoxY(entry), 27);
      }
      return false;
    }
  }
  ChosenItem = static_cast<int32_t>(code);
  return true;
}

// The common work of a filled or empty box under the pointer; true when the
// screen returns at once.
bool BoxUnderPointer(const InventoryFrame& f, uint32_t code, int slot, int32_t count, bool pickerBox) {
  if (code != 0) {
    ItemCaption(code, count);
    HoveredItem = {code, slot, count};
    const bool pickerMode = f.picker || ScreenMode == kModeItemTarget;
    const bool accepted = pickerMode && pickerBox && (ScreenMode != kModeWandPicker || f.spellPending) && PickerAccepts(code);
    g_pointerAccepted = g_pointerAccepted || accepted;
    if (accepted && ButtonPressed(0)) return PickerPress(f, code, slot);
  }
  // A drop on another box.
  if (HeldItemCode != -1 && !ButtonPressed(0) && HeldItemOrigin != slot) {
    if (slot >= kSlotFirstCarried) DropOnBackpack(f.creature, slot - kSlotFirstCarried);
    else DropOnEquipBox(f.creature, slot);
    BackgroundScroll = 0;
    return false;
  }
  if (code == 0) return false;
  const ItemRecord* stock = StockRow(code);
  if (f.scrollView && slot >= kSlotFirstCarried && stock != nullptr) return ScrollActionOnEntry(f, code);
  if (HeldItemCode == -1 && f.mayAct && ButtonPressed(0)) {
    if (slot == kSlotNeck && stock != nullptr && stock->baseType == kStockTypeLevelScaled &&
        Creatures[f.creature].hitPoints <= LevelScaledItemAmount(f.creature, static_cast<int>(code - kFirstBaseItemCode))) {
      const EquipBox* box = EquipBoxOf(kSlotNeck);
      SetClickResult(box->x, box->y, 73);
      LatchButton(0);
    } else {
      PickUp(f.creature, code, slot);
    }
  }
  if (HeldItemCode == -1 && ButtonPressed(1)) {
    if (stock != nullptr && (stock->baseType == kStockTypeLetter || stock->baseType == kStockTypeSealedLetter) &&
        Creatures[f.creature].allegiance != kAllegianceParty && slot >= kSlotFirstCarried) {
      SetClickResult(BackpackBoxX(slot - kSlotFirstCarried), BackpackBoxY(slot - kSlotFirstCarried), 30);
      LatchButton(1);
    } else if (f.mayBrowse) {
      LatchButton(1);
      OpenItemPage(code);
    }
  }
  return false;
}

bool EquipBoxStep(const InventoryFrame& f, const EquipBox& box) {
  const CreatureRecord& c = Creatures[f.creature];
  const uint32_t stored = PlaceCode(f.creature, box.slot);
  const uint32_t code = BoxShowsCode(box, stored) ? stored : 0;
  const bool over = MouseInRect(box.y, box.x, kBoxSize, kBoxSize);
  const uint32_t colour = over ? kHovered : kPlain;
  DrawFigureSprite(kBoxFrame, box.x, box.y, colour, 0);
  if (code != 0 && HeldItemOrigin != box.slot) {
    DrawFigureSprite(ItemCodeIcon(code), box.x, box.y, colour, 0);
    const CraftedWeaponRecord* wand = CraftedItem(code);
    if (wand && wand->itemType == kItemTypeWand && (box.slot == kSlotRightHand || box.slot == kSlotLeftHand))
      DrawBoxCount(wand->charges, box.x, box.y);
    if (box.slot == kSlotAmmunition) DrawBoxCount(c.ammunition.count, box.x, box.y);
  } else {
    DrawFigureSprite(box.emptyPicture, box.x, box.y, colour, 0);
  }
  if (!over) return false;
  if (code == 0) std::snprintf(HoverCaption, 100, "%s", box.caption);
  const int32_t count = box.slot == kSlotAmmunition ? c.ammunition.count : 1;
  const bool pickerBox = box.slot == kSlotRightHand || box.slot == kSlotLeftHand || box.slot == kSlotTorso;
  return BoxUnderPointer(f, code, box.slot, count, pickerBox);
}

bool BackpackBoxStep(const InventoryFrame& f, int entry) {
  const ItemPair& pair = Creatures[f.creature].carried[entry];
  const int slot = kSlotFirstCarried + entry;
  const int x = BackpackBoxX(entry), y = BackpackBoxY(entry);
  const bool over = MouseInRect(y, x, kBoxSize, kBoxSize);
  const uint32_t colour = over ? kHovered : kPlain;
  const uint32_t code = IsStockCode(pair.code) || IsCraftedCode(pair.code) ? pair.code : 0;
  DrawFigureSprite(kBoxFrame, x, y, colour, 0);
  if (code != 0 && HeldItemOrigin != slot) {
    DrawFigureSprite(ItemCodeIcon(code), x, y, colour, 0);
    if (IsStockCode(code) && pair.count > 1) DrawBoxCount(pair.count, x, y);
  }
  if (!over) return false;
  if (f.scrollView && code != 0) g_pointerAccepted = ScrollUsableInCombat(f.creature, code);
  return BoxUnderPointer(f, code, slot, IsStockCode(code) ? pair.count : 1, true);
}

// "Backpack Items", which also packs the backpack.
void BackpackCaption(const InventoryFrame& f) {
  const bool live = f.partyMember && !f.spellPending && InCombat == 0 && HeldItemCode == -1 && !f.picker &&
                    LevelUpPending == 0;
  const bool over = live && MouseInTextRow(16, 1, 14, 1, 1, 0);
  DrawTextF(over ? 2 : 5, 1, 16, "Backpack Items");
  if (!over) return;
  std::snprintf(HoverCaption, 100, "Rearrange items");
  CursorShape = kCursorAction;
  if (ConsumeClick(1)) RearrangeCarriedItems(f.creature);
}

// The party's names: pages of the members, and items passed to them.
void PartyMemberNames(const InventoryFrame& f) {
  const bool live = f.partyMember && !f.spellPending && f.mayAct;
  for (int member = 0; member < kPartySize; ++member) {
    const CreatureRecord& m = Creatures[member];
    if (m.name[0] == 0) continue;
    const int row = kMemberFirstRow + member;
    const int width = static_cast<int>(strnlen(m.name, kMemberNameLength));
    const bool over = live && MouseInTextRow(row, kMemberColumn, width, 1, 1, 0);
    const int style = over ? 2 : member == f.creature ? 1 : 4;
    DrawTextAt(kDefaultColour, kMemberNameLength, 0, m.name, style, kMemberColumn, row, 1, 0, 0, 0);
    if (!over) continue;
    CursorShape = CombatEquipAction ? kCursorRefused : kCursorMember;
    if (HeldItemCode != -1) {
      if (!ButtonPressed(0)) PassHeldItem(f.creature, member, row, width);
      continue;
    }
    if (ButtonPressed(0) && member != f.creature && CombatEquipAction == 0) {
      LatchButton(0);
      PushPage(m.name, kPageInventory, member);
    } else if (ButtonPressed(1)) {
      LatchButton(1);
      PushPage(m.name, kPageCharacterRecord, member);
    }
  }
}

// The message of a refused move stays while the pointer stays on what raised it.
void ShowMessage() {
  if (InventoryMessage.code == -1 && ClickResult.code != -1) {
    InventoryMessage = {ClickResult.code, -1, -1, -1, -1, -1, ClickResult.left, ClickResult.right, ClickResult.top,
                        ClickResult.bottom};
    ClickResult = {-1, -1, -1, -1, -1};
  }
  if (InventoryMessage.code == -1) return;
  const InventoryMessageWords& m = InventoryMessage;
  const int x = PointerX(), y = PointerY();
  const bool inCell = m.cellColumn != -1 && MouseInRow8(m.cellColumn, 0, m.cellRow);
  const bool inText = m.textColumn != -1 && MouseInTextRow(m.textRow, m.textColumn, m.textWidth, 1, 1, 0);
  const bool inRect = m.left != -1 && x >= m.left && x < m.right && y >= m.top && y < m.bottom;
  if (inCell || inText || inRect) {
    std::snprintf(HoverCaption, 100, "%s", InventoryMessageText(m.code));
    return;
  }
  InventoryMessage = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  ClickResult = {-1, -1, -1, -1, -1};
}

// The caption under the pointer, in its item's colour.
void DrawCaption(const InventoryFrame& f) {
  if (HoverCaption[0] == 0) return;
  if (f.scrollView) {
    DrawWrappedText(-1, HoverCaption, 0, -1, 0, 1);
    return;
  }
  if (TradeOfferOverlay[0] != 0 && InventoryMessage.code == -1) {
    // The name in its colour drawn again over the caption, where it went.
    DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
    int x = 0, y = 0;
    LastHintPlace(&x, &y);
    DrawWrappedText(x, TradeOfferOverlay, TradeOfferOverlayStyle, y, 1, 0);
    return;
  }
  const int style = InventoryMessage.code == -1 && HoveredItem.code != 0 ? ItemCaptionStyle(HoveredItem.code) : 0;
  DrawWrappedText(-1, HoverCaption, style, -1, 0, 0);
}

// The cursor, or the held item in its place, and the caption.
void DrawPointer(const InventoryFrame& f) {
  if (HeldItemCode != -1) {
    const int x = PointerX(), y = PointerY();
    DrawFigureSprite(ItemCodeIcon(static_cast<uint32_t>(HeldItemCode)), x, y, kPlain, 0);
    if (IsStockCode(static_cast<uint32_t>(HeldItemCode)) && HeldItemCount > 1) DrawBoxCount(HeldItemCount, x + 8, y);
    return;
  }
  DrawMouseCursor();
  DrawCaption(f);
  if (TradeSaleHintShown) {
    // A line of its own under the caption (where the caption went), on the
    // same backing.
    int x = PointerX() + 17, y = PointerY() + 12;
    if (HoverCaption[0] != 0) LastHintPlace(&x, &y);
    DrawWrappedText(x, "Push S to Sell", 11, y + 8, 0, 1);
  }
}

// In combat a weapon changed takes effect at once: the attack counts of the
// turn follow the new attack profile.
void RefreshCombatAttacks(int creature) {
  CombatActionState& a = CombatAction;
  if (a.attackSequenceOpen == 0 && a.shootingSequenceOpen == 0) {
    a.attackCounter = 0;
    a.currentProfileEntry = 0;
    a.attacksInEntry = 0;
    a.meleeAttacksMade = 0;
    a.shotsMade = 0;
    a.selectedAction = -1;
  }
  static AttackProfile profile;
  BuildAttackProfile(&profile, creature, 0, -1, 0, 0);
  int32_t melee = 0, shots = 0;
  for (const AttackProfileEntry& e : profile.entries) {
    if (e.kind == kEntryNone || e.kind == kEntryRanged) break;
    melee += e.attackCount.total;
  }
  for (const AttackProfileEntry& e : profile.entries) {
    if (e.kind != kEntryRanged) continue;
    shots = e.attackCount.total;
    break;
  }
  a.meleeAttacksAllowed = melee;
  a.shotsAllowed = shots;
}

}  // namespace

int DrawInventoryScreen(int creature, int tradePartner) {
  LastScreenDrawn = "DrawInventoryScreen";
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  if (c.allegiance == kAllegianceParty) RenumberHeldItemCodes(creature);
  RecomputeCreature(creature, 0);

  std::memset(HoverCaption, 0, 100);
  ScreenHovered = 0;
  HoveredItem = {0, -1, 0};
  g_pointerAccepted = false;
  InventoryFrame f{};
  f.creature = creature;
  f.tradePartner = tradePartner;
  f.partyMember = creature < kPartySize && c.allegiance == kAllegianceParty;
  f.spellPending = CurrentSpell != -1;
  f.picker = ScreenMode == kModeWandPicker || ScreenMode == kModeEnchantPicker;
  // The scroll action's view is the acting fighter's own page; another
  // member's page reached meanwhile is only looked at.
  f.scrollView = InCombat != 0 && CombatAction.actionCode == kScrollActionCode && creature == CurrentFighter();
  // In a battle only the acting member's own items move, by its equipment
  // action and while its conditions leave it free to handle its gear; any
  // other member's page (reached through a name or the record's keys) is
  // only looked at.
  const bool battleAllows = InCombat == 0 || (CombatEquipAction != 0 && creature == CurrentFighter() &&
                                              MayDo(creature, kDeedHandle));
  f.mayAct = creature < kPartySize && battleAllows && !f.spellPending && !f.picker && LevelUpPending == 0;
  f.mayBrowse = HeldItemCode == -1 && !f.scrollView && !f.spellPending && !f.picker;

  CursorShape = kCursorDefault;
  DrawFramedBox(0, 0, 2);
  DrawSeparatorLine(15, 1, 38, 15);
  DrawSeparatorLine(16, 1, 14, 0);
  DrawTextAt(kDefaultColour, kMemberNameLength, 0, c.name, 5, 1, 1, 1, 0, 0, 0);

  for (const EquipBox& box : EquipBoxes)
    if (EquipBoxStep(f, box)) return 1;
  BackpackCaption(f);
  for (int entry = 0; entry < kCarriedPairs; ++entry)
    if (BackpackBoxStep(f, entry)) return 1;

  if (RunItemActions(f)) return 1;
  if (RunCharacterPanel(f)) return 1;
  PartyMemberNames(f);
  PartyGoldLine(f);
  RunTradeArea(f);

  if (f.scrollView || (ScreenMode == kModeEnchantPicker && InCombat == 0))
    CursorShape = g_pointerAccepted ? kCursorChoosable : kCursorRefused;
  DragInProgress = HeldItemCode != -1 ? 1 : 0;
  NavBarState.selection = DragInProgress ? HeldItemCode : -1;
  DrawHelpNavBar(!f.spellPending && !f.picker ? 1 : 0, -1);
  if (!ButtonPressed(0)) ClearHeldStack();
  NavBarState.selection = -1;

  ShowMessage();
  DrawPointer(f);
  if (InCombat != 0) RefreshCombatAttacks(creature);
  if (!f.spellPending && !f.picker && HeldItemCode == -1) PollPointerButtons();
  return 1;
}
