// The introductory adventure as the build makes it: its maps, its prepared
// start and its scripts fit together. Every square event, door, talker and
// death has its script; every move of the party and every stairway lands on
// open ground and not back on the way it came; everyone stands on open
// ground; every item the scripts hand out exists; the story can end. And
// from the main menu's start everyone on the first map has looked about and
// the prepared party can use its gear. Every speaker of both adventures
// shows a portrait of its own.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "adventure/script_file.h"
#include "combat/turns/computer_decision.h"
#include "frontend/creature_roster.h"
#include "frontend/game_start.h"
#include "harness/harness.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/fighter_slots.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFirstMap = 21, kLastMap = 24;
const fs::path kScripts = fs::path("Scripts") / "DemoVersion";

// Script operation codes read here.
enum Op : uint32_t { kGiveTo = 9, kGive = 10, kPlace = 56, kTakeItems = 39, kEndOfIntroduction = 52 };

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Script {
  std::string name;
  std::vector<std::vector<int32_t>> commands;  // op, then the integer arguments
};

class DemoAdventure : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int m = kFirstMap; m <= kLastMap; ++m) {
      const std::vector<uint8_t> image = ReadBytes(fs::path("SaveGame/DemoVersion/0/Maps") / ("Map" + std::to_string(m) + ".dat"));
      ASSERT_EQ(image.size(), kMapRecordBytes) << m;
      maps_[m] = new MapRecord;
      ReadMapImage(image.data(), maps_[m]);
    }
    ASSERT_EQ(LoadCreatureRoster("SaveGame\\DemoVersion\\0\\SaveChar.cml"), 1);
    ASSERT_EQ(LoadCraftedWeapons("SaveGame\\DemoVersion\\0\\SaveWeapon.wml"), 1);
    ASSERT_EQ(LoadItemTable(), 1);
    for (const auto& entry : fs::directory_iterator(kScripts)) {
      const std::vector<uint8_t> bytes = ReadBytes(entry.path());
      ScriptCommand* head = nullptr;
      uint32_t count = 0;
      ASSERT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << entry.path();
      Script s{entry.path().stem().string(), {}};
      for (const ScriptCommand* c = head; c; c = c->next) {
        std::vector<int32_t> words{static_cast<int32_t>(c->op)};
        for (uint32_t i = 0; i < c->argumentCount; ++i) words.push_back(ArgumentValue(c, static_cast<int>(i)));
        s.commands.push_back(words);
      }
      if (head) FreeCommandNodes(head);
      scripts_[s.name] = s;
    }
  }
  static void TearDownTestSuite() {
    for (auto& [m, map] : maps_) delete map;
    maps_.clear();
  }
  static bool Has(const std::string& name) { return scripts_.count(name) != 0; }
  static bool Open(int map, int x, int y) {
    const MapRecord& r = *maps_.at(map);
    return x >= 0 && y >= 0 && x < r.width && y < r.height && r.At(kLayerWalls, x, y) == 0;
  }
  // Whether the square's event script moves the party to another map.
  static bool MovesTheParty(int map, int x, int y) {
    const int32_t e = maps_.at(map)->At(kLayerEvents, x, y);
    const auto s = scripts_.find("Map" + std::to_string(map) + "_" + std::to_string(e));
    if (e == 0 || s == scripts_.end()) return false;
    for (const auto& c : s->second.commands)
      if (c[0] == kPlace && c.size() >= 5 && c[1] < kPartySize && c[2] != map) return true;
    return false;
  }
  // An arrival on (x, y) of the map: open ground, and no square the party
  // may be set down on around it sends it away again.
  static void ExpectArrival(int map, int x, int y, const std::string& from) {
    ASSERT_TRUE(maps_.count(map)) << from << " goes to map " << map;
    EXPECT_TRUE(Open(map, x, y)) << from << " lands on " << x << "," << y << " of map " << map;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        EXPECT_FALSE(MovesTheParty(map, x + dx, y + dy)) << from << " lands beside a way out at " << x + dx << ","
                                                          << y + dy << " of map " << map;
  }
  static std::map<int, MapRecord*> maps_;
  static std::map<std::string, Script> scripts_;
};
std::map<int, MapRecord*> DemoAdventure::maps_;
std::map<std::string, Script> DemoAdventure::scripts_;

TEST_F(DemoAdventure, EveryEventDoorTalkerAndDeathHasItsScript) {
  for (const auto& [m, map] : maps_)
    for (int x = 0; x < map->width; ++x)
      for (int y = 0; y < map->height; ++y) {
        const int32_t e = map->At(kLayerEvents, x, y);
        if (e == 0) continue;
        const int32_t wall = map->At(kLayerWalls, x, y);
        const std::string name = "Map" + std::to_string(m) + ((wall >= 82 && wall <= 85) ? "_Open" : "_") + std::to_string(e);
        EXPECT_TRUE(Has(name)) << name << " (square " << x << "," << y << ")";
      }
  for (int id = 0; id < kCreatureCount && Creatures[id].name[0]; ++id) {
    const CreatureRecord& c = Creatures[id];
    if (c.allegiance == kAllegianceTalker && c.tag[0]) {
      EXPECT_TRUE(Has(c.tag)) << c.name;
    }
    const int32_t death = c.scriptWords[kScriptWordDeathScript];
    if (death) {
      EXPECT_TRUE(Has("Map" + std::to_string(c.map) + "_Death" + std::to_string(death))) << c.name;
    }
  }
  EXPECT_TRUE(Has("Unconscious"));
  EXPECT_TRUE(Has("LevelUp"));
}

