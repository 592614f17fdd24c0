// Straight lines between squares: the squares a line crosses, whether it is
// free for a spell or a missile, and which creature stands in the way as cover.
#pragma once
#include <cstdint>

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
// FindCover's answer and whether a combatant on the line gives cover, as a
// question only: neither ArrowGrid nor the cover words are written (the
// scoring of many squares asks it, and asks FindCover itself last).
bool WeighCoverLine(int ax, int ay, int tx, int ty, uint8_t* cover);
// What FindCover answers for the line, without marking it or looking for cover.
bool IsCoverLineOpen(int ax, int ay, int tx, int ty);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetLineOfEffectState();
