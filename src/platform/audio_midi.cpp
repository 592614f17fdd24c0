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
#include <vector>

#include "platform/audio.h"
#include "platform/audio_internal.h"

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
// many frames (the synthesiser's own block), and sends at most this many
// events a call; events due past the budget are passed over, so that no file
// can make the sound thread fall behind.
constexpr int kShortestRun = 64;
constexpr int kEventsPerCall = 4096;
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                   "/usr/share/sounds/sf2/default-GM.sf2",
                                   "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

fluid_settings_t* g_settings = nullptr;
fluid_synth_t* g_synth = nullptr;
bool g_haveFont = false;

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

void SilentLog(int, const char*, void*) {}

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

// ---- Sequencing ------------------------------------------------------------

void Send(const MidiEvent& e, bool notes) {
  if (e.status == 0xFF) {
    g_tempo = e.tempo;
    return;
  }
  if (!g_synth) return;
  const int ch = e.status & 0x0F;
  switch (e.status & 0xF0) {
    case 0x80:
      if (notes) fluid_synth_noteoff(g_synth, ch, e.data1);
      break;
    case 0x90:
      if (notes) fluid_synth_noteon(g_synth, ch, e.data1, e.data2);
      break;
    case 0xA0:
      break;
    case 0xB0:
      fluid_synth_cc(g_synth, ch, e.data1, e.data2);
      break;
    case 0xC0:
      fluid_synth_program_change(g_synth, ch, e.data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(g_synth, ch, e.data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(g_synth, ch, e.data1 | (e.data2 << 7));
      break;
  }
}

// Moves the sequencer to `pos`: the settings before it (tempo, programs,
// controllers, bends) are sent, the notes are not.
void SeekLocked(int64_t pos, bool cut) {
  if (g_synth && cut) {
    fluid_synth_all_sounds_off(g_synth, -1);
    fluid_synth_system_reset(g_synth);
  }
  g_tempo = kDefaultTempo;
  g_next = 0;
  while (g_next < g_song->events.size() && g_song->events[g_next].time < pos)
    Send(g_song->events[g_next++], false);
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

bool OpenMidiSynth() {
  if (g_synth) return true;
  fluid_set_log_function(FLUID_WARN, SilentLog, nullptr);
  fluid_set_log_function(FLUID_INFO, SilentLog, nullptr);
  fluid_set_log_function(FLUID_DBG, SilentLog, nullptr);
  g_settings = new_fluid_settings();
  if (!g_settings) return false;
  fluid_settings_setnum(g_settings, "synth.sample-rate", kMixRate);
  fluid_settings_setnum(g_settings, "synth.gain", 0.6);
  fluid_settings_setint(g_settings, "synth.polyphony", 128);
  fluid_settings_setint(g_settings, "synth.chorus.active", 0);
  fluid_settings_setint(g_settings, "synth.threadsafe-api", 0);
  fluid_settings_setint(g_settings, "synth.cpu-cores", 1);
  KeepSynthesiserOnThisThread();
  // Built and loaded aside, then handed to the mixing thread under the lock.
  fluid_synth_t* synth = new_fluid_synth(g_settings);
  if (!synth) {
    delete_fluid_settings(g_settings);
    g_settings = nullptr;
    return false;
  }
  bool haveFont = false;
  const char* chosen = std::getenv("GREVENHOLT_SOUNDFONT");
  if (chosen && fluid_synth_sfload(synth, chosen, 1) != FLUID_FAILED) haveFont = true;
  for (const char* font : kSoundFonts) {
    if (haveFont) break;
    if (FILE* f = std::fopen(font, "rb")) {
      std::fclose(f);
      haveFont = fluid_synth_sfload(synth, font, 1) != FLUID_FAILED;
    }
  }
  {
    std::lock_guard<std::mutex> hold(AudioLock());
    g_synth = synth;
    g_haveFont = haveFont;
  }
  if (!g_haveFont) std::fprintf(stderr, "No General MIDI soundfont found; music is silent.\n");
  return true;
}

void CloseMidiSynth() {
  std::lock_guard<std::mutex> hold(AudioLock());
  g_song = nullptr;
  g_playing = false;
  if (g_synth) delete_fluid_synth(g_synth);
  if (g_settings) delete_fluid_settings(g_settings);
  g_synth = nullptr;
  g_settings = nullptr;
  g_haveFont = false;
  g_musicTime = g_startTime = 0;
}

bool MidiSynthIsOpen() { return g_synth != nullptr; }

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
  if (!song || !g_synth) return false;
  std::lock_guard<std::mutex> hold(AudioLock());
  g_song = song;
  if (startPoint < 0 || startPoint >= song->length) startPoint = 0;
  SeekLocked(startPoint, true);
  g_repeatsLeft = repeats < 0 ? -1 : repeats;
  g_startTime = g_musicTime;
  g_playing = true;
  return true;
}

void StopMidi() {
  std::lock_guard<std::mutex> hold(AudioLock());
  g_playing = false;
  if (g_synth) fluid_synth_all_sounds_off(g_synth, -1);
}

void DetachMidiSong(const MidiSong* song) {
  std::lock_guard<std::mutex> hold(AudioLock());
  if (g_song != song) return;
  g_song = nullptr;
  g_playing = false;
  if (g_synth) fluid_synth_all_sounds_off(g_synth, -1);
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
  if (!g_synth) return false;
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
    Render(mix + done * 2, run);
    const double advance = run / perTime;
    g_songPos += advance;
    g_musicTime += advance;
    done += run;
  }
}

}  // namespace platform
