// The base item table, the spell table and the crafted item table: their row
// layouts, their files and the loaders, with the name tables of their codes.
//
// Item codes: 0 nothing; 1 to 4,999 rows of the crafted table; 5,000 to 6,999
// rows of the base table (code - 5,000). Spell ids are rows of the spell
// table; 998 stands for Turn Undead, 999 for a special attack, -1 for none.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kItemRows = 2000;
constexpr int kSpellRows = 180;
constexpr int kCraftedRows = 5000;
constexpr int kItemRowBytes = 476;
constexpr int kSpellRowBytes = 664;
constexpr int kCraftedRowBytes = 752;
constexpr int kCraftedProperties = 45;
constexpr uint32_t kFirstBaseItemCode = 5000;
// Codes 1 to 4,999 name rows of the crafted table.
inline bool IsCraftedCode(uint32_t code) { return code >= 1 && code < kFirstBaseItemCode; }

struct ItemRecord {
  char name[50];
  char description[402];
  int32_t baseType;    // row of BaseItemTypeNames (39 gold coins)
  int32_t price;       // gold
  int32_t bonus;       // value of the worn item's condition; a scroll's spell row
  int32_t icon;        // figure icon
  int32_t noSale;      // 1 left behind on the floor when the map is left, 3 a quest item
  int32_t place;       // equipment slot it fits, 14 either finger
};
static_assert(offsetof(ItemRecord, baseType) == 452);
static_assert(offsetof(ItemRecord, place) == 472);
static_assert(sizeof(ItemRecord) == kItemRowBytes);

// One effect block of a spell (filled with the spell effects).
struct SpellEffect {
  int32_t code;          // effect code, 0 none
  int32_t durationCode;
  int32_t durationValue;
  int32_t parameter;
  int32_t amountSides;
  int32_t amountCount;
  int32_t save;          // 0 none, 1-3 half, 4-6 negates (Fortitude, Willpower, Reflex)
  int32_t spellResist;
};
static_assert(sizeof(SpellEffect) == 32);

enum MetamagicFlag : int {
  kMetaMaximise = 0,
  kMetaEmpower = 1,
  kMetaWiden = 2,
  kMetaHeighten = 3,
  kMetaSilent = 4,
  kMetaStill = 5,
};

struct SpellRecord {
  char name[50];
  char description[402];
  int32_t level;          // 1 to 9
  int32_t goldCost;
  int32_t xpCost;
  int32_t unused464;
  int32_t castingTime;    // 0 nothing, 1 move, 2 standard, 3 full, 4 none
  int32_t school;         // 1 abjuration ... 8 transmutation
  int32_t descriptor;     // energy or descriptor code
  int32_t divine;         // 1 cleric spell, 0 wizard spell
  int32_t beneficial;     // aimed at the caster's friends
  int32_t harmful;        // touch attack, resistance and save only against enemies
  int32_t targeting;      // word of the area rules
  int32_t verbal;
  int32_t somatic;
  int32_t areaWord;
  int32_t range;          // 0 none, 1 personal, 2 touch, 3 15 ft, 4 35 ft, 5 60 ft
  int32_t target;         // 0 nothing ... 11 square or individual
  int32_t areaSize;       // radius or length in feet, or the second number of a size
  int32_t areaSize2;      // the first number of a size
  int32_t word524;
  int32_t word528;
  int32_t rangedTouch;
  int32_t meleeTouch;
  int32_t word540;
  int32_t immunity1;
  int32_t immunity2;
  int32_t animationKind;
  int32_t missile;
  int32_t animationColour;
  int32_t castSound;      // heard as the spell is cast (phase 1): sound 29 + the word, 0 none
  int32_t effectSound;    // as an effect takes hold on a target (phase 2)
  int32_t targetSound;    // with each target's event: struck, healed, slain or refused (phase 3)
  SpellEffect effects[2];
  int32_t metamagic[6];   // Maximise, Empower, Widen, Heighten, Silent, Still
};
static_assert(offsetof(SpellRecord, level) == 452);
static_assert(offsetof(SpellRecord, castingTime) == 468);
static_assert(offsetof(SpellRecord, range) == 508);
static_assert(offsetof(SpellRecord, rangedTouch) == 532);
static_assert(offsetof(SpellRecord, immunity1) == 544);
static_assert(offsetof(SpellRecord, animationKind) == 552);
static_assert(offsetof(SpellRecord, effects) == 576);
static_assert(offsetof(SpellRecord, effects[0].save) == 600);
static_assert(offsetof(SpellRecord, effects[1].code) == 608);
static_assert(offsetof(SpellRecord, effects[1].save) == 632);
static_assert(offsetof(SpellRecord, metamagic) == 640);
static_assert(sizeof(SpellRecord) == kSpellRowBytes);

