// What script commands cost: a loop that jumps back to a label standing after
// 100,000 commands, against the same number of commands run without a jump;
// and 20,000 items given to a member whose pack is full on an open 60 x 60
// map, against one search for a free square of that map.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "adventure/item_commands.h"
#include "adventure/script_file.h"
#include "map/free_square.h"
#include "map/map_record.h"
#include "rules/creature_record.h"

namespace {

constexpr int kCommandsBeforeTheLabel = 100000;
constexpr int kJumps = 10000;
constexpr uint32_t kCraftedItem = 4000;

ScriptCommand* Command(uint32_t op, int32_t argument) {
  auto* n = new ScriptCommand{};
  n->op = op;
  n->argumentCount = 1;
  n->arguments = new ScriptArgument[1]{{0, static_cast<uint32_t>(argument), nullptr}};
  return n;
}

// 100,000 commands that do nothing, then label 1 and a jump back to it (the
// loop ends at the command limit), or as many commands more that do nothing.
void LoadList(bool jumping) {
  FreeScript();
  std::vector<ScriptCommand*> nodes;
  for (int i = 0; i < kCommandsBeforeTheLabel; ++i) nodes.push_back(Command(34, 0));
  if (jumping) {
    nodes.push_back(Command(7, 1));  // label 1
    nodes.push_back(Command(8, 1));  // goto 1
  } else {
    for (int i = 0; i < 2 * kJumps; ++i) nodes.push_back(Command(34, 0));
  }
  for (size_t i = 1; i < nodes.size(); ++i) nodes[i - 1]->next = nodes[i];
  GameScript.head = nodes.front();
  GameScript.commandCount = static_cast<uint32_t>(nodes.size());
}

void BM_JumpsToALabelAfterManyCommands(benchmark::State& state) {
  LoadList(true);
  ScriptCommandLimit = kCommandsBeforeTheLabel + 1 + 2 * kJumps;
  for (auto _ : state) RunScriptFile(nullptr);
  ScriptCommandLimit = kScriptCommandLimit;
  FreeScript();
}
BENCHMARK(BM_JumpsToALabelAfterManyCommands)->Unit(benchmark::kMillisecond);

void BM_SameCommandsWithoutAJump(benchmark::State& state) {
  LoadList(false);
  for (auto _ : state) RunScriptFile(nullptr);
  FreeScript();
}
BENCHMARK(BM_SameCommandsWithoutAJump)->Unit(benchmark::kMillisecond);

void OpenMapWithAFullPack() {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = CurrentMap.height = kMapSide;
  CurrentMapNumber = 5;
  StoredMaps[5] = CurrentMap;
  CreatureRecord& c = Creatures[0];
  c.map = 5;
  c.squareX = c.squareY = 30;
  for (ItemPair& p : c.carried) p = {kCraftedItem, 1};
}

void BM_GivesTwentyThousandItemsToAFullPack(benchmark::State& state) {
  OpenMapWithAFullPack();
  for (auto _ : state) {
    state.PauseTiming();
    OpenMapWithAFullPack();
    state.ResumeTiming();
    GiveItemToCharacter(0, 20000, kCraftedItem);
  }
}
BENCHMARK(BM_GivesTwentyThousandItemsToAFullPack)->Unit(benchmark::kMillisecond);

void BM_OneSearchOfAFullMap(benchmark::State& state) {
  OpenMapWithAFullPack();
  GiveItemToCharacter(0, kMapSquares * kObjectLevels, kCraftedItem);
  for (auto _ : state) benchmark::DoNotOptimize(FindFreeSquareNear(-1, 30, 30));
}
BENCHMARK(BM_OneSearchOfAFullMap)->Unit(benchmark::kMillisecond);

}  // namespace
