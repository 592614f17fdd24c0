// The MIDI player: standard MIDI files read into one event list, sequenced
// sample by sample into a General MIDI synthesiser (FluidSynth) that the
// mixer renders. Time is counted in music time (768 to the quarter note).
#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/synth_settings.h"

namespace platform {

struct MidiEvent {
  int64_t time = 0;  // music time
  uint8_t status = 0;  // 0x80..0xEF channel events; 0xFF tempo
  uint8_t data1 = 0, data2 = 0;
  uint32_t tempo = 0;  // microseconds per quarter for tempo events
};

struct MidiSong {
  std::vector<MidiEvent> events;
  int64_t length = 0;
};

namespace {

constexpr uint32_t kDefaultTempo = 500000;
// The mixer's work per call is bounded: it renders in runs of at least this
// many frames (the synthesiser's own block), looks at most at this many due
// events a call (those due past it are passed over), and sends the
// synthesiser no more work than its budget holds (a struck key counts
// kNoteWork, any other event 1). The budget fills by kWorkPerFrame for each
// frame mixed, up to kMostWork, so that a chord of many keys at once sounds
// whole while no storm can last. Past the budget, keys are not struck and
// other events are passed over; settings wait for the next call, and
// sounding keys are still released. So no file can make the sound thread
// fall behind.
constexpr int kShortestRun = 64;
constexpr int kEventsPerCall = 4096;
constexpr int kNoteWork = 8;
constexpr double kWorkPerFrame = 0.5;  // 11,025 a second: some 1,400 keys
constexpr int kMostWork = 4096;        // 512 keys at once

fluid_settings_t* g_settings = nullptr;
std::atomic<fluid_synth_t*> g_synth{nullptr};
bool g_haveFont = false;
// The synthesiser and its soundfont are made on a thread of their own at
// start-up (reading the soundfont takes longer than the whole first
// picture); until they are handed over, a song asked for waits here.
struct Builder {
  std::thread thread;
  ~Builder() {  // a program that never closed the synthesiser waits for it at exit
    if (thread.joinable()) thread.join();
  }
} g_builder;
std::mutex g_builderJoin;
std::atomic<bool> g_synthComing{false};
struct WaitingSong {
  MidiSong* song = nullptr;
  int64_t startPoint = 0;
  int repeats = 0;
} g_waitingSong;  // guarded by the audio lock

// The sequencer (guarded by the audio lock).
MidiSong* g_song = nullptr;
bool g_playing = false;
double g_songPos = 0;      // music time within the song
double g_musicTime = 0;    // the performance's running music time
double g_startTime = 0;    // music time when the song was started
size_t g_next = 0;         // next event to send
int g_repeatsLeft = 0;     // -1 without end
uint32_t g_tempo = kDefaultTempo;
float g_tempoFactor = 1.0f;
int32_t g_level = 0;
std::vector<float> g_render;

// ---- Reading the file ------------------------------------------------------

struct Reader {
  const uint8_t* p;
  const uint8_t* end;
  bool ok = true;
  uint32_t Byte() {
    if (p >= end) {
      ok = false;
      return 0;
    }
    return *p++;
  }
  uint32_t Big(int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | Byte();
    return v;
  }
  uint32_t Vlq() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const uint32_t b = Byte();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    ok = false;
    return v;
  }
};

bool ReadTrack(Reader r, int64_t division, MidiSong* song, int64_t* trackEnd) {
  uint64_t tick = 0;
  uint8_t running = 0;
  while (r.ok && r.p < r.end) {
    tick += r.Vlq();
    const int64_t time = static_cast<int64_t>(tick * kMusicTimePerQuarter / division);
    uint32_t status = r.Byte();
    if (status < 0x80) {  // running status: this byte is the first data byte
      if (!running) return false;
      --r.p;
      status = running;
    }
    if (status == 0xFF) {
      const uint32_t type = r.Byte();
      const uint32_t len = r.Vlq();
      if (static_cast<uint32_t>(r.end - r.p) < len) return false;
      if (type == 0x51 && len == 3) {
        MidiEvent e;
        e.time = time;
        e.status = 0xFF;
        e.tempo = (uint32_t{r.p[0]} << 16) | (uint32_t{r.p[1]} << 8) | r.p[2];
        if (e.tempo == 0) e.tempo = kDefaultTempo;
        if (e.tempo < kMidiFastestTempo || e.tempo > kMidiSlowestTempo) return false;
        song->events.push_back(e);
      }
      r.p += len;
      if (type == 0x2F) break;
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      const uint32_t len = r.Vlq();
      if (static_cast<uint32_t>(r.end - r.p) < len) return false;
      r.p += len;
      continue;
    }
    if (status < 0x80 || status > 0xEF) return false;
    running = static_cast<uint8_t>(status);
    MidiEvent e;
    e.time = time;
    e.status = static_cast<uint8_t>(status);
    e.data1 = static_cast<uint8_t>(r.Byte() & 0x7F);
    const uint32_t kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) e.data2 = static_cast<uint8_t>(r.Byte() & 0x7F);
    if (kind == 0x90 && e.data2 == 0) e.status = static_cast<uint8_t>(0x80 | (status & 0x0F));
    song->events.push_back(e);
  }
  if (!r.ok) return false;
  *trackEnd = static_cast<int64_t>(tick * kMusicTimePerQuarter / division);
  return true;
}

