// Whole frames, stepped headless as the harness steps them: the start page,
// the main help index and the game screen with a full message log, in the
// 960x720 and the 640x480 window. Every frame is timed on its own; the
// median and the 99th percentile of the run are reported in milliseconds,
// of the clock and of the thread's processor time.
// Run from the game's working folder (build/game).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "engine/frame.h"
#include "engine/help_pages.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "frontend/game_reset.h"
#include "harness/harness.h"
#include "shell/display_modes.h"

namespace {

enum class Scene { kStartPage, kHelpPage, kGameScreen };

// A log written past its size, so that it has been trimmed and is full of
// highlighted names, keyword links and rolled numbers.
void FillMessageLog() {
  ClearMessageLog();
  for (int i = 0; i < 200; ++i)
    LogMessage("\xA3Raider %i\xA3 swings at \xA3" "Bryn\xA3 with an @ATTACK_ROLL@ of @%i|07@ and deals @%i|99@ "
               "points of damage; @ARMOR_CLASS@ holds.\r",
               i, 10 + i % 10, 1 + i % 8);
}

bool SetUpScene(Scene scene, int windowSize) {
  // The game is started again when a benchmark run before ended it.
  static const bool stopsAtExit = std::atexit(harness::StopGame) == 0;  // the sound threads end before the process does
  if (!stopsAtExit || !harness::StartGame()) return false;
  // Nothing of a scene measured before stays behind (another benchmark's map,
  // fighters or combat).
  ResetGameState();
  harness::SeedRandom(29);
  WindowedFlag = 1;
  WindowSize = static_cast<uint32_t>(windowSize);
  if (!SetWindowedMode()) return false;
  ResetPageHistory();
  switch (scene) {
    case Scene::kStartPage: break;
    case Scene::kHelpPage: OpenPage("Main Index", kMainIndexPageId); break;
    case Scene::kGameScreen:
      ScreenMode = 0;
      FillMessageLog();
      break;
  }
  harness::MoveMouse(150, 100);  // over the text, on no link
  return harness::StepFrames(20);
}

// Milliseconds of processor time this thread has used: on a busy machine it
// shows the frame's own work apart from the time others took the processor.
double ThreadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void Report(benchmark::State& state, const char* name, std::vector<double>& ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  state.counters[std::string(name) + "median_ms"] = ms[ms.size() / 2];
  state.counters[std::string(name) + "p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

void BM_Frame(benchmark::State& state, Scene scene, int windowSize) {
  if (!SetUpScene(scene, windowSize)) {
    state.SkipWithError("the game did not start (run from build/game)");
    return;
  }
  std::vector<double> wall, cpu;
  wall.reserve(1 << 16);
  cpu.reserve(1 << 16);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double startCpu = ThreadMs();
    harness::StepFrames(1);
    cpu.push_back(ThreadMs() - startCpu);
    wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  Report(state, "", wall);
  Report(state, "cpu_", cpu);
}

BENCHMARK_CAPTURE(BM_Frame, StartPage960x720, Scene::kStartPage, 2)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Frame, HelpPage960x720, Scene::kHelpPage, 2)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Frame, GameScreen960x720, Scene::kGameScreen, 2)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Frame, StartPage640x480, Scene::kStartPage, 1)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Frame, HelpPage640x480, Scene::kHelpPage, 1)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Frame, GameScreen640x480, Scene::kGameScreen, 1)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
