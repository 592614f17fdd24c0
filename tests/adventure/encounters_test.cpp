// Random encounters: every region's faces, the sentence against what stands
// on the map, placement round the anchor, the stay roll, and the limits of
// the creature and fighter tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "adventure/encounter_tables.h"
#include "adventure/end_screens.h"
#include "adventure/item_commands.h"
#include "adventure/script_faults.h"
#include "combat/actions/start_of_combat.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "creatures/unheld_item_rows.h"
#include "engine/random.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "adventure/open_map_fixture.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/map_view.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "state/world_travel.h"

namespace {

constexpr int kMap = 5;
constexpr int kAnchorX = 10, kAnchorY = 10;

class Encounters : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadSpellTable(), 1);
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "FullVersion"), 1);
    std::memset(Creatures, 0, sizeof Creatures);
    DrawOpenMap(40);
  }

  static void DrawOpenMap(int side) { openmap::DrawWithParty(side, kMap); }

  // The party stands together at (1, 1) of map 5.
  static void PlaceParty() { openmap::PlaceParty(kMap); }

  // No encounter creature yet, and the generated item rows free again.
  static void Fresh() {
    std::memset(&CraftedWeapons[kFirstGeneratedItemRow], 0,
                sizeof(CraftedWeaponRecord) * (kLastGeneratedItemRow - kFirstGeneratedItemRow + 1));
    for (int id = kFirstEncounterCreature; id < kCreatureCount; ++id) Creatures[id].present = 0;
    EncounterCounter = 0;
  }

  // One group from a fresh seed round (x, y); the ids made.
  static std::vector<int> Roll(int region, uint32_t seed, int arrival = 1, int x = kAnchorX, int y = kAnchorY) {
    Fresh();
    SeedRandomForTests(seed);
    GenerateRandomEncounter(region, x, y, arrival);
    std::vector<int> ids;
    for (int i = 0; i < EncounterCounter; ++i) ids.push_back(kFirstEncounterCreature + i);
    return ids;
  }

  // The seed's first draw of a region's die: the face the generator rolls with arrival 1.
  static int FaceOf(int region, uint32_t seed) {
    SeedRandomForTests(seed);
    return static_cast<int>(RandomUpTo(static_cast<uint32_t>(EncounterDieSides[region] - 1))) + 1;
  }
  static std::vector<uint32_t> SeedsForFace(int region, int face, int wanted) {
    std::vector<uint32_t> seeds;
    for (uint32_t s = 1; static_cast<int>(seeds.size()) < wanted && s < 100000; ++s)
      if (FaceOf(region, s) == face) seeds.push_back(s);
    return seeds;
  }

  static std::string Text() { return std::string(EncounterText); }
};

