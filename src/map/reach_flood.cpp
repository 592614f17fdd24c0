#include "map/reach_flood.h"

#include <algorithm>
#include <bit>
#include <utility>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

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

// The flood works on the map with a border of one square all round that no
// mover may enter, so that a square's eight neighbours are found by adding
// fixed offsets, without asking whether they lie on the map.
constexpr int kStride = kMapSide + 2;
constexpr int kPadded = kStride * kStride;
constexpr int Padded(int x, int y) { return (x + 1) * kStride + (y + 1); }
constexpr int ColumnOf(int p) { return p / kStride - 1; }
constexpr int RowOf(int p) { return p % kStride - 1; }

// The eight directions of a step (d and 7 - d are opposite), and their offsets.
constexpr int kDx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kOffset[8] = {-kStride - 1, -1, kStride - 1, -kStride, kStride, -kStride + 1, 1, kStride + 1};
constexpr bool kDiagonal[8] = {true, false, true, false, false, true, false, true};

// The fire, brazier fire, web and blocking areas a walk entered, one count
// in each 16-bit lane (a walk never takes 65,536 steps).
constexpr int kLaneFire = 0, kLaneBrazier = 16, kLaneWeb = 32, kLaneSolid = 48;

// The kinds of magic area the feet of a step are worked out for once.
constexpr int kKindsKept = 8;

// What every cheapest walk to a square records. Once two cheapest walks
// differ in their areas or feet, every walk on from there differs too
// (mixed); the attacks provoked may come together again, since an enemy
// counts once a walk.
struct FloodSquare {
  uint64_t areas;          // the areas entered, as lanes (meaningless when mixed)
  uint64_t provokedOnAll;  // enemies whose attacks every cheapest walk provokes
  uint64_t provokedOnAny;  // ... some cheapest walk provokes
  int32_t feet;            // the feet walked (meaningless when mixed)
  int16_t mostSteps;       // the most steps a cheapest walk takes
  bool mixed;              // two cheapest walks differ in areas or feet
  // Wanted and not alike or outside the room (doubtful), or some cheapest
  // walk to it crosses such a square.
  bool doubtfulOrCrosses;
};
static_assert(sizeof(FloodSquare) == 32, "two squares a cache line");

int32_t Cost[kPadded];             // cheapest search cost from the start
int16_t StepExtra[kPadded];        // what stepping onto the square adds; -1 where the mover may not stand
int16_t ExtraOfSquare[kMapSquares];  // the same, square by square as the room rules give it
uint8_t Corner[kPadded];           // 1 a diagonal step may not pass it (the border never lets one)
uint8_t EnteredAt[kPadded];        // the areas entering the square adds, one bit a lane
int16_t FeetKindAt[kPadded];       // what the feet of a step onto the square depend on besides its slant
uint8_t CheapestFrom[kPadded];     // bit d: a cheapest walk arrives from the neighbour in direction d
uint8_t WantedHere[kPadded];       // wanted, in the start's room and not the start
uint8_t WantedAny[kPadded];        // wanted, wherever it lies
uint8_t Needed[kPadded];           // some cheapest walk to a wanted square crosses it (or it is wanted)
int16_t NeededList[kMapSquares];   // the needed squares but the start, last reached first
int NeededCount = 0;
uint8_t Settled[kPadded];          // the answer of FloodSettles
uint8_t Doubtful[kPadded];         // wanted, and a walk there may record otherwise than a search to it
uint8_t GoalFits[kPadded];         // wanted in the room, and the mover may stand on it as a search's goal
uint64_t ThreatsAt[kPadded];       // enemies whose attack leaving the square provokes
FloodSquare Square[kPadded];
// The distinct sets of enemies provoked over the cheapest walks to a square,
// while they are few: a walk record holds only how many attacks were
// provoked, so walks past different enemies, as many on each, record alike.
// Kept for the needed squares only.
constexpr int kMostSets = 4;
constexpr uint8_t kSetsLost = 0xFF;  // more distinct sets than are kept
uint64_t ProvokedSets[kPadded][kMostSets];
uint8_t ProvokedSetCount[kPadded];
int16_t Order[kMapSquares];  // the squares in the order the flood reached their cheapest cost
int16_t OrderRank[kPadded];  // each square's place in Order (meaningful for the squares in it)
int OrderCount = 0;

// The open squares by cost, in buckets: every step costs less than
// kBuckets, so the buckets of the costs still open never overlap.
constexpr int kBuckets = 512;
constexpr int kMaxStep = 14 + 50 + 100 + 20 + 200 + 40;
static_assert(kMaxStep < kBuckets, "a step may not reach past the buckets");
std::vector<int16_t> Bucket[kBuckets];  // the squares put at each cost, kept from flood to flood

