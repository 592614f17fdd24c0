#include "map/area_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/reset_words.h"
#include "map/movement_rules.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/combatant_grid.h"
#include "map/line_of_effect.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

uint8_t AreaMask[kMapSquares];
int32_t AreaLineEndX = 0, AreaLineEndY = 0;
uint8_t RectangleValid = 0;

namespace {

constexpr int kNever = 99;     // a template square no reach covers
constexpr int kReach = kShapeReach;  // the templates reach 10 squares each way
constexpr int kSide = 2 * kReach + 1;
constexpr int kUndeadType = 8;

// The cone of each direction 1 to 8, indexed [direction][dx + 10][dy + 10].
struct ConeTables {
  int8_t reach[9][kSide][kSide];

  ConeTables() {
    std::memset(reach, kNever, sizeof reach);
    // North, row by row from dy -1: the first dx of the row and its values.
    static const struct {
      int firstDx;
      int count;
      int8_t values[13];
    } kNorth[10] = {
        {0, 1, {1}},
        {-1, 3, {2, 2, 2}},
        {-2, 5, {4, 3, 3, 3, 4}},
        {-3, 7, {5, 5, 4, 4, 4, 5, 5}},
        {-4, 9, {7, 6, 5, 5, 5, 5, 5, 6, 7}},
        {-5, 11, {8, 7, 7, 6, 6, 6, 6, 6, 7, 7, 8}},
        {-6, 13, {9, 9, 8, 8, 7, 7, 7, 7, 7, 8, 8, 9, 9}},
        {-6, 13, {10, 10, 9, 9, 8, 8, 8, 8, 8, 9, 9, 10, 10}},
        {-5, 11, {10, 10, 10, 9, 9, 9, 9, 9, 10, 10, 10}},
        {-3, 7, {10, 10, 10, 10, 10, 10, 10}},
    };
    // North-east, row by row from dy -1, dx from 1.
    static const struct {
      int count;
      int8_t values[10];
    } kNorthEast[10] = {
        {10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {9, {2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {9, {3, 4, 4, 5, 6, 7, 8, 9, 10}},
        {8, {4, 5, 5, 6, 7, 8, 9, 10}},
        {8, {5, 6, 6, 7, 7, 8, 9, 10}},
        {7, {6, 7, 7, 8, 8, 9, 10}},
        {6, {7, 8, 8, 9, 9, 10}},
        {5, {8, 9, 9, 10, 10}},
        {3, {9, 10, 10}},
        {1, {10}},
    };
    for (int row = 0; row < 10; ++row) {
      const int dy = -1 - row;
      for (int i = 0; i < kNorth[row].count; ++i) Put(1, kNorth[row].firstDx + i, dy, kNorth[row].values[i]);
      for (int i = 0; i < kNorthEast[row].count; ++i) Put(2, 1 + i, dy, kNorthEast[row].values[i]);
    }
    // Each further direction is the one two codes before turned a quarter
    // clockwise: (dx, dy) becomes (-dy, dx).
    for (int dir = 3; dir <= 8; ++dir)
      for (int dx = -kReach; dx <= kReach; ++dx)
        for (int dy = -kReach; dy <= kReach; ++dy) Put(dir, -dy, dx, reach[dir - 2][dx + kReach][dy + kReach]);
  }
  void Put(int dir, int dx, int dy, int8_t v) { reach[dir][dx + kReach][dy + kReach] = v; }
};
const ConeTables Cones;

int ConeReach(int direction, int dx, int dy) {
  if (direction < 1 || direction > 8 || dx < -kReach || dx > kReach || dy < -kReach || dy > kReach) return kNever;
  return Cones.reach[direction][dx + kReach][dy + kReach];
}

// The burst is centred on the corner the centre square shares with its +x,
// +y neighbours, so an offset counts one square more on the -x and -y sides.
int BurstReach(int dx, int dy) {
  if (dx == 0 && dy == 0) return 0;
  const int a = dx >= 1 ? dx : 1 - dx, b = dy >= 1 ? dy : 1 - dy;
  const int v = std::max(a, b) + std::min(a, b) / 2;
  return v > kReach ? kNever : v;
}

bool InSpellTable(int spell) { return spell >= 0 && spell < kSpellRows; }

// The first area size in squares, doubled when widened; 0 for an id outside the table.
int FirstSizeSquares(int spell) {
  if (!InSpellTable(spell)) return 0;
  const int n = SpellTable[spell].areaSize / kFeetPerSquare;
  return PendingMetamagic == kMetamagicWidened ? 2 * n : n;
}

// A breath weapon's reach in squares by the breather's size: 3 or less, 4, 5 or more.
int BreathSquares(int caster, int small, int large, int huge) {
  const int size = IsValidCreature(caster) ? Creatures[caster].size.current : 0;
  return size <= 3 ? small : size == 4 ? large : huge;
}

// The creature standing on a square, in combat the first of the turn order
// (read from the occupancy grid, which every shape brings up to date first).
int AreaCreatureAt(int x, int y) { return InCombat == 1 ? OtherCombatantOnSynced(x, y, -1, -1) : CombatantAtSquare(x, y); }

// The box round the squares the shape has marked, so that gathering the
// creatures looks at those squares only.
struct MarkedBox {
  int x0, y0, x1, y1;
};
MarkedBox Marked;

void MarkSquare(int x, int y) {
  AreaMask[SquareIndex(x, y)] = 1;
  Marked.x0 = std::min(Marked.x0, x);
  Marked.y0 = std::min(Marked.y0, y);
  Marked.x1 = std::max(Marked.x1, x);
  Marked.y1 = std::max(Marked.y1, y);
}

bool IsSolidEffect(int sq) { return MagicAreaGrid[sq].kind == kEffectSolid; }

// The compass code of the aim along the offset (dx, dy).
int AimCodeByAngle(int dx, int dy) {
  // 0 points to y - 1 and the angle grows clockwise.
  const double a = std::atan2(static_cast<double>(dx), static_cast<double>(-dy));
  if (a > 2.7488935718125 || a < -2.7488935718125) return 5;
  if (a > 1.9634954084375) return 4;
  if (a > 1.1780972450625) return 3;
  if (a > 0.3926990816875) return 2;
  if (a > -0.3926990816875) return 1;
  if (a > -1.1780972450625) return 8;
  if (a > -1.9634954084375) return 7;
  return 6;
}

// The codes of the offsets the cone tables reach, worked out once.
struct AimCodeTable {
  int8_t code[kSide][kSide];
  AimCodeTable() {
    for (int dx = -kReach; dx <= kReach; ++dx)
      for (int dy = -kReach; dy <= kReach; ++dy) code[dx + kReach][dy + kReach] = static_cast<int8_t>(AimCodeByAngle(dx, dy));
  }
};
const AimCodeTable AimCodes;

// The compass code of the aim from (ox, oy) toward the target square.
int AimCode(int ox, int oy, int targetX, int targetY) {
  const int dx = targetX - ox, dy = targetY - oy;
  if (dx < -kReach || dx > kReach || dy < -kReach || dy > kReach) return AimCodeByAngle(dx, dy);
  return AimCodes.code[dx + kReach][dy + kReach];
}

// The compass code of the aim from the caster's footprint square nearest to
// the target; the caster turns to face the target.
int AreaDirection(int caster, int targetX, int targetY, int* ox, int* oy) {
  const GridSquare o = NearestFootprintSquare(caster, targetX, targetY);
  *ox = o.x;
  *oy = o.y;
  const int code = AimCode(o.x, o.y, targetX, targetY);
  FaceTowardsSquare(caster, targetX, targetY);
  return code;
}

// Whether a shape of the spell takes the creature standing in it. The line
// and the rectangle ask for the caster's team (both of sides 1, 5, 6 or both
// of side 2); the cone asks AreEnemies.
bool ShapeTakes(int creature, int caster, int spell, bool cone) {
  if (spell == kSpellSpecialAttack) return true;
  if (spell == kSpellTurnUndead) return Creatures[creature].type == kUndeadType;
  if (!InSpellTable(spell)) return false;
  const int32_t alliesOnly = SpellTable[spell].beneficial, enemiesOnly = SpellTable[spell].targeting;
  if (alliesOnly == 0 && enemiesOnly == 0) return true;
  const bool friendly = cone ? !AreEnemies(creature, caster) : creature == caster || AreAllies(creature, caster);
  return (alliesOnly == 1 && friendly) || (enemiesOnly == 1 && !friendly && creature != caster);
}

// Lists the creatures on the marked squares, x-major, each once.
void CollectCreatures(int caster, int spell, bool cone, bool traceNew) {
  for (int x = Marked.x0; x <= Marked.x1; ++x) {
    for (int y = Marked.y0; y <= Marked.y1; ++y) {
      if (!AreaMask[SquareIndex(x, y)]) continue;
      const int c = AreaCreatureAt(x, y);
      if (!IsValidCreature(c) || !ShapeTakes(c, caster, spell, cone)) continue;
      if (ListAreaTarget(c) && traceNew && DebugMode == 1) LogMessage("(Cycle 8).\r");
    }
  }
}

void StartShape() {
  std::memset(AreaMask, 0, sizeof AreaMask);
  Marked = {kMapSide, kMapSide, -1, -1};
  ClearAreaTargets();
  if (InCombat == 1) SyncCombatantGrid();
}

// The squares of the fighter-slot path lists TraceLine wrote for the creature.
const FighterSlot& LineScratch(int creature) {
  int slot = creature >= 0 ? GetFighterSlot(creature) : 0;
  if (slot < 0 || slot >= kFighterSlots) slot = 0;
  return FighterSlots[slot];
}

// Whether the spreading walk from the origin reaches the square within the reach.
bool SpreadsTo(int ox, int oy, int x, int y, int reach) {
  return SpreadWalkWithin(static_cast<int>(PartyLeader), ox, oy, x, y, kFeetPerSquare * reach + 3);
}

// A cone as RasteriseCone draws it: from the caster's footprint square
// nearest to the target, its compass code, its length in squares and the
// reach of the tables it looks at (at most 10 each way: a template square's
// reach is never below its distance along either axis, so the squares
// farther than the cone's length are never in it).
struct ConeShape {
  int ox, oy, direction, length, span;
  bool needsLine;  // a line from the origin, else the spread over the flooded floor
};

// The cone of the spell toward the target; the caster turns to face it when asked.
ConeShape ConeToward(int caster, int targetX, int targetY, int spell, bool turn) {
  ConeShape s{};
  if (turn) {
    s.direction = AreaDirection(caster, targetX, targetY, &s.ox, &s.oy);
  } else {
    const GridSquare o = NearestFootprintSquare(caster, targetX, targetY);
    s.ox = o.x;
    s.oy = o.y;
    s.direction = AimCode(o.x, o.y, targetX, targetY);
  }
  // Ids outside the spell table other than breath and Turn Undead have no
  // length: the cone covers nothing.
  s.needsLine = true;
  if (spell == kSpellSpecialAttack) {
    s.length = BreathSquares(caster, 4, 6, 8);
  } else if (spell == kSpellTurnUndead) {
    s.length = 4;
  } else if (InSpellTable(spell)) {
    s.length = FirstSizeSquares(spell);
    s.needsLine = SpellTable[spell].areaWord == 0;
  }
  s.span = std::min(std::max(s.length, 0), kReach);
  return s;
}

// Whether the cone covers (x, y), a square of its span: 1 yes, 0 no, -1 when
// the line to it is too long to trace.
int ConeCovers(const ConeShape& s, int x, int y) {
  if (!CurrentMap.Inside(x, y)) return 0;
  const int sq = SquareIndex(x, y);
  if (CurrentMap.layers[kLayerWalls][sq] != 0 || IsSolidEffect(sq)) return 0;
  if (ConeReach(s.direction, x - s.ox, y - s.oy) > s.length) return 0;
  if (s.needsLine) {
    int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
    const int count = TraceLineInto(s.ox, s.oy, x, y, xs, ys);
    if (count < 0) return -1;
    for (int i = 0; i < count; ++i) {
      const int ls = SquareIndex(xs[i], ys[i]);
      if (CurrentMap.layers[kLayerWalls][ls] != 0 || IsSolidEffect(ls)) return 0;
    }
    return 1;
  }
  return BlockedGrid[sq] == kSquareFlooded && !(x == s.ox && y == s.oy) && SpreadsTo(s.ox, s.oy, x, y, s.length);
}

// A burst as RasteriseBurst draws it round the centre square.
struct BurstShape {
  int centreX, centreY, reach, span;
  bool dispel;         // goes wherever no wall stands; the others only over the flooded floor
  bool obstructed;     // a square within its reach is not open: each square needs a line or the spread
  bool spreads;        // spreads round corners instead of needing a line of effect
  bool keepsOwnCells;  // leaves the squares of other magic areas alone
};

bool BurstOpen(const BurstShape& s, int sq) {
  return s.dispel ? CurrentMap.layers[kLayerWalls][sq] <= 0 : BlockedGrid[sq] == kSquareFlooded;
}

// The burst of the spell (in the spell table) round the centre. A square
// within its reach lies within the reach of the centre along both axes,
// and never beyond the tables' 10 squares.
BurstShape BurstAround(int centreX, int centreY, int spell) {
  BurstShape s{};
  s.centreX = centreX;
  s.centreY = centreY;
  s.reach = FirstSizeSquares(spell);
  s.span = std::min(std::max(s.reach, 0), kReach);
  s.dispel = spell == kSpellDispel;
  s.spreads = SpellTable[spell].areaWord != 0;
  s.keepsOwnCells = spell == kSpellEntangle || spell == kSpellWeb || spell == kSpellInsectPlague ||
                    spell == kSpellSilence || spell == kSpellDarkness;
  for (int x = centreX - s.span; x <= centreX + s.span && !s.obstructed; ++x)
    for (int y = centreY - s.span; y <= centreY + s.span && !s.obstructed; ++y)
      if (CurrentMap.Inside(x, y) && BurstReach(x - centreX, y - centreY) < s.reach && !BurstOpen(s, SquareIndex(x, y)))
        s.obstructed = true;
  return s;
}

bool BurstCovers(const BurstShape& s, int caster, int x, int y) {
  if (!CurrentMap.Inside(x, y)) return false;
  const int sq = SquareIndex(x, y);
  if (s.keepsOwnCells && MagicAreaGrid[sq].kind > kEffectNone) return false;
  if (!BurstOpen(s, sq) || BurstReach(x - s.centreX, y - s.centreY) > s.reach) return false;
  if (!s.obstructed) return true;
  if (!s.spreads) return HasLineOfEffectFrom(s.centreX, s.centreY, x, y, caster);
  return (x == s.centreX && y == s.centreY) || SpreadsTo(s.centreX, s.centreY, x, y, s.reach);
}

// A series of listers for one caster placed on square after square while
// nothing else moves: the squares the other combatants stand on, gathered
// when it began (map order, each once).
struct ShapeSeries {
  int depth = 0;
  int caster = -1;
  bool casterListed = false;  // the caster stands in the turn order
  int count = 0;
  int32_t squares[kMapSquares];
};
ShapeSeries Series;

void GatherSeries(int caster) {
  static uint8_t covered[kMapSquares];
  std::memset(covered, 0, sizeof covered);
  Series.caster = caster;
  Series.casterListed = false;
  const int entries = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
  for (int i = 0; i < entries; ++i) {
    const int id = TurnOrder[i].creature;
    if (!IsValidCreature(id)) continue;
    if (id == caster) {
      Series.casterListed = true;
      continue;
    }
    // The footprint as the occupancy grid stamps it.
    const CreatureRecord& o = Creatures[id];
    const int w = std::max(o.footprintWidth.current, 1), h = std::max(o.footprintHeight.current, 1);
    for (int x = std::max(o.squareX, 0); x < o.squareX + w && x < kMapSide; ++x)
      for (int y = std::max(o.squareY, 0); y < o.squareY + h && y < kMapSide; ++y) covered[SquareIndex(x, y)] = 1;
  }
  Series.count = 0;
  for (int sq = 0; sq < kMapSquares; ++sq)
    if (covered[sq]) Series.squares[Series.count++] = sq;
}

// Visits, in map order, every square of the box [x0, x1] x [y0, y1] inside
// the map on which a creature may stand: in a series the gathered squares
// and the caster's own, in combat those the occupancy grid holds, else all.
template <typename Visit>
void ForSquaresHoldingCreatures(int x0, int y0, int x1, int y1, Visit visit) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min({x1, CurrentMap.width - 1, kMapSide - 1}), y1 = std::min({y1, CurrentMap.height - 1, kMapSide - 1});
  if (x0 > x1 || y0 > y1) return;
  if (InCombat != 1) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) visit(x, y);
    return;
  }
  if (Series.depth != 1) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y)
        if (CombatantCountOnSynced(x, y) > 0) visit(x, y);
    return;
  }
  // The caster's squares inside the box, in map order.
  constexpr int kOwnRoom = 64;  // the largest footprint is far smaller
  int32_t own[kOwnRoom];
  int owned = 0;
  if (Series.casterListed) {
    const CreatureRecord& c = Creatures[Series.caster];
    const int w = std::max(c.footprintWidth.current, 1), h = std::max(c.footprintHeight.current, 1);
    for (int x = std::max(c.squareX, x0); x < c.squareX + w && x <= x1; ++x)
      for (int y = std::max(c.squareY, y0); y < c.squareY + h && y <= y1 && owned < kOwnRoom; ++y)
        own[owned++] = SquareIndex(x, y);
  }
  const int32_t* k = std::lower_bound(Series.squares, Series.squares + Series.count, SquareIndex(x0, y0));
  const int32_t* end = Series.squares + Series.count;
  const int32_t last = SquareIndex(x1, y1);
  int m = 0;
  for (;;) {
    while (k != end && *k <= last && (*k % kMapSide < y0 || *k % kMapSide > y1)) ++k;
    const bool more = k != end && *k <= last;
    if (!more && m == owned) return;
    int32_t sq;
    if (!more || (m < owned && own[m] <= *k)) {
      sq = own[m++];
      if (more && *k == sq) ++k;
    } else {
      sq = *k++;
    }
    visit(sq / kMapSide, sq % kMapSide);
  }
}