// The highlighted words of a sentence.
std::vector<std::string> Highlighted(const std::string& text) {
  std::vector<std::string> words;
  size_t at = 0;
  while ((at = text.find('\xA3', at)) != std::string::npos) {
    const size_t end = text.find('\xA3', at + 1);
    if (end == std::string::npos) break;
    words.push_back(text.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return words;
}

// The kinds a highlighted noun may name (empty: not a creature word).
std::set<int> KindsNamed(const std::string& word) {
  static const std::vector<std::pair<std::string, std::set<int>>> kNouns = {
      {"giant_spider", {kKindGiantSpider}}, {"giant-spider", {kKindGiantSpider}}, {"fire_giant", {kKindFireGiant}},
      {"fire-giant", {kKindFireGiant}}, {"frost", {kKindFrostGiant}}, {"hill", {kKindHillGiant}},
      {"water_elemental", {kKindWaterElemental}}, {"fire_elemental", {kKindFireElemental}},
      {"earth_elemental", {kKindEarthElemental}}, {"air_elemental", {kKindAirElemental}},
      {"elemental", {kKindWaterElemental, kKindFireElemental, kKindEarthElemental, kKindAirElemental}},
      {"white_dragon", {kKindWhiteDragon}}, {"black_dragon", {kKindBlackDragon}}, {"blue_dragon", {kKindBlueDragon}},
      {"green_dragon", {kKindGreenDragon}}, {"red_dragon", {kKindRedDragon}},
      {"dragon", {kKindBlueDragon, kKindGreenDragon}}, {"snake", {kKindSnake}}, {"wol", {kKindWolf}},
      {"thri", {kKindThriKreen}}, {"ghoul", {kKindGhoul}}, {"human", {kKindHuman}}, {"evil_", {kKindHuman}},
      {"cleric", {kKindHuman}}, {"half-elf", {kKindHalfElf}}, {"grimlock", {kKindGrimlock}},
      {"monstrous", {kKindCentipede}}, {"vampire", {kKindVampire}}, {"gnoll", {kKindGnoll}},
      {"skeleton", {kKindSkeleton}}, {"orc", {kKindOrc}}, {"elf", {kKindElf}}, {"lizard", {kKindLizardman}},
      {"tiger", {kKindTiger}}, {"bear", {kKindBrownBear}}, {"mounted", {kKindHorseman}}, {"minotaur", {kKindMinotaur}},
      {"mul", {kKindMul}}, {"mumm", {kKindMummy}}, {"troll", {kKindTroll}}, {"salamander", {kKindSalamander}},
      {"babau", {kKindBabau}}, {"medusa", {kKindMedusa}}, {"dwarf", {kKindDwarf}}, {"gorgon", {kKindGorgon}},
      {"vrock", {kKindVrock}}, {"iron_golem", {kKindIronGolem}}, {"lich", {kKindLich}}, {"balor", {kKindBalor}},
  };
  for (const auto& [start, kinds] : kNouns)
    if (word.compare(0, start.size(), start) == 0) return kinds;
  return {};
}

// What the sentence says of the group: its size (sum of the highlighted
// counts, "and one" adding one, else one) and the kinds it names.
struct Sentence {
  int size = 0;
  std::vector<std::set<int>> kinds;
};
Sentence Read(const std::string& text) {
  Sentence s;
  for (const std::string& w : Highlighted(text)) {
    if (!w.empty() && w.find_first_not_of("0123456789") == std::string::npos) s.size += std::stoi(w);
    else if (std::set<int> k = KindsNamed(w); !k.empty()) s.kinds.push_back(k);
  }
  if (text.find(" liches.") != std::string::npos) s.kinds.push_back({kKindLich});
  if (text.find(" and one ") != std::string::npos) s.size = 2;
  if (text.find("You encounter 2 ") == 0) s.size = 2;
  if (s.size == 0) s.size = 1;
  return s;
}

bool FightersClericsAndWizards(const std::string& text) { return text.find("fighters, clerics and wizards") != std::string::npos; }

TEST_F(Encounters, EveryFaceOfEveryRegionMakesWhatItsSentenceSays) {
  for (int region = 0; region < kEncounterRegions; ++region) {
    const int sides = EncounterDieSides[region];
    std::set<std::string> ownTexts;
    for (int face = 1; face <= sides; ++face) {
      for (uint32_t seed : SeedsForFace(region, face, 6)) {
        const std::vector<int> ids = Roll(region, seed);
        const std::string text = Text();
        const bool chained = region >= 3 && face == sides;
        SCOPED_TRACE("region " + std::to_string(region) + " face " + std::to_string(face) + ": " + text);
        ASSERT_EQ(text.rfind("You encounter ", 0), 0u);
        ASSERT_EQ(text.back(), '.');
        EXPECT_EQ(text.find('%'), std::string::npos);
        EXPECT_EQ(Highlighted(text).size() * 2, static_cast<size_t>(std::count(text.begin(), text.end(), '\xA3')));
        if (chained) {
          // The last face rolls the region below from the same anchor and the
          // same generator state: the same group and sentence.
          std::vector<int> kinds;
          for (int id : ids) kinds.push_back(Creatures[id].kind);
          Fresh();
          SeedRandomForTests(seed);
          RandomUpTo(static_cast<uint32_t>(sides - 1));
          GenerateRandomEncounter(region - 1, kAnchorX, kAnchorY, 1);
          EXPECT_EQ(Text(), text);
          ASSERT_EQ(EncounterCounter, static_cast<int>(ids.size()));
          for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(Creatures[ids[i]].kind, kinds[i]);
          continue;
        }
        ownTexts.insert(text);
        const Sentence said = Read(text);
        if (FightersClericsAndWizards(text)) {
          EXPECT_GE(ids.size(), 3u);
          EXPECT_LE(ids.size(), 6u);
        } else {
          EXPECT_EQ(static_cast<int>(ids.size()), said.size);
        }
        // The road's lone snake is met in the rules' own words, and a creature
        // called venomous has a sheet that does not deny it.
        if (region <= 2 && face == 1) {
          EXPECT_EQ(text, "You encounter a wild, venomous \xA3" "snake\xA3.");
        }
        if (text.find("venomous") != std::string::npos)
          for (int id : ids) {
            const std::string sheet = Creatures[id].description;
            for (const char* denial : {"no poison", "no venom", "not venomous"})
              EXPECT_EQ(sheet.find(denial), std::string::npos) << "creature " << id << ": " << sheet;
          }
        // Every creature is of a kind the sentence names, and every kind it names is there.
        if (said.kinds.empty()) continue;
        for (int id : ids) {
          bool named = false;
          for (const std::set<int>& k : said.kinds) named = named || k.count(Creatures[id].kind);
          EXPECT_TRUE(named) << "creature " << id << " of kind " << Creatures[id].kind;
        }
        for (const std::set<int>& k : said.kinds) {
          bool there = false;
          for (int id : ids) there = there || k.count(Creatures[id].kind);
          EXPECT_TRUE(there);
        }
      }
    }
    // Each face has its own row: no two faces share a sentence.
    const int ownFaces = region >= 3 ? sides - 1 : sides;
    EXPECT_GE(static_cast<int>(ownTexts.size()), ownFaces) << "region " << region;
  }
}

TEST_F(Encounters, RegionsOutsideOneToTwentyRollOnTheFirstTable) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    Roll(0, seed);
    const std::string first = Text();
    for (int region : {-3, 21, 400}) {
      Roll(region, seed);
      EXPECT_EQ(Text(), first) << region;
    }
  }
}

