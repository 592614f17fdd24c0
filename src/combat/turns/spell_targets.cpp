#include "combat/turns/spell_targets.h"

#include <algorithm>
#include <iterator>

#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_usefulness.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "rules/adjacency.h"
#include "rules/armour_class.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kFarAway = 10000;
constexpr int32_t kHelplessForm = 42;

// The spells a Knight, a creature that cannot cast, or a Cleric is the
// first to be spent on: the disabling spells and the cures and inflictions.
constexpr int kDisablingSpells[] = {7,  8,  10, 21, 24, 30, 34,  35,  38,  42,  51,  57,  59,  62,  63,  76,
                                    78, 79, 87, 94, 97, 99, 107, 119, 133, 144, 162, 109, 120, 134, 145, 161};
// Planned actions that aim at the entry's target: attacks, shots, casts and the rest.
constexpr int32_t kAimedPlans[] = {1, 2, 5, 12, 13, 14, 15, 16, 19, 20};

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

bool Contains(const int* first, const int* last, int value) { return std::find(first, last, value) != last; }

int TurnCount() { return std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries); }

bool InTurnOrder(int creature) {
  for (int i = 0; i < TurnCount(); ++i)
    if (TurnOrder[i].creature == creature) return true;
  return false;
}

void ClearCandidates() { std::fill(std::begin(TargetCandidateList), std::end(TargetCandidateList), -1); }

bool Listed(int creature) {
  for (int32_t c : TargetCandidateList) {
    if (c == -1) return false;
    if (c == creature) return true;
  }
  return false;
}

// Appends while there is room; false when the list is full.
bool Append(int creature) {
  for (int32_t& c : TargetCandidateList) {
    if (c == -1) {
      c = creature;
      return true;
    }
  }
  return false;
}

// The caster itself or a creature on its team.
bool OnCastersSide(int caster, int creature) { return creature == caster || AreAllies(caster, creature); }

// Not Summoned_Creature, Controlled or Dominated: a creature acting of its own will.
bool ActsOfItsOwnWill(int creature) {
  return !Has(creature, kCondSummonedCreature) && !Has(creature, kCondControlled) && !Has(creature, kCondDominated);
}

bool IsHealingOrHarming(int spell) {
  switch (spell) {
    case kSpellCureLightWounds: case kSpellCureModerateWounds: case kSpellCureSeriousWounds:
    case kSpellCureCriticalWounds: case kSpellHeal: case kSpellInflictLightWounds:
    case kSpellInflictModerateWounds: case kSpellInflictSeriousWounds: case kSpellInflictCriticalWounds:
    case kSpellHarm:
      return true;
    default:
      return false;
  }
}

// Step 1 of both choices: the candidates of the current spell; -1 when there
// are none, the one when there is exactly one, else -2 (score them).
int FillAndCount(int caster) {
  FillSpellTargetCandidates(caster);
  const int count = CountCandidates();
  if (count == 0) return -1;
  if (count == 1) return TargetCandidateList[0];
  return -2;
}

// The first candidate with the highest score above 0, -1 when none scored.
template <typename Score>
int BestScored(int count, Score score) {
  int best = -1;
  int32_t bestScore = 0;
  for (int i = 0; i < count; ++i) {
    const int32_t s = score(TargetCandidateList[i]);
    if (s > bestScore) {
      best = TargetCandidateList[i];
      bestScore = s;
    }
  }
  return best;
}

}  // namespace

int CountCandidates() { return CountListed(TargetCandidateList, kCandidateListSize); }

int32_t SquaredReach(int a, int b) {
  const CreatureRecord& ca = Creatures[a];
  const CreatureRecord& cb = Creatures[b];
  const GridSquare pa = NearestFootprintSquare(a, cb.squareX, cb.squareY);
  const GridSquare pb = NearestFootprintSquare(b, ca.squareX, ca.squareY);
  const int32_t dx = pa.x - pb.x, dy = pa.y - pb.y;
  return dx * dx + dy * dy;
}

bool HasClearLine(int a, int b) {
  const CreatureRecord& ca = Creatures[a];
  const CreatureRecord& cb = Creatures[b];
  const GridSquare pa = NearestFootprintSquare(a, cb.squareX, cb.squareY);
  const GridSquare pb = NearestFootprintSquare(b, ca.squareX, ca.squareY);
  return FindCover(pa.x, pa.y, pb.x, pb.y, 0);
}

