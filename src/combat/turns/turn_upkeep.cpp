#include "combat/turns/turn_upkeep.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/combat_actions.h"
#include "rules/creature_forms.h"
#include "combat/actions/displacement.h"
#include "state/fighter_slots.h"
#include "rules/area_conditions.h"
#include "combat/turns/combat_cycle.h"
#include "rules/combat_roll_log.h"
#include "map/fighter_tests.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/square_grids.h"
#include "rules/dice.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "engine/game_speeds.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "map/map_view.h"

uint8_t TurnStepDone[kTurnSteps] = {};
uint8_t& TurnLost = TurnStepDone[kStepTurnLost];

void ResetTurnUpkeepState() {
  for (uint8_t& b : TurnStepDone) b = 0;
}

namespace {

constexpr int32_t kSoundEffect = 38;
constexpr int32_t kSoundCantAct = 35;
constexpr int32_t kSoundAcid = 50;
constexpr int32_t kSoundBleeding = 42;
constexpr int32_t kSoundRegeneration = 41;
constexpr int32_t kSoundFire = 48;
constexpr int32_t kAcidHelp = 61068;
constexpr int32_t kBrazierHelp = 62023;
constexpr int32_t kWallOfFireHelp = 51054;
constexpr uint32_t kLastConditionId = 683;
constexpr uint32_t kFirstLongNamedCondition = 171;
constexpr int32_t kPolymorphLargeForm = 42;
constexpr int kSenseOncePerTurn = 8;

CreatureRecord& Rec(int c) { return Creatures[c]; }
const char* Name(int c) { return Creatures[c].name; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

bool Done(TurnStep step) { return TurnStepDone[step] != 0; }
void MarkDone(TurnStep step) { TurnStepDone[step] = 1; }

void QueueEvent(int creature, int32_t type, int32_t value, int32_t sound) {
  CombatEvent& e = CombatEvents[0];
  e = CombatEvent{};
  e.type = type;
  e.value = value;
  e.creature = creature;
  e.sound = sound;
}

UpkeepResult StartPlayback(int creature) {
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
  ScrollTo(creature, -1, -1);
  return UpkeepResult::kShowing;
}

// --- Expired conditions ------------------------------------------------------

void LostEffectText(int creature, uint32_t id) {
  char text[32];
  if (id < kFirstLongNamedCondition)
    std::snprintf(text, sizeof text, "Lost effect (%.14s)", ConditionName(id));
  else
    std::snprintf(text, sizeof text, "Lost effect (%.15s)", ConditionName(id));
  ShowFloatingText(creature, text);
}

// Room for the natural form's footprint; false when it cannot be made.
bool MakeRoomForNaturalForm(int creature, bool onlyWhenLarger) {
  const CreatureRecord& c = Rec(creature);
  const int slot = c.fighterSlot;
  if (slot < 0 || slot >= kFighterSlots) return true;
  const SavedNaturalForm& form = FighterSlots[slot].savedForm;
  const int w = form.footprintWidth[0], h = form.footprintHeight[0];
  if (w < 1 || h < 1) return true;
  const bool differs = w != c.footprintWidth.current || h != c.footprintHeight.current;
  const bool larger = w > c.footprintWidth.current || h > c.footprintHeight.current;
  if (!(onlyWhenLarger ? larger : differs)) return true;
  return NudgeOrDisplace(creature, w, h);
}

// Clears the expired entry (when an ending routine has not already taken it)
// and closes the gap.
void ClearExpiredEntry(int creature, int index, uint32_t id) {
  ConditionEntry& e = Rec(creature).conditions[index];
  if (e.id == id && e.duration <= 0) e = ConditionEntry{};
  CompactConditions(creature);
}

// Ends the first expired conditions; kShowing while an ending is announced.
bool EndExpiredConditions(int creature, UpkeepResult* result) {
  ConditionEntry* list = Rec(creature).conditions;
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry e = list[i];
    if (e.id < 1 || e.id > kLastConditionId || e.duration > 0) continue;
    switch (e.id) {
      case kCondSummonedCreature:
        Rec(creature).hitPoints = 0;
        QueueEvent(creature, kEventFormEnds, 0, kSoundEffect);
        *result = StartPlayback(creature);
        RemoveFromCombat(creature, -1);
        RecomputeCreature(creature, 0);
        return true;
      case kCondIronBody:
        EndIronBody(creature);
        QueueEvent(creature, kEventFormEnds, 0, kSoundEffect);
        break;
      case kCondTransformation:
        RemoveCondition(creature, kCondTransformation);
        RecomputeCreature(creature, 0);
        break;
      case kCondPolymorphed:
        if (e.value == kPolymorphLargeForm && !MakeRoomForNaturalForm(creature, true)) {
          list[i].duration = 1;  // tried again next turn
          continue;
        }
        EndPolymorph(creature);
        QueueEvent(creature, kEventFormEnds, 0, kSoundEffect);
        break;
      case kCondEnlarged:
      case kCondRighteousMight:
        QueueEvent(creature, kEventShrink, 0, 0);
        ReduceCarriedItems(creature);
        break;
      case kCondReduced:
        if (!MakeRoomForNaturalForm(creature, false)) {
          list[i].duration = 1;
          continue;
        }
        QueueEvent(creature, kEventGrow, 0, 0);
        EnlargeCarriedItems(creature);
        break;
      default:
        break;
    }
    ClearExpiredEntry(creature, i, e.id);
    if (e.source == kSourceMagicArea) {
      --i;  // the entries behind have moved up one place
      continue;
    }
    if (e.id != kCondLoweredAcCharge) LostEffectText(creature, e.id);
    if (e.source == kSourceSpell) LogMessage("\xA3%s\xA3 loses effect: \xA3%.15s\xA3.\r\r", Name(creature), ConditionName(e.id));
    if (e.id == kCondConfused || e.id == kCondInsane || e.id == kCondDominated || e.id == kCondControlled)
      ReleaseFriendlyGrapple(creature);
    if (IsEmptyCombatEvent(CombatEvents[0])) QueueEvent(creature, kEventFreed, 0, kSoundEffect);
    *result = StartPlayback(creature);
    RecomputeCreature(creature, 0);
    return true;
  }
  MarkDone(kStepExpiredConditions);
  RecomputeCreature(creature, 0);
  return false;
}

// --- Damage and healing over time -------------------------------------------

UpkeepResult TakeDamage(int creature, int damage, int32_t event, int32_t sound) {
  QueueEvent(creature, event, damage, sound);
  const UpkeepResult r = StartPlayback(creature);
  RemoveFromCombat(creature, -1);
  RecomputeCreature(creature, 0);
  return r;
}

void StartRollList(ModifierList& list, const char* caption, int32_t help) {
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "%s", caption);
  list.helpTopic = help;
}

