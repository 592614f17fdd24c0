// The world map view's mouse (screen mode 9): a click sends the party
// travelling toward a cell, a step every tenth frame with the day clock, the
// weather and the roads' random encounters on the way, and a location
// entered on arrival or by a click on the party's own cell.
#include "engine/frame.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/ui_input.h"
#include "map/creature_paths.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "screens/game/day_and_weather.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "state/fighter_slots.h"
#include "state/game_screen_words.h"
#include "state/world_travel.h"

uint8_t WorldTravelling = 0;
uint8_t WorldEnterOnArrival = 0;
int32_t WorldStepFrames = 0;
MapSquareWords WorldMapCell;

namespace {

constexpr int kStepFrames = 10;
constexpr uint32_t kMinutesPerStep = 40, kMinutesPerDay = 1440;
constexpr int32_t kLocationLayer = kLayerObjects0;
constexpr int32_t kFirstLocation = 5;
constexpr uint32_t kRainFrame = 84;
// The world map's ambient sound: wind or running water, looped on the
// channel the rain uses in the game.
constexpr int kWorldAmbientChannel = 19;
constexpr int kWorldAmbientSounds[2] = {24, 23};

int Member() { return static_cast<int>(SelectedMember); }
int32_t WorldX() { return static_cast<int32_t>(PartyWorldSquare[0]); }
int32_t WorldY() { return static_cast<int32_t>(PartyWorldSquare[1]); }

bool OnLocation() {
  const int x = WorldX(), y = WorldY();
  return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide && WorldMap.At(kLocationLayer, x, y) >= kFirstLocation;
}

// The location under the party: its map, with the party on its square.
void EnterLocation() {
  const int x = WorldX(), y = WorldY();
  SwitchLocalMap(WorldMap.At(kLayerObjects1, x, y), WorldMap.At(kLayerObjects2, x, y),
                 WorldMap.At(kLayerObjects3, x, y), 5, 0, 0);
}

void StopTravel() {
  WorldTravelling = 0;
  ResetCreaturePath(Member());
}

// Forty minutes pass on the road: the clock, and the rain that comes and goes.
void PassTime() {
  DayClock += kMinutesPerStep;
  if (DayClock > kMinutesPerDay - 1) DayClock = 0;
  if (StormActive == 1) {
    StormTimer = StormTimer > kMinutesPerStep ? StormTimer - kMinutesPerStep : 0;
    if (StormTimer < 1) {
      StormActive = 0;
      RainFrame = 0;
      StormTimer = 0;
    }
  } else if (RandomUpTo(9999) > 9599) {
    StormActive = 1;
    RainFrame = kRainFrame;
    StormTimer = RandomUpTo(249) + 251;
    LightingIndex = kLightStorm;
    if (OptionWords[kOptionAmbientVolume] > 0) StartRainSound(1);
    SetTintAtOnce = 1;
  }
}

// A random encounter off the locations: one of the four entry sides of one
// of the maps 0 to 4.
bool MeetEncounter() {
  if (OnLocation() || OptionWords[kOptionDisableWorldMapEncounters] != 0) return false;
  if (static_cast<int>(RandomUpTo(99)) + 1 >= 17) return false;
  StopTravel();
  static const int kSide[4][3] = {{5, 9, 9}, {3, 9, 16}, {1, 16, 16}, {7, 16, 9}};
  const int side = static_cast<int>(RandomUpTo(3));
  const int x = kSide[side][1] + static_cast<int>(RandomUpTo(1));
  const int y = kSide[side][2] + static_cast<int>(RandomUpTo(1));
  const int map = RollDice(5, 1, 0, 0) - 1;
  // The party's facing is the direction word the map switch places the group by.
  WorldTravelDirection = kSide[side][0];
  SwitchLocalMap(map, x, y, kSide[side][0], 0, 0);
  return true;
}

// One step along the path every tenth frame.
void Travel() {
  const int m = Member();
  if (WorldTravelling == 0 || !IsValidCreature(m) || Creatures[m].destinationX == -1) return;
  if (++WorldStepFrames < kStepFrames) return;
  WorldStepFrames = 0;
  const int slot = GetFighterSlot(m);
  if (slot < 0 || slot >= kFighterSlots) return;
  FighterSlot& s = FighterSlots[slot];
  ++s.pathIndex;
  if (s.pathIndex < 0 || s.pathIndex >= kPathLength) {
    StopTravel();
    return;
  }
  PartyWorldSquare[0] = static_cast<uint32_t>(s.pathX[s.pathIndex]);
  PartyWorldSquare[1] = static_cast<uint32_t>(s.pathY[s.pathIndex]);
  PassTime();
  if (WorldX() == Creatures[m].destinationX && WorldY() == Creatures[m].destinationY) StopTravel();
  MeetEncounter();
}

void ClickCell() {
  if (WorldTravelling == 1) {
    StopTravel();
    return;
  }
  for (int m = 0; m < 4; ++m) {
    Creatures[m].destinationX = Creatures[m].destinationY = -1;
    const int slot = GetFighterSlot(m);
    if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  }
  BuildWorldMapBlockedGrid();
  const int x = WorldMapCell.x, y = WorldMapCell.y;
  if (x <= 0 || y <= 0 || x >= WorldMap.width - 1 || y >= WorldMap.height - 1) return;
  if (x == WorldX() && y == WorldY() && OnLocation()) {
    EnterLocation();
    return;
  }
  WorldPathStartX = WorldX();
  WorldPathStartY = WorldY();
  WorldPathGoalX = x;
  WorldPathGoalY = y;
  if (FindPathGrid() != kPathFound) return;
  WorldTravelling = 1;
  TravelDestinationShown = 1;
  WorldStepFrames = 0;
  const int slot = GetFighterSlot(Member());
  if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  WorldEnterOnArrival = 1;
}

// The ambient sound starts very low; the world map screen fades it in.
void StartWorldAmbient() {
  if (WorldAmbientOn == 1 || OptionWords[kOptionAmbientVolume] <= 0) return;
  WorldAmbientOn = 1;
  WorldAmbientLevel = 1;
  const int sound = kWorldAmbientSounds[AnimationCycle % 2];
  SetChannelPan(kWorldAmbientChannel, 0);
  PlaySound(sound, kWorldAmbientChannel, 0, OptionWords[kOptionAmbientVolume] / 100);
}

}  // namespace

void StopWorldAmbientOffTheMap() {
  if (ScreenMode == kModeLocalMap || WorldAmbientOn == 0) return;
  WorldAmbientOn = 0;
  WorldAmbientLevel = 0;
  StopChannel(kWorldAmbientChannel);
}

void WorldMapMouse() {
  WorldMapCell = MapSquareWords{PointerX() / 8, (PointerY() - 1) / 8};
  StartWorldAmbient();
  Travel();
  if (ScreenMode != kModeLocalMap) return;
  if (ButtonPressed(0)) {
    LatchButton(0);
    ClickCell();
  }
  if (WorldEnterOnArrival == 1 && WorldTravelling == 0 && OnLocation()) {
    WorldEnterOnArrival = 0;
    EnterLocation();
  }
  StopWorldAmbientOffTheMap();
}