bool Valid = false;
bool CostsKnown = false;  // Cost and CheapestFrom hold this flood's walks
int Mover = -1;
int StartSquare = -1;  // padded
int MoverWidth = 1, MoverHeight = 1;  // the mover's footprint
int32_t Room = -1;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// A square in the start's room on the map: a search there follows the rules
// of the flood.
bool InRoom(int x, int y) {
  return x < CurrentMap.width && y < CurrentMap.height && RegionGrid[SquareIndex(x, y)] == Room;
}

uint8_t EnteredAreas(int x, int y);
int16_t FeetKind(int x, int y);

bool CornerBlocks(int p) { return Corner[p] != 0; }

// The step costs of every square under the room rules, and the wanted squares
// of the room (none when wanted is null). False when a step may cost more
// than the buckets can hold.
bool PrepareSquares(const int32_t* wanted, int& remaining) {
  RoomStepExtraCosts(ExtraOfSquare);
  std::fill(std::begin(StepExtra), std::end(StepExtra), int16_t{-1});
  std::memset(WantedHere, 0, sizeof WantedHere);
  std::memset(WantedAny, 0, sizeof WantedAny);
  std::memset(Corner, 1, sizeof Corner);
  const bool oneSquare = MoverWidth == 1 && MoverHeight == 1;
  remaining = 0;
  int16_t most = 0;
  for (int x = 0; x < kMapSide; ++x) {
    int16_t* extra = &StepExtra[Padded(x, 0)];
    uint8_t* here = &WantedHere[Padded(x, 0)];
    uint8_t* any = &WantedAny[Padded(x, 0)];
    uint8_t* corner = &Corner[Padded(x, 0)];
    uint8_t* entered = &EnteredAt[Padded(x, 0)];
    int16_t* feetKind = &FeetKindAt[Padded(x, 0)];
    const int16_t* given = &ExtraOfSquare[SquareIndex(x, 0)];
    const int32_t* worth = wanted ? &wanted[SquareIndex(x, 0)] : nullptr;
    for (int y = 0; y < kMapSide; ++y) {
      extra[y] = given[y];
      // Only a one-square mover minds the corners of a diagonal step.
      // (A square more than one beyond the map's last row or column is no
      // corner of a step between squares of the map, the only squares a
      // mover in combat stands on.)
      if (oneSquare && x <= CurrentMap.width && y <= CurrentMap.height)
        corner[y] = BlockedGrid[SquareIndex(x, y)] != kSquareFlooded && IsCornerObstructed(x, y);
      most = std::max(most, given[y]);
      if (given[y] >= 0 && oneSquare) {
        // The one square's own area and ground, read directly.
        const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
        const bool fire = cell.kind == kEffectFire;
        entered[y] = static_cast<uint8_t>(fire | (fire && cell.roundsLeft == 1000) << 1 |
                                          (cell.kind == kEffectWeb) << 2 | (cell.kind == kEffectSolid) << 3);
        const int32_t floor = CurrentMap.layers[kLayerFloor][SquareIndex(x, y)];
        feetKind[y] = cell.kind < kKindsKept
                          ? static_cast<int16_t>(1 << cell.kind << 1 | (floor == 123 || floor == 124))
                          : int16_t{-1};
      } else if (given[y] >= 0) {
        entered[y] = EnteredAreas(x, y);
        feetKind[y] = FeetKind(x, y);
      }
      if (worth && worth[y] >= 1) {
        any[y] = 1;
        if (InRoom(x, y)) {
          here[y] = 1;
          GoalFits[Padded(x, y)] = RoomGoalFits(x, y);
          ++remaining;
        }
      }
    }
  }
  if (WantedHere[StartSquare]) {
    WantedHere[StartSquare] = 0;
    --remaining;
  }
  return most < kBuckets - 14;
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
        if (CountThreatsAmong(x, y, creature, &entries[k], 1) > 0) ThreatsAt[Padded(x, y)] |= uint64_t{1} << bit;
      }
    ++bit;
  }
  for (int i = 0; i < TurnCount(); ++i) TurnOrder[i].threatMark = marks[i];
  return fits;
}

// What entering the square adds to a walk's fire, brazier, web and blocking
// tallies, a bit each: each counts once for the mover's footprint placed there.
uint8_t EnteredAreas(int x, int y) { return AreasUnderFootprint(x, y, MoverWidth, MoverHeight); }

