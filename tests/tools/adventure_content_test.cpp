// Both adventures as the build makes them, walked the way a new player meets
// them: whoever trades a bow or a crossbow also sells what it shoots; every
// place of the world map lets the party walk back out where it came in;
// every square that takes the party to another map shows the way; everyone
// of the main adventure stands on open ground; whoever is said to carry a
// weapon carries it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "adventure/script_file.h"
#include "creatures/create_creature.h"
#include "frontend/creature_roster.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAdventures[] = {"DemoVersion", "FullVersion"};

// Script operation codes read here.
enum Op : uint32_t { kTrade = 54, kPlace = 56 };

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A compiled script as its commands: the operation, then its integer
// arguments. Empty when the adventure has no script of that name.
std::vector<std::vector<int32_t>> ScriptCommands(const std::string& adventure, const std::string& name) {
  std::vector<std::vector<int32_t>> commands;
  const fs::path path = fs::path("Scripts") / adventure / (name + ".mls");
  if (!fs::exists(path)) return commands;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  ScriptCommand* head = nullptr;
  uint32_t count = 0;
  EXPECT_EQ(ParseScriptBytes(bytes.data(), bytes.size(), &head, &count), kScriptLoaded) << path;
  for (const ScriptCommand* c = head; c; c = c->next) {
    std::vector<int32_t> words{static_cast<int32_t>(c->op)};
    for (uint32_t i = 0; i < c->argumentCount; ++i) words.push_back(ArgumentValue(c, static_cast<int>(i)));
    commands.push_back(words);
  }
  if (head) FreeCommandNodes(head);
  return commands;
}

// A map of the adventure's prepared start (Maps/Map<n>.dat, or the world
// map); false when the file is missing or short.
bool LoadMap(const std::string& adventure, const std::string& file, MapRecord* out) {
  const std::vector<uint8_t> image = ReadBytes(fs::path("SaveGame") / adventure / "0" / "Maps" / file);
  if (image.size() != kMapRecordBytes) return false;
  ReadMapImage(image.data(), out);
  return true;
}

// The creatures and crafted rows of an adventure's prepared start.
bool LoadPreparedStart(const char* adventure) {
  return LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", adventure) == 1 &&
         LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", adventure) == 1;
}

// The base type of the ammunition a crafted weapon shoots: arrows for bows,
// bolts for crossbows; 0 for anything else.
constexpr int kArrowType = 7, kBoltType = 17;
int AmmunitionTypeOf(uint32_t code) {
  if (!IsCraftedCode(code)) return 0;
  const int kind = CraftedWeapons[code].itemType;
  if (kind == 32 || kind == 33) return kArrowType;
  if (kind == 10 || kind == 11) return kBoltType;
  return 0;
}

// Every trader of either adventure (a talker whose script opens trade) that
// has a bow or a crossbow among its goods has that weapon's ammunition there
// too: a crossbow bought at a stall that has no bolts never shoots.
TEST(Shops, EveryShopThatSellsABowOrACrossbowSellsWhatItShoots) {
  ASSERT_EQ(LoadItemTable(), 1);
  int ranged = 0;
  for (const char* adventure : kAdventures) {
    ASSERT_TRUE(LoadPreparedStart(adventure)) << adventure;
    for (int id = kPartySize; id < kCreatureCount; ++id) {
      const CreatureRecord& c = Creatures[id];
      if (c.name[0] == '\0' || c.tag[0] == '\0') continue;
      bool trades = false;
      for (const auto& command : ScriptCommands(adventure, c.tag)) trades |= command[0] == kTrade;
      if (!trades) continue;
      for (const ItemPair& goods : c.carried) {
        const int needs = AmmunitionTypeOf(goods.code);
        if (needs == 0) continue;
        ++ranged;
        bool sold = false;
        for (const ItemPair& p : c.carried)
          sold |= p.code > kFirstBaseItemCode && p.code - kFirstBaseItemCode < static_cast<uint32_t>(kItemRows) &&
                  p.count > 0 && ItemTable[p.code - kFirstBaseItemCode].baseType == needs;
        EXPECT_TRUE(sold) << adventure << "/" << c.name << " sells " << CraftedWeapons[goods.code].name
                          << " but nothing it shoots";
      }
    }
  }
  EXPECT_GE(ranged, 1);
}