UpkeepResult AcidBurns(int creature, const ConditionEntry& acid) {
  ModifierList list;
  StartRollList(list, "Acid Burns Damage", kAcidHelp);
  DiceRollList = &list;
  if (acid.value == 1) {
    AddModifier(4, &list, kSrcMetamagicMaximise);
  } else {
    RollDice(4, 1, 0, 0);
    if (acid.value == 2) AddModifier(list.total / 2, &list, kSrcMetamagicEmpower);
  }
  DiceRollList = nullptr;
  const int code = ImmunityCodeOf(Rec(creature), kImmAcid);
  if (code == kImmunityWeakness) AddModifier(list.total / 2, &list, kSrcRacialWeaknessAcid);
  if (code == kImmunitySeriousWeakness) AddModifier(list.total, &list, kSrcSeriousWeaknessAcid);
  if (code == kImmunityResistance) AddModifier(-(list.total / 2), &list, kSrcResistanceAcid);
  const int damage = list.total;
  Rec(creature).hitPoints -= damage;
  const int index = StoreCombatRoll(list);
  LogMessage("\xA3%s\xA3 loses @%i|%.2i@ hit points.\r\r", Name(creature), damage, index);
  return TakeDamage(creature, damage, kEventAcidDamage, kSoundAcid);
}

