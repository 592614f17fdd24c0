// Straight lines between squares: the squares a line crosses, whether it is
// free for a spell or a missile, and which creature stands in the way as cover.
#pragma once
#include <cstdint>
#include <utility>

#include "map/map_record.h"

constexpr int kMaxLineSquares = 200;

// FindCover's result: 1 when a creature on the line gives cover, and its square (-1 none).
extern uint8_t CoverActive;
extern int32_t CoverSquareX;
extern int32_t CoverSquareY;

// Bresenham's line from (x0, y0) to (x1, y1) into xs and ys (room for 200
// each), in order from the start. Returns the number of squares, or -1 when
// the line needs more than 200 (nothing is written then).
int TraceLineInto(int x0, int y0, int x1, int y1, int32_t* xs, int32_t* ys);
// The same into the path lists of the creature's fighter slot (slot 0 when
// the creature is -1 or has none), after clearing their 200 + 200 entries.
int TraceLine(int x0, int y0, int x1, int y1, int creature);

// Whether nothing stops a spell between the two squares (the end square is
// not tested). outSolid (may be null) is set to 1 when a solid magic area stops it.
bool HasLineOfEffect(int x0, int y0, int x1, int y1, int32_t* outSolid);
bool HasLineOfEffectFrom(int x0, int y0, int x1, int y1, int creature);

// Walks the line from the attacker's square to the target's: false when a
// wall stops it; true otherwise, with CoverActive and the cover square set
// when a third combatant stands on it (never for an attacker with
// "IMPROVED PRECISE SHOT"). Marks the walked squares in ArrowGrid.
bool FindCover(int ax, int ay, int tx, int ty, int debug);
// 1 (the default): FindCover marks ArrowGrid. 0: it answers and sets the
// cover words alone, for work whose marks are all made again for real
// afterwards (a grid evaluating shot after shot).
extern uint8_t CoverLinesMarked;
// FindCover's answer and whether a combatant on the line gives cover, as a
// question only: neither ArrowGrid nor the cover words are written (the
// scoring of many squares asks it, and asks FindCover itself last).
bool WeighCoverLine(int ax, int ay, int tx, int ty, uint8_t* cover);
// What FindCover answers for the line, without marking it or looking for cover.
bool IsCoverLineOpen(int ax, int ay, int tx, int ty);

// WeighCoverLine asked again and again for one shooter placed on square after
// square while nothing else moves: the squares that stop a line and who
// stands on each (the shooter aside) are read once by PrepareCoverLineSurvey,
// and SurveyCoverLine then walks a line over them alone. It answers as
// WeighCoverLine would with the shooter's upper-left square at (sx, sy): 1
// open, 0 stopped, and *cover; or -1, leaving *cover alone, for the lines it
// leaves to WeighCoverLine (an end off the grid, another combatant on the
// shooter's end, the shooter on the target's end, a stale survey, or lines
// surveyed one by one).
struct CoverLineSurvey {
  int32_t shooter = -1;
  bool listed = false;  // the shooter stands in the turn order
  bool stale = false;   // set by whoever saw the combatants change since
  // Per square: the first other combatant standing there plus 1 (0 none),
  // with kCoverLineStops added where a line stops.
  uint16_t squares[kMapSquares];
};
constexpr uint16_t kCoverLineStops = 0x8000;
void PrepareCoverLineSurvey(CoverLineSurvey* survey, int shooter);
int SurveyCoverLine(const CoverLineSurvey& survey, int sx, int sy, int ax, int ay, int tx, int ty, uint8_t* cover);
// The first combatant other than the shooter on the square (-1 none).
inline int SurveyedHolder(const CoverLineSurvey& survey, int square) {
  return static_cast<int>(survey.squares[square] & ~kCoverLineStops) - 1;
}
// Every line to (bx, by), on the grid, from the squares of the box reaching
// `reach` squares from it along each axis, at once: for the square (fx, fy),
// lines[(fx - bx + reach) * (2 * reach + 1) + fy - by + reach] holds
// kLineStopped when a square of the line stops it and kLineCovered when a
// combatant on it gives cover, as SurveyCoverLine answers for the line from
// (fx, fy) to (bx, by) when no other combatant stands on (fx, fy) and the
// shooter not on (bx, by). Each square that stops a line or gives cover marks
// the lines through it, listed once for each reach. reach is at most
// kMaxLinesSurveyed; lines has room for (2 * reach + 1) squared entries.
constexpr int kMaxLinesSurveyed = 30;
constexpr uint8_t kLineStopped = 1;
constexpr uint8_t kLineCovered = 2;
void SurveyLinesTo(const CoverLineSurvey& survey, int bx, int by, int reach, uint8_t* lines);
// 1 (the default): the surveys answer what they can; 0: every line is left to
// WeighCoverLine (the tests compare both ways).
extern uint8_t CoverLinesSurveyed;

