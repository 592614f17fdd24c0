#include "map/map_switching.h"

#include "engine/reset_words.h"
#include "state/combat_action.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "creatures/creature_treasure.h"
#include "creatures/unheld_item_rows.h"
#include "state/encounters.h"
#include "state/script_state.h"
#include "state/fighter_slots.h"
#include "map/fighter_table.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "map/fighter_tests.h"
#include "engine/frame.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/party_vision.h"
#include "map/rain_shelter.h"
#include "map/square_grids.h"
#include "rules/free_item_slot.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "rules/spell_slots.h"
#include "map/creature_paths.h"
#include "state/camera.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "map/map_view.h"
#include "state/party_leader.h"
#include "state/world_travel.h"

uint32_t ObjectBlockCells[kMapSquares][4];
uint32_t SpawnBlockGrid[kMapSquares];
uint8_t LeavingRainFlag = 0;
int32_t WorldTravelDirection = 0;
int32_t ArrivalSideCode = 0;
int32_t &PendingSpell = SpellInProgress, &PendingSpellCaster = SpellCaster;
int32_t MapEntryFacing = 1;
uint32_t& RestingFlag = RestFade;
uint32_t& RestTimer = DayClock;
uint8_t RestKeyLatch = 0;

namespace {

constexpr int kOptionNoSpawning = 30;

// The floor picture families: a base code and the first of its 14 variants.
struct VariantFamily {
  int32_t base, first;
};
constexpr VariantFamily kFourteenFamilies[] = {
    {92, 306}, {93, 320}, {94, 334}, {95, 348}, {96, 362}, {97, 406}, {98, 420}, {99, 434}, {100, 448}, {101, 462},
};
// Families whose variant count is set by the random draw.
struct RangeFamily {
  int32_t base, first, span;  // variants first .. first + span
};
constexpr RangeFamily kRangeFamilies[] = {
    {120, 1000, 39}, {121, 1100, 39}, {122, 1200, 19}, {116, 600, 13}, {117, 700, 13}, {118, 800, 13}, {115, 900, 13},
};

// The generated rows 4701 to 4950, and row 4951 before the prepared ones,
// which the map switch moves with them.
bool IsUniqueItem(uint32_t code) { return code >= 4701 && code <= 4951; }

// Gives a unique item of a party member a crafted row of its own.
void RehomeUniqueItem(uint32_t* code) {
  if (!IsUniqueItem(*code)) return;
  const int row = FindFreeItemSlot();
  if (row < 1 || row >= kCraftedRows) return;
  CraftedWeapons[row] = CraftedWeapons[*code];
  // A free row is one without a name: a nameless item claims its row with a
  // blank one, so that no other item is given the same row.
  if (CraftedWeapons[row].name[0] == '\0') std::strcpy(CraftedWeapons[row].name, " ");
  *code = static_cast<uint32_t>(row);
}

bool RemovableOnLeave(int32_t code, bool everything) {
  if (code < 1) return false;
  if (everything) return true;
  if (code >= 5001 && code <= 10000) {
    const int row = code - static_cast<int32_t>(kFirstBaseItemCode);
    return row < kItemRows && ItemTable[row].noSale == 1;
  }
  if (code <= 5000) return code < kCraftedRows && CraftedWeapons[code].noSale == 1;
  return (code >= 380001 && code <= 529999) || (code >= 620001 && code <= 709999);
}

// Marks the multi-square pictures whose corner codes match along a diagonal.
void MarkPictureBlocks(int32_t low, int32_t high, int word) {
  uint32_t next = 1;
  for (int y = 0; y < CurrentMap.height; ++y) {
    for (int x = 0; x < CurrentMap.width; ++x) {
      const int32_t code = CurrentMap.At(kLayerFloor, x, y);
      if (code < low || code > high || ObjectBlockCells[SquareIndex(x, y)][word] != 0) continue;
      for (int k = 2; k <= 19; ++k) {
        const int cx = x + k - 1, cy = y + k - 1;
        if (!CurrentMap.Inside(cx, cy)) break;
        if (CurrentMap.At(kLayerFloor, cx, cy) != code) continue;
        for (int i = x; i <= cx; ++i)
          for (int j = y; j <= cy; ++j) ObjectBlockCells[SquareIndex(i, j)][word] = next;
        ++next;
        break;
      }
    }
  }
}

// Rain shelter runs: 996 opens and 997 closes a run along a row (x fixed, y
// rising), 998 opens and 999 closes a run along a column (y fixed, x rising);
// the squares of a run, markers included, are sheltered.
void BuildShelterRuns() {
  static uint32_t markers[kMapSquares];
  std::memcpy(markers, RainShelterGrid, sizeof markers);
  std::memset(RainShelterGrid, 0, sizeof RainShelterGrid);
  for (int x = 0; x < kMapSide; ++x) {
    int open = -1;
    for (int y = 0; y < kMapSide; ++y) {
      const uint32_t m = markers[SquareIndex(x, y)];
      if (m == 996) open = y;
      if (m == 997 && open >= 0) {
        for (int j = open; j <= y; ++j) RainShelterGrid[SquareIndex(x, j)] = 2;
        open = -1;
      }
    }
  }
  for (int y = 0; y < kMapSide; ++y) {
    int open = -1;
    for (int x = 0; x < kMapSide; ++x) {
      const uint32_t m = markers[SquareIndex(x, y)];
      if (m == 998) open = x;
      if (m == 999 && open >= 0) {
        for (int i = open; i <= x; ++i) RainShelterGrid[SquareIndex(i, y)] = 2;
        open = -1;
      }
    }
  }
}

void PlacePartyOnArrival(int map, int x, int y, int facing) {
  for (int i = 0; i < kPartySize; ++i) {
    CreatureRecord& c = Creatures[i];
    c.map = map;
    c.squareX = c.nextX = x;
    c.squareY = c.nextY = y;
    c.pixelX = 24 * x;
    c.pixelY = 24 * y;
    c.facing = facing;
  }
}

// A group met on this battlefield of the road, fled from or left behind,
// leaves it for good, and the rows of its generated items come back. True
// when anyone left.
bool TakeOffEarlierEncounter(int map) {
  bool any = false;
  for (int id = kFirstEncounterCreature; id < kCreatureCount; ++id) {
    CreatureRecord& c = Creatures[id];
    if (c.map != map || c.present != 1) continue;
    c.present = 0;
    DropGeneratedItems(id);
    any = true;
  }
  if (any) ReleaseUnheldGeneratedItems();
  return any;
}

void PlaceWorldArrivalGroup(int x, int y) {
  MapEntryFlag = 0;
  int gx = 15, gy = 15;
  // The arrival code is the side opposite the direction of travel.
  switch (WorldTravelDirection) {
    case 5: gx = 15; gy = 15; ArrivalSideCode = 1; break;
    case 3: gx = 15; gy = 8; ArrivalSideCode = 7; break;
    case 1: gx = 8; gy = 8; ArrivalSideCode = 5; break;
    case 7: gx = 8; gy = 15; ArrivalSideCode = 3; break;
    default: break;
  }
  int region = 0;
  const uint32_t wx = PartyWorldSquare[0], wy = PartyWorldSquare[1];
  if (wx < static_cast<uint32_t>(kMapSide) && wy < static_cast<uint32_t>(kMapSide)) {
    const int32_t r = WorldMap.At(kLayerEvents, static_cast<int>(wx), static_cast<int>(wy));
    if (r >= 1 && r <= 20) region = r;
  }
  EncounterCounter = 0;
  GenerateRandomEncounter(region, gx, gy, 1, 0);
  if (x >= 0 && y >= 0 && x < kMapSide && y < kMapSide) CurrentMap.At(kLayerEvents, x, y) = 1;
}

void PlaceMonsterGroups() {
  EncounterCounter = 0;
  CheckMapCleared();
  if (CurrentMap.cleared != 1) return;
  const int fewest = std::clamp(CurrentMap.fewestGroups, 0, kMostMonsterGroups);
  const int most = std::clamp(CurrentMap.mostGroups, 0, kMostMonsterGroups);
  int groups = most < fewest ? fewest - 1 : fewest + static_cast<int>(RandomUpTo(static_cast<uint32_t>(most - fewest)));
  const int w = CurrentMap.width, h = CurrentMap.height;
  if (w < 1 || h < 1) return;
  for (; groups > 0; --groups) {
    int x = static_cast<int>(RandomUpTo(static_cast<uint32_t>(w - 1)));
    int y = static_cast<int>(RandomUpTo(static_cast<uint32_t>(h - 1)));
    bool found = false;
    while (y < h) {
      if (IsHiddenSpawnBlock(x, y) && !IsBlockBlocked4x4(x, y)) {
        found = true;
        break;
      }
      if (++x >= w) {
        x = 0;
        ++y;
      }
    }
    if (!found) continue;
    for (int i = x; i < x + 4; ++i)
      for (int j = y; j < y + 4; ++j) SpawnBlockGrid[SquareIndex(i, j)] = 1;
    GenerateRandomEncounter(CurrentMap.encounterTable, x, y, 0, 0);
  }
}

}  // namespace