TEST_F(Encounters, GroupsStandOnTableSquaresAndFollowTheirFirstMember) {
  // Region 4, face 1: lizardmen; the first elite, named, on (x + 1, y).
  const uint32_t seed = SeedsForFace(4, 1, 1)[0];
  const std::vector<int> ids = Roll(4, seed);
  ASSERT_GE(ids.size(), 4u);
  const SquareOffset a[] = {{1, 0}, {1, 1}, {2, 1}, {0, 1}, {2, 0}, {0, 0}};
  const SquareOffset b[] = {{0, 0}, {0, 1}, {1, 1}, {-1, 1}, {1, 0}, {-1, 0}};
  for (size_t i = 0; i < ids.size(); ++i) {
    const CreatureRecord& c = Creatures[ids[i]];
    EXPECT_EQ(c.kind, kKindLizardman);
    EXPECT_EQ(c.squareX, kAnchorX + a[i].dx) << i;
    EXPECT_EQ(c.squareY, kAnchorY + a[i].dy) << i;
    EXPECT_EQ(c.leader, ids[0]);
    if (i > 0) {
      EXPECT_EQ(c.formationX, b[i].dx) << i;
      EXPECT_EQ(c.formationY, b[i].dy) << i;
      EXPECT_STRNE(c.name, "Leader");
    }
  }
  EXPECT_STREQ(Creatures[ids[0]].name, "Leader");

  // Region 20, face 3: two spiders on the first two large squares, the queen on (x + 2, y + 2).
  const std::vector<int> spiders = Roll(20, SeedsForFace(20, 3, 1)[0]);
  ASSERT_EQ(spiders.size(), 3u);
  EXPECT_EQ(Creatures[spiders[0]].squareX, kAnchorX);
  EXPECT_EQ(Creatures[spiders[0]].squareY, kAnchorY);
  EXPECT_EQ(Creatures[spiders[1]].squareX, kAnchorX);
  EXPECT_EQ(Creatures[spiders[1]].squareY, kAnchorY + 2);
  const CreatureRecord& queen = Creatures[spiders[2]];
  EXPECT_STREQ(queen.name, "Spider Queen");
  EXPECT_EQ(queen.squareX, kAnchorX + 2);
  EXPECT_EQ(queen.squareY, kAnchorY + 2);
  EXPECT_EQ(queen.formationX, 2);
  EXPECT_EQ(queen.formationY, 2);
  EXPECT_EQ(queen.creatureClass, kClassWizard);
}

