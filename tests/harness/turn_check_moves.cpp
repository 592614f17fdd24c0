#include "harness/turn_check_moves.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_movement.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "harness/battle_runner.h"
#include "harness/turn_check.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/record_words.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace turn_cases {

bool PartySide(int c) { return IsPartyAllegiance(Creatures[c].allegiance); }

int UpToADecision(bool surprise, int otherThanSide) {
  for (int frame = 0; frame < 20000; ++frame) {
    if (!battles::StepBattleFrame()) break;
    battles::WatchFrame();
    const CombatActionState& a = CombatAction;
    if (CombatState != kStateComputerDecision || a.standardActionLeft != 1 || a.moveActionLeft != 1) continue;
    if (otherThanSide != 0) {
      if (CombatRoundNumber >= 3 && a.fullRoundActionLeft == 1 && a.singleActionTurn == 0 &&
          PartySide(CurrentFighter()) != (otherThanSide == 1))
        return CurrentFighter();
    } else if (surprise ? CombatRoundNumber == 1 && a.singleActionTurn == 1
                        : CombatRoundNumber == 2 && a.fullRoundActionLeft == 1 && a.singleActionTurn == 0) {
      return CurrentFighter();
    }
  }
  return -1;
}

int FoeOf(int f) {
  for (int id : battles::BattleFighters())
    if (PartySide(id) != PartySide(f) && Creatures[id].hitPoints > 0 &&
        Creatures[id].present == 1)
      return id;
  return -1;
}

void Give(int c, uint32_t condition) { AddCondition(c, condition, 3, 0, 0, 0); }

int AllyOf(int f) {
  for (int id : battles::BattleFighters())
    if (id != f && PartySide(id) == PartySide(f) && Creatures[id].present == 1) return id;
  return -1;
}

void Beside(int c, int other) {
  const CreatureRecord& o = Creatures[other];
  Creatures[c].squareX =
      o.squareX + o.footprintWidth.current + Creatures[c].footprintWidth.current < 60 ? o.squareX + o.footprintWidth.current
                                                                                     : o.squareX - Creatures[c].footprintWidth.current;
  Creatures[c].squareY = o.squareY;
}

void Below(int c, int other) {
  const CreatureRecord& o = Creatures[other];
  const int32_t height = Creatures[c].footprintHeight.current;
  Creatures[c].squareX = o.squareX;
  Creatures[c].squareY = o.squareY + o.footprintHeight.current + height < 60 ? o.squareY + o.footprintHeight.current
                                                                              : o.squareY - height;
}

std::vector<int> FoesInOrder(int f) {
  std::vector<int> foes;
  for (int i = 0; i < TurnEntryCount; ++i) {
    const int c = TurnOrder[i].creature;
    if (PartySide(c) != PartySide(f) && Creatures[c].hitPoints > 0 && Creatures[c].present == 1) foes.push_back(c);
  }
  return foes;
}

namespace {

constexpr int kMapEdge = 60;

// The footprint's squares at (x, y) are made open floor, free of areas and
// of every other creature (the k-th fighter of the battle put on the map's
// bottom row, k squares in from its corner).
void OpenForACharge(int f, int x, int y) {
  const CreatureRecord& c = Creatures[f];
  const int w = std::max(c.footprintWidth.current, 1), h = std::max(c.footprintHeight.current, 1);
  for (int u = x; u < x + w; ++u)
    for (int v = y; v < y + h; ++v) {
      if (!CurrentMap.Inside(u, v)) continue;
      const int sq = SquareIndex(u, v);
      CurrentMap.layers[kLayerWalls][sq] = 0;
      CurrentMap.layers[kLayerFloor][sq] = 0;
      BlockedGrid[sq] = kSquareFlooded;
      MagicAreaGrid[sq] = SquareEffectCell{};
      int k = 0;
      for (int id : battles::BattleFighters()) {
        const CreatureRecord& o = Creatures[id];
        ++k;
        if (id != f && u >= o.squareX && u < o.squareX + std::max(o.footprintWidth.current, 1) && v >= o.squareY &&
            v < o.squareY + std::max(o.footprintHeight.current, 1))
          PutOn(id, kMapEdge - 2 - k, kMapEdge - 2, o.footprintWidth.current);
      }
    }
}

}  // namespace