// A Grappling fighter's pin ends at the start of its turn.
bool ReleasePin(int creature, UpkeepResult* result) {
  const int grappling = FindCondition(creature, kCondGrappling);
  if (grappling < 0) return false;
  const int held = Rec(creature).conditions[grappling].value;
  if (!IsValidCreature(held) || !Has(held, kCondPinned)) return false;
  RemoveCondition(held, kCondPinned);
  LostEffectText(held, kCondPinned);
  QueueEvent(held, kEventFreed, 0, kSoundEffect);
  *result = StartPlayback(held);
  RecomputeCreature(held, 0);
  return true;
}

UpkeepResult Bleed(int creature, int32_t amount) {
  Rec(creature).hitPoints -= amount;
  LogMessage("@BLEEDING@: \xA3%s\xA3 loses \xA3%i\xA3 @HP@.\r\r", Name(creature), amount);
  return TakeDamage(creature, amount, kEventBleedingDamage, kSoundBleeding);
}

bool Regenerate(int creature, UpkeepResult* result) {
  CreatureRecord& c = Rec(creature);
  const int32_t rate = c.special[kSpecialRegeneration];
  if (rate <= 0 || c.hitPoints >= c.maxHitPoints) return false;
  const int gain = std::min(rate, c.maxHitPoints - c.hitPoints);
  c.hitPoints += gain;
  LogMessage("@REGENERATION@ : \xA3%s\xA3 recovers \xA3%i\xA3 hit points.\r\r", c.name, gain);
  QueueEvent(creature, kEventHealed, gain, kSoundRegeneration);
  *result = StartPlayback(creature);
  RecomputeCreature(creature, 0);
  return true;
}

// --- Conditions that forbid acting ------------------------------------------

struct CantActTest {
  TurnStep step;
  uint32_t condition;
  const char* text;
  const char* line;
};
constexpr CantActTest kCantAct[] = {
    {kStepSleeping, kCondSleeping, "Cant Act (Sleeping)", "\xA3%s\xA3 is @SLEEPING@ and can't act.\r\r"},
    {kStepStunned, kCondStunned, "Cant Act (Stunned)", "\xA3%s\xA3 is @STUNNED@ and can't act.\r\r"},
    {kStepCowering, kCondCowering, "Cant Act (Cowering)", "\xA3%s\xA3 is @COWERING@ and can't act.\r\r"},
    {kStepDazed, kCondDazed, "Cant Act (Dazed)", "\xA3%s\xA3 is @DAZED@ and can't act.\r\r"},
    {kStepCursed, kCondCursed, "Cant Act (Cursed)", "\xA3%s\xA3 is @CURSED@ and can't act.\r\r"},
};

bool IsConfusedOrInsane(int creature) { return FindAnyCondition(creature, kCondConfused, kCondInsane) >= 0; }

UpkeepResult LoseTurnShowing(int creature, const char* text) {
  TurnLost = 1;
  ShowFloatingText(creature, text);
  QueueEvent(creature, 0, 0, kSoundCantAct);
  return StartPlayback(creature);
}

