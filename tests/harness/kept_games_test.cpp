// The saved games a play script keeps for the scripts that take up where it
// stopped: each run of the keeper starts afresh unless a keeper of another
// run is at work, a set is put in place whole, and a script taking up waits
// for the set of a keeper at work.
#include "harness/kept_games.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace fs = std::filesystem;

namespace {

// A keeper of another run that starts as a script taking up is about to look
// for the set, the first time it looks.
std::string g_lateKeeperName;
std::optional<harness::KeptGamesHold> g_lateKeeper;
std::atomic<bool> g_lateKeeperStarted = false;
void StartLateKeeper() {
  if (g_lateKeeper) return;
  g_lateKeeper.emplace(harness::ForgetKeptGames(g_lateKeeperName));
  g_lateKeeperStarted = true;
  g_lateKeeperStarted.notify_all();
}

// A set of one saved game, slot `slot` of the main adventure, made in `folder`.
void MakeSet(const fs::path& folder, int slot) {
  fs::create_directories(folder / "FullVersion" / std::to_string(slot));
  std::ofstream(folder / "FullVersion" / std::to_string(slot) / "Game.dat") << slot;
}

TEST(KeptGamesTest, RunsSideBySideKeepAndTakeUpWithoutUndoingEachOther) {
  const std::string name = "kept_games_test_" + std::to_string(::getpid());
  const fs::path kept = harness::KeptGames(name), taker = fs::temp_directory_path() / name;
  const fs::path script = fs::temp_directory_path() / (name + ".play");
  std::ofstream(script) << "own-folder\nseed x\nkeep-game " << name << "\n";
  // A keeper of another run, in a process of its own, that fails before it keeps.
  auto keeperFails = [&] { return std::system(("../playscript " + script.string() + " 2>/dev/null").c_str()) != 0; };
  auto takenUp = [&] { return harness::PlayersGames(taker); };
  const std::vector<fs::path> one = {taker / "FullVersion" / "1"}, two = {taker / "FullVersion" / "2"};

  // Run A's keeper is at work beside a set an earlier keeper made; run B's
  // keeper starts meanwhile and leaves the set and A's keep alone.
  MakeSet(kept, 1);
  std::optional<harness::KeptGamesHold> keeperA;
  keeperA.emplace(harness::ForgetKeptGames(name));
  EXPECT_FALSE(fs::exists(kept));
  MakeSet(kept, 1);
  const fs::path freshA = harness::MakeFreshKeptGames(name), killed = harness::MakeFreshKeptGames(name);
  MakeSet(freshA, 2);
  EXPECT_TRUE(keeperFails());
  ASSERT_TRUE(fs::exists(kept));
  EXPECT_TRUE(fs::exists(freshA));
  EXPECT_EQ(harness::TakeUpKeptGames(name, taker), "");
  EXPECT_EQ(takenUp(), one);
  // A's keep stands whole in place of the set before.
  EXPECT_EQ(harness::PutKeptGames(freshA, name), "");
  EXPECT_FALSE(fs::exists(freshA));
  EXPECT_EQ(harness::TakeUpKeptGames(name, taker), "");
  EXPECT_EQ(takenUp(), two);
  // A keep that cannot be put in place says why, and leaves the set as it was.
  EXPECT_EQ(harness::PutKeptGames(freshA, name), std::strerror(ENOENT));
  EXPECT_EQ(harness::PlayersGames(kept), std::vector<fs::path>{kept / "FullVersion" / "2"});

  // A's keeper has ended. B's keeper, alone at work, removes A's set and
  // what a keep stopped midway left; a taker of A's coming later waits for
  // B's set.
  EXPECT_TRUE(fs::exists(killed));
  keeperA.reset();
  std::optional<harness::KeptGamesHold> keeperB;
  keeperB.emplace(harness::ForgetKeptGames(name));
  EXPECT_FALSE(fs::exists(kept));
  EXPECT_FALSE(fs::exists(killed));
  std::string tookUp = "not yet";
  std::thread takerA([&] { tookUp = harness::TakeUpKeptGames(name, taker); });
  ::usleep(200 * 1000);
  const fs::path freshB = harness::MakeFreshKeptGames(name);
  MakeSet(freshB, 1);
  EXPECT_EQ(harness::PutKeptGames(freshB, name), "");
  takerA.join();
  EXPECT_EQ(tookUp, "");
  EXPECT_EQ(takenUp(), one);
  // With no keeper at work, a keeper that fails before it keeps leaves no
  // set of an earlier run to take up.
  keeperB.reset();
  EXPECT_TRUE(keeperFails());
  EXPECT_EQ(harness::TakeUpKeptGames(name, taker), "no games kept as " + name + " (the script that keeps them runs first)");
  // A keeper starting just as a taker looks, with no set kept, is seen: the
  // taker waits for its set.
  g_lateKeeperName = name;
  harness::SetTakeUpHook(StartLateKeeper);
  std::thread takerC([&] { tookUp = harness::TakeUpKeptGames(name, taker); });
  g_lateKeeperStarted.wait(false);
  const fs::path freshC = harness::MakeFreshKeptGames(name);
  MakeSet(freshC, 2);
  EXPECT_EQ(harness::PutKeptGames(freshC, name), "");
  takerC.join();
  harness::SetTakeUpHook(nullptr);
  g_lateKeeper.reset();
  EXPECT_EQ(tookUp, "");
  EXPECT_EQ(takenUp(), two);
  fs::remove(script);
  fs::remove_all(kept);
  fs::remove(kept.string() + ".lock");
  fs::remove_all(taker);
}

}  // namespace
