// The crafting menu: the six crafting activities a crafter's item-creation
// feats offer, each leading to its own page (or, for enchanting, to the
// inventory picking the item).
#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/inventory_slots.h"
#include "screens/character/page_kit.h"
#include "screens/items/crafting.h"
#include "screens/items/item_screens.h"
#include "state/inventory_state.h"
#include "state/text_entry.h"

namespace {

constexpr int kEntryColumn = 8;
// The activities in the order of their rows; page 0 marks the enchanting
// entry, which starts the item picker instead of opening a page.
struct CraftingEntry {
  int row;
  const char* caption;
  int feat;
  bool newItem;
  const char* hint;
  int32_t page;
  const char* pageCaption;
  const char* helpCaption;
  int32_t helpTopic;
};
const CraftingEntry kEntries[] = {
    {10, "Forge a Weapon or Armor", kFeatForgeWeaponAndArmor, true, "Create Weapon/Armor", kPageForgeWeapon,
     "Craft New Weapon", "Help: Forge Weapon", 31322},
    {12, "Scribe a Magic Scroll", kFeatScribeScroll, true, "Scribe Scroll", kPageScribeScroll, "Scribe Scroll",
     "Help: Scribe Scroll", 31290},
    {14, "Forge a Magic Ring", kFeatForgeRing, true, "Forge Ring", kPageMagicRing, "Forge Ring", "Help: Forge Ring",
     31293},
    {16, "Craft a Wondrous Item", kFeatCraftWondrousItem, true, "Craft Wondrous Item", kPageWondrousItem,
     "Craft Wondrous Item", "Help: Craft Wondrous", 31294},
    {18, "Enchant a Wand", kFeatCraftWand, false, "Enchant a Wand", kPageCraftWand, "Craft Wand", "Help: Craft Wand",
     31291},
    {20, "Enchant a Weapon or Armor", kFeatCraftWeaponAndArmor, false, "Enchant Weapon/Armor", 0, nullptr,
     "Help: Craft Weapon/Armor", 31292},
};

// The left press on an offered entry.
void StartActivity(const CraftingEntry& e, int crafter) {
  if (e.page == 0) {
    ActingCreature = crafter;
    ChosenItem = -1;
    ScreenMode = kModeEnchantPicker;
    return;
  }
  // A wand page opened from here charges the wand the picker will choose,
  // never one left chosen by an earlier page.
  if (e.page == kPageCraftWand) ChosenItem = -1;
  PushPage(e.pageCaption, e.page, crafter);
  HoverSoundMark = -1;
  BackgroundScroll = 0;
  TextEntryMode = kTextEntryNone;
}

}  // namespace

int CraftingMenuScreen(int crafter) {
  LastScreenDrawn = "CraftingMenuScreen";
  BeginCharacterPage();
  DrawScreenBackdrop();
  if (crafter < 0 || crafter >= kCreatureCount) {
    EndCharacterPage(false);
    return 1;
  }
  const CreatureRecord& c = Creatures[crafter];
  PageTextAt("Please select an action", kStyleGreen, 6, 2);
  PageTextAt(c.name, kStylePink, kEntryColumn, 7);
  const bool packFull = FindFreeItemPair(crafter) < 0;
  for (const CraftingEntry& e : kEntries) {
    if (c.feats[e.feat] == 0) {
      PageTextAt(e.caption, kStyleLabel, kEntryColumn, e.row);
      continue;
    }
    if (!LitText(e.caption, kStyleTitle, kEntryColumn, e.row)) continue;
    if (e.newItem && packFull) {
      SetHoverCaption("No more inventory space");
      CursorShape = kCursorRefused;
      continue;
    }
    SetHoverCaption(e.hint);
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      StartActivity(e, crafter);
      EndCharacterPage(false);
      return 1;
    }
    if (ButtonPressed(1)) {
      PlayClickSound();
      LatchButton(1);
      BackgroundScroll = 0;
      OpenPage(e.helpCaption, e.helpTopic);
      EndCharacterPage(false);
      return 1;
    }
  }
  if (CraftingCancelPressed(nullptr)) LeaveCraftingPage();
  EndCharacterPage(false);
  return 1;
}

bool CraftingCancelPressed(const char* hint) {
  const bool over = MouseInRect(208, 64, 48, 8);
  PageTextAt("Cancel", over ? kStyleHover : kStyleTitle, kEntryColumn, 26);
  if (!over) return false;
  ScreenHovered = 1;
  if (hint) SetHoverCaption(hint);
  CursorShape = kCursorArrow;
  if (!ButtonPressed(0)) return false;
  PlayClickSound();
  LatchButton(0);
  return true;
}

void LeaveCraftingPage() {
  if (PageDepth > 0) --PageDepth;
  PageReady = 0;
  HoverSoundMark = -1;
}

void CraftingSmallText(const char* text, int style, int column, int row) {
  DrawTextAt(kDefaultColour, kSmallColumns, 0, text, style, column, row, 0, 0, 0, 0);
}
