// The suite's check of the game folder: after the last test it names every
// entry the build did not make, and every file of the build's changed or
// missing, against the hashes the build wrote as it made them; a run names
// what an earlier run left as well.
#include "harness/game_folder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kHashFiles = fs::path(__FILE__).parent_path().parent_path().parent_path() / "cmake" / "game_hashes.cmake";

TEST(GameFolderCheckTest, NamesWhatTheTestsLeftUntilTheBuildMakesItAgain) {
  const fs::path dir = fs::temp_directory_path() / ("game_folder_check_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "game" / "Maps");
  const std::vector<std::string> made = {"Item1.iml", "Maps/Map1.dat"};
  // The build makes a file: its bytes, and the hash the build records.
  auto build = [&](const std::string& file, const std::string& bytes) {
    std::ofstream(dir / "game" / file) << bytes;
    const std::string hash = "cmake -DFOLDER=" + (dir / "game").string() + " -DHASHES=" + (dir / "hashes").string() +
                             " -P " + kHashFiles.string() + " -- " + file;
    ASSERT_EQ(std::system(hash.c_str()), 0);
  };
  // Of many blocks, and of a length that ends one with no room for its own.
  const std::string items(1000, 'i'), map(56, 'm');
  build("Item1.iml", items);
  build("Maps/Map1.dat", map);
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes"), std::vector<std::string>{});

  // A test of another run in the same build folder is at work: what is named
  // after its process waits for that run's check, until the process ends. A
  // process that runs no program of the build is no such test.
  fs::copy_file("/bin/sleep", dir / "sleep");
  const std::string program = (dir / "sleep").string();
  char* const words[] = {const_cast<char*>(program.c_str()), const_cast<char*>("60"), nullptr};
  pid_t other = 0;
  ASSERT_EQ(::posix_spawn(&other, program.c_str(), nullptr, nullptr, words, environ), 0);
  const std::string others = std::to_string(other), own = std::to_string(::getpid());
  std::ofstream(dir / "game" / ("Config.run" + others + ".dat.tmp")) << "settings";
  fs::create_directories(dir / "game" / ("help-names-" + others));
  std::ofstream(dir / "game" / ("help-names-" + others) / "errors.txt") << "errors";
  std::ofstream(dir / "game" / ("Config.run" + own + ".dat")) << "settings";
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes"),
            std::vector<std::string>{"not made by the build: Config.run" + own + ".dat"});
  ::kill(other, SIGKILL);
  ::waitpid(other, nullptr, 0);
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes").size(), 4u);
  for (const std::string& left : {"Config.run" + others + ".dat.tmp", "help-names-" + others, "Config.run" + own + ".dat"})
    fs::remove_all(dir / "game" / left);

  // The tests of one run add an entry (one whose name holds ';' and the
  // build's own names too), change a file and remove one.
  std::ofstream(dir / "game" / "Maps" / "Stray.dat") << "left";
  std::ofstream(dir / "game" / "Item1.iml;Maps") << "left";
  std::ofstream(dir / "game" / "Item1.iml") << "other items";
  fs::remove(dir / "game" / "Maps" / "Map1.dat");
  const std::vector<std::string> first = {"not made by the build: Item1.iml;Maps",
                                          "not made by the build: Maps/Stray.dat", "changed: Item1.iml",
                                          "missing: Maps/Map1.dat"};
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes"), first);
  // The next run finds them all but the file the build has made again.
  build("Maps/Map1.dat", map);
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes"),
            std::vector<std::string>(first.begin(), first.begin() + 3));
  // A file of the build's never hashed is named too.
  fs::remove(dir / "hashes" / "Maps" / "Map1.dat.sha1");
  EXPECT_EQ(harness::GameFolderFaults(dir / "game", made, dir / "hashes").back(),
            "not hashed as the build made it: Maps/Map1.dat");
  fs::remove_all(dir);
}

}  // namespace