// The bits of EnteredAreas spread to the lanes of a walk record.
constexpr uint64_t AreaLanes(unsigned bits) {
  return uint64_t{(bits & 1) != 0} << kLaneFire | uint64_t{(bits & 2) != 0} << kLaneBrazier |
         uint64_t{(bits & 4) != 0} << kLaneWeb | uint64_t{(bits & 8) != 0} << kLaneSolid;
}

uint32_t Lane(uint64_t areas, int lane) { return static_cast<uint32_t>((areas >> lane) & 0xFFFF); }

// A walk record's tallies ([1] aside): the attacks of the enemies provoked,
// the areas entered and the feet.
void WriteTallies(uint64_t provoked, uint64_t areas, int32_t feet, uint32_t* rec) {
  rec[0] = static_cast<uint32_t>(__builtin_popcountll(provoked));
  rec[2] = Lane(areas, kLaneFire);
  rec[3] = Lane(areas, kLaneBrazier);
  rec[4] = Lane(areas, kLaneWeb);
  rec[5] = Lane(areas, kLaneSolid);
  rec[6] = static_cast<uint32_t>(feet);
}

// The feet of a step onto a square depend only on whether the step is
// diagonal, the kinds of magic area under the mover's footprint there and
// whether the ground of the square is difficult: each such step is costed once.
int32_t FeetKnown[2][2 << kKindsKept];  // by slant and FeetKind; -1 not yet asked

// The kinds of magic area (below kKindsKept, else -1) under the mover's
// footprint placed at (x, y), as bits.
int KindsUnder(int x, int y) {
  unsigned kinds = 0;
  for (int i = x; i < x + MoverWidth; ++i)
    for (int j = y; j < y + MoverHeight; ++j)
      if (OnGrid(i, j)) kinds |= 1u << std::min<uint32_t>(MagicAreaGrid[SquareIndex(i, j)].kind, 31);
  return kinds < (1u << kKindsKept) ? static_cast<int>(kinds) : -1;
}

// What the feet of a step onto (x, y) depend on besides its slant: the kinds
// under the mover there and whether its ground is difficult, or -1 when the
// kinds are too many to keep.
int16_t FeetKind(int x, int y) {
  const int kinds = KindsUnder(x, y);
  if (kinds < 0) return -1;
  const int32_t floor = CurrentMap.layers[kLayerFloor][SquareIndex(x, y)];
  return static_cast<int16_t>(kinds << 1 | (floor == 123 || floor == 124));
}

// The feet of the step from (ux, uy) onto (vx, vy), where key is FeetKind (vx, vy).
inline int32_t StepFeet(int creature, int ux, int uy, int vx, int vy, int key) {
  if (key < 0) return CalculateMoveCost(creature, vx, vy, ux, uy, 1);
  int32_t& feet = FeetKnown[ux != vx && uy != vy][key];
  if (feet < 0) feet = CalculateMoveCost(creature, vx, vy, ux, uy, 1);
  return feet;
}

// The squares some cheapest walk to a wanted square crosses (and the wanted
// squares themselves): only their records are ever asked for.
void MarkNeeded() {
  std::memcpy(Needed, WantedAny, sizeof Needed);
  NeededCount = 0;
  for (int i = OrderCount - 1; i > 0; --i) {
    const int v = Order[i];
    if (!Needed[v]) continue;
    NeededList[NeededCount++] = static_cast<int16_t>(v);
    for (unsigned from = CheapestFrom[v]; from != 0; from &= from - 1) Needed[v + kOffset[__builtin_ctz(from)]] = 1;
  }
}

