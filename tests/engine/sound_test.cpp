// Sound channels, samples and the streaming thread, driven through the
// capture sink: every test mixes a known number of frames and reads them.
#include <unistd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/sound.h"
#include "platform/audio.h"
#include "platform/system.h"

namespace {

constexpr int kFramesPerQuarter = kChannelQuarterBytes / 4;

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPlatform());
    ASSERT_EQ(InitSound(1), 1);
    ASSERT_TRUE(platform::AudioIsCaptured());
    for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
  }
  void TearDown() override {
    for (int c = 0; c < kSoundChannelCount; ++c) FreeSoundChannel(c);
    for (auto& s : SoundSamples) FreeSoundSample(&s);
    ShutdownSound();
  }

  // Puts `frames` stereo frames of constant (left, right) into sample record k.
  static void MakeSample(int k, int frames, int16_t left, int16_t right) {
    SoundSample& s = SoundSamples[k];
    FreeSoundSample(&s);
    s.block = s.data = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(frames) * 4 + 1, 1));
    for (int i = 0; i < frames; ++i) {
      std::memcpy(s.data + i * 4, &left, 2);
      std::memcpy(s.data + i * 4 + 2, &right, 2);
    }
    s.size = s.remaining = static_cast<uint32_t>(frames) * 4;
    s.start = s.position = 0;
    s.channels = 2;
    s.bitsPerSample = 16;
    s.sampleRate = 22050;
  }

  static std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    EXPECT_EQ(CaptureSound(out.data(), frames), frames);
    return out;
  }

  // Frames (counted from the start) whose left side is not silent.
  static int SoundingFrames(const std::vector<int16_t>& mix) {
    int n = 0;
    for (size_t i = 0; i < mix.size(); i += 2)
      if (mix[i] != 0) ++n;
    return n;
  }
};

TEST(SoundLevels, VolumeMapsToHundredthsOfADecibel) {
  const struct {
    int volume;
    int32_t level;
  } cases[] = {{0, -10000}, {1, -2970}, {50, -1500}, {99, -30}, {100, 0}, {150, 0}, {-5, -10000}};
  for (const auto& c : cases) EXPECT_EQ(ChannelVolumeLevel(c.volume), c.level) << c.volume;
}

