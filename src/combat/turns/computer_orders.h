// A computer fighter's choice turned into the action block and the combat
// state: moving along a path or taking a five-foot step, escaping, reloading
// a crossbow, delaying the turn, readying an attack against an approach; and
// the scores that tell whether turning undead or breathing is worth it.
#pragma once

// The fighter walks toward (x, y) along the path laid to it (or, unless
// noStep is 1, takes a five-foot step when the goal is next to it or the
// path costs more than its moves left). Returns 1.
int SendCpuMoving(int creature, int x, int y, int noStep);
// The acting fighter tries to break free (action code 14 in state 1); 0 and
// the end of the turn when the actions needed are spent.
int IssueEscape();
// The acting fighter waits: its entry goes to the end of the turn order. 1
// when it delayed.
int TryDelayTurn();
// The acting fighter readies an attack against anyone who approaches. 1 when
// readied; otherwise its turn ends.
int TryReadyVersusApproach();
// The ranged slot holds a crossbow that is not loaded while ammunition is left.
bool NeedsCrossbowReload(int creature);
// Reloads the crossbow when it needs it and the actions allow (or ends the
// turn when they do not). 1 when it took the turn's action.
int ReloadCrossbowIfNeeded(int creature);
// The undead of the turn order a turning would affect.
int CountTurnableUndead(int creature);
// The best turning score over the directions round the creature.
int BestTurnUndeadScore(int creature);
// For the caster of the spell being prepared: the most undead one turning
// direction would affect.
int BestTurnUndeadCount();
// For the caster of the spell being prepared: 1 when some direction of its
// breath weapon is worth using.
int CanBreatheUsefully();
// The caster of the spell being prepared uses the wand in its main hand.
void MarkWandForCasting();
// Stops a missile flight shown on screen.
void ResetMissileState();
