// The spells a computer fighter casts because of the situation it is in:
// dispels of what holds it, its friends or its enemies, protection against
// the area it stands in, and the support spells of clerics.
#include <algorithm>

#include "combat/resolution/area_targets.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/tactic_steps.h"
#include "combat/turns/tactics.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

constexpr int kFeatGreaterSpellFocusAbjuration = kFeatGreaterSpellFocusFirst + 4;
constexpr int32_t kDispelReachSquared = 49;
constexpr int32_t kAreaReachSquared = 42;
constexpr int kMostSpellLevel = 9;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool Has(int c, uint32_t id) { return HasCondition(c, id); }
bool Arcane(int c) { return Creatures[c].creatureClass == 4 || Creatures[c].creatureClass == 5; }
bool Cleric(int c) { return Creatures[c].creatureClass == 3; }
bool Knows(int c, int spell) { return Creatures[c].knownSpells[spell] == 1; }
bool DestroyedType(int c) { return Creatures[c].type == 8 || Creatures[c].type == 2; }
bool HeldByOthers(int c) {
  return FindAnyCondition(c, kCondSummonedCreature, kCondControlled, kCondDominated) >= 0;
}

// A paralysis the creature did not get from losing an ability score.
bool ParalysedByMagic(int c) {
  const int i = FindCondition(c, kCondParalyzed);
  if (i < 0) return false;
  const uint32_t source = Creatures[c].conditions[i].source;
  return source < kSourceStrengthLoss || source > kSourceCharismaLoss;
}

// The fighter knows the spell and has a slot at level + extra within its reach.
bool SlotFree(int fighter, const TacticFlags& f, int spell, int level, int extra) {
  const int slot = level + extra;
  return Knows(fighter, spell) && slot >= 1 && slot <= kMostSpellLevel && slot <= f.topSpellLevel &&
         Creatures[fighter].spellsLeft[slot - 1] > 0;
}

// The metamagic these casts need: Silent for a silenced caster with the
// feat, else Still for one held, paralysed, hampered by armour or without a
// free hand with the feat, else none.
int32_t NeededMetamagic(int fighter, const TacticFlags& f) {
  const CreatureRecord& c = Creatures[fighter];
  if ((Has(fighter, kCondSilenced) || Has(fighter, kCondMute)) && c.feats[kFeatMetamagicSilent] != 0)
    return kMetamagicSilent;
  const bool held = Has(fighter, kCondGrappling) || Has(fighter, kCondParalyzed) ||
                    Has(fighter, kCondSpellFailureArmor) || Has(fighter, kCondSpellFailureShield) || !f.freeHand;
  if (held && c.feats[kFeatMetamagicStill] != 0) return kMetamagicStilled;
  return kMetamagicNone;
}

bool ItemSpellPlanned() {
  const CombatActionState& a = CombatAction;
  return a.scriptedSpellPlanned || a.spellLikePlanned || a.wandPlanned;
}

// The squared distance between the nearest footprint squares of the two,
// and whether a spell passes between them.
int32_t SquaredBetween(int a, int b, GridSquare* from, GridSquare* to) {
  *from = NearestFootprintSquare(a, Creatures[b].squareX, Creatures[b].squareY);
  *to = NearestFootprintSquare(b, Creatures[a].squareX, Creatures[a].squareY);
  return SquaredDistance(from->x, from->y, to->x, to->y);
}
bool WithinAndInLine(int a, int b, int32_t reach) {
  GridSquare from, to;
  const int32_t d = SquaredBetween(a, b, &from, &to);
  return (reach < 0 || d <= reach) && HasLineOfEffect(from.x, from.y, to.x, to.y, nullptr);
}

// The dispel centre for the reason, (-1, -1) none (the reason is then reset).
bool FindDispelCentre(int fighter, int32_t reason) {
  DispelReason = reason;
  FillAreaTargetWeights(kSpellDispel, fighter);
  const GridSquare centre = FindCircle(fighter, kSpellDispel);
  if (centre.x < 0) {
    DispelReason = 0;
    return false;
  }
  return true;
}

