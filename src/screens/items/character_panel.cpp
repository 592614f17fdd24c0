// Beside the inventory's figure: the small character panel (class, level,
// speed, armour class), the attack lines of the creature when it does not
// trade, and the heading over the party's names with the keys that open a
// member's record or inventory.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "screens/items/inventory_screen.h"
#include "state/game_screen_words.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kCursorHelp = 28;
constexpr int kAttackColumn = 21;
constexpr int kFirstAttackRow = 17;
constexpr int kKeyOne = 0x02;  // keys 1 to 8 are scan codes 0x02 to 0x09
constexpr int32_t kPageAttackRollFirst = 32;
constexpr int32_t kPageDamageBonusFirst = 39;
constexpr int32_t kPageLevelModifiers = 10;
constexpr int32_t kPageSpeedModifiers = 23;
constexpr int32_t kPageArmourModifiers = 24;
constexpr int32_t kHelpDamageTypes = 43110;
constexpr int32_t kPlaceLeftHandOnly = 8;

const char kPanelClassWords[8][8] = {"N.a.", "Knight", "Rogue", "Cleric", "Wizard", "Lich", "Common", "Animal"};
const char kAbilityWords[6][4] = {"STR", "DEX", "CON", "INT", "WIS", "CHA"};

// The panel's values, built when the page is made ready and again whenever
// the creature's items change (a drop on the page pushes no page).
struct CarriedItems {
  uint32_t equipment[kEquipSlots];
  ItemPair ammunition;
  ItemPair carried[kCarriedPairs];
};
struct PanelCache {
  int creature = -1;
  CarriedItems items{};
  AttackProfile profile;
  ModifierList armour;
};
PanelCache g_panel;

CarriedItems ItemsOf(const CreatureRecord& c) {
  CarriedItems items{};
  std::memcpy(items.equipment, c.equipment, sizeof items.equipment);
  items.ammunition = c.ammunition;
  std::memcpy(items.carried, c.carried, sizeof items.carried);
  return items;
}

void BuildPanel(int creature) {
  RecomputeCreature(creature, 0);
  const uint32_t combat = InCombat;
  InCombat = 0;
  BuildAttackProfile(&g_panel.profile, creature, 0, -1, 0, 0);
  InCombat = combat;
  int rows = 0;
  g_panel.armour = ModifierList{};
  g_panel.armour.total = ComputeArmourClass(creature, &g_panel.armour, &rows, 0, -1, 0, 0);
  g_panel.creature = creature;
  g_panel.items = ItemsOf(Creatures[creature]);
  PageReady = 1;
}

// A hit-tested text of the panel: drawn in its style, orange under the
// pointer; the caption and help cursor while hovered; true on an accepted click.
bool PanelText(const InventoryFrame& f, const char* text, int column, int row, int width, int style,
               const char* caption) {
  const bool over = MouseInTextRow(row, column, width, 1, 1, 0);
  DrawTextAt(kDefaultColour, width, 0, text, over ? 2 : style, column, row, 1, 0, 0, 0);
  if (!over) return false;
  std::snprintf(HoverCaption, 100, "%s", caption);
  CursorShape = kCursorHelp;
  return f.mayBrowse && ConsumeClick(1);
}

void OpenHelp(const char* caption, int32_t topic) { OpenPage(caption, topic); }

void CharacterPanel(const InventoryFrame& f) {
  const CreatureRecord& c = Creatures[f.creature];
  if (f.partyMember) {
    const int32_t cls = c.creatureClass >= 0 && c.creatureClass < 8 ? c.creatureClass : 0;
    const int width = static_cast<int>(std::strlen(kPanelClassWords[cls]));
    if (PanelText(f, kPanelClassWords[cls], 10, 10, width, 4, "Class")) {
      if (cls == kClassKnight) OpenHelp("Knight/Fighter", 23002);
      else if (cls == kClassCleric) OpenHelp("Cleric", 23003);
      else if (cls == kClassWizard) OpenHelp("Wizard", 23004);
    }
  }
  char value[16];
  if (PanelText(f, "LV:", 10, 11, 3, 4, "Level")) OpenHelp("Level", 21002);
  std::snprintf(value, sizeof value, "%i", c.effectiveLevel);
  if (PanelText(f, value, 13, 11, static_cast<int>(std::strlen(value)), 1, "Modifiers: Level"))
    PushPage("Level Modifiers", kPageLevelModifiers, f.creature);
  if (PanelText(f, "SP:", 10, 12, 3, 4, "Speed")) OpenHelp("Speed", 41006);
  std::snprintf(value, sizeof value, "%i", c.speed.current);
  if (PanelText(f, value, 13, 12, static_cast<int>(std::strlen(value)), 1, "Modifiers: Speed"))
    PushPage("Speed Modifiers", kPageSpeedModifiers, f.creature);
  if (PanelText(f, "AC:", 10, 13, 3, 4, "Armor Class")) OpenHelp("Armor Class", 41005);
  std::snprintf(value, sizeof value, "%i", g_panel.armour.total);
  if (PanelText(f, value, 13, 13, static_cast<int>(std::strlen(value)), 1, "Modifiers: Armor Class"))
    PushPage("Armor Class Modifiers", kPageArmourModifiers, f.creature);
}

