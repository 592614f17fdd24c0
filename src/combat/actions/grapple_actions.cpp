// Grapple, pin, bull rush and escape: the executor's branches for action
// codes 18, 19, 22 and 14.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_movement.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/reactions.h"
#include "combat/actions/roll_previews.h"
#include "combat/actions/manoeuvres.h"
#include "combat/resolution/attack_resolution.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/square_entry.h"
#include "map/square_grids.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/queued_actions.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kLasting = 1000;
constexpr int32_t kPinRounds = 2;
constexpr int32_t kPhaseMoved = 25;
constexpr int32_t kPhaseTargetHazards = 100;
constexpr int32_t kPhaseReadiedFoe = 101;  // a foe readied against an approach has struck the attacker
constexpr int32_t kWebDifficulty = 20;
constexpr int32_t kSourceWillpowerBonus = 631;
constexpr int32_t kSourceWisdomModifier = 176;
constexpr int32_t kSourceImprovedBullRush = 678;
constexpr int32_t kImprovedBullRushBonus = 4;
constexpr uint32_t kSourceSpellEffect = 18;
constexpr int32_t kEnergyFire = 4;
constexpr int32_t kShieldFire = 1;
constexpr int kPropertyFlamingBurst = 11;
constexpr int kPropertyFlaming = 16;
constexpr int32_t kParalysisFreedSound = 36;
// Size modifiers of a Strength check, by size class 0 to 7.
constexpr int32_t kSizeModifiers[8] = {0, -8, -4, 0, 4, 8, 12, 16};

const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int32_t& Phase() { return g_ProcessingAttackNumber; }

// The creature of the order at its first step: the fighter whose turn it is,
// also while a reaction to the order still holds the attacker word.
int OrderActor() {
  if (Phase() == -1 && IsValidCreature(CurrentFighter())) return CurrentFighter();
  return ActingCreature;
}
const char* Name(int c) { return Creatures[c].name; }
bool Has(int c, uint32_t id) { return HasCondition(c, id); }

void FailureSound() { QueueCombatSound(-1, 0, kSoundMiss, -1, 0); }

// A d20 entered into the list (its D20_Roll pair) and the list stored in the
// combat roll log; the index a log line links to.
int RollD20Into(ModifierList& list, int32_t* d20) {
  ModifierList* kept = DiceRollList;
  DiceRollList = &list;
  *d20 = RollDice(20, 1, 0, 0);
  DiceRollList = kept;
  return StoreCombatRoll(list);
}

int32_t SizeModifier(int creature) {
  const int32_t size = Creatures[creature].size.current;
  return size >= 0 && size < 8 ? kSizeModifiers[size] : 0;
}

// ---- Grapple ------------------------------------------------------------------

// The concealment roll of the grapple's touch attack; false when it fails.
bool ConcealmentHolds(int grappler, int target) {
  uint32_t source = 0;
  const int32_t chance = ConcealmentMissChance(grappler, target, 0, &source);
  if (chance < 0) return true;
  if (chance == 0) {
    LogMessage("(Concealment Negated by \xA3%s\xA3)\r", Name(grappler));
    return true;
  }
  ModifierList list;
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "Concealment Miss Chance");
  AddModifier(chance, &list, static_cast<int32_t>(source));
  const int32_t roll = static_cast<int32_t>(RandomUpTo(99)) + 1;
  const int32_t reroll = static_cast<int32_t>(RandomUpTo(99)) + 1;
  LogMessage("Concealment roll \xA3%i\xA3\r", roll);
  const int index = StoreCombatRoll(list);
  LogMessage("Concealment chance @%i|%.2i@%% ", list.total, index);
  if (roll >= chance) {
    LogMessage("(Success)\r");
    return true;
  }
  LogMessage("(Failure)\r");
  if (Creatures[grappler].feats[kFeatBlindFight] == 0) return false;
  LogMessage("\xA3%s\xA3 has @BLINDFIGHT@.\r", Name(grappler));
  LogMessage("Concealment roll \xA3%i\xA3 ", reroll);
  if (reroll >= chance) {
    LogMessage("(Success)\r");
    return true;
  }
  LogMessage("(Failure)\r");
  return false;
}

