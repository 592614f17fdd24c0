// Where the map view's window lies on the map, and how it moves there.
#include "screens/game/view_window.h"

#include "engine/frame.h"
#include "engine/input.h"
#include "engine/main_window.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "map/map_record.h"
#include "platform/window.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace {

constexpr int kKeyUp = 0xC8, kKeyLeft = 0xCB, kKeyRight = 0xCD, kKeyDown = 0xD0;
constexpr int kEdgeMargin = 70;  // a point closer than this to the view's edge is scrolled to
constexpr int kLeaderSlack = 24;

bool CombatTrace() { return DebugMode == 1 && InCombat == 1; }

// The screen modes of targeting and casting, in which the panels' shifts do not apply.
bool IsModalMode() {
  return (ScreenMode >= 10 && ScreenMode <= 18) || (ScreenMode >= 20 && ScreenMode <= 24);
}

// The panels cover the view: the combat-rolls panel (top), or the actions
// panel (right) while the player commands the acting fighter.
bool RollsPanelCovers() { return CombatRollsPanelShown == 1; }
bool ActionsPanelCovers() { return ActionsPanelShown == 1 && CombatAction.playerControlled == 1; }
bool PanelCase() { return InCombat == 1 && !IsModalMode() && (RollsPanelCovers() || ActionsPanelCovers()); }

// Moves a point so that the target stays clear of the open panels.
void ShiftForPanels(int32_t* x, int32_t* y) {
  if (ActionsPanelCovers()) *x += IsWideView() ? 60 : 40;
  if (RollsPanelCovers()) *y -= IsWideView() ? 52 : 35;
}

// The point to test against the view's edges: the creature's figure centre
// (x = -1) or the square's centre, shifted for the panels in combat.
void EdgeTestPoint(int creature, int x, int y, int32_t* px, int32_t* py) {
  if (x == -1 && IsValidCreature(creature)) {
    const CreatureRecord& c = Creatures[creature];
    *px = c.pixelX + c.figureSize[0].current / 2;
    *py = c.pixelY + c.figureSize[1].current / 2;
  } else {
    *px = 24 * x + 12;
    *py = 24 * y + 12;
  }
  if (InCombat == 1 && !IsModalMode()) ShiftForPanels(px, py);
}

bool NearViewEdge(int32_t px, int32_t py) {
  const bool inside = px > ViewOriginX + kEdgeMargin && px < ViewOriginX + ViewWidth() - kEdgeMargin &&
                      py > ViewOriginY + kEdgeMargin && py < ViewOriginY + ViewHeight() - kEdgeMargin;
  return !inside;
}

void ClearArrival() { CameraArrived[0] = CameraArrived[1] = 0; }

// The target's point clamped into the limits, per axis.
int32_t ClampAxis(int32_t value, int32_t low, int32_t high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

// One axis of the movement: a step of CameraStep toward the target until
// within half a step of it, or until a limit stops it.
void StepAxis(int axis, int32_t& origin, int32_t target, int32_t low, int32_t high) {
  if (CameraArrived[axis]) return;
  const int32_t half = (CameraStep + 1) / 2;
  if (origin > target + half) {
    origin -= CameraStep;
    if (origin < low) {
      origin = low;
      CameraArrived[axis] = 1;
    }
  } else if (origin < target - half) {
    origin += CameraStep;
    if (origin > high) {
      origin = high;
      CameraArrived[axis] = 1;
    }
  } else {
    CameraArrived[axis] = 1;
  }
}

}  // namespace

void SetCameraBounds() {
  int squareWidth = 0, squareHeight = 0;
  if (SheetBank.owner && SheetBank.count > 0 && SheetBank.frameWidth) {
    squareWidth = SheetBank.frameWidth[0];
    squareHeight = SheetBank.frameHeight[0];
  }
  CameraBounds.minX = -48;
  CameraBounds.minY = -48;
  CameraBounds.maxX = CurrentMap.width * squareWidth - ViewWidth() + 48;
  CameraBounds.maxY = CurrentMap.height * squareHeight - ViewHeight() + 48;
}

void ClampCamera() {
  if (ViewOriginX < CameraBounds.minX) ViewOriginX = CameraBounds.minX;
  if (ViewOriginY < CameraBounds.minY) ViewOriginY = CameraBounds.minY;
  if (ViewOriginX > CameraBounds.maxX) ViewOriginX = CameraBounds.maxX;
  if (ViewOriginY > CameraBounds.maxY) ViewOriginY = CameraBounds.maxY;
}

void CreatureCentringPoint(int creature, int32_t* x, int32_t* y) {
  const CreatureRecord& c = Creatures[creature];
  *x = c.pixelX + c.footprintWidth.current * 12 - ViewWidth() / 2;
  *y = c.pixelY + c.footprintHeight.current * 12 - ViewHeight() / 2;
}

void SquareCentringPoint(int x, int y, int32_t* outX, int32_t* outY) {
  *outX = 24 * x + 12 - ViewWidth() / 2;
  *outY = 24 * y + 12 - ViewHeight() / 2;
}

namespace {

// A movement starts: neither axis has arrived.
void StartMovement() {
  ClearArrival();
  ViewIdle = 0;
  ViewSettled = 0;
  ViewScrolling = 1;
}

}  // namespace