int32_t FloorVariantBase(int32_t code) {
  for (const VariantFamily& f : kFourteenFamilies)
    if (code >= f.first && code <= f.first + 13) return f.base;
  if (code >= 260 && code <= 272) return code + 252;
  if (code >= 600 && code <= 617) return 116;
  if (code >= 700 && code <= 717) return 117;
  if (code >= 800 && code <= 817) return 118;
  if (code >= 900 && code <= 917) return 115;
  if (code >= 1000 && code <= 1039) return 120;
  if (code >= 1100 && code <= 1139) return 121;
  if (code >= 1200 && code <= 1219) return 122;
  return code;
}

void NormaliseMapCells() {
  std::memset(RainShelterGrid, 0, sizeof RainShelterGrid);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (!CurrentMap.Inside(x, y))
        for (int l = 0; l < kMapLayers; ++l) CurrentMap.At(l, x, y) = 0;

  std::memset(ObjectBlockCells, 0, sizeof ObjectBlockCells);
  const bool rain = CurrentMap.rain != 0;
  for (int y = 0; y < kMapSide; ++y) {
    for (int x = 0; x < kMapSide; ++x) {
      int32_t& floor = CurrentMap.At(kLayerFloor, x, y);
      bool done = false;
      for (const VariantFamily& f : kFourteenFamilies) {
        if (floor == f.base) {
          floor = f.first + static_cast<int32_t>(RandomUpTo(13));
          done = true;
          break;
        }
      }
      if (!done && floor >= 512 && floor <= 524) {
        floor -= 252;
        done = true;
      }
      if (!done) {
        for (const RangeFamily& f : kRangeFamilies) {
          if (floor == f.base) {
            floor = f.first + static_cast<int32_t>(RandomUpTo(static_cast<uint32_t>(f.span)));
            break;
          }
        }
      }
      int32_t& ground = CurrentMap.At(kLayerGround, x, y);
      if (ground == 119) ground = 27;
      int32_t& wall = CurrentMap.At(kLayerWalls, x, y);
      if (wall == 75) wall = 112;
      if (wall == 76) wall = 114;
      if (wall == 90) floor = 320;
      if (rain) {
        const int32_t event = CurrentMap.At(kLayerEvents, x, y);
        if (event >= 996 && event <= 999) RainShelterGrid[SquareIndex(x, y)] = static_cast<uint32_t>(event);
      }
    }
  }
  MarkPictureBlocks(3000, 3999, 0);
  MarkPictureBlocks(4000, 4004, 2);
  if (rain) BuildShelterRuns();
}

