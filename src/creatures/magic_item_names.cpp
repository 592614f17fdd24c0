#include "creatures/magic_item_names.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "rules/casting_rules.h"
#include "rules/item_tables.h"

const char ItemSpecialNameTable[kItemSpecialCount + 1][6] = {
    "",      "Death", "Doom",  "Light", "Blind", "Swift", "Drain", "Wound", "Holy",  "Evil",  "Law",   "Chaos",
    "Fire",  "Frost", "Shock", "Sun",   "Bane",  "Fire",  "Frost", "Shock", "Keen",  "Storm", "Acid",  "Acid",
    "Acid",  "Cold",  "Cold",  "Cold",  "Shock", "Shock", "Shock", "Fire",  "Fire",  "Fire",  "Sonic", "Sonic",
    "Sonic", "Aura",  "Aura",  "Aura",  "Soak",  "Spell", "Spell", "Spell", "Spell", "Spell"};

const int SpecialAbilityPictureTable[kItemSpecialCount + 1] = {
    0, 1, 5, 2, 4, 1, 5, 3, 4, 4, 4, 4, 1, 2, 5, 4, 3, 1, 2, 5, 3, 2, 3,
    3, 3, 2, 2, 2, 5, 5, 5, 1, 1, 1, 4, 4, 4, 2, 2, 2, 5, 4, 4, 4, 4, 4};

const char ItemShortNameTable[kItemOptionCount][7] = {
    "N/A",    "Dagger", "Mace",   "Sickle", "Club",   "Mace",   "Star",   "Spear",  "Wand",   "Spear",
    "Crsbow", "Crsbow", "Hammer", "Axe",    "Kukri",  "Pick",   "Sword",  "Axe",    "Flail",  "Sword",
    "Pick",   "Rapier", "Blade",  "Tridnt", "Hammer", "Blade",  "Axe",    "Club",   "Flail",  "Sword",
    "Halbrd", "Scythe", "Bow",    "Bow",    "Sword",  "Axe",    "Shield", "Shield", "Mail",   "Plate",
    "Shirt",  "Mail",   "Plate",  "Plate",  "Armor",  "Armor",  "Mail",   "Mail",   "Armor"};

namespace {

constexpr int kFirstPreparedRow = 4951;  // item option k is prepared row 4951 + k
constexpr int kPictureWithoutAbility = 6;

bool IsCraftedRow(int row) { return row >= 1 && row < kCraftedRows; }
bool IsPreparedOption(int option) { return option >= 1 && option < kItemOptionCount; }

// The special ability an item's name shows: the weapon abilities in order,
// then the armour abilities, the strongest grade of each first. 0 for none.
int NamedAbility(const CraftedWeaponRecord& item) {
  static constexpr int kOrder[kItemSpecialCount] = {
      1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 39, 45,
      44, 33, 27, 24, 30, 36, 40, 38, 43, 32, 26, 23, 29, 35, 42, 31, 25, 22, 28, 34, 37, 41};
  for (int k : kOrder)
    if (item.properties[k - 1] != 0) return k;
  return 0;
}


// A wand's price for 50 charges of a spell of level 1 to 4; 0 otherwise.
int64_t FullWandPrice(const SpellRecord& spell) {
  static constexpr int kBase[5] = {0, 3, 18, 45, 84};
  if (spell.level < 1 || spell.level > 4) return 0;
  const int64_t b = static_cast<int64_t>(spell.xpCost) + kBase[spell.level];
  return (5 * b + spell.goldCost) * 50;
}

// A name that only says the item is a wand, or of which spell: "Wand",
// "Masterwork Wand", a spell keyword or a keyword followed by " Wand".
bool IsPlainWandName(const char* name) {
  if (std::strcmp(name, "Wand") == 0 || std::strcmp(name, "Masterwork Wand") == 0) return true;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    const char* keyword = SpellKeywordFull(spell);
    const size_t length = std::strlen(keyword);
    if (length == 0 || std::strncmp(name, keyword, length) != 0) continue;
    if (name[length] == 0 || std::strcmp(name + length, " Wand") == 0) return true;
  }
  return false;
}

}  // namespace

int BuildMagicItemName(int row) {
  if (!IsCraftedRow(row)) return 1;
  CraftedWeaponRecord& item = CraftedWeapons[row];
  const int ability = NamedAbility(item);
  const int option = item.itemType;

  // Each part is written only when its table has an entry for it.
  char text[sizeof item.name];
  int used = std::snprintf(text, sizeof text, "+%i", static_cast<int>(item.enhancement));
  auto append = [&](const char* word) {
    if (used >= 0 && static_cast<size_t>(used) < sizeof text)
      used += std::snprintf(text + used, sizeof text - static_cast<size_t>(used), " %s", word);
  };
  if (ability > 0) append(ItemSpecialNameTable[ability]);
  if (option >= 0 && option < kItemOptionCount) append(ItemShortNameTable[option]);
  std::memset(item.name, 0, sizeof item.name);
  std::snprintf(item.name, sizeof item.name, "%s", text);

  if (IsPreparedOption(option))
    item.icon = MovedCraftedPicture(CraftedWeapons[kFirstPreparedRow + option].icon,
                                    ability > 0 ? SpecialAbilityPictureTable[ability] : kPictureWithoutAbility);
  return 1;
}

int32_t WandPictureForSchool(int32_t picture, int32_t school) {
  // The band of seven wand pictures of each spell school starts here.
  static constexpr int32_t kBands[9] = {-1, 70, 42, 35, 56, 28, 35, 63, 49};
  if (school < 1 || school > 8) return picture;
  // The picture keeps its place within its band of seven; a picture outside
  // the wand bands takes the first place.
  const int32_t place = picture >= 28 && picture <= 76 ? (picture - 28) % 7 : 0;
  return kBands[school] + place;
}

int BuildWandName(int row, int spell) {
  if (!IsCraftedRow(row) || spell < 0 || spell >= kSpellRows) return 1;
  CraftedWeaponRecord& wand = CraftedWeapons[row];
  const SpellRecord& record = SpellTable[spell];

  // 50 charges add exactly the full price.
  const int64_t added = static_cast<int64_t>(wand.charges) * FullWandPrice(record) * 2 / 100;
  wand.price = ChangedCraftedPrice(wand.price, added);

  wand.icon = WandPictureForSchool(wand.icon, record.school);

  wand.name[sizeof wand.name - 1] = 0;
  const char* keyword = SpellKeywordFull(spell);
  if (*keyword && IsPlainWandName(wand.name)) {
    std::memset(wand.name, 0, sizeof wand.name);
    if (std::strlen(keyword) < 11)
      std::snprintf(wand.name, sizeof wand.name, "%s Wand", keyword);
    else
      std::snprintf(wand.name, sizeof wand.name, "%s", keyword);
  }
  return 1;
}
