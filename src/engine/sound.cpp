// Sound channels, samples and the streaming thread.
#include "engine/sound.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "engine/frame.h"
#include "platform/files.h"
#include "platform/system.h"

// The lock is defined first so that it outlives the sound object, whose
// destructor may still have to wait for the streaming thread at exit.
std::recursive_mutex SoundLock;
SoundSystem Sound;
SoundChannel SoundChannels[kSoundChannelCount];
SoundSample SoundSamples[kSoundSampleCount];

const char* const SoundFileNames[kSoundFileCount] = {
    "Sounds\\Miss_1.wav",      "Sounds\\Miss_2.wav",      "Sounds\\Miss_3.wav",
    "Sounds\\Miss_4.wav",      "Sounds\\Hit_1.wav",       "Sounds\\Hit_2.wav",
    "Sounds\\Hit_3.wav",       "Sounds\\Hit_4.wav",       "Sounds\\Hit_5.wav",
    "Sounds\\Hit_6.wav",       "Sounds\\Hit_7.wav",       "Sounds\\Ambient_1.wav",
    "Sounds\\Ambient_2.wav",   "Sounds\\Ambient_3.wav",   "Sounds\\Ambient_4.wav",
    "Sounds\\Ambient_5.wav",   "Sounds\\Ambient_6.wav",   "Sounds\\Ambient_7.wav",
    "Sounds\\Ambient_8.wav",   "Sounds\\Ambient_9.wav",   "Sounds\\Ambient_10.wav",
    "Sounds\\Ambient_11.wav",  "Sounds\\Ambient_12.wav",  "Sounds\\Ambient_13.wav",
    "Sounds\\Ambient_14.wav",  "Sounds\\Ambient_15.wav",  "Sounds\\Experience.wav",
    "Sounds\\Interface_1.wav", "Sounds\\Interface_2.wav", "Sounds\\Magic_1.wav",
    "Sounds\\Magic_2.wav",     "Sounds\\Magic_3.wav",     "Sounds\\Magic_4.wav",
    "Sounds\\Magic_5.wav",     "Sounds\\Magic_6.wav",     "Sounds\\Magic_7.wav",
    "Sounds\\Magic_8.wav",     "Sounds\\Magic_9.wav",     "Sounds\\Magic_10.wav",
    "Sounds\\Magic_11.wav",    "Sounds\\Magic_12.wav",    "Sounds\\Magic_13.wav",
    "Sounds\\Magic_14.wav",    "Sounds\\Magic_15.wav",    "Sounds\\Magic_16.wav",
    "Sounds\\Magic_17.wav",    "Sounds\\Magic_18.wav",    "Sounds\\Magic_19.wav",
    "Sounds\\Magic_20.wav",    "Sounds\\Magic_21.wav",    "Sounds\\Magic_22.wav",
    "Sounds\\Magic_23.wav",    "Sounds\\Magic_24.wav",    "Sounds\\Writing.wav",
    "Sounds\\Campfire.wav",    "Sounds\\LevelUp.wav",     "Sounds\\DropCoin.wav",
};

namespace {

constexpr int kStopEvent = kSoundChannelCount;
std::atomic<uint8_t> g_threadRunning{0};

bool ValidChannel(int channel) { return channel >= 0 && channel < kSoundChannelCount; }

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The streaming thread: waits on the 32 channel events and the stop event.
void SoundStreamThread() {
  for (;;) {
    const int k = platform::WaitForAudioEvents(Sound.events, kSoundEventCount);
    if (k == kStopEvent) {
      g_threadRunning = 0;
      Sound.threadRunning = 0;
      return;
    }
    std::lock_guard<std::recursive_mutex> hold(SoundLock);
    if (SoundChannel* owner = Sound.eventOwners[k]) OnChannelNotify(static_cast<int>(owner - SoundChannels));
  }
}

// The capture sink's hook: after each mixed step the thread catches up.
void SyncStreamingThread() {
  if (g_threadRunning) platform::WaitUntilAudioEventsHandled(Sound.events, kSoundEventCount);
}

// Ends the streaming thread: the stop event wakes it and it is joined. Called
// on the thread itself (a process ending from inside a sound), it is let go.
void StopStreamingThread() {
  if (Sound.thread.joinable()) {
    if (Sound.thread.get_id() == std::this_thread::get_id()) {
      Sound.thread.detach();
    } else {
      platform::SignalAudioEvent(Sound.events[kStopEvent]);
      Sound.thread.join();
    }
  }
  g_threadRunning = 0;
  Sound.threadRunning = 0;
}

// A process that ends without shutting the game down (an exit from anywhere)
// stops the thread before any object it waits on or writes to is destroyed:
// exit handlers registered after start-up run before every static destructor.
void StopStreamingThreadAtExit() { StopStreamingThread(); }

void StopChannelLocked(SoundChannel& c) {
  if (c.playing && c.buffer) platform::StopSoundBuffer(c.buffer);
  c.playing = 0;
}

}  // namespace