void RemapMapCellCodes() {
  for (int i = 0; i < kMapSquares; ++i) {
    int32_t& floor = CurrentMap.layers[kLayerFloor][i];
    floor = FloorVariantBase(floor);
  }
}

void ClearFloorItemsOnLeave() {
  const bool everything = CurrentMapNumber >= 0 && CurrentMapNumber <= kLastRoadBattlefield;
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      if (CurrentMap.At(kLayerWalls, x, y) != 0) continue;
      bool removed = true;
      while (removed) {
        removed = false;
        for (int level = 0; level < 4; ++level) {
          const int32_t code = CurrentMap.At(kLayerObjects0 + level, x, y);
          if (!RemovableOnLeave(code, everything)) continue;
          RemoveCellObject(level, x, y);
          removed = true;
          break;
        }
      }
    }
  }
}

void TakeOffLeftEncounter() {
  if (CurrentMapNumber < 0 || CurrentMapNumber > kLastRoadBattlefield) return;
  if (TakeOffEarlierEncounter(CurrentMapNumber)) BuildFighterTable();
}

void ClearSharedGroupFlags() {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id < 0 || id >= kCreatureCount) continue;
    CreatureRecord& c = Creatures[id];
    if (c.present != 1 || c.group != 4) continue;
    c.present = 0;
    if (c.leader == 0) continue;
    for (int t = 0; t < FighterCount && t < kFighterSlots; ++t) {
      const int other = FighterSlots[t].creature;
      if (other >= 0 && other < kCreatureCount && Creatures[other].leader == c.leader) Creatures[other].present = 0;
    }
  }
}