TacticResult Cast(int fighter, int spell, int32_t metamagic) {
  PendingMetamagic = metamagic;
  StartComputerCast(fighter, spell, false);
  return TacticResult::kCommitted;
}

// Before a cleric's cast beside an enemy the fighter may first step to a
// better square; true when it did (the decision ends there).
bool StepsAwayFirst(int fighter, const TacticFlags& f, int spell, int target) {
  if (!f.canMove || !f.adjacentEnemy) return false;
  return StepToBestCastingSquare(spell, target, fighter, 0);
}

TacticResult CastAfterStep(int fighter, const TacticFlags& f, int spell, int target, int32_t metamagic) {
  if (StepsAwayFirst(fighter, f, spell, target)) return TacticResult::kCommitted;
  return Cast(fighter, spell, metamagic);
}

// A cure or infliction for a friend (an infliction heals an undead one): the
// cast is aimed among the caster's friends, whatever the spell's own side.
TacticResult CastOnFriendAfterStep(int fighter, const TacticFlags& f, int spell, int target, int32_t metamagic) {
  if (StepsAwayFirst(fighter, f, spell, target)) return TacticResult::kCommitted;
  const TacticResult r = Cast(fighter, spell, metamagic);
  CastingExtraValue[1] = kGroupOnFriends;
  return r;
}

// Rule 1: the arcane caster's dispels of its own paralysis or confusion, and
// of the magic on an enemy.
TacticResult ArcaneDispels(int fighter, const TacticFlags& f) {
  const int32_t metamagic = NeededMetamagic(fighter, f);
  const int extra = metamagic != kMetamagicNone ? 1 : 0;
  if (Has(fighter, kCondParalyzed) && ParalysedByMagic(fighter) && SlotFree(fighter, f, kSpellDispel, 3, 1) &&
      FindDispelCentre(fighter, 1))
    return Cast(fighter, kSpellDispel, kMetamagicStilled);
  const bool confused = Has(fighter, kCondConfused) || Has(fighter, kCondInsane);
  if (confused && SlotFree(fighter, f, kSpellDispel, 3, extra) && FindDispelCentre(fighter, 2))
    return Cast(fighter, kSpellDispel, metamagic);
  if (DisruptionTarget != -1 || Has(fighter, kCondParalyzed) || confused || !ChooseToDispel(fighter))
    return TacticResult::kFellThrough;
  const CreatureRecord& me = Creatures[fighter];
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || !AreEnemies(fighter, e)) continue;
    GridSquare from, to;
    if (SquaredBetween(fighter, e, &from, &to) > kDispelReachSquared) continue;
    if (!FindCover(from.x, from.y, to.x, to.y, 0) || CountDispellableEffects(e) < 2) continue;
    const CreatureRecord& t = Creatures[e];
    const int32_t chance = 13 + me.intelligence.current / 2 - t.wisdom.current / 2 - t.willpower.current +
                           (me.feats[kFeatSpellFocusAbjuration] != 0) +
                           (me.feats[kFeatGreaterSpellFocusAbjuration] != 0);
    if (chance <= 4) {
      TacticTrace("Canceled Dispel: low chance to succeed\r");
      continue;
    }
    if (!SlotFree(fighter, f, kSpellDispel, 3, extra) || !FindDispelCentre(fighter, 10)) continue;
    int32_t cast = metamagic;
    if (cast == kMetamagicNone && me.feats[kFeatMetamagicHeighten] != 0 && me.spellsLeft[3] > 0 &&
        f.topSpellLevel >= 4)
      cast = kMetamagicHeightened;
    return Cast(fighter, kSpellDispel, cast);
  }
  return TacticResult::kFellThrough;
}

