#include "map/reach_flood.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

uint8_t ReachByFlood = 1;

namespace {

constexpr int32_t kUnreached = INT32_MAX;
constexpr int kMostSteps = kPathLength;  // a longer combat path is not taken
constexpr int kMostThreats = 64;         // one bit for each enemy that may strike

// The record words a walk adds up, in the order of the flood's tallies.
enum Tally { kFire, kBrazier, kWeb, kSolid, kFeet, kSteps, kTallies };

struct FloodSquare {
  int32_t lo[kTallies], hi[kTallies];
  uint64_t provokedOnAll;  // enemies whose attacks every cheapest walk provokes
  uint64_t provokedOnAny;  // ... some cheapest walk provokes
  bool alike;            // every cheapest walk gives the square one record
  bool doubtful;         // wanted, and not alike or outside the room
  bool crossesDoubtful;  // some cheapest walk to it crosses a doubtful square
};

int32_t Cost[kMapSquares];      // cheapest search cost from the start
int16_t StepExtra[kMapSquares]; // what stepping onto the square adds; -1 unfit, -2 not yet asked
uint8_t Corner[kMapSquares];    // 1 a diagonal step may pass it, 2 it may not, 0 not yet asked
uint8_t Done[kMapSquares];      // its cheapest cost is known
uint8_t CheapestFrom[kMapSquares];  // bit d: a cheapest walk arrives from the neighbour in direction d
uint64_t ThreatsAt[kMapSquares];  // enemies whose attack leaving the square provokes
FloodSquare Square[kMapSquares];
int16_t Order[kMapSquares];  // the squares in the order the flood reached their cheapest cost
int OrderCount = 0;

// The eight directions of a step, and the bit of the opposite one.
constexpr int kDx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};

// The open squares by cost, in buckets: every step costs less than
// kBuckets, so the buckets of the costs still open never overlap.
constexpr int kBuckets = 512;
constexpr int kMaxStep = 14 + 50 + 100 + 20 + 200 + 40;
static_assert(kMaxStep < kBuckets, "a step may not reach past the buckets");
struct BucketItem {
  int16_t square;
  int32_t next;
};
int32_t BucketHead[kBuckets];
BucketItem BucketItems[8 * kMapSquares + 8];

bool Valid = false;
int StartSquare = -1;
int MoverWidth = 1, MoverHeight = 1;  // the mover's footprint
int32_t Room = -1;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

bool CornerBlocks(int x, int y) {
  if (!OnGrid(x, y)) return true;
  uint8_t& c = Corner[SquareIndex(x, y)];
  if (c == 0) c = IsCornerObstructed(x, y) ? 2 : 1;
  return c == 2;
}

int Extra(int x, int y) {
  int16_t& e = StepExtra[SquareIndex(x, y)];
  if (e == -2) e = static_cast<int16_t>(RoomStepExtraCost(x, y));
  return e;
}

bool InRoom(int x, int y);

