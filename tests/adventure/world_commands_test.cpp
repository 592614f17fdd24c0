// The world commands: squares and maps, creatures, and saving elsewhere; and
// every index a command takes, out of its range, changing nothing; and where
// every arrival of both adventures puts the party.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "adventure/end_screens.h"
#include "adventure/quest_journal.h"
#include "adventure/script_fixture.h"
#include "adventure/world_commands.h"
#include "combat/actions/walking.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "frontend/game_start.h"
#include "frontend/saved_games.h"
#include "harness/harness.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "party/party_start.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "rules/formation.h"
#include "rules/recompute_creature.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"
#include "state/combat_action.h"
#include "state/game_flags.h"
#include "state/script_state.h"

namespace {

using namespace scriptfixture;

class WorldCommands : public ScriptTest {
 protected:
  static void SetTag(int id, const char* tag) {
    std::memset(Creatures[id].tag, 0, sizeof Creatures[id].tag);
    std::memcpy(Creatures[id].tag, tag, std::min(std::strlen(tag), sizeof Creatures[id].tag));
  }
  static std::string Tag(int id) { return std::string(Creatures[id].tag, strnlen(Creatures[id].tag, 20)); }
};

TEST_F(WorldCommands, TagsTakeANumberInPlaceOfTheirLastCharacter) {
  SetTag(7, "Orc5");
  RunSource("number_tag 7 12\n");
  EXPECT_EQ(Tag(7), "Orc12");
  RunSource("number_tag 7 1000\n");
  EXPECT_EQ(Tag(7), "");
  RunSource("number_tag 7 3\n");
  EXPECT_EQ(Tag(7), "") << "an empty tag has no character to replace";
  SetTag(7, "ABCDEFGHIJKLMNOPQRS");  // 19 characters, the most that keep the zero byte
  RunSource("number_tag 7 4\n");
  EXPECT_EQ(Tag(7), "ABCDEFGHIJKLMNOPQR4");
  RunSource("number_tag 7 45\n");
  EXPECT_EQ(Tag(7), "ABCDEFGHIJKLMNOPQR4") << "a number that does not fit leaves the tag";
}

TEST_F(WorldCommands, PresenceTestsOverRangesEitherWayRound) {
  for (int id = 10; id <= 14; ++id) Creatures[id].present = 1;
  RunSource("if_range_present 14 10 0\n set_flag 1 1\nendif\nif_range_present 10 14 1\n set_flag 2 1\nendif\n"
      "if_present 12 0\n set_flag 3 1\nendif\nif_present 15 1\n set_flag 4 1\nendif\n");
  EXPECT_EQ(GameFlags[1], 1u);
  EXPECT_EQ(GameFlags[2], 0u);
  EXPECT_EQ(GameFlags[3], 1u);
  EXPECT_EQ(GameFlags[4], 1u);
}

TEST_F(WorldCommands, ClearingADoorPlaysItsSoundAndLeavesAnEmptySquare) {
  ASSERT_TRUE(platform::InitPlatform());
  ASSERT_EQ(InitSound(1), 1);
  for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
  SoundSample& door = SoundSamples[25];
  door.block = door.data = static_cast<uint8_t*>(std::calloc(16001, 1));
  door.size = door.remaining = 16000;
  door.channels = 2;
  OptionWords[kOptionAmbientVolume] = 70;
  CurrentMap.At(kLayerWalls, 6, 1) = 82;
  CurrentMap.At(kLayerEvents, 6, 1) = 4;
  CurrentMap.At(kLayerFloor, 6, 1) = 95;
  CurrentMap.At(kLayerObjects1, 6, 1) = 5030;
  RunSource("clear_square 5 6 1\n");
  int playing = 0;
  for (int c = 0; c < kSoundChannelCount; ++c) playing += IsChannelPlaying(c);
  EXPECT_EQ(playing, 1);
  for (int layer = kLayerFloor; layer <= kLayerObjects3; ++layer) {
    EXPECT_EQ(CurrentMap.At(layer, 6, 1), 0) << layer;
    EXPECT_EQ(StoredMaps[5].At(layer, 6, 1), 0) << layer;
  }
  for (int c = 0; c < kSoundChannelCount; ++c) FreeSoundChannel(c);
  for (auto& s : SoundSamples) FreeSoundSample(&s);
  ShutdownSound();
}

TEST_F(WorldCommands, AWallOverObjectsLaysThemAroundAndMovesThePartyOff) {
  CurrentMap.At(kLayerObjects0, 1, 4) = 5030;
  CurrentMap.At(kLayerObjects1, 1, 4) = 5031;
  RunSource("set_square 2 5 1 4 46\n");
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 1, 4), 46);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 1, 4), 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 0, 3), 5030) << "on the nearest free square";
  EXPECT_EQ(CurrentMap.At(kLayerObjects1, 0, 3), 5031);
  EXPECT_FALSE(Creatures[0].squareX == 1 && Creatures[0].squareY == 4) << "the member stood there";
  // A stored map: the objects go beside the wall, not under it.
  StoredMaps[8].At(kLayerObjects0, 3, 3) = 5032;
  RunSource("set_square 2 8 3 3 46\nset_square 0 99 2 2 6\n");
  EXPECT_EQ(StoredMaps[8].At(kLayerObjects0, 3, 3), 0);
  EXPECT_EQ(StoredMaps[8].At(kLayerObjects0, 2, 2), 5032);
  EXPECT_EQ(WorldMap.At(kLayerGround, 2, 2), 6);
}