// Rule 2: the cleric frees itself.
TacticResult ClericSelfHelp(int fighter, const TacticFlags& f) {
  const CreatureRecord& c = Creatures[fighter];
  const bool still = c.feats[kFeatMetamagicStill] != 0;
  if (Has(fighter, kCondParalyzed) && ParalysedByMagic(fighter) && still &&
      SlotFree(fighter, f, kSpellRemoveParalysis, 2, 1))
    return Cast(fighter, kSpellRemoveParalysis, kMetamagicStilled);
  if (Knows(fighter, kSpellFreedomOfMovement) && CanCastOnTarget(fighter, fighter, kSpellFreedomOfMovement, 0)) {
    // Grappling or paralysed, it has no room for the spell's gesture.
    const bool stilled = FindAnyCondition(fighter, kCondGrappling, kCondParalyzed) >= 0 && still;
    if (SlotFree(fighter, f, kSpellFreedomOfMovement, 4, stilled ? 1 : 0))
      return Cast(fighter, kSpellFreedomOfMovement, stilled ? kMetamagicStilled : kMetamagicNone);
  }
  return TacticResult::kFellThrough;
}

// The hazard rules: the leave flag, and the spells that answer the area.
bool StandsInFire(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  if (c.kind == 88) return IsOnBrazierFire(fighter);
  const int fire = GetProtectionValue(fighter, 2);
  return fire != 1 && fire != 5 && c.kind != 1 && IsInMagicArea(fighter, kEffectFire);
}

void MarkToLeave(int32_t kind) {
  LeaveHazard = 1;
  HazardKindToLeave = kind;
}

TacticResult AnswerHazards(int fighter, const TacticFlags& f, bool mayCast) {
  const CreatureRecord& c = Creatures[fighter];
  const int32_t metamagic = NeededMetamagic(fighter, f);
  const int extra = metamagic != kMetamagicNone ? 1 : 0;
  const bool arcaneDispel = mayCast && Arcane(fighter) && Knows(fighter, kSpellDispel);
  const bool cleric = mayCast && Cleric(fighter);
  // Where the fighter can step out, it leaves rather than casting.
  const bool trapped = !f.canMove || !CanStepOutOfMagicArea(fighter);

  if (StandsInFire(fighter)) {
    MarkToLeave(kEffectFire);
    if (arcaneDispel && !IsOnBrazierFire(fighter) && trapped && SlotFree(fighter, f, kSpellDispel, 3, extra) &&
        FindDispelCentre(fighter, 4))
      return Cast(fighter, kSpellDispel, metamagic);
    if (cleric && trapped && (Knows(fighter, kSpellGreaterProtectionFire) || Knows(fighter, kSpellProtectionFire)) &&
        CanCastOnTarget(fighter, fighter, kSpellProtectionFire, 0)) {
      if (SlotFree(fighter, f, kSpellGreaterProtectionFire, 3, extra))
        return Cast(fighter, kSpellGreaterProtectionFire, metamagic);
      if (SlotFree(fighter, f, kSpellProtectionFire, 2, extra)) return Cast(fighter, kSpellProtectionFire, metamagic);
    }
  }
  const bool freeMover = HamperingImmunityCode(fighter) == 1;
  for (const uint32_t kind : {kEffectEntangle, kEffectWeb}) {
    if (freeMover || !IsInMagicArea(fighter, kind)) continue;
    MarkToLeave(kind);
    if (cleric && SlotFree(fighter, f, kSpellFreedomOfMovement, 4, extra) &&
        CanCastOnTarget(fighter, fighter, kSpellFreedomOfMovement, 0))
      return Cast(fighter, kSpellFreedomOfMovement, metamagic);
    if (arcaneDispel && trapped && ChooseToDispel(fighter) && SlotFree(fighter, f, kSpellDispel, 3, extra) &&
        FindDispelCentre(fighter, kind == kEffectEntangle ? 5 : 6))
      return Cast(fighter, kSpellDispel, metamagic);
  }
  if (IsInMagicArea(fighter, kEffectDarkness) && IsSightDependent(fighter, 0)) MarkToLeave(kEffectDarkness);
  if (IsInMagicArea(fighter, kEffectSilence) && HighestUsableSpellLevel(-1, fighter) && !f.hasRangedAttack &&
      !Has(fighter, kCondMute) && c.feats[kFeatMetamagicSilent] == 0)
    MarkToLeave(kEffectSilence);
  if (IsInMagicArea(fighter, kEffectInsectPlague) && (f.hasRangedAttack || HighestUsableSpellLevel(-1, fighter)))
    MarkToLeave(kEffectInsectPlague);
  return TacticResult::kFellThrough;
}

