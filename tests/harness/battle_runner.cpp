#include "harness/battle_runner.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <time.h>

#include "combat/actions/combat_actions.h"
#include "combat/actions/start_of_combat.h"
#include "combat/turns/combat_cycle.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/graphics.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "frontend/game_reset.h"
#include "harness/encounter_battle.h"
#include "harness/harness.h"
#include "map/fighter_table.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "shell/frame.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace battles {
namespace {

constexpr int kBattleMapNumber = 1;
// Side A beyond the four party members, numbered as the game numbers the
// creatures of its encounters: past the records 581 to 600 that the summoned
// elementals are written over.
constexpr int kFirstAlly = kFirstEncounterCreature;
constexpr int kFirstEnemy = 700;  // side B
// Frames without a new round before a battle counts as stalled.
constexpr int kStallFrames = 60000;

// --- The decision clock and the kept log --------------------------------------

std::vector<int64_t> g_decisionNanos;
std::vector<int64_t> g_decisionCpuNanos;
std::chrono::steady_clock::time_point g_decisionStart;
int64_t g_decisionCpuStart = 0;
bool g_deciding = false;
bool g_keepTrace = false;
bool g_checking = false;
uint32_t g_traceSeed = 0;
std::string g_trace;

void TraceDecision(int64_t cpuNanos) {
  const int c = CurrentFighter();
  const bool known = IsValidCreature(c);
  char line[200];
  std::snprintf(line, sizeof line,
                "seed=%u round=%d fighter=%d action=%d parameter=%d at=%d,%d words=%llu cpu_us=%lld\n", g_traceSeed, static_cast<int>(CombatRoundNumber), c, static_cast<int>(CombatAction.actionCode),
                static_cast<int>(CombatAction.actionParameter), known ? Creatures[c].squareX : -1,
                known ? Creatures[c].squareY : -1, static_cast<unsigned long long>(RandomWordsUsed()),
                static_cast<long long>((cpuNanos + 500) / 1000));
  g_trace += line;
}

void TimeDecision(bool before) {
  const auto now = std::chrono::steady_clock::now();
  const int64_t cpu = ThreadCpuNanos();
  if (before) {
    if (g_checking) WatchDecision();
    g_decisionStart = now;
    g_decisionCpuStart = cpu;
    g_deciding = true;
    return;
  }
  if (!g_deciding) return;
  g_deciding = false;
  g_decisionNanos.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(now - g_decisionStart).count());
  g_decisionCpuNanos.push_back(cpu - g_decisionCpuStart);
  if (g_keepTrace) TraceDecision(cpu - g_decisionCpuStart);
}

// The processor time of the sight updates since the last SetUpBattle.
int64_t g_sightCpuNanos = 0;
int64_t g_sightCpuStart = 0;

void TimeSight(bool before) {
  const int64_t cpu = ThreadCpuNanos();
  if (before)
    g_sightCpuStart = cpu;
  else
    g_sightCpuNanos += cpu - g_sightCpuStart;
}

std::string g_rawLog;
std::string g_roster;  // who fights, for the head of the kept log
bool g_keepLog = false;

void KeepLogText(const char* text, int length) {
  if (g_keepLog && length > 0) g_rawLog.append(text, static_cast<size_t>(length));
}

// --- The draws of a battle ------------------------------------------------------

