// Measures the game under load, one figure per run, for scripts/measure-load
// (which runs each beside its reference and divides). Run in the game's
// working folder. Every run prints "NAME VALUE" lines on its standard output.
//   loadprobe read-data        reads every data file of the game once
//   loadprobe startup          start-up to the first picture of the splash
//   loadprobe first-present    start-up to the first picture in the window
//                              (the black one before anything is loaded)
//   loadprobe battle [FRAMES]  a battle of 40 fighters on the game screen at
//                              960x720; the peak resident size and where the
//                              memory goes
//   loadprobe idle SCREEN [S]  a screen left alone (once settled) for S
//                              seconds (3 when not given) in the game's own
//                              loop and real clock: the share of a core it
//                              costs. SCREEN: title, main-menu, help,
//                              exploring, order, inventory, or accelerated
//                              (exploring with "Accelerated combat" on)
// Headless unless GREVENHOLT_PROBE_WINDOW=1 (then SDL's own drivers: a real
// window, under Xvfb for instance); a run with a window ends with how its
// pictures reached it ("presentation software" or "presentation accelerated ...").
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/static_layers.h"
#include "engine/graphics.h"
#include "engine/help_pages.h"
#include "engine/sprite_sheets.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/fighter_slots.h"
#include "harness/harness.h"
#include "harness/process_figures.h"
#include "harness/test_scenes.h"
#include "shell/application.h"
#include "shell/frame.h"
#include "state/turn_order.h"
#include "platform/render.h"
#include "platform/system.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The files the game reads: every file below the working folder but the
// program, the settings, and the pictures and listings tests leave there.
bool IsDataFile(const std::filesystem::directory_entry& entry) {
  namespace fs = std::filesystem;
  if (!entry.is_regular_file()) return false;
  const fs::path& p = entry.path();
  if (p.parent_path() != fs::path(".")) return true;
  const std::string ext = p.extension().string();
  const std::string name = p.filename().string();
  if (ext == ".png" || ext == ".txt" || name.rfind("Config", 0) == 0) return false;
  return (fs::status(p).permissions() & fs::perms::owner_exec) == fs::perms::none;
}

int ReadData() {
  const auto start = Clock::now();
  std::vector<char> buffer(1 << 20);
  long long bytes = 0;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(".")) {
    if (!IsDataFile(entry)) continue;
    std::FILE* f = std::fopen(entry.path().c_str(), "rb");
    if (!f) continue;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) bytes += static_cast<long long>(n);
    std::fclose(f);
    ++files;
  }
  std::printf("read-data-ms %.2f\nread-data-bytes %lld\nread-data-files %d\n", MsSince(start), bytes, files);
  return 0;
}

bool Step(int frames) { return harness::StepFrames(frames); }

int FirstPresent(Clock::time_point start) {
  if (!harness::StartGame()) return 1;
  if (platform::FirstPresentTime() == 0) {
    std::fprintf(stderr, "loadprobe: no picture reached a window (run with a window)\n");
    return 1;
  }
  const Clock::time_point shown{std::chrono::nanoseconds(platform::FirstPresentTime())};
  std::printf("first-present-ms %.2f\n", std::chrono::duration<double, std::milli>(shown - start).count());
  return 0;
}

int Startup(Clock::time_point start) {
  if (!harness::StartGame()) return 1;
  for (int frame = 0; frame < 200 && std::strcmp(LastScreenDrawn, "SplashScreen") != 0; ++frame)
    if (!Step(1)) return 1;
  if (std::strcmp(LastScreenDrawn, "SplashScreen") != 0) {
    std::fprintf(stderr, "loadprobe: the splash screen never showed (last: %s)\n", LastScreenDrawn);
    return 1;
  }
  std::printf("startup-ms %.2f\n", MsSince(start));
  std::fflush(stdout);
  return 0;
}