TEST_F(DemoAdventure, EveryWayBetweenMapsLandsOnOpenGround) {
  for (const auto& [name, s] : scripts_)
    for (const auto& c : s.commands)
      if (c[0] == kPlace && c.size() >= 5 && c[1] < kPartySize) ExpectArrival(c[2], c[3], c[4], name);
  int stairs = 0;
  for (const auto& [m, map] : maps_)
    for (int x = 0; x < map->width; ++x)
      for (int y = 0; y < map->height; ++y) {
        const int32_t wall = map->At(kLayerWalls, x, y);
        if (wall != 73 && wall != 74) continue;
        ++stairs;
        ExpectArrival(map->At(kLayerObjects0, x, y), map->At(kLayerObjects1, x, y), map->At(kLayerObjects2, x, y),
                      "the stairs at " + std::to_string(x) + "," + std::to_string(y) + " of map " + std::to_string(m));
        const int32_t facing = map->At(kLayerObjects3, x, y);
        EXPECT_TRUE(facing >= 1 && facing <= 8) << m;
      }
  EXPECT_EQ(stairs, 6);
}

TEST_F(DemoAdventure, EveryoneStandsOnOpenGroundOfItsMapAndTheStoryCanEnd) {
  std::set<std::tuple<int, int, int>> taken;
  for (int id = 0; id < kCreatureCount && Creatures[id].name[0]; ++id) {
    const CreatureRecord& c = Creatures[id];
    ASSERT_TRUE(maps_.count(c.map)) << c.name;
    EXPECT_TRUE(Open(c.map, c.squareX, c.squareY)) << c.name;
    EXPECT_TRUE(taken.insert({c.map, c.squareX, c.squareY}).second) << c.name << " shares its square";
  }
  bool ends = false;
  for (const auto& [name, s] : scripts_)
    for (const auto& c : s.commands) {
      ends |= c[0] == kEndOfIntroduction;
      // Items given or taken exist: a crafted row with a name or a base row with one.
      int32_t code = 0;
      if (c[0] == kGive && c.size() >= 2) code = c[1];
      if (c[0] == kGiveTo && c.size() >= 2) code = c[1];
      if (c[0] == kTakeItems && c.size() >= 4 && c[2] == 1) code = c[3];
      if (code == 0) continue;
      const bool known = IsCraftedCode(static_cast<uint32_t>(code))
                             ? CraftedWeapons[code].name[0] != '\0'
                             : code - static_cast<int32_t>(kFirstBaseItemCode) < kItemRows &&
                                   ItemTable[code - kFirstBaseItemCode].name[0] != '\0';
      EXPECT_TRUE(known) << name << " hands out item " << code;
    }
  EXPECT_TRUE(ends);
}

// Whoever speaks in either adventure (each talker's script, named by its
// tag) shows a portrait, and one that no other speaker shows.
TEST(Speakers, EverySpeakerOfBothAdventuresShowsAPortraitOfTheirOwn) {
  constexpr uint32_t kAskWithPortrait = 90;
  std::map<int32_t, std::string> shownBy;
  for (const char* folder : {"DemoVersion", "FullVersion"})
    for (const auto& entry : fs::directory_iterator(fs::path("Scripts") / folder)) {
      const std::string name = entry.path().stem().string();
      if (name.rfind("Map", 0) == 0 || name.rfind("Item_", 0) == 0 || name == "LevelUp" || name == "Unconscious")
        continue;
      const std::vector<uint8_t> bytes = ReadBytes(entry.path());
      ScriptCommand* head = nullptr;
      uint32_t count = 0;
      ASSERT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << entry.path();
      const std::string speaker = std::string(folder) + "/" + name;
      std::set<int32_t> portraits;
      for (const ScriptCommand* c = head; c; c = c->next)
        if (c->op == kAskWithPortrait) portraits.insert(ArgumentValue(c, 0));
      if (head) FreeCommandNodes(head);
      EXPECT_FALSE(portraits.empty()) << speaker << " speaks without a portrait";
      for (int32_t p : portraits) {
        const auto [at, fresh] = shownBy.emplace(p, speaker);
        EXPECT_TRUE(fresh) << speaker << " shows portrait " << p << " of " << at->second;
      }
    }
  EXPECT_GE(shownBy.size(), 16u);
}