// Draws from the battle's own generator, so that the roster does not depend
// on how many words the game's generator has used.
class Draw {
 public:
  explicit Draw(uint32_t seed) : gen_(seed) {}
  // 0 to n - 1.
  int Below(int n) { return n <= 1 ? 0 : static_cast<int>(gen_() % static_cast<uint32_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  template <size_t N>
  int Pick(const int (&list)[N]) { return list[Below(static_cast<int>(N))]; }

 private:
  std::mt19937 gen_;
};

struct Recruit {
  int kind = 0;
  int classCode = 0;
  int levels = 0;
  int boost = 0;
  int metamagic = 0;
  int castingStyle = 0;
  int defensiveStyle = 0;
  int main = 0, off = 0, ranged = 0;
};

constexpr int kPeoples[] = {kKindHuman, kKindHuman, kKindDwarf, kKindElf, kKindHalfElf, kKindOrc, kKindGnoll,
                            kKindLizardman};
constexpr int kMeleeWeapons[] = {kWeaponLongsword, kWeaponBattleAxe, kWeaponGreataxe, kWeaponSpear, kWeaponRapier,
                                 kWeaponShortspear, kWeaponDagger};
constexpr int kUndead[] = {kKindSkeleton, kKindZombie, kKindGhoul, kKindMummy, kKindVampire, kKindLich};
constexpr int kBeasts[] = {kKindWolf, kKindTiger, kKindBrownBear, kKindGiantSpider, kKindSnake, kKindCentipede};
constexpr int kLarge[] = {kKindHillGiant, kKindFrostGiant, kKindFireGiant, kKindMinotaur, kKindTroll,
                          kKindGorgon, kKindEarthElemental, kKindFireElemental, kKindWaterElemental,
                          kKindAirElemental, kKindIronGolem, kKindMedusa};
constexpr int kOthers[] = {kKindGrimlock, kKindThriKreen, kKindMul, kKindSalamander, kKindBabau, kKindVrock,
                           kKindHorseman};
constexpr int kDragons[] = {kKindBlackDragon, kKindBlueDragon, kKindGreenDragon, kKindRedDragon,
                            kKindWhiteDragon};

// One fighter: melee fighters, archers, arcane and divine casters, undead,
// beasts, large creatures, other monsters and (rarely) a dragon.
Recruit DrawRecruit(Draw& d) {
  Recruit r;
  r.boost = d.Below(2);
  const int roll = d.Below(100);
  if (roll < 26) {  // a melee fighter of one of the peoples
    r.kind = d.Pick(kPeoples);
    r.classCode = d.Below(3) == 0 ? kClassKnight : (d.Below(4) ? kClassWarrior : kClassNoble);
    // Now and then a class of any kind: a rogue, a commoner, or a class a
    // people cannot take (made as the kind's own).
    if (d.Below(4) == 0) r.classCode = d.Between(kClassKnight, kClassMonstrousHumanoid);
    r.levels = d.Between(1, 8);
    r.main = d.Pick(kMeleeWeapons);
    if (r.main != kWeaponGreataxe && d.Below(2)) r.off = 36 + d.Below(2);
  } else if (roll < 40) {  // an archer
    r.kind = d.Pick(kPeoples);
    r.classCode = d.Below(2) ? kClassKnight : (d.Below(3) ? kClassWarrior : kClassCommoner);
    r.levels = d.Between(1, 8);
    r.main = d.Below(2) ? kWeaponDagger : kWeaponRapier;
    r.ranged = d.Below(3) == 0 ? kWeaponLightCrossbow : kWeaponShortbow;
  } else if (roll < 50) {  // an arcane caster
    r.kind = d.Below(3) == 0 ? kKindElf : kKindHuman;
    r.classCode = kClassWizard;
    r.levels = d.Between(2, 10);
    r.metamagic = d.Below(9);
    r.castingStyle = 1 + d.Below(2);
    r.defensiveStyle = d.Below(2);
    r.main = kWeaponDagger;
  } else if (roll < 60) {  // a divine caster
    r.kind = d.Below(3) == 0 ? kKindDwarf : kKindHuman;
    r.classCode = kClassCleric;
    r.levels = d.Between(2, 10);
    r.metamagic = d.Below(9);
    r.castingStyle = 1 + d.Below(2);
    r.defensiveStyle = d.Below(2);
    r.main = d.Below(2) ? kWeaponShortspear : kWeaponBattleAxe;
    if (d.Below(2)) r.off = 36;
  } else if (roll < 72) {
    r.kind = d.Pick(kUndead);
  } else if (roll < 82) {
    r.kind = d.Pick(kBeasts);
  } else if (roll < 92) {
    r.kind = d.Pick(kLarge);
  } else if (roll < 97) {
    r.kind = d.Pick(kOthers);
  } else {
    r.kind = d.Pick(kDragons);
  }
  return r;
}

// --- The map ------------------------------------------------------------------------

std::vector<std::string> g_stems;
std::vector<std::string> g_names;

void ListBattleMaps() {
  if (!g_stems.empty()) return;
  std::error_code ec;
  for (int n = 0; n < kStoredMapCount; ++n) {
    const std::string stem = "Map" + std::to_string(n);
    if (!std::filesystem::exists("BattleMaps/" + stem + ".dat", ec)) continue;
    static MapRecord probe;
    const std::string path = "BattleMaps/" + stem + ".dat";
    if (ReadMapFile(path.c_str(), &probe) != kMapFileRead) continue;
    g_stems.push_back(stem);
    g_names.push_back(probe.name);
  }
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool LoadBattleMap(int index, std::string* fault) {
  const std::string path = "BattleMaps/" + g_stems[index] + ".dat";
  if (ReadMapFile(path.c_str(), &CurrentMap) != kMapFileRead) {
    *fault = "cannot read " + path;
    return false;
  }
  CurrentMapNumber = kBattleMapNumber;
  return true;
}

// --- Placing the groups ---------------------------------------------------------------

std::vector<int> g_fighters;

bool SquareFree(int x, int y) {
  if (!CurrentMap.Inside(x, y) || CurrentMap.At(kLayerWalls, x, y) > 0) return false;
  for (int other : g_fighters) {
    const CreatureRecord& o = Creatures[other];
    if (o.present != 1) continue;
    if (x >= o.squareX && x < o.squareX + o.footprintWidth.current && y >= o.squareY &&
        y < o.squareY + o.footprintHeight.current)
      return false;
  }
  return true;
}

bool FootprintFits(int creature, int x, int y) {
  const CreatureRecord& c = Creatures[creature];
  for (int i = x; i < x + std::max(1, c.footprintWidth.current); ++i)
    for (int j = y; j < y + std::max(1, c.footprintHeight.current); ++j)
      if (!SquareFree(i, j)) return false;
  return true;
}

void PutAt(int creature, int x, int y) {
  CreatureRecord& c = Creatures[creature];
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = x * 24;
  c.pixelY = y * 24;
}

// A free place in the side's third of the map (west for A, east for B): drawn
// squares first, then every square of the third, then the whole map.
bool PlaceFighter(Draw& d, int creature, bool sideA) {
  const int w = CurrentMap.width, h = CurrentMap.height;
  const int x0 = sideA ? 1 : std::max(1, w - w / 3), x1 = sideA ? std::max(1, w / 3) : w - 2;
  for (int tries = 0; tries < 300; ++tries) {
    const int x = d.Between(x0, x1), y = d.Between(1, std::max(1, h - 2));
    if (FootprintFits(creature, x, y)) {
      PutAt(creature, x, y);
      return true;
    }
  }
  for (int pass = 0; pass < 2; ++pass)
    for (int x = pass ? 0 : x0; x <= (pass ? w - 1 : x1); ++x)
      for (int y = 0; y < h; ++y)
        if (FootprintFits(creature, x, y)) {
          PutAt(creature, x, y);
          return true;
        }
  return false;
}

// "Side A: creature 3, Bram Holloway (kind 34, class 1, level 1), 12 hit points, on 9,9", for the kept log.
std::string RosterLine(int id, char side) {
  const CreatureRecord& c = Creatures[id];
  char line[200];
  std::snprintf(line, sizeof line, "Side %c: creature %d, %s (kind %d, class %d, level %d), %d hit points, on %d,%d\n",
                side, id, c.name, static_cast<int>(c.kind), static_cast<int>(c.creatureClass),
                static_cast<int>(c.level), static_cast<int>(c.hitPoints), static_cast<int>(c.squareX),
                static_cast<int>(c.squareY));
  return line;
}

bool CreateFighter(Draw& d, int id, int32_t allegiance, int32_t leader, std::string* fault) {
  const Recruit r = DrawRecruit(d);
  if (CreateCreature(kBattleMapNumber, 0, 0, id, r.kind, r.classCode, r.levels, r.boost, 0, r.metamagic,
                     r.castingStyle, r.defensiveStyle, r.main, r.off, r.ranged) != 1) {
    *fault = "CreateCreature refused creature " + std::to_string(id);
    return false;
  }
  CreatureRecord& c = Creatures[id];
  c.allegiance = allegiance;
  c.leader = leader;
  c.present = 1;
  c.map = kBattleMapNumber;
  if (!PlaceFighter(d, id, allegiance != kAllegianceEnemy)) {
    *fault = "no room on the map for creature " + std::to_string(id);
    return false;
  }
  g_fighters.push_back(id);
  if (g_keepLog) g_roster += RosterLine(id, allegiance == kAllegianceEnemy ? 'B' : 'A');
  return true;
}

// --- Game state -------------------------------------------------------------------------

bool g_started = false;
// The display device and sprite batch, set aside while battles run: without
// a screen nothing is drawn, not even the frame a long decision presents.
std::unique_ptr<platform::RenderDevice> g_keptDevice;
std::unique_ptr<platform::SpriteBatch> g_keptSprite;

void FreshGameState() {
  ResetGameState();
  IntroductoryAdventureFlag = 0;
  SetAdventureFolder();
  LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", AdventureFolder);
  DebugMode = 0;
  OptionWords[kOptionMusicVolume] = 0;
  OptionWords[kOptionSoundVolume] = 0;
  OptionWords[kOptionBattleMusic] = 0;
  OptionWords[kOptionAcceleratedCombat] = 1;
  // The fastest pace the game has: every event still plays, in two frames.
  for (int32_t& w : AnimationStepWords) w = 1;
  for (int32_t& v : MotionStepValues) v = 24;
  WalkStepSmall = WalkStepLarge = 24;
  FloatingTextFrames = EventAnimationFrames = CombatStepFrames = 2;
  ScreenMode = kModeExploring;
  ClearMessageLog();
}

bool IsDown(int creature) {
  const CreatureRecord& c = Creatures[creature];
  return c.present != 1 || c.hitPoints <= 0 ||
         FindAnyCondition(creature, kCondDead, kCondUnconscious, kCondPetrified) >= 0;
}

std::string Describe(const char* what, int creature) {
  if (!IsValidCreature(creature)) return std::string(what) + ": creature " + std::to_string(creature);
  const CreatureRecord& c = Creatures[creature];
  char text[300];
  std::snprintf(text, sizeof text, "%s: creature %d (%.30s, hit points %d of %d, present %d, on %d,%d)", what,
                creature, c.name, static_cast<int>(c.hitPoints), static_cast<int>(c.maxHitPoints),
                static_cast<int>(c.present), static_cast<int>(c.squareX), static_cast<int>(c.squareY));
  std::string out = text;
  for (const ConditionEntry& e : c.conditions)
    if (e.id != 0) out += std::string(" [") + ConditionName(e.id) + "]";
  return out;
}

// Whether the creature can hold hit points above its maximum.
bool HoldsTemporaryHitPoints(int id) {
  const CreatureRecord& c = Creatures[id];
  if (c.type == kTypeUndead || HasCondition(id, kCondEnhancedBaseAttack)) return true;
  for (const NaturalAttack& n : c.naturalAttacks)
    for (int32_t code : {n.effectKind, n.riderKind})
      if ((code >= 18 && code <= 23) || code == 26) return true;
  for (int spell : {kSpellFalseLife, kSpellVampiricRay, kSpellVampiricBlast, kSpellDivinePower})
    if (c.knownSpells[spell] == 1 || c.special[kSpecialSpellLike] == spell + 1) return true;
  return false;
}


// Per fighter, the most hit points above its maximum that temporary hit
// points have given it during the battle's frames.
std::map<int, int32_t> g_temporaryExcess;

void NoteTemporaryHitPoints() {
  for (int id : g_fighters) {
    const CreatureRecord& c = Creatures[id];
    if (c.hitPoints > c.maxHitPoints && HoldsTemporaryHitPoints(id))
      g_temporaryExcess[id] = std::max(g_temporaryExcess[id], c.hitPoints - c.maxHitPoints);
  }
}

}  // namespace

bool StartBattleGame() {
  if (g_started) return true;
  if (!harness::StartGame()) return false;
  g_started = true;
  g_keptDevice = std::move(Graphics.device);
  g_keptSprite = std::move(Graphics.sprite);
  ComputerDecisionObserver = TimeDecision;
  SightUpdateObserver = TimeSight;
  MessageLogTap = KeepLogText;
  ListBattleMaps();
  return true;
}

void StopBattleGame() {
  if (!g_started) return;
  ComputerDecisionObserver = nullptr;
  SightUpdateObserver = nullptr;
  MessageLogTap = nullptr;
  Graphics.device = std::move(g_keptDevice);
  Graphics.sprite = std::move(g_keptSprite);
  harness::StopGame();
  g_started = false;
}

std::string WithScreens(std::string (*steps)()) {
  if (!g_started || !g_keptDevice) return steps();
  Graphics.device = std::move(g_keptDevice);
  Graphics.sprite = std::move(g_keptSprite);
  const std::string result = steps();
  g_keptDevice = std::move(Graphics.device);
  g_keptSprite = std::move(Graphics.sprite);
  return result;
}

const std::vector<std::string>& BattleMapStems() {
  ListBattleMaps();
  return g_stems;
}

int FindBattleMap(const std::string& wanted) {
  ListBattleMaps();
  for (size_t i = 0; i < g_stems.size(); ++i)
    if (SameName(wanted, g_stems[i]) || SameName(wanted, g_names[i])) return static_cast<int>(i);
  return -1;
}

const std::vector<int>& BattleFighters() { return g_fighters; }

int32_t TemporaryHitPointAllowance(int creature) {
  const auto excess = g_temporaryExcess.find(creature);
  return excess == g_temporaryExcess.end() ? 0 : excess->second;
}
const std::vector<int64_t>& DecisionNanos() { return g_decisionNanos; }
const std::vector<int64_t>& DecisionCpuNanos() { return g_decisionCpuNanos; }

int64_t ThreadCpuNanos() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool SetUpBattle(const BattleOptions& options, std::string* fault) {
  g_fighters.clear();
  g_temporaryExcess.clear();
  g_decisionNanos.clear();
  g_decisionCpuNanos.clear();
  g_deciding = false;
  g_rawLog.clear();
  g_roster.clear();
  g_keepLog = options.keepLog;
  g_keepTrace = options.keepTrace;
  g_traceSeed = options.seed;
  g_trace.clear();
  // Sounds still playing from an earlier battle would keep a footstep, and
  // the die it rolls, from this one: every battle starts in silence.
  for (int channel = 0; channel < kSoundChannelCount; ++channel) StopChannel(channel);
  if (!StartBattleGame()) {
    *fault = "the game did not start (run from the game folder)";
    return false;
  }
  if (g_stems.empty()) {
    *fault = "no battle maps in BattleMaps/";
    return false;
  }
  if (options.encounterRegion >= 0 || options.barrowFight >= 0) {
    FreshGameState();
    SeedRandomForTests(options.seed);
    if (options.barrowFight >= 0 ? !SetUpBarrowBattle(options.barrowFight, options.createdParty, options.careful, &g_fighters, fault)
                                 : !SetUpEncounterBattle(options.encounterRegion, options.encounterFace, options.map,
                                                         options.createdParty, &g_fighters, fault))
      return false;
    if (g_keepLog) {
      g_roster = options.barrowFight >= 0 ? std::string() : EncounterAnnouncement() + "\n";
      for (int id : g_fighters) g_roster += RosterLine(id, id < kPartySize ? 'A' : 'B');
    }
    return true;
  }
  if (options.fighters < kMinFighters || options.fighters > kMaxFighters) {
    *fault = "fighters must be 2 to 40";
    return false;
  }
  int map = static_cast<int>(options.seed % g_stems.size());
  if (!options.map.empty()) {
    map = FindBattleMap(options.map);
    if (map < 0) {
      *fault = "no battle map named " + options.map;
      return false;
    }
  }
  FreshGameState();
  if (!LoadBattleMap(map, fault)) return false;
  BuildOccupancyGrids(-1);

  Draw d(options.seed);
  SeedRandomForTests(options.seed);
  const int sideA = (options.fighters + 1) / 2, sideB = options.fighters - sideA;
  for (int i = 0; i < sideA; ++i) {
    const bool member = i < kPartySize;
    const int id = member ? i : kFirstAlly + (i - kPartySize);
    if (!CreateFighter(d, id, member ? kAllegianceParty : kAllegianceAlly, member ? 0 : kFirstAlly, fault))
      return false;
  }
  for (int i = 0; i < sideB; ++i)
    if (!CreateFighter(d, kFirstEnemy + i, kAllegianceEnemy, kFirstEnemy, fault)) return false;
  PartyLeader = 0;

  BuildFighterTable();
  BuildOccupancyGrids(0);
  for (int s = 0; s < FighterCount; ++s) FighterSlots[s].alert = 1;
  VisionRefreshFlag = 1;
  UpdatePartyVision();
  ForcedCombat = 1;
  if (StartCombat(0) != 1 || InCombat != 1) {
    *fault = "StartCombat did not begin the battle";
    return false;
  }
  return true;
}

bool StepBattleFrame() {
  platform::AdvanceManualClock(16);
  if (RunFrameSteps() == 0) return false;
  NoteTemporaryHitPoints();
  // Every fighter is the computer's: a party member's turn goes to the
  // computer's decision, as a confused member's does.
  // (A computer fighter's escape, reload or alarm also runs in state 1: it is left to the executor.)
  if (InCombat == 1 && CombatState == kStatePlayerTurn && CombatAction.actionCode == 0 && SpellInProgress == -1) {
    CombatAction.playerControlled = 0;
    ActionBarMode = 1;
    CombatState = kStateComputerDecision;
  }
  // A party member's cast carried over from an earlier turn, or its readied
  // action, is aimed by the computer too.
  if (InCombat == 1) CombatAction.playerControlled = 0;
  return true;
}

namespace {

// Steps the battle's frames until it ends, stalls (a fault) or passes the
// round cap.
void FightToEnd(const BattleOptions& options, BattleOutcome* out) {
  int lastRound = CombatRoundNumber, framesInRound = 0;
  while (InCombat == 1) {
    if (!StepBattleFrame()) {
      out->fault = "the game asked to end";
      return;
    }
    if (g_checking) WatchFrame();
    if (CombatRoundNumber != lastRound) {
      lastRound = CombatRoundNumber;
      framesInRound = 0;
    } else if (++framesInRound > kStallFrames) {
      char text[200];
      std::snprintf(text, sizeof text,
                    "stalled in round %d: state %d, screen mode %u, fighter %d, action %d, spell %d",
                    static_cast<int>(CombatRoundNumber), static_cast<int>(CombatState), ScreenMode,
                    CurrentFighter(), static_cast<int>(CombatAction.actionCode), static_cast<int>(SpellInProgress));
      out->fault = text;
      return;
    }
    if (CombatRoundNumber > options.roundCap) {
      out->capped = true;
      return;
    }
  }
}

}  // namespace

BattleOutcome RunBattle(const BattleOptions& options) {
  BattleOutcome out;
  out.seed = options.seed;
  out.fighters = options.fighters;
  if (!SetUpBattle(options, &out.fault)) return out;
  out.mapName = CurrentMap.name;
  if (options.encounterRegion >= 0 || options.barrowFight >= 0) out.fighters = static_cast<int>(g_fighters.size());
  g_checking = options.check;
  if (g_checking) StartTurnWatch(options.seed);
  g_sightCpuNanos = 0;
  const int64_t cpuStart = ThreadCpuNanos();

  FightToEnd(options, &out);
  // The whole barrow goes on to its next fight once one is won.
  int earlierRounds = 0;
  while (out.fault.empty() && !out.capped && options.barrowFight >= 0) {
    const int rounds = CombatRoundNumber;
    if (!GoDeeperIntoBarrow(&g_fighters, &out.fault)) break;
    earlierRounds += rounds;
    out.fighters = static_cast<int>(g_fighters.size());
    FightToEnd(options, &out);
  }
  out.frameCpuNanos = ThreadCpuNanos() - cpuStart;
  if (g_checking) out.breaches = EndTurnWatch();
  g_checking = false;
  out.sightCpuNanos = g_sightCpuNanos;
  out.rounds = earlierRounds + std::min<int>(CombatRoundNumber, options.roundCap);
  if (!out.capped && out.fault.empty()) {
    if (ScreenMode == kModeVictory) out.winner = 'A';
    if (ScreenMode == kModeDefeat) out.winner = 'B';
  }
  for (int id : g_fighters) {
    out.fallen += IsDown(id) ? 1 : 0;
    out.partyDown += id < kPartySize && IsDown(id) ? 1 : 0;
  }
  if (options.encounterRegion >= 0) out.encounter = EncounterAnnouncement();
  out.decisionNanos = g_decisionNanos;
  out.decisionCpuNanos = g_decisionCpuNanos;
  out.decisions = static_cast<int>(g_decisionNanos.size());
  if (out.fault.empty()) out.fault = CheckBattleInvariants();
  if (options.keepLog) out.log = PlainLogText(g_roster + g_rawLog);
  out.trace = std::move(g_trace);
  return out;
}


std::string CheckBattleInvariants() {
  std::vector<int> creatures = g_fighters;
  const int entries = std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries);
  for (int i = 0; i < entries; ++i)
    if (IsValidCreature(TurnOrder[i].creature) &&
        std::find(creatures.begin(), creatures.end(), TurnOrder[i].creature) == creatures.end())
      creatures.push_back(TurnOrder[i].creature);

  for (int id : creatures) {
    const CreatureRecord& c = Creatures[id];
    // Temporary hit points lift a creature above its maximum: the drains of
    // its natural attacks, False Life, the leeching rays, Divine Power, and
    // the negative energy that feeds the undead.
    const auto excess = g_temporaryExcess.find(id);
    const int32_t allowed = excess == g_temporaryExcess.end() ? 0 : excess->second;
    if (c.hitPoints > c.maxHitPoints + allowed) {
      char text[200];
      std::snprintf(text, sizeof text, "hit points %d above the maximum %d", static_cast<int>(c.hitPoints),
                    static_cast<int>(c.maxHitPoints));
      return Describe(text, id);
    }
    for (const ConditionEntry& e : c.conditions)
      if (e.id >= static_cast<uint32_t>(kConditionNameCount) || (e.id != 0 && ConditionNames[e.id][0] == '\0'))
        return Describe(("condition id " + std::to_string(e.id) + " is unknown").c_str(), id);
  }

  // Footprints of the present fighters: on open squares, and apart.
  std::vector<int> present;
  for (int id : creatures)
    if (Creatures[id].present == 1 && Creatures[id].map == CurrentMapNumber) present.push_back(id);
  static int owner[kMapSquares];
  std::fill(owner, owner + kMapSquares, -1);
  for (int id : present) {
    const CreatureRecord& c = Creatures[id];
    for (int x = c.squareX; x < c.squareX + std::max(1, c.footprintWidth.current); ++x) {
      for (int y = c.squareY; y < c.squareY + std::max(1, c.footprintHeight.current); ++y) {
        if (!CurrentMap.Inside(x, y) || CurrentMap.At(kLayerWalls, x, y) > 0)
          return Describe(("stands on the blocked square " + std::to_string(x) + "," + std::to_string(y)).c_str(), id);
        int& o = owner[SquareIndex(x, y)];
        if (o != -1)
          return Describe(("overlaps creature " + std::to_string(o) + " on " + std::to_string(x) + "," +
                           std::to_string(y)).c_str(), id);
        o = id;
      }
    }
  }

  if (TurnEntryCount < 0 || TurnEntryCount > kTurnOrderEntries)
    return "the turn order holds " + std::to_string(TurnEntryCount) + " entries";
  for (int i = 0; i < entries; ++i) {
    const int id = TurnOrder[i].creature;
    if (!IsValidCreature(id)) return "turn-order entry " + std::to_string(i) + " names no creature";
    if (IsDown(id) || FindCondition(id, kCondDead) >= 0)
      return Describe(("turn-order entry " + std::to_string(i) + " is not a live present fighter").c_str(), id);
  }
  if (CurrentTurnIndex < -1 || CurrentTurnIndex > entries)
    return "the acting index " + std::to_string(CurrentTurnIndex) + " is outside the order of " +
           std::to_string(entries);
  return "";
}

std::string PlainLogText(const std::string& marked) {
  std::string out;
  out.reserve(marked.size());
  for (size_t i = 0; i < marked.size(); ++i) {
    const char c = marked[i];
    if (c == '\xA3') continue;
    if (c == '\r') {
      out += '\n';
      continue;
    }
    if (c == '_') {  // drawn as a blank
      out += ' ';
      continue;
    }
    if (c == '@') {
      const size_t close = marked.find_first_of("@\r", i + 1);
      if (close != std::string::npos && marked[close] == '@') {
        std::string inner = marked.substr(i + 1, close - i - 1);
        const size_t bar = inner.find('|');
        if (bar != std::string::npos) inner.resize(bar);
        std::replace(inner.begin(), inner.end(), '_', ' ');
        out += inner;
        i = close;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string BattleLine(const BattleOutcome& o) {
  char text[200];
  std::snprintf(text, sizeof text, "seed=%u rounds=%d winner=%s fighters=%d fallen=%d decisions=%d", o.seed,
                o.rounds, o.winner == 'A' ? "A" : o.winner == 'B' ? "B" : "none", o.fighters, o.fallen,
                o.decisions);
  return text;
}

int64_t Percentile(std::vector<int64_t> values, int percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  // Nearest rank: the smallest value with at least percent% of the values at or below it.
  size_t rank = (values.size() * static_cast<size_t>(percent) + 99) / 100;
  rank = std::clamp<size_t>(rank, 1, values.size());
  return values[rank - 1];
}

std::string SummaryLine(const std::vector<BattleOutcome>& outcomes) {
  std::vector<int64_t> all, cpu;
  int ended = 0, capped = 0;
  for (const BattleOutcome& o : outcomes) {
    all.insert(all.end(), o.decisionNanos.begin(), o.decisionNanos.end());
    cpu.insert(cpu.end(), o.decisionCpuNanos.begin(), o.decisionCpuNanos.end());
    if (o.capped)
      ++capped;
    else if (o.fault.empty())
      ++ended;
  }
  auto micros = [](int64_t ns) { return static_cast<long long>((ns + 500) / 1000); };
  auto longest = [](const std::vector<int64_t>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); };
  char text[300];
  std::snprintf(text, sizeof text,
                "battles=%zu ended=%d capped=%d decisions=%zu p50_us=%lld p99_us=%lld max_us=%lld p99_cpu_us=%lld "
                "max_cpu_us=%lld",
                outcomes.size(), ended, capped, all.size(), micros(Percentile(all, 50)), micros(Percentile(all, 99)),
                micros(longest(all)), micros(Percentile(cpu, 99)), micros(longest(cpu)));
  return text;
}

std::string SightShareLine(const std::vector<BattleOutcome>& outcomes) {
  int64_t frames = 0, sight = 0;
  for (const BattleOutcome& o : outcomes) {
    frames += o.frameCpuNanos;
    sight += o.sightCpuNanos;
  }
  char text[160];
  std::snprintf(text, sizeof text, "frames_cpu_ms=%lld sight_cpu_ms=%lld sight_share=%.3f",
                static_cast<long long>(frames / 1000000), static_cast<long long>(sight / 1000000),
                frames > 0 ? static_cast<double>(sight) / static_cast<double>(frames) : 0.0);
  return text;
}

}  // namespace battles