// Appends the creature to the list unless it is there or the list is full.
void ListOnce(int creature, int32_t* out, int room, int* n) {
  for (int i = 0; i < *n; ++i)
    if (out[i] == creature) return;
  if (*n < room) out[(*n)++] = creature;
}

}  // namespace

bool RasteriseLine(int caster, int targetX, int targetY, int spell, int32_t* outDirection,
                   int32_t* outNearSquare) {
  StartShape();
  int ox = 0, oy = 0;
  const int direction = AreaDirection(caster, targetX, targetY, &ox, &oy);
  if (outDirection) *outDirection = direction;
  const int length = spell == kSpellSpecialAttack ? BreathSquares(caster, 8, 12, 16) : FirstSizeSquares(spell);

  const double a = std::atan2(static_cast<double>(targetX - ox), static_cast<double>(oy - targetY));
  const int ex = static_cast<int>(ox + length * std::sin(a) + 0.5);
  const int ey = static_cast<int>(oy - length * std::cos(a) + 0.5);
  const int count = TraceLine(ox, oy, ex, ey, caster);
  if (count < 0) return false;
  const FighterSlot& line = LineScratch(caster);

  AreaLineEndX = line.pathX[count - 1];
  AreaLineEndY = line.pathY[count - 1];
  if (outNearSquare) {
    const int near = std::min(count - 1, 3);
    outNearSquare[0] = line.pathX[near];
    outNearSquare[1] = line.pathY[near];
  }
  for (int i = 0; i < count; ++i) {
    const int x = line.pathX[i], y = line.pathY[i];
    if (!CurrentMap.Inside(x, y) || CurrentMap.At(kLayerWalls, x, y) > 0 || IsSolidEffect(SquareIndex(x, y))) {
      // The line ends on the square before the one that stops it.
      AreaLineEndX = line.pathX[i > 0 ? i - 1 : 0];
      AreaLineEndY = line.pathY[i > 0 ? i - 1 : 0];
      break;
    }
    if (AreaCreatureAt(x, y) != caster) MarkSquare(x, y);
  }
  CollectCreatures(caster, spell, false, false);
  return true;
}