// The first creature of the turn order on the side the mass spell serves,
// within its reach and in line of effect (and, for the mass cures, worth
// curing with the threshold) starts the search of a centre whose burst
// catches at least `least` creatures (or `wounded` creatures worth curing
// with 50).
bool MassCentreFound(int fighter, int spell, bool cure, int threshold, int least, int wounded) {
  int starter = -1;
  for (int i = 0; i < TurnCount() && starter == -1; ++i) {
    const int t = TurnOrder[i].creature;
    if (!IsValidCreature(t) || AreEnemies(fighter, t) == cure) continue;
    if (!WithinAndInLine(fighter, t, RangeClassSquared(spell))) continue;
    if (cure && !IsWorthCuring(t, 0, spell, threshold, fighter)) continue;
    starter = t;
  }
  if (starter == -1) return false;
  FillAreaTargetWeights(spell, fighter);
  const GridSquare centre = FindCircle(fighter, spell);
  if (centre.x < 0) return false;
  RasteriseBurst(fighter, centre.x, centre.y, spell);
  int caught = 0, hurt = 0;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    ++caught;
    if (IsWorthCuring(AreaTargetList[i], 0, spell, 50, fighter)) ++hurt;
  }
  return caught >= least || (wounded > 0 && hurt >= wounded);
}

// Rule 9.1 to 9.4: the widened and plain mass cures and inflictions.
TacticResult ClericMassSpells(int fighter, const TacticFlags& f) {
  const CreatureRecord& c = Creatures[fighter];
  const int32_t metamagic = NeededMetamagic(fighter, f);
  // A spell takes one metamagic: one cast silent or still is not widened.
  if (c.feats[kFeatMetamagicWiden] != 0 && metamagic == kMetamagicNone) {
    for (const bool cure : {true, false}) {
      const int first = cure ? kSpellMassCureModerate : kSpellMassInflictModerate;
      const int second = cure ? kSpellMassCureLight : kSpellMassInflictLight;
      const int spell = SlotFree(fighter, f, first, 9, 0) ? first : SlotFree(fighter, f, second, 8, 0) ? second : -1;
      if (spell == -1) continue;
      PendingMetamagic = kMetamagicWidened;
      if (MassCentreFound(fighter, spell, cure, 20, 5, 0)) return CastAfterStep(fighter, f, spell, -1, kMetamagicWidened);
      PendingMetamagic = kMetamagicNone;
    }
  }
  const int extra = metamagic != kMetamagicNone ? 1 : 0;
  static const int kCures[5][2] = {{kSpellMassHeal, 9}, {kSpellMassCureCritical, 8}, {kSpellMassCureSerious, 7},
                                   {kSpellMassCureModerate, 6}, {kSpellMassCureLight, 5}};
  static const int kInflictions[5][2] = {{kSpellMassHarm, 9}, {kSpellMassInflictCritical, 8},
                                         {kSpellMassInflictSerious, 7}, {kSpellMassInflictModerate, 6},
                                         {kSpellMassInflictLight, 5}};
  for (const bool cure : {true, false}) {
    const auto& list = cure ? kCures : kInflictions;
    int spell = -1;
    for (int k = 0; k < 5 && spell == -1; ++k) {
      if (k == 0 && metamagic != kMetamagicNone) continue;  // the mass heal and harm take no metamagic
      if (SlotFree(fighter, f, list[k][0], list[k][1], extra)) spell = list[k][0];
    }
    if (spell == -1) continue;
    PendingMetamagic = metamagic;
    if (MassCentreFound(fighter, spell, cure, 20, 3, 2)) return CastAfterStep(fighter, f, spell, -1, metamagic);
    PendingMetamagic = kMetamagicNone;
  }
  return TacticResult::kFellThrough;
}

