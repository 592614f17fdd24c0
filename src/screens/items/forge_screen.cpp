// The forge: a new weapon, shield, suit of armour or a bundle of arrows or
// bolts made from the prepared kinds in a chosen material, masterwork or
// not, for the price-derived gold and experience.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "adventure/item_commands.h"
#include "engine/click_sound.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/free_item_slot.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/game/shared_routines.h"
#include "screens/items/crafting.h"
#include "screens/items/item_kinds.h"
#include "screens/items/item_screens.h"
#include "state/inventory_state.h"

uint32_t ForgeKind = 1;
uint32_t ForgeMaterial = kForgeBasic;
uint8_t ForgeMasterwork = 0;
int32_t ForgeMessage = -1;

namespace {

constexpr int kStyleRed = 7;
constexpr uint32_t kFirstShieldKind = 36, kFirstArmourKind = 38, kPaddedArmour = 45;
constexpr uint32_t kLongbow = 32, kShortbow = 33;
constexpr int32_t kHandlingLight = 1, kHandlingOneHand = 2, kHandlingTwoHands = 3;
constexpr int32_t kLightArmour = 5, kMediumArmour = 6, kHeavyArmour = 7;
constexpr int32_t kMaterialSilver = 4, kMaterialColdIron = 5, kMaterialMithral = 7, kMaterialAdamantine = 8;
constexpr uint32_t kEntryColour = 0xFF32C8C8u, kSelectedColour = 0xFFFF0000u, kHoveredColour = 0xFFC8C8C8u;
constexpr int32_t kCancelMark = 200, kCraftMark = 201;

bool NoMaterialKind(uint32_t kind) { return kind == 10 || kind == 11 || kind == kLongbow || kind == kShortbow || kind >= 49; }

// The plain kind a composite bow is made from (the kind itself otherwise).
uint32_t PlainKind(uint32_t kind) {
  if (kind == kForgeCompositeLongbow) return kLongbow;
  if (kind == kForgeCompositeShortbow) return kShortbow;
  return kind;
}

// The materials a kind keeps from one frame to the next.
bool MaterialAllowed(uint32_t material, uint32_t kind) {
  if (material == kForgeBasic) return true;
  if (NoMaterialKind(kind)) return false;
  switch (material) {
    case kForgeSilver:
    case kForgeColdIron: return kind < kFirstShieldKind;
    // Mithral is made only into shields and armour (not padded armour).
    case kForgeMithral: return kind >= kFirstShieldKind && kind != kPaddedArmour;
    case kForgeAdamantine: return kind != 36 && kind != 37 && kind != kPaddedArmour;
    default: return false;
  }
}

// The materials offered for a kind: those it keeps, and Mithral for the
// bastard sword and the dwarven waraxe too, which the next frame takes back
// to basic material (the masterwork that Mithral brings stays chosen).
bool MaterialOffered(uint32_t material, uint32_t kind) {
  if (material == kForgeMithral && (kind == 34 || kind == 35)) return true;
  return MaterialAllowed(material, kind);
}

// Prefixes the name when it is at most `longest` characters long.
void Prefix(char (&name)[50], const char* word, size_t longest) {
  if (std::strlen(name) > longest) return;
  char formed[50];
  std::snprintf(formed, sizeof formed, "%s %s", word, name);
  std::memcpy(name, formed, sizeof name);
}

const char* ForgeMessageText(int32_t code) {
  switch (code) {
    case kForgeNoGold: return "Not Enough Gold";
    case kForgeNoXP: return "Not Enough XP";
    case kForgeNoRoom: return "No room in backpack";
    case kForgeNoRecord: return "No more items can be crafted";
    default: return "";
  }
}

// A small-cell entry of the kind list; true when the frame ends.
bool KindEntry(const char* caption, uint32_t kind, int column, int row, int crafter) {
  const int width = static_cast<int>(std::strlen(caption));
  const bool over = MouseInTextRow(row, column, width, 1, 0, 0);
  const bool selected = ForgeKind == kind;
  const uint32_t colour = over ? kHoveredColour : selected ? kSelectedColour : kEntryColour;
  DrawTextAt(colour, width, 0, caption, over ? kStyleHover : kStyleTitle, column, row, 0, 0, 0, 0);
  if (!over) return false;
  if (!selected) {
    SetHoverCaption("Make this item");
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      ForgeKind = kind;
    }
  }
  if (!ButtonPressed(1)) return false;
  PlayClickSound();
  LatchButton(1);
  if (kind == kForgeArrows || kind == kForgeBolts) {
    const int row = kind == kForgeArrows ? 1 : 2;
    PushPage(ItemTable[row].name, static_cast<int32_t>(kFirstBaseItemCode) + row, crafter);
  } else {
    const int record = ForgeKindRecord(static_cast<int>(PlainKind(kind)));
    PushPage(CraftedWeapons[record].name, kPageItemPropertiesLast + record, crafter);
  }
  return true;
}

