// The inventory serving as an item picker: the item to enchant, the item that
// becomes a wand, and the item a spell aims at.
#include "screens/items/item_pickers.h"

#include <cstring>

#include "combat/actions/combat_actions.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/sound.h"
#include "engine/ui_input.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "screens/game/shared_routines.h"
#include "screens/items/crafting.h"
#include "screens/items/item_screens.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

void SetPickerClickResult(int32_t code) {
  ClickResult.code = code;
  ClickResult.left = PointerDevice.x - 10;
  ClickResult.top = PointerDevice.y - 10;
  ClickResult.right = PointerDevice.x + 10;
  ClickResult.bottom = PointerDevice.y + 10;
}

}  // namespace

void WandChargeStep() {
  const int crafter = ActingCreature;
  if (IsEmptyWandHeldBy(crafter, ChosenItem) && CurrentSpell >= 0 && CurrentSpell < kSpellRows) {
    const CraftCost cost{static_cast<int32_t>(CraftCostGold), static_cast<int32_t>(CraftCostXP)};
    ChargeWand(ChosenItem, crafter, CurrentSpell, cost, static_cast<int32_t>(2 * CraftCostGold));
    return;
  }
  CraftCostGold = 0;
  CraftCostXP = 0;
  ChosenItem = -1;
  CurrentSpell = -1;
  OpenInventoryMenu(crafter);
}

int ItemPickerFrame() {
  if (DebugMode == 1 && KeyPressed(kKeyLeftShift) && KeyPressed(kKeyEscape)) return 0;
  ChosenItem = -1;
  DrawInventoryScreen(ActingCreature, -1);
  if (ChosenItem != -1) {
    LatchButton(0);
    PlaySampleOnIdleChannel(kSampleClick, 16);
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
  if (!ButtonPressed(1) && !KeyPressed(kKeyEscape)) return 1;
  LatchButton(1);
  LatchKey(kKeyEscape);
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