bool RasteriseRectangle(int spell, int caster, int x1, int y1, int x2, int y2) {
  StartShape();
  RectangleValid = 0;
  if (!InSpellTable(spell)) return false;
  const int longest = FirstSizeSquares(spell);
  const int shortest = SpellTable[spell].areaSize2 / kFeetPerSquare;
  FaceTowardsSquare(caster, x2, y2);
  const int w = std::abs(x2 - x1) + 1, h = std::abs(y2 - y1) + 1;
  if (std::max(w, h) > longest || std::min(w, h) > shortest) return false;

  const int left = std::min(x1, x2), top = std::min(y1, y2);
  // Every square inside the map must be clear; those beyond its edge are left out.
  for (int x = left; x < left + w; ++x) {
    for (int y = top; y < top + h; ++y) {
      if (!CurrentMap.Inside(x, y)) continue;
      const int sq = SquareIndex(x, y);
      if (CurrentMap.layers[kLayerWalls][sq] > 0) return false;
      const uint32_t kind = MagicAreaGrid[sq].kind;
      if (spell == kSpellFireStorm ? kind == kEffectSolid : kind != kEffectNone) return false;
      if (spell == kSpellWallOfStone && AreaCreatureAt(x, y) != -1) return false;
    }
  }
  RectangleValid = 1;
  for (int x = left; x < left + w; ++x)
    for (int y = top; y < top + h; ++y)
      if (CurrentMap.Inside(x, y)) MarkSquare(x, y);
  CollectCreatures(caster, spell, false, true);
  return true;
}

