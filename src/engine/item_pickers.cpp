// The inventory serving as an item picker: the item to enchant, the item that
// becomes a wand, and the item a spell aims at.
#include <cstring>

#include "combat/actions/combat_actions.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/actions/turn_order.h"
#include "engine/display_input.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/page_history_access.h"
#include "rules/creature_record.h"
#include "screens/game/game_screen.h"
#include "screens/items/inventory_state.h"
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

}  // namespace

int ItemPickerFrame() {
  if (DebugMode == 1 && FrameKeyDown(kKeyLeftShift) && FrameKeyDown(kKeyEscape)) return 0;
  ChosenItem = -1;
  DrawInventoryScreen(ActingCreature, -1);
  if (ChosenItem != -1) {
    LatchFrameButton(0);
    PlayPickerClickSound();
    switch (ScreenMode) {
      case 18:
        ScreenMode = 4;
        PushPage("Craft Weapon/Armor", 131, ActingCreature);
        ResetHover();
        break;
      case 17:
        WandChargeStep();
        break;
      case 12:
        AreaTargetList[0] = ActingCreature;
        AreaTargetList[1] = -1;
        ScreenMode = 24;
        break;
      default: break;
    }
    return 1;
  }
  if (!FrameButtonDown(1) && !FrameKeyDown(kKeyEscape)) return 1;
  LatchFrameButton(1);
  LatchFrameKey(kKeyEscape);
  if (ScreenMode == 18 || ScreenMode == 17) {
    OpenInventoryMenu(ActingCreature);
    CurrentSpell = -1;
    ChosenItem = -1;
    SetPickerClickResult(26);
    return 1;
  }
  if (ScreenMode == 12) {
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
    ScreenMode = 0;
  }
  return 1;
}
