// Speed of saving and loading a full game of the main adventure (300
// creatures, all 41 maps and the world map), against writing and reading the
// same bytes as one plain file in the same run. Saving flushes its files to
// the disk, so the plain write is flushed too. A load also clears the game
// it replaces and enters the map of the party: the reading and checking of
// the slot's files is measured on its own as well. Runs in a folder of its
// own under /tmp, and goes back to the working folder it found when each
// benchmark is over, so that the benchmarks run after it in the same
// process (in any order) find the game's files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "adventure/quest_journal.h"
#include "frontend/saved_games.h"
#include "map/map_record.h"
#include "platform/files.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_progress.h"

namespace {

constexpr int kCreatures = 300;

std::filesystem::path BenchFolder;
void RemoveBenchFolder() {
  platform::FinishDiscardingFolders();
  std::error_code ec;
  std::filesystem::remove_all(BenchFolder, ec);
}

// While it lives, the working folder is the benchmarks' own (made the first
// time) and the active adventure is theirs; the folder and the adventure it
// found are back when it goes.
class InBenchFolder {
 public:
  InBenchFolder() : introductory_(IntroductoryAdventureFlag) {
    std::snprintf(adventure_, sizeof adventure_, "%s", AdventureFolder);
    std::error_code ec;
    kept_ = std::filesystem::current_path(ec);
    if (BenchFolder.empty()) {
      char folder[] = "/tmp/grevenholt-bench-XXXXXX";
      if (!mkdtemp(folder)) return;
      BenchFolder = folder;
      std::atexit(RemoveBenchFolder);
    }
    std::filesystem::current_path(BenchFolder, ec);
    IntroductoryAdventureFlag = 0;
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s", "Bench");
  }
  ~InBenchFolder() {
    IntroductoryAdventureFlag = introductory_;
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s", adventure_);
    std::error_code ec;
    if (!kept_.empty()) std::filesystem::current_path(kept_, ec);
  }
  InBenchFolder(const InBenchFolder&) = delete;
  InBenchFolder& operator=(const InBenchFolder&) = delete;

 private:
  std::filesystem::path kept_;
  uint8_t introductory_;
  char adventure_[sizeof AdventureFolder] = {};
};

// A full game in memory, every time (a benchmark run before may have cleared
// the game), and its slot 1 saved once, in the benchmarks' own folder (the
// working folder while an InBenchFolder lives). The size of the slot.
size_t SetUpFullGame() {
  static size_t bytes = 0;
  if (BenchFolder.empty() || std::filesystem::current_path() != BenchFolder) return 0;
  platform::MakeGameFolder("SaveGame\\Bench");
  ResetQuestJournal();
  for (int n = 0; n < kStoredMapCount; ++n) {
    MapRecord& m = StoredMaps[n];
    std::snprintf(m.name, sizeof m.name, "Map %d", n);
    m.width = m.height = 60;
    for (int l = 0; l < kMapLayers; ++l)
      for (int i = 0; i < kMapSquares; ++i) m.layers[l][i] = (l == kLayerWalls && i % 7 == 0) ? 46 : (n + l + i) % 5;
  }
  WorldMap = StoredMaps[0];
  CurrentMapNumber = 5;
  CurrentMap = StoredMaps[5];
  for (int id = 0; id < kCreatures; ++id) {
    CreatureRecord& c = Creatures[id];
    std::snprintf(c.name, sizeof c.name, "Creature %d", id);
    c.map = id < kPartySize ? 5 : id % kStoredMapCount;
    c.squareX = 1 + id % 50;
    c.squareY = 1;
    c.facing = 3;
    c.level = 1 + id % 10;
    c.baseHitPoints = c.hitPoints = 20;
    c.strength = c.dexterity = c.constitution = c.intelligence = c.wisdom = c.charisma = {12, 12};
    c.footprintWidth = c.footprintHeight = {1, 1};
  }
  for (int r = 1; r < kCraftedRows; ++r) std::snprintf(CraftedWeapons[r].name, 50, "Item %d", r);
  if (bytes) return bytes;
  if (WriteSavedGame(1) != kSaveOk) return 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator("SaveGame/Bench/1"))
    if (entry.is_regular_file()) bytes += entry.file_size();
  return bytes;
}

