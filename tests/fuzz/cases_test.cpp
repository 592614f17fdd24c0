// Every input kept under tests/fuzz/cases/<target>/ (see kept_inputs.h) is
// fed to its fuzzing target. One that takes longer than the fuzzer allows an
// input (scripts/fuzz's -timeout) has hung again, and ends the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <algorithm>
#include <filesystem>

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

TEST_P(FuzzCases, EveryKeptInputPassesItsTarget) {
  const fs::path folder = kCases / GetParam();
  std::vector<fs::path> cases;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file()) cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  const FuzzFunction target = FuzzTargets().at(GetParam());
  for (const fs::path& c : cases) {
    SCOPED_TRACE(c.filename().string());
    std::vector<uint8_t> input;
    std::string fault;
    ASSERT_TRUE(ReadKeptInput(c, kGameFolder, &input, &fault)) << fault;
    std::signal(SIGALRM, InputTookTooLong);
    ::alarm(kInputSeconds);
    target(input.data(), input.size());
    ::alarm(0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCases, ::testing::ValuesIn(TargetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(FuzzCaseFolders, EachNamesATarget) {
  for (const auto& entry : fs::directory_iterator(kCases))
    EXPECT_TRUE(FuzzTargets().count(entry.path().filename().string())) << entry.path();
}

}  // namespace
