#include "map/line_of_effect.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "state/threat_grids.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/combatant_grid.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

uint8_t CoverActive = 0;
int32_t CoverSquareX = -1;
int32_t CoverSquareY = -1;

namespace {


// The line tests trace here rather than into a fighter's path lists, so that
// asking whether a line is free never disturbs a path being walked.
int32_t LineX[kMaxLineSquares];
int32_t LineY[kMaxLineSquares];

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// Walls that stop walking but not a spell or a missile.
bool LetsLineThrough(int32_t wall) {
  return wall == 79 || wall == 96 || wall == 97 || wall == 98 || wall == 107;
}

bool LineFree(int x0, int y0, int x1, int y1, int32_t* outSolid) {
  if (outSolid) *outSolid = 0;
  if (x0 == x1 && y0 == y1) return true;
  const int count = TraceLineInto(x0, y0, x1, y1, LineX, LineY);
  if (count < 0) return false;
  // The start is tested, the end square is not.
  for (int i = 0; i < count - 1; ++i) {
    if (!OnGrid(LineX[i], LineY[i])) return false;
    const int sq = SquareIndex(LineX[i], LineY[i]);
    const int32_t wall = CurrentMap.layers[kLayerWalls][sq];
    if (wall == 0) {
      if (InCombat == 1 && MagicAreaGrid[sq].kind == kEffectSolid) {
        if (outSolid) *outSolid = 1;
        return false;
      }
      continue;
    }
    if (!LetsLineThrough(wall)) return false;
  }
  return true;
}

// A square of a cover line that lets the line on: flood-open, or holding a
// feature the line passes.
bool CoverLineSquareOpen(int sq) {
  return BlockedGrid[sq] == kSquareFlooded || LetsLineThrough(CurrentMap.layers[kLayerWalls][sq]);
}

// A line between two squares as the tracer walks it: along its longer axis
// (major) from the end with the lower major coordinate, the shorter axis
// (minor) stepping by `step` whenever the error term reaches `d`.
struct LineAxes {
  bool alongX, reversed;
  int a0, b0, a1, b1;  // major and minor coordinates of the walk's ends
  int d, m, step;
};

LineAxes OrderLine(int x0, int y0, int x1, int y1) {
  LineAxes l;
  l.alongX = std::abs(x1 - x0) > std::abs(y1 - y0);
  l.a0 = l.alongX ? x0 : y0;
  l.b0 = l.alongX ? y0 : x0;
  l.a1 = l.alongX ? x1 : y1;
  l.b1 = l.alongX ? y1 : x1;
  l.reversed = l.a0 > l.a1;
  if (l.reversed) {
    std::swap(l.a0, l.a1);
    std::swap(l.b0, l.b1);
  }
  l.d = l.a1 - l.a0;
  l.m = 2 * std::abs(l.b1 - l.b0);
  l.step = l.b1 >= l.b0 ? 1 : -1;
  return l;
}

}  // namespace

int TraceLineInto(int x0, int y0, int x1, int y1, int32_t* xs, int32_t* ys) {
  const LineAxes l = OrderLine(x0, y0, x1, y1);
  const bool alongX = l.alongX, reversed = l.reversed;
  const int a0 = l.a0, b0 = l.b0, a1 = l.a1, d = l.d, m = l.m, step = l.step;
  if (d + 1 > kMaxLineSquares) return -1;
  int err = 0, minor = b0, count = 0;
  for (int major = a0; major <= a1; ++major) {
    xs[count] = alongX ? major : minor;
    ys[count] = alongX ? minor : major;
    ++count;
    err += m;
    if (err >= d) {
      minor += step;
      err -= 2 * d;
    }
  }
  if (reversed) {
    for (int i = 0, j = count - 1; i < j; ++i, --j) {
      std::swap(xs[i], xs[j]);
      std::swap(ys[i], ys[j]);
    }
  }
  return count;
}

int TraceLine(int x0, int y0, int x1, int y1, int creature) {
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  const int count = TraceLineInto(x0, y0, x1, y1, xs, ys);
  if (count < 0) return -1;
  int slot = creature >= 0 ? GetFighterSlot(creature) : 0;
  if (slot < 0 || slot >= kFighterSlots) slot = 0;
  FighterSlot& f = FighterSlots[slot];
  std::memset(f.pathX, 0, sizeof f.pathX);
  std::memset(f.pathY, 0, sizeof f.pathY);
  std::memcpy(f.pathX, xs, sizeof xs[0] * count);
  std::memcpy(f.pathY, ys, sizeof ys[0] * count);
  return count;
}

