// The mixer's level and pan rules and its position notifications.
#include <gtest/gtest.h>

#include <vector>

#include "platform/audio.h"
#include "platform/system.h"

namespace {

using namespace platform;

TEST(AudioLevels, LevelAndPanFollowTheDecibelRules) {
  EXPECT_FLOAT_EQ(GainOfLevel(0), 1.0f);
  EXPECT_NEAR(GainOfLevel(-2000), 0.1f, 1e-6);
  EXPECT_NEAR(GainOfLevel(-600), 0.501f, 1e-3);
  EXPECT_EQ(GainOfLevel(-10000), 0.0f);
  float l = 0, r = 0;
  PanGains(0, &l, &r);
  EXPECT_EQ(l, 1.0f);
  EXPECT_EQ(r, 1.0f);
  PanGains(-2000, &l, &r);
  EXPECT_EQ(l, 1.0f);
  EXPECT_NEAR(r, 0.1f, 1e-6);
  PanGains(10000, &l, &r);
  EXPECT_EQ(l, 0.0f);
  EXPECT_EQ(r, 1.0f);
  PanGains(50000, &l, &r);  // beyond the range counts as full right
  EXPECT_EQ(l, 0.0f);
}

TEST(AudioMixer, NotificationsFireAsThePositionPassesTheirMarks) {
  ASSERT_TRUE(InitPlatform());
  ASSERT_TRUE(OpenAudio());
  ASSERT_TRUE(AudioIsCaptured());
  const int b = CreateSoundBuffer(4000);
  ASSERT_GT(b, 0);
  AudioEvent* e = CreateAudioEvent();
  const uint32_t marks[] = {999, 3999};
  ASSERT_TRUE(SetSoundBufferNotify(b, marks, 2, e));
  ASSERT_TRUE(PlaySoundBuffer(b, true));
  std::vector<int16_t> out(2 * 2000);
  CaptureAudio(out.data(), 249);  // 996 bytes: short of the first mark
  AudioEvent* events[] = {e};
  bool fired = false;
  // Signalled state is seen through a waiter: signal a second event to learn
  // which one comes first.
  AudioEvent* probe = CreateAudioEvent();
  SignalAudioEvent(probe);
  AudioEvent* both[] = {e, probe};
  fired = WaitForAudioEvents(both, 2) == 0;
  EXPECT_FALSE(fired);
  CaptureAudio(out.data(), 1);  // now past byte 999
  SignalAudioEvent(probe);
  EXPECT_EQ(WaitForAudioEvents(both, 2), 0);
  EXPECT_EQ(WaitForAudioEvents(both, 2), 1);
  CaptureAudio(out.data(), 750);  // to the end and round: the second mark
  EXPECT_EQ(WaitForAudioEvents(events, 1), 0);
  EXPECT_EQ(SoundBufferPosition(b), 0u);
  EXPECT_TRUE(SoundBufferPlaying(b));
  DestroySoundBuffer(b);
  DestroyAudioEvent(e);
  DestroyAudioEvent(probe);
  CloseAudio();
}

}  // namespace