TEST_F(Encounters, SentencesThatFollowTheDrawnKindOrCount) {
  // Region 3, face 3: one elemental or two, of one kind, each sentence its own.
  std::set<std::string> seen;
  for (uint32_t seed : SeedsForFace(3, 3, 20)) {
    const std::vector<int> ids = Roll(3, seed);
    seen.insert(Text());
    if (ids.size() == 1) {
      EXPECT_EQ(Text(), "You encounter a hostile \xA3" "elemental\xA3.");
    } else {
      ASSERT_EQ(ids.size(), 2u);
      EXPECT_EQ(Text(), "You encounter 2 hostile \xA3" "elementals\xA3.");
      EXPECT_EQ(Creatures[ids[0]].kind, Creatures[ids[1]].kind);
    }
  }
  EXPECT_EQ(seen.size(), 2u);
  // Region 11, face 7: the sentence names the elementals made.
  const std::map<int, std::string> names = {{kKindWaterElemental, "water"}, {kKindFireElemental, "fire"},
                                            {kKindEarthElemental, "earth"}, {kKindAirElemental, "air"}};
  std::set<int> kinds;
  for (uint32_t seed : SeedsForFace(11, 7, 30)) {
    const std::vector<int> ids = Roll(11, seed);
    ASSERT_FALSE(ids.empty());
    kinds.insert(Creatures[ids[0]].kind);
    EXPECT_NE(Text().find("\xA3" + names.at(Creatures[ids[0]].kind) + "_elementals\xA3"), std::string::npos) << Text();
  }
  EXPECT_EQ(kinds.size(), 4u);
}

TEST_F(Encounters, NamesClassesAndLongbowsTheRowsGive) {
  auto firstOf = [&](int region, int face) { return Roll(region, SeedsForFace(region, face, 1)[0]); };
  std::vector<int> ids = firstOf(19, 5);  // renegade muls
  EXPECT_STREQ(Creatures[ids[0]].name, "Leader");
  for (size_t i = 1; i < ids.size(); ++i) EXPECT_STREQ(Creatures[ids[i]].name, "Thug");
  ids = firstOf(8, 8);
  for (int id : ids) EXPECT_STREQ(Creatures[id].name, "Thug");
  ids = firstOf(18, 3);  // the tribe's clerics come last
  EXPECT_STREQ(Creatures[ids[0]].name, "Tribe Leader");
  EXPECT_STREQ(Creatures[ids.back()].name, "Adept");
  EXPECT_STRNE(Creatures[ids[1]].name, "Tribe Leader");
  for (uint32_t seed : SeedsForFace(15, 8, 4))
    for (int id : Roll(15, seed)) {
      EXPECT_STREQ(Creatures[id].name, Creatures[id].gender == 2 ? "Witch" : "Warlock");
    }
  // A row that gives no class makes its creatures of their kind's class:
  // the elf archers of region 11, face 8 are Warriors with their longbows.
  auto ranged = [](int id) {
    const uint32_t code = Creatures[id].equipment[kSlotRanged - 1];
    return code >= 1 && code < kCraftedRows ? static_cast<int>(CraftedWeapons[code].itemType) : 0;
  };
  for (int id : firstOf(11, 8)) {
    EXPECT_EQ(Creatures[id].creatureClass, kClassWarrior);
    EXPECT_EQ(ranged(id), 32);
  }
  // The human archers of region 5, face 8 are armed as the warriors beside them.
  for (uint32_t seed : SeedsForFace(5, 8, 6))
    for (int id : Roll(5, seed)) EXPECT_NE(ranged(id), 32) << id;
}