bool HasLineOfEffect(int x0, int y0, int x1, int y1, int32_t* outSolid) {
  return LineFree(x0, y0, x1, y1, outSolid);
}

bool HasLineOfEffectFrom(int x0, int y0, int x1, int y1, int /*creature*/) {
  return LineFree(x0, y0, x1, y1, nullptr);
}

namespace {

// The walk of FindCover from (ax, ay) to (tx, ty): whether a wall stops it,
// and the first square where a third combatant stands (-1 none, and never
// for an attacker with "IMPROVED PRECISE SHOT"). With marking, the walked
// squares go into ArrowGrid as FindCover leaves them. -1 when the line is
// too long to trace (nothing is walked), 0 stopped by a wall, 1 open.
template <bool kMarking>
int WalkCoverLine(int ax, int ay, int tx, int ty, int32_t* coverX, int32_t* coverY) {
  // Who stands on each square of the line, from the occupancy grid.
  SyncCombatantGrid();
  auto holderOf = [](int x, int y, int except) {
    return InCombat == 1 && OnGrid(x, y) ? OtherCombatantOnSynced(x, y, except, -1) : -1;
  };
  const int attacker = holderOf(ax, ay, -1);
  const int target = holderOf(tx, ty, -1);
  const int count = TraceLineInto(ax, ay, tx, ty, LineX, LineY);
  *coverX = *coverY = -1;
  if (count < 0) return -1;
  if (kMarking) {
    std::memset(ArrowGrid, 0, sizeof ArrowGrid);
    ArrowGridMover = -1;
  }
  const bool precise =
      attacker >= 0 && attacker < kCreatureCount && Creatures[attacker].feats[kFeatImprovedPreciseShot] != 0;
  bool cover = false;
  for (int i = 0; i < count; ++i) {
    const int x = LineX[i], y = LineY[i];
    if (!OnGrid(x, y)) return 0;
    const int sq = SquareIndex(x, y);
    if (kMarking) ArrowGrid[sq] = 100;
    if (!CoverLineSquareOpen(sq)) {
      if (kMarking) ArrowGrid[sq] = 200;
      return 0;
    }
    if (cover || precise) continue;
    const int holder = holderOf(x, y, attacker);
    if (holder == -1 || holder == target) continue;
    cover = true;
    *coverX = x;
    *coverY = y;
    if (kMarking) ArrowGrid[sq] = 200;
  }
  return 1;
}

}  // namespace

uint8_t CoverLinesMarked = 1;

bool FindCover(int ax, int ay, int tx, int ty, int debug) {
  int32_t x = -1, y = -1;
  const int walked = CoverLinesMarked != 0 ? WalkCoverLine<true>(ax, ay, tx, ty, &x, &y)
                                           : WalkCoverLine<false>(ax, ay, tx, ty, &x, &y);
  // A line too long to trace leaves the last cover as it was.
  if (walked < 0) return false;
  CoverActive = x >= 0 ? 1 : 0;
  CoverSquareX = x;
  CoverSquareY = y;
  if (CoverActive && debug && DebugMode == 1) LogMessage("Found Cover at X=%i Y=%i \r", x, y);
  return walked == 1;
}

bool WeighCoverLine(int ax, int ay, int tx, int ty, uint8_t* cover) {
  int32_t x = -1, y = -1;
  const int walked = WalkCoverLine<false>(ax, ay, tx, ty, &x, &y);
  if (cover) *cover = x >= 0 ? 1 : 0;
  return walked == 1;
}

bool IsCoverLineOpen(int ax, int ay, int tx, int ty) {
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  const int count = TraceLineInto(ax, ay, tx, ty, xs, ys);
  if (count < 0) return false;
  for (int i = 0; i < count; ++i)
    if (!OnGrid(xs[i], ys[i]) || !CoverLineSquareOpen(SquareIndex(xs[i], ys[i]))) return false;
  return true;
}

uint8_t CoverLinesSurveyed = 1;