void Walk(int f, int squares, int32_t code, int stride) {
  CreatureRecord& c = Creatures[f];
  const bool charge = code == kActionCharge;
  const int away = c.squareX > (charge ? squares : stride) ? -stride : stride;
  for (int i = 0; i < squares; ++i) {
    const int fromX = c.squareX, fromY = c.squareY;
    c.nextX = fromX + (charge || i % 2 == 0 ? away : -away);
    c.nextY = fromY;
    if (charge) OpenForACharge(f, c.nextX, c.nextY);
    SquarePaidObserver(f, code, fromX, fromY);
    c.squareX = c.nextX;
  }
}

int SquaresAFootPast(int f, int times) {
  constexpr int kFeetPerSquare = 5;
  int32_t& speed = Creatures[f].speed.current;
  while ((times * speed + 1) % kFeetPerSquare != 0) ++speed;
  return (times * speed + 1) / kFeetPerSquare;
}

AttackProfile Blows(int32_t kind, int32_t count) {
  AttackProfile p;
  p.entries[0].kind = kind;
  p.entries[0].attackCount.total = count;
  if (kind == kEntryNatural0) {
    p.entries[1].kind = kEntryNatural0 + 1;
    p.entries[1].attackCount.total = count;
  }
  return p;
}

void Outfit(int f) {
  // Each row's item type and grip (1 light, 2 one-handed, 3 two-handed).
  const std::tuple<uint32_t, int32_t, int32_t> kinds[] = {
      {kLongsword, 19, 2}, {kShortbow, 33, 4},    {kLightCrossbow, 11, 4}, {kHeavyCrossbow, 10, 4},
      {kShield, 36, 5},    {kDagger, 1, 1},       {kWaraxe, 35, 2},        {kTowerShield, 37, 5},
      {kArmour, 38, 5},    {kLongbow, 32, 4},     {kGreatsword, 29, 3},    {kTwoHandedRapier, 21, 3}};
  for (const auto& [row, type, grip] : kinds) {
    CraftedWeaponRecord& w = CraftedWeapons[row];
    w = CraftedWeaponRecord{};
    std::snprintf(w.name, sizeof w.name, "%s", "Test weapon");
    w.itemType = type;
    w.handling = grip;
    w.dieSides = 8;
    w.dieCount = 1;
  }
  CreatureRecord& r = Creatures[f];
  r.equipment[kSlotRightHand - 1] = kLongsword;
  r.equipment[kSlotLeftHand - 1] = 0;
  r.equipment[kSlotRanged - 1] = 0;
  r.baseAttack.current = 1;
  r.feats[kFeatImprovedTwoWeaponFighting] = r.feats[kFeatGreaterTwoWeaponFighting] = 0;
  for (NaturalAttack& n : r.naturalAttacks) n = NaturalAttack{};
  r.special[kSenseKindWord] = 0;
}

AttackProfile ProfileOf(int f, int foe, int32_t alternate, uint8_t grapple) {
  AttackProfile p;
  BuildAttackProfile(&p, f, alternate, foe, grapple, 0);
  return p;
}

AttackProfile Entries(std::initializer_list<int32_t> kinds) {
  AttackProfile p;
  int i = 0;
  for (int32_t kind : kinds) {
    p.entries[i].kind = kind;
    p.entries[i++].attackCount.total = kind == kEntryNone ? 0 : 1;
  }
  return p;
}

int32_t DeadAt(int c) { return c < kPartySize ? -10 : 0; }

void Attack(int f, int target, const AttackProfile& p, int entry) {
  AttackObserver(AttackWatch{f, target, entry, &p, false, false});
}

void Frame(uint32_t screenMode) {
  ScreenMode = screenMode;
  battles::WatchFrame();
}

void EachFormOnce(int f, int foe, int32_t alternate) {
  const AttackProfile p = ProfileOf(f, foe, alternate);
  CombatAction.useAlternateAttack = static_cast<uint8_t>(alternate);
  for (int i = 0; i < kAttackProfileEntries; ++i) {
    const int32_t kind = p.entries[i].kind;
    if (kind == kEntryNone || kind == kEntryRanged) break;
    Attack(f, foe, p, i);
  }
  if (p.entries[0].kind == kEntryNone && p.entries[1].kind == kEntryRanged) Attack(f, foe, p, 1);
  CombatAction.useAlternateAttack = 0;
}

