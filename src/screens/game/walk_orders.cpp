// The party leader's walk by the mouse: the hold-to-walk cursor and the walk
// to an item pile.
#include <cstdlib>

#include "adventure/world_commands.h"
#include "engine/input.h"
#include "engine/widgets.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "screens/game/click_results.h"
#include "screens/game/game_screen.h"
#include "screens/game/held_object.h"
#include "screens/game/shared_routines.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

// The held button's walk: ends when the button is let go or a battle begins.
int32_t WalkHoldFrames = 0;
uint8_t WalkCursorOn = 0;
ClickedObjectWords ClickedObject;

namespace {

constexpr int32_t kHoldFrames = 15;
constexpr int32_t kNoPathResult = 70;
constexpr int32_t kCursorLeft = 20, kCursorRight = 21, kCursorUp = 22, kCursorDown = 23;
constexpr int32_t kCursorUpRight = 24, kCursorUpLeft = 25, kCursorDownRight = 26, kCursorDownLeft = 27;

// Set once the hold has turned the cursor on, until the button is let go
// (its end).
uint8_t HoldConsumed = 0;

int Leader() { return PartyLeader < static_cast<uint32_t>(kPartySize) ? static_cast<int>(PartyLeader) : 0; }

// The left button held, latched or not.
bool LeftButtonHeld() {
  const int at = PointerDevice.kind == kInputJoystick ? kJoystickButtonsAt : kMouseButtonsAt;
  return PointerDevice.kind != kInputNone && (PointerDevice.state[at] & 0x80) != 0;
}

void WalkCursorOff() {
  WalkCursorOn = 0;
  WalkHoldFrames = 0;
  HoldConsumed = 0;
}

}  // namespace

int32_t WalkArrowCursor(int fromX, int fromY, int toX, int toY) {
  const int dx = toX - fromX, dy = toY - fromY;
  const int ax = std::abs(dx), ay = std::abs(dy);
  if (ay > 2 * ax) return dy < 0 ? kCursorUp : kCursorDown;        // steep
  if (ax > 2 * ay) return dx < 0 ? kCursorLeft : kCursorRight;     // flat
  if (dy < 0) return dx < 0 ? kCursorUpLeft : kCursorUpRight;      // diagonal
  return dx < 0 ? kCursorDownLeft : kCursorDownRight;
}

void CancelWalkTarget() {
  CreatureRecord& c = Creatures[Leader()];
  c.destinationX = c.nextX;
  c.destinationY = c.nextY;
  CancelPendingWalk();
}

void UpdateWalkCursor() {
  const bool joystickWithoutButton = PointerDevice.kind == kInputJoystick && !LeftButtonHeld();
  if (InCombat == 1 || !LeftButtonHeld() || joystickWithoutButton) {
    WalkCursorOff();
    return;
  }
  if (WalkHoldFrames < kHoldFrames) ++WalkHoldFrames;
  if (WalkHoldFrames >= kHoldFrames && HoldConsumed == 0) {
    HoldConsumed = 1;
    WalkCursorOn = 1;
    CancelWalkTarget();
  }
  if (WalkCursorOn == 1) {
    const CreatureRecord& c = Creatures[Leader()];
    if (c.squareX != MapCursorX || c.squareY != MapCursorY)
      CursorShape = WalkArrowCursor(c.squareX, c.squareY, MapCursorX, MapCursorY);
  }
}

bool WalkToItemPile(int creature) {
  // The leader walks, whoever is to take the object: the others follow it,
  // and its arrival by the square hands the object over.
  const int walker = Leader();
  const int picker = creature == -1 ? walker : creature;
  if (!IsValidCreature(picker) || !CurrentMap.Inside(ClickedObject.x, ClickedObject.y)) return false;
  const CreatureRecord& c = Creatures[walker];
  // The pile's square is opened for the search and closed again after it:
  // a party member's search only enters squares joined to the walker, so
  // the square is opened as one.
  uint32_t& square = BlockedGrid[SquareIndex(ClickedObject.x, ClickedObject.y)];
  const uint32_t kept = square;
  square = kSquareFlooded;
  const int found =
      FindCreaturePath(walker, c.squareX, c.squareY, ClickedObject.x, ClickedObject.y, 1, 1, 0, 0, nullptr, nullptr);
  square = kept;
  if (found == kPathNone) {
    ShowClickResultAtMouse(kNoPathResult);
    return false;
  }
  CancelPendingWalk();
  CentreViewOnCurrentCharacter();
  PendingPickUp.pending = 1;
  PendingPickUp.picker = picker;
  PendingPickUp.x = ClickedObject.x;
  PendingPickUp.y = ClickedObject.y;
  // A whole square held takes all its levels on arrival, not just the first.
  PendingPickUp.level = ClickedObject.object == kHeldWholeSquare ? kPickUpAllLevels : ClickedObject.level;
  PendingPickUp.object = ClickedObject.object;
  return true;
}