// The can't-act tests in their order; true while a lost turn is shown.
bool TestCantAct(int creature, UpkeepResult* result) {
  for (const CantActTest& t : kCantAct) {
    if (Done(t.step)) continue;
    MarkDone(t.step);
    if (!Has(creature, t.condition)) continue;
    if (t.condition == kCondCursed && RandomUpTo(1) != 1) continue;
    LogMessage(t.line, Name(creature));
    *result = LoseTurnShowing(creature, t.text);
    return true;
  }
  if (!Done(kStepConfused)) {
    MarkDone(kStepConfused);
    const int roll = CombatAction.confusionRoll;
    if (IsConfusedOrInsane(creature) && roll >= 21 && roll <= 50) {
      *result = LoseTurnShowing(creature, "Cant Act (Confused)");
      return true;
    }
  }
  if (!Done(kStepSurprised)) {
    MarkDone(kStepSurprised);
    if (Has(creature, kCondSurprised)) {
      TurnLost = 1;
      LogMessage("\xA3%s\xA3 is @SURPRISED@ and can't act.\r\r", Name(creature));
      RemoveCondition(creature, kCondSurprised);
    }
  }
  return false;
}

// --- Magic areas under the fighter -------------------------------------------

// Why darkness does not blind the creature (debug mode only).
void TraceSightReason(int creature) {
  if (DebugMode != 1) return;
  const CreatureRecord& c = Rec(creature);
  const int eyes = ImmunityCodeOf(c, kImmEyes);
  if (c.sightless == 1)
    LogMessage("Darkvision\r");
  else if (eyes == 1)
    LogMessage("%s - Immunity Eyes: %i\r", c.name, eyes);
  else if (Has(creature, kCondCantSee) || Has(creature, kCondBlinded))
    LogMessage("Already has effects\r");
  else
    LogMessage("Can see through invisible\r");
}

bool DarknessStep(int creature, UpkeepResult* result) {
  const bool illuminationLost = RemoveConditionIdFromSource(creature, kCondIlluminating, kSourceSpell) > 0;
  bool blinded = false;
  if (IsSightDependent(creature, 1)) {
    AddCondition(creature, kCondCantSee, 1, 0, kSourceMagicArea, 0);
    LogMessage("\xA3%s\xA3 is @UNABLE_TO_SEE@ anything.\r", Name(creature));
    blinded = true;
  } else {
    TraceSightReason(creature);
  }
  bool concealed = false;
  if (!Has(creature, kCondConcealedByDarkness)) {
    AddCondition(creature, kCondConcealedByDarkness, 1, 50, kSourceMagicArea, 0);
    LogMessage("\xA3%s\xA3 gains @CONCEALMENT@ \xA3" "50%%\xA3.\r", Name(creature));
    concealed = true;
  }
  if (!concealed && !illuminationLost && !blinded) return false;
  RecomputeCreature(creature, 0);
  ShowFloatingText(creature, "Darkness");
  QueueEvent(creature, kEventCondition, 0, kSoundCantAct);
  *result = StartPlayback(creature);
  return true;
}

bool EntangleStep(int creature, UpkeepResult* result) {
  if (HamperingImmunityCode(creature) == 1) {
    LogMessage("\xA3%s\xA3 is immune to @ENTANGLE@.\r\r", Name(creature));
    return false;
  }
  if (Has(creature, kCondEntangled)) return false;
  LogMessage("\xA3%s\xA3 is @ENTANGLED@.\r\r", Name(creature));
  AddCondition(creature, kCondEntangled, 1, 0, kSourceMagicArea, 0);
  // The hold counts from the start of the turn: a Dexterity it takes below 1
  // paralyses the creature before it decides, not in the midst of its action.
  RecomputeCreature(creature, 0);
  *result = StartPlayback(creature);
  return true;
}

UpkeepResult FireShown(int creature, int32_t type, int32_t value) {
  QueueEvent(creature, type, value, kSoundFire);
  return StartPlayback(creature);
}

