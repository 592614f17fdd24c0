// Least versions of the services of a computer fighter's turn that its
// tactics call: issuing a move, an escape or a reload, the turning and breath
// counts, the tactical predicates and counters, the ability tests, the square
// and spell-level tests and the reach list of the spell targets. They stand
// until the computer fighter's turn work (planning, predicates, ability
// tests, issuing the action, the decision) and the spell target choice
// replace them; each follows the rules of its owner as far as the tactics
// need them.
#pragma once
#include <cstdint>

#include "combat/turns/least_services.h"

// Issuing the action (SendCpuMoving, IssueEscape and ReloadCrossbowIfNeeded
// are declared with the other least services in least_services.h; the move
// and the reload are defined here).
// The ranged slot holds a crossbow that is not loaded while bolts are left.
bool NeedsCrossbowReload(int creature);
// The undead of the turn order a turning by the creature would affect.
int CountTurnableUndead(int creature);
// For SpellCaster: the most undead one turning direction affects.
int BestTurnUndeadCount();
// For SpellCaster: 1 when some direction of its breath weapon hits an enemy
// and no ally it may not hit (the area target list holds the last one tried).
int CanBreatheUsefully();

// Tactical predicates and counters.
// An enemy that has lost hit points and has at most a fifth of them left.
bool AnyBadlyWoundedEnemy(int creature);
// The 1-in-4 (with allies; 1-in-2 without) draw that refuses a dispel.
bool ChooseToDispel(int creature);
// The acting fighter may step to a neighbour square free of magic areas.
bool CanStepOutOfMagicArea(int creature);
// With the five-foot step left: the good-square grid for the spell (flag 1:
// also the way out of a magic area) and a step to the best neighbour; true
// when the step was sent.
bool StepToBestCastingSquare(int spell, int target, int creature, int flag);
// The path from the acting fighter to NearestFoe is held up by a blocking
// area / by fire (flag 1: only while no one is threatened).
bool NearestFoeReachable();
bool PathToNearestFoeOpen(int flag);

// Ability tests and turn routines.
bool CanCharge(int creature);
bool IsOnDifficultTerrain(int creature);

// Whether the creature's footprint would stand clear of walls on every
// square round it.
bool IsAreaFreeOfWalls(int creature);
// A magic protection a dispel would strip, and the number of groups of
// dispellable effects the creature carries.
bool HasProtectiveEffect(int creature);
int CountDispellableEffects(int creature);

// A service of the game screen (implemented there): whether one of the
// eight squares round the creature can be entered.
bool HasReachableSquare(int creature);
