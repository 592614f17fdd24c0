#include "party/party_start.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "adventure/quest_journal.h"
#include "creatures/control_tendencies.h"
#include "engine/main_window.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/random.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/map_view.h"
#include "map/party_vision.h"
#include "map/party_walk.h"
#include "party/party_descriptions.h"
#include "party/starting_equipment.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/free_item_slot.h"
#include "rules/formation.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/action_state.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/world_travel.h"

namespace {

constexpr int kFirstMap = 20;
// Where the party stands on the first map, leader first.
constexpr int32_t kStartSquares[kPartySize][2] = {{7, 6}, {8, 7}, {8, 6}, {8, 5}};
constexpr int32_t kStartFacing = 7;
// The party's place on the world map at the start.
constexpr uint32_t kStartWorldSquare[2] = {4, 19};
constexpr int32_t kRaceCodeHuman = 34, kRaceCodeMul = 43, kRaceCodeHalfElf = 29;
constexpr int32_t kStartType = 5, kStartSubtype = 16;
constexpr int32_t kStaysInPlace = 1;  // the movement kind of a member that does not roam

// The maps of the prepared start, read whole before anything changes.
struct PreparedMaps {
  MapRecord world;
  MapRecord local[kStoredMapCount];
};

// False after the message naming what could not be read.
bool ReadPreparedMaps(PreparedMaps* maps) {
  char path[260];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\Maps\\WorldMap.dat", AdventureFolder);
  if (ReadMapFile(path, &maps->world) != kMapFileRead) {
    ShowError(0, "Could not read world map.");
    return false;
  }
  for (int n = 0; n < kStoredMapCount; ++n) {
    std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\Maps\\Map%i.dat", AdventureFolder, n);
    const MapFileResult r = ReadMapFile(path, &maps->local[n]);
    // A map the start does not have is an empty one.
    if (r != kMapFileRead && r != kMapFileMissing) {
      ShowError(0, "Could not read a map.");
      return false;
    }
  }
  return true;
}

int32_t RaceCode(int32_t kind) {
  switch (kind) {
    case 67: return kRaceCodeMul;
    case 51: return kRaceCodeHalfElf;
    default: return kRaceCodeHuman;
  }
}

int32_t HitDieSides(int32_t creatureClass) {
  switch (creatureClass) {
    case kClassKnight: return 10;
    case kClassCleric: return 8;
    case kClassWizard: return 4;
    default: return 0;
  }
}

// The d4s of a member's starting gold (ten gold pieces each pip).
int GoldDice(int32_t creatureClass) {
  switch (creatureClass) {
    case kClassKnight: return 6;
    case kClassCleric: return 5;
    case kClassWizard: return 3;
    default: return 0;
  }
}

// A background of the member's class and gender that no member before it has.
void DrawDescription(int member) {
  CreatureRecord& c = Creatures[member];
  if (!PartyDescription(c.creatureClass, c.gender, 0)) return;
  const char* text = nullptr;
  for (bool taken = true; taken;) {
    text = PartyDescription(c.creatureClass, c.gender, static_cast<int>(RandomUpTo(kDescriptionsEach - 1)));
    taken = false;
    for (int m = 0; m < member; ++m) taken |= std::strncmp(Creatures[m].description, text, sizeof c.description) == 0;
  }
  std::memset(c.description, 0, sizeof c.description);
  std::snprintf(c.description, sizeof c.description, "%s", text);
}

// One member made ready to play, as a new game lists it.
void SetOutMember(int member, bool prepared) {
  SetOutMemberBody(member, prepared);
  CreatureRecord& c = Creatures[member];
  ResetWords(FighterSlots);
  FighterCount = 0;
  PartyGold += static_cast<uint32_t>(RollDice(4, GoldDice(c.creatureClass), 0, 0) * 10);
  GiveStartingEquipment(member);
  c.destinationX = c.destinationY = -1;
  if (c.fighterSlot >= 0 && c.fighterSlot < kFighterSlots) FighterSlots[c.fighterSlot].pathIndex = -1;
  RecomputeCreature(member, 0);
}

// The words of a new game that the earlier steps of the start leave.
void ResetNewGameWords() {
  OptionWords[kOptionSetOutAbilityRule] = OptionWords[kOptionMaxAbilityScores];
  ++PartiesStartedCount;
  OptionWords[kOptionScrollScribeCount] = 0;
  ScoreBonusPoints = 0;
  ResetWords(AchievementProgress);
  NewPartyPending = 0;
  PartyGold = 0;
  for (uint32_t row = 1; row <= kLastPooledCraftedCode; ++row) std::memset(&CraftedWeapons[row], 0, sizeof CraftedWeapons[row]);
}

}  // namespace