TEST_F(Encounters, ArrivalGroupsStayAndLocalGroupsRoamOnHalfTheRolls) {
  int roaming = 0, groups = 0;
  for (uint32_t seed = 1; seed <= 120; ++seed) {
    for (int arrival : {1, 0}) {
      const std::vector<int> ids = Roll(6, seed, arrival);
      for (size_t i = 0; i < ids.size(); ++i) {
        const int mode = Creatures[ids[i]].group;
        if (arrival == 1 || i > 0) EXPECT_EQ(mode, 1) << seed << " " << i;
        else if (mode == 2) ++roaming;
      }
      if (arrival == 0 && !ids.empty()) ++groups;
    }
  }
  EXPECT_GT(roaming, groups / 4);
  EXPECT_LT(roaming, groups * 3 / 4);
}

TEST_F(Encounters, CreaturesFitAloneOnFreeSquaresOfACrowdedMap) {
  // A small walled room the party half fills: every region's groups still
  // stand inside, off the walls and off each other.
  mapfixture::DrawMap({"############", "#..........#", "#..#####...#", "#..........#", "#.##.......#",
                       "#..........#", "#......##..#", "############"});
  PlaceParty();
  for (int region = 0; region < kEncounterRegions; ++region) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      Roll(region, seed, 0, 3, 3);
      std::vector<int> taken(kMapSquares, 0);
      taken[SquareIndex(1, 1)] = 1;
      for (int i = 0; i < EncounterCounter; ++i) {
        const CreatureRecord& c = Creatures[kFirstEncounterCreature + i];
        ASSERT_EQ(c.present, 1);
        for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
          for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
            ASSERT_TRUE(CurrentMap.Inside(x, y)) << region << " " << seed;
            EXPECT_EQ(CurrentMap.At(kLayerWalls, x, y), 0) << region << " " << seed;
            EXPECT_EQ(taken[SquareIndex(x, y)]++, 0) << region << " " << seed << " at " << x << "," << y;
          }
      }
    }
  }

  // A map whose fighter table is nearly full takes only what it holds.
  DrawOpenMap(40);
  for (int id = 300; id < 300 + 292; ++id) {
    Creatures[id].map = kMap;
    Creatures[id].present = 1;
    Creatures[id].squareX = Creatures[id].squareY = 39;
  }
  int most = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    most = std::max(most, static_cast<int>(Roll(5, seed).size()));
    EXPECT_LE(4 + 292 + EncounterCounter, kFighterSlots);
  }
  EXPECT_EQ(most, 4);  // a tribe of orcs would have been more
}

