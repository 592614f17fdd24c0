#include "frontend/game_reset.h"
#include "map/map_switching.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "engine/frame.h"
#include "engine/random.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/rain_shelter.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/free_item_slot.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "state/party_leader.h"
#include "state/world_travel.h"

namespace {

class MapSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();  // out of combat, leader 0
    IntroductoryAdventureFlag = 1;  // the introductory adventure's maps
    SetAdventureFolder();
    ASSERT_EQ(LoadAllMaps(0), 1);
    for (int i = 0; i < kStoredMapCount; ++i) original_[i] = StoredMaps[i];
    SeedRandomForTests(7);
    OptionWords[30] = 0;
    for (int i = 0; i < kPartySize; ++i) {
      CreatureRecord& c = Creatures[i];
      std::memset(&c, 0, sizeof c);
      std::snprintf(c.name, sizeof c.name, "Member %d", i);
      c.present = 1;
      c.allegiance = kAllegianceParty;
      c.footprintWidth = c.footprintHeight = {1, 1};
      // Living abilities: the fighter table recomputes whoever it lists.
      for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
        *p = {10, 10};
      c.level = 1;
      c.fighterSlot = -1;
    }
    // Start on map 6 as the current map.
    CurrentMapNumber = 6;
    CurrentMap = StoredMaps[6];
  }
  static bool SameBytes(const MapRecord& a, const MapRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
  MapRecord original_[kStoredMapCount];
};

TEST(FloorVariants, EveryVariantTheEntryDrawsFoldsBack) {
  struct Family {
    int32_t base, first, count;
  } families[] = {
      {92, 306, 14},  {93, 320, 14},  {94, 334, 14},  {95, 348, 14},   {96, 362, 14},   {97, 406, 14},
      {98, 420, 14},  {99, 434, 14},  {100, 448, 14}, {101, 462, 14},  {120, 1000, 40}, {121, 1100, 40},
      {122, 1200, 20}, {116, 600, 14}, {117, 700, 14}, {118, 800, 14}, {115, 900, 14},
  };
  for (const Family& f : families)
    for (int r = 0; r < f.count; ++r) EXPECT_EQ(FloorVariantBase(f.first + r), f.base) << f.first + r;
  for (int32_t c = 512; c <= 524; ++c) EXPECT_EQ(FloorVariantBase(c - 252), c);
  for (int32_t plain : {0, 1, 46, 92, 305, 376, 2015, 3000}) EXPECT_EQ(FloorVariantBase(plain), plain);
}

TEST(FloorVariants, EntryDrawsVariantsThatFoldToTheSameBytes) {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = 30;
  CurrentMap.height = 30;
  const int32_t bases[] = {92, 93, 94, 95, 96, 97, 98, 99, 100, 101, 120, 121, 122, 116, 117, 118, 115, 512, 524, 7};
  int k = 0;
  for (int x = 0; x < 30; ++x)
    for (int y = 0; y < 30; ++y) CurrentMap.At(kLayerFloor, x, y) = bases[k++ % 20];
  const MapRecord before = CurrentMap;
  SeedRandomForTests(3);
  NormaliseMapCells();
  EXPECT_NE(std::memcmp(&before, &CurrentMap, sizeof before), 0);
  EXPECT_EQ(CurrentMap.At(kLayerFloor, 0, 17), 512 - 252);
  RemapMapCellCodes();
  EXPECT_EQ(std::memcmp(&before, &CurrentMap, sizeof before), 0);
}

