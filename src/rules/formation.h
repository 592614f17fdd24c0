// Formation and patrol movement: followers keep their offset behind a leader,
// turned with the leader's facing; the party follows its leading character
// the same way; patrols walk a loop of up to five waypoints. These routines
// choose destination squares and ask the path finder for paths; the walking
// is done by the movement code.
#pragma once
#include "rules/record_words.h"

// v / 3 rounded to the nearest integer (remainder 2 or -2 rounds away from zero).
int FormationThird(int v);
// Turns an offset (as seen with the leader facing up) by the leader's facing 1 to 8.
void TurnFormationOffset(int dx, int dy, int facing, int* outX, int* outY);

// The party's line: no member follows a leader of its own; member 0 leads
// with members 1, 2 and 3 linked in its formation words and the others one
// square behind it (offsets (-1, 1), (0, 1), (1, 1)).
void SetPartyLine();

// Out of combat a creature other than the party's leader never ends a walk
// on a square another creature of the map holds (stands on or is stepping
// onto; for a party member, a fallen member lies on): true when every square of its path from fromIndex to the end is
// held, so that walking on would leave it sharing one. For a party member a
// square another is stepping off is not held: it walks on behind. The
// leader's walks and fighters in combat are never held back here.
bool WalkEndsAmongOthers(int creature, int fromIndex);
// Ends the creature's walk on the square it stands on.
void StopOnOwnSquare(int creature);

int MoveFollowersInFormation();
// Each member without a path heads for its place in the formation, or for
// the leader's square when its place cannot be reached; it stops short of a
// square another holds, and one left standing on such a square walks off to
// the nearest free square.
int MovePartyInFormation();
int AdvancePatrolWaypoint(int slot);
// Every member on its place of the formation, standing still and facing as
// the leading character does. A member whose place is walled off, off the
// map or held would be left on another's square, hidden under a figure: it
// stands on the nearest free square instead. A fallen member lying in view
// holds its square the same way: a leader standing on it steps off first,
// the others settle round it, and it keeps that square as its own.
bool FinishPartyMoves();

// Whether a fallen party member lies on a square of the footprint of width
// by depth at (x, y): one off the map and down (dead, turned to stone,
// unconscious or without hit points) whose place is laid (FallenPlaces).
bool FallenMemberLiesIn(int x, int y, int width, int depth);

// Implemented by the combat actions (displacement): when another present
// creature or a wall shares one of the creature's squares, or with
// `bodiesHold` a fallen member lies on one, moves it to the first fitting
// square (free of them all) of the nearest ring around the first such
// square. True (it stays when no place is found).
bool RelocateIfBlocked(int creature, bool bodiesHold = false);