// The allies the cleric reaches with its touch, itself last.
int AlliesInReach(int fighter, int32_t* out) {
  ListAdjacentAllies(fighter);
  int n = 0;
  for (int k = 0; k < kAdjacentListSize && AdjacentCreatureList[k] != -1; ++k) out[n++] = AdjacentCreatureList[k];
  out[n++] = fighter;
  return n;
}

bool InFireHurtBy(int c) { return StandsInFire(c); }

// Rule 9.6: the support spells for each ally in reach, in the cleric's order.
int SupportSpellFor(int fighter, const TacticFlags& f, int ally, int extra) {
  const bool living = !DestroyedType(ally);
  auto slot = [&](int spell, int level) { return SlotFree(fighter, f, spell, level, extra); };
  auto accepted = [&](int spell) { return CanCastOnTarget(fighter, ally, spell, 0); };
  const bool troubled =
      FindAnyCondition(ally, kCondConfused, kCondInsane, kCondSickened, kCondFeebleminded, kCondStunned) >= 0;
  if (slot(kSpellRemoveCurse, 3) && (Has(ally, kCondCursed) || Has(ally, kCondMute))) return kSpellRemoveCurse;
  if (slot(kSpellRemoveBlindness, 3) && (Has(ally, kCondBlinded) || Has(ally, kCondDeafened)))
    return kSpellRemoveBlindness;
  if (slot(kSpellFreedomOfMovement, 4) && accepted(kSpellFreedomOfMovement)) return kSpellFreedomOfMovement;
  if (slot(kSpellHeal, 6) && living && accepted(kSpellHeal) && troubled) return kSpellHeal;
  if (slot(kSpellHarm, 6) && Creatures[ally].type == 8 && accepted(kSpellHarm) && troubled) return kSpellHarm;
  if (slot(kSpellRemoveNegativeLevels, 5) && Has(ally, kCondLevelDrained)) return kSpellRemoveNegativeLevels;
  if (slot(kSpellRestoration, 4) && CombatAction.fullRoundActionLeft != 0 &&
      FindAnyCondition(ally, 66, 67, 68, 69, 70) >= 0)
    return kSpellRestoration;
  if (slot(kSpellLesserRestoration, 2) && FindAnyCondition(ally, 61, 62, 63, 64, 65) >= 0)
    return kSpellLesserRestoration;
  if (InFireHurtBy(ally) && accepted(kSpellProtectionFire)) {
    if (slot(kSpellGreaterProtectionFire, 3)) return kSpellGreaterProtectionFire;
    if (slot(kSpellProtectionFire, 2)) return kSpellProtectionFire;
  }
  return -1;
}

// The strongest cure (or infliction) the cleric can cast, -1 none.
int StrongestOf(int fighter, const TacticFlags& f, const int (&spells)[5][2], int extra) {
  for (const auto& s : spells)
    if (SlotFree(fighter, f, s[0], s[1], extra)) return s[0];
  return -1;
}

