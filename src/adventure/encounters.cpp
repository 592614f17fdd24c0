// Random encounters: one hostile group of a region's table made round an
// anchor square of the current map, and the sentence that announces it.
#include "state/encounters.h"

#include <cstdio>
#include <cstring>

#include "adventure/encounter_tables.h"
#include "adventure/script_faults.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "creatures/unheld_item_rows.h"
#include "engine/random.h"
#include "engine/reset_words.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/fighter_slots.h"

int32_t EncounterCounter = 0;
char EncounterText[kEncounterTextSize] = {};
EncounterRequest EncounterRequests[kEncounterRequestLog];
int32_t EncounterRequestCount = 0;
int32_t ChosenEncounterFace = 0;

namespace {

// Movement modes (the creature's group word): in place, or roaming along its facing.
constexpr int32_t kStaysInPlace = 1;
constexpr int32_t kRoams = 2;
constexpr int kPartyMembers = 4;
// How far from its table square a creature is set when that square is taken.
constexpr int kFootingSearchRadius = 5;
constexpr int kMostMembers = 32;

int Roll(const EncounterRoll& r) { return r.dice > 0 ? RollDice(r.sides, r.dice, 0, 0) + r.bonus : r.bonus; }
int D100() { return RollDice(100, 1, 0, 0); }
int Die(int sides) { return RollDice(sides, 1, 0, 0); }

int DrawFromTable(int table) {
  const EncounterItemTable& t = EncounterItemTables[table];
  const int face = static_cast<int>(RandomUpTo(static_cast<uint32_t>(t.faces - 1))) + 1;
  return t.items[face - 1];
}

// The item a rule gives, -1 when its chance fails or it names none.
int ItemOf(const ItemRule& r) {
  if (r.source == kNoItem) return -1;
  if (r.chance == kOnD100AtLeast && D100() < r.threshold) return -1;
  if (r.chance == kOnOneOfD4 && Die(4) != 1) return -1;
  return r.source == kItemNumber ? r.value : DrawFromTable(r.value);
}

// The armed-humanoid roll: a shield and a one-handed weapon, a light
// weapon with a buckler-hand item, or a weapon alone; a ranged weapon too
// where the band asks for the third item.
void ArmedHumanoidRoll(int kind, bool withThirdItem, int items[3]) {
  const int r1 = D100();
  const int r2 = withThirdItem ? D100() : 0;
  if (r1 >= (kind == kKindElf ? 70 : 75)) {
    items[1] = 36 + (D100() >= 75 ? 1 : 0);
    items[0] = DrawFromTable(kW2);
  } else if (D100() >= 90) {
    items[0] = DrawFromTable(kW3);
    items[1] = DrawFromTable(kW4);
  } else {
    items[0] = DrawFromTable(kW5);
  }
  if (withThirdItem && r2 >= 80) items[2] = DrawFromTable(kW6);
}

void RollOptions(const OptionRule& rule, int out[3]) {
  const OptionSet* set = &rule.first;
  if (rule.choice == kOptionsByD2) {
    if (Die(2) != 1) set = &rule.second;
  } else if (rule.choice > 0 && D100() >= rule.choice) {
    set = &rule.second;
  }
  for (int i = 0; i < 3; ++i) out[i] = Roll(set->values[i]);
}

// Which of a pick's kinds is drawn (0 to 3).
int DrawKindIndex(const KindPick& pick) {
  if (pick.die == kPickD100Below50) return D100() < 50 ? 0 : 1;
  if (pick.die > 0) return Die(pick.die) - 1;
  return 0;
}

int BandCount(const EncounterBand& b, int n) {
  if (b.count.dice == kRowCountDice) return n + b.count.bonus;
  if (b.count.dice == kOneOrTwoDice) {
    int made = 1;
    while (Die(2) > made) ++made;
    return made;
  }
  return Roll(b.count);
}

// Creatures standing on each square of the current map, counted once a call.
uint8_t Standing[kMapSquares];

int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Depth(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }

bool StandsHere(int id) {
  const CreatureRecord& c = Creatures[id];
  return c.map == CurrentMapNumber && (id < kPartyMembers || c.present == 1);
}

void MarkFootprint(const CreatureRecord& c, int delta) {
  for (int x = c.squareX; x < c.squareX + Width(c); ++x)
    for (int y = c.squareY; y < c.squareY + Depth(c); ++y)
      if (x >= 0 && y >= 0 && x < kMapSide && y < kMapSide) {
        uint8_t& n = Standing[SquareIndex(x, y)];
        n = static_cast<uint8_t>(delta > 0 ? (n < 255 ? n + 1 : n) : (n > 0 ? n - 1 : 0));
      }
}

// The creatures of the current map (the party always among them); fills Standing.
int CountStanding() {
  std::memset(Standing, 0, sizeof Standing);
  int count = kPartyMembers;
  for (int id = 0; id < kCreatureCount; ++id) {
    if (!StandsHere(id)) continue;
    MarkFootprint(Creatures[id], 1);
    if (id >= kPartyMembers) ++count;
  }
  return count;
}

// The creature's footprint at (x, y) lies on the map, off its walls and clear of every other creature.
bool FitsAt(const CreatureRecord& c, int x, int y) {
  for (int i = x; i < x + Width(c); ++i)
    for (int j = y; j < y + Depth(c); ++j) {
      if (!CurrentMap.Inside(i, j) || i >= kMapSide || j >= kMapSide) return false;
      const int s = SquareIndex(i, j);
      if (BlockedGrid[s] == kSquareBlocked || Standing[s] != 0) return false;
    }
  return true;
}

// The table square when the creature fits there alone, else the nearest
// square within the search radius where it does.
bool FindFooting(const CreatureRecord& c, int x, int y, int* fx, int* fy) {
  for (int r = 0; r <= kFootingSearchRadius; ++r)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        if (dx != -r && dx != r && dy != -r && dy != r) continue;
        if (!FitsAt(c, x + dx, y + dy)) continue;
        *fx = x + dx;
        *fy = y + dy;
        return true;
      }
  return false;
}

