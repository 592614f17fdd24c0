// Background music on the MIDI synthesiser, and the MP3 player.
#include "engine/music.h"

#include <algorithm>
#include <string>

#include "engine/sound.h"
#include "engine/settings.h"
#include "platform/audio.h"
#include "platform/files.h"

const char* const MusicFileNames[kMusicTrackCount + 1] = {
    "Midi\\0.mid",  "Midi\\1.mid",  "Midi\\2.mid",  "Midi\\3.mid",  "Midi\\4.mid",
    "Midi\\5.mid",  "Midi\\6.mid",  "Midi\\7.mid",  "Midi\\8.mid",  "Midi\\9.mid",
    "Midi\\10.mid", "Midi\\11.mid", "Midi\\12.mid", "Midi\\13.mid", "Midi\\14.mid",
    "Midi\\15.mid", "Midi\\16.mid", "Midi\\17.mid", "MP3\\Combat.mp3",
};

int32_t MusicTrackPositions[kMusicTrackCount] = {};
int32_t CurrentMusicTrack = 0;
int32_t MusicVolumeValue = 0;
int32_t MusicTempoValue = 0;
MusicSegment CurrentSegment;
Mp3Player Mp3;

namespace {

bool HavePerformance() { return Sound.performanceOpen && platform::MidiSynthIsOpen(); }

}  // namespace

int32_t MusicVolumeLevel(int volume) {
  if (volume == 0) return -9600;
  return (100 - volume % 101) * -32;
}

int32_t MusicLoopPosition(int64_t now, int64_t startTime, int64_t startPoint, int64_t loopStart,
                          int64_t loopEnd, int64_t length, uint32_t repeats) {
  int64_t position = now - startTime + startPoint;
  const int64_t end = loopEnd != 0 ? loopEnd : length;
  if (repeats != 0 && loopStart < end && startPoint < end) {
    const int64_t span = end - loopStart;
    // More passes than music time can count play on without end.
    int64_t repeated = 0;
    const bool counted = repeats != kEndlessRepeats &&
                         !__builtin_mul_overflow(static_cast<int64_t>(repeats), span, &repeated) &&
                         loopStart <= INT64_MAX - repeated;
    if (counted && position > loopStart + repeated)
      position -= repeated;
    else if (position > loopStart)
      position = loopStart + (position - loopStart) % span;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(position, 0, 0x7FFFFFFF));
}

int FreeMusicSegment() {
  CurrentMusicTrack = 0;
  if (HavePerformance()) platform::StopMidi();
  if (CurrentSegment.song) platform::FreeMidiSong(CurrentSegment.song);
  CurrentSegment = MusicSegment();
  return 1;
}

int LoadMusicFile(const char* fileName) {
  FreeMusicSegment();
  if (!HavePerformance() || !fileName) return 0;
  CurrentSegment.song = platform::LoadMidiSong(platform::GamePath(fileName).c_str());
  return CurrentSegment.song ? 1 : 0;
}

int StopMusic() {
  CurrentMusicTrack = 0;
  if (!HavePerformance()) return 0;
  platform::StopMidi();
  return 1;
}

int PlayMusic(int track, int repeats, int resume) {
  if (OptionWords[kOptionMusicVolume] < 1) return 1;
  if (track < 0 || track > kMp3TrackEntry) return 0;
  StopMusic();
  LoadMusicFile(MusicFileNames[track]);  // the MP3 entry is no MIDI file and fails here
  if (!HavePerformance() || !CurrentSegment.song || track >= kMusicTrackCount) return 0;
  const int64_t length = platform::MidiSongLength(CurrentSegment.song);
  int64_t startPoint = resume == 1 ? MusicTrackPositions[track] : 0;
  if (startPoint < 0 || startPoint >= length) startPoint = 0;
  CurrentSegment.repeats = repeats <= 0 ? kEndlessRepeats : static_cast<uint32_t>(repeats - 1);
  SetMusicVolume(OptionWords[kOptionMusicVolume]);
  const int passes = CurrentSegment.repeats == kEndlessRepeats ? -1 : static_cast<int>(CurrentSegment.repeats);
  if (!platform::PlayMidiSong(CurrentSegment.song, startPoint, passes)) return 0;
  CurrentSegment.stateValid = 1;
  CurrentSegment.startTime = platform::MidiStartTime();
  CurrentSegment.startPoint = startPoint;
  CurrentMusicTrack = track;
  return 1;
}

int SetMusicVolume(int volume) {
  if (!HavePerformance()) return 0;
  if (!platform::SetMidiLevel(MusicVolumeLevel(volume))) return 0;
  MusicVolumeValue = volume % 101;
  return 1;
}

int GetMusicPosition() {
  if (!CurrentSegment.stateValid || !CurrentSegment.song) return 0;
  return MusicLoopPosition(platform::MidiMusicTime(), CurrentSegment.startTime, CurrentSegment.startPoint, 0, 0,
                           platform::MidiSongLength(CurrentSegment.song), CurrentSegment.repeats);
}

int GetMusicTempo() {
  if (!HavePerformance()) return 0;
  MusicTempoValue = static_cast<int32_t>(platform::MidiTempoFactor() * 100.0f);
  return MusicTempoValue;
}

int CreateMp3Player() {
  FreeMp3Player();
  Mp3.graph = Mp3.control = Mp3.events = 1;
  return 1;
}

int RenderMp3File(const char* fileName) {
  if (!Mp3.graph || !fileName) return 0;
  return platform::OpenMp3(platform::GamePath(fileName).c_str()) ? 1 : 0;
}

int ResumeMp3() { return Mp3.control && platform::RunMp3() ? 1 : 0; }

int PauseMp3() { return Mp3.control && platform::PauseMp3() ? 1 : 0; }

int StopMp3() { return Mp3.control && platform::StopMp3() ? 1 : 0; }

int PollMusicComplete() {
  if (!Mp3.events) return 0;
  return platform::TakeMp3Completion() ? 1 : 0;
}

int FreeMp3Player() {
  if (Mp3.graph) platform::CloseMp3();
  Mp3 = Mp3Player();
  return 1;
}
