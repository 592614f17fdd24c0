// Path finding: one A* search over the 60 x 60 squares for movers of any
// footprint on the current map (FindCreaturePath) and its plain twin for the
// world map (FindPathGrid). Both share one set of work arrays, so one search
// runs at a time; no search allocates.
#pragma once
#include <cstdint>

#include "map/map_record.h"

// The work arrays. Per square, stride 61 (x * 61 + y): G cost, parent and
// list stamp; a square is closed when its stamp equals PathOnClosed and open
// when it equals PathOnClosed - 1.
constexpr int kPathStride = 61;
constexpr int kPathWorkSquares = kMapSide * kPathStride;  // 3,660
constexpr int32_t kPathStampLimit = 1000000;
extern int32_t PathOnClosed;  // starts at 10; each search adds 2
extern int32_t (&PathStamp)[kPathWorkSquares];

// The last path found, first step to goal, and its step count.
extern int32_t PathOutX[kMapSquares];
extern int32_t PathOutY[kMapSquares];
extern int32_t PathLength;

// The cost in feet of the combat path on display, and 1 while it is shown.
extern int32_t PathCostFeet;
extern uint8_t PathShown;

// 0: the searches read who stands where from the occupancy grid and take the
// mover's own values once per search. 1: they walk the turn order for every
// square and re-derive the mover's values at every step, as they once did;
// the tests set it to show that both ways find the same paths.
extern uint8_t PathLookupByScan;

// The world-map search's start and goal, set by the map mouse handler.
extern int32_t WorldPathStartX, WorldPathStartY, WorldPathGoalX, WorldPathGoalY;

// The optional tally buffer: per square x * 60 + y, seven words: [0] attacks
// of opportunity provoked up to here, [1] provoked on this square, [2] fire
// squares passed, [3] of which brazier fire, [4] web squares passed, [5]
// solid-effect squares passed, [6] movement cost up to here.
constexpr int kTallyWords = 7;
using PathTallyRecord = uint32_t[kTallyWords];

// Result codes of the searches.
constexpr int kPathFound = 1;
constexpr int kPathNone = 2;

// costFlag 1: in combat every step pays CombatStepExtraCost; moveCostOption
// goes to CalculateMoveCost (both forced to 0 out of combat). noActChecks 1:
// no can-act, five-foot or occupancy tests and every mover counts as one
// square. crossCreatures 1: creatures are ignored and only walls block.
// outRecord (seven words, may be null): [0] is raised by the attacks of
// opportunity provoked, [2] to [6] are cleared. tally (3,600 records, may be null).
int FindCreaturePath(int creature, int fromX, int fromY, int toX, int toY, uint8_t costFlag,
                     uint32_t moveCostOption, uint8_t noActChecks, uint8_t crossCreatures,
                     uint32_t* outRecord, PathTallyRecord* tally);
// The walk alone of the combat search FindCreaturePath (creature, fromX,
// fromY, toX, toY, 1, 1, 0, 0, ...) would find, not seeking: the open list
// runs as that search's would and the path goes to PathOutX, PathOutY and
// PathLength, but nothing else is written (no fighter's path list, arrows,
// costs, tallies or destination). False when that search would find no path
// (then what it leaves is not left).
bool FindCombatWalk(int creature, int fromX, int fromY, int toX, int toY);
// Leaves behind what FindCreaturePath leaves for the same walk asked with
// costFlag and moveCostOption 1, the act checks made, no creature crossed and
// no record or tally, when its open list finds the walk given (first step to
// goal, as FindCombatWalk found it over the same battle), without running
// the open list again; returns what that search returns.
int FinishCombatWalk(int creature, int fromX, int fromY, int toX, int toY, const int32_t* walkX,
                     const int32_t* walkY, int length);
// A series of searches over a battle that does not change between them (the
// reachability pass of a valuation grid: one mover, one start, many goals):
// while one is open, what each search works out about a square (whether the
// mover fits there, what stepping onto it costs) serves the next search of
// the same mover, start and rules. Nothing may change on the map between the
// searches of a series; a combatant placed, moved, added or removed makes the
// series forget what it kept (each search brings the combatant grid up to
// date first). Series nest.
void BeginSearchSeries();
void EndSearchSeries();
// The rules shared by a series' searches from (fromX, fromY) to goals in the
// start's own room, alike for every such goal but on the goal itself: a mover
// in combat, not seeking, not disabled, not starting in a doorway (false
// otherwise, and nothing is set up). RoomStepExtraCost then gives what the
// search adds for stepping onto a square on the way, -1 where the mover may
// not stand; RoomGoalFits whether the square may be a goal (the same cost
// then); EndRoomRules puts the search state back as it was. BeginRoomRules
// and RoomStepExtraCosts bring the combatant grid up to date; the square by
// square questions answer from it as they left it, for the work that opened
// the rules and moves no combatant until it ends them.
bool BeginRoomRules(int creature, int fromX, int fromY);
int RoomStepExtraCost(int x, int y);
// RoomStepExtraCost of every square of the map at once, by SquareIndex.
void RoomStepExtraCosts(int16_t* extra);
bool RoomGoalFits(int x, int y);
void EndRoomRules();
// Whether a walk of the creature (counted as one square, with no act checks
// and no creature crossing) from one square to another, on the path the
// search finds, costs at most maxFeet as a combat path would count them (5
// feet a straight step, 7 a diagonal one), within 200 steps. A question
// only: no path, cost, arrow or creature field is written, and the
// combatants are not looked at.
bool SpreadWalkWithin(int creature, int fromX, int fromY, int toX, int toY, int maxFeet);
// World-map travel of the party leader between the WorldPath globals.
int FindPathGrid();

bool AbandonPath(int creature);
// The fit test of one square for the search under way.
bool CanPlaceFootprint(int x, int y, int creature, int multi, int linked, int width, int height, int goalX,
                       int goalY, int crossCreatures);
void BuildThreatGrid(int mover, int ignoreAdjacent);
int MarkApproachSquares(int mover, int target);
int CombatStepExtraCost(int creature, int x, int y, int crossCreatures);
// The magic areas under a footprint of width x height placed at (x, y), as
// IsInMagicArea and IsOnBrazierFire read them: one bit each for fire, brazier
// fire, web and blocking areas.
constexpr uint8_t kAreaBitFire = 1, kAreaBitBrazier = 2, kAreaBitWeb = 4, kAreaBitSolid = 8;
uint8_t AreasUnderFootprint(int x, int y, int width, int height);
// Counts fire, brazier fire, web and solid effects under the search's mover
// placed at (x, y) into the running tallies and copies them to the square's record.
void TallyPathSquare(PathTallyRecord* buffer, int x, int y);

// The turn-order creature other than the two that covers (x, y), -1 none, as
// the searches find it (by the occupancy grid, or by the scan of the turn
// order while PathLookupByScan is set).
int OtherCombatantForSearches(int x, int y, int except1, int except2);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPathFindingState();