void MoveTo(CreatureRecord& c, int x, int y) {
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = kSquarePixels * x;
  c.pixelY = kSquarePixels * y;
}

// Takes back a creature that found no room: its record and the item rows made for it.
void Unmake(int id) {
  ReleaseGeneratedItems(id);
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  c.destinationX = c.destinationY = -1;
}

void SetName(CreatureRecord& c, const char* name) {
  if (name != nullptr && std::strcmp(name, kNameByGender) == 0) name = c.gender == 2 ? kWitchName : c.gender == 1 ? kWarlockName : nullptr;
  if (name == nullptr) return;
  std::memset(c.name, 0, sizeof c.name);
  std::strncpy(c.name, name, sizeof c.name - 1);
}

// Prints the row's text with its counts; the source's "£" becomes the
// single highlight byte of the stored text.
void PrintText(const char* text, int n, int last) {
  char formatted[kEncounterTextSize];
  std::snprintf(formatted, sizeof formatted, text, n, last);
  size_t out = 0;
  for (size_t i = 0; formatted[i] != 0 && out + 1 < sizeof EncounterText; ++i) {
    if (static_cast<unsigned char>(formatted[i]) == 0xC2 && static_cast<unsigned char>(formatted[i + 1]) == 0xA3) continue;
    EncounterText[out++] = formatted[i];
  }
  EncounterText[out] = 0;
}

// One member to be made: its band and its index in the placement order.
struct Member {
  const EncounterBand* band;
  int kind;
  bool firstOfBand;
};

int RollEncounter(int region, int x, int y, int arrival);