int ScriptSetTarget(int caster) {
  if (!IsValidCreature(caster) || CastingScripted != 1) return -1;
  const int spell = SpellInProgress;
  if (spell < 0 || spell >= kSpellRows) return -1;
  const int32_t kind = SpellTargetKind[spell];
  if (kind != 3 && kind != 4 && kind != 9) return -1;
  const int32_t named = Creatures[caster].scriptWords[kScriptWordTarget];
  if (named < 1 || !IsValidCreature(named) || !InTurnOrder(named)) return -1;
  return named;
}

bool ListCombatantsInReach(int creature, int reachClass) {
  ClearCandidates();
  if (!IsValidCreature(creature)) return false;
  static const int32_t kBelow[5] = {0, 3, 10, 50, 145};
  if (reachClass < 1 || reachClass > 4) return false;
  bool any = false;
  for (int i = 0; i < TurnCount(); ++i) {
    const int t = TurnOrder[i].creature;
    if (!IsValidCreature(t) || Listed(t)) continue;
    if (SquaredReach(creature, t) >= kBelow[reachClass]) continue;
    if (reachClass >= 2 && !HasClearLine(creature, t)) continue;
    if (!Append(t)) break;
    any = true;
  }
  return any;
}

bool FillSpellTargetCandidates(int caster) {
  ClearCandidates();
  const int spell = SpellInProgress;
  if (!IsValidCreature(caster) || spell < 0 || spell >= kSpellRows) return false;
  const SpellRecord& row = SpellTable[spell];
  const int32_t reach = RangeKindReach(row.range);
  // A cure or infliction the spell choice sent against an enemy (a cure on
  // an undead foe) is aimed as a spell against enemies; one meant for a
  // friend (an infliction on an undead friend) as a spell for friends.
  const bool againstEnemies = IsGroupSpell10(spell) && CastingExtraValue[1] == kGroupAgainstEnemies;
  const bool forFriends = IsGroupSpell10(spell) && CastingExtraValue[1] == kGroupOnFriends;
  bool any = false;
  for (int i = 0; i < TurnCount(); ++i) {
    const int t = TurnOrder[i].creature;
    if (!IsValidCreature(t)) continue;
    if (againstEnemies || (row.targeting == 1 && !forFriends)) {
      if (OnCastersSide(caster, t)) continue;
    } else if (row.beneficial == 1 || forFriends) {
      if (t != caster && !AreAllies(caster, t)) continue;
    }
    if (!CanCastOnTarget(caster, t, spell, 0) || Listed(t)) continue;
    if (reach >= 0 && SquaredReach(caster, t) > reach) continue;
    if (!HasClearLine(caster, t)) continue;
    if (!Append(t)) break;
    any = true;
  }
  return any;
}

int ChooseSpellTarget() {
  const int caster = SpellCaster;
  const int spell = SpellInProgress;
  const int quick = FillAndCount(caster);
  if (quick != -2) return quick;
  const int count = CountCandidates();

  int mostHurt = -1, strongestAttack = -1, mostHitPoints = -1;
  if (IsHealingOrHarming(spell)) {
    int32_t worst = 0;
    for (int i = 0; i < count; ++i) {
      const int c = TargetCandidateList[i];
      if (!OnCastersSide(caster, c)) continue;
      const int32_t missing = Creatures[c].maxHitPoints - Creatures[c].hitPoints;
      if (missing > worst) {
        worst = missing;
        mostHurt = c;
      }
    }
    if (mostHurt != -1 && spell != kSpellHeal && spell != kSpellHarm) return mostHurt;
  } else {
    int32_t bestAttack = 0, bestHitPoints = 0;
    for (int i = 0; i < count; ++i) {
      const int c = TargetCandidateList[i];
      if (AreEnemies(caster, c)) continue;
      const CreatureRecord& r = Creatures[c];
      if (strongestAttack == -1 || r.baseAttack.current > bestAttack) {
        strongestAttack = c;
        bestAttack = r.baseAttack.current;
      }
      if (mostHitPoints == -1 || r.hitPoints > bestHitPoints) {
        mostHitPoints = c;
        bestHitPoints = r.hitPoints;
      }
    }
  }

  const int scripted = ScriptSetTarget(caster);
  return BestScored(count, [&](int c) {
    int32_t score = 0;
    if (spell == kSpellFreedomOfMovement && c == caster) score += 8;
    if ((spell == kSpellProtectionFire || spell == kSpellGreaterProtectionFire) && scripted == -1 &&
        Has(c, kCondBurning))
      score += 27;
    if ((spell == kSpellHeal || spell == kSpellHarm) && OnCastersSide(caster, c) &&
        FindAnyCondition(c, kCondConfused, kCondInsane, kCondSickened, kCondFeebleminded, kCondStunned) >= 0)
      score += 15;
    if (c == mostHurt) score += 9;
    if (Creatures[c].creatureClass == kClassKnight) score += 5;
    if (c == strongestAttack) score += 13;
    if (c == mostHitPoints) score += 7;
    if (scripted != -1 && c == scripted) score += 26;
    if (ActsOfItsOwnWill(c)) score += 6;
    return score;
  });
}

