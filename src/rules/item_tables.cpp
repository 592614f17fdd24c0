#include "rules/item_tables.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "engine/main_window.h"
#include "engine/reset_words.h"
#include "engine/widgets.h"
#include "platform/files.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

ItemRecord ItemTable[kItemRows];
SpellRecord SpellTable[kSpellRows];

int32_t SpellHelpPage(int spell) {
  if (spell < 0 || spell >= kSpellRows) return -1;
  const SpellRecord& s = SpellTable[spell];
  return (s.divine == 1 ? 51899 : 51001) + s.level + spell;
}
CraftedWeaponRecord CraftedWeapons[kCraftedRows];

const char BaseItemTypeNames[39][35] = {
    "Nothing",
    "Gem",
    "Letter",
    "Strange Letter",
    "Key",
    "Stone Block",
    "Corpse",
    "Arrow",
    "Sleep Arrow",
    "Humanoid Slaying Arrow",
    "Undead Slaying Arrow",
    "Outsider Slaying Arrow",
    "Giant Slaying Arrow",
    "Monstrous Humanoid Slaying Arrow",
    "Construct Slaying Arrow",
    "Animal Slaying Arrow",
    "Dragon Slaying Arrow",
    "Crossbow Bolt",
    "Lantern",
    "Magic Scroll",
    "Health Amulet",
    "Belt of Giant Strength",
    "Boots of Striding",
    "Bracers of Armor",
    "Bracers of Dexterity",
    "Cloak of the Spider",
    "Cloak of Blur",
    "Cloak of Displacement",
    "Cloak of Resistance",
    "Cloak of Spell Resistance",
    "Cloak of Faith",
    "Headband of Intellect",
    "Helm of Wisdom",
    "Ring of Fire Resistance",
    "Ring of Cold Resistance",
    "Ring of Acid Resistance",
    "Ring of Electricity Resistance",
    "Ring of Sonic Resistance",
    "Ring of Protection",
};

const char CraftedPropertyNames[kCraftedProperties][28] = {
    "Vorpal",
    "Destruction",
    "Brilliant Energy",
    "Blindness",
    "Quick",
    "Life Stealing",
    "Wounding",
    "Holy",
    "Unholy",
    "Axiomatic",
    "Anarchic",
    "Flaming Burst",
    "Icy Burst",
    "Shock Burst",
    "Disruption",
    "Bane",
    "Flaming",
    "Frost",
    "Shock",
    "Keen",
    "Thundering",
    "Acid Resistance I",
    "Acid Resistance II",
    "Acid Resistance III",
    "Cold Resistance I",
    "Cold Resistance II",
    "Cold Resistance III",
    "Electricity Resistance I",
    "Electricity Resistance II",
    "Electricity Resistance III",
    "Fire Resistance I",
    "Fire Resistance II",
    "Fire Resistance III",
    "Sonic Resistance I",
    "Sonic Resistance II",
    "Sonic Resistance III",
    "Fortification I",
    "Fortification II",
    "Fortification III",
    "Invulnerability",
    "Spell Resistance I",
    "Spell Resistance 13",
    "Spell Resistance 15",
    "Spell Resistance 17",
    "Spell Resistance 19",
};

namespace {

int32_t Word(const uint8_t* bytes, int offset) {
  const uint8_t* p = bytes + offset;
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 |
                              static_cast<uint32_t>(p[3]) << 24);
}

// The two texts every row begins with; the last byte is kept a terminator,
// so a row without one cannot run a reader past its field.
void DecodeTexts(const uint8_t* bytes, char (&name)[50], char (&description)[402]) {
  std::memcpy(name, bytes, sizeof name);
  name[sizeof name - 1] = 0;
  std::memcpy(description, bytes + 50, sizeof description);
  description[sizeof description - 1] = 0;
}