bool RasteriseCone(int caster, int targetX, int targetY, int spell, int32_t* outDirection) {
  StartShape();
  const ConeShape s = ConeToward(caster, targetX, targetY, spell, true);
  if (outDirection) *outDirection = s.direction;
  for (int x = s.ox - s.span; x <= s.ox + s.span; ++x) {
    for (int y = s.oy - s.span; y <= s.oy + s.span; ++y) {
      const int covers = ConeCovers(s, x, y);
      if (covers < 0) return false;
      if (covers) MarkSquare(x, y);
    }
  }
  CollectCreatures(caster, spell, true, false);
  return true;
}

int ListConeTargets(int caster, int targetX, int targetY, int spell, int32_t* out, int room) {
  if (InCombat == 1) SyncCombatantGrid();
  const ConeShape s = ConeToward(caster, targetX, targetY, spell, false);
  int n = 0;
  bool tooLong = false;
  ForSquaresHoldingCreatures(s.ox - s.span, s.oy - s.span, s.ox + s.span, s.oy + s.span, [&](int x, int y) {
    const int covers = ConeCovers(s, x, y);
    tooLong |= covers < 0;
    if (covers <= 0) return;
    const int c = AreaCreatureAt(x, y);
    if (IsValidCreature(c) && ShapeTakes(c, caster, spell, true)) ListOnce(c, out, room, &n);
  });
  return tooLong ? 0 : n;
}