TEST_F(Encounters, AGroupPastTheCreatureTableIsNotMade) {
  const int before = ScriptDebugLineCount;
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    SeedRandomForTests(seed);
    EncounterCounter = kCreatureCount - kFirstEncounterCreature - 1;  // room for one more
    Creatures[kCreatureCount - 1].present = 0;
    const int made = GenerateRandomEncounter(5, kAnchorX, kAnchorY, 1);
    if (EncounterCounter == kCreatureCount - kFirstEncounterCreature) {
      EXPECT_EQ(made, 1);
      EXPECT_EQ(Creatures[kCreatureCount - 1].present, 1);
    } else {
      EXPECT_EQ(made, 0);
      EXPECT_EQ(EncounterCounter, kCreatureCount - kFirstEncounterCreature - 1);
      EXPECT_EQ(Creatures[kCreatureCount - 1].present, 0);
      EXPECT_STREQ(EncounterText, "");
    }
  }
  EXPECT_GT(ScriptDebugLineCount, before);
  // A counter that names no encounter id makes nobody: a negative one would
  // write the records below the encounter ids, an extreme one past the table.
  const CreatureRecord below = Creatures[kFirstEncounterCreature - 1];
  for (int32_t counter : {-1, -600, INT32_MIN, INT32_MAX, kCreatureCount}) {
    EncounterCounter = counter;
    EXPECT_EQ(GenerateRandomEncounter(5, kAnchorX, kAnchorY, 1), 0) << counter;
    EXPECT_EQ(EncounterCounter, counter);
  }
  EXPECT_EQ(std::memcmp(&below, &Creatures[kFirstEncounterCreature - 1], sizeof below), 0);
}

TEST_F(Encounters, LargeKindsAreThoseOfTwoByTwoSquares) {
  for (const EncounterRow* row = EncounterRows; row < EncounterRows + EncounterRowCount; ++row)
    for (const EncounterBand& band : row->bands)
      for (int16_t kind : band.kind.kinds) {
        if (kind == 0) continue;
        CreateCreature(kMap, 5, 5, 700, kind, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(IsLargeEncounterKind(kind), Creatures[700].footprintWidth.current == 2) << KindNames[kind];
      }
}

// The party of plain scores on the world map's square (2, 3) of region
// `region`, about to meet a group on battlefield 2 from the south.
void SetOutOnTheRoad(int region) {
  for (int m = 0; m < 4; ++m) Creatures[m].fighterSlot = -1;
  for (int m = 0; m < 4; ++m)
    for (StatPair* p : {&Creatures[m].strength, &Creatures[m].dexterity, &Creatures[m].constitution,
                        &Creatures[m].intelligence, &Creatures[m].wisdom, &Creatures[m].charisma})
      *p = {10, 10};
  StoredMaps[2] = CurrentMap;
  CurrentMapNumber = 6;
  WorldTravelDirection = 5;
  PartyWorldSquare[0] = 2;
  PartyWorldSquare[1] = 3;
  WorldMap.At(kLayerEvents, 2, 3) = region;
}

TEST_F(Encounters, TheMapSwitchMeetsAWorldMapGroupOnArrival) {
  SetOutOnTheRoad(12);
  SeedRandomForTests(5);
  ASSERT_EQ(SwitchLocalMap(2, 4, 4, 1, 0, 0), 1);
  ASSERT_GT(EncounterCounter, 0);
  EXPECT_EQ(std::string(EncounterText).rfind("You encounter ", 0), 0u);
  EXPECT_EQ(FighterCount, 4 + EncounterCounter);
  for (int i = 0; i < EncounterCounter; ++i) {
    EXPECT_EQ(Creatures[kFirstEncounterCreature + i].map, 2);
    EXPECT_GE(Creatures[kFirstEncounterCreature + i].squareX, 15);
  }
  WorldTravelDirection = 0;
}

// A group of three run away from on the road is gone when a single snake is
// met next on the same battlefield: the map holds the snake and the party.
TEST_F(Encounters, AGroupRunAwayFromLeavesBeforeTheNextIsMet) {
  constexpr int kCentipedes = 8, kSnake = 1;
  SetOutOnTheRoad(1);
  for (uint32_t seed = 1; EncounterCounter != 3 && seed < 100; ++seed) {
    Fresh();
    CurrentMapNumber = 6;
    SeedRandomForTests(seed);
    ChosenEncounterFace = kCentipedes;
    ASSERT_EQ(SwitchLocalMap(2, 4, 4, 1, 0, 0), 1);
  }
  ASSERT_EQ(EncounterCounter, 3);
  // The party runs away to the world map (the battlefield stays current) and meets the snake there.
  ChosenEncounterFace = kSnake;
  ASSERT_EQ(SwitchLocalMap(2, 4, 4, 1, 0, 0), 1);
  ASSERT_EQ(std::string(EncounterText), "You encounter a wild, venomous \xA3snake\xA3.");
  std::vector<int> standing;
  for (int id = 4; id < kCreatureCount; ++id)
    if (Creatures[id].map == 2 && Creatures[id].present == 1) standing.push_back(id);
  EXPECT_EQ(standing, std::vector<int>{kFirstEncounterCreature});
  EXPECT_EQ(Creatures[kFirstEncounterCreature].kind, kKindSnake);
  EXPECT_EQ(FighterCount, 5);
  WorldTravelDirection = 0;
}

// Sixty meetings on the road, each group run away from: one flight in two
// leaves by the world map, the others are found gone at the next arrival.
// The generated item rows held are always those the creatures standing on
// the map carry, so the pool never runs dry.
TEST_F(Encounters, TheItemRowsOfGroupsRunAwayFromComeBack) {
  SetOutOnTheRoad(3);
  Fresh();
  SeedRandomForTests(11);
  size_t mostCarried = 0;
  for (int flight = 0; flight < 60; ++flight) {
    ASSERT_EQ(SwitchLocalMap(2, 4, 4, 1, 0, 0), 1);
    std::set<uint32_t> carried;
    for (int id = 0; id < kCreatureCount; ++id) {
      const CreatureRecord& c = Creatures[id];
      if (c.present != 1) continue;
      std::vector<uint32_t> codes(std::begin(c.equipment), std::end(c.equipment));
      codes.push_back(c.ammunition.code);
      for (const ItemPair& p : c.carried) codes.push_back(p.code);
      for (uint32_t code : codes)
        if (IsGeneratedItemRow(code)) carried.insert(code);
    }
    size_t held = 0;
    for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row) held += CraftedWeapons[row].name[0] != 0;
    ASSERT_EQ(held, carried.size()) << "meeting " << flight;
    mostCarried = std::max(mostCarried, carried.size());
    if (flight % 2 == 0) TakeOffLeftEncounter();
  }
  EXPECT_GT(mostCarried, 0u);
  WorldTravelDirection = 0;
}

