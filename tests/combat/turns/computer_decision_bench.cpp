// One computer fighter's whole decision (state 2 of the combat cycle, from
// its entry to the action code) with 40 fighters on a 60 x 60 map with walls.
// Battles of seeded groups are stepped by the game's frames; each iteration
// is the next decision, timed alone. Only the first three rounds of a battle
// count (nearly all forty still stand), then the next seed's battle is laid
// out. Reports the median, 99th percentile and worst decision in
// microseconds. Run from the game's working folder (build/game).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "combat/turns/combat_cycle.h"
#include "harness/battle_runner.h"
#include "state/turn_order.h"

namespace {

constexpr int kRoundsPerBattle = 3;
constexpr int kFrameLimit = 200000;

bool LayOut(uint32_t seed) {
  battles::BattleOptions options;
  options.seed = seed;
  options.fighters = battles::kMaxFighters;
  options.map = "Ruined Keep";
  std::string fault;
  return battles::SetUpBattle(options, &fault);
}

void BM_ComputerDecision40Fighters(benchmark::State& state) {
  const battles::BattleGameScope game;
  uint32_t seed = 1;
  if (!game.Started() || !LayOut(seed)) {
    state.SkipWithError("the battle could not be laid out (run from build/game)");
    return;
  }
  std::vector<int64_t> all;
  for (auto _ : state) {
    size_t before = battles::DecisionNanos().size();
    int frames = 0;
    while (battles::DecisionNanos().size() == before) {
      if (InCombat != 1 || CombatRoundNumber > kRoundsPerBattle) {
        if (!LayOut(++seed)) {
          state.SkipWithError("a battle could not be laid out");
          return;
        }
        before = battles::DecisionNanos().size();
        continue;
      }
      if (!battles::StepBattleFrame() || ++frames > kFrameLimit) {
        state.SkipWithError("the battle stalled");
        return;
      }
    }
    const int64_t ns = battles::DecisionNanos().back();
    all.push_back(ns);
    state.SetIterationTime(static_cast<double>(ns) * 1e-9);
  }
  if (all.empty()) return;
  state.counters["p50_us"] = static_cast<double>(battles::Percentile(all, 50)) / 1000.0;
  state.counters["p99_us"] = static_cast<double>(battles::Percentile(all, 99)) / 1000.0;
  state.counters["max_us"] = static_cast<double>(*std::max_element(all.begin(), all.end())) / 1000.0;
  state.counters["battles"] = seed;
}

BENCHMARK(BM_ComputerDecision40Fighters)->UseManualTime()->Iterations(3000)->Unit(benchmark::kMicrosecond);

}  // namespace