// Over the cheapest walks to square v, once every square a cheapest walk to
// it crosses is tallied: what they record, whether every cheapest walk gives
// the square one record (alike), and whether some cheapest walk to it
// crosses a wanted square that is not alike or lies outside the room. Only
// wanted squares are ever read from a walk record: a square that is not
// wanted may be reached in ways that record differently without harm.
void TallySquare(int creature, int v) {
  FloodSquare& s = Square[v];
  const int vx = ColumnOf(v), vy = RowOf(v);
  const int key = FeetKindAt[v];
  const uint64_t entered = AreaLanes(EnteredAt[v]);
  unsigned from = CheapestFrom[v];
  // The first walk's record, then every other one against it.
  int d = __builtin_ctz(from);
  int u = v + kOffset[d];
  const FloodSquare* p = &Square[u];
  bool crosses = p->doubtfulOrCrosses, mixed = p->mixed;
  const uint64_t areas = p->areas + entered;
  const int32_t feet = p->feet + StepFeet(creature, vx + kDx[d], vy + kDy[d], vx, vy, key);
  int32_t steps = p->mostSteps + 1;
  uint64_t onAll = p->provokedOnAll | ThreatsAt[u], onAny = p->provokedOnAny | ThreatsAt[u];
  for (from &= from - 1; from != 0; from &= from - 1) {
    d = __builtin_ctz(from);
    u = v + kOffset[d];
    p = &Square[u];
    crosses |= p->doubtfulOrCrosses;
    const int32_t f = p->feet + StepFeet(creature, vx + kDx[d], vy + kDy[d], vx, vy, key);
    mixed |= p->mixed | (p->areas + entered != areas) | (f != feet);
    steps = std::max(steps, p->mostSteps + 1);
    onAll &= p->provokedOnAll | ThreatsAt[u];
    onAny |= p->provokedOnAny | ThreatsAt[u];
  }
  // The sets provoked: one when every cheapest walk provokes the same
  // enemies, else each walk on from each cheapest neighbour.
  uint64_t* sets = ProvokedSets[v];
  uint8_t& setCount = ProvokedSetCount[v];
  sets[0] = onAll;
  setCount = 1;
  bool sameCount = true;
  if (onAll != onAny) {
    setCount = 0;
    for (from = CheapestFrom[v]; from != 0 && setCount != kSetsLost; from &= from - 1) {
      u = v + kOffset[__builtin_ctz(from)];
      if (ProvokedSetCount[u] == kSetsLost) {
        setCount = kSetsLost;
        break;
      }
      for (int k = 0; k < ProvokedSetCount[u]; ++k) {
        const uint64_t set = ProvokedSets[u][k] | ThreatsAt[u];
        if (std::find(sets, sets + setCount, set) != sets + setCount) continue;
        if (setCount == kMostSets) {
          setCount = kSetsLost;
          break;
        }
        sets[setCount++] = set;
      }
    }
    // Every set must provoke as many as the first.
    for (int k = 1; k < setCount && setCount != kSetsLost; ++k)
      sameCount &= __builtin_popcountll(sets[k]) == __builtin_popcountll(sets[0]);
  }
  s.areas = areas;
  s.feet = feet;
  s.mostSteps = static_cast<int16_t>(std::min(steps, static_cast<int32_t>(INT16_MAX)));
  s.mixed = mixed;
  s.provokedOnAll = onAll;
  s.provokedOnAny = onAny;
  // The number of steps only has to stay within the path lists.
  const bool alike = !mixed && setCount != kSetsLost && sameCount && steps <= kMostSteps;
  const bool inRoom = InRoom(vx, vy);
  // A larger mover has the goal's own rules to pass (asked as the flood began).
  const bool doubtful = WantedAny[v] && (!alike || !inRoom || !GoalFits[v]);
  s.doubtfulOrCrosses = doubtful || crosses;
  Doubtful[v] = doubtful;
  Settled[v] = alike && inRoom && !doubtful && !crosses;
}

