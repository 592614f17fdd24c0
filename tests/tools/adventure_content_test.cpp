// Both adventures as the build makes them, walked the way a new player meets
// them: whoever trades a bow or a crossbow also sells what it shoots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "adventure/script_file.h"
#include "frontend/creature_roster.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAdventures[] = {"DemoVersion", "FullVersion"};

// Script operation codes read here.
enum Op : uint32_t { kTrade = 54 };

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
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", adventure), 1) << adventure;
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", adventure), 1) << adventure;
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

}  // namespace