void Wield(int f, int32_t grip, int32_t speed, uint32_t left, uint32_t ranged) {
  CraftedWeapons[kLongsword].handling = grip;
  CraftedWeapons[kLongsword].properties[5 - 1] = speed;
  Creatures[f].equipment[kSlotLeftHand - 1] = left;
  Creatures[f].equipment[kSlotRanged - 1] = ranged;
}

void ShotOf(int f, int foe, uint32_t weapon, int32_t rapidReload, bool hasted) {
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  for (NaturalAttack& n : Creatures[f].naturalAttacks) n = NaturalAttack{};
  Creatures[f].baseAttack.current = 6;
  Creatures[f].feats[kFeatRapidReloadLight] = rapidReload;
  Creatures[f].equipment[kSlotRanged - 1] = weapon;
  if (hasted) AddCondition(f, kCondHasted, 3, 0, 0, 0);
  EachFormOnce(f, foe);
}

void NaturalAttacks(int f, std::initializer_list<std::pair<int32_t, int32_t>> kindsAndCounts) {
  int slot = 0;
  for (NaturalAttack& n : Creatures[f].naturalAttacks) n = NaturalAttack{};
  for (const auto& [kind, count] : kindsAndCounts) {
    Creatures[f].naturalAttacks[slot].kind = kind;
    Creatures[f].naturalAttacks[slot++].count = count;
  }
}

void BiteAndGore(int f) {
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  NaturalAttacks(f, {{1, 1}, {4, 1}});
}

void NaturalBlow(int f, int target, int entry) {
  BiteAndGore(f);
  Attack(f, target, Blows(kEntryNatural0, 1), entry);
}

void Shoot(int f, int target) {
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  Creatures[f].equipment[kSlotRanged - 1] = kShortbow;
  Attack(f, target, Entries({kEntryNone, kEntryRanged}), 1);
}

void TwoShotsOfOne(int f, int target) {
  Shoot(f, target);
  Creatures[f].equipment[kSlotRightHand - 1] = kLongsword;
  NaturalAttacks(f, {{1, 1}});
  Attack(f, target, Entries({kEntryMainHand, kEntryNatural0, kEntryRanged}), 2);
}

void Grapple(int f, int target) {
  NaturalAttacks(f, {{1, 1}});
  const AttackProfile p = ProfileOf(f, target, 0, 1);
  AttackObserver(AttackWatch{f, target, 0, &p, true, false});
}

void BlowsBesideABiteOfNone(int f, int target, int32_t swordBlows) {
  Creatures[f].baseAttack.current = swordBlows == 2 ? 6 : 1;
  NaturalAttacks(f, {{1, 0}});
  AttackProfile p = Entries({kEntryMainHand, kEntryNatural0});
  p.entries[0].attackCount.total = swordBlows;
  p.entries[1].attackCount.total = 0;
  for (int32_t k = 0; k < swordBlows; ++k) {
    p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, -5 * k};
    Attack(f, target, p, 0);
  }
  Attack(f, target, p, 1);
}

void AttackTwice(int f, int target, const AttackProfile& p) {
  Attack(f, target, p);
  Attack(f, target, p);
}

void BlowsOfTwo(int f, int target, std::initializer_list<int32_t> fallingBonuses) {
  Creatures[f].baseAttack.current = 6;
  NaturalAttacks(f, {{1, 1}});
  AttackProfile p = Blows(kEntryMainHand, 2);
  p.entries[1].kind = kEntryNatural0;
  p.entries[1].attackCount.total = 1;
  for (int32_t falling : fallingBonuses) {
    p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, falling};
    Attack(f, target, p);
  }
}

void HastedBlows(int f, int target, std::initializer_list<int32_t> fallingBonuses) {
  Creatures[f].baseAttack.current = 6;
  Give(f, kCondHasted);
  AttackProfile p = Blows(kEntryMainHand, 3);
  for (int32_t falling : fallingBonuses) {
    p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, falling};
    Attack(f, target, p);
  }
}

