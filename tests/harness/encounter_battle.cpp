#include "harness/encounter_battle.h"

#include <cctype>
#include <cstring>
#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"

#include "adventure/end_screens.h"
#include "engine/random.h"
#include "rules/item_tables.h"
#include "state/game_progress.h"
#include "state/script_state.h"
#include "frontend/game_start.h"
#include "harness/battle_runner.h"
#include "harness/harness.h"
#include "harness/play_verbs.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "party/party_start.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "state/encounters.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

namespace battles {

namespace {

// The four sides a party comes in by: the direction word the group is
// placed by (also the party's facing), and the first of the two columns and
// rows of its square.
constexpr int kEntrySides[4][3] = {{5, 9, 9}, {3, 9, 16}, {1, 16, 16}, {7, 16, 9}};
constexpr int kBattlefields = 5;  // maps 0 to 4
// Frames the battlefield's script is given to ask and start the battle.
constexpr int kFramesToMeet = 60;

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

constexpr int kHarrowmere = 20;  // the map the adventure begins on

// Steps at most `frames` frames until a battle has begun; whether it has.
// (The pointer of a headless game rests where it started: a creature under
// it would hold the hover and keep a script waiting.)
bool StepUntilBattle(int frames) {
  for (int frame = 0; frame < frames && InCombat != 1; ++frame) {
    if (ScreenMode == kModeCreatureHovered) ScreenMode = kModeExploring;
    if (!StepBattleFrame()) break;
  }
  return InCombat == 1;
}

// A party made on the creation pages as a new player makes it by taking
// what they offer: the four Knights as rolled, the first feat listed for each
// of the three picks, then into the adventure (the points clicked are those
// of the pages' buttons). "" or the fault.
std::string CreateParty() {
  SetFirstPage("Main Menu", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  harness::StepFrames(2);
  const std::string fault = playverbs::ClickOnText("Start New Game");
  if (!fault.empty()) return fault;
  if (TopPageType() != kPageCharacterCreation) return "Start New Game opened no creation page";
  auto click = [](int x, int y) {
    harness::Click(x, y);
    harness::StepFrames(2);
  };
  for (int m = 0; m < kPartySize; ++m) {
    click(42, 179);  // Confirm Abilities
    for (int pick = 0; pick < 3; ++pick) {
      click(217, 69 + 6 * pick);  // Pick a Feat
      click(77, 57);              // the first listed
    }
    click(170, 211);  // Accept
  }
  click(98, 211);  // Start Adventuring
  return "";
}

// The main adventure begun with its prepared party or one made anew.
bool SetOutParty(bool created, std::string* fault) {
  if (created) {
    *fault = WithScreens(CreateParty);
    if (fault->empty() && CurrentMapNumber != kHarrowmere) *fault = "the made party is not in Harrowmere";
    if (!fault->empty()) *fault = "the party's creation: " + *fault;
    return fault->empty();
  }
  if (StartDebugPartySetup() != 1 || StartAdventuring() != 1) {
    *fault = "the main adventure's prepared start could not be read (run from the game folder)";
    return false;
  }
  return true;
}

}  // namespace

bool SetUpEncounterBattle(int region, int face, const std::string& battlefield, bool createdParty,
                          std::vector<int>* fighters, std::string* fault) {
  fighters->clear();
  if (!SetOutParty(createdParty, fault)) return false;

  // The travel's draws: the side, the square on it, the battlefield.
  const int side = static_cast<int>(RandomUpTo(3));
  const int x = kEntrySides[side][1] + static_cast<int>(RandomUpTo(1));
  const int y = kEntrySides[side][2] + static_cast<int>(RandomUpTo(1));
  int map = RollDice(kBattlefields, 1, 0, 0) - 1;
  if (!battlefield.empty()) {
    map = -1;
    for (int n = 0; n < kBattlefields; ++n)
      if (SameName(battlefield, "Map" + std::to_string(n)) || SameName(battlefield, StoredMaps[n].name)) map = n;
    if (map < 0) {
      *fault = "no battlefield of the road named " + battlefield;
      return false;
    }
  }

  // The party stands in the region on the world map; the row is chosen.
  WorldMap.At(kLayerEvents, static_cast<int>(PartyWorldSquare[0]), static_cast<int>(PartyWorldSquare[1])) = region;
  WorldTravelDirection = kEntrySides[side][0];
  ChosenEncounterFace = face;
  const int switched = SwitchLocalMap(map, x, y, kEntrySides[side][0], 0, 0);
  ChosenEncounterFace = 0;
  if (switched != 1) {
    *fault = "the battlefield Map" + std::to_string(map) + " could not be entered";
    return false;
  }
  if (EncounterCounter <= 0) {
    *fault = "region " + std::to_string(region) + " face " + std::to_string(face) + " made no group";
    return false;
  }

  // The battlefield's script runs on the party's square and asks whether to
  // fight or flee; without a screen its box takes the first answer: the
  // party fights.
  if (!StepUntilBattle(kFramesToMeet)) {
    *fault = "the battlefield's script did not begin the battle";
    return false;
  }
  for (int m = 0; m < kPartySize; ++m) fighters->push_back(m);
  for (int n = 0; n < EncounterCounter; ++n)
    if (Creatures[kFirstEncounterCreature + n].present == 1) fighters->push_back(kFirstEncounterCreature + n);
  return true;
}

namespace {

// The scripts that give the party its awards and gifts on the way to the
// barrow, as the adventure runs them: the reeve's task, the Fenwood's two
// raiders falling, Tobin's word.
constexpr const char* kRouteScripts[] = {"Reeve", "Map21_Death1", "Map21_Death2", "Tobin"};
constexpr int32_t kBludgeoning = 2;    // a crafted weapon's damage kind
constexpr int32_t kLastWeaponKind = 35;  // kinds 1 to 35 are weapons
constexpr int32_t kCampfire = 90;        // the wall code of a campfire
// Frames the fight's map is given to see the party (or speak) and begin it.
constexpr int kFramesToFight = 600;

struct BarrowEntry {
  const char* name;
  int map, x, y;  // where the party stands as the fight's map is entered
};
// The hall from the passage, as the world map brings the party in; the tomb
// from the foot of the stair, as the stair down puts it; the altar from the
// passage at the hall's east end, within Serenne's sight.
constexpr int kBarrowStages = 3;
constexpr BarrowEntry kBarrowEntries[kBarrowStages] = {
    {"hall", 22, 3, 16}, {"tomb", 23, 15, 14}, {"altar", 23, 10, 4}};
constexpr const char* kWholeBarrow = "whole";
constexpr int kArrivalFacing = 5;

// The stage of the barrow fought now, whether the fights after it follow,
// and whether the party is careful.
int g_stage = -1;
bool g_whole = false;
bool g_careful = false;

bool MapHasCampfire() {
  for (int x = 0; x < CurrentMap.width; ++x)
    for (int y = 0; y < CurrentMap.height; ++y)
      if (CurrentMap.At(kLayerWalls, x, y) == kCampfire) return true;
  return false;
}

// The party raised on the level-up page as far as its experience goes, from
// the party list's stars (drawn from the game screen's second frame on).
std::string RaiseLevels() {
  harness::StepFrames(2);
  return playverbs::LevelUpAll();
}

// A careful party: a member whose hand weapon does not break bone takes
// up one it carries that does, on the inventory page.
std::string TakeUpHammers() {
  auto breaksBone = [](uint32_t code) {
    return IsCraftedCode(code) && CraftedWeapons[code].itemType <= kLastWeaponKind &&
           CraftedWeapons[code].damageKind == kBludgeoning;
  };
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    if (breaksBone(c.equipment[kSlotRightHand - 1])) continue;
    for (const ItemPair& p : c.carried)
      if (breaksBone(p.code)) {
        const std::string fault = playverbs::Wield(CraftedWeapons[p.code].name);
        if (!fault.empty()) return fault;
        break;
      }
  }
  return "";
}

bool Foe(int id, int map) {
  const CreatureRecord& c = Creatures[id];
  return c.present == 1 && c.map == map && c.allegiance == kAllegianceEnemy;
}

// The party comes to the stage's fight where its entry puts it; the foes of
// the map are added to the fighters.
bool EnterStage(int stage, std::vector<int>* fighters, std::string* fault) {
  const BarrowEntry& e = kBarrowEntries[stage];
  g_stage = stage;
  if (SwitchLocalMap(e.map, e.x, e.y, kArrivalFacing, 0, 0) != 1) {
    *fault = "the barrow's map " + std::to_string(e.map) + " could not be entered";
    return false;
  }
  // Its boxes (the passage's words, Serenne's) take their first answers.
  if (!StepUntilBattle(kFramesToFight)) {
    *fault = std::string("the barrow's ") + e.name + " began no battle";
    return false;
  }
  for (int id = kPartySize; id < kCreatureCount; ++id)
    if (Foe(id, e.map)) fighters->push_back(id);
  return true;
}

}  // namespace

const char* BarrowFightName(int fight) {
  if (fight == kBarrowWhole) return kWholeBarrow;
  return fight >= 0 && fight < kBarrowStages ? kBarrowEntries[fight].name : "";
}

int FindBarrowFight(const std::string& name) {
  for (int f = 0; f < kBarrowFights; ++f)
    if (SameName(name, BarrowFightName(f))) return f;
  return -1;
}

bool SetUpBarrowBattle(int fight, bool createdParty, bool careful, std::vector<int>* fighters, std::string* fault) {
  fighters->clear();
  g_stage = -1;
  g_whole = fight == kBarrowWhole;
  g_careful = careful;
  if (fight < 0 || fight >= kBarrowFights) {
    *fault = "no fight of the barrow numbered " + std::to_string(fight);
    return false;
  }
  if (!SetOutParty(createdParty, fault)) return false;
  // Each runs as its trigger runs it, the screen's mode kept over it.
  for (const char* script : kRouteScripts) {
    const std::string path = std::string("Scripts\\") + AdventureFolder + "\\" + script + ".mls";
    const uint32_t mode = ScreenMode;
    RunScriptFile(path.c_str());
    ScreenMode = mode;
  }
  *fault = WithScreens(RaiseLevels);
  if (fault->empty() && careful) *fault = WithScreens(TakeUpHammers);
  if (!fault->empty()) return false;

  // The fights before this one are won: their foes are gone.
  const int stage = g_whole ? 0 : fight;
  for (int before = 0; before < stage; ++before)
    for (int id = kPartySize; id < kCreatureCount; ++id)
      if (Foe(id, kBarrowEntries[before].map)) Creatures[id].present = 0;
  for (int m = 0; m < kPartySize; ++m) fighters->push_back(m);
  return EnterStage(stage, fighters, fault);
}

bool GoDeeperIntoBarrow(std::vector<int>* fighters, std::string* fault) {
  if (!g_whole || g_stage < 0 || g_stage + 1 >= kBarrowStages || ScreenMode != kModeVictory) return false;
  // The victory screen's click: the awards given, the fallen foes cleared.
  int32_t awards[kPartySize] = {};
  ComputeVictoryAwards(awards);
  CloseWonBattle(awards, GoldOfDefeatedEnemies());
  ScreenMode = kModeExploring;
  // A careful party rests at a campfire of the map before it goes on, as a
  // click on the fire has it do.
  if (g_careful && MapHasCampfire()) {
    RestPartyOnMap();
    ScreenMode = kModeExploring;
  }
  return EnterStage(g_stage + 1, fighters, fault);
}

std::string EncounterAnnouncement() { return PlainLogText(std::string(EncounterText, strnlen(EncounterText, sizeof EncounterText))); }

}  // namespace battles
