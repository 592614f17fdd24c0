// Sound output: the mixer with its looping sound buffers and position
// notifications, the MIDI player on a General MIDI synthesiser, and the MP3
// player, all mixed into one 22,050 Hz 16-bit stereo stream.
//
// With a sound card the stream goes to the card; headless runs (tests) have a
// capture sink instead, which mixes only when asked (CaptureAudio), so tests
// read exactly what was mixed without waiting on a clock.
#pragma once
#include <cstdint>

namespace platform {

constexpr int kMixRate = 22050;
constexpr int kMixChannels = 2;
constexpr int kMixFrameBytes = 4;  // 16-bit stereo

// ---- Events (automatic reset) ---------------------------------------------
// The mixer signals them at notification positions; one listening thread waits
// on a set of them.
struct AudioEvent;
AudioEvent* CreateAudioEvent();
void DestroyAudioEvent(AudioEvent* event);
void SignalAudioEvent(AudioEvent* event);
void ResetAudioEvent(AudioEvent* event);
// Waits until one of the events is signalled; returns the index of the first
// signalled one (lower indices first) and resets it.
int WaitForAudioEvents(AudioEvent* const* events, int count);
// Returns once none of the events is signalled and a thread is back waiting on
// them: everything signalled so far has been dealt with.
void WaitUntilAudioEventsHandled(AudioEvent* const* events, int count);

// ---- The output ------------------------------------------------------------
// Opens the output: the sound card, or the capture sink when headless. A
// machine without a usable card gets a silent output that still runs in real
// time. True on success (also when already open).
bool OpenAudio();
void CloseAudio();
bool AudioIsOpen();
// True when the output is the capture sink.
bool AudioIsCaptured();
// The master level in hundredths of a decibel (0 = full, -10,000 = silence).
bool SetMasterLevel(int32_t hundredthsDb);

// Capture sink: mixes `frames` frames of interleaved 16-bit stereo into `out`
// now and returns how many were mixed (0 when the output is not the sink).
// The mix is done in short steps; after each step the sync hook (when set) is
// called so that whoever listens to the notifications can catch up.
int CaptureAudio(int16_t* out, int frames);
void SetCaptureSyncHook(void (*hook)());

// Gains of the level and pan rules: level in hundredths of a decibel
// (-10,000 silent); pan -10,000 (left only) to 10,000 (right only), the
// other side lowered by |pan| hundredths of a decibel.
float GainOfLevel(int32_t hundredthsDb);
void PanGains(int32_t pan, float* left, float* right);

// ---- Sound buffers -----------------------------------------------------------
// A buffer holds 16-bit stereo at 22,050 Hz and plays once or looping.
// Handles are positive; 0 is none.
int CreateSoundBuffer(uint32_t bytes);
void DestroySoundBuffer(int buffer);
// Copies `size` bytes to `offset` (zeros when data is null). False on a bad
// buffer or a range outside it.
bool WriteSoundBuffer(int buffer, uint32_t offset, const void* data, uint32_t size);
// The event is signalled each time the play position passes one of the byte
// offsets. Only while the buffer is stopped.
bool SetSoundBufferNotify(int buffer, const uint32_t* offsets, int count, AudioEvent* event);
bool PlaySoundBuffer(int buffer, bool looping);
bool StopSoundBuffer(int buffer);
bool SetSoundBufferPosition(int buffer, uint32_t offset);
uint32_t SoundBufferPosition(int buffer);
bool SoundBufferPlaying(int buffer);
// How many times the buffer was started since it was made.
uint32_t SoundBufferPlays(int buffer);
bool SetSoundBufferLevel(int buffer, int32_t hundredthsDb);
bool SetSoundBufferPan(int buffer, int32_t pan);
int32_t SoundBufferLevel(int buffer);
int32_t SoundBufferPan(int buffer);

// ---- MIDI ------------------------------------------------------------------
// Music time counts 768 units to the quarter note.
constexpr int kMusicTimePerQuarter = 768;
// The timing a song may have: every tempo from kMidiFastestTempo to
// kMidiSlowestTempo microseconds a quarter note (1,000 to 10 beats a minute),
// and at most kMidiLongestSong seconds from its start to its end. A file
// outside it is refused at load, as a malformed one is; the music tool keeps
// its scores inside it.
constexpr uint32_t kMidiFastestTempo = 60000;
constexpr uint32_t kMidiSlowestTempo = 6000000;
constexpr int kMidiLongestSong = 3600;

// Starts the synthesiser with the General MIDI soundfont: it is made and
// its soundfont read on a thread of its own, and a song asked for before it
// is ready starts as soon as it is. False when its settings cannot be made;
// a synthesiser that cannot be made leaves the music silent, and so does a
// missing soundfont.
bool OpenMidiSynth();
void CloseMidiSynth();
bool MidiSynthIsOpen();
// Waits until the synthesiser asked for by OpenMidiSynth is there.
void WaitForMidiSynth();

struct MidiSong;
// Reads a standard MIDI file; null when it is missing, malformed or its
// timing lies outside the range above.
MidiSong* LoadMidiSong(const char* path);
// The same from the file's bytes.
MidiSong* ParseMidiSong(const uint8_t* bytes, size_t size);
void FreeMidiSong(MidiSong* song);
// Length in music time (the end of the longest track).
int64_t MidiSongLength(const MidiSong* song);

// Plays the song from `startPoint` (music time), then `repeats` more times
// from its beginning (-1 without end). Replaces whatever played.
bool PlayMidiSong(MidiSong* song, int64_t startPoint, int repeats);
// Stops at once (all notes cut). The song stays loaded.
void StopMidi();
// Forgets a song that is about to be freed (stops it when it plays).
void DetachMidiSong(const MidiSong* song);
bool MidiIsPlaying();
// The synthesiser's music time: it runs on while a song plays and counts
// every repeat, so (now - start time) is the time played since the start.
int64_t MidiMusicTime();
// The music time at which the song playing last was started.
int64_t MidiStartTime();
bool SetMidiLevel(int32_t hundredthsDb);
int32_t MidiLevel();
// Tempo factor (1.0 plays the file's tempo).
void SetMidiTempoFactor(float factor);
float MidiTempoFactor();

// ---- MP3 -------------------------------------------------------------------
// One MP3 stream decoded into the mix at full level.
bool OpenMp3(const char* path);
void CloseMp3();
bool Mp3IsOpen();
// Runs the stream on from where it stands; at its end it stays silent.
bool RunMp3();
bool PauseMp3();
// Stops and rewinds to the start.
bool StopMp3();
bool Mp3IsRunning();
// True once per time the stream reached its end.
bool TakeMp3Completion();

}  // namespace platform
