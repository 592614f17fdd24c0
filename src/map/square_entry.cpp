#include "map/square_entry.h"

#include <algorithm>
#include <cstdio>

#include "state/combat_action.h"
#include "state/turn_order.h"
#include "rules/area_conditions.h"
#include "rules/combat_roll_log.h"
#include "map/fighter_tests.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/sound.h"
#include "map/square_grids.h"
#include "rules/dice.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/camera.h"
#include "map/map_view.h"


int32_t HazardStep = 0;
int32_t& SquareEffectStep = HazardStep;
uint8_t HazardEventPending = 0;
int32_t HazardEventCreature = -1;
int32_t HazardCountdown = 0;
uint8_t HazardDeathFlag = 0;
uint8_t StopAfterSquareEffect = 0;

namespace {

const char* Name(int c) { return Creatures[c].name; }

// Clears the lasting effect of that kind on the creature's own square.
void ClearOwnCell(int c, uint32_t kind) {
  const CreatureRecord& r = Creatures[c];
  if (r.squareX < 0 || r.squareY < 0 || r.squareX >= kMapSide || r.squareY >= kMapSide) return;
  SquareEffectCell& cell = MagicAreaGrid[SquareIndex(r.squareX, r.squareY)];
  if (cell.kind == kind) cell = {};
}

int FloorDiv2(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// Insect plague.
bool PlagueStep(int c) {
  if (!IsInMagicArea(c, kEffectInsectPlague)) return ReleasePlague(c, 0);
  if (!ApplyPlagued(c, 1, 0)) return false;
  // The bite may take the last hit point: the fall as in a fire.
  if (Creatures[c].hitPoints <= 0) {
    if (RemoveFromCombat(c, 1) != 10) HazardDeathFlag = 1;
    RecomputeCreature(c, 0);
  }
  return true;
}

// Silence.
bool SilenceStep(int c) {
  if (IsInMagicArea(c, kEffectSilence)) return ApplySilenced(c, 1, 0);
  if (RemoveCondition(c, kCondSilenced) > 0) RecomputeCreature(c, 0);
  return false;
}

// Darkness.
bool DarknessStep(int c) {
  if (!IsInMagicArea(c, kEffectDarkness)) {
    if (RemoveCondition(c, kCondCantSee) + RemoveCondition(c, kCondConcealedByDarkness) > 0) RecomputeCreature(c, 0);
    return false;
  }
  bool changed = RemoveConditionIdFromSource(c, kCondIlluminating, kSourceSpell) > 0;
  if (IsSightDependent(c, 1)) {
    AddCondition(c, kCondCantSee, 1, 0, kSourceMagicArea, 0);
    LogMessage("\xA3%s\xA3 is @UNABLE_TO_SEE@ anything.\r", Name(c));
    changed = true;
  }
  if (!HasCondition(c, kCondConcealedByDarkness)) {
    AddCondition(c, kCondConcealedByDarkness, 1, 50, kSourceMagicArea, 0);
    LogMessage("\xA3%s\xA3 gains @CONCEALMENT@ \xA3" "50%%\xA3.\r", Name(c));
    changed = true;
  }
  if (!changed) return false;
  ShowFloatingText(c, "Darkness");
  LogMessage("\r");
  SetFirstCombatEvent(kEventCondition, 0, kSampleMagic7);
  ScrollTo(c, -1, -1);
  RecomputeCreature(c, 0);
  return true;
}

// Entangle or web holding the creature.
bool EntangleStep(int c) {
  const bool inside = IsInMagicArea(c, kEffectEntangle) || IsInMagicArea(c, kEffectWeb);
  if (inside) {
    if (HamperingImmunityCode(c) == 1) {
      LogMessage("\xA3%s\xA3 - immune to @ENTANGLE@ effects.\r\r", Name(c));
      return false;
    }
    if (HasCondition(c, kCondEntangled)) return false;
    AddCondition(c, kCondEntangled, 1, 0, kSourceMagicArea, 0);
    RecomputeCreature(c, 0);  // the hold's loss of Dexterity counts at once
    ShowFloatingText(c, "Entangled");
    LogMessage("\xA3%s\xA3 becomes @ENTANGLED@.\r\r", Name(c));
    SetFirstCombatEvent(kEventCondition, 0, kSampleMagic7);
    return true;
  }
  if (!HasCondition(c, kCondEntangled) || HasCondition(c, kCondStuck)) return false;
  RemoveCondition(c, kCondEntangled);
  RecomputeCreature(c, 0);
  ShowFloatingText(c, "Free");
  LogMessage("\xA3%s\xA3 loses the @ENTANGLED@ condition.\r\r", Name(c));
  SetFirstCombatEvent(kEventFreed, 0, kSampleMagic9);
  return true;
}

// The web's Reflex save.
bool WebStep(int c) {
  CreatureRecord& r = Creatures[c];
  if (!IsInMagicArea(c, kEffectWeb)) {
    if (!HasCondition(c, kCondStuck)) return false;
    RemoveCondition(c, kCondEntangled);
    RemoveCondition(c, kCondStuck);
    RecomputeCreature(c, 0);
    ShowFloatingText(c, "Free");
    LogMessage("\xA3%s\xA3 is free from the effects of the @WEB@.\r\r", Name(c));
    SetFirstCombatEvent(kEventFreed, 0, kSampleMagic9);
    ScrollTo(c, -1, -1);
    return true;
  }
  if (HamperingImmunityCode(c) == 1) return false;
  if (r.kind == 32) {
    ClearOwnCell(c, kEffectWeb);
    LogMessage("\xA3%s\xA3 destroys the @WEB@ with fire.\r\r", Name(c));
    return false;
  }
  if (HasCondition(c, kCondStuck)) {
    if (!HasCondition(c, kCondEntangled)) {
      AddCondition(c, kCondEntangled, 1, 0, kSourceSpell, 0);
      RecomputeCreature(c, 0);
      StopAfterSquareEffect = 1;
    }
    return false;
  }
  const int dc = AverageMagicAreaValue(c, kEffectWeb);
  ModifierList list;
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "%s", "Reflex Saving Throw");
  DiceRollList = &list;
  const int roll = RollDice(20, 1, 0, 0);
  DiceRollList = nullptr;
  AddModifier(r.reflex.current, &list, kSrcReflexBonus);
  AddModifier(FloorDiv2(r.dexterity.current - 10), &list, kSrcDexterityModifier);
  const int index = StoreCombatRoll(list);
  LogMessage("\xA3%s\xA3 @SAVING_THROW@ @%i|%.2i@\r", Name(c), list.total, index);
  bool saved;
  if (roll == 1) {
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
    saved = false;
  } else if (roll == 20) {
    LogMessage("\xA3" "Automatic_success\xA3 (roll of 20).\r");
    saved = true;
  } else if (list.total < dc) {
    LogMessage("Save failed (DC \xA3%i\xA3)\r", dc);
    saved = false;
  } else {
    LogMessage("Save succeeded (DC \xA3%i\xA3)\r", dc);
    saved = true;
  }
  (void)kSrcD20Roll;
  if (!saved) {
    if (HasCondition(c, kCondEntangled)) {
      AddCondition(c, kCondStuck, kDurationLasting, 0, kSourceMagicArea, 0);
      LogMessage("\xA3%s\xA3 becomes @STUCK@.\r\r", Name(c));
    } else {
      AddCondition(c, kCondEntangled, 1, 0, kSourceMagicArea, 0);
      AddCondition(c, kCondStuck, kDurationLasting, 0, kSourceMagicArea, 0);
      LogMessage("\xA3%s\xA3 becomes both @ENTANGLED@ and @STUCK@.\r\r", Name(c));
    }
    ShowFloatingText(c, "Stuck");
    SetFirstCombatEvent(kEventCondition, 0, kSampleMagic7);
    ScrollTo(c, -1, -1);
    RecomputeCreature(c, 0);
    CombatAction.movesLeft = 0;
    CombatAction.fiveFootStepLeft = 0;
    StopAfterSquareEffect = 1;
    return true;
  }
  if (!HasCondition(c, kCondEntangled)) {
    AddCondition(c, kCondEntangled, 1, 0, kSourceMagicArea, 0);
    RecomputeCreature(c, 0);
    LogMessage("\xA3%s\xA3 becomes @ENTANGLED@.\r\r", Name(c));
    SetFirstCombatEvent(kEventCondition, 0, kSampleMagic7);
  } else {
    ShowFloatingText(c, "Saved (Reflex)");
    SetFirstCombatEvent(kEventCondition, 0, kSampleMagic18);
  }
  return true;
}

// Walls of fire and braziers.
bool FireStep(int c) {
  if (!IsInMagicArea(c, kEffectFire)) return false;
  CreatureRecord& r = Creatures[c];
  const bool brazier = IsOnBrazierFire(c);
  const char* what = brazier ? "@BRAZIER@" : "@WALL_OF_FIRE@";
  if (r.kind == 1) {
    if (brazier)
      LogMessage("\xA3%s\xA3 flies over the brazier.\r\r", Name(c));
    else
      LogMessage("\xA3%s\xA3 flies over the magical fire.\r\r", Name(c));
    return false;
  }
  if (r.kind == 88 && !brazier) {
    ClearOwnCell(c, kEffectFire);
    LogMessage("@DRENCH@: \xA3%s\xA3 dispels the magical fire.\r\r", Name(c));
    return false;
  }
  const bool undead = r.type == 8;
  ModifierList list;
  InitModifierList(&list);
  DiceRollList = &list;
  if (!brazier) {
    std::snprintf(list.caption, sizeof list.caption, "%s", "Wall of Fire Damage Roll");
    RollDice(8, 1, 0, 0);
    AddModifier(AverageMagicAreaValue(c, kEffectFire), &list, kSrcAdditionalPoints);
    if (undead) {
      DiceRollList = nullptr;
      AddModifier(RollDice(8, 1, 0, 0), &list, kSrcExtraDamageToUndead);
    }
  } else {
    std::snprintf(list.caption, sizeof list.caption, "%s", "Brazier Damage Roll");
    RollDice(undead ? 8 : 6, BrazierSizeUnderCreature(c) == 2 ? 6 : 3, 0, 0);
  }
  DiceRollList = nullptr;

  const int code = FireImmunityCode(c);
  if (code == kImmunityImmune || code == kImmunityReverse) {
    LogMessage("\xA3%s\xA3 - Fire Immunity negates %s damage.\r\r", Name(c), what);
    return false;
  }
  if (code == kImmunityWeakness) AddModifier(list.total / 2, &list, kSrcRacialWeaknessFire);
  if (code == kImmunitySeriousWeakness) AddModifier(list.total, &list, kSrcSeriousWeaknessFire);
  if (code == kImmunityResistance) AddModifier(-(list.total / 2), &list, kSrcResistanceFire);
  AddCondition(c, kCondBurning, 1, 0, kSourceMagicArea, 0);
  const int resistance = r.protections[kProtResistFire].current;
  if (resistance > 0) {
    AddModifier(-std::min(resistance, std::max(list.total, 0)), &list, kSrcFireResistance);
    if (list.total <= 0) {
      LogMessage("Damage reduction reduced %s damage to zero.\r\r", what);
      return false;
    }
  }
  const int damage = list.total;
  const int index = StoreCombatRoll(list);
  LogMessage("\xA3%s\xA3 loses @%i|%.2i@ @HP@ (\xA3" "Fire\xA3).\r\r", Name(c), damage, index);
  r.hitPoints -= damage;
  SetFirstCombatEvent(kEventFireDamage, damage, kSampleMagic20);
  StopAfterSquareEffect = 1;
  ScrollTo(c, -1, -1);
  if (RemoveFromCombat(c, 1) != 10) HazardDeathFlag = 1;
  RecomputeCreature(c, 0);
  return true;
}

bool RunStep(int step, int c) {
  switch (step) {
    case 1: return PlagueStep(c);
    case 2: return SilenceStep(c);
    case 3: return DarknessStep(c);
    case 4: return EntangleStep(c);
    case 5: return WebStep(c);
    case 6: return FireStep(c);
    default: return false;
  }
}

int Done() {
  HazardStep = 0;
  HazardEventPending = 0;
  CheckEndOfCombat();
  return 0;
}

}  // namespace

