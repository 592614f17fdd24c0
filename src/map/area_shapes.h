// The shapes of area spells, breath weapons and Turn Undead: a line, a
// rectangle, a cone and a burst, marked square by square into the area mask,
// with the creatures inside gathered into the area target list.
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "rules/spell_ids.h"

// 1 on the squares the last shape covers (x * 60 + y); every shape clears it first.
extern uint8_t AreaMask[kMapSquares];
// The last square a line reached.
extern int32_t AreaLineEndX, AreaLineEndY;
// 1 when the last rectangle was accepted, 0 when it was refused.
extern uint8_t RectangleValid;

// No cone or burst marks a square farther than this from its origin along either axis.
constexpr int kShapeReach = 10;

// Pseudo-spell ids of the shapes.
constexpr int kSpellTurnUndead = 998;
constexpr int kSpellSpecialAttack = 999;  // a breath weapon or a gaze


// The line from the caster toward the target square: stops before a wall, a
// solid magic area or the map's edge. outDirection gets the compass code
// 1 to 8, outNearSquare (two words) the fourth traced square or the last
// one. False only when the line is longer than 200 squares.
bool RasteriseLine(int caster, int targetX, int targetY, int spell, int32_t* outDirection,
                   int32_t* outNearSquare);
// The rectangle between two corners; the caster faces (x2, y2). False when
// it is larger than the spell allows or a square of it is not clear. Squares
// beyond the map's edge are left out.
bool RasteriseRectangle(int spell, int caster, int x1, int y1, int x2, int y2);
// The cone from the caster toward the target square. False only when a line
// check is longer than 200 squares.
bool RasteriseCone(int caster, int targetX, int targetY, int spell, int32_t* outDirection);
// The burst around the corner at the +x, +y side of the centre square; the
// creature of every covered square is listed as AddAreaTarget would list it.
// Always true.
bool RasteriseBurst(int caster, int centreX, int centreY, int spell);

// For weighing many shapes one after another (a computer caster trying each
// square it could stand on): the creatures RasteriseCone or RasteriseBurst
// would list, in the order they would list them, put into out (room for
// `room`, the rest dropped as a full area target list drops them); the
// count. Only the squares creatures stand on are looked at: nothing is
// marked, the area target list is left alone and the caster does not turn.
int ListConeTargets(int caster, int targetX, int targetY, int spell, int32_t* out, int room);
int ListBurstTargets(int caster, int centreX, int centreY, int spell, int32_t* out, int room);
// Between these two the caster alone moves (placed on square after square)
// and nothing else on the battlefield changes: the listers gather where the
// other combatants stand once, and the occupancy grid follows the caster
// alone (FollowOnlyCreature). A series begun inside another gathers nothing.
void BeginShapeSeries(int caster);
void EndShapeSeries();

// The area target list belongs to the combat rules, which implement these
// four for the shapes (combat/resolution/area_targets.cpp).
// Frees every entry of the list and clears every creature's mark.
void ClearAreaTargets();
// Appends the creature once (first free entry), marks it 2 and restarts the
// highlight timer; false when it is listed already or the list is full.
bool ListAreaTarget(int creature);
// Lists the creature on (x, y) when it suits the spell; true when it was added.
// In combat it brings the occupancy grid up to date first, so that it sees
// creatures placed or moved since any shape was drawn.
bool AddAreaTarget(int x, int y, int caster, int spell);
// Whether AddAreaTarget would list the creature for the caster's spell (its
// side restrictions), leaving the list alone.
bool SuitsAreaTarget(int creature, int caster, int spell);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAreaShapesState();
