// The inventory serving as an item picker: the item to enchant, the item that
// becomes a wand, and the item a spell aims at.
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "combat/actions/combat_actions.h"
#include "combat/resolution/combat_sequencer.h"
#include "state/turn_order.h"
#include "shell/display_input.h"
#include "shell/frame.h"
#include "engine/message_log.h"
#include "engine/page_history_access.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "screens/game/shared_routines.h"
#include "state/inventory_state.h"
#include "screens/items/item_screens.h"

namespace {

constexpr int kKeyEscape = 0x01;
constexpr int kKeyLeftShift = 0x2A;

void SetPickerClickResult(int32_t code) {
  ClickResult.code = code;
  ClickResult.left = FrameMouseX() - 10;
  ClickResult.top = FrameMouseY() - 10;
  ClickResult.right = FrameMouseX() + 10;
  ClickResult.bottom = FrameMouseY() + 10;
}

// The first wand picture of the group that shows a spell's school; -1 leaves
// the picture as it is.
int32_t WandGroupStart(int32_t school) {
  switch (school) {
    case 1: return 70;
    case 2: return 42;
    case 3: return 35;
    case 4: return 56;
    case 5: return 28;
    case 6: return 35;
    case 7: return 63;
    case 8: return 49;
    default: return -1;
  }
}

// A name that only says the item is a wand (and of which spell): such a name
// is replaced by the new spell's.
bool IsPlainWandName(const char* name) {
  if (strcasecmp(name, "Wand") == 0 || strcasecmp(name, "Masterwork Wand") == 0) return true;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    const char* keyword = SpellKeywordFull(spell);
    if (!keyword || !*keyword) continue;
    if (strcasecmp(name, keyword) == 0) return true;
    char formed[96];
    std::snprintf(formed, sizeof formed, "%s Wand", keyword);
    if (strcasecmp(name, formed) == 0) return true;
  }
  return false;
}

}  // namespace

void WandChargeStep() {
  const bool crafted = ChosenItem >= 1 && ChosenItem < kCraftedRows;
  const bool spell = CurrentSpell >= 0 && CurrentSpell < kSpellRows;
  if (crafted) {
    CraftedWeaponRecord& wand = CraftedWeapons[ChosenItem];
    wand.charges = 50;
    wand.spell = CurrentSpell;
    const int32_t group = spell ? WandGroupStart(SpellTable[CurrentSpell].school) : -1;
    if (group >= 0) {
      const int32_t place = wand.icon >= 28 && wand.icon <= 76 ? (wand.icon - 28) % 7 : 0;
      wand.icon = group + place;
    }
    if (ActingCreature >= 0 && ActingCreature < kCreatureCount)
      Creatures[ActingCreature].experience -= static_cast<int32_t>(CraftCostXP);
    // The purse never wraps round below nothing.
    PartyGold -= CraftCostGold < PartyGold ? CraftCostGold : PartyGold;
    wand.price += static_cast<int32_t>(2 * CraftCostGold);
    const char* keyword = spell ? SpellKeywordFull(CurrentSpell) : nullptr;
    wand.name[sizeof wand.name - 1] = 0;
    if (keyword && *keyword && IsPlainWandName(wand.name)) {
      std::snprintf(wand.name, sizeof wand.name, "%s", keyword);
      if (std::strlen(keyword) <= 10) std::snprintf(wand.name, sizeof wand.name, "%s Wand", keyword);
    }
  }
  CraftCostGold = 0;
  CraftCostXP = 0;
  ChosenItem = -1;
  CurrentSpell = -1;
  OpenInventoryMenu(ActingCreature);
}

int ItemPickerFrame() {
  if (DebugMode == 1 && FrameKeyDown(kKeyLeftShift) && FrameKeyDown(kKeyEscape)) return 0;
  ChosenItem = -1;
  DrawInventoryScreen(ActingCreature, -1);
  if (ChosenItem != -1) {
    LatchFrameButton(0);
    PlayPickerClickSound();
    switch (ScreenMode) {
      case kModeEnchantPicker:
        ScreenMode = kModePageView;
        PushPage("Craft Weapon/Armor", kPageEnchantWeaponArmor, ActingCreature);
        ResetHover();
        break;
      case kModeWandPicker:
        WandChargeStep();
        break;
      case kModeItemTarget:
        AreaTargetList[0] = ActingCreature;
        AreaTargetList[1] = -1;
        ScreenMode = kModeCastSpend;
        break;
      default: break;
    }
    return 1;
  }
  if (!FrameButtonDown(1) && !FrameKeyDown(kKeyEscape)) return 1;
  LatchFrameButton(1);
  LatchFrameKey(kKeyEscape);
  if (ScreenMode == kModeEnchantPicker || ScreenMode == kModeWandPicker) {
    OpenInventoryMenu(ActingCreature);
    CurrentSpell = -1;
    ChosenItem = -1;
    SetPickerClickResult(26);
    return 1;
  }
  if (ScreenMode == kModeItemTarget) {
    if (InCombat == 1) {
      const char* caster =
          ActingCreature >= 0 && ActingCreature < kCreatureCount ? Creatures[ActingCreature].name : "";
      LogMessage("\xA3%s\xA3 cancels @%s@.\r\r", caster, SpellKeywordFull(CurrentSpell));
      CombatAction.actionCode = 13;
      CombatAction.actionParameter = 27;
      CombatAction.casting = 0;
    }
    ShowFloatingText(ActingCreature, "Spell Aborted");
    std::memset(CreatureMarkWords, 0, sizeof CreatureMarkWords);
    CurrentSpell = -1;
    SetPickerClickResult(12);
    ScreenMode = kModeExploring;
  }
  return 1;
}