// The cheapest search cost of every square the mover can reach, the
// neighbours cheapest walks arrive from, and the order in which the squares
// got their cost (each after every square a cheapest walk to it crosses,
// since every step costs at least 10), until every wanted square of the room
// has its cost (wanted squares outside it are never searched for under the
// flood's rules). False when a step costs more than the buckets can hold.
bool FloodCosts(const int32_t* wanted) {
  OrderCount = 0;
  CostsKnown = false;
  std::memset(FeetKnown, 0xFF, sizeof FeetKnown);
  std::memset(Settled, 0, sizeof Settled);
  int remaining = 0;
  if (!PrepareSquares(wanted, remaining)) return false;
  // (No wanted squares at all: every square the mover can reach.)
  if (wanted && remaining == 0) return true;
  CostsKnown = true;
  std::fill(std::begin(Cost), std::end(Cost), kUnreached);
  std::memset(CheapestFrom, 0, sizeof CheapestFrom);
  for (std::vector<int16_t>& b : Bucket) b.clear();
  const bool oneSquare = MoverWidth == 1 && MoverHeight == 1;
  int open = 0;
  auto put = [&open](int square, int32_t cost) {
    Bucket[cost % kBuckets].push_back(static_cast<int16_t>(square));
    ++open;
  };
  Cost[StartSquare] = 0;
  put(StartSquare, 0);
  for (int32_t cost = 0; open > 0; ++cost) {
    std::vector<int16_t>& bucket = Bucket[cost % kBuckets];
    // Nothing put at this cost while it is taken out: every step costs 10 or more.
    open -= static_cast<int>(bucket.size());
    for (size_t k = 0; k < bucket.size(); ++k) {
      const int u = bucket[k];
      // A dearer entry left behind (a square's cheapest cost is put once only).
      if (Cost[u] != cost) continue;
      OrderRank[u] = static_cast<int16_t>(OrderCount);
      Order[OrderCount++] = static_cast<int16_t>(u);
      if (WantedHere[u] && --remaining == 0) return true;
#pragma GCC unroll 8
      for (int d = 0; d < 8; ++d) {
        const int v = u + kOffset[d];
        // A square already settled costs no more than u.
        if (Cost[v] <= cost) continue;
        const int e = StepExtra[v];
        if (e < 0) continue;
        // Only a one-square mover minds the corners of a diagonal step: the
        // squares beside u in the step's column and row.
        if (kDiagonal[d] && oneSquare && (CornerBlocks(u + kDx[d] * kStride) || CornerBlocks(u + kDy[d]))) continue;
        const int32_t g = cost + (kDiagonal[d] ? 14 : 10) + e;
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
    bucket.clear();
  }
  return true;
}

// The records of the needed squares, in flood order (the squares before
// each first); no other square's record is ever asked for.
void SettleSquares(int creature) {
  MarkNeeded();
  Square[StartSquare] = {};
  ProvokedSets[StartSquare][0] = 0;
  ProvokedSetCount[StartSquare] = 1;
  for (int i = NeededCount - 1; i >= 0; --i) TallySquare(creature, NeededList[i]);
}

// The least feet of the cheapest walks to every square the flood reached, in
// flood order (each square after those the walks to it cross).
int32_t LeastFeet[kPadded];
bool LeastFeetKnown = false;

void WorkOutLeastFeet(int creature) {
  LeastFeet[StartSquare] = 0;
  for (int i = 1; i < OrderCount; ++i) {
    const int v = Order[i];
    const int vx = ColumnOf(v), vy = RowOf(v);
    int32_t least = INT32_MAX;
    for (unsigned from = CheapestFrom[v]; from != 0; from &= from - 1) {
      const int d = __builtin_ctz(from);
      least = std::min(least, LeastFeet[v + kOffset[d]] + StepFeet(creature, vx + kDx[d], vy + kDy[d], vx, vy,
                                                                    FeetKindAt[v]));
    }
    LeastFeet[v] = least;
  }
}

// A flood of the mover's room from its square: what was known before is
// forgotten; false when the room's rules cannot be set up.
bool BeginFlood(int creature, int fromX, int fromY) {
  Valid = false;
  LeastFeetKnown = false;
  if (!BeginRoomRules(creature, fromX, fromY)) return false;
  StartSquare = Padded(fromX, fromY);
  Mover = creature;
  const CreatureRecord& c = Creatures[creature];
  MoverWidth = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  MoverHeight = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  Room = RegionGrid[SquareIndex(fromX, fromY)];
  return true;
}

}  // namespace

void ForgetFlood() { Valid = false; }

bool FloodLeastFeet(int creature, int fromX, int fromY) {
  if (!BeginFlood(creature, fromX, fromY)) return false;
  if (MoverWidth == 1 && MoverHeight == 1 && FloodCosts(nullptr)) {
    WorkOutLeastFeet(creature);
    LeastFeetKnown = true;
  }
  EndRoomRules();
  return LeastFeetKnown;
}

int32_t FloodLeastFeetTo(int x, int y) {
  if (!LeastFeetKnown || !OnGrid(x, y) || Cost[Padded(x, y)] == kUnreached) return -1;
  return LeastFeet[Padded(x, y)];
}

bool FloodReach(int creature, int fromX, int fromY, const int32_t* wanted) {
  if (!BeginFlood(creature, fromX, fromY)) return false;
  if (MarkThreatsLeaving(creature) && FloodCosts(wanted)) {
    SettleSquares(creature);
    Valid = true;
  }
  EndRoomRules();
  return Valid;
}

bool FloodSettles(int x, int y) { return Valid && OnGrid(x, y) && Settled[Padded(x, y)]; }

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
  const FloodSquare& s = Square[Padded(x, y)];
  WriteTallies(ProvokedSets[Padded(x, y)][0], s.areas, s.feet, rec);
}


