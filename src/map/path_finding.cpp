// The A* search of the movers, over the open list of map/open_list.h (whose
// tie rules decide which of two equally short paths is walked).
#include "map/path_finding.h"

#include <algorithm>
#include <climits>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "engine/reset_words.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "rules/adjacency.h"
#include "map/combatant_grid.h"
#include "map/fighter_tests.h"
#include "state/threat_grids.h"
#include "map/line_of_effect.h"
#include "map/open_list.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/camera.h"
#include "state/game_screen_words.h"
#include "state/party_leader.h"

int32_t PathOnClosed = 10;
int32_t PathOutX[kMapSquares];
int32_t PathOutY[kMapSquares];
int32_t PathLength = 0;
int32_t PathCostFeet = 0;
uint8_t PathShown = 0;
uint8_t PathLookupByScan = 0;
int32_t WorldPathStartX = 0, WorldPathStartY = 0, WorldPathGoalX = 0, WorldPathGoalY = 0;

using namespace openlist;

namespace {

// The search under way: what the fit test and the step costs read.
struct SearchState {
  int mover = -1;
  int target = -1;
  bool seek = false;
  bool noActChecks = false;
  int startRegion = -1;
  int goalRegion = -1;
  bool sameRegion = false;
  bool passing = false;  // the fit test let the mover through a friend's square
  bool goalBlocked = false;  // of the goal (goalX, goalY)
  int goalX = -1, goalY = -1;
  int width = 1;         // footprint of the fit test and the step costs
  int height = 1;
  uint32_t running[kTallyWords] = {};
};
SearchState S;

inline bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Height(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }
int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

FighterSlot* SlotOf(int creature) {
  if (!IsValidCreature(creature)) return nullptr;
  const int s = Creatures[creature].fighterSlot;
  return (s >= 0 && s < kFighterSlots) ? &FighterSlots[s] : nullptr;
}




void ClearArrow(int x, int y) {
  int32_t& cell = ArrowGrid[SquareIndex(x, y)];
  cell = cell >= 200 ? 200 : cell >= 100 ? 100 : -1;
}

// Walks back from the goal and writes the path first step to goal: the walk
// goal first into the far end of the output, then moved to its start.
void WritePath(int fromX, int fromY, int goalX, int goalY) {
  int i = kMapSquares;
  for (int wi = W(goalX, goalY), start = W(fromX, fromY); wi != start && i > 0; wi = Work[wi].parent) {
    --i;
    PathOutX[i] = wi / kPathStride;
    PathOutY[i] = wi % kPathStride;
  }
  PathLength = kMapSquares - i;
  std::memmove(PathOutX, PathOutX + i, sizeof PathOutX[0] * PathLength);
  std::memmove(PathOutY, PathOutY + i, sizeof PathOutY[0] * PathLength);
}

// Copies up to 200 squares into the slot; true when the goal was among them.
bool CopyToSlot(FighterSlot* slot) {
  const int n = std::min<int>(PathLength, kPathLength);
  if (slot) {
    std::copy_n(PathOutX, n, slot->pathX);
    std::copy_n(PathOutY, n, slot->pathY);
    std::fill(slot->pathX + n, slot->pathX + kPathLength, -1);
    std::fill(slot->pathY + n, slot->pathY + kPathLength, -1);
  }
  return PathLength <= kPathLength;
}

void FailPath(int creature) {
  if (FighterSlot* slot = SlotOf(creature)) slot->pathIndex = -1;
  PathCostFeet = 0;
  CreatureRecord& c = Creatures[creature];
  c.destinationX = c.destinationY = -1;
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  PathShown = 0;
}

bool LinkedFootprint(int creature, int* w, int* h) {
  const CreatureRecord& c = Creatures[creature];
  if (InCombat == 1 || c.leader != creature || c.formationX == 0) return false;
  const int32_t links[4] = {c.formationX, c.formationY, c.formationWords[kThirdLinkWord], c.formationWords[kFourthLinkWord]};
  for (int32_t id : links) {
    if (id <= 0 || id >= kCreatureCount) continue;
    *w = std::max(*w, Width(Creatures[id]));
    *h = std::max(*h, Height(Creatures[id]));
  }
  return true;
}

// The turn-order creature other than the two that covers (x, y), -1 none.
inline int OtherCombatantAt(int x, int y, int except1, int except2) {
  if (!PathLookupByScan) return OtherCombatantOnSynced(x, y, except1, except2);
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (o < 0 || o == except1 || o == except2) continue;
    if (FootprintCovers(o, x, y)) return o;
  }
  return -1;
}

}  // namespace

int OtherCombatantForSearches(int x, int y, int except1, int except2) {
  return OtherCombatantAt(x, y, except1, except2);
}

namespace {

// How many turn-order entries cover (x, y).
inline int CombatantsOn(int x, int y) {
  return PathLookupByScan ? CountCombatantsOnSquare(x, y) : CombatantCountOnSynced(x, y);
}

// The mover's own values that the step costs read, taken once per search.
struct MoverCosts {
  int32_t kind;
  int fireCode, hamper;
  bool sightDependent;  // darkness slows it
  bool small;           // difficult floor slows it (size below 4)
  bool hearsOnly;       // sense code 5 and not deafened: silence slows it
};
MoverCosts MoverCostsOf(int creature) {
  const CreatureRecord& c = Creatures[creature];
  return {c.kind,
          FireImmunityCode(creature),
          HamperingImmunityCode(creature),
          IsSightDependent(creature, 0),
          c.size.current < 4,
          c.special[kSenseKindWord] == 5 && FindCondition(creature, kCondDeafened) < 0};
}

// Whether the creature's footprint placed at (x, y) fits as FootprintFitsAt
// (x, y, creature, 0) answers, read from the occupancy grid.
bool FootprintFitsForSearch(int x, int y, int creature, int w, int h) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) {
      if (!OnGrid(i, j) || BlockedGrid[SquareIndex(i, j)] == kSquareBlocked) return false;
      if (InCombat == 1 && OtherCombatantAt(i, j, creature, -1) != -1) return false;
    }
  return true;
}

}  // namespace

bool AbandonPath(int creature) {
  PathShown = 0;
  PathCostFeet = 0;
  if (!IsValidCreature(creature)) return true;
  CreatureRecord& c = Creatures[creature];
  c.destinationX = c.destinationY = -1;
  if (FighterSlot* slot = SlotOf(creature)) slot->pathIndex = -1;
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  return true;
}

namespace {

// Always inlined, so that a caller with a one-square mover (neither multi
// nor linked) keeps only the tests that apply to it. kInSearch: (x, y) is a square of
// the grid and (goalX, goalY) the goal of the search under way, whose caller
// has told whether the square is the goal.
template <bool kInSearch>
[[gnu::always_inline]] inline bool FitTestOf(int x, int y, bool isGoal, int creature, int multi, int linked,
                                             int width, int height, int goalX, int goalY, int crossCreatures) {
  S.passing = false;
  if (S.seek && isGoal) return true;
  if (!kInSearch && !OnGrid(x, y)) return false;
  const int sq = SquareIndex(x, y);

  // Rooms keep the search out of side rooms.
  const bool goalBlocked = (kInSearch || (goalX == S.goalX && goalY == S.goalY))
                               ? S.goalBlocked
                               : !OnGrid(goalX, goalY) || BlockedGrid[SquareIndex(goalX, goalY)] == kSquareBlocked;
  if (!goalBlocked && !isGoal) {
    const int32_t r = RegionGrid[sq];
    if (S.sameRegion) {
      if (r != S.goalRegion && r != kDoorwayRegion) return false;
    } else if (r != -1 && r != S.startRegion && r != S.goalRegion && r != kDoorwayRegion &&
               S.startRegion != kDoorwayRegion && S.goalRegion != kDoorwayRegion) {
      return false;
    }
  }

  const bool encounter = creature >= 601 && creature <= 800;
  auto meets = [encounter](int i, int j) {
    const uint32_t b = BlockedGrid[SquareIndex(i, j)];
    return encounter ? b == kSquareFlooded : b != kSquareBlocked;
  };
  const CreatureRecord& c = Creatures[creature];

  if (linked && creature >= 4 && InCombat != 1) {
    for (int i = x; i < x + width; ++i)
      for (int j = y; j < y + height; ++j)
        if (!OnGrid(i, j) || !meets(i, j)) return false;
  }
  if (multi && InCombat != 1) {
    for (int i = x; i < x + Width(c); ++i)
      for (int j = y; j < y + Height(c); ++j)
        if (!OnGrid(i, j) || !meets(i, j)) return false;
  }
  if (multi && InCombat == 1) {
    if (isGoal && !crossCreatures && !S.seek) {
      for (int i = 0; i < TurnCount(); ++i) {
        const int o = TurnOrder[i].creature;
        if (o >= 0 && o != creature && Creatures[o].squareX == x && Creatures[o].squareY == y) return false;
      }
    }
    for (int i = x; i < x + Width(c); ++i) {
      for (int j = y; j < y + Height(c); ++j) {
        if (!OnGrid(i, j)) return false;
        if (crossCreatures) {
          if (CurrentMap.At(kLayerWalls, i, j) > 0) return false;
          continue;
        }
        if (BlockedGrid[SquareIndex(i, j)] == kSquareBlocked) return false;
        if (CombatantsOn(i, j) > 1) return false;
        const int o = OtherCombatantAt(i, j, creature, S.seek ? S.target : -1);
        if (o == -1) continue;
        const bool letsThrough = Creatures[o].size.current >= 4 && !AreEnemies(creature, o) &&
                                 !HasAdjacentEnemy(o) &&
                                 (!isGoal || HasAdjacentEnemyAt(creature, goalX, goalY));
        if (!letsThrough) return false;
        S.passing = true;
      }
    }
  }
  if (!multi && InCombat == 1 && !S.noActChecks && !crossCreatures && !(S.seek && isGoal)) {
    if (OtherCombatantAt(x, y, creature, -1) != -1) return false;
  }

  const uint32_t blocked = BlockedGrid[sq];
  auto wallFree = [sq] { return CurrentMap.layers[kLayerWalls][sq] < 1; };
  if (creature >= 4 && !encounter) return blocked != kSquareBlocked || (crossCreatures && wallFree());
  if (S.seek && isGoal) return true;
  return blocked == kSquareFlooded || (crossCreatures && wallFree());
}

[[gnu::always_inline]] inline bool FitTest(int x, int y, int creature, int multi, int linked, int width,
                                           int height, int goalX, int goalY, int crossCreatures) {
  return FitTestOf<false>(x, y, x == goalX && y == goalY, creature, multi, linked, width, height, goalX, goalY,
                          crossCreatures);
}

}  // namespace