int EnterSquareHazards(int creature) {
  if (DebugMode == 1) LogMessage("DEBUG - MagicCheck %i\r", HazardStep);
  if (creature < 0 || creature >= kCreatureCount) return 0;

  // An event on display.
  if (HazardEventPending && HazardEventCreature != -1) {
    if (CameraMoving) return 1;
    if (HazardCountdown > 0) --HazardCountdown;
    if (HazardCountdown > 0) return 1;
    if (DyingCreature != -1) RunDeathScript();
    const CombatEvent finished = CombatEvents[CombatEventReadIndex < kCombatEventCount ? CombatEventReadIndex : 0];
    ++CombatEventReadIndex;
    if (CombatEventReadIndex < kCombatEventCount && !IsEmptyCombatEvent(CombatEvents[CombatEventReadIndex])) {
      HazardCountdown = EventDisplayTime;
      return 1;
    }
    HazardEventCreature = -1;
    CombatAction.reactingCreature = -1;
    if (finished.type == 40) {
      if (finished.creature >= 0 && finished.creature < kCreatureCount) Creatures[finished.creature].present = 0;
      if (HazardDeathFlag) {
        HazardDeathFlag = 0;
        CombatAction.actionCode = 0;
        CombatState = 4;
        ActionBarMode = 1;
        ClearCombatEvents();
        HazardEventPending = 0;
        HazardStep = 6;
      }
    }
    return 1;
  }
  if (HazardEventPending) {
    ClearCombatEvents();
    HazardEventPending = 0;
    // The fire's event was the last: the arrival ends here.
    if (HazardStep >= 6) {
      HazardStep = 0;
      return 0;
    }
  }

  ClearCombatEvents();
  while (HazardStep < 6) {
    ++HazardStep;
    if (RunStep(HazardStep, creature)) {
      HazardEventPending = 1;
      HazardEventCreature = creature;
      HazardCountdown = EventDisplayTime;
      return 1;
    }
  }
  return Done();
}

