// Creatures on the square grid: distances in feet, facing towards a square or
// a creature (with the side code of the action's sprite frames), whether a
// figure is on screen or seen, and the per-frame arrival tests of walking
// figures and missiles.
#pragma once
#include <cstdint>

constexpr int kSquarePixels = 24;
constexpr int kFeetPerSquare = 5;

// Facing codes, clockwise from up (y - 1).
enum Facing : int32_t {
  kFaceUp = 1,
  kFaceUpRight = 2,
  kFaceRight = 3,
  kFaceDownRight = 4,
  kFaceDown = 5,
  kFaceDownLeft = 6,
  kFaceLeft = 7,
  kFaceUpLeft = 8,
};

// 5 feet per step along the longer axis and 2 more per diagonal step.
inline int DistanceFeet(int x1, int y1, int x2, int y2) {
  const int dx = x1 > x2 ? x1 - x2 : x2 - x1, dy = y1 > y2 ? y1 - y2 : y2 - y1;
  const int major = dx > dy ? dx : dy, minor = dx > dy ? dy : dx;
  return kFeetPerSquare * major + 2 * minor;
}
// Between the nearest squares of the two footprints.
int CreatureDistanceFeet(int a, int b);
// From (x, y) to the creature's footprint square nearest to it.
int DistanceToCreatureFeet(int creature, int x, int y);
int SquaredDistance(int x1, int y1, int x2, int y2);
// The squared gap in squares between the slot's footprint and the selected fighter's.
int FootprintDistance(int slot);

// The side code of a facing: 76 + ((3 - facing) mod 8).
int32_t SideCodeOfFacing(int32_t facing);
// Turn towards the square / the creature; 1 when a facing was set, 0 when
// the target is the turner's own nearest square (facing left as it was).
int FaceTowardsSquare(int creature, int x, int y);
int FaceTowardsCreature(int creature, int target);

// Whether the slot's creature's pixel box meets the map view (and it is present).
bool IsFighterOnScreen(int slot);
// 0 not seen, 1 seen, 2 seen on a square whose fog code is above 1.
int FootprintOnMarkedSquare(int creature);
// Whether the missile reached or passed its target square; else aims it at the square's centre.
bool MissileReachedSquare();
// The same against the creature's figure box.
bool MissileReachedCreature(int creature);
// One frame of a missile's flight: one step more along its line, the position
// being the starting point plus steps x velocity (truncated).
void AdvanceMissileFlight();
// Whether the acting creature's figure is more than 8 pixels past its square in its facing.
bool IsPastSquareInFacing();
// The same for any creature (the attacker of a lunge may be a reacting enemy).
bool IsPastSquareInFacing(int creature);
// 1 when the slot's creature arrived at the next square of its move (its
// pixel position snapped onto it), else 0.
int SnapToTargetSquare(int slot);