// Reads rows one by one into the table through the decoder; returns the
// number of bytes read.
// A row that reads the same as the table's is not written over, so that
// the pages of a mostly empty table stay untouched (and cost no memory).
template <typename Row>
size_t ReadRows(FILE* file, Row* table, int rows, int rowBytes,
                void (*decode)(const uint8_t*, Row*)) {
  static_assert(std::is_trivially_copyable_v<Row>);
  uint8_t buffer[kCraftedRowBytes];
  size_t total = 0;
  for (int i = 0; i < rows; ++i) {
    const size_t got = std::fread(buffer, 1, rowBytes, file);
    total += got;
    if (got != static_cast<size_t>(rowBytes)) break;
    Row row;
    std::memcpy(static_cast<void*>(&row), &table[i], sizeof row);
    decode(buffer, &row);
    if (std::memcmp(static_cast<const void*>(&row), &table[i], sizeof row) != 0)
      std::memcpy(static_cast<void*>(&table[i]), &row, sizeof row);
  }
  return total;
}

// The item and spell tables: file "<stem>1<extension>" read whole, row by row;
// a missing file, a short read or a row whose words do not fit (`fits`; the
// message names the file's `kind`) is fatal with its own message, and the
// table stays as it was.
template <typename Row>
int LoadStaticTable(const char* stem, const char* extension, Row* table, int rows, int rowBytes,
                    void (*decode)(const uint8_t*, Row*), bool (*fits)(const Row&), const char* openMessage,
                    const char* readMessage, const char* kind) {
  char path[32];
  std::snprintf(path, sizeof path, "%s%d%s", stem, 1, extension);
  FILE* file = platform::OpenGameFile(path, "rb");
  if (!file) {
    ShowError(1, "%s", openMessage);
    return 0;
  }
  std::vector<Row> read(table, table + rows);
  const size_t total = ReadRows(file, read.data(), rows, rowBytes, decode);
  std::fclose(file);
  if (total != static_cast<size_t>(rows) * rowBytes) {
    ShowError(1, "%s", readMessage);
    return 0;
  }
  for (int i = 0; i < rows; ++i)
    if (!fits(read[i])) {
      ShowError(1, "Damaged %s file: row %i holds a value out of range.", kind, i);
      return 0;
    }
  for (int i = 0; i < rows; ++i)
    if (std::memcmp(static_cast<const void*>(&read[i]), &table[i], sizeof(Row)) != 0)
      std::memcpy(static_cast<void*>(&table[i]), &read[i], sizeof(Row));
  return 1;
}

}  // namespace

void DecodeItemRow(const uint8_t* bytes, ItemRecord* row) {
  DecodeTexts(bytes, row->name, row->description);
  row->baseType = Word(bytes, 452);
  row->price = Word(bytes, 456);
  row->bonus = Word(bytes, 460);
  row->icon = Word(bytes, 464);
  row->noSale = Word(bytes, 468);
  row->place = Word(bytes, 472);
}

void DecodeSpellRow(const uint8_t* bytes, SpellRecord* row) {
  DecodeTexts(bytes, row->name, row->description);
  row->level = Word(bytes, 452);
  row->goldCost = Word(bytes, 456);
  row->xpCost = Word(bytes, 460);
  row->unused464 = Word(bytes, 464);
  row->castingTime = Word(bytes, 468);
  row->school = Word(bytes, 472);
  row->descriptor = Word(bytes, 476);
  row->divine = Word(bytes, 480);
  row->beneficial = Word(bytes, 484);
  row->harmful = Word(bytes, 488);
  row->targeting = Word(bytes, 492);
  row->verbal = Word(bytes, 496);
  row->somatic = Word(bytes, 500);
  row->areaWord = Word(bytes, 504);
  row->range = Word(bytes, 508);
  row->target = Word(bytes, 512);
  row->areaSize = Word(bytes, 516);
  row->areaSize2 = Word(bytes, 520);
  row->word524 = Word(bytes, 524);
  row->word528 = Word(bytes, 528);
  row->rangedTouch = Word(bytes, 532);
  row->meleeTouch = Word(bytes, 536);
  row->word540 = Word(bytes, 540);
  row->immunity1 = Word(bytes, 544);
  row->immunity2 = Word(bytes, 548);
  row->animationKind = Word(bytes, 552);
  row->missile = Word(bytes, 556);
  row->animationColour = Word(bytes, 560);
  row->castSound = Word(bytes, 564);
  row->effectSound = Word(bytes, 568);
  row->targetSound = Word(bytes, 572);
  for (int e = 0; e < 2; ++e) {
    const int base = 576 + 32 * e;
    SpellEffect& fx = row->effects[e];
    fx.code = Word(bytes, base);
    fx.durationCode = Word(bytes, base + 4);
    fx.durationValue = Word(bytes, base + 8);
    fx.parameter = Word(bytes, base + 12);
    fx.amountSides = Word(bytes, base + 16);
    fx.amountCount = Word(bytes, base + 20);
    fx.save = Word(bytes, base + 24);
    fx.spellResist = Word(bytes, base + 28);
  }
  for (int m = 0; m < 6; ++m) row->metamagic[m] = Word(bytes, 640 + 4 * m);
}