// The grapple's melee touch attack against the target's touch armour class.
bool TouchAttackHits(int grappler, int target) {
  ModifierList roll;
  InitModifierList(&roll);
  std::snprintf(roll.caption, sizeof roll.caption, "Melee touch attack roll");
  AddAttackModifiers(0, grappler, &roll, 1, target, 0, 0);
  const CreatureRecord& g = Creatures[grappler];
  const int32_t natural = g.naturalAttacks[CombatAction.useAlternateAttack == 1 ? 3 : 0].kind;
  const int offset = NaturalFeatOffset(natural);
  if (offset >= 0 && g.feats[kFeatWeaponFocusFists + offset] != 0) AddModifier(1, &roll, kSrcWeaponFocus);
  int32_t d20 = 0;
  const int index = RollD20Into(roll, &d20);
  LogMessage("\xA3%s\xA3 @TOUCH_ATTACK@ @%i|%.2i@ ", Name(grappler), roll.total, index);
  ModifierList armour;
  InitModifierList(&armour);
  int count = 0;
  armour.total = ComputeArmourClass(target, &armour, &count, 1, grappler, 0, 0);
  const int armourIndex = StoreCombatRoll(armour);
  if (d20 == 1) {
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
    return false;
  }
  if (d20 == 20) {
    LogMessage("\xA3" "Automatic_success\xA3 (roll of 20).\r");
    return true;
  }
  if (roll.total < armour.total) {
    LogMessage("Missed (AC @%i|%.2i@)\r", armour.total, armourIndex);
    return false;
  }
  LogMessage("Success (AC @%i|%.2i@)\r", armour.total, armourIndex);
  return true;
}

void RefreshBoth(int a, int b) {
  RecomputeCreature(a, 0);
  RecomputeCreature(b, 0);
}

void RebuildProfile(int attacker, int target) {
  static AttackProfile profile;
  BuildAttackProfile(&profile, attacker, CombatAction.useAlternateAttack, target, 0, 0);
}

// ---- Bull rush ----------------------------------------------------------------------

// The opposed Strength check of one side, logged; its total.
int32_t StrengthCheckOf(int creature, bool attacker) {
  ModifierList list;
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "Strength Check (%s)", Name(creature));
  const CreatureRecord& c = Creatures[creature];
  AddModifier(c.strength.current / 2 - 5, &list, kSrcStrengthModifier);
  if (c.size.current != 3) AddModifier(SizeModifier(creature), &list, kSrcSpecialSizeModifier);
  if (attacker && c.feats[kFeatImprovedBullRush] != 0) AddModifier(kImprovedBullRushBonus, &list, kSourceImprovedBullRush);
  int32_t d20 = 0;
  const int index = RollD20Into(list, &d20);
  LogMessage("\xA3%s\xA3 @STRENGTH@ check @%i|%.2i@\r", Name(creature), list.total, index);
  return list.total;
}

// Whether every square the creature's footprint would enter one step in the
// direction lies inside the map, is open and holds no creature but the two
// of the push.
bool StepIsFree(int creature, int facing, int other) {
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      const int nx = x + kDx[facing], ny = y + kDy[facing];
      if (!CurrentMap.Inside(nx, ny) || !OnGrid(nx, ny)) return false;
      if (BlockedGrid[SquareIndex(nx, ny)] == kSquareBlocked) return false;
      const int o = CreatureAtSquare(nx, ny, creature);
      if (o != -1 && o != other) return false;
    }
  return true;
}

// Room for the push: the target's step and the attacker's step behind it.
bool PushIsFree(int attacker, int target) {
  const int f = Creatures[attacker].facing;
  if (f < 1 || f > 8) return false;
  return StepIsFree(target, f, attacker) && StepIsFree(attacker, f, target);
}

void SnapToSquare(CreatureRecord& c) {
  c.pixelX = c.squareX * kSquarePixels;
  c.pixelY = c.squareY * kSquarePixels;
}

void MoveOneSquare(CreatureRecord& c, int facing) {
  c.squareX += kDx[facing];
  c.squareY += kDy[facing];
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  SnapToSquare(c);
}

