// Runs whole battles headless, from the game's working folder:
//   battlesim [--seed S] [--battles N] [--fighters F] [--map NAME] [--log FILE] [--trace FILE]
//             [--sight-share] [--check] [--encounter REGION[:FACE]] [--barrow FIGHT]
//             [--party prepared|created] [--careful]
// Battle k uses seed S + k. One line per battle, then the summary line; the
// exit status is 1 (with the seed) when a battle faults, 2 for bad arguments,
// 3 when --check saw a rule of a turn broken.
// --log writes every battle's message log as plain text to FILE; --trace
// writes one line per decision (who chose what, where, the generator's words
// used and the processor time) to FILE;
// --sight-share adds a last line with the sight updates' share of the
// processor time of the battles' frames;
// --check watches every turn against the rules of a turn (harness/turn_check.h):
// each breach is a "breach ..." line after its battle's line, and a last line
// "check: battles=N breaches=B" adds the count of each rule broken;
// --encounter fights the rows of a region's encounter table (one face, or
// every face that is not the roll down to the region below) against the
// main adventure's prepared party at level 1, N battles a row, with a line
// per row giving the party's wins;
// --barrow fights a fight of the Kings' Barrow (hall, tomb, altar, the whole
// barrow in one go, or all of these) as the main adventure brings the party
// to it (encounter_battle.h), N battles a fight, with a line per fight
// giving the party's wins;
// --party created has either meet its foes with a party made on the creation
// pages by taking what they offer (four Knights) in place of the prepared
// one (a Knight, a Cleric, a Wizard and a Knight); with --barrow, --careful
// has the party take up the weapons it was given on the way that break bone.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <unistd.h>
#include <vector>

#include "adventure/encounter_tables.h"
#include "harness/battle_runner.h"
#include "harness/encounter_battle.h"