// A help header of the left column; true when it opened its page.
bool HelpHeader(const char* text, int column, int row, bool over, const char* caption, int32_t topic) {
  PageTextAt(text, over ? kStyleHover : kStyleLabel, column, row);
  if (!over) return false;
  CursorShape = kCursorLink;
  if (!ConsumeClick(1)) return false;
  OpenPage(caption, topic);
  return true;
}

struct MaterialRow {
  int row;
  const char* caption;
  uint32_t material;
  const char* hint;
  const char* helpCaption;
  int32_t topic;
};
const MaterialRow kMaterials[] = {
    {8, "Basic Materials", kForgeBasic, "Select a Material", "Materials", 43006},
    {9, "Silver", kForgeSilver, "Select Material", "Material: Silver", 43010},
    {10, "Cold Iron", kForgeColdIron, "Select Material", "Material: Cold Iron", 43011},
    {11, "Mithral", kForgeMithral, "Select Material", "Material: Mithral", 43013},
    {12, "Adamantine", kForgeAdamantine, "Select Material", "Material: Adamantine", 43014},
};

// The material choices; true when the frame ends.
bool MaterialChoices() {
  for (const MaterialRow& m : kMaterials) {
    const bool current = ForgeMaterial == m.material;
    const bool over = m.material == kForgeBasic ? MouseInRect(64, 16, 112, 8)
                                                : PointerOnCells(2, m.row, static_cast<int>(std::strlen(m.caption)));
    const bool offered = over && !current && MaterialOffered(m.material, ForgeKind);
    PageTextAt(m.caption, offered ? kStyleHover : current ? kStyleRed : kStyleTitle, 2, m.row);
    if (offered) {
      SetHoverCaption(m.hint);
      CursorShape = kCursorArrow;
      if (ButtonPressed(0)) {
        PlayClickSound();
        LatchButton(0);
        ForgeMaterial = m.material;
        if (m.material == kForgeMithral || m.material == kForgeAdamantine) ForgeMasterwork = 1;
      }
    }
    if (over && ButtonPressed(1)) {
      PlayClickSound();
      LatchButton(1);
      OpenPage(m.helpCaption, m.topic);
      return true;
    }
  }
  return false;
}

// "Yes" and "No" of masterwork; true when the frame ends.
bool MasterworkChoices() {
  const bool yesOffered = ForgeMasterwork == 0 && ForgeKind != kForgeArrows && ForgeKind != kForgeBolts;
  const bool overYes = PointerOnCells(2, 16, 3);
  PageTextAt("Yes", overYes && yesOffered ? kStyleHover : ForgeMasterwork == 1 ? kStyleRed : kStyleTitle, 2, 16);
  if (overYes && yesOffered) {
    SetHoverCaption("Make a Masterwork item");
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      ForgeMasterwork = 1;
    }
  }
  if (overYes && ButtonPressed(1)) {
    PlayClickSound();
    LatchButton(1);
    OpenPage("Masterwork Items", 43002);
    return true;
  }
  const bool noOffered =
      ForgeMasterwork == 1 && ForgeMaterial != kForgeMithral && ForgeMaterial != kForgeAdamantine;
  const bool overNo = PointerOnCells(8, 16, 2);
  PageTextAt("No", overNo && noOffered ? kStyleHover : ForgeMasterwork == 0 ? kStyleRed : kStyleTitle, 8, 16);
  if (overNo && noOffered) {
    SetHoverCaption("Make a simple item");
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      ForgeMasterwork = 0;
    }
  }
  return false;
}

// "Cancel" and "Craft" on the bottom row; true when one of them is under the
// pointer (its message then stays).
bool BottomButtons(int crafter) {
  bool claimed = false;
  if (LitText("Cancel", kStyleTitle, 10, 28)) {
    claimed = true;
    HoverSoundFor(kCancelMark);
    SetHoverCaption("Back to Crafting Menu");
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      LeaveCraftingPage();
      return true;
    }
  }
  if (LitText("Craft", kStyleTitle, 25, 28)) {
    claimed = true;
    HoverSoundFor(kCraftMark);
    CursorShape = kCursorArrow;
    SetHoverCaption("");
    if (ButtonPressed(0)) {
      PlayClickSound();
      LatchButton(0);
      ForgeMessage = ForgeCurrentItem(crafter);
    }
  }
  return claimed;
}

}  // namespace

