// The tactics of a computer-controlled fighter that its decision runs in
// order: the spells a situation calls for (dispels, protection against the
// area it stands in, the support spells of clerics), waking a sleeping
// friend, leaving a hazard, sounding the alarm, turning undead, breathing,
// the checks of item and innate spells, and the weapon tactics (shooting,
// charging, bull rushing, grappling, the whirlwind and the melee attack).
// Each either commits the fighter (an action, a move, a cast, a readied
// action or the end of its turn) or falls through to the next.
#pragma once
#include <cstdint>

// The words of a computer fighter's turn that the tactics share with the
// decision.
// Set by every computer move of the turn, cleared by every action or cast it
// launches and when the next fighter's turn is prepared.
extern uint8_t CpuMoveIssued;
// The magic-area kind the fighter stands in and wants to leave (0 none), and
// the leave flag the situation checks set with it.
extern int32_t HazardKindToLeave;
extern uint8_t LeaveHazard;
// The decision's stance word for the good-square grid (-1 none).
extern int32_t StanceWord;
// The debug view holds the valuation grid on screen.
extern uint8_t ValuationGridShown;
// The cast under way was started by the computer.
extern uint8_t CastByComputer;

// What the decision learnt about the fighter before the tactics run.
struct TacticFlags {
  bool canMove = false;          // moves left and free to move
  bool hasRangedAttack = false;  // a ranged weapon with ammunition
  bool adjacentEnemy = false;
  bool specialMeans = false;     // spells, Turn Undead, breath, wand or spell-like ability to use
  bool canCastSpells = false;    // the own-spell check passed
  bool freeHand = true;          // a hand free for somatic casting
  int32_t topSpellLevel = 1;
};

// How a tactic ended.
enum class TacticResult {
  kFellThrough,    // nothing done: the next tactic runs
  kCommitted,      // an action, a move, a cast, a readied action or the end of the turn
  kReturn,         // the decision returns with nothing launched (the next frame decides again)
  kDispatchAgain,  // the plan of the turn-order entry changed: the plan dispatch runs again
  kWaitTactics,    // the decision goes on with its wait tactics
};

// The spells for situations, rules 1 to 10 in their order (arcane dispels,
// cleric self-help, the hazards the fighter stands in, the cleric's support
// of its friends, innate and wand cures). Sets the leave flag for a hazard.
// kCommitted when a cast (or the step before it) was launched.
TacticResult CastSpellForSituation(int fighter, const TacticFlags& f);
// The arcane choices at the start of the spell search (false life, dispels
// of held creatures, helpless friends and magic areas). kCommitted when a
// cast or a step was launched; kFellThrough with *forcedSpell set (-1 none)
// when the search must pick that spell alone.
TacticResult ChooseArcaneSpellFirst(int fighter, const TacticFlags& f, int32_t* forcedSpell);

// Waking a sleeping friend, and leaving the hazard area the fighter stands in.
TacticResult WakeSleepingAlly(int fighter, const TacticFlags& f);
TacticResult LeaveHazardArea(int fighter, const TacticFlags& f);
// Sounding the alarm (after a step away from an adjacent enemy).
TacticResult SoundAlarm(int fighter, const TacticFlags& f);
// The planned Turn Undead and breath weapon: a better square first, or at once.
TacticResult TurnUndead(int fighter, const TacticFlags& f);
TacticResult BreatheWeapon(int fighter, const TacticFlags& f);
// Whether the planned programmed spell, spell-like ability or wand has the
// action it needs: the plan of the entry becomes 5 (kFellThrough), or the
// plan is dropped (kFellThrough after a programmed spell, kReturn after the others).
TacticResult CheckItemSpellAction(int fighter);

// Plan 0 with a ranged attack and no adjacent enemy: reload, a shooting
// square, a plan to shoot (kDispatchAgain), a walk into range and sight of
// the nearest foe, or the wait tactics.
TacticResult ApproachToShoot(int fighter, const TacticFlags& f);
// Plan 2: the shot, a readied action against spellcasting, or the grapple.
TacticResult ShootTarget(int fighter, const TacticFlags& f);
// The charge and the bull-rush approach of the approach chain.
TacticResult Charge(int fighter, const TacticFlags& f);
TacticResult ApproachToBullRush(int fighter, const TacticFlags& f);
// With BullRushSkipsOutOfReach (the game's way) the bull rush approach builds
// no grid when no combatant of another side stands within one move; false builds it always.
// Both decide the same. A switch for tests.
extern bool BullRushSkipsOutOfReach;
// Plan 1 with an adjacent enemy: grapple, step back to shoot, reposition,
// whirlwind, bull rush and the attack.
TacticResult AttackInMelee(int fighter, const TacticFlags& f);
// The attack of the melee path without bull rush or grapple (the spell
// search's fall-back to weapons).
TacticResult AttackAdjacentEnemy(int fighter, const TacticFlags& f);

// Hand-offs the decision and the spell search share with the tactics.
// The melee attack on T: full attack (code 4) with the full-round action or
// an attack begun, one attack (2) with the standard action, else the turn ends.
void IssueMeleeAttack(int fighter, int target);
// The same for shots (10 and 8).
void IssueShot(int fighter, int target);
// Hands the spell to the combat sequencer (screen mode 22, state 3).
void StartComputerCast(int fighter, int spell, bool fromWand);
// The best neighbour square of the grid just built, above the fighter's own
// square (-1 packed none); the path test asks for a walk this turn, the
// diagonal test for a free diagonal step.
int64_t ChooseNeighbourSquare(int fighter, bool pathTest, bool diagonalTest);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTacticsState();
