#include "adventure/world_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "adventure/script_faults.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/turn_order_changes.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/message_log.h"
#include "engine/music.h"
#include "engine/click_sound.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "frontend/saved_games.h"
#include "map/creature_paths.h"
#include "map/fighter_table.h"
#include "map/free_square.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/formation.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "screens/game/game_screen.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/script_state.h"
#include "state/turn_order.h"

int32_t (&CreatureHighlight)[kCreatureCount] = CreatureMarkWords;
int32_t& HighlightFade = HighlightTimer;

namespace {

constexpr int32_t kLargestExtraLevels = 60;
constexpr int kPixelsPerSquare = 24;
constexpr int kScriptSoundChannel = 22;
constexpr int kSoundEffectLast = 57;
constexpr int kDoorSample = 25;
constexpr int kLastConditionId = kConditionNameCount - 1;
constexpr uint32_t kSourceNone = 31;
constexpr int32_t kLastingDuration = 1000;
constexpr int32_t kWakingSight = 30;
constexpr int32_t kClearTag = 1000;
constexpr int32_t kFaceTheLeader = 9;

bool CheckCreature(int creature, const char* what) { return ScriptIndexFits(creature, kCreatureCount, what, "creature"); }
bool CheckMap(int map, const char* what) { return ScriptIndexFits(map, kStoredMapCount, what, "map"); }
bool CheckSquare(int x, int y, const char* what) {
  return ScriptIndexFits(x, kMapSide, what, "square x") && ScriptIndexFits(y, kMapSide, what, "square y");
}

bool IsCurrent(int map) { return map == CurrentMapNumber; }

// The record a test reads: the current one for the current map.
const MapRecord& LiveMap(int map) { return IsCurrent(map) ? CurrentMap : StoredMaps[map]; }

// Writes a square of the stored map and, for the current map, of the current record.
void WriteBoth(int map, int layer, int x, int y, int32_t code) {
  StoredMaps[map].At(layer, x, y) = code;
  if (IsCurrent(map)) CurrentMap.At(layer, x, y) = code;
}

int32_t& HeaderWord(MapRecord& m, int which) {
  switch (which) {
    case kHeaderAlarm: return m.alarm;
    case kHeaderCleared: return m.cleared;
    case kHeaderLocalMap: return m.localMapAvailable;
    default: return m.spellFlag;
  }
}

void SetHeaderBoth(int map, int which, int32_t value) {
  HeaderWord(StoredMaps[map], which) = value;
  if (IsCurrent(map)) HeaderWord(CurrentMap, which) = value;
}

bool IsDoor(int32_t code) { return code >= 82 && code <= 85; }

bool IsClearedFloor(int32_t code) {
  return (code >= 92 && code <= 106) || (code >= 306 && code <= 375) || (code >= 406 && code <= 475);
}

// A wall that stops walking: any code of the walls layer but stairs and doors.
bool IsBlockingWall(int layer, int32_t code) {
  return layer == kLayerWalls && code != 0 && code != 73 && code != 74 && !IsDoor(code);
}

void ClearSquareOf(MapRecord& m, int x, int y) {
  m.At(kLayerWalls, x, y) = 0;
  m.At(kLayerEvents, x, y) = 0;
  if (IsClearedFloor(m.At(kLayerFloor, x, y))) m.At(kLayerFloor, x, y) = 0;
  for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer) m.At(layer, x, y) = 0;
}

// What the map's edits ask of the running game: the party looks again, the
// grids and the sight are rebuilt, and combat is looked for again.
void RefreshAfterMapEdit() {
  for (int slot = 0; slot < kPartySize && slot < kFighterSlots; ++slot) FighterSlots[slot].alert = 1;
  BuildOccupancyGrids(-1);
  VisionRefreshFlag = 1;
  ExploringScriptFlag = 1;
  NormaliseMapCells();
  BuildMapVisibility();
}

// The objects of a square taken off it, to be laid out again around it.
struct LiftedObjects {
  int32_t codes[4] = {};
};

LiftedObjects LiftObjects(MapRecord& m, int x, int y) {
  LiftedObjects lifted;
  for (int level = 0; level < 4; ++level) {
    lifted.codes[level] = m.At(kLayerObjects0 + level, x, y);
    m.At(kLayerObjects0 + level, x, y) = 0;
  }
  return lifted;
}

