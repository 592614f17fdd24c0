// The five item actions below the backpack: "Split" a stack, "Craft" (the
// crafting menu, or the wand or enchanting page for the item dropped on it),
// "Use" a wand or scroll, "Learn" a scroll's spell and "Destroy" an item; and
// the scroll a fighter reads in combat through its scroll action.
#include <cstdio>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/click_sound.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/inventory_slots.h"
#include "rules/item_rules.h"
#include "screens/items/inventory_screen.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int kKeyU = 0x16;
constexpr int32_t kCursorAction = 4;
constexpr int32_t kCursorHelp = 28;
constexpr int kAnyIdleChannel = 16;
constexpr int kLearnChannel = 22;
constexpr int kSampleLearn = 39;
constexpr int32_t kCraftHoverMark = 100;
constexpr int32_t kLastArcaneSpell = 101;
constexpr int32_t kFullRoundCasting = 3;
constexpr int32_t kNoSaleQuest = 3;

// An action label: its text and cells.
struct ActionLabel {
  const char* text;
  int column, row, width;
};
constexpr ActionLabel kSplit = {"Split", 2, 22, 5};
constexpr ActionLabel kCraft = {"Craft", 8, 22, 5};
constexpr ActionLabel kUse = {"Use", 14, 22, 3};
constexpr ActionLabel kLearn = {"Learn", 2, 24, 5};
constexpr ActionLabel kDestroy = {"Destroy", 10, 24, 7};

bool Over(const ActionLabel& l) { return MouseInTextRow(l.row, l.column, l.width, 1, 1, 0); }

// Draws the label (offered green, under the pointer orange, else lavender;
// a help link under the pointer orange too); true when it is offered and
// under the pointer.
bool DrawLabel(const ActionLabel& l, bool offered, bool helpLink = false) {
  const bool over = Over(l);
  DrawTextF(over && (offered || helpLink) ? 2 : offered ? 6 : 4, l.column, l.row, "%s", l.text);
  return offered && over;
}

// The held stack is let go over the label this frame.
bool DroppedOn(bool hovered) { return hovered && HeldItemCode != -1 && !ButtonPressed(0); }

// Plays an interface sample on a channel (16: the first idle one) at the effects volume.
void PlayOnChannel(int sample, int channel) {
  if (channel == kAnyIdleChannel) {
    PlaySampleOnIdleChannel(sample, kSoundChannelCount);
    return;
  }
  if (OptionWords[kOptionSoundVolume] > 0) PlaySound(sample, channel, 1, OptionWords[kOptionSoundVolume]);
}

// The spell of a wand with charges or of a scroll, -1 for any other item.
int32_t ItemSpell(uint32_t code, bool* wand) {
  *wand = false;
  if (const CraftedWeaponRecord* row = CraftedItem(code)) {
    if (row->itemType != kItemTypeWand || row->charges <= 0) return -1;
    *wand = true;
    return row->spell;
  }
  if (const ItemRecord* row = StockRow(code)) return row->baseType == kStockTypeScroll ? row->bonus : -1;
  return -1;
}

// Hands a cast from an item over to the casting steps.
void StartItemCast(int creature, int32_t spell, bool wand, uint32_t code) {
  PendingMetamagic = 0;
  SpellTarget = -1;
  CastStarted = 1;
  CurrentSpell = spell;
  SpellCaster = creature;
  ActingCreature = creature;
  CastingFromItem = 1;
  CastingWand = wand ? 1 : 0;
  CastingItem = code;
  ClearHeldStack();
  ScreenMode = kModeCastStart;
}

bool HasCraftingFeat(const CreatureRecord& c) {
  for (int feat : {kFeatScribeScroll, kFeatCraftWand, kFeatCraftWeaponAndArmor, kFeatForgeRing,
                   kFeatCraftWondrousItem, kFeatForgeWeaponAndArmor})
    if (c.feats[feat] != 0) return true;
  return false;
}

