#include "combat/resolution/end_of_action.h"

#include "combat/actions/combat_actions.h"
#include "combat/actions/cursor_checks.h"
#include "combat/actions/displacement.h"
#include "state/turn_order.h"
#include "combat/resolution/combat_sequencer.h"
#include "map/fighter_tests.h"
#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/path_finding.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "engine/game_screen_state.h"
#include "map/map_view.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"

namespace {

constexpr uint32_t kScreenModeStartCast = 22;

// The map cursor goes under the mouse; whether a path leads there.
bool CursorReachable(int creature) {
  MapCursorX = PointerMapX() / kSquarePixels;
  MapCursorY = PointerMapY() / kSquarePixels;
  ClampMapCursor();
  if (HitTestPanelRows(creature)) return false;
  if (SidePanelBox(static_cast<int>(ActionList.count) + 1).HoldsMouse()) return false;
  if (ScreenMode != kModeExploring || MapInputSuppressed != 0) return false;
  if (CurrentMapNumber < 0 || CurrentMapNumber >= kStoredMapCount) return false;
  if (MapMemory[CurrentMapNumber][SquareIndex(MapCursorX, MapCursorY)] != 1) return false;
  const CreatureRecord& c = Creatures[creature];
  return FindCreaturePath(creature, c.squareX, c.squareY, MapCursorX, MapCursorY, 1, 1, 0, 0, nullptr, nullptr) == 1;
}

}  // namespace

int EndCombatAction(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  if (InCombat == 1 && MapInputSuppressed == 0) {
    MarkTargetArea(creature, c.footprintWidth.current, c.footprintHeight.current);
    DisplaceFromArea(creature);
  }
  ExecutorBusy = 0;
  CombatAction.actionCode = 0;

  // A spell queued during the action is cast now, whatever the movement left.
  if (QueuedSpell != -1) {
    CurrentSpell = QueuedSpell;
    SpellCaster = CurrentFighter();
    ScreenMode = kScreenModeStartCast;
    CombatState = 3;
    CastStarted = 1;
    return 1;
  }

  int32_t& moves = CombatAction.movesLeft;
  if (moves <= 5 && CombatAction.standardActionLeft == 0 && CombatAction.playerControlled == 0) moves = 0;
  if (moves < 5 && CombatAction.fullRoundActionLeft == 0 && CombatAction.standardActionLeft == 0) {
    ActionBarMode = 1;
    CombatState = 4;
    return 1;
  }

  if (CombatAction.playerControlled == 1) {
    ReachableCursor = CursorReachable(creature) ? 1 : 0;
    if (ReadyModeFlag == 0) ActionBarMode = 2;
    else if (ReadyModeFlag == 1) ActionBarMode = 1;
    CombatState = 1;
  } else {
    if (ComputerTurnDisplay == 0) ActionBarMode = 1;
    CombatState = 2;
  }
  return 1;
}