void BlowsHolding(int f, int foe, std::initializer_list<std::pair<uint32_t, uint32_t>> hands) {
  Creatures[f].baseAttack.current = 16;
  int made = 0;
  for (const auto& [right, left] : hands) {
    Creatures[f].equipment[kSlotRightHand - 1] = right;
    Creatures[f].equipment[kSlotLeftHand - 1] = left;
    CombatAction.currentProfileEntry = 0;
    CombatAction.attackCounter = made++;
    Attack(f, foe, ProfileOf(f, foe));
  }
  CombatAction.attackCounter = 0;
}

void ReflexesAtTheirEdge(int c, int32_t left) {
  Creatures[c].feats[kFeatCombatReflexes] = 1;
  Creatures[c].dexterity.current = 12;
  Creatures[c].attacksOfOpportunityLeft = left;
}

void ReadiedAttacks(int f, int reactor, int32_t code, int attacks, int target) {
  Beside(reactor, f);
  TurnOrderEntry& entry = TurnOrder[EntryOf(reactor)];
  entry.plannedAction = 21;
  CombatAction.actionCode = code;
  for (int k = 0; k < attacks; ++k) {
    CombatAction.reactingCreature = reactor;
    Attack(reactor, target == -2 ? f : target, Blows(kEntryMainHand, 1));
    CombatAction.reactingCreature = -1;
    Frame();
  }
  entry.plannedAction = 0;
}

void Provoke(int f, int reactor, int32_t code, int target) {
  Beside(reactor, f);
  CombatAction.actionCode = code;
  SavedTarget = target == -2 ? reactor : target;
  CombatAction.reactingCreature = reactor;
  Attack(reactor, f, Blows(kEntryMainHand, 1));
  CombatAction.reactingCreature = -1;
  Frame();
}

void ProvokeByCasting(int f, int foe, int32_t defensive) {
  Creatures[f].behaviour[kBehaviourDefensiveCasting] = defensive;
  SpellInProgress = 1;
  SpellCaster = f;
  Provoke(f, foe, 12);
}

void ProvokeByReloading(int f, int foe, uint32_t crossbow, int32_t rapidReload) {
  Creatures[f].equipment[kSlotRanged - 1] = crossbow;
  Creatures[f].feats[kFeatRapidReloadLight] = rapidReload;
  Provoke(f, foe, kActionReload);
}

std::pair<int, int> TwoFoesBeside(int f, int32_t code) {
  const std::vector<int> foes = FoesInOrder(f);
  for (int c : {foes[0], foes[1]}) {
    Creatures[c].attacksOfOpportunityLeft = 1;
    Creatures[c].feats[kFeatCombatReflexes] = 0;
    Creatures[c].special[kSenseKindWord] = 0;
  }
  Below(foes[1], f);
  Provoke(f, foes[0], code);
  return {foes[0], foes[1]};
}

void WalkOffBesideFoesKeptFromReacting(int f, int foe) {
  Creatures[f].speed.current = 1000;  // a budget for all the walks
  CreatureRecord& r = Creatures[foe];
  r.feats[kFeatCombatReflexes] = 0;
  r.attacksOfOpportunityLeft = 1;
  r.special[kSenseKindWord] = 0;
  const auto walkOff = [f](int c) {
    Beside(c, f);
    Walk(f, 2, kActionWalkPath);
  };
  const int ally = AllyOf(f);
  Creatures[ally].attacksOfOpportunityLeft = 1;
  walkOff(ally);
  for (uint32_t id : {kCondSleeping, kCondUnarmed, kCondConfused, kCondInsane, kCondSurprised, kCondGrappling,
                      kCondBlinded, kCondCantSee, kCondFlatFooted, kCondCursed}) {
    Give(foe, id);
    walkOff(foe);
    RemoveCondition(foe, id);
  }
  r.special[kSenseKindWord] = 5;
  for (uint32_t id : {kCondDeafened, kCondSilenced}) {
    FirstCondition(foe, id);
    walkOff(foe);
    RemoveCondition(foe, id);
  }
  r.special[kSenseKindWord] = 0;
  r.attacksOfOpportunityLeft = 0;
  walkOff(foe);
  r.attacksOfOpportunityLeft = 1;
  Fell(foe);
  walkOff(foe);
  r.present = 1;
  Give(f, kCondInvisible);
  walkOff(foe);
  RemoveCondition(f, kCondInvisible);
}