// Lays lifted objects around the square of a map. On a stored map the walled
// square itself would be found again: its levels are held while they are laid.
void LayObjectsAround(int map, int x, int y, const LiftedObjects& lifted) {
  MapRecord* record = MapByNumber(map);
  if (!record) return;
  int32_t held[4];
  for (int level = 0; level < 4; ++level) {
    held[level] = record->At(kLayerObjects0 + level, x, y);
    if (held[level] == 0) record->At(kLayerObjects0 + level, x, y) = -1;
  }
  for (int32_t code : lifted.codes)
    if (code != 0 && SetMapSquareValue(map, x, y, code) == 0)
      ScriptDebugLine("set square: no free square near (%i, %i) for object %i", x, y, code);
  for (int level = 0; level < 4; ++level)
    if (held[level] == 0) record->At(kLayerObjects0 + level, x, y) = 0;
}


}  // namespace

// --- Highlights -------------------------------------------------------------

void ClearCreatureHighlights() {
  for (int32_t& h : CreatureHighlight) h = 0;
}

void HighlightCreature(int creature, int32_t colour, const char* trace) {
  if (!CheckCreature(creature, "highlight")) return;
  if (!ScriptIndexFits(colour, kHighlightColours, "highlight", "colour")) return;
  ClearCreatureHighlights();
  CreatureHighlight[creature] = colour + 1;
  if (DebugMode == 1 && trace) LogMessage("%s\r", trace);
  HighlightFade = kHighlightFrames;
}

// --- Squares and maps ---------------------------------------------------------

void ClearMapSquare(int map, int x, int y) {
  if (!CheckMap(map, "clear square") || !CheckSquare(x, y, "clear square")) return;
  if (IsDoor(LiveMap(map).At(kLayerWalls, x, y)))
    PlaySampleAtVolume(kDoorSample, kSoundChannelCount, OptionWords[kOptionAmbientVolume]);
  ClearSquareOf(StoredMaps[map], x, y);
  if (IsCurrent(map)) ClearSquareOf(CurrentMap, x, y);
  RefreshAfterMapEdit();
}

void RemoveEventNumber(int event, int map) {
  if (!CheckMap(map, "remove event")) return;
  auto strip = [event](MapRecord& m) {
    for (int i = 0; i < kMapSquares; ++i)
      if (m.layers[kLayerEvents][i] == event && m.layers[kLayerWalls][i] == 0) m.layers[kLayerEvents][i] = 0;
  };
  strip(StoredMaps[map]);
  if (IsCurrent(map)) strip(CurrentMap);
}

void SetEventNumber(int map, int x, int y, int32_t value) {
  if (!CheckMap(map, "set event") || !CheckSquare(x, y, "set event")) return;
  WriteBoth(map, kLayerEvents, x, y, value);
}

void MarkMapKnown(int map, int x1, int y1, int x2, int y2, bool known) {
  if (!CheckMap(map, "map memory")) return;
  // The rectangle is held to the map's squares.
  const int left = std::max(x1, 0), right = std::min(x2, kMapSide - 1);
  const int top = std::max(y1, 0), bottom = std::min(y2, kMapSide - 1);
  for (int x = left; x <= right; ++x)
    for (int y = top; y <= bottom; ++y) MapMemory[map][SquareIndex(x, y)] = known ? 1 : 0;
  BuildMapVisibility();
}

void SetSquareCode(int layer, int map, int x, int y, int32_t code) {
  if (!ScriptIndexFits(layer, kMapLayers, "set square", "layer")) return;
  if (!CheckSquare(x, y, "set square")) return;
  if (map == kWorldMapNumber) {
    WorldMap.At(layer, x, y) = code;
    return;
  }
  if (!CheckMap(map, "set square")) return;
  const bool current = IsCurrent(map);
  MapRecord& record = current ? CurrentMap : StoredMaps[map];
  LiftedObjects lifted;
  bool relay = false;
  if (IsBlockingWall(layer, code) && record.At(kLayerWalls, x, y) == 0 && record.At(kLayerObjects0, x, y) != 0) {
    lifted = LiftObjects(record, x, y);
    relay = true;
  }
  record.At(layer, x, y) = code;
  if (!current) {
    if (relay) LayObjectsAround(map, x, y, lifted);
    return;
  }
  if (layer == kLayerWalls && code != 0)
    for (int m = 0; m < kPartySize; ++m)
      if (Creatures[m].squareX == x && Creatures[m].squareY == y) RelocateIfBlocked(m);
  RefreshAfterMapEdit();
  if (relay) LayObjectsAround(map, x, y, lifted);
  BuildMapVisibility();
}