bool RasteriseBurst(int caster, int centreX, int centreY, int spell) {
  StartShape();
  if (!InSpellTable(spell)) return true;  // no size to read
  const BurstShape s = BurstAround(centreX, centreY, spell);
  for (int x = centreX - s.span; x <= centreX + s.span; ++x) {
    for (int y = centreY - s.span; y <= centreY + s.span; ++y) {
      if (!BurstCovers(s, caster, x, y)) continue;
      MarkSquare(x, y);
      // The shape has brought the occupancy grid up to date.
      const int c = AreaCreatureAt(x, y);
      if (IsValidCreature(c) && SuitsAreaTarget(c, caster, spell)) ListAreaTarget(c);
    }
  }
  return true;
}

int ListBurstTargets(int caster, int centreX, int centreY, int spell, int32_t* out, int room) {
  if (InCombat == 1) SyncCombatantGrid();
  if (!InSpellTable(spell)) return 0;
  const BurstShape s = BurstAround(centreX, centreY, spell);
  int n = 0;
  ForSquaresHoldingCreatures(centreX - s.span, centreY - s.span, centreX + s.span, centreY + s.span, [&](int x, int y) {
    if (!BurstCovers(s, caster, x, y)) return;
    const int c = AreaCreatureAt(x, y);
    if (IsValidCreature(c) && SuitsAreaTarget(c, caster, spell)) ListOnce(c, out, room, &n);
  });
  return n;
}

void BeginShapeSeries(int caster) {
  FollowOnlyCreature(caster);
  if (++Series.depth == 1) GatherSeries(caster);
}

void EndShapeSeries() {
  if (Series.depth > 0) --Series.depth;
  FollowAllCreatures();
}

void ResetAreaShapesState() {
  ResetWords(AreaMask);
  AreaLineEndX = 0;
  AreaLineEndY = 0;
  RectangleValid = 0;
  Series.depth = 0;
}