// The damage of an attack line, drawn as overlaid strings in one row that
// read like 1D8+03.
void DamageText(const InventoryFrame& f, const AttackProfileEntry& e, int index, int row) {
  const int32_t style = e.damageKind;
  const int32_t bonus = e.damageBonus.total;
  char text[16];
  const bool ability = e.specialEffect >= 1 && e.specialEffect <= kEffectLevelDrain;
  const bool plain = !ability && style == 1;
  // Two-digit sides of typed damage always start a column earlier.
  const int column = e.damageSides < 10 && (ability || plain) ? 26 : 25;
  std::snprintf(text, sizeof text, "%.1iD", e.damageCount);
  DrawTextAt(kDefaultColour, 3, 0, text, style, column, row, 1, 0, 0, 0);
  std::snprintf(text, sizeof text, ability || plain ? "  %i" : "  %.2i", e.damageSides);
  DrawTextAt(kDefaultColour, 5, 0, text, style, column, row, 1, 0, 0, 0);
  if (ability) {
    std::snprintf(text, sizeof text, "    +%.2i", bonus);
    DrawTextAt(kDefaultColour, 8, 0, text, style, 25, row, 1, 0, 0, 0);
    return;
  }
  if (plain) {
    DrawTextAt(kDefaultColour, 5, 0, bonus < 0 ? "    -" : "    +", style, 25, row, 1, 0, 0, 0);
    std::snprintf(text, sizeof text, "%.2i", std::abs(bonus));
    if (PanelText(f, text, 30, row, 2, style, "Modifiers: Damage Bonus"))
      PushPage("Damage Bonus Modifiers", kPageDamageBonusFirst + index, f.creature);
    return;
  }
  std::snprintf(text, sizeof text, "    +%.2i", bonus);
  const bool over = MouseInTextRow(row, 25, 7, 1, 1, 0);
  DrawTextAt(kDefaultColour, 8, 0, text, over ? 2 : style, 25, row, 1, 0, 0, 0);
  if (!over) return;
  std::snprintf(HoverCaption, 100, "Damage Types");
  CursorShape = kCursorHelp;
  if (f.mayBrowse && ConsumeClick(1)) OpenHelp("Damage Types", kHelpDamageTypes);
}

// The column after the damage: extra dice, or the special effect of a natural attack.
void ExtraText(const InventoryFrame& f, const AttackProfileEntry& e, int row) {
  char text[16];
  switch (e.specialEffect) {
    case 0:
      if (e.extra[0].count <= 0) return;
      DrawTextAt(kDefaultColour, 1, 0, "+", 1, 32, row, 1, 0, 0, 0);
      std::snprintf(text, sizeof text, "%.1iD%.1i", e.extra[0].count, e.extra[0].sides);
      if (PanelText(f, text, 33, row, static_cast<int>(std::strlen(text)), e.extra[0].kind, "Damage Types"))
        OpenHelp("Damage Types", kHelpDamageTypes);
      if (e.extra[1].count > 0 || e.moreExtras != 0) DrawTextAt(kDefaultColour, 3, 0, "+..", 1, 36, row, 1, 0, 0, 0);
      return;
    case kEffectLevelDrain:
      if (PanelText(f, "LVL", 33, row, 3, 0, "Level Drain")) OpenHelp("Level Drain", 43136);
      return;
    case kEffectParalysis:
      if (PanelText(f, "Paralysis", 25, row, 9, 0, "Paralysis")) OpenHelp("Paralysis", 43134);
      return;
    case kEffectBleeding:
      if (PanelText(f, "Bleeding", 25, row, 8, 0, "Bleeding")) OpenHelp("Bleeding", 43135);
      return;
    default: break;
  }
  if (e.specialEffect < 1 || e.specialEffect > 6) return;
  const int style = e.specialEffect == 1 ? 2 : 6;
  if (PanelText(f, kAbilityWords[e.specialEffect - 1], 33, row, 3, style, "Ability Damage"))
    OpenHelp("Damage Types", kHelpDamageTypes);
}

