// The turn check itself: each of its reports, made by a rule broken on
// purpose in the turn of a battle laid out afresh (in its second round, or
// in a single action of its surprise round), is seen in its own words and
// under its rule alone, and turns within the rules (a pounce, a held casting
// resumed, a hasted fighter's blows, the edge of a budget or a count) are
// reported by none.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_movement.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "harness/battle_runner.h"
#include "harness/turn_check.h"
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

namespace {

class TurnCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(battles::StartBattleGame()); }
  static void TearDownTestSuite() { battles::StopBattleGame(); }
};

constexpr uint32_t kSeed = 3;

// The party's side (its allies with it) or the other.
bool PartySide(int c) { return IsPartyAllegiance(Creatures[c].allegiance); }

// Steps the watched battle until the computer is about to decide a turn
// with its whole budget: a turn of the second round, or with surprise one of
// the surprise round (round 1, a single action), or, given the side of the
// fighter of such a turn (1 the party's, 2 the other), a turn of round 3 or
// later of a fighter of the other side; returns the fighter.
int UpToADecision(bool surprise = false, int otherThanSide = 0) {
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

// A foe of the fighter still standing on the map, or -1.
int FoeOf(int f) {
  for (int id : battles::BattleFighters())
    if (PartySide(id) != PartySide(f) && Creatures[id].hitPoints > 0 &&
        Creatures[id].present == 1)
      return id;
  return -1;
}

void Give(int c, uint32_t condition) { AddCondition(c, condition, 3, 0, 0, 0); }

// A creature of the fighter's side other than it, or -1.
int AllyOf(int f) {
  for (int id : battles::BattleFighters())
    if (id != f && PartySide(id) == PartySide(f) && Creatures[id].present == 1) return id;
  return -1;
}

// The creature is put on the square right of the other's footprint (left of
// it at the map's edge).
void Beside(int c, int other) {
  const CreatureRecord& o = Creatures[other];
  Creatures[c].squareX =
      o.squareX + o.footprintWidth.current + Creatures[c].footprintWidth.current < 60 ? o.squareX + o.footprintWidth.current
                                                                                     : o.squareX - Creatures[c].footprintWidth.current;
  Creatures[c].squareY = o.squareY;
}

// Squares paid for back and forth beside the fighter's square, each of
// `stride` squares.
void Walk(int f, int squares, int32_t code, int stride = 1) {
  CreatureRecord& c = Creatures[f];
  const int away = c.squareX > stride ? -stride : stride;
  for (int i = 0; i < squares; ++i) {
    const int fromX = c.squareX, fromY = c.squareY;
    c.nextX = fromX + (i % 2 == 0 ? away : -away);
    c.nextY = fromY;
    SquarePaidObserver(f, code, fromX, fromY);
    c.squareX = c.nextX;
  }
}

// A profile of one entry of that kind giving count attacks, or the two
// natural attacks (slots 0 and 1) of one each.
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

void Attack(int f, int target, const AttackProfile& p, int entry = 0);

// The crafted rows the fighters are armed from: a longsword, a shortbow, a
// light and a heavy crossbow, a shield; a dagger, a dwarven waraxe, a tower
// shield, armour, a longbow, a greatsword and a rapier made for two hands.
constexpr uint32_t kLongsword = 4998, kShortbow = 4997, kLightCrossbow = 4996, kHeavyCrossbow = 4995, kShield = 4994;
constexpr uint32_t kDagger = 4993, kWaraxe = 4992, kTowerShield = 4991, kArmour = 4990, kLongbow = 4989,
                   kGreatsword = 4988, kTwoHandedRapier = 4987;
// Those rows, and row 0 (no item), which a case may fill with junk.
constexpr uint32_t kTestRows[] = {kLongsword, kShortbow, kLightCrossbow, kHeavyCrossbow, kShield, kDagger, kWaraxe,
                                  kTowerShield, kArmour, kLongbow, kGreatsword, kTwoHandedRapier, 0};

// The fighter takes a longsword in its right hand and nothing else: no
// ranged weapon, no natural attacks, base attack bonus 1 and no two-weapon
// feats: one blow.
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

// The fighter's profile as the game builds it, against the foe (in its
// second form, or for a grapple).
AttackProfile ProfileOf(int f, int foe, int32_t alternate = 0, uint8_t grapple = 0) {
  AttackProfile p;
  BuildAttackProfile(&p, f, alternate, foe, grapple, 0);
  return p;
}

// A profile of entries of those kinds, one attack each.
AttackProfile Entries(std::initializer_list<int32_t> kinds) {
  AttackProfile p;
  int i = 0;
  for (int32_t kind : kinds) {
    p.entries[i].kind = kind;
    p.entries[i++].attackCount.total = kind == kEntryNone ? 0 : 1;
  }
  return p;
}

// Hit points at which the creature is dead (a party member's reach -10).
int32_t DeadAt(int c) { return c < kPartySize ? -10 : 0; }

void Attack(int f, int target, const AttackProfile& p, int entry) {
  AttackObserver(AttackWatch{f, target, entry, &p, false, false});
}

void Frame(uint32_t screenMode = 0) {
  ScreenMode = screenMode;
  battles::WatchFrame();
}

// One blow with each melee form of the game's profile of the fighter as its
// record stands, or one shot when it has a ranged weapon alone: the check
// holds each against the rules.
void EachFormOnce(int f, int foe, int32_t alternate = 0) {
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

// The fighter's weapons: the longsword's grip and speed, what the left hand
// holds and the ranged slot (0: none).
void Wield(int f, int32_t grip, int32_t speed, uint32_t left, uint32_t ranged) {
  CraftedWeapons[kLongsword].handling = grip;
  CraftedWeapons[kLongsword].properties[5 - 1] = speed;
  Creatures[f].equipment[kSlotLeftHand - 1] = left;
  Creatures[f].equipment[kSlotRanged - 1] = ranged;
}

// A shot of that ranged weapon alone at base attack bonus 6, the fighter
// with Rapid Reload or not, hasted or not.
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

// The fighter fights with a bite and a gore of one each, no weapon.
void BiteAndGore(int f) {
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  NaturalAttacks(f, {{1, 1}, {4, 1}});
}

// A blow of the bite (entry 0) or the gore (entry 1).
void NaturalBlow(int f, int target, int entry) {
  BiteAndGore(f);
  Attack(f, target, Blows(kEntryNatural0, 1), entry);
}

// A shot of one with the shortbow, the sword put away: the second entry
// (the first, melee, empty).
void Shoot(int f, int target) {
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  Creatures[f].equipment[kSlotRanged - 1] = kShortbow;
  Attack(f, target, Entries({kEntryNone, kEntryRanged}), 1);
}

// A shot of one, then a second as a sword drawn and a bite move the bow to
// the third entry: the first shot of that entry.
void TwoShotsOfOne(int f, int target) {
  Shoot(f, target);
  Creatures[f].equipment[kSlotRightHand - 1] = kLongsword;
  NaturalAttacks(f, {{1, 1}});
  Attack(f, target, Entries({kEntryMainHand, kEntryNatural0, kEntryRanged}), 2);
}

// A grapple attack with a bite.
void Grapple(int f, int target) {
  NaturalAttacks(f, {{1, 1}});
  const AttackProfile p = ProfileOf(f, target, 0, 1);
  AttackObserver(AttackWatch{f, target, 0, &p, true, false});
}

// Blows of the sword (one, or two at base attack bonus 6, the second 5
// lower), then one of a bite of no attacks: a form the rules count with none.
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

// Blows of a weapon of two attacks (base attack bonus 6), each at the
// falling bonus given, with a natural attack besides.
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

// A hasted fighter's blows of a weapon of two attacks (three with the haste),
// each at the falling bonus given.
void HastedBlows(int f, int target, std::initializer_list<int32_t> fallingBonuses) {
  Creatures[f].baseAttack.current = 6;
  Give(f, kCondHasted);
  AttackProfile p = Blows(kEntryMainHand, 3);
  for (int32_t falling : fallingBonuses) {
    p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, falling};
    Attack(f, target, p);
  }
}

// Blows with the first entry of the game's profile at base attack bonus 16
// (four a turn), one for each pair of items held in the right and left
// hands: each profile, natural attacks beside the items, held against the
// rules.
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

// The creature takes Combat Reflexes at Dexterity 12, the least that gives
// it a second attack of opportunity a round, and has that many left.
void ReflexesAtTheirEdge(int c, int32_t left) {
  Creatures[c].feats[kFeatCombatReflexes] = 1;
  Creatures[c].dexterity.current = 12;
  Creatures[c].attacksOfOpportunityLeft = left;
}

// The reactor, put next to the fighter whose turn it is, makes an attack of
// opportunity while the fighter's action has that code (the fighter's target
// the reactor); a frame ends the act.
void Provoke(int f, int reactor, int32_t code, int target = -2) {
  Beside(reactor, f);
  CombatAction.actionCode = code;
  SavedTarget = target == -2 ? reactor : target;
  CombatAction.reactingCreature = reactor;
  Attack(reactor, f, Blows(kEntryMainHand, 1));
  CombatAction.reactingCreature = -1;
  Frame();
}

// The same in a cast of the fighter's, defensive or not.
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

// Two squares of a charge, then both natural attacks; sense code 3 pounces.
void ChargeAndFullAttack(int f, int foe, int32_t sense) {
  Creatures[f].special[kSenseKindWord] = sense;
  Walk(f, 2, kActionCharge);
  NaturalBlow(f, foe, 0);
  NaturalBlow(f, foe, 1);
}

// Knocked off the map: fallen, not dead.
void Fell(int c) { Creatures[c].present = 0; }

// The fighter takes its shortbow alone at base attack bonus 6: the profile
// of two shots.
AttackProfile ShotsOfTwo(int f) {
  Creatures[f].baseAttack.current = 6;
  Creatures[f].equipment[kSlotRightHand - 1] = 0;
  Creatures[f].equipment[kSlotRanged - 1] = kShortbow;
  AttackProfile p = Entries({kEntryNone, kEntryRanged});
  p.entries[1].attackCount.total = 2;
  return p;
}

// A blow that fells the foe, then two cleaves each felling the next foe.
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

// Under that action code: a blow (or shot) that fells the foe, then one
// at the next foe, a cleave or not.
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

// Steps the battle through the turns of the next fighters.
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

// How a held casting comes back: resumed as its entry comes up (the held
// code cleared in that step), dropped a frame before, still held as the
// entry comes up, held only after the caster's turn had closed, or resumed
// after a turn of the caster that came while it was held and never started.
enum class Held { kResumed, kDropped, kStillHeld, kLate, kPassedOver };

// The fighter's casting yields to a readied foe (held code 27: its block is
// given back as it resumes), in the turn of a foe that passes it makes an
// attack of opportunity against the foe's shot, and the casting resumes with
// its standard action and its attacks of opportunity as given back.
void YieldAndResume(int f, int32_t standardGivenBack, int32_t opportunitiesGivenBack, int32_t code = 27,
                    Held how = Held::kResumed) {
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

// --- Turns ended, taken up again and in the next round ---------------------------

// The creature's entry in the turn order (0 when it has none: the
// creatures of these cases all have one).
int EntryOf(int c) {
  for (int i = 0; i < TurnEntryCount; ++i)
    if (TurnOrder[i].creature == c) return i;
  return 0;
}

// The entry's turn comes up, in that state.
void TurnComes(int entry, int32_t state = kStateComputerDecision) {
  CurrentTurnIndex = entry;
  CombatState = state;
  Frame();
}

// The fighter's turn ends and the next foe's in the order comes, in which
// the fighter makes an attack of opportunity against the foe's shot; returns
// the foe.
int ReactInAFoesTurn(int f) {
  EndTheTurn();
  int next = (EntryOf(f) + 1) % TurnEntryCount;
  while (PartySide(TurnOrder[next].creature) == PartySide(f)) next = (next + 1) % TurnEntryCount;
  TurnComes(next);
  Provoke(TurnOrder[next].creature, f, kActionShot);
  return TurnOrder[next].creature;
}

// The fighter's turn ends and its next comes in the next round, in that state.
void ItsNextRound(int f, int32_t state = kStateComputerDecision) {
  EndTheTurn();
  ++CombatRoundNumber;
  TurnComes(EntryOf(f), state);
}

// After an attack of opportunity in a foe's turn (not taken off what it has
// left) the fighter's entry, holding that action, comes up in the next round,
// and the fighter makes another in the foe's turn after it.
void ReactAcrossItsNextTurn(int f, int32_t held) {
  const int foe = ReactInAFoesTurn(f);
  TurnOrder[EntryOf(f)].plannedAction = held;
  Frame();
  ++CombatRoundNumber;
  TurnComes(EntryOf(f));
  TurnComes(EntryOf(foe));
  Provoke(foe, f, kActionInventory);
}

// With four attacks of opportunity a round, the fighter's turn taken up
// again after an attack of opportunity gives back the one taken off; after
// a second, not taken off, it gives none back.
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

// The fighter's first condition slot holds that condition.
void FirstCondition(int c, uint32_t id, int32_t duration = 3) { Creatures[c].conditions[0] = ConditionEntry{id, duration, 0, 0, 0}; }

// The foe's conditions last 0 rounds, until rest and 3000 rounds (each a
// lasting mark the game writes), and an empty slot keeps a stale -1.
void EdgesOfDuration(int foe) {
  int slot = 0;
  for (int32_t duration : {0, kDurationUntilRest, 3000}) {
    while (Creatures[foe].conditions[slot].id != 0) ++slot;
    Creatures[foe].conditions[slot] = ConditionEntry{kCondHasted, duration, 0, 0, 0};
  }
  Creatures[foe].conditions[kConditionSlots - 1] = ConditionEntry{0, -1, 0, 0, 0};
}

// Frames of the casting screen: with no spell, with a foe's spell, and one
// cast of the fighter's over two frames.
void CastingScreens(int f, int foe) {
  for (const auto& [spell, caster, frames] : {std::tuple{-1, f, 1}, std::tuple{1, foe, 1}, std::tuple{1, f, 2}}) {
    SpellInProgress = spell;
    SpellCaster = caster;
    for (int k = 0; k < frames; ++k) Frame(kModeCastStart);
    Frame();
  }
}

// A weapon's two blows (base attack bonus 6), both at the full bonus, with a
// natural attack besides; the roll's modifier list holds that many pairs,
// none the falling bonus: one of no source and one of no value among them.
void TwoBlowsWithPairs(int f, int target, int pairs) {
  Creatures[f].baseAttack.current = 6;
  NaturalAttacks(f, {{1, 1}});
  AttackProfile p = Blows(kEntryMainHand, 2);
  p.entries[1].kind = kEntryNatural0;
  p.entries[1].attackCount.total = 1;
  for (int k = 0; k < pairs; ++k) p.entries[0].attackRoll.pairs[k] = ModifierPair{k == 0 ? 0 : 1, k == 1 ? 0 : 2};
  AttackTwice(f, target, p);
}

// The action codes of a turn, each frame's: the end of an action and none
// are not noted, nor a code again after itself.
void ActionCodes(std::initializer_list<int32_t> codes) {
  for (int32_t code : codes) {
    CombatAction.actionCode = code;
    Frame();
  }
}

// Each report of the check, made by a turn that breaks that rule alone, in
// the report's own words; and turns within the rules reported by none.
TEST_F(TurnCheck, EachRuleBrokenOnPurposeIsReported) {
  struct Case {
    const char* what;
    const char* rule;   // "" for a turn within the rules
    const char* words;  // a part of that report's own text
    std::function<void(int f, int foe)> breakIt;
    bool surprise = false;  // in a turn of the surprise round (round 1, a single action)
    bool reflexes = false;  // every fighter takes Combat Reflexes at Dexterity 16 (4 a round) before the battle
  };
  const std::vector<Case> cases = {
      // The turn's budget, judged as it closes.
      {"moves past twice its speed", "movement", "squares moved",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionWalkPath); }},
      {"charges past twice its speed", "movement", "squares moved",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionCharge); }},
      {"moves past its speed in a single action", "movement", "single-action turn",
       [](int f, int) { Walk(f, Creatures[f].speed.current / 5 + 1, kActionWalkPath); }, true},
      {"charges, then a full attack without pounce", "full-attack-after-move", "shots after moving 2 squares",
       [](int f, int foe) { ChargeAndFullAttack(f, foe, 0); }},
      {"moves past its speed and attacks", "double-move-and-action", "and made 1 attacks, 0 grapple",
       [](int f, int foe) {
         Walk(f, Creatures[f].speed.current / 5 + 1, kActionWalkPath);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"casts twice", "actions", "2 casts and 0 attacks in one turn",
       [](int f, int) {
         StartCast(f);
         StartCast(f);
       }},
      {"a spent action comes back", "actions", "the standard action came back",
       [](int, int) {
         CombatAction.standardActionLeft = 0;
         Frame();
         CombatAction.standardActionLeft = 1;
         Frame();
       }},
      {"a spent move action comes back", "actions", "the move action came back",
       [](int, int) {
         CombatAction.moveActionLeft = 0;
         Frame();
         CombatAction.moveActionLeft = 1;
         Frame();
       }},
      {"a spent full-round action comes back", "actions", "the full-round action came back",
       [](int, int) {
         CombatAction.fullRoundActionLeft = 0;
         Frame();
         CombatAction.fullRoundActionLeft = 1;
         Frame();
       }},
      {"a held casting resumes with its spent action given back", "actions", "the standard action came back",
       [](int f, int) { YieldAndResume(f, 1, 0); }},
      {"casts and strikes", "actions", "1 casts and 1 attacks in one turn",
       [](int f, int foe) {
         StartCast(f);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"shoots and casts", "actions", "1 casts and 1 attacks in one turn",
       [](int f, int foe) {
         Shoot(f, foe);
         StartCast(f);
       }},
      {"moves past its speed and grapples", "double-move-and-action", "and made 0 attacks, 1 grapple attacks",
       [](int f, int foe) {
         Walk(f, Creatures[f].speed.current / 5 + 1, kActionWalkPath);
         Grapple(f, foe);
       }},
      {"moves past its speed and casts", "double-move-and-action", "0 grapple attacks, 1 casts",
       [](int f, int) {
         Walk(f, Creatures[f].speed.current / 5 + 1, kActionWalkPath);
         StartCast(f);
       }},
      // Attacks.
      // More attacks than allowed, each entry within its own count: a bite
      // of no attacks is a form that adds none, a second ranged entry no shots.
      {"a second blow of one, with a bite of none", "melee-attacks", "melee attack 2 of 1 allowed",
       [](int f, int foe) { BlowsBesideABiteOfNone(f, foe, 1); }},
      {"a profile of two main-hand entries", "profile", "entry 1 is of kind 1 where the rules give kind 0",
       [](int f, int foe) { Attack(f, foe, Entries({kEntryMainHand, kEntryMainHand})); }},
      {"a third blow of two, with a bite of none", "melee-attacks", "melee attack 3 of 2 allowed",
       [](int f, int foe) { BlowsBesideABiteOfNone(f, foe, 2); }},
      {"a second shot of one, with a second ranged entry", "shots", "shot 2 of 1 allowed", TwoShotsOfOne},
      {"a second shot of one in the surprise round", "shots", "shot 2 of 1 allowed", TwoShotsOfOne, true},
      {"a blow and a shot of one attack", "attacks", "1 melee attacks and 1 shots in one turn (at most 1)",
       [](int f, int foe) {
         Attack(f, foe, Blows(kEntryMainHand, 1));
         Shoot(f, foe);
       }},
      {"a shot with no ammunition", "ammunition", "a shot with 0 pieces of ammunition",
       [](int f, int foe) {
         Creatures[f].ammunition = ItemPair{kFirstBaseItemCode, 0};
         Shoot(f, foe);
       }},
      {"a natural attack used twice", "iterative", "attack 2 with entry 0, which gives 1",
       [](int f, int foe) {
         NaturalBlow(f, foe, 0);
         NaturalBlow(f, foe, 0);
       }},
      {"a weapon's third blow of two, a natural attack besides", "iterative", "attack 3 with entry 0, which gives 2",
       [](int f, int foe) { BlowsOfTwo(f, foe, {0, -5, -10}); }},
      {"a second blow of a weapon at the full bonus", "iterative", "at a falling bonus of 0, not -5",
       [](int f, int foe) { BlowsOfTwo(f, foe, {0, 0}); }},
      {"the game's profile gives a base attack bonus of 10 three attacks", "profile",
       "entry 0 (kind 1) gives 3 attacks where the rules give 2",
       [](int f, int foe) {
         Creatures[f].baseAttack.current = 10;
         AttackProfile p = ProfileOf(f, foe);
         ++p.entries[0].attackCount.total;
         Attack(f, foe, p);
       }},
      {"a hasted fighter's extra blow at the second blow's bonus", "iterative",
       "attack 2 with entry 0 at a falling bonus of -5, not 0", [](int f, int foe) { HastedBlows(f, foe, {0, -5}); }},
      {"a second grapple attack of one", "grapple-attacks", "grapple attack 2 of 1 allowed",
       [](int f, int foe) {
         Grapple(f, foe);
         Grapple(f, foe);
       }},
      {"a full attack goes on after a kill", "after-kill", "fell, action 3",
       [](int f, int foe) {
         CombatAction.actionCode = kActionFullAttack;
         Frame();
         NaturalBlow(f, foe, 0);
         Fell(foe);
         NaturalBlow(f, FoeOf(f), 1);
       }},
      {"full shots go on after a kill", "after-kill", "(shot) on creature",
       [](int f, int foe) { OnAfterAKill(f, foe, kActionFullShots, true, false); }},
      {"a blow with nothing in the hand", "profile", "entry 0 is of kind 1 where the rules give kind 0",
       [](int f, int foe) {
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a shot with no ranged weapon", "profile", "entry 1 is of kind 7 where the rules give kind 0",
       [](int f, int foe) {
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         Attack(f, foe, Entries({kEntryNone, kEntryRanged}), 1);
       }},
      {"a grapple profile giving one attack too many", "profile", "gives 2 attacks where the rules give 1",
       [](int f, int foe) {
         NaturalAttacks(f, {{1, 1}});
         AttackProfile p = ProfileOf(f, foe, 0, 1);
         ++p.entries[0].attackCount.total;
         AttackObserver(AttackWatch{f, foe, 0, &p, true, false});
       }},
      {"a whirlwind attack strikes a foe twice", "whirlwind", "struck twice in one whirlwind attack",
       [](int f, int foe) {
         CombatAction.actionCode = kActionWhirlwind;
         Frame();
         AttackTwice(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a cleave with no kill", "cleave", "with no kill before it",
       [](int f, int foe) {
         g_Cleaving = foe;
         Attack(f, foe, Blows(kEntryMainHand, 1));
         g_Cleaving = -1;
       }},
      {"two cleaves without Great Cleave", "cleave", "cleave attack 2 in one turn without Great Cleave",
       [](int f, int foe) { TwoCleaves(f, foe, 0); }},
      {"attacks while stunned", "cannot-act", "while Stunned",
       [](int f, int foe) {
         Stun(f);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"attacks a dead foe", "dead-target", " hit points",
       [](int f, int foe) {
         const int32_t hitPoints = Creatures[foe].hitPoints;
         Creatures[foe].hitPoints = DeadAt(foe);
         Attack(f, foe, Blows(kEntryMainHand, 1));
         Creatures[foe].hitPoints = hitPoints;
       }},
      {"a foe attacks in the fighter's turn", "out-of-turn", "in the turn of creature",
       [](int f, int foe) { Attack(foe, f, Blows(kEntryMainHand, 1)); }},
      {"attacks after its turn ended", "after-turn", "after its turn ended, action",
       [](int f, int foe) {
         EndTheTurn();
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      // Movement.
      {"moves while stunned", "cannot-act", "while Stunned",
       [](int f, int) {
         Stun(f);
         Walk(f, 1, kActionWalkPath);
       }},
      {"a foe moves in the fighter's turn", "out-of-turn", "moves in the turn of creature",
       [](int, int foe) { Walk(foe, 1, kActionWalkPath); }},
      {"moves after its turn ended", "after-turn", "after its turn ended",
       [](int f, int) {
         EndTheTurn();
         Walk(f, 1, kActionWalkPath);
       }},
      {"a second five-foot step", "five-foot-step", "a second five-foot step",
       [](int f, int) { Walk(f, 2, kActionFiveFootStep); }},
      {"a five-foot step after a walk", "five-foot-step", "a five-foot step after 1 squares moved",
       [](int f, int) {
         Walk(f, 1, kActionWalkPath);
         Walk(f, 1, kActionFiveFootStep);
       }},
      {"a five-foot step of two squares", "five-foot-step", "a five-foot step of 2 squares",
       [](int f, int) { Walk(f, 1, kActionStepAndAttack, 2); }},
      {"walks a square, then a full attack", "full-attack-after-move", "after moving 1 squares",
       [](int f, int foe) {
         Walk(f, 1, kActionWalkPath);
         NaturalBlow(f, foe, 0);
         NaturalBlow(f, foe, 1);
       }},
      {"a pouncing creature walks, then a full attack", "full-attack-after-move", "after moving 2 squares",
       [](int f, int foe) {
         Creatures[f].special[kSenseKindWord] = 3;
         Walk(f, 2, kActionWalkPath);
         NaturalBlow(f, foe, 0);
         NaturalBlow(f, foe, 1);
       }},
      {"a five-foot step, then a walk", "five-foot-step", "after a five-foot step",
       [](int f, int) {
         Walk(f, 1, kActionFiveFootStep);
         Walk(f, 1, kActionWalkPath);
       }},
      // Decisions.
      {"decides while knocked off the map", "cannot-act", "present 0",
       [](int f, int) {
         Fell(f);
         battles::WatchDecision();
       }},
      {"decides after its turn ended", "after-turn", "decides after its turn ended",
       [](int, int) {
         EndTheTurn();
         battles::WatchDecision();
       }},
      // What every fighter in the order holds.
      {"hit points above the maximum", "hit-points", "hit points of",
       [](int, int foe) {
         Creatures[foe].hitPoints = Creatures[foe].maxHitPoints + battles::TemporaryHitPointAllowance(foe) + 1;
       }},
      {"a dead foe left in the order", "dead-in-order", "in the turn order at",
       [](int, int foe) { Creatures[foe].hitPoints = DeadAt(foe); }},
      {"a condition lasting -1 rounds", "duration", "lasts -1 rounds",
       [](int, int foe) {
         Stun(foe);
         Creatures[foe].conditions[FindCondition(foe, kCondStunned)].duration = -1;
       }},
      {"ammunition below none", "ammunition", "-1 pieces of ammunition of item",
       [](int, int foe) { Creatures[foe].ammunition = ItemPair{kFirstBaseItemCode, -1}; }},
      {"ammunition rises", "ammunition", "ammunition rose from",
       [](int, int foe) {
         Creatures[foe].ammunition = ItemPair{kFirstBaseItemCode, Creatures[foe].ammunition.count + 5};
       }},
      // Attacks of opportunity.
      {"attacks of opportunity above the number through the turns that follow", "attacks-of-opportunity",
       "attacks of opportunity left of",
       [](int, int foe) {
         Creatures[foe].attacksOfOpportunityLeft = 50;
         StepTurns(3);
       }},
      {"a foe's second attack of opportunity of one", "attacks-of-opportunity", "since its turn, which left it",
       [](int f, int foe) {
         for (int i = 0; i <= Creatures[foe].attacksOfOpportunityLeft; ++i) Provoke(f, foe, kActionInventory + i);
       }},
      {"a turn refills one attack of opportunity too many", "attacks-of-opportunity", "its turn gave it",
       [](int f, int) {
         for (int frame = 0; frame < 5000 && CurrentFighter() == f; ++frame) {
           battles::StepBattleFrame();
           if (CurrentFighter() != f) ++Creatures[CurrentFighter()].attacksOfOpportunityLeft;
           battles::WatchFrame();
         }
       }},
      {"a held casting resumes with an attack of opportunity given back", "attacks-of-opportunity",
       "a turn taken up again in the round gave it", [](int f, int) { YieldAndResume(f, 0, 1); }},
      {"one attack of opportunity above what Combat Reflexes gives", "attacks-of-opportunity",
       "3 attacks of opportunity left of 2", [](int, int foe) { ReflexesAtTheirEdge(foe, 3); }},
      // The watch's edges: held codes, refills, thresholds, casts counted, turns opened.
      {"a readied action against spellcasting (22) going off refills nothing", "attacks-of-opportunity",
       "since its turn, which left it", [](int f, int) { ReactAcrossItsNextTurn(f, 22); }},
      {"a readied action against spellcasting (23) going off refills nothing", "attacks-of-opportunity",
       "since its turn, which left it", [](int f, int) { ReactAcrossItsNextTurn(f, 23); }},
      {"an attack of opportunity before its turn of the next round and one after", "", "",
       [](int f, int) { ReactAcrossItsNextTurn(f, 0); }},
      {"a turn taken up again gives back what it took off, no more", "", "",
       [](int f, int) { TakenUpAgainAfterReacting(f); }, false, true},
      {"a turn of an entry that joined the round refills nothing", "attacks-of-opportunity",
       "a turn taken up again in the round gave it 1",
       [](int f, int) {
         ReactInAFoesTurn(f);
         Creatures[f].attacksOfOpportunityLeft = 0;
         Frame();
         ++CombatRoundNumber;
         TurnOrder[EntryOf(f)].joinedThisRound = 1;
         Creatures[f].attacksOfOpportunityLeft = 1;
         TurnComes(EntryOf(f));
       }},
      {"its turn of the next round refills fifty", "attacks-of-opportunity", "its turn gave it 50 attacks",
       [](int f, int) {
         Creatures[f].attacksOfOpportunityLeft = 50;
         ItsNextRound(f);
       }},
      {"Combat Reflexes at Dexterity 8 still gives one a round", "", "",
       [](int f, int) {
         Creatures[f].feats[kFeatCombatReflexes] = 1;
         Creatures[f].dexterity.current = 8;
         Creatures[f].attacksOfOpportunityLeft = 1;
         ItsNextRound(f);
       }},
      {"a foe yet to act in the surprise round makes a second attack of opportunity of one", "attacks-of-opportunity",
       "attack of opportunity 2 since its turn, which left it 1",
       [](int f, int) {
         int foe = -1;
         for (int i = EntryOf(f) + 1; i < TurnEntryCount && foe < 0; ++i)
           if (PartySide(TurnOrder[i].creature) != PartySide(f)) foe = TurnOrder[i].creature;
         Creatures[foe].attacksOfOpportunityLeft = 1;
         for (int32_t code : {kActionInventory, kActionWake}) Provoke(f, foe, code);
       },
       true},
      {"attacks of opportunity left below none", "attacks-of-opportunity", "-1 attacks of opportunity left of",
       [](int, int foe) { Creatures[foe].attacksOfOpportunityLeft = -1; }},
      {"a readied foe's attack, then as many attacks of opportunity as it has", "", "",
       [](int f, int foe) {
         const int32_t left = Creatures[foe].attacksOfOpportunityLeft;
         TurnOrder[EntryOf(foe)].plannedAction = 21;
         CombatAction.reactingCreature = foe;
         Attack(foe, f, Blows(kEntryMainHand, 1));
         TurnOrder[EntryOf(foe)].plannedAction = 0;
         const int32_t quick[] = {kActionInventory, kActionWake, kActionDance, kActionAlarm};
         for (int32_t i = 0; i < left; ++i) Provoke(f, foe, quick[i]);
       }},
      {"a held casting (24) resumes with its spent action given back", "actions", "the standard action came back",
       [](int f, int) { YieldAndResume(f, 1, 0, 24); }},
      {"a held casting (31) resumes with its spent action given back", "actions", "the standard action came back",
       [](int f, int) { YieldAndResume(f, 1, 0, 31); }},
      {"an entry's code 32 is no held casting: the turn that comes back is new", "", "",
       [](int f, int) { YieldAndResume(f, 1, 0, 32); }},
      {"a held casting dropped before its turn: the turn that comes is new", "", "",
       [](int f, int) { YieldAndResume(f, 1, 0, 27, Held::kDropped); }},
      {"a turn comes while its casting is still held: a new turn", "", "",
       [](int f, int) { YieldAndResume(f, 1, 0, 27, Held::kStillHeld); }},
      {"a casting held only after the caster's turn closed: the turn that resumes it is new", "", "",
       [](int f, int) { YieldAndResume(f, 1, 0, 27, Held::kLate); }},
      {"a held casting resumed after a turn of the caster that never started, then a blow", "actions",
       "1 casts and 1 attacks in one turn",
       [](int f, int foe) {
         YieldAndResume(f, 0, 0, 27, Held::kPassedOver);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a party member at -9 hit points left in the order", "", "",
       [](int, int) {
         for (int id : battles::BattleFighters())
           if (id < kPartySize) Creatures[id].hitPoints = -9;
       }},
      {"the first creature past the party at 0 hit points left in the order", "dead-in-order", "in the turn order at 0",
       [](int, int foe) {
         Creatures[kPartySize] = Creatures[foe];  // the foe's entry taken over by the first creature past the party
         TurnOrder[EntryOf(foe)].creature = kPartySize;
         Creatures[kPartySize].hitPoints = 0;
       }},
      {"a foe with the Dead condition left in the order", "dead-in-order", ", Dead",
       [](int, int foe) { Give(foe, kCondDead); }},
      {"a foe dead while its death is played back", "", "",
       [](int f, int foe) {
         const int32_t hitPoints = Creatures[foe].hitPoints;
         Creatures[foe].hitPoints = DeadAt(foe);
         PlaybackCreature = foe;
         ItsNextRound(f);
         PlaybackCreature = -1;
         Creatures[foe].hitPoints = hitPoints;
       }},
      {"the battle over, a dead foe in the order as the next turn comes", "", "",
       [](int f, int foe) {
         const int32_t hitPoints = Creatures[foe].hitPoints;
         Creatures[foe].hitPoints = DeadAt(foe);
         InCombat = 0;
         TurnComes(EntryOf(foe));
         InCombat = 1;
         TurnComes(EntryOf(f));
         Creatures[foe].hitPoints = hitPoints;
       }},
      {"between rounds a dead foe in the order, gone before the next turn", "", "",
       [](int f, int foe) {
         const int32_t hitPoints = Creatures[foe].hitPoints;
         Creatures[foe].hitPoints = DeadAt(foe);
         TurnComes(-1, kStateNextFighter);
         Creatures[foe].hitPoints = hitPoints;
         TurnComes(EntryOf(f));
       }},
      {"decides at 0 hit points", "cannot-act", "decides at 0 hit points",
       [](int f, int) {
         const int32_t hitPoints = Creatures[f].hitPoints;
         Creatures[f].hitPoints = 0;
         battles::WatchDecision();
         Creatures[f].hitPoints = hitPoints;
       }},
      {"decides while unconscious, its first condition", "cannot-act", "decides at",
       [](int f, int) {
         FirstCondition(f, kCondUnconscious);
         battles::WatchDecision();
       }},
      {"conditions lasting 0 rounds, until rest and 3000 rounds", "", "", [](int, int foe) { EdgesOfDuration(foe); }},
      {"condition 1 lasting -1 rounds", "duration", "lasts -1 rounds",
       [](int, int foe) { FirstCondition(foe, 1, -1); }},
      {"a condition lasting 1001 rounds", "duration", "lasts 1001 rounds",
       [](int, int foe) { FirstCondition(foe, kCondHasted, kDurationLasting + 1); }},
      {"one piece of ammunition of no item", "ammunition", "1 pieces of ammunition of item 0",
       [](int, int foe) { Creatures[foe].ammunition = ItemPair{0, 1}; }},
      {"casts twice, the second starting in the frame after the first", "actions", "2 casts and 0 attacks",
       [](int f, int) {
         SpellCaster = f;
         for (int32_t spell : {1, 2}) {
           SpellInProgress = spell;
           Frame(kModeCastStart);
         }
       }},
      {"the casting screen with no spell, a foe's cast, and a cast over two frames", "", "",
       [](int f, int foe) { CastingScreens(f, foe); }},
      {"a spent action comes back in the player's turn of the next round", "actions", "the standard action came back",
       [](int f, int) {
         ItsNextRound(f, kStatePlayerTurn);
         CombatAction.standardActionLeft = 0;
         Frame();
         CombatAction.standardActionLeft = 1;
         Frame();
       }},
      {"a spent action comes back under way in the next round", "actions", "the standard action came back",
       [](int f, int) {
         ItsNextRound(f, kStateActionUnderWay);
         CombatAction.standardActionLeft = 0;
         Frame();
         CombatAction.standardActionLeft = 1;
         Frame();
       }},
      {"a turn begun with three times its speed to move moves past twice its speed", "movement", "squares moved",
       [](int f, int) {
         CombatAction.movesLeft = 3 * Creatures[f].speed.current;
         ItsNextRound(f);
         Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionWalkPath);
       }},
      {"walks its speed, then twice its speed in its turn of the next round", "", "",
       [](int f, int) {
         Walk(f, Creatures[f].speed.current / 5, kActionWalkPath);
         ++CombatRoundNumber;
         Frame();
         Walk(f, 2 * Creatures[f].speed.current / 5, kActionWalkPath);
       }},
      {"unable to see, walks past twice its speed in feet", "movement", "squares moved",
       [](int f, int) {
         Creatures[f].feats[kFeatBlindFight] = 0;
         Give(f, kCondCantSee);
         Walk(f, 2 * Creatures[f].speed.current / 10 + 1, kActionWalkPath);
       }},
      {"pays for a square it does not leave, then a full attack", "full-attack-after-move", "after moving 1 squares",
       [](int f, int foe) {
         Walk(f, 1, kActionWalkPath, 0);
         NaturalBlow(f, foe, 0);
         NaturalBlow(f, foe, 1);
       }},
      {"its turn ended, taken up again a place on in the order, it strikes", "", "",
       [](int f, int foe) {
         EndTheTurn();
         const int at = CurrentTurnIndex, to = at + 1 < TurnEntryCount ? at + 1 : at - 1;
         std::swap(TurnOrder[at], TurnOrder[to]);
         TurnComes(to);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a second blow of one, sent as a hold check with no grapple", "melee-attacks", "melee attack 2 of 1 allowed",
       [](int f, int foe) {
         // Sent through the profile's empty second entry, so that only the
         // count of melee attacks can tell it.
         const AttackProfile p = Blows(kEntryMainHand, 1);
         Attack(f, foe, p, 0);
         AttackObserver(AttackWatch{f, foe, 1, &p, false, true});
       }},
      {"a full attack begun after an earlier action's kill", "", "",
       [](int f, int foe) {
         CombatAction.actionCode = kActionMeleeAttack;
         Frame();
         NaturalBlow(f, foe, 0);
         Fell(foe);
         CombatAction.actionCode = kActionFullAttack;
         Frame();
         NaturalBlow(f, FoeOf(f), 1);
       }},
      {"a second blow at the full bonus, the modifier list full", "", "",
       [](int f, int foe) { TwoBlowsWithPairs(f, foe, kModifierPairs); }},
      {"a second blow at the full bonus, one pair of the modifier list free", "iterative",
       "attack 2 with entry 0 at a falling bonus of 0, not -5",
       [](int f, int foe) { TwoBlowsWithPairs(f, foe, kModifierPairs - 1); }},
      {"moves past twice its speed, its action codes listed", "movement", ", actions 1 3 1",
       [](int f, int) {
         ActionCodes({kActionEnd, 1, 1, 0, 1, kActionEnd, 3, 1});
         Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionWalkPath);
       }},
      // What provokes an attack of opportunity, and from whom.
      {"an attack of opportunity against a five-foot step", "provoking", "against a five-foot step of creature",
       [](int f, int foe) { Provoke(f, foe, kActionFiveFootStep); }},
      {"an attack of opportunity against a defensive cast", "provoking", "against a defensive cast of creature",
       [](int f, int foe) { ProvokeByCasting(f, foe, 1); }},
      {"an attack of opportunity against the cast of a creature not acting", "provoking",
       "against a cast of another creature",
       [](int f, int foe) {
         SpellInProgress = 1;
         SpellCaster = foe;
         Provoke(f, foe, 12);
       }},
      {"an attack of opportunity against an armed blow", "provoking", "against a melee attack with a weapon of",
       [](int f, int foe) { Provoke(f, foe, kActionMeleeAttack); }},
      {"an attack of opportunity against an unarmed blow at another", "provoking",
       "against an unarmed attack on another creature",
       [](int f, int foe) {
         Give(f, kCondUnarmed);
         Provoke(f, foe, kActionFullAttack, -1);
       }},
      {"an attack of opportunity against a grapple with Improved Grapple", "provoking",
       "against a grapple with Improved Grapple",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedGrapple] = 1;
         Provoke(f, foe, kActionGrapple);
       }},
      {"an attack of opportunity against a grapple of another", "provoking", "against a grapple of another creature",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedGrapple] = 0;
         Provoke(f, foe, kActionGrapple, -1);
       }},
      {"an attack of opportunity against a bull rush with Improved Bull Rush", "provoking",
       "against a bull rush with Improved Bull Rush",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedBullRush] = 1;
         Provoke(f, foe, kActionBullRush);
       }},
      {"an attack of opportunity against an escape from no web", "provoking", "against an escape from no web",
       [](int f, int foe) { Provoke(f, foe, kActionEscape); }},
      {"an attack of opportunity against an escape from a web while grappled", "provoking",
       "against an escape from no web",
       [](int f, int foe) {
         Give(f, kCondStuck);
         Give(f, kCondGrappling);
         Provoke(f, foe, kActionEscape);
       }},
      {"an attack of opportunity against reloading a light crossbow with Rapid Reload", "provoking",
       "against a reload that needs no action", [](int f, int foe) { ProvokeByReloading(f, foe, kLightCrossbow, 1); }},
      {"an attack of opportunity against reloading a bow", "provoking", "against a reload that needs no action",
       [](int f, int foe) { ProvokeByReloading(f, foe, kShortbow, 0); }},
      {"an attack of opportunity against a pin", "provoking", "against action 19, which provokes none",
       [](int f, int foe) { Provoke(f, foe, kActionPin); }},
      {"an attack of opportunity on a creature not acting", "provoking", "not on creature",
       [](int f, int foe) {
         Beside(foe, f);
         CombatAction.actionCode = kActionShot;
         CombatAction.reactingCreature = foe;
         Attack(foe, AllyOf(f), Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
       }},
      {"an attack of opportunity by an ally", "provoking", "not an enemy of creature",
       [](int f, int) { Provoke(f, AllyOf(f), kActionShot); }},
      {"an attack of opportunity from two squares away", "provoking", "not next to creature",
       [](int f, int foe) {
         Beside(foe, f);
         Creatures[foe].squareX += Creatures[foe].squareX > Creatures[f].squareX ? 1 : -1;
         CombatAction.actionCode = kActionShot;
         CombatAction.reactingCreature = foe;
         Attack(foe, f, Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
       }},
      {"an attack of opportunity against an unseen invisible creature", "provoking", "unable to see creature",
       [](int f, int foe) {
         Give(f, kCondInvisible);
         Creatures[foe].special[kSenseKindWord] = 0;
         Provoke(f, foe, kActionShot);
       }},
      {"an attack of opportunity from the mover's own square", "provoking", "not next to creature",
       [](int f, int foe) {
         Creatures[foe].squareX = Creatures[f].squareX;
         Creatures[foe].squareY = Creatures[f].squareY;
         CombatAction.actionCode = kActionShot;
         CombatAction.reactingCreature = foe;
         Attack(foe, f, Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
       }},
      {"an attack of opportunity against an unseen creature with greater invisibility", "provoking",
       "unable to see creature",
       [](int f, int foe) {
         Give(f, kCondGreaterInvisibility);
         Creatures[foe].special[kSenseKindWord] = 0;
         Provoke(f, foe, kActionShot);
       }},
      {"an ally's attack of opportunity against a confused ally's armed blow at it", "provoking",
       "not an enemy of creature", [](int f, int) { Provoke(f, AllyOf(f), kActionMeleeAttack); }},
      {"an ally's attack of opportunity against a confused ally's unarmed blow at another", "provoking",
       "not an enemy of creature",
       [](int f, int foe) {
         Give(f, kCondUnarmed);
         Provoke(f, AllyOf(f), kActionMeleeAttack, foe);
       }},
      {"an attack of opportunity by the unarmed target of a confused ally's shot", "provoking",
       "not an enemy of creature",
       [](int f, int) {
         Give(f, kCondUnarmed);
         Provoke(f, AllyOf(f), kActionShot);
       }},
      {"an attack of opportunity by a party's ally of side 6 against a party member", "provoking",
       "not an enemy of creature",
       [](int f, int) {
         const int ally = AllyOf(f);
         Creatures[ally].allegiance = PartySide(f) ? 6 : 2;
         Provoke(f, ally, kActionShot);
       }},
      {"two attacks of opportunity against one shot", "provoking", "a second attack of opportunity against one act",
       [](int f, int foe) {
         Provoke(f, foe, kActionShot);
         Provoke(f, foe, kActionShot);
       },
       false, true},
      // Within the rules.
      {"attacks of opportunity against a walk, a shot and each shot of a full attack", "", "",
       [](int f, int foe) {
         Provoke(f, foe, kActionWalkPath);
         Provoke(f, foe, kActionFullShots);
         Shoot(f, foe);
         Provoke(f, foe, kActionFullShots);
       },
       false, true},
      {"an attack of opportunity against a cast", "", "", [](int f, int foe) { ProvokeByCasting(f, foe, 0); }},
      {"an attack of opportunity against an unarmed blow at it", "", "",
       [](int f, int foe) {
         Give(f, kCondUnarmed);
         Provoke(f, foe, kActionMeleeAttack);
       }},
      {"an attack of opportunity against a coup de grace", "", "",
       [](int f, int foe) {
         CoupDeGraceAction = 1;
         Provoke(f, foe, kActionMeleeAttack, -1);
         CoupDeGraceAction = 0;
       }},
      {"an attack of opportunity against a grapple of it", "", "",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedGrapple] = 0;
         Provoke(f, foe, kActionGrapple);
       }},
      {"an attack of opportunity against a bull rush", "", "",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedBullRush] = 0;
         Provoke(f, foe, kActionBullRush);
       }},
      {"an attack of opportunity against breaking free of a web", "", "",
       [](int f, int foe) {
         Give(f, kCondStuck);
         Provoke(f, foe, kActionEscape);
       }},
      {"an attack of opportunity against reloading a light crossbow", "", "",
       [](int f, int foe) { ProvokeByReloading(f, foe, kLightCrossbow, 0); }},
      {"an attack of opportunity against reloading a heavy crossbow with Rapid Reload", "", "",
       [](int f, int foe) { ProvokeByReloading(f, foe, kHeavyCrossbow, 1); }},
      {"an attack of opportunity against each quick act", "", "",
       [](int f, int foe) {
         for (int32_t code : {kActionInventory, kActionWake, kActionDance, kActionAlarm}) Provoke(f, foe, code);
       },
       false, true},
      {"an attack of opportunity by the target of a confused ally's unarmed blow", "", "",
       [](int f, int) {
         Give(f, kCondUnarmed);
         Provoke(f, AllyOf(f), kActionMeleeAttack);
       }},
      {"an attack of opportunity against an invisible creature, seen truly", "", "",
       [](int f, int foe) {
         Give(f, kCondInvisible);
         Give(foe, kCondTrueSeeing);
         Provoke(f, foe, kActionShot);
       }},
      // The game's own profiles, held against the rules.
      {"blows at base attack bonuses 5, 6, 11 and 21", "", "",
       [](int f, int foe) {
         int made = 0;
         for (int32_t bonus : {5, 6, 11, 21}) {
           Creatures[f].baseAttack.current = bonus;
           CombatAction.currentProfileEntry = 0;
           CombatAction.attackCounter = made++;
           Attack(f, foe, ProfileOf(f, foe));
         }
         CombatAction.attackCounter = 0;
       }},
      {"a light speed weapon beside claws", "", "",
       [](int f, int foe) {
         Wield(f, 1, 1, 0, 0);
         NaturalAttacks(f, {{2, 3}});
         EachFormOnce(f, foe);
       }},
      {"a hasted fighter's speed weapon", "", "",
       [](int f, int foe) {
         Wield(f, 2, 1, 0, 0);
         Give(f, kCondHasted);
         EachFormOnce(f, foe);
       }},
      {"a one-handed weapon beside a bite and claws", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{1, 1}, {2, 2}});
         EachFormOnce(f, foe);
       }},
      {"a two-handed weapon beside claws", "", "",
       [](int f, int foe) {
         Wield(f, 3, 0, 0, 0);
         NaturalAttacks(f, {{1, 1}, {2, 2}});
         EachFormOnce(f, foe);
       }},
      {"two weapons", "", "", [](int f, int foe) {
         Wield(f, 2, 0, kLongsword, 0);
         EachFormOnce(f, foe);
       }},
      {"two weapons with Improved Two-Weapon Fighting", "", "",
       [](int f, int foe) {
         Wield(f, 2, 0, kLongsword, 0);
         Creatures[f].feats[kFeatImprovedTwoWeaponFighting] = 1;
         EachFormOnce(f, foe);
       }},
      {"two weapons with Greater Two-Weapon Fighting, hasted", "", "",
       [](int f, int foe) {
         Wield(f, 2, 0, kLongsword, 0);
         Creatures[f].feats[kFeatGreaterTwoWeaponFighting] = 1;
         Give(f, kCondHasted);
         EachFormOnce(f, foe);
       }},
      {"Slowed: one blow of each form, no off hand", "", "",
       [](int f, int foe) {
         Creatures[f].baseAttack.current = 11;
         Wield(f, 2, 0, kLongsword, 0);
         NaturalAttacks(f, {{1, 2}});
         Give(f, kCondSlowed);
         EachFormOnce(f, foe);
       }},
      {"hasted claws and a shield, no weapon", "", "",
       [](int f, int foe) {
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         Wield(f, 2, 0, kShield, 0);
         NaturalAttacks(f, {{2, 2}, {4, 2}, {6, 1}, {1, 1}});
         Give(f, kCondHasted);
         EachFormOnce(f, foe);
       }},
      {"the second form, hasted, a shield held", "", "",
       [](int f, int foe) {
         Wield(f, 2, 0, kShield, 0);
         NaturalAttacks(f, {{2, 2}, {4, 2}, {6, 2}, {1, 1}});
         Give(f, kCondHasted);
         EachFormOnce(f, foe, 1);
       }},
      {"all four natural attacks with the sense that brings the fourth", "", "",
       [](int f, int foe) {
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         NaturalAttacks(f, {{1, 1}, {4, 1}, {7, 1}, {8, 2}});
         Creatures[f].special[kSenseKindWord] = 7;
         EachFormOnce(f, foe);
       }},
      {"a shot of a bow at base attack bonus 6", "", "", [](int f, int foe) { ShotOf(f, foe, kShortbow, 0, false); }},
      {"a shot of a longbow at base attack bonus 6", "", "", [](int f, int foe) { ShotOf(f, foe, kLongbow, 0, false); }},
      {"a shot of a light crossbow with Rapid Reload", "", "",
       [](int f, int foe) { ShotOf(f, foe, kLightCrossbow, 1, false); }},
      {"a shot of a hasted fighter's light crossbow", "", "",
       [](int f, int foe) { ShotOf(f, foe, kLightCrossbow, 0, true); }},
      {"a shot of a heavy crossbow with Rapid Reload", "", "",
       [](int f, int foe) { ShotOf(f, foe, kHeavyCrossbow, 1, false); }},
      {"grapple attacks of a hasted raking creature", "", "",
       [](int f, int foe) {
         Creatures[f].baseAttack.current = 6;
         Creatures[f].special[kSpecialRakeSides] = 1;
         NaturalAttacks(f, {{1, 1}});
         Give(f, kCondHasted);
         const AttackProfile p = ProfileOf(f, foe, 0, 1);
         for (int k = 0; k < 5; ++k) AttackObserver(AttackWatch{f, foe, 0, &p, true, false});
       }},
      {"a hasted creature grapples with the bite behind its claws of none: no haste in the bite's", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{2, 0}, {1, 1}});
         Give(f, kCondHasted);
         const AttackProfile p = ProfileOf(f, foe, 0, 1);
         AttackObserver(AttackWatch{f, foe, 0, &p, true, false});
       }},
      // The hands the items held keep busy, and the items that are no weapon.
      {"a sword beside a dagger, a dwarven waraxe, a tower shield and armour, with claws of three and of none", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{2, 3}, {2, 0}});
         BlowsHolding(f, foe, {{kLongsword, kDagger}, {kLongsword, kWaraxe}, {kLongsword, kTowerShield},
                               {kLongsword, kArmour}});
       }},
      {"touches, claws of three and of none beside no weapon, a sword, a greatsword and a rapier for two hands", "",
       "",
       [](int f, int foe) {
         NaturalAttacks(f, {{9, 2}, {2, 3}, {2, 0}});
         BlowsHolding(f, foe, {{0, 0}, {kLongsword, 0}, {kGreatsword, 0}, {kTwoHandedRapier, 0}});
       }},
      {"a bite beside a base item in the hand, then a sword whatever crafted row 0 holds", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{1, 1}});
         CraftedWeapons[0] = CraftedWeapons[kDagger];
         BlowsHolding(f, foe, {{static_cast<uint32_t>(kFirstBaseItemCode), 0}, {kLongsword, 0}});
       }},
      {"charges twice its speed in the surprise round", "", "",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5, kActionCharge); }, true},
      {"casts, then charges and strikes", "", "",
       [](int f, int foe) {
         StartCast(f);
         Walk(f, 2, kActionCharge);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a full attack goes on after a blow at a foe already down", "", "",
       [](int f, int foe) {
         CombatAction.actionCode = kActionFullAttack;
         Frame();
         Fell(foe);
         NaturalBlow(f, foe, 0);
         NaturalBlow(f, FoeOf(f), 1);
       }},
      {"a full attack's kill, then a cleave", "", "",
       [](int f, int foe) { OnAfterAKill(f, foe, kActionFullAttack, false, true); }},
      {"a whirlwind attack goes on after a kill", "", "",
       [](int f, int foe) { OnAfterAKill(f, foe, kActionWhirlwind, false, false); }},
      {"two cleaves with Great Cleave", "", "", [](int f, int foe) { TwoCleaves(f, foe, 1); }},
      {"a blow and a shot of two attacks", "", "",
       [](int f, int foe) {
         Creatures[f].baseAttack.current = 6;
         Attack(f, foe, Blows(kEntryMainHand, 2));
         Attack(f, foe, ShotsOfTwo(f), 1);
       }},
      {"two blows of the fourth natural attack at the full bonus", "", "",
       [](int f, int foe) {
         Creatures[f].equipment[kSlotRightHand - 1] = 0;
         NaturalAttacks(f, {{1, 1}, {4, 1}, {7, 1}, {8, 2}});
         Creatures[f].special[kSenseKindWord] = 7;
         const AttackProfile p = ProfileOf(f, foe);
         Attack(f, foe, p, 3);
         Attack(f, foe, p, 3);
       }},
      {"attacks of opportunity by foes that sense an invisible creature", "", "",
       [](int f, int foe) {
         Give(f, kCondInvisible);
         for (int32_t sense : {5, 6}) {
           Creatures[foe].special[kSenseKindWord] = sense;
           Provoke(f, foe, sense == 5 ? kActionShot : kActionInventory);
         }
       },
       false, true},
      {"the targets of a confused ally's unarmed full attack and grapple answer them", "", "",
       [](int f, int) {
         Give(f, kCondUnarmed);
         Provoke(f, AllyOf(f), kActionFullAttack);
         Provoke(f, AllyOf(f), kActionNextAttack);
         Creatures[f].feats[kFeatImprovedGrapple] = 0;
         Provoke(f, AllyOf(f), kActionGrapple);
       },
       false, true},
      {"attacks of opportunity by and against a creature of a side of its own", "", "",
       [](int f, int foe) {
         const int32_t side = Creatures[foe].allegiance;
         Creatures[foe].allegiance = 8;
         Provoke(f, foe, kActionShot);
         Creatures[foe].allegiance = side;
         Creatures[f].allegiance = 8;
         Provoke(f, foe, kActionInventory);
       },
       false, true},
      {"pounces: charges, then a full attack", "", "", [](int f, int foe) { ChargeAndFullAttack(f, foe, 3); }},
      {"a held casting resumes", "", "", [](int f, int) { YieldAndResume(f, 0, 0); }},
      {"moves its speed in a single action", "", "",
       [](int f, int) { Walk(f, Creatures[f].speed.current / 5, kActionWalkPath); }, true},
      {"a hasted fighter's three blows", "", "", [](int f, int foe) { HastedBlows(f, foe, {0, 0, -5}); }},
      {"the attacks of opportunity Combat Reflexes gives", "", "", [](int, int foe) { ReflexesAtTheirEdge(foe, 2); }},
  };
  // Each case in a turn of the second round, then (but the surprise round's)
  // in a later round's turn of a fighter of another side.
  std::vector<std::pair<const Case*, int>> runs;
  int firstSide = 0;  // 1 the party's side, 2 the other
  {
    battles::BattleOptions options;
    options.seed = kSeed;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    const int f = UpToADecision();
    ASSERT_GE(f, 0);
    firstSide = PartySide(f) ? 1 : 2;
  }
  for (const Case& c : cases) {
    runs.emplace_back(&c, 0);
    if (!c.surprise) runs.emplace_back(&c, firstSide);
  }
  std::vector<CraftedWeaponRecord> kept;
  for (uint32_t row : kTestRows) kept.push_back(CraftedWeapons[row]);
  for (const auto& [run, otherThanSide] : runs) {
    const Case& c = *run;
    battles::BattleOptions options;
    options.seed = kSeed;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    if (c.reflexes) {
      for (int id : battles::BattleFighters()) {
        Creatures[id].feats[kFeatCombatReflexes] = 1;
        Creatures[id].dexterity = StatPair{16, 16};
        Creatures[id].attacksOfOpportunity = Creatures[id].attacksOfOpportunityLeft = 4;
      }
    }
    battles::StartTurnWatch(kSeed);
    const int f = UpToADecision(c.surprise, otherThanSide);
    const std::string what = std::string(c.what) + (otherThanSide != 0 ? " (a later round)" : "");
    ASSERT_GE(f, 0) << what;
    const int foe = FoeOf(f);
    ASSERT_GE(foe, 0) << what;
    Outfit(f);
    c.breakIt(f, foe);
    const std::vector<battles::Breach> breaches = battles::EndTurnWatch();
    ScreenMode = 0;
    SpellInProgress = -1;
    CombatAction.reactingCreature = -1;
    for (size_t i = 0; i < kept.size(); ++i) CraftedWeapons[kTestRows[i]] = kept[i];
    bool seen = false, others = false;
    std::set<std::tuple<int, int, std::string>> reported;
    bool again = false;  // a fighter's rule reported twice in a round
    std::string lines;
    for (const battles::Breach& b : breaches) {
      seen = seen || (b.rule == c.rule && b.seen.find(c.words) != std::string::npos);
      others = others || b.rule != c.rule;
      again = again || !reported.emplace(b.round, b.fighter, b.rule).second;
      lines += battles::BreachLine(b) + "\n";
    }
    EXPECT_FALSE(again) << what << " reported twice in a round:\n" << lines;
    if (c.rule[0] == '\0') {
      EXPECT_TRUE(breaches.empty()) << what << ":\n" << lines;
    } else {
      EXPECT_TRUE(seen) << what << " not reported as " << c.rule << " \"" << c.words << "\":\n" << lines;
      EXPECT_FALSE(others) << what << " reported under other rules:\n" << lines;
    }
  }
}

}  // namespace
