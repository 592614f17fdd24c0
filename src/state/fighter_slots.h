// The fighter table: the creatures standing on the current map (the party
// always in slots 0 to 3), each with its per-fighter working data.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kFighterSlots = 300;
constexpr int kPathLength = 200;
constexpr int kSquareCount = 3600;  // 60 by 60, index x * 60 + y

// The natural form of a polymorphed or iron-bodied creature, kept while the
// changed form lasts and put back when it ends (rules/creature_forms.h).
struct NaturalForm {
  int32_t saved;                 // 1 while a form is kept here
  int32_t creature;              // whose form it is
  int32_t strength[2], dexterity[2], constitution[2];  // base, current
  int32_t figure;
  int32_t displayWords[5];
  int32_t size[2];
  int32_t speed[2];
  int32_t footprintHeight[2], footprintWidth[2];
  int32_t figureSize[2][2];
  int32_t naturalAttacks[4][9];
  int32_t protections[62][2];
  uint32_t equipment[12];
  uint32_t ammunitionCode;
  int32_t ammunitionCount;
};

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
  NaturalForm naturalForm;       // the saved natural form of a transformed creature
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
