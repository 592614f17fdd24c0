#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "creatures/creature_treasure.h"
#include "creatures/treasure_rows.h"
#include "engine/widgets.h"
#include "platform/system.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "tablemaker/spell_sounds.h"
#include "tablemaker/tablemaker.h"

namespace fs = std::filesystem;

namespace {

// The prepared crafted row of item option k, and a base item's code.
constexpr uint32_t PreparedRow(int option) { return kFirstPreparedItemRow - 1 + option; }
constexpr uint32_t BaseItem(int row) { return kFirstBaseItemCode + row; }

// The tables made by the build, loaded from the game folder.
TEST(ItemTablesTest, CompiledTablesLoadWithTheirSourceValues) {
  ASSERT_EQ(LoadItemTable(), 1);
  ASSERT_EQ(LoadSpellTable(), 1);
  ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "DemoVersion"), 1);

  const SpellRecord& fireball = SpellTable[31];
  EXPECT_STREQ(fireball.name, "Fireball");
  EXPECT_EQ(fireball.level, 3);
  EXPECT_EQ(fireball.school, 5);
  EXPECT_EQ(fireball.divine, 0);
  EXPECT_EQ(fireball.target, 7);
  EXPECT_EQ(fireball.areaSize, 20);
  EXPECT_EQ(fireball.metamagic[kMetaMaximise], 1);
  EXPECT_EQ(fireball.effects[0].code, 3);  // fire damage
  EXPECT_STREQ(SpellTable[107].name, "Cure Light Wounds");
  EXPECT_EQ(SpellTable[107].divine, 1);
  EXPECT_EQ(SpellTable[41].goldCost, 250);
  EXPECT_EQ(SpellTable[174].level, 9);
  EXPECT_STREQ(SpellTable[179].name, "Extra Spell 5");
  // Every spell a player can cast is heard as it is cast: one of the magic sounds.
  for (int r = 0; r < kFirstSpareSpell; ++r)
    EXPECT_TRUE(SpellTable[r].castSound >= 1 && SpellTable[r].castSound <= 24) << SpellTable[r].name;

  EXPECT_EQ(ItemTable[1].baseType, 7);
  EXPECT_EQ(ItemTable[2].baseType, 17);
  EXPECT_EQ(ItemTable[3 + 31].baseType, 19);
  EXPECT_EQ(ItemTable[3 + 31].bonus, 31);
  EXPECT_STREQ(ItemTable[3 + 31].name, "Scroll of Fireball");
  EXPECT_EQ(ItemTable[484].baseType, 39);
  EXPECT_EQ(ItemTable[515].price, 4000);
  EXPECT_EQ(ItemTable[193].baseType, 38);
  EXPECT_EQ(ItemTable[193].place, 14);
  // A mirrored row is the same item, left behind on the floor.
  EXPECT_STREQ(ItemTable[kArrowsRow - 1 + 193].name, ItemTable[193].name);
  EXPECT_EQ(ItemTable[434].noSale, 1);
  EXPECT_EQ(ItemTable[193].noSale, 0);

  const CraftedWeaponRecord& longsword = CraftedWeapons[PreparedRow(19)];
  EXPECT_STREQ(longsword.name, "Longsword");
  EXPECT_EQ(longsword.itemType, 19);
  EXPECT_EQ(longsword.dieCount, 1);
  EXPECT_EQ(longsword.dieSides, 8);
  EXPECT_EQ(longsword.critLow, 19);
  EXPECT_EQ(longsword.critMultiplier, 2);
  EXPECT_EQ(longsword.dieKind, 4);
  const CraftedWeaponRecord& plate = CraftedWeapons[PreparedRow(42)];
  EXPECT_EQ(plate.dieSides, 8);  // armour bonus
  EXPECT_EQ(plate.proficiency, 7);
  EXPECT_EQ(plate.handling, 6);
  EXPECT_EQ(CraftedWeapons[PreparedRow(8)].icon, 28);
  // Rows outside the prepared ones start empty (the first rows hold the
  // prepared party's own items).
  EXPECT_EQ(CraftedWeapons[kFirstGeneratedItemRow - 1].name[0], 0);
}

