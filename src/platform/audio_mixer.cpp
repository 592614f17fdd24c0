// The mixer: events, the output (sound card or capture sink) and the sound
// buffers with their position notifications.
#include <SDL.h>
#include <sys/mman.h>


#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/system.h"

namespace platform {

// ---- Events ------------------------------------------------------------------

struct AudioEvent {
  bool signalled = false;
};

namespace {

std::mutex g_eventLock;
std::condition_variable g_eventChanged;
int g_eventWaiters = 0;

}  // namespace

AudioEvent* CreateAudioEvent() { return new AudioEvent(); }

void DestroyAudioEvent(AudioEvent* event) {
  std::lock_guard<std::mutex> hold(g_eventLock);
  delete event;
}

void SignalAudioEvent(AudioEvent* event) {
  if (!event) return;
  {
    std::lock_guard<std::mutex> hold(g_eventLock);
    event->signalled = true;
  }
  g_eventChanged.notify_all();
}

void ResetAudioEvent(AudioEvent* event) {
  if (!event) return;
  std::lock_guard<std::mutex> hold(g_eventLock);
  event->signalled = false;
}

int WaitForAudioEvents(AudioEvent* const* events, int count) {
  std::unique_lock<std::mutex> hold(g_eventLock);
  ++g_eventWaiters;
  g_eventChanged.notify_all();  // a waiter has come back: tell the handled-waiters
  int found = -1;
  g_eventChanged.wait(hold, [&] {
    for (int i = 0; i < count; ++i)
      if (events[i] && events[i]->signalled) {
        found = i;
        return true;
      }
    return false;
  });
  events[found]->signalled = false;
  --g_eventWaiters;
  return found;
}

void WaitUntilAudioEventsHandled(AudioEvent* const* events, int count) {
  std::unique_lock<std::mutex> hold(g_eventLock);
  g_eventChanged.wait(hold, [&] {
    if (g_eventWaiters == 0) return false;
    for (int i = 0; i < count; ++i)
      if (events[i] && events[i]->signalled) return false;
    return true;
  });
}

// ---- Buffers -----------------------------------------------------------------

namespace {

constexpr int kMaxBuffers = 64;
constexpr int kMaxNotify = 8;
constexpr int kMixStep = 512;  // frames mixed per capture step

// Bytes taken zeroed from the system and not written over again, so that a
// channel's buffer costs memory only once a sound is written into it: pages
// of their own (memory the heap hands back may have to be cleared first).
template <typename T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <typename U>
  ZeroedAllocator(const ZeroedAllocator<U>&) {}
  T* allocate(size_t n) {
    void* p = ::mmap(nullptr, n * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) { ::munmap(p, n * sizeof(T)); }
  template <typename U>
  void construct(U*) {}  // already zero
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <typename U>
  bool operator==(const ZeroedAllocator<U>&) const { return true; }
};

struct SoundBuffer {
  bool used = false;
  std::vector<uint8_t, ZeroedAllocator<uint8_t>> bytes;
  uint32_t position = 0;  // byte offset, always a whole frame
  bool playing = false;
  bool looping = false;
  uint32_t plays = 0;  // times it was started
  int32_t level = 0;
  int32_t pan = 0;
  uint32_t notify[kMaxNotify] = {};
  int notifyCount = 0;
  AudioEvent* event = nullptr;
};

std::mutex g_audioLock;
SoundBuffer g_buffers[kMaxBuffers + 1];  // handle k is g_buffers[k]
bool g_open = false;
bool g_captured = false;
SDL_AudioDeviceID g_device = 0;
int32_t g_masterLevel = 0;
void (*g_syncHook)() = nullptr;
std::vector<float> g_mix;

SoundBuffer* Buffer(int handle) {
  if (handle < 1 || handle > kMaxBuffers || !g_buffers[handle].used) return nullptr;
  return &g_buffers[handle];
}

// True when a position moving from `from` forward by `step` bytes (wrapping at
// `size`) passes the byte at `mark`.
bool Passes(uint32_t from, uint32_t step, uint32_t mark, uint32_t size) {
  const uint32_t distance = mark >= from ? mark - from : size - from + mark;
  return distance < step;
}

void MixBuffer(SoundBuffer& b, float* mix, int frames) {
  const uint32_t size = static_cast<uint32_t>(b.bytes.size()) & ~3u;
  if (size == 0) {
    b.playing = false;
    return;
  }
  float left = 0, right = 0;
  PanGains(b.pan, &left, &right);
  const float gain = GainOfLevel(b.level);
  left *= gain;
  right *= gain;
  int done = 0;
  while (done < frames && b.playing) {
    const uint32_t bytesToEnd = size - b.position;
    const int run = std::min<int>(frames - done, static_cast<int>(bytesToEnd / 4));
    const uint8_t* src = b.bytes.data() + b.position;
    float* dst = mix + done * 2;
    for (int i = 0; i < run; ++i) {
      int16_t l, r;
      std::memcpy(&l, src + i * 4, 2);
      std::memcpy(&r, src + i * 4 + 2, 2);
      dst[i * 2] += l * (1.0f / 32768.0f) * left;
      dst[i * 2 + 1] += r * (1.0f / 32768.0f) * right;
    }
    const uint32_t step = static_cast<uint32_t>(run) * 4;
    for (int n = 0; n < b.notifyCount; ++n)
      if (Passes(b.position, step, b.notify[n], size)) SignalAudioEvent(b.event);
    b.position += step;
    done += run;
    if (b.position >= size) {
      b.position = 0;
      if (!b.looping) b.playing = false;
    }
  }
}

// Mixes one step with the lock held.
void MixLocked(int16_t* out, int frames) {
  g_mix.assign(static_cast<size_t>(frames) * 2, 0.0f);
  for (int k = 1; k <= kMaxBuffers; ++k)
    if (g_buffers[k].used && g_buffers[k].playing) MixBuffer(g_buffers[k], g_mix.data(), frames);
  MixMidi(g_mix.data(), frames);
  MixMp3(g_mix.data(), frames);
  const float master = GainOfLevel(g_masterLevel);
  for (int i = 0; i < frames * 2; ++i) {
    const float v = g_mix[i] * master * 32768.0f;
    out[i] = static_cast<int16_t>(std::lrint(std::clamp(v, -32768.0f, 32767.0f)));
  }
}

void DeviceCallback(void*, Uint8* stream, int len) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  MixLocked(reinterpret_cast<int16_t*>(stream), len / kMixFrameBytes);
}

bool OpenDevice() {
  SDL_AudioSpec want{}, have{};
  want.freq = kMixRate;
  want.format = AUDIO_S16SYS;
  want.channels = kMixChannels;
  want.samples = 1024;
  want.callback = DeviceCallback;
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  return g_device != 0;
}

}  // namespace