// The end of a bull rush: the turn goes back to the fighter.
void EndBullRush() {
  Phase() = -1;
  CombatAction.actionCode = kActionNone;
  CombatAction.bullRushPlanned = 0;
  HandTurnBack();
}

// A pushed grappler's hold is broken: both lose Grappling and Pinned.
void BreakGrappleOf(int attacker, int target) {
  if (!Has(target, kCondGrappling)) return;
  const int partner = ConditionValue(target, kCondGrappling);
  RemoveCondition(target, kCondGrappling);
  RemoveCondition(target, kCondPinned);
  if (IsValidCreature(partner)) {
    RemoveCondition(partner, kCondGrappling);
    RemoveCondition(partner, kCondPinned);
  }
  LogMessage("\xA3%s\xA3's bull rush breaks the grapple between \xA3%s\xA3 and \xA3%s\xA3.\r", Name(attacker),
             Name(target), IsValidCreature(partner) ? Name(partner) : "");
}

// ---- Escape -------------------------------------------------------------------------------

bool BurnsWebs(int creature) {
  const CreatureRecord& c = Creatures[creature];
  for (int slot : {kSlotRightHand, kSlotLeftHand}) {
    const uint32_t code = c.equipment[slot - 1];
    if (IsCraftedCode(code) && (CraftedWeapons[code].properties[kPropertyFlaming] == 1 ||
                                CraftedWeapons[code].properties[kPropertyFlamingBurst] == 1))
      return true;
  }
  if (c.special[kSpecialShieldKind] == kShieldFire && c.special[kSpecialShieldSides] > 0 &&
      c.special[kSpecialShieldDice] > 0)
    return true;
  for (const NaturalAttack& a : c.naturalAttacks)
    if (a.effectKind == kEnergyFire || a.riderKind == kEnergyFire) return true;
  return false;
}

void ClearWebUnder(int creature) {
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y)
      if (OnGrid(x, y)) MagicAreaGrid[SquareIndex(x, y)] = SquareEffectCell{};
}

// The end of an escape whose events are shown over the creature.
void EndEscape(int creature, int32_t type, int32_t sound) {
  ShowActionEvent(type, sound, creature);
  RecomputeCreature(creature, 0);
  EndActionWith(kActionEscape);
  CombatState = kStateActionUnderWay;
  QueuedCombatState = CombatAction.playerControlled == 1 ? kStatePlayerTurn : kStateComputerDecision;
}

void EscapeGrapple(int c) {
  const bool player = CombatAction.playerControlled == 1;
  const int partner = ConditionValue(c, kCondGrappling);
  LogMessage("\xA3%s\xA3 tries to @BREAK_FREE@.\r", Name(c));
  if (IsValidCreature(partner)) {
    FaceTowardsCreature(c, partner);
    RefreshBoth(c, partner);
  }
  if (IsDefenceless(partner)) {
    LogMessage("(Automatic success)\r");
  } else if (!IsValidCreature(partner) || ResolveAttack(c, partner, 0, 0, 0, 1, 1, nullptr) != kAttackHoldWon) {
    ShowFloatingText(c, player ? "Failure" : Has(c, kCondPinned) ? "Pinned" : "Grappled");
    CombatAction.endedActionCode = kActionEscape;
    ActionTarget = c;
    FinishActionAfterFailure();
    return;
  }
  if (Has(c, kCondPinned)) {
    RemoveCondition(c, kCondPinned);
    ShowFloatingText(c, "Breaks Pin");
  } else {
    RemoveCondition(c, kCondGrappling);
    if (IsValidCreature(partner)) {
      RemoveCondition(partner, kCondGrappling);
      RemoveCondition(partner, kCondPinned);
    }
    ShowFloatingText(c, "Breaks Grapple");
  }
  ShowActionEvent(kEventFreed, 0, c);
  EndActionWith(kActionEscape);
  CombatState = kStateActionUnderWay;
  QueuedCombatState = player ? kStatePlayerTurn : kStateComputerDecision;
}