TEST_F(WorldCommands, CreaturesAreMovedTurnedAndWatched) {
  mapfixture::PlaceFighter(8, 7, 0);
  Creatures[8].allegiance = kAllegianceEnemy;
  ScriptSpeaker = 8;
  RunSource("face 8 8\nplace 8 5 8 5\nset_side 8 7\nalarm 8\n");
  EXPECT_EQ(Creatures[8].squareX, 8);
  EXPECT_EQ(Creatures[8].pixelY, 5 * 24);
  EXPECT_EQ(ScriptSavedFacing, Creatures[8].facing) << "the talker's kept facing follows";
  EXPECT_NE(Creatures[8].facing, 1);
  EXPECT_EQ(Creatures[8].allegiance, kAllegianceTalker);
  EXPECT_GE(FindCondition(8, kCondAlarmed), 0);
  EXPECT_EQ(Creatures[8].sight, 60);
  RunSource("set_present 8 0\nif_present 8 1\n set_flag 1 1\nendif\n");
  EXPECT_EQ(GameFlags[1], 1u);
  for (int s = 0; s < FighterCount; ++s) EXPECT_NE(FighterSlots[s].creature, 8);
}

TEST_F(WorldCommands, ACreatureTakenAwayInABattleLeavesItsTurnOrder) {
  for (int id : {8, 9}) {
    mapfixture::PlaceFighter(id, 6 + id - 8, 0);
    Creatures[id].allegiance = kAllegianceEnemy;
  }
  InCombat = 1;
  const int order[] = {0, 8, 1, 9};
  for (int i = 0; i < 4; ++i) TurnOrder[i].creature = order[i];
  TurnEntryCount = 4;
  CurrentTurnIndex = 2;  // member 1 acts
  RunSource("set_present 8 0\n");
  ASSERT_EQ(TurnEntryCount, 3);
  EXPECT_EQ(TurnOrder[1].creature, 1);
  EXPECT_EQ(TurnOrder[2].creature, 9);
  EXPECT_EQ(TurnOrder[CurrentTurnIndex].creature, 1) << "the acting fighter keeps its turn";
  RunSource("set_present 9 0\n");
  EXPECT_TRUE(CheckEndOfCombat()) << "nobody is left to fight";
  EXPECT_EQ(ScreenMode, kModeVictory);
}

// A script that kills the leader or turns him to stone outside a battle hands
// the lead to the first standing member, and so does a Constitution loss or a
// level drain that kills him (the condition counts at once); in a battle the
// fall is the battle's, and the victory settles the lead.
TEST_F(WorldCommands, AScriptThatFellsTheLeaderOutsideABattleHandsTheLeadOn) {
  // Dead, petrified, Constitution 12 lost, three levels of three drained.
  for (const char* fall : {"111 0", "92 0", "63 12", "108 3"}) {
    SetUp();
    for (int m = 0; m < 4; ++m) Creatures[m].constitution = {12, 12};
    RunSource(std::string("add_condition 0 ") + fall + " 1000\n");
    EXPECT_STREQ(Creatures[0].name, "Member1") << fall;
    EXPECT_STREQ(Creatures[1].name, "Member0") << fall;
  }
  SetUp();
  InCombat = 1;
  RunSource("add_condition 0 92 0 1000\n");
  EXPECT_STREQ(Creatures[0].name, "Member0");
  // Taken away in a battle, a Dexterity loss frees its paralysis at once.
  CreatureRecord& held = Creatures[2];
  for (StatPair* p : {&held.strength, &held.dexterity, &held.constitution, &held.intelligence, &held.wisdom,
                      &held.charisma})
    *p = {10, 10};
  AddCondition(2, kCondDamagedDexterity, 2000, 10, 0, 0);
  RecomputeCreature(2, 0);
  ASSERT_GE(FindCondition(2, kCondParalyzed), 0);
  RunSource("remove_condition 2 62\n");
  EXPECT_LT(FindCondition(2, kCondParalyzed), 0);
  EXPECT_EQ(Creatures[2].dexterity.current, 10);
}