void ReactionsBeforeEachMove(int f) {
  const std::vector<int> foes = FoesInOrder(f);
  int k = 0;
  for (int32_t code : {kActionWalkPath, kActionMoveAndAttack, kActionCharge}) {
    Creatures[foes[k]].attacksOfOpportunityLeft = 1;
    Provoke(f, foes[k++], code);
    Walk(f, 1, code);
  }
}

void HoldCheck(int f, int foe, int32_t code) {
  CombatAction.actionCode = code;
  NaturalAttacks(f, {{1, 1}});
  const AttackProfile p = ProfileOf(f, foe, 0, 1);
  AttackObserver(AttackWatch{f, foe, 0, &p, true, true});
}

void CastSpell(int f, int32_t spell, int32_t somatic, int32_t metamagic, uint8_t fromItem, uint32_t amid,
               bool announced) {
  const int32_t kept = SpellTable[spell].somatic;
  SpellTable[spell].somatic = somatic;
  PendingMetamagic = metamagic;
  CastingFromItem = fromItem;
  SpellInProgress = spell;
  SpellCaster = f;
  Frame(kModeCastStart);
  Frame(kModeCastChecks);
  if (amid != 0) Give(f, amid);
  Frame(kModeCastChecks);
  if (announced) {
    Frame(kModeCastAnnounce);
    Frame(kModeCastResolve);
  } else {
    SpellInProgress = -1;
  }
  Frame();
  SpellTable[spell].somatic = kept;
}

void ChargeAndFullAttack(int f, int foe, int32_t sense) {
  Creatures[f].special[kSenseKindWord] = sense;
  Walk(f, 2, kActionCharge);
  Beside(foe, f);
  NaturalBlow(f, foe, 0);
  NaturalBlow(f, foe, 1);
}

void Fell(int c) { Creatures[c].present = 0; }

AttackProfile ShotsOfTwo(int f) {
  Creatures[f].baseAttack.current = 6;
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  Creatures[f].equipment[kSlotRanged - 1] = kShortbow;
  AttackProfile p = Entries({kEntryNone, kEntryRanged});
  p.entries[1].attackCount.total = 2;
  return p;
}

void TwoCleaves(int f, int foe, int32_t greatCleave) {
  Creatures[f].feats[kFeatGreatCleave] = greatCleave;
  Attack(f, foe, Blows(kEntryMainHand, 1));
  Fell(foe);
  g_Cleaving = foe;
  for (int k = 0; k < 2; ++k) {
    const int next = FoeOf(f);
    Attack(f, next, Blows(kEntryMainHand, 1));
    Fell(next);
  }
  g_Cleaving = -1;
}

void OnAfterAKill(int f, int foe, int32_t code, bool shots, bool cleave) {
  CombatAction.actionCode = code;
  Frame();
  if (!shots) BiteAndGore(f);
  AttackProfile p = shots ? ShotsOfTwo(f) : Blows(kEntryNatural0, 1);
  Attack(f, foe, p, shots ? 1 : 0);
  Fell(foe);
  if (cleave) g_Cleaving = foe;
  p.entries[1].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, shots ? -5 : 0};
  Attack(f, FoeOf(f), p, 1);
  g_Cleaving = -1;
}

void StepTurns(int turns) {
  for (int frame = 0; frame < 5000 && turns > 0; ++frame) {
    const int acting = CurrentFighter();
    if (!battles::StepBattleFrame()) break;
    battles::WatchFrame();
    if (CurrentFighter() != acting) --turns;
  }
}

void EndTheTurn() {
  CombatState = kStateNextFighter;
  Frame();
}

void StartCast(int f) {
  SpellInProgress = 1;
  SpellCaster = f;
  Frame(kModeCastStart);
  Frame();
}

void Stun(int f) { Give(f, kCondStunned); }

void AttackWhile(int f, int foe, uint32_t condition) {
  Give(f, condition);
  Attack(f, foe, Blows(kEntryMainHand, 1));
  RemoveCondition(f, condition);
}

