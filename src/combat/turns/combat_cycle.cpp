#include "combat/turns/combat_cycle.h"
#include "state/camera.h"

#include <algorithm>
#include <iterator>

#include "combat/actions/action_executor.h"
#include "combat/actions/casting_checks.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/reactions.h"
#include "state/turn_order.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_choice.h"
#include "combat/turns/spell_search.h"
#include "map/fighter_tests.h"
#include "combat/turns/turn_planning.h"
#include "combat/turns/turn_routines.h"
#include "combat/turns/turn_upkeep.h"
#include "combat/turns/valuation_grid.h"
#include "state/fighter_slots.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/map_switching.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "engine/game_speeds.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/map_view_state.h"
#include "map/map_view.h"
#include "state/queued_actions.h"

uint8_t CombatPause = 0;
uint8_t CombatPauseSecond = 0;
uint8_t& AiPause = CombatPause;
uint8_t& MovementPlaybackActive = ViewScrolling;
uint8_t SurpriseRound = 0;
uint8_t PathPreviewValid = 0;
int32_t CombatRoundNumber = 0;
void (*ComputerDecisionObserver)(bool before) = nullptr;

namespace {

constexpr int kBattleMusic = 9;
constexpr int32_t kEndOfAction = 13;
constexpr int32_t kSoundEffect = 38;
constexpr uint32_t kScreenCasting = 22;
constexpr int kSpellWithKeptValue = 27;

// The player's turn has had its first scroll to the fighter.
bool g_playerTurnShown = false;

int EntryCount() {
  if (TurnEntryCount < 0) return 0;
  return TurnEntryCount > kTurnOrderEntries ? kTurnOrderEntries : TurnEntryCount;
}

const char* Name(int c) { return Creatures[c].name; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }
int32_t ReadyMode() { return ReadyModeFlag == 0 ? 2 : 1; }

void RefillOpportunityAttacks(int creature) {
  Creatures[creature].attacksOfOpportunityLeft = Creatures[creature].attacksOfOpportunity;
}

void ClearHeldAction(TurnOrderEntry& e) {
  e.plannedAction = 0;
  e.plannedTarget = 0;
  e.plannedParameter = 0;
  e.triggerCreature = -1;
}

bool TakesPlayersOrders(int creature) {
  return Creatures[creature].allegiance == 1 && !Has(creature, kCondControlled) && !Has(creature, kCondDominated);
}

// --- Start of combat and end of round ------------------------------------------

void BeginBattle() {
  if (OptionWords[kOptionBattleMusic] == 1) SwitchMusicTrack(kBattleMusic, 0, 0);
  UpdatePartyAreaCondition();
  ClearSharedGroupFlags();
  for (int s = 0; s < kPartySize; ++s) FighterSlots[s].alert = 1;
  CurrentTurnIndex = -1;
  CombatRoundNumber = 1;
  ExploringScriptFlag = 0;
  SurpriseRound = 0;
  for (int i = 0; i < EntryCount(); ++i) {
    TurnOrderEntry& e = TurnOrder[i];
    if (!IsValidCreature(e.creature)) continue;
    RemoveCondition(e.creature, kCondAlarmed);
    RecomputeCreature(e.creature, 0);
    if (Has(e.creature, kCondSurprised)) SurpriseRound = 1;
    e.joinedThisRound = e.threatMark = e.opportunityMark = 0;
    e.plannedAction = e.plannedTarget = e.plannedParameter = 0;
    RefillOpportunityAttacks(e.creature);
  }
  CombatState = kStateNextFighter;
}

// Counts down the magic areas by a round; true when a darkness ended.
bool AgeMagicAreas(bool* anyEnded) {
  bool darknessEnded = false;
  for (SquareEffectCell& cell : MagicAreaGrid) {
    if (cell.kind == kEffectNone || cell.roundsLeft == 1000) continue;
    if (cell.roundsLeft > 1) {
      --cell.roundsLeft;
      continue;
    }
    if (cell.kind == kEffectDarkness) darknessEnded = true;
    cell = {};
    *anyEnded = true;
  }
  return darknessEnded;
}

void EndRound() {
  ++CombatRoundNumber;
  SurpriseRound = 0;
  bool anyEnded = false;
  const bool darknessEnded = AgeMagicAreas(&anyEnded);
  if (anyEnded) {
    for (int i = 0; i < EntryCount(); ++i) {
      const int c = TurnOrder[i].creature;
      if (!IsValidCreature(c)) continue;
      int taken = 0;
      if (!IsInMagicArea(c, kEffectWeb)) taken += RemoveCondition(c, kCondStuck);
      if (!IsInMagicArea(c, kEffectEntangle) && !IsInMagicArea(c, kEffectWeb))
        taken += RemoveCondition(c, kCondEntangled);
      if (!IsInMagicArea(c, kEffectFire)) taken += RemoveCondition(c, kCondBurning);
      if (!IsInMagicArea(c, kEffectInsectPlague)) taken += RemoveCondition(c, kCondPlagued);
      if (!IsInMagicArea(c, kEffectSilence)) taken += RemoveCondition(c, kCondSilenced);
      if (!IsInMagicArea(c, kEffectDarkness)) {
        taken += RemoveCondition(c, kCondCantSee);
        taken += RemoveCondition(c, kCondConcealedByDarkness);
      }
      // A condition the area's end took away counts at once: a creature the
      // hold paralysed by its Dexterity is free before its own turn (to make
      // its attacks of opportunity, and to be no defenceless target).
      if (taken > 0) RecomputeCreature(c, 0);
    }
    if (darknessEnded) BuildMapVisibility();
  }
  for (int i = 0; i < EntryCount(); ++i) TurnOrder[i].joinedThisRound = 0;
  CurrentTurnIndex = -1;
  CombatState = kStateNextFighter;
}

// --- Next fighter ----------------------------------------------------------------

// The spell words and the source of the cast (none under way).
void DropCastingWords() {
  ClearCurrentSpell();
  CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = 0;
  CastingItem = 0;
}

void ResetTurnGlobals() {
  RestoreSelectedFighterValue();
  DropCastingWords();
  g_playerTurnShown = false;
  QueuedActionCode = QueuedScreenMode = QueuedCombatState = -1;
  CombatAction.actionCode = 0;
  CombatAction.endedActionCode = 0;
  CombatAction.reactingCreature = -1;
  // The focus creature is the next fighter's own readied target, if any.
  DisruptionTarget = -1;
  // No reaction outlives the turn it was made in: a chain whose actor fell
  // to a reaction is over, and the next actor starts its own.
  ReactionPending = 0;
  ContinueOpportunityChain = 0;
  ReactorListPosition = 0;
  CombatAction.movementProvokes = 0;
  RefusedOrdersThisTurn = 0;
  for (int i = 0; i < EntryCount(); ++i)
    if (IsValidCreature(TurnOrder[i].creature)) CreatureMarkWords[TurnOrder[i].creature] = 0;
  if (DebugMode == 1) LogMessage("Processing Next Fighter...\r");
}

void PrepareFighter(int creature) {
  RemoveCondition(creature, kCondCharging);
  RecomputeCreature(creature, 0);
  BuildOccupancyGrids(creature);
  SaveSelectedFighterValue();
  ClearCombatEvents();
  ReleaseFriendlyGrapple(creature);
  CombatActionState& a = CombatAction;
  a.attackCounter = a.currentProfileEntry = 0;
  a.meleeAttacksMade = a.shotsMade = 0;
  a.attackSequenceOpen = a.shootingSequenceOpen = 0;
  a.fiveFootStepTaken = 0;
  a.inventoryOpenedThisTurn = 0;
  // The turn starts with no Cleave pending: a Cleave is struck in the order
  // whose kill earned it, never as an attack of the next fighter.
  g_Cleaving = -1;
  GrappleSequenceOpen = 0;
  GrappleAttacksMade = 0;
  // A grapple that ended on an earlier turn no longer keeps this fighter's
  // full attack open past its last attack.
  GrappleAttackEnded = 0;
  a.selectedAction = -1;
  a.cleaveUsed = 0;
  a.useSpells = 1;
  a.scriptedSpell = -1;
  a.moved = 0;
  a.moveAgain = 0;
  a.grappleAttack = 0;
  a.seekCastingSquare = 0;
  CpuMoveIssued = 0;
  SpellsGivenUpThisTurn = 0;
  ResetTacticalPredicatesState();
  for (int i = 0; i < EntryCount(); ++i) TurnOrder[i].opportunityMark = 0;
  CountGrapplingAttacks();
}

void StartEventOn(int creature, int32_t type) {
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{};
  CombatEvents[0].type = type;
  CombatEvents[0].creature = creature;
  CombatEvents[0].sound = kSoundEffect;
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
}

// A readied action against spellcasting goes off at the start of the
// readier's entry; after its event the fighter acts at once.
void ReleaseReadiedAction(TurnOrderEntry& e, int creature) {
  CombatActionState& a = CombatAction;
  const int32_t code = e.plannedAction;
  a.fullRoundActionLeft = 0;
  a.standardActionLeft = 1;
  a.moveActionLeft = 1;
  a.movesLeft = Creatures[creature].speed.current;
  a.singleActionTurn = 1;
  if (code == 22) {
    a.fiveFootStepLeft = 0;
    a.movementClosed = 1;
  } else {
    a.fiveFootStepLeft = 1;
    a.fiveFootStepAllowed = CanTakeFiveFootStep(creature) ? 1 : 0;
    a.movementClosed = 0;
  }
  ClearHeldAction(e);
  a.reactingCreature = -1;
  ShowFloatingText(creature, "Ready Versus Spell");
  LogMessage("\xA3%s\xA3: ready action triggered.\r\r", Name(creature));
  StartEventOn(creature, kEventFreed);
  CreatureMarkWords[creature] = 1;
  HighlightTimer = 100;
  ScrollTo(creature, -1, -1);
  a.playerControlled = TakesPlayersOrders(creature) ? 1 : 0;
  a.actionCode = kEndOfAction;
  a.endedActionCode = 25;
  ScreenMode = 0;
  CombatState = kStateActionUnderWay;
  QueuedActionCode = QueuedScreenMode = -1;
  ReplanAfterReadiedAction(creature);
  QueuedCombatState = a.playerControlled ? kStatePlayerTurn : kStateComputerDecision;
  ActionBarMode = a.playerControlled ? ReadyMode() : 1;
}

// A casting begun in an earlier turn goes on (or is disrupted) now.
void ResumeCasting(TurnOrderEntry& e, int creature) {
  const int32_t code = e.plannedAction;
  LogMessage("\xA3%s\xA3 resumes spellcasting\r", Name(creature));
  const int32_t spell = e.plannedTarget;
  SpellInProgress = spell;
  // The casting parameter kept with the entry is the cast's metamagic.
  CastingParameter = e.plannedParameter;
  PendingMetamagic = e.plannedParameter;
  if (spell == kSpellWithKeptValue) CastingExtraValue[0] = e.extraValue1;
  if (IsGroupSpell10(spell)) CastingExtraValue[1] = e.extraValue2;
  // The source of the cast: 25 (28) innate, 26 (29) a wand, 30 (31) a
  // scroll, which also comes back with the scripted-spell words; the codes
  // in brackets bring the saved block back too.
  const bool wand = code == 26 || code == 29;
  const bool scroll = code == 30 || code == 31;
  const bool fromItem = wand || scroll;
  CastingSpellLike = code == 25 || code == 28;
  CastingWand = wand;
  CastingScripted = scroll;
  CombatActionState& a = CombatAction;
  if (code == 30) a.scriptedSpell = Creatures[creature].scriptWords[kScriptWordFirstSpell];
  // Codes 27 to 31 give the caster back its turn as it stood when the
  // casting yielded; the others (and a casting whose block was not kept)
  // spend the turn.
  const int32_t index = CurrentTurnIndex;
  const bool kept = code >= 27 && code <= 31 && TakeHeldCastingAction(creature, &CombatAction);
  CurrentTurnIndex = index;
  if (!kept) {
    a.moveActionLeft = a.fullRoundActionLeft = a.standardActionLeft = 0;
    a.movementClosed = 1;
    a.movesLeft = Creatures[creature].speed.current;
    a.fiveFootStepLeft = 0;
  }
  ClearHeldAction(e);
  a.playerControlled = TakesPlayersOrders(creature) ? 1 : 0;
  ScrollTo(creature, -1, -1);
  const bool inTable = spell >= 0 && spell < kSpellRows;
  // The casting goes on as it began (stilled, a wand or a scroll in hand)
  // while the caster's conditions allow it.
  if (inTable && IsCastingDisrupted(creature, spell, PendingMetamagic, fromItem)) {
    LogMessage("\xA3%s\xA3: Spellcasting Disrupted.\r\r", Name(creature));
    ShowFloatingText(creature, "Spellcasting Disrupted");
    DropCastingWords();
    CastingLost = kCastingLostDisrupted;
    StartEventOn(creature, kEventCondition);
    a.actionCode = kEndOfAction;
    a.endedActionCode = 28;
    ScreenMode = 0;
    CombatState = kStateActionUnderWay;
    QueuedCombatState = kStateNextFighter;
    ActionBarMode = a.playerControlled ? ReadyMode() : 1;
    return;
  }
  SpellCaster = creature;
  // Its source was spent when the casting was first begun: the casting
  // steps test for readied enemies again and spend nothing.
  CastResumed = 1;
  // Cast from an item it stays, for the later checks, the costs, the banner
  // and another yield; the wand in the fighter's hand is named as the source
  // (no charge comes off it again), the scroll was read already.
  if (fromItem) CastingFromItem = 1;
  if (wand) CastingItem = WandItemOf(creature);
  ScreenMode = kScreenCasting;
  CombatState = kStateActionUnderWay;
}

enum class NextStep { kRestart, kStartOfTurn, kReturn };

// Takes the next entries until one can take its turn, or the round ends.
NextStep NextFighter() {
  for (;;) {
    ResetTurnGlobals();
    ++CurrentTurnIndex;
    if (CurrentTurnIndex < 0) CurrentTurnIndex = 0;
    if (CurrentTurnIndex >= EntryCount()) {
      CombatState = kStateEndOfRound;
      return NextStep::kRestart;
    }
    TurnOrderEntry& e = TurnOrder[CurrentTurnIndex];
    const int c = e.creature;
    if (!IsValidCreature(c)) continue;
    if (DebugMode == 1) LogMessage("\xA3%i\xA3 - \xA3%s\xA3\r", CurrentTurnIndex, Name(c));
    PrepareFighter(c);
    InitiativeAutoScroll = 1;
    ++TurnsBegun;
    const int32_t held = e.plannedAction;
    if (held == 22 || held == 23) {
      DisruptionTarget = e.triggerCreature;
      if (IsCreatureActionQueued(e.triggerCreature)) {
        ReleaseReadiedAction(e, c);
        return NextStep::kReturn;
      }
      DisruptionTarget = -1;
    }
    const bool casting = held >= 24 && held <= 31;
    if (!casting) {
      ClearHeldAction(e);
      e.threatMark = e.opportunityMark = 0;
      e.extraValue1 = 0;
    }
    // A held casting resumes in the round its turn began in, whose start
    // counted the conditions down and refilled the attacks of opportunity.
    if (e.joinedThisRound == 0 && !casting) {
      CountDownConditions(c);
      RefillOpportunityAttacks(c);
    }
    if (casting) {
      ResumeCasting(e, c);
      return NextStep::kReturn;
    }
    PlanFighterTurn(c);
    if (FindAnyCondition(c, kCondDead, kCondPetrified, kCondUnconscious) >= 0) continue;
    CombatActionState& a = CombatAction;
    a.playerControlled = !Has(c, kCondDancing) && TakesPlayersOrders(c) ? 1 : 0;
    if (FindAnyCondition(c, kCondConfused, kCondInsane) >= 0 && !(a.confusionRoll >= 11 && a.confusionRoll <= 20))
      a.playerControlled = 0;
    a.movesLeft = 2 * Creatures[c].speed.current;
    for (uint8_t& b : TurnStepDone) b = 0;
    CombatState = kStateStartOfTurn;
    return NextStep::kStartOfTurn;
  }
}

// --- Start of turn -----------------------------------------------------------------

// One frame of the events the upkeep queued.
void PlaybackWait() {
  if (MovementPlaybackActive == 1) return;
  if (--PlaybackFramesLeft > 0) return;
  RunDeathScript();
  const uint32_t shownIndex = CombatEventReadIndex < kCombatEventCount ? CombatEventReadIndex : 0;
  const CombatEvent shown = CombatEvents[shownIndex];
  ++CombatEventReadIndex;
  // A death shown takes its creature off the map.
  if (shown.type == kEventDeath && IsValidCreature(shown.creature)) Creatures[shown.creature].present = 0;
  if (CombatEventReadIndex < kCombatEventCount && !IsEmptyCombatEvent(CombatEvents[CombatEventReadIndex])) {
    PlaybackFramesLeft = FramesPerEvent;
    return;
  }
  PlaybackCreature = -1;
  CombatAction.reactingCreature = -1;
  if (ActorFellDuringReaction == 1) {
    ActorFellDuringReaction = 0;
    CombatAction.actionCode = 0;
    CombatState = kStateNextFighter;
    ActionBarMode = 1;
  }
  CheckEndOfCombat();
}

void BeginActing(int creature) {
  if (CombatAction.playerControlled == 1) {
    if (DebugMode == 1) LogMessage("Character is player controlled (Cycle1).\r");
    CreatureMarkWords[creature] = 1;
    HighlightTimer = 100;
    ActionBarMode = ReadyMode();
    CombatState = kStatePlayerTurn;
  } else {
    if (DebugMode == 1) LogMessage("Character is computer controlled.\r");
    ActionBarMode = 1;
    CombatState = kStateComputerDecision;
  }
  StrictScrollTo(creature, -1, -1);
}

void PlayerTurnStep() {
  if (MovementPlaybackActive == 1) return;
  const CombatActionState& a = CombatAction;
  if (!g_playerTurnShown && a.actionCode == 0) {
    g_playerTurnShown = true;
    StrictScrollTo(CurrentFighter(), -1, -1);
    return;
  }
  // The path preview to the hovered square is the map view's mouse's: it
  // searches the path once per square and state of the turn.
}

void ComputerDecisionStep() {
  if (MovementPlaybackActive == 1) return;
  const int c = CurrentFighter();
  if (DebugMode == 1 && IsValidCreature(c)) LogMessage("%s is acting.\r", Name(c));
  std::fill(std::begin(ValuationGrid), std::end(ValuationGrid), 0);
  if (CheckEndOfCombat()) return;
  if (ComputerDecisionObserver != nullptr) ComputerDecisionObserver(true);
  DecideComputerAction();
  if (ComputerDecisionObserver != nullptr) ComputerDecisionObserver(false);
}

}  // namespace