TEST_F(WorldCommands, SavingElsewhereKeepsTheRunningGameAndItsEdits) {
  // Whatever the save writes goes to a folder of this test's own.
  const std::filesystem::path game = std::filesystem::current_path();
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / ("scripts_save_" + std::to_string(::getpid()));
  std::filesystem::create_directories(scratch);
  std::filesystem::current_path(scratch);
  CurrentMap.At(kLayerEvents, 2, 2) = 9;  // an edit of the current map not yet stored
  StoredMaps[7].width = StoredMaps[7].height = 12;
  OptionWords[kOptionIronmanMode] = 1;
  RunSource("save_game_at 7 3 3 2\n");
  EXPECT_EQ(StoredMaps[5].At(kLayerEvents, 2, 2), 0) << "an Ironman game does nothing";
  OptionWords[kOptionIronmanMode] = 0;
  // A place the load would refuse is not saved: a square outside the map, a
  // map the introductory adventure does not save.
  EXPECT_EQ(SaveWithPartyAt(7, 12, 3, 2), kSaveCharactersFailed);
  IntroductoryAdventureFlag = 1;
  EXPECT_EQ(SaveWithPartyAt(7, 3, 3, 2), kSaveCharactersFailed);
  IntroductoryAdventureFlag = 0;
  EXPECT_EQ(FindFreeSaveSlot(), 1) << "nothing was written";
  RunSource("save_game_at 7 3 3 2\n");
  EXPECT_EQ(StoredMaps[5].At(kLayerEvents, 2, 2), 9) << "the map left keeps its edits";
  EXPECT_EQ(CurrentMapNumber, 5);
  EXPECT_EQ(CurrentMap.At(kLayerEvents, 2, 2), 9);
  EXPECT_EQ(Creatures[0].map, 5);
  EXPECT_EQ(Creatures[0].squareX, 1);
  EXPECT_EQ(Creatures[0].facing, 1);
  // The slot loads with the party where the script put it.
  EXPECT_EQ(LoadSavedGame(1), kSaveOk);
  EXPECT_EQ(Creatures[0].map, 7);
  EXPECT_EQ(Creatures[0].squareX, 3);
  std::filesystem::current_path(game);
  std::filesystem::remove_all(scratch);
}

TEST_F(WorldCommands, IndicesOutOfRangeChangeNothing) {
  RunSource("end\n");  // the run's own clean-up settles the party first
  auto creatures = std::make_unique<CreatureRecord[]>(kCreatureCount);
  std::memcpy(creatures.get(), Creatures, sizeof Creatures);
  auto maps = std::make_unique<MapRecord[]>(kStoredMapCount + 1);
  std::memcpy(maps.get(), StoredMaps, sizeof StoredMaps);
  maps[kStoredMapCount] = CurrentMap;
  uint32_t flags[kGameFlagCount];
  std::memcpy(flags, GameFlags, sizeof flags);
  const std::vector<JournalEntry> journal = QuestJournal;
  const int faults = ScriptDebugLineCount;
  // Written as they stand ('op'): the script compiler refuses these values.
  const char* bad[] = {
      "op 6 500 1",         "op 5 256 1",          "op 22 2100 1",           "op 23 -1 1",
      "op 27 5000",         "op 30 41 1 1",        "op 30 5 60 0",           "op 50 8 5 1 1 46",
      "op 50 2 5 -1 0 46",  "op 43 99 0 0 1",      "op 44 -1 0 0 5 5",       "op 95 200 \"x\" 0 1",
      "op 96 -1 1",         "op 37 6 1",           "op 37 0 2100",           "op 55 1 9",
      "op 93 18",           "op 63 0 1 0 684 0 0", "op 63 1 1 0 0 0 0",      "op 104 1 0 19 5",
      "op 104 1 1 7 5",     "op 103 1 1 1 3",      "op 47 60 0 1",           "op 56 1 5 0 60",
      "op 67 3 5 1",        "op 40 -5 1",          "op 9 5030 2100 1",       "op 10 7000 1",
      "op 68 5 1 1 2100 1 0 0 0 0 0 0 0 0 0 0", "op 68 5 1 1 20 93 0 0 0 0 0 0 0 0 0 0",
      "op 68 5 1 1 20 5 1 2147483647 0 0 0 0 0 0 0 0",
      "op 45 1 2100 0 0 0", "op 107 41 0 0 0",     "op 107 5 0 0 8",         "op 21 58",
  };
  for (const char* command : bad) RunSource(std::string(command) + "\n");
  RunSource("op 4 500 0\n set_flag 1 1\nendif\nop 42 2100\n set_flag 2 1\nendif\nop 97 200 0\n set_flag 3 1\nendif\n");
  EXPECT_EQ(ScriptDebugLineCount - faults, static_cast<int>(std::size(bad)) + 3);
  EXPECT_EQ(std::memcmp(creatures.get(), Creatures, sizeof Creatures), 0);
  EXPECT_EQ(std::memcmp(maps.get(), StoredMaps, sizeof StoredMaps), 0);
  EXPECT_EQ(std::memcmp(&maps[kStoredMapCount], &CurrentMap, sizeof CurrentMap), 0);
  EXPECT_EQ(std::memcmp(flags, GameFlags, sizeof flags), 0);
  for (int e = 0; e < kJournalEntryCount; ++e) EXPECT_EQ(QuestJournal[e].text, journal[e].text);
}