// The song's length in seconds, following its tempo changes.
double SongSeconds(const MidiSong& song) {
  double micros = 0;
  int64_t at = 0;
  uint32_t tempo = kDefaultTempo;
  for (const MidiEvent& e : song.events) {
    if (e.status != 0xFF) continue;
    const int64_t time = std::min(e.time, song.length);
    micros += static_cast<double>(time - at) * tempo / kMusicTimePerQuarter;
    at = time;
    tempo = e.tempo;
  }
  micros += static_cast<double>(song.length - at) * tempo / kMusicTimePerQuarter;
  return micros / 1e6;
}

bool ParseSong(const uint8_t* bytes, size_t size, MidiSong* song) {
  Reader r{bytes, bytes + size};
  if (size < 14 || std::memcmp(bytes, "MThd", 4) != 0) return false;
  r.p += 4;
  const uint32_t headerLength = r.Big(4);
  if (headerLength < 6 || headerLength > size - 8) return false;
  const uint32_t format = r.Big(2);
  const uint32_t tracks = r.Big(2);
  const uint32_t division = r.Big(2);
  if (format > 1 || tracks == 0 || division == 0 || (division & 0x8000)) return false;
  r.p = bytes + 8 + headerLength;
  for (uint32_t t = 0; t < tracks; ++t) {
    if (r.end - r.p < 8 || std::memcmp(r.p, "MTrk", 4) != 0) return false;
    r.p += 4;
    const uint32_t length = r.Big(4);
    if (static_cast<uint32_t>(r.end - r.p) < length) return false;
    int64_t end = 0;
    if (!ReadTrack(Reader{r.p, r.p + length}, division, song, &end)) return false;
    song->length = std::max(song->length, end);
    r.p += length;
  }
  // At equal times, note-offs and settings go before note-ons.
  std::stable_sort(song->events.begin(), song->events.end(), [](const MidiEvent& a, const MidiEvent& b) {
    if (a.time != b.time) return a.time < b.time;
    return ((a.status & 0xF0) != 0x90) && ((b.status & 0xF0) == 0x90);
  });
  return song->length > 0 && SongSeconds(*song) <= kMidiLongestSong;
}

// ---- Sending -----------------------------------------------------------------
//
// The events due before the next stretch of sound is rendered are sent as
// what they add up to. Within one such stretch the settings of a channel
// (controllers whose last value alone counts, pitch bend, channel pressure)
// wait and only their last values are sent, before the channel's next other
// event and before the sound is rendered; a reset of all controllers with
// nothing changed since the last is left out; a key struck again before any
// sound was rendered is not struck twice, and a key that is not sounding is
// not released.

// Controllers whose last value before the sound is rendered is all that
// counts, in any order among themselves: modulation, breath, foot,
// portamento time, volume, balance, pan, expression, the sound controllers
// and the effect depths.
bool IsSettingController(int controller) {
  switch (controller) {
    case 1: case 2: case 4: case 5: case 7: case 8: case 10: case 11: return true;
    default: return (controller >= 70 && controller <= 79) || (controller >= 91 && controller <= 95);
  }
}

struct KeySet {
  uint64_t bits[2] = {0, 0};
  bool Has(int key) const { return (bits[key >> 6] >> (key & 63)) & 1; }
  void Add(int key) { bits[key >> 6] |= uint64_t{1} << (key & 63); }
  void Remove(int key) { bits[key >> 6] &= ~(uint64_t{1} << (key & 63)); }
};