TacticResult ClericSupport(int fighter, const TacticFlags& f) {
  const int32_t metamagic = NeededMetamagic(fighter, f);
  const int extra = metamagic != kMetamagicNone ? 1 : 0;
  if (TacticResult r = ClericMassSpells(fighter, f); r != TacticResult::kFellThrough) return r;

  if (SlotFree(fighter, f, kSpellRemoveParalysis, 2, extra)) {
    for (int i = 0; i < TurnCount(); ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t) || AreEnemies(fighter, t) || HeldByOthers(t)) continue;
      if (!Has(t, kCondSlowed) && !ParalysedByMagic(t)) continue;
      GridSquare from, to;
      if (SquaredBetween(fighter, t, &from, &to) > 9 || !FindCover(from.x, from.y, to.x, to.y, 0)) continue;
      return CastAfterStep(fighter, f, kSpellRemoveParalysis, t, metamagic);
    }
  }

  int32_t allies[kAdjacentListSize + 1];
  const int count = AlliesInReach(fighter, allies);
  for (int k = 0; k < count; ++k) {
    if (HeldByOthers(allies[k])) continue;
    const int spell = SupportSpellFor(fighter, f, allies[k], extra);
    if (spell != -1) return CastAfterStep(fighter, f, spell, allies[k], metamagic);
  }

  static const int kCures[5][2] = {{kSpellHeal, 6}, {kSpellCureCriticalWounds, 4}, {kSpellCureSeriousWounds, 3},
                                   {kSpellCureModerateWounds, 2}, {kSpellCureLightWounds, 1}};
  static const int kInflictions[5][2] = {{kSpellHarm, 6}, {kSpellInflictCriticalWounds, 4},
                                         {kSpellInflictSeriousWounds, 3}, {kSpellInflictModerateWounds, 2},
                                         {kSpellInflictLightWounds, 1}};
  const bool cureOthers = CombatAction.cureOthers != 0;
  const int cure = StrongestOf(fighter, f, kCures, extra);
  if (cure != -1) {
    for (int k = 0; k < count; ++k) {
      const int a = allies[k];
      if (DestroyedType(a) || HeldByOthers(a)) continue;
      if (IsWorthCuring(a, 0, cure, cureOthers ? 40 : 70, fighter)) return CastOnFriendAfterStep(fighter, f, cure, a, metamagic);
    }
  }
  const int infliction = StrongestOf(fighter, f, kInflictions, extra);
  if (infliction != -1) {
    for (int k = 0; k < count; ++k) {
      const int a = allies[k];
      const CreatureRecord& t = Creatures[a];
      if (t.type != 8 || HeldByOthers(a) || !CanCastOnTarget(fighter, a, infliction, 0)) continue;
      if (t.maxHitPoints <= 0 || t.hitPoints >= t.maxHitPoints) continue;
      if (t.hitPoints * 100 / t.maxHitPoints <= (cureOthers ? 60 : 30))
        return CastOnFriendAfterStep(fighter, f, infliction, a, metamagic);
    }
  }

  if (SlotFree(fighter, f, kSpellInvisibilityPurge, 3, extra)) {
    const CreatureRecord& c = Creatures[fighter];
    const int32_t facing = c.facing;
    RasteriseBurst(fighter, c.squareX, c.squareY, kSpellInvisibilityPurge);
    Creatures[fighter].facing = facing;
    int hostile = 0, allied = 0;
    for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
      const int t = AreaTargetList[i];
      if (IsImmuneToSpell(kSpellInvisibilityPurge, t) || IsConditionEffectWasted(kSpellInvisibilityPurge, t))
        continue;
      if (AreEnemies(fighter, t)) ++hostile;
      else ++allied;
    }
    if (hostile > allied) return CastAfterStep(fighter, f, kSpellInvisibilityPurge, -1, metamagic);
  }
  return TacticResult::kFellThrough;
}

bool IsCureOrInfliction(int spell, bool* infliction) {
  switch (spell) {
    case kSpellCureLightWounds: case kSpellCureModerateWounds: case kSpellCureSeriousWounds:
    case kSpellCureCriticalWounds: case kSpellHeal:
      *infliction = false;
      return true;
    case kSpellInflictLightWounds: case kSpellInflictModerateWounds: case kSpellInflictSeriousWounds:
    case kSpellInflictCriticalWounds: case kSpellHarm:
      *infliction = true;
      return true;
    default:
      return false;
  }
}