void DecodeCraftedRow(const uint8_t* bytes, CraftedWeaponRecord* row) {
  DecodeTexts(bytes, row->name, row->description);
  row->itemType = Word(bytes, 452);
  row->place = Word(bytes, 456);
  row->price = Word(bytes, 460);
  row->hitPoints = Word(bytes, 464);
  row->currentHitPoints = Word(bytes, 468);
  row->material = Word(bytes, 472);
  row->hardness = Word(bytes, 476);
  row->masterwork = Word(bytes, 480);
  row->handling = Word(bytes, 484);
  row->proficiency = Word(bytes, 488);
  row->size = Word(bytes, 492);
  row->noSale = Word(bytes, 496);
  row->composite = Word(bytes, 500);
  row->owned = Word(bytes, 504);
  row->chargeDouble = Word(bytes, 508);
  row->damageKind = Word(bytes, 512);
  row->dieSides = Word(bytes, 516);
  row->dieCount = Word(bytes, 520);
  row->critLow = Word(bytes, 524);
  row->critMultiplier = Word(bytes, 528);
  row->range = Word(bytes, 532);
  row->enhancement = Word(bytes, 536);
  static_assert(std::endian::native == std::endian::little);
  std::memcpy(row->properties, bytes + 540, sizeof row->properties);
  std::memcpy(row->word720, bytes + 720, sizeof row->word720);
  row->dieKind = Word(bytes, 736);
  row->spell = Word(bytes, 740);
  row->charges = Word(bytes, 744);
  row->icon = Word(bytes, 748);
}

void DecodeCraftedRows(uint8_t* image, CraftedWeaponRecord* rows, int count) {
  // Every field of a row lies where its image has it, a word as the file
  // spells it: each text is ended in the image, and the rows go over whole.
  static_assert(std::endian::native == std::endian::little);
  static_assert(std::is_trivially_copyable_v<CraftedWeaponRecord>);
  for (int r = 0; r < count; ++r) {
    uint8_t* row = image + static_cast<size_t>(r) * kCraftedRowBytes;
    row[offsetof(CraftedWeaponRecord, description) - 1] = 0;
    row[offsetof(CraftedWeaponRecord, itemType) - 1] = 0;
  }
  platform::StreamBytes(rows, image, sizeof(CraftedWeaponRecord) * count);
}

bool CraftedRowValuesFit(const CraftedWeaponRecord& row) {
  auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
  if (!within(row.price, 0, kLargestCraftedPrice) || !within(row.hitPoints, 0, kLargestCraftedHitPoints) ||
      !within(row.size, 0, kLargestCraftedSize) || !within(row.range, 0, kLargestCraftedRange))
    return false;
  for (int32_t v : {row.dieSides, row.dieCount, row.critLow, row.critMultiplier})
    if (!within(v, 0, kLargestCraftedDice)) return false;
  return within(row.enhancement, -kLargestCraftedEnhancement, kLargestCraftedEnhancement) &&
         within(row.word720[kCraftedImprovementWord], 0, kLargestCraftedCount) &&
         within(row.spell, -1, kSpellRows - 1) && within(row.charges, 0, kLargestCraftedCount) &&
         within(row.icon, 0, kLastFigure);
}

int FirstUnfitCraftedRow(const uint8_t* image) {
  // Only the words are looked at: the texts before them hold nothing the game computes with.
  constexpr size_t kWords = offsetof(CraftedWeaponRecord, itemType);
  CraftedWeaponRecord row{};
  for (int r = 0; r < kCraftedRows; ++r) {
    std::memcpy(reinterpret_cast<uint8_t*>(&row) + kWords, image + static_cast<size_t>(r) * kCraftedRowBytes + kWords,
                kCraftedRowBytes - kWords);
    if (!CraftedRowValuesFit(row)) return r;
  }
  return -1;
}

