// Music: the volume rule, the position arithmetic, playing and resuming
// tracks on the synthesiser, the MP3 player, and a ten-second render.
#include <unistd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/music.h"
#include "engine/sound.h"
#include "engine/settings.h"
#include "platform/audio.h"
#include "platform/system.h"

namespace {

TEST(MusicLevels, VolumeMapsToHundredthsOfADecibel) {
  const struct {
    int volume;
    int32_t level;
  } cases[] = {{0, -9600}, {1, -3168}, {40, -1920}, {100, 0}, {101, -3200}, {141, -1920}};
  for (const auto& c : cases) EXPECT_EQ(MusicVolumeLevel(c.volume), c.level) << c.volume;
}

TEST(MusicPosition, LoopArithmetic) {
  constexpr uint32_t kEndless = kEndlessRepeats;
  const struct {
    int64_t now, startTime, startPoint, loopStart, loopEnd, length;
    uint32_t repeats;
    int32_t expected;
  } cases[] = {
      {500, 100, 0, 0, 0, 1000, 0, 400},             // no repeats: time played
      {1500, 0, 0, 0, 0, 1000, 0, 1500},             // ... even past the end
      {2500, 0, 0, 0, 0, 1000, kEndless, 500},       // endless: wraps on the length
      {2500, 0, 300, 0, 0, 1000, kEndless, 800},     // from a start point
      {1200, 0, 0, 200, 0, 1000, kEndless, 400},     // loop start 200: 200 + (1200 - 200) % 800
      {1500, 0, 0, 0, 0, 1000, 1, 500},              // within the one repeat
      {2500, 0, 0, 0, 0, 1000, 1, 1500},            // past the repeats: the repeats subtracted
      {(1ll << 41) + 5, 0, 0, 0, 0, 1ll << 40, 0xFFFFFFFEu, 5},  // passes past counting: played as endless
      {1000, 0, 0, 0, 600, 1000, kEndless, 400},     // loop end before the length
      {700, 0, 1200, 0, 0, 1000, kEndless, 1900},    // start point past the loop end: no wrap
      {0x90000000LL, 0, 0, 0, 0, 1000, 0, 0x7FFFFFFF},  // clamped
  };
  for (const auto& c : cases)
    EXPECT_EQ(MusicLoopPosition(c.now, c.startTime, c.startPoint, c.loopStart, c.loopEnd, c.length, c.repeats),
              c.expected)
        << c.now << " " << c.startPoint << " " << c.repeats;
}

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPlatform());
    ASSERT_EQ(InitSound(1), 1);
    for (auto& p : MusicTrackPositions) p = 0;
    OptionWords[kOptionMusicVolume] = 40;
  }
  void TearDown() override {
    FreeMp3Player();
    FreeMusicSegment();
    ShutdownSound();
  }
  static std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    EXPECT_EQ(CaptureSound(out.data(), frames), frames);
    return out;
  }
  static double Rms(const std::vector<int16_t>& pcm) {
    double sum = 0;
    for (int16_t v : pcm) sum += static_cast<double>(v) * v;
    return pcm.empty() ? 0 : std::sqrt(sum / pcm.size());
  }
};

// Music time runs at tempo / 60 x 768 a second; "Village Green" is at 100.
constexpr int kVillage = 1;
constexpr int kVillagePerSecond = 100 * 768 / 60;

TEST_F(MusicTest, AllEighteenTracksLoad) {
  for (int t = 0; t < kMusicTrackCount; ++t) {
    EXPECT_EQ(LoadMusicFile(MusicFileNames[t]), 1) << MusicFileNames[t];
    EXPECT_GT(platform::MidiSongLength(CurrentSegment.song), 768 * 8) << MusicFileNames[t];
  }
  EXPECT_EQ(LoadMusicFile("Midi\\NoSuchTrack.mid"), 0);
  EXPECT_EQ(LoadMusicFile(MusicFileNames[kMp3TrackEntry]), 0);  // not a MIDI file
}