void BM_SaveFullGame(benchmark::State& state) {
  const InBenchFolder inFolder;
  const size_t bytes = SetUpFullGame();
  for (auto _ : state)
    if (WriteSavedGame(1) != kSaveOk) state.SkipWithError("the save failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SaveFullGame)->Unit(benchmark::kMillisecond);

void BM_WriteOnePlainFile(benchmark::State& state) {
  const InBenchFolder inFolder;
  const std::vector<uint8_t> data(SetUpFullGame(), 7);
  for (auto _ : state) {
    if (!platform::WriteGameFile("Plain.dat", data.data(), data.size()) || !platform::SyncGameFile("Plain.dat"))
      state.SkipWithError("the write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_WriteOnePlainFile)->Unit(benchmark::kMillisecond);

void BM_LoadFullGame(benchmark::State& state) {
  const InBenchFolder inFolder;
  const size_t bytes = SetUpFullGame();
  for (auto _ : state)
    if (LoadSavedGame(1) != kSaveOk) state.SkipWithError("the load failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_LoadFullGame)->Unit(benchmark::kMillisecond);

// The part of a load that reads the files and checks them.
void BM_ReadAndCheckFullGame(benchmark::State& state) {
  const InBenchFolder inFolder;
  const size_t bytes = SetUpFullGame();
  for (auto _ : state)
    if (CheckSavedGame(1) != kSaveOk) state.SkipWithError("the check failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReadAndCheckFullGame)->Unit(benchmark::kMillisecond);

// The plain file read whole into room aligned as the game's room for its
// large files: the system's copy into room off such a boundary runs several
// times slower, and a plain read that depended on where the heap put its
// buffer would make a poor reference.
struct PlainRead {
  explicit PlainRead(size_t bytes)
      : size(bytes),
        room(static_cast<uint8_t*>(std::aligned_alloc(
            platform::kFileRoomAlignment, (bytes + platform::kFileRoomAlignment - 1) / platform::kFileRoomAlignment *
                                              platform::kFileRoomAlignment))) {
    const std::vector<uint8_t> data(bytes, 7);
    platform::WriteGameFile("Plain.dat", data.data(), data.size());
  }
  ~PlainRead() { std::free(room); }
  bool operator()() const {
    size_t got = 0;
    return room && here.Read("Plain.dat", size, room, &got) == platform::GameFolderFiles::kRead && got == size;
  }
  size_t size;
  uint8_t* room;
  platform::GameFolderFiles here{"."};
};

void BM_ReadOnePlainFile(benchmark::State& state) {
  const InBenchFolder inFolder;
  const PlainRead plain(SetUpFullGame());
  for (auto _ : state) {
    if (!plain()) state.SkipWithError("the read failed");
    benchmark::DoNotOptimize(plain.room);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * plain.size));
}
BENCHMARK(BM_ReadOnePlainFile)->Unit(benchmark::kMillisecond);

// A save and a plain write of the same bytes flushed with fdatasync, one
// after the other in every iteration, so that both meet the same disk: the
// median of the pairs' ratios, and the medians of each. The same for a load
// against a plain read.
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

template <typename Game, typename Plain>
void Paired(benchmark::State& state, Game game, Plain plain) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> gameMs, plainMs, ratio;
  for (auto _ : state) {
    // The folder a save replaced is removed in the background; a player's
    // saves are far enough apart for it to be gone before the next.
    state.PauseTiming();
    platform::FinishDiscardingFolders();
    state.ResumeTiming();
    const auto start = Clock::now();
    const bool gameDone = game();
    const auto middle = Clock::now();
    const bool plainDone = gameDone && plain();
    const auto end = Clock::now();
    // The loop would run on after an error: it ends here.
    if (!gameDone || !plainDone) {
      state.SkipWithError(gameDone ? "the plain side failed" : "the game's side failed");
      break;
    }
    gameMs.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
    plainMs.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
    ratio.push_back(gameMs.back() / plainMs.back());
  }
  state.counters["game_ms"] = Median(gameMs);
  state.counters["plain_ms"] = Median(plainMs);
  state.counters["ratio"] = Median(ratio);
}

// The plain write: the bytes written whole into the file and flushed with
// fdatasync, by the system's calls alone.
bool PlainWrite(const char* name, const std::vector<uint8_t>& data) {
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = done == data.size() && ::fdatasync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

void BM_SaveAgainstPlainWrite(benchmark::State& state) {
  const InBenchFolder inFolder;
  const std::vector<uint8_t> data(SetUpFullGame(), 7);
  Paired(
      state, [] { return WriteSavedGame(1) == kSaveOk; },
      [&data] { return PlainWrite("Plain.dat", data); });
}
BENCHMARK(BM_SaveAgainstPlainWrite)->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_LoadAgainstPlainRead(benchmark::State& state) {
  const InBenchFolder inFolder;
  const PlainRead plain(SetUpFullGame());
  Paired(state, [] { return LoadSavedGame(1) == kSaveOk; }, [&plain] { return plain(); });
}
BENCHMARK(BM_LoadAgainstPlainRead)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
