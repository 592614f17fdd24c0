// The two full-screen maps: the local map page (the current map's name,
// description and a plan of the squares the party has seen, with blinking
// markers, from which a click moves the game view) and the world map (its
// picture, the party and its travel destination, the name of the place
// under the pointer, its music and ambient sound).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/last_screen.h"
#include "engine/linked_text.h"
#include "engine/looping_sounds.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "rules/record_words.h"
#include "screens/character/character_screens.h"
#include "screens/character/map_screens.h"
#include "screens/character/page_kit.h"
#include "screens/game/click_results.h"
#include "screens/game/map_input.h"
#include "state/camera.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

int32_t LocalMapBlinkCounter = 0;
int32_t LocalMapBlinkPhase = 0;
int32_t WorldAmbientFrames = 0;

namespace {

constexpr int kPlanLeft = 126, kPlanTop = 20, kPlanCell = 3;
constexpr uint32_t kMarkerColour = 0xC8FFFFFFu, kShadeColour = 0x64969696u;
constexpr int kLeaderMarker = 515, kCreatureMarker = 943, kViewShade = 944;
constexpr int kBlinkFrames = 12;
constexpr int kSquarePixels = 24;
constexpr int kSenseHidden = 4;  // a creature of this sense code is not shown outside combat

bool IsWallLike(int32_t w) { return w == 60 || w == 64 || w == 68 || w == 72 || w == 106; }

int32_t WallAt(int x, int y) { return CurrentMap.At(kLayerWalls, x, y); }

const uint32_t* CurrentMemory() {
  return CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount ? MapMemory[CurrentMapNumber] : nullptr;
}

bool Remembered(const uint32_t* memory, int x, int y) {
  return memory && x >= 0 && y >= 0 && x < kMapSide && y < kMapSide && memory[SquareIndex(x, y)] == 1;
}

void PlanFrame(int frame, int x, int y, uint32_t colour) {
  DrawSheetFrame(kSheetInterface, frame, kPlanLeft + kPlanCell * x, kPlanTop + kPlanCell * y, colour);
}

// The creatures of the map that are not the party's, on seen squares.
void CreatureMarkers(const uint32_t* memory) {
  for (int slot = 0; slot < FighterCount && slot < kFighterSlots; ++slot) {
    const int id = FighterSlots[slot].creature;
    if (!IsValidCreature(id)) continue;
    const CreatureRecord& c = Creatures[id];
    if (c.allegiance == kAllegianceParty || c.present != 1) continue;
    if (!Remembered(memory, c.squareX, c.squareY)) continue;
    if (InCombat == 0 && c.special[kSenseKindWord] == kSenseHidden) continue;
    PlanFrame(kCreatureMarker, c.squareX, c.squareY, kMarkerColour);
  }
}

// The view origin a point of the plan proposes, held to the camera bounds.
void ProposedOrigin(int px, int py, int32_t* ox, int32_t* oy) {
  const int sx = (px - kPlanLeft) / kPlanCell, sy = (py - kPlanTop) / kPlanCell;
  *ox = kSquarePixels * sx - 168;
  *oy = kSquarePixels * sy - 120;
  if (*ox > CameraBounds.maxX) *ox = CameraBounds.maxX;
  if (*ox < CameraBounds.minX) *ox = CameraBounds.minX;
  if (*oy > CameraBounds.maxY) *oy = CameraBounds.maxY;
  if (*oy < CameraBounds.minY) *oy = CameraBounds.minY;
}

// The squares the game view would show from that origin, shaded.
void ShadeView(int32_t ox, int32_t oy) {
  const bool wide = IsWideView();
  const int firstX = ox / kSquarePixels, firstY = oy / kSquarePixels;
  int lastX = firstX + (wide ? 20 : 13), lastY = firstY + (wide ? 15 : 10);
  if (lastX > CurrentMap.width + 1) lastX = CurrentMap.width + 1;
  if (lastY > CurrentMap.height + 1) lastY = CurrentMap.height + 1;
  for (int x = firstX; x <= lastX; ++x)
    for (int y = firstY; y <= lastY; ++y) PlanFrame(kViewShade, x, y, kShadeColour);
}

// A click on the plan: the view moves there and page view ends.
void MoveViewAndReturn(int32_t ox, int32_t oy) {
  LatchButton(0);
  if (ox < CameraBounds.minX) ox = CameraBounds.minX;
  if (ox > CameraBounds.maxX) ox = CameraBounds.maxX;
  if (oy < CameraBounds.minY) oy = CameraBounds.minY;
  if (oy > CameraBounds.maxY) oy = CameraBounds.maxY;
  ViewOriginX = ox;
  ViewOriginY = oy;
  TradePartner = -1;
  CombatInventoryOpen = 0;
  PlayClickSound();
  PageDepth = 0;
  PageHighestDepth = 0;
  ScreenMode = kModeExploring;
  ClickResult = ClickResultState{};
  ResetHover();
  ClearTransientBuffers();
  SpellTarget = -1;
}

}  // namespace