// The cheapest search cost of every square the mover can reach, the
// neighbours cheapest walks arrive from, and the order in which the squares
// got their cost (each after every square a cheapest walk to it crosses,
// since every step costs at least 10), until every wanted square of the room
// has its cost (wanted squares outside it are never searched for under the
// flood's rules). False when a step costs more than the buckets can hold.
bool FloodCosts(const int32_t* wanted) {
  for (int i = 0; i < kMapSquares; ++i) {
    Cost[i] = kUnreached;
    StepExtra[i] = -2;
    Corner[i] = 0;
    Done[i] = 0;
    CheapestFrom[i] = 0;
  }
  for (int32_t& h : BucketHead) h = -1;
  OrderCount = 0;
  int remaining = 0;
  for (int i = 0; i < kMapSquares; ++i)
    remaining += wanted[i] >= 1 && i != StartSquare && InRoom(i / kMapSide, i % kMapSide) ? 1 : 0;
  if (remaining == 0) return true;
  const bool oneSquare = MoverWidth == 1 && MoverHeight == 1;
  int items = 0, open = 0;
  auto put = [&](int square, int32_t cost) {
    BucketItem& item = BucketItems[items];
    item.square = static_cast<int16_t>(square);
    item.next = BucketHead[cost % kBuckets];
    BucketHead[cost % kBuckets] = items++;
    ++open;
  };
  Cost[StartSquare] = 0;
  put(StartSquare, 0);
  for (int32_t cost = 0; open > 0; ++cost) {
    int32_t& head = BucketHead[cost % kBuckets];
    while (head != -1) {
      const int u = BucketItems[head].square;
      head = BucketItems[head].next;
      --open;
      if (Done[u] || Cost[u] != cost) continue;  // settled already, or a dearer entry left behind
      Done[u] = 1;
      Order[OrderCount++] = static_cast<int16_t>(u);
      const int ux = u / kMapSide, uy = u % kMapSide;
      if (wanted[u] >= 1 && u != StartSquare && InRoom(ux, uy) && --remaining == 0) return true;
      for (int d = 0; d < 8; ++d) {
        const int vx = ux + kDx[d], vy = uy + kDy[d];
        if (!OnGrid(vx, vy)) continue;
        // A square already settled costs no more than u.
        const int v = SquareIndex(vx, vy);
        if (Cost[v] <= cost) continue;
        const int e = Extra(vx, vy);
        if (e < 0) continue;
        const bool diagonal = kDx[d] != 0 && kDy[d] != 0;
        // Only a one-square mover minds the corners of a diagonal step.
        if (diagonal && oneSquare && (CornerBlocks(vx, uy) || CornerBlocks(ux, vy))) continue;
        if (e >= kBuckets - 14) return false;
        const int32_t g = cost + (diagonal ? 14 : 10) + e;
        const uint8_t from = static_cast<uint8_t>(1u << (7 - d));  // v sees u in the opposite direction
        if (g < Cost[v]) {
          Cost[v] = g;
          CheapestFrom[v] = from;
          put(v, g);
        } else if (g == Cost[v]) {
          CheapestFrom[v] |= from;
        }
      }
    }
  }
  return true;
}

// For every square, the enemies whose attack the mover provokes by leaving it,
// as the path search counts them (those that already struck this round are
// never counted). False when there are too many to tell apart.
bool MarkThreatsLeaving(int creature) {
  std::memset(ThreatsAt, 0, sizeof ThreatsAt);
  static int16_t entries[kTurnOrderEntries];
  const int n = ListPossibleThreats(creature, entries);
  static uint8_t marks[kTurnOrderEntries];
  for (int i = 0; i < TurnCount(); ++i) marks[i] = TurnOrder[i].threatMark;
  int bit = 0;
  bool fits = true;
  for (int k = 0; k < n && fits; ++k) {
    TurnOrderEntry& e = TurnOrder[entries[k]];
    if (e.opportunityMark == 1) continue;
    if (bit == kMostThreats) {
      fits = false;
      break;
    }
    const CreatureRecord& o = Creatures[e.creature];
    const int w = o.footprintWidth.current > 0 ? o.footprintWidth.current : 1;
    const int h = o.footprintHeight.current > 0 ? o.footprintHeight.current : 1;
    // The mover's footprint placed at (x, y) touches o's ring only within
    // this box.
    for (int x = o.squareX - MoverWidth; x <= o.squareX + w; ++x)
      for (int y = o.squareY - MoverHeight; y <= o.squareY + h; ++y) {
        if (!OnGrid(x, y)) continue;
        e.threatMark = 0;
        if (CountThreatsAmong(x, y, creature, &entries[k], 1) > 0) ThreatsAt[SquareIndex(x, y)] |= uint64_t{1} << bit;
      }
    ++bit;
  }
  for (int i = 0; i < TurnCount(); ++i) TurnOrder[i].threatMark = marks[i];
  return fits;
}

