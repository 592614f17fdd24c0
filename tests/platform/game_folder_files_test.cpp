// Reading a folder's files through the folder opened once: a file that is
// there, a name with nothing behind it, and names that cannot be read; many
// files at once, large ones in slices, as each alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace {

using platform::GameFolderFiles;

TEST(GameFolderFiles, ReadsWholeFilesAndTellsMissingFromUnreadable) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("grevenholt-folder-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "Maps");
  std::ofstream(folder / "Maps" / "Map1.dat", std::ios::binary) << "abcdef";
  std::filesystem::create_directory(folder / "Folder.dat");
  std::filesystem::create_symlink(folder / "Gone.dat", folder / "Dangling.dat");

  const GameFolderFiles files(folder.string().c_str());
  std::vector<uint8_t> out = {9};
  EXPECT_EQ(files.Read("Maps\\Map1.dat", 6, &out), GameFolderFiles::kRead);
  EXPECT_EQ(std::string(out.begin(), out.end()), "abcdef");
  EXPECT_EQ(files.Read("Maps\\Map1.dat", 5, &out), GameFolderFiles::kFailed);  // more than the limit
  EXPECT_TRUE(out.empty());
  // Its start, up to the limit, whatever follows.
  uint8_t start[4];
  size_t size = 0;
  EXPECT_EQ(files.Read("Maps\\Map1.dat", 4, start, &size, platform::ReadExtent::kStart), GameFolderFiles::kRead);
  EXPECT_EQ(std::string(start, start + size), "abcd");
  EXPECT_EQ(files.Read("Maps\\Map2.dat", 6, &out), GameFolderFiles::kMissing);
  EXPECT_EQ(files.Read("Folder.dat", 6, &out), GameFolderFiles::kFailed);
  EXPECT_EQ(files.Read("Dangling.dat", 6, &out), GameFolderFiles::kFailed);

  // A folder that is not there holds nothing.
  const GameFolderFiles none((folder / "None").string().c_str());
  EXPECT_EQ(none.Read("Maps\\Map1.dat", 6, &out), GameFolderFiles::kMissing);

  std::filesystem::remove_all(folder);
}

TEST(GameFolderFiles, ManyFilesAtOnceGiveWhatEachReadAloneGives) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("grevenholt-many-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "Maps");
  std::filesystem::create_directory(folder / "Folder.dat");
  std::filesystem::create_symlink(folder / "Gone.dat", folder / "Dangling.dat");
  // Sizes about the slices a large file is read in (half a megabyte): within
  // one, across several and ending inside one, ending on a boundary with the
  // room going on, filling the room to a boundary, and empty.
  constexpr size_t kMiB = 1 << 20;
  const std::pair<const char*, size_t> sizes[] = {
      {"Small.dat", 1000}, {"Maps\\Long.dat", 3 * kMiB + 12345}, {"Boundary.dat", kMiB / 2},
      {"Full.dat", kMiB}, {"Empty.dat", 0}};
  for (const auto& [name, size] : sizes) {
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + size) % 251);
    std::ofstream(folder / platform::GamePath(name), std::ios::binary).write(bytes.data(), static_cast<long>(size));
  }

  const GameFolderFiles files(folder.string().c_str());
  const std::pair<const char*, size_t> wanted[] = {
      {"Small.dat", 4000},     {"Maps\\Long.dat", 4 * kMiB}, {"Boundary.dat", kMiB},  {"Full.dat", kMiB},
      {"Empty.dat", 10},       {"Full.dat", kMiB - 1},        {"Missing.dat", 10},     {"Folder.dat", 10},
      {"Dangling.dat", 10},    {"Maps\\Long.dat", 3 * kMiB}, {"Maps\\Long.dat", kMiB + 3}, {"Small.dat", 4000}};
  // The last two read only their start: the first bytes of a longer file, and a shorter file whole.
  constexpr size_t kStarts = 2;
  constexpr size_t kCount = std::size(wanted);
  std::vector<std::vector<uint8_t>> rooms(kCount);
  GameFolderFiles::Wanted many[kCount];
  for (size_t i = 0; i < kCount; ++i) {
    rooms[i].assign(wanted[i].second, 0xEE);
    many[i].name = wanted[i].first;
    many[i].limit = wanted[i].second;
    many[i].into = rooms[i].data();
    if (i + kStarts >= kCount) many[i].extent = platform::ReadExtent::kStart;
  }
  files.ReadMany(many, kCount);
  for (size_t i = 0; i < kCount; ++i) {
    std::vector<uint8_t> alone(wanted[i].second);
    size_t size = 99;
    EXPECT_EQ(many[i].result, files.Read(wanted[i].first, wanted[i].second, alone.data(), &size, many[i].extent)) << i;
    ASSERT_EQ(many[i].size, size) << i;
    EXPECT_TRUE(std::equal(alone.begin(), alone.begin() + static_cast<long>(size), rooms[i].begin())) << i;
  }
  EXPECT_EQ(many[1].result, GameFolderFiles::kRead);
  EXPECT_EQ(many[6].result, GameFolderFiles::kMissing);
  EXPECT_EQ(many[9].result, GameFolderFiles::kFailed);  // more than the room
  EXPECT_EQ(many[10].result, GameFolderFiles::kRead);  // its start fills the room
  EXPECT_EQ(many[10].size, kMiB + 3);
  EXPECT_EQ(rooms[10][kMiB + 2], ((kMiB + 2) * 7 + 3 * kMiB + 12345) % 251);

  std::filesystem::remove_all(folder);
}

}  // namespace