// From every place the world map enters (its entrances, and the road's
// battlefields at each side the party may come in by), the party walks back
// out over the map's nearest edge, where the main adventure returns it to the
// world map: no more than two steps beyond a straight line to that edge, so
// that no way out hides in a far corner. A door opens at a click; nothing
// else that closes a square is walked through.
TEST(WaysOut, EveryPlaceOfTheWorldMapLetsThePartyWalkBackOutWhereItCameIn) {
  static MapRecord world, map;
  ASSERT_TRUE(LoadMap("FullVersion", "WorldMap.dat", &world));
  struct Arrival {
    int map, x, y;
  };
  std::vector<Arrival> arrivals;
  constexpr int kPlaceMark = 5, kBattlefields = 5;
  for (int x = 0; x < world.width; ++x)
    for (int y = 0; y < world.height; ++y)
      if (world.At(kLayerObjects0, x, y) == kPlaceMark)
        arrivals.push_back({world.At(kLayerObjects1, x, y), world.At(kLayerObjects2, x, y), world.At(kLayerObjects3, x, y)});
  ASSERT_GE(arrivals.size(), 6u);
  for (int m = 0; m < kBattlefields; ++m)
    for (const auto& [x, y] : {std::pair{15, 15}, {15, 8}, {8, 8}, {8, 15}}) arrivals.push_back({m, x, y});
  for (const Arrival& a : arrivals) {
    const std::string where = "map " + std::to_string(a.map) + " from " + std::to_string(a.x) + "," + std::to_string(a.y);
    ASSERT_TRUE(LoadMap("FullVersion", "Map" + std::to_string(a.map) + ".dat", &map)) << where;
    const auto walkable = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= map.width || y >= map.height) return false;
      const int32_t wall = map.At(kLayerWalls, x, y);
      return wall <= 0 || wall == 82 || wall == 83;
    };
    ASSERT_TRUE(walkable(a.x, a.y)) << where;
    const int straight = std::min({a.x, a.y, map.width - 1 - a.x, map.height - 1 - a.y});
    std::vector<int> steps(kMapSquares, -1);
    std::deque<std::pair<int, int>> queue{{a.x, a.y}};
    steps[SquareIndex(a.x, a.y)] = 0;
    int out = -1;
    while (!queue.empty() && out < 0) {
      const auto [x, y] = queue.front();
      queue.pop_front();
      const int here = steps[SquareIndex(x, y)];
      if (x == 0 || y == 0 || x == map.width - 1 || y == map.height - 1) out = here;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        if (walkable(x + dx, y + dy) && steps[SquareIndex(x + dx, y + dy)] < 0) {
          steps[SquareIndex(x + dx, y + dy)] = here + 1;
          queue.push_back({x + dx, y + dy});
        }
    }
    EXPECT_GE(out, 0) << where << ": no way out";
    EXPECT_LE(out, straight + 2) << where << ": the nearest edge is " << straight << " steps away";
  }
}

