#include "screens/game/map_view.h"

#include "combat/actions/fighter_slots.h"
#include "frontend/settings.h"
#include "map/map_record.h"
#include "map/rain_shelter.h"
#include "screens/game/game_screen.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

uint8_t CameraMoving = 0;
int32_t ActionBarMode = 1;
uint32_t TintTarget[3] = {255, 255, 255};

void ScrollTo(int creature, int x, int y) {
  (void)x;
  (void)y;
  if (creature < 0 || creature >= kCreatureCount) return;
  const bool large = WindowSize == 3;
  const int vw = large ? 480 : 320, vh = large ? 360 : 240;
  const CreatureRecord& c = Creatures[creature];
  const int px = c.pixelX - ViewOriginX, py = c.pixelY - ViewOriginY;
  if (px < 70 || py < 70 || px > vw - 70 || py > vh - 70) {
    ViewOriginX = c.pixelX - vw / 2 + 12;
    ViewOriginY = c.pixelY - vh / 2 + 12;
  }
}

void ScrollToCreature(int creature, int flag, uint8_t* resultByte) {
  (void)flag;
  if (resultByte) *resultByte = 0;
  ScrollTo(creature, -1, -1);
}

void UpdatePartyAreaCondition() {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id < 0 || id >= kCreatureCount) continue;
    RemoveCondition(id, kCondRain);
    if (CurrentMap.rain == 0) continue;
    const CreatureRecord& c = Creatures[id];
    const bool sheltered = c.squareX >= 0 && c.squareY >= 0 && c.squareX < kMapSide && c.squareY < kMapSide &&
                           RainShelterGrid[SquareIndex(c.squareX, c.squareY)] == 2;
    if (!sheltered) AddCondition(id, kCondRain, kDurationLasting, 4, kSourceRain, 0);
  }
}

bool RemoveCellObject(int level, int x, int y) {
  if (level < 0 || level > 3 || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  auto shift = [&](MapRecord& map) {
    for (int l = level; l < 3; ++l) map.At(kLayerObjects0 + l, x, y) = map.At(kLayerObjects0 + l + 1, x, y);
    map.At(kLayerObjects3, x, y) = 0;
  };
  shift(CurrentMap);
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) shift(StoredMaps[CurrentMapNumber]);
  return true;
}

void ResetPartyTurnUndeadUses() {}