TEST(FloorVariants, EntryPreparesTheSquares) {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = 20;
  CurrentMap.height = 10;
  CurrentMap.rain = 1;
  CurrentMap.At(kLayerWalls, 25, 3) = 46;  // beyond the width
  CurrentMap.At(kLayerObjects2, 3, 12) = 9;  // beyond the height
  CurrentMap.At(kLayerGround, 1, 1) = 119;
  CurrentMap.At(kLayerWalls, 2, 2) = 75;
  CurrentMap.At(kLayerWalls, 3, 2) = 76;
  CurrentMap.At(kLayerWalls, 4, 2) = 90;
  // A 3 x 3 picture closed by its corner code, and a row run and a column run of shelter.
  CurrentMap.At(kLayerFloor, 10, 1) = 3005;
  CurrentMap.At(kLayerFloor, 12, 3) = 3005;
  CurrentMap.At(kLayerEvents, 5, 4) = 996;
  CurrentMap.At(kLayerEvents, 5, 7) = 997;
  CurrentMap.At(kLayerEvents, 14, 8) = 998;
  CurrentMap.At(kLayerEvents, 16, 8) = 999;
  NormaliseMapCells();
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 25, 3), 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects2, 3, 12), 0);
  EXPECT_EQ(CurrentMap.At(kLayerGround, 1, 1), 27);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 2, 2), 112);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 3, 2), 114);
  EXPECT_EQ(CurrentMap.At(kLayerFloor, 4, 2), 320);
  for (int x = 10; x <= 12; ++x)
    for (int y = 1; y <= 3; ++y) EXPECT_EQ(ObjectBlockCells[SquareIndex(x, y)][0], 1u) << x << "," << y;
  EXPECT_EQ(ObjectBlockCells[SquareIndex(13, 3)][0], 0u);
  for (int y = 3; y <= 8; ++y) EXPECT_EQ(RainShelterGrid[SquareIndex(5, y)], (y >= 4 && y <= 7) ? 2u : 0u) << y;
  for (int x = 13; x <= 17; ++x) EXPECT_EQ(RainShelterGrid[SquareIndex(x, 8)], (x >= 14 && x <= 16) ? 2u : 0u) << x;
}

TEST_F(MapSwitch, ThereAndBackLeavesTheMapsAsTheyWere) {
  ASSERT_EQ(SwitchLocalMap(5, 3, 3, 3, 0, 0), 1);
  EXPECT_EQ(CurrentMapNumber, 5);
  EXPECT_TRUE(SameBytes(StoredMaps[6], original_[6]));
  // The floor variants are drawn on the current map only.
  EXPECT_GE(CurrentMap.At(kLayerFloor, 3, 3), 306);
  EXPECT_LE(CurrentMap.At(kLayerFloor, 3, 3), 319);
  for (int i = 0; i < kPartySize; ++i) {
    EXPECT_EQ(Creatures[i].map, 5);
    EXPECT_EQ(Creatures[i].pixelX, 24 * Creatures[i].squareX);
    EXPECT_EQ(Creatures[i].facing, 3);
  }
  EXPECT_EQ(Creatures[0].pixelX, 72);
  EXPECT_EQ(FighterCount, 4);
  EXPECT_EQ(FighterSlots[0].alert, 1);
  EXPECT_EQ(ScreenMode, kModeExploring);

  ASSERT_EQ(SwitchLocalMap(6, 2, 2, 5, 0, 0), 1);
  EXPECT_TRUE(SameBytes(StoredMaps[5], original_[5]));
  ASSERT_EQ(SwitchLocalMap(5, 3, 3, 5, 0, 0), 1);
  EXPECT_TRUE(SameBytes(StoredMaps[6], original_[6]));
}

TEST_F(MapSwitch, ReenteringTheCurrentMapStoresItFoldedAndDrawsAgain) {
  ASSERT_EQ(SwitchLocalMap(5, 3, 3, 1, 0, 0), 1);
  ASSERT_EQ(SwitchLocalMap(5, 4, 4, 1, 0, 0), 1);
  EXPECT_TRUE(SameBytes(StoredMaps[5], original_[5]));
  EXPECT_EQ(Creatures[0].squareX, 4);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 0, 0), 46);
}