bool CanPlaceFootprint(int x, int y, int creature, int multi, int linked, int width, int height, int goalX,
                       int goalY, int crossCreatures) {
  SyncCombatantGrid();
  return FitTest(x, y, creature, multi, linked, width, height, goalX, goalY, crossCreatures);
}

namespace {

// The extra cost of a combat step onto (x, y) for a mover whose own values are
// m. kOneSquare: the search's own mover, one square wide and high.
template <bool kOneSquare = false>
int StepExtraCost(const MoverCosts& m, int creature, int x, int y, int crossCreatures) {
  const CreatureRecord& c = Creatures[creature];
  const int w = kOneSquare ? 1 : creature == S.mover ? S.width : Width(c);
  const int h = kOneSquare ? 1 : creature == S.mover ? S.height : Height(c);
  int cost = S.passing ? 50 : 0;
  if (crossCreatures && !FootprintFitsForSearch(x, y, creature, Width(c), Height(c))) cost += 100;

  bool threat = false, fire = false, brazier = false, web = false, entangle = false, dark = false,
       silence = false;
  for (int i = x; i < x + w; ++i) {
    for (int j = y; j < y + h; ++j) {
      if (!OnGrid(i, j)) continue;
      const int sq = SquareIndex(i, j);
      threat |= ThreatGrid[sq] == 1;
      const SquareEffectCell& cell = MagicAreaGrid[sq];
      switch (cell.kind) {
        case kEffectFire:
          fire = true;
          brazier |= cell.roundsLeft == 1000;
          break;
        case kEffectWeb: web = true; break;
        case kEffectEntangle: entangle = true; break;
        case kEffectDarkness: dark = true; break;
        case kEffectSilence: silence = true; break;
        default: break;
      }
    }
  }
  if (threat) cost += 20;
  if (fire) {
    if (m.kind == 88) {
      if (brazier) cost += 200;
    } else if (m.fireCode != 1 && m.fireCode != 5 && m.kind != 1) {
      cost += 200;
    }
  }
  const int32_t floor = OnGrid(x, y) ? CurrentMap.At(kLayerFloor, x, y) : 0;
  if (web && m.hamper != 1 && m.kind != 1 && m.kind != 32) return cost + 40;
  if (entangle && m.hamper != 1 && m.kind != 1) return cost + 10;
  if (dark && m.sightDependent) return cost + 10;
  if ((floor == 123 || floor == 124) && m.hamper != 1 && m.small) return cost + 10;
  if (silence && m.hearsOnly) return cost + 10;
  return cost;
}

}  // namespace

int CombatStepExtraCost(int creature, int x, int y, int crossCreatures) {
  if (!IsValidCreature(creature)) return 0;
  SyncCombatantGrid();
  return StepExtraCost(MoverCostsOf(creature), creature, x, y, crossCreatures);
}

void BuildThreatGrid(int mover, int ignoreAdjacent) {
  std::memset(ThreatGrid, 0, sizeof ThreatGrid);
  if (!IsValidCreature(mover)) return;
  const int moverSide = Creatures[mover].allegiance;
  const bool moverParty = IsPartySide(mover);
  for (int i = 0; i < TurnCount(); ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    const int o = e.creature;
    if (!IsValidCreature(o) || o == mover) continue;
    if (moverParty && IsPartySide(o)) continue;
    if (moverSide == kAllegianceEnemy && Creatures[o].allegiance == kAllegianceEnemy) continue;
    if (!CanCreatureAct(o) || Creatures[o].attacksOfOpportunityLeft < 1 || e.opportunityMark == 1) continue;
    if (ignoreAdjacent == 1 && AreAdjacent(mover, o)) continue;
    const CreatureRecord& c = Creatures[o];
    const int x0 = std::max(0, c.squareX - 1), y0 = std::max(0, c.squareY - 1);
    const int x1 = std::min(kMapSide - 1, c.squareX + Width(c)), y1 = std::min(kMapSide - 1, c.squareY + Height(c));
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) ThreatGrid[SquareIndex(x, y)] = 1;
  }
}

int MarkApproachSquares(int mover, int target) {
  std::memset(ApproachGrid, 0, sizeof ApproachGrid);
  if (!IsValidCreature(mover)) return 0;
  MarkAdjacentSquares(target);
  if (!IsValidCreature(target)) return 0;  // nothing marked
  const CreatureRecord& c = Creatures[mover];
  const int w = Width(c), h = Height(c);
  // Only a footprint placed where it can reach the ring round the target
  // touches a marked square.
  const CreatureRecord& t = Creatures[target];
  const int ringX0 = t.squareX - 1, ringX1 = t.squareX + t.footprintWidth.current;
  const int ringY0 = t.squareY - 1, ringY1 = t.squareY + t.footprintHeight.current;
  int any = 0;
  for (int x = std::max(0, ringX0 - w + 1); x <= ringX1 && x < CurrentMap.width && x < kMapSide; ++x) {
    for (int y = std::max(0, ringY0 - h + 1); y <= ringY1 && y < CurrentMap.height && y < kMapSide; ++y) {
      if (x + w > kMapSide || y + h > kMapSide) continue;
      bool blocked = false, ring = false;
      for (int i = x; i < x + w && !blocked; ++i) {
        for (int j = y; j < y + h; ++j) {
          if (BlockedGrid[SquareIndex(i, j)] == kSquareBlocked) {
            blocked = true;
            break;
          }
          ring |= AdjacencyGrid[SquareIndex(i, j)] != 0;
        }
      }
      if (!blocked && ring) {
        ApproachGrid[SquareIndex(x, y)] = 1;
        any = 1;
      }
    }
  }
  return any;
}

uint8_t AreasUnderFootprint(int x, int y, int width, int height) {
  uint8_t areas = 0;
  for (int i = x; i < x + width; ++i)
    for (int j = y; j < y + height; ++j) {
      if (!OnGrid(i, j)) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(i, j)];
      if (cell.kind == kEffectFire) areas |= cell.roundsLeft == 1000 ? kAreaBitFire | kAreaBitBrazier : kAreaBitFire;
      if (cell.kind == kEffectWeb) areas |= kAreaBitWeb;
      if (cell.kind == kEffectSolid) areas |= kAreaBitSolid;
    }
  return areas;
}

