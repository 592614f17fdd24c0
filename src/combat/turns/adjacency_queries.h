// Who stands next to whom, who threatens a square, whom a fighter may bull
// rush, and the target lists of the computer fighters: the queries the
// decisions ask over the combatants of the turn order, answered into the
// adjacency grid, the adjacent-creature list and the candidate list.
#pragma once
#include <cstdint>

#include "map/line_of_effect.h"
#include "rules/adjacency.h"
#include "state/turn_order.h"

constexpr int kAdjacentListSize = 29;
constexpr int kCandidateListSize = 300;

// Filled by the listing queries below; ends at the first -1 (a full list has none).
extern int32_t AdjacentCreatureList[kAdjacentListSize];
// Filled by the target lists (and the charge list); -1 where free.
extern int32_t TargetCandidateList[kCandidateListSize];
// Pairs of (creature, ring key) of ListAdjacentEnemiesClockwise, by key.
struct ClockwisePair {
  int32_t creature, key;
};
extern ClockwisePair ClockwisePairs[kCandidateListSize];
extern int32_t ClockwisePairCount;

// The entries of a list before its first -1.
int CountListed(const int32_t* list, int size);

// Clears the adjacency grid and writes the ring codes around the creature,
// then 9 on every square still 0 beside a ring square and on the creature's
// own footprint.
void MarkAdjacentAndSecondRing(int creature);
// Recodes the marked ring into clockwise keys (corner 1 -> 10, top row 20 + k,
// corner 2 -> 30, right column 40 + k, corner 4 -> 50, bottom row 60 + k,
// corner 3 -> 70, left column 80 + k).
void NumberAdjacentRing();

// The listing queries: each resets AdjacentCreatureList and lists each
// creature once, in turn order.
bool ListAdjacentEnemies(int creature, uint8_t includeConfused);
int ListAdjacentEnemiesUnfiltered(int creature, uint8_t filter);
bool ListAdjacentAllies(int creature);
int ListAdjacentCombatants(int creature);
bool ListAdjacentEnemiesClockwise(int creature);

bool HasAdjacentCombatant(int creature);
bool HasAdjacentSleepingAlly(int creature);
// A creature of AdjacentCreatureList is Paralyzed or Sleeping and not immune (code 44).
bool AnyAdjacentHelpless();
bool CanBullRushTarget(int attacker, int target);
int FindBullRushTarget(int creature);
// Turn-order entries planning an attack (codes 1, 2, 5, 12-16, 19, 20) on the creature.
int CountPlannedAttacksOn(int creature);
int FindTurnOrderIndex(int creature);

// The mover's footprint placed at (x, y): whether an unmarked enemy threatens
// it (reset 1 first copies every entry's second mark into the first), and the
// first enemy threatening it by the second mark (-1 none).
bool ProvokesAttackOfOpportunity(int mover, int x, int y, uint8_t reset);
int FindThreateningEnemy(int mover, int x, int y);

// The target lists; true when any was listed.
bool ListEnemyCastersInReach(int creature, uint8_t useWeaponRange, int spell);
bool ListCounterspellTargets(int creature);
bool ListRangedTargets(int creature, uint8_t includeAllies);
// ListRangedTargets as a question, asked from square after square of a
// fighter placed there while nothing else moves: the survey, prepared once
// (it empties the candidate list), holds the fighter's range, the combatants
// it may list and the lines' squares (CoverLineSurvey); each weighing fills
// the candidate list as ListRangedTargets would from where the fighter
// stands, and for the i-th listed target whether a combatant on the line
// gives it cover (cover[i]), but no line is marked and the cover words are
// left as they were. Returns the number of lines walked (none when FindCover
// would have had none).
//
// SurveyRangedTargetsOverGrid answers the weighings of a whole grid at once:
// target by target, over every square the fighter may be weighed on, with
// the lines to a one-square target surveyed together (SurveyLinesTo). The
// answers stand while the combatants stand as they stood then: whoever may
// have changed a record (an attack evaluated meanwhile) asks
// RecheckRangedTargetSurvey, and from the first change on every weighing is
// worked out afresh, line by line.
constexpr int kSurveyedTargets = 64;
struct RangedTargetSurvey {
  int32_t creature = -1;
  int32_t range = 0;
  int count = 0;    // combatants to weigh
  int listed = 0;   // entries of the candidate list written by the last weighing
  int32_t candidates[kCandidateListSize];
  CoverLineSurvey lines;
  // Per square: the lines walked, and bit i for the i-th combatant to weigh
  // when it is listed and when it is covered; answered[square] when these
  // answer the weighing there.
  bool overGrid = false;
  uint8_t answered[kMapSquares];
  uint8_t walked[kMapSquares];
  uint64_t listedBits[kMapSquares], coverBits[kMapSquares];
  // Where the combatants stood, and how the fighter was shaped, when the
  // survey was prepared.
  struct Footing {
    int32_t creature, x, y, w, h;
  };
  Footing footings[kTurnOrderEntries + 1];
  int footingCount = 0;
  int32_t precise = 0;
};
void PrepareRangedTargetSurvey(RangedTargetSurvey* survey, int creature, uint8_t includeAllies);
int WeighRangedTargets(RangedTargetSurvey* survey, uint8_t cover[kCandidateListSize]);
// The squares to answer are those where grid[square] >= least.
void SurveyRangedTargetsOverGrid(RangedTargetSurvey* survey, const int32_t* grid, int32_t least);
void RecheckRangedTargetSurvey(RangedTargetSurvey* survey);

// The creature cannot act against a spell (Sleeping, Paralyzed, Dancing,
// Cursed, Stunned, Nauseated; with wide also Pinned or Cowering; or in the
// polymorphed form 42).
bool IsHelplessTarget(int creature, uint8_t wide);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAdjacencyQueriesState();