// A scroll the creature can learn: of its class's spells, not known yet,
// of a level it has slots for and can reach.
bool CanLearnScroll(int creature, uint32_t code) {
  const ItemRecord* row = StockRow(code);
  const CreatureRecord& c = Creatures[creature];
  if (row == nullptr || row->baseType != kStockTypeScroll || !SpellFitsClass(row->bonus, c.creatureClass)) return false;
  const int32_t level = SpellTable[row->bonus].level;
  if (level < 1 || level > 9 || c.knownSpells[row->bonus] != 0) return false;
  return c.spellsPerDay[level - 1] > 0 && MaxSpellLevel(creature) >= level;
}

void Split(const InventoryFrame& f, bool offered) {
  if (!DroppedOn(DrawLabel(kSplit, offered))) return;
  const int32_t k = HeldItemCount - HeldItemCount / 2;
  const int free = FindFreeItemPair(f.creature);
  UnequipSlot(f.creature, HeldItemOrigin, k, 0);
  EquipItemInSlot(f.creature, kSlotFirstCarried + free, static_cast<uint32_t>(HeldItemCode), k);
  SetMessageAtText(28, kSplit.column, kSplit.row, kSplit.width);
  ClearHeldStack();
}

void Destroy(const InventoryFrame& f, bool offered) {
  if (!DroppedOn(DrawLabel(kDestroy, offered))) return;
  UnequipSlot(f.creature, HeldItemOrigin, -1, 1);
  SetMessageAtText(29, kDestroy.column, kDestroy.row, kDestroy.width);
  ClearHeldStack();
}

void Learn(const InventoryFrame& f, bool offered, bool helpLive) {
  const bool hovered = DrawLabel(kLearn, offered, helpLive);
  if (DroppedOn(hovered)) {
    PlayOnChannel(kSampleLearn, kLearnChannel);
    Creatures[f.creature].knownSpells[StockRow(static_cast<uint32_t>(HeldItemCode))->bonus] = 1;
    UnequipSlot(f.creature, HeldItemOrigin, 1, 0);
    SetMessageAtText(28, kLearn.column, kLearn.row, kLearn.width);
    ClearHeldStack();
    return;
  }
  if (!helpLive || !Over(kLearn)) return;
  std::snprintf(HoverCaption, 100, "Learning from a scroll");
  CursorShape = kCursorHelp;
  OpenPageOnClick("Spell Learning", 42037);
}

// True when a cast started (the screen returns at once).
bool Use(const InventoryFrame& f, bool allowed, bool helpLive) {
  uint32_t candidate = HeldItemCode != -1 ? static_cast<uint32_t>(HeldItemCode) : 0;
  bool keyed = false;
  if (candidate == 0 && HoveredItem.code != 0 && HoveredItem.place >= kSlotFirstCarried && KeyPressed(kKeyU)) {
    candidate = HoveredItem.code;
    keyed = true;
  }
  bool wand = false;
  const int32_t spell = candidate != 0 ? ItemSpell(candidate, &wand) : -1;
  const bool offered = allowed && spell >= 0 && !IsCombatOnlySpell(spell) &&
                       SpellFitsClass(spell, Creatures[f.creature].creatureClass);
  const bool hovered = DrawLabel(kUse, offered, helpLive);
  if (offered && (keyed || DroppedOn(hovered))) {
    if (keyed) LatchKey(kKeyU);
    StartItemCast(f.creature, spell, wand, candidate);
    if (wand) SettleMoveAfterAction();
    return true;
  }
  if (offered || !helpLive || !Over(kUse)) return false;
  std::snprintf(HoverCaption, 100, "Using a Magic Item");
  CursorShape = kCursorHelp;
  OpenPageOnClick("Using a Magic Item", 42003);
  return false;
}

