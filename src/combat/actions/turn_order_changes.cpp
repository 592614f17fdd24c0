#include "combat/actions/turn_order_changes.h"

#include "combat/actions/combat_actions.h"
#include "combat/actions/displacement.h"
#include "state/turn_order.h"
#include "combat/resolution/combat_sequencer.h"
#include "map/fighter_tests.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "platform/system.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "engine/game_screen_state.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "map/map_view.h"

namespace {

int EntryCount() {
  if (TurnEntryCount < 0) return 0;
  return TurnEntryCount > kTurnOrderEntries ? kTurnOrderEntries : TurnEntryCount;
}

int FindEntry(int creature) {
  if (creature < 0) return -1;
  const int count = EntryCount();
  for (int i = 0; i < count; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

// Points the acting index at the creature's entry again after a shift.
void FollowActingFighter(int acting) {
  if (acting < 0) return;
  const int i = FindEntry(acting);
  if (i >= 0) CurrentTurnIndex = i;
}

// A fresh entry for a creature that joins during the round.
TurnOrderEntry JoiningEntry(int creature) {
  TurnOrderEntry e{};
  e.creature = creature;
  e.triggerCreature = 0;
  e.joinedThisRound = 1;
  return e;
}

void PlaceOnSquare(CreatureRecord& c, int x, int y) {
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = x * kSquarePixels;
  c.pixelY = y * kSquarePixels;
}

}  // namespace

bool RemoveTurnEntry(int creature) {
  if (InCombat != 1) return false;
  const int i = FindEntry(creature);
  if (i < 0) return false;
  const int acting = CurrentFighter();
  const bool wasActing = acting == creature;
  const int count = EntryCount();
  for (int j = i; j + 1 < count; ++j) TurnOrder[j] = TurnOrder[j + 1];
  TurnOrder[count - 1] = TurnOrderEntry{};
  TurnEntryCount = count - 1;
  if (wasActing)
    CurrentTurnIndex = CurrentTurnIndex - 1;
  else
    FollowActingFighter(acting);
  return wasActing;
}

bool MoveTurnBefore(int a, int b, int current) {
  (void)current;  // the acting fighter is followed by its id, whoever calls
  const int from = InCombat == 1 ? FindEntry(a) : -1;
  int to = InCombat == 1 ? FindEntry(b) : -1;
  if (from < 0 || to < 0) {
    if (DebugMode == 1) platform::Beep();
    return true;
  }
  const int acting = CurrentFighter();
  const int count = EntryCount();
  const TurnOrderEntry moved = TurnOrder[from];
  for (int j = from; j + 1 < count; ++j) TurnOrder[j] = TurnOrder[j + 1];
  if (to > from) --to;
  for (int j = count - 1; j > to; --j) TurnOrder[j] = TurnOrder[j - 1];
  TurnOrder[to] = moved;
  FollowActingFighter(acting);
  return true;
}

bool AppendCombatant(int creature, int other) {
  if (!IsValidCreature(creature) || !IsValidCreature(other)) return false;
  const int count = EntryCount();
  if (count >= kTurnOrderEntries) return false;
  TurnOrder[count] = JoiningEntry(creature);
  CreatureRecord& c = Creatures[creature];
  c.present = 1;
  PlaceOnSquare(c, Creatures[other].squareX, Creatures[other].squareY);
  TurnEntryCount = count + 1;
  return true;
}

bool InsertCombatantAfterCurrent(int creature, int keepPlace) {
  if (!IsValidCreature(creature)) return false;
  if (InCombat != 1) {
    Creatures[creature].present = 1;
    return true;
  }
  const int count = EntryCount();
  if (count >= kTurnOrderEntries) return false;
  CreatureRecord& c = Creatures[creature];
  c.present = 1;
  const int acting = CurrentFighter();
  const int at = FindEntry(SpellCaster) + 1;
  for (int j = count; j > at; --j) TurnOrder[j] = TurnOrder[j - 1];
  TurnOrder[at] = JoiningEntry(creature);
  TurnEntryCount = count + 1;
  FollowActingFighter(acting);

  MarkTargetArea(creature, c.footprintWidth.current, c.footprintHeight.current);
  const int stays = keepPlace ? creature : SpellCaster;
  if (!IsValidCreature(stays)) return true;
  CreatureRecord& s = Creatures[stays];
  const int x = s.squareX, y = s.squareY;
  DisplaceFromArea(stays);
  if (AreaHasNoWall()) PlaceOnSquare(s, x, y);
  return true;
}

int EndTurnIfSpent(int enemyAdjacent, int grappling) {
  const CombatActionState& a = CombatAction;
  if (CurrentTurnIndex == -1 || ReactionPending || a.selectedAction != -1 || a.actionCode != 0 ||
      IsTargetingMode() || (ScreenMode >= 20 && ScreenMode <= 24))
    return 0;
  bool spent = grappling && GrappleSequenceOpen == 0 && a.standardActionLeft == 0;
  if (!spent && !MayTakeFiveFootStep(CurrentFighter()) && a.fullRoundActionLeft == 0 &&
      a.standardActionLeft == 0 && a.moveActionLeft == 0 && a.movementClosed == 1) {
    // An open full attack with no enemy left in reach does not hold the turn.
    const bool openAttackLapsed = !enemyAdjacent && a.attackSequenceOpen == 1;
    spent = openAttackLapsed ||
            (a.attackSequenceOpen == 0 && a.shootingSequenceOpen == 0 && GrappleSequenceOpen == 0);
  }
  if (!spent) return 0;
  CombatAction.actionCode = 0;
  CombatState = kStateNextFighter;
  SidePanelMode = 1;
  g_ProcessingAttackNumber = -1;
  return 1;
}