namespace {

// The walks a search to one goal may take (see FloodWalk), square by square:
// the cheapest neighbours it may have come from, and what every such walk
// to the square has recorded.
struct WalkSquare {
  uint32_t stamp;          // WalkStamp: the square lies on a walk the search may take
  uint8_t from;            // bit d: the search may have come from the neighbour in direction d
  bool told;               // every walk here crosses the same doubtful wanted squares and records alike
  bool anew;               // doubtful, and the walks here record on it otherwise than it holds
  int16_t lastWanted;      // the last doubtful wanted square every walk here crosses and records anew (padded), or the start
  int16_t steps;           // the most steps of a walk here
  uint64_t provoked;       // the enemies provoked on the way (leaving the squares before it)
  uint64_t areas;          // the areas entered, as lanes
  int32_t feet;
};
WalkSquare Walk[kPadded];
uint32_t WalkStamp = 0;
int16_t WalkSquares[kMapSquares];

// The search's estimate of the rest of the way from p to the goal (gx, gy).
inline int32_t Estimate(int p, int gx, int gy) {
  const int dx = std::abs(ColumnOf(p) - gx), dy = std::abs(RowOf(p) - gy);
  return 10 * std::max(dx, dy) + 4 * std::min(dx, dy);
}

// The record a walk's tallies give a square of it (word [1] aside).
void WriteWalkRecord(const WalkSquare& w, uint32_t* rec) { WriteTallies(w.provoked, w.areas, w.feet, rec); }

constexpr uint32_t kNoRecord = static_cast<uint32_t>(-1);  // a record word not yet written

// Whether the square p already holds in buffer the record the walk w writes
// there: every word the pass or its callers read (all but [1], the attacks
// provoked on the square itself, which no one reads).
bool HoldsWalkRecord(int p, const WalkSquare& w, const PathTallyRecord* buffer) {
  if (!buffer) return false;
  const uint32_t* held = buffer[SquareIndex(ColumnOf(p), RowOf(p))];
  if (held[0] == kNoRecord && held[kTallyWords - 1] == kNoRecord) return false;
  uint32_t rec[kTallyWords] = {};
  WriteWalkRecord(w, rec);
  for (int k = 0; k < kTallyWords; ++k)
    if (k != 1 && rec[k] != held[k]) return false;
  return true;
}

// What a search writes on a square u its walk crosses (the start: only the
// attacks leaving it provoked).
void WriteCrossedRecord(int u, PathTallyRecord* buffer) {
  const WalkSquare& p = Walk[u];
  // Leaving the square provoked these.
  const uint32_t fresh = static_cast<uint32_t>(__builtin_popcountll(ThreatsAt[u] & ~p.provoked));
  uint32_t* rec = buffer[SquareIndex(ColumnOf(u), RowOf(u))];
  if (fresh != 0) rec[1] = fresh;
  if (u != StartSquare) WriteWalkRecord(p, rec);
}

int16_t Unsure[kMapSquares];  // wanted squares on the walks, neither doubtful nor settled
uint32_t AvoidStamp[kPadded];
uint32_t AvoidRound = 0;
int16_t AvoidQueue[kMapSquares];

// Whether every walk to the goal (of the count squares found back from it)
// crosses u: back from the goal without stepping on u, the start is not met.
bool CrossedByEveryWalk(int u, int goal, int count) {
  if (++AvoidRound == 0) {
    std::memset(AvoidStamp, 0, sizeof AvoidStamp);
    AvoidRound = 1;
  }
  int head = 0, tail = 0;
  AvoidQueue[tail++] = static_cast<int16_t>(goal);
  AvoidStamp[goal] = AvoidStamp[u] = AvoidRound;
  while (head < tail && tail <= count) {
    const int v = AvoidQueue[head++];
    if (v == StartSquare) return false;
    for (unsigned from = Walk[v].from; from != 0; from &= from - 1) {
      const int w = v + kOffset[__builtin_ctz(from)];
      if (AvoidStamp[w] == AvoidRound) continue;
      AvoidStamp[w] = AvoidRound;
      AvoidQueue[tail++] = static_cast<int16_t>(w);
    }
  }
  return true;
}

}  // namespace

bool FloodReaches(int x, int y) {
  if (!Valid || !CostsKnown || !OnGrid(x, y)) return false;
  const int goal = Padded(x, y);
  return WantedHere[goal] && Cost[goal] != kUnreached && GoalFits[goal];
}