// Rule 10: an innate or wand cure for a friend at 40 per cent or less.
TacticResult ItemCure(int fighter, const TacticFlags& f) {
  const CombatActionState& a = CombatAction;
  if (a.standardActionLeft == 0 || a.scriptedSpellPlanned) return TacticResult::kFellThrough;
  const CreatureRecord& c = Creatures[fighter];
  // The spell-like ability when it cures or inflicts, else the wand's spell.
  int spell = -1;
  bool wand = false;
  bool infliction = false;
  if (c.special[kSpecialSpellLike] > 0 && c.special[kSpecialUsesLeft] > 0)
    spell = c.special[kSpecialSpellLike] - 1;
  if (!IsCureOrInfliction(spell, &infliction)) {
    spell = -1;
    const uint32_t item = c.equipment[kSlotRightHand - 1];
    if (IsCraftedCode(item) && CraftedWeapons[item].itemType == 8 && CraftedWeapons[item].charges > 0) {
      spell = CraftedWeapons[item].spell;
      wand = true;
    }
  }
  if (!IsCureOrInfliction(spell, &infliction)) return TacticResult::kFellThrough;
  int32_t allies[kAdjacentListSize + 1];
  const int count = AlliesInReach(fighter, allies);
  for (int k = 0; k < count; ++k) {
    const int t = allies[k];
    const CreatureRecord& r = Creatures[t];
    if (infliction ? r.type != 8 : DestroyedType(t)) continue;
    if (!CanCastOnTarget(fighter, t, spell, 0) || HeldByOthers(t)) continue;
    if (r.maxHitPoints <= 0 || r.hitPoints >= r.maxHitPoints || r.hitPoints * 100 / r.maxHitPoints > 40) continue;
    if (StepsAwayFirst(fighter, f, spell, t)) return TacticResult::kCommitted;
    PendingMetamagic = kMetamagicNone;
    if (!wand) CastingSpellLike = 1;
    StartComputerCast(fighter, spell, wand);
    return TacticResult::kCommitted;
  }
  return TacticResult::kFellThrough;
}

// When the arcane spell comes first: a dispel of the magic areas in the way,
// by reason in the order 7, 11, 12, 14, 13; true when a centre was found for one of them.
bool DispelAreasInTheWay(int fighter, const TacticFlags& f, int extra) {
  const CreatureRecord& me = Creatures[fighter];
  auto within = [fighter](int x, int y, int32_t reach) {
    const GridSquare from = NearestFootprintSquare(fighter, x, y);
    return SquaredDistance(from.x, from.y, x, y) <= reach && HasLineOfEffect(from.x, from.y, x, y, nullptr);
  };
  auto anyCell = [](uint32_t kind) {
    for (const SquareEffectCell& cell : MagicAreaGrid)
      if (cell.kind == kind) return true;
    return false;
  };
  auto balance = [fighter](auto counts) {
    int total = 0;
    for (int i = 0; i < TurnCount(); ++i) {
      const int t = TurnOrder[i].creature;
      if (IsValidCreature(t) && WithinAndInLine(fighter, t, kDispelReachSquared)) total += counts(t);
    }
    return total;
  };
  for (const int reason : {7, 11, 12, 14, 13}) {
    if (!Knows(fighter, kSpellDispel) || !SlotFree(fighter, f, kSpellDispel, 3, extra) || ItemSpellPlanned())
      return false;
    bool trigger = false;
    switch (reason) {
      case 7:
        for (int x = 0; x < kMapSide && !trigger; ++x)
          for (int y = 0; y < kMapSide && !trigger; ++y)
            trigger = MagicAreaGrid[SquareIndex(x, y)].kind == kEffectSolid && within(x, y, kAreaReachSquared);
        trigger = trigger && NearestFoeReachable();
        break;
      case 11:
        trigger = anyCell(kEffectSilence) && balance([fighter](int t) {
                    if (!Has(t, kCondSilenced) || !HighestUsableSpellLevel(-1, t)) return 0;
                    return AreEnemies(fighter, t) ? -1 : 1;
                  }) > 0;
        break;
      case 12:
        trigger = anyCell(kEffectWeb) && balance([fighter](int t) {
                    if (!Has(t, kCondStuck)) return 0;
                    if (AreEnemies(fighter, t)) return -1;
                    return !HighestUsableSpellLevel(-1, t) && !HasUsableAmmunition(t) ? 1 : 0;
                  }) > 0;
        break;
      case 14: {
        bool anyFire = false;
        for (const SquareEffectCell& cell : MagicAreaGrid)
          anyFire |= cell.kind == kEffectFire && cell.roundsLeft != kDurationLasting;
        if (!anyFire || !PathToNearestFoeOpen(1)) break;
        // Every such fire in reach starts the same centre search: the first one decides.
        for (int x = 0; x < kMapSide && !trigger; ++x)
          for (int y = 0; y < kMapSide && !trigger; ++y) {
            const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
            trigger = cell.kind == kEffectFire && cell.roundsLeft != kDurationLasting && within(x, y, kAreaReachSquared);
          }
        break;
      }
      case 13:
        trigger = balance([fighter](int t) {
                    if (!IsBurnedAt(t, Creatures[t].squareX, Creatures[t].squareY)) return 0;
                    return AreEnemies(fighter, t) ? -1 : 1;
                  }) > 0;
        break;
      default:
        break;
    }
    (void)me;
    if (trigger && FindDispelCentre(fighter, reason)) return true;
  }
  return false;
}

}  // namespace

