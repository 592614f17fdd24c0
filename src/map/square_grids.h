// The per-square grids of the current map: blocked squares and the flood from
// a creature, sight blockers, rooms and doorways, lasting spell effects, and
// the lookups of creatures by square. Every grid is 3,600 entries, x * 60 + y.
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "rules/record_words.h"

// BlockedGrid values.
constexpr uint32_t kSquareOpen = 0;
constexpr uint32_t kSquareBlocked = 1;
constexpr uint32_t kSquareFlooded = 2;  // open and 4-connected to the chosen creature

// A lasting spell effect on a square.
struct SquareEffectCell {
  uint32_t kind;        // see SquareEffectKind
  uint32_t roundsLeft;  // 1000 lasts until removed
  int32_t value;        // the effect's number: a web's save DC, a fire's damage bonus
};
enum SquareEffectKind : uint32_t {
  kEffectNone = 0,
  kEffectInsectPlague = 1,
  kEffectSilence = 2,
  kEffectDarkness = 3,
  kEffectEntangle = 4,
  kEffectWeb = 5,
  kEffectFire = 6,   // wall of fire, or brazier fire with 1000 rounds
  kEffectSolid = 7,  // blocks movement and lines of effect, in combat only
};

constexpr int kMaxDoorways = 999;
constexpr int32_t kDoorwayRegion = 1000;

extern uint32_t BlockedGrid[kMapSquares];
extern uint32_t SightBlockGrid[kMapSquares];
extern uint32_t OpenSquareCount;
extern int32_t RegionGrid[kMapSquares];      // -1 none, 1.. rooms, 1000 doorways
extern int32_t RegionShares[kMaxDoorways + 1];  // per mille, by region id
extern int32_t RegionCount;
extern SquareEffectCell MagicAreaGrid[kMapSquares];
extern uint8_t ThreatGrid[kMapSquares];
extern uint8_t ApproachGrid[kMapSquares];

// Rebuilds the blocked and sight grids of the current map, floods from the
// creature's square (-1 the party leader) and rebuilds the rooms. Returns 1.
int BuildOccupancyGrids(int creature);
// How many times the blocked-square and region grids have been built: what
// was worked out from them under one count still holds under the same count.
extern uint32_t OccupancyGridBuilds;
// The world map's travel grid: ground 3 and 6 and the border squares are blocked.
void BuildWorldMapBlockedGrid();

// Rooms and doorways.
void BuildRegionGrid();
int32_t RegionShare(int32_t id);
void ComputeRegionShares();
void RenumberRegions();

// The creature whose footprint covers (x, y): the first fighter slot in table
// order / in combat only, the first turn-order creature other than except; -1 none.
int CombatantAtSquare(int x, int y);
int CreatureAtSquare(int x, int y, int except);
// True when the creature's footprint covers (x, y).
bool FootprintCovers(int creature, int x, int y);

// Compass code 1 (north, y smaller) clockwise to 8 (north-west); -1 for equal squares.
int Direction8(int x1, int y1, int x2, int y2);
// Faces the creature from its square toward its next square; false (facing
// kept) when the next square is not a neighbour.
bool SetCreatureFacing(int creature);
bool SetFighterFacing(int slot);

// The cursor over a hovered creature, by the selected-fighter mode word: 8
// (party members, or mode 0); in mode 2, 9 (talk) for a creature with a script
// of its own and 1 for one without; any other mode leaves the cursor alone.
void SetMapCursorKind(int creature);

// False while a condition keeps the creature from acting.
bool CanCreatureAct(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetRegionsState();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetSquareGridsState();