void TallyPathSquare(PathTallyRecord* buffer, int x, int y) {
  const int m = S.mover;
  if (IsValidCreature(m)) {
    const CreatureRecord& c = Creatures[m];
    const uint8_t areas = AreasUnderFootprint(x, y, Width(c), Height(c));
    const bool fire = areas & kAreaBitFire, brazier = areas & kAreaBitBrazier, web = areas & kAreaBitWeb,
               solid = areas & kAreaBitSolid;
    if (fire) {
      ++S.running[2];
      if (brazier) ++S.running[3];
    }
    if (web) ++S.running[4];
    if (solid) ++S.running[5];
  }
  if (buffer && OnGrid(x, y)) {
    uint32_t* rec = buffer[SquareIndex(x, y)];
    rec[0] = S.running[0];
    for (int k = 2; k < kTallyWords; ++k) rec[k] = S.running[k];
  }
}

namespace {

// What the open list has worked out about a square in the current search
// (its stamp equal to MemoStamp): whether the mover fits there and the extra
// cost of stepping onto it.
struct SquareMemo {
  int32_t stamp;
  int32_t extra;  // the extra cost of stepping onto it; -1 when the mover does not fit there
};
SquareMemo Memo[kPathWorkSquares];
int32_t MemoStamp = 0;
// Whether a diagonal step may not pass the square (stride 61) as a corner,
// for the searches whose stamp is CornerStamp: the stamp twice, plus 1 when
// obstructed (another stamp: not yet known).
int32_t CornerWord[kPathWorkSquares];
int32_t CornerStamp = 0;

// (x, y) on the grid, wi its work index. A square flooded from the mover
// never obstructs a corner.
inline bool CornerObstructedAt(int wi, int x, int y) {
  if (BlockedGrid[SquareIndex(x, y)] == kSquareFlooded) return false;
  int32_t word = CornerWord[wi];
  if ((word >> 1) != CornerStamp) {
    word = CornerStamp * 2 + (IsCornerObstructed(x, y) ? 1 : 0);
    CornerWord[wi] = word;
  }
  return word & 1;
}

void NewMemoStamp() {
  if (++MemoStamp >= kPathStampLimit) {
    for (SquareMemo& m : Memo) m.stamp = 0;
    MemoStamp = 1;
  }
}

// Open series of searches over an unchanging battle, and whether the corner
// memo of the series is kept.
int SearchSeriesDepth = 0;
// The side-threat marks and the possible threats of the series' first path
// (MarkCombatPath), and the mover they were worked out for.
int32_t SeriesMarks[kMapSquares];
bool SeriesMarksKept = false;
int SeriesThreatMover = -1;
// The threat grid of the series' first search and its mover (-1 none).
uint8_t SeriesThreatGrid[kMapSquares];
int SeriesThreatGridMover = -1;
bool CornersKept = false;
void NewCornerStamp() {
  if (++CornerStamp >= kPathStampLimit) {
    for (int32_t& c : CornerWord) c = 0;
    CornerStamp = 1;
  }
}

// What one run of the open list needs besides the search state S.
struct SearchRun {
  int creature;
  int fromX, fromY, toX, toY;
  bool multi, linked;
  int width, height;
  uint8_t crossCreatures;
  bool extraCost;  // combat steps pay CombatStepExtraCost
  // The search gives up, finding nothing, once the least F on the open list
  // is above this: no path it could still find would cost less.
  int32_t fLimit = INT32_MAX;
};

// What the memo of fits and step costs depends on besides the square: the
// same mover searching from the same square under the same rules.
struct MemoContext {
  int mover, fromX, fromY;
  bool multi, linked, seek, noActChecks, goalBlocked, sameRegion, extraCost;
  int width, height, target, startRegion, goalRegion;
  uint8_t crossCreatures;
  bool operator==(const MemoContext&) const = default;
};
MemoContext MemoOf{};
int LastGoal = -1;

// The combatant grid's change count when the series' kept results were
// worked out: a combatant placed, moved, added or removed since (by whoever)
// makes the series forget them.
uint32_t SeriesGridChanges = 0;
bool SeriesFloodKept = false;

// ---- The room table of a series -----------------------------------------
//
// What stepping onto each square costs a mover searching from its start to
// goals in the start's own room, as RoomStepExtraCosts works it out in a
// series, kept for the walks of that series to such goals (FindCombatWalk).
// For a mover that does not seek, every square of a search to a goal in the
// room but the goal itself is fitted and costed alike whatever the goal (a
// one-square mover's goal too): one table serves every such search. Per work
// square (stride 61, with guards): the extra cost of stepping onto it (-1
// where the mover may not stand, and on the guards) and the steps the open
// list may take from it, one bit a direction in the order it looks at its
// neighbours (onto a square the mover may stand on and, for a one-square
// mover's diagonal step, past corners that do not obstruct it).
int16_t RoomExtraStore[kStampGuard + kPathWorkSquares + kStampGuard];
int16_t* const RoomExtra = RoomExtraStore + kStampGuard;
uint8_t RoomSteps[kPathWorkSquares];
bool RoomTableKept = false;
bool RoomStepsKnown = false;
bool RoomTableOneSquare = false;
int RoomTableMover = -1, RoomTableFromX = -1, RoomTableFromY = -1;

// Brings the combatant grid up to date and, in a series, forgets what the
// series kept from before a change of the combatants.
void SyncForSeries() {
  SyncCombatantGrid();
  if (SearchSeriesDepth == 0 || CombatantGridChanges() == SeriesGridChanges) return;
  SeriesGridChanges = CombatantGridChanges();
  MemoOf.mover = -1;
  SeriesMarksKept = false;
  SeriesThreatGridMover = -1;
  SeriesFloodKept = false;
  RoomTableKept = false;
}

MemoContext ContextOf(const SearchRun& r) {
  return {r.creature, r.fromX, r.fromY, r.multi, r.linked, S.seek, S.noActChecks, S.goalBlocked, S.sameRegion,
          r.extraCost, r.width, r.height, S.target, S.startRegion, S.goalRegion, r.crossCreatures};
}

// A new memo for the search, unless it belongs to a series of searches over
// an unchanging battle and has the context of the last: then only the last
// goal and this one (which the fit test treats apart) are worked out again.
// Forgets what the memo holds of the squares where the mover's footprint
// would overlap the creature's.
void ForgetMemoAround(int creature, int width, int height) {
  if (!IsValidCreature(creature)) return;
  const CreatureRecord& t = Creatures[creature];
  for (int x = std::max(0, t.squareX - width + 1); x < t.squareX + Width(t) && x < kMapSide; ++x)
    for (int y = std::max(0, t.squareY - height + 1); y < t.squareY + Height(t) && y < kMapSide; ++y)
      Memo[W(x, y)].stamp = 0;
}

// Whether two contexts are those of searches seeking different creatures
// under the same rules: the fit and cost of a square differ between them only
// where the mover would overlap either creature, and on their goals.
bool OnlySoughtCreatureDiffers(MemoContext a, const MemoContext& b) {
  if (!a.seek || !b.seek || a.target == b.target) return false;
  a.target = b.target;
  return a == b;
}

void StartMemo(const SearchRun& r) {
  const MemoContext context = ContextOf(r);
  const int goal = W(r.toX, r.toY);
  if (SearchSeriesDepth > 0 && context == MemoOf) {
    if (LastGoal >= 0) Memo[LastGoal].stamp = 0;
    Memo[goal].stamp = 0;
  } else if (SearchSeriesDepth > 0 && OnlySoughtCreatureDiffers(context, MemoOf)) {
    if (LastGoal >= 0) Memo[LastGoal].stamp = 0;
    Memo[goal].stamp = 0;
    ForgetMemoAround(MemoOf.target, r.width, r.height);
    ForgetMemoAround(context.target, r.width, r.height);
    MemoOf = context;
  } else {
    NewMemoStamp();
    MemoOf = context;
    if (SearchSeriesDepth == 0 || !CornersKept) NewCornerStamp();
    CornersKept = SearchSeriesDepth > 0;
  }
  LastGoal = goal;
}

// Runs the open list from the start until the goal is closed or, when
// seeking, the first approach square is; the square reached goes to goalX,
// goalY. Only the work arrays, the stamps and the heap are written; a search
// whose fit tests read the combatant grid has brought it up to date first.
// kScan: PathLookupByScan (no memo, the corner test asked afresh).
template <int kValue>
using Step = std::integral_constant<int, kValue>;

// Whether the mover fits on (a, b) and what stepping onto it costs over the
// plain 10 or 14: -1 when it does not fit, 0 when the steps pay no extra.
// kOneSquare: the mover is one square (neither multi nor linked); kExtra:
// the steps pay CombatStepExtraCost.
template <bool kOneSquare, bool kExtra>
[[gnu::always_inline]] inline int32_t WorkOutSquare(const SearchRun& r, const MoverCosts& mover, int a, int b,
                                                    bool isGoal) {
  if (!FitTestOf<true>(a, b, isGoal, r.creature, kOneSquare ? 0 : r.multi, kOneSquare ? 0 : r.linked, r.width,
                       r.height, r.toX, r.toY, r.crossCreatures))
    return -1;
  return kExtra ? StepExtraCost<kOneSquare>(mover, r.creature, a, b, r.crossCreatures) : 0;
}

template <bool kScan, bool kOneSquare, bool kExtra>
bool RunOpenListAs(const SearchRun& run, int* goalX, int* goalY) {
  // A copy of its own, kept in registers: nothing the search writes can
  // change it.
  const SearchRun r = run;
  const int creature = r.creature, toX = r.toX, toY = r.toY;
  NewStamps();
  const int32_t closed = PathOnClosed, open = PathOnClosed - 1;
  int count = 1;
  OpenStartSquare(r.fromX, r.fromY, open);
  *goalX = toX;
  *goalY = toY;
  const bool walkFlagsClear = WalkToInteraction[0] == 0 && WalkToInteraction[1] == 0;
  const MoverCosts mover = kExtra ? MoverCostsOf(creature) : MoverCosts{};
  StartMemo(r);
  // What stays the same through the search.
  const int goal = W(toX, toY);
  const bool cornerTest = !r.multi;
  const bool goalCornersExempt = S.seek && walkFlagsClear;
  const bool seekApproach = S.seek && S.target != -1;
  const int32_t goalRegion = S.goalRegion;
  bool watchGoalRoom = !S.sameRegion && goalRegion != kDoorwayRegion;
  const int mapWidth = CurrentMap.width, mapHeight = CurrentMap.height;
  while (count > 0) {
    // Take the smallest F.
    if (Heap[1].f > r.fLimit) return false;
    // Names for the closed square's parts, not bindings: the neighbour visits below
    // capture them, which clang does not allow of bindings.
    const ClosedSquare least = CloseLeastSquare(&count, closed);
    const int &top = least.wi, &px = least.x, &py = least.y;
    const int32_t& parentG = least.g;

    // One neighbour, (px + da, py + dy).
    auto visit = [&](auto daStep, auto dyStep) __attribute__((always_inline)) {
      constexpr int da = decltype(daStep)::value, dy = decltype(dyStep)::value;
      constexpr bool diagonal = da != 0 && dy != 0;
      const int wi = top + da * kPathStride + dy;
      // Read through the guarded store: a neighbour off the grid is a guard,
      // stamped above the closed squares.
      const int32_t stamp = PathStampStore[kStampGuard + wi];
      if (stamp >= closed) return;
      const int a = px + da, b = py + dy;
      // Whether the square fits and what entering it costs depend on the
      // square alone within one search (until the goal's room is entered,
      // which changes the room test): each is worked out once.
      SquareMemo& memo = Memo[wi];
      if (kScan || memo.stamp != MemoStamp) {
        memo.stamp = MemoStamp;
        memo.extra = WorkOutSquare<kOneSquare, kExtra>(r, kScan ? MoverCostsOf(creature) : mover, a, b, wi == goal);
      }
      const int32_t extra = memo.extra;
      if (extra < 0) return;
      if constexpr (diagonal) {
        // The corners beside the step: (a, py) and (px, b).
        if (cornerTest && !(goalCornersExempt && wi == goal) &&
            (kScan ? IsDiagonalStepBlocked(creature, a, py, px, b)
                   : CornerObstructedAt(wi - dy, a, py) || CornerObstructedAt(top + dy, px, b)))
          return;
      }
      // The step's cost (the memo holds no extra when the steps pay none).
      const int32_t g = parentG + (diagonal ? 14 : 10) + extra;
      if (stamp == open) {
        // A cheaper way to an open square.
        if (g < Work[wi].g) RepriceOpenSquare(wi, top, g);
        return;
      }
      // A new square.
      if (watchGoalRoom && RegionGrid[SquareIndex(a, b)] == goalRegion) {
        watchGoalRoom = false;
        S.sameRegion = true;
        NewMemoStamp();
        MemoOf = ContextOf(r);
      }
      const int dxg = std::abs(a - toX), dyg = std::abs(b - toY);
      OpenNewSquare(wi, 10 * std::max(dxg, dyg) + 4 * std::min(dxg, dyg), g, top, open, &count);
    };
    // Neighbours, y outer and x inner (the square itself is closed); those
    // off the grid stand on closed guards.
    visit(Step<-1>{}, Step<-1>{});
    visit(Step<0>{}, Step<-1>{});
    visit(Step<1>{}, Step<-1>{});
    visit(Step<-1>{}, Step<0>{});
    visit(Step<1>{}, Step<0>{});
    visit(Step<-1>{}, Step<1>{});
    visit(Step<0>{}, Step<1>{});
    visit(Step<1>{}, Step<1>{});

    // The goal closed ends the search.
    if (top == goal) return true;
    // Only the square just closed can be the first closed approach square.
    if (seekApproach && px < mapWidth && py < mapHeight && ApproachGrid[SquareIndex(px, py)] == 1) {
      *goalX = px;
      *goalY = py;
      return true;
    }
  }
  return false;
}

// The open list specialised for the search: the scan of the turn order or
// the occupancy grid, a mover of one square or more, step costs or none.
template <bool kScan>
bool RunOpenListFor(const SearchRun& r, int* goalX, int* goalY) {
  if (!r.multi && !r.linked)
    return r.extraCost ? RunOpenListAs<kScan, true, true>(r, goalX, goalY)
                       : RunOpenListAs<kScan, true, false>(r, goalX, goalY);
  return r.extraCost ? RunOpenListAs<kScan, false, true>(r, goalX, goalY)
                     : RunOpenListAs<kScan, false, false>(r, goalX, goalY);
}

// On a cache line of its own, so that its speed does not move with the size
// of unrelated code before it.
[[gnu::aligned(64)]] bool RunOpenList(const SearchRun& r, int* goalX, int* goalY) {
  return PathLookupByScan ? RunOpenListFor<true>(r, goalX, goalY) : RunOpenListFor<false>(r, goalX, goalY);
}


// ---- What a flood of a series reached -----------------------------------
//
// A search that finds no path has closed every square its mover can reach
// from the start. In a series of searches over an unchanging battle, for a
// mover (of any footprint, not linked) not leaving its start's room, whether
// the open list may take a square other than the goal does not depend on the
// goal: only the goal has rules of its own (for a mover of more than one
// square, who may stand on it exactly), and a goal the search never reached
// touched none of the squares it closed. A later goal of the same rules none
// of whose neighbours, nor itself, was reached cannot be reached either, and
// its search would flood the same squares again to find nothing.
//
// A one-square mover seeking the squares beside a creature follows the same
// rules on every square but the goal (the creature's square), and ends on the
// first of those squares it closes: a search of the same rules that reached
// none of them, nor a neighbour of the goal, finds nothing either, whether
// it sought or not. (A larger mover seeking passes the sought creature's
// other squares: its rules depend on the creature.)

uint8_t SeriesReached[kPathWorkSquares];
MemoContext SeriesFloodOf{};

// The rules of a search as its flood reaches squares: its context, but for
// whom a one-square mover seeks.
MemoContext FloodContextOf(const SearchRun& r) {
  MemoContext c = ContextOf(r);
  c.seek = false;
  c.target = -1;
  return c;
}

bool SeriesFloodRecordable(const SearchRun& r) {
  return !PathLookupByScan && SearchSeriesDepth > 0 && !r.linked && (!S.seek || !r.multi) && S.sameRegion &&
         !S.goalBlocked;
}

void RecordSeriesFlood(const SearchRun& r) {
  const int32_t closed = PathOnClosed;
  for (int wi = 0; wi < kPathWorkSquares; ++wi) SeriesReached[wi] = PathStamp[wi] == closed ? 1 : 0;
  SeriesFloodKept = true;
  SeriesFloodOf = FloodContextOf(r);
}

bool OutsideSeriesFlood(const SearchRun& r) {
  if (!SeriesFloodKept || !(FloodContextOf(r) == SeriesFloodOf)) return false;
  for (int b = r.toY - 1; b <= r.toY + 1; ++b)
    for (int a = r.toX - 1; a <= r.toX + 1; ++a)
      if (OnGrid(a, b) && SeriesReached[W(a, b)]) return false;
  if (!S.seek || S.target == -1) return true;
  // The squares beside the sought creature lie in its ring.
  const CreatureRecord& t = Creatures[S.target];
  for (int a = std::max(0, t.squareX - 1); a <= t.squareX + Width(t) && a < kMapSide; ++a)
    for (int b = std::max(0, t.squareY - 1); b <= t.squareY + Height(t) && b < kMapSide; ++b)
      if (ApproachGrid[SquareIndex(a, b)] == 1 && SeriesReached[W(a, b)]) return false;
  return true;
}

// A goal sealed off from the start in a small pocket: the squares any fit
// test of the search could let the mover onto (open, or free of walls when it
// crosses creatures; for a one-square mover in combat also free of other
// combatants), spread from the goal in all eight directions, run out within
// kPocketLimit squares without meeting the start. The search would flood
// everything it can reach and find nothing (its fit tests and step costs
// only ask, they change nothing). Not asked when the search seeks the
// squares beside the goal, which may lie outside the pocket. The search has
// brought the combatant grid up to date.
constexpr int kPocketLimit = 48;

bool GoalSealedOff(int creature, int fromX, int fromY, int toX, int toY, bool multi, bool noActChecks,
                   uint8_t crossCreatures) {
  const bool occupancy = InCombat == 1 && !multi && !noActChecks && !crossCreatures;
  // The start and the goal both flooded from one square are joined by open
  // squares, all of them passable where no fighter stands in the way.
  if (!occupancy && BlockedGrid[SquareIndex(fromX, fromY)] == kSquareFlooded &&
      BlockedGrid[SquareIndex(toX, toY)] == kSquareFlooded)
    return false;
  // The squares met so far, on a grid bordered by one square that is always
  // met (so it is never taken), and the queue of the pocket's squares, with
  // room past the limit for the eight neighbours of one square.
  constexpr int kSide = kMapSide + 2;
  // The border holds the largest stamp, met by every test.
  static uint32_t seenStamp[kSide * kSide];
  static uint32_t stamp = 0;
  static int16_t queue[kPocketLimit + 8];
  if (++stamp == 0 || stamp == 1) {
    std::memset(seenStamp, 0, sizeof seenStamp);
    for (int k = 0; k < kSide; ++k)
      seenStamp[k] = seenStamp[(kSide - 1) * kSide + k] = seenStamp[k * kSide] = seenStamp[k * kSide + kSide - 1] =
          UINT32_MAX;
    stamp = 1;
  }
  auto passable = [&](int sq) {
    if (BlockedGrid[sq] == kSquareBlocked && !(crossCreatures && CurrentMap.layers[kLayerWalls][sq] < 1)) return false;
    return !occupancy || OtherCombatantAt(sq / kMapSide, sq % kMapSide, creature, -1) == -1;
  };
  const int start = (fromX + 1) * kSide + fromY + 1;
  static constexpr int kAround[8] = {-kSide - 1, -kSide, -kSide + 1, -1, 1, kSide - 1, kSide, kSide + 1};
  int head = 0, tail = 0;
  queue[tail++] = static_cast<int16_t>((toX + 1) * kSide + toY + 1);
  seenStamp[queue[0]] = stamp;
  // Each square's neighbours: meeting the start, or more than kPocketLimit
  // passable squares, tells that the goal is not sealed off.
  while (head < tail) {
    const int p = queue[head++];
    bool meetsStart = false;
    for (int d = 0; d < 8; ++d) {
      const int q = p + kAround[d];
      meetsStart |= q == start;
      if (seenStamp[q] >= stamp) continue;
      seenStamp[q] = stamp;
      queue[tail] = static_cast<int16_t>(q);
      tail += passable((q / kSide - 1) * kMapSide + q % kSide - 1) ? 1 : 0;
    }
    if (meetsStart || tail > kPocketLimit) return false;
  }
  return true;
}

bool GoalOffTheMap(int toX, int toY) {
  return toX < 0 || toY < 0 || toX >= CurrentMap.width || toY >= CurrentMap.height || toX >= kMapSide ||
         toY >= kMapSide;
}

// Seeking adjacency: the creature standing on the goal and the squares
// beside it become the goal.
void SetUpSeeking(int creature, int toX, int toY, uint8_t noActChecks) {
  S.mover = creature;
  S.noActChecks = noActChecks != 0;
  S.seek = SeekAdjacent == 1 && !noActChecks;
  S.target = -1;
  if (!S.seek) return;
  S.target = CreatureAtSquare(toX, toY, creature);
  if (S.target != -1)
    MarkApproachSquares(creature, S.target);
  else
    std::memset(ApproachGrid, 0, sizeof ApproachGrid);
}

// The rooms of the start and the goal, and the goal itself.
void NoteRoomsAndGoal(int fromX, int fromY, int toX, int toY) {
  S.startRegion = RegionGrid[SquareIndex(fromX, fromY)];
  S.goalRegion = RegionGrid[SquareIndex(toX, toY)];
  S.sameRegion = S.startRegion == S.goalRegion && S.startRegion != kDoorwayRegion;
  S.goalX = toX;
  S.goalY = toY;
  S.goalBlocked = BlockedGrid[SquareIndex(toX, toY)] == kSquareBlocked;
}

// The footprint the search fits on each square: the creature's own, or one
// square when the act checks are off; the running tallies start at 0.
struct SearchFootprint {
  int width, height;
  bool multi, linked;
};
SearchFootprint SetUpFootprint(int creature, uint8_t noActChecks) {
  const CreatureRecord& c = Creatures[creature];
  SearchFootprint f{Width(c), Height(c), false, false};
  f.multi = !noActChecks && (f.width > 1 || f.height > 1);
  f.linked = !noActChecks && LinkedFootprint(creature, &f.width, &f.height);
  if (noActChecks) f.width = f.height = 1;
  S.width = f.width;
  S.height = f.height;
  for (int k = 0; k < kTallyWords; ++k) S.running[k] = 0;
  return f;
}

// Out of combat the creature sets off at once along the path it was given.
int SetOffOutOfCombat(int creature, FighterSlot* slot, int goalX, int goalY) {
  CreatureRecord& c = Creatures[creature];
  const int copied = std::min<int>(PathLength, kPathLength);
  c.nextX = PathOutX[0];
  c.nextY = PathOutY[0];
  c.destinationX = goalX;
  c.destinationY = goalY;
  if (S.seek && BlockedGrid[SquareIndex(goalX, goalY)] == kSquareBlocked) {
    c.destinationX = PathOutX[copied - 1];
    c.destinationY = PathOutY[copied - 1];
  }
  if (slot) slot->pathIndex = 1;
  SetCreatureFacing(creature);
  if (creature == static_cast<int>(PartyLeader)) LeaderStepEnabled = 0;
  return kPathFound;
}

// The arrow colour of a step: 0 within a move action, 1 within the moves
// left, 2 beyond them.
int StepColour(int32_t movesLeft, int32_t speed, int32_t cost) {
  if (movesLeft - cost >= speed) return 0;
  return cost <= movesLeft ? 1 : 2;
}

// A combat path: the arrows in the colours of the moves left, the attacks
// leaving a threatened square provokes, the cost in feet and the tallies.
void MarkCombatPath(int creature, FighterSlot* slot, int fromX, int fromY, int goalX, int goalY,
                    uint32_t moveCostOption, uint32_t* outRecord, PathTallyRecord* tally) {
  CreatureRecord& c = Creatures[creature];
  c.destinationX = goalX;
  c.destinationY = goalY;
  if (slot) slot->pathIndex = 1;
  for (int i = 0; i < TurnCount(); ++i) TurnOrder[i].threatMark = TurnOrder[i].opportunityMark;
  // The side-threat marks over cleared arrows, and who may threaten the
  // walk (the same at every square of it): in a series of searches over an
  // unchanging battle both are the same for every path of the mover.
  static int16_t threats[kTurnOrderEntries];
  static int threatCount = 0;
  const bool kept = !PathLookupByScan && SearchSeriesDepth > 0 && SeriesMarksKept && SeriesThreatMover == creature;
  if (kept) {
    std::memcpy(ArrowGrid, SeriesMarks, sizeof SeriesMarks);
  } else {
    LayThreatMarks(creature);
    threatCount = PathLookupByScan ? 0 : ListPossibleThreats(creature, threats);
    if (SearchSeriesDepth > 0) {
      std::memcpy(SeriesMarks, ArrowGrid, sizeof SeriesMarks);
      SeriesMarksKept = true;
      SeriesThreatMover = creature;
    }
  }
  ArrowGridMover = creature;
  PathShown = 1;
  const int32_t movesLeft = CombatAction.movesLeft, speed = c.speed.current;
  int32_t cost = 0;
  int prevX = fromX, prevY = fromY;
  for (int i = 0; i < PathLength; ++i) {
    const int x = PathOutX[i], y = PathOutY[i];
    // Leaving a threatened square provokes.
    const int provoked = PathLookupByScan ? CountThreatsAtSquare(prevX, prevY, creature)
                                          : CountThreatsAmong(prevX, prevY, creature, threats, threatCount);
    if (provoked > 0) {
      if (outRecord) outRecord[0] += static_cast<uint32_t>(provoked);
      S.running[0] += static_cast<uint32_t>(provoked);
      if (tally) tally[SquareIndex(prevX, prevY)][1] = static_cast<uint32_t>(provoked);
      StoreArrow(prevX, prevY, 33);
    }
    cost += CalculateMoveCost(creature, x, y, prevX, prevY, moveCostOption);
    S.running[6] = static_cast<uint32_t>(cost);
    PathCostFeet = cost;
    TallyPathSquare(tally, x, y);
    const int colour = StepColour(movesLeft, speed, cost);
    if (colour == 2) PathShown = 0;
    StoreArrow(x, y, Direction8(prevX, prevY, x, y) + 8 * colour);
    prevX = x;
    prevY = y;
  }
  if (outRecord)
    for (int k = 2; k < kTallyWords; ++k) outRecord[k] = S.running[k];
}

// A five-foot step toward a creature shows the step's own arrow.
void MarkFiveFootStepArrow(int fromX, int fromY) {
  ClearArrow(fromX, fromY);
  ClearArrow(PathOutX[0], PathOutY[0]);
  StoreArrow(PathOutX[0], PathOutY[0], 24 + Direction8(fromX, fromY, PathOutX[0], PathOutY[0]));
}

// The threats of the other side that the mover's steps pay for: built once
// for a series of searches by one mover and copied back for each.
void SetUpThreatGrid(int creature) {
  if (!PathLookupByScan && SearchSeriesDepth > 0 && SeriesThreatGridMover == creature) {
    std::memcpy(ThreatGrid, SeriesThreatGrid, sizeof ThreatGrid);
    return;
  }
  BuildThreatGrid(creature, 1);
  if (SearchSeriesDepth > 0) {
    std::memcpy(SeriesThreatGrid, ThreatGrid, sizeof ThreatGrid);
    SeriesThreatGridMover = creature;
  }
}

}  // namespace