// Spells that do alike sound alike: each row of the table source names the
// sound family it casts with and the one that takes hold on its targets, and
// the game's table sounds as the table tool's families say (a target's event
// may be the refusal's); the spare rows are silent.
TEST(ItemTablesTest, SpellSoundsFollowTheirFamilies) {
  ASSERT_EQ(LoadSpellTable(), 1);
  const fs::path source = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content" / "tables";
  std::ifstream in(source / "spells.txt", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Rows rows = CompileTable(*FindSchema("spells"), "spells.txt", text).rows;
  ASSERT_EQ(rows.size(), static_cast<size_t>(kSpellRows));
  const auto word = [&](int r, int at) {
    int32_t v;
    std::memcpy(&v, &rows[r][at], sizeof v);
    return v;
  };
  RowProblems faults;
  for (int r = 0; r < kFirstSpareSpell; ++r) {
    const SpellRecord& spell = SpellTable[r];
    CheckSpellSounds(r, word(r, kFamilyWord), word(r, kHoldsWord), spell.castSound, spell.effectSound,
                     spell.targetSound, &faults);
  }
  for (const RowProblem& fault : faults)
    ADD_FAILURE() << SpellTable[fault.row].name << " '" << fault.field << "': " << fault.text;
  for (int r = kFirstSpareSpell; r < kSpellRows; ++r)
    EXPECT_EQ(SpellTable[r].castSound | SpellTable[r].effectSound | SpellTable[r].targetSound, 0) << r;
}

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("tables_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(dir_);
  }
  static void WriteZeros(const char* path, size_t bytes) {
    std::ofstream out(path, std::ios::binary);
    std::vector<char> zeros(bytes, 0);
    out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  }
  // A copy of the game's file with one word of a row changed.
  struct Damage {
    int row, at;  // the word's place in the row
    int64_t value;
    bool fits;
  };
  // The game's file (the table read from it) with each damage in turn: one
  // that fits loads, one that does not is fatal with the loader's message
  // and leaves the table as it was.
  template <typename Row, size_t N>
  static void ExpectOnlyFittingWordsLoad(const char* file, int (*load)(), Row (&table)[N], const char* kind,
                                         const std::vector<char>& game, const std::vector<Damage>& damages) {
    std::ofstream(file, std::ios::binary).write(game.data(), static_cast<std::streamsize>(game.size()));
    ASSERT_EQ(load(), 1);
    const std::vector<Row> loaded(table, table + N);
    const int before = platform::MessageBoxCount();
    int refused = 0;
    for (const Damage& d : damages) {
      SCOPED_TRACE(std::to_string(d.row) + " " + std::to_string(d.at) + " " + std::to_string(d.value));
      std::vector<char> damaged = game;
      const int32_t word = static_cast<int32_t>(d.value);
      std::memcpy(damaged.data() + d.row * sizeof(Row) + d.at, &word, 4);
      std::ofstream(file, std::ios::binary).write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
      ASSERT_EQ(load(), d.fits ? 1 : 0);
      if (d.fits) {
        std::memcpy(static_cast<void*>(table), loaded.data(), sizeof table);
        continue;
      }
      ++refused;
      EXPECT_EQ(platform::LastMessageBoxText(),
                std::string("Damaged ") + kind + " file: row " + std::to_string(d.row) + " holds a value out of range.");
      EXPECT_EQ(std::memcmp(static_cast<const void*>(loaded.data()), table, sizeof table), 0);
    }
    EXPECT_EQ(platform::MessageBoxCount(), before + refused);
  }
  // Every word at either end of its range (fits), and one past each end.
  struct Range {
    int at;
    int32_t low, high;
  };
  static void AddRangeEnds(int row, std::initializer_list<Range> ranges, std::vector<Damage>* damages) {
    for (const Range& r : ranges)
      for (const int64_t value : {int64_t{r.low} - 1, int64_t{r.low}, int64_t{r.high}, int64_t{r.high} + 1})
        damages->push_back({row, r.at, value, value >= r.low && value <= r.high});
  }
  static std::vector<char> GameFile(const fs::path& path, size_t bytes) {
    std::vector<char> game(bytes);
    std::ifstream(path, std::ios::binary).read(game.data(), static_cast<std::streamsize>(game.size()));
    return game;
  }
  fs::path home_, dir_;
};

