#include "frontend/saved_games.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "adventure/quest_journal.h"
#include "combat/actions/action_executor.h"
#include "combat/actions/attack_actions.h"
#include "combat/actions/attack_support.h"
#include "combat/actions/combat_movement.h"
#include "combat/actions/cursor_checks.h"
#include "combat/actions/displacement.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/reactions.h"
#include "combat/actions/roll_previews.h"
#include "combat/actions/start_of_combat.h"
#include "combat/actions/walking.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_preview.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/turn_upkeep.h"
#include "engine/looping_sounds.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "engine/widgets.h"
#include "frontend/creature_roster.h"
#include "frontend/game_reset.h"
#include "frontend/save_load_screen.h"
#include "frontend/saved_game_files.h"
#include "engine/frame.h"
#include "map/map_switching.h"
#include "map/map_view.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/work_team.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/game_screen.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/queued_actions.h"
#include "state/script_state.h"
#include "state/text_entry.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

static_assert(std::endian::native == std::endian::little);
static_assert(sizeof CraftedWeapons == 3760000);
static_assert(sizeof MapMemory == kMapMemoryBytes);
static_assert(sizeof GameFlags == kGameFlagsBytes);

PlayTimeClock PlayTime;
SavedGameDetails SaveDetails;

namespace {

constexpr int kIntroFirstMap = 21;
constexpr int kIntroLastMap = 24;

// A path of the slot's folder: "SaveGame\<adventure>\<slot><suffix>".
struct SlotPath {
  char text[300];
  SlotPath(int slot, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    const int n = std::snprintf(text, sizeof text, "SaveGame\\%s\\%i", AdventureFolder, slot);
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + n, sizeof text - n, format, args);
    va_end(args);
  }
  operator const char*() const { return text; }
};

// The new folder a save is written into, and the slot's previous folder
// while the new one takes its place.
constexpr const char* kNewFolder = ".new";
constexpr const char* kOldFolder = ".old";

// The maps of the active adventure.
int FirstMap() { return IntroductoryAdventureFlag == 1 ? kIntroFirstMap : 0; }
int LastMap() { return IntroductoryAdventureFlag == 1 ? kIntroLastMap : kStoredMapCount - 1; }

// What a save that stopped half-way left of a slot is put right: a slot
// folder that was moved aside for its new one comes back, and a new folder
// that never took its place goes.
void RecoverSlot(int slot) {
  const SlotPath folder(slot, "%s", ""), old(slot, "%s", kOldFolder), fresh(slot, "%s", kNewFolder);
  if (platform::GameFolderExists(old)) {
    if (!platform::GameFolderExists(folder))
      platform::RenameGamePath(old, folder);
    else
      platform::RemoveGameFolderTree(old);
  }
  if (platform::GameFolderExists(fresh)) platform::RemoveGameFolderTree(fresh);
}

// ------------------------------------------------------------------ saving

bool InsideExtent(int32_t x, int32_t y, int32_t width, int32_t height) {
  return x >= 0 && y >= 0 && x < width && y < height;
}

// A map's extent as the grids hold it: what the load asks of every map file.
bool MapExtentFits(const MapRecord& map) {
  return map.height >= 0 && map.height <= kMapSide && map.width >= 0 && map.width <= kMapSide;
}

bool WriteFile(int slot, const char* name, const void* data, size_t size) {
  return platform::WriteGameFile(SlotPath(slot, "%s\\%s", kNewFolder, name), data, size);
}

// Every file of the new folder and its names on the disk, once all are written.
bool SyncWrittenFiles(int slot) { return platform::SyncGameFolderTree(SlotPath(slot, "%s", kNewFolder)); }

// A party member counts toward the average level when it has a name and is
// neither dead, petrified nor unconscious.
bool OutOfTheGame(const CreatureRecord& c) {
  for (const ConditionEntry& e : c.conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if ((e.id == kCondDead || e.id == kCondPetrified || e.id == kCondUnconscious) && e.duration > 0) return true;
  }
  return false;
}

int AveragePartyLevel() {
  int64_t sum = 0;
  int count = 0;
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    if (c.name[0] == '\0' || OutOfTheGame(c)) continue;
    sum += c.level;
    ++count;
  }
  return count == 0 ? 0 : static_cast<int>(sum / count);
}