struct CraftedWeaponRecord {
  char name[50];          // empty marks a free row
  char description[402];
  int32_t itemType;       // kind 1-48: 1-35 weapons (8 wand), 36-37 shields, 38-48 armour
  int32_t place;          // 3 body armour, 7 right hand, 8 left hand, 12 ranged, 15 either hand
  int32_t price;
  int32_t hitPoints;
  int32_t currentHitPoints;
  int32_t material;       // 0 n.a. ... 8 adamantine
  int32_t hardness;
  int32_t masterwork;
  int32_t handling;       // 1 light, 2 one hand, 3 two hands, 4 ranged, 5 shield, 6 armour
  int32_t proficiency;    // 1 all, 2 simple, 3 martial, 4 exotic; 5-7 armour, 8 shield
  int32_t size;           // 1 tiny ... 7 colossal
  int32_t noSale;         // 1 left on the floor, 3 a quest item
  int32_t composite;
  int32_t owned;          // set on a generated copy of a prepared row
  int32_t chargeDouble;   // deals double damage against a charge
  int32_t damageKind;     // 1 slashing, 2 bludgeoning, 3 piercing
  int32_t dieSides;       // armour and shields: armour bonus
  int32_t dieCount;       // armour: maximum Dexterity bonus
  int32_t critLow;        // armour and shields: armour check penalty
  int32_t critMultiplier; // armour and shields: arcane spell failure in percent
  int32_t range;          // feet
  int32_t enhancement;
  int32_t properties[kCraftedProperties];
  int32_t word720[4];
  int32_t dieKind;        // row of the weapon damage table, 0 not stored
  int32_t spell;          // a wand's spell
  int32_t charges;
  int32_t icon;           // figure icon
};
static_assert(offsetof(CraftedWeaponRecord, itemType) == 452);
static_assert(offsetof(CraftedWeaponRecord, material) == 472);
static_assert(offsetof(CraftedWeaponRecord, handling) == 484);
static_assert(offsetof(CraftedWeaponRecord, size) == 492);
static_assert(offsetof(CraftedWeaponRecord, owned) == 504);
static_assert(offsetof(CraftedWeaponRecord, dieSides) == 516);
static_assert(offsetof(CraftedWeaponRecord, range) == 532);
static_assert(offsetof(CraftedWeaponRecord, properties) == 540);
static_assert(offsetof(CraftedWeaponRecord, dieKind) == 736);
static_assert(offsetof(CraftedWeaponRecord, icon) == 748);
static_assert(sizeof(CraftedWeaponRecord) == kCraftedRowBytes);

// The ranges of the words of a crafted row that the game computes with (sums,
// products, dice rolled, tables and pictures looked up): a row outside them
// is refused by a load and by a save, and the game holds the words it raises
// within them. A free row (all zero) fits.
constexpr int32_t kLargestCraftedPrice = 100000000;
constexpr int32_t kLargestCraftedHitPoints = 1000000;
// Dice count and sides; for shields and armour the bonus, the Dexterity cap,
// the check penalty and the spell failure; the lowest critical roll and the
// critical multiplier.
constexpr int32_t kLargestCraftedDice = 100;
constexpr int32_t kLargestCraftedEnhancement = 100;  // either way
constexpr int32_t kLargestCraftedSize = 7;
constexpr int32_t kLargestCraftedRange = 10000;      // feet
constexpr int32_t kLargestCraftedCount = 1000000;    // charges, improvements
constexpr int kCraftedImprovementWord = 1;           // of word720: the improvements made
bool CraftedRowValuesFit(const CraftedWeaponRecord& row);
// The first row of a crafted table's file image (5,000 rows) whose words do
// not fit, -1 when all fit.
int FirstUnfitCraftedRow(const uint8_t* image);
// A price raised (or lowered) by `change`, held within 0 and the largest price.
int32_t ChangedCraftedPrice(int32_t price, int64_t change);
// A picture moved by `offset` within its group; the picture itself when the
// moved one would be no figure.
int32_t MovedCraftedPicture(int32_t picture, int32_t offset);

