// Where a computer-controlled caster or a fighter keeping its distance
// stands (the good-square grid), and where a healer stands to help its
// wounded and afflicted friends (the cure grid). Both fill the valuation grid.
#pragma once
#include <cstdint>

// Stances of the good-square grid: 1 seeks melee contact, 2 keeps off,
// 3 and 4 keep well off (3 is also the alarm's).
enum GoodSquareStance : int32_t {
  kStanceOwn = -1,  // the decision's stance word, else the creature's behaviour code, else 2
  kStanceMelee = 1,
  kStanceKeepOff = 2,
  kStanceKeepWellOff = 3,
  kStanceKeepFarOff = 4,
};

// Scores the squares from which many creatures lie within reach of the
// creature's stance (enemies more than friends), at the distance the stance
// asks, inside the target zone (the squares within radiusSquared of target,
// -1 / below 1 none), and, for a caster able to dispel, near a blocking area
// or a passing fire. stepOnly 1 favours the five-foot step; spell -1 none.
// Returns 1.
int BuildGoodSquareGrid(int creature, uint8_t stepOnly, int32_t stance, int target, int32_t radiusSquared,
                        int spell);
// Scores the squares from which the healer touches the friends its known
// spells can help, with mass healing and paralysis removal in reach, and
// keeps off its enemies. Returns 1.
int BuildCureValuationGrid(int creature, uint8_t stepOnly);
