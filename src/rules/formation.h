// Formation and patrol movement: followers keep their offset behind a leader,
// turned with the leader's facing; the party follows its leading character
// the same way; patrols walk a loop of up to five waypoints. These routines
// choose destination squares and ask the path finder for paths; the walking
// is done by the movement code.
#pragma once

// The creature-record words of a formation: a follower keeps the turned
// offset last used in the first two formation words and its hold flag in the third.
constexpr int kTurnedOffsetXWord = 0;
constexpr int kTurnedOffsetYWord = 1;
constexpr int kHoldFlagWord = 2;

// v / 3 rounded to the nearest integer (remainder 2 or -2 rounds away from zero).
int FormationThird(int v);
// Turns an offset (as seen with the leader facing up) by the leader's facing 1 to 8.
void TurnFormationOffset(int dx, int dy, int facing, int* outX, int* outY);

int MoveFollowersInFormation();
int MovePartyInFormation();
int AdvancePatrolWaypoint(int slot);
bool FinishPartyMoves();