namespace {

int SwitchMap(int map, int x, int y, int facing, uint8_t keepTint, uint8_t noEncounter, const FallenPlace* fallen) {
  // A map number outside the stored maps would index past them: refused.
  if (map < 0 || map >= kStoredMapCount) return 0;

  // Forget the scripts' scratch and every fighter's path; back to exploring.
  // Only the fighters' slots: the rest of the table is cleared when it is
  // built again below.
  std::memset(ScriptScratch, 0, sizeof ScriptScratch);
  const int fighters = std::clamp(FighterCount, 0, kFighterSlots);
  for (int f = 0; f < fighters; ++f) {
    FighterSlot& s = FighterSlots[f];
    for (int i = 0; i < kPathLength; ++i) s.pathX[i] = s.pathY[i] = -1;
  }
  for (int id = 0; id < kCreatureCount; ++id) {
    const int s = Creatures[id].fighterSlot;
    if (s >= 0 && s < fighters) FighterSlots[s].pathIndex = -1;
  }
  ScreenMode = kModeExploring;

  // Store the map being left, then make the new one current.
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) {
    ClearFloorItemsOnLeave();
    RemapMapCellCodes();
    StoredMaps[CurrentMapNumber] = CurrentMap;
  }
  LeavingRainFlag = CurrentMap.rain == 0 ? 1 : 0;
  CurrentMapNumber = map;
  CurrentMap = StoredMaps[map];
  const bool worldArrival = !noEncounter && map <= kLastRoadBattlefield && WorldTravelDirection != 0;
  if (worldArrival) TakeOffEarlierEncounter(map);

  // Its cells, the tint and rain, the camera's bounds, and the world map's memory.
  NormaliseMapCells();
  if (!keepTint) {
    if (CurrentMap.rain == 0) TintTarget[0] = TintTarget[1] = TintTarget[2] = 255;
    SetTintAtOnce = 1;
    UpdatePartyAreaCondition();
  }
  SetCameraBounds();
  if (map <= kLastRoadBattlefield)
    for (uint32_t& m : MapMemory[map]) m = 1;

  // The party on its arrival squares, and the view on the leader; its
  // fallen lie nowhere on the map it comes to, but where the caller lays them.
  if (facing < 1 || facing > 8) facing = 1;
  PlacePartyOnArrival(map, x, y, facing);
  ForgetFallenPlaces();
  if (fallen != nullptr) std::copy(fallen, fallen + kFallenPlaceCount, FallenPlaces);
  MapEntryFacing = facing;
  const CreatureRecord& lead = Creatures[PartyLeader < static_cast<uint32_t>(kPartySize) ? PartyLeader : 0];
  ViewOriginX = lead.pixelX + 12 - ViewWidth() / 2;
  ViewOriginY = lead.pixelY + 12 - ViewHeight() / 2;