int FindCreaturePath(int creature, int fromX, int fromY, int toX, int toY, uint8_t costFlag,
                     uint32_t moveCostOption, uint8_t noActChecks, uint8_t crossCreatures,
                     uint32_t* outRecord, PathTallyRecord* tally) {
  if (!IsValidCreature(creature)) return kPathNone;
  FighterSlot* slot = SlotOf(creature);

  if (GoalOffTheMap(toX, toY)) {
    FailPath(creature);
    return kPathNone;
  }
  // A start off the 60 x 60 grid cannot be searched from.
  if (!OnGrid(fromX, fromY)) {
    AbandonPath(creature);
    return kPathNone;
  }
  // A disabled creature does not move, nor one already on its goal.
  if (!noActChecks && HasDisablingCondition(creature)) return AbandonPath(creature), kPathNone;
  if (fromX == toX && fromY == toY) return AbandonPath(creature), kPathNone;

  // The tallies of the caller's record start afresh; out of combat nothing costs.
  if (outRecord)
    for (int k = 2; k < kTallyWords; ++k) outRecord[k] = 0;
  const bool fiveFoot = !noActChecks && CombatAction.fiveFootStep == 1 && CanTakeFiveFootStep(creature);
  if (InCombat != 1) {
    costFlag = 0;
    moveCostOption = 0;
  }

  SetUpSeeking(creature, toX, toY, noActChecks);
  NoteRoomsAndGoal(fromX, fromY, toX, toY);
  const SearchFootprint f = SetUpFootprint(creature, noActChecks);
  // The combatant grid brought up to date once: nothing moves during the search.
  SyncForSeries();
  // The goal must fit.
  if (!S.seek && !FitTest(toX, toY, creature, f.multi, f.linked, f.width, f.height, toX, toY, crossCreatures)) {
    AbandonPath(creature);
    return kPathNone;
  }

  // The search itself, over the threats of the other side when its steps pay
  // for them (in a series the same for every search of the mover).
  const bool extraCost = costFlag == 1 && InCombat == 1;
  if (extraCost) SetUpThreatGrid(creature);  // only the step costs read it
  PathLength = 0;
  int goalX = toX, goalY = toY;
  if (!PathLookupByScan && !S.seek &&
      GoalSealedOff(creature, fromX, fromY, toX, toY, f.multi, noActChecks != 0, crossCreatures)) {
    NewStamps();  // counted as the search it stands for
    PathShown = 0;
    PathCostFeet = 0;
    return kPathNone;
  }
  const SearchRun run{creature, fromX, fromY, toX, toY, f.multi, f.linked, f.width, f.height,
                      crossCreatures, extraCost};
  const bool recordable = SeriesFloodRecordable(run);
  if (recordable && OutsideSeriesFlood(run)) {
    NewStamps();  // counted as the search it stands for
    PathShown = 0;
    PathCostFeet = 0;
    return kPathNone;
  }
  const bool found = RunOpenList(run, &goalX, &goalY);
  if (!found) {
    if (recordable) RecordSeriesFlood(run);
    PathShown = 0;
    PathCostFeet = 0;
    return kPathNone;
  }

  // The path, start first, into the output and the fighter's slot.
  WritePath(fromX, fromY, goalX, goalY);
  if (PathLength == 0) return AbandonPath(creature), kPathNone;  // already beside the target
  const bool complete = CopyToSlot(slot);
  if (InCombat != 1) return SetOffOutOfCombat(creature, slot, goalX, goalY);

  // In combat a path longer than the slot holds, or a five-foot step round a
  // blocked corner, is not taken.
  if (!complete) {
    FailPath(creature);
    return kPathNone;
  }
  if (fiveFoot && PathLength == 1 && IsDiagonalStepBlocked(creature, PathOutX[0], fromY, fromX, PathOutY[0])) {
    AbandonPath(creature);
    return kPathNone;
  }
  MarkCombatPath(creature, slot, fromX, fromY, goalX, goalY, moveCostOption, outRecord, tally);
  if (fiveFoot && S.seek && PathLength == 1) MarkFiveFootStepArrow(fromX, fromY);
  return kPathFound;
}

