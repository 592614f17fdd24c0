// The decision of a computer-controlled fighter (combat state 2): an ordered
// list of tactics, each of which either commits (an action, a move, a spell
// hand-off, a readied action or the end of the turn) or falls through.
#pragma once
#include <cstdint>

#include "combat/turns/tactics.h"
#include "rules/adjacency.h"  // GridSquare
#include "state/current_cast.h"

// DisruptionTarget, the focus creature, is kept with the current cast
// (state/current_cast.h).
// CpuMoveIssued, HazardKindToLeave and the leave flag are shared with the
// tactics (combat/turns/tactics.h).
// Set when a fighter found nothing to do with its spells: the next decision
// of the same turn goes on without them.
extern uint8_t SpellsGivenUpThisTurn;
// The square of the last best-square search of the decision.
extern GridSquare ChosenSquare;
// The decision's survey searches only the paths that may be the shortest
// (true, the game's way) or every path (false); both find the same nearest
// creature and foe. A switch for tests.
extern bool SurveyByBoundedPaths;
// 1 while a long search shows the "thinking" frame.
extern uint8_t AiThinkingDisplay;

// The flags the decision works out once at its start and its tactics read.
struct DecisionFlags {
  bool canMove = false;
  bool hasRangedAttack = false;
  int topSpellLevel = 1;
  bool freeHand = true;
  bool adjacentEnemy = false;
  bool adjacentCombatant = false;
  bool grappling = false;
  bool specialMeans = false;  // spells, turn undead, a breath weapon, a wand or a spell-like ability
  bool ownSpells = false;     // the check of the fighter's own spells passed
  uint32_t deeds = 0;         // what its conditions leave it free to do (rules/free_deeds.h)
};
extern DecisionFlags Decision;

// Decides the acting fighter's action for this frame.
void DecideComputerAction();

// The survey at the start of the decision: the nearest creature and the
// nearest foe by path, the strongest ally, the weakest enemy and the enemy
// of the lowest armour class, as the fighter sees them (decision_words.h).
void SurveyBattle(int fighter);

// The least walks from the fighter's square, worked out by FloodLeastWalkFrom:
// LeastWalkIntoBox is the least a walk to any square of the box (corners
// included, clipped to the map) can cost in feet, round walls and ignoring
// creatures and corners, a bound no path search of the fighter goes below; a
// large number where no walk gets.
void FloodLeastWalkFrom(int fighter);
// The same over the squares a charge line of the fighter may pass and stop
// on (open floor no other combatant stands on, under its whole footprint),
// worked out up to the moves left: where LeastWalkIntoBox exceeds the moves
// left, no charge line gets there.
void FloodChargeWalkFrom(int fighter);
int32_t LeastWalkIntoBox(int x0, int y0, int x1, int y1);

// The steps of the decision the tactics hand back to.
// The plan dispatch (planned code 0, 5, 2 or 1 of the fighter's entry).
void DispatchPlan();
// The approach chain: escape, charge, bull rush, the melee approach, the walk
// toward the nearest foe, then the wait tactics.
void RunApproachChain();
// The switch to spells, delaying the turn, readying against an approach; true
// when one of them acted.
bool RunWaitTactics();

// The fighter's hand is free for somatic casting (see the decision's flags).
bool HasFreeHand(int creature);
// The ranged weapon slot holds a crafted weapon with ammunition.
bool HasRangedAttack(int creature);

// 1 when a computer-controlled caster about to step onto (x, y), which holds
// fire that would burn it, stops instead (to dispel the fire or shield itself,
// or, its standard action spent, to end its turn); 0 when it walks on
// (combat/turns/magic_fire.cpp).
int CheckMagicFireCasting(int creature, int x, int y);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetComputerDecisionState();