// Every square whose script takes the party to another map shows the way
// there: it lies on the map's edge (a road out), or it or a square beside it
// holds a stair, a door or a wall with a door in its face. And every stair
// leads to open ground of a map of its adventure, facing one of the eight
// ways.
TEST(Links, EverySquareThatTakesThePartyAwayShowsAStairADoorOrTheEdge) {
  constexpr int32_t kStairsDown = 73, kStairsUp = 74, kFirstDoor = 82, kLastDoor = 85, kStoneWall = 46;
  constexpr int32_t kFloorPostern = 2017, kFloorWallDoor = 2018;
  static MapRecord map, there;
  int links = 0, stairs = 0;
  for (const char* adventure : kAdventures)
    for (int m = 0; m <= 40; ++m) {
      if (!LoadMap(adventure, "Map" + std::to_string(m) + ".dat", &map)) continue;
      const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < map.width && y < map.height; };
      const auto showsTheWay = [&](int x, int y) {
        if (!inside(x, y)) return false;
        const int32_t wall = map.At(kLayerWalls, x, y), floor = map.At(kLayerFloor, x, y);
        return wall == kStairsDown || wall == kStairsUp || (wall >= kFirstDoor && wall <= kLastDoor) ||
               (wall == kStoneWall && (floor == kFloorPostern || floor == kFloorWallDoor));
      };
      for (int x = 0; x < map.width; ++x)
        for (int y = 0; y < map.height; ++y) {
          const std::string where = std::string(adventure) + " map " + std::to_string(m) + " square " +
                                    std::to_string(x) + "," + std::to_string(y);
          const int32_t wall = map.At(kLayerWalls, x, y);
          if (wall == kStairsDown || wall == kStairsUp) {
            ++stairs;
            const int32_t to = map.At(kLayerObjects0, x, y), tx = map.At(kLayerObjects1, x, y),
                          ty = map.At(kLayerObjects2, x, y), facing = map.At(kLayerObjects3, x, y);
            ASSERT_TRUE(to >= 0 && to <= 40 && LoadMap(adventure, "Map" + std::to_string(to) + ".dat", &there))
                << where << " leads to map " << to;
            EXPECT_TRUE(tx >= 0 && ty >= 0 && tx < there.width && ty < there.height &&
                        there.At(kLayerWalls, tx, ty) <= 0)
                << where << " lands on " << tx << "," << ty << " of map " << to;
            EXPECT_TRUE(facing >= 1 && facing <= 8) << where;
          }
          const int32_t event = map.At(kLayerEvents, x, y);
          if (event == 0) continue;
          const bool door = wall >= kFirstDoor && wall <= kLastDoor;
          bool away = false;
          for (const auto& c : ScriptCommands(adventure, "Map" + std::to_string(m) + (door ? "_Open" : "_") + std::to_string(event)))
            away |= c[0] == kPlace && c.size() >= 5 && c[1] < kPartySize && c[2] != m;
          if (!away) continue;
          ++links;
          bool shown = x == 0 || y == 0 || x == map.width - 1 || y == map.height - 1;
          for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) shown |= showsTheWay(x + dx, y + dy);
          EXPECT_TRUE(shown) << where << " takes the party away and shows no way there";
        }
    }
  EXPECT_GE(links, 20);
  EXPECT_GE(stairs, 6);
}

// Everyone the main adventure places stands on open ground of its map, on a
// square of its own: not in a campfire, on an altar, a table or a chair
// (the introductory adventure's test checks its own people).
TEST(People, EveryoneOfTheMainAdventureStandsOnOpenGroundOfItsMap) {
  ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", "FullVersion"), 1);
  static MapRecord maps[41];
  bool loaded[41] = {};
  std::map<std::tuple<int, int, int>, std::string> taken;
  int people = 0;
  for (int id = kPartySize; id < kCreatureCount; ++id) {
    const CreatureRecord& c = Creatures[id];
    if (c.name[0] == '\0') continue;
    ++people;
    ASSERT_TRUE(c.map >= 0 && c.map <= 40) << c.name;
    if (!loaded[c.map]) {
      loaded[c.map] = LoadMap("FullVersion", "Map" + std::to_string(c.map) + ".dat", &maps[c.map]);
      ASSERT_TRUE(loaded[c.map]) << c.name << " on map " << c.map;
    }
    const MapRecord& m = maps[c.map];
    EXPECT_TRUE(c.squareX >= 0 && c.squareY >= 0 && c.squareX < m.width && c.squareY < m.height &&
                m.At(kLayerWalls, c.squareX, c.squareY) <= 0)
        << c.name << " stands on " << c.squareX << "," << c.squareY << " of map " << c.map;
    const auto [at, fresh] = taken.emplace(std::tuple{c.map, c.squareX, c.squareY}, c.name);
    EXPECT_TRUE(fresh) << c.name << " shares a square with " << at->second;
  }
  EXPECT_GE(people, 30);
}