void BuildDetails() {
  SaveDetails = SavedGameDetails{};
  SavedGameDetails& d = SaveDetails;
  d.gold = PartyGold;
  std::memcpy(d.hitDieRolls, HitDieRolls, sizeof d.hitDieRolls);
  d.worldX = static_cast<int32_t>(PartyWorldSquare[0]);
  d.worldY = static_cast<int32_t>(PartyWorldSquare[1]);
  d.timeOfDay = TimeOfDayMinutes;
  d.rainCounter = RainAnimationCounter;
  d.rainFlag = StormActive;
  d.rainTimeLeft = RainTimeLeft;
  std::memcpy(d.recentSpells, RecentSpells, sizeof d.recentSpells);
  std::memcpy(d.volumes, &OptionWords[kOptionSoundVolume], sizeof d.volumes);
  std::memcpy(d.firstRun, &OptionWords[kOptionDisplayThreatAreas], sizeof d.firstRun);
  d.firstRun[kOptionCombatRollsPanelWord - kOptionDisplayThreatAreas] = CombatRollsPanelShown == 1 ? 1 : 0;
  d.firstRun[kOptionActionPanelWord - kOptionDisplayThreatAreas] =
      ActionsPanelShown == 0 ? 0 : (ReadyModeFlag == 1 ? 2 : 1);
  OptionWords[kOptionSelectedFighterModeWord] = WeaponMode;
  std::memcpy(d.secondRun, &OptionWords[kOptionAutomaticEndOfTurn], sizeof d.secondRun);
  d.setOutAbilityRule = OptionWords[kOptionSetOutAbilityRule];
  d.scrollScribeCount = OptionWords[kOptionScrollScribeCount];
  d.scoreBonus = ScoreBonusPoints;
  UpdatePlayTime();
  d.averageLevel = AveragePartyLevel();
  std::memcpy(d.mapName, CurrentMap.name, sizeof d.mapName - 1);
}

// The page view given up for the plain game view.
void ReturnToGameView() {
  std::memset(PageHistory, 0, sizeof PageHistory[0]);
  PageDepth = 0;
  PageHighestDepth = 0;
  ScreenMode = kModeExploring;
  SaveListScroll = 0;
  SaveListMaxScroll = -1;
  SaveListHovered = -1;
  TextEntryMode = kTextEntryNone;
  ResetHover();
  CursorShape = 8;
}

// The files a save builds before it writes them.
struct SaveImages {
  std::vector<uint8_t> roster;
  std::vector<uint8_t> journal;
  uint8_t details[kDetailsBytes];
};

// Builds the roster, the journal and the details, and checks the whole game
// as the load will check the slot, before anything is written: 0, or the
// save's code for the first file the load would refuse, in the load's order
// (the current map already stored back).
int BuildAndCheckSave(SaveImages* out) {
  for (const CraftedWeaponRecord& row : CraftedWeapons)
    if (!CraftedRowValuesFit(row)) return kSaveWeaponsFailed;
  PackCreatureRoster(&out->roster);
  const std::vector<uint8_t>& roster = out->roster;
  if (RosterRecordCount(roster.size()) < 0 || FirstUnfitRosterRecord(roster.data(), roster.size()) >= 0)
    return kSaveCharactersFailed;
  for (int n = FirstMap(); n <= LastMap(); ++n)
    if (!MapExtentFits(StoredMaps[n])) return kSaveMapsFailed;
  const CreatureRecord& lead = Creatures[0];
  if (lead.map < FirstMap() || lead.map > LastMap() ||
      !InsideExtent(lead.squareX, lead.squareY, StoredMaps[lead.map].width, StoredMaps[lead.map].height))
    return kSaveCharactersFailed;
  if (IntroductoryAdventureFlag != 1 && !MapExtentFits(WorldMap)) return kSaveWorldMapFailed;
  EncodeJournal(QuestJournal, &out->journal);
  BuildDetails();
  EncodeDetails(SaveDetails, out->details);
  SavedGameDetails details;
  DecodeDetails(out->details, sizeof out->details, &details);
  if (!DetailsValuesFit(details)) return kSaveDetailsFailed;
  return kSaveOk;
}

