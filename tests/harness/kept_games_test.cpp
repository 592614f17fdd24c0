// The saved games a play script keeps for the scripts that take up where it
// stopped: each run of the keeper starts afresh, and a set is put in place
// whole.
#include "harness/kept_games.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "harness/harness.h"

namespace fs = std::filesystem;

namespace {

// A set of one saved game, slot `slot` of the main adventure, made in `folder`.
void MakeSet(const fs::path& folder, int slot) {
  fs::create_directories(folder / "FullVersion" / std::to_string(slot));
  std::ofstream(folder / "FullVersion" / std::to_string(slot) / "Game.dat") << slot;
}

TEST(KeptGamesTest, AKeeperStartsAfreshAndPutsItsSetInPlaceWhole) {
  const std::string name = "kept_games_test_" + std::to_string(::getpid());
  const fs::path kept = harness::KeptGames(name);
  MakeSet(kept, 1);
  const fs::path killed = harness::FreshKeptGames(name, harness::GoneProcessId()), going = harness::FreshKeptGames(name, ::getppid());
  MakeSet(killed, 2);
  MakeSet(going, 2);

  // A keeper that fails before it keeps leaves no set of an earlier run to
  // take up, nor what a keep killed midway left; a keep going on is left be.
  const fs::path script = fs::temp_directory_path() / (name + ".play");
  std::ofstream(script) << "own-folder\nseed x\nkeep-game " << name << "\n";
  EXPECT_NE(std::system(("../playscript " + script.string() + " 2>/dev/null").c_str()), 0);
  fs::remove(script);
  EXPECT_FALSE(fs::exists(kept));
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_TRUE(fs::exists(going));
  for (const fs::path& left : {kept, killed, going}) fs::remove_all(left);

  // A new set takes the place of the one before, which goes; a script taking
  // up finds the new one alone.
  MakeSet(kept, 1);
  const fs::path fresh = harness::FreshKeptGames(name, ::getpid()), taker = fs::temp_directory_path() / name;
  MakeSet(fresh, 2);
  MakeSet(taker, 3);
  EXPECT_TRUE(harness::PutKeptGames(fresh, name));
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_TRUE(harness::TakeUpKeptGames(name, taker));
  EXPECT_EQ(harness::PlayersGames(taker), std::vector<fs::path>{taker / "FullVersion" / "2"});
  // A set that cannot be put in place leaves the one there as it was.
  EXPECT_FALSE(harness::PutKeptGames(fresh, name));
  EXPECT_EQ(harness::PlayersGames(kept), std::vector<fs::path>{kept / "FullVersion" / "2"});
  fs::remove_all(kept);
  fs::remove_all(taker);
}

}  // namespace