namespace {

// The neighbours in the order the open list looks at them (y outer, x
// inner), as work-index offsets and plain step costs.
constexpr int kStepDa[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kStepDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kStepOffset[8] = {-kPathStride - 1, -1, kPathStride - 1, -kPathStride,
                                kPathStride,      -kPathStride + 1, 1, kPathStride + 1};
constexpr int32_t kStepCost[8] = {14, 10, 14, 10, 10, 14, 10, 14};

// The steps of the room table from every square the open list can take:
// the start and the squares the mover may stand on.
void WorkOutRoomSteps() {
  int x0 = RoomTableFromX, x1 = RoomTableFromX, y0 = RoomTableFromY, y1 = RoomTableFromY;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (RoomExtra[W(x, y)] >= 0) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  static uint8_t obstructs[kPathWorkSquares];
  if (RoomTableOneSquare)
    for (int x = std::max(0, x0 - 1); x <= std::min(kMapSide - 1, x1 + 1); ++x)
      for (int y = std::max(0, y0 - 1); y <= std::min(kMapSide - 1, y1 + 1); ++y)
        obstructs[W(x, y)] = BlockedGrid[SquareIndex(x, y)] != kSquareFlooded && IsCornerObstructed(x, y);
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      const int u = W(x, y);
      uint8_t steps = 0;
      for (int d = 0; d < 8; ++d) {
        if (RoomExtra[u + kStepOffset[d]] < 0) continue;
        if (RoomTableOneSquare && kStepDa[d] != 0 && kStepDy[d] != 0 &&
            (obstructs[u + kStepDa[d] * kPathStride] || obstructs[u + kStepDy[d]]))
          continue;
        steps |= static_cast<uint8_t>(1u << d);
      }
      RoomSteps[u] = steps;
    }
  RoomStepsKnown = true;
}

// The open list of a search to a goal in the start's room over the room
// table: the same list, taking the same squares in the same order, each
// square's fit, step cost and corners read from the table; for a larger
// mover, the goal's own fit and cost (goalExtra, -1 when it does not fit)
// stand in for the table's while it runs.
bool RunRoomOpenList(int fromX, int fromY, int toX, int toY, int32_t goalExtra) {
  if (!RoomStepsKnown) WorkOutRoomSteps();
  const int goal = W(toX, toY);
  const int16_t tableExtra = RoomExtra[goal];
  uint8_t tableSteps[8];
  if (!RoomTableOneSquare) {
    RoomExtra[goal] = static_cast<int16_t>(goalExtra);
    for (int d = 0; d < 8; ++d) {
      // The step from the neighbour in direction d onto the goal.
      const int n = goal + kStepOffset[d];
      if (n < 0 || n >= kPathWorkSquares) continue;
      const uint8_t onto = static_cast<uint8_t>(1u << (7 - d));
      tableSteps[d] = RoomSteps[n];
      RoomSteps[n] = static_cast<uint8_t>(goalExtra >= 0 ? RoomSteps[n] | onto : RoomSteps[n] & ~onto);
    }
  }
  NewStamps();
  const int32_t closed = PathOnClosed, open = PathOnClosed - 1;
  int count = 1;
  OpenStartSquare(fromX, fromY, open);
  bool found = false;
  while (count > 0) {
    // Names for the closed square's parts, not bindings: the neighbour visits below
    // capture them, which clang does not allow of bindings.
    const ClosedSquare least = CloseLeastSquare(&count, closed);
    const int &top = least.wi, &px = least.x, &py = least.y;
    const int32_t& parentG = least.g;
    const unsigned steps = RoomSteps[top];
    // One neighbour, in direction d.
    auto visit = [&](auto step) __attribute__((always_inline)) {
      constexpr int d = decltype(step)::value;
      if (((steps >> d) & 1) == 0) return;
      const int wi = top + kStepOffset[d];
      const int32_t stamp = StampAt(wi);
      if (stamp >= closed) return;
      const int32_t g = parentG + kStepCost[d] + RoomExtra[wi];
      if (stamp == open) {
        if (g < Work[wi].g) RepriceOpenSquare(wi, top, g);
        return;
      }
      const int dxg = std::abs(px + kStepDa[d] - toX), dyg = std::abs(py + kStepDy[d] - toY);
      OpenNewSquare(wi, 10 * std::max(dxg, dyg) + 4 * std::min(dxg, dyg), g, top, open, &count);
    };
    visit(Step<0>{});
    visit(Step<1>{});
    visit(Step<2>{});
    visit(Step<3>{});
    visit(Step<4>{});
    visit(Step<5>{});
    visit(Step<6>{});
    visit(Step<7>{});
    if (top == goal) {
      found = true;
      break;
    }
  }
  if (!RoomTableOneSquare) {
    RoomExtra[goal] = tableExtra;
    for (int d = 0; d < 8; ++d) {
      const int n = goal + kStepOffset[d];
      if (n >= 0 && n < kPathWorkSquares) RoomSteps[n] = tableSteps[d];
    }
  }
  return found;
}

}  // namespace

