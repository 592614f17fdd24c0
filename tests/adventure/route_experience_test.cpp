// The experience budget of the main adventure: a party of four created at
// level 1 walks the main route stage by stage through the built adventure
// (the roster's fixed fights, the experience its scripts hand out, the side
// quests and a share of the roads' random encounters), earning what the
// victory screen and the scripts' reward command give and rising a level
// whenever its experience allows. The party must stand at level 8 or more
// when it meets the Red Banner's master and at 10 or less at the end.
//
// Run the test program alone to see the party's level at each stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "adventure/encounter_tables.h"
#include "adventure/end_screens.h"
#include "adventure/open_map_fixture.h"
#include "adventure/script_file.h"
#include "combat/actions/start_of_combat.h"
#include "creatures/creature_treasure.h"
#include "engine/random.h"
#include "frontend/creature_roster.h"
#include "frontend/game_reset.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/items/crafting.h"
#include "state/encounters.h"

namespace {

constexpr char kAdventure[] = "FullVersion";
constexpr int kScriptExperienceOp = 32;  // the reward command; its second word 0 for experience
// The roads meet a group on about one step in six; the fullest route fights
// every one, the lightest only a third of them (the rest avoided, fled or
// switched off in the options).
constexpr double kRoadEncountersPerStep = 0.16;
constexpr double kLightShare = 1.0 / 3.0;
constexpr int kSampledEncounters = 120;

// The maps of the route.
constexpr int kHarrowmere = 20, kFenwood = 21, kBarrow = 22, kLowerTomb = 23, kGreyfold = 24;
constexpr int kKeepYard = 25, kGreatHall = 26, kHermitTower = 27;

// Enemies met by challenge rating, as the start of a battle counts them.
using RatingCounts = std::vector<int32_t>;

struct Leg {
  int from, to;
};

// One thing that happens on the route.
struct Event {
  enum Kind { kStage, kTravel, kFight, kReward, kFinalBattle } kind;
  const char* name = "";  // the stage's title or the reward's script
  int map = 0, leader = 0;  // a fight: the map and its group's leader
  Leg leg{};
  bool optional = false;  // the lightest route leaves it out
};

Event Stage(const char* title) { return {Event::kStage, title}; }
Event Travel(int from, int to) { return {Event::kTravel, "", 0, 0, {from, to}}; }
Event Fight(int map, int leader, bool optional = false) { return {Event::kFight, "", map, leader, {}, optional}; }
Event Reward(const char* script) { return {Event::kReward, script}; }
Event FinalBattle(int map, int leader) { return {Event::kFinalBattle, "", map, leader}; }

// The main route as a player who does every quest walks it.
const std::vector<Event>& MainRoute() {
  static const std::vector<Event> route = {
      Stage("Harrowmere: the reeve's charge"),
      Reward("Reeve"),
      Travel(kHarrowmere, kFenwood),
      Fight(kFenwood, 9),
      Reward("Map21_Death1"),
      Reward("Tobin"),
      Stage("The smith's bargain"),
      Travel(kFenwood, kHarrowmere),
      Reward("Smith"),
      Stage("The Kings' Barrow"),
      Travel(kHarrowmere, kBarrow),
      Fight(kBarrow, 12),
      Fight(kBarrow, 15),
      Fight(kLowerTomb, 17),
      Fight(kLowerTomb, 20),
      Reward("Map23_Death1"),
      Reward("Pennick"),
      Stage("The ale wagon"),
      Travel(kBarrow, kHarrowmere),
      Travel(kHarrowmere, kGreyfold),
      Fight(kGreyfold, 23, true),  // the packleader can be paid off
      Reward("Hob"),
      Travel(kGreyfold, kHarrowmere),
      Reward("Innkeeper"),
      Stage("The hermit's cure"),
      Travel(kHarrowmere, kHermitTower),
      Reward("Odran"),
      Stage("Blackmoor Keep"),
      Travel(kHermitTower, kKeepYard),
      Reward("Map25_1"),  // reaching the keep, by the gate or the postern
      Fight(kKeepYard, 29, true),  // the postern leads past the yard
      Fight(kKeepYard, 33, true),
      FinalBattle(kGreatHall, 35),
      Reward("Map26_Death1"),
      Stage("Home to Harrowmere"),
      Travel(kKeepYard, kHarrowmere),
      Reward("Reeve"),
  };
  return route;
}

// The experience a compiled script hands every party member: the sum of
// its reward commands that give experience.
int32_t ScriptExperience(const char* script) {
  char path[260];
  std::snprintf(path, sizeof path, "Scripts/%s/%s.mls", kAdventure, script);
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  EXPECT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << path;
  int32_t total = 0;
  for (const ScriptCommand* c = head; c != nullptr; c = c->next)
    if (c->op == kScriptExperienceOp && ArgumentValue(c, 1) == 0) total += ArgumentValue(c, 0);
  if (head != nullptr) FreeCommandNodes(head);
  return total;
}

// The world map's places by their local map, and the regions of its squares.
class WorldMapRoads {
 public:
  WorldMapRoads() : map_(std::make_unique<MapRecord>()) {
    char path[260];
    std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\Maps\\WorldMap.dat", kAdventure);
    EXPECT_EQ(ReadMapFile(path, map_.get()), kMapFileRead);
  }

