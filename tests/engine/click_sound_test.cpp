// The interface click: the first idle one of all the sound channels, and the
// action goes on without it when every channel is busy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/sound.h"
#include "engine/settings.h"
#include "platform/system.h"

namespace {

class ClickSound : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPlatform());
    ASSERT_EQ(InitSound(1), 1);
    for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
    MakeSample(0);
    MakeSample(kSampleClick);
    OptionWords[kOptionSoundVolume] = 50;
  }
  void TearDown() override {
    for (int c = 0; c < kSoundChannelCount; ++c) FreeSoundChannel(c);
    for (auto& s : SoundSamples) FreeSoundSample(&s);
    ShutdownSound();
  }
  // A short quiet stereo sample in record k.
  static void MakeSample(int k) {
    constexpr int kFrames = 2000;
    SoundSample& s = SoundSamples[k];
    FreeSoundSample(&s);
    s.block = s.data = static_cast<uint8_t*>(std::calloc(kFrames * 4 + 1, 1));
    s.size = s.remaining = kFrames * 4;
    s.start = s.position = 0;
    s.channels = 2;
    s.bitsPerSample = 16;
    s.sampleRate = 22050;
  }
};

TEST_F(ClickSound, TakesTheFirstIdleChannelBeyondTheFirstSixteen) {
  for (int c = 0; c < 16; ++c) ASSERT_EQ(PlaySound(0, c, 0, 50), 1);
  const int started = ClickSoundsStarted();
  PlayClickSound();
  EXPECT_EQ(ClickSoundsStarted(), started + 1);
  EXPECT_EQ(IsChannelPlaying(16), 1);
  EXPECT_EQ(IsChannelFree(17), 1);
}

TEST_F(ClickSound, WithEveryChannelBusyNothingPlays) {
  for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(PlaySound(0, c, 0, 50), 1);
  const int started = ClickSoundsStarted();
  PlayClickSound();
  EXPECT_EQ(ClickSoundsStarted(), started);
}

}  // namespace
