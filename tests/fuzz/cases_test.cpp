// Every input kept under tests/fuzz/cases/<target>/ is fed to its fuzzing
// target: inputs that once crashed, hung or misbehaved a reader or a tool.
// One that takes longer than the fuzzer allows an input (scripts/fuzz's
// -timeout) has hung again, and ends the test.
//
// A case is the input's bytes as they are, or, for a file named *.case, a
// recipe that makes them from one of the game's own files (so that no game
// file is kept twice):
//   base <file of the game folder>     start from its bytes
//   bytes <hex> ...                    append bytes
//   repeat <count> <hex> ...           append the bytes so many times
//   put32 <offset> <value>             a little-endian 32-bit word
//   put32be / put16be <offset> <value> big-endian words
//   crc32 <from> <to> <at>             the CRC-32 of bytes [from, to), big-endian at <at>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz/fuzz_target.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(__FILE__).parent_path() / "cases";
// The game folder (the tests' working folder) before a target moves elsewhere.
const fs::path kGameFolder = fs::current_path();

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void Put(std::vector<uint8_t>& bytes, size_t at, uint64_t value, int count, bool bigEndian) {
  ASSERT_LE(at + count, bytes.size()) << "a recipe writes past its file";
  for (int i = 0; i < count; ++i) {
    const int shift = 8 * (bigEndian ? count - 1 - i : i);
    bytes[at + i] = static_cast<uint8_t>(value >> shift);
  }
}

std::vector<uint8_t> MakeInput(const fs::path& recipe) {
  std::vector<uint8_t> bytes;
  std::ifstream in(recipe);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string op;
    if (!(words >> op) || op[0] == '#') continue;
    long long a = 0, b = 0, c = 0;
    if (op == "base") {
      std::string file;
      words >> file;
      bytes = ReadBytes(kGameFolder / file);
      EXPECT_FALSE(bytes.empty()) << file << " is missing from the game folder";
    } else if (op == "bytes") {
      std::string hex;
      while (words >> hex) bytes.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
    } else if (op == "repeat" && words >> a) {
      std::vector<uint8_t> run;
      std::string hex;
      while (words >> hex) run.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
      for (long long i = 0; i < a; ++i) bytes.insert(bytes.end(), run.begin(), run.end());
    } else if (op == "put32" && words >> a >> b) {
      Put(bytes, static_cast<size_t>(a), static_cast<uint64_t>(b), 4, false);
    } else if (op == "put32be" && words >> a >> b) {
      Put(bytes, static_cast<size_t>(a), static_cast<uint64_t>(b), 4, true);
    } else if (op == "put16be" && words >> a >> b) {
      Put(bytes, static_cast<size_t>(a), static_cast<uint64_t>(b), 2, true);
    } else if (op == "crc32" && words >> a >> b >> c) {
      EXPECT_LE(b, static_cast<long long>(bytes.size()));
      Put(bytes, static_cast<size_t>(c), Crc32(bytes.data() + a, static_cast<size_t>(b - a)), 4, true);
    } else {
      ADD_FAILURE() << recipe << ": cannot follow '" << line << "'";
    }
  }
  return bytes;
}

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
    const std::vector<uint8_t> input = c.extension() == ".case" ? MakeInput(c) : ReadBytes(c);
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
