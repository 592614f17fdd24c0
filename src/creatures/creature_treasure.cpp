#include "creatures/creature_treasure.h"

#include <cstdint>
#include <cstring>

#include "creatures/magic_item_names.h"
#include "creatures/treasure_rows.h"
#include "creatures/unheld_item_rows.h"
#include "engine/random.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"

namespace {

constexpr int kHighestRating = 20;

// One die of the given sides.
int Die(int sides) { return static_cast<int>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1; }

int Dice(int count, int sides) {
  int sum = 0;
  for (int i = 0; i < count; ++i) sum += Die(sides);
  return sum;
}

template <typename T, size_t N>
T DrawFrom(const T (&list)[N]) {
  return list[RandomUpTo(static_cast<uint32_t>(N - 1))];
}

// How many rolls a treasure multiplier gives: 5 and 6 one roll with a 10 % or
// 50 % chance, any other value that many.
int MultiplierRolls(int multiplier) {
  if (multiplier == 5) return Die(100) <= 10 ? 1 : 0;
  if (multiplier == 6) return Die(100) <= 50 ? 1 : 0;
  return multiplier > 0 ? multiplier : 0;
}

int ClampRating(int rating) { return rating < -1 ? -1 : rating > kHighestRating ? kHighestRating : rating; }

// ------------------------------------------------------------------ coins

// The coins of one roll by rating: dice x unit, the last digits drawn at
// random (for example rating 1: 2d8 x 10 + d10 - 10).
struct CoinRow {
  int count, sides, unit;
};
constexpr CoinRow kCoinRows[kHighestRating + 2] = {
    {1, 10, 10},   {1, 10, 10},   {2, 8, 10},    {4, 10, 10},   {1, 10, 100},  {1, 10, 100},  {1, 10, 100},
    {1, 10, 100},  {2, 6, 100},   {2, 8, 100},   {5, 4, 100},   {6, 4, 100},   {4, 8, 100},   {1, 4, 1000},
    {1, 4, 1000},  {1, 6, 1000},  {1, 8, 1000},  {1, 12, 1000}, {3, 4, 1000},  {3, 6, 1000},  {3, 8, 1000},
    {4, 8, 1000}};

int RollCoinRow(int rating) {
  if (Die(100) <= 10) return 0;
  const CoinRow& row = kCoinRows[ClampRating(rating) + 1];
  return Dice(row.count, row.sides) * row.unit + Die(row.unit) - row.unit;
}

// ------------------------------------------------------------------ gems

// The fifteen gems in order of value; row 502 + index, value in gold.
constexpr int kGemValues[15] = {5, 10, 15, 30, 50, 70, 80, 100, 120, 400, 600, 700, 1300, 4000, 6000};

// A gem by the value bands: 1-25 the three cheapest, 26-50 the next three,
// 51-70 the next three, 71-90 two, 91-99 two, 100 the two dearest.
int DrawGemIndex() {
  const int r = Die(100);
  if (r <= 25) return Die(3) - 1;
  if (r <= 50) return 3 + Die(3) - 1;
  if (r <= 70) return 6 + Die(3) - 1;
  if (r <= 90) return 9 + Die(2) - 1;
  if (r <= 99) return 11 + Die(2) - 1;
  return 13 + Die(2) - 1;
}

int GemPrice(int row) { return row >= 0 && row < kItemRows ? ItemTable[row].price : 0; }

bool GiveCarried(int creature, uint32_t code, int count) {
  const int pair = FindFreeItemPair(creature);
  if (pair < 0) return false;
  Creatures[creature].carried[pair] = {code, count};
  return true;
}

bool GiveBaseItem(int creature, int row, int count) {
  return GiveCarried(creature, kFirstBaseItemCode + static_cast<uint32_t>(row), count);
}

// Gems worth `value` in gold: as many of one drawn kind as the value buys,
// and with the remainder as many of a second kind as it buys when that kind
// is not dearer than the remainder. A kind dearer than the value, or one
// without a price, is given once.
void GiveGemsWorth(int creature, int value) {
  const int first = PickGemRow();
  const int price = GemPrice(first);
  if (price <= 0 || price > value) {
    GiveBaseItem(creature, first, 1);
    return;
  }
  GiveBaseItem(creature, first, value / price);
  const int remainder = value % price;
  const int second = PickGemRow();
  const int secondPrice = GemPrice(second);
  if (secondPrice > 0 && secondPrice <= remainder) GiveBaseItem(creature, second, remainder / secondPrice);
}

// ------------------------------------------------------------------ magic items

struct GradeRow {
  int nothing, minor, medium, major;  // a d100 up to `nothing` gives nothing, then the chances
};
constexpr GradeRow kGradeRows[kHighestRating + 2] = {
    {99, 1, 0, 0},   {97, 3, 0, 0},   {95, 5, 0, 0},   {90, 10, 0, 0},  {80, 20, 0, 0},  {70, 30, 0, 0},
    {60, 40, 0, 0},  {60, 39, 1, 0},  {60, 37, 3, 0},  {60, 35, 5, 0},  {60, 30, 10, 0}, {60, 24, 15, 1},
    {60, 17, 20, 3}, {60, 10, 25, 5}, {60, 5, 28, 7},  {60, 5, 25, 10}, {60, 3, 24, 13}, {60, 3, 22, 15},
    {60, 3, 17, 20}, {60, 0, 17, 22}, {60, 0, 15, 24}, {60, 0, 10, 29}};

int RollGrade(int rating) {
  if (rating < -1) return kTreasureNothing;
  const GradeRow& g = kGradeRows[ClampRating(rating) + 1];
  const int r = Die(100);
  if (r <= g.nothing) return kTreasureNothing;
  // The highest grade with a chance takes every value above the lower grades.
  const int highest = g.major > 0 ? kTreasureMajor : g.medium > 0 ? kTreasureMedium : kTreasureMinor;
  if (r <= g.nothing + g.minor || highest == kTreasureMinor) return kTreasureMinor;
  if (r <= g.nothing + g.minor + g.medium || highest == kTreasureMedium) return kTreasureMedium;
  return kTreasureMajor;
}

// Special abilities of the magic item tables (ability k is property flag k - 1).
constexpr int kMinorWeaponAbilities[] = {16, 17, 18, 19, 20, 21};
constexpr int kMediumWeaponAbilities[] = {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
constexpr int kMajorWeaponAbilities[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                         12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
constexpr int kMinorArmourAbilities[] = {22, 25, 28, 31, 34, 37, 41};
constexpr int kMediumArmourAbilities[] = {23, 26, 29, 32, 35, 38, 40, 42};
constexpr int kMajorArmourAbilities[] = {24, 27, 30, 33, 36, 39, 43, 44, 45};

// What a weapon ability adds to the enhancement that sets the price.
int WeaponAbilityBonus(int k) {
  static constexpr int kBonus[22] = {0, 5, 3, 4, 2, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1};
  return k >= 1 && k <= 21 ? kBonus[k] : 0;
}

// What an armour ability adds to the enhancement that sets the price, and
// the flat price of the energy resistances.
int ArmourAbilityBonus(int k) {
  switch (k) {
    case 37: case 41: return 1;
    case 42: return 2;
    case 38: case 40: case 43: return 3;
    case 44: return 4;
    case 39: case 45: return 5;
    default: return 0;
  }
}
int ArmourAbilityFlatPrice(int k) {
  if (k < 22 || k > 36) return 0;
  static constexpr int kByGrade[3] = {18000, 42000, 66000};
  return kByGrade[(k - 22) % 3];
}

// Abilities that do not suit a weapon's damage kind: keen and disruption
// want an edge or a blunt head, the vorpal ability a slashing blade.
bool SuitsWeapon(int k, int damageKind) {
  if (k == 20) return damageKind != 2;
  if (k == 15) return damageKind == 2;
  if (k == 1) return damageKind == 1;
  return true;
}

void SetAbility(CraftedWeaponRecord& item, int k) { item.properties[k - 1] = 1; }

int Square(int v) { return v * v; }

// The weapon of a magic item roll: a weapon option other than the wand.
int DrawWeaponOption() {
  const int n = static_cast<int>(RandomUpTo(33)) + 1;  // 34 weapons
  return n >= kWandOption ? n + 1 : n;
}

// Armour of a magic item roll by a d100.
int DrawArmourOption() {
  const int r = Die(100);
  if (r == 1) return 45;
  if (r == 2) return 44;
  if (r <= 17) return 48;
  if (r <= 32) return 40;
  if (r == 33) return 46;
  if (r == 34) return 41;
  if (r <= 50) return 39;
  if (r == 51) return 47;
  if (r == 52) return 38;
  if (r <= 64) return 43;
  return 42;
}
int DrawShieldOption() { return Die(100) <= 33 ? 36 : 37; }

constexpr int kMaxAbilities = 2;
constexpr int kMaxTableRolls = 20;

// A magic weapon of the grade's table: an enhancement, or a special ability
// and another roll.
int MakeTreasureWeapon(int grade) {
  struct Entry {
    int upTo, enhancement;  // enhancement 0: a special ability and roll again
  };
  static constexpr Entry kMinor[] = {{70, 1}, {90, 2}, {100, 0}};
  static constexpr Entry kMedium[] = {{10, 1}, {29, 2}, {58, 3}, {62, 4}, {68, 3}, {100, 0}};
  static constexpr Entry kMajor[] = {{20, 3}, {38, 4}, {49, 5}, {63, 4}, {100, 0}};
  const Entry* table = grade == kTreasureMajor ? kMajor : grade == kTreasureMedium ? kMedium : kMinor;

  const int row = MakeGeneratedItem(DrawWeaponOption());
  if (row < 0) return -1;
  CraftedWeaponRecord& item = CraftedWeapons[row];
  int abilities = 0, abilityBonus = 0, enhancement = table[0].enhancement;
  for (int roll = 0; roll < kMaxTableRolls; ++roll) {
    const int r = Die(100);
    const Entry* e = table;
    while (r > e->upTo) ++e;
    if (e->enhancement > 0) {
      enhancement = e->enhancement;
      break;
    }
    if (abilities >= kMaxAbilities) continue;
    int k = 0;
    for (int tries = 0; tries < kMaxTableRolls && (k == 0 || !SuitsWeapon(k, item.damageKind)); ++tries)
      k = grade == kTreasureMajor    ? DrawFrom(kMajorWeaponAbilities)
          : grade == kTreasureMedium ? DrawFrom(kMediumWeaponAbilities)
                                     : DrawFrom(kMinorWeaponAbilities);
    if (!SuitsWeapon(k, item.damageKind) || item.properties[k - 1]) continue;
    SetAbility(item, k);
    abilityBonus += WeaponAbilityBonus(k);
    ++abilities;
  }
  const int effective = enhancement + abilityBonus > 10 ? 10 : enhancement + abilityBonus;
  item.masterwork = 1;
  item.enhancement = enhancement;
  item.price = ChangedCraftedPrice(item.price, 300 + Square(effective) * 2000);
  BuildMagicItemName(row);
  return row;
}

// A magic armour or shield of the grade's table.
int MakeTreasureArmour(int grade) {
  enum Piece { kArmour, kShield, kSpecial };
  struct Entry {
    int upTo, piece, enhancement;
  };
  static constexpr Entry kMinor[] = {{60, kArmour, 1}, {80, kShield, 1}, {85, kArmour, 2}, {90, kShield, 2},
                                     {100, kSpecial, 0}};
  static constexpr Entry kMedium[] = {{5, kShield, 1},  {10, kArmour, 1}, {20, kShield, 2},
                                      {30, kArmour, 2}, {40, kShield, 3}, {50, kArmour, 3},
                                      {55, kShield, 4}, {57, kArmour, 4}, {100, kSpecial, 0}};
  static constexpr Entry kMajor[] = {{8, kShield, 3},  {16, kArmour, 3}, {27, kShield, 4}, {38, kArmour, 4},
                                     {49, kShield, 5}, {57, kArmour, 5}, {100, kSpecial, 0}};
  const Entry* table = grade == kTreasureMajor ? kMajor : grade == kTreasureMedium ? kMedium : kMinor;

  int abilityList[kMaxAbilities] = {};
  int abilities = 0;
  const Entry* chosen = table;
  for (int roll = 0; roll < kMaxTableRolls; ++roll) {
    const int r = Die(100);
    const Entry* e = table;
    while (r > e->upTo) ++e;
    if (e->piece != kSpecial) {
      chosen = e;
      break;
    }
    if (abilities < kMaxAbilities) {
      const int k = grade == kTreasureMajor    ? DrawFrom(kMajorArmourAbilities)
                    : grade == kTreasureMedium ? DrawFrom(kMediumArmourAbilities)
                                               : DrawFrom(kMinorArmourAbilities);
      if (abilities == 0 || abilityList[0] != k) abilityList[abilities++] = k;
    }
  }
  const int row = MakeGeneratedItem(chosen->piece == kShield ? DrawShieldOption() : DrawArmourOption());
  if (row < 0) return -1;
  CraftedWeaponRecord& item = CraftedWeapons[row];
  int bonus = chosen->enhancement, flat = 0;
  for (int i = 0; i < abilities; ++i) {
    SetAbility(item, abilityList[i]);
    bonus += ArmourAbilityBonus(abilityList[i]);
    flat += ArmourAbilityFlatPrice(abilityList[i]);
  }
  item.masterwork = 1;
  if (item.critLow > 0) --item.critLow;  // masterwork eases the armour check penalty
  item.enhancement = chosen->enhancement;
  item.price = ChangedCraftedPrice(item.price, 150 + Square(bonus > 10 ? 10 : bonus) * 1000 + flat);
  BuildMagicItemName(row);
  return row;
}

// Wand spells by grade: levels 1-2, 2-3 and 3-4 of the arcane and the divine
// spell rows (arcane levels start at rows 0, 14, 27, 40, 54; divine at 102,
// 119, 131, 144, 153).
constexpr SpellRun kArcaneWandSpells[3] = {{0, 26}, {14, 39}, {27, 53}};
constexpr SpellRun kDivineWandSpells[3] = {{102, 130}, {119, 143}, {131, 152}};

int DrawFromRun(const SpellRun& run) { return run.first + static_cast<int>(RandomUpTo(run.last - run.first)); }

int MakeTreasureWand(int grade) {
  const int row = MakeGeneratedItem(kWandOption);
  if (row < 0) return -1;
  const bool arcane = Die(2) == 1;
  const int spell = DrawFromRun(arcane ? kArcaneWandSpells[grade - 1] : kDivineWandSpells[grade - 1]);
  CraftedWeaponRecord& wand = CraftedWeapons[row];
  wand.spell = spell;
  wand.charges = Die(50);
  BuildWandName(row, spell);
  return row;
}

int DrawRingRow(int grade) {
  if (grade == kTreasureMajor) return kMajorRingRows[(Die(35) - 1) / 5];
  if (grade == kTreasureMedium) return kMediumRingRows[(Die(35) - 1) / 5];
  return kMinorRingRows[(Die(30) - 1) / 5];
}

int DrawScrollRow(int grade) {
  const SpellRun& run = Die(2) == 1 ? kArcaneScrollSpells[grade - 1] : kDivineScrollSpells[grade - 1];
  return kFirstScrollRow + run.first + Die(run.last - run.first + 1) - 1;
}

int DrawWondrousRow(int grade) {
  if (grade == kTreasureMajor) return kMajorWondrousRows[(Die(65) - 1) / 5];
  if (grade == kTreasureMedium) return kMediumWondrousRows[(Die(65) - 1) / 5];
  return kMinorWondrousRows[(Die(50) - 1) / 5];
}

}  // namespace

int FindFreeGeneratedItemRow() {
  for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row)
    if (CraftedWeapons[row].name[0] == 0) return row;
  return -1;
}

int MakeGeneratedItem(int option) {
  if (option < 1 || option > 48) return -1;
  const CraftedWeaponRecord& prepared = CraftedWeapons[kFirstPreparedItemRow - 1 + option];
  if (prepared.name[0] == 0) return -1;
  int row = FindFreeGeneratedItemRow();
  if (row < 0 && ReleaseUnheldRowsForNewItem() > 0) row = FindFreeGeneratedItemRow();
  if (row < 0) return -1;
  std::memcpy(&CraftedWeapons[row], &prepared, sizeof prepared);
  CraftedWeapons[row].owned = 1;
  return row;
}

bool IsGeneratedItemRow(uint32_t code) {
  return code >= static_cast<uint32_t>(kFirstGeneratedItemRow) && code <= static_cast<uint32_t>(kLastGeneratedItemRow);
}

void DropGeneratedItems(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  bool dropped = false;
  for (uint32_t& code : c.equipment)
    if (IsGeneratedItemRow(code)) {
      code = 0;
      dropped = true;
    }
  const auto dropPair = [&dropped](ItemPair& p) {
    if (!IsGeneratedItemRow(p.code)) return;
    p = ItemPair{0, 0};
    dropped = true;
  };
  dropPair(c.ammunition);
  for (ItemPair& p : c.carried) dropPair(p);
  if (dropped) NoteGeneratedItemsLetGo();
}

void ReleaseGeneratedItems(int creature) {
  if (!IsValidCreature(creature)) return;
  DropGeneratedItems(creature);
  ReleaseUnheldGeneratedItems();
}

int RollCoins(int creature, int level) {
  if (!IsValidCreature(creature)) return 0;
  const int rolls = MultiplierRolls(Creatures[creature].generation[kCoinsMultiplierWord]);
  int total = 0;
  for (int i = 0; i < rolls; ++i) total += RollCoinRow(level);
  return total;
}

int RollGoods(int creature, int challengeRating) {
  if (!IsValidCreature(creature) || challengeRating <= -2) return 0;
  static constexpr int kThresholds[kHighestRating + 2] = {99, 97, 95, 92, 90, 85, 80, 75, 70, 65, 60,
                                                          55, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5};
  const int threshold = kThresholds[ClampRating(challengeRating) + 1];
  const int rolls = MultiplierRolls(Creatures[creature].generation[kGoodsMultiplierWord]);
  int gems = 0;
  for (int i = 0; i < rolls; ++i)
    if (Die(100) > threshold) ++gems;
  return gems;
}

int PickGemRow() { return kFirstGemRow + DrawGemIndex(); }

int RollGemsValue(int count) {
  int total = 0;
  for (int i = 0; i < count; ++i) total += kGemValues[DrawGemIndex()];
  return total;
}

int GiveCreatureTreasure(int creature, int challengeRating) {
  if (!IsValidCreature(creature)) return kTreasureNothing;
  const int grade = RollGrade(challengeRating);
  if (grade == kTreasureNothing) return grade;
  const int category = Die(100);
  // A creature whose pairs are full gets nothing, and no generated row is used up.
  if (FindFreeItemPair(creature) < 0) return grade;
  if (category <= 32 || (category >= 69 && category <= 84)) {
    const int row = category <= 16   ? MakeTreasureArmour(grade)
                    : category <= 32 ? MakeTreasureWeapon(grade)
                                     : MakeTreasureWand(grade);
    if (row > 0) GiveCarried(creature, static_cast<uint32_t>(row), 1);
    return grade;
  }
  const int row = category <= 48 ? DrawRingRow(grade) : category <= 68 ? DrawScrollRow(grade) : DrawWondrousRow(grade);
  GiveBaseItem(creature, row, 1);
  return grade;
}

void GiveTreasureByRating(int creature, int challengeRating) {
  if (!IsValidCreature(creature)) return;
  const int coins = RollCoins(creature, challengeRating);
  if (coins > 0) Creatures[creature].carried[0] = {kFirstBaseItemCode + kGoldCoinsRow, coins};

  const int gems = RollGoods(creature, challengeRating);
  if (gems == 1)
    GiveBaseItem(creature, PickGemRow(), 1);
  else if (gems > 1)
    GiveGemsWorth(creature, RollGemsValue(gems));

  const int rolls = MultiplierRolls(Creatures[creature].generation[kItemsMultiplierWord]);
  for (int i = 0; i < rolls; ++i) GiveCreatureTreasure(creature, challengeRating);
}
