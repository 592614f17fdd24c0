// The suite's check of the game folder (tests/game_folder.cmake): after the
// last test it names every entry the build did not make, and every file of
// the build's changed or missing; an entry left by one run is named by the
// next as well.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kCheck = fs::path(__FILE__).parent_path().parent_path() / "game_folder.cmake";

TEST(GameFolderCheckTest, NamesWhatTheTestsAddedChangedOrRemoved) {
  const fs::path dir = fs::temp_directory_path() / ("game_folder_check_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "game" / "Maps");
  std::ofstream(dir / "game" / "Item1.iml") << "items";
  std::ofstream(dir / "game" / "Maps" / "Map1.dat") << "map";
  std::ofstream(dir / "made") << "Item1.iml;Maps/Map1.dat";
  // A run of the suite: the check before the first test and after the last;
  // what the check after said.
  auto run = [&](const auto& tests) {
    const std::string check = "cmake -DFOLDER=" + (dir / "game").string() + " -DMADE=" + (dir / "made").string() +
                              " -DLIST=" + (dir / "list").string();
    const std::string script = " -P " + kCheck.string() + " >" + (dir / "said").string() + " 2>&1";
    EXPECT_EQ(std::system((check + script).c_str()), 0);
    tests();
    if (std::system((check + " -DCOMPARE=1" + script).c_str()) == 0) return std::string();
    std::stringstream said;
    said << std::ifstream(dir / "said").rdbuf();
    return said.str();
  };
  const std::string first = run([&] {
    std::ofstream(dir / "game" / "Maps" / "Stray.dat") << "left";
    std::ofstream(dir / "game" / "Item1.iml") << "other items";
    fs::remove(dir / "game" / "Maps" / "Map1.dat");
  });
  for (const char* named : {"not made by the build: Maps/Stray.dat", "changed: Item1.iml", "missing: Maps/Map1.dat"})
    EXPECT_NE(first.find(named), std::string::npos) << named << " in:\n" << first;
  const std::string next = run([&] { std::ofstream(dir / "game" / "Maps" / "Map1.dat") << "map"; });
  EXPECT_NE(next.find("not made by the build: Maps/Stray.dat"), std::string::npos) << next;
  EXPECT_EQ(next.find("changed:"), std::string::npos) << next;
  fs::remove_all(dir);
}

}  // namespace