int LocalMapPlanFrame(int x, int y) {
  const int32_t w = WallAt(x, y);
  bool wallLike = IsWallLike(w);
  if (!wallLike) {
    const bool right = x + 1 < CurrentMap.width, below = y + 1 < CurrentMap.height;
    wallLike = (right && IsWallLike(WallAt(x + 1, y))) || (below && IsWallLike(WallAt(x, y + 1))) ||
               (right && below && IsWallLike(WallAt(x + 1, y + 1)));
  }
  if (wallLike || w == 44 || w == 45) return 516;
  if (w >= 75 && w <= 85) return 517;
  if (w == 73) return 514;
  if (w == 74) return 513;
  if (w == 90) return 512;
  if (w >= 86 && w <= 89) return 511;
  if (w < 1) return 509;
  return 510;
}

int DrawMapOverviewScreen() {
  LastScreenDrawn = "DrawMapOverviewScreen";
  if (++LocalMapBlinkCounter >= kBlinkFrames) {
    LocalMapBlinkCounter = 0;
    LocalMapBlinkPhase ^= 1;
  }
  BeginCharacterPage();
  DrawFramedBox(0, 0, 0);

  // The map's name in the 14 cells left of the plan (the maps' names fit
  // them), a row above the description.
  char name[sizeof CurrentMap.name + 1];
  CopyCut(name, sizeof name, CurrentMap.name, sizeof CurrentMap.name);
  DrawTextAt(kDefaultColour, kLocalMapNameCells, 0, name, kStyleGreen, 1, 2, 1, 0, 0, 0);
  char text[sizeof CurrentMap.text + 1];
  CopyCut(text, sizeof text, CurrentMap.text, sizeof CurrentMap.text);
  DrawLinkedText(text, kStyleLabel, 1, 4, 14, 20, 0, 0, 1, 1);

  const int width = CurrentMap.width >= 0 && CurrentMap.width <= kMapSide ? CurrentMap.width : 0;
  const int height = CurrentMap.height >= 0 && CurrentMap.height <= kMapSide ? CurrentMap.height : 0;
  const uint32_t* memory = CurrentMemory();
  const CreatureRecord* leader = IsValidCreature(static_cast<int>(PartyLeader)) ? &Creatures[PartyLeader] : nullptr;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      if (Remembered(memory, x, y)) PlanFrame(LocalMapPlanFrame(x, y), x, y, 0xFFFFFFFFu);
      if (leader && leader->squareX == x && leader->squareY == y && LocalMapBlinkPhase == 1)
        PlanFrame(kLeaderMarker, x, y, kMarkerColour);
    }
  if (LocalMapBlinkPhase == 1) CreatureMarkers(memory);

  if (MouseInRect(kPlanTop, kPlanLeft, kPlanCell * width, kPlanCell * height)) {
    CursorShape = kCursorArrow;
    int32_t ox = 0, oy = 0;
    ProposedOrigin(PointerX(), PointerY(), &ox, &oy);
    ShadeView(ox, oy);
    if (ButtonPressed(0)) {
      MoveViewAndReturn(ox, oy);
      return 1;
    }
  }

  DrawHelpNavBar(1, 2);
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return 1;
}