TEST_F(MapSwitch, AFacingOutsideOneToEightBecomesOne) {
  for (int facing : {0, 9, -3}) {
    SwitchLocalMap(5, 3, 3, facing, 0, 0);
    EXPECT_EQ(Creatures[0].facing, 1) << facing;
  }
  EXPECT_EQ(SwitchLocalMap(41, 3, 3, 1, 0, 0), 0) << "no stored map 41";
  EXPECT_EQ(CurrentMapNumber, 5);
}

TEST_F(MapSwitch, UniqueItemsMoveToAFreeCraftedRow) {
  std::memset(CraftedWeapons, 0, sizeof CraftedWeapons);
  std::snprintf(CraftedWeapons[4800].name, 50, "Dawnbreaker");
  CraftedWeapons[4800].price = 777;
  std::snprintf(CraftedWeapons[1].name, 50, "Used");
  Creatures[1].carried[3] = {4800, 1};
  Creatures[2].equipment[kSlotRightHand - 1] = 4800;
  Creatures[2].equipment[kSlotHead - 1] = 4800;  // not a slot that is looked at
  SwitchLocalMap(5, 3, 3, 1, 0, 0);
  EXPECT_EQ(Creatures[1].carried[3].code, 2u);
  EXPECT_EQ(Creatures[2].equipment[kSlotRightHand - 1], 3u);
  EXPECT_EQ(Creatures[2].equipment[kSlotHead - 1], 4800u);
  EXPECT_STREQ(CraftedWeapons[3].name, "Dawnbreaker");
  EXPECT_EQ(CraftedWeapons[3].price, 777);

  // Its row is one of the pool that an item destroyed gives back: with the
  // pool in use the item keeps its own code.
  UnequipSlot(2, kSlotRightHand, -1, 1);
  EXPECT_EQ(FindFreeItemSlot(), 3);
  for (uint32_t row = 1; row <= kLastPooledCraftedCode; ++row) CraftedWeapons[row].name[0] = 'x';
  Creatures[1].carried[3] = {4800, 1};
  SwitchLocalMap(6, 3, 3, 1, 0, 0);
  EXPECT_EQ(Creatures[1].carried[3].code, 4800u);
}

TEST_F(MapSwitch, ANamelessUniqueItemClaimsItsRowToo) {
  std::memset(CraftedWeapons, 0, sizeof CraftedWeapons);
  CraftedWeapons[4800].price = 5;  // no name
  CraftedWeapons[4801].price = 6;
  Creatures[1].carried[0] = {4800, 1};
  Creatures[1].carried[1] = {4801, 1};
  SwitchLocalMap(5, 3, 3, 1, 0, 0);
  EXPECT_EQ(Creatures[1].carried[0].code, 1u);
  EXPECT_EQ(Creatures[1].carried[1].code, 2u);  // once both on row 1
  EXPECT_EQ(CraftedWeapons[1].price, 5);
  EXPECT_EQ(CraftedWeapons[2].price, 6);
  EXPECT_NE(FindFreeItemSlot(), 1);
}

