#include "harness/encounter_battle.h"

#include <cctype>
#include <cstring>
#include "engine/frame.h"

#include "engine/random.h"
#include "frontend/game_start.h"
#include "harness/battle_runner.h"
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

}  // namespace

bool SetUpEncounterBattle(int region, int face, const std::string& battlefield, std::vector<int>* fighters,
                          std::string* fault) {
  fighters->clear();
  if (StartDebugPartySetup() != 1 || StartAdventuring() != 1) {
    *fault = "the main adventure's prepared start could not be read (run from the game folder)";
    return false;
  }

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
  // party fights. (The pointer of a headless game rests where it started: a
  // creature under it would hold the hover and keep the script waiting.)
  for (int frame = 0; frame < kFramesToMeet && InCombat != 1; ++frame) {
    if (ScreenMode == kModeCreatureHovered) ScreenMode = kModeExploring;
    if (!StepBattleFrame()) break;
  }
  if (InCombat != 1) {
    *fault = "the battlefield's script did not begin the battle";
    return false;
  }
  for (int m = 0; m < kPartySize; ++m) fighters->push_back(m);
  for (int n = 0; n < EncounterCounter; ++n)
    if (Creatures[kFirstEncounterCreature + n].present == 1) fighters->push_back(kFirstEncounterCreature + n);
  return true;
}

std::string EncounterAnnouncement() { return PlainLogText(std::string(EncounterText, strnlen(EncounterText, sizeof EncounterText))); }

}  // namespace battles