TEST_F(MusicTest, PlayingAtVolumeZeroReturnsOneAndPlaysNothing) {
  OptionWords[kOptionMusicVolume] = 0;
  EXPECT_EQ(PlayMusic(kVillage, 0, 0), 1);
  EXPECT_EQ(CurrentMusicTrack, 0);
  EXPECT_FALSE(platform::MidiIsPlaying());
  EXPECT_EQ(Rms(Mix(2000)), 0.0);
}

TEST_F(MusicTest, PlayingSetsTheVolumeAndThePositionRuns) {
  ASSERT_EQ(PlayMusic(kVillage, 0, 0), 1);
  EXPECT_EQ(CurrentMusicTrack, kVillage);
  EXPECT_EQ(MusicVolumeValue, 40);
  EXPECT_EQ(platform::MidiLevel(), -1920);
  EXPECT_EQ(GetMusicPosition(), 0);
  const auto mix = Mix(platform::kMixRate);  // one second
  EXPECT_GT(Rms(mix), 50.0);
  EXPECT_NEAR(GetMusicPosition(), kVillagePerSecond, 2);
  EXPECT_EQ(GetMusicTempo(), 100);
  EXPECT_EQ(StopMusic(), 1);
  EXPECT_EQ(CurrentMusicTrack, 0);
  EXPECT_FALSE(platform::MidiIsPlaying());
}

TEST_F(MusicTest, SetMusicVolumeKeepsTheValueModulo101) {
  EXPECT_EQ(SetMusicVolume(101), 1);
  EXPECT_EQ(MusicVolumeValue, 0);
  EXPECT_EQ(platform::MidiLevel(), -3200);
  EXPECT_EQ(SetMusicVolume(0), 1);
  EXPECT_EQ(platform::MidiLevel(), -9600);
}

TEST_F(MusicTest, StoppedTrackResumesAtItsStoredPosition) {
  ASSERT_EQ(PlayMusic(kVillage, 0, 0), 1);
  Mix(platform::kMixRate * 2);
  MusicTrackPositions[kVillage] = GetMusicPosition();
  EXPECT_NEAR(MusicTrackPositions[kVillage], 2 * kVillagePerSecond, 3);
  StopMusic();
  ASSERT_EQ(PlayMusic(9, 0, 0), 1);  // the battle interrupts
  Mix(platform::kMixRate);
  ASSERT_EQ(PlayMusic(kVillage, 0, 1), 1);
  EXPECT_EQ(GetMusicPosition(), MusicTrackPositions[kVillage]);
  Mix(platform::kMixRate / 2);
  EXPECT_NEAR(GetMusicPosition(), MusicTrackPositions[kVillage] + kVillagePerSecond / 2, 3);
  // Without the resume flag the track starts over.
  ASSERT_EQ(PlayMusic(kVillage, 0, 0), 1);
  EXPECT_EQ(GetMusicPosition(), 0);
}

TEST_F(MusicTest, EndlessTrackWrapsItsPositionAndOnceStops) {
  ASSERT_EQ(PlayMusic(0, 0, 0), 1);  // "Stillness": 4 bars at 60, 16 seconds
  const int64_t length = platform::MidiSongLength(CurrentSegment.song);
  ASSERT_EQ(length, 16 * 768);
  Mix(platform::kMixRate * 17);
  EXPECT_NEAR(GetMusicPosition(), 768, 3);
  EXPECT_TRUE(platform::MidiIsPlaying());
  ASSERT_EQ(PlayMusic(0, 1, 0), 1);
  Mix(platform::kMixRate * 17);
  EXPECT_FALSE(platform::MidiIsPlaying());
}

