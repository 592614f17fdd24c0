// The regions' random encounter tables: for each region the rows chosen by
// the faces of its die, each with its announcing text and the bands of
// creatures it makes; the placement tables of a group round its anchor
// square and the small item tables the rows draw weapons from.
#pragma once
#include <cstdint>

// Regions 1 to 20 name the world map's areas; 0 (and any other value) the
// lands round the start, whose table regions 1 and 2 share.
constexpr int kEncounterRegions = 21;

// A count, level or option value: dice d sides + bonus; no dice gives the
// bonus alone. Two marks read a band's count off the row instead.
constexpr int8_t kRowCountDice = -1;  // the row's printed count + bonus
constexpr int8_t kOneOrTwoDice = -2;  // one, and one more while a fresh 1d2 exceeds the number made
struct EncounterRoll {
  int8_t dice = 0;
  int8_t sides = 0;
  int16_t bonus = 0;
  constexpr EncounterRoll() = default;
  constexpr EncounterRoll(int value) : bonus(static_cast<int16_t>(value)) {}
  constexpr EncounterRoll(int d, int s, int b) : dice(static_cast<int8_t>(d)), sides(static_cast<int8_t>(s)), bonus(static_cast<int16_t>(b)) {}
};
constexpr EncounterRoll Dice(int dice, int sides, int bonus = 0) { return {dice, sides, bonus}; }

// The small item tables: one die through RandomUpTo, its face naming a standard item.
enum ItemTableId : int8_t { kW0, kW1, kW2, kW3, kW4, kW5, kW6, kW7, kW8, kW9, kW10, kItemTableCount };
struct EncounterItemTable {
  int8_t faces;
  int8_t items[23];
};
extern const EncounterItemTable EncounterItemTables[kItemTableCount];

// One of a member's three items (first weapon, second item, third item).
enum ItemSource : int8_t { kNoItem, kItemNumber, kFromTable };
enum ItemChance : int8_t { kItemAlways, kOnD100AtLeast, kOnOneOfD4 };
struct ItemRule {
  int8_t source = kNoItem;
  int8_t value = 0;  // the item number or the ItemTableId
  int8_t chance = kItemAlways;
  int8_t threshold = 0;  // the d100 needed for kOnD100AtLeast
};
constexpr ItemRule Item(int number) { return {kItemNumber, static_cast<int8_t>(number), kItemAlways, 0}; }
constexpr ItemRule FromTable(ItemTableId table) { return {kFromTable, table, kItemAlways, 0}; }
constexpr ItemRule OnD100AtLeast(int threshold, ItemRule r) {
  r.chance = kOnD100AtLeast;
  r.threshold = static_cast<int8_t>(threshold);
  return r;
}
constexpr ItemRule OnOneOfD4(ItemRule r) {
  r.chance = kOnOneOfD4;
  return r;
}

// The three behaviour options: one set, or one of two by 1d2 (1 the first)
// or by a d100 below a threshold (below: the first).
struct OptionSet {
  EncounterRoll values[3];
};
constexpr int8_t kOptionsByD2 = -1;
struct OptionRule {
  OptionSet first;
  int8_t choice = 0;
  OptionSet second;
};
constexpr OptionSet Opts(EncounterRoll a, EncounterRoll b, EncounterRoll c) { return {{a, b, c}}; }
constexpr OptionRule OptsByD2(OptionSet one, OptionSet two) { return {one, kOptionsByD2, two}; }
constexpr OptionRule OptsD100Below(int threshold, OptionSet below, OptionSet otherwise) {
  return {below, static_cast<int8_t>(threshold), otherwise};
}

// The kind of a band's members: one kind, or one of several by a die, drawn
// once for the band or afresh for each member.
constexpr int8_t kPickD100Below50 = -50;  // the first kind on a d100 below 50, else the second
struct KindPick {
  int8_t die = 0;  // 0 one kind; 2, 3, 4: 1dN chooses kinds[face - 1]
  int8_t perMember = 0;
  int16_t kinds[4] = {};
};

// Names given to members after creation: a word, or one by gender (this
// marker, told by its text: a literal's address differs between files).
inline constexpr char kNameByGender[] = "\x01";
constexpr const char* kWarlockName = "Warlock";  // gender 1
constexpr const char* kWitchName = "Witch";      // gender 2

// The armed-humanoid roll of a band.
enum ArmedRoll : int8_t { kUnarmed, kArmed, kArmedWithThirdItem };

// A band: members of one make, in the group's placement order.
struct EncounterBand {
  EncounterRoll count;
  KindPick kind;
  int8_t creatureClass = 0;
  EncounterRoll level;
  int8_t elite = 0;
  int8_t leads = 0;  // its first member is created with the rolled stay flag
  int8_t armed = kUnarmed;
  OptionRule options;
  ItemRule items[3];
  const char* name = nullptr;