  // The steps of a leg by region: a straight walk, diagonal first.
  std::vector<int> StepsByRegion(Leg leg) const {
    int x = 0, y = 0, tx = 0, ty = 0;
    EXPECT_TRUE(Find(leg.from, &x, &y)) << "no place leads to map " << leg.from;
    EXPECT_TRUE(Find(leg.to, &tx, &ty)) << "no place leads to map " << leg.to;
    std::vector<int> steps(kEncounterRegions, 0);
    while (x != tx || y != ty) {
      x += (tx > x) - (tx < x);
      y += (ty > y) - (ty < y);
      if (x == tx && y == ty) break;  // the place itself meets nobody
      const int region = map_->At(kLayerEvents, x, y);
      ++steps[region >= 1 && region < kEncounterRegions ? region : 0];
    }
    return steps;
  }

 private:
  bool Find(int localMap, int* x, int* y) const {
    for (int i = 0; i < map_->width; ++i)
      for (int j = 0; j < map_->height; ++j)
        if (map_->At(kLayerObjects0, i, j) == 5 && map_->At(kLayerObjects1, i, j) == localMap) {
          *x = i;
          *y = j;
          return true;
        }
    return false;
  }
  std::unique_ptr<MapRecord> map_;
};

// The groups each region's table makes, sampled over fixed seeds on an
// open map.
std::vector<std::vector<RatingCounts>> SampleRoadEncounters() {
  std::vector<std::vector<RatingCounts>> samples(kEncounterRegions);
  openmap::DrawWithParty(40, 5);
  for (int region : {1, 2, 3}) {
    for (uint32_t seed = 1; seed <= kSampledEncounters; ++seed) {
      for (int id = kFirstEncounterCreature; id < kCreatureCount; ++id) Creatures[id].present = 0;
      std::memset(&CraftedWeapons[kFirstGeneratedItemRow], 0,
                  sizeof(CraftedWeaponRecord) * (kLastGeneratedItemRow - kFirstGeneratedItemRow + 1));
      EncounterCounter = 0;
      SeedRandomForTests(seed);
      GenerateRandomEncounter(region, 10, 10, 1);
      RatingCounts counts(kEncounterRatingCounters, 0);
      for (int i = 0; i < EncounterCounter; ++i) {
        const CreatureRecord& c = Creatures[kFirstEncounterCreature + i];
        ++counts[std::clamp<int>(c.challengeRating, 0, kEncounterRatingCounters - 1)];
      }
      samples[region].push_back(counts);
    }
  }
  return samples;
}

struct StageLevels {
  std::string title;
  int levelAtEnd = 0;
  int32_t experienceAtEnd = 0;
};

struct Walk {
  std::vector<StageLevels> stages;
  int levelBeforeFinal = 0;
  int32_t experienceBeforeFinal = 0;
  int levelAtEnd = 0;
};

class RouteExperience : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ResetGameState();
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadSpellTable(), 1);
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", kAdventure), 1);
    road_ = SampleRoadEncounters();
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", kAdventure), 1);
    roster_.assign(Creatures, Creatures + kCreatureCount);
  }
  static void TearDownTestSuite() {
    road_.clear();
    roster_.clear();
    roster_.shrink_to_fit();
  }

  // The party of the roster at level 1 with no experience.
  static void FreshParty() {
    std::copy(roster_.begin(), roster_.end(), Creatures);
    for (int m = 0; m < 4; ++m) {
      Creatures[m].level = 1;
      Creatures[m].experience = 0;
    }
  }

  // Each member rises while its experience reaches the next level's threshold.
  static void RaiseLevels() {
    for (int m = 0; m < 4; ++m) {
      CreatureRecord& c = Creatures[m];
      while (c.level < 20) {
        ++c.level;
        if (SpareXP(m) < 0) {
          --c.level;
          break;
        }
      }
    }
  }

  // The victory screen's awards for enemies met in these numbers, scaled by
  // how many such fights there are.
  static void WinAgainst(const RatingCounts& counts, double times = 1.0) {
    std::copy(counts.begin(), counts.end(), EncounterRatingCounts);
    AlliesJoined = 0;
    int32_t awards[4] = {};
    ComputeVictoryAwards(awards);
    for (int m = 0; m < 4; ++m) Creatures[m].experience += static_cast<int32_t>(awards[m] * times);
  }

  // The roster's group on a map as the party meets it (absent creatures are
  // brought by no script), counted by challenge rating.
  static RatingCounts Group(int map, int leader) {
    RatingCounts counts(kEncounterRatingCounters, 0);
    int members = 0;
    for (int id = 4; id < kFirstEncounterCreature; ++id) {
      const CreatureRecord& c = roster_[id];
      if (c.map != map || c.leader != leader || c.name[0] == 0 || c.present == 0) continue;  // absent: never met
      ++counts[std::clamp<int>(c.challengeRating, 0, kEncounterRatingCounters - 1)];
      ++members;
    }
    EXPECT_GT(members, 0) << "no group led by " << leader << " on map " << map;
    return counts;
  }

  // The roads of a leg: the expected share of each region's groups, each
  // worth the mean award of the region's sampled groups.
  static void TravelRoads(const WorldMapRoads& world, Leg leg, double share) {
    const std::vector<int> steps = world.StepsByRegion(leg);
    for (int region = 1; region < kEncounterRegions; ++region) {
      const std::vector<RatingCounts>& groups = road_[region];
      if (steps[region] == 0 || groups.empty()) continue;
      const double meetings = steps[region] * kRoadEncountersPerStep * share;
      for (const RatingCounts& g : groups) WinAgainst(g, meetings / static_cast<double>(groups.size()));
      RaiseLevels();
    }
  }

  static Walk WalkRoute(bool fullest) {
    FreshParty();
    const WorldMapRoads world;
    Walk walk;
    for (const Event& e : MainRoute()) {
      switch (e.kind) {
        case Event::kStage:
          walk.stages.push_back({e.name});
          break;
        case Event::kTravel:
          TravelRoads(world, e.leg, fullest ? 1.0 : kLightShare);
          break;
        case Event::kFinalBattle:
          walk.levelBeforeFinal = Creatures[0].level;
          walk.experienceBeforeFinal = Creatures[0].experience;
          [[fallthrough]];
        case Event::kFight:
          if (fullest || !e.optional) WinAgainst(Group(e.map, e.leader));
          break;
        case Event::kReward:
          for (int m = 0; m < 4; ++m) Creatures[m].experience += ScriptExperience(e.name);
          break;
      }
      RaiseLevels();
      if (!walk.stages.empty()) walk.stages.back() = {walk.stages.back().title, Creatures[0].level, Creatures[0].experience};
    }
    walk.levelAtEnd = Creatures[0].level;
    return walk;
  }

  static void Report(const char* which, const Walk& walk) {
    std::printf("%s route:\n", which);
    for (const StageLevels& s : walk.stages)
      std::printf("  %-32s level %2i  (%i experience)\n", s.title.c_str(), s.levelAtEnd, s.experienceAtEnd);
    std::printf("  before the final battle: level %i (%i experience); at the end: level %i\n", walk.levelBeforeFinal,
                walk.experienceBeforeFinal, walk.levelAtEnd);
  }

  static std::vector<CreatureRecord> roster_;
  static std::vector<std::vector<RatingCounts>> road_;
};

std::vector<CreatureRecord> RouteExperience::roster_;
std::vector<std::vector<RatingCounts>> RouteExperience::road_;

// The lightest route (no optional fight, few road encounters) still brings
// the party to level 8 before the last battle; the fullest (every fight,
// every road encounter) leaves it at level 10 at most.
TEST_F(RouteExperience, PartyReachesTheEndBetweenLevelsEightAndTen) {
  const Walk light = WalkRoute(false);
  Report("Lightest", light);
  const Walk full = WalkRoute(true);
  Report("Fullest", full);
  EXPECT_GE(light.levelBeforeFinal, 8);
  EXPECT_LE(full.levelAtEnd, 10);
}

}  // namespace