  // Clear the fighters' marks; unique items the party holds go back to their own rows.
  std::memset(FighterMarkWords, 0, sizeof(int32_t) * kFighterSlots);
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    for (int slot : {kSlotTorso, kSlotRightHand, kSlotLeftHand, kSlotRanged}) RehomeUniqueItem(&c.equipment[slot - 1]);
    RehomeUniqueItem(&c.ammunition.code);
    for (ItemPair& p : c.carried) RehomeUniqueItem(&p.code);
  }
  // The generated items swept off the floor left behind, and those the party
  // holds in rows of their own now, give their rows back if nothing else
  // holds them, before any group is made.
  ReleaseUnheldGeneratedItems();

  // The occupancy grids, the fighter table and the entry flags.
  FighterCount = 0;
  BuildOccupancyGrids(-1);
  VisionRefreshFlag = 1;
  SquareScriptFlag = 1;
  PendingSpell = PendingSpellCaster = -1;
  MapEntryFlag = 1;
  BuildFighterTable();
  std::memset(SpawnBlockGrid, 0, sizeof SpawnBlockGrid);

  // The monster groups of the map, or the group met on the world map.
  if (!noEncounter) {
    if (worldArrival)
      PlaceWorldArrivalGroup(x, y);
    else if (OptionWords[kOptionNoSpawning] == 0)
      PlaceMonsterGroups();
  }

  // The fighter table again with the groups, and the non-party fighters standing still.
  ClearSharedGroupFlags();
  BuildFighterTable();
  FinishPartyMoves();
  for (int s = kPartySize; s < FighterCount && s < kFighterSlots; ++s) ResetCreaturePath(FighterSlots[s].creature);

  // Every fighter's sight counted afresh; the party is alert and sees.
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    FighterSlot& f = FighterSlots[s];
    f.unseenSquares = 0;
    f.walkStep = 0;
    std::memset(f.secondGrid, 0, sizeof f.secondGrid);
  }
  ForgetKeptSight();
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) CountFighterSquares(s);
  for (int s = 0; s < kPartySize && s < FighterCount; ++s) FighterSlots[s].alert = 1;
  UpdatePartyVision();
  return 1;
}

}  // namespace

int SwitchLocalMap(int map, int x, int y, int facing, uint8_t keepTint, uint8_t noEncounter) {
  return SwitchMap(map, x, y, facing, keepTint, noEncounter, nullptr);
}

int SwitchLocalMapWithFallen(int map, int x, int y, int facing, uint8_t keepTint, uint8_t noEncounter,
                             const FallenPlace (&fallen)[kFallenPlaceCount]) {
  return SwitchMap(map, x, y, facing, keepTint, noEncounter, fallen);
}

void RestPartyOnMap() {
  ScreenMode = kModeResting;
  RestingFlag = 1;
  RestTimer = 480;
  RestKeyLatch = 0;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id >= 0 && id < kCreatureCount) RemoveCondition(id, kCondRain);
  }
  ClearFloorItemsOnLeave();
  for (int id = 0; id < kCreatureCount; ++id) {
    CreatureRecord& c = Creatures[id];
    for (ConditionEntry& e : c.conditions) {
      if (e.id != 0 && ((e.duration >= 1 && e.duration <= 999) || e.duration == kDurationUntilRest)) e = ConditionEntry{};
    }
    if (c.creatureClass == 4) SetSpellSlotsByLevel(CasterLevel(id), id, 1, 1);
    if (c.creatureClass == 3) SetSpellSlotsByLevel(CasterLevel(id), id, 0, 1);
    if (c.present == 1) c.hitPoints = c.maxHitPoints;
    CompactConditions(id);
  }
  ResetPartyTurnUndeadUses();
  const CreatureRecord& lead = Creatures[PartyLeader < static_cast<uint32_t>(kPartySize) ? PartyLeader : 0];
  // The party camps on the map it is on: its fallen still lie where they fell.
  FallenPlace fallen[kFallenPlaceCount];
  std::copy(std::begin(FallenPlaces), std::end(FallenPlaces), fallen);
  SwitchLocalMapWithFallen(CurrentMapNumber, lead.squareX, lead.squareY, lead.facing, 1, 0, fallen);
}

void ResetMapSwitchingState() {
  ResetWords(ObjectBlockCells);
  ResetWords(SpawnBlockGrid);
  LeavingRainFlag = 0;
  WorldTravelDirection = 0;
  ArrivalSideCode = 0;
  PendingSpell = -1;
  PendingSpellCaster = -1;
  RestKeyLatch = 0;
  MapEntryFacing = 1;
}
