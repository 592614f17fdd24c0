// Background music: 18 MIDI tracks, one at a time, each with a stored
// position so that an interrupted track resumes where it stopped, and the MP3
// player of the combat track.
#pragma once
#include <cstdint>

namespace platform {
struct MidiSong;
}

constexpr int kMusicTrackCount = 18;
constexpr int kMp3TrackEntry = 18;

// "Midi\0.mid" to "Midi\17.mid", then "MP3\Combat.mp3".
extern const char* const MusicFileNames[kMusicTrackCount + 1];
// Stored position of each track in music time (768 to the quarter note);
// 0 plays the track from its start.
extern int32_t MusicTrackPositions[kMusicTrackCount];
// The playing track (0 when stopped), the music volume value (0 to 100) and
// the tempo value (tempo x 100).
extern int32_t CurrentMusicTrack;
extern int32_t MusicVolumeValue;
extern int32_t MusicTempoValue;

// The current segment: the loaded song and the state of its playing.
struct MusicSegment {
  platform::MidiSong* song = nullptr;
  uint8_t stateValid = 0;     // a segment state exists (the song was played)
  int64_t startTime = 0;      // music time at which it was started
  int64_t startPoint = 0;     // where in the song it started
  uint32_t repeats = 0;       // further passes; kEndlessRepeats without end
};
constexpr uint32_t kEndlessRepeats = 0xFFFFFFFFu;
extern MusicSegment CurrentSegment;

int LoadMusicFile(const char* fileName);
int FreeMusicSegment();
// Plays a track (0 to 17) `repeats` times (0 without end), from its stored
// position when `resume` is 1. Returns 1 also when the music is off.
int PlayMusic(int track, int repeats, int resume);
int StopMusic();
int SetMusicVolume(int volume);
// The music level of a volume, in hundredths of a decibel.
int32_t MusicVolumeLevel(int volume);
int GetMusicPosition();
int GetMusicTempo();

// The position rule of GetMusicPosition: `now`, `startTime` and `startPoint`
// in music time; loop points of the segment (loopEnd 0 means its length).
int32_t MusicLoopPosition(int64_t now, int64_t startTime, int64_t startPoint, int64_t loopStart,
                          int64_t loopEnd, int64_t length, uint32_t repeats);

// The MP3 player: a graph that renders a file, its media control (run,
// pause, stop) and its event queue (the completion event).
struct Mp3Player {
  uint8_t graph = 0;
  uint8_t control = 0;
  uint8_t events = 0;
};
extern Mp3Player Mp3;

int CreateMp3Player();
int RenderMp3File(const char* fileName);
int ResumeMp3();
int PauseMp3();
int StopMp3();
int PollMusicComplete();
int FreeMp3Player();