TEST_F(MapSwitch, GroupsArePlacedOnAClearedMapUnlessSpawningIsOff) {
  MapRecord& field = StoredMaps[8];  // an open 40 x 40 field
  field.width = field.height = 40;
  field.cleared = 1;
  field.fewestGroups = 2;
  field.mostGroups = 2;
  field.encounterTable = 9;
  ASSERT_EQ(SwitchLocalMap(8, 1, 1, 1, 0, 0), 1);
  ASSERT_EQ(EncounterRequestCount, 2);
  for (int g = 0; g < 2; ++g) {
    const EncounterRequest& r = EncounterRequests[g];
    EXPECT_EQ(r.region, 9);
    EXPECT_EQ(r.arrival, 0);
    EXPECT_EQ(SpawnBlockGrid[SquareIndex(r.x + 3, r.y + 3)], 1u);
    // 75 feet or more from the party at (1, 1).
    EXPECT_GE(5 * std::max(r.x - 1, r.y - 1) + 2 * std::min(r.x - 1, r.y - 1), 75);
  }
  EncounterRequestCount = 0;
  OptionWords[30] = 1;
  SwitchLocalMap(8, 1, 1, 1, 0, 0);
  EXPECT_EQ(EncounterRequestCount, 0);
  // A world-map arrival still meets its group.
  WorldTravelDirection = 1;
  PartyWorldSquare[0] = 2;
  PartyWorldSquare[1] = 3;
  WorldMap.At(kLayerEvents, 2, 3) = 14;
  SwitchLocalMap(3, 4, 4, 1, 0, 0);
  ASSERT_EQ(EncounterRequestCount, 1);
  EXPECT_EQ(EncounterRequests[0].region, 14);
  EXPECT_EQ(EncounterRequests[0].x, 8);
  EXPECT_EQ(EncounterRequests[0].y, 8);
  EXPECT_EQ(EncounterRequests[0].arrival, 1);
  EXPECT_EQ(ArrivalSideCode, 5);
  EXPECT_EQ(CurrentMap.At(kLayerEvents, 4, 4), 1);
  EXPECT_EQ(MapMemory[3][SquareIndex(59, 59)], 1u);
  OptionWords[30] = 0;
  WorldTravelDirection = 0;
}

TEST_F(MapSwitch, AWorldMapArrivalPlacesItsGroupByTheDirectionOfTravel) {
  struct Case {
    int direction, x, y, side;
  } cases[] = {{5, 15, 15, 1}, {3, 15, 8, 7}, {1, 8, 8, 5}, {7, 8, 15, 3}};
  for (const Case& k : cases) {
    EncounterRequestCount = 0;
    WorldTravelDirection = k.direction;
    SwitchLocalMap(2, 4, 4, 1, 0, 0);
    ASSERT_EQ(EncounterRequestCount, 1) << k.direction;
    EXPECT_EQ(EncounterRequests[0].x, k.x) << k.direction;
    EXPECT_EQ(EncounterRequests[0].y, k.y) << k.direction;
    EXPECT_EQ(ArrivalSideCode, k.side) << k.direction;
    EXPECT_EQ(MapEntryFlag, 0) << k.direction;
  }
  WorldTravelDirection = 0;
}

TEST_F(MapSwitch, AKindTwoMapWithEnemiesGetsNoGroupsUntilCleared) {
  MapRecord& field = StoredMaps[8];  // an open 40 x 40 field
  field.width = field.height = 40;
  field.mapKind = 2;
  field.fewestGroups = 1;
  field.mostGroups = 1;
  CreatureRecord& orc = Creatures[700];
  std::memset(&orc, 0, sizeof orc);
  orc.present = 1;
  orc.map = 8;
  orc.allegiance = kAllegianceEnemy;
  orc.squareX = orc.squareY = 30;
  orc.footprintWidth = orc.footprintHeight = {1, 1};
  SwitchLocalMap(8, 1, 1, 1, 0, 0);
  EXPECT_EQ(EncounterRequestCount, 0);
  EXPECT_EQ(StoredMaps[8].cleared, 0);
  orc.present = 0;
  SwitchLocalMap(6, 1, 1, 1, 0, 0);
  SwitchLocalMap(8, 1, 1, 1, 0, 0);
  EXPECT_EQ(CurrentMap.cleared, 1);
  EXPECT_EQ(EncounterRequestCount, 1);
}

