// Reading a folder's files through the folder opened once: a file that is
// there, a name with nothing behind it, and names that cannot be read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
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
  EXPECT_EQ(files.Read("Maps\\Map2.dat", 6, &out), GameFolderFiles::kMissing);
  EXPECT_EQ(files.Read("Folder.dat", 6, &out), GameFolderFiles::kFailed);
  EXPECT_EQ(files.Read("Dangling.dat", 6, &out), GameFolderFiles::kFailed);

  // A folder that is not there holds nothing.
  const GameFolderFiles none((folder / "None").string().c_str());
  EXPECT_EQ(none.Read("Maps\\Map1.dat", 6, &out), GameFolderFiles::kMissing);

  std::filesystem::remove_all(folder);
}

}  // namespace