// What entering the square adds to a walk's fire, brazier, web and blocking
// tallies: each counts once for the mover's footprint placed there.
void EnteredTallies(int x, int y, int32_t* add) {
  bool fire = false, brazier = false, web = false, solid = false;
  for (int i = x; i < x + MoverWidth; ++i)
    for (int j = y; j < y + MoverHeight; ++j) {
      if (!OnGrid(i, j)) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(i, j)];
      fire |= cell.kind == kEffectFire;
      brazier |= cell.kind == kEffectFire && cell.roundsLeft == 1000;
      web |= cell.kind == kEffectWeb;
      solid |= cell.kind == kEffectSolid;
    }
  add[kFire] = fire;
  add[kBrazier] = brazier;
  add[kWeb] = web;
  add[kSolid] = solid;
}

// A square in the start's room on the map: a search there follows the rules
// of the flood.
bool InRoom(int x, int y) {
  return x < CurrentMap.width && y < CurrentMap.height && RegionGrid[SquareIndex(x, y)] == Room;
}

// The feet of a step onto a square depend only on whether the step is
// diagonal, the kinds of magic area under the mover's footprint there and
// whether the ground of the square is difficult: each such step is costed once.
constexpr int kKindsKept = 8;
int32_t FeetKnown[2][1 << kKindsKept][2];
bool FeetAsked[2][1 << kKindsKept][2];

// The kinds of magic area (below kKindsKept, else -1) under the mover's
// footprint placed at (x, y), as bits.
int KindsUnder(int x, int y) {
  unsigned kinds = 0;
  for (int i = x; i < x + MoverWidth; ++i)
    for (int j = y; j < y + MoverHeight; ++j)
      if (OnGrid(i, j)) kinds |= 1u << std::min<uint32_t>(MagicAreaGrid[SquareIndex(i, j)].kind, 31);
  return kinds < (1u << kKindsKept) ? static_cast<int>(kinds) : -1;
}

// The feet of the step from (ux, uy) onto (vx, vy), where kinds is KindsUnder (vx, vy).
int32_t StepFeet(int creature, int ux, int uy, int vx, int vy, int kinds) {
  if (kinds < 0) return CalculateMoveCost(creature, vx, vy, ux, uy, 1);
  const int32_t floor = CurrentMap.layers[kLayerFloor][SquareIndex(vx, vy)];
  const int diagonal = ux != vx && uy != vy, difficult = floor == 123 || floor == 124;
  if (!FeetAsked[diagonal][kinds][difficult]) {
    FeetAsked[diagonal][kinds][difficult] = true;
    FeetKnown[diagonal][kinds][difficult] = CalculateMoveCost(creature, vx, vy, ux, uy, 1);
  }
  return FeetKnown[diagonal][kinds][difficult];
}

// The squares some cheapest walk to a wanted square crosses (and the wanted
// squares themselves): only their records are ever asked for.
uint8_t Needed[kMapSquares];

void MarkNeeded(const int32_t* wanted) {
  for (int i = 0; i < OrderCount; ++i) Needed[Order[i]] = wanted[Order[i]] >= 1 ? 1 : 0;
  for (int i = OrderCount - 1; i > 0; --i) {
    const int v = Order[i];
    if (!Needed[v]) continue;
    const int vx = v / kMapSide, vy = v % kMapSide;
    for (unsigned from = CheapestFrom[v]; from != 0; from &= from - 1) {
      const int d = __builtin_ctz(from);
      Needed[SquareIndex(vx + kDx[d], vy + kDy[d])] = 1;
    }
  }
}