int ForgeKindRecord(int kind) { return 4951 + kind; }

void SettleForgeChoices() {
  const uint32_t kind = ForgeKind;
  if (kind < 1 || kind > kForgeBolts) ForgeKind = 1;
  if (!MaterialAllowed(ForgeMaterial, ForgeKind)) ForgeMaterial = kForgeBasic;
  if (ForgeKind == kForgeArrows || ForgeKind == kForgeBolts) ForgeMasterwork = 0;
}

int32_t ForgePrice() {
  SettleForgeChoices();
  if (ForgeKind == kForgeArrows) return 5;
  if (ForgeKind == kForgeBolts) return 20;
  const uint32_t kind = PlainKind(ForgeKind);
  const CraftedWeaponRecord& r = CraftedWeapons[ForgeKindRecord(static_cast<int>(kind))];
  int32_t price = r.price;
  if (ForgeKind == kForgeCompositeLongbow) price += 400;
  if (ForgeKind == kForgeCompositeShortbow) price += 300;
  if (ForgeMaterial == kForgeAdamantine || ForgeMaterial == kForgeMithral) {
    const bool adamantine = ForgeMaterial == kForgeAdamantine;
    if (kind < kFirstArmourKind) price += adamantine ? 3000 : 1000;
    else if (r.proficiency == kLightArmour) price += adamantine ? 5000 : 1000;
    else if (r.proficiency == kMediumArmour) price += adamantine ? 10000 : 4000;
    else if (r.proficiency == kHeavyArmour) price += adamantine ? 15000 : 9000;
    return price;
  }
  if (ForgeMasterwork == 1) price += kind >= kFirstShieldKind ? 150 : 300;
  if (ForgeMaterial == kForgeColdIron) price *= 2;
  if (ForgeMaterial == kForgeSilver) {
    if (r.handling == kHandlingLight) price += 20;
    else if (r.handling == kHandlingOneHand) price += 90;
    else if (r.handling == kHandlingTwoHands) price += 180;
  }
  return price;
}

int32_t ForgeCurrentItem(int crafter) {
  if (crafter < 0 || crafter >= kCreatureCount) return kForgeNoRoom;
  const CraftCost cost = CraftingCost(ForgePrice());
  switch (CheckCraftCost(crafter, cost)) {
    case CraftShortfall::kGold: return kForgeNoGold;
    case CraftShortfall::kXP: return kForgeNoXP;
    case CraftShortfall::kNone: break;
  }
  const int pair = FindFreeItemPair(crafter);
  if (pair < 0) return kForgeNoRoom;
  if (ForgeKind == kForgeArrows || ForgeKind == kForgeBolts) {
    PayCraftCost(crafter, cost);
    GiveItemToCharacter(crafter, 100, ForgeKind == kForgeArrows ? 5001 : 5002);
    OpenInventoryMenu(crafter);
    return -1;
  }
  // The record is found before anything is paid.
  const int made = FindFreeItemSlot();
  if (made < 1) return kForgeNoRecord;
  PayCraftCost(crafter, cost);
  const bool composite = ForgeKind == kForgeCompositeLongbow || ForgeKind == kForgeCompositeShortbow;
  ForgeKind = PlainKind(ForgeKind);
  CraftedWeaponRecord& r = CraftedWeapons[made];
  r = CraftedWeapons[ForgeKindRecord(static_cast<int>(ForgeKind))];
  r.name[sizeof r.name - 1] = 0;
  if (ForgeMasterwork == 1) {
    r.masterwork = 1;
    if (ForgeKind >= kFirstShieldKind && r.critLow > 0) r.critLow -= 1;
    Prefix(r.name, "Masterwork", 4);
  }
  switch (ForgeMaterial) {
    case kForgeSilver:
      r.material = kMaterialSilver;
      r.hardness = 8;
      Prefix(r.name, "Silver", 8);
      break;
    case kForgeColdIron:
      r.material = kMaterialColdIron;
      r.hardness = 10;
      Prefix(r.name, "Cold Iron", 5);
      break;
    case kForgeMithral:
      r.material = kMaterialMithral;
      if (ForgeKind >= kFirstArmourKind && (r.proficiency == kHeavyArmour || r.proficiency == kMediumArmour))
        r.proficiency -= 1;
      if (ForgeKind >= kFirstShieldKind) {
        r.critMultiplier = r.critMultiplier > 10 ? r.critMultiplier - 10 : 0;
        r.critLow = r.critLow > 3 ? r.critLow - 3 : 0;
        r.dieCount = std::min(r.dieCount + 2, kLargestCraftedDice);
      }
      r.hardness = 15;
      Prefix(r.name, "Mithral", 7);
      break;
    case kForgeAdamantine:
      r.hitPoints = std::min(r.hitPoints + r.hitPoints / 3, kLargestCraftedHitPoints);
      r.currentHitPoints = r.hitPoints;
      r.material = kMaterialAdamantine;
      r.hardness = 20;
      Prefix(r.name, "Adamant", 7);
      break;
    default: break;
  }
  if (composite) r.composite = 1;
  r.price = ChangedCraftedPrice(0, cost.xp != 0 ? 2 * int64_t{cost.gold} : cost.gold);
  EquipItemInSlot(crafter, kSlotFirstCarried + pair, static_cast<uint32_t>(made), 1);
  OpenInventoryMenu(crafter);
  return -1;
}