bool FindCombatWalk(int creature, int fromX, int fromY, int toX, int toY) {
  if (!IsValidCreature(creature) || InCombat != 1 || SeekAdjacent == 1) return false;
  if (GoalOffTheMap(toX, toY) || !OnGrid(fromX, fromY) || (fromX == toX && fromY == toY)) return false;
  if (HasDisablingCondition(creature)) return false;
  SetUpSeeking(creature, toX, toY, 0);
  NoteRoomsAndGoal(fromX, fromY, toX, toY);
  const SearchFootprint f = SetUpFootprint(creature, 0);
  SyncForSeries();
  if (!FitTest(toX, toY, creature, f.multi, f.linked, f.width, f.height, toX, toY, 0)) return false;
  SetUpThreatGrid(creature);
  PathLength = 0;
  int goalX = toX, goalY = toY;
  // The shortcuts of FindCreaturePath that stand for a search finding nothing
  // are not needed: the open list finds nothing in their stead.
  if (RoomTableKept && !PathLookupByScan && SearchSeriesDepth > 0 && RoomTableMover == creature &&
      RoomTableFromX == fromX && RoomTableFromY == fromY && RoomTableOneSquare == !f.multi && !f.linked &&
      S.sameRegion && !S.goalBlocked) {
    // The goal's own fit and cost (the table's, for a one-square mover).
    int32_t goalExtra = RoomExtra[W(toX, toY)];
    if (f.multi)
      goalExtra = FitTestOf<true>(toX, toY, true, creature, 1, 0, f.width, f.height, toX, toY, 0)
                      ? StepExtraCost(MoverCostsOf(creature), creature, toX, toY, 0)
                      : -1;
    if (!RunRoomOpenList(fromX, fromY, toX, toY, goalExtra)) return false;
  } else {
    const SearchRun run{creature, fromX, fromY, toX, toY, f.multi, f.linked, f.width, f.height, 0, true};
    if (!RunOpenList(run, &goalX, &goalY)) return false;
  }
  WritePath(fromX, fromY, goalX, goalY);
  // Too long for a fighter's path list, or a five-foot step round a blocked
  // corner: the search gives the path up.
  if (PathLength == 0 || PathLength > kPathLength) return false;
  const bool fiveFoot = CombatAction.fiveFootStep == 1 && CanTakeFiveFootStep(creature);
  return !(fiveFoot && PathLength == 1 && IsDiagonalStepBlocked(creature, PathOutX[0], fromY, fromX, PathOutY[0]));
}

