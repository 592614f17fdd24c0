// The cost of the music from the worst MIDI files the game still takes, kept
// with the fuzzing inputs (tests/fuzz/cases/midi): storms of controller
// events, pitch bends and struck keys in a loop one music unit long at the
// fastest tempo, over sounding notes. Each iteration mixes one second of
// music, so its time is the share of real time the mixer spends: 1 ms is a
// thousandth of the sound thread's time, 100 ms a tenth.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/system.h"

namespace {

namespace fs = std::filesystem;

bool OpenHeadlessMusic() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("GREVENHOLT_HEADLESS", "1", 1);
  static const bool open = platform::InitPlatform() && platform::OpenAudio() && platform::OpenMidiSynth();
  return open;
}

void MixOneSecond(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  if (!OpenHeadlessMusic()) {
    state.SkipWithError("no headless audio");
    return;
  }
  platform::MidiSong* song = platform::ParseMidiSong(bytes.data(), bytes.size());
  platform::PlayMidiSong(song, 0, -1);
  std::vector<int16_t> out(platform::kMixRate * 2);
  for (auto _ : state) benchmark::DoNotOptimize(platform::CaptureAudio(out.data(), platform::kMixRate));
  platform::StopMidi();
  platform::FreeMidiSong(song);
}

// One benchmark for each kept MIDI input the game takes, and for one of the
// game's own tracks (from the game folder, the benchmarks' working folder).
const bool kRegistered = [] {
  const fs::path folder = fs::path(__FILE__).parent_path().parent_path() / "fuzz" / "cases" / "midi";
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.path().extension() == ".mid") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  if (fs::exists("Midi/1.mid", ec)) files.push_back("Midi/1.mid");
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    platform::MidiSong* parsed = platform::ParseMidiSong(bytes.data(), bytes.size());
    if (!parsed) continue;
    platform::FreeMidiSong(parsed);
    const std::string name = file.parent_path().filename() == "Midi" ? "game-track-1" : file.stem().string();
    benchmark::RegisterBenchmark(("MidiOneSecond/" + name).c_str(),
                                 [bytes](benchmark::State& state) { MixOneSecond(state, bytes); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
  }
  return true;
}();

}  // namespace
