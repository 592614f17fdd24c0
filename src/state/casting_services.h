// Services of the game screen that the casting steps and the spell
// bookkeeping call: settling the turn's budget after a cast, bringing the
// view to a creature or a square and setting up a missile's flight.
// Implemented by the game screen (screens/game).
#pragma once
#include <cstdint>

#include "state/camera.h"  // StrictScrollTo

// In combat the full-round and single actions are spent by an action
// (SettleMoveAfterAction), by an action that takes a move
// (SettleMoveAfterActionAlt, the full-round action only) or by a whole round
// (ClearActionTarget). True.
bool SettleMoveAfterAction();
bool SettleMoveAfterActionAlt();
bool ClearActionTarget();

// Centre the view on the creature (-1: on the square (x, y)), as StrictScrollTo.
bool ScrollToCreatureAt(int creature, int x, int y);

// Sets up the flight of the missile or ray of a cast from the caster toward
// the target square.
void MissileFrame(int caster, int targetX, int targetY);