int FinishCombatWalk(int creature, int fromX, int fromY, int toX, int toY, const int32_t* walkX,
                     const int32_t* walkY, int length) {
  // FindCreaturePath up to its open list, as FindCombatWalk has run it.
  if (!IsValidCreature(creature) || InCombat != 1 || SeekAdjacent == 1 || length < 1 || length > kPathLength ||
      GoalOffTheMap(toX, toY) || !OnGrid(fromX, fromY) || (fromX == toX && fromY == toY) ||
      HasDisablingCondition(creature))
    return FindCreaturePath(creature, fromX, fromY, toX, toY, 1, 1, 0, 0, nullptr, nullptr);
  FighterSlot* slot = SlotOf(creature);
  const bool fiveFoot = CombatAction.fiveFootStep == 1 && CanTakeFiveFootStep(creature);
  SetUpSeeking(creature, toX, toY, 0);
  NoteRoomsAndGoal(fromX, fromY, toX, toY);
  const SearchFootprint f = SetUpFootprint(creature, 0);
  SyncForSeries();
  if (!FitTest(toX, toY, creature, f.multi, f.linked, f.width, f.height, toX, toY, 0))
    return FindCreaturePath(creature, fromX, fromY, toX, toY, 1, 1, 0, 0, nullptr, nullptr);
  SetUpThreatGrid(creature);
  // The walk its open list found, and the rest of the search.
  std::copy_n(walkX, length, PathOutX);
  std::copy_n(walkY, length, PathOutY);
  PathLength = length;
  CopyToSlot(slot);
  if (fiveFoot && PathLength == 1 && IsDiagonalStepBlocked(creature, PathOutX[0], fromY, fromX, PathOutY[0])) {
    AbandonPath(creature);
    return kPathNone;
  }
  MarkCombatPath(creature, slot, fromX, fromY, toX, toY, 1, nullptr, nullptr);
  return kPathFound;
}


// ---- The rules of the searches that stay in the start's room -----------
//
// A mover in combat, neither seeking nor disabled, searching from a square
// that is not a doorway to a goal in its own room: its fit test and step
// costs are the same for every such goal on every square but the goal (the
// room test lets it onto its room and the doorways). On the goal itself a
// mover of more than one square may not stand where another fighter stands
// exactly, nor pass a friend there unless an enemy would be beside it; when
// the goal fits, what stepping onto it costs is as for any square. Between
// BeginRoomRules and EndRoomRules these rules are asked square by square; the
// search state and the threat grid are put back after.

namespace {
SearchState RoomSaved;
int RoomFromX = -1, RoomFromY = -1;
uint8_t RoomSavedThreats[kMapSquares];
MoverCosts RoomMover{};
bool RoomRulesOpen = false;
bool RoomMulti = false;
}  // namespace

bool BeginRoomRules(int creature, int fromX, int fromY) {
  if (RoomRulesOpen || !IsValidCreature(creature) || InCombat != 1 || !OnGrid(fromX, fromY)) return false;
  if (SeekAdjacent == 1 || HasDisablingCondition(creature)) return false;
  const int32_t room = RegionGrid[SquareIndex(fromX, fromY)];
  if (room == kDoorwayRegion) return false;
  RoomSaved = S;
  std::memcpy(RoomSavedThreats, ThreatGrid, sizeof ThreatGrid);
  RoomRulesOpen = true;
  RoomFromX = fromX;
  RoomFromY = fromY;
  const SearchFootprint f = SetUpFootprint(creature, 0);
  RoomMulti = f.multi;
  S.mover = creature;
  S.noActChecks = false;
  S.seek = false;
  S.target = -1;
  S.startRegion = S.goalRegion = room;
  S.sameRegion = true;
  S.goalX = S.goalY = -1;  // no square is the goal
  S.goalBlocked = false;
  S.passing = false;
  BuildThreatGrid(creature, 1);
  SyncCombatantGrid();
  RoomMover = MoverCostsOf(creature);
  return true;
}