UpkeepResult FireStep(int creature) {
  CreatureRecord& c = Rec(creature);
  const bool brazier = IsOnBrazierFire(creature);
  const bool undead = c.type == 8;
  const char* what = brazier ? "@BRAZIER@" : "@WALL_OF_FIRE@";
  ModifierList list;
  if (brazier) {
    StartRollList(list, "Brazier Damage Roll", kBrazierHelp);
    DiceRollList = &list;
    RollDice(undead ? 8 : 6, BrazierSizeUnderCreature(creature) == 2 ? 6 : 3, 0, 0);
  } else {
    StartRollList(list, "Wall of Fire Damage Roll", kWallOfFireHelp);
    DiceRollList = &list;
    RollDice(8, 1, 0, 0);
    AddModifier(AverageMagicAreaValue(creature, kEffectFire), &list, kSrcAdditionalPoints);
    if (undead) {
      DiceRollList = nullptr;
      AddModifier(RollDice(8, 1, 0, 0), &list, kSrcExtraDamageToUndead);
    }
  }
  DiceRollList = nullptr;
  const int code = FireImmunityCode(creature);
  if (code == kImmunityImmune) {
    ShowFloatingText(creature, "Immune (Fire)");
    LogMessage("\xA3%s\xA3 - Fire Immunity negates %s damage.\r\r", c.name, what);
    return FireShown(creature, 0, 0);
  }
  if (code == kImmunityWeakness) AddModifier(list.total / 2, &list, kSrcRacialWeaknessFire);
  if (code == kImmunitySeriousWeakness) AddModifier(list.total, &list, kSrcSeriousWeaknessFire);
  if (code == kImmunityResistance) AddModifier(-(list.total / 2), &list, kSrcResistanceFire);
  if (code != kImmunityReverse) AddCondition(creature, kCondBurning, 1, 0, kSourceMagicArea, 0);
  const int resistance = c.protections[kProtResistFire].current;
  if (resistance > 0) {
    AddModifier(-std::min(resistance, std::max(list.total, 0)), &list, kSrcFireResistance);
    if (list.total <= 0) {
      ShowFloatingText(creature, "Fire Damage: Absorbed");
      LogMessage("Damage reduction reduced %s damage to zero.\r\r", what);
      return FireShown(creature, 0, 0);
    }
  }
  const int amount = list.total;
  if (code == kImmunityReverse) {
    const int gain = std::min(amount, std::max(c.maxHitPoints - c.hitPoints, 0));
    if (gain < amount) AddModifier(gain - amount, &list, kSrcCantExceedMaximumHp);
    c.hitPoints += gain;
    return FireShown(creature, kEventHealed, gain);
  }
  const int index = StoreCombatRoll(list);
  LogMessage("\xA3%s\xA3 loses @%i|%.2i@ @HP@ (\xA3" "Fire\xA3).\r\r", c.name, amount, index);
  c.hitPoints -= amount;
  return TakeDamage(creature, amount, kEventFireDamage, kSoundFire);
}

// The area steps in their order; true while one is shown.
bool MagicAreaSteps(int creature, UpkeepResult* result) {
  if (!Done(kStepPlague)) {
    MarkDone(kStepPlague);
    if (IsInMagicArea(creature, kEffectInsectPlague) && ApplyPlagued(creature, 0, 0)) {
      *result = StartPlayback(creature);
      // The bite may take the last hit point: the fall as after fire damage.
      if (Rec(creature).hitPoints <= 0) {
        RemoveFromCombat(creature, -1);
        RecomputeCreature(creature, 0);
      }
      return true;
    }
  }
  if (!Done(kStepDarkness)) {
    MarkDone(kStepDarkness);
    if (IsInMagicArea(creature, kEffectDarkness) && DarknessStep(creature, result)) return true;
  }
  if (!Done(kStepEntangle)) {
    MarkDone(kStepEntangle);
    if ((IsInMagicArea(creature, kEffectEntangle) || IsInMagicArea(creature, kEffectWeb)) &&
        EntangleStep(creature, result))
      return true;
  }
  if (!Done(kStepSilence)) {
    MarkDone(kStepSilence);
    if (IsInMagicArea(creature, kEffectSilence) && ApplySilenced(creature, 0, 0)) {
      *result = StartPlayback(creature);
      return true;
    }
  }
  if (!Done(kStepFire)) {
    MarkDone(kStepFire);
    if (IsInMagicArea(creature, kEffectFire) && Rec(creature).kind != 1) {
      *result = FireStep(creature);
      return true;
    }
  }
  return false;
}