TEST_F(MusicTest, Mp3PlaysToItsEndAndReportsCompletionOnce) {
  EXPECT_EQ(ResumeMp3(), 0);  // no graph yet
  ASSERT_EQ(CreateMp3Player(), 1);
  ASSERT_EQ(RenderMp3File(MusicFileNames[kMp3TrackEntry]), 1);
  ASSERT_EQ(ResumeMp3(), 1);
  EXPECT_GT(Rms(Mix(platform::kMixRate)), 500.0);
  EXPECT_EQ(PollMusicComplete(), 0);
  ASSERT_EQ(PauseMp3(), 1);
  EXPECT_EQ(Rms(Mix(1000)), 0.0);
  ASSERT_EQ(ResumeMp3(), 1);
  Mix(platform::kMixRate * 40);
  EXPECT_EQ(PollMusicComplete(), 1);
  EXPECT_EQ(PollMusicComplete(), 0);
  EXPECT_EQ(FreeMp3Player(), 1);
  EXPECT_EQ(PollMusicComplete(), 0);
}

TEST_F(MusicTest, Mp3RunAtItsEndStaysSilentUntilStopped) {
  ASSERT_EQ(CreateMp3Player(), 1);
  ASSERT_EQ(RenderMp3File(MusicFileNames[kMp3TrackEntry]), 1);
  ASSERT_EQ(ResumeMp3(), 1);
  Mix(platform::kMixRate * 40);
  ASSERT_EQ(PollMusicComplete(), 1);
  // Running the finished track again neither replays it nor reports a second end.
  EXPECT_EQ(ResumeMp3(), 1);
  EXPECT_EQ(Rms(Mix(platform::kMixRate)), 0.0);
  EXPECT_EQ(PollMusicComplete(), 0);
  // Stopping rewinds it: the next run plays from the start.
  ASSERT_EQ(StopMp3(), 1);
  ASSERT_EQ(ResumeMp3(), 1);
  EXPECT_GT(Rms(Mix(platform::kMixRate)), 500.0);
}

TEST_F(MusicTest, TheMp3EntryIsNoMidiTrackButStillStopsTheMusic) {
  ASSERT_EQ(PlayMusic(kVillage, 0, 0), 1);
  EXPECT_EQ(PlayMusic(kMp3TrackEntry, 0, 0), 0);
  EXPECT_EQ(CurrentMusicTrack, 0);
  EXPECT_FALSE(platform::MidiIsPlaying());
  EXPECT_EQ(PlayMusic(kMp3TrackEntry + 1, 0, 0), 0);
  EXPECT_EQ(PlayMusic(-1, 0, 0), 0);
}

// Ten seconds of the battle track with a few effects over it, written as a
// WAV file (kept in the test's temporary folder) and found not silent.
TEST_F(MusicTest, TenSecondRenderIsNotSilent) {
  for (int c = 0; c < 4; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
  for (int k : {5, 9, 30, 56}) ASSERT_EQ(LoadWavFile(&SoundSamples[k], SoundFileNames[k - 1]), 1);
  OptionWords[kOptionMusicVolume] = 100;
  ASSERT_EQ(PlayMusic(9, 0, 0), 1);
  std::vector<int16_t> all;
  const int effects[][2] = {{5, 0}, {9, 1}, {30, 2}, {56, 3}};
  for (const auto& e : effects) {
    ASSERT_EQ(PlaySound(e[0], e[1], 1, 100), 1);
    auto part = Mix(platform::kMixRate * 2);
    all.insert(all.end(), part.begin(), part.end());
  }
  auto rest = Mix(platform::kMixRate * 2);
  all.insert(all.end(), rest.begin(), rest.end());
  EXPECT_GT(Rms(all), 1000.0);
  const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_ten_seconds.wav";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  const uint32_t bytes = static_cast<uint32_t>(all.size() * 2);
  const uint32_t header[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746D66, 16, 0x00020001, 22050, 88200, 0x00100004,
                             0x61746164, bytes};
  std::fwrite(header, 4, 11, f);
  std::fwrite(all.data(), 2, all.size(), f);
  std::fclose(f);
  std::remove(path.c_str());
  for (int c = 0; c < 4; ++c) FreeSoundChannel(c);
  for (int k : {5, 9, 30, 56}) FreeSoundSample(&SoundSamples[k]);
}

}  // namespace