// The paralysis entry a save may break: from a spell effect with a DC.
int SavableParalysis(int c) {
  const ConditionEntry* list = Creatures[c].conditions;
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = list[i];
    if (e.id == 0 && e.duration == 0) break;
    if (e.id == kCondParalyzed && e.duration > 0 && e.source == kSourceSpellEffect && e.value > 0) return i;
  }
  return -1;
}

void EscapeParalysis(int c, int32_t dc) {
  const bool player = CombatAction.playerControlled == 1;
  ModifierList save;
  InitModifierList(&save);
  std::snprintf(save.caption, sizeof save.caption, "Willpower Saving Throw");
  AddModifier(Creatures[c].willpower.current, &save, kSourceWillpowerBonus);
  AddModifier(Creatures[c].wisdom.current / 2 - 5, &save, kSourceWisdomModifier);
  int32_t d20 = 0;
  const int index = RollD20Into(save, &d20);
  LogMessage("\xA3%s\xA3 @SAVE@ Vs @PARALYSIS@ @%i|%.2i@ ", Name(c), save.total, index);
  bool saved;
  if (d20 == 1) {
    saved = false;
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
  } else if (d20 == 20) {
    saved = true;
    LogMessage("\xA3" "Automatic_success\xA3 (roll of 20).\r");
  } else {
    saved = save.total >= dc;
    LogMessage(saved ? "Save succeeded (DC \xA3%i\xA3)\r" : "Save failed (DC \xA3%i\xA3)\r", dc);
  }
  if (!saved) {
    LogMessage("\xA3%s\xA3 fails to break free.\r", Name(c));
    ShowFloatingText(c, player ? "Failure" : "Paralyzed");
    EndEscape(c, 0, 0);
    return;
  }
  RemoveCondition(c, kCondParalyzed);
  ShowFloatingText(c, "Free");
  EndEscape(c, kEventFreed, kParalysisFreedSound);
}

void EscapeWeb(int c) {
  const bool player = CombatAction.playerControlled == 1;
  if (BurnsWebs(c)) {
    LogMessage("\xA3%s\xA3 clears the strands with fire.\r", Name(c));
    ShowFloatingText(c, "Breaks the web");
    ClearWebUnder(c);
    RemoveCondition(c, kCondStuck);
    EndEscape(c, kEventFreed, 0);
    return;
  }
  ModifierList check;
  InitModifierList(&check);
  std::snprintf(check.caption, sizeof check.caption, "Strength Check");
  AddModifier(Creatures[c].strength.current / 2 - 5, &check, kSrcStrengthModifier);
  int32_t d20 = 0;
  const int index = RollD20Into(check, &d20);
  LogMessage("\xA3%s\xA3 - @STRENGTH@ check: @%i|%.2i@ ", Name(c), check.total, index);
  bool freed;
  if (d20 == 1) {
    freed = false;
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
  } else if (d20 == 20) {
    freed = true;
    LogMessage("\xA3" "Automatic_success\xA3 (roll of 20).\r");
  } else {
    freed = check.total >= kWebDifficulty;
    LogMessage(freed ? "Success (DC \xA3%i\xA3)\r" : "Failed (DC \xA3%i\xA3)\r", kWebDifficulty);
  }
  if (!freed) {
    LogMessage("\xA3%s\xA3 fails to break free.\r", Name(c));
    ShowFloatingText(c, player ? "Failure" : "Stuck");
    EndEscape(c, 0, 0);
    return;
  }
  LogMessage("\xA3%s\xA3 loses the @STUCK@ condition.\r", Name(c));
  ShowFloatingText(c, "Breaks Free");
  RemoveCondition(c, kCondStuck);
  EndEscape(c, kEventFreed, 0);
}

}  // namespace