void WalkWhile(int f, uint32_t condition) {
  Give(f, condition);
  Walk(f, 1, kActionWalkPath);
  RemoveCondition(f, condition);
}

void DecideWhile(int f, uint32_t condition) {
  Give(f, condition);
  battles::WatchDecision();
  RemoveCondition(f, condition);
}

void YieldAndResume(int f, int32_t standardGivenBack, int32_t opportunitiesGivenBack, int32_t code,
                    Held how, bool paralysed) {
  const int entry = CurrentTurnIndex;
  StartCast(f);
  CombatAction.standardActionLeft = 0;
  if (how != Held::kLate) TurnOrder[entry].plannedAction = code;
  CombatState = kStateNextFighter;
  Frame();
  int next = (entry + 1) % TurnEntryCount;
  while (next != entry && PartySide(TurnOrder[next].creature) == PartySide(f))
    next = (next + 1) % TurnEntryCount;
  CurrentTurnIndex = next;
  CombatState = kStateComputerDecision;
  Frame();
  if (how == Held::kLate) TurnOrder[entry].plannedAction = code;
  SpellInProgress = -1;
  Provoke(CurrentFighter(), f, kActionShot);
  CombatAction.actionCode = 0;
  SpellInProgress = 1;
  --Creatures[f].attacksOfOpportunityLeft;
  Frame();
  if (how == Held::kPassedOver) {
    CombatState = kStateNextFighter;
    CurrentTurnIndex = entry;
    Frame();
    CurrentTurnIndex = next;
    Frame();
  }
  if (paralysed) {
    Give(f, kCondParalyzed);
    CastingFromItem = 0;
  }
  if (how != Held::kStillHeld) TurnOrder[entry].plannedAction = 0;
  if (how == Held::kDropped) Frame();
  CurrentTurnIndex = entry;
  CombatAction.standardActionLeft = standardGivenBack;
  Creatures[f].attacksOfOpportunityLeft += opportunitiesGivenBack;
  CombatState = kStateActionUnderWay;
  if (how == Held::kPassedOver) Frame();
  Frame(kModeCastStart);
  Frame();
}

int EntryOf(int c) {
  for (int i = 0; i < TurnEntryCount; ++i)
    if (TurnOrder[i].creature == c) return i;
  return 0;
}

void TurnComes(int entry, int32_t state) {
  CurrentTurnIndex = entry;
  CombatState = state;
  Frame();
}

int ReactInAFoesTurn(int f) {
  EndTheTurn();
  int next = (EntryOf(f) + 1) % TurnEntryCount;
  while (PartySide(TurnOrder[next].creature) == PartySide(f)) next = (next + 1) % TurnEntryCount;
  TurnComes(next);
  Provoke(TurnOrder[next].creature, f, kActionShot);
  return TurnOrder[next].creature;
}

void ItsNextRound(int f, int32_t state) {
  EndTheTurn();
  ++CombatRoundNumber;
  TurnComes(EntryOf(f), state);
}

void ReactAcrossItsNextTurn(int f, int32_t held) {
  const int foe = ReactInAFoesTurn(f);
  TurnOrder[EntryOf(f)].plannedAction = held;
  Frame();
  ++CombatRoundNumber;
  TurnComes(EntryOf(f));
  TurnComes(EntryOf(foe));
  Provoke(foe, f, kActionInventory);
}

void TakenUpAgainAfterReacting(int f) {
  const int foe = ReactInAFoesTurn(f);
  Creatures[f].attacksOfOpportunityLeft = 2;
  Frame();
  Creatures[f].attacksOfOpportunityLeft = 3;
  TurnComes(EntryOf(f));
  EndTheTurn();
  TurnComes(EntryOf(foe));
  Provoke(foe, f, kActionInventory);
  TurnComes(EntryOf(f));
}

void FirstCondition(int c, uint32_t id, int32_t duration) { Creatures[c].conditions[0] = ConditionEntry{id, duration, 0, 0, 0}; }