// Over the cheapest walks, square by square in flood order: the least and the
// most of every tally, whether every cheapest walk gives the square one record
// (alike), and whether some cheapest walk to it crosses a wanted square that
// is not alike or lies outside the room (crossesDoubtful). Only wanted
// squares are ever read from a walk record: a square that is not wanted may
// be reached in ways that record differently without harm.
void SettleSquares(int creature, const int32_t* wanted) {
  std::memset(FeetAsked, 0, sizeof FeetAsked);
  MarkNeeded(wanted);
  const bool oneSquare = MoverWidth == 1 && MoverHeight == 1;
  FloodSquare& start = Square[StartSquare];
  start = {};
  start.alike = true;
  for (int i = 1; i < OrderCount; ++i) {
    const int v = Order[i];
    FloodSquare& s = Square[v];
    if (!Needed[v]) {
      s.alike = false;  // never asked for
      continue;
    }
    const int vx = v / kMapSide, vy = v % kMapSide;
    const int kinds = KindsUnder(vx, vy);
    for (int t = 0; t < kTallies; ++t) {
      s.lo[t] = INT32_MAX;
      s.hi[t] = INT32_MIN;
    }
    s.provokedOnAll = ~uint64_t{0};
    s.provokedOnAny = 0;
    s.crossesDoubtful = false;
    int32_t add[kTallies] = {};
    EnteredTallies(vx, vy, add);
    add[kSteps] = 1;
    for (unsigned from = CheapestFrom[v]; from != 0; from &= from - 1) {
      const int d = __builtin_ctz(from);
      const int ux = vx + kDx[d], uy = vy + kDy[d], u = SquareIndex(ux, uy);
      const FloodSquare& p = Square[u];
      s.crossesDoubtful = s.crossesDoubtful || p.crossesDoubtful || p.doubtful;
      add[kFeet] = StepFeet(creature, ux, uy, vx, vy, kinds);
      for (int t = 0; t < kTallies; ++t) {
        s.lo[t] = std::min(s.lo[t], p.lo[t] + add[t]);
        s.hi[t] = std::max(s.hi[t], p.hi[t] + add[t]);
      }
      s.provokedOnAll &= p.provokedOnAll | ThreatsAt[u];
      s.provokedOnAny |= p.provokedOnAny | ThreatsAt[u];
    }
    // The number of steps only has to stay within the path lists.
    s.alike = s.provokedOnAll == s.provokedOnAny && s.hi[kSteps] <= kMostSteps;
    for (int t = 0; t < kTallies; ++t) s.alike = s.alike && (t == kSteps || s.lo[t] == s.hi[t]);
    // A one-square mover fits on a goal it reaches as on any square; a larger
    // one has the goal's own rules to pass.
    s.doubtful = wanted[v] >= 1 && (!s.alike || !InRoom(vx, vy) || (!oneSquare && !RoomGoalFits(vx, vy)));
  }
}

}  // namespace

void ForgetFlood() { Valid = false; }

bool FloodReach(int creature, int fromX, int fromY, const int32_t* wanted) {
  Valid = false;
  if (!BeginRoomRules(creature, fromX, fromY)) return false;
  StartSquare = SquareIndex(fromX, fromY);
  const CreatureRecord& c = Creatures[creature];
  MoverWidth = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  MoverHeight = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  Room = RegionGrid[StartSquare];
  if (MarkThreatsLeaving(creature) && FloodCosts(wanted)) {
    SettleSquares(creature, wanted);
    Valid = true;
  }
  EndRoomRules();
  return Valid;
}

bool FloodSettles(int x, int y) {
  if (!Valid || !OnGrid(x, y) || !InRoom(x, y)) return false;
  const int sq = SquareIndex(x, y);
  return sq != StartSquare && Done[sq] && Square[sq].alike && !Square[sq].doubtful && !Square[sq].crossesDoubtful;
}

bool FloodAgreesAlongPath(const PathTallyRecord* buffer) {
  for (int i = 0; i < PathLength && i < kMapSquares; ++i) {
    const int x = PathOutX[i], y = PathOutY[i];
    if (!FloodSettles(x, y)) continue;
    uint32_t mine[kTallyWords] = {};
    FloodRecord(x, y, mine);
    const uint32_t* rec = buffer[SquareIndex(x, y)];
    for (int k = 0; k < kTallyWords; ++k)
      if (k != 1 && rec[k] != mine[k]) return false;
  }
  return true;
}

void FloodRecord(int x, int y, uint32_t* rec) {
  const FloodSquare& s = Square[SquareIndex(x, y)];
  rec[0] = static_cast<uint32_t>(__builtin_popcountll(s.provokedOnAll));
  rec[2] = static_cast<uint32_t>(s.lo[kFire]);
  rec[3] = static_cast<uint32_t>(s.lo[kBrazier]);
  rec[4] = static_cast<uint32_t>(s.lo[kWeb]);
  rec[5] = static_cast<uint32_t>(s.lo[kSolid]);
  rec[6] = static_cast<uint32_t>(s.lo[kFeet]);
}