// Where an arrival of an adventure puts the party, and what leads there.
struct Arrival {
  int map, x, y, facing;
  std::string by;
};

constexpr uint32_t kPlaceCreatureOp = 56;  // a script puts a creature on a map and square
constexpr int32_t kStairsUp = 73, kStairsDown = 74;
constexpr int32_t kToLocalMapView = 99;  // a stair square's map that opens the world map instead
constexpr int32_t kFirstLocation = 5;    // the world map's location layer marks a place from 5 up

// Every arrival of the adventure loaded at each of the eight facings: each
// link between its local maps (a script placing a member on another map, a
// stair square) and each place of the world map (the travel enters facing
// down; a rest or a load there keeps whatever facing the party turned to).
std::vector<Arrival> ArrivalsOf(const std::string& adventure) {
  std::vector<Arrival> arrivals;
  auto everyFacing = [&](int map, int x, int y, const std::string& by) {
    for (int facing = 1; facing <= 8; ++facing) arrivals.push_back({map, x, y, facing, by});
  };
  for (const auto& entry : std::filesystem::directory_iterator("Scripts/" + adventure)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ScriptCommand* head = nullptr;
    uint32_t count = 0;
    EXPECT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << entry.path();
    for (const ScriptCommand* c = head; c != nullptr; c = c->next)
      if (c->op == kPlaceCreatureOp && ArgumentValue(c, 0) >= 0 && ArgumentValue(c, 0) < kPartySize)
        everyFacing(ArgumentValue(c, 1), ArgumentValue(c, 2), ArgumentValue(c, 3), entry.path().filename().string());
    if (head != nullptr) FreeCommandNodes(head);
  }
  for (int n = 0; n < kStoredMapCount; ++n)
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        const MapRecord& m = StoredMaps[n];
        const int32_t wall = m.At(kLayerWalls, x, y), to = m.At(kLayerObjects0, x, y);
        if ((wall == kStairsUp || wall == kStairsDown) && to != kToLocalMapView)
          everyFacing(to, m.At(kLayerObjects1, x, y), m.At(kLayerObjects2, x, y),
                      "the stair of map " + std::to_string(n) + " at " + std::to_string(x) + "," + std::to_string(y));
      }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (WorldMap.At(kLayerObjects0, x, y) >= kFirstLocation)
        everyFacing(WorldMap.At(kLayerObjects1, x, y), WorldMap.At(kLayerObjects2, x, y), WorldMap.At(kLayerObjects3, x, y),
                    "the world map's place at " + std::to_string(x) + "," + std::to_string(y));
  return arrivals;
}

// "" when no two present members stand on one square; else who shares where.
std::string MembersSharing() {
  for (int m = 0; m < kPartySize; ++m)
    for (int other = 0; other < m; ++other) {
      const CreatureRecord &c = Creatures[m], &o = Creatures[other];
      if (c.present == 1 && o.present == 1 && c.squareX == o.squareX && c.squareY == o.squareY)
        return "members " + std::to_string(other) + " and " + std::to_string(m) + " share " +
               std::to_string(c.squareX) + "," + std::to_string(c.squareY);
    }
  return "";
}