void EdgesOfDuration(int foe) {
  int slot = 0;
  for (int32_t duration : {0, kDurationLasting - 1, kDurationUntilRest, 3000}) {
    while (Creatures[foe].conditions[slot].id != 0) ++slot;
    Creatures[foe].conditions[slot] = ConditionEntry{kCondHasted, duration, 0, 0, 0};
  }
  Creatures[foe].conditions[kConditionSlots - 1] = ConditionEntry{0, -1, 0, 0, 0};
}

void CastingScreens(int f, int foe) {
  for (const auto& [spell, caster, frames] : {std::tuple{-1, f, 1}, std::tuple{1, foe, 1}, std::tuple{1, f, 2}}) {
    SpellInProgress = spell;
    SpellCaster = caster;
    for (int k = 0; k < frames; ++k) Frame(kModeCastStart);
    Frame();
  }
}

void TwoBlowsWithPairs(int f, int target, int pairs) {
  Creatures[f].baseAttack.current = 6;
  NaturalAttacks(f, {{1, 1}});
  AttackProfile p = Blows(kEntryMainHand, 2);
  p.entries[1].kind = kEntryNatural0;
  p.entries[1].attackCount.total = 1;
  for (int k = 0; k < pairs; ++k) p.entries[0].attackRoll.pairs[k] = ModifierPair{k == 0 ? 0 : 1, k == 1 ? 0 : 2};
  AttackTwice(f, target, p);
}

void PutOn(int c, int x, int y, int footprint) {
  CreatureRecord& r = Creatures[c];
  r.squareX = x;
  r.squareY = y;
  r.footprintWidth.current = r.footprintHeight.current = footprint;
}

namespace {

// Where the charges of the cases set off from.
constexpr int kOriginX = 30, kOriginY = 20;

// Open floor, no wall and no effect, round the centre as far as any area's
// window reaches.
void OpenTheFloor(int centreX, int centreY) {
  for (int x = centreX - 12; x <= centreX + 12; ++x)
    for (int y = centreY - 12; y <= centreY + 12; ++y) {
      if (!CurrentMap.Inside(x, y)) continue;
      CurrentMap.At(kLayerWalls, x, y) = 0;
      BlockedGrid[SquareIndex(x, y)] = kSquareFlooded;
      MagicAreaGrid[SquareIndex(x, y)] = SquareEffectCell{};
    }
}

}  // namespace

void ChargeOver(int f, int foe, std::pair<int, int> from, std::pair<int, int> laidTo,
                std::initializer_list<std::pair<int, int>> steps, bool named, const std::function<void()>& onTheWay) {
  CreatureRecord& c = Creatures[f];
  ClearTheField({f, foe});
  OpenTheFloor(kOriginX, kOriginY);
  PutOn(f, kOriginX + from.first, kOriginY + from.second, 1);
  PutOn(foe, kOriginX + 4, kOriginY, 1);
  Creatures[foe].attacksOfOpportunityLeft = 0;
  if (onTheWay) onTheWay();
  ActionTarget = named ? foe : f;
  c.destinationX = kOriginX + laidTo.first;
  c.destinationY = kOriginY + laidTo.second;
  for (const auto& [dx, dy] : steps) {
    const int fromX = c.squareX, fromY = c.squareY;
    c.nextX = kOriginX + dx;
    c.nextY = kOriginY + dy;
    SquarePaidObserver(f, kActionCharge, fromX, fromY);
    c.squareX = c.nextX;
    c.squareY = c.nextY;
  }
}

void ClearTheField(std::initializer_list<int> kept) {
  int k = 0;
  for (int id : battles::BattleFighters())
    if (std::find(kept.begin(), kept.end(), id) == kept.end()) PutOn(id, 1 + k++, 1, 1);
}

namespace {

constexpr int kCentreX = 20, kCentreY = 15;

// The aim toward an offset (along, across): the square of the ring round a
// footprint of `size` at `from` on that side along the axis, unless the
// offset leans less than half as far along it as across it.
int Toward(int from, int size, int along, int across) {
  if (2 * std::abs(along) <= std::abs(across)) return from;
  return along > 0 ? from + size : along < 0 ? from - 1 : from;
}

}  // namespace