namespace {

volatile sig_atomic_t g_seed = 0;

// A crash inside a battle still names its seed.
void OnFatalSignal(int signal) {
  char text[96];
  const int n = std::snprintf(text, sizeof text, "battlesim: fault in battle seed=%u: signal %d\n",
                              static_cast<unsigned>(g_seed), signal);
  if (n > 0) (void)!write(2, text, static_cast<size_t>(n));
  _exit(1);
}

bool ParseNumber(const char* text, long lo, long hi, long* out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

int Usage(const char* why) {
  std::fprintf(stderr, "battlesim: %s\nusage: battlesim [--seed S] [--battles N] [--fighters F] [--map NAME] "
                       "[--log FILE] [--trace FILE] [--sight-share] [--check] [--encounter REGION[:FACE]] "
                       "[--barrow hall|tomb|altar|whole|all] [--party prepared|created] [--careful]\n",
               why);
  return 2;
}

// "REGION" or "REGION:FACE"; face 0 when not given.
bool ParseEncounter(const char* text, long* region, long* face) {
  const std::string s = text;
  const size_t colon = s.find(':');
  *face = 0;
  if (!ParseNumber(s.substr(0, colon).c_str(), 0, kEncounterRegions - 1, region)) return false;
  return colon == std::string::npos || ParseNumber(s.substr(colon + 1).c_str(), 1, 20, face);
}

// A row's text as the log shows it, "n" for its count.
std::string RowText(const EncounterRow& row) {
  std::string out;
  for (const char* c = row.texts[0]; c != nullptr && *c != 0; ++c) {
    if (static_cast<unsigned char>(*c) == 0xC2 && static_cast<unsigned char>(c[1]) == 0xA3) {
      ++c;
      continue;
    }
    if (*c == '%' && c[1] == 'i') {
      out += 'n';
      ++c;
      continue;
    }
    out += *c == '_' ? ' ' : *c;
  }
  return out;
}

// "LABEL battles=N won=W lost=L capped=C faulted=K win_rate=0.96
// party_down=0.40 rounds=4.1": the party's wins over a row's battles, the
// party members down at a battle's end and its rounds, on average.
std::string RowLine(const std::string& label, const std::vector<battles::BattleOutcome>& outcomes) {
  int won = 0, lost = 0, capped = 0, faulted = 0, down = 0, rounds = 0;
  for (const battles::BattleOutcome& o : outcomes) {
    faulted += !o.fault.empty();
    won += o.winner == 'A';
    lost += o.winner == 'B';
    capped += o.capped;
    down += o.partyDown;
    rounds += o.rounds;
  }
  const double n = outcomes.empty() ? 1.0 : static_cast<double>(outcomes.size());
  char text[200];
  std::snprintf(text, sizeof text,
                " battles=%zu won=%d lost=%d capped=%d faulted=%d win_rate=%.2f party_down=%.2f rounds=%.1f",
                outcomes.size(), won, lost, capped, faulted, won / n, down / n, rounds / n);
  return label + text;
}

// "region=R face=F ... row=\"...\"": a row of an encounter table.
std::string EncounterRowLine(long region, long face, const std::vector<battles::BattleOutcome>& outcomes) {
  const EncounterRow* row = FindEncounterRow(static_cast<int>(region), static_cast<int>(face));
  return RowLine("region=" + std::to_string(region) + " face=" + std::to_string(face), outcomes) + " row=\"" +
         (row ? RowText(*row) : std::string()) + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  long seed = 1, count = 1, fighters = battles::kDefaultFighters, region = -1, face = 0;
  int barrow = -1;  // a fight of the barrow, kBarrowFights for all of them
  bool created = false;
  std::string map, logPath, tracePath;
  bool sightShare = false, check = false, careful = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sight-share" || arg == "--check" || arg == "--careful") {
      (arg == "--check" ? check : arg == "--careful" ? careful : sightShare) = true;
      continue;
    }
    if (i + 1 >= argc) return Usage(("missing value after " + arg).c_str());
    const char* value = argv[++i];
    if (arg == "--seed") {
      if (!ParseNumber(value, 0, 0xFFFFFFFFL, &seed)) return Usage("--seed takes a number 0 to 4294967295");
    } else if (arg == "--battles") {
      if (!ParseNumber(value, 1, 1000000, &count)) return Usage("--battles takes a number 1 to 1000000");
    } else if (arg == "--fighters") {
      if (!ParseNumber(value, battles::kMinFighters, battles::kMaxFighters, &fighters))
        return Usage("--fighters takes a number 2 to 40");
    } else if (arg == "--encounter") {
      if (!ParseEncounter(value, &region, &face)) return Usage("--encounter takes a region 0 to 20 and a face, e.g. 0:5");
    } else if (arg == "--barrow") {
      barrow = std::strcmp(value, "all") == 0 ? battles::kBarrowFights : battles::FindBarrowFight(value);
      if (barrow < 0) return Usage("--barrow takes hall, tomb, altar, whole or all");
    } else if (arg == "--party") {
      if (std::strcmp(value, "prepared") != 0 && std::strcmp(value, "created") != 0)
        return Usage("--party takes prepared or created");
      created = std::strcmp(value, "created") == 0;
    } else if (arg == "--map") {
      map = value;
    } else if (arg == "--log") {
      logPath = value;
    } else if (arg == "--trace") {
      tracePath = value;
    } else {
      return Usage(("unknown option " + arg).c_str());
    }
  }

  FILE* log = nullptr;
  FILE* trace = nullptr;
  for (auto [path, file] : {std::pair{&logPath, &log}, std::pair{&tracePath, &trace}}) {
    if (!path->empty() && (*file = std::fopen(path->c_str(), "wb")) == nullptr) {
      std::fprintf(stderr, "battlesim: cannot write %s\n", path->c_str());
      return 2;
    }
  }
  for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(s, OnFatalSignal);
  if (!battles::StartBattleGame()) {
    std::fprintf(stderr, "battlesim: the game did not start (run from the game folder)\n");
    return 1;
  }
  if (battles::BattleMapStems().empty()) {
    std::fprintf(stderr, "battlesim: no battle maps in BattleMaps/ (run from the game folder)\n");
    return 1;
  }
  if (region >= 0 && barrow >= 0) return Usage("--encounter and --barrow are one or the other");
  if (region < 0 && barrow < 0 && !map.empty() && battles::FindBattleMap(map) < 0)
    return Usage(("no battle map named " + map).c_str());

