// The files of a content tool's run: put in place all together or not at all,
// whatever stands in their places, and never mixed with another run's.
#include "common/tool_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "harness/harness.h"

namespace fs = std::filesystem;

namespace {

// Every file under the folder and its bytes, folders as "/".
std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> all;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::stringstream bytes;
    if (e.is_directory()) bytes << "/";
    else bytes << std::ifstream(e.path(), std::ios::binary).rdbuf();
    all[fs::relative(e.path(), folder).string()] = bytes.str();
  }
  return all;
}

TEST(OutputFilesTest, AFailedRunLeavesEveryPlaceAsItWas) {
  const fs::path dir = fs::temp_directory_path() / ("tool_files_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "Blocked.dat");
  std::ofstream(dir / "Map1.dat") << "good map 1";
  std::ofstream(dir / "Map2.dat") << "good map 2";
  const auto before = Contents(dir);
  const std::string map1 = (dir / "Map1.dat").string(), map2 = (dir / "Map2.dat").string();

  {  // Two outputs of one place, however written: the second is refused.
    OutputFiles files;
    EXPECT_EQ(files.Write(map1, std::string("new map 1")), "");
    EXPECT_EQ(files.Write(dir.string() + "/.//Map1.dat", std::string("other map 1")),
              dir.string() + "/.//Map1.dat" + ": is written twice in one run");
  }
  EXPECT_EQ(Contents(dir), before);
  {  // A place a folder holds is refused before any file is replaced.
    OutputFiles files;
    EXPECT_EQ(files.Write(map1, std::string("new map 1")), "");
    EXPECT_EQ(files.Write((dir / "Blocked.dat").string(), std::string("blocked")), "");
    EXPECT_EQ(files.Commit(), (dir / "Blocked.dat").string() + ": cannot be replaced: Is a directory");
  }
  EXPECT_EQ(Contents(dir), before);
  {  // The disk fills as the second file is written.
    ::setenv("GREVENHOLT_TOOL_WRITE_FAULT", "2", 1);
    OutputFiles files;
    ::unsetenv("GREVENHOLT_TOOL_WRITE_FAULT");
    EXPECT_EQ(files.Write(map1, std::string("new map 1")), "");
    EXPECT_EQ(files.Write(map2, std::string("new map 2")), map2 + ": cannot be written: No space left on device");
  }
  EXPECT_EQ(Contents(dir), before);

  // A run killed midway left its files under its own names; a run going on
  // beside this one has its own too. The next run takes none of them up and
  // removes the killed run's alone.
  const std::string killed = ".Map1.dat.staged-" + std::to_string(harness::GoneProcessId()) + "-1";
  const std::string going = ".Map1.dat.staged-" + std::to_string(::getppid()) + "-1";
  std::ofstream(dir / killed) << "half a map";
  std::ofstream(dir / going) << "another run's map";
  {
    OutputFiles files;
    EXPECT_EQ(files.Write(map1, std::string("new map 1")), "");
    EXPECT_EQ(files.Write(map2, std::string("new map 2")), "");
    EXPECT_EQ(files.Commit(), "");
  }
  auto after = before;
  after["Map1.dat"] = "new map 1";
  after["Map2.dat"] = "new map 2";
  after[going] = "another run's map";
  EXPECT_EQ(Contents(dir), after);
  fs::remove_all(dir);
}

}  // namespace