void AttackLine(const InventoryFrame& f, int index, int row) {
  const AttackProfileEntry& e = g_panel.profile.entries[index];
  const CreatureRecord& c = Creatures[f.creature];
  char name[20];
  CapitaliseWords(name, e.name, 1);
  name[15] = 0;
  const bool over = MouseInTextRow(row - 1, kAttackColumn, static_cast<int>(std::strlen(name)), 1, 1, 0);
  DrawTextAt(kDefaultColour, 15, 0, name, over ? 2 : 4, kAttackColumn, row - 1, 1, 0, 0, 0);
  if (over) {
    if (f.mayBrowse) std::snprintf(HoverCaption, 100, "View Details");
    CursorShape = kCursorHelp;
    if (f.mayBrowse && ConsumeClick(1)) {
      int32_t type = -1;
      if (e.kind >= kEntryNatural0 && e.kind <= kEntryNatural3) type = 43 + e.kind;
      else if (e.kind == kEntryMainHand) type = kPageItemPropertiesLast + static_cast<int32_t>(c.equipment[kSlotRightHand - 1]);
      else if (e.kind == kEntryOffHand) type = kPageItemPropertiesLast + static_cast<int32_t>(c.equipment[kSlotLeftHand - 1]);
      else if (e.kind == kEntryRanged) type = kPageItemPropertiesLast + static_cast<int32_t>(c.equipment[kSlotRanged - 1]);
      if (type != -1) PushPage(e.name, type, f.creature);
    }
  }
  char bonus[8];
  std::snprintf(bonus, sizeof bonus, "%+.2i", e.attackRoll.total);
  if (PanelText(f, bonus, kAttackColumn, row, 3, 1, "Modifiers: Attack Roll Bonus"))
    PushPage("Attack Roll Modifiers", kPageAttackRollFirst + index, f.creature);
  if (e.specialEffect != kEffectParalysis && e.specialEffect != kEffectBleeding) DamageText(f, e, index, row);
  ExtraText(f, e, row);
}

void AttackLines(const InventoryFrame& f) {
  const CreatureRecord& c = Creatures[f.creature];
  int row = kFirstAttackRow;
  if (g_panel.profile.entries[0].kind != kEntryNone) {
    AttackLine(f, 0, row);
    row += 3;
  }
  const CraftedWeaponRecord* left = CraftedItem(c.equipment[kSlotLeftHand - 1]);
  if (left != nullptr && left->place != kPlaceLeftHandOnly && g_panel.profile.entries[1].kind != kEntryNone) {
    AttackLine(f, 1, row);
    row += 3;
  }
  if (c.equipment[kSlotRanged - 1] == 0) return;
  for (int index = 0; index < kAttackProfileEntries; ++index) {
    if (g_panel.profile.entries[index].kind != kEntryRanged) continue;
    AttackLine(f, index, row);
    return;
  }
}

// Keys 1 to 4 open a member's record (the screen returns at once), 5 to 8 its inventory.
bool MemberKeys(const InventoryFrame& f) {
  if (HeldItemCode != -1 || f.spellPending || ScreenMode == kModeEnchantPicker || (InCombat != 0 && CombatEquipAction != 0))
    return false;
  for (int key = 0; key < 8; ++key) {
    if (!KeyPressed(kKeyOne + key)) continue;
    LatchKey(kKeyOne + key);
    const int member = key % kPartySize;
    if (Creatures[member].name[0] == 0) continue;
    ScreenMode = kModePageView;
    if (key < kPartySize) {
      PushPage(Creatures[member].name, kPageCharacterRecord, member);
      return true;
    }
    PushPage("Inventory", kPageInventory, member);
  }
  return false;
}

}  // namespace

bool RunCharacterPanel(const InventoryFrame& f) {
  const CarriedItems items = ItemsOf(Creatures[f.creature]);
  if (PageReady == 0 || g_panel.creature != f.creature || std::memcmp(&items, &g_panel.items, sizeof items) != 0)
    BuildPanel(f.creature);
  CharacterPanel(f);
  if (f.tradePartner == -1) AttackLines(f);
  DrawTextAt(kDefaultColour, 15, 0, "View or pass to", 4, 18, 2, 1, 0, 0, 0);
  DrawTextAt(kDefaultColour, 15, 0, "someone else", 4, 18, 3, 1, 0, 0, 0);
  return MemberKeys(f);
}
