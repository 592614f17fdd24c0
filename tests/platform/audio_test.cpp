// The mixer's level and pan rules and its position notifications, the
// timing a MIDI file may have, and storms of MIDI events at one instant.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

// A one-track file: a tempo event (0 for none), one note, then the end
// `ticks` after the start, at `division` ticks to the quarter note.
std::vector<uint8_t> OneNoteSong(uint32_t tempo, uint32_t ticks, uint16_t division) {
  std::vector<uint8_t> track;
  if (tempo) track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)});
  track.insert(track.end(), {0x00, 0x90, 60, 100});
  uint8_t vlq[4];
  int n = 0;
  for (uint32_t v = ticks;; v >>= 7) {
    vlq[n++] = v & 0x7F;
    if (v < 0x80) break;
  }
  while (n--) track.push_back(static_cast<uint8_t>(vlq[n] | (n ? 0x80 : 0)));
  track.insert(track.end(), {0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, uint8_t(division >> 8), uint8_t(division)};
  const uint32_t size = static_cast<uint32_t>(track.size());
  file.reserve(file.size() + 8 + track.size());
  file.insert(file.end(), {'M', 'T', 'r', 'k', uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)});
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

bool Accepted(const std::vector<uint8_t>& file) {
  MidiSong* song = ParseMidiSong(file.data(), file.size());
  FreeMidiSong(song);
  return song != nullptr;
}

TEST(MidiFiles, TimingOutsideAnyMusicalRangeIsRefused) {
  EXPECT_TRUE(Accepted(OneNoteSong(0, 96, 96)));
  EXPECT_TRUE(Accepted(OneNoteSong(kMidiFastestTempo, 96, 96)));
  EXPECT_FALSE(Accepted(OneNoteSong(kMidiFastestTempo - 1, 96, 96)));
  EXPECT_FALSE(Accepted(OneNoteSong(1, 96, 96)));
  EXPECT_TRUE(Accepted(OneNoteSong(kMidiSlowestTempo, 96, 96)));
  EXPECT_FALSE(Accepted(OneNoteSong(kMidiSlowestTempo + 1, 96, 96)));
  // An hour at the default half second a quarter is 7,200 quarters.
  EXPECT_TRUE(Accepted(OneNoteSong(0, 7200 * 96, 96)));
  EXPECT_FALSE(Accepted(OneNoteSong(0, 7200 * 96 + 1, 96)));
  EXPECT_FALSE(Accepted(OneNoteSong(1, 0x0FFFFFFF, 1)));
  EXPECT_FALSE(Accepted(OneNoteSong(0, 0x0FFFFFFF, 96)));
}

// A one-track file at the default tempo: the events (delta 0 each, status
// bytes given), then the end a quarter later (96 ticks).
std::vector<uint8_t> InstantSong(const std::vector<std::vector<uint8_t>>& events) {
  std::vector<uint8_t> track;
  for (const auto& e : events) {
    track.push_back(0x00);
    track.insert(track.end(), e.begin(), e.end());
  }
  for (int b : {0x60, 0xFF, 0x2F, 0x00}) track.push_back(static_cast<uint8_t>(b));
  const uint32_t size = static_cast<uint32_t>(track.size());
  const char head[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk";
  std::vector<uint8_t> file(head, head + sizeof head - 1);
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<uint8_t>(size >> shift));
  for (uint8_t b : track) file.push_back(b);
  return file;
}

// The first fifth of a second of the song, played from the start by a new
// synthesiser.
std::vector<int16_t> Played(const std::vector<uint8_t>& file) {
  CloseMidiSynth();
  EXPECT_TRUE(OpenMidiSynth());
  std::vector<int16_t> out(2 * kMixRate / 5);
  MidiSong* song = ParseMidiSong(file.data(), file.size());
  EXPECT_NE(song, nullptr);
  if (!song) return out;
  PlayMidiSong(song, 0, 0);
  CaptureAudio(out.data(), kMixRate / 5);
  FreeMidiSong(song);
  return out;
}

// Events due at one instant are sent as what they add up to: a storm of
// settings as its last values, keys struck again and again as one strike,
// resets of all controllers as one; so each storm sounds exactly as its last
// word alone.
TEST(MidiStorms, EventsAtOneInstantSoundAsWhatTheyAddUpTo) {
  ASSERT_TRUE(InitPlatform());
  ASSERT_TRUE(OpenAudio());
  const std::vector<uint8_t> note = {0x90, 60, 100};
  std::vector<std::vector<uint8_t>> storm = {note};
  for (int i = 0; i < 300; ++i) {
    storm.push_back({0xB0, 10, uint8_t(i % 2 ? 127 : 0)});  // pan
    storm.push_back({0xE0, 0, uint8_t(i % 2 ? 0 : 127)});   // pitch bend
    storm.push_back({0xB0, 121, 0});                        // reset all controllers
    storm.push_back({0xB0, 7, uint8_t(i)});                 // volume
    storm.push_back(note);
  }
  storm.push_back({0xB0, 10, 0});
  storm.push_back({0xE0, 0, 80});
  const std::vector<int16_t> alone =
      Played(InstantSong({note, {0xB0, 121, 0}, {0xB0, 7, 43}, {0xB0, 10, 0}, {0xE0, 0, 80}}));
  EXPECT_EQ(Played(InstantSong(storm)), alone);
  // The song plays: the note sounds, on the left.
  int left = 0, right = 0;
  for (size_t i = 0; i + 1 < alone.size(); i += 2) {
    left = std::max(left, std::abs(alone[i]));
    right = std::max(right, std::abs(alone[i + 1]));
  }
  EXPECT_GT(left, 4 * right + 100);
  StopMidi();
  CloseMidiSynth();
  CloseAudio();
}

// The synthesiser is made on a thread of its own: a song asked for meanwhile
// starts once it is there; one stopped or freed meanwhile never starts.
TEST(MidiStorms, ASongAskedForWhileTheSynthesiserIsMadeStartsWhenItIsThere) {
  ASSERT_TRUE(InitPlatform());
  ASSERT_TRUE(OpenAudio());
  const std::vector<uint8_t> file = InstantSong({{0x90, 60, 100}});
  CloseMidiSynth();
  ASSERT_TRUE(OpenMidiSynth());
  MidiSong* song = ParseMidiSong(file.data(), file.size());
  ASSERT_NE(song, nullptr);
  EXPECT_TRUE(PlayMidiSong(song, 0, 0));
  EXPECT_TRUE(MidiIsPlaying());
  std::vector<int16_t> out(2 * kMixRate / 5);
  CaptureAudio(out.data(), kMixRate / 5);
  EXPECT_GT(*std::max_element(out.begin(), out.end()), 100);

  CloseMidiSynth();
  ASSERT_TRUE(OpenMidiSynth());
  EXPECT_TRUE(PlayMidiSong(song, 0, 0));
  StopMidi();
  FreeMidiSong(song);  // the builder must not start what is gone
  WaitForMidiSynth();
  EXPECT_FALSE(MidiIsPlaying());
  CaptureAudio(out.data(), kMixRate / 5);  // nothing left to start: no freed song is touched
  EXPECT_FALSE(MidiIsPlaying());
  CloseMidiSynth();
  CloseAudio();
}

}  // namespace