// The generated codes anything holds: every creature's places and every object
// level of the maps.
std::set<uint32_t> HeldGeneratedCodes() {
  std::set<uint32_t> held;
  const auto note = [&held](uint32_t code) {
    if (IsGeneratedItemRow(code)) held.insert(code);
  };
  for (const CreatureRecord& c : Creatures) {
    for (uint32_t code : c.equipment) note(code);
    note(c.ammunition.code);
    for (const ItemPair& p : c.carried) note(p.code);
  }
  const auto noteFloor = [&note](const MapRecord& map) {
    for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer)
      for (int32_t code : map.layers[layer]) note(static_cast<uint32_t>(code));
  };
  for (const MapRecord& map : StoredMaps) noteFloor(map);
  noteFloor(CurrentMap);
  return held;
}

// A long road, as a player's report had it: each group met is beaten and its
// belongings laid where it fell; the party takes the weapons and armour,
// keeps one of each battle's (which the next map switch moves into a row of
// its own) and sells the others, and destroys what it kept two battles
// earlier. The rows of items gone come back: no row is in use that nothing
// holds, and a knight made at the end still gets his sword.
TEST_F(Encounters, LootedItemRowsComeBackOverManyBattles) {
  SetOutOnTheRoad(5);
  Fresh();
  SeedRandomForTests(21);
  const auto carriedPair = [](int member, bool (*wanted)(uint32_t)) {
    for (int k = 0; k < kCarriedPairs; ++k)
      if (wanted(Creatures[member].carried[k].code)) return kSlotFirstCarried + k;
    return -1;
  };
  int taken = 0;
  for (int battle = 0; battle < 120; ++battle) {
    ASSERT_EQ(SwitchLocalMap(2, 4, 4, 1, 0, 0), 1);
    size_t inUse = 0;
    for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row) inUse += CraftedWeapons[row].name[0] != 0;
    ASSERT_EQ(inUse, HeldGeneratedCodes().size()) << "battle " << battle;

    CombatParticipantCount = EncounterCounter;
    for (int i = 0; i < EncounterCounter; ++i) CombatParticipants[i] = kFirstEncounterCreature + i;
    const int32_t awards[kPartySize] = {};
    CloseWonBattle(awards, 0);

    const int member = battle % kPartySize;
    const int old = carriedPair(member, IsCraftedCode);
    if (old >= 0) UnequipSlot(member, old, -1, 1);
    bool keep = true;
    for (int layer = kLayerObjects3; layer >= kLayerObjects0; --layer)
      for (int i = 0; i < kMapSquares; ++i) {
        const int32_t code = CurrentMap.layers[layer][i];
        if (!IsGeneratedItemRow(static_cast<uint32_t>(code))) continue;
        ASSERT_TRUE(PickUpSquareItem(member, code));
        RemoveCellObject(layer - kLayerObjects0, i / kMapSide, i % kMapSide);
        ++taken;
        if (!keep) UnequipSlot(member, carriedPair(member, IsGeneratedItemRow), -1, 1);
        keep = false;
      }
  }
  EXPECT_GT(taken, 300);
  CreateCreature(kMap, 5, 5, 700, kKindOrc, kClassKnight, 0, 0, 1, 0, 0, 0, kWeaponLongsword, 0, 0);
  EXPECT_TRUE(IsGeneratedItemRow(Creatures[700].equipment[kSlotRightHand - 1]));
  WorldTravelDirection = 0;
}

