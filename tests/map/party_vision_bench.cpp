// Speed of the sight update in a battle of 40 fighters, every one of them
// alert (as in combat): the frame's UpdatePartyVision. Run from the game's
// working folder (build/game).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "harness/battle_runner.h"
#include "map/party_vision.h"

namespace {

// The game's working folder, as the run began (a benchmark run before this
// one may have moved elsewhere).
const std::filesystem::path GameFolder = std::filesystem::current_path();

void BM_SightUpdate40Fighters(benchmark::State& state) {
  std::error_code ec;
  std::filesystem::current_path(GameFolder, ec);
  const battles::BattleGameScope game;
  battles::BattleOptions options;
  options.seed = 1;
  options.fighters = battles::kMaxFighters;
  options.map = "Ruined Keep";
  std::string fault;
  if (!game.Started() || !battles::SetUpBattle(options, &fault)) {
    state.SkipWithError(("the battle could not be laid out (run from build/game): " + fault).c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(UpdatePartyVision());
}
BENCHMARK(BM_SightUpdate40Fighters)->Unit(benchmark::kMicrosecond);

}  // namespace