  // The rows to fight, each measured on its own: one or every row of the
  // region, one or every fight of the barrow; or one row of drawn groups.
  const bool measured = region >= 0 || barrow >= 0;
  std::vector<long> faces;
  std::vector<int> fights;
  if (region >= 0 && face == 0) {
    for (long f = 1; f <= EncounterDieSides[region]; ++f) {
      const EncounterRow* row = FindEncounterRow(static_cast<int>(region), static_cast<int>(f));
      if (row != nullptr && row->chain != kNextRegionDown) faces.push_back(f);
    }
  } else if (barrow >= 0) {
    for (int f = 0; f < battles::kBarrowFights; ++f)
      if (barrow == f || barrow == battles::kBarrowFights) fights.push_back(f);
  } else {
    faces.push_back(face);
  }
  const size_t rows = barrow >= 0 ? fights.size() : faces.size();

  std::map<std::string, int> breachesByRule;
  long breaches = 0;
  std::vector<battles::BattleOutcome> outcomes;
  std::vector<std::string> rowLines;
  int status = 0;
  for (size_t f = 0; f < rows && (status == 0 || measured); ++f) {
    std::vector<battles::BattleOutcome> rowOutcomes;
    for (long k = 0; k < count; ++k) {
      battles::BattleOptions options;
      options.seed = static_cast<uint32_t>(seed + k);
      options.fighters = static_cast<int>(fighters);
      options.map = map;
      options.keepLog = log != nullptr;
      options.keepTrace = trace != nullptr;
      options.check = check;
      options.encounterRegion = static_cast<int>(region);
      options.encounterFace = barrow >= 0 ? 0 : static_cast<int>(faces[f]);
      options.barrowFight = barrow >= 0 ? fights[f] : -1;
      options.createdParty = created;
      options.careful = careful;
      g_seed = options.seed;
      battles::BattleOutcome outcome = battles::RunBattle(options);
      std::string line = battles::BattleLine(outcome);
      if (measured) line += " party_down=" + std::to_string(outcome.partyDown);
      if (region >= 0) line += " \"" + outcome.encounter + "\"";
      if (log) {
        std::fprintf(log, "=== Battle seed=%u on %s, %d fighters\n%s\n=== %s\n\n", outcome.seed,
                     outcome.mapName.c_str(), outcome.fighters, outcome.log.c_str(), line.c_str());
        outcome.log.clear();
      }
      if (trace) std::fputs(outcome.trace.c_str(), trace);
      outcome.trace.clear();
      if (!outcome.fault.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "battlesim: fault in battle seed=%u: %s\n", outcome.seed, outcome.fault.c_str());
        status = 1;
        // A row's measure goes on past a faulted battle, which it counts.
        if (!measured) break;
      }
      std::printf("%s\n", line.c_str());
      for (const battles::Breach& b : outcome.breaches) {
        std::printf("%s\n", battles::BreachLine(b).c_str());
        ++breachesByRule[b.rule];
        ++breaches;
      }
      std::fflush(stdout);
      outcome.log.clear();
      rowOutcomes.push_back(std::move(outcome));
    }
    if (region >= 0) rowLines.push_back(EncounterRowLine(region, faces[f], rowOutcomes));
    if (barrow >= 0) rowLines.push_back(RowLine(std::string("fight=") + battles::BarrowFightName(fights[f]), rowOutcomes));
    for (battles::BattleOutcome& o : rowOutcomes) outcomes.push_back(std::move(o));
  }
  for (const std::string& line : rowLines) std::printf("%s\n", line.c_str());
  if (log) std::fclose(log);
  if (trace) std::fclose(trace);
  if (status == 0) std::printf("%s\n", battles::SummaryLine(outcomes).c_str());
  if (status == 0 && sightShare) std::printf("%s\n", battles::SightShareLine(outcomes).c_str());
  if (status == 0 && check) {
    std::printf("check: battles=%zu breaches=%ld", outcomes.size(), breaches);
    for (const auto& [rule, n] : breachesByRule) std::printf(" %s=%d", rule.c_str(), n);
    std::printf("\n");
    if (breaches > 0) status = 3;
  }
  battles::StopBattleGame();
  return status;
}