// The KiB of a table that are resident and its own: pages written to. A page
// only ever read maps the system's shared zero page and costs nothing, so it
// is not counted (the page map's "exclusively mapped" bit tells them apart).
long ResidentKiB(const void* table, size_t bytes) {
  const long page = sysconf(_SC_PAGESIZE);
  const uintptr_t first = reinterpret_cast<uintptr_t>(table) / page;
  const uintptr_t last = (reinterpret_cast<uintptr_t>(table) + bytes + page - 1) / page;
  std::FILE* map = std::fopen("/proc/self/pagemap", "rb");
  if (!map) return -1;
  std::vector<uint64_t> entries(last - first);
  const bool read = std::fseek(map, static_cast<long>(first * sizeof(uint64_t)), SEEK_SET) == 0 &&
                    std::fread(entries.data(), sizeof(uint64_t), entries.size(), map) == entries.size();
  std::fclose(map);
  if (!read) return -1;
  long own = 0;
  for (uint64_t e : entries) own += (e >> 63 & 1) && (e >> 56 & 1);
  return own * page / 1024;
}

// Where the memory goes: the sprite sheets' texels, the sound samples held,
// the game's largest tables, and the process's mappings by what backs them
// (the heap and anonymous memory, the program, each shared library).
void ReportMemory() {
  const struct {
    const char* name;
    const void* table;
    size_t bytes;
  } tables[] = {{"Creatures", Creatures, sizeof Creatures},
                {"FighterSlots", FighterSlots, sizeof FighterSlots},
                {"FighterSlotBackup", FighterSlotBackup, sizeof FighterSlotBackup},
                {"HelpPages", HelpPages, sizeof HelpPages},
                {"StoredMaps", StoredMaps, sizeof StoredMaps},
                {"MapMemory", MapMemory, sizeof MapMemory},
                {"CraftedWeapons", CraftedWeapons, sizeof CraftedWeapons},
                {"ItemTable", ItemTable, sizeof ItemTable},
                {"SpellTable", SpellTable, sizeof SpellTable}};
  for (const auto& t : tables)
    std::printf("table-kib %ld of %zu %s\n", ResidentKiB(t.table, t.bytes), t.bytes / 1024, t.name);
  long long texels = 0;
  int decoded = 0;
  for (int slot = 0; slot < SheetBank.count; ++slot) {
    const TextureRecord& r = SheetBank.records[slot];
    if (!r.texture || !r.texture->Decoded()) continue;
    texels += static_cast<long long>(r.width) * r.height;
    ++decoded;
  }
  std::printf("sheets-read %d of %d\n", decoded, SheetBank.count);
  long long sound = 0;
  for (const SoundSample& s : SoundSamples) sound += s.block ? s.size : 0;
  std::printf("textures-kib %lld\nsound-samples-kib %lld\n", texels * 4 / 1024, sound / 1024);
  // The back buffer the game draws into, and the whole pictures kept of it.
  const long long frame = Graphics.device ? 4LL * Graphics.device->Width() * Graphics.device->Height() : 0;
  std::printf("frames-kib %lld back buffer, %zu kept pictures\n", frame / 1024, StaticLayerBytes() / 1024);
  std::printf("peak-resident-kib %ld\nresident-kib %ld\nresident-anon-kib %ld\nresident-file-kib %ld\n",
              figures::StatusKiB("VmHWM"), figures::StatusKiB("VmRSS"), figures::StatusKiB("RssAnon"),
              figures::StatusKiB("RssFile"));
  // GREVENHOLT_PROBE_SMAPS=FILE keeps the whole mapping list for a closer look.
  if (const char* keep = std::getenv("GREVENHOLT_PROBE_SMAPS")) {
    std::ifstream all("/proc/self/smaps");
    std::ofstream(keep) << all.rdbuf();
  }
  std::ifstream in("/proc/self/smaps");
  std::map<std::string, long> byOwner;
  std::string owner;
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    if (std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < 16) {
      // "start-end perms offset dev inode [path]"
      std::istringstream fields(line);
      std::string skip;
      for (int field = 0; field < 5; ++field) fields >> skip;
      owner.clear();
      fields >> owner;
      const size_t slash = owner.rfind('/');
      if (owner.empty()) owner = "[anonymous]";
      else if (slash != std::string::npos) owner = owner.substr(slash + 1);
    } else if (line.compare(0, 4, "Rss:") == 0) {
      byOwner[owner] += std::atol(line.c_str() + 4);
    }
  }
  std::vector<std::pair<long, std::string>> sorted;
  for (const auto& [name, kib] : byOwner) sorted.push_back({kib, name});
  std::sort(sorted.rbegin(), sorted.rend());
  for (size_t i = 0; i < sorted.size() && i < 12; ++i)
    std::printf("mapping-kib %ld %s\n", sorted[i].first, sorted[i].second.c_str());
}