void PrepareCoverLineSurvey(CoverLineSurvey* survey, int shooter) {
  survey->shooter = shooter;
  survey->listed = false;
  survey->stale = false;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    survey->listed |= TurnOrder[i].creature == shooter && IsValidCreature(shooter);
  SyncCombatantGrid();
  for (int sq = 0; sq < kMapSquares; ++sq) {
    const int x = sq / kMapSide, y = sq % kMapSide;
    int holder = -1;
    if (InCombat == 1 && CombatantCountOnSynced(x, y) > 0) holder = OtherCombatantOnSynced(x, y, shooter, -1);
    survey->squares[sq] = static_cast<uint16_t>((holder + 1) | (CoverLineSquareOpen(sq) ? 0 : kCoverLineStops));
  }
}

namespace {

// The attacker of a surveyed line is the shooter (or nobody, when it stands
// in no turn order), so each square's holder is its first other combatant,
// and an attacker with "IMPROVED PRECISE SHOT" finds no cover.
bool SurveyedShooterPrecise(const CoverLineSurvey& survey) {
  return InCombat == 1 && survey.listed && Creatures[survey.shooter].feats[kFeatImprovedPreciseShot] != 0;
}

}  // namespace

int SurveyCoverLine(const CoverLineSurvey& survey, int sx, int sy, int ax, int ay, int tx, int ty, uint8_t* cover) {
  if (CoverLinesSurveyed == 0 || survey.stale || !IsValidCreature(survey.shooter) || !OnGrid(ax, ay) ||
      !OnGrid(tx, ty))
    return -1;
  // Another combatant on the shooter's end might be taken for the attacker.
  if (SurveyedHolder(survey, SquareIndex(ax, ay)) != -1) return -1;
  // The shooter as the occupancy grid stamps it at (sx, sy), on the target's end.
  const CreatureRecord& c = Creatures[survey.shooter];
  if (survey.listed) {
    const int w = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
    const int h = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
    if (tx >= sx && tx < sx + w && ty >= sy && ty < sy + h) return -1;
  }
  const bool precise = SurveyedShooterPrecise(survey);
  const int target = SurveyedHolder(survey, SquareIndex(tx, ty));
  // TraceLineInto's squares, from the end with the lower coordinate along the
  // longer axis; a line traced from the target's end is walked backwards.
  const LineAxes l = OrderLine(ax, ay, tx, ty);
  const bool alongX = l.alongX, reversed = l.reversed;
  const int a0 = l.a0, b0 = l.b0, a1 = l.a1, d = l.d, m = l.m, step = l.step;
  const int majorStride = alongX ? kMapSide : 1;
  const int minorStride = (alongX ? 1 : kMapSide) * step;
  int at = alongX ? SquareIndex(a0, b0) : SquareIndex(b0, a0);
  int err = 0;
  // Cover counts only before the walk meets what stops it: walking
  // backwards, only past the last such square.
  bool covered = false, stopped = false;
  for (int major = a0; major <= a1; ++major, at += majorStride) {
    const uint16_t square = survey.squares[at];
    if (square & kCoverLineStops) {
      if (!reversed) {
        *cover = covered ? 1 : 0;
        return 0;
      }
      stopped = true;
      covered = false;
    } else if (!precise) {
      const int holder = static_cast<int>(square) - 1;
      covered |= holder != -1 && holder != target;
    }
    err += m;
    const int turn = -static_cast<int>(err >= d);  // all bits when the line steps along the shorter axis
    at += minorStride & turn;
    err -= (2 * d) & turn;
  }
  *cover = covered ? 1 : 0;
  return stopped ? 0 : 1;
}

namespace {

// For one reach: per square of the box round the target's end, the lines
// from the box's squares that pass over it (CSR: first[k] to first[k + 1] in
// through), as TraceLineInto traces them.
struct LinesThrough {
  int reach = -1;
  std::vector<int32_t> first;
  std::vector<int16_t> through;
};

const LinesThrough& LinesThroughFor(int reach) {
  static LinesThrough tables[kMaxLinesSurveyed + 1];
  LinesThrough& t = tables[reach];
  if (t.reach == reach) return t;
  const int side = 2 * reach + 1, n = side * side;
  t.first.assign(n + 1, 0);
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<int32_t> fill;
    if (pass == 1) {
      for (int k = 0; k < n; ++k) t.first[k + 1] += t.first[k];
      t.through.assign(t.first[n], 0);
      fill.assign(t.first.begin(), t.first.end() - 1);
    }
    for (int fx = -reach; fx <= reach; ++fx)
      for (int fy = -reach; fy <= reach; ++fy) {
        const int line = (fx + reach) * side + fy + reach;
        const int count = TraceLineInto(fx, fy, 0, 0, xs, ys);
        for (int i = 0; i < count; ++i) {
          const int k = (xs[i] + reach) * side + ys[i] + reach;
          if (pass == 0)
            ++t.first[k + 1];
          else
            t.through[fill[k]++] = static_cast<int16_t>(line);
        }
      }
  }
  t.reach = reach;
  return t;
}

}  // namespace