TEST_F(ScratchFolder, ShortOrMissingTableFilesAreFatal) {
  const int before = platform::MessageBoxCount();
  EXPECT_EQ(LoadItemTable(), 0);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not open item file.");
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");

  WriteZeros("Item1.iml", 951999);
  EXPECT_EQ(LoadItemTable(), 0);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not read item file.");

  EXPECT_EQ(LoadSpellTable(), 0);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not open spell file.");
  WriteZeros("Spell1.sml", 119520 - 664);
  EXPECT_EQ(LoadSpellTable(), 0);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not read spell file.");
  EXPECT_EQ(platform::MessageBoxCount(), before + 4);
  // A whole table of empty rows (no name, every word 0) holds no spell and loads.
  WriteZeros("Spell1.sml", 119520);
  EXPECT_EQ(LoadSpellTable(), 1);
  EXPECT_EQ(platform::MessageBoxCount(), before + 4);
}

// Every word of a spell row the game computes with loads at either end of its
// range, a duration value also at the mark 2000; one past it (a level of
// 2,147,483,647 overflowed a heightened cast's slot) is fatal and leaves the
// table as it was, and so is a level a row without a name may not hold either.
TEST_F(ScratchFolder, ASpellWordOutOfItsRangeIsFatalAndLeavesTheTable) {
  std::vector<char> game = GameFile(home_ / "Spell1.sml", 119520);
  std::vector<Damage> damages;
  AddRangeEnds(1, {{452, 1, 9},    {456, 0, 1000000}, {460, 0, 1000000}, {516, 0, 300},  {520, 0, 300},
                   {564, 0, 28},   {568, 0, 28},      {572, 0, 28},      {584, 0, 1000}, {588, 0, 1000},
                   {592, 0, 1000}, {616, 0, 1000},    {620, 0, 1000},    {624, 0, 1000}},
               &damages);
  for (const int at : {584, 616})
    for (const int64_t value : {1999, 2000, 2001}) damages.push_back({1, at, value, value == 2000});
  // Row 175 without its name: level 0 or 1 to 9.
  std::memset(game.data() + 175 * kSpellRowBytes, 0, 50);
  for (const int64_t value : {-1, 0, 9, 10, 2147483647}) damages.push_back({175, 452, value, value >= 0 && value <= 9});
  damages.push_back({1, 452, 2147483647, false});
  ExpectOnlyFittingWordsLoad("Spell1.sml", LoadSpellTable, SpellTable, "spell", game, damages);
}

// Each word of an item row loads at either end of its range, and one past it
// is fatal and leaves the table as it was; so are the damages that overflowed
// the rules: one changed byte of the game's file making the Health Amulet +4's
// bonus -1,476,395,004 (halved and multiplied by its wearer's level), and a
// bonus of 2,147,483,647 on Bracers of Armor and on a Ring of Protection
// (summed into the armour class).
TEST_F(ScratchFolder, AnItemWordOutOfItsRangeIsFatalAndLeavesTheTable) {
  std::vector<char> game = GameFile(home_ / "Item1.iml", static_cast<size_t>(kItemRows) * kItemRowBytes);
  ASSERT_EQ(std::string(game.data() + 227 * kItemRowBytes), "Health Amulet +4");
  ASSERT_EQ(std::string(game.data() + 198 * kItemRowBytes), "Bracers of Armor +1");
  ASSERT_EQ(std::string(game.data() + 193 * kItemRowBytes), "Ring of Protection +1");
  std::vector<Damage> damages{{227, 460, -1476395004, false}, {198, 460, 2147483647, false}, {193, 460, 2147483647, false}};
  AddRangeEnds(1, {{452, 0, 39}, {456, 0, 10000000}, {460, -1000, 1000000}, {464, 0, kLastFigure}, {468, 0, 3}, {472, 0, 15}},
               &damages);
  ExpectOnlyFittingWordsLoad("Item1.iml", LoadItemTable, ItemTable, "item", game, damages);
}

TEST_F(ScratchFolder, AbsentCraftedFileLeavesEveryRowEmptyAndSaysNothing) {
  std::strcpy(CraftedWeapons[5].name, "Old Sword");
  CraftedWeapons[4999].price = 7;
  const int before = platform::MessageBoxCount();
  EXPECT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\%i\\SaveWeapon.wml", "FullVersion", 3), 0);
  for (const CraftedWeaponRecord& row : CraftedWeapons) ASSERT_EQ(row.name[0], 0);
  EXPECT_EQ(CraftedWeapons[4999].price, 0);
  WriteZeros("SaveWeapon.wml", 3760000 - 1);
  EXPECT_EQ(LoadCraftedWeapons("SaveWeapon.wml"), 0);
  EXPECT_EQ(platform::MessageBoxCount(), before);
}