int Battle(int frames) {
  if (!harness::StartGame()) return 1;
  Step(3);  // the game opens in its 960x720 window
  if (!scenes::LayOutScene("throng")) return 1;
  int most = 0;
  for (int f = 0; f < frames; ++f) {
    if (!Step(1)) break;
    most = std::max(most, TurnEntryCount);
  }
  std::printf("fighters %d\nin-combat %d\n", most, InCombat);
  ReportMemory();
  return 0;
}

// Brings the game to a screen by a player's clicks and keys, or a test scene.
bool ReachScreen(const std::string& screen) {
  if (!harness::StartGame()) return false;
  Step(3);
  if (screen == "title" || screen == "main-menu" || screen == "help") {
    harness::Click(160, 120);  // past the splash
    Step(2);
    if (screen == "title") return std::strcmp(LastScreenDrawn, "TitleScreen") == 0;
    harness::Click(160, 120);  // past the title
    Step(2);
    if (screen == "main-menu") return std::strcmp(LastScreenDrawn, "DrawMainMenuScreen") == 0;
    harness::Click(130, 163);  // Display Help
    Step(3);
    return std::strcmp(LastScreenDrawn, "DrawTextPageScreen") == 0;
  }
  if (screen == "exploring" || screen == "inventory" || screen == "accelerated") {
    scenes::LayOutScene("camp");
    // The scenes accelerate combat; a player's game does so only when asked.
    OptionWords[kOptionAcceleratedCombat] = screen == "accelerated" ? 1 : 0;
    Step(5);
    if (screen == "inventory") {
      harness::PressKey("I");
      Step(3);
    }
    return true;
  }
  if (screen == "order") {
    // The battle waits for the first knight's order.
    scenes::LayOutScene("skirmish");
    OptionWords[kOptionAcceleratedCombat] = 0;
    Step(120);
    return InCombat == 1;
  }
  return false;
}

int Idle(const std::string& screen, double seconds) {
  if (!ReachScreen(screen)) {
    std::fprintf(stderr, "loadprobe: could not reach the screen \"%s\" (last: %s)\n", screen.c_str(), LastScreenDrawn);
    return 1;
  }
  Step(60);  // settled: fades in and first steps done
  const std::string reached = LastScreenDrawn;
  const harness::IdleCost cost = harness::LeaveAlone(seconds);
  std::printf("screen %s\nidle-core-share %.4f\nloop-core-share %.4f\nframes-per-second %.1f\n"
              "draws-per-second %.1f\n",
              reached.c_str(), cost.coreShare, cost.loopShare, cost.framesPerSecond, cost.drawsPerSecond);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = Clock::now();
  if (argc < 2) {
    std::fprintf(stderr, "usage: loadprobe read-data|startup|first-present|battle [FRAMES]|idle SCREEN [SECONDS]\n");
    return 2;
  }
  const std::string mode = argv[1];
  int result = 2;
  if (mode == "read-data") return ReadData();
  if (mode == "startup") result = Startup(start);
  if (mode == "first-present") result = FirstPresent(start);
  if (mode == "battle") result = Battle(argc > 2 ? std::atoi(argv[2]) : 300);
  if (mode == "idle" && argc > 2) result = Idle(argv[2], argc > 3 ? std::atof(argv[3]) : 3.0);
  if (!platform::PresentationPath().empty()) std::printf("presentation %s\n", platform::PresentationPath().c_str());
  harness::StopGame();
  return result;
}