void AimCameraAt(int creature, int x, int y) {
  const bool onCreature = x == -1 && IsValidCreature(creature);
  CameraExactArrival = 0;
  if (PanelCase()) {
    FollowTarget = kFollowPoint;
    if (onCreature)
      CreatureCentringPoint(creature, &FollowPointX, &FollowPointY);
    else
      SquareCentringPoint(x, y, &FollowPointX, &FollowPointY);
    ShiftForPanels(&FollowPointX, &FollowPointY);
  } else if (onCreature) {
    FollowTarget = Creatures[creature].fighterSlot;
  } else {
    FollowTarget = kFollowPoint;
    SquareCentringPoint(x, y, &FollowPointX, &FollowPointY);
  }
  StartMovement();
}

void GlideViewTo(int32_t x, int32_t y) {
  FollowTarget = kFollowPoint;
  FollowPointX = x;
  FollowPointY = y;
  CameraExactArrival = 1;
  StartMovement();
}

bool StrictScrollTo(int creature, int x, int y) {
  if (CombatTrace()) LogMessage("StrictScroll to %i - %i - %i\r", creature, x, y);
  if (creature == -1 && x == -1 && y == -1) return false;
  AimCameraAt(creature, x, y);
  return true;
}

bool ScrollToCreatureAt(int creature, int x, int y) { return StrictScrollTo(creature, x, y); }

bool ScrollTo(int creature, int x, int y) {
  if (CombatTrace()) LogMessage("Scroll to %i - %i - %i\r", creature, x, y);
  if (creature == -1 && x == -1 && y == -1) return false;
  ClearArrival();
  int32_t px = 0, py = 0;
  EdgeTestPoint(creature, x, y, &px, &py);
  if (!NearViewEdge(px, py)) return false;
  StrictScrollTo(creature, x, y);
  return true;
}

void CameraFollowActor() {
  int32_t targetX = FollowPointX, targetY = FollowPointY;
  if (FollowTarget != kFollowPoint) {
    const int slot = FollowTarget;
    const int creature = slot >= 0 && slot < kFighterSlots ? FighterSlots[slot].creature : -1;
    if (!IsValidCreature(creature)) {
      // Nothing left to follow: the movement ends where it stands.
      CameraArrived[0] = CameraArrived[1] = 1;
      targetX = ViewOriginX;
      targetY = ViewOriginY;
    } else {
      CreatureCentringPoint(creature, &targetX, &targetY);
    }
  }
  targetX = ClampAxis(targetX, CameraBounds.minX, CameraBounds.maxX);
  targetY = ClampAxis(targetY, CameraBounds.minY, CameraBounds.maxY);
  StepAxis(0, ViewOriginX, targetX, CameraBounds.minX, CameraBounds.maxX);
  StepAxis(1, ViewOriginY, targetY, CameraBounds.minY, CameraBounds.maxY);
  if (CameraArrived[0] && CameraArrived[1]) {
    if (CameraExactArrival == 1) {
      ViewOriginX = targetX;
      ViewOriginY = targetY;
      CameraExactArrival = 0;
    }
    ClearArrival();
    ViewScrolling = 0;
    FollowTarget = -1;
    ViewIdle = 1;
    ViewSettled = 1;
  } else {
    ViewSettled = 0;
  }
}

void ScrollToCreature(int creature, int flag, uint8_t* resultByte) {
  (void)flag;
  if (resultByte) *resultByte = 0;
  if (IsValidCreature(creature)) {
    PlaybackCreature = creature;
    PlaybackFramesLeft = FramesPerEvent;
  }
  if (CombatTrace()) LogMessage("Scroll to %i - %i - %i\r", creature, -1, -1);
  ClearArrival();
  if (!IsValidCreature(creature)) return;
  int32_t px = 0, py = 0;
  EdgeTestPoint(creature, -1, -1, &px, &py);
  if (NearViewEdge(px, py)) {
    if (CombatTrace()) LogMessage("StrictScroll to %i - %i - %i\r", creature, -1, -1);
    AimCameraAt(creature, -1, -1);
  }
  RecomputeCreature(creature, 0);
}

bool StepViewByKeys(bool wheelAllowed) {
  if (ViewIdle != 1) return false;
  const int wheel = wheelAllowed ? GetMouseWheel() : 0;
  if (IsKeyDown(kKeyLeft))
    ViewOriginX -= 8;
  else if (IsKeyDown(kKeyRight))
    ViewOriginX += 8;
  else if (IsKeyDown(kKeyUp))
    ViewOriginY -= 8;
  else if (IsKeyDown(kKeyDown))
    ViewOriginY += 8;
  else if (wheel > 0)
    ViewOriginY -= 16;
  else if (wheel < 0)
    ViewOriginY += 16;
  else
    return false;
  ViewSettled = 0;
  return true;
}

bool ScrollViewByKeys() {
  StepViewByKeys(true);
  return true;
}

bool CentreMouseCursor() {
  int x = 0, y = 0;
  if (WindowedFlag == 1 && (WindowSize == 2 || WindowSize == 3)) {
    x = 480;
    y = 360;
  } else if (WindowedFlag == 1 && WindowSize == 1) {
    x = 320;
    y = 240;
  } else if (WindowedFlag == 0) {
    x = 320;
    y = 240;
  }
  platform::SetCursorClientPos(MainWindowHandle, x, y);
  return true;
}

void KeepLeaderInView() {
  if (FollowTarget != -1) return;
  const int leader = static_cast<int>(PartyLeader);
  if (!IsValidCreature(leader)) return;
  int32_t x = 0, y = 0;
  CreatureCentringPoint(leader, &x, &y);
  ViewOriginX = ClampAxis(ViewOriginX, x - kLeaderSlack, x + kLeaderSlack);
  ViewOriginY = ClampAxis(ViewOriginY, y - kLeaderSlack, y + kLeaderSlack);
}
