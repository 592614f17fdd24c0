// The spell effects that change who fights for whom and who is in the fight:
// domination and control, summoning, dispelling, deaths, turning undead,
// petrification, raising the dead and the teleport to the world map.
#include <cstdio>

#include "combat/actions/casting_checks.h"
#include "combat/actions/displacement.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_effect_codes.h"
#include "combat/resolution/spell_effect_steps.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/message_log.h"
#include "map/area_shapes.h"
#include "map/creature_paths.h"
#include "map/fighter_table.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/combat_roll_log.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/current_cast.h"
#include "state/turn_order.h"
#include "state/world_travel.h"
#include "rules/experience.h"

namespace spellfx {
namespace {

constexpr uint32_t kSourceTurnUndead = 36;

// Spends the target's levels from the use's hit dice pool; refused (ending
// the target list) when the pool cannot pay.
bool PayFromPool(int target) {
  const int32_t levels = Creatures[target].effectiveLevel;
  if (CastingUse.hitDicePool < levels) {
    Refuse("Hit Dice too high");
    SpellPass.endTargets = 1;
    return false;
  }
  CastingUse.hitDicePool -= levels;
  return true;
}

// The pass's fixed amount caps the target's level.
bool LevelTooHigh(int target) {
  return SpellPass.fixedAmount > 0 && Creatures[target].effectiveLevel > SpellPass.fixedAmount;
}

void Release(int target) {
  Take(target, kCondDominated, kCondControlled);
  Creatures[target].allegiance = SavedAllegiance[target];
  Show("Released", 46);
}

// Domination (Dominated) and control (Controlled) of codes 54, 55, 56, 101, 102.
void TakeControl(const Use& use, uint32_t condition, bool undeadOnly, bool humanoidOnly) {
  const int target = use.target;
  if (undeadOnly && !IsUndead(target)) {
    Say("\xA3%s\xA3 is not @UNDEAD@.", Name(target));
    Refuse("Not undead");
    return;
  }
  if (humanoidOnly && !IsHumanoid(target)) {
    Say("\xA3%s\xA3 is not a humanoid.", Name(target));
    Refuse("Not humanoid");
    return;
  }
  if (HasCondition(target, kCondProtectedVersusEvil) || HasCondition(target, kCondProtectedVersusGood)) {
    Refuse("Immune to Mental Control");
    return;
  }
  if (undeadOnly && use.spell == kSpellDominateUndead && !PayFromPool(target)) return;
  if (HasCondition(target, kCondDominated) || HasCondition(target, kCondControlled)) {
    Release(target);
    return;
  }
  CreatureRecord& t = Creatures[target];
  SavedAllegiance[target] = t.allegiance;
  Give(target, condition);
  const int32_t side = Creatures[use.caster].allegiance;
  t.allegiance = side == 1 || side == 5 || side == 6 ? 5 : 2;
  if (condition == kCondDominated) Say("\xA3%s\xA3 becomes @DOMINATED@.", Name(target));
  else Say("\xA3%s\xA3 becomes @CONTROLLED@.", Name(target));
  Show(condition == kCondDominated ? "Dominated" : "Controlled", 43);
  CastingUse.endOfCombatRequested = 1;
}

// The square the summoning was aimed at: the one square of the area mask.
bool AimedSquare(int* x, int* y) {
  for (int i = 0; i < kMapSquares; ++i)
    if (AreaMask[i]) {
      *x = i / kMapSide;
      *y = i % kMapSide;
      return true;
    }
  if (CastingUse.aimX >= 0 && CastingUse.aimY >= 0) {
    *x = CastingUse.aimX;
    *y = CastingUse.aimY;
    return true;
  }
  return false;
}

void Summon(const Use& use) {
  const bool enemy = Creatures[use.caster].allegiance == 2;
  int record = kSummonRecord;
  if (enemy) {
    if (SummonsMade >= kMostSummons) {
      Refuse("Can't summon more");
      return;
    }
    record = kFirstSummonRecord + SummonsMade;
  } else if (Creatures[record].present == 1 && Creatures[record].hitPoints > 0 &&
             !HasCondition(record, kCondDead)) {
    Refuse("Can't summon more");
    return;
  }
  struct Elemental {
    int32_t parameter;
    int kind;
    const char* line;
  };
  static const Elemental kElementals[] = {{53, kSpellSummonFireElemental, "\xA3%s\xA3 summons a @FIRE_ELEMENTAL@."},
                                          {109, kSpellSummonWaterElemental, "\xA3%s\xA3 summons a @WATER_ELEMENTAL@."},
                                          {49, kSpellSummonEarthElemental, "\xA3%s\xA3 summons an @EARTH_ELEMENTAL@."},
                                          {22, kSpellSummonAirElemental, "\xA3%s\xA3 summons an @AIR_ELEMENTAL@."}};
  const Elemental* chosen = nullptr;
  for (const Elemental& e : kElementals)
    if (e.parameter == SpellPass.parameter) chosen = &e;
  if (!chosen) return;
  CreateSummonedElemental(record, chosen->kind);
  CreatureRecord& s = Creatures[record];
  const CreatureRecord& c = Creatures[use.caster];
  int x = c.squareX, y = c.squareY;
  AimedSquare(&x, &y);
  s.map = c.map;
  s.squareX = s.nextX = x;
  s.squareY = s.nextY = y;
  s.pixelX = x * kSquarePixels;
  s.pixelY = y * kSquarePixels;
  Say(chosen->line, Name(use.caster));
  if (chosen->parameter == 53 && x >= 0 && y >= 0 && x < kMapSide && y < kMapSide &&
      MagicAreaGrid[SquareIndex(x, y)].kind == kEffectWeb) {
    MagicAreaGrid[SquareIndex(x, y)] = SquareEffectCell{};
    Say("@FIRE_ELEMENTAL@ burns some @WEB@ strands.");
  }
  RecomputeCreature(record, 0);
  BuildFighterTable();
  InsertCombatantAfterCurrent(record, 0);
  Give(record, kCondSummonedCreature, use.caster);
  if (enemy) ++SummonsMade;
  ShowFloatingText(record, "Summoned");
  QueueUseEvent(45, 0, record, 0);
  PlaySpellSound(2);
}

bool Dispellable(const ConditionEntry& e) {
  if (e.source < 18 || e.source > 21) return false;
  switch (e.id) {
    case kCondPetrified: case kCondFeebleminded: case kCondInsane: case kCondCursed: case kCondDead:
    case kCondEnlarged: case kCondReduced: case kCondControlled: case kCondDominated: case kCondPolymorphed:
    case kCondTransformation: case kCondIronBody: case kCondRighteousMight:
      return false;
    default:
      return !(e.id >= kCondDamagedStrength && e.id <= kCondDrainedCharisma);
  }
}

void Dispel(const Use& use) {
  const int target = use.target;
  if (HasCondition(target, kCondSummonedCreature)) {
    SlayCreature(target, SpellSoundId(3));
    return;
  }
  CreatureRecord& t = Creatures[target];
  for (ConditionEntry& e : t.conditions)
    if (e.id != 0 && Dispellable(e)) e = ConditionEntry{};
  CompactConditions(target);
  ShowFloatingText(target, "Dispel");
  Say("@DISPEL@: %s", Name(target));
  if (Take(target, kCondControlled, kCondDominated)) t.allegiance = SavedAllegiance[target];
  if (HasCondition(target, kCondIronBody)) EndIronBody(target);
  if (HasCondition(target, kCondPolymorphed)) {
    const int slot = GetFighterSlot(target);
    if (slot >= 0 && slot < kFighterSlots && FighterSlots[slot].savedForm.saved == 1) {
      const SavedNaturalForm& form = FighterSlots[slot].savedForm;
      if (form.footprintWidth[0] > t.footprintWidth.current || form.footprintHeight[0] > t.footprintHeight.current)
        NudgeOrDisplace(target, form.footprintWidth[0], form.footprintHeight[0]);
    }
    EndPolymorph(target);
  }
  Take(target, kCondEnlarged, kCondRighteousMight);
  if (Take(target, kCondReduced)) NudgeOrDisplace(target, t.footprintWidth.base, t.footprintHeight.base);
  QueueUseEvent(46, 0, target, 0);
  PlaySpellSound(2);
}

// Finger of Death, Slay Living and Greater Disintegration after a save.
void DamageAfterSave(const Use& use) {
  CreatureRecord& t = Creatures[use.target];
  ModifierList list;
  InitModifierList(&list);
  const char* caption = use.spell == kSpellFingerOfDeath ? "Finger of Death"
                        : use.spell == kSpellSlayLiving  ? "Slay Living"
                                                         : "Greater Disintegrate";
  std::snprintf(list.caption, sizeof list.caption, "%s", caption);
  ModifierList* previous = DiceRollList;
  DiceRollList = &list;
  RollDice(6, 3, 0, 0);
  DiceRollList = previous;
  AddModifier(SpellPass.casterLevel, &list, kSrcAdditionalPoints);
  if (SpellPass.critical == 1 && use.spell != kSpellFingerOfDeath) AddModifier(list.total, &list, 653);
  const int32_t damage = list.total;
  const int index = StoreCombatRoll(list);
  t.hitPoints -= damage;
  Say("\xA3%s\xA3 loses @%i|%.2i@ @HP@.", Name(use.target), damage, index);
  Take(use.target, kCondSleeping);
  MarkCasterDamaged(use.target, damage);
  QueueUseEvent(1, damage, use.target, 0);
  PlaySpellSound(2);
  if (t.hitPoints <= 0) RemoveFromCombat(use.target, -1);
}

void Death(const Use& use) {
  const int target = use.target;
  const bool pooled = use.spell == kSpellCircleOfDeath;
  if (use.spell != kSpellGreaterDisintegration && (IsUndead(target) || IsConstruct(target))) {
    Refuse("Wrong Type");
    return;
  }
  if (LevelTooHigh(target)) {
    Refuse("Level too high");
    if (pooled) SpellPass.endTargets = 1;
    return;
  }
  if (pooled && !PayFromPool(target)) return;
  const bool saves = use.spell == kSpellFingerOfDeath || use.spell == kSpellSlayLiving ||
                     use.spell == kSpellGreaterDisintegration;
  if (saves && SpellPass.saveMade == 1) {
    DamageAfterSave(use);
    return;
  }
  SlayCreature(target, SpellSoundId(3));
}

void DestroyUndead(const Use& use) {
  const int target = use.target;
  const bool pooled = use.spell == kSpellUndeathToDeath;
  if (!IsUndead(target)) {
    Refuse("Wrong Type");
    return;
  }
  if (LevelTooHigh(target)) {
    Refuse("Level too high");
    if (pooled) SpellPass.endTargets = 1;
    return;
  }
  if (pooled && !PayFromPool(target)) return;
  SlayCreature(target, SpellSoundId(3));
}

void TurnUndead(const Use& use) {
  const int target = use.target;
  const bool enemy = AreEnemies(use.caster, target);
  const uint32_t gain = enemy ? kCondCowering : kCondBolstered;
  const uint32_t lose = enemy ? kCondBolstered : kCondCowering;
  if (HasCondition(target, gain)) {
    Refuse("Already Has Effect");
    return;
  }
  if (Take(target, lose)) {
    Say(enemy ? "\xA3%s\xA3 loses @BOLSTERED@ condition." : "\xA3%s\xA3 loses @COWERING@ condition.", Name(target));
    Show(enemy ? "Lost Effect (Bolstered)" : "Lost Effect (Cowering)", 46);
    return;
  }
  Give(target, gain, 0, -2, kSourceTurnUndead);
  Say(enemy ? "\xA3%s\xA3 @COWERS@." : "\xA3%s\xA3 is @BOLSTERED@.", Name(target));
  Show(enemy ? "Cowering" : "Bolstered");
}

void Petrify(const Use& use) {
  const int target = use.target;
  CreatureRecord& t = Creatures[target];
  ShowFloatingText(target, "Petrified");
  if (t.allegiance == 1) {
    Give(target, kCondPetrified);
    Say("\xA3%s\xA3 is @PETRIFIED@.", Name(target));
  } else {
    Say("\xA3%s\xA3 turns to stone.", Name(target));
    t.hitPoints -= 1000;
  }
  QueueUseEvent(52, 0, target, 0);
  PlaySpellSound(2);
  RemoveFromCombat(target, -1);
}

void StoneToFlesh(const Use& use) {
  const int target = use.target;
  if (!Take(target, kCondPetrified)) {
    Refuse("Not petrified");
    return;
  }
  Say("\xA3%s\xA3 loses the @PETRIFIED@ condition.", Name(target));
  if (!HasCondition(target, kCondDead) && Creatures[target].hitPoints > -10) Revive(target, use.caster);
  Show("Dispelled:Petrified", 46);
}

// Raise Dead (128) and True Resurrection (129).
void Raise(const Use& use, bool resurrection) {
  const int target = use.target;
  CreatureRecord& t = Creatures[target];
  if (!HasCondition(target, kCondDead)) {
    Refuse("No effect");
    return;
  }
  Take(target, kCondLevelDrained, kCondDead, kCondUnconscious);
  for (uint32_t id = kCondDamagedStrength; id <= kCondDrainedCharisma; ++id) Take(target, id);
  ResetCreaturePath(target);
  if (!resurrection) {
    const int32_t start = static_cast<int32_t>(ExperienceForLevel(t.level));
    if (t.experience > start) {
      Say("\xA3%s\xA3 loses \xA3%i\xA3 experience points.", Name(target), t.experience - start);
      t.experience = start;
    }
  }
  RecomputeCreature(target, 0);
  // A body raised at the hit points it fell with would fall again at once:
  // Raise Dead leaves it at 1, True Resurrection at its maximum.
  t.hitPoints = resurrection ? t.maxHitPoints : 1;
  Revive(target, use.caster);
  Show(resurrection ? "Resurrection" : "Raise Dead", 46);
}

void Teleport() {
  if (CurrentMap.spellFlag == 1) {
    Refuse("The spell fizzles");
    return;
  }
  PlaySpellSound(2);
  ShowLocalMapMode();
}

// Poison Gas: the weakest die, the middling die unless they saved, the rest
// lose Constitution.
void PoisonGas(const Use& use) {
  const int32_t levels = Creatures[use.target].effectiveLevel;
  if (levels <= 3 || (levels <= 6 && SpellPass.saveMade == 0)) {
    SlayCreature(use.target, SpellSoundId(3));
    return;
  }
  ApplySpellAmount();
}

}  // namespace

bool ApplyControlEffect(int32_t code) {
  const Use use = Current();
  switch (code) {
    case kFxDominate: TakeControl(use, kCondDominated, false, false); return true;
    case kFxDominateHumanoid: TakeControl(use, kCondDominated, false, true); return true;
    case kFxDominateUndead: TakeControl(use, kCondDominated, true, false); return true;
    case kFxControl: TakeControl(use, kCondControlled, false, false); return true;
    case kFxControlHumanoid: TakeControl(use, kCondControlled, false, true); return true;
    case kFxSummon: Summon(use); return true;
    case kFxDispel: Dispel(use); return true;
    case kFxDeath: Death(use); return true;
    case kFxDestroyUndead: DestroyUndead(use); return true;
    case kFxTurnUndead: TurnUndead(use); return true;
    case kFxPetrification: Petrify(use); return true;
    case kFxStoneToFlesh: StoneToFlesh(use); return true;
    case kFxRaiseDead: Raise(use, false); return true;
    case kFxResurrection: Raise(use, true); return true;
    case kFxTeleport: Teleport(); return true;
    case kFxConstitutionDamage:
      if (use.spell != kSpellPoisonGas) return false;
      PoisonGas(use);
      return true;
    default: return false;
  }
}

}  // namespace spellfx