void SetOutMemberBody(int member, bool prepared) {
  if (member < 0 || member >= kPartySize) return;
  CreatureRecord& c = Creatures[member];
  for (int w = 1; w < 5; ++w) c.patrol[w][kWaypointX] = -1;
  if (!prepared) DrawDescription(member);
  c.allegiance = kAllegianceParty;
  c.race = RaceCode(c.kind);
  c.type = kStartType;
  c.subtype[0] = kStartSubtype;
  RollMemberHitDice(member);
  // The first level's die at its top, Constitution and Toughness; never below 1.
  int32_t hitPoints = HitDieSides(c.creatureClass) + AbilityModifier(c.constitution.base) + 3 * c.feats[kFeatToughness];
  if (hitPoints < 1) hitPoints = 1;
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = hitPoints;
  c.speed.base = 30;
  c.sight = 30;
  c.size.base = 3;
  c.displayWords[kDisplayFigureSize] = 1;
  c.displayWords[kDisplaySideMark] = 1;
  c.footprintHeight.base = c.footprintWidth.base = 1;
  c.figureSize[0].base = c.figureSize[1].base = 24;
  c.facing = kStartFacing;
  NaturalAttack& fist = c.naturalAttacks[0];
  fist.kind = 3;
  fist.count = 1;
  fist.critLow = 20;
  fist.effectKind = 1;
  fist.effectDice = 1;
  fist.effectSides = 3;
  c.present = 1;
}

void RollMemberHitDice(int member) {
  if (member < 0 || member >= kPartySize) return;
  const int32_t sides = HitDieSides(Creatures[member].creatureClass);
  if (sides == 0) return;
  for (int level = 0; level < 20; ++level)
    HitDieRolls[member * 20 + level] = static_cast<int32_t>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1;
}

bool IsMovableMember(int member) {
  const CreatureRecord& c = Creatures[member];
  for (const ConditionEntry& e : c.conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if ((e.id == kCondDead || e.id == kCondUnconscious) && e.duration > 0) return false;
  }
  return true;
}

void ResetPartyFormation() {
  SetPartyLine();
  GatherPartyOnLeader();
  CancelPartyWalk();
}

int StartAdventuring() {
  auto maps = std::make_unique<PreparedMaps>();
  if (!ReadPreparedMaps(maps.get())) return 0;
  const bool prepared = CreationBypassFlag == 1;

  ResetNewGameWords();
  for (int m = 0; m < kPartySize; ++m) SetOutMember(m, prepared);
  if (!prepared)
    for (int m = 0; m < kPartySize; ++m)
      FillInName(Creatures[m].description, sizeof Creatures[m].description, Creatures[m].name);
  SetFirstPage("", 0, 0);
  ResetActionState();

  std::memcpy(&WorldMap, &maps->world, sizeof WorldMap);
  PartyWorldSquare[0] = kStartWorldSquare[0];
  PartyWorldSquare[1] = kStartWorldSquare[1];
  std::memcpy(StoredMaps, maps->local, sizeof StoredMaps);

  // The first member leads the party onto its first map.
  PartyLeader = 0;
  CreatureRecord& lead = Creatures[0];
  if (!prepared) {
    lead.map = kFirstMap;
    lead.squareX = kStartSquares[0][0];
    lead.squareY = kStartSquares[0][1];
  }
  if (lead.map < 0 || lead.map >= kStoredMapCount) lead.map = kFirstMap;
  CurrentMapNumber = lead.map;
  CurrentMap = StoredMaps[lead.map];
  SwitchLocalMap(lead.map, lead.squareX, lead.squareY, lead.facing, 0, 0);

  ResetPartyFormation();
  ResetWords(GameFlags);
  for (auto& member : RecentSpells)
    for (RecentSpellPair& pair : member) pair = {-1, -1};
  ResetQuestJournal();
  if (!prepared) {
    for (int m = 0; m < kPartySize; ++m) {
      CreatureRecord& c = Creatures[m];
      c.group = kStaysInPlace;
      c.map = kFirstMap;
      c.facing = kStartFacing;
      c.squareX = c.nextX = kStartSquares[m][0];
      c.squareY = c.nextY = kStartSquares[m][1];
      c.pixelX = c.squareX * 24;
      c.pixelY = c.squareY * 24;
    }
  }
  VisionRefreshFlag = 1;
  SpellInProgress = -1;
  UpdatePartyVision();
  SetPartyAiTendencies();
  ResetPartyTurnUndeadUses();
  GameRunningFlag = 1;
  return 1;
}