std::mutex& AudioLock() { return g_audioLock; }

float GainOfLevel(int32_t hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return std::pow(10.0f, static_cast<float>(hundredthsDb) / 2000.0f);
}

void PanGains(int32_t pan, float* left, float* right) {
  pan = std::clamp(pan, -10000, 10000);
  *left = pan > 0 ? GainOfLevel(-pan) : 1.0f;
  *right = pan < 0 ? GainOfLevel(pan) : 1.0f;
}

bool OpenAudio() {
  if (g_open) return true;
  if (IsHeadless()) {
    g_captured = true;
    g_open = true;
    return true;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !OpenDevice()) {
    // No usable card: a silent output that still runs at the real rate, so
    // that sounds end as they would.
    std::fprintf(stderr, "No sound output (%s); playing silently.\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !OpenDevice()) return false;
  }
  g_captured = false;
  g_open = true;
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void CloseAudio() {
  if (!g_open) return;
  if (g_device) {
    SDL_CloseAudioDevice(g_device);
    g_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  std::lock_guard<std::mutex> hold(g_audioLock);
  for (auto& b : g_buffers) b = SoundBuffer();
  g_open = false;
  g_captured = false;
  g_masterLevel = 0;
}

bool AudioIsOpen() { return g_open; }
bool AudioIsCaptured() { return g_open && g_captured; }

bool SetMasterLevel(int32_t hundredthsDb) {
  if (!g_open) return false;
  std::lock_guard<std::mutex> hold(g_audioLock);
  g_masterLevel = std::clamp(hundredthsDb, -10000, 0);
  return true;
}

int CaptureAudio(int16_t* out, int frames) {
  if (!AudioIsCaptured() || frames <= 0) return 0;
  WaitForMidiSynth();  // what is captured never depends on the builder's pace
  int done = 0;
  while (done < frames) {
    const int step = std::min(kMixStep, frames - done);
    {
      std::lock_guard<std::mutex> hold(g_audioLock);
      MixLocked(out + done * 2, step);
    }
    done += step;
    if (g_syncHook) g_syncHook();
  }
  return done;
}

void SetCaptureSyncHook(void (*hook)()) { g_syncHook = hook; }

int CreateSoundBuffer(uint32_t bytes) {
  if (!g_open || bytes < 4) return 0;
  std::lock_guard<std::mutex> hold(g_audioLock);
  for (int k = 1; k <= kMaxBuffers; ++k) {
    if (g_buffers[k].used) continue;
    g_buffers[k] = SoundBuffer();
    g_buffers[k].used = true;
    g_buffers[k].bytes.resize(bytes);  // zeros
    return k;
  }
  return 0;
}

void DestroySoundBuffer(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  if (SoundBuffer* b = Buffer(buffer)) *b = SoundBuffer();
}

bool WriteSoundBuffer(int buffer, uint32_t offset, const void* data, uint32_t size) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b || offset > b->bytes.size() || size > b->bytes.size() - offset) return false;
  if (data)
    std::memcpy(b->bytes.data() + offset, data, size);
  else
    std::memset(b->bytes.data() + offset, 0, size);
  return true;
}

bool SetSoundBufferNotify(int buffer, const uint32_t* offsets, int count, AudioEvent* event) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b || b->playing || count < 0 || count > kMaxNotify) return false;
  for (int i = 0; i < count; ++i)
    if (offsets[i] >= b->bytes.size()) return false;
  for (int i = 0; i < count; ++i) b->notify[i] = offsets[i];
  b->notifyCount = count;
  b->event = event;
  return true;
}