// Everyone the prepared starts describe as a man or a woman is one on the
// character record too (a generated creature's gender is rolled otherwise).
TEST(Speakers, EveryoneDescribedAsAManOrAWomanIsOneOnTheRecord) {
  const std::set<std::string> male{"he", "his", "him", "man"}, female{"she", "her", "woman", "wife"};
  int checked = 0;
  for (const char* folder : {"DemoVersion", "FullVersion"}) {
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", folder), 1) << folder;
    for (int i = kPartySize; i < kCreatureCount; ++i) {
      const CreatureRecord& c = Creatures[i];
      if (c.name[0] == '\0') continue;
      bool saysMale = false, saysFemale = false;
      std::string word;
      for (const char* p = c.description;; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (std::isalpha(ch)) {
          word += static_cast<char>(std::tolower(ch));
          continue;
        }
        saysMale = saysMale || male.count(word) != 0;
        saysFemale = saysFemale || female.count(word) != 0;
        word.clear();
        if (ch == '\0') break;
      }
      if (saysMale == saysFemale) continue;
      ++checked;
      EXPECT_EQ(c.gender, saysMale ? 1 : 2) << folder << "/" << c.name;
    }
  }
  EXPECT_GE(checked, 15);
}

// Every figure the maps draw stands (there is no seated pose), so no text
// of either adventure (the scripts' words, the maps' and the people's
// descriptions) sits anyone down or has them get up.
TEST(Speakers, NoTextSeatsAnyoneTheMapsDrawStanding) {
  const std::set<std::string> seated{"sits", "sitting", "seated", "sat"};
  int texts = 0;
  auto check = [&](const std::string& text, const std::string& where) {
    ++texts;
    std::vector<std::string> words;
    std::string word;
    for (const char ch : text + " ") {
      if (std::isalpha(static_cast<unsigned char>(ch))) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      } else if (!word.empty()) {
        words.push_back(word);
        word.clear();
      }
    }
    for (size_t i = 0; i < words.size(); ++i) {
      const bool getsUp = i + 1 < words.size() && words[i + 1] == "up" &&
                          (words[i] == "get" || words[i] == "gets" || words[i] == "getting");
      EXPECT_FALSE(seated.count(words[i]) || getsUp) << where << ": \"" << words[i] << "\" in " << text.substr(0, 80);
    }
  };
  for (const char* folder : {"DemoVersion", "FullVersion"}) {
    for (const auto& entry : fs::directory_iterator(fs::path("Scripts") / folder)) {
      const std::vector<uint8_t> bytes = ReadBytes(entry.path());
      ScriptCommand* head = nullptr;
      uint32_t count = 0;
      ASSERT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << entry.path();
      for (const ScriptCommand* c = head; c; c = c->next)
        for (uint32_t i = 0; i < c->argumentCount; ++i)
          if (*ArgumentText(c, static_cast<int>(i))) check(ArgumentText(c, static_cast<int>(i)), entry.path().string());
      if (head) FreeCommandNodes(head);
    }
    for (const auto& entry : fs::directory_iterator(fs::path("SaveGame") / folder / "0" / "Maps")) {
      const std::vector<uint8_t> image = ReadBytes(entry.path());
      if (image.size() != kMapRecordBytes) continue;
      static MapRecord map;
      ReadMapImage(image.data(), &map);
      check(std::string(map.text, strnlen(map.text, sizeof map.text)), entry.path().string());
    }
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", folder), 1) << folder;
    for (int i = kPartySize; i < kCreatureCount; ++i)
      if (Creatures[i].name[0]) check(Creatures[i].description, std::string(folder) + "/" + Creatures[i].name);
  }
  EXPECT_GE(texts, 300);
}

}  // namespace

namespace {

// Started from the main menu, everyone on the first map has looked about,
// so that the reeve who waits there can meet the party; the party is armed
// as its rules let it fight and cast.
TEST(DemoStart, EveryoneOnTheFirstMapHasLookedAboutAndThePartyIsArmedToItsRules) {
  ASSERT_TRUE(harness::StartGame());
  SwitchToIntroductoryAdventure();
  ASSERT_EQ(StartIntroductoryAdventure(), 1);
  int others = 0;
  for (int s = kPartySize; s < FighterCount && s < kFighterSlots; ++s) {
    ++others;
    int seen = 0;
    for (int i = 0; i < kMapSquares; ++i) seen += FighterSlots[s].visible[i] == 1;
    EXPECT_GT(seen, 0) << Creatures[FighterSlots[s].creature].name;
  }
  EXPECT_GT(others, 0);
  // The prepared party can use what it carries: nothing it lacks the
  // proficiency for, and both casters keep a hand free for their spells.
  for (int m = 0; m < kPartySize; ++m)
    for (uint32_t id : {kCondNonprofArmor, kCondNonprofShield, kCondNonprofLeft, kCondNonprofRight, kCondRangeNonprof})
      EXPECT_EQ(FindCondition(m, id), -1) << Creatures[m].name << " is not proficient (" << id << ")";
  EXPECT_TRUE(HasFreeHand(1)) << Creatures[1].name;
  EXPECT_TRUE(HasFreeHand(2)) << Creatures[2].name;
  harness::StopGame();
}

}  // namespace
