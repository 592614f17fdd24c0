// The list of the objects lying on one square (screen mode 5): each object's
// picture, name and value; Space picks the hovered object (or all of them)
// up for the party, the left button lifts it onto the cursor to hand it to
// one member, the right button opens the item's page.
#include <cstdio>
#include <cstring>

#include "adventure/item_commands.h"
#include "combat/actions/walking.h"
#include "combat/resolution/spell_keywords.h"
#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/creature_paths.h"
#include "map/map_record.h"
#include "map/map_view.h"
#include "map/party_walk.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/game_screen.h"
#include "screens/game/held_object.h"
#include "screens/game/map_input.h"
#include "screens/game/object_list.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

HeldObjectWords HeldObject;
PopupCellBoxWords PopupCellBox;  // placed anew by each box drawn over the map (no end needed)

namespace {

constexpr int32_t kGoldBase = 10000, kGoldLast = 199999, kGoldRow = 484, kGoldType = 39;
constexpr int32_t kStackBand = 10000;
constexpr int kKeyLeftAlt = 0x38, kKeyRightAlt = 0xB8;
constexpr int32_t kResultBackpackFull = 2, kResultNotPicked = 11, kResultPolymorphed = 22;
constexpr int32_t kResultPickUpFirst = 69;
constexpr int kReachFeet = 14;
constexpr int kSlotFigure = 405;
constexpr uint32_t kSlotColour = 0xC8FFFFFFu, kHoverColour = 0xFFB4B4B4u, kPlain = 0xFFFFFFFFu;

// The goods that lie in piles: a label and two bands of codes, each with its
// own base item row.
struct StackKind {
  const char* label;
  int32_t firstBase, firstRow, secondBase, secondRow;
};
constexpr StackKind kStackKinds[] = {
    {"%i Agates", 200000, 486, 380000, 502},          {"%i Quartz", 210000, 487, 390000, 503},
    {"%i Malachites", 220000, 488, 400000, 504},      {"%i Bloodstones", 230000, 489, 410000, 505},
    {"%i Moonstones", 240000, 490, 420000, 506},      {"%i Onyx", 250000, 491, 430000, 507},
    {"%i Ambers", 260000, 492, 440000, 508},          {"%i Amethysts", 270000, 493, 450000, 509},
    {"%i Jades", 280000, 494, 460000, 510},           {"%i Aquamarines", 290000, 495, 470000, 511},
    {"%i Pearls", 300000, 496, 480000, 512},          {"%i Emeralds", 310000, 497, 490000, 513},
    {"%i Rubies", 320000, 498, 500000, 514},          {"%i Diamonds", 330000, 499, 510000, 515},
    {"%i Dragon Eyes", 340000, 500, 520000, 516},     {"%i Sleep Arrows", 530000, 232, 620000, 473},
    {"%i Humanoid Ar.", 540000, 233, 630000, 474},    {"%i Undead Ar.", 550000, 234, 640000, 475},
    {"%i Outsider Ar.", 560000, 235, 650000, 476},    {"%i Giant Arrows", 570000, 236, 660000, 477},
    {"%i Monstrous Ar.", 580000, 237, 670000, 478},   {"%i Construct Ar.", 590000, 238, 680000, 479},
    {"%i Animal Ar.", 600000, 239, 690000, 480},      {"%i Dragon Ar.", 610000, 240, 700000, 481},
};

constexpr const char* kItemTypeWords[39] = {
    "NOTHING",        "GEM",           "NOTE",          "NOTE",         "KEY",           "STONE_BLOCK",
    "BODY",           "ARROW",         "SLEEP_ARROW",   "SLAYING_ARROW", "SLAYING_ARROW", "SLAYING_ARROW",
    "SLAYING_ARROW",  "SLAYING_ARROW", "SLAYING_ARROW", "SLAYING_ARROW", "SLAYING_ARROW", "CROSSBOW_BOLT",
    "LANTERN",        "SCROLL",        "HEALTH_AMULET", "STRENGTH_BELT", "SPEED_BOOTS",   "ARMOR_BRACERS",
    "DEX._BRACERS",   "SPIDER_CLOAK",  "CLOAK",         "CLOAK",        "CLOAK",         "CLOAK",
    "CLOAK_OF_FAITH", "HEADBAND",      "WISDOM_HELM",   "FIRE_RING",    "COLD_RING",     "ACID_RING",
    "SHOCK_RING",     "SONIC_RING",    "PROTECTION_RING",
};

}  // namespace