int CombatCycle() {
  if (SpellInProgress != -1) return 1;
  // A round in which nobody could take a turn ends the call: the end of the
  // battle is tested and the next frame tries again.
  int roundsEnded = 0;
  int turnsBegun = 0;
  for (;;) {
    if (CombatState == kStateStartOfCombat) BeginBattle();
    if (CombatState == kStatePlayerTurn) {
      PlayerTurnStep();
      return 1;
    }
    if (CombatState == kStateEndOfRound) {
      if (roundsEnded > 0 && turnsBegun == 0) {
        CheckEndOfCombat();
        return 1;
      }
      ++roundsEnded;
      turnsBegun = 0;
      EndRound();
    }
    if (CombatState == kStateNextFighter) {
      if (MovementPlaybackActive == 1) return 1;
      const NextStep step = NextFighter();
      if (step == NextStep::kRestart) continue;
      if (step == NextStep::kReturn) return 1;
      ++turnsBegun;
    }
    if (CombatState == kStateStartOfTurn) {
      const int c = CurrentFighter();
      if (PlaybackCreature != -1) {
        PlaybackWait();
        return 1;
      }
      const bool joined = CurrentTurnIndex >= 0 && TurnOrder[CurrentTurnIndex].joinedThisRound == 1;
      switch (RunTurnUpkeep(c, joined)) {
        case UpkeepResult::kShowing:
        case UpkeepResult::kCombatOver:
          return 1;
        case UpkeepResult::kTurnLost:
          CombatState = kStateNextFighter;
          continue;
        case UpkeepResult::kDone:
          BeginActing(c);
          continue;
      }
    }
    if (CombatState == kStateComputerDecision) ComputerDecisionStep();
    return 1;
  }
}

void ResetCombatCycleState() {
  CombatPause = 0;
  CombatPauseSecond = 0;
  SurpriseRound = 0;
  PathPreviewValid = 0;
  CombatRoundNumber = 0;
  g_playerTurnShown = false;
}