// Lets the party walk frame by frame until no member walks or has a path
// left; false when it still walks after a long walk's frames.
bool WalkUntilThePartyStandsStill() {
  ScreenMode = kModeExploring;
  for (int frame = 0; frame < 600; ++frame) {
    WalkingStep();
    bool still = true;
    for (int m = 0; m < kPartySize; ++m) {
      const CreatureRecord& c = Creatures[m];
      const bool path =
          c.fighterSlot >= 0 && c.fighterSlot < kFighterSlots && FighterSlots[c.fighterSlot].pathIndex != -1;
      still = still && (c.present != 1 || (!path && c.nextX == c.squareX && c.nextY == c.squareY &&
                                           c.pixelX == 24 * c.squareX && c.pixelY == 24 * c.squareY));
    }
    if (still) return true;
  }
  return false;
}

// Whether a present member stands away from its place in the formation.
bool FormationDoesNotFit() {
  const CreatureRecord& lead = Creatures[PartyLeader];
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    int dx = 0, dy = 0;
    TurnFormationOffset(c.formationX, c.formationY, lead.facing, &dx, &dy);
    if (m != static_cast<int>(PartyLeader) && c.present == 1 &&
        (c.squareX != lead.squareX + dx || c.squareY != lead.squareY + dy))
      return true;
  }
  return false;
}

// A member fallen in the formation, as a battle leaves one: who fell and
// whose square the body lies on, the party's order counted from its leader
// (0 the leader).
struct FallenInFormation {
  const char* what;
  int fallen, under;
};
constexpr FallenInFormation kFallenInFormation[] = {
    {"the leader fallen where it stood", 0, 0},
    {"a member fallen under the leader", 2, 0},
    {"a member fallen under another", 3, 1},
};

// The member lies dead on (x, y), where it fell, off the map.
void FallDead(int member, int x, int y) {
  CreatureRecord& c = Creatures[member];
  AddCondition(member, kCondDead, kDurationLasting, 0, 0, 0);
  c.hitPoints = -10;
  c.present = 0;
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  FallenPlaces[member] = FallenPlace{x, y};
}

// The dead member, -1 none.
int DeadMember() {
  for (int m = 0; m < kPartySize; ++m)
    if (FindCondition(m, kCondDead) >= 0) return m;
  return -1;
}

// "" when the dead member lies on (x, y), kept there by its record too, and
// no member stands on it; else what is wrong.
std::string BodyLiesFree(int x, int y) {
  const int dead = DeadMember();
  if (dead == -1) return "nobody lies dead";
  const std::string at = " at " + std::to_string(x) + "," + std::to_string(y);
  const FallenPlace place = FallenPlaces[dead];
  if (place.x != x || place.y != y) return "the body is laid elsewhere than" + at;
  if (Creatures[dead].squareX != x || Creatures[dead].squareY != y) return "the dead one's square is not" + at;
  for (int m = 0; m < kPartySize; ++m)
    if (Creatures[m].present == 1 && Creatures[m].squareX == x && Creatures[m].squareY == y)
      return "member " + std::to_string(m) + " stands on the body" + at;
  return MembersSharing();
}

// No arrival of an adventure leaves two members on one square, neither
// as the party arrives nor once its walk into formation has ended, nor once
// it has walked again after re-forming there by a won battle, a rest or a
// load: a member whose place in the formation is walled off, off the map or
// held stands on a square of its own, not hidden under another's figure.
// Then, at each place, a member fallen in the formation (a row of the table
// above in turn) lies where it fell after a won battle, a rest and a load
// there, and nobody settles on it. The arrivals of each adventure are taken
// in two halves.
// The arrivals of an adventure in two halves, every other one each.
struct ArrivalHalf {
  const char* adventure;
  size_t half;
};
void PrintTo(const ArrivalHalf& h, std::ostream* out) { *out << h.adventure << " half " << h.half + 1; }
class Arrivals : public ::testing::TestWithParam<ArrivalHalf> {};

