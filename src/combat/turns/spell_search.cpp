#include "combat/turns/spell_search.h"

#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/actions/displacement.h"
#include "combat/actions/leaving_combat.h"
#include "combat/actions/least_services.h"
#include "combat/actions/turn_order_changes.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/spell_usefulness.h"
#include "engine/message_log.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

// Summonings the search leaves once this many creatures were summoned in the battle.
constexpr int32_t kSummonLimit = 19;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

bool OneOf(int spell, std::initializer_list<int> ids) {
  for (int id : ids)
    if (id == spell) return true;
  return false;
}

int TurnCount() { return TurnEntryCount < 0 ? 0 : TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

int32_t RoleWord(int creature) { return Creatures[creature].behaviour[kBehaviourCastingStyle]; }
int32_t KeepDistanceWord(int creature) { return Creatures[creature].behaviour[kBehaviourDefensiveStyle]; }

bool IsInfliction(int spell) {
  return OneOf(spell, {kSpellInflictLightWounds, kSpellInflictModerateWounds, kSpellInflictSeriousWounds,
                       kSpellInflictCriticalWounds, kSpellHarm});
}
bool IsCure(int spell) {
  return OneOf(spell, {kSpellCureLightWounds, kSpellCureModerateWounds, kSpellCureSeriousWounds,
                       kSpellCureCriticalWounds, kSpellHeal});
}
bool IsMassCure(int spell) {
  return OneOf(spell, {kSpellMassCureLight, kSpellMassCureModerate, kSpellMassCureSerious, kSpellMassCureCritical,
                       kSpellMassHeal});
}
bool IsMassInfliction(int spell) {
  return OneOf(spell, {kSpellMassInflictLight, kSpellMassInflictModerate, kSpellMassInflictSerious,
                       kSpellMassInflictCritical, kSpellMassHarm});
}
bool IsSummoning(int spell) { return spell >= kSpellSummonFireElemental && spell <= kSpellSummonAirElemental; }

// Within the spell's reach (a squared distance; -1 is no limit).
bool WithinReach(int caster, int target, int spell) {
  const int reach = RangeClassSquared(spell);
  return reach == -1 || SquaredReach(caster, target) <= reach;
}

// A free line for the spell between the two creatures' nearest footprint squares.
bool InLineOfEffect(int caster, int target) {
  const CreatureRecord& c = Creatures[caster];
  const CreatureRecord& t = Creatures[target];
  const GridSquare from = NearestFootprintSquare(caster, t.squareX, t.squareY);
  const GridSquare to = NearestFootprintSquare(target, c.squareX, c.squareY);
  return HasLineOfEffect(from.x, from.y, to.x, to.y, nullptr);
}

bool InvisibleBySpell(int creature) {
  for (uint32_t id : {kCondInvisible, kCondGreaterInvisibility}) {
    const int slot = FindCondition(creature, id);
    if (slot >= 0 && Creatures[creature].conditions[slot].source == kSourceSpell) return true;
  }
  return false;
}

// The number of area targets the last shape listed.
int AreaTargetCount() {
  int n = 0;
  while (n < kAreaTargetCount && AreaTargetList[n] != -1) ++n;
  return n;
}

bool InAreaTargets(int creature) {
  for (int i = 0; i < AreaTargetCount(); ++i)
    if (AreaTargetList[i] == creature) return true;
  return false;
}

// Room for the caster to take a 2 by 2 form where it stands.
bool RoomToGrow(int caster) { return CanGrowInPlace(caster, 2, 2); }

// The spells a Wizard or Lich of the fighting role may cast.
bool FightingArcaneSpell(int spell) {
  return OneOf(spell, {0,  3,  4,  5,  6,  7,  9,  11, 14, 15, 16, 17, 18, 21, 23, 24, 25, 26, 28, 29, 30, 31,
                       32, 33, 35, 37, 39, 40, 41, 42, 45, 46, 50, 51, 52, 53, 57, 62, 63, 64, 66, 67, 68, 73,
                       75, 85, 88, 93, 94, 97});
}

// Source rules: the spell is the one the search is about, or a known spell of the level.
bool IsSearchedSpell(const SpellSearchContext& x, int spell) {
  if (x.source != SpellSource::kOwn) return spell == x.itemSpell;
  if (Creatures[x.fighter].knownSpells[spell] != 1) return false;
  return x.secondPass || SpellTable[spell].level == x.level;
}

// Spells the computer never casts from its own memory (at level 1 the small
// personal spells too).
bool NeverCastOwn(int spell, int level) {
  if (level == 1 && OneOf(spell, {kSpellMageArmor, kSpellTrueStrike, kSpellEnlargeWeapon, kSpellReduceWeapon}))
    return true;
  if (spell >= kSpellProtectionArrows && spell <= kSpellProtectionSonic) return true;
  if (spell >= kSpellGreaterProtectionFire && spell <= kSpellGreaterProtectionSonic) return true;
  return OneOf(spell, {kSpellInvisibility, kSpellMindBlank, kSpellWallOfStone, kSpellTeleportToWorldMap, kSpellLight,
                       kSpellRemoveShakes, kSpellRemoveFatigue, kSpellLendLife, kSpellDeathWard, kSpellRaiseDead,
                       kSpellMassDeathWard, kSpellTrueResurrection, kSpellProtectionPoison, kSpellStoneToFlesh,
                       kSpellFreedom});
}

// A spell the caster means to disrupt the focus creature's casting with.
bool SuitsDisruption(int spell, int target) {
  if (!IsAiSpellListed(spell) || IsImmuneToSpell(spell, target)) return false;
  const bool undead = Creatures[target].type == kTypeUndead;
  if (IsInfliction(spell) && undead) return false;
  if (IsCure(spell) && !undead) return false;
  if (OneOf(spell, {kSpellMute, kSpellMassMute, kSpellSilence})) {
    if (FindAnyCondition(target, kCondFeebleminded, kCondSilenced, kCondMute) >= 0) return false;
    for (int i = 0; i < TurnCount(); ++i) {
      const TurnOrderEntry& e = TurnOrder[i];
      if (e.creature != target) continue;
      const int held = e.plannedTarget;
      return held >= 0 && held < kSpellRows && SpellTable[held].verbal != 0 &&
             e.plannedParameter != kMetamagicSilent;
    }
    return false;
  }
  return true;
}

// The rules of the caster's class and role.
bool SuitsClassAndRole(const SpellSearchContext& x, int spell) {
  const int f = x.fighter;
  const int32_t cls = Creatures[f].creatureClass;
  const int32_t role = RoleWord(f);
  const int32_t kind = SpellTargetKind[spell];
  if (cls == kClassCleric && role == 1) {
    if (kind == 2 || kind == 8) return false;
    if (kind == 1 || kind == 7) return SpellTable[spell].range == 2 || IsSummoning(spell);
    return true;
  }
  if (cls == kClassCleric && role == 2) return kind != 3 || spell == kSpellSpellResistance;
  if ((cls == kClassWizard || cls == kClassLich) && role == 1) return FightingArcaneSpell(spell);
  if (cls == kClassWizard && role == 2 && !x.situation->adjacentEnemy) {
    if (OneOf(spell, {kSpellGreaterInvisibility, kSpellFireShield, kSpellIceShield})) {
      const int32_t keep = KeepDistanceWord(f);
      return keep == 1 || keep == 2;
    }
    if (OneOf(spell, {kSpellShockingGrasp, kSpellGhoulTouch, kSpellDisplacement, kSpellBestowCurse,
                      kSpellPolymorphSpider, kSpellPolymorphBear, kSpellRustingGrasp, kSpellPolymorphFrostGiant,
                      kSpellPolymorphFireGiant, kSpellFleshToStone, kSpellTransformation, kSpellIrresistibleDance,
                      kSpellIronBody}))
      return false;
    return kind != 3 || spell == kSpellStoneskin || spell == kSpellBlur;
  }
  return true;
}

// Some enemy in the battle that passes the test.
template <typename Test>
bool AnyEnemy(int fighter, Test test) {
  for (int i = 0; i < TurnCount(); ++i) {
    const int c = TurnOrder[i].creature;
    if (IsValidCreature(c) && AreEnemies(fighter, c) && test(c)) return true;
  }
  return false;
}

// Spells that only make sense against certain foes.
bool HasFittingFoe(int fighter, int spell) {
  if (OneOf(spell, {kSpellProtectionGoodEvil, kSpellMassProtectionGoodEvil, kSpellGreaterProtectionGoodEvil})) {
    const bool enemySide = Creatures[fighter].allegiance == kAllegianceEnemy;
    return AnyEnemy(fighter, [enemySide](int c) {
      const int32_t a = Creatures[c].alignment;
      return enemySide ? (a == 1 || a == 4 || a == 7) : (a == 3 || a == 6 || a == 9);
    });
  }
  if (spell == kSpellSpellResistance) return AnyEnemy(fighter, [](int c) { return CanStillCastSpells(c); });
  if (spell == kSpellTrueSeeing)
    return AnyEnemy(fighter, [](int c) {
      return FindAnyCondition(c, kCondMagicallyConcealed, kCondInvisible, kCondGreaterInvisibility) >= 0;
    });
  return true;
}

// Targeting kind 1: the caster itself.
bool CasterSpellListed(const SpellSearchContext& x, int spell) {
  const int f = x.fighter;
  const CreatureRecord& c = Creatures[f];
  if (x.source == SpellSource::kOwn && !(RoleWord(f) == 1 || x.situation->adjacentEnemy || c.creatureClass == kClassLich))
    return false;
  const bool changed = Has(f, kCondTransformation) || Has(f, kCondPolymorphed);
  switch (spell) {
    case kSpellPolymorphSpider:
    case kSpellPolymorphBear:
    case kSpellPolymorphFrostGiant:
    case kSpellPolymorphFireGiant:
      if (!Has(f, kCondEnlarged) && !Has(f, kCondReduced) && !RoomToGrow(f)) return false;
      if (changed || c.type != kTypeHumanoid) return false;
      break;
    case kSpellIronBody:
    case kSpellTransformation:
      if (changed) return false;
      break;
    case kSpellTrueStrike:
      if (Has(f, kCondTrueStrike)) return false;
      break;
    case kSpellDivineFavour:
      if (Has(f, kCondLucky)) return false;
      break;
    case kSpellDivinePower:
      if (Has(f, kCondEnhancedBaseAttack)) return false;
      break;
    case kSpellRighteousMight:
      if (Has(f, kCondPolymorphed) || Has(f, kCondEnlarged) || c.size.current >= 4) return false;
      if (!Has(f, kCondReduced) && !RoomToGrow(f)) return false;
      break;
    default:
      break;
  }
  // Not immune, and not wasted on the caster (a shield it already holds).
  return CanCastOnTarget(f, f, spell, 0);
}

// Targeting kind 2: a burst round the caster.
bool CasterBurstListed(int f, int spell) {
  const CreatureRecord& c = Creatures[f];
  const int32_t facing = c.facing;
  RasteriseBurst(f, c.squareX, c.squareY, spell);
  Creatures[f].facing = facing;
  const int scripted = ScriptedSpellTarget(f);
  const bool alliesOnly = SpellTable[spell].beneficial == 1;
  int hostile = 0, allied = 0;
  bool casterCounted = false;
  const int count = AreaTargetCount();
  for (int i = 0; i < count; ++i) {
    const int t = AreaTargetList[i];
    const bool enemy = AreEnemies(f, t);
    if (!alliesOnly) {
      if (enemy) {
        if (spell == kSpellBane && Has(t, kCondBadMorale)) continue;
        if (spell == kSpellPrayer && Has(t, kCondUnlucky)) continue;
        if (spell == kSpellInvisibilityPurge && !InvisibleBySpell(t)) continue;
        if (IsImmuneToSpell(spell, t)) continue;
        ++hostile;
        if (spell != kSpellBane && spell != kSpellPrayer) break;
      } else if (spell == kSpellPrayer) {
        if (!Has(t, kCondLucky) && !IsImmuneToSpell(spell, t)) ++allied;
      } else if (spell == kSpellInvisibilityPurge) {
        if (InvisibleBySpell(t)) ++allied;
      }
    } else {
      if (enemy) continue;
      if (spell == kSpellBless && Has(t, kCondGoodMorale)) continue;
      if (IsImmuneToSpell(spell, t)) continue;
      ++allied;
      if (t == f) casterCounted = true;
      if (spell != kSpellBless) break;
    }
  }
  if (scripted != -1 && !InAreaTargets(scripted)) return false;
  if (spell == kSpellBless) {
    if (casterCounted) return true;
    Trace("Caster already has bless effect...\r");
    return allied >= 2;
  }
  if (spell == kSpellPrayer) return hostile >= 1 || hostile + allied >= 2;
  return hostile + allied >= 1;
}

// Targeting kind 3: one creature.
bool OneCreatureListed(const SpellSearchContext& x, int spell) {
  const int f = x.fighter;
  const int scripted = ScriptedSpellTarget(f);
  if (x.source == SpellSource::kSpellLike) Trace("Trying to target spell-like ability.\r");
  for (int i = 0; i < TurnCount(); ++i) {
    const int t = TurnOrder[i].creature;
    if (!IsValidCreature(t)) continue;
    if (scripted != -1 && t != scripted) continue;
    if (IsGroupSpell10(spell) && !AreEnemies(f, t)) continue;
    if (!CanCastOnTarget(f, t, spell, 0)) continue;
    if (!HasClearLine(f, t)) continue;
    if (!WithinReach(f, t, spell)) continue;
    if (DisruptionTarget != -1 && t != DisruptionTarget) continue;
    if (SpellTargetKind[spell] == 1 && Has(t, kCondSleeping)) continue;
    return true;
  }
  return false;
}

// Targeting kind 4: a summoning, tried with a stand-in creature first.
bool SummoningListed(int f, int spell) {
  if (Creatures[f].allegiance != kAllegianceEnemy || SummonsMade >= kSummonLimit || CasterLevelOf(f) < 3) return false;
  for (int i = 0; i < FoundSpellCount; ++i)
    if (IsSummoning(FoundSpells[i])) return true;
  const int record = kFirstSummonRecord + SummonsMade;
  Creatures[record] = CreatureRecord{};
  const int keptCaster = SpellCaster;
  SpellCaster = f;
  CreateSummonedElemental(record, spell);
  AppendCombatant(record, f);
  BuildMeleeValuationGrid(record, f, 0, 0, 1);
  DismissCombatant();
  const int64_t best = ExtractBestSquare(record, 1, nullptr);
  SpellCaster = keptCaster;
  if (best != -1) {
    const int bx = static_cast<int32_t>(best & 0xFFFFFFFF), by = static_cast<int32_t>(best >> 32);
    const GridSquare from = NearestFootprintSquare(f, bx, by);
    const int reach = RangeClassSquared(spell);
    if (CurrentMap.Inside(bx, by) && CreatureAtSquare(bx, by, -1) == -1 &&
        HasLineOfEffect(from.x, from.y, bx, by, nullptr) &&
        (reach == -1 || SquaredDistance(from.x, from.y, bx, by) <= reach))
      return true;
  }
  MarkAdjacentSquares(f);
  for (int sx = 0; sx < kMapSide; ++sx)
    for (int sy = 0; sy < kMapSide; ++sy) {
      const int sq = SquareIndex(sx, sy);
      if (AdjacencyGrid[sq] == 0 || BlockedGrid[sq] == kSquareBlocked) continue;
      if (CreatureAtSquare(sx, sy, -1) == -1) return true;
    }
  return false;
}

// Targeting kind 5: a line aimed at the first creature it could be meant for.
bool AimedLineListed(int f, int spell) {
  const bool alliesOnly = SpellTable[spell].beneficial == 1;
  for (int i = 0; i < TurnCount(); ++i) {
    const int t = TurnOrder[i].creature;
    if (!IsValidCreature(t)) continue;
    if (AreEnemies(f, t) == alliesOnly) continue;
    if (DisruptionTarget != -1 && t != DisruptionTarget) continue;
    if (IsImmuneToSpell(spell, t) || !WithinReach(f, t, spell) || !InLineOfEffect(f, t)) continue;
    FillAreaTargetWeights(spell, f);
    return FindLineTarget(spell, f);
  }
  return false;
}

// Targeting kinds 6 and 7: an area placed on a square.
bool PlacedAreaListed(int f, int spell) {
  if (spell != kSpellDispel) {
    const bool massCure = IsMassCure(spell), massInfliction = IsMassInfliction(spell);
    if ((massCure || massInfliction) &&
        (PendingMetamagic == kMetamagicMaximised || PendingMetamagic == kMetamagicEmpowered ||
         PendingMetamagic == kMetamagicHeightened))
      return false;
    const bool alliesOnly = SpellTable[spell].beneficial == 1;
    int counted = 0;
    bool focusCounted = false;
    for (int i = 0; i < TurnCount(); ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t)) continue;
      const bool enemy = AreEnemies(f, t);
      const bool undead = Creatures[t].type == kTypeUndead;
      bool fits;
      if (massCure) fits = undead ? enemy : !enemy;
      else if (massInfliction) fits = undead ? !enemy : enemy;
      else fits = alliesOnly ? !enemy : enemy;
      if (!fits || IsImmuneToSpell(spell, t) || !WithinReach(f, t, spell) || !InLineOfEffect(f, t)) continue;
      if (SpellTargetKind[spell] == 2 && Has(t, kCondSleeping)) continue;
      ++counted;
      if (t == DisruptionTarget) focusCounted = true;
    }
    if (DisruptionTarget != -1 && !focusCounted) return false;
    if (counted < (alliesOnly ? 2 : 1)) return false;
  }
  FillAreaTargetWeights(spell, f);
  const GridSquare centre = FindCircle(f, spell);
  if (centre.x != -1) return true;
  Trace("Targetpoint not found for %s\r", SpellTable[spell].name);
  return false;
}