struct ChannelSending {
  // Settings waiting for the channel's next other event or the render.
  KeySet waitingControllers;
  uint8_t controllerValue[128] = {};
  bool bendWaiting = false, pressureWaiting = false;
  int bend = 0, pressure = 0;
  // A reset of all controllers was sent and no controller changed since.
  bool resetClean = false;
  KeySet sounding;  // struck and not released
  KeySet struck;    // struck since the sound was last rendered
};
ChannelSending g_channels[16];
int g_workLeft = kMostWork;  // the budget's work left

void ForgetSending() {
  for (ChannelSending& c : g_channels) c = ChannelSending{};
  g_workLeft = kMostWork;
}

void Spend(int work) { g_workLeft -= work; }

bool HasWaiting(const ChannelSending& c) {
  return c.waitingControllers.bits[0] != 0 || c.waitingControllers.bits[1] != 0 || c.bendWaiting ||
         c.pressureWaiting;
}

// Sends what waits on the channel, as far as the budget goes (the rest waits
// on).
void FlushChannel(int ch) {
  ChannelSending& c = g_channels[ch];
  for (int half = 0; half < 2; ++half)
    for (uint64_t& bits = c.waitingControllers.bits[half]; bits != 0 && g_workLeft > 0; bits &= bits - 1) {
      const int controller = half * 64 + __builtin_ctzll(bits);
      fluid_synth_cc(g_synth, ch, controller, c.controllerValue[controller]);
      Spend(1);
    }
  if (c.bendWaiting && g_workLeft > 0) {
    fluid_synth_pitch_bend(g_synth, ch, c.bend);
    c.bendWaiting = false;
    Spend(1);
  }
  if (c.pressureWaiting && g_workLeft > 0) {
    fluid_synth_channel_pressure(g_synth, ch, c.pressure);
    c.pressureWaiting = false;
    Spend(1);
  }
}

// Before a stretch of sound is rendered: everything waiting is sent.
void FlushBeforeRender() {
  if (!g_synth) return;
  for (int ch = 0; ch < 16; ++ch) {
    FlushChannel(ch);
    g_channels[ch].struck = KeySet{};
  }
}

// Sends a due event (notes only when `notes`).
void Send(const MidiEvent& e, bool notes) {
  if (e.status == 0xFF) {
    g_tempo = e.tempo;
    return;
  }
  if (!g_synth) return;
  const int ch = e.status & 0x0F;
  ChannelSending& c = g_channels[ch];
  switch (e.status & 0xF0) {
    case 0x80:  // released whatever the budget, when sounding
      if (!notes || !c.sounding.Has(e.data1)) return;
      fluid_synth_noteoff(g_synth, ch, e.data1);
      c.sounding.Remove(e.data1);
      Spend(1);
      return;
    case 0x90:
      if (!notes || g_workLeft <= 0 || (c.struck.Has(e.data1) && c.sounding.Has(e.data1))) return;
      FlushChannel(ch);
      fluid_synth_noteon(g_synth, ch, e.data1, e.data2);
      c.sounding.Add(e.data1);
      c.struck.Add(e.data1);
      Spend(kNoteWork);
      return;
    case 0xA0:
      return;
    case 0xB0:
      if (IsSettingController(e.data1)) {
        c.waitingControllers.Add(e.data1);
        c.controllerValue[e.data1] = e.data2;
        c.resetClean = false;
        return;
      }
      if (g_workLeft <= 0 || (e.data1 == 121 && c.resetClean && !HasWaiting(c))) return;
      FlushChannel(ch);
      fluid_synth_cc(g_synth, ch, e.data1, e.data2);
      Spend(1);
      c.resetClean = e.data1 == 121;
      // All sound off, all notes off and the mode changes end the notes.
      if (e.data1 == 120 || e.data1 >= 123) c.sounding = KeySet{};
      return;
    case 0xC0:
      if (g_workLeft <= 0) return;
      FlushChannel(ch);
      fluid_synth_program_change(g_synth, ch, e.data1);
      Spend(1);
      return;
    case 0xD0:
      c.pressureWaiting = true;
      c.pressure = e.data1;
      c.resetClean = false;
      return;
    case 0xE0:
      c.bendWaiting = true;
      c.bend = e.data1 | (e.data2 << 7);
      c.resetClean = false;
      return;
  }
}

// ---- Sequencing ------------------------------------------------------------

// Moves the sequencer to `pos`: the settings before it (tempo, programs,
// controllers, bends) are sent, the notes are not.
void SeekLocked(int64_t pos, bool cut) {
  if (g_synth && cut) {
    fluid_synth_all_sounds_off(g_synth, -1);
    fluid_synth_system_reset(g_synth);
    ForgetSending();
  }
  g_tempo = kDefaultTempo;
  g_next = 0;
  // The settings before the point are all sent, whatever the budget.
  const int kept = g_workLeft;
  g_workLeft = std::numeric_limits<int>::max();
  while (g_next < g_song->events.size() && g_song->events[g_next].time < pos)
    Send(g_song->events[g_next++], false);
  FlushBeforeRender();
  g_workLeft = kept;
  g_songPos = static_cast<double>(pos);
}