void AreaUse(int f, int32_t spell, int32_t metamagic, std::initializer_list<Placed> placed,
             std::initializer_list<Obstacle> obstacles, std::pair<int, int> centre, std::pair<int, int> aimedAt) {
  const auto [cx, cy] = centre;
  OpenTheFloor(cx, cy);
  for (const Obstacle& o : obstacles) {
    const int sq = SquareIndex(cx + o.dx, cy + o.dy);
    MagicAreaGrid[sq].kind = o.effect;
    if (o.effect == 0) CurrentMap.layers[kLayerWalls][sq] = 1;
    if (o.effect == 0 || o.effect == kEffectSolid) BlockedGrid[sq] = kSquareBlocked;
  }
  std::vector<int> kept = {f};
  for (const Placed& p : placed) kept.push_back(p.creature);
  int k = 0;
  for (int id : battles::BattleFighters())
    if (std::find(kept.begin(), kept.end(), id) == kept.end()) PutOn(id, 1 + k++, 1, 1);
  const int size = Creatures[f].footprintWidth.current;
  PutOn(f, cx, cy, size);
  const int32_t aim = spell >= 0 && spell < kSpellRows ? SpellTable[spell].target : 0;
  const bool atSquare = aim == kAimCircle || aim == kAimCircleBurst || aim == kAimRectangle;
  const Placed& first = *placed.begin();
  const bool given = aimedAt.first != 0 || aimedAt.second != 0;
  CastingUse.aimX = atSquare ? cx : given ? cx + aimedAt.first : Toward(cx, size, first.dx, first.dy);
  CastingUse.aimY = atSquare ? cy : given ? cy + aimedAt.second : Toward(cy, size, first.dy, first.dx);
  int n = 0;
  for (const Placed& p : placed) {
    PutOn(p.creature, cx + p.dx, cy + p.dy, p.footprint);
    if (p.taken) AreaTargetList[n++] = p.creature;
  }
  if (atSquare ? aim != kAimRectangle : aim == kAimCentered) AreaTargetList[n++] = f;
  AreaTargetList[n] = -1;
  PendingMetamagic = metamagic;
  SpellInProgress = spell;
  SpellCaster = f;
  Frame(kModeCastStart);
  Frame(kModeCastAnnounce);
  Frame(kModeCastResolve);
  SpellInProgress = -1;
  PendingMetamagic = kMetamagicNone;
  Frame();
}

void LineOfFire(int f, std::pair<int, int> aim, std::initializer_list<Placed> placed,
                std::initializer_list<Obstacle> obstacles) {
  Creatures[f].special[kSpecialAttackKind] = 12;
  Creatures[f].size.current = 3;
  AreaUse(f, kSpellSpecialAttack, kMetamagicNone, placed, obstacles, {kCentreX, kCentreY}, aim);
}

void AreaUse(int f, int32_t spell, int32_t metamagic, int foe, int dx, int dy, int footprint) {
  AreaUse(f, spell, metamagic, {{foe, dx, dy, true, footprint}});
}

void FlankingBlow(int f, int foe, int ally, std::pair<int, int> from, std::pair<int, int> across, int32_t bonus,
                  int footprint, bool full) {
  ClearTheField({f, foe, ally});
  PutOn(foe, kCentreX, kCentreY, footprint);
  PutOn(f, kCentreX + from.first, kCentreY + from.second, 1);
  if (ally >= 0) PutOn(ally, kCentreX + across.first, kCentreY + across.second, 1);
  AttackProfile p = bonus == -1 ? ProfileOf(f, foe) : Blows(kEntryMainHand, 1);
  if (full)
    for (ModifierPair& pair : p.entries[0].attackRoll.pairs) pair = ModifierPair{1, 1};
  if (bonus > 0) p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcFlankingTarget, bonus};
  Attack(f, foe, p);
}

void BreathOn(int f, int foe, int32_t kind, int32_t size, int dx) {
  Creatures[f].special[kSpecialAttackKind] = kind;
  Creatures[f].size.current = size;
  AreaUse(f, kSpellSpecialAttack, kMetamagicNone, foe, dx, 0);
}

void ActionCodes(std::initializer_list<int32_t> codes) {
  for (int32_t code : codes) {
    CombatAction.actionCode = code;
    Frame();
  }
}

}  // namespace turn_cases