SoundSystem::~SoundSystem() {
  if (thread.joinable()) StopStreamingThread();
}

int32_t ChannelVolumeLevel(int volume) {
  volume = std::clamp(volume, 0, 100);
  return volume == 0 ? -10000 : (volume - 100) * 30;
}

int16_t SoundEndQuarter(uint32_t size, int32_t loopCount) {
  if (loopCount <= 0) return -1;
  const uint64_t total = static_cast<uint64_t>(size) * static_cast<uint64_t>(loopCount);
  if (total == 0) return 0;
  // The quarter that holds the last byte: a sound that ends exactly on a
  // quarter's end stops after that quarter, not one quarter early.
  return static_cast<int16_t>(((total - 1) % kChannelBufferBytes) / kChannelQuarterBytes);
}

int InitSound(platform::WindowHandle window) {
  ShutdownSound();
  if (window == 0) return 0;
  Sound.window = window;
  if (!platform::OpenAudio()) return 0;
  Sound.deviceOpen = 1;
  for (auto& event : Sound.events) event = platform::CreateAudioEvent();
  g_threadRunning = 1;
  Sound.threadRunning = 1;
  Sound.thread = std::thread(SoundStreamThread);
  static const bool stopsAtExit = std::atexit(StopStreamingThreadAtExit) == 0;
  (void)stopsAtExit;
  platform::SetCaptureSyncHook(SyncStreamingThread);
  if (!platform::OpenMidiSynth()) return 0;
  Sound.performanceOpen = 1;
  if (!platform::SetMasterLevel(0)) return 0;
  Sound.masterVolume = 100;
  return 1;
}

int ShutdownSound() {
  if (Sound.performanceOpen) {
    platform::StopMidi();
    platform::CloseMidiSynth();
    Sound.performanceOpen = 0;
  }
  for (int k = 0; k < kSoundChannelCount; ++k) {
    SoundChannel* owner = Sound.eventOwners[k];
    if (owner) FreeSoundChannel(static_cast<int>(owner - SoundChannels));
    if (Sound.events[k]) platform::ResetAudioEvent(Sound.events[k]);
  }
  StopStreamingThread();
  platform::SetCaptureSyncHook(nullptr);
  if (Sound.deviceOpen) {
    platform::CloseAudio();
    Sound.deviceOpen = 0;
  }
  for (auto& event : Sound.events) {
    platform::DestroyAudioEvent(event);
    event = nullptr;
  }
  Sound.masterVolume = 0;
  Sound.window = 0;
  return 1;
}

int AssignChannelEvent(int channel) {
  if (!ValidChannel(channel)) return -1;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  for (int k = 0; k < kSoundChannelCount; ++k) {
    if (!Sound.events[k] || Sound.eventOwners[k]) continue;
    platform::ResetAudioEvent(Sound.events[k]);
    Sound.eventOwners[k] = &SoundChannels[channel];
    return k;
  }
  return -1;
}

int FreeSoundChannel(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  StopChannelLocked(c);
  if (c.buffer) platform::DestroySoundBuffer(c.buffer);
  c.buffer = 0;
  c.notify = 0;
  if (c.eventSlot >= 0 && c.eventSlot < kSoundChannelCount && Sound.eventOwners[c.eventSlot] == &c)
    Sound.eventOwners[c.eventSlot] = nullptr;
  c.eventSlot = -1;
  c.system = nullptr;
  return 1;
}