ShownObject DescribeObject(int32_t code) {
  ShownObject o;
  if (IsCraftedCode(static_cast<uint32_t>(code)) && CraftedWeapons[code].name[0] != '\0') {
    o.kind = ShownObject::kCrafted;
    o.row = code;
    return o;
  }
  if (code > static_cast<int32_t>(kFirstBaseItemCode) && code - static_cast<int32_t>(kFirstBaseItemCode) < kItemRows) {
    o.kind = ShownObject::kBase;
    o.row = code - static_cast<int32_t>(kFirstBaseItemCode);
    return o;
  }
  if (code > kGoldBase && code <= kGoldLast && ItemTable[kGoldRow].baseType == kGoldType) {
    o.kind = ShownObject::kGold;
    o.row = kGoldRow;
    o.count = code - kGoldBase;
    o.label = "%i Gold Coins";
    return o;
  }
  for (const StackKind& k : kStackKinds) {
    const int32_t bases[2] = {k.firstBase, k.secondBase}, rows[2] = {k.firstRow, k.secondRow};
    for (int band = 0; band < 2; ++band) {
      if (code <= bases[band] || code >= bases[band] + kStackBand) continue;
      o.kind = ShownObject::kStack;
      o.row = rows[band];
      o.count = code - bases[band];
      o.label = k.label;
      return o;
    }
  }
  return o;  // past every table: an unknown object
}

bool SquareSeenByParty(int x, int y) {
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  for (int m = 0; m < 4 && m < FighterCount; ++m) {
    const int c = FighterSlots[m].creature;
    if (IsValidCreature(c) && Creatures[c].present == 1 && FighterSlots[m].visible[SquareIndex(x, y)] == 1) return true;
  }
  return false;
}

bool PartyMemberNearSquare(int x, int y) {
  for (int m = 0; m < 4; ++m)
    if (Creatures[m].present == 1 && DistanceToCreatureFeet(m, x, y) <= kReachFeet) return true;
  return false;
}