// Writes every file of the running game into the slot's new folder; 0 or
// the failure's code.
int WriteSlotFiles(int slot, const SaveImages& images) {
  if (!WriteFile(slot, "SaveChar.cml", images.roster.data(), images.roster.size())) return kSaveCharactersFailed;
  if (!WriteFile(slot, "SaveWeapon.wml", CraftedWeapons, sizeof CraftedWeapons)) return kSaveWeaponsFailed;
  if (!platform::MakeGameFolder(SlotPath(slot, "%s\\Maps", kNewFolder))) return kSaveMapsFailed;
  std::vector<uint8_t> bytes(kMapRecordBytes);
  for (int n = FirstMap(); n <= LastMap(); ++n) {
    WriteMapImage(StoredMaps[n], bytes.data());
    char name[32];
    std::snprintf(name, sizeof name, "Maps\\Map%i.dat", n);
    if (!WriteFile(slot, name, bytes.data(), kMapRecordBytes)) return kSaveMapsFailed;
  }
  ReturnToGameView();
  if (IntroductoryAdventureFlag != 1) {
    WriteMapImage(WorldMap, bytes.data());
    if (!WriteFile(slot, "Maps\\WorldMap.dat", bytes.data(), kMapRecordBytes)) return kSaveWorldMapFailed;
  }
  if (!WriteFile(slot, "MapMemory.dat", MapMemory, sizeof MapMemory)) return kSaveMapMemoryFailed;
  if (!WriteFile(slot, "GameFlags.dat", GameFlags, sizeof GameFlags)) return kSaveGameFlagsFailed;
  if (!WriteFile(slot, "Journal.dat", images.journal.data(), images.journal.size())) return kSaveJournalFailed;
  if (!WriteFile(slot, "Achievements.dat", AchievementProgress, sizeof AchievementProgress))
    return kSaveAchievementsFailed;
  if (!WriteFile(slot, "Details.dat", images.details, sizeof images.details)) return kSaveDetailsFailed;
  return SyncWrittenFiles(slot) ? kSaveOk : kSavePlaceFailed;
}

// The complete new folder takes the slot's place; the previous folder is
// kept aside until then and comes back when that fails.
bool PutNewFolderInPlace(int slot) {
  const SlotPath folder(slot, "%s", ""), old(slot, "%s", kOldFolder), fresh(slot, "%s", kNewFolder);
  const bool hadGame = platform::GameFolderExists(folder);
  if (hadGame && !platform::RenameGamePath(folder, old)) return false;
  if (!platform::RenameGamePath(fresh, folder)) {
    if (hadGame) platform::RenameGamePath(old, folder);
    return false;
  }
  char adventure[300];
  std::snprintf(adventure, sizeof adventure, "SaveGame\\%s", AdventureFolder);
  platform::SyncGameFolder(adventure);
  if (hadGame) platform::DiscardGameFolder(old);
  return true;
}

// ----------------------------------------------------------------- loading

// Everything a slot holds, read and checked before any of it is used; the
// file images are decoded into the running game only once all have passed.
// The large files are read into room of their own, each file's first byte
// where the system's file cache copies fastest.
struct LoadStage {
  template <size_t N>
  struct alignas(platform::kFileRoomAlignment) Room {
    uint8_t bytes[N];
  };
  Room<kLargestRosterBytes> roster;
  size_t rosterBytes = 0;
  Room<sizeof CraftedWeapons> crafted;
  // The stored maps' images, then the world map's.
  Room<kMapRecordBytes> maps[kStoredMapCount + 1];
  Room<kMapMemoryBytes> memory;
  Room<kGameFlagsBytes> flags;
  Room<kLargestJournalBytes> journalFile;
  Room<kAchievementProgressSize> achievementsFile;
  Room<kDetailsBytes> detailsFile;
  bool mapPresent[kStoredMapCount] = {};
  const uint8_t* Map(int n) const { return maps[n].bytes; }
  uint8_t* Map(int n) { return maps[n].bytes; }
  std::vector<JournalEntry> journal;
  uint8_t achievements[kAchievementProgressSize] = {};
  SavedGameDetails details;
};
// The stage in room of large pages where the system gives them: the copies
// out of the file cache into it and out of it into the game run faster.
LoadStage* Stage() {
  static LoadStage* stage = [] {
    void* room = platform::LargePageRoom(sizeof(LoadStage));
    return room ? new (room) LoadStage : new LoadStage;
  }();
  return stage;
}

int32_t ImageWord(const uint8_t* image, size_t at) {
  int32_t w;
  std::memcpy(&w, image + at, 4);
  return w;
}

// A map file: the record's exact size, and a width and height the grids hold.
bool MapImageValid(const uint8_t* image, size_t size) {
  if (size != kMapRecordBytes) return false;
  const int32_t height = ImageWord(image, offsetof(MapRecord, height));
  const int32_t width = ImageWord(image, offsetof(MapRecord, width));
  return height >= 0 && height <= kMapSide && width >= 0 && width <= kMapSide;
}

