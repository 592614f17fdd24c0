// Sound effects: the sound object, 32 streaming channels, the 58 sample
// records and the streaming thread that refills the channels' quarters.
//
// Each channel owns a looping buffer of 65,536 bytes in four quarters of
// 16,384; when the play position passes the end of a quarter, the channel's
// event wakes the streaming thread, which refills that quarter from the
// sample. The channel records are shared by the main thread and the streaming
// thread under one lock (SoundLock).
#pragma once
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/audio.h"
#include "platform/window.h"

constexpr int kSoundChannelCount = 32;
constexpr int kSoundSampleCount = 58;
constexpr int kSoundFileCount = 57;
constexpr uint32_t kChannelBufferBytes = 65536;
constexpr uint32_t kChannelQuarterBytes = 16384;
constexpr int kSoundEventCount = kSoundChannelCount + 1;  // the last one stops the thread

// Sample numbers with a fixed use.
constexpr int kSampleExperience = 27;
constexpr int kSampleClick = 28;   // "Sounds\Interface_1.wav": pages and buttons
constexpr int kSampleHover = 29;   // "Sounds\Interface_2.wav"
constexpr int kSampleMagic7 = 35;   // a condition taken
constexpr int kSampleMagic9 = 37;   // a condition ended
constexpr int kSampleMagic18 = 46;
constexpr int kSampleMagic20 = 48;  // fire
constexpr int kSampleLevelUp = 56;

struct SoundSample {
  uint32_t sampleRate = 22050;
  uint16_t channels = 1;
  uint16_t bitsPerSample = 16;
  FILE* file = nullptr;        // none: samples play from memory
  uint8_t* data = nullptr;     // the sample's bytes
  uint8_t* block = nullptr;    // the allocated block (freed with FreeSoundSample)
  const char* source = nullptr;  // a checked file whose bytes are read when first played
  uint32_t size = 0;           // bytes of data
  uint32_t remaining = 0;      // bytes left in the current pass
  uint32_t start = 0;          // offset of the first byte of a pass
  uint32_t position = 0;       // offset of the next byte
};

struct SoundSystem;

struct SoundChannel {
  SoundSystem* system = nullptr;  // owning sound object
  int buffer = 0;                 // the channel's buffer (0 none)
  int notify = 0;                 // the buffer's notifications are set (the buffer's handle, 0 none)
  int16_t eventSlot = -1;         // index into the 32 notification events
  int32_t volume = 0;             // 0 to 100
  int32_t pan = 0;
  uint8_t playing = 0;
  int32_t loopCount = 0;          // 0 without end
  SoundSample sample;             // copy of the playing sample's record
  int16_t nextQuarter = 0;        // 0 to 3
  int16_t endQuarter = -1;        // the quarter in which the sound ends, -1 without end
  int16_t finishedQuarters = 0;   // 0 to 3
};

struct SoundSystem {
  // At exit a streaming thread still running is stopped and joined.
  ~SoundSystem();
  platform::WindowHandle window = 0;
  int32_t masterVolume = 0;                           // 100 once the master level is set
  platform::AudioEvent* events[kSoundEventCount] = {};  // 32 channel events, then the stop event
  SoundChannel* eventOwners[kSoundChannelCount] = {};
  std::thread thread;
  uint8_t threadRunning = 0;
  uint8_t deviceOpen = 0;       // the output is open
  uint8_t performanceOpen = 0;  // the MIDI synthesiser (music, see music.h)
};

extern SoundSystem Sound;
extern SoundChannel SoundChannels[kSoundChannelCount];
extern SoundSample SoundSamples[kSoundSampleCount];
// Sample record k (1 to 57) holds SoundFileNames[k - 1].
extern const char* const SoundFileNames[kSoundFileCount];
// Guards the channel records and the event owners.
extern std::recursive_mutex SoundLock;

int InitSound(platform::WindowHandle window);
int ShutdownSound();
int CreateSoundChannel(int channel);
int FreeSoundChannel(int channel);
// The first free event slot: resets its event, records the owner and returns
// the slot index (-1 when none is free).
int AssignChannelEvent(int channel);

int ReadWavHeader(SoundSample* sample, const char* fileName);
int LoadWavFile(SoundSample* sample, const char* fileName);
// Checks a sound file the way LoadWavFile does and leaves its bytes on disk:
// the sample reads them when first played. `fileName` must outlive the sample.
int CheckWavFile(SoundSample* sample, const char* fileName);
void FreeSoundSample(SoundSample* sample);

// Plays sample record `sample` on `channel`: once for a loop count of 1, that
// many times for more, without end for 0. Volume 0 to 100.
int PlaySound(int sample, int channel, int loopCount, int volume);
int StopChannel(int channel);
int SetChannelVolume(int channel, int volume);
int SetChannelPan(int channel, int pan);
int IsChannelPlaying(int channel);
// A channel is free when it has no sound object, no buffer, no notifications
// or is not playing; callers take the first free one from 0 upward.
int IsChannelFree(int channel);
int RefillChannelBuffer(int channel);
int OnChannelNotify(int channel);

// The buffer level of a channel volume 0 to 100, in hundredths of a decibel.
int32_t ChannelVolumeLevel(int volume);
// The quarter in which a sound of `size` bytes played `loopCount` times ends.
int16_t SoundEndQuarter(uint32_t size, int32_t loopCount);

// Headless runs: mixes `frames` stereo frames into `out` and lets the
// streaming thread keep up after every step (see platform::CaptureAudio).
int CaptureSound(int16_t* out, int frames);
