// Whole battles without a screen: two groups of created creatures meet on a
// map of the battle test set (BattleMaps/ in the game folder), every fighter
// under the computer's control, and the game's own frame steps run the
// battle until it ends or the round cap is reached. Used by battlesim, the
// battle tests and the decision benchmark; run from the game's working folder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "harness/turn_check.h"

namespace battles {

constexpr int kMinFighters = 2;
constexpr int kMaxFighters = 40;
constexpr int kDefaultFighters = 12;
constexpr int kDefaultRoundCap = 100;

struct BattleOptions {
  uint32_t seed = 1;
  int fighters = kDefaultFighters;  // both sides together, kMinFighters to kMaxFighters
  std::string map;                  // a map's file stem ("Map1") or its name; empty: chosen by the seed
  int roundCap = kDefaultRoundCap;
  bool keepLog = false;             // keep the battle's message log as plain text
  bool keepTrace = false;           // keep a line for each decision (see BattleOutcome::trace)
  // A region (0 to 20) and a face of its die: the main adventure's party
  // meets that row of the region's encounter table on a battlefield of
  // the road (encounter_battle.h) in place of two drawn groups; -1 none.
  int encounterRegion = -1;
  int encounterFace = 0;
  // A fight of the Kings' Barrow (BarrowFight of encounter_battle.h) in
  // place of two drawn groups; -1 none.
  int barrowFight = -1;
  // With either: the party made on the creation pages (four Knights, the
  // first feats listed) in place of the prepared one.
  bool createdParty = false;
  // With a fight of the barrow: the party takes up the weapons it was given
  // that break bone.
  bool careful = false;
  bool check = false;               // watch every turn against the rules of a turn (turn_check.h)
};

struct BattleOutcome {
  uint32_t seed = 0;
  std::string mapName;
  int rounds = 0;
  char winner = 0;  // 'A' (the party's side), 'B' (the enemies) or 0 for none
  bool capped = false;
  int fighters = 0;
  int fallen = 0;
  int partyDown = 0;  // of the fallen, the party members (ids 0 to 3)
  int decisions = 0;
  std::vector<int64_t> decisionNanos;     // the time of each decision
  std::vector<int64_t> decisionCpuNanos;  // the processor time of each decision (its thread's)
  int64_t frameCpuNanos = 0;              // processor time of the battle's frames
  int64_t sightCpuNanos = 0;              // of which in the sight updates
  std::string encounter;               // the sentence announcing an encounter's group
  std::string fault;                   // empty unless the battle faulted
  std::vector<Breach> breaches;        // the rules of a turn broken, when checked
  std::string log;                     // plain text, when kept
  // When kept, one line per decision: "seed=S round=R fighter=C action=A
  // parameter=P at=X,Y words=W cpu_us=U", what the fighter chose, where it
  // stood, the generator's words used so far and the decision's processor time.
  std::string trace;
};

// Starts the game headless once (its tables, its sight tables, its devices)
// and sets its display device aside, so that battles draw nothing; false when
// start-up failed. StopBattleGame gives the device back and ends the game.
bool StartBattleGame();
void StopBattleGame();
// The battle game for a scope (a benchmark): started as it begins, ended as
// it is left, so that what runs next in the process finds no game running
// and the display device in its place.
class BattleGameScope {
 public:
  BattleGameScope() : started_(StartBattleGame()) {}
  ~BattleGameScope() { StopBattleGame(); }
  BattleGameScope(const BattleGameScope&) = delete;
  BattleGameScope& operator=(const BattleGameScope&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_;
};

// Runs the steps with the display device in place, so that the game's
// screens run (a set-up that goes through a page, as the level-up page does),
// and sets the device aside again; returns what the steps return.
std::string WithScreens(std::string (*steps)());

// The file stems of the test set's maps ("Map0", "Map1"...), in order, and
// the index of the map named by its stem or its own name (any case), -1 none.
const std::vector<std::string>& BattleMapStems();
int FindBattleMap(const std::string& stemOrName);

// Lays out a battle: a clean game state, the map, both groups created and
// placed, everyone alert and seeing, and the battle started with StartCombat.
// False (with the reason) when it could not begin.
bool SetUpBattle(const BattleOptions& options, std::string* fault);
// One frame of the game's steps with the clock moved on 16 ms; a party
// member's turn is handed to the computer as a confused member's is.
// False when the game asked to end.
bool StepBattleFrame();
// The creatures of the battle laid out last: side A then side B.
const std::vector<int>& BattleFighters();
// The decisions timed since the last SetUpBattle (nanoseconds each), in
// wall time and in the processor time of the thread.
const std::vector<int64_t>& DecisionNanos();
const std::vector<int64_t>& DecisionCpuNanos();
// The processor time of this thread, in nanoseconds.
int64_t ThreadCpuNanos();

// Sets up and runs one battle to its end or its cap, then checks the
// invariants. A fault (set-up failure, stall, broken invariant) is reported
// in the outcome.
BattleOutcome RunBattle(const BattleOptions& options);

// The most hit points above its maximum that temporary hit points have
// given the creature in the battle's frames so far.
int32_t TemporaryHitPointAllowance(int creature);

// What is wrong with the battle's state, or empty: hit points above the
// maximum, overlapping footprints, fighters on blocked squares, turn-order
// entries that are not live present fighters, unknown condition ids, the
// acting index outside the order.
std::string CheckBattleInvariants();

// The message log with its marks shown plainly: highlight marks dropped,
// keyword links as their words, rolled numbers without their roll index,
// carriage returns as new lines, underscores (drawn as blanks) as spaces.
std::string PlainLogText(const std::string& marked);

// "seed=S rounds=R winner=A|B|none fighters=F fallen=K decisions=D"
std::string BattleLine(const BattleOutcome& outcome);
// "battles=N ended=E capped=C decisions=D p50_us=X p99_us=Y max_us=Z
// p99_cpu_us=P max_cpu_us=M" over the outcomes' decisions (the _cpu_ figures
// in processor time).
std::string SummaryLine(const std::vector<BattleOutcome>& outcomes);
// "frames_cpu_ms=F sight_cpu_ms=S sight_share=R": the processor time of the
// outcomes' frames, of their sight updates, and the sight's share of it.
std::string SightShareLine(const std::vector<BattleOutcome>& outcomes);
// The nearest-rank percentile (0 to 100) of the values; 0 for none.
int64_t Percentile(std::vector<int64_t> values, int percent);

}  // namespace battles
