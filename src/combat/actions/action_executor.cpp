#include "combat/actions/action_executor.h"

#include <cmath>

#include "combat/actions/attack_actions.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/combat_movement.h"
#include "combat/actions/reactions.h"
#include "combat/actions/manoeuvres.h"
#include "combat/actions/walking.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/end_of_action.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "engine/widgets.h"
#include "map/fighter_tests.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

ShotFlightWords ShotFlight;
int32_t MissilePixelsPerFrame = 4;

namespace {

constexpr int32_t kEventPrelude = 64;
constexpr int32_t kMissileFrameLimit = 200;
constexpr int32_t kLungeStep = 2;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

bool IsEmptyEntry(uint32_t index) { return index >= kCombatEventCount || IsEmptyCombatEvent(CombatEvents[index]); }

// The acting fighter can no longer go on with its action: nothing is left
// that it may choose to do.
bool ActorIsHelpless(int creature) { return (FreeDeeds(creature) & kChosenDeeds) == 0; }

// A death event shown takes its creature off the map.
void TakeOffIfDeath(const CombatEvent& shown) {
  if (shown.type == kEventDeath && IsValidCreature(shown.creature)) Creatures[shown.creature].present = 0;
}

// The frame of a lunge: 4 for the diagonal facings, 1 for the others.
int32_t LungeFrame(int32_t facing) { return facing % 2 == 0 ? 4 : 1; }

// Moves the attacker's figure one step further in its facing.
void StepLunge(CreatureRecord& c) {
  static const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  const int f = c.facing >= 1 && c.facing <= 8 ? c.facing : kFaceDown;
  c.pixelX += kDx[f] * kLungeStep;
  c.pixelY += kDy[f] * kLungeStep;
  c.displayWords[kDisplayAnimationFrame] = LungeFrame(f);
}

// The creature a missile struck: a stray arrow's creature, else the target.
int StruckCreature() { return StrayArrowTarget != -1 ? StrayArrowTarget : ActionTarget; }

// The attacker's profile is built afresh before its attack is shown.
void RebuildAttackerProfile(int attacker) {
  static AttackProfile profile;
  BuildAttackProfile(&profile, attacker, CombatAction.useAlternateAttack, ActionTarget, 0, 0);
}

void EndShotFlight() {
  ShotFlight = ShotFlightWords{};
  MissileState = MissileStateWords{};
}

// The first frames of an attack's playback: the missile's flight or the
// melee lunge. False while it still moves (the playback waits).
bool ShowAttackMotion() {
  const int attacker = ActingCreature;
  const int target = ActionTarget;
  if (IsValidCreature(attacker)) RecomputeCreature(attacker, 0);
  if (IsValidCreature(target)) RecomputeCreature(target, 0);
  if (!IsValidCreature(attacker)) {
    PlaybackCreature = IsValidCreature(target) ? target : -1;
    PlaybackFramesLeft = FramesPerEvent;
    return true;
  }
  CreatureRecord& a = Creatures[attacker];
  RebuildAttackerProfile(attacker);
  // A shot of the acting fighter has set up its missile's flight.
  if (ShotFlight.flying == 1 && attacker == CurrentFighter()) {
    if (EventIsPrelude) return true;
    ++ShotFlight.frames;
    MissileState.pixelX = static_cast<int32_t>(std::lround(ShotFlight.startX + ShotFlight.frames * ShotFlight.stepX));
    MissileState.pixelY = static_cast<int32_t>(std::lround(ShotFlight.startY + ShotFlight.frames * ShotFlight.stepY));
    ScrollTo(-1, MissileState.pixelX / kSquarePixels, MissileState.pixelY / kSquarePixels);
    if (!MissileReachedCreature(StruckCreature()) && ShotFlight.frames <= kMissileFrameLimit) return false;
    EndShotFlight();
    a.displayWords[kDisplayAnimationFrame] = 0;
    const int struck = StruckCreature();
    PlaybackCreature = struck;
    PlaybackFramesLeft = FramesPerEvent;
    if (IsEmptyEntry(0) && IsValidCreature(struck)) ShowFloatingText(struck, "Miss");
    return true;
  }
  if (!IsPastSquareInFacing(attacker)) {
    StepLunge(a);
    return false;
  }
  a.pixelX = a.squareX * kSquarePixels;
  a.pixelY = a.squareY * kSquarePixels;
  a.displayWords[kDisplayAnimationFrame] = 0;
  PlaybackCreature = target;
  PlaybackFramesLeft = FramesPerEvent;
  if (EventIsPrelude) {
    EventIsPrelude = 0;
    return false;
  }
  if (IsEmptyEntry(0) && IsValidCreature(target)) ShowFloatingText(target, "Miss");
  return true;
}

// The fighter whose turn it is fell to a reaction or can no longer act: its
// action is given up (a spell it was casting is lost) and the turn passes.
bool AbandonActionOfFallenFighter() {
  const int fighter = CurrentFighter();
  const bool fell = ActorFellDuringReaction == 1;
  if (!fell && !(IsValidCreature(fighter) && ActorIsHelpless(fighter))) return false;
  if (fell && DebugMode == 1) LogMessage("DEBUG - Acting player killed during AOO");
  ActorFellDuringReaction = 0;
  ActingCreature = ActionTarget = -1;
  g_ProcessingAttackNumber = -1;
  CoupDeGraceAction = 0;
  AttackBegun = 0;
  CombatAction.actionCode = kActionNone;
  CombatState = kStateNextFighter;
  ActionBarMode = 1;
  if (SpellInProgress != -1) {
    if (IsValidCreature(SpellCaster))
      LogMessage("\xA3%s\xA3 loses @%s@.\r\r", Creatures[SpellCaster].name, SpellKeywordFull(SpellInProgress));
    SpellInProgress = -1;
    ScreenMode = kModeExploring;
  }
  CheckEndOfCombat();
  return true;
}

bool IsQuickAction(int32_t code) {
  return code == kActionEscape || code == kActionInventory || code == kActionReload || code == kActionAlarm;
}

// What follows the playback of an attack: the fall of the fighter whose turn
// it is, the end of the battle, the next enemy of an attack-of-opportunity
// chain, a cast that a reaction interrupted.
void AfterAttackPlayback() {
  if (AbandonActionOfFallenFighter()) return;
  if (CheckEndOfCombat()) {
    g_ProcessingAttackNumber = -1;
    return;
  }
  if (ContinueOpportunityChain) {
    ContinueOpportunityChain = 0;
    const int mover = CurrentFighter();
    if (IsValidCreature(mover)) {
      const int next = FindThreateningEnemy(mover, Creatures[mover].squareX, Creatures[mover].squareY);
      if (next != -1) {
        CombatAction.reactingCreature = next;
        ContinueOpportunityChain = 1;
        return;
      }
      if (HasDisablingCondition(mover)) {
        EndCombatAction(mover);
        return;
      }
    }
  }
  if (SpellInProgress != -1) {
    MissileFrame(SpellCaster, MapCursorX, MapCursorY);
    ScreenMode = kModeCastChecks;
    CombatAction.actionCode = kActionNone;
    CombatState = kStatePlayerTurn;
  } else if (IsQuickAction(CombatAction.actionCode)) {
    CombatState = kStatePlayerTurn;
  }
}

// The reacting-creature value 2100: the attack just resolved is shown.
void AttackPlaybackStep() {
  if (PlaybackCreature == -1 && !ShowAttackMotion()) return;
  if (CombatEventReadIndex == 0 && CombatEvents[0].type == kEventPrelude) {
    PlaybackFramesLeft = 0;
    PlaybackCreature = -1;
    CombatAction.reactingCreature = -1;
    return;
  }
  if (StepEventPlayback(true)) return;
  CombatAction.reactingCreature = -1;
  // A readied attack is over once it has been shown.
  ReadiedAttack.underway = 0;
  AfterAttackPlayback();
}

// Code 13: the events of the action are shown, then the queued follow-up
// is applied and the turn goes on or passes.
void EndOfActionStep() {
  CombatActionState& a = CombatAction;
  if (PlaybackCreature != -1) {
    if (StepEventPlayback(false)) return;
    if (ActorFellDuringReaction == 1) {
      ActorFellDuringReaction = 0;
      a.actionCode = kActionNone;
      CombatState = kStateNextFighter;
      CheckEndOfCombat();
    }
    return;
  }
  a.actionCode = kActionNone;
  a.endedActionCode = 0;
  const int32_t queuedCode = QueuedActionCode;
  if (QueuedActionCode != -1) a.actionCode = QueuedActionCode;
  if (QueuedScreenMode != -1) ScreenMode = static_cast<uint32_t>(QueuedScreenMode);
  if (QueuedCombatState != -1) CombatState = QueuedCombatState;
  ClearQueuedAction();
  ClearCombatEvents();
  SetReadyMode();
  const bool spent = a.fullRoundActionLeft == 0 && a.standardActionLeft == 0 && a.fiveFootStepLeft == 0;
  if (spent && (a.movementClosed == 1 || a.movesLeft == 0) && queuedCode != kActionGrapple) {
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
  }
}

// An Invisible actor becomes visible before an offensive action; the action
// starts afresh once that has been shown. True when it did.
bool LoseInvisibility(int32_t code) {
  const int actor = code == kActionGrapple || code == kActionPin || code == kActionBullRush ? ActingCreature
                                                                                             : CurrentFighter();
  if (!IsValidCreature(actor) || !Has(actor, kCondInvisible)) return false;
  RemoveCondition(actor, kCondInvisible);
  ShowFloatingText(actor, "Lost effect (Invisibility)");
  if (code != kActionFullAttack && code != kActionWhirlwind)
    LogMessage("\xA3%s\xA3 loses the @INVISIBLE@ condition.\r", Creatures[actor].name);
  ClearCombatEvents();
  CombatEvents[0].type = kEventFreed;
  CombatEvents[0].creature = actor;
  RecomputeCreature(actor, 0);
  StartEventPlayback(actor);
  ClearQueuedAction();
  QueuedActionCode = code;
  CombatAction.actionCode = kActionEnd;
  return true;
}

bool IsAttackCode(int32_t code) {
  switch (code) {
    case kActionMeleeAttack: case kActionFullAttack: case kActionNextAttack: case kActionShot:
    case kActionFullShots: case kActionNextShot: case kActionWhirlwind:
      return true;
    default:
      return false;
  }
}

void Dispatch(int32_t code) {
  if (IsAttackCode(code) && g_ProcessingAttackNumber == -1) {
    SpellCaster = -1;
    if (LoseInvisibility(code)) return;
  }
  if ((code == kActionGrapple || code == kActionPin || code == kActionBullRush) && g_ProcessingAttackNumber == -1 &&
      LoseInvisibility(code))
    return;
  switch (code) {
    case kActionWalkPath: case kActionFiveFootStep: case kActionStepAndAttack: case kActionMoveAndAttack:
    case kActionCharge:
      CombatMovementStep();
      return;
    case kActionMeleeAttack: case kActionFullAttack: case kActionNextAttack: case kActionShot:
    case kActionFullShots: case kActionNextShot: case kActionWhirlwind:
      AttackActionStep(code);
      return;
    case kActionEnd:
      EndOfActionStep();
      return;
    case kActionEscape: case kActionInventory: case kActionWake: case kActionDance: case kActionGrapple:
    case kActionPin: case kActionReload: case kActionBullRush: case kActionAlarm:
      SpecialActionStep(code);
      return;
    default:
      return;
  }
}

}  // namespace

