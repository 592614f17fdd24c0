// The files of a content tool's run: put in place all together or not at all,
// whatever stands in their places, and never mixed with another run's.
#include "common/tool_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
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

  // Runs gone or going on left files beside the places under their own
  // names. The next run takes none of them up, and removes those of each run
  // whose lock no process holds, whatever its number names now: a killed run
  // not yet reaped, a run gone whose number a live process bears; and leaves
  // those of a run going on whose number names no process here (as one in
  // another process namespace).
  const pid_t zombie = ::fork();
  if (zombie == 0) {
    OutputFiles killed;
    killed.Write(map1, std::string("half a map"));
    ::_exit(0);
  }
  ASSERT_GT(zombie, 0);
  siginfo_t ended;
  ASSERT_EQ(::waitid(P_PID, zombie, &ended, WEXITED | WNOWAIT), 0);  // ended, not reaped
  const std::string reused = std::to_string(::getppid()), elsewhere = std::to_string(harness::GoneProcessId());
  std::ofstream(dir / (".staged-" + reused + ".lock"));
  std::ofstream(dir / (".Map1.dat.staged-" + reused + "-1")) << "half a map";
  std::ofstream(dir / (".Map2.dat.kept-" + reused + "-2")) << "good map 2";
  std::ofstream(dir / (".Map1.dat.staged-" + elsewhere + "-1")) << "another run's map";
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    ::close(done[1]);
    const int lock = ::open((dir / (".staged-" + elsewhere + ".lock")).c_str(), O_RDWR | O_CREAT, 0666);
    char c = ::flock(lock, LOCK_EX) == 0 ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    (void)!::read(done[0], &c, 1);
    ::_exit(0);
  }
  char locked = 0;
  ASSERT_EQ(::read(ready[0], &locked, 1), 1);
  ASSERT_EQ(locked, 'y');
  {
    OutputFiles files;
    EXPECT_EQ(files.Write(map1, std::string("new map 1")), "");
    EXPECT_EQ(files.Write(map2, std::string("new map 2")), "");
    EXPECT_EQ(files.Commit(), "");
  }
  auto after = before;
  after["Map1.dat"] = "new map 1";
  after["Map2.dat"] = "new map 2";
  after[".Map1.dat.staged-" + elsewhere + "-1"] = "another run's map";
  after[".staged-" + elsewhere + ".lock"] = "";
  EXPECT_EQ(Contents(dir), after);
  ::close(done[1]);
  for (const pid_t child : {zombie, holder}) ::waitpid(child, nullptr, 0);
  for (const int end : {ready[0], ready[1], done[0]}) ::close(end);
  fs::remove_all(dir);
}

// Whatever a tool's run throws ends it as a failed run: one message naming
// the source place being read (the tool, before it reads one), the summary
// line, status 1, and the folder as it was (the staged file of the run
// removed).
TEST(RunToolTest, AnythingARunThrowsIsOneMessageAndTheFolderAsItWas) {
  static const fs::path dir = fs::temp_directory_path() / ("run_tool_test_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const struct {
    const char* tool;
    int (*run)(int, char**);
    int status;
    const char* said;
  } cases[] = {
      {"makemaps", [](int, char**) -> int {
         ReadingAt("Map21.txt", 48);
         throw std::out_of_range("basic_string::substr");
       },
       1, "Map21.txt:48: the tool stopped here: basic_string::substr\n"},
      {"makemaps", [](int, char**) -> int {
         ReadingAt("Map21.txt", 0);
         OutputFiles files;
         EXPECT_EQ(files.Write((dir / "Map21.dat").string(), std::string("map")), "");
         throw 21;
       },
       1, "Map21.txt: the tool stopped here: an unknown fault\n"},
      {"make_sheets", [](int, char**) -> int {
         ReadingAt("", 0);
         OutputFiles files;
         EXPECT_EQ(files.Write((dir / "0.dat").string(), std::string("sheet")), "");
         throw std::runtime_error("filesystem error: cannot open directory");
       },
       1, "make_sheets: the tool stopped here: filesystem error: cannot open directory\n"},
      {"makemaps", [](int, char**) { return 2; }, 2, ""},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTool(c.tool, c.run, 0, nullptr), c.status);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, c.status == 1 ? c.said + FaultSummary(c.tool, 1) + "\n" : "") << said;
    EXPECT_TRUE(fs::is_empty(dir));
  }
  ReadingAt("", 0);
  fs::remove_all(dir);
}

}  // namespace
