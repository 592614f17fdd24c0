// Where a computer fighter stands to fight in melee, and which adjacent enemy
// it strikes.
#pragma once
#include <cstdint>

// Scores every square by the enemies the fighter would stand beside there.
// target: one enemy to reach and strike (-1 any); stackMode: the whirlwind
// search (each further enemy touched adds 14); bullRushMode: the bull-rush
// search; dropUnreachable goes to the reachability pass. Returns 1.
int BuildMeleeValuationGrid(int creature, int target, uint8_t stackMode, uint8_t bullRushMode,
                            uint8_t dropUnreachable);
// The adjacent enemy to attack (-1 none adjacent); grappleMode weighs a grapple.
int ChooseMeleeTarget(int creature, uint8_t grappleMode);

// 1: while a melee grid is scored, the chance of a blow at a target is
// evaluated once for every square that reads the same to the evaluation. 0:
// every square's blows are evaluated in full (the tests compare both ways).
extern uint8_t BlowsRemembered;

// 1: while a melee grid is scored, the fighter's attack profile is built again
// only when its record has changed. 0: built for every square (the tests
// compare both ways).
extern uint8_t ProfilesKept;