void SetMapHeaderFlag(int which, int map, int32_t value) {
  if (!CheckMap(map, "map header")) return;
  static const int kWords[3] = {kHeaderLocalMap, kHeaderSpellFlag, kHeaderCleared};
  if (!ScriptIndexFits(which, 3, "map header", "word")) return;
  SetHeaderBoth(map, kWords[which], value != 0 ? 1 : 0);
}

bool MapAlarmIsSet(int map) {
  if (!CheckMap(map, "map alarm")) return false;
  return LiveMap(map).alarm == 1;
}

void SetMapAlarm(int map, int32_t value) {
  if (!CheckMap(map, "map alarm")) return;
  SetHeaderBoth(map, kHeaderAlarm, value == 1 ? 1 : 0);
}

// --- Creatures ------------------------------------------------------------------

void SetAllegiance(int first, int last, int32_t side) {
  if (!CheckCreature(first, "allegiance") || !CheckCreature(last, "allegiance")) return;
  for (int id = first; id <= last; ++id) Creatures[id].allegiance = side + 1;
}

void SetPresence(int creature, int32_t present) {
  if (!CheckCreature(creature, "presence")) return;
  Creatures[creature].present = present == 1 ? 1 : 0;
  // Taken off the map in a battle, it leaves the battle's turn order too:
  // an absent enemy left in the order kept the battle from ever ending.
  if (present != 1) RemoveTurnEntry(creature);
  BuildFighterTable();
  VisionRefreshFlag = 1;
  ResetCreaturePath(creature);
  const int slot = Creatures[creature].fighterSlot;
  if (slot >= 0 && slot < FighterCount && slot < kFighterSlots && FighterSlots[slot].creature == creature) {
    FighterSlots[slot].unseenSquares = -1;
    CountFighterSquares(slot);
  }
}

void MakeDistracted(int creature) {
  if (!CheckCreature(creature, "distract")) return;
  RemoveCondition(creature, kCondDistracted);
  AddCondition(creature, kCondDistracted, kLastingDuration, 0, kSourceNone, 0);
}

void WakeAndAlarm(int creature) {
  if (!CheckCreature(creature, "alarm")) return;
  RemoveCondition(creature, kCondSleeping);
  if (Creatures[creature].sight == 0) Creatures[creature].sight = kWakingSight;
  RemoveCondition(creature, kCondDistracted);
  RemoveCondition(creature, kCondAlarmed);
  AddCondition(creature, kCondAlarmed, kLastingDuration, 0, kSourceNone, 0);
}

void AlarmAllEnemies() {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (IsValidCreature(id) && Creatures[id].allegiance == kAllegianceEnemy) WakeAndAlarm(id);
  }
}

void SetCreatureTagNumber(int creature, int32_t number) {
  if (!CheckCreature(creature, "tag")) return;
  char* tag = Creatures[creature].tag;
  constexpr size_t kTagSize = sizeof Creatures[0].tag;
  if (number == kClearTag) {
    std::memset(tag, 0, kTagSize);
    return;
  }
  const size_t length = strnlen(tag, kTagSize);
  if (length == 0) {
    ScriptDebugLine("tag: creature %i has no tag to number", creature);
    return;
  }
  char digits[16];
  const int count = std::snprintf(digits, sizeof digits, "%i", number);
  // The tag keeps its zero byte: a number that would not fit leaves it as it is.
  if (length - 1 + static_cast<size_t>(count) > kTagSize - 1) {
    ScriptDebugLine("tag: %i does not fit the tag of creature %i", number, creature);
    return;
  }
  std::memcpy(tag + length - 1, digits, static_cast<size_t>(count));
  std::memset(tag + length - 1 + count, 0, kTagSize - (length - 1 + static_cast<size_t>(count)));
}

bool CreatureIsAlarmed(int creature) {
  if (!CheckCreature(creature, "alarmed test")) return false;
  return FindCondition(creature, kCondAlarmed) >= 0;
}