// The ranges of the words of a spell row that the game computes with: the
// level 1 to 9 (spell slots, help pages and page places are found by it; a
// row without a name holds no spell and may say 0), the gold and experience
// costs (summed and multiplied into prices), the two area sizes in feet (a
// map's breadth at most), the three sound words (a sound once 29 is added),
// and of each effect block the duration value (rounds or die sides up to 999,
// or the marks 1000 and 2000 of a condition that lasts until removed or until
// the next rest), the parameter (a creature kind or form) and the amount (die
// sides or a fixed amount). An empty row (no name, every word 0) fits. The
// spell file is refused when a row holds a word outside them; the table tool
// checks what it writes with the same test.
constexpr int32_t kHighestSpellLevel = 9;
constexpr int32_t kLargestSpellCost = 1000000;
constexpr int32_t kLargestSpellArea = 300;
constexpr int32_t kLastSpellSoundWord = 28;
constexpr int32_t kLargestSpellDurationValue = 999;
constexpr int32_t kLargestSpellParameter = 1000;
constexpr int32_t kLargestSpellAmount = 1000;
bool SpellRowValuesFit(const SpellRecord& row);

// The ranges of the words of a base item row: the base type (39 gold coins),
// the price in gold (summed and multiplied into trades, crafting costs and a
// pile's value), the bonus (a worn item's condition value: a Health Amulet's
// is halved and multiplied by its wearer's level, Bracers of Armor and a Ring
// of Protection add theirs to the armour class), the figure icon, the
// no-sale mark and the equipment place. An empty row fits. The item file is
// refused when a row holds a word outside them; the table tool reads its
// fields in the same ranges.
constexpr int32_t kLastBaseItemType = 39;
constexpr int32_t kLargestItemPrice = 10000000;
constexpr int32_t kLowestItemBonus = -1000;
constexpr int32_t kLargestItemBonus = 1000000;
constexpr int32_t kLastNoSaleMark = 3;
constexpr int32_t kLastItemPlace = 15;
bool ItemRowValuesFit(const ItemRecord& row);

extern ItemRecord ItemTable[kItemRows];
extern SpellRecord SpellTable[kSpellRows];
// The help page of a spell: 51001 + level + id for an arcane spell, 51899 +
// level + id for a divine one; -1 for a row outside the table.
int32_t SpellHelpPage(int spell);
// The help index pages of the spells of each level 1 to 9, arcane and divine.
constexpr int32_t kArcaneLevelHelpPages[9] = {51001, 51016, 51030, 51044, 51059, 51072, 51084, 51094, 51104};
constexpr int32_t kDivineLevelHelpPages[9] = {52001, 52019, 52032, 52046, 52056, 52065, 52070, 52075, 52079};
extern CraftedWeaponRecord CraftedWeapons[kCraftedRows];

extern const char BaseItemTypeNames[39][35];
extern const char CraftedPropertyNames[kCraftedProperties][28];

// Reads "Item1.iml"; 1 when all 952,000 bytes came and every row's words
// fit. Shows the fatal message on failure, and the table stays as it was.
int LoadItemTable();
// Reads "Spell1.sml"; 1 when all 119,520 bytes came and every row's words
// fit. Shows the fatal message on failure, and the table stays as it was.
int LoadSpellTable();
// Clears the crafted table, then reads the file; 1 when all 3,760,000 bytes
// came, 0 (and no message) when it is missing or short.
int LoadCraftedWeapons(const char* path);
int LoadCraftedWeaponsFmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The ranged weapon is a bow with arrows (count 1 or more) or a crossbow
// with bolts.
bool HasUsableAmmunition(int creature);

// Row images, field by field, little-endian.
void DecodeItemRow(const uint8_t* bytes, ItemRecord* row);
void DecodeSpellRow(const uint8_t* bytes, SpellRecord* row);
void DecodeCraftedRow(const uint8_t* bytes, CraftedWeaponRecord* row);
// `count` rows of a crafted table's image at once, as DecodeCraftedRow reads
// each; the image's texts are ended in place first. The rows are written
// past the processor's caches.
void DecodeCraftedRows(uint8_t* image, CraftedWeaponRecord* rows, int count);

// Empties the item, spell and crafted tables (the crafted rows are the
// running game's; the other two are read once at start-up, so a new game
// keeps them).
void ResetItemTablesState();