namespace {

// The list is over: nothing held, no popup, exploring again.
void EndObjectList() {
  ResetActionState();
  HeldObject = HeldObjectWords{};
  PopupRect = {0, 0, 0, 0};
}

int32_t ObjectAt(int level) {
  if (level < 0 || level > 3 || !CurrentMap.Inside(ListedSquare.x, ListedSquare.y)) return 0;
  return CurrentMap.At(kLayerObjects0 + level, ListedSquare.x, ListedSquare.y);
}

// Objects count up to the highest level that holds one (at least one).
int ObjectCount() {
  for (int level = 3; level > 0; --level)
    if (ObjectAt(level) != 0) return level + 1;
  return 1;
}

// Whether the object may leave the square: known to the tables.
bool Takeable(int32_t code) { return code != 0 && DescribeObject(code).kind != ShownObject::kUnknown; }

// The object given to the member and taken off its level, with its item's
// script; false when the member could not take it.
bool GiveLevel(int member, int level) {
  const int32_t code = ObjectAt(level);
  if (!Takeable(code) || !PickUpSquareItem(member, code)) return false;
  RemoveCellObject(level, ListedSquare.x, ListedSquare.y);
  if (code > 5000) RunItemScript(code - 5000);
  return true;
}

// The held object's square walked to by the member (-1 the leader).
void WalkToHeldObject(int member) {
  ClickedObject = ClickedObjectWords{HeldObject.x, HeldObject.y, HeldObject.level, HeldObject.code};
  WalkToItemPile(member);
}

// The present members gather on the leader; each level is offered to
// members 0 to 3 in turn (an absent or Polymorphed member never, one out of
// reach only by walking). True when anything was taken; *walk when a member
// was out of reach.
bool OfferLevels(const int* levels, int count, bool* walk) {
  GatherPartyOnLeader(true);
  for (int m = 0; m < 4; ++m)
    if (Creatures[m].present == 1) ResetCreaturePath(m);
  const bool seen = SquareSeenByParty(ListedSquare.x, ListedSquare.y);
  const bool near = PartyMemberNearSquare(ListedSquare.x, ListedSquare.y);
  *walk = !seen || !near;
  bool taken = false;
  if (*walk) return false;
  for (int i = 0; i < count; ++i) {
    if (!Takeable(ObjectAt(levels[i]))) continue;
    for (int m = 0; m < 4; ++m) {
      if (Creatures[m].present != 1 || FindCondition(m, kCondPolymorphed) >= 0) continue;
      if (DistanceToCreatureFeet(m, ListedSquare.x, ListedSquare.y) > kReachFeet) {
        *walk = true;
        continue;
      }
      if (GiveLevel(m, levels[i])) {
        taken = true;
        break;
      }
    }
  }
  return taken;
}

// Space: the party picks up one level, or all four from the top.
void PickUp(int level) {
  static const int kAll[4] = {3, 2, 1, 0};
  const int one[1] = {level};
  bool walk = false;
  const bool all = level == kHeldWholeSquare;
  const bool taken = all ? OfferLevels(kAll, 4, &walk) : OfferLevels(one, 1, &walk);
  if (!taken) {
    if (walk)
      WalkToHeldObject(-1);
    else
      ShowClickResultAtMouse(kResultBackpackFull);
  }
  EndObjectList();
}

void Lift(int32_t code, int level) {
  PopupRect = {0, 0, 0, 0};
  HeldObject = HeldObjectWords{code, ListedSquare.x, ListedSquare.y, level};
}

// The item's page over the game (a right click): crafted items and base rows
// other than notes.
void OpenItemPage(const ShownObject& o, int32_t code) {
  char caption[kPageCaptionSize] = {};
  if (o.kind == ShownObject::kCrafted) {
    std::snprintf(caption, sizeof caption, "%.15s", CraftedWeapons[code].name);
    SetFirstPage(caption, code + 10000, -1);
  } else {
    const int32_t type = ItemTable[o.row].baseType;
    if (type == 2 || type == 3) {
      ShowClickResultNow(kResultPickUpFirst);
      return;
    }
    std::snprintf(caption, sizeof caption, "%.15s", ItemTable[o.row].name);
    SetFirstPage(caption, o.row + 5000, -1);
  }
  SavedScreenMode = ScreenMode;
  ScreenMode = kModePageView;
}

int CraftedStyle(const CraftedWeaponRecord& w) {
  switch (w.material) {
    case 7: return 10;
    case 8: return 11;
    case 4: return 12;
    case 5: return 13;
    default: break;
  }
  return (w.itemType == 32 || w.itemType == 33) && w.composite == 1 ? 14 : 0;
}

void DrawLabel(const ShownObject& o, int32_t code, int column, int row) {
  switch (o.kind) {
    case ShownObject::kCrafted: {
      const CraftedWeaponRecord& w = CraftedWeapons[code];
      const bool plain = w.enhancement == 0 && w.masterwork == 1;
      // A name stops at the box's edge: 17 cells from the label's column.
      DrawLabelWithValue(column, row, CraftedStyle(w), w.price, plain ? "+%.16s" : "%.17s", w.name);
      break;
    }
    case ShownObject::kGold: DrawLabelWithValue(column, row, 0, 0, o.label, o.count); break;
    case ShownObject::kStack:
      DrawLabelWithValue(column, row, 0, int64_t{o.count} * ItemTable[o.row].price, o.label, o.count);
      break;
    case ShownObject::kBase: {
      const ItemRecord& item = ItemTable[o.row];
      const char* caption = item.name;
      if (strnlen(item.name, sizeof item.name) > 15) {
        if (item.baseType == 19 && item.bonus >= 0 && item.bonus < kSpellRows)
          caption = SpellKeywordTable[item.bonus];
        else if (item.baseType >= 1 && item.baseType <= 38)
          caption = kItemTypeWords[item.baseType];
      }
      DrawLabelWithValue(column, row, 0, item.price, "%.17s", caption);
      break;
    }
    case ShownObject::kUnknown: DrawLabelWithValue(column, row, 0, 0, "Unknown Object"); break;
  }
}

int PictureOf(const ShownObject& o) {
  if (o.kind == ShownObject::kCrafted) return CraftedWeapons[o.row].icon;
  if (o.kind == ShownObject::kUnknown) return -1;
  return ItemTable[o.row].icon;
}

// The box beside the listed square: its cells, kept on the picture.
void PlaceBox(int n) {
  static const int kHeights[5] = {4, 4, 8, 10, 12};
  const int h = kHeights[n];
  // In the wide window the map's pixels stand at two thirds: a map pixel
  // divided by 12 is a character cell there, by 8 in the others.
  const int cell = WideViewDrawn() ? 12 : 8;
  const int column = (24 * (ListedSquare.x - FirstVisibleX) - SquareOffsetX) / cell;
  const int row = (24 * (ListedSquare.y - FirstVisibleY) - SquareOffsetY) / cell;
  int left = column - 2, top = row - h + 3;
  if (left < 0) left = 0;
  if (left > 18) left = 18;
  if (top > 29 - h) top = 29 - h;
  if (top < 0) top = 0;
  PopupCellBox = {left, top, left + 21, top + h};
}

// One entry: picture, label, and what the buttons and Space do on it. True
// when it ended the list.
bool ServeEntry(int i) {
  const int left = PopupCellBox.left, top = PopupCellBox.top;
  const int32_t code = ObjectAt(i);
  const ShownObject o = DescribeObject(code);
  const int mx = PointerX(), my = PointerY();
  const bool hovered = mx >= left * 8 + 8 && mx < left * 8 + 168 && my >= (top + 2 * i) * 8 + 11 &&
                       my < (top + 2 * i) * 8 + 27;
  const int picture = PictureOf(o);
  if (picture >= 0) DrawFigureIcon(0, 0, picture, left + 1, top + 2 * i + 1, hovered ? kHoverColour : kPlain, 0);
  DrawLabel(o, code, left + 4, top + 2 * i + 2);
  if (!hovered) return false;
  std::snprintf(CursorHint, sizeof CursorHint, "Push Space");
  if (ButtonPressed(1)) {
    LatchButton(1);
    if (o.kind != ShownObject::kUnknown) OpenItemPage(o, code);
    return ScreenMode == kModePageView;
  }
  if (o.kind == ShownObject::kUnknown) return false;
  const int32_t held = o.kind == ShownObject::kCrafted ? code : o.row + static_cast<int32_t>(kFirstBaseItemCode);
  if (ButtonPressed(0)) {
    Lift(held, i);
    return true;
  }
  if (TakeKey(kKeySpace)) {
    Lift(held, i);
    PickUp(i);
    return true;
  }
  return false;
}

// The "All these items" row under a list of two or more.
bool ServeAllRow(int n) {
  const int left = PopupCellBox.left, top = PopupCellBox.top;
  const int mx = PointerX(), my = PointerY();
  const bool hovered = mx >= left * 8 + 8 && mx < left * 8 + 168 && my >= (top + 2 * n) * 8 + 13 &&
                       my < (top + 2 * n) * 8 + 35;
  DrawSheetFrame(4, 89, left * 8 + 11, (top + 2 * n) * 8 + 11, hovered ? kHoverColour : kPlain);
  DrawTextAt(kPlain, 39, 0, "All these items", 0, left + 4, top + 2 * n + 2, 1, 2, 1, 0);
  if (!hovered) return false;
  std::snprintf(CursorHint, sizeof CursorHint, "Push Space");
  if (ButtonPressed(0)) {
    Lift(kHeldWholeSquare, 0);
    return true;
  }
  if (TakeKey(kKeySpace)) {
    Lift(kHeldWholeSquare, 0);
    PickUp(kHeldWholeSquare);
    return true;
  }
  return false;
}

bool AltFreshlyPressed() {
  const bool left = TakeKey(kKeyLeftAlt);
  const bool right = TakeKey(kKeyRightAlt);
  return left || right;
}

// Whether the mouse's cell lies in the list's box (its edges included).
bool MouseOverListBox() {
  const PopupCellBoxWords& b = PopupCellBox;
  const int cx = PointerX() / 8, cy = PointerY() / 8;
  return cx >= b.left && cx <= b.right && cy >= b.top && cy <= b.bottom;
}

// The list drawn and served; it closes once the mouse has left it for
// another square.
void ServeList() {
  const int n = ObjectCount();
  PlaceBox(n);
  const PopupCellBoxWords& b = PopupCellBox;
  const bool outside = !MouseOverListBox();
  if ((outside || AltFreshlyPressed()) && (MapCursorX != ListedSquare.x || MapCursorY != ListedSquare.y)) {
    ScreenMode = kModeExploring;
    return;
  }
  const uint8_t scale = MapScaleSwitch;
  MapScaleSwitch = 0;
  DrawPopupBox(b.left, b.top, b.right, b.bottom, 0);
  for (int i = 0; i < n; ++i) DrawFigureIcon(0, 0, kSlotFigure, b.left + 1, b.top + 2 * i + 1, kSlotColour, 0);
  bool ended = false;
  for (int i = 0; i < n && !ended; ++i) ended = ServeEntry(i);
  if (!ended && n > 1) ServeAllRow(n);
  MapScaleSwitch = scale;
}

// The held object handed to the party member under the mouse once the
// button is let go.
void ServeDrop() {
  ListedSquare = MapSquareWords{HeldObject.x, HeldObject.y};
  const int slot = FighterUnderMouse();
  HoveredFighterSlot = slot;
  if (ButtonHeld(0)) return;
  LatchButton(0);
  const int member = slot >= 0 && slot < kFighterSlots ? FighterSlots[slot].creature : -1;
  if ((member < 0 || member >= 4) && MouseOverListBox()) {
    // A click that lifted the object and let it go again over the list: no
    // drop at all. The list stays, and its "Push Space" says what takes it.
    HeldObject = HeldObjectWords{};
    return;
  }
  if (member < 0 || member >= 4 || Creatures[member].present != 1) {
    EndObjectList();
    ShowClickResultNow(kResultNotPicked);
    return;
  }
  if (!SquareSeenByParty(HeldObject.x, HeldObject.y) ||
      DistanceToCreatureFeet(member, HeldObject.x, HeldObject.y) > kReachFeet) {
    WalkToHeldObject(member);
  } else if (FindCondition(member, kCondPolymorphed) >= 0) {
    ShowClickResultNow(kResultPolymorphed);
  } else if (HeldObject.code != kHeldWholeSquare) {
    if (!GiveLevel(member, HeldObject.level)) ShowClickResultNow(kResultBackpackFull);
  } else {
    for (int level = 3; level >= 0; --level) {
      if (ObjectAt(level) == 0) continue;
      if (!GiveLevel(member, level)) {
        ShowClickResultNow(kResultBackpackFull);
        break;
      }
    }
  }
  EndObjectList();
}

}  // namespace

void DrawObjectList() {
  EdgeScroll();
  if (HeldObject.code == 0)
    ServeList();
  else
    ServeDrop();
}
