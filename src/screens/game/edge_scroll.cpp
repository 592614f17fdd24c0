// Scrolling the map view by resting the mouse on the picture's edges, and
// the game pad's step of the selected party member.
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/settings.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "screens/game/frame_end.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_input.h"
#include "state/camera.h"
#include "state/game_screen_words.h"

namespace {

constexpr int kRightEdge = 309, kBottomEdge = 229;
constexpr int kStep = 8;

// The arrow cursors of the edges and the mark of a view at its limit.
enum EdgeCursor : int32_t {
  kCursorLimit = 18,
  kCursorLeft = 20,
  kCursorRight = 21,
  kCursorUp = 22,
  kCursorDown = 23,
  kCursorUpRight = 24,
  kCursorUpLeft = 25,
  kCursorDownRight = 26,
  kCursorDownLeft = 27,
};

// One step of the view along dx and dy (each -1, 0 or 1): the arrow, or the
// limit's mark when every moving axis has gone past its limit.
void StepView(int dx, int dy, int32_t arrow) {
  ViewOriginX += dx * kStep;
  ViewOriginY += dy * kStep;
  bool past = true;
  if (dx < 0) past = past && ViewOriginX < CameraBounds.minX;
  if (dx > 0) past = past && ViewOriginX > CameraBounds.maxX;
  if (dy < 0) past = past && ViewOriginY < CameraBounds.minY;
  if (dy > 0) past = past && ViewOriginY > CameraBounds.maxY;
  CursorShape = past ? kCursorLimit : arrow;
}

}  // namespace

bool EdgeScroll() {
  if (FollowTarget != -1 || LogScrollDragged == 1) return false;
  if (WindowedFlag == 1 && CursorFreeFlag == 1) {
    ViewIdle = 1;
    return false;
  }
  const int x = PointerX(), y = PointerY();
  if (x == 0 && y == 0)
    StepView(-1, -1, kCursorUpLeft);
  else if (x == 0 && y == kBottomEdge)
    StepView(-1, 1, kCursorDownLeft);
  else if (x == 0)
    StepView(-1, 0, kCursorLeft);
  else if (x == kRightEdge && y == 0)
    StepView(1, -1, kCursorUpRight);
  else if (x == kRightEdge && y == kBottomEdge)
    StepView(1, 1, kCursorDownRight);
  else if (x == kRightEdge)
    StepView(1, 0, kCursorRight);
  else if (y == 0)
    StepView(0, -1, kCursorUp);
  else if (y == kBottomEdge)
    StepView(0, 1, kCursorDown);
  else {
    ViewIdle = 1;
    return false;
  }
  ViewIdle = 0;
  ViewSettled = 0;
  return true;
}

namespace {

constexpr int kGridLast = kMapSide - 1;

bool FreeSquare(int x, int y) { return CurrentMap.At(kLayerWalls, x, y) < 1; }
bool CornerClear(int x, int y) {
  const int32_t code = CurrentMap.At(kLayerWalls, x, y);
  return code < 46 || code > 55;
}

// The member's next square becomes (x, y): the walk code takes over.
void OrderStep(CreatureRecord& c, int x, int y) {
  c.nextX = x;
  c.nextY = y;
  LeaderStepEnabled = 0;
}

// A straight step in the facing, when the square lies on the grid and is free.
bool TryStraight(CreatureRecord& c, int facing, int dx, int dy) {
  const int x = c.squareX + dx, y = c.squareY + dy;
  if (x < 0 || y < 0 || x > kGridLast || y > kGridLast || !FreeSquare(x, y)) return false;
  c.facing = facing;
  OrderStep(c, x, y);
  return true;
}

// A diagonal step: free, on the grid, and not cutting a wall piece's corner.
bool TryDiagonal(CreatureRecord& c, int dx, int dy) {
  const int x = c.squareX + dx, y = c.squareY + dy;
  if (x < 0 || y < 0 || x > kGridLast || y > kGridLast || !FreeSquare(x, y)) return false;
  if (!CornerClear(c.squareX + dx, c.squareY) || !CornerClear(c.squareX, c.squareY + dy)) return false;
  OrderStep(c, x, y);
  return true;
}

// The facing of each direction (index dx + 1, dy + 1).
constexpr int kFacing[3][3] = {{8, 7, 6}, {1, 0, 5}, {2, 3, 4}};

}  // namespace

void LeaderStep() {
  ReadInputDevice(&JoystickDevice);
  const InputDevice& stick = JoystickDevice;
  const int sx = GetInputX(&JoystickDevice), sy = GetInputY(&JoystickDevice);
  const int dx = sx == stick.xMax ? 1 : sx == stick.xMin ? -1 : 0;
  const int dy = sy == stick.yMax ? 1 : sy == stick.yMin ? -1 : 0;
  if (dx == 0 && dy == 0) return;
  if (ScreenMode != kModeExploring) return;
  const int member = static_cast<int>(SelectedMember);
  if (!IsValidCreature(member)) return;
  CreatureRecord& c = Creatures[member];
  if (c.squareX < 0 || c.squareY < 0 || c.squareX > kGridLast || c.squareY > kGridLast) return;
  c.facing = kFacing[dx + 1][dy + 1];
  if (dx == 0 || dy == 0) {
    // Straight: the direction, else the square a quarter turn anticlockwise.
    if (TryStraight(c, c.facing, dx, dy)) return;
    if (dx != 0)
      TryStraight(c, kFacing[1][1 - dx], 0, -dx);
    else
      TryStraight(c, kFacing[1 - dy][1], -dy, 0);
    return;
  }
  // Diagonal: the corner, else the vertical step, else the horizontal one.
  if (TryDiagonal(c, dx, dy)) return;
  if (TryStraight(c, kFacing[1][dy + 1], 0, dy)) return;
  TryStraight(c, kFacing[dx + 1][1], dx, 0);
}
