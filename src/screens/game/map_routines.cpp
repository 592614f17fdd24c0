// The game screen's routines on the map's squares: opening a door.
#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "screens/game/game_screen.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

namespace {

constexpr int32_t kDoorAlongX = 82, kDoorAlongY = 83;
constexpr int kDoorSound = 25;

void ClearDoorSquare(int x, int y) {
  CurrentMap.At(kLayerWalls, x, y) = 0;
  CurrentMap.At(kLayerEvents, x, y) = 0;
}

// The other half of a two-square door, when one lies beside the square.
void ClearOtherHalf(int x, int y, int dx, int dy, int32_t code) {
  if (CurrentMap.Inside(x - dx, y - dy) && CurrentMap.At(kLayerWalls, x - dx, y - dy) == code)
    ClearDoorSquare(x - dx, y - dy);
  else if (CurrentMap.Inside(x + dx, y + dy) && CurrentMap.At(kLayerWalls, x + dx, y + dy) == code)
    ClearDoorSquare(x + dx, y + dy);
}

}  // namespace

void ToggleDoorSquare(int x, int y) {
  if (!CurrentMap.Inside(x, y)) return;
  const int32_t code = CurrentMap.At(kLayerWalls, x, y);
  if (code == kDoorAlongX) ClearOtherHalf(x, y, 1, 0, code);
  if (code == kDoorAlongY) ClearOtherHalf(x, y, 0, 1, code);
  ClearDoorSquare(x, y);
  BuildOccupancyGrids(-1);
  VisionRefreshFlag = 1;
  RecheckSquareScripts = 0;
  RedrawPending = 1;
  PlayChannelSound(kFirstFreeChannelA, kDoorSound, 0, 1, 0, 100);
  for (int m = 0; m < 4 && m < kFighterSlots; ++m) FighterSlots[m].alert = 1;
}
