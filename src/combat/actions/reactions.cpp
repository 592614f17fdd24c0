#include "combat/actions/reactions.h"

#include "combat/actions/action_executor.h"
#include "combat/actions/turn_order_changes.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/reset_words.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

int32_t ReactorList[kReactorListSize] = {};
int32_t ReactorListPosition = 0;
ReadiedAttackWords ReadiedAttack;

namespace {

int EntryOf(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

bool IsInvisible(int creature) { return FindAnyCondition(creature, kCondInvisible, kCondGreaterInvisibility) >= 0; }

// Senses an invisible creature: by a sense that needs no sight, or truly seeing.
bool SensesInvisible(int creature) {
  const int32_t sense = Creatures[creature].special[kSenseKindWord];
  return sense == 5 || sense == 6 || HasCondition(creature, kCondTrueSeeing);
}

// The borrowed attacker and target go back to the action's own.
void GiveBackPair() {
  ActingCreature = CurrentFighter();
  ActionTarget = SavedTarget;
  ReactionPending = 0;
}

// No reactor is left: the pair is the action's again.
bool EndChain() {
  CombatAction.reactingCreature = -1;
  ActingCreature = CurrentFighter();
  ActionTarget = SavedTarget;
  ReactorListPosition = 0;
  return false;
}

// The attacks a profile allows before its first ranged or empty entry.
int32_t MeleeAttacksOf(const AttackProfile& profile) {
  int32_t total = 0;
  for (const AttackProfileEntry& e : profile.entries) {
    if (e.kind == kEntryNone || e.kind == kEntryRanged) break;
    total += e.attackCount.total;
  }
  return total;
}

// The single-target reaction: the target of the action reacts to it.
bool TargetReacts() {
  if (ReactionPending == 1) {
    GiveBackPair();
    return false;
  }
  const int target = ActionTarget;
  // No creature reacts to its own action.
  if (!IsValidCreature(target) || target == ActingCreature || !MayTakeOpportunityAttack(target, ActingCreature))
    return false;
  SavedTarget = target;
  CombatAction.reactingCreature = target;
  ReactionPending = 1;
  return true;
}

// A Cursed reactor loses its reaction on a 2 of a d2; the action goes on.
bool CurseCancels(int reactor, bool readied) {
  if (!HasCondition(reactor, kCondCursed) || RandomUpTo(1) + 1 != 2) return false;
  CombatAction.reactingCreature = -1;
  // No playback follows to carry a move's chain on: left set, the chain would
  // hand an attack of opportunity to whoever stands next to the mover after
  // its next attack, an act that provokes none.
  ContinueOpportunityChain = 0;
  ShowFloatingText(reactor, "Cursed");
  if (readied) {
    LogMessage("\xA3%s\xA3 is @CURSED@ and loses his readied action.\r", Creatures[reactor].name);
    CancelReadiedAction(reactor);
  } else {
    LogMessage("\xA3%.15s\xA3 - No @AOO@ : @CURSED@.\r", Creatures[reactor].name);
  }
  const int32_t code = CombatAction.actionCode;
  if (SpellInProgress != -1) {
    MissileFrame(SpellCaster, MapCursorX, MapCursorY);
    ScreenMode = kModeCastChecks;
    CombatAction.actionCode = kActionNone;
    CombatState = kStatePlayerTurn;
  } else if (code == kActionEscape || code == kActionInventory || code == kActionReload || code == kActionAlarm) {
    CombatState = kStatePlayerTurn;
  }
  return true;
}

void RefreshPair(int reactor, int mover) {
  RemoveCondition(reactor, kCondInvisible);
  RecomputeCreature(reactor, 0);
  RecomputeCreature(mover, 0);
  static AttackProfile profile;
  BuildAttackProfile(&profile, reactor, 0, mover, 0, 0);
  ReadiedAttack.allowed = MeleeAttacksOf(profile);
}

void OpportunityAttack(int reactor, int mover) {
  LogMessage("\xA3%.15s\xA3 gets @AOO@ against \xA3%.15s\xA3.\r", Creatures[reactor].name, Creatures[mover].name);
  RefreshPair(reactor, mover);
  ResolveAttack(reactor, mover, 0, 0, 0, 0, 0, nullptr);
  --Creatures[reactor].attacksOfOpportunityLeft;
  CombatAction.reactingCreature = kReactorPlayback;
}

void ReadiedAttackOn(int reactor, int mover) {
  MoveTurnBefore(reactor, mover, mover);
  const int index = EntryOf(reactor);
  if (index < 0) {
    CombatAction.reactingCreature = -1;
    return;
  }
  TurnOrderEntry& entry = TurnOrder[index];
  if (entry.plannedTarget == 0) {
    ShowFloatingText(reactor, "Ready Versus Approach");
    ReadiedAttack.underway = 1;
    ReadiedAttack.made = 0;
    LogMessage("\xA3%s\xA3 uses ready action, attacks \xA3%.15s\xA3.\r", Creatures[reactor].name, Creatures[mover].name);
    RefreshPair(reactor, mover);
    entry.plannedTarget = 0;
    entry.plannedParameter = 0;
  }
  const int profileEntry = entry.plannedParameter >= 0 && entry.plannedParameter < kAttackProfileEntries
                               ? entry.plannedParameter
                               : 0;
  ResolveAttack(reactor, mover, profileEntry, 0, 0, 0, 0, nullptr);
  ++ReadiedAttack.made;
  entry.plannedTarget = kReadiedAttackUsed;
  entry.plannedAction = 0;
  CombatAction.reactingCreature = kReactorPlayback;
}

}  // namespace

bool MayTakeOpportunityAttack(int enemy, int mover) {
  if (!IsValidCreature(enemy)) return false;
  const CreatureRecord& e = Creatures[enemy];
  if (e.present != 1 || e.attacksOfOpportunityLeft < 1 || !CanCreatureAct(enemy)) return false;
  return !IsValidCreature(mover) || !IsInvisible(mover) || SensesInvisible(enemy);
}

bool NextOpportunityAttacker() {
  if (ReactionPending == 1) {
    GiveBackPair();
  } else {
    const int mover = ActingCreature;
    if (!IsValidCreature(mover)) {
      ReactorListPosition = 0;
      return false;
    }
    SavedTarget = ActionTarget;
    if (!HasAdjacentEnemy(mover)) {
      ReactorListPosition = 0;
      return false;
    }
    ListAdjacentEnemies(mover, 0);
    int listed = 0;
    for (int32_t& id : ReactorList) id = -1;
    for (int i = 0; i < kAdjacentListSize && AdjacentCreatureList[i] != -1; ++i)
      if (CanCreatureAct(AdjacentCreatureList[i]) && listed < kReactorListSize)
        ReactorList[listed++] = AdjacentCreatureList[i];
    ReactorListPosition = 0;
    if (listed == 0) return false;
  }
  // The next listed enemy still able to react; one that cannot see an
  // invisible mover does not react. A reactor is an enemy of the mover, never
  // the mover itself (a list left over from another actor's action may name it).
  const int mover = ActingCreature;
  for (int i = ReactorListPosition; i < kReactorListSize; ++i) {
    const int reactor = ReactorList[i];
    if (reactor == -1 || !AreEnemies(mover, reactor) || !MayTakeOpportunityAttack(reactor, mover)) continue;
    CombatAction.reactingCreature = reactor;
    ReactorListPosition = i + 1;
    ReactionPending = 1;
    return true;
  }
  return EndChain();
}

bool TargetMayReactToGrapple() { return TargetReacts(); }

bool TargetMayReactToUnarmedAttack() {
  if (ReactionPending == 1) {
    GiveBackPair();
    return false;
  }
  if (!HasCondition(ActingCreature, kCondUnarmed)) return false;
  return TargetReacts();
}

int CountOpportunityAttackers() {
  const int mover = ActingCreature;
  if (!IsValidCreature(mover) || !ListAdjacentEnemies(mover, 0)) return 0;
  int count = 0;
  for (int i = 0; i < kAdjacentListSize && AdjacentCreatureList[i] != -1; ++i)
    if (MayTakeOpportunityAttack(AdjacentCreatureList[i], mover)) ++count;
  return count;
}

bool HasOpportunityAttacker() { return CountOpportunityAttackers() > 0; }

void ReactionStep() {
  const int reactor = CombatAction.reactingCreature;
  const int mover = CurrentFighter();
  // Whoever named it, a reactor is never the creature it reacts to.
  if (!IsValidCreature(reactor) || !IsValidCreature(mover) || reactor == mover) {
    CombatAction.reactingCreature = -1;
    return;
  }
  // A move's reactions borrow the pair as well: the target of the move's
  // order is kept, to be given back when the move goes on.
  const int32_t code = CombatAction.actionCode;
  if (IsMoveAction(code) && ActionTarget != mover) SavedTarget = ActionTarget;
  ActingCreature = reactor;
  ActionTarget = mover;
  const int entry = EntryOf(reactor);
  const bool readied = entry >= 0 && TurnOrder[entry].plannedAction == kReadiedVersusApproach;
  if (CurseCancels(reactor, readied)) return;
  if (readied)
    ReadiedAttackOn(reactor, mover);
  else
    OpportunityAttack(reactor, mover);
}

void ResetReactionsState() {
  ResetWords(ReactorList);
  ReactorListPosition = 0;
  ResetWords(ReadiedAttack);
}