// The name of an item code a creature wears or carries; empty for none.
std::string ItemName(uint32_t code) {
  if (IsCraftedCode(code)) return CraftedWeapons[code].name;
  if (code >= kFirstBaseItemCode && code - kFirstBaseItemCode < static_cast<uint32_t>(kItemRows))
    return ItemTable[code - kFirstBaseItemCode].name;
  return {};
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Whether `word` stands in `text` as a whole word (lower case both).
bool HasWord(const std::string& text, const std::string& word) {
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const bool before = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
    const size_t end = at + word.size();
    const bool after = end == text.size() || !std::isalpha(static_cast<unsigned char>(text[end]));
    if (before && after) return true;
  }
  return false;
}

// The words a creature's text may use for a weapon or armour, and what each
// of them names: an item whose name holds one of the parts ("axe" is a
// handaxe, a battle axe, a greataxe or a waraxe; "mail" any mail or a chain
// shirt). A word counts in the plural too.
struct GearWord {
  const char* word;
  std::vector<std::string> parts;
};
const GearWord kGearWords[] = {
    {"axe", {"axe"}},           {"sword", {"sword"}},    {"bow", {"bow"}},         {"crossbow", {"crossbow"}},
    {"spear", {"spear"}},       {"mace", {"mace"}},      {"hammer", {"hammer"}},   {"club", {"club"}},
    {"cudgel", {"club"}},       {"dagger", {"dagger"}},  {"knife", {"dagger", "kukri"}},
    {"pick", {"pick"}},         {"flail", {"flail"}},    {"shield", {"shield"}},
    {"mail", {"mail", "chain shirt"}},                   {"plate", {"plate"}},
};

// Whether `word` stands in `text` as a whole word or its plural.
bool HasWordOrPlural(const std::string& text, const std::string& word) {
  return HasWord(text, word) || HasWord(text, word + "s") || HasWord(text, word + "es");
}

// Whoever the words of either adventure say carries a weapon or wears
// armour has it: a weapon, shield or armour of the item table named in a
// creature's text, or a word for one ("leaning on his axe", "in its rotted
// mail"), is among what it wears or carries.
TEST(People, WhoeverIsSaidToCarryAWeaponCarriesIt) {
  ASSERT_EQ(LoadItemTable(), 1);
  int said = 0;
  for (const char* adventure : kAdventures) {
    ASSERT_TRUE(LoadPreparedStart(adventure)) << adventure;
    std::vector<GearWord> words;  // the prepared weapons, shields and armour by name, then the words for them
    for (int option = 1; option <= kLastItemOption; ++option) {
      const std::string name = Lower(CraftedWeapons[PreparedItemRow(option)].name);
      words.push_back({nullptr, {name}});
    }
    for (const GearWord& w : kGearWords) words.push_back(w);
    for (const CreatureRecord& c : Creatures) {
      if (c.name[0] == '\0') continue;
      const std::string text = Lower(c.description);
      std::vector<std::string> gear;
      for (const uint32_t code : c.equipment) gear.push_back(Lower(ItemName(code)));
      for (const ItemPair& p : c.carried) gear.push_back(Lower(ItemName(p.code)));
      for (const GearWord& w : words) {
        const std::string word = w.word != nullptr ? w.word : w.parts.front();
        if (!HasWordOrPlural(text, word)) continue;
        ++said;
        bool has = false;
        for (const std::string& item : gear)
          for (const std::string& part : w.parts)
            has |= w.word != nullptr ? item.find(part) != std::string::npos : HasWord(item, part);
        std::string list;
        for (const std::string& item : gear) list += item + "|";
        EXPECT_TRUE(has) << adventure << "/" << c.name << " is said to have a " << word << " and has: " << list;
      }
    }
  }
  EXPECT_GE(said, 12);
}

}  // namespace