void LogConfusion(int creature) {
  if (!IsConfusedOrInsane(creature)) return;
  const int roll = CombatAction.confusionRoll;
  LogMessage("\xA3%s\xA3 is @CONFUSED@, rolls \xA3%i\xA3.\r", Name(creature), roll);
  if (roll >= 21 && roll <= 50) LogMessage("\xA3%s\xA3 babbles incoherently.\r\r", Name(creature));
  if (roll >= 51 && roll <= 70) LogMessage("\xA3%s\xA3 is frightened.\r\r", Name(creature));
}

}  // namespace

void CountDownConditions(int creature) {
  if (!IsValidCreature(creature)) return;
  for (ConditionEntry& e : Rec(creature).conditions) {
    if (e.id == 0 || e.duration <= 0 || e.duration >= kDurationLasting) continue;
    if (--e.duration == 0 && (e.id == kCondControlled || e.id == kCondDominated))
      Rec(creature).allegiance = SavedAllegiance[creature];
  }
}

UpkeepResult RunTurnUpkeep(int creature, bool joined) {
  ClearCombatEvents();
  if (!IsValidCreature(creature)) return UpkeepResult::kTurnLost;
  UpkeepResult result = UpkeepResult::kShowing;
  if (!Done(kStepExpiredConditions) && EndExpiredConditions(creature, &result)) return result;
  if (joined) MarkDone(kStepRegeneration);
  if (!Done(kStepAcid)) {
    MarkDone(kStepAcid);
    const int acid = FindCondition(creature, kCondAcidBurns);
    if (acid >= 0) return AcidBurns(creature, Rec(creature).conditions[acid]);
  }
  if (!Done(kStepPin)) {
    MarkDone(kStepPin);
    if (ReleasePin(creature, &result)) return result;
  }
  if (!Done(kStepBleeding)) {
    MarkDone(kStepBleeding);
    const int bleeding = FindCondition(creature, kCondBleeding);
    if (bleeding >= 0) return Bleed(creature, Rec(creature).conditions[bleeding].value);
  }
  if (!Done(kStepRegeneration)) {
    MarkDone(kStepRegeneration);
    if (Regenerate(creature, &result)) return result;
  }
  if (TestCantAct(creature, &result)) return result;
  if (MagicAreaSteps(creature, &result)) return result;
  ClearCombatEvents();
  if (CheckEndOfCombat()) return UpkeepResult::kCombatOver;
  LogConfusion(creature);
  if (TurnLost) return UpkeepResult::kTurnLost;
  SetTurnBudget(creature);
  return UpkeepResult::kDone;
}

void SetTurnBudget(int creature) {
  if (!IsValidCreature(creature)) return;
  RemoveCondition(creature, kCondFlatFooted);
  const CreatureRecord& c = Rec(creature);
  const bool nauseated = Has(creature, kCondNauseated);
  const bool single = nauseated || Has(creature, kCondSlowed) || SurpriseRound == 1 ||
                      c.special[kSenseKindWord] == kSenseOncePerTurn;
  CombatActionState& a = CombatAction;
  const int32_t speed = c.speed.current;
  a.singleActionTurn = single ? 1 : 0;
  a.movesLeft = single ? speed : 2 * speed;
  a.fullRoundActionLeft = single ? 0 : 1;
  a.moveActionLeft = 1;
  a.standardActionLeft = nauseated ? 0 : 1;
  a.fiveFootStepLeft = 1;
  a.fiveFootStepAllowed = CanTakeFiveFootStep(creature) ? 1 : 0;
  a.movementClosed = 0;
  a.actionCode = 0;
  a.endedActionCode = 0;
  a.reactingCreature = -1;
}