TacticResult CastSpellForSituation(int fighter, const TacticFlags& f) {
  if (!IsValidCreature(fighter)) return TacticResult::kFellThrough;
  LeaveHazard = 0;
  HazardKindToLeave = 0;
  const bool mayCast = f.canCastSpells && CombatAction.standardActionLeft != 0 && !ItemSpellPlanned();
  if (mayCast && Arcane(fighter) && Knows(fighter, kSpellDispel)) {
    if (TacticResult r = ArcaneDispels(fighter, f); r != TacticResult::kFellThrough) return r;
  }
  if (mayCast && Cleric(fighter)) {
    if (TacticResult r = ClericSelfHelp(fighter, f); r != TacticResult::kFellThrough) return r;
  }
  if (TacticResult r = AnswerHazards(fighter, f, mayCast); r != TacticResult::kFellThrough) return r;
  if (mayCast && Cleric(fighter) && DisruptionTarget == -1) {
    if (TacticResult r = ClericSupport(fighter, f); r != TacticResult::kFellThrough) return r;
  }
  return ItemCure(fighter, f);
}

TacticResult ChooseArcaneSpellFirst(int fighter, const TacticFlags& f, int32_t* forcedSpell) {
  *forcedSpell = -1;
  if (!IsValidCreature(fighter) || !Arcane(fighter) || DisruptionTarget != -1 || ItemSpellPlanned())
    return TacticResult::kFellThrough;
  const CreatureRecord& c = Creatures[fighter];
  const int32_t metamagic = NeededMetamagic(fighter, f);
  const int extra = metamagic != kMetamagicNone ? 1 : 0;

  if (SlotFree(fighter, f, kSpellFalseLife, 2, extra) && c.maxHitPoints > 0 && c.hitPoints < c.maxHitPoints &&
      c.hitPoints * 100 / c.maxHitPoints < 20) {
    if (StepsAwayFirst(fighter, f, kSpellFalseLife, fighter)) return TacticResult::kCommitted;
    *forcedSpell = kSpellFalseLife;
    return TacticResult::kFellThrough;
  }

  if (SlotFree(fighter, f, kSpellDispel, 3, extra)) {
    for (const int reason : {3, 9}) {
      bool found = false;
      for (int i = 0; i < TurnCount() && !found; ++i) {
        const int t = TurnOrder[i].creature;
        if (!IsValidCreature(t) || !WithinAndInLine(fighter, t, kDispelReachSquared)) continue;
        if (reason == 3) {
          found = AreEnemies(fighter, t) && HeldByOthers(t);
        } else {
          found = !AreEnemies(fighter, t) &&
                  (HasPolymorphValue42(t) || ParalysedByMagic(t) || Has(t, kCondDancing) || Has(t, kCondNauseated));
        }
      }
      // Every creature found starts the same centre search: the first one decides.
      if (found && FindDispelCentre(fighter, reason)) {
        PendingMetamagic = metamagic;  // none unless the cast must be silent or still
        StartComputerCast(fighter, kSpellDispel, false);
        return TacticResult::kCommitted;
      }
    }
  }
  if (DispelAreasInTheWay(fighter, f, extra)) *forcedSpell = kSpellDispel;
  return TacticResult::kFellThrough;
}