void SetFormation(int creature, int32_t leader, int32_t x, int32_t y, int32_t word) {
  if (!CheckCreature(creature, "formation")) return;
  if (leader < -1 || leader >= kCreatureCount) {
    ScriptDebugLine("formation: leader %i is not one of the 2,100", leader);
    return;
  }
  CreatureRecord& c = Creatures[creature];
  c.leader = leader;
  c.formationX = x;
  c.formationY = y;
  c.formationWords[kHoldFlagWord] = word;
}

void SetDeathScript(int creature, int32_t number) {
  if (!CheckCreature(creature, "death script")) return;
  Creatures[creature].scriptWords[kScriptWordDeathScript] = number;
}

void SendCreatureWalking(int x, int y, int creature) {
  if (!CheckCreature(creature, "walk") || !CheckSquare(x, y, "walk")) return;
  const CreatureRecord& c = Creatures[creature];
  FindCreaturePath(creature, c.squareX, c.squareY, x, y, 0, 0, 1, 0, nullptr, nullptr);
}

void SetMovementWord(int creature, int32_t value) {
  if (CheckCreature(creature, "state word")) Creatures[creature].group = value;
}

void SetTacticWord(int creature, int32_t value) {
  if (CheckCreature(creature, "tactic word")) Creatures[creature].behaviour[kBehaviourSecondTactic] = value;
}

void SetCreatureFacingTo(int creature, int32_t facing) {
  if (!CheckCreature(creature, "facing")) return;
  const int32_t f = facing + 1;
  if (f == kFaceTheLeader) {
    FaceTowardsCreature(creature, 0);
  } else if (f >= 1 && f <= 8) {
    Creatures[creature].facing = f;
  } else {
    ScriptDebugLine("facing: %i is not one of the nine", facing);
    return;
  }
  if (creature == ScriptSpeaker) ScriptSavedFacing = Creatures[creature].facing;
}

void PlaceCreature(int creature, int map, int x, int y) {
  if (!CheckCreature(creature, "place") || !CheckMap(map, "place") || !CheckSquare(x, y, "place")) return;
  ResetCreaturePath(creature);
  CreatureRecord& c = Creatures[creature];
  auto put = [&] {
    c.map = map;
    c.squareX = c.nextX = x;
    c.squareY = c.nextY = y;
    c.pixelX = x * kPixelsPerSquare;
    c.pixelY = y * kPixelsPerSquare;
  };
  if (!IsCurrent(map)) {
    if (creature < kPartySize) SwitchLocalMap(map, x, y, c.facing, 0, 0);
    put();
    BuildFighterTable();
    return;
  }
  put();
  BuildOccupancyGrids(-1);
  SelectedFighterSlot = -1;
  ExploringScriptFlag = 1;
  BuildFighterTable();
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) CountFighterSquares(s);
  for (int s = 0; s < kPartySize; ++s) FighterSlots[s].alert = 1;
  std::memset(SpawnBlockGrid, 0, sizeof SpawnBlockGrid);
  if (creature < kPartySize) UpdatePartyVision();
}

void FaceEntryFacing() {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (IsValidCreature(id) && Creatures[id].allegiance != kAllegianceParty) Creatures[id].facing = MapEntryFacing;
  }
}

bool CreaturePresenceTest(int creature, int32_t mode) {
  if (!CheckCreature(creature, "presence test")) return false;
  if (mode == 0) return Creatures[creature].present == 1;
  if (mode == 1) return Creatures[creature].present != 1;
  return true;
}

void ChangeCondition(int32_t mode, int creature, int32_t removed, int32_t added, int32_t value, int32_t duration) {
  if (!CheckCreature(creature, "condition")) return;
  const int32_t id = mode == 1 ? removed : added;
  if (id < 1 || id > kLastConditionId) {
    ScriptDebugLine("condition: %i is not one of the conditions", id);
    return;
  }
  if (mode == 1) RemoveCondition(creature, static_cast<uint32_t>(id));
  else AddCondition(creature, static_cast<uint32_t>(id), duration, value, 0, 0);
  // The change counts at once, in a battle or out of one: a Constitution or
  // a level lost to nothing kills, a Dexterity given back frees.
  RecomputeCreature(creature, 0);
  // A leader felled outside a battle hands the lead to the first standing
  // member, or the party could not walk on; in a battle the victory does.
  if (InCombat == 0 && creature < kPartySize) ReplaceFallenLeader();
}

void SetSightRange(int creature, int32_t range) {
  if (CheckCreature(creature, "sight")) Creatures[creature].sight = range;
}