// Targeting kinds 8 and 9: a cone or line released from the caster, aimed
// through each open square of the ring round it.
bool ReleasedAreaListed(int f, int spell) {
  const bool cone = SpellTable[spell].target == kAimCone;
  const bool alliesOnly = SpellTable[spell].beneficial == 1;
  const int32_t facing = Creatures[f].facing;
  MarkAdjacentSquares(f);
  int32_t ring[4 * kMapSide][2];
  int ringCount = 0;
  for (int rx = 0; rx < kMapSide; ++rx)
    for (int ry = 0; ry < kMapSide; ++ry) {
      const int sq = SquareIndex(rx, ry);
      if (AdjacencyGrid[sq] != 0 && BlockedGrid[sq] != kSquareBlocked && ringCount < 4 * kMapSide) {
        ring[ringCount][0] = rx;
        ring[ringCount][1] = ry;
        ++ringCount;
      }
    }
  const int needed = spell == kSpellShout || spell == kSpellVampiricBlast ? 2 : 1;
  const bool acceptsAllies = Creatures[f].scriptWords[kScriptWordAcceptsAllies] == 1;
  for (int r = 0; r < ringCount; ++r) {
    int32_t direction = 0, near[2] = {0, 0};
    if (cone) RasteriseCone(f, ring[r][0], ring[r][1], spell, &direction);
    else RasteriseLine(f, ring[r][0], ring[r][1], spell, &direction, near);
    Creatures[f].facing = facing;
    int hostile = 0, allied = 0;
    bool focusCaught = false, friendCaught = false;
    for (int i = 0; i < AreaTargetCount(); ++i) {
      const int t = AreaTargetList[i];
      if (IsImmuneToSpell(spell, t)) continue;
      if (alliesOnly) {
        if (!AreEnemies(f, t)) friendCaught = true;
        continue;
      }
      if (IsEffectWastedOnTarget(spell, t)) continue;
      if (SpellTargetKind[spell] == 2 && Has(t, kCondSleeping)) continue;
      if (AreEnemies(f, t)) ++hostile;
      else ++allied;
      if (t == DisruptionTarget) focusCaught = true;
    }
    if (alliesOnly) {
      if (friendCaught) return true;
      continue;
    }
    if (DisruptionTarget != -1 && !focusCaught) continue;
    if (hostile < needed) continue;
    if (allied > 0 && !(acceptsAllies && hostile >= allied)) continue;
    return true;
  }
  return false;
}

}  // namespace

