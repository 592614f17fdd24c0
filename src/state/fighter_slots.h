// The fighter table: the creatures standing on the current map (the party
// always in slots 0 to 3), each with its per-fighter working data.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kFighterSlots = 300;
constexpr int kPathLength = 200;
constexpr int kSquareCount = 3600;  // 60 by 60, index x * 60 + y

struct FighterSlot {
  int32_t creature;              // creature id
  int32_t alert;                 // 1 aware of the others
  int32_t unseenSquares;         // squares not yet marked in the grid
  int32_t walkStep;              // walking-animation counter (0 on map entry)
  int32_t pathIndex;             // -1 no path
  int32_t pathX[kPathLength];    // also the line tracer's scratch
  int32_t pathY[kPathLength];
  int32_t visible[kSquareCount]; // 1 = this fighter sees the square
  int32_t secondGrid[kSquareCount];
  int32_t gridFlag;
  // The saved natural form of a transformed creature follows here; it comes
  // with the routines that save and restore it.
};
static_assert(offsetof(FighterSlot, pathIndex) == 16);
static_assert(offsetof(FighterSlot, pathX) == 20);
static_assert(offsetof(FighterSlot, pathY) == 820);
static_assert(offsetof(FighterSlot, visible) == 1620);
static_assert(offsetof(FighterSlot, secondGrid) == 16020);
static_assert(offsetof(FighterSlot, gridFlag) == 30420);

extern FighterSlot FighterSlots[kFighterSlots];
extern int32_t FighterCount;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetFighterSlotsState();
