#include "harness/test_scenes.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstring>

#include "adventure/item_commands.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "frontend/game_reset.h"
#include "map/fighter_table.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

namespace scenes {

namespace {

constexpr const char* kKnightNames[4] = {"Aldwin", "Berta", "Cedric", "Dunja"};
constexpr int kArrows = 5001;  // the base row of plain arrows
constexpr int kBolts = 5002;   // and of crossbow bolts
constexpr uint32_t kMarketLightCrossbow = 4962;  // the crafted row the market sells

void Put(int id, int x, int y) {
  CreatureRecord& c = Creatures[id];
  c.present = 1;
  c.map = kSceneMap;
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = 24 * x;
  c.pixelY = 24 * y;
  c.destinationX = c.destinationY = -1;
}

}  // namespace

void LayOutGround(int width, int height) {
  ResetGameState();
  IntroductoryAdventureFlag = 0;
  SetAdventureFolder();
  LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", AdventureFolder);
  OptionWords[kOptionMusicVolume] = 0;
  OptionWords[kOptionSoundVolume] = 0;
  OptionWords[kOptionAmbientVolume] = 0;
  OptionWords[kOptionBattleMusic] = 0;
  OptionWords[kOptionAcceleratedCombat] = 1;
  ScreenMode = kModeExploring;
  CurrentMapNumber = kSceneMap;
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  std::snprintf(CurrentMap.name, sizeof CurrentMap.name, "Test Ground");
  CurrentMap.width = width;
  CurrentMap.height = height;
  CurrentMap.lit = 1;
  for (int i = 0; i < kMapSquares; ++i) CurrentMap.layers[kLayerGround][i] = 1;
  for (uint32_t& square : MapMemory[kSceneMap]) square = 1;
  FighterCount = 0;
  ClearMessageLog();
}

void SetWall(int x, int y, int code) { CurrentMap.At(kLayerWalls, x, y) = code; }

void AddKnight(int member, int x, int y, bool archer) {
  CreateCreature(kSceneMap, x, y, member, kKindHuman, kClassKnight, 3, 1, 1, 0, 0, 0, archer ? 0 : kWeaponLongsword,
                 0, archer ? kWeaponShortbow : 0);
  CreatureRecord& c = Creatures[member];
  std::snprintf(c.name, sizeof c.name, "%s", kKnightNames[member & 3]);
  c.allegiance = kAllegianceParty;
  c.leader = 0;
  if (archer) c.ammunition = {kArrows, 40};
  Put(member, x, y);
  RecomputeCreature(member, 0);
  c.hitPoints = c.maxHitPoints;
}

void AddFoe(int id, int kind, int x, int y) {
  CreateCreature(kSceneMap, x, y, id, kind, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0);
  CreatureRecord& c = Creatures[id];
  c.allegiance = kAllegianceEnemy;
  c.leader = kFirstFoe;
  Put(id, x, y);
}

namespace {

// A sturdy orc rooted to square (7, 3): its turns pass without a blow.
void AddButtsOrc() {
  AddFoe(kFirstFoe, kKindOrc, 7, 3);
  CreatureRecord& orc = Creatures[kFirstFoe];
  orc.baseHitPoints = orc.maxHitPoints = orc.hitPoints = 500;
  orc.speed = {0, 0};  // rooted: not a square a turn
}

}  // namespace

void Finish() {
  PartyLeader = 0;
  BuildFighterTable();
  BuildOccupancyGrids(0);
  for (int s = 0; s < FighterCount; ++s) FighterSlots[s].alert = 1;
  VisionRefreshFlag = 1;
  UpdatePartyVision();
  SetCameraBounds();
  const CreatureRecord& leader = Creatures[0];
  ViewOriginX = leader.pixelX + 12 - 160;
  ViewOriginY = leader.pixelY + 12 - 120;
  FollowTarget = -1;
  ViewIdle = 1;
}

bool LayOutScene(const std::string& name) {
  if (name == "camp") {
    // The four knights on open ground with nobody about: exploring.
    LayOutGround(9, 6);
    for (int member = 0; member < kPartySize; ++member) AddKnight(member, 2 + member, 3);
    Finish();
    return true;
  }
  if (name == "chapel") {
    // The four knights on open ground, the second of them a cleric of the
    // first level who knows Cure Light Wounds and has taken 2 damage.
    LayOutGround(9, 6);
    for (int member = 0; member < kPartySize; ++member) AddKnight(member, 2 + member, 3);
    Finish();
    CreatureRecord& cleric = Creatures[1];
    cleric.creatureClass = kClassCleric;
    cleric.level = cleric.effectiveLevel = cleric.casterLevelAdjust = 1;
    std::fill(std::begin(cleric.knownSpells), std::end(cleric.knownSpells), 0);
    cleric.knownSpells[107] = 1;  // Cure Light Wounds
    cleric.spellsPerDay[0] = cleric.spellsLeft[0] = 2;
    cleric.hitPoints -= 2;  // less than the least a cure heals
    return true;
  }
  if (name == "market") {
    // The four knights (Berta a little hurt) before Odo, a travelling cleric
    // who sells arrows by the score and scrolls and heals for gold; trade is
    // opened on the leader's inventory as a script opens it.
    LayOutGround(9, 6);
    for (int member = 0; member < kPartySize; ++member) AddKnight(member, 2 + member, 3);
    Finish();
    CreatureRecord& odo = Creatures[kFirstFoe];
    std::memset(&odo, 0, sizeof odo);
    std::strcpy(odo.name, "Odo");
    odo.creatureClass = kClassCleric;
    odo.carried[0] = {kFirstBaseItemCode + 1, 999};  // arrows
    odo.carried[1] = {kFirstBaseItemCode + 3, 3};    // scrolls
    Creatures[1].hitPoints -= 5;
    PartyGold = 500;
    OpenTrade(kFirstFoe);
    return true;
  }
  if (name == "smithy") {
    // The four knights at rest; Aldwin forges and enchants, has 500
    // experience to spare above his level and the party 5,000 gold. His
    // inventory is open.
    LayOutGround(9, 6);
    for (int member = 0; member < kPartySize; ++member) AddKnight(member, 2 + member, 3);
    Finish();
    CreatureRecord& smith = Creatures[0];
    smith.feats[kFeatForgeWeaponAndArmor] = 1;
    smith.feats[kFeatCraftWeaponAndArmor] = 1;
    smith.experience = 500 * smith.level * (smith.level - 1) + 500;
    PartyGold = 5000;
    SetFirstPage("Inventory", kPageInventory, 0);
    ScreenMode = kModePageView;
    return true;
  }
  if (name == "fallen") {
    // After a hard fight: Berta lies dead far off; Aldwin, his backpack full,
    // has the experience of the next level; arrows and 50 gold lie beside him
    // and Cedric; a wandering dwarf stands where Aldwin's level-up star is
    // drawn (the view is on Aldwin at (5, 6): the star at picture (228, 28)).
    LayOutGround(20, 12);
    AddKnight(0, 5, 6);
    AddKnight(1, 17, 10);
    AddKnight(2, 6, 5);
    AddKnight(3, 4, 6);
    AddFoe(kFirstFoe, kKindDwarf, 8, 2);
    Creatures[kFirstFoe].allegiance = kAllegianceAllyOther;
    Creatures[kFirstFoe].leader = -1;
    Finish();
    CreatureRecord& berta = Creatures[1];
    berta.hitPoints = -10;
    berta.present = 0;
    AddCondition(1, kCondDead, 1000, 0, 21, 0);
    CreatureRecord& aldwin = Creatures[0];
    for (ItemPair& p : aldwin.carried)
      if (p.code == 0) p = ItemPair{kFirstBaseItemCode + 10, 1};
    aldwin.experience = 500 * aldwin.level * (aldwin.level + 1);
    CurrentMap.At(kLayerObjects0, 6, 6) = kArrows;
    CurrentMap.At(kLayerObjects1, 6, 6) = 10050;
    return true;
  }
  if (name == "piles") {
    // After a fight on open ground: Berta lies knocked out beside Aldwin,
    // Dunja is Polymorphed, arrows lie on the square between Aldwin and
    // Berta; off to the east lie a scroll (alone) and 50 gold with another
    // scroll, the latter on a square with a script of its own (number 9,
    // which does nothing here).
    LayOutGround(24, 12);
    AddKnight(0, 3, 6);
    AddKnight(1, 4, 7);
    AddKnight(2, 3, 5);
    AddKnight(3, 2, 6);
    Finish();
    CreatureRecord& berta = Creatures[1];
    berta.hitPoints = -3;
    berta.present = 0;
    AddCondition(1, kCondUnconscious, 1000, 0, 21, 0);
    AddCondition(3, kCondPolymorphed, 1000, 0, 18, 0);
    CurrentMap.At(kLayerObjects0, 4, 6) = kArrows;
    CurrentMap.At(kLayerObjects0, 10, 9) = kFirstBaseItemCode + 11;
    CurrentMap.At(kLayerObjects0, 13, 3) = 10050;
    CurrentMap.At(kLayerObjects1, 13, 3) = kFirstBaseItemCode + 10;
    CurrentMap.At(kLayerEvents, 13, 3) = 9;
    return true;
  }
  if (name == "throng") {
    // Forty fighters: the four knights on the west of a wide field and
    // thirty-six foes of six kinds in ranks to the east; the battle starts
    // as soon as they see each other.
    LayOutGround(30, 20);
    for (int member = 0; member < kPartySize; ++member) AddKnight(member, 3, 8 + member);
    constexpr int kKinds[6] = {kKindOrc, kKindGnoll, kKindGrimlock, kKindLizardman, kKindGhoul, kKindDwarf};
    for (int i = 0; i < 36; ++i) AddFoe(kFirstFoe + i, kKinds[i % 6], 8 + 2 * (i % 6), 4 + 2 * (i / 6));
    Finish();
    return true;
  }
  if (name == "butts") {
    // Aldwin alone, a knight of the eighth level with a shortbow (two shots
    // in a full ranged attack), before a sturdy orc rooted to its square six
    // squares east, and a talking orc rooted by a campfire to the north-east:
    // the battle starts as they see each other, and the orcs' turns pass
    // without a blow. Square (x, y) shows at picture pixel
    // (56 + 24 x, 48 + 24 y).
    LayOutGround(9, 6);
    CreateCreature(kSceneMap, 1, 3, 0, kKindHuman, kClassKnight, 8, 1, 1, 0, 0, 0, 0, 0, kWeaponShortbow);
    CreatureRecord& aldwin = Creatures[0];
    std::snprintf(aldwin.name, sizeof aldwin.name, "%s", kKnightNames[0]);
    aldwin.allegiance = kAllegianceParty;
    aldwin.leader = 0;
    aldwin.ammunition = {kArrows, 40};
    Put(0, 1, 3);
    RecomputeCreature(0, 0);
    aldwin.hitPoints = aldwin.maxHitPoints;
    AddButtsOrc();
    // A second orc of its band, rooted too, stands by a campfire and only
    // talks: it joins the battle with the band.
    SetWall(6, 1, 90);
    AddFoe(kFirstFoe + 1, kKindOrc, 5, 1);
    CreatureRecord& talker = Creatures[kFirstFoe + 1];
    talker.allegiance = kAllegianceTalker;
    talker.speed = {0, 0};
    Finish();
    return true;
  }
  if (name == "bolts") {
    // Berta alone, a cleric of the fourth level with a dagger, the light
    // crossbow of the market (its crafted row) and forty bolts, before the
    // butts' rooted orc six squares east; the battle starts as they see each
    // other. Square (x, y) shows at picture pixel (56 + 24 x, 48 + 24 y).
    LayOutGround(9, 6);
    CreateCreature(kSceneMap, 1, 3, 0, kKindHuman, kClassCleric, 3, 1, 1, 0, 0, 0, kWeaponDagger, 0, 0);
    CreatureRecord& berta = Creatures[0];
    std::snprintf(berta.name, sizeof berta.name, "%s", kKnightNames[1]);
    berta.allegiance = kAllegianceParty;
    berta.leader = 0;
    berta.equipment[kSlotRanged - 1] = kMarketLightCrossbow;
    berta.ammunition = {kBolts, 40};
    Put(0, 1, 3);
    RecomputeCreature(0, 0);
    berta.hitPoints = berta.maxHitPoints;
    AddButtsOrc();
    Finish();
    return true;
  }
  if (name == "vigil") {
    // The skirmish with Berta, who acts first, a cleric of the first level
    // who knows Bless and Cure Light Wounds.
    LayOutScene("skirmish");
    CreatureRecord& cleric = Creatures[1];
    cleric.creatureClass = kClassCleric;
    cleric.level = cleric.effectiveLevel = cleric.casterLevelAdjust = 1;
    std::fill(std::begin(cleric.knownSpells), std::end(cleric.knownSpells), 0);
    cleric.knownSpells[105] = 1;  // Bless
    cleric.knownSpells[107] = 1;  // Cure Light Wounds
    cleric.spellsPerDay[0] = cleric.spellsLeft[0] = 2;
    return true;
  }
  if (name == "crypt") {
    // The skirmish with two skeletons in the alcove; Berta, a cleric with
    // three turnings, acts first and Dunja next.
    LayOutScene("skirmish");
    AddFoe(kFirstFoe, kKindSkeleton, 1, 3);
    AddFoe(kFirstFoe + 1, kKindSkeleton, 2, 3);
    Finish();
    Creatures[1].creatureClass = kClassCleric;
    Creatures[1].displayWords[kDisplayTurnUndeadUses] = 3;
    Creatures[1].dexterity = {60, 60};
    Creatures[3].dexterity = {50, 50};
    return true;
  }
  if (name != "skirmish") return false;
  // Two orcs in an alcove, the knights at its mouth. A map of 9 by 6
  // squares keeps the view still: square (x, y) shows at picture pixel
  // (56 + 24 x, 48 + 24 y), left of and below the actions panel.
  LayOutGround(9, 6);
  for (int x = 0; x <= 3; ++x) SetWall(x, 2, 46);
  SetWall(0, 3, 46);
  SetWall(3, 3, 46);
  AddKnight(0, 1, 4);
  AddKnight(1, 2, 4);
  AddKnight(2, 0, 4);
  AddKnight(3, 3, 4);
  AddFoe(kFirstFoe, kKindOrc, 1, 3);
  AddFoe(kFirstFoe + 1, kKindOrc, 2, 3);
  Finish();
  return true;
}

}  // namespace scenes