TEST(SoundLevels, EndQuarterIsTheQuarterOfTheLastByte) {
  const struct {
    uint32_t size;
    int32_t loops;
    int16_t quarter;
  } cases[] = {{100, 0, -1},     {100, 1, 0},      {16384, 1, 0},  {16385, 1, 1},  {100000, 1, 2},
               {65536, 1, 3},    {81920, 1, 0},    {10000, 3, 1},  {0, 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(SoundEndQuarter(c.size, c.loops), c.quarter) << c.size << " x" << c.loops;
}

TEST_F(SoundTest, ChannelVolumeIsClampedAndSetOnTheBuffer) {
  EXPECT_EQ(SetChannelVolume(3, 1), 1);
  EXPECT_EQ(platform::SoundBufferLevel(SoundChannels[3].buffer), -2970);
  EXPECT_EQ(SetChannelVolume(3, 250), 1);
  EXPECT_EQ(SoundChannels[3].volume, 100);
  EXPECT_EQ(platform::SoundBufferLevel(SoundChannels[3].buffer), 0);
  EXPECT_EQ(SetChannelVolume(3, 0), 1);
  EXPECT_EQ(platform::SoundBufferLevel(SoundChannels[3].buffer), -10000);
  EXPECT_EQ(SetChannelPan(3, -20000), 1);
  EXPECT_EQ(platform::SoundBufferPan(SoundChannels[3].buffer), -10000);
  FreeSoundChannel(4);
  EXPECT_EQ(SetChannelVolume(4, 50), 0);
  EXPECT_EQ(PlaySound(0, 4, 1, 100), 0);
  EXPECT_EQ(IsChannelFree(4), 1);
}

TEST_F(SoundTest, SampleAppearsInTheMixAtItsVolumeAndPan) {
  MakeSample(0, 3000, 16000, 16000);
  ASSERT_EQ(SetChannelPan(5, 2000), 1);  // right of centre: the left side 20 dB down
  ASSERT_EQ(PlaySound(0, 5, 1, 50), 1);  // -15 dB
  const auto mix = Mix(1000);
  const double gain = std::pow(10.0, -1500 / 2000.0);
  EXPECT_NEAR(mix[200 * 2 + 1], 16000 * gain, 2.0);                              // right
  EXPECT_NEAR(mix[200 * 2], 16000 * gain * std::pow(10.0, -2000 / 2000.0), 2.0);  // left
}

TEST_F(SoundTest, PlayingOnceStopsAndFreesTheChannel) {
  MakeSample(0, 2500, 8000, 8000);
  ASSERT_EQ(PlaySound(0, 2, 1, 100), 1);
  EXPECT_EQ(IsChannelPlaying(2), 1);
  EXPECT_EQ(IsChannelFree(2), 0);
  const auto mix = Mix(kFramesPerQuarter * 2);
  EXPECT_EQ(SoundingFrames(mix), 2500);
  EXPECT_EQ(mix[2499 * 2], 8000);
  EXPECT_EQ(IsChannelPlaying(2), 0);
  EXPECT_EQ(IsChannelFree(2), 1);
}

TEST_F(SoundTest, LoopCountsPlayThatManyPasses) {
  MakeSample(0, 2500, 8000, 8000);
  ASSERT_EQ(PlaySound(0, 1, 3, 100), 1);
  const auto mix = Mix(kFramesPerQuarter * 4);
  EXPECT_EQ(SoundingFrames(mix), 7500);
  EXPECT_EQ(IsChannelPlaying(1), 0);
}

TEST_F(SoundTest, LoopCountZeroRepeatsUntilStopped) {
  MakeSample(0, 3000, 8000, 8000);
  ASSERT_EQ(PlaySound(0, 17, 0, 100), 1);
  const auto mix = Mix(kFramesPerQuarter * 12);  // three times round the buffer
  EXPECT_EQ(SoundingFrames(mix), kFramesPerQuarter * 12);
  EXPECT_EQ(IsChannelPlaying(17), 1);
  EXPECT_EQ(StopChannel(17), 1);
  EXPECT_EQ(IsChannelFree(17), 1);
  EXPECT_EQ(SoundingFrames(Mix(1000)), 0);
}

TEST_F(SoundTest, SoundEndingOnAQuarterBoundaryPlaysWhole) {
  // Exactly one buffer's worth, and one and a quarter: neither is cut short.
  for (int frames : {kFramesPerQuarter * 4, kFramesPerQuarter * 5}) {
    MakeSample(0, frames, 4000, 4000);
    ASSERT_EQ(PlaySound(0, 0, 1, 100), 1);
    const auto mix = Mix(kFramesPerQuarter * 8);
    EXPECT_EQ(SoundingFrames(mix), frames);
    EXPECT_EQ(IsChannelPlaying(0), 0);
  }
}

TEST_F(SoundTest, LongSampleStreamsThroughTheBuffer) {
  // Ten quarters of a rising ramp: every frame comes out once, in order.
  const int frames = kFramesPerQuarter * 10 + 123;
  MakeSample(0, frames, 0, 0);
  for (int i = 0; i < frames; ++i) {
    const int16_t v = static_cast<int16_t>(1 + i % 30000);
    std::memcpy(SoundSamples[0].data + i * 4, &v, 2);
    std::memcpy(SoundSamples[0].data + i * 4 + 2, &v, 2);
  }
  ASSERT_EQ(PlaySound(0, 6, 1, 100), 1);
  const auto mix = Mix(frames + kFramesPerQuarter * 2);
  int wrong = 0;
  for (int i = 0; i < frames; ++i) wrong += mix[i * 2] != 1 + i % 30000;
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(SoundingFrames(mix), frames);
  EXPECT_EQ(IsChannelPlaying(6), 0);
}

TEST_F(SoundTest, NewSampleOnABusyChannelCutsTheOldOne) {
  MakeSample(0, 20000, 1000, 1000);
  MakeSample(1, 500, 3000, 3000);
  ASSERT_EQ(PlaySound(0, 8, 0, 100), 1);
  Mix(kFramesPerQuarter + 100);  // a notification of the old sound is handled
  ASSERT_EQ(PlaySound(1, 8, 1, 100), 1);
  const auto mix = Mix(kFramesPerQuarter * 2);
  EXPECT_EQ(mix[0], 3000);
  EXPECT_EQ(mix[499 * 2], 3000);
  EXPECT_EQ(SoundingFrames(mix), 500);
}

TEST_F(SoundTest, ChannelsMixTogether) {
  MakeSample(0, 4000, 1000, 1000);
  MakeSample(1, 4000, 2000, -2000);
  ASSERT_EQ(PlaySound(0, 0, 1, 100), 1);
  ASSERT_EQ(PlaySound(1, 31, 1, 100), 1);
  const auto mix = Mix(100);
  EXPECT_EQ(mix[50 * 2], 3000);
  EXPECT_EQ(mix[50 * 2 + 1], -1000);
}

// ---- WAV files ---------------------------------------------------------------

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Wav(uint32_t declaredData, uint32_t actualData) {
  std::vector<uint8_t> b(44 + actualData, 0);
  std::memcpy(&b[0], "RIFF", 4);
  PutU32(b, 4, 36 + declaredData);
  std::memcpy(&b[8], "WAVEfmt ", 8);
  PutU32(b, 16, 16);
  b[20] = 1;
  b[22] = 2;
  PutU32(b, 24, 22050);
  PutU32(b, 28, 88200);
  b[32] = 4;
  b[34] = 16;
  std::memcpy(&b[36], "data", 4);
  PutU32(b, 40, declaredData);
  for (uint32_t i = 0; i < actualData; ++i) b[44 + i] = static_cast<uint8_t>(i * 7 + 1);
  return b;
}

std::string WriteTemp(const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

TEST_F(SoundTest, CanonicalWavLoadsIntoMemory) {
  const auto path = WriteTemp("canonical.wav", Wav(4000, 4000));
  SoundSample s;
  ASSERT_EQ(LoadWavFile(&s, path.c_str()), 1);
  std::remove(path.c_str());
  EXPECT_EQ(s.size, 4000u);
  EXPECT_EQ(s.remaining, 4000u);
  EXPECT_EQ(s.start, 0u);
  EXPECT_EQ(s.sampleRate, 22050u);
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.bitsPerSample, 16);
  EXPECT_EQ(s.data[0], 1);
  EXPECT_EQ(s.data[3999], static_cast<uint8_t>(3999 * 7 + 1));
  FreeSoundSample(&s);
}

TEST_F(SoundTest, NonCanonicalHeadersAreRefused) {
  auto listChunk = Wav(400, 400);
  std::memcpy(&listChunk[36], "LIST", 4);  // another chunk before the data
  auto wideFormat = Wav(400, 400);
  std::memcpy(&wideFormat[12], "fmt_", 4);
  auto notRiff = Wav(400, 400);
  std::memcpy(&notRiff[0], "RIFX", 4);
  auto shortFile = Wav(0, 0);
  shortFile.resize(30);
  int k = 0;
  for (const auto& bytes : {listChunk, wideFormat, notRiff, shortFile}) {
    const auto path = WriteTemp(("bad" + std::to_string(k++) + ".wav").c_str(), bytes);
    SoundSample s;
    EXPECT_EQ(LoadWavFile(&s, path.c_str()), 0) << k;
    std::remove(path.c_str());
    EXPECT_EQ(s.data, nullptr);
  }
  SoundSample s;
  EXPECT_EQ(LoadWavFile(&s, "Sounds\\NoSuchSound.wav"), 0);
}

TEST_F(SoundTest, TruncatedWavLoadsWhatIsThere) {
  const auto path = WriteTemp("truncated.wav", Wav(100000, 1002));
  SoundSample s;
  ASSERT_EQ(LoadWavFile(&s, path.c_str()), 1);
  std::remove(path.c_str());
  EXPECT_EQ(s.size, 1000u);  // cut to the file, in whole frames
  EXPECT_EQ(s.data[999], static_cast<uint8_t>(999 * 7 + 1));
  FreeSoundSample(&s);
}

TEST_F(SoundTest, TheGamesSoundFilesLoadAndLoopsMeetThemselves) {
  for (int k = 1; k <= kSoundFileCount; ++k) {
    SoundSample& s = SoundSamples[k];
    ASSERT_EQ(LoadWavFile(&s, SoundFileNames[k - 1]), 1) << SoundFileNames[k - 1];
    EXPECT_EQ(s.sampleRate, 22050u);
    EXPECT_EQ(s.channels, 2);
    EXPECT_EQ(s.bitsPerSample, 16);
    EXPECT_GT(s.size, 1000u);
    EXPECT_LT(s.size, 600000u) << SoundFileNames[k - 1];
  }
  // The looping ones: the last frame runs on into the first without a jump.
  for (int k : {20, 21, 22, 23, 24, 55}) {
    const SoundSample& s = SoundSamples[k];
    const auto* pcm = reinterpret_cast<const int16_t*>(s.data);
    const size_t last = s.size / 2 - 2;
    for (int side = 0; side < 2; ++side) {
      int maxStep = 0;
      for (size_t i = side + 2; i < s.size / 2; i += 2) maxStep = std::max(maxStep, std::abs(pcm[i] - pcm[i - 2]));
      EXPECT_LE(std::abs(pcm[side] - pcm[last + side]), maxStep) << SoundFileNames[k - 1];
    }
  }
}

TEST_F(SoundTest, StartUpLoadPlaysAGameEffect) {
  ASSERT_EQ(LoadWavFile(&SoundSamples[kSampleClick], SoundFileNames[kSampleClick - 1]), 1);
  ASSERT_EQ(PlaySound(kSampleClick, 0, 1, 100), 1);
  const auto mix = Mix(kFramesPerQuarter * 2);
  EXPECT_GT(SoundingFrames(mix), 500);
  EXPECT_EQ(IsChannelPlaying(0), 0);
}

TEST_F(SoundTest, ShutdownEndsTheThreadAndInitWorksAgain) {
  EXPECT_EQ(Sound.threadRunning, 1);
  EXPECT_EQ(Sound.masterVolume, 100);
  ShutdownSound();
  EXPECT_EQ(Sound.threadRunning, 0);
  EXPECT_EQ(IsChannelPlaying(0), 0);
  EXPECT_EQ(InitSound(0), 0);
  ASSERT_EQ(InitSound(1), 1);
  ASSERT_EQ(CreateSoundChannel(0), 1);
  MakeSample(0, 100, 500, 500);
  EXPECT_EQ(PlaySound(0, 0, 1, 100), 1);
  EXPECT_EQ(SoundingFrames(Mix(kFramesPerQuarter * 2)), 100);
}

// A process that ends without shutting sound down still ends: by the time the static objects the streaming thread waits on are torn
// down, the thread has ended (whether they go first depends on the link).
// The check runs in an exit handler registered before sound starts, so after
// any that sound registers; the alarm turns a hang into a failure.
TEST(SoundExit, ExitingWithTheStreamingThreadRunningEndsItFirst) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process for the exit
  EXPECT_EXIT(
      {
        alarm(20);
        std::atexit([] {
          if (Sound.threadRunning || Sound.thread.joinable()) std::_Exit(5);
        });
        if (!platform::InitPlatform() || InitSound(1) != 1) std::_Exit(3);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

// A checked sound keeps its bytes on disk until it first plays; it then plays
// what LoadWavFile reads. A file gone by then plays nothing and breaks nothing.
TEST_F(SoundTest, ACheckedSoundIsReadWhenFirstPlayed) {
  const auto path = WriteTemp("checked.wav", Wav(4000, 4000));
  SoundSample& s = SoundSamples[kSampleClick];
  ASSERT_EQ(CheckWavFile(&s, path.c_str()), 1);
  EXPECT_EQ(s.data, nullptr);
  EXPECT_EQ(s.channels, 2);
  ASSERT_EQ(PlaySound(kSampleClick, 0, 1, 100), 1);
  ASSERT_NE(s.data, nullptr);
  EXPECT_EQ(s.size, 4000u);
  EXPECT_EQ(s.data[3999], static_cast<uint8_t>(3999 * 7 + 1));
  const uint8_t* read = s.data;
  std::remove(path.c_str());
  ASSERT_EQ(PlaySound(kSampleClick, 1, 1, 100), 1);  // played again from memory
  EXPECT_EQ(s.data, read);
  EXPECT_GT(SoundingFrames(Mix(kFramesPerQuarter)), 500);

  const auto gone = WriteTemp("gone.wav", Wav(4000, 4000));
  ASSERT_EQ(CheckWavFile(&s, gone.c_str()), 1);
  std::remove(gone.c_str());
  EXPECT_EQ(PlaySound(kSampleClick, 2, 1, 100), 0);
  EXPECT_EQ(IsChannelPlaying(2), 0);
}

}  // namespace