// Creature 0 must stand inside a map the slot holds: the load enters that map there.
bool LeaderPlaceValid(const LoadStage& s) {
  const int32_t map = ImageWord(s.roster.bytes, 604), x = ImageWord(s.roster.bytes, 608), y = ImageWord(s.roster.bytes, 612);
  if (map < 0 || map >= kStoredMapCount || !s.mapPresent[map]) return false;
  const uint8_t* image = s.Map(map);
  return InsideExtent(x, y, ImageWord(image, offsetof(MapRecord, width)), ImageWord(image, offsetof(MapRecord, height)));
}

// Creatures in runs of this many are decoded side by side.
constexpr int kRosterPartRecords = 32;

int ReadSlotFiles(int slot, LoadStage* s) {
  // Every file through the slot's folder, opened once.
  const platform::GameFolderFiles files(SlotPath(slot, "%s", ""));
  using platform::GameFolderFiles;
  // The other files at once, each into its room, while this thread reads
  // the characters and checks them beside them. The files are checked below
  // one after the other, the first fault refusing the slot.
  constexpr int kCrafted = 0, kFirstMap = 1, kFlags = kFirstMap + kStoredMapCount, kJournal = kFlags + 1,
                kAchievements = kJournal + 1, kDetails = kAchievements + 1, kMemory = kDetails + 1,
                kWorld = kMemory + 1, kFiles = kWorld + 1;
  char mapNames[kStoredMapCount][32];
  GameFolderFiles::Wanted read[kFiles];
  read[kCrafted] = {"SaveWeapon.wml", sizeof CraftedWeapons, s->crafted.bytes};
  for (int n = 0; n < kStoredMapCount; ++n) {
    std::snprintf(mapNames[n], sizeof mapNames[n], "Maps\\Map%i.dat", n);
    read[kFirstMap + n] = {mapNames[n], kMapRecordBytes, s->Map(n)};
  }
  read[kFlags] = {"GameFlags.dat", kGameFlagsBytes, s->flags.bytes};
  // Of the journal, the achievements and the details only their start is read.
  read[kJournal] = {"Journal.dat", sizeof s->journalFile.bytes, s->journalFile.bytes};
  read[kAchievements] = {"Achievements.dat", kAchievementProgressSize, s->achievementsFile.bytes};
  read[kDetails] = {"Details.dat", kDetailsBytes, s->detailsFile.bytes};
  for (int file : {kJournal, kAchievements, kDetails}) read[file].extent = platform::ReadExtent::kStart;
  read[kMemory] = {"MapMemory.dat", kMapMemoryBytes, s->memory.bytes};
  read[kWorld] = {"Maps\\WorldMap.dat", kMapRecordBytes, s->Map(kStoredMapCount)};
  // The introductory adventure has no world map.
  const bool world = IntroductoryAdventureFlag != 1;
  bool rosterFits = false;
  files.ReadMany(read, world ? kFiles : kWorld, [s, &files, &rosterFits] {
    // The records past the last creature's are not read.
    rosterFits = files.Read("SaveChar.cml", kLargestRosterBytes, s->roster.bytes, &s->rosterBytes,
                            platform::ReadExtent::kStart) == GameFolderFiles::kRead &&
                 RosterRecordCount(s->rosterBytes) >= 0 && FirstUnfitRosterRecord(s->roster.bytes, s->rosterBytes) < 0;
  });

  auto isRead = [&read](int file, size_t size) {
    return read[file].result == GameFolderFiles::kRead && read[file].size == size;
  };
  if (!isRead(kCrafted, sizeof CraftedWeapons) || FirstUnfitCraftedRow(s->crafted.bytes) >= 0)
    return kLoadWeaponsFailed;
  if (!rosterFits) return kLoadCharactersFailed;

  // A missing map is an empty one; a short or impossible one is damage.
  for (int n = 0; n < kStoredMapCount; ++n) {
    const GameFolderFiles::Wanted& map = read[kFirstMap + n];
    s->mapPresent[n] = map.result != GameFolderFiles::kMissing;
    if (s->mapPresent[n] && (map.result != GameFolderFiles::kRead || !MapImageValid(s->Map(n), map.size)))
      return kLoadMapsFailed;
  }
  if (!LeaderPlaceValid(*s)) return kLoadCharactersFailed;
  if (world && (read[kWorld].result != GameFolderFiles::kRead ||
                !MapImageValid(s->Map(kStoredMapCount), read[kWorld].size)))
    return kLoadWorldMapFailed;

  if (!isRead(kMemory, kMapMemoryBytes)) return kLoadMapMemoryFailed;
  if (!isRead(kFlags, kGameFlagsBytes)) return kLoadGameFlagsFailed;

  // The journal and the achievements never refuse a slot: what cannot be
  // read of them starts afresh (a damaged journal entry and those after it).
  s->journal.assign(kJournalEntryCount, JournalEntry{});
  if (read[kJournal].result == GameFolderFiles::kRead)
    DecodeJournal(s->journalFile.bytes, read[kJournal].size, &s->journal);
  std::memset(s->achievements, 0, sizeof s->achievements);
  if (read[kAchievements].result == GameFolderFiles::kRead)
    DecodeAchievements(s->achievementsFile.bytes, read[kAchievements].size, s->achievements);

  if (read[kDetails].result != GameFolderFiles::kRead) return kLoadDetailsFailed;
  DecodeDetails(s->detailsFile.bytes, read[kDetails].size, &s->details);
  if (!DetailsValuesFit(s->details)) return kLoadDetailsFailed;
  return kSaveOk;
}