bool PlaySoundBuffer(int buffer, bool looping) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b) return false;
  b->playing = true;
  b->looping = looping;
  ++b->plays;
  return true;
}

uint32_t SoundBufferPlays(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  const SoundBuffer* b = Buffer(buffer);
  return b ? b->plays : 0;
}

bool StopSoundBuffer(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b) return false;
  b->playing = false;
  return true;
}

bool SetSoundBufferPosition(int buffer, uint32_t offset) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b || offset >= b->bytes.size()) return false;
  b->position = offset & ~3u;
  return true;
}

uint32_t SoundBufferPosition(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  return b ? b->position : 0;
}

bool SoundBufferPlaying(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  return b && b->playing;
}

bool SetSoundBufferLevel(int buffer, int32_t hundredthsDb) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b || hundredthsDb < -10000 || hundredthsDb > 0) return false;
  b->level = hundredthsDb;
  return true;
}

bool SetSoundBufferPan(int buffer, int32_t pan) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  if (!b || pan < -10000 || pan > 10000) return false;
  b->pan = pan;
  return true;
}

int32_t SoundBufferLevel(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  return b ? b->level : -10000;
}

int32_t SoundBufferPan(int buffer) {
  std::lock_guard<std::mutex> hold(g_audioLock);
  SoundBuffer* b = Buffer(buffer);
  return b ? b->pan : 0;
}

}  // namespace platform