bool IsMoveAction(int32_t code) {
  return code == kActionWalkPath || code == kActionFiveFootStep || code == kActionStepAndAttack ||
         code == kActionMoveAndAttack || code == kActionCharge;
}

bool IsTargetValid(int attacker, int target) {
  if (!IsValidCreature(target) || Creatures[target].present != 1) return false;
  if (!IsValidCreature(attacker)) return false;
  return MayDo(attacker, kDeedStrike);
}

void StartEventPlayback(int creature) {
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
  if (IsValidCreature(creature)) ScrollTo(creature, -1, -1);
}

bool StepEventPlayback(bool afterAttack) {
  if (--PlaybackFramesLeft > 0) {
    ActionBarMode = 0;
    return true;
  }
  RunDeathScript();
  if (ExtraDamageShowing == 1) {
    if (ExtraDamageIndex == 0 && !IsEmptyCombatEvent(ExtraDamageEvents[1])) {
      TakeOffIfDeath(ExtraDamageEvents[0]);
      ExtraDamageIndex = 1;
      PlaybackFramesLeft = FramesPerEvent;
      return true;
    }
    TakeOffIfDeath(ExtraDamageEvents[ExtraDamageIndex == 1 ? 1 : 0]);
    ClearExtraDamageEvents();
    ExtraDamageShowing = 0;
    ExtraDamageIndex = 0;
    CombatEventReadIndex = 0;
    PlaybackCreature = -1;
    return false;
  }
  const CombatEvent shown = CombatEventReadIndex < kCombatEventCount ? CombatEvents[CombatEventReadIndex] : CombatEvent{};
  ++CombatEventReadIndex;
  if (!IsEmptyEntry(CombatEventReadIndex)) {
    PlaybackFramesLeft = FramesPerEvent;
    return true;
  }
  TakeOffIfDeath(shown);
  const CombatEvent& firstExtra = ExtraDamageEvents[0];
  if (afterAttack && firstExtra.type != kEventNone) {
    ExtraDamageShowing = 1;
    ExtraDamageIndex = 0;
    PlaybackCreature = ActingCreature;
    PlaybackFramesLeft = FramesPerEvent;
    return true;
  }
  PlaybackCreature = -1;
  return false;
}