// The synthesiser's library loads soundfonts and renders in OpenMP teams,
// whose worker threads spin while they wait for the next piece of work. The
// game's music needs no more than the calling thread: its team is cut to
// one, so no worker threads are made at all. (The runtime comes with the
// library; it is looked up rather than linked.)
void KeepSynthesiserOnThisThread() {
  using SetThreadCount = void (*)(int);
  if (auto set = reinterpret_cast<SetThreadCount>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"))) set(1);
}

double FramesPerMusicTime() {
  const double factor = g_tempoFactor > 0.01f ? g_tempoFactor : 0.01;
  return kMixRate * (g_tempo / 1e6) / kMusicTimePerQuarter / factor;
}

void Render(float* mix, int frames) {
  if (frames <= 0) return;
  g_render.assign(static_cast<size_t>(frames) * 2, 0.0f);
  static thread_local bool mixingThreadKept = false;  // the mixing thread renders alone too
  if (!mixingThreadKept) {
    KeepSynthesiserOnThisThread();
    mixingThreadKept = true;
  }
  if (g_synth && g_haveFont)
    fluid_synth_write_float(g_synth, frames, g_render.data(), 0, 2, g_render.data(), 1, 2);
  const float gain = GainOfLevel(g_level);
  for (int i = 0; i < frames * 2; ++i) mix[i] += g_render[i] * gain;
}

}  // namespace

namespace {

void StartSongLocked(MidiSong* song, int64_t startPoint, int repeats) {
  g_song = song;
  if (startPoint < 0 || startPoint >= song->length) startPoint = 0;
  SeekLocked(startPoint, true);
  g_repeatsLeft = repeats < 0 ? -1 : repeats;
  g_startTime = g_musicTime;
  g_playing = true;
}

// Builds the synthesiser aside, loads the soundfont, and hands both to the
// mixing thread under the lock, with the song asked for meanwhile.
void BuildSynthesiser() {
  KeepSynthesiserOnThisThread();
  fluid_synth_t* synth = new_fluid_synth(g_settings);
  const bool haveFont = synth && LoadSoundFont(synth);
  {
    std::lock_guard<std::mutex> hold(AudioLock());
    g_synth = synth;
    g_haveFont = haveFont;
    g_synthComing = false;
    const WaitingSong waiting = g_waitingSong;
    g_waitingSong = WaitingSong();
    if (synth && waiting.song) StartSongLocked(waiting.song, waiting.startPoint, waiting.repeats);
    if (!synth) g_playing = false;
  }
  if (synth && !haveFont) std::fprintf(stderr, "No General MIDI soundfont found; music is silent.\n");
}

}  // namespace

void WaitForMidiSynth() {
  std::lock_guard<std::mutex> hold(g_builderJoin);
  if (g_builder.thread.joinable()) g_builder.thread.join();
}

bool OpenMidiSynth() {
  if (g_synth || g_synthComing) return true;
  WaitForMidiSynth();  // one that failed to be made is made again
  // Warnings and notes nobody reads are not even formatted (a voice that
  // finds no room warns at every struck key).
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  if (g_settings) delete_fluid_settings(g_settings);
  g_settings = new_fluid_settings();
  if (!g_settings) return false;
  static_assert(kSynthRate == kMixRate);
  ApplySynthSettings(g_settings);
  KeepSynthesiserOnThisThread();
  g_synthComing = true;
  g_builder.thread = std::thread(BuildSynthesiser);
  return true;
}

void CloseMidiSynth() {
  WaitForMidiSynth();
  std::lock_guard<std::mutex> hold(AudioLock());
  g_waitingSong = WaitingSong();
  g_song = nullptr;
  g_playing = false;
  if (g_synth) delete_fluid_synth(g_synth);
  if (g_settings) delete_fluid_settings(g_settings);
  ForgetSending();
  g_synth = nullptr;
  g_settings = nullptr;
  g_haveFont = false;
  g_musicTime = g_startTime = 0;
}

bool MidiSynthIsOpen() { return g_synth != nullptr || g_synthComing; }

MidiSong* LoadMidiSong(const char* path) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return nullptr;
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() < (16u << 20))
    bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  return ParseMidiSong(bytes.data(), bytes.size());
}