bool SquareHazardCheck(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return false;
  CreatureRecord& c = Creatures[creature];
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    if (TurnOrder[i].creature != creature) continue;
    const int target = TurnOrder[i].plannedTarget;
    if (target >= 0 && target < kCreatureCount && target != creature && Creatures[target].present == 1)
      FaceTowardsCreature(creature, target);
    break;
  }
  static const int kStepX[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kStepY[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  const int f = (c.facing >= 1 && c.facing <= 8) ? c.facing : 1;

  const bool kind88 = c.kind == 88;
  const int hamper = HamperingImmunityCode(creature);
  const bool hurtByFire = IsHurtByFire(creature) || kind88;
  const bool webbed = hamper != 1 && c.kind != 32;
  const bool entangled = hamper != 1;
  const bool darkened = IsSightDependent(creature, 0);
  auto inFire = [&] { return kind88 ? IsOnBrazierFire(creature) : IsInMagicArea(creature, kEffectFire); };

  const bool fire0 = inFire(), web0 = IsInMagicArea(creature, kEffectWeb),
             dark0 = IsInMagicArea(creature, kEffectDarkness), ent0 = IsInMagicArea(creature, kEffectEntangle);
  c.squareX += kStepX[f];
  c.squareY += kStepY[f];
  const bool fire1 = inFire(), web1 = IsInMagicArea(creature, kEffectWeb),
             dark1 = IsInMagicArea(creature, kEffectDarkness), ent1 = IsInMagicArea(creature, kEffectEntangle);
  c.squareX -= kStepX[f];
  c.squareY -= kStepY[f];

  if (hurtByFire && fire1 && !fire0) return true;
  if (webbed && web1 && !fire0 && !web0) return true;
  if (darkened && dark1 && !fire0 && !web0 && !dark0) return true;
  if (entangled && ent1 && !fire0 && !web0 && !dark0 && !ent0) return true;
  return false;
}

void ResetSquareEntryState() {
  HazardStep = 0;
  HazardEventPending = 0;
  HazardEventCreature = -1;
  HazardCountdown = 0;
  HazardDeathFlag = 0;
  StopAfterSquareEffect = 0;
}