bool FloodTallyWalk(PathTallyRecord* buffer, uint32_t* out) {
  if (!Valid || PathLength < 1 || PathLength > kMostSteps) return false;
  const int gx = PathOutX[PathLength - 1], gy = PathOutY[PathLength - 1];
  if (!Valid || !OnGrid(gx, gy) || !WantedHere[Padded(gx, gy)]) return false;
  // Step by step from the start, as the search's tally counts them: the
  // enemies leaving a square provokes (each once a walk), the areas entered
  // and the feet.
  uint64_t provoked = 0, areas = 0;
  int32_t feet = 0;
  int u = StartSquare;
  for (int i = 0; i < PathLength; ++i) {
    const int x = PathOutX[i], y = PathOutY[i];
    const int ux = ColumnOf(u), uy = RowOf(u);
    if (!OnGrid(x, y) || std::abs(x - ux) > 1 || std::abs(y - uy) > 1) return false;
    const int v = Padded(x, y);
    // The areas and feet of a square are known where the mover may stand.
    if (StepExtra[v] < 0) return false;
    const uint64_t fresh = ThreatsAt[u] & ~provoked;
    if (buffer && fresh != 0) buffer[SquareIndex(ux, uy)][1] = static_cast<uint32_t>(__builtin_popcountll(fresh));
    provoked |= ThreatsAt[u];
    areas += AreaLanes(EnteredAt[v]);
    feet += StepFeet(Mover, ux, uy, x, y, FeetKindAt[v]);
    if (buffer) WriteTallies(provoked, areas, feet, buffer[SquareIndex(x, y)]);
    u = v;
  }
  if (out) {
    uint32_t rec[kTallyWords] = {};
    WriteTallies(provoked, areas, feet, rec);
    out[0] += rec[0];
    for (int k = 2; k < kTallyWords; ++k) out[k] = rec[k];
  }
  return true;
}

bool FloodFindsNoWalk(int x, int y, bool* goalFits) {
  if (!Valid || !CostsKnown || !OnGrid(x, y)) return false;
  const int goal = Padded(x, y);
  // The flood ran out before it reached every wanted square of the room.
  if (!WantedHere[goal] || Cost[goal] != kUnreached) return false;
  *goalFits = GoalFits[goal] != 0;
  return true;
}