// Lines asked for many pairs of squares while the map stands still (a grid
// weighing each square against the creatures or cells near it): the squares
// that let each kind of line on are read once per Refresh, and the squares of
// a line, the same shape wherever it starts, are traced once for each offset
// up to kReach apart along both axes (farther pairs are traced as the plain
// questions trace them). A line whose box holds no closed square is open
// without a walk. The answers are those of IsCoverLineOpen and
// HasLineOfEffect, as long as neither the walls, the flooded squares, the
// magic areas nor the combat word change between Refresh and the questions.
class LineCache {
 public:
  static constexpr int kReach = 12;
  // Reads the map for both kinds of line; a grid that asks only cover lines
  // reads for those alone.
  void Refresh() {
    RefreshCoverLines();
    RefreshEffectLines();
  }
  void RefreshCoverLines();
  void RefreshEffectLines();
  // IsCoverLineOpen(ax, ay, tx, ty).
  bool CoverLineOpen(int ax, int ay, int tx, int ty) const {
    const int ox = tx - ax, oy = ty - ay;
    if (ox < -kReach || ox > kReach || oy < -kReach || oy > kReach) return IsCoverLineOpen(ax, ay, tx, ty);
    // A line starts and ends on its two squares and stays within their box:
    // with both on the map, every square of it is.
    if (!OnMap(ax, ay) || !OnMap(tx, ty)) return false;
    return Walk(cover_, ax, ay, ox, oy, true);
  }
  // HasLineOfEffect(x0, y0, x1, y1, nullptr).
  bool EffectLineFree(int x0, int y0, int x1, int y1) const {
    const int ox = x1 - x0, oy = y1 - y0;
    if (ox == 0 && oy == 0) return true;
    if (ox < -kReach || ox > kReach || oy < -kReach || oy > kReach || !OnMap(x0, y0) || !OnMap(x1, y1))
      return HasLineOfEffect(x0, y0, x1, y1, nullptr);
    return Walk(effect_, x0, y0, ox, oy, false);
  }

 private:
  static constexpr int kSide = 2 * kReach + 1;
  // The squares of the line from (0, 0) to each offset within reach, after
  // the start and in order to the end, as offsets of their indexes from the
  // start's; traced once.
  struct Shapes {
    int16_t step[kSide][kSide][kReach];
    uint8_t count[kSide][kSide];
    Shapes();
  };
  static const Shapes& TracedShapes();
  // Which squares let the line on, and how many do not in each box from the
  // map's corner (closed[x + 1][y + 1] counts columns 0 to x, rows 0 to y).
  struct OpenMap {
    uint8_t open[kMapSquares];
    int16_t closed[kMapSide + 1][kMapSide + 1];
    void Count();
    bool BoxOpen(int x0, int y0, int x1, int y1) const {
      if (x0 > x1) std::swap(x0, x1);
      if (y0 > y1) std::swap(y0, y1);
      return closed[x1 + 1][y1 + 1] - closed[x0][y1 + 1] - closed[x1 + 1][y0] + closed[x0][y0] == 0;
    }
  };
  static bool OnMap(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
  // The line from (ax, ay) by (ox, oy), both ends on the map, over the open
  // squares of the map: the start always, the end when asked.
  bool Walk(const OpenMap& map, int ax, int ay, int ox, int oy, bool withEnd) const {
    const uint8_t* from = map.open + SquareIndex(ax, ay);
    if (!*from) return false;
    if (map.BoxOpen(ax, ay, ax + ox, ay + oy)) return true;
    const int16_t* step = shapes_->step[ox + kReach][oy + kReach];
    const int n = shapes_->count[ox + kReach][oy + kReach] - (withEnd ? 0 : 1);
    for (int i = 0; i < n; ++i)
      if (!from[step[i]]) return false;
    return true;
  }

  const Shapes* shapes_ = nullptr;  // set by Refresh
  OpenMap cover_, effect_;
};

// Puts the words above back to their start-up values (a new game, and tests).
void ResetLineOfEffectState();
