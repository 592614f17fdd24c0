// Least version of a question of a computer fighter's turn that its tactics
// ask (whether the squares round a creature are free of walls), standing
// until its own work replaces it; with it the turn's own services the tactics
// call: issuing a move, an escape or a reload, the turning and breath counts,
// the tactical predicates and the ability tests.
#pragma once
#include <cstdint>

// The turn's own services that the tactics call.
#include "combat/turns/computer_orders.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"

// Whether the creature's footprint would stand clear of walls on every
// square round it.
bool IsAreaFreeOfWalls(int creature);

// A service of the game screen (implemented there): whether one of the
// eight squares round the creature can be entered.
bool HasReachableSquare(int creature);
