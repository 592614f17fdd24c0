// Every input kept under tests/fuzz/cases/<target>/ (see kept_inputs.h) is
// fed to its fuzzing target, each target in a process of its own. One that
// takes longer than the fuzzer allows an input (scripts/fuzz's -timeout) has
// hung again, and ends the test.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/kept_inputs.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(__FILE__).parent_path() / "cases";
// The game folder (the tests' working folder) before a target moves elsewhere.
const fs::path kGameFolder = fs::current_path();

std::vector<std::string> TargetNames() {
  std::vector<std::string> names;
  for (const auto& [name, function] : FuzzTargets()) names.push_back(name);
  return names;
}

class FuzzCases : public ::testing::TestWithParam<std::string> {};

// The fuzzer's limit for one input, in seconds.
constexpr unsigned kInputSeconds = 10;

void InputTookTooLong(int) {
  static const char kMessage[] = "a kept input ran past the fuzzer's limit for one input\n";
  (void)!::write(2, kMessage, sizeof kMessage - 1);
  std::abort();
}

// Each target runs in a process of its own, as its fuzzing program does: the
// tables, folders and game it sets up are its own, never another target's.
TEST_P(FuzzCases, EveryKeptInputPassesItsTarget) {
  const fs::path folder = kCases / GetParam();
  std::vector<fs::path> cases;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file()) cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  std::vector<std::vector<uint8_t>> inputs(cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    std::string fault;
    ASSERT_TRUE(ReadKeptInput(cases[i], kGameFolder, &inputs[i], &fault)) << cases[i].filename() << ": " << fault;
  }
  const FuzzFunction target = FuzzTargets().at(GetParam());
  // The input under way, seen by this process when the target's one ends.
  auto* current = static_cast<size_t*>(
      ::mmap(nullptr, sizeof(size_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(current, MAP_FAILED);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGALRM, InputTookTooLong);
    for (size_t i = 0; i < inputs.size(); ++i) {
      *current = i;
      ::alarm(kInputSeconds);
      target(inputs[i].data(), inputs[i].size());
      ::alarm(0);
    }
    std::fflush(nullptr);
    std::exit(0);  // its scratch folder removed as it ends
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  const size_t failed = *current;
  ::munmap(current, sizeof(size_t));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the target failed on " << (failed < cases.size() ? cases[failed].filename().string() : "?")
      << (WIFSIGNALED(status) ? ", ended by signal " + std::to_string(WTERMSIG(status)) : "");
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCases, ::testing::ValuesIn(TargetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(FuzzCaseFolders, EachNamesATarget) {
  for (const auto& entry : fs::directory_iterator(kCases))
    EXPECT_TRUE(FuzzTargets().count(entry.path().filename().string())) << entry.path();
}

}  // namespace
