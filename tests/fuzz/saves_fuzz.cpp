// The files of a saved game, each read by loading a slot whose other files
// are whole: the creature roster, the details, the journal, the map memory,
// the flags and the achievements. A file the load refuses must leave the
// running game exactly as it was; one it takes must read back as it is
// written again.
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

namespace {

uint64_t Hash(uint64_t h, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// Everything a load replaces.
uint64_t RunningGame() {
  uint64_t h = 14695981039346656037ull;
  h = Hash(h, Creatures, sizeof Creatures);
  h = Hash(h, CraftedWeapons, sizeof CraftedWeapons);
  h = Hash(h, StoredMaps, sizeof StoredMaps);
  h = Hash(h, MapMemory, sizeof MapMemory);
  h = Hash(h, GameFlags, sizeof GameFlags);
  h = Hash(h, AchievementProgress, sizeof AchievementProgress);
  h = Hash(h, &PartyGold, sizeof PartyGold);
  for (const JournalEntry& e : QuestJournal) {
    h = Hash(h, e.text.data(), e.text.size());
    h = Hash(h, &e.state, sizeof e.state);
  }
  return h;
}

// A whole slot of the introductory adventure, made once: a party of four on
// map 22 and a miller beside it.
void MakeWholeSlot() {
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
void LoadWithFile(const char* name, const uint8_t* data, size_t size) {
  MakeWholeSlot();
  WriteScratchFile(std::string("SaveGame/Fuzz/1/") + name, data, size);
  PartyGold = static_cast<uint32_t>(size);  // the running game differs from every slot
  const uint64_t before = RunningGame();
  const int result = LoadSavedGame(1);
  if (result != kSaveOk && RunningGame() != before)
    FuzzFault(std::string("a refused ") + name + " changed the running game");
}

}  // namespace

GH_FUZZ_TARGET(save_roster) {
  LoadWithFile("SaveChar.cml", data, size);
  // What was taken packs again into a file that reads the same.
  std::vector<uint8_t> packed;
  PackCreatureRoster(&packed);
  static std::vector<CreatureRecord> table(kCreatureCount);
  if (DecodeCreatureRoster(packed.data(), packed.size(), table.data()) < 0) FuzzFault("a packed roster was refused");
}

GH_FUZZ_TARGET(save_details) {
  LoadWithFile("Details.dat", data, size);
  SavedGameDetails d, back;
  if (!DecodeDetails(data, size, &d)) return;
  uint8_t bytes[kDetailsBytes];
  EncodeDetails(d, bytes);
  if (!DecodeDetails(bytes, sizeof bytes, &back) || std::memcmp(&d, &back, sizeof d) != 0)
    FuzzFault("details read back otherwise");
}

GH_FUZZ_TARGET(save_journal) {
  LoadWithFile("Journal.dat", data, size);
  std::vector<JournalEntry> journal, back;
  if (!DecodeJournal(data, size, &journal)) return;
  std::vector<uint8_t> bytes;
  EncodeJournal(journal, &bytes);
  if (!DecodeJournal(bytes.data(), bytes.size(), &back)) FuzzFault("a written journal was refused");
  for (size_t i = 0; i < journal.size(); ++i)
    if (journal[i].text != back[i].text || journal[i].state != back[i].state ||
        (journal[i].state != 0 && journal[i].value != back[i].value))
      FuzzFault("journal entry " + std::to_string(i) + " read back otherwise");
}

GH_FUZZ_TARGET(save_map_memory) { LoadWithFile("MapMemory.dat", data, size); }

GH_FUZZ_TARGET(save_flags) { LoadWithFile("GameFlags.dat", data, size); }

GH_FUZZ_TARGET(save_achievements) { LoadWithFile("Achievements.dat", data, size); }
