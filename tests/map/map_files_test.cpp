// Map files: the raw record image, the two loaders and the compiled maps (the
// map compiler's refusals: tests/tools/mapmaker_test.cpp).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "state/game_progress.h"
#include "map/map_record.h"
#include "platform/system.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A slot of its own under an adventure folder of its own, removed afterwards.
class MapFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    // The adventure folder is this process's own: parallel runs never share a parent to remove.
    slot_ = 3;
    folder_ = "SaveGame/TestMaps" + std::to_string(getpid());
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "TestMaps%d", static_cast<int>(getpid()));
    dir_ = folder_ + "/" + std::to_string(slot_) + "/Maps/";
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "DemoVersion");
    IntroductoryAdventureFlag = 1;
  }
  std::vector<uint8_t> ImageOf(int width, int height, int32_t marker) {
    static MapRecord m;
    std::memset(&m, 0, sizeof m);
    m.width = width;
    m.height = height;
    m.layers[kLayerEvents][SquareIndex(1, 2)] = marker;
    std::vector<uint8_t> bytes(kMapRecordBytes);
    WriteMapImage(m, bytes.data());
    return bytes;
  }
  int slot_ = 0;
  std::string folder_;
  std::string dir_;
};

TEST(MapImage, FieldsSitAtTheirFileOffsets) {
  static MapRecord m;
  std::memset(&m, 0, sizeof m);
  std::strcpy(m.name, "Vault");
  m.scriptMapNumber = 0x01020304;
  m.height = 30;
  m.width = 40;
  m.lit = 1;
  m.spellFlag = -2;
  m.layers[kLayerFloor][SquareIndex(2, 3)] = 0x11223344;
  std::vector<uint8_t> b(kMapRecordBytes);
  WriteMapImage(m, b.data());
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data()), "Vault");
  EXPECT_EQ(b[452], 0x04);
  EXPECT_EQ(b[455], 0x01);
  EXPECT_EQ(b[456], 30);
  EXPECT_EQ(b[460], 40);
  EXPECT_EQ(b[480], 1);
  EXPECT_EQ(b[540], 0xFE);
  EXPECT_EQ(b[543], 0xFF);
  const size_t at = 544 + 14400 * 1 + 4 * (2 * 60 + 3);
  EXPECT_EQ(b[at], 0x44);
  EXPECT_EQ(b[at + 3], 0x11);
  static MapRecord back;
  ReadMapImage(b.data(), &back);
  EXPECT_EQ(std::memcmp(&back, &m, sizeof m), 0);
}

TEST_F(MapFolder, CompiledMapLoadsAndWritesBackByteForByte) {
  const std::string source = "SaveGame/DemoVersion/0/Maps/Map5.dat";
  const std::vector<uint8_t> original = ReadBytes(source);
  ASSERT_EQ(original.size(), kMapRecordBytes);
  static MapRecord m;
  ASSERT_EQ(ReadMapFile("SaveGame\\DemoVersion\\0\\Maps\\Map5.dat", &m), kMapFileRead);
  const std::string copy = dir_ + "Map5.dat";
  ASSERT_TRUE(WriteMapFile(copy.c_str(), m));
  EXPECT_EQ(ReadBytes(copy), original);
}

TEST_F(MapFolder, LoadAllMapsTakesPresentFilesAndEmptiesMissingOnes) {
  StoredMaps[3].width = 99;  // stale value, must be replaced by an empty map
  WriteBytes(dir_ + "Map0.dat", ImageOf(40, 30, 7));
  WriteBytes(dir_ + "Map40.dat", ImageOf(60, 60, 9));
  ASSERT_EQ(LoadAllMaps(slot_), 1);
  EXPECT_EQ(StoredMaps[0].width, 40);
  EXPECT_EQ(StoredMaps[0].height, 30);
  EXPECT_EQ(StoredMaps[0].layers[kLayerEvents][SquareIndex(1, 2)], 7);
  EXPECT_EQ(StoredMaps[40].layers[kLayerEvents][SquareIndex(1, 2)], 9);
  EXPECT_EQ(StoredMaps[3].width, 0);
  EXPECT_EQ(StoredMaps[3].layers[kLayerEvents][SquareIndex(1, 2)], 0);
}