void GrappleStep() {
  const int grappler = OrderActor();
  const int target = ActionTarget;
  if (!IsValidCreature(grappler) || !IsValidCreature(target)) {
    Phase() = -1;
    HandTurnBack();
    return;
  }
  switch (Phase()) {
    case -1:
      if (Creatures[grappler].feats[kFeatImprovedGrapple] == 0 && TargetMayReactToGrapple()) return;
      if (!IsTargetValid(ActingCreature, ActionTarget)) {
        LogMessage("(Grapple Canceled)\r\r");
        Phase() = -1;
        HandBackRefusedOrder();
        return;
      }
      LogMessage("\xA3%s\xA3 attempts @GRAPPLE@.\r", Name(ActingCreature));
      FaceTowardsCreature(ActingCreature, ActionTarget);
      QueuePrelude();
      Phase() = 0;
      return;
    case 0: {
      RefreshBoth(grappler, target);
      RebuildProfile(grappler, target);
      if (!ConcealmentHolds(grappler, target) || !TouchAttackHits(grappler, target)) {
        FailureSound();
        ShowFloatingText(target, "Touch Attack: Miss");
        CombatAction.endedActionCode = kActionGrapple;
        FinishActionAfterFailure();
        Phase() = -1;
        return;
      }
      QueueCombatSound(-1, 0, kSoundHit, kHitVariantTouch, 0);
      ShowFloatingText(target, "Touch Attack: Success");
      ShowActionEvent(kEventCondition, 0, target);
      ClearQueuedAction();
      QueuedCombatState = CombatState;
      QueuedActionCode = kActionGrapple;
      QueuedScreenMode = static_cast<int32_t>(ScreenMode);
      EndActionWith(kActionGrapple);
      Phase() = 1;
      return;
    }
    case 1:
      if (ResolveAttack(grappler, target, 0, 0, 0, 1, 1, nullptr) == kAttackHoldWon) {
        AddCondition(grappler, kCondGrappling, kLasting, target, ActorSource(), 0);
        AddCondition(target, kCondGrappling, kLasting, grappler, ActorSource(), 0);
      }
      QueuePrelude();
      Phase() = 2;
      return;
    default:
      LogMessage("\r");
      Phase() = -1;
      if (!Has(grappler, kCondGrappling)) {
        FailureSound();
        ShowFloatingText(target, "Grapple: Failure");
        CombatAction.endedActionCode = kActionGrapple;
        FinishActionAfterFailure();
        return;
      }
      ShowFloatingText(target, "Grapple: Success");
      ScreenMode = kModeExploring;
      ShowActionEvent(kEventCondition, 0, target);
      EndActionWith(kActionGrapple);
      return;
  }
}

void PinStep() {
  const int pinner = ActingCreature;
  const int target = ActionTarget;
  if (!IsValidCreature(pinner) || !IsValidCreature(target)) {
    Phase() = -1;
    HandTurnBack();
    return;
  }
  if (Phase() == -1) {
    LogMessage("\xA3%s\xA3 attempts to @PIN@ \xA3%s\xA3.\r", Name(pinner), Name(target));
    FaceTowardsCreature(pinner, target);
    QueuePrelude();
    Phase() = 0;
    return;
  }
  Phase() = -1;
  RefreshBoth(pinner, target);
  if (ResolveAttack(pinner, target, 0, 0, 0, 1, 1, nullptr) != kAttackHoldWon) {
    FailureSound();
    ShowFloatingText(target, "Pin: Failure");
    CombatAction.endedActionCode = kActionPin;
    FinishActionAfterFailure();
    return;
  }
  if (CombatAction.playerControlled == 1) {
    CancelReadiedAction(target);
    RemoveCondition(target, kCondPinned);
  }
  AddCondition(target, kCondPinned, kPinRounds, pinner, ActorSource(), 0);
  ShowFloatingText(target, "Pin: Success");
  ScreenMode = kModeExploring;
  ShowActionEvent(kEventCondition, 0, target);
  EndActionWith(kActionPin);
}