// The details' words back in the running game.
void ScatterDetails(const SavedGameDetails& d) {
  PartyGold = d.gold;
  std::memcpy(HitDieRolls, d.hitDieRolls, sizeof HitDieRolls);
  PartyWorldSquare[0] = static_cast<uint32_t>(d.worldX);
  PartyWorldSquare[1] = static_cast<uint32_t>(d.worldY);
  TimeOfDayMinutes = d.timeOfDay;
  RainAnimationCounter = d.rainCounter;
  StormActive = d.rainFlag;
  RainTimeLeft = d.rainTimeLeft;
  std::memcpy(RecentSpells, d.recentSpells, sizeof RecentSpells);
  std::memcpy(&OptionWords[kOptionSoundVolume], d.volumes, sizeof d.volumes);
  std::memcpy(&OptionWords[kOptionDisplayThreatAreas], d.firstRun, sizeof d.firstRun);
  std::memcpy(&OptionWords[kOptionAutomaticEndOfTurn], d.secondRun, sizeof d.secondRun);
  OptionWords[kOptionSetOutAbilityRule] = d.setOutAbilityRule;
  OptionWords[kOptionScrollScribeCount] = d.scrollScribeCount;
  ScoreBonusPoints = d.scoreBonus;
  WeaponMode = OptionWords[kOptionSelectedFighterModeWord];

  CombatRollsPanelShown = OptionWords[kOptionCombatRollsPanelWord] == 1 ? 1 : 0;
  switch (OptionWords[kOptionActionPanelWord]) {
    case 0: ActionsPanelShown = 0; ReadyModeFlag = 0; break;
    case 1: ActionsPanelShown = 1; ReadyModeFlag = 0; break;
    case 2: ActionsPanelShown = 1; ReadyModeFlag = 1; break;
    default: break;
  }
  ApplyCombatSpeedOption();
  ApplyWalkSpeedOption();
  PlayTime.baseHours = d.playHours;
  PlayTime.baseMinutes = d.playMinutes;
  PlayTime.since = platform::CurrentLocalTime().stamp;
}

// The crafted items and the creature table from their images, in parts
// filled side by side while this thread does `beside` (work that touches
// neither). The creatures are not recomputed. Returns the number of creature
// records read.
int FillCraftedAndCreatures(LoadStage* s, const std::function<void()>& beside) {
  static constexpr int kCraftedPartRows = 160;  // about a map's bytes
  constexpr int kCraftedParts = (kCraftedRows + kCraftedPartRows - 1) / kCraftedPartRows;
  const int records = RosterRecordCount(s->rosterBytes);
  const int recordParts = (records + kRosterPartRecords - 1) / kRosterPartRecords;
  // The free records past the records read, in longer runs: they are only
  // looked at (most are zero already).
  static constexpr int kFreePartRecords = 8 * kRosterPartRecords;
  const int freeFrom = std::min(recordParts * kRosterPartRecords, kCreatureCount);
  const int freeParts = (kCreatureCount - freeFrom + kFreePartRecords - 1) / kFreePartRecords;
  platform::RunParts(
      kCraftedParts + recordParts + freeParts,
      [=](size_t part) {
        const int p = static_cast<int>(part);
        if (p < kCraftedParts) {
          const int first = p * kCraftedPartRows;
          DecodeCraftedRows(s->crafted.bytes + static_cast<size_t>(first) * kCraftedRowBytes,
                            &CraftedWeapons[first], std::min(kCraftedPartRows, kCraftedRows - first));
        } else if (p < kCraftedParts + recordParts) {
          const int first = (p - kCraftedParts) * kRosterPartRecords;
          DecodeRosterRecords(s->roster.bytes, s->rosterBytes, Creatures, first, first + kRosterPartRecords);
        } else {
          const int first = freeFrom + (p - kCraftedParts - recordParts) * kFreePartRecords;
          DecodeRosterRecords(s->roster.bytes, s->rosterBytes, Creatures, first, first + kFreePartRecords);
        }
      },
      beside);
  return records;
}