void HandTurnBack() {
  CombatAction.actionCode = kActionNone;
  if (CombatAction.playerControlled == 1) {
    CombatState = kStatePlayerTurn;
    SetReadyMode();
  } else {
    CombatState = kStateComputerDecision;
    ActionBarMode = 1;
  }
}

int32_t RefusedOrdersThisTurn = 0;

void HandBackRefusedOrder() {
  if (CombatAction.playerControlled == 1 || RefusedOrdersThisTurn++ == 0) {
    HandTurnBack();
    return;
  }
  CombatAction.actionCode = kActionNone;
  CombatState = kStateNextFighter;
  ActionBarMode = 1;
}

int FinishActionAfterFailure() {
  ScreenMode = kModeExploring;
  ClearCombatEvents();
  CombatEvents[0].type = 0;
  StartEventPlayback(ActionTarget);
  CombatAction.actionCode = kActionEnd;
  CombatState = kStateActionUnderWay;
  QueuedActionCode = -1;
  QueuedScreenMode = -1;
  if (CombatAction.playerControlled == 1) {
    QueuedCombatState = kStatePlayerTurn;
    SetReadyMode();
  } else {
    QueuedCombatState = kStateComputerDecision;
    ActionBarMode = 1;
  }
  return 1;
}

int ExecuteCombatAction() {
  if (MovementPlaybackActive == 1) return 1;
  if (InCombat != 1) {
    WalkingStep();
    return 1;
  }
  CombatActionState& a = CombatAction;
  if (CombatState == kStateActionUnderWay) {
    ActionBarMode = 0;
    CursorShape = 0;
    if (a.reactingCreature >= 0 && a.reactingCreature < kReactorPlayback) {
      ReactionStep();
      return 1;
    }
    if (a.reactingCreature == kReactorPlayback) {
      AttackPlaybackStep();
      return 1;
    }
  }
  const int32_t code = a.actionCode;
  if (code == kActionNone) {
    ResetMoveInProgress();
    return 1;
  }
  if (code != kActionEnd && a.reactingCreature != -1) return 1;
  const int32_t wanted = IsQuickAction(code) ? kStatePlayerTurn : kStateActionUnderWay;
  // The end of an action is carried out in state 1 too: a quick action, or a
  // cast resumed after a reaction, may end there, and nothing else would.
  const bool endInStateOne = code == kActionEnd && CombatState == kStatePlayerTurn;
  if (CombatState != wanted && !endInStateOne) return 1;
  Dispatch(code);
  return 1;
}

void ResetActionExecutorState() {
  ResetWords(ShotFlight);
  MissilePixelsPerFrame = 4;
  RefusedOrdersThisTurn = 0;
}