LineCache::Shapes::Shapes() {
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  for (int ox = -kReach; ox <= kReach; ++ox)
    for (int oy = -kReach; oy <= kReach; ++oy) {
      const int n = TraceLineInto(0, 0, ox, oy, xs, ys);
      uint8_t& k = count[ox + kReach][oy + kReach];
      k = 0;
      for (int i = 1; i < n; ++i) step[ox + kReach][oy + kReach][k++] = static_cast<int16_t>(xs[i] * kMapSide + ys[i]);
    }
}

namespace {

// A square a line of effect passes: open floor (no solid magic area in
// combat), or holding a feature such a line passes.
bool EffectLineSquareOpen(int sq) {
  const int32_t wall = CurrentMap.layers[kLayerWalls][sq];
  if (wall != 0) return LetsLineThrough(wall);
  return InCombat != 1 || MagicAreaGrid[sq].kind != kEffectSolid;
}

}  // namespace

void SurveyLinesTo(const CoverLineSurvey& survey, int bx, int by, int reach, uint8_t* lines) {
  const int side = 2 * reach + 1;
  std::memset(lines, 0, static_cast<size_t>(side) * side);
  const LinesThrough& t = LinesThroughFor(reach);
  const bool precise = SurveyedShooterPrecise(survey);
  const int target = SurveyedHolder(survey, SquareIndex(bx, by));
  const int y0 = by - reach < 0 ? 0 : by - reach, y1 = by + reach < kMapSide ? by + reach : kMapSide - 1;
  for (int x = bx - reach < 0 ? 0 : bx - reach; x <= bx + reach && x < kMapSide; ++x)
    for (int y = y0; y <= y1; ++y) {
      // Four empty open squares at a time are passed over.
      if (y + 3 <= y1) {
        uint64_t four;
        std::memcpy(&four, &survey.squares[SquareIndex(x, y)], sizeof four);
        if (four == 0) {
          y += 3;
          continue;
        }
      }
      const uint16_t square = survey.squares[SquareIndex(x, y)];
      const int holder = static_cast<int>(square & ~kCoverLineStops) - 1;
      uint8_t mark = 0;
      if (square & kCoverLineStops)
        mark = kLineStopped;
      else if (!precise && holder != -1 && holder != target)
        mark = kLineCovered;
      if (mark == 0) continue;
      const int k = (x - bx + reach) * side + y - by + reach;
      for (int i = t.first[k]; i < t.first[k + 1]; ++i) lines[t.through[i]] |= mark;
    }
}

void LineCache::OpenMap::Count() {
  for (int y = 0; y <= kMapSide; ++y) closed[0][y] = 0;
  for (int x = 0; x < kMapSide; ++x) {
    closed[x + 1][0] = 0;
    for (int y = 0; y < kMapSide; ++y)
      closed[x + 1][y + 1] = static_cast<int16_t>(closed[x][y + 1] + closed[x + 1][y] - closed[x][y] +
                                                  (open[SquareIndex(x, y)] ? 0 : 1));
  }
}

const LineCache::Shapes& LineCache::TracedShapes() {
  static const Shapes shapes;
  return shapes;
}

void LineCache::RefreshCoverLines() {
  shapes_ = &TracedShapes();
  for (int sq = 0; sq < kMapSquares; ++sq) cover_.open[sq] = CoverLineSquareOpen(sq) ? 1 : 0;
  cover_.Count();
}

void LineCache::RefreshEffectLines() {
  shapes_ = &TracedShapes();
  for (int sq = 0; sq < kMapSquares; ++sq) effect_.open[sq] = EffectLineSquareOpen(sq) ? 1 : 0;
  effect_.Count();
}

void ResetLineOfEffectState() {
  CoverActive = 0;
  CoverSquareX = -1;
  CoverSquareY = -1;
}