// Reading a file over rows already there gives the file's rows alone, whatever
// was in the table (rows the file leaves empty among them).
TEST(ItemTablesTest, ReadingAgainOverChangedRowsGivesTheFilesRows) {
  ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "DemoVersion"), 1);
  const std::vector<CraftedWeaponRecord> read(CraftedWeapons, CraftedWeapons + kCraftedRows);
  int empty = 0;
  while (empty < kCraftedRows && read[empty].name[0] != 0) ++empty;
  ASSERT_LT(empty, kCraftedRows);
  ASSERT_NE(read[PreparedRow(19)].name[0], 0);
  std::strcpy(CraftedWeapons[empty].name, "Old Sword");
  CraftedWeapons[PreparedRow(19)].dieSides = 12;
  CraftedWeapons[kCraftedRows - 1].price = 7;
  ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "DemoVersion"), 1);
  EXPECT_EQ(std::memcmp(static_cast<const void*>(read.data()), CraftedWeapons, sizeof CraftedWeapons), 0);
}

TEST_F(ScratchFolder, RowTextsAlwaysEndInATerminator) {
  std::vector<uint8_t> row(kItemRowBytes, 'A');
  ItemRecord item;
  DecodeItemRow(row.data(), &item);
  EXPECT_EQ(std::strlen(item.name), 49u);
  EXPECT_EQ(std::strlen(item.description), 401u);
  EXPECT_EQ(item.baseType, 0x41414141);
}

// Rows decoded together give what each decoded alone gives: texts that fill
// their fields ended, every word in place.
TEST(ItemTablesTest, RowsDecodedTogetherAreTheRowsDecodedOneByOne) {
  constexpr int kRows = 7;
  std::vector<uint8_t> image(kRows * kCraftedRowBytes);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(1 + i * 37 % 255);  // no zero
  std::vector<CraftedWeaponRecord> alone(kRows), together(kRows);
  for (int r = 0; r < kRows; ++r) DecodeCraftedRow(image.data() + r * kCraftedRowBytes, &alone[r]);
  DecodeCraftedRows(image.data(), together.data(), kRows);
  EXPECT_EQ(std::memcmp(alone.data(), together.data(), sizeof(CraftedWeaponRecord) * kRows), 0);
  EXPECT_EQ(std::strlen(together[3].name), 49u);
  EXPECT_EQ(std::strlen(together[6].description), 401u);
}

TEST(AmmunitionTest, BowsNeedArrowsAndCrossbowsBolts) {
  ASSERT_EQ(LoadItemTable(), 1);
  ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "FullVersion"), 1);
  CreatureRecord& c = Creatures[9];
  std::memset(&c, 0, sizeof c);
  struct Case {
    uint32_t weapon, ammo;
    int32_t count;
    bool usable;
  } cases[] = {
      {PreparedRow(32), BaseItem(1), 1, true},   // longbow, arrows
      {PreparedRow(32), BaseItem(1), 0, false},  // no arrows left
      {PreparedRow(33), BaseItem(232), 3, true}, // shortbow, sleep arrows
      {PreparedRow(32), BaseItem(2), 5, false},  // bow with bolts
      {PreparedRow(11), BaseItem(2), 0, true},   // light crossbow, bolts, whatever the count
      {PreparedRow(10), BaseItem(1), 5, false},  // crossbow with arrows
      {PreparedRow(19), BaseItem(1), 5, false},  // a sword
      {BaseItem(1), BaseItem(1), 5, false},      // a base item in the ranged place
      {PreparedRow(32), PreparedRow(1), 5, false},
  };
  for (const Case& k : cases) {
    c.equipment[kSlotRanged - 1] = k.weapon;
    c.ammunition = ItemPair{k.ammo, k.count};
    EXPECT_EQ(HasUsableAmmunition(9), k.usable) << k.weapon << " " << k.ammo << " " << k.count;
  }
}

}  // namespace