// Every generated row in use: the group of elf archers looks over the
// holders once for its first item, and its other items go without looking
// again, but for the member made over the record of creature 602, kept off
// the map with the sword of the first row: once that record lets the sword
// go, a look finds the row for the member's first item, and its next item
// looks once more, finding none.
TEST_F(Encounters, AFullItemTableIsLookedOverOnceForAWholeGroup) {
  constexpr int kElfArchers = 8;
  constexpr uint32_t kept = kFirstGeneratedItemRow;
  for (uint32_t seed : {3u, 4u}) {
    Fresh();
    for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row) {
      std::strcpy(CraftedWeapons[row].name, "Held");
      StoredMaps[kMap + 1].layers[kLayerObjects0][row - kFirstGeneratedItemRow] = row;
    }
    StoredMaps[kMap + 1].layers[kLayerObjects0][0] = 0;
    Creatures[602].map = kMap + 1;
    Creatures[602].carried[0] = {kept, 1};
    SeedRandomForTests(seed);
    ChosenEncounterFace = kElfArchers;
    const int before = GeneratedRowLooks();
    ASSERT_EQ(GenerateRandomEncounter(3, kAnchorX, kAnchorY, 1), 1);
    ASSERT_GE(EncounterCounter, 2);
    EXPECT_EQ(GeneratedRowLooks() - before, 3) << "seed " << seed;
    for (int id = kFirstEncounterCreature; id < kFirstEncounterCreature + EncounterCounter; ++id) {
      const CreatureRecord& c = Creatures[id];
      std::vector<uint32_t> rows;
      for (uint32_t code : c.equipment)
        if (IsGeneratedItemRow(code)) rows.push_back(code);
      for (const ItemPair& p : c.carried)
        if (IsGeneratedItemRow(p.code)) rows.push_back(p.code);
      EXPECT_EQ(rows, id == 602 ? std::vector<uint32_t>{kept} : std::vector<uint32_t>{}) << "seed " << seed;
    }
  }
}

}  // namespace
