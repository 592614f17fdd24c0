#include "combat/actions/attack_actions.h"

#include <cmath>

#include "combat/actions/action_executor.h"
#include "combat/actions/attack_support.h"
#include "combat/actions/least_services.h"
#include "combat/actions/reactions.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

AttackProfile ExecutorProfile;
uint8_t AttackBegun = 0;
int32_t FullAttackEntries = 0;

namespace {

constexpr int32_t kResultMissed = 4;
constexpr int32_t kResultDied = 11;
constexpr int32_t kResultKnockedOut = 12;
constexpr int32_t kResultPetrified = 13;

CombatActionState& A() { return CombatAction; }
const char* Name(int c) { return Creatures[c].name; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }
int32_t& Phase() { return g_ProcessingAttackNumber; }

// A kill or knock-out; a petrified target ends a sequence as they do.
bool EndsSequence(int result) {
  return result == kResultDied || result == kResultKnockedOut || result == kResultPetrified;
}

uint32_t ControlSource() { return A().playerControlled == 1 ? kSourceCombatPlayer : kSourceCombatComputer; }

int32_t SpeedOf(int creature) { return IsValidCreature(creature) ? Creatures[creature].speed.current : 0; }
bool HasMoved(int creature) { return A().movesLeft < 2 * SpeedOf(creature); }

void RecomputeBoth(int attacker, int target) {
  if (IsValidCreature(attacker)) RecomputeCreature(attacker, 0);
  if (IsValidCreature(target)) RecomputeCreature(target, 0);
}

// Striking a controlled or dominated creature that is not an enemy frees it.
void FreeControlledAlly(int attacker, int target) {
  if (!IsValidCreature(attacker) || !IsValidCreature(target) || AreEnemies(attacker, target)) return;
  if (!Has(target, kCondControlled) && !Has(target, kCondDominated)) return;
  RemoveCondition(target, kCondControlled);
  RemoveCondition(target, kCondDominated);
  Creatures[target].allegiance = SavedAllegiance[target];
}

void RebuildProfile(int attacker) {
  BuildAttackProfile(&ExecutorProfile, attacker, A().useAlternateAttack, ActionTarget, 0, 0);
}

int32_t EntryAttacks(int entry) {
  if (entry < 0 || entry >= kAttackProfileEntries) return 0;
  return ExecutorProfile.entries[entry].attackCount.total;
}

// The entries of a full melee attack: up to the first ranged or empty one.
int32_t CountMeleeEntries() {
  int32_t n = 0;
  while (n < kAttackProfileEntries && ExecutorProfile.entries[n].kind != kEntryNone &&
         ExecutorProfile.entries[n].kind != kEntryRanged)
    ++n;
  return n;
}

void ShowAttackCounter(int32_t number, bool shots) {
  CountGrapplingAttacks();
  AttackCounterDisplay.attackNumber = number;
  AttackCounterDisplay.attackCount = shots ? A().shotsAllowed : A().meleeAttacksAllowed;
  AttackCounterDisplay.hidden = 0;
  AttackCounterDisplay.cleaveKind = g_Cleaving;
}

void StartPlayback() { A().reactingCreature = kReactorPlayback; }

// The attacker of an order: the fighter whose turn it is, also when a
// reaction has just borrowed the attacker word (a melee order at its first
// step, every step of a shot).
int OrderAttacker() {
  const int fighter = CurrentFighter();
  return IsValidCreature(fighter) ? fighter : ActingCreature;
}

// The attacker loses its charge: Charging gives way to the armour class
// penalty of a charge for a round.
void ApplyChargePenalty(int attacker, uint32_t source, bool spendRound) {
  if (!IsValidCreature(attacker) || !Has(attacker, kCondCharging)) return;
  RemoveCondition(attacker, kCondCharging);
  AddCondition(attacker, kCondLoweredAcCharge, 1, 2, source, 0);
  A().selectedAction = -1;
  ChargePreview = 0;
  if (spendRound) ClearActionTarget();
}

// Hands the turn back; the turn is over when no five-foot step is left and
// movement is closed or spent (for a player-controlled fighter only with the
// automatic end of turn).
void HandBackOrEndTurn() {
  HandTurnBack();
  const CombatActionState& a = A();
  if (a.playerControlled == 1 && OptionWords[kOptionSkipTurnAfterLeftClickAttack] != 1) return;
  if (a.fiveFootStepLeft == 0 && (a.movementClosed == 1 || a.movesLeft == 0)) {
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
  }
}

void CancelAttack(int attacker, uint32_t chargeSource) {
  LogMessage("(Attack Canceled)\r\r");
  Phase() = -1;
  AttackBegun = 0;
  CoupDeGraceAction = 0;
  ApplyChargePenalty(attacker, chargeSource, true);
  HandBackRefusedOrder();
}

void CancelShot() {
  LogMessage("(Shooting Canceled)\r\r");
  Phase() = -1;
  CoupDeGraceAction = 0;
  HandBackRefusedOrder();
}

// The new target of a pending Cleave: one of the enemies round the attacker
// at random. With none left the extra attack is dropped (false).
bool PickCleaveTarget(int attacker) {
  ListAdjacentEnemiesClockwise(attacker);
  int count = 0;
  while (count < kAdjacentListSize && AdjacentCreatureList[count] != -1) ++count;
  if (count == 0) {
    g_Cleaving = -1;
    return false;
  }
  ActionTarget = AdjacentCreatureList[RollDice(count, 1, 0, 0) - 1];
  ShowFloatingText(attacker, g_Cleaving == 2 ? "Great Cleave" : "Cleave");
  return true;
}

// After a kill or knock-out, Cleave (once a round) or Great Cleave grants an
// extra attack on another adjacent enemy. True when one is pending.
bool CleaveTest(int attacker, int result) {
  if (result != kResultDied && result != kResultKnockedOut) return false;
  if (ActorFellDuringReaction == 1 || !IsValidCreature(attacker)) return false;
  const CreatureRecord& c = Creatures[attacker];
  const bool cleave = c.feats[kFeatCleave] != 0 && A().cleaveUsed == 0;
  const bool great = c.feats[kFeatGreatCleave] != 0;
  if ((!cleave && !great) || !HasAdjacentEnemy(attacker)) return false;
  if (A().cleaveUsed == 0) {
    g_Cleaving = 1;
    LogMessage("@CLEAVE@ : \xA3%s\xA3 gets an extra melee attack against another creature within reach.\r", Name(attacker));
  } else {
    g_Cleaving = 2;
    LogMessage("@GREAT_CLEAVE@ : \xA3%s\xA3 gets an extra melee attack against another creature within reach.\r",
               Name(attacker));
  }
  A().cleaveUsed = 1;
  StartPlayback();
  return true;
}

int MeleeAttack(int attacker, int entry) {
  RecomputeBoth(attacker, ActionTarget);
  FreeControlledAlly(attacker, ActionTarget);
  RebuildProfile(attacker);
  return ResolveAttack(attacker, ActionTarget, entry, A().useAlternateAttack, 0, 0, 0, nullptr);
}

// Counts a melee attack of the entry in use (a Cleave attack is not counted;
// it only clears the pending cleave).
void CountMeleeAttack(bool cleaveAttack) {
  if (cleaveAttack) {
    ShowAttackCounter(A().meleeAttacksMade, false);
    g_Cleaving = -1;
    return;
  }
  ++A().attackCounter;
  ++A().meleeAttacksMade;
  ShowAttackCounter(A().meleeAttacksMade, false);
}

void AdvanceEntryWhenUsedUp() {
  CombatActionState& a = A();
  if (a.attackCounter >= a.attacksInEntry && a.currentProfileEntry < FullAttackEntries - 1) {
    ++a.currentProfileEntry;
    a.attackCounter = 0;
    a.attacksInEntry = EntryAttacks(a.currentProfileEntry);
  }
}

bool AllEntriesUsedUp() {
  const CombatActionState& a = A();
  if (a.meleeAttacksMade >= a.meleeAttacksAllowed) return true;
  return a.currentProfileEntry >= FullAttackEntries - 1 && a.attackCounter >= a.attacksInEntry;
}

// The bookkeeping after the attacks of a full attack: the sequence stays
// open while attacks remain, a grapple sequence while grapple attacks remain.
void KeepSequenceOpen(int attacker, bool grappling) {
  CombatActionState& a = A();
  if (!grappling && GrappleAttackEnded == 0) {
    a.attackSequenceOpen = 1;
    AdvanceEntryWhenUsedUp();
    if (AllEntriesUsedUp() || a.singleActionTurn == 1) {
      a.attackSequenceOpen = 0;
      a.selectedAction = -1;
    }
    return;
  }
  if (!grappling) return;
  if (GrappleAttacksMade >= a.meleeAttacksAllowed - 1) {
    GrappleSequenceOpen = 0;
    if (DebugMode == 1) LogMessage("Not engaged in grapple anymore (last attack: %i)", GrappleAttacksMade);
  } else if (!IsValidCreature(ActionTarget) || Creatures[ActionTarget].present != 1) {
    GrappleSequenceOpen = 0;
    if (DebugMode == 1) LogMessage("Not engaged in grapple anymore (opponent out)");
    EndGrappleOfActor(attacker);
  } else {
    GrappleSequenceOpen = 1;
  }
}

int GrappleAttack(int attacker) {
  ++GrappleAttacksMade;
  RecomputeBoth(attacker, ActionTarget);
  const int result = ResolveAttack(attacker, ActionTarget, 0, A().useAlternateAttack, 0, 1, 0, nullptr);
  ShowAttackCounter(GrappleAttacksMade, false);
  if (result == kResultMissed) LogMessage("\r");
  GrappleSequenceOpen = 1;
  return result;
}

void TraceActing(const char* format, int attacker) {
  if (DebugMode == 1 && IsValidCreature(attacker)) LogMessage(format, Name(attacker));
}

// --- Code 2: a single melee attack -------------------------------------------

void FinishMeleeAttack(int attacker) {
  ApplyChargePenalty(attacker, ControlSource(), true);
  CoupDeGraceAction = 0;
  Phase() = -1;
  AttackBegun = 0;
  A().fullRoundActionLeft = 0;
  A().standardActionLeft = 0;
  A().actionCode = kActionNone;
  HandBackOrEndTurn();
}

void MeleeAttackStep() {
  if (Phase() != -1) {
    FinishMeleeAttack(ActingCreature);
    return;
  }
  const int attacker = OrderAttacker();
  A().selectedAction = -1;
  // Once a coup de grace has begun, its own chain of reactions is running:
  // the unarmed test must not take that chain's turn.
  const bool coupDeGraceUnderWay = CoupDeGraceAction == 1 && AttackBegun == 1;
  if (!coupDeGraceUnderWay && TargetMayReactToUnarmedAttack()) {
    AttackBegun = 0;
    return;
  }
  if (!IsTargetValid(attacker, ActionTarget) && AttackBegun == 0) {
    CancelAttack(attacker, ControlSource());
    return;
  }
  AttackBegun = 1;
  const bool cleaveAttack = g_Cleaving != -1;
  if (CoupDeGraceAction == 1) {
    ActingCreature = CurrentFighter();
    if (NextOpportunityAttacker()) {
      ScreenMode = kModeExploring;
      CombatState = kStateActionUnderWay;
      return;
    }
    ClearActionTarget();
    if (!IsTargetValid(ActingCreature, ActionTarget)) {
      CancelAttack(ActingCreature, ControlSource());
      return;
    }
  } else if (!cleaveAttack) {
    SettleMoveAfterAction();
  } else if (!PickCleaveTarget(attacker)) {
    FinishMeleeAttack(attacker);
    return;
  }
  TraceActing("%s is acting.", ActingCreature);
  const int result = MeleeAttack(ActingCreature, 0);
  CountMeleeAttack(cleaveAttack);
  if (CoupDeGraceAction == 0 && CleaveTest(ActingCreature, result)) return;
  Phase() = 0;
  StartPlayback();
}

// --- Code 3: a full melee attack -----------------------------------------------

void EndFullAttackSequence(const char* reason, int32_t value) {
  Phase() = kPhaseEnd;
  if (DebugMode == 1) {
    LogMessage("g_ProcessingAttackNumber switched to 99 #4 ");
    LogMessage(reason, value);
  }
}

// One attack of the full attack, or the Cleave attack that a kill earned: the
// Cleave follows at once, on a foe beside the attacker, and the sequence then
// ends as after the kill.
void FullAttackNextAttack(int attacker) {
  CombatActionState& a = A();
  const bool cleaveAttack = g_Cleaving != -1;
  if (cleaveAttack ? !PickCleaveTarget(attacker)
                   : !IsValidCreature(ActionTarget) || Creatures[ActionTarget].present != 1) {
    Phase() = kPhaseEnd;
    return;
  }
  a.attacksInEntry = EntryAttacks(a.currentProfileEntry);
  TraceActing("%s is acting.", attacker);
  const int result = MeleeAttack(attacker, a.currentProfileEntry);
  a.attacksInEntry = EntryAttacks(a.currentProfileEntry);
  CountMeleeAttack(cleaveAttack);
  const bool cleaves = CleaveTest(attacker, result);
  AdvanceEntryWhenUsedUp();
  if (cleaves)
    TraceActing("%s cleaves at once.", attacker);
  else if (cleaveAttack || EndsSequence(result))
    EndFullAttackSequence("Due to Kill/K.O. ", 0);
  else if (a.meleeAttacksMade >= a.meleeAttacksAllowed)
    EndFullAttackSequence("Due to Cumulate Attack==Total of %i. ", a.meleeAttacksAllowed);
  StartPlayback();
}

void FullAttackGrappleAttack(int attacker) {
  const int result = GrappleAttack(attacker);
  if (GrappleAttacksMade >= A().meleeAttacksAllowed - 1 || result == kResultDied || result == kResultKnockedOut) {
    Phase() = kPhaseEnd;
    if (DebugMode == 1) LogMessage("g_ProcessingAttackNumber switched to 99 #5 ");
    GrappleSequenceOpen = 0;
    GrappleAttackEnded = 1;
  }
  StartPlayback();
}

void FinishFullAttack(int attacker) {
  CombatActionState& a = A();
  ApplyChargePenalty(attacker, ControlSource(), false);
  const bool grappling = IsValidCreature(attacker) && Has(attacker, kCondGrappling);
  if (grappling && (!IsValidCreature(ActionTarget) || Creatures[ActionTarget].present != 1))
    EndGrappleOfActor(attacker);
  if (a.meleeAttacksMade == 1 && HasMoved(attacker)) a.singleActionTurn = 1;
  const bool allMade = grappling ? GrappleAttacksMade >= a.meleeAttacksAllowed - 1
                                 : a.meleeAttacksMade >= a.meleeAttacksAllowed;
  bool turnOver = false;
  if (allMade && (a.playerControlled == 0 || OptionWords[kOptionSkipTurnAfterLeftClickAttack] == 1)) {
    GrappleSequenceOpen = 0;
    a.attackSequenceOpen = 0;
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
    turnOver = true;
  } else {
    if (a.meleeAttacksMade < 2 && GrappleAttacksMade == 0)
      SettleMoveAfterAction();
    else
      ClearActionTarget();
    HandTurnBack();
  }
  if (!turnOver) KeepSequenceOpen(attacker, grappling);
  a.actionCode = kActionNone;
  Phase() = -1;
  AttackBegun = 0;
}

void FullAttackStep() {
  CombatActionState& a = A();
  const int attacker = Phase() == -1 ? OrderAttacker() : ActingCreature;
  const bool grappling = IsValidCreature(attacker) && Has(attacker, kCondGrappling);
  if (Phase() == -1) {
    if (grappling) {
      RecomputeBoth(attacker, ActionTarget);
      Phase() = 0;
      return;
    }
    if (TargetMayReactToUnarmedAttack()) {
      AttackBegun = 0;
      return;
    }
    if (!IsTargetValid(attacker, ActionTarget) && AttackBegun == 0) {
      CancelAttack(attacker, kSourceCombatPlayer);
      return;
    }
    AttackBegun = 1;
    a.attackSequenceOpen = 1;
    RecomputeBoth(attacker, ActionTarget);
    FreeControlledAlly(attacker, ActionTarget);
    RebuildProfile(attacker);
    FullAttackEntries = CountMeleeEntries();
    a.attacksInEntry = EntryAttacks(a.currentProfileEntry);
    CountGrapplingAttacks();
    Phase() = 0;
    return;
  }
  if (Phase() == kPhaseEnd) {
    FinishFullAttack(attacker);
    return;
  }
  if (grappling)
    FullAttackGrappleAttack(attacker);
  else
    FullAttackNextAttack(attacker);
}

// --- Code 4: the next attack of a full attack, one per order -------------------

// After the playback of the order's attack (and of the Cleave it earned).
void FinishNextAttack(int attacker, bool grappling) {
  CombatActionState& a = A();
  TraceActing("%s is acting (#3).", attacker);
  Phase() = -1;
  AttackBegun = 0;
  if (a.meleeAttacksMade == 1 && GrappleAttacksMade == 0)
    SettleMoveAfterAction();
  else
    ClearActionTarget();
  a.actionCode = kActionNone;
  KeepSequenceOpen(attacker, grappling);
  HandTurnBack();
}

void NextAttackStep() {
  CombatActionState& a = A();
  const int attacker = Phase() == -1 ? OrderAttacker() : ActingCreature;
  const bool grappling = IsValidCreature(attacker) && Has(attacker, kCondGrappling);
  if (Phase() != -1) {
    FinishNextAttack(attacker, grappling);
    return;
  }
  if (grappling) {
    RecomputeBoth(attacker, ActionTarget);
    GrappleAttack(attacker);
    Phase() = 0;
    StartPlayback();
    return;
  }
  if (TargetMayReactToUnarmedAttack()) {
    AttackBegun = 0;
    return;
  }
  if (!IsTargetValid(attacker, ActionTarget) && AttackBegun == 0) {
    CancelAttack(attacker, ControlSource());
    return;
  }
  AttackBegun = 1;
  // A Cleave earned by the order's own attack follows at once, in this same
  // step after the playback; with nobody left beside the attacker the order
  // ends as after its attack.
  const bool cleaveAttack = g_Cleaving != -1;
  if (cleaveAttack && !PickCleaveTarget(attacker)) {
    FinishNextAttack(attacker, grappling);
    return;
  }
  TraceActing(cleaveAttack ? "%s is acting (#1)." : "%s is acting (#2).", attacker);
  const int result = MeleeAttack(attacker, a.currentProfileEntry);
  FullAttackEntries = CountMeleeEntries();
  a.attacksInEntry = EntryAttacks(a.currentProfileEntry);
  CountMeleeAttack(cleaveAttack);
  if (CleaveTest(attacker, result)) return;
  Phase() = 0;
  StartPlayback();
}

// --- Shots -----------------------------------------------------------------------


// A blinded shooter that is not next to its target shoots at one of the
// creatures on and round the target's nearest square at random; a target
// locked in a grapple may be swapped for its partner.
void ApplyBlindAndGrappleRules(int) {
  RandomizeBlindShotTarget();
  RandomizeGrappleShotTarget();
}

// The missile flies from the shooter's centre toward the target's at the
// missile speed; straight lines keep their one axis exact.
void SetUpShotMissile(int shooter, int target) {
  const CreatureRecord& s = Creatures[shooter];
  const CreatureRecord& t = Creatures[target];
  const double sx = s.pixelX + s.footprintWidth.current * kSquarePixels / 2.0;
  const double sy = s.pixelY + s.footprintHeight.current * kSquarePixels / 2.0;
  const double tx = t.pixelX + t.footprintWidth.current * kSquarePixels / 2.0;
  const double ty = t.pixelY + t.footprintHeight.current * kSquarePixels / 2.0;
  const double dx = tx - sx, dy = ty - sy, speed = MissilePixelsPerFrame;
  double stepX = 0, stepY = 0;
  if (dx == 0 && dy != 0) {
    stepY = dy > 0 ? speed : -speed;
  } else if (dy == 0 && dx != 0) {
    stepX = dx > 0 ? speed : -speed;
  } else if (dx != 0) {
    const double length = std::sqrt(dx * dx + dy * dy);
    stepX = dx / length * speed;
    stepY = dy / length * speed;
  }
  ShotFlight = {sx, sy, stepX, stepY, 0, 1};
  MissileState.pixelX = static_cast<int32_t>(std::lround(sx));
  MissileState.pixelY = static_cast<int32_t>(std::lround(sy));
  MissileState.velocityX = stepX;
  MissileState.velocityY = stepY;
  MissileState.targetX = t.squareX;
  MissileState.targetY = t.squareY;
  MissileState.aimX = static_cast<int32_t>(std::lround(tx));
  MissileState.aimY = static_cast<int32_t>(std::lround(ty));
  MissileState.originX = MissileState.pixelX;
  MissileState.originY = MissileState.pixelY;
  MissileState.steps = 0;
  MissileState.inFlight = 1;
  // The arrow turned to its flight: 76 right, counter-clockwise to 83 down-right.
  const double eighth = std::atan2(-dy, dx) / (std::atan(1.0));
  MissileState.frame = 76 + ((static_cast<int>(std::lround(eighth)) % 8) + 8) % 8;
}

int Shoot(int shooter, int entry) {
  RecomputeBoth(shooter, ActionTarget);
  FreeControlledAlly(shooter, ActionTarget);
  const int target = ActionTarget;
  const int result = ResolveAttack(shooter, target, entry, A().useAlternateAttack, 0, 0, 0, nullptr);
  StrictScrollTo(shooter, -1, -1);
  if (IsValidCreature(target)) SetUpShotMissile(shooter, target);
  ++A().attackCounter;
  ++A().shotsMade;
  ShowAttackCounter(A().shotsMade, true);
  return result;
}

// The shooter's first ranged entry, the profile built afresh; -1 when none.
int FindRangedEntry(int shooter) {
  RecomputeCreature(shooter, 0);
  RebuildProfile(shooter);
  return FirstRangedEntry(ExecutorProfile);
}

bool OutOfAmmunition(int shooter) { return Creatures[shooter].ammunition.count == 0; }

// --- Code 8: a single shot -------------------------------------------------------

void ShotStep() {
  CombatActionState& a = A();
  const int shooter = OrderAttacker();
  if (Phase() != -1) {
    CoupDeGraceAction = 0;
    Phase() = -1;
    a.fullRoundActionLeft = 0;
    a.standardActionLeft = 0;
    a.actionCode = kActionNone;
    HandBackOrEndTurn();
    return;
  }
  a.selectedAction = -1;
  if (NextOpportunityAttacker()) return;
  if (!IsTargetValid(shooter, ActionTarget)) {
    CancelShot();
    return;
  }
  const int entry = FindRangedEntry(shooter);
  if (entry == -1) {
    CancelShot();
    return;
  }
  if (CoupDeGraceAction == 1) {
    ClearActionTarget();
  } else {
    SettleMoveAfterAction();
    ApplyBlindAndGrappleRules(shooter);
  }
  RecomputeBoth(shooter, ActionTarget);
  RebuildProfile(shooter);
  a.currentProfileEntry = entry;
  a.attacksInEntry = EntryAttacks(entry);
  a.attackCounter = 0;
  Shoot(shooter, entry);
  Phase() = 0;
  StartPlayback();
}

// --- Code 9: all shots in a row --------------------------------------------------

void FinishShots(int shooter) {
  CombatActionState& a = A();
  Phase() = -1;
  if (a.shotsMade == 1 && HasMoved(shooter)) a.singleActionTurn = 1;
  if (a.shotsMade == 1)
    SettleMoveAfterAction();
  else if (a.shotsMade > 1)
    ClearActionTarget();
  a.shootingSequenceOpen = 1;
  if (a.attackCounter >= a.attacksInEntry || a.singleActionTurn == 1 || OutOfAmmunition(shooter)) {
    a.shootingSequenceOpen = 0;
    a.selectedAction = -1;
  }
  a.actionCode = kActionNone;
  if (a.playerControlled == 1 && OptionWords[kOptionSkipTurnAfterLeftClickAttack] != 1) {
    HandTurnBack();
    return;
  }
  if (a.shootingSequenceOpen == 0) {
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
    return;
  }
  HandTurnBack();
}

void FullShotsStep() {
  CombatActionState& a = A();
  const int shooter = OrderAttacker();
  if (Phase() == -1) {
    const int entry = FindRangedEntry(shooter);
    if (entry == -1) {
      CancelShot();
      return;
    }
    if (entry != a.currentProfileEntry) a.attackCounter = 0;
    a.currentProfileEntry = entry;
    a.attacksInEntry = EntryAttacks(entry);
    Phase() = entry;
    return;
  }
  if (Phase() == kPhaseEnd) {
    FinishShots(shooter);
    return;
  }
  if (ReactionPending == 0) ScrollTo(shooter, -1, -1);
  if (OutOfAmmunition(shooter)) {
    ShowFloatingText(shooter, "Out of ammunition");
    Phase() = kPhaseEnd;
    return;
  }
  if (NextOpportunityAttacker()) return;
  if (!IsTargetValid(shooter, ActionTarget)) {
    LogMessage("(Shooting Canceled)\r\r");
    if (a.shotsMade == 0) {
      Phase() = -1;
      HandBackRefusedOrder();
    } else {
      FinishShots(shooter);
    }
    return;
  }
  ApplyBlindAndGrappleRules(shooter);
  const int result = Shoot(shooter, Phase());
  if (a.attackCounter >= a.attacksInEntry || EndsSequence(result)) {
    Phase() = kPhaseEnd;
    if (DebugMode == 1) LogMessage("g_ProcessingAttackNumber switched to 99 #2 ");
  }
  StartPlayback();
}

// --- Code 10: the next shot, one per order ---------------------------------------

void NextShotStep() {
  CombatActionState& a = A();
  const int shooter = OrderAttacker();
  if (Phase() != -1) {
    Phase() = -1;
    // One shot after moving is all the turn holds, as in a full ranged attack.
    if (a.shotsMade == 1 && HasMoved(shooter)) a.singleActionTurn = 1;
    if (a.shotsMade <= 1)
      SettleMoveAfterAction();
    else
      ClearActionTarget();
    a.shootingSequenceOpen = a.attackCounter < a.attacksInEntry && a.singleActionTurn == 0 ? 1 : 0;
    HandTurnBack();
    return;
  }
  const int entry = FindRangedEntry(shooter);
  if (entry == -1 || !IsTargetValid(shooter, ActionTarget)) {
    CancelShot();
    return;
  }
  if (OutOfAmmunition(shooter)) {
    ShowFloatingText(shooter, "Out of ammunition");
    a.shootingSequenceOpen = 0;
    a.selectedAction = -1;
    HandTurnBack();
    return;
  }
  if (NextOpportunityAttacker()) return;
  if (entry != a.currentProfileEntry) a.attackCounter = 0;
  a.currentProfileEntry = entry;
  a.attacksInEntry = EntryAttacks(entry);
  ApplyBlindAndGrappleRules(shooter);
  const int result = Shoot(shooter, entry);
  if (EndsSequence(result)) a.selectedAction = -1;
  Phase() = 0;
  StartPlayback();
}

// --- Code 21: the whirlwind attack -------------------------------------------------

int32_t WhirlwindTargets[kAdjacentListSize];

void WhirlwindStep() {
  CombatActionState& a = A();
  const int attacker = ActingCreature;
  if (Phase() == -1) {
    LogMessage("\xA3%s\xA3 launches @WHIRLWIND_ATTACK@.\r", Name(attacker));
    ListAdjacentEnemiesClockwise(attacker);
    for (int k = 0; k < kAdjacentListSize; ++k) WhirlwindTargets[k] = AdjacentCreatureList[k];
    Phase() = 0;
  }
  if (Phase() >= 0 && Phase() < kPhaseEnd) {
    const int k = Phase();
    if (k >= kAdjacentListSize || WhirlwindTargets[k] == -1) {
      Phase() = kPhaseEnd;
      ActionTarget = -1;
      if (DebugMode == 1) LogMessage("g_ProcessingAttackNumber switched to 99 #3 ");
    } else {
      ActionTarget = WhirlwindTargets[k];
      RecomputeBoth(attacker, ActionTarget);
      RebuildProfile(attacker);
      ResolveAttack(attacker, ActionTarget, 0, a.useAlternateAttack, 0, 0, 0, nullptr);
      ShowAttackCounter(k + 1, false);
      Phase() = k + 1;
      StartPlayback();
      return;
    }
  }
  Phase() = -1;
  a.actionCode = kActionNone;
  a.whirlwindPlanned = 0;
  ClearActionTarget();
  HandTurnBack();
  if (a.fiveFootStepLeft == 0) {
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
  }
}

}  // namespace