// The stored maps, the world map and the map memory from their images, in
// parts filled side by side while this thread does `beside` (work that
// touches none of them).
void FillMaps(LoadStage* s, const std::function<void()>& beside) {
  constexpr int kMapParts = kStoredMapCount + 1;  // the world map last
  static constexpr size_t kMemoryPartBytes = kMapRecordBytes;
  constexpr int kMemoryParts = static_cast<int>((sizeof MapMemory + kMemoryPartBytes - 1) / kMemoryPartBytes);
  const bool world = IntroductoryAdventureFlag != 1;
  platform::RunParts(
      kMapParts + kMemoryParts,
      [=](size_t part) {
        const int p = static_cast<int>(part);
        if (p < kMapParts) {
          const bool present = p < kStoredMapCount ? s->mapPresent[p] : world;
          MapRecord& map = p < kStoredMapCount ? StoredMaps[p] : WorldMap;
          if (present)
            StreamMapImage(s->Map(p), &map);
          else
            ResetWords(map);
        } else {
          const size_t from = (p - kMapParts) * kMemoryPartBytes;
          platform::StreamBytes(reinterpret_cast<uint8_t*>(MapMemory) + from, s->memory.bytes + from,
                                std::min(kMemoryPartBytes, sizeof MapMemory - from));
        }
      },
      beside);
}

// Puts a checked slot in place of the running game and enters creature 0's map.
void InstallStage(LoadStage* s) {
  // The crafted items and the creature table are written whole, each once,
  // while the rest of the game being left is cleared beside them: nothing
  // of it survives but the adventure it belongs to, and the map being left
  // is gone as in a new game.
  const int records = FillCraftedAndCreatures(s, [] {
    const uint8_t introductory = IntroductoryAdventureFlag, demoChosen = DemoChosenFlag;
    char folder[sizeof AdventureFolder];
    std::memcpy(folder, AdventureFolder, sizeof folder);
    ResetGameStateButCreaturesAndMaps();
    ResetWords(CurrentMap);
    CurrentMapNumber = 0;
    IntroductoryAdventureFlag = introductory;
    DemoChosenFlag = demoChosen;
    std::memcpy(AdventureFolder, folder, sizeof folder);
    GameRunningFlag = 1;
    StopAllLoopingSounds();
    ResetTransientState();
    ClearGameStateArrays();
  });
  // Then the maps and the map memory (which the clearing emptied), while the
  // creatures are recomputed beside them (a recomputation reads no map but
  // the current one, cleared above).
  FillMaps(s, [records] { RecomputeRoster(records); });
  std::memcpy(GameFlags, s->flags.bytes, sizeof GameFlags);
  QuestJournal.swap(s->journal);
  std::memcpy(AchievementProgress, s->achievements, sizeof AchievementProgress);
  ScatterDetails(s->details);

  // The party explores creature 0's map from where it stood; the creatures
  // the slot holds are all there are (no groups are placed afresh). A game
  // saved with its leader fallen is led by its first standing member.
  PartyLeader = 0;
  ReplaceFallenLeader();
  const CreatureRecord& lead = Creatures[0];
  CurrentMapNumber = -1;  // nothing of the map being left is stored back
  CurrentMap = StoredMaps[lead.map];
  // The party gathers on the leader's square; its fallen still lie on the
  // squares the game kept them on, on that map.
  FallenPlace fallen[kFallenPlaceCount];
  for (int m = 0; m < kPartySize && m < kFallenPlaceCount; ++m)
    if (Creatures[m].present != 1 && Creatures[m].map == lead.map) fallen[m] = {Creatures[m].squareX, Creatures[m].squareY};
  SwitchLocalMapWithFallen(lead.map, lead.squareX, lead.squareY, lead.facing, 0, 1, fallen);
  ScreenMode = kModeExploring;
  SquareScriptFlag = 1;
  SpellInProgress = -1;
  UpdatePartyVision();
  ReturnToGameView();
  // In a storm on a map open to the rain the next frame takes the storm's tint at once.
  if (StormActive == 1 && CurrentMap.rain == 1)
    SetTintAtOnce = 1;
  else if (CurrentMap.rain == 0)
    TintTarget[0] = TintTarget[1] = TintTarget[2] = 255;
  UpdatePartyAreaCondition();
  CurrentTurnIndex = 0;
  SetMusicVolume(OptionWords[kOptionMusicVolume]);
}

}  // namespace