  constexpr EncounterBand Class(int c) const { EncounterBand b = *this; b.creatureClass = static_cast<int8_t>(c); return b; }
  constexpr EncounterBand Level(EncounterRoll l) const { EncounterBand b = *this; b.level = l; return b; }
  constexpr EncounterBand Elite() const { EncounterBand b = *this; b.elite = 1; return b; }
  constexpr EncounterBand Leads() const { EncounterBand b = *this; b.leads = 1; return b; }
  constexpr EncounterBand Armed(ArmedRoll a = kArmed) const { EncounterBand b = *this; b.armed = a; return b; }
  constexpr EncounterBand Options(OptionRule o) const { EncounterBand b = *this; b.options = o; return b; }
  constexpr EncounterBand Options(OptionSet o) const { EncounterBand b = *this; b.options = {o, 0, {}}; return b; }
  constexpr EncounterBand Weapon(ItemRule r) const { EncounterBand b = *this; b.items[0] = r; return b; }
  constexpr EncounterBand Second(ItemRule r) const { EncounterBand b = *this; b.items[1] = r; return b; }
  constexpr EncounterBand Third(ItemRule r) const { EncounterBand b = *this; b.items[2] = r; return b; }
  constexpr EncounterBand Named(const char* n) const { EncounterBand b = *this; b.name = n; return b; }
};

// Bands by their count: one member, n members (the row's count), all but one
// of n, a count of their own, or one or two.
constexpr EncounterBand BandOf(EncounterRoll count, int kind) {
  EncounterBand b;
  b.count = count;
  b.kind.kinds[0] = static_cast<int16_t>(kind);
  return b;
}
constexpr EncounterBand OneOf(int kind) { return BandOf(1, kind); }
constexpr EncounterBand Each(int kind) { return BandOf({kRowCountDice, 0, 0}, kind); }
constexpr EncounterBand AllButOne(int kind) { return BandOf({kRowCountDice, 0, -1}, kind); }
constexpr EncounterBand CountOf(EncounterRoll n, int kind) { return BandOf(n, kind); }
constexpr EncounterBand OneOrTwo(int kind) { return BandOf({kOneOrTwoDice, 0, 0}, kind); }
// The same with the kind drawn (once for the band / for each member).
constexpr EncounterBand Drawn(EncounterBand b, int die, int k0, int k1, int k2 = 0, int k3 = 0) {
  b.kind = {static_cast<int8_t>(die), 0, {static_cast<int16_t>(k0), static_cast<int16_t>(k1), static_cast<int16_t>(k2), static_cast<int16_t>(k3)}};
  return b;
}
constexpr EncounterBand DrawnEach(EncounterBand b, int die, int k0, int k1, int k2 = 0, int k3 = 0) {
  b = Drawn(b, die, k0, k1, k2, k3);
  b.kind.perMember = 1;
  return b;
}

// Which text a row prints: its only one, the one of the first band's drawn
// kind, or the one of its count (1 or 2).
enum TextChoice : int8_t { kOneText, kTextByKind, kTextByCount };
// The region below: the row's last face rolls again there.
constexpr int8_t kNextRegionDown = -1;

constexpr int kMostBands = 3;
struct EncounterRow {
  int8_t region;  // 0 for the table of regions 0 to 2
  int8_t face;
  const char* texts[4];  // "£" marks a highlighted word; "%i" the count n (a second one the second band's)
  EncounterRoll count;   // n
  EncounterBand bands[kMostBands];
  int8_t textChoice = kOneText;
  int8_t alwaysStays = 0;
  int8_t chain = 0;  // kNextRegionDown on the last face
};

// The die of each region's table (1dN), by region 0 to 20.
extern const int8_t EncounterDieSides[kEncounterRegions];
extern const EncounterRow EncounterRows[];
extern const int EncounterRowCount;
// The row of a region and face; null when none.
const EncounterRow* FindEncounterRow(int region, int face);

// Placement round the anchor (x, y): table A for one-square creatures
// (member i on (x + dx, y + dy)), table B their formation offsets from the
// first member, table L the squares and offsets of creatures two squares
// wide.
struct SquareOffset {
  int8_t dx, dy;
};
constexpr int kTableASquares = 16;
constexpr int kTableLSquares = 4;
extern const SquareOffset PlacementTableA[kTableASquares];
extern const SquareOffset FormationTableB[kTableASquares];
extern const SquareOffset PlacementTableL[kTableLSquares];
// Kinds whose creatures stand on two by two squares, placed by table L.
bool IsLargeEncounterKind(int kind);