MidiSong* ParseMidiSong(const uint8_t* bytes, size_t size) {
  auto* song = new MidiSong();
  if (!bytes || !ParseSong(bytes, size, song)) {
    delete song;
    return nullptr;
  }
  return song;
}

void FreeMidiSong(MidiSong* song) {
  DetachMidiSong(song);
  delete song;
}

int64_t MidiSongLength(const MidiSong* song) { return song ? song->length : 0; }

bool PlayMidiSong(MidiSong* song, int64_t startPoint, int repeats) {
  if (!song) return false;
  std::lock_guard<std::mutex> hold(AudioLock());
  if (!g_synth) {
    if (!g_synthComing) return false;
    // Started as soon as the synthesiser is there.
    g_waitingSong = {song, startPoint, repeats};
    g_song = song;
    g_playing = true;
    return true;
  }
  StartSongLocked(song, startPoint, repeats);
  return true;
}

void StopMidi() {
  std::lock_guard<std::mutex> hold(AudioLock());
  g_waitingSong = WaitingSong();
  g_playing = false;
  if (g_synth) fluid_synth_all_sounds_off(g_synth, -1);
  ForgetSending();
}

void DetachMidiSong(const MidiSong* song) {
  std::lock_guard<std::mutex> hold(AudioLock());
  if (g_waitingSong.song == song) g_waitingSong = WaitingSong();
  if (g_song != song) return;
  g_song = nullptr;
  g_playing = false;
  if (g_synth) fluid_synth_all_sounds_off(g_synth, -1);
  ForgetSending();
}

bool MidiIsPlaying() {
  std::lock_guard<std::mutex> hold(AudioLock());
  return g_playing;
}

int64_t MidiMusicTime() {
  std::lock_guard<std::mutex> hold(AudioLock());
  return static_cast<int64_t>(g_musicTime);
}

int64_t MidiStartTime() {
  std::lock_guard<std::mutex> hold(AudioLock());
  return static_cast<int64_t>(g_startTime);
}

bool SetMidiLevel(int32_t hundredthsDb) {
  if (!g_synth && !g_synthComing) return false;
  std::lock_guard<std::mutex> hold(AudioLock());
  g_level = std::clamp(hundredthsDb, -10000, 0);
  return true;
}

int32_t MidiLevel() { return g_level; }

void SetMidiTempoFactor(float factor) {
  std::lock_guard<std::mutex> hold(AudioLock());
  g_tempoFactor = factor;
}

float MidiTempoFactor() { return g_tempoFactor; }

void MixMidi(float* mix, int frames) {
  if (!g_synth) return;
  int done = 0;
  int budget = kEventsPerCall;
  g_workLeft = std::min(kMostWork, g_workLeft + static_cast<int>(frames * kWorkPerFrame));
  while (done < frames) {
    if (!g_playing || !g_song) {
      Render(mix + done * 2, frames - done);  // let released notes ring out
      return;
    }
    // Send everything that is due.
    const auto& events = g_song->events;
    while (g_next < events.size() && events[g_next].time <= g_songPos) {
      if (budget <= 0) {  // past the budget: what else is due is passed over at once
        g_next = static_cast<size_t>(
            std::upper_bound(events.begin() + static_cast<std::ptrdiff_t>(g_next), events.end(), g_songPos,
                             [](double pos, const MidiEvent& e) { return pos < static_cast<double>(e.time); }) -
            events.begin());
        break;
      }
      Send(events[g_next++], true);
      --budget;
    }
    const double length = static_cast<double>(g_song->length);
    if (g_songPos >= length) {
      if (g_repeatsLeft == 0) {
        g_playing = false;
        continue;
      }
      if (g_repeatsLeft > 0) --g_repeatsLeft;
      const double over = std::fmod(g_songPos - length, length);
      SeekLocked(0, false);  // notes ring on over the loop point
      g_songPos = over;
      continue;
    }
    const int64_t target = g_next < events.size() ? std::min(events[g_next].time, g_song->length) : g_song->length;
    const double perTime = FramesPerMusicTime();
    const int left = frames - done;
    const double wanted = std::ceil((static_cast<double>(target) - g_songPos) * perTime);
    const int run = wanted >= left ? left : std::max(std::min(kShortestRun, left), static_cast<int>(wanted));
    FlushBeforeRender();
    Render(mix + done * 2, run);
    const double advance = run / perTime;
    g_songPos += advance;
    g_musicTime += advance;
    done += run;
  }
}

}  // namespace platform