bool FloodWalk(int x, int y, PathTallyRecord* buffer, uint32_t* out) {
  if (!Valid || !CostsKnown || !OnGrid(x, y)) return false;
  const int goal = Padded(x, y);
  // Only a wanted square of the room is sure to have its cost and its
  // cheapest neighbours final when the flood stopped.
  if (!WantedHere[goal]) return false;
  if (Cost[goal] == kUnreached) return false;
  if (!GoalFits[goal]) return false;
  // A mover of more than one square may pass a corner on a diagonal step,
  // but a five-foot step round one is not taken: its search must judge that.
  const int dx = std::abs(ColumnOf(goal) - ColumnOf(StartSquare)), dy = std::abs(RowOf(goal) - RowOf(StartSquare));
  if ((MoverWidth > 1 || MoverHeight > 1) && dx == 1 && dy == 1) return false;
  if (++WalkStamp == 0) {
    for (WalkSquare& w : Walk) w.stamp = 0;
    WalkStamp = 1;
  }
  // Back from the goal. The search closes squares in order of cost plus its
  // estimate of the rest of the way (never one before another of less), and
  // a square keeps the neighbour that first offered its cheapest cost: a
  // cheapest neighbour of least cost plus estimate. Where several tie, the
  // order of the search's open list chooses: each may be the one.
  int count = 0, unsure = 0;
  Walk[goal].stamp = WalkStamp;
  WalkSquares[count++] = static_cast<int16_t>(goal);
  for (int k = 0; k < count; ++k) {
    const int v = WalkSquares[k];
    WalkSquare& w = Walk[v];
    w.from = 0;
    if (v == StartSquare) continue;
    int32_t least = INT32_MAX;
    for (unsigned from = CheapestFrom[v]; from != 0; from &= from - 1) {
      const int d = __builtin_ctz(from);
      const int32_t f = Cost[v + kOffset[d]] + Estimate(v + kOffset[d], x, y);
      if (f < least) {
        least = f;
        w.from = 0;
      }
      if (f == least) w.from |= static_cast<uint8_t>(1u << d);
    }
    for (unsigned from = w.from; from != 0; from &= from - 1) {
      const int u = v + kOffset[__builtin_ctz(from)];
      if (Walk[u].stamp == WalkStamp) continue;
      if (WantedAny[u] && u != StartSquare && !Doubtful[u] && !Settled[u]) Unsure[unsure++] = static_cast<int16_t>(u);
      Walk[u].stamp = WalkStamp;
      WalkSquares[count++] = static_cast<int16_t>(u);
    }
  }
  // Forward from the start, each square after those the walks to it cross
  // (every step costs something): what each walk records, and whether every
  // walk to the square crosses the same doubtful wanted squares and records
  // alike. (A wanted square that is not doubtful gets the same record from
  // any walk crossing it as from its own search: crossed or not is all one.)
  // (In the order the flood reached them, which is by cost: every square of
  // a walk costs less than the goal, so the flood took each before it.)
  static uint64_t ranks[(kMapSquares + 63) / 64];
  int lowest = OrderCount, highest = 0;
  for (int k = 0; k < count; ++k) {
    const int r = OrderRank[WalkSquares[k]];
    if (r >= OrderCount || Order[r] != WalkSquares[k]) return false;
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  for (int k = 0; k < count; ++k) {
    const int r = OrderRank[WalkSquares[k]];
    ranks[r >> 6] |= uint64_t{1} << (r & 63);
  }
  count = 0;
  for (int word = lowest >> 6; word <= highest >> 6; ++word)
    for (uint64_t bits = std::exchange(ranks[word], 0); bits != 0; bits &= bits - 1)
      WalkSquares[count++] = Order[word * 64 + std::countr_zero(bits)];
  if (WalkSquares[0] != StartSquare) return false;
  Walk[StartSquare] = {WalkStamp, 0, true, false, static_cast<int16_t>(StartSquare), 0, 0, 0, 0};
  for (int k = 1; k < count; ++k) {
    const int v = WalkSquares[k];
    WalkSquare& w = Walk[v];
    const int vx = ColumnOf(v), vy = RowOf(v);
    const uint64_t entered = AreaLanes(EnteredAt[v]);
    bool first = true;
    w.told = true;
    w.steps = 0;
    for (unsigned from = w.from; from != 0; from &= from - 1) {
      const int d = __builtin_ctz(from);
      const int u = v + kOffset[d];
      const WalkSquare& p = Walk[u];
      const int16_t lastWanted = p.anew ? static_cast<int16_t>(u) : p.lastWanted;
      const uint64_t provoked = p.provoked | ThreatsAt[u];
      const uint64_t areas = p.areas + entered;
      const int32_t feet = p.feet + StepFeet(Mover, vx + kDx[d], vy + kDy[d], vx, vy, FeetKindAt[v]);
      w.steps = static_cast<int16_t>(std::max<int>(w.steps, p.steps + 1));
      if (first) {
        first = false;
        w.told = p.told;
        w.lastWanted = lastWanted;
        w.provoked = provoked;
        w.areas = areas;
        w.feet = feet;
      } else {
        w.told &= p.told && lastWanted == w.lastWanted && provoked == w.provoked && areas == w.areas && feet == w.feet;
      }
    }
    // Every walk to the goal crosses the square: once two walks here differ,
    // the goal's walks differ too.
    if (!w.told) return false;
    // A doubtful square that already holds what the walks here record on it
    // is left as it is whichever of them the search takes.
    w.anew = Doubtful[v] && !HoldsWalkRecord(v, w, buffer);
  }
  const WalkSquare& g = Walk[goal];
  if (!g.told) return false;
  if (g.steps > kMostSteps) return false;  // longer than a fighter's path lists: the search fails
  // A wanted square on some walk that is neither doubtful nor settled, and
  // has no record yet, keeps the record of the walk the search takes, and no
  // search of its own follows (which would write its own walk's records on
  // the way): told only when every walk crosses it, recording alike there.
  for (int k = 0; k < unsure; ++k) {
    const int u = Unsure[k];
    const uint32_t* rec = buffer ? buffer[SquareIndex(ColumnOf(u), RowOf(u))] : nullptr;
    if (rec && !(rec[0] == kNoRecord && rec[kTallyWords - 1] == kNoRecord)) continue;
    if (!Walk[u].told || !CrossedByEveryWalk(u, goal, count)) return false;
  }
  // Every walk the search may take crosses the same doubtful wanted squares,
  // each recording alike: their records are written from the goal back. (The
  // records of squares that are not wanted are never read.)
  if (buffer) {
    WriteWalkRecord(g, buffer[SquareIndex(x, y)]);
    for (int k = 0; k < unsure; ++k) WriteCrossedRecord(Unsure[k], buffer);
    for (int v = goal; v != StartSquare;) {
      const int u = Walk[v].lastWanted;
      WriteCrossedRecord(u, buffer);
      v = u;
    }
  }
  if (out) {
    uint32_t rec[kTallyWords] = {};
    WriteWalkRecord(g, rec);
    out[0] += rec[0];
    for (int k = 2; k < kTallyWords; ++k) out[k] = rec[k];
  }
  return true;
}
