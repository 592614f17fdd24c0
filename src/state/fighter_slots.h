// The fighter table: the creatures standing on the current map (the party
// always in slots 0 to 3), each with its per-fighter working data.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kFighterSlots = 300;
constexpr int kPathLength = 200;
constexpr int kSquareCount = 3600;  // 60 by 60, index x * 60 + y

// The values of a transformed creature's natural form, kept in its slot
// while it wears another form and put back when the form ends: the bases of
// derived values 18 to 61, attack values, abilities, size, footprint and
// ammunition (pairs are base, current).
constexpr int kSavedFormValues = 44;
struct SavedNaturalForm {
  int32_t derivedBases[kSavedFormValues];
  int32_t baseAttack[2];
  int32_t abilities[6][2];
  int32_t size[2];
  int32_t footprintWidth[2];   // along x
  int32_t footprintHeight[2];  // along y
  int32_t ammunition[2];       // item code and count
  // Kept too by the forms of the spell effects (rules/creature_forms.h).
  int32_t saved;               // 1 while a form is kept here
  int32_t creature;            // whose form it is
  int32_t figure;
  int32_t speed[2];
  int32_t naturalArmour[2];
  int32_t figureSize[2][2];
  int32_t naturalAttacks[4][9];
  uint32_t equipment[12];
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
  SavedNaturalForm savedForm;
};
static_assert(offsetof(FighterSlot, pathIndex) == 16);
static_assert(offsetof(FighterSlot, pathX) == 20);
static_assert(offsetof(FighterSlot, pathY) == 820);
static_assert(offsetof(FighterSlot, visible) == 1620);
static_assert(offsetof(FighterSlot, secondGrid) == 16020);
static_assert(offsetof(FighterSlot, gridFlag) == 30420);

extern FighterSlot FighterSlots[kFighterSlots];
extern int32_t FighterCount;
// The table as it was before the last rebuild.
extern FighterSlot FighterSlotBackup[kFighterSlots];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetFighterSlotsState();

// Sets slots `from` to the last of a fighter table to zero. The slots the
// table lately held (the more of `inUse` and the last rebuild's count) are
// written over in place, as a rebuild soon fills them again; the pages past
// them are handed back.
void ZeroFighterSlots(FighterSlot* table, int from, int inUse);
// How many slots a rebuild of the table filled.
void NoteFighterSlotsFilled(int count);