void Craft(const InventoryFrame& f, bool allowed) {
  const CreatureRecord& c = Creatures[f.creature];
  const CraftedWeaponRecord* held = HeldItemCode != -1 && HeldItemCount == 1 ? CraftedItem(static_cast<uint32_t>(HeldItemCode)) : nullptr;
  const bool emptyWand = held && held->itemType == kItemTypeWand && held->charges == 0 && c.feats[kFeatCraftWand] != 0;
  const bool enchantable = held && !emptyWand && held->masterwork == 1 && c.feats[kFeatCraftWeaponAndArmor] != 0 &&
                           ItemEnhancementTotal(static_cast<uint32_t>(HeldItemCode)) < 10;
  const bool menu = HeldItemCode == -1;
  const bool hovered = DrawLabel(kCraft, allowed && (menu || emptyWand || enchantable));
  if (!hovered) return;
  CursorShape = kCursorAction;
  if (menu) {
    ScreenHovered = 1;
    if (HoverSoundMark != kCraftHoverMark) {
      PlayOnChannel(kSampleHover, kAnyIdleChannel);
      HoverSoundMark = kCraftHoverMark;
    }
    std::snprintf(HoverCaption, 100, "Create New Item");
    if (!ButtonPressed(0)) return;
    PlayOnChannel(kSampleClick, kAnyIdleChannel);
    LatchButton(0);
    ChosenItem = -1;
    PushPage("Craft Selection", kPageCraftingMenu, f.creature);
    return;
  }
  std::snprintf(HoverCaption, 100, "%s", emptyWand ? "Create Magic Wand" : "Enchant this item");
  if (!DroppedOn(true)) return;
  PlayOnChannel(kSampleClick, kAnyIdleChannel);
  LatchButton(0);
  ActingCreature = f.creature;
  ChosenItem = HeldItemCode;
  if (emptyWand) PushPage("Craft Wand", kPageCraftWand, f.creature);
  else PushPage("Craft Weapon/Armor", kPageEnchantWeaponArmor, f.creature);
}

}  // namespace

bool SpellFitsClass(int32_t spell, int32_t creatureClass) {
  if (spell < 0 || spell >= kSpellRows) return false;
  return spell <= kLastArcaneSpell ? creatureClass == kClassWizard : creatureClass == kClassCleric;
}

bool ScrollUsableInCombat(int creature, uint32_t code) {
  // Only the fighter whose turn it is reads a scroll, and only while free to use an item.
  if (creature != CurrentFighter() || !MayDo(creature, kDeedUseItem)) return false;
  const ItemRecord* row = StockRow(code);
  if (row == nullptr || row->baseType != kStockTypeScroll || row->bonus < 0 || row->bonus >= kSpellRows) return false;
  const CreatureRecord& c = Creatures[creature];
  const int32_t spell = row->bonus;
  const bool divine = spell > kLastArcaneSpell;
  if (divine != (c.creatureClass == kClassCleric)) return false;
  const SpellRecord& s = SpellTable[spell];
  if (s.castingTime == kFullRoundCasting && CombatAction.fullRoundActionLeft == 0) return false;
  if (s.verbal != 0 && FindAnyCondition(creature, kCondMute, kCondSilenced) >= 0) return false;
  return true;
}

bool ScrollActionOnEntry(const InventoryFrame& f, uint32_t code) {
  if (!ScrollUsableInCombat(f.creature, code) || HeldItemCode != -1 || f.spellPending || !ButtonPressed(0)) return false;
  LatchButton(0);
  CombatAction.actionCode = 0;
  StartItemCast(f.creature, StockRow(code)->bonus, false, code);
  return true;
}

bool RunItemActions(const InventoryFrame& f) {
  const CreatureRecord& c = Creatures[f.creature];
  const bool common = f.partyMember && !f.spellPending && !f.picker && LevelUpPending == 0;
  const bool peace = common && InCombat == 0 && c.present == 1;
  const bool helpLive = HeldItemCode == -1 && !f.spellPending && !f.picker;
  const uint32_t held = HeldItemCode != -1 ? static_cast<uint32_t>(HeldItemCode) : 0;
  const bool combatAllowed = InCombat == 0 || f.mayAct;

  Split(f, common && combatAllowed && IsStockCode(held) && HeldItemCount > 1 && FindFreeItemPair(f.creature) >= 0);
  Craft(f, peace && f.tradePartner == -1 && HasCraftingFeat(c));
  if (Use(f, peace && f.tradePartner == -1, helpLive)) return true;
  Learn(f, peace && CanLearnScroll(f.creature, held), helpLive);
  Destroy(f, common && combatAllowed && held != 0 && ItemNoSale(held) != kNoSaleQuest);
  return false;
}
