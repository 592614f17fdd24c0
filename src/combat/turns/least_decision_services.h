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

// Issuing the action.
// Sends the creature walking along the path to (x, y) (or a five-foot step
// there when the step may be taken and noStep is 0): combat state 3, action
// code 1 or 5, the path laid in its fighter slot. Returns 1.
int SendCpuMoving(int creature, int x, int y, int noStep);
// The acting fighter tries to break free (action code 14, combat state 1)
// while its full-round action (on a single-move turn its standard action)
// is left: 1; otherwise its turn ends (combat state 4): 0.
int IssueEscape();
// The ranged slot holds a crossbow that is not loaded while bolts are left.
bool NeedsCrossbowReload(int creature);
// Reloads the crossbow when it needs it and the turn allows (action code 20,
// combat state 1), or ends the turn when it needs it and the turn does not;
// 1 when it acted either way, 0 when no reload was needed.
int ReloadCrossbowIfNeeded(int creature);
// The undead of the turn order a turning by the creature would affect.
int CountTurnableUndead(int creature);
// For SpellCaster: the most undead one turning direction affects.
int BestTurnUndeadCount();
// For SpellCaster: 1 when some direction of its breath weapon hits an enemy
// and no ally it may not hit (the area target list holds the last one tried).
int CanBreatheUsefully();

// Tactical predicates and counters.
int CountAllies(int creature);
int CountAlliesHoldingReady(int creature);
bool HasAllyNotHelpless(int creature);
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
// Shows a frame in the middle of a long search (nothing without a screen). 1.
int PresentFrameNow();

// Square and spell-level tests.
bool IsBurnedAt(int creature, int x, int y);
bool HasSpellSlotLeftAtAnyLevel(int creature);
bool CanStillCastSpells(int creature);

// Spell target candidates: the creatures within reach class 1 (touching) to
// 4 of the creature, in TargetCandidateList; true when any.
bool ListCombatantsInReach(int creature, int reachClass);
bool HasPolymorphValue42(int creature);