TEST_F(MapSwitch, GroupCountsFromTheFileAreHeldToTheirRange) {
  MapRecord& field = StoredMaps[8];  // an open field
  field.width = field.height = 60;
  field.cleared = 1;
  auto blocksMarkedWith = [&](int32_t fewest, int32_t most) {
    field.fewestGroups = fewest;
    field.mostGroups = most;
    SeedRandomForTests(3);
    EncounterRequestCount = 0;
    SwitchLocalMap(8, 1, 1, 1, 0, 0);
    return std::vector<uint32_t>(SpawnBlockGrid, SpawnBlockGrid + kMapSquares);
  };
  const std::vector<uint32_t> most = blocksMarkedWith(kMostMonsterGroups, kMostMonsterGroups);
  EXPECT_EQ(blocksMarkedWith(1000000000, 1000000000), most);  // once placed 10^9 groups
  EXPECT_EQ(blocksMarkedWith(150, 150), most);
  EXPECT_EQ(blocksMarkedWith(-5, -5), blocksMarkedWith(0, 0));
  blocksMarkedWith(-2000000000, 2000000000);  // the span once overflowed
  EXPECT_LE(EncounterRequestCount, kEncounterRequestLog);
}

TEST_F(MapSwitch, FloorItemsLeftBehind) {
  std::memset(ItemTable, 0, sizeof ItemTable);
  std::memset(CraftedWeapons, 0, sizeof CraftedWeapons);
  ItemTable[7].noSale = 1;
  CraftedWeapons[12].noSale = 1;
  SwitchLocalMap(6, 1, 1, 1, 0, 0);
  // A stack: kept, removed (base 5007), removed (crafted 12), kept, and a removable code on top.
  const int32_t stack[4] = {5001, 5007, 12, 400000};
  for (int l = 0; l < 4; ++l) CurrentMap.At(kLayerObjects0 + l, 2, 2) = stack[l];
  CurrentMap.At(kLayerObjects0, 0, 0) = 5007;  // under a wall: left alone
  ClearFloorItemsOnLeave();
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 2, 2), 5001);
  EXPECT_EQ(CurrentMap.At(kLayerObjects1, 2, 2), 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 0, 0), 5007);

  // Maps 0 to 4 lose every object; resting clears them from the current map.
  CurrentMapNumber = 2;
  StoredMaps[2] = CurrentMap;
  CurrentMap.At(kLayerObjects0, 3, 2) = 5001;
  CurrentMap.At(kLayerObjects1, 3, 2) = 77;
  // A fallen foe's generated sword goes too, and its row comes back.
  CurrentMap.At(kLayerObjects2, 3, 2) = 4705;
  std::snprintf(CraftedWeapons[4705].name, 50, "Longsword");
  std::snprintf(CraftedWeapons[77].name, 50, "Crafted");
  RestPartyOnMap();
  EXPECT_EQ(CurrentMapNumber, 2);
  EXPECT_EQ(StoredMaps[2].At(kLayerObjects0, 3, 2), 0);
  EXPECT_EQ(StoredMaps[2].At(kLayerObjects1, 3, 2), 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 3, 2), 0);
  EXPECT_EQ(CraftedWeapons[4705].name[0], '\0');
  EXPECT_STREQ(CraftedWeapons[77].name, "Crafted");
  EXPECT_EQ(RestTimer, 480u);
}

TEST_F(MapSwitch, RestingHealsAndClearsPassingConditions) {
  SwitchLocalMap(5, 3, 3, 1, 0, 0);
  CreatureRecord& c = Creatures[1];
  c.baseHitPoints = c.maxHitPoints = 20;
  c.hitPoints = 3;
  c.conditions[0] = {88, 5, 18, 0, 0};
  c.conditions[1] = {17, 1000, 18, 0, 0};
  c.conditions[2] = {103, 2000, 18, 0, 0};
  RestPartyOnMap();
  EXPECT_EQ(c.hitPoints, 20);
  EXPECT_EQ(c.conditions[0].id, 17u);
  // The passing ones are gone (the return to the map recomputes the member,
  // which may add its own lasting entries behind).
  for (const ConditionEntry& e : c.conditions) EXPECT_TRUE(e.id != 88u && e.id != 103u);
  EXPECT_EQ(CurrentMapNumber, 5);
}

}  // namespace