const char* SavedGameMessage(int code) {
  switch (code) {
    case kLoadCharactersFailed: return "Could not load characters";
    case kLoadWeaponsFailed: return "Could not load weapons";
    case kLoadMapsFailed: return "Could not load maps";
    case kLoadWorldMapFailed: return "Could not load world map";
    case kLoadMapMemoryFailed: return "Could not load map memory";
    case kLoadGameFlagsFailed: return "Could not load game flags";
    case kLoadDetailsFailed: return "Could not load game details";
    case kSaveCharactersFailed: return "Could not save characters";
    case kSaveWeaponsFailed: return "Could not save weapons";
    case kSaveMapsFailed: return "Could not save maps";
    case kSaveWorldMapFailed: return "Could not save world map";
    case kSaveMapMemoryFailed: return "Could not save map memory";
    case kSaveGameFlagsFailed: return "Could not save game flags";
    case kSaveDetailsFailed: return "Could not save game details";
    case kSavePlaceFailed: return "Could not save game";
    case kSaveJournalFailed: return "Could not save journal";
    case kSaveAchievementsFailed: return "Could not save achievements";
    case kDeleteCharactersFailed: return "Could not delete characters";
    case kDeleteWeaponsFailed: return "Could not delete weapons";
    case kDeleteMapsFailed: return "Could not delete maps";
    case kDeleteWorldMapFailed: return "Could not delete world map";
    case kDeleteMapMemoryFailed: return "Could not delete map memory";
    case kDeleteGameFlagsFailed: return "Could not delete game flags";
    case kDeleteDetailsFailed: return "Could not delete game details";
    case kDeleteJournalFailed: return "Could not delete journal";
    case kDeleteNoGame: return "No saved game to delete";
    default: return nullptr;
  }
}

int FindFreeSaveSlot() {
  for (int slot = 1;; ++slot) {
    const SlotPath details(slot, "\\Details.dat");
    if (platform::GameFileExists(details)) continue;
    // A slot a stopped save left aside is the slot's game: it comes back first.
    RecoverSlot(slot);
    if (!platform::GameFileExists(details)) return slot;
  }
}

bool CloseSaveSlotGap(int deleted, int count) {
  if (count > 1) {
    if (deleted != count)
      for (int k = deleted + 1; k <= count; ++k) platform::RenameGamePath(SlotPath(k, "%s", ""), SlotPath(k - 1, "%s", ""));
    --SaveListMaxScroll;
  }
  if (SaveListMaxScroll < 0) SaveListMaxScroll = 0;
  return true;
}

int WriteSavedGame(int slot) {
  // Slot 0 holds the adventure's prepared start: it is never written.
  if (slot < 1) return kSaveCharactersFailed;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (IsValidCreature(id)) RecomputeCreature(id, 0);
  }
  // The current map goes back into its stored place first, so that its changes are kept.
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) StoredMaps[CurrentMapNumber] = CurrentMap;
  // A game the load would refuse is not written.
  SaveImages images;
  int result = BuildAndCheckSave(&images);
  if (result != kSaveOk) return result;
  RecoverSlot(slot);
  const SlotPath fresh(slot, "%s", kNewFolder);
  if (!platform::MakeGameFolder(fresh)) return kSaveCharactersFailed;
  result = WriteSlotFiles(slot, images);
  if (result == kSaveOk && !PutNewFolderInPlace(slot)) result = kSavePlaceFailed;
  if (result != kSaveOk) platform::RemoveGameFolderTree(fresh);
  return result;
}

int LoadSavedGame(int slot) {
  const int result = CheckSavedGame(slot);
  if (result != kSaveOk) return result;
  InstallStage(Stage());
  return kSaveOk;
}

int CheckSavedGame(int slot) {
  if (slot < 0) return kLoadCharactersFailed;
  RecoverSlot(slot);
  return ReadSlotFiles(slot, Stage());
}