TEST_P(Arrivals, NoArrivalOfTheAdventureLeavesTwoMembersOnOneSquare) {
  ASSERT_TRUE(harness::StartGame());
  std::filesystem::path folder;
  ASSERT_TRUE(harness::MakeOwnGameFolder(&folder));  // the saves go there
  const std::string adventure = GetParam().adventure;
  if (adventure == "DemoVersion") {
    SwitchToIntroductoryAdventure();
    ASSERT_EQ(StartIntroductoryAdventure(), 1);
  } else {
    ResetGameState();
    ASSERT_EQ(StartDebugPartySetup(), 1);
    ASSERT_EQ(StartAdventuring(), 1);
  }
  const std::vector<Arrival> arrivals = ArrivalsOf(adventure);
  EXPECT_GE(arrivals.size(), adventure == "DemoVersion" ? 96u : 112u);
  std::vector<std::string> loadedAt;
  for (size_t index = GetParam().half; index < arrivals.size(); index += 2) {
    const Arrival& a = arrivals[index];
    const FallenInFormation& body = kFallenInFormation[index / 2 % std::size(kFallenInFormation)];
    const std::string place = std::to_string(a.map) + " at " + std::to_string(a.x) + "," + std::to_string(a.y);
    const std::string where = adventure + ": " + a.by + " to map " + place + " facing " + std::to_string(a.facing);
    auto walkAndLook = [&](const char* after) {
      EXPECT_TRUE(WalkUntilThePartyStandsStill()) << where << after;
      EXPECT_EQ(MembersSharing(), "") << where << after;
    };
    SeedRandomForTests(1);
    ASSERT_EQ(SwitchLocalMap(a.map, a.x, a.y, a.facing, 0, 0), 1) << where;
    EXPECT_EQ(MembersSharing(), "") << where << " on arrival";
    walkAndLook(" once the party stands still");
    const int32_t awards[kPartySize] = {};
    CloseWonBattle(awards, 0);
    walkAndLook(" after a won battle");
    RestPartyOnMap();
    walkAndLook(" after a rest");
    // A save costs its flushes: a load is tried once at each place, in the
    // first facing the formation does not fit into.
    const bool load =
        FormationDoesNotFit() && std::find(loadedAt.begin(), loadedAt.end(), place) == loadedAt.end();
    if (load) {
      loadedAt.push_back(place);
      ASSERT_EQ(WriteSavedGame(1), kSaveOk) << where;
      ASSERT_EQ(LoadSavedGame(1), kSaveOk) << where;
      walkAndLook(" after a load");
    }
    const int lead = static_cast<int>(PartyLeader);
    const CreatureRecord& under = Creatures[(lead + body.under) % kPartySize];
    const int x = under.squareX, y = under.squareY;
    FallDead((lead + body.fallen) % kPartySize, x, y);
    const std::string fell = where + " with " + body.what;
    // The body is looked at as the party settles and again once the frames
    // after it have run and the party stands still.
    auto bodyLiesFree = [&](const char* after) {
      EXPECT_EQ(BodyLiesFree(x, y), "") << fell << after;
      EXPECT_TRUE(WalkUntilThePartyStandsStill()) << fell << after;
      EXPECT_EQ(BodyLiesFree(x, y), "") << fell << after << ", the party standing still";
    };
    CloseWonBattle(awards, 0);
    bodyLiesFree(" after a won battle");
    RestPartyOnMap();
    bodyLiesFree(" after a rest");
    if (load) {
      ASSERT_EQ(WriteSavedGame(1), kSaveOk) << where;
      ASSERT_EQ(LoadSavedGame(1), kSaveOk) << where;
      bodyLiesFree(" after a load");
    }
    const int dead = DeadMember();
    ASSERT_NE(dead, -1) << fell;
    RemoveCondition(dead, kCondDead);
    Creatures[dead].hitPoints = Creatures[dead].maxHitPoints;
    RecomputeCreature(dead, 0);
    ASSERT_EQ(Creatures[dead].present, 1) << fell;
  }
  EXPECT_FALSE(loadedAt.empty()) << adventure;
  ResetGameState();  // the adventures' creatures and maps are not the next test's
  harness::RemoveOwnGameFolder(folder);
  harness::StopGame();
}

INSTANTIATE_TEST_SUITE_P(EitherAdventure, Arrivals,
                         ::testing::Values(ArrivalHalf{"DemoVersion", 0}, ArrivalHalf{"DemoVersion", 1},
                                           ArrivalHalf{"FullVersion", 0}, ArrivalHalf{"FullVersion", 1}),
                         [](const ::testing::TestParamInfo<ArrivalHalf>& info) {
                           return std::string(info.param.adventure) + "Half" + std::to_string(info.param.half + 1);
                         });

}  // namespace
