// The computer fighters' choice among listed targets (ranged, readied,
// random caster, charge), and the way out of a magic area.
#pragma once
#include <cstdint>

// Charge squares: entry i is the square candidate i would strike from.
struct ChargeSquare {
  int32_t x, y;
};
extern ChargeSquare ChargeSquares[300];

// 1 when a square under the creature's footprint (inside the map, not
// blocked) holds a magic area of any kind.
int IsInAnyMagicArea(int creature);
// The nearest clear square to leave the magic area by (x low, y high 32
// bits), -1 when none within six squares.
int64_t FindMagicAreaExit(int creature);

// From TargetCandidateList: the target of a ranged attack, -1 none.
int ChooseRangedTarget(int creature);
// Fills the candidates with ListRangedTargets and chooses among them.
int ChooseBestRangedTarget(int creature);
// The caster to ready an action against, -1 none.
int ChooseReadiedTarget();
// A random candidate, among the arcane casters when there are any.
int ChooseRandomCasterTarget();

// Lists the enemies a charge reaches, each with its charge square; the count.
// With ChargeByBoundedLines (the game's way) the lines to an enemy farther
// than the acting fighter's moves left allow are not traced; false traces
// every one. Both list the same. A switch for tests.
extern bool ChargeByBoundedLines;
int ListChargeableEnemies(int creature);
// The index of the candidate to charge, -1 none.
int ChooseChargeTarget(int creature);