int RoomStepExtraCost(int x, int y) {
  if (!RoomRulesOpen || !FitTest(x, y, S.mover, RoomMulti, 0, S.width, S.height, -1, -1, 0)) return -1;
  return StepExtraCost(RoomMover, S.mover, x, y, 0);
}

namespace {
template <bool kOneSquare>
void RoomStepExtraCostsAs(int16_t* extra) {
  const int mover = S.mover;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      // No mover fits on a blocked square (all squares off the map in
      // combat) when creatures are not crossed.
      const bool fits = BlockedGrid[SquareIndex(x, y)] != kSquareBlocked &&
                        FitTest(x, y, mover, kOneSquare ? 0 : RoomMulti, 0, S.width, S.height, -1, -1, 0);
      extra[SquareIndex(x, y)] =
          static_cast<int16_t>(fits ? StepExtraCost<kOneSquare>(RoomMover, mover, x, y, 0) : -1);
    }
}
}  // namespace

void RoomStepExtraCosts(int16_t* extra) {
  if (!RoomRulesOpen) {
    for (int sq = 0; sq < kMapSquares; ++sq) extra[sq] = -1;
    return;
  }
  SyncCombatantGrid();
  // A one-square mover's footprint is the square itself.
  const bool oneSquare = !RoomMulti && S.width == 1 && S.height == 1;
  if (oneSquare)
    RoomStepExtraCostsAs<true>(extra);
  else
    RoomStepExtraCostsAs<false>(extra);
  // Kept for the walks of the series to goals in the room.
  if (SearchSeriesDepth == 0 || PathLookupByScan) return;
  SyncForSeries();
  static bool guardsSet = false;
  if (!guardsSet) {
    std::fill(std::begin(RoomExtraStore), std::end(RoomExtraStore), int16_t{-1});
    guardsSet = true;
  }
  for (int x = 0; x < kMapSide; ++x) std::copy_n(extra + SquareIndex(x, 0), kMapSide, RoomExtra + W(x, 0));
  RoomTableKept = true;
  RoomStepsKnown = false;
  RoomTableOneSquare = oneSquare;
  RoomTableMover = S.mover;
  RoomTableFromX = RoomFromX;
  RoomTableFromY = RoomFromY;
}

bool RoomGoalFits(int x, int y) {
  return RoomRulesOpen && FitTest(x, y, S.mover, RoomMulti, 0, S.width, S.height, x, y, 0);
}

void EndRoomRules() {
  if (!RoomRulesOpen) return;
  S = RoomSaved;
  std::memcpy(ThreatGrid, RoomSavedThreats, sizeof ThreatGrid);
  RoomRulesOpen = false;
}

void BeginSearchSeries() {
  if (SearchSeriesDepth++ == 0) {
    SyncCombatantGrid();
    SeriesGridChanges = CombatantGridChanges();
    MemoOf = {};
    MemoOf.mover = -1;
    CornersKept = false;
    SeriesMarksKept = false;
    SeriesThreatGridMover = -1;
    SeriesFloodKept = false;
    RoomTableKept = false;
  }
}

void EndSearchSeries() {
  if (SearchSeriesDepth > 0 && --SearchSeriesDepth == 0) {
    MemoOf.mover = -1;
    CornersKept = false;
    SeriesMarksKept = false;
    SeriesThreatGridMover = -1;
    SeriesFloodKept = false;
    RoomTableKept = false;
  }
}

bool SpreadWalkWithin(int creature, int fromX, int fromY, int toX, int toY, int maxFeet) {
  if (!IsValidCreature(creature) || !OnGrid(fromX, fromY)) return false;
  if (GoalOffTheMap(toX, toY)) return false;
  if (fromX == toX && fromY == toY) return false;

  // A one-square search with no act checks, no seeking and no creature
  // crossing: its fit tests ask nothing of the combatants.
  S.mover = creature;
  S.noActChecks = true;
  S.seek = false;
  S.target = -1;
  NoteRoomsAndGoal(fromX, fromY, toX, toY);
  S.width = S.height = 1;
  for (int k = 0; k < kTallyWords; ++k) S.running[k] = 0;
  if (!FitTest(toX, toY, creature, 0, 0, 1, 1, toX, toY, 0)) return false;

  // Each step costs the walk 5 feet straight and 7 diagonal, half its 10 or
  // 14 in the search: a path is within the feet when its G is within twice
  // them, and the search stops once the least F on the open list is beyond.
  SearchRun run{creature, fromX, fromY, toX, toY, false, false, 1, 1, 0, false};
  run.fLimit = maxFeet < 0 ? -1 : 2 * maxFeet;
  int goalX = toX, goalY = toY;
  if (!RunOpenList(run, &goalX, &goalY)) return false;

  // The walk's cost in feet, summed from the goal back to the start.
  int32_t feet = 0;
  int steps = 0;
  for (int x = goalX, y = goalY; !(x == fromX && y == fromY); ++steps) {
    if (steps >= kPathLength) return false;  // longer than a fighter's path lists
    const int parent = Work[W(x, y)].parent;
    const int px = parent / kPathStride, py = parent % kPathStride;
    feet += CalculateMoveCost(creature, x, y, px, py, 0);
    x = px;
    y = py;
  }
  return feet <= maxFeet;
}

int FindPathGrid() {
  const int fromX = WorldPathStartX, fromY = WorldPathStartY, toX = WorldPathGoalX, toY = WorldPathGoalY;
  if (!OnGrid(toX, toY) || !OnGrid(fromX, fromY)) return kPathNone;
  if (fromX == toX && fromY == toY) return kPathNone;
  if (BlockedGrid[SquareIndex(toX, toY)] == kSquareBlocked) return kPathNone;

  NewStamps();
  const int32_t closed = PathOnClosed, open = PathOnClosed - 1;
  int count = 1;
  PathLength = 0;
  OpenStartSquare(fromX, fromY, open);
  auto blocked = [](int x, int y) { return BlockedGrid[SquareIndex(x, y)] == kSquareBlocked; };

  bool found = false;
  while (count > 0) {
    const auto [top, px, py, parentG] = CloseLeastSquare(&count, closed);
    for (int b = py - 1; b <= py + 1; ++b) {
      if (b == -1 || b == kMapSide) continue;
      for (int a = px - 1; a <= px + 1; ++a) {
        if (a == -1 || a == kMapSide) continue;
        const int wi = W(a, b);
        if (PathStamp[wi] == closed || blocked(a, b)) continue;
        const bool diagonal = a != px && b != py;
        if (diagonal && (blocked(a, py) || blocked(px, b))) continue;
        const int32_t g = parentG + (diagonal ? 14 : 10);
        if (PathStamp[wi] == open) {
          if (g < Work[wi].g) RepriceOpenSquare(wi, top, g);
          continue;
        }
        const int dx = a > toX ? a - toX : toX - a, dy = b > toY ? b - toY : toY - b;
        OpenNewSquare(wi, 5 * std::max(dx, dy) + 2 * std::min(dx, dy), g, top, open, &count);
      }
    }
    // The world map stops as soon as the goal is on the open list.
    if (PathStamp[W(toX, toY)] == open) {
      found = true;
      break;
    }
  }
  if (!found) return kPathNone;

  WritePath(fromX, fromY, toX, toY);
  const int leader = static_cast<int>(PartyLeader);
  if (!IsValidCreature(leader)) return kPathFound;
  CopyToSlot(SlotOf(leader));
  CreatureRecord& c = Creatures[leader];
  c.nextX = PathOutX[0];
  c.nextY = PathOutY[0];
  c.destinationX = toX;
  c.destinationY = toY;
  if (FighterSlot* slot = SlotOf(leader)) slot->pathIndex = 1;
  LeaderStepEnabled = 0;
  return kPathFound;
}

void ResetPathFindingState() {
  ResetCombatantGridState();
  PathLookupByScan = 0;
  ResetWords(PathOutX);
  ResetWords(PathOutY);
  PathLength = 0;
  PathCostFeet = 0;
  PathShown = 0;
  WorldPathStartX = 0;
  WorldPathStartY = 0;
  WorldPathGoalX = 0;
  WorldPathGoalY = 0;
}
