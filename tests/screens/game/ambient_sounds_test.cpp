// The ambient sounds follow the features in view: their levels near and far,
// the campfire that damps the others and gives their volumes back when it
// leaves the view; and the debug map tool's map number and caption.
#include <gtest/gtest.h>

#include <string>

#include "engine/input.h"
#include "engine/looping_sounds.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "screens/game/ambient_sounds.h"
#include "screens/game/debug_tools.h"
#include "screens/game/map_input.h"
#include "map_scene.h"

namespace {

class AmbientSounds : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    mapscene::LayOutMap();
    OptionWords[kOptionAmbientVolume] = 80;
    StopAllLoopingSounds();
  }
  void TearDown() override {
    StopAllLoopingSounds();
    harness::StopGame();
  }
  static void Frame() {
    mapscene::DrawScene();
    UpdateAmbientSounds();
  }
};

TEST_F(AmbientSounds, ASourceNearTheCampfireStartsFarThenRises) {
  CurrentMap.At(kLayerFloor, 8, 5) = 2015;  // a brazier beside the focus square (7, 5)
  CurrentMap.At(kLayerWalls, 6, 5) = 90;    // and the campfire
  Frame();
  ASSERT_TRUE(IsChannelPlaying(18));
  ASSERT_TRUE(IsChannelPlaying(20));
  EXPECT_EQ(AmbientChannelLevels[18], 60);  // far, because the campfire is near
  EXPECT_EQ(AmbientChannelLevels[20], 100);
  Frame();
  EXPECT_EQ(AmbientChannelLevels[18], 100);
  // Out of the focus square's reach both fall to their far levels.
  FocusSquareX = 20;
  Frame();
  EXPECT_EQ(AmbientChannelLevels[18], 60);
  EXPECT_EQ(AmbientChannelLevels[20], 75);
}

TEST_F(AmbientSounds, LeavingTheCampfiresViewStopsItAndGivesTheVolumesBack) {
  CurrentMap.At(kLayerWalls, 6, 5) = 90;
  CurrentMap.At(kLayerWalls, 3, 3) = 86;  // an animated feature on channel 21
  Frame();
  Frame();
  ASSERT_TRUE(IsChannelPlaying(21));
  const int full = 80 * 70 / 100;  // the feature lies far from the focus square
  EXPECT_EQ(SoundChannels[21].volume, full * 2 / 100);  // damped to 2 % beside the fire
  MapMemory[mapscene::kMap][SquareIndex(6, 5)] = 0;  // the campfire no longer drawn
  Frame();
  EXPECT_FALSE(IsChannelPlaying(20));
  EXPECT_EQ(AmbientChannelLevels[20], 0);
  EXPECT_EQ(SoundChannels[21].volume, full);
  // A feature out of view stops its sound.
  MapMemory[mapscene::kMap][SquareIndex(3, 3)] = 0;
  Frame();
  EXPECT_FALSE(IsChannelPlaying(21));
}

TEST(DebugMapTool, TheMapNumberWrapsBothWaysAndTheCaptionTellsASquareChange) {
  ASSERT_TRUE(harness::StartGame());
  DebugMode = 1;
  DebugMapTool = 1;
  DebugMapNumber = 40;
  harness::KeyDown("0");
  harness::PumpMessages();
  ReadInputDevice(&KeyboardDevice);
  DrawDebugMapTool();
  EXPECT_EQ(DebugMapNumber, 0);
  DrawDebugMapTool();  // once per press
  EXPECT_EQ(DebugMapNumber, 0);
  harness::KeyUp("0");
  harness::KeyDown("-");
  harness::PumpMessages();
  ReadInputDevice(&KeyboardDevice);
  DrawDebugMapTool();
  DrawDebugMapTool();  // every frame while held
  EXPECT_EQ(DebugMapNumber, 39);
  harness::KeyUp("-");
  // The caption's last value is whether the map cursor moved to another square.
  for (uint32_t changed : {1u, 0u}) {
    SquareChanged = changed;
    DrawDebugMapTool();
    const std::string caption = HoverCaption;
    EXPECT_TRUE(caption.ends_with(changed ? "squarehaschanged: 1" : "squarehaschanged: 0")) << caption;
  }
  DebugMode = 0;
  harness::StopGame();
}

}  // namespace