int DeleteSavedGame(int slot) {
  // Slot 0 holds the adventure's prepared start: it is never deleted.
  if (slot < 1) return kDeleteCharactersFailed;
  RecoverSlot(slot);
  // A slot without characters or details holds no game: nothing is removed.
  const SlotPath roster(slot, "\\SaveChar.cml"), details(slot, "\\Details.dat");
  if (!platform::GamePathExists(roster) && !platform::GamePathExists(details)) return kDeleteNoGame;
  // A file that is not there counts as removed: a slot that never had one
  // (a journal, say) still goes.
  auto remove = [](const SlotPath& path) { return !platform::GamePathExists(path) || platform::RemoveGameFile(path); };
  remove(SlotPath(slot, "\\Achievements.dat"));
  if (!remove(SlotPath(slot, "\\SaveChar.cml"))) return kDeleteCharactersFailed;
  if (!remove(SlotPath(slot, "\\SaveWeapon.wml"))) return kDeleteWeaponsFailed;
  for (int n = FirstMap(); n <= LastMap(); ++n)
    if (!remove(SlotPath(slot, "\\Maps\\Map%i.dat", n))) return kDeleteMapsFailed;
  if (IntroductoryAdventureFlag != 1 && !remove(SlotPath(slot, "\\Maps\\WorldMap.dat"))) return kDeleteWorldMapFailed;
  if (!remove(SlotPath(slot, "\\MapMemory.dat"))) return kDeleteMapMemoryFailed;
  if (!remove(SlotPath(slot, "\\GameFlags.dat"))) return kDeleteGameFlagsFailed;
  if (!remove(SlotPath(slot, "\\Journal.dat"))) return kDeleteJournalFailed;
  if (!remove(SlotPath(slot, "\\Details.dat"))) return kDeleteDetailsFailed;
  // Whatever else the folder held goes with it, so that the slots above can move down into its place.
  platform::RemoveGameFolderTree(SlotPath(slot, "%s", ""));
  return kSaveOk;
}

bool ResetTransientState() {
  InCombat = 0;
  AiPause = 0;
  ResetCombatActionState();
  ResetTurnOrderState();
  ResetQueuedActionsState();
  ResetCurrentCastState();
  ResetActionExecutorState();
  ResetAttackActionsState();
  ResetAttackSupportState();
  ResetCombatMovementState();
  ResetCursorChecksState();
  ResetDisplacementState();
  ResetReactionsState();
  ResetRollPreviewsState();
  ResetStartOfCombatState();
  ResetWalkingState();
  ResetAttackRollState();
  ResetCombatSequencerState();
  ResetSpellPreviewState();
  ResetCombatCycleState();
  ResetComputerDecisionState();
  ResetTurnUpkeepState();
  ForgetWordsOfTurns();
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  ChosenItem = -1;
  TradePartner = -1;
  CraftCostGold = 0;
  CraftCostXP = 0;
  SpellInProgress = -1;
  return true;
}

bool ClearGameStateArrays() {
  std::memset(FighterMarkWords, 0, sizeof FighterMarkWords);
  ClearCombatEvents();
  for (int32_t& t : AreaTargetList) t = -1;
  return true;
}

void StartPlayTimeClock() {
  PlayTime.baseHours = 0;
  PlayTime.baseMinutes = 0;
  PlayTime.since = platform::CurrentLocalTime().stamp;
}

bool UpdatePlayTime() {
  const platform::LocalTime now = platform::CurrentLocalTime();
  SaveDetails.day = now.day;
  SaveDetails.month = now.month;
  SaveDetails.hour = now.hour;
  SaveDetails.minute = now.minute;
  // A clock set back counts as no time played.
  const int64_t elapsed = now.stamp > PlayTime.since ? now.stamp - PlayTime.since : 0;
  const int64_t minutes = elapsed / 600000000;
  const int64_t hours = minutes / 60;
  int64_t minutePart = minutes - 60 * hours;
  if (elapsed / 10000000 - 60 * minutes >= 30) ++minutePart;
  int64_t playHours = PlayTime.baseHours + hours;
  int64_t playMinutes = PlayTime.baseMinutes + minutePart;
  if (playMinutes >= 60) {
    playHours += playMinutes / 60;
    playMinutes %= 60;
  }
  // The clock stops at its bound rather than wrap.
  if (playHours > kLargestPlayHours) {
    playHours = kLargestPlayHours;
    playMinutes = 59;
  }
  SaveDetails.playHours = static_cast<int32_t>(playHours);
  SaveDetails.playMinutes = static_cast<int32_t>(playMinutes);
  return true;
}