void CreateScriptCreature(const int32_t (&a)[15]) {
  if (!CheckMap(a[0], "create creature") || !CheckSquare(a[1], a[2], "create creature") ||
      !CheckCreature(a[3], "create creature"))
    return;
  if (!ScriptIndexFits(a[4], kKindRows, "create creature", "kind")) return;
  // The making costs by the level, and a saved game holds levels up to 100:
  // a script's creature takes at most 60 levels more than its kind's own.
  if (!ScriptIndexFits(std::max(a[6], 0), kLargestExtraLevels + 1, "create creature", "extra levels")) return;
  CreateCreature(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7] == 1 ? 1 : 0, a[8] == 1 ? 0 : 1, a[9], a[10], a[11],
                 a[12], a[13], a[14]);
  if (IsCurrent(a[0])) BuildFighterTable();
}

namespace {

// Whether the fighter slot sees the square of a present party member.
bool SlotSeesParty(int slot) {
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    if (c.present != 1 || c.squareX < 0 || c.squareX >= kMapSide || c.squareY < 0 || c.squareY >= kMapSide) continue;
    if (FighterSlots[slot].visible[SquareIndex(c.squareX, c.squareY)] == 1) return true;
  }
  return false;
}

}  // namespace

bool GroupSeesParty(int creature) {
  if (!CheckCreature(creature, "group sight")) return false;
  const int32_t leader = Creatures[creature].leader;
  for (int s = kPartySize; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (!IsValidCreature(id) || Creatures[id].present != 1) continue;
    if (id != creature && !(leader > 0 && Creatures[id].leader == leader)) continue;
    if (SlotSeesParty(s)) return true;
  }
  return false;
}

bool ScriptValueAtLeast(int creature, int32_t value) {
  if (creature == -1) return false;
  if (!CheckCreature(creature, "script value")) return false;
  return Creatures[creature].furtherWords[kTalkCountWord] >= value;
}

bool CreatureRangePresent(int a, int b, int32_t mode) {
  if (!CheckCreature(a, "range presence") || !CheckCreature(b, "range presence")) return false;
  const int first = std::min(a, b), last = std::max(a, b);
  if (mode != 0 && mode != 1) return true;
  for (int id = first; id <= last; ++id)
    if ((Creatures[id].present == 1) != (mode == 0)) return false;
  return true;
}

bool CreatureStandsOn(int creature, int x, int y, int map) {
  if (!CheckCreature(creature, "square test")) return false;
  const CreatureRecord& c = Creatures[creature];
  return c.squareX == x && c.squareY == y && c.map == map;
}

void RestoreAndRefill(int creature) {
  if (!CheckCreature(creature, "restore")) return;
  RestoreCreature(creature);
  CreatureRecord& c = Creatures[creature];
  for (int level = 0; level < 9; ++level) c.spellsLeft[level] = c.spellsPerDay[level];
}

bool CreatureSeesParty(int creature) {
  if (!CheckCreature(creature, "sight test")) return false;
  const int slot = Creatures[creature].fighterSlot;
  if (slot < 0 || slot >= FighterCount || slot >= kFighterSlots || FighterSlots[slot].creature != creature) return false;
  return SlotSeesParty(slot);
}

void SetGoalWords(int creature, int32_t value, int32_t y, int32_t index) {
  if (!CheckCreature(creature, "goal")) return;
  if (!ScriptIndexFits(index, 3, "goal", "word")) return;
  CreatureRecord& c = Creatures[creature];
  int32_t* words[3] = {&c.patrol[0][kWaypointX], &c.patrol[0][kWaypointY], &c.destinationX};
  *words[index] = value;
  if (y >= 1) c.destinationY = y;
}

void SetBehaviourWord(int creature, int32_t table, int32_t index, int32_t value) {
  if (!CheckCreature(creature, "behaviour")) return;
  CreatureRecord& c = Creatures[creature];
  if (table == 0) {
    if (!ScriptIndexFits(index, kBehaviourWordCount, "behaviour", "percentage")) return;
    c.behaviour[index] = value;
  } else if (table == 1) {
    if (!ScriptIndexFits(index, static_cast<int>(std::size(c.scriptWords)), "behaviour", "reaction word")) return;
    c.scriptWords[index] = value;
  }
}

// --- Camera -----------------------------------------------------------------------

void ScriptScrollTo(int creature) {
  if (creature == -1) return;
  if (CheckCreature(creature, "scroll")) StrictScrollTo(creature, -1, -1);
}