int CarryOutRow(const EncounterRow& row, int x, int y, int stay) {
  const int n = Roll(row.count);
  Member members[kMostMembers];
  int total = 0, lastBandCount = 0, textIndex = 0;
  for (int b = 0; b < kMostBands; ++b) {
    const EncounterBand& band = row.bands[b];
    if (band.kind.kinds[0] == 0 && band.kind.die == 0) break;
    const int count = BandCount(band, n);
    const int drawn = band.kind.perMember ? 0 : DrawKindIndex(band.kind);
    if (b == 0) textIndex = drawn;
    for (int m = 0; m < count && total < kMostMembers; ++m) {
      const int index = band.kind.perMember ? DrawKindIndex(band.kind) : drawn;
      members[total++] = {&band, band.kind.kinds[index], m == 0};
    }
    lastBandCount = count;
  }
  if (row.textChoice == kTextByCount) textIndex = n - 1;
  if (row.textChoice == kOneText || textIndex < 0 || textIndex > 3 || row.texts[textIndex] == nullptr) textIndex = 0;

  // Ids run from 601 up and stop at the creature table's end: a group that
  // would pass it, or a counter that names no encounter id, is not made.
  if (EncounterCounter < 0 || EncounterCounter > kCreatureCount - kFirstEncounterCreature - total) {
    ScriptDebugLine("Encounter: %i creatures from id %lli pass the creature table", total,
                    static_cast<long long>(kFirstEncounterCreature) + EncounterCounter);
    return 0;
  }
  PrintText(row.texts[textIndex], n, lastBandCount);

  const bool single = total == 1 && row.bands[0].count.dice == 0 && row.bands[1].kind.kinds[0] == 0;
  const bool large = IsLargeEncounterKind(members[0].kind) && !single;
  int onMap = CountStanding();
  int leader = -1;
  // The group is made as one: a full item table is looked over once for all its members.
  const CreatureMaking group;
  for (int i = 0; i < total; ++i) {
    const Member& m = members[i];
    const EncounterBand& band = *m.band;
    const int id = kFirstEncounterCreature + EncounterCounter;
    // The fighter table holds every creature of the map: no more are made once it is full.
    const bool replaced = StandsHere(id);
    if (onMap - (replaced ? 1 : 0) >= kFighterSlots) break;
    if (replaced) {
      MarkFootprint(Creatures[id], -1);
      --onMap;
    }

    int items[3] = {0, 0, 0};
    if (band.armed != kUnarmed && (m.kind != kKindSkeleton || i == 0 || D100() >= 60))
      ArmedHumanoidRoll(m.kind, band.armed == kArmedWithThirdItem, items);
    for (int k = 0; k < 3; ++k) {
      const int item = ItemOf(band.items[k]);
      if (item >= 0) items[k] = item;
    }
    int options[3];
    RollOptions(band.options, options);
    const int level = Roll(band.level);
    const int memberStays = row.alwaysStays || !(single || (band.leads && m.firstOfBand && i == 0)) ? 1 : stay;

    const SquareOffset at = large ? PlacementTableL[i % kTableLSquares] : PlacementTableA[i % kTableASquares];
    CreateCreature(CurrentMapNumber, x + at.dx, y + at.dy, id, m.kind, band.creatureClass, level, band.elite,
                   memberStays, options[0], options[1], options[2], items[0], items[1], items[2]);
    CreatureRecord& c = Creatures[id];
    int fx = 0, fy = 0;
    if (!FindFooting(c, x + at.dx, y + at.dy, &fx, &fy)) {
      Unmake(id);
      continue;
    }
    MoveTo(c, fx, fy);
    MarkFootprint(c, 1);
    ++onMap;
    c.group = memberStays == 1 ? kStaysInPlace : kRoams;
    if (!single) {
      if (leader < 0) leader = id;
      c.leader = leader;
      if (id != leader) {
        const SquareOffset f = large ? PlacementTableL[i % kTableLSquares] : FormationTableB[i % kTableASquares];
        c.formationX = f.dx;
        c.formationY = f.dy;
      }
    }
    SetName(c, band.name);
    ++EncounterCounter;
  }
  if (leader >= 0 && stay == 0 && !row.alwaysStays) Creatures[leader].group = kRoams;
  return 1;
}

int RollEncounter(int region, int x, int y, int arrival) {
  std::memset(EncounterText, 0, sizeof EncounterText);
  int stay = 1;
  if (arrival == 0 && Die(2) == 1) stay = 0;
  if (region < 0 || region >= kEncounterRegions) region = 0;
  int face = Die(EncounterDieSides[region]);
  if (ChosenEncounterFace > 0) {
    face = ChosenEncounterFace;
    ChosenEncounterFace = 0;
  }
  const EncounterRow* row = FindEncounterRow(region, face);
  if (row == nullptr) {
    ScriptDebugLine("Encounter: region %i has no row for face %i", region, face);
    return 0;
  }
  // The last face rolls the region below; a group refused there is reported.
  if (row->chain == kNextRegionDown) return RollEncounter(region - 1, x, y, arrival);
  return CarryOutRow(*row, x, y, stay);
}

}  // namespace

int GenerateRandomEncounter(int region, int x, int y, int arrival, int) {
  if (EncounterRequestCount >= 0 && EncounterRequestCount < kEncounterRequestLog)
    EncounterRequests[EncounterRequestCount++] = {region, x, y, arrival};
  return RollEncounter(region, x, y, arrival);
}

void ResetEncountersState() {
  EncounterCounter = 0;
  ResetWords(EncounterText);
  ResetWords(EncounterRequests);
  EncounterRequestCount = 0;
  ChosenEncounterFace = 0;
}