void BullRushStep() {
  if (Phase() == kPhaseReadiedFoe) {
    // The readied foe's attack has been shown: the pair is given back.
    ActingCreature = CurrentFighter();
    ActionTarget = SavedTarget;
    EndBullRush();
    return;
  }
  const int attacker = OrderActor();
  const int target = ActionTarget;
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) {
    EndBullRush();
    return;
  }
  CreatureRecord& a = Creatures[attacker];
  CreatureRecord& t = Creatures[target];
  const int32_t phase = Phase();
  if (phase == -1) {
    if (a.feats[kFeatImprovedBullRush] == 0 && NextOpportunityAttacker()) return;
    if (!IsTargetValid(ActingCreature, ActionTarget)) {
      LogMessage("(Bull Rush Canceled)\r\r");
      HandBackRefusedOrder();
      return;
    }
    LogMessage("\xA3%s\xA3 @BULL_RUSH@ on \xA3%s\xA3.\r", Name(ActingCreature), Name(ActionTarget));
    CombatAction.selectedAction = -1;
    SettleMoveAfterAction();
    FaceTowardsCreature(ActingCreature, ActionTarget);
    QueuePrelude();
    Phase() = 0;
    return;
  }
  if (phase == 0) {
    RefreshBoth(attacker, target);
    if (FindAnyCondition(target, kCondParalyzed, kCondSleeping, kCondStunned, kCondCowering) >= 0) {
      QueueCombatSound(-1, 0, kSoundHit, kHitVariantAutomatic, 0);
      LogMessage("(Automatic Success)\r");
    } else {
      const int32_t mine = StrengthCheckOf(attacker, true);
      const int32_t theirs = StrengthCheckOf(target, false);
      if (mine < theirs) {
        FailureSound();
        LogMessage("(Failure)\r");
        ShowFloatingText(attacker, "Bull Rush: Failure");
        CombatAction.endedActionCode = kActionBullRush;
        FinishActionAfterFailure();
        Phase() = -1;
        return;
      }
      PlayCombatSound(kSoundHit, -1, kHitVariantAutomatic, 0);
      LogMessage("(Success)\r");
      if (CombatAction.playerControlled == 0) ShowFloatingText(attacker, "Bull Rush: Success");
    }
    Phase() = 1;
    return;
  }
  const int f = a.facing;
  if (phase >= 1 && phase < kPhaseMoved) {
    // The push needs room: with none left, nobody moves.
    if (phase == 1 && !PushIsFree(attacker, target)) {
      EndBullRush();
      return;
    }
    if (f >= 1 && f <= 8) {
      a.pixelX += kDx[f], a.pixelY += kDy[f];
      t.pixelX += kDx[f], t.pixelY += kDy[f];
    }
    ++Phase();
    return;
  }
  if (phase == kPhaseMoved) {
    if (!PushIsFree(attacker, target)) {
      SnapToSquare(a);
      SnapToSquare(t);
      EndBullRush();
      return;
    }
    MoveOneSquare(t, f);
    MoveOneSquare(a, f);
    Phase() = kPhaseEnd;
    if (DebugMode == 1) LogMessage("g_ProcessingAttackNumber switched to 99 #1 ");
    return;
  }
  if (phase == kPhaseEnd) {
    if (EnterSquareHazards(attacker) != 0) return;
    Phase() = kPhaseTargetHazards;
    return;
  }
  if (EnterSquareHazards(target) != 0) return;
  BreakGrappleOf(attacker, target);
  // The attacker came to its new square by its own move: a foe readied
  // against an approach next to it strikes now, as at a square of a walk
  // (the pushed creature's forced move sets off nothing).
  const int readied = ReadiedEnemyNextTo(attacker);
  if (readied != -1) {
    SavedTarget = target;
    CombatAction.reactingCreature = readied;
    Phase() = kPhaseReadiedFoe;
    return;
  }
  EndBullRush();
}

void EscapeStep() {
  const int c = CurrentFighter();
  if (!IsValidCreature(c)) {
    HandTurnBack();
    return;
  }
  if (Has(c, kCondGrappling)) {
    EscapeGrapple(c);
    return;
  }
  const int paralysis = SavableParalysis(c);
  if (paralysis >= 0) {
    EscapeParalysis(c, Creatures[c].conditions[paralysis].value);
    return;
  }
  if (Has(c, kCondStuck)) {
    ActingCreature = c;
    if (NextOpportunityAttacker()) {
      ScreenMode = kModeExploring;
      CombatState = kStateActionUnderWay;
      return;
    }
    EscapeWeb(c);
    return;
  }
  // Nothing holds the fighter (a pin left behind when its pinner fell): the
  // attempt comes to nothing and the turn passes, rather than the order
  // standing for ever or being given again.
  CombatAction.actionCode = kActionNone;
  CombatState = kStateNextFighter;
  ActionBarMode = 1;
}
