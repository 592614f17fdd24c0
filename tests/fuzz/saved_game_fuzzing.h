// The fuzzing targets of the files of a saved game share this: each file is
// read by loading a slot whose other files are whole, and a file the load
// refuses must leave the running game exactly as it was.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "adventure/quest_journal.h"
#include "frontend/creature_roster.h"
#include "frontend/saved_game_files.h"
#include "frontend/saved_games.h"
#include "fuzz/fuzz_target.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/item_tables.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace savefuzz {

// Everything a load replaces, as bytes.
inline std::vector<uint8_t> RunningGame() {
  struct Part {
    const void* data;
    size_t size;
  };
  std::vector<Part> parts = {{Creatures, sizeof Creatures},         {CraftedWeapons, sizeof CraftedWeapons},
                             {StoredMaps, sizeof StoredMaps},       {MapMemory, sizeof MapMemory},
                             {GameFlags, sizeof GameFlags},         {AchievementProgress, sizeof AchievementProgress},
                             {&PartyGold, sizeof PartyGold}};
  for (const JournalEntry& e : QuestJournal) {
    parts.push_back({e.text.data(), e.text.size()});
    parts.push_back({&e.state, sizeof e.state});
  }
  size_t total = 0;
  for (const Part& p : parts) total += p.size;
  std::vector<uint8_t> bytes(total);
  size_t at = 0;
  for (const Part& p : parts) {
    if (p.size) std::memcpy(bytes.data() + at, p.data, p.size);
    at += p.size;
  }
  return bytes;
}

// A whole slot of the introductory adventure, made once: a party of four on
// map 22 and a miller beside it.
inline void MakeWholeSlot() {
  static bool made = false;
  if (made) return;
  made = true;
  EnterScratchFolder();
  IntroductoryAdventureFlag = 1;
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s", "Fuzz");
  StoredMaps[22].width = StoredMaps[22].height = 12;
  CurrentMapNumber = 22;
  CurrentMap = StoredMaps[22];
  for (int id = 0; id <= kPartySize; ++id) {
    std::snprintf(Creatures[id].name, sizeof Creatures[id].name, "Walker %d", id);
    Creatures[id].map = 22;
    Creatures[id].squareX = id + 1;
    Creatures[id].squareY = 2;
    Creatures[id].facing = 3;
  }
  ResetQuestJournal();
  QuestJournal[3].text = "Find the mill.";
  QuestJournal[3].length = 14;
  QuestJournal[3].state = 1;
  if (WriteSavedGame(1) != kSaveOk) FuzzFault("the whole slot could not be written");
}

// Loads slot 1 with `name` replaced by the input.
inline void LoadWithFile(const char* name, const uint8_t* data, size_t size) {
  MakeWholeSlot();
  WriteScratchFile(std::string("SaveGame/Fuzz/1/") + name, data, size);
  PartyGold = static_cast<uint32_t>(size);  // the running game differs from every slot
  static std::vector<uint8_t> before;
  before = RunningGame();
  const int result = LoadSavedGame(1);
  if (result != kSaveOk && RunningGame() != before)
    FuzzFault(std::string("a refused ") + name + " changed the running game");
}

}  // namespace savefuzz