int FirstRangedEntry(const AttackProfile& profile) {
  // Every entry is looked at: with nothing else built, entry 0 stays empty
  // and the ranged weapon is entry 1.
  for (int i = 0; i < kAttackProfileEntries; ++i)
    if (profile.entries[i].kind == kEntryRanged) return i;
  return -1;
}

void EndGrappleOfActor(int creature) {
  if (!IsValidCreature(creature)) return;
  const int grapple = FindCondition(creature, kCondGrappling);
  const int partner = grapple >= 0 ? Creatures[creature].conditions[grapple].value : -1;
  RemoveCondition(creature, kCondGrappling);
  RemoveCondition(creature, kCondPinned);
  if (IsValidCreature(partner)) {
    RemoveCondition(partner, kCondGrappling);
    RemoveCondition(partner, kCondPinned);
  }
}

void AttackActionStep(int32_t code) {
  if (g_ProcessingAttackNumber == -1 && ReactionPending == 0 && IsValidCreature(CurrentFighter()))
    ActingCreature = CurrentFighter();
  switch (code) {
    case kActionMeleeAttack: MeleeAttackStep(); return;
    case kActionFullAttack: FullAttackStep(); return;
    case kActionNextAttack: NextAttackStep(); return;
    case kActionShot: ShotStep(); return;
    case kActionFullShots: FullShotsStep(); return;
    case kActionNextShot: NextShotStep(); return;
    case kActionWhirlwind: WhirlwindStep(); return;
    default: return;
  }
}

void ResetAttackActionsState() {
  ExecutorProfile = AttackProfile{};
  AttackBegun = 0;
  FullAttackEntries = 0;
}
