// The small routines of the turn cycle: the five-foot step of the acting
// fighter, the release of a grapple between friends, the attack counts of a
// turn, the brazier fires of a map and the ready-action mode, and the
// fighter tests of a turn that the computer's decision asks.
#pragma once

// In combat: the creature is the acting fighter and both its five-foot step
// words (left this turn, allowed this turn) are 1.
bool MayTakeFiveFootStep(int creature);
// A creature Grappling a partner that is not its enemy, neither of the two
// Confused or Insane: Pinned and Grappling are removed from both. True when released.
bool ReleaseFriendlyGrapple(int creature);
// The acting fighter's melee attacks and shots allowed this turn, from its
// attack profile (a grappling fighter: its grappling attacks). Returns 1.
int CountGrapplingAttacks();
// Clears every magic area of the map and puts a lasting fire on each brazier
// square (floor codes 2015 and 2016).
void PlaceBrazierFires();

// A size class of at most 3 on a floor of difficult terrain (codes 123, 124).
bool IsOnDifficultTerrain(int creature);
// No movement spent yet (all moves and the full-round action, or on a
// single-move turn its moves and the standard action), movement not closed,
// not Blinded, Can't_see, Fatigued, Exhausted or Entangled, not a kind-50
// creature Deafened or Silenced, not on difficult terrain.
bool CanCharge(int creature);

// Draws and presents one frame of the game screen in the middle of a long
// computation (nothing without a display device). Returns 1.
int PresentFrameNow();
// Draws and presents one frame of the menu backdrop at once, outside the
// frame loop, and notes that the frame is presented so that the frame does
// not present again (implemented by the game screen, above this layer).
// Returns 1.
int PresentBackdropFrameNow();
// The game screen drawn once for PresentFrameNow (implemented by the game
// screen, above this layer).
void DrawGameScreenNow();
