// One flood from a fighter's square that answers, for most squares of its
// room, what a combat path search to that square would record, without
// running the search.
//
// The path search walks a cheapest walk (least search cost: 10 a straight
// step, 14 a diagonal one, plus what stepping onto a square costs); which of
// several equally cheap walks it takes is its own affair. The flood finds the
// cheapest cost of every square at once and, over all the cheapest walks to a
// square, the least and the most of each thing a walk record holds: the
// enemies whose attacks leaving squares provokes (each counted once a walk;
// while they are few, every distinct set of them, since a record holds only
// how many attacks were provoked), fire, brazier fire, web and blocking areas
// entered, the feet walked and the steps taken. A square is settled when
// every cheapest walk to it gives one record (walks past different enemies,
// as many on each, record alike), no longer than a fighter's path lists, and
// no cheapest walk to it crosses a wanted square that is not settled or lies
// outside the start's room: any search to a settled square, or crossing a
// wanted settled square on the way to another settled square, records
// exactly the flood's record.
#pragma once
#include <cstdint>

#include "map/path_finding.h"

// 1: the reachability pass takes the records of settled squares from the
// flood; 0: it runs a search for every square as before (tests compare).
extern uint8_t ReachByFlood;

// Floods from the creature's square under the rules its searches to goals in
// its own room follow (see BeginRoomRules). wanted holds the squares' worth:
// a square of 1 or more outside the room settles nothing beyond it. False
// when the flood cannot stand for those searches; then no square is settled.
bool FloodReach(int creature, int fromX, int fromY, const int32_t* wanted);
// Whether a search from the flood's start to (x, y) would find a path whose
// record is the flood's: the square lies in the start's room on the map, and
// is settled.
bool FloodSettles(int x, int y);
// Writes the flood's record of a settled square into rec: [0] attacks
// provoked, [2] to [5] fire, brazier fire, web and blocking areas entered,
// [6] feet; [1] (attacks provoked on the square itself) is left alone.
void FloodRecord(int x, int y, uint32_t* rec);
// Whether the records the last search found wrote along its path agree with
// the flood's on every settled square of it (a search to a goal outside the
// room follows other rules and may walk there another way).
bool FloodAgreesAlongPath(const PathTallyRecord* buffer);
// For a wanted square of the start's room that is not settled: when the flood
// can tell which of the cheapest walks there a search from its start would
// take, writes what that search writes (the walk's tallies on each square of
// it into buffer, as the search's tally; into out what it adds to its
// record) and returns true; false when it cannot tell (the search must run).
bool FloodWalk(int x, int y, PathTallyRecord* buffer, uint32_t* out);
// Whether a search from the flood's start to (x, y) follows the flood's
// rules all the way and finds a path: a wanted square of the start's room
// that the flood reached and the mover may stand on.
bool FloodReaches(int x, int y);
// The records a search from the flood's start to a wanted square of its room
// writes along the walk it found (PathOutX, PathOutY, PathLength; see
// FindCombatWalk), told from the walk: into buffer (may be null), as the
// search's tally, and into out what it adds to its record. False when the
// path is not such a walk.
bool FloodTallyWalk(PathTallyRecord* buffer, uint32_t* out);
// Whether a search from the flood's start to a wanted square of its room
// finds no path (the mover cannot get there); goalFits then tells whether
// the search would find the mover fits on the square (when it does not, the
// search abandons the fighter's path before it looks).
bool FloodFindsNoWalk(int x, int y, bool* goalFits);
// Forgets the flood (no square settled) until the next FloodReach.
void ForgetFlood();

// For a one-square creature: floods from its square every square of its room
// it can reach under the rules of its searches there (see BeginRoomRules),
// and works out the least feet (as a combat path counts them) among the
// cheapest walks to each. False when it cannot (then nothing is known). The
// flood of FloodReach is forgotten.
bool FloodLeastFeet(int creature, int fromX, int fromY);
// The least feet of the cheapest walks to (x, y) since FloodLeastFeet, -1
// where no walk gets: no search by the same rules to (x, y), or stopping
// there on its way to a goal, finds a walk of fewer feet.
int32_t FloodLeastFeetTo(int x, int y);