int32_t InnateSpellOf(int creature) {
  if (!IsValidCreature(creature)) return -1;
  const int32_t field = Creatures[creature].special[kSpecialSpellLike];
  return field > 0 && field <= kSpellRows ? field - 1 : -1;
}

uint32_t WandItemOf(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const uint32_t code = Creatures[creature].equipment[kSlotRightHand - 1];
  return IsCraftedCode(code) ? code : 0;
}

int32_t WandSpellOf(int creature) {
  const uint32_t code = WandItemOf(creature);
  if (code == 0) return -1;
  const int32_t spell = CraftedWeapons[code].spell;
  return spell >= 0 && spell < kSpellRows ? spell : -1;
}

bool PassesCandidateRules(const SpellSearchContext& x, int spell) {
  const int f = x.fighter;
  if (x.secondPass && !IsSpellInLevelGroup(spell, x.level)) return false;
  if (!IsSearchedSpell(x, spell)) return false;
  const SpellRecord& row = SpellTable[spell];
  if (row.castingTime == 3 && CombatAction.fullRoundActionLeft == 0) return false;
  if (x.source == SpellSource::kOwn) {
    if (NeverCastOwn(spell, x.level)) return false;
    if (spell == kSpellShout && PendingMetamagic == kMetamagicMaximised) return false;
    if (spell == kSpellEntangle && CountAllies(f) == 0 && RollDice(2, 1, 0, 0) == 1) return false;
    if (PendingMetamagic != kMetamagicNone && row.metamagic[PendingMetamagic - 1] != 1) return false;
    const int32_t kind = SpellTargetKind[spell];
    if (kind == 9 || kind == 6) return false;
    if (DisruptionTarget != -1) {
      if (!SuitsDisruption(spell, DisruptionTarget)) return false;
    } else if (!SuitsClassAndRole(x, spell)) {
      return false;
    }
  }
  if (!HasFittingFoe(f, spell)) return false;
  switch (row.target) {
    case kAimCaster: return CasterSpellListed(x, spell);
    case kAimCentered: return CasterBurstListed(f, spell);
    case kAimIndividual: return OneCreatureListed(x, spell);
    case kAimSquares: return SummoningListed(f, spell);
    case kAimRectangle: return AimedLineListed(f, spell);
    case kAimCircle:
    case kAimCircleBurst: return PlacedAreaListed(f, spell);
    case kAimCone:
    case kAimLine: return ReleasedAreaListed(f, spell);
    default: return false;
  }
}