int CreateSoundChannel(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  FreeSoundChannel(channel);
  if (!Sound.deviceOpen) return 0;
  SoundChannel& c = SoundChannels[channel];
  c.buffer = platform::CreateSoundBuffer(kChannelBufferBytes);
  if (!c.buffer) return 0;
  const int slot = AssignChannelEvent(channel);
  if (slot < 0) {
    FreeSoundChannel(channel);
    return 0;
  }
  c.eventSlot = static_cast<int16_t>(slot);
  const uint32_t marks[4] = {16383, 32767, 49151, 65535};
  if (!platform::SetSoundBufferNotify(c.buffer, marks, 4, Sound.events[slot])) {
    FreeSoundChannel(channel);
    return 0;
  }
  c.notify = c.buffer;
  c.system = &Sound;
  SetChannelVolume(channel, 100);
  SetChannelPan(channel, 0);
  return 1;
}

int ReadWavHeader(SoundSample* sample, const char* fileName) {
  if (!sample || !fileName) return 0;
  FILE* f = platform::OpenGameFile(fileName, "rb");
  if (!f) return 0;
  uint8_t h[44];
  const size_t got = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  if (got != sizeof h || std::memcmp(h, "RIFF", 4) != 0 || std::memcmp(h + 8, "WAVE", 4) != 0 ||
      std::memcmp(h + 12, "fmt ", 4) != 0 || std::memcmp(h + 36, "data", 4) != 0) {
    if (DebugMode) platform::Beep();
    return 0;
  }
  sample->sampleRate = ReadU32(h + 24);
  sample->channels = ReadU16(h + 22);
  sample->bitsPerSample = ReadU16(h + 34);
  sample->size = sample->remaining = ReadU32(h + 40);
  sample->start = sample->position = sizeof h;
  return 1;
}

void FreeSoundSample(SoundSample* sample) {
  if (!sample) return;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  // A channel still playing these bytes is stopped first.
  for (auto& c : SoundChannels)
    if (sample->data && c.sample.data == sample->data) {
      StopChannelLocked(c);
      c.sample = SoundSample();
    }
  std::free(sample->block);
  sample->block = sample->data = nullptr;
  sample->source = nullptr;
  sample->size = sample->remaining = sample->start = sample->position = 0;
}

namespace {

// Reads a sound file's header; when it is whole and canonical, the sample is
// freed and takes its format and its declared data size.
bool TakeWavHeader(SoundSample* sample, const char* fileName) {
  if (!sample) return false;
  SoundSample wav = *sample;
  if (!ReadWavHeader(&wav, fileName)) return false;
  FreeSoundSample(sample);
  sample->sampleRate = wav.sampleRate;
  sample->channels = wav.channels;
  sample->bitsPerSample = wav.bitsPerSample;
  sample->size = wav.size;
  return true;
}

}  // namespace

int LoadWavFile(SoundSample* sample, const char* fileName) {
  if (!TakeWavHeader(sample, fileName)) return 0;
  // A data size beyond the end of the file is cut to what the file holds, and
  // to whole frames, so that repeated passes stay aligned.
  const long fileSize = platform::GameFileSize(fileName);
  const uint32_t header = 44;
  const uint32_t available = fileSize > static_cast<long>(header) ? static_cast<uint32_t>(fileSize - header) : 0;
  uint32_t size = std::min(sample->size, available);
  const uint32_t frameBytes = static_cast<uint32_t>(sample->channels) * (sample->bitsPerSample / 8u);
  if (frameBytes > 1) size -= size % frameBytes;
  uint8_t* block = static_cast<uint8_t*>(std::calloc(size > 0 ? size : 1, 1));
  if (!block) return 0;
  FILE* f = platform::OpenGameFile(fileName, "rb");
  if (!f) {
    std::free(block);
    return 0;
  }
  const bool ok = std::fseek(f, static_cast<long>(header), SEEK_SET) == 0 && std::fread(block, 1, size, f) == size;
  std::fclose(f);
  if (!ok) {
    std::free(block);
    return 0;
  }
  sample->block = sample->data = block;
  sample->size = sample->remaining = size;
  sample->start = sample->position = 0;
  return 1;
}