namespace {

constexpr int kWorldTrack = 4;
constexpr int kWorldAmbientChannel = 19;
constexpr int kAmbientStepFrames = 10;
constexpr int kWorldSheet = 50, kWorldStripSheet = 51, kWorldPiece = 64;
constexpr int kPartyFrame = 507, kDestinationFrame = 506;
constexpr int kFirstEntrance = 5;

void WorldMusic() {
  if (OptionWords[kOptionMusicVolume] <= 0 || CurrentMusicTrack == kWorldTrack) return;
  if (CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount)
    MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
  SetMusicVolume(0);
  StopMusic();
  PlayMusic(kWorldTrack, 0, MusicTrackPositions[kWorldTrack] != 0 ? 1 : 0);
  GetMusicTempo();
}

void FadeWorldAmbient() {
  if (++WorldAmbientFrames < kAmbientStepFrames) return;
  WorldAmbientFrames = 0;
  bool changed = false;
  if (WorldAmbientOn == 1 && WorldAmbientLevel < 100) {
    ++WorldAmbientLevel;
    changed = true;
  } else if (WorldAmbientOn == 0 && WorldAmbientLevel > 0) {
    --WorldAmbientLevel;
    changed = true;
  }
  if (!changed) return;
  SetChannelVolume(kWorldAmbientChannel,
                   static_cast<int>(WorldAmbientLevel) * OptionWords[kOptionAmbientVolume] / 100);
  if (WorldAmbientLevel == 0) StopChannel(kWorldAmbientChannel);
}

void WorldPicture() {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      DrawSheetFrame(kWorldSheet, column + 4 * row, kWorldPiece * column, kWorldPiece * row);
  for (int row = 0; row < 4; ++row) DrawSheetFrame(kWorldStripSheet, 4 * row, 256, kWorldPiece * row);
}

// The party's square and the travel destination (never on the border squares).
void WorldMarkers() {
  auto inside = [](int64_t x, int64_t y) {
    return x >= 1 && y >= 1 && x <= WorldMap.width - 2 && y <= WorldMap.height - 2;
  };
  const int64_t px = PartyWorldSquare[0], py = PartyWorldSquare[1];
  if (inside(px, py))
    DrawSheetFrameGradient(kSheetInterface, kPartyFrame, static_cast<int>(8 * px), static_cast<int>(8 * py),
                           0xFFFFFFFFu, 1.0f, 1.0f, 0.0f, 1, 0xFF26A5FEu, 0xFF4482FCu, 0xFF446BFCu, 0xFF3250FCu,
                           0xFF0046F0u, 0xFF0000FFu);
  if (TravelDestinationShown == 1 && IsValidCreature(static_cast<int>(PartyLeader))) {
    const CreatureRecord& leader = Creatures[PartyLeader];
    if (leader.destinationX != -1 && inside(leader.destinationX, leader.destinationY))
      DrawSheetFrameGradient(kSheetInterface, kDestinationFrame, 8 * leader.destinationX, 8 * leader.destinationY,
                             0xFFFFFFFFu, 1.0f, 1.0f, 0.0f, 1, 0xFFFCBBBBu, 0xFFD97651u, 0xFFF41317u);
  }
}

// The place under the pointer: a refusal over mountains and water, "You are
// here" over the party, the name of the local map at an entrance.
void WorldPointer() {
  const int x = WorldMapCell.x, y = WorldMapCell.y;
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return;
  const int32_t c = WorldMap.At(kLayerObjects1, x, y);
  if (c < kFirstEntrance) {
    const int32_t ground = WorldMap.At(kLayerGround, x, y);
    if (ground == 3 || ground == 6) {
      CursorShape = kCursorRefused;
    } else if (static_cast<uint32_t>(x) == PartyWorldSquare[0] && static_cast<uint32_t>(y) == PartyWorldSquare[1]) {
      CursorShape = kCursorArrow;
      std::snprintf(HoverCaption, 100, "%s", "You are here");
    }
  } else if (c < kStoredMapCount) {
    // Only the stored maps 0 to 40 have names; a larger code names none.
    CursorShape = kCursorArrow;
    const MapRecord& map = c == CurrentMapNumber ? CurrentMap : StoredMaps[c];
    std::snprintf(HoverCaption, 100, "%.15s", map.name);
  }
}

}  // namespace

int DrawWorldMapScreen() {
  LastScreenDrawn = "DrawWorldMapScreen";
  WorldMusic();
  StopLoopingSounds();
  FadeWorldAmbient();
  BeginCharacterPage();
  WorldPicture();
  WorldMarkers();
  WorldPointer();
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return 1;
}