TEST_F(MapFolder, ABadFileInTheMiddleLeavesEveryStoredMapAsItWas) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> shortFile = ImageOf(10, 10, 5);
  shortFile.pop_back();  // 115,743 bytes
  const Case cases[] = {
      {"115,743 bytes", shortFile},
      {"width 61", ImageOf(61, 10, 5)},
      {"height 61", ImageOf(10, 61, 5)},
      {"negative width", ImageOf(-1, 10, 5)},
  };
  for (const Case& c : cases) {
    for (int n = 0; n < kStoredMapCount; ++n) {
      std::memset(&StoredMaps[n], 0, sizeof StoredMaps[n]);
      StoredMaps[n].width = 12;
      StoredMaps[n].layers[kLayerWalls][0] = 100 + n;
    }
    WriteBytes(dir_ + "Map2.dat", ImageOf(20, 20, 1));
    WriteBytes(dir_ + "Map20.dat", c.bytes);
    EXPECT_EQ(LoadAllMaps(slot_), 0) << c.what;
    for (int n = 0; n < kStoredMapCount; ++n) {
      EXPECT_EQ(StoredMaps[n].width, 12) << c.what << " map " << n;
      EXPECT_EQ(StoredMaps[n].layers[kLayerWalls][0], 100 + n) << c.what << " map " << n;
    }
  }
}

TEST_F(MapFolder, LongerFileIsReadUpToTheRecord) {
  std::vector<uint8_t> bytes = ImageOf(8, 9, 3);
  bytes.resize(kMapRecordBytes + 100, 0xEE);
  WriteBytes(dir_ + "Map1.dat", bytes);
  ASSERT_EQ(LoadAllMaps(slot_), 1);
  EXPECT_EQ(StoredMaps[1].width, 8);
  EXPECT_EQ(StoredMaps[1].height, 9);
}

TEST_F(MapFolder, WorldMapIsNeverOpenedInTheIntroductoryAdventure) {
  IntroductoryAdventureFlag = 1;
  WriteBytes(dir_ + "WorldMap.dat", ImageOf(24, 16, 2));
  std::memset(&WorldMap, 0, sizeof WorldMap);
  EXPECT_EQ(LoadWorldMap(slot_), 1);
  EXPECT_EQ(WorldMap.width, 0);
}

TEST_F(MapFolder, WorldMapLoadsAndItsFailuresAreFatal) {
  IntroductoryAdventureFlag = 0;
  std::memset(&WorldMap, 0, sizeof WorldMap);
  const int boxes = platform::MessageBoxCount();
  EXPECT_EQ(LoadWorldMap(slot_), 0);
  EXPECT_EQ(platform::MessageBoxCount(), boxes + 1);
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not open world map.");

  std::vector<uint8_t> shortFile = ImageOf(24, 16, 2);
  shortFile.resize(1000);
  WriteBytes(dir_ + "WorldMap.dat", shortFile);
  EXPECT_EQ(LoadWorldMap(slot_), 0);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not read world map.");
  EXPECT_EQ(WorldMap.width, 0);

  WriteBytes(dir_ + "WorldMap.dat", ImageOf(24, 16, 2));
  EXPECT_EQ(LoadWorldMap(slot_), 1);
  EXPECT_EQ(WorldMap.width, 24);
  EXPECT_EQ(WorldMap.layers[kLayerEvents][SquareIndex(1, 2)], 2);
}

TEST(CompiledMaps, PreparedSlotsHoldTheDrawnMaps) {
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "DemoVersion");
  ASSERT_EQ(LoadAllMaps(0), 1);
  const MapRecord& room = StoredMaps[5];
  EXPECT_STREQ(room.name, "Guard Room");
  EXPECT_EQ(room.width, 14);
  EXPECT_EQ(room.height, 10);
  EXPECT_EQ(room.lit, 1);
  // The room's south doors (82) and the yard's east doors (83).
  EXPECT_EQ(room.At(kLayerWalls, 6, 6), 82);
  EXPECT_EQ(room.At(kLayerWalls, 7, 6), 82);
  EXPECT_EQ(room.At(kLayerWalls, 13, 2), 83);
  EXPECT_EQ(room.At(kLayerWalls, 0, 0), 46);
  EXPECT_EQ(room.At(kLayerWalls, 1, 1), 0);
  EXPECT_EQ(room.At(kLayerObjects0, 6, 4), 5001);
  EXPECT_EQ(room.At(kLayerFloor, 13, 9), 92);
  EXPECT_EQ(room.At(kLayerFloor, 14, 0), 0);  // beyond the width
  EXPECT_EQ(StoredMaps[0].width, 0);          // no source: an empty map

  std::snprintf(AdventureFolder, sizeof AdventureFolder, "FullVersion");
  IntroductoryAdventureFlag = 0;
  ASSERT_EQ(LoadWorldMap(0), 1);
  EXPECT_EQ(WorldMap.width, 40);
  EXPECT_EQ(WorldMap.At(kLayerGround, 0, 0), 3);
  EXPECT_EQ(WorldMap.At(kLayerGround, 0, 29), 6);
  EXPECT_EQ(WorldMap.At(kLayerEvents, 30, 3), 3);
  // The party's world square at the start is the place of its first map.
  EXPECT_EQ(WorldMap.At(kLayerObjects0, 4, 19), 5);
  EXPECT_EQ(WorldMap.At(kLayerObjects1, 4, 19), 20);
}

}  // namespace