int ForgeWeaponScreen(int crafter) {
  LastScreenDrawn = "ForgeWeaponScreen";
  if (ForgeMessage == -1) std::memset(HoverCaption, 0, 100);
  CursorShape = kCursorRest;
  DrawFramedBox(0, 0, 1);
  DrawSeparatorLine(2, 0, 39, 2);
  DrawSeparatorLine(27, 0, 39, 27);
  PageTextAt("Forge a Weapon, Armor or Shield", kStyleGreen, 4, 1);
  if (crafter < 0 || crafter >= kCreatureCount) {
    EndCharacterPage(false);
    return 1;
  }
  bool ends = HelpHeader("Material", 2, 6, MouseInRect(48, 16, 64, 8), "Materials", 43006);
  SettleForgeChoices();
  ends = ends || MaterialChoices();
  ends = ends || HelpHeader("Masterwork", 2, 14, PointerOnCells(2, 14, 10), "Masterwork Items", 43002);
  ends = ends || MasterworkChoices();
  if (ends) {
    EndCharacterPage(false);
    return 1;
  }
  const CraftCost cost = CraftingCost(ForgePrice());
  PageTextAt("Total Cost", kStyleLabel, 2, 19);
  PageTextAt("Gold:", kStyleLabel, 2, 20);
  PageTextAt("XP:", kStyleLabel, 2, 21);
  DrawTextF(kStyleGreen, 8, 20, "%i", cost.gold);
  DrawTextF(kStyleGreen, 8, 21, "%i", cost.xp);
  PageTextAt("Available", kStyleLabel, 2, 23);
  PageTextAt("Gold:", kStyleLabel, 2, 24);
  PageTextAt("XP:", kStyleLabel, 2, 25);
  DrawTextF(kStyleGreen, 8, 24, "%u", PartyGold);
  DrawTextF(kStyleGreen, 8, 25, "%i", SpareXP(crafter));

  DrawCentrePanelFrame();
  PageTextAt("Type", kStyleLabel, 13, 4);
  bool listEnds = KindEntry("100 Arrows", kForgeArrows, 30, 7, crafter);
  listEnds = listEnds || KindEntry("100 Crsbow Bolt", kForgeBolts, 45, 7, crafter);
  for (uint32_t kind = 1; kind <= 48 && !listEnds; ++kind)
    listEnds = KindEntry(ForgeKindNames[kind - 1], kind, kind <= 25 ? 30 : 45,
                         kind <= 25 ? 7 + static_cast<int>(kind) : static_cast<int>(kind) - 18, crafter);
  listEnds = listEnds || KindEntry("Compos.Longbow", kForgeCompositeLongbow, 45, 31, crafter);
  listEnds = listEnds || KindEntry("Compos.Shortbow", kForgeCompositeShortbow, 45, 32, crafter);
  if (listEnds) {
    EndCharacterPage(false);
    return 1;
  }
  const bool claimed = BottomButtons(crafter);
  PollPointerButtons();
  if (claimed) {
    if (ForgeMessage != -1) SetHoverCaption(ForgeMessageText(ForgeMessage));
  } else {
    HoverSoundMark = -1;
    ForgeMessage = -1;
  }
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return 1;
}
