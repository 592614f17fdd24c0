// The fuzzing targets that run on a real game share this: the introductory
// adventure started from its prepared start as the main menu starts it (the
// prepared start and the item and spell tables linked in from the game
// folder), in the scratch folder, and saved once into slot 1.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/game_start.h"
#include "frontend/saved_games.h"
#include "fuzz/fuzz_target.h"
#include "rules/item_tables.h"
#include "state/game_progress.h"

namespace introfuzz {

// The slot that holds the game as it stood at its start.
constexpr int kStartSlot = 1;

// The files of a slot of the introductory adventure, in the order a save writes them.
inline const std::vector<std::string>& SlotFileNames() {
  static const std::vector<std::string> names = {
      "SaveChar.cml",  "SaveWeapon.wml", "Maps/Map21.dat", "Maps/Map22.dat",   "Maps/Map23.dat",
      "Maps/Map24.dat", "MapMemory.dat", "GameFlags.dat",  "Journal.dat", "Achievements.dat", "Details.dat"};
  return names;
}

// Where a file of a slot lies in the scratch folder.
inline std::string SlotFile(int slot, const std::string& name) {
  return "SaveGame/DemoVersion/" + std::to_string(slot) + "/" + name;
}

// The introductory adventure is the active one (other targets choose their own).
inline void ChooseAdventure() {
  IntroductoryAdventureFlag = 1;
  SetAdventureFolder();
}

// Starts the game and saves it into slot 1, once.
inline void StartGame() {
  static bool started = false;
  if (started) {
    ChooseAdventure();
    return;
  }
  started = true;
  namespace fs = std::filesystem;
  const fs::path game = GameFolder();
  EnterScratchFolder();
  std::error_code ec;
  fs::create_directories("SaveGame/DemoVersion");
  fs::create_directory_symlink(game / "SaveGame/DemoVersion/0", "SaveGame/DemoVersion/0", ec);
  for (const char* table : {"Item1.iml", "Spell1.sml"}) fs::create_symlink(game / table, table, ec);
  if (!LoadItemTable() || !LoadSpellTable()) FuzzFault("the item and spell tables are not in " + game.string());
  SwitchToIntroductoryAdventure();
  if (StartIntroductoryAdventure() != 1) FuzzFault("the introductory adventure did not start");
  if (WriteSavedGame(kStartSlot) != kSaveOk) FuzzFault("the introductory game could not be saved");
}

}  // namespace introfuzz