bool ItemRowValuesFit(const ItemRecord& row) {
  auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
  return within(row.baseType, 0, kLastBaseItemType) && within(row.price, 0, kLargestItemPrice) &&
         within(row.bonus, kLowestItemBonus, kLargestItemBonus) && within(row.icon, 0, kLastFigure) &&
         within(row.noSale, 0, kLastNoSaleMark) && within(row.place, 0, kLastItemPlace);
}

bool SpellRowValuesFit(const SpellRecord& row) {
  auto within = [](int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; };
  // A row without a name holds no spell: its level may be 0.
  const int32_t lowestLevel = row.name[0] == '\0' ? 0 : 1;
  if (!within(row.level, lowestLevel, kHighestSpellLevel) || !within(row.goldCost, 0, kLargestSpellCost) ||
      !within(row.xpCost, 0, kLargestSpellCost) || !within(row.areaSize, 0, kLargestSpellArea) ||
      !within(row.areaSize2, 0, kLargestSpellArea))
    return false;
  for (int32_t sound : {row.castSound, row.effectSound, row.targetSound})
    if (!within(sound, 0, kLastSpellSoundWord)) return false;
  for (const SpellEffect& fx : row.effects)
    if (!(within(fx.durationValue, 0, kLargestSpellDurationValue) || fx.durationValue == kDurationLasting ||
          fx.durationValue == kDurationUntilRest) ||
        !within(fx.parameter, 0, kLargestSpellParameter) ||
        !within(fx.amountSides, 0, kLargestSpellAmount))
      return false;
  return true;
}

int32_t ChangedCraftedPrice(int32_t price, int64_t change) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{price} + change, 0, kLargestCraftedPrice));
}

int32_t MovedCraftedPicture(int32_t picture, int32_t offset) {
  const int64_t moved = int64_t{picture} + offset;
  return moved >= 0 && moved <= kLastFigure ? static_cast<int32_t>(moved) : picture;
}

int LoadItemTable() {
  return LoadStaticTable("Item", ".iml", ItemTable, kItemRows, kItemRowBytes, DecodeItemRow, ItemRowValuesFit,
                         "Could not open item file.", "Could not read item file.", "item");
}

int LoadSpellTable() {
  return LoadStaticTable("Spell", ".sml", SpellTable, kSpellRows, kSpellRowBytes, DecodeSpellRow, SpellRowValuesFit,
                         "Could not open spell file.", "Could not read spell file.",
                         "spell");
}

int LoadCraftedWeapons(const char* path) {
  platform::ZeroBytes(CraftedWeapons, sizeof CraftedWeapons);  // mostly empty: its pages are handed back
  FILE* file = platform::OpenGameFile(path, "rb");
  if (!file) return 0;
  const size_t total =
      ReadRows(file, CraftedWeapons, kCraftedRows, kCraftedRowBytes, DecodeCraftedRow);
  std::fclose(file);
  return total == static_cast<size_t>(kCraftedRows) * kCraftedRowBytes ? 1 : 0;
}

int LoadCraftedWeaponsFmt(const char* format, ...) {
  char path[300];
  va_list args;
  va_start(args, format);
  std::vsnprintf(path, sizeof path, format, args);
  va_end(args);
  return LoadCraftedWeapons(path);
}

bool HasUsableAmmunition(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return false;
  const CreatureRecord& c = Creatures[creature];
  const uint32_t weapon = c.equipment[kSlotRanged - 1];
  const uint32_t ammo = c.ammunition.code;
  if (weapon < 1 || weapon >= kFirstBaseItemCode) return false;
  if (ammo < kFirstBaseItemCode || ammo - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows))
    return false;
  const int kind = CraftedWeapons[weapon].itemType;
  const int ammoType = ItemTable[ammo - kFirstBaseItemCode].baseType;
  if (kind == 32 || kind == 33) return ammoType >= 7 && ammoType <= 16 && c.ammunition.count >= 1;
  if (kind == 10 || kind == 11) return ammoType == 17;
  return false;
}

void ResetItemTablesState() {
  ResetWords(ItemTable);
  ResetWords(SpellTable);
  ResetWords(CraftedWeapons);
}