int ChooseBestSpellTarget() {
  const int caster = SpellCaster;
  const int spell = SpellInProgress;
  const int quick = FillAndCount(caster);
  if (quick != -2) return quick;
  const int count = CountCandidates();
  const SpellRecord& row = SpellTable[spell];
  const bool rangedTouch = row.rangedTouch == 1;
  const bool meleeTouch = row.meleeTouch == 1;
  const int32_t kind = SpellTargetKind[spell];

  // Who has the fewest and the most hit points, and which foe is easiest to touch.
  int fewest = -1, most = -1, easiestTouch = -1;
  int32_t fewestHp = kFarAway, mostHp = 0, lowestTouch = kFarAway;
  for (int i = 0; i < count; ++i) {
    const int c = TargetCandidateList[i];
    const int32_t hp = Creatures[c].hitPoints;
    if (hp < fewestHp) {
      fewestHp = hp;
      fewest = c;
    }
    if (hp > mostHp) {
      mostHp = hp;
      most = c;
    }
    if (OnCastersSide(caster, c) || !(meleeTouch || rangedTouch)) continue;
    int32_t touch;
    if (rangedTouch) {
      const GridSquare from = NearestFootprintSquare(caster, Creatures[c].squareX, Creatures[c].squareY);
      const GridSquare to = NearestFootprintSquare(c, Creatures[caster].squareX, Creatures[caster].squareY);
      FindCover(from.x, from.y, to.x, to.y, 1);
      touch = ComputeArmourClass(c, nullptr, nullptr, 1, caster, kAttackRanged, 0);
    } else {
      touch = ComputeArmourClass(c, nullptr, nullptr, 1, caster, kAttackMelee, 0);
    }
    if (touch < lowestTouch) {
      lowestTouch = touch;
      easiestTouch = c;
    }
  }

  const bool disabling = Contains(std::begin(kDisablingSpells), std::end(kDisablingSpells), spell);
  return BestScored(count, [&](int c) {
    if (OnCastersSide(caster, c)) return 0;
    const CreatureRecord& r = Creatures[c];
    int32_t score = 0;
    for (int i = 0; i < TurnCount(); ++i) {
      const TurnOrderEntry& e = TurnOrder[i];
      if (e.plannedTarget == c && Contains(std::begin(kAimedPlans), std::end(kAimedPlans), e.plannedAction))
        score += 5;
    }
    if (spell == kSpellAcidRay && !Has(c, kCondAcidBurns)) score += 45;
    if (spell == kSpellDischarge && !Has(c, kCondStunned)) score += 18;
    if (c == DisruptionTarget) score += 100;
    if (kind == 1 && !Has(c, kCondSleeping)) score += 29;
    if (disabling) {
      if (r.creatureClass == kClassKnight) score += 21;
      else if (!HighestUsableSpellLevel(-1, c)) score += 17;
      else if (r.creatureClass == kClassCleric) score += 4;
      if (spell == kSpellMindBlast || kind != 1) {
        if (c == most) score += spell == kSpellMindBlast ? 22 : 12;
        else if (r.hitPoints >= 80) score += 10;
      }
    } else {
      if (r.creatureClass == kClassWizard) score += 11;
      else if (r.creatureClass == kClassCleric) score += 7;
      else if (r.special[kSpecialSpellLike] > 0 && r.special[kSpecialUsesLeft] > 0) score += 5;
      if (spell == kSpellAcidRay && CanStillCastSpells(c)) score += 9;
    }
    if (c == easiestTouch) score += 13;
    if (ActsOfItsOwnWill(c) && !(rangedTouch && Has(c, kCondGrappling))) score += 17;
    if (kind == 1 && spell != kSpellMindBlast) {
      if (c == WeakestEnemy) score += 6;
      else if (c == fewest) score += 3;
    }
    return score;
  });
}

bool HasPolymorphValue42(int creature) {
  if (!IsValidCreature(creature)) return false;
  for (const ConditionEntry& e : Creatures[creature].conditions) {
    if (e.id == 0 && e.duration == 0) break;
    if (e.id == kCondPolymorphed && e.duration > 0 && e.value == kHelplessForm) return true;
  }
  return false;
}

bool SameKind3Status(int a, int b) {
  if (!IsValidCreature(a) || !IsValidCreature(b)) return false;
  return (Creatures[a].creatureClass == kClassCleric) == (Creatures[b].creatureClass == kClassCleric);
}