void HighlightTalker(int32_t colour) {
  if (ScriptSpeaker == -1) return;
  HighlightCreature(ScriptSpeaker, colour, "(Cycle 5).");
  ScriptScrollTo(ScriptSpeaker);
}

void CentreViewOnCreature(int creature) {
  if (!CheckCreature(creature, "centre view")) return;
  const CreatureRecord& c = Creatures[creature];
  ViewOriginX = c.pixelX + c.footprintWidth.current * kPixelsPerSquare / 2 - ViewWidth() / 2;
  ViewOriginY = c.pixelY + c.footprintHeight.current * kPixelsPerSquare / 2 - ViewHeight() / 2;
  ClampCamera();
}

void CentreViewOnCurrentCharacter() {
  CentreViewOnCreature(PartyLeader < static_cast<uint32_t>(kPartySize) ? static_cast<int>(PartyLeader) : 0);
}

void CentreViewOnFocusSquare() {
  ViewOriginX = FocusSquareX * kPixelsPerSquare - ViewWidth() / 2;
  ViewOriginY = FocusSquareY * kPixelsPerSquare - ViewHeight() / 2;
  ClampCamera();
}

// --- Sound and music --------------------------------------------------------------

void PlayScriptSound(int sound) {
  if (!ScriptIndexFits(sound, kSoundEffectLast + 1, "sound", "effect")) return;
  const int volume = OptionWords[sound >= 12 && sound <= 26 ? kOptionAmbientVolume : kOptionSoundVolume];
  if (volume <= 0) return;
  StopChannel(kScriptSoundChannel);
  PlaySound(sound, kScriptSoundChannel, 1, volume);
}

void SwitchScriptMusic(int track) {
  if (!ScriptIndexFits(track, kMusicTrackCount, "music", "track")) return;
  if (OptionWords[kOptionMusicVolume] == 0 || track == CurrentMusicTrack) return;
  if (CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount)
    MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
  StopMusic();
  if (track != 0) PlayMusic(track, 0, 1);
}

void ForgetMusicPosition(int track) {
  if (!ScriptIndexFits(track, kMusicTrackCount, "forget music", "track")) return;
  MusicTrackPositions[track] = 0;
}

// --- Game flow and saving --------------------------------------------------------

void EndTheGame() {
  GameRunningFlag = 0;
  GameEndedFlag = 1;
  SetFirstPage("Main Menu", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  ResetHover();
}

int SaveToNewSlot() {
  if (OptionWords[kOptionIronmanMode] != 0) return -1;
  const int result = WriteSavedGame(FindFreeSaveSlot());
  if (result != kSaveOk) ScriptDebugLine("save: %s", SavedGameMessage(result));
  return result;
}

int SaveWithPartyAt(int map, int x, int y, int32_t facing) {
  if (OptionWords[kOptionIronmanMode] != 0) return -1;
  if (!CheckMap(map, "save elsewhere") || !CheckSquare(x, y, "save elsewhere")) return -1;
  if (!ScriptIndexFits(facing, 8, "save elsewhere", "facing")) return -1;
  // The map being left keeps its edits in its stored record, as a map switch
  // would; the running game is put back as it was after the save.
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) StoredMaps[CurrentMapNumber] = CurrentMap;
  static MapRecord keptMap;
  static CreatureRecord keptParty[kPartySize];
  keptMap = CurrentMap;
  const int32_t keptNumber = CurrentMapNumber;
  std::copy(Creatures, Creatures + kPartySize, keptParty);
  CurrentMapNumber = map;
  CurrentMap = StoredMaps[map];
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    c.map = map;
    c.squareX = c.nextX = x;
    c.squareY = c.nextY = y;
    c.pixelX = x * kPixelsPerSquare;
    c.pixelY = y * kPixelsPerSquare;
    c.facing = facing + 1;
  }
  // The save refuses a place the load would: a map the adventure does not
  // save, or a square outside the map.
  const int result = WriteSavedGame(FindFreeSaveSlot());
  if (result != kSaveOk) ScriptDebugLine("save elsewhere: map %i square (%i, %i): %s", map, x, y, SavedGameMessage(result));
  CurrentMap = keptMap;
  CurrentMapNumber = keptNumber;
  std::copy(keptParty, keptParty + kPartySize, Creatures);
  return result;
}