int CheckWavFile(SoundSample* sample, const char* fileName) {
  if (!TakeWavHeader(sample, fileName)) return 0;
  sample->size = 0;  // nothing read yet
  sample->source = fileName;
  return 1;
}

int RefillChannelBuffer(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  if (!c.buffer) return 0;
  uint8_t quarter[kChannelQuarterBytes] = {};
  SoundSample& s = c.sample;
  uint32_t filled = 0;
  if (s.data && s.size > 0 && s.remaining > 0) {
    while (filled < kChannelQuarterBytes) {
      const uint32_t n = std::min(s.remaining, kChannelQuarterBytes - filled);
      std::memcpy(quarter + filled, s.data + s.position, n);
      filled += n;
      s.position += n;
      s.remaining -= n;
      if (s.remaining > 0) break;  // the quarter is full
      // A whole pass has been copied.
      if (c.loopCount >= 1 && c.loopCount-- == 1) break;  // the sound has ended: zeros follow
      s.position = s.start;
      s.remaining = s.size;
    }
  }
  const bool ok = platform::WriteSoundBuffer(c.buffer, static_cast<uint32_t>(c.nextQuarter) * kChannelQuarterBytes,
                                             quarter, kChannelQuarterBytes);
  c.nextQuarter = static_cast<int16_t>((c.nextQuarter + 1) % 4);
  return ok ? 1 : 0;
}

int OnChannelNotify(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  if (!c.buffer || !c.playing) return 0;
  // A notification left over from the sound this channel played before is
  // recognised by the play position lying in the quarter due for refilling.
  if (static_cast<int>(platform::SoundBufferPosition(c.buffer) / kChannelQuarterBytes) == c.nextQuarter) return 0;
  if (c.finishedQuarters == c.endQuarter && c.sample.remaining == 0) {
    StopChannelLocked(c);
    return 1;
  }
  RefillChannelBuffer(channel);
  c.finishedQuarters = static_cast<int16_t>((c.finishedQuarters + 1) % 4);
  return 1;
}

int PlaySound(int sample, int channel, int loopCount, int volume) {
  if (!ValidChannel(channel) || sample < 0 || sample >= kSoundSampleCount) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  SoundSample& s = SoundSamples[sample];
  if (!s.data && s.source && c.buffer && c.notify) LoadWavFile(&s, s.source);  // its first playing
  if (!s.data || !c.buffer || !c.notify) return 0;
  StopChannelLocked(c);
  c.sample = s;
  c.sample.position = c.sample.start;
  c.sample.remaining = c.sample.size;
  c.loopCount = loopCount;
  c.endQuarter = SoundEndQuarter(s.size, loopCount);
  c.nextQuarter = 0;
  for (int q = 0; q < 4; ++q)
    if (!RefillChannelBuffer(channel)) return 0;
  if (!SetChannelVolume(channel, volume)) return 0;
  c.finishedQuarters = 0;
  if (!platform::SetSoundBufferPosition(c.buffer, 0) || !platform::PlaySoundBuffer(c.buffer, true)) return 0;
  c.playing = 1;
  return 1;
}

int StopChannel(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  StopChannelLocked(SoundChannels[channel]);
  return 1;
}

int SetChannelVolume(int channel, int volume) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  volume = std::clamp(volume, 0, 100);
  if (!c.buffer || !platform::SetSoundBufferLevel(c.buffer, ChannelVolumeLevel(volume))) return 0;
  c.volume = volume;
  return 1;
}

int SetChannelPan(int channel, int pan) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  SoundChannel& c = SoundChannels[channel];
  pan = std::clamp(pan, -10000, 10000);
  if (!c.buffer || !platform::SetSoundBufferPan(c.buffer, pan)) return 0;
  c.pan = pan;
  return 1;
}

int IsChannelPlaying(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  const SoundChannel& c = SoundChannels[channel];
  if (!c.system || !c.buffer || !c.notify) return 0;
  return c.playing;
}

int IsChannelFree(int channel) {
  if (!ValidChannel(channel)) return 0;
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  const SoundChannel& c = SoundChannels[channel];
  return (!c.system || !c.buffer || !c.notify || !c.playing) ? 1 : 0;
}

int CaptureSound(int16_t* out, int frames) { return platform::CaptureAudio(out, frames); }
