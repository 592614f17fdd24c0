// Shared by the saved-game tests: the game started headless in a game folder
// of the test's own (removed afterwards), saving into an adventure folder of
// its own, the local time fixed, and a digest of everything a saved game holds.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adventure/quest_journal.h"
#include "engine/settings.h"
#include "front_fixture.h"
#include "frontend/creature_roster.h"
#include "frontend/game_reset.h"
#include "frontend/saved_games.h"
#include "harness/battle_runner.h"
#include "harness/harness.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "platform/files.h"
#include "platform/system.h"
#include "rules/item_tables.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace savetest {

// A moment of the fixed local time: 14 March, 09:05.
inline platform::LocalTime Moment(int64_t seconds) {
  platform::LocalTime t;
  t.day = 14;
  t.month = 3;
  t.hour = 9;
  t.minute = 5;
  t.stamp = (1700000000 + seconds) * 10000000;
  return t;
}

inline std::string SlotFile(int slot, const char* name) {
  char path[300];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\%s", AdventureFolder, slot, name);
  return path;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  platform::ReadGameFile(path.c_str(), 64u << 20, &bytes);
  return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(platform::WriteGameFileAtomically(path.c_str(), bytes.data(), bytes.size()));
}

// Everything a saved game keeps of the running game, as it would be stored:
// the packed roster, the crafted items, the stored maps with the current one,
// the map memory, the flags, the journal, the achievements and the details
// that a load gives back.
struct GameDigest {
  std::vector<uint8_t> roster;
  std::vector<uint8_t> crafted, maps, memory, flags, achievements, journal;
  uint32_t gold = 0;
  std::vector<int32_t> hitDieRolls, options;

  static GameDigest Take() {
    GameDigest d;
    PackCreatureRoster(&d.roster);
    auto bytes = [](const void* p, size_t n) {
      const auto* b = static_cast<const uint8_t*>(p);
      return std::vector<uint8_t>(b, b + n);
    };
    d.crafted = bytes(CraftedWeapons, sizeof CraftedWeapons);
    std::vector<MapRecord> maps(StoredMaps, StoredMaps + kStoredMapCount);
    if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) maps[CurrentMapNumber] = CurrentMap;
    // Entering a map draws its floor pictures afresh from their families.
    for (MapRecord& m : maps)
      for (int32_t& floor : m.layers[kLayerFloor]) floor = FloorVariantBase(floor);
    d.maps = bytes(maps.data(), maps.size() * sizeof(MapRecord));
    d.memory = bytes(MapMemory, sizeof MapMemory);
    d.flags = bytes(GameFlags, sizeof GameFlags);
    d.achievements = bytes(AchievementProgress, sizeof AchievementProgress);
    for (const JournalEntry& e : QuestJournal) {
      for (uint32_t w : {e.length, e.state, e.value}) {
        const auto word = bytes(&w, 4);
        d.journal.insert(d.journal.end(), word.begin(), word.end());
      }
      d.journal.insert(d.journal.end(), e.text.begin(), e.text.end());
    }
    d.gold = PartyGold;
    d.hitDieRolls.assign(HitDieRolls, HitDieRolls + kHitDieRollCount);
    d.options.assign(OptionWords, OptionWords + kOptionWordCount);
    return d;
  }
};

// Conditions are what the recomputation after a load settles (a battle's
// passing ones end with it): the roster without them.
inline void DropConditions(std::vector<uint8_t>* roster) {
  for (int m = 0; m < kPartySize; ++m)
    std::memset(roster->data() + m * kStoredPartyRecordBytes + kStoredConditionsAt, 0, kStoredFeatsAtParty - kStoredConditionsAt);
  for (size_t at = kRosterPartyBytes; at < roster->size(); at += kStoredCreatureRecordBytes)
    std::memset(roster->data() + at + kStoredConditionsAt, 0, kStoredFeatsAtOther - kStoredConditionsAt);
}

// The members' squares read as creature 0's: a load puts the party round
// creature 0's square, each member on its place in the formation or on the
// nearest free square.
inline void GatherPartyOnLeader(std::vector<uint8_t>* roster) {
  for (int m = 1; m < kPartySize; ++m)
    std::memcpy(roster->data() + m * kStoredPartyRecordBytes + 604, roster->data() + 604, 28);
  for (int m = 0; m < kPartySize; ++m)
    std::memcpy(roster->data() + m * kStoredPartyRecordBytes + 648, roster->data() + 648, 4);
}

// A small game of the introductory adventure: the party on map 22.
inline void IntroductoryGame() {
  IntroductoryAdventureFlag = 1;
  StartPlayTimeClock();
  CurrentMapNumber = 22;
  StoredMaps[22].width = StoredMaps[22].height = 20;
  std::strcpy(StoredMaps[22].name, "Old Mill");
  CurrentMap = StoredMaps[22];
  for (int m = 0; m < kPartySize; ++m) {
    std::snprintf(Creatures[m].name, sizeof Creatures[m].name, "Member %d", m);
    Creatures[m].map = 22;
    Creatures[m].squareX = 3 + m;
    Creatures[m].squareY = 4;
    Creatures[m].facing = 3;
  }
  std::strcpy(Creatures[4].name, "Miller");
  Creatures[4].map = 22;
}

// The game started for battles (nothing is drawn); the screen tests start
// it with its picture instead.
class SavedGames : public ::testing::Test {
 protected:
  virtual bool Start() { return battles::StartBattleGame(); }
  virtual void Stop() { battles::StopBattleGame(); }
  void SetUp() override {
    ASSERT_TRUE(fronttest::MakeOwnGameFolder(&gameFolder_));
    ASSERT_TRUE(Start());
    ResetGameState();
    const platform::LocalTime now = Moment(0);
    platform::FixLocalTime(&now);
    UseOwnFolder();
  }
  void TearDown() override {
    platform::file_faults::Clear();
    platform::FixLocalTime(nullptr);
    Stop();
    platform::FinishDiscardingFolders();
    std::filesystem::remove_all(gameFolder_);
  }
  // The adventure folder of this test alone (setting up a battle names the
  // main adventure's: call again after it).
  void UseOwnFolder() {
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "Test%d", static_cast<int>(getpid()));
    folder_ = std::string("SaveGame\\") + AdventureFolder;
    if (!platform::GameFolderExists(folder_.c_str())) {
      ASSERT_TRUE(platform::MakeGameFolder(folder_.c_str()));
    }
  }
  // A battle under way: the main adventure, both sides placed, some turns played.
  void StartBattle(uint32_t seed, int frames) {
    battles::BattleOptions o;
    o.seed = seed;
    o.fighters = 10;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(o, &fault)) << fault;
    UseOwnFolder();
    for (int i = 0; i < frames && InCombat == 1; ++i) battles::StepBattleFrame();
  }
  std::string folder_;
  std::filesystem::path gameFolder_;
};

}  // namespace savetest
