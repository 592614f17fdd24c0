// The turn's own services that a computer fighter's tactics call: issuing a
// move, an escape or a reload, the turning and breath counts, the tactical
// predicates and the ability tests; with the one question they ask of the
// game screen.
#pragma once
#include <cstdint>

#include "combat/turns/computer_orders.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"

// A service of the game screen (implemented there): whether one of the
// eight squares round the creature can be entered.
bool HasReachableSquare(int creature);
