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
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "harness/battle_runner.h"
#include "harness/turn_check.h"
#include "harness/turn_check_cases.h"
#include "harness/turn_check_moves.h"
#include "map/area_shapes.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/breakdown_sources.h"
#include "rules/casting_rules.h"
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

using namespace turn_cases;

class TurnCheck : public ::testing::TestWithParam<size_t> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(battles::StartBattleGame()); }
  static void TearDownTestSuite() { battles::StopBattleGame(); }
};

constexpr uint32_t kSeed = 3;

// Each report of the check, made by a turn that breaks that rule alone, in
// the report's own words; and turns within the rules reported by none.
const std::vector<Case>& RuleCases() {
  static const std::vector<Case> cases = {
      // The turn's budget, judged as it closes.
      {"moves past twice its speed", "movement", "squares moved",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionWalkPath); }},
      {"charges a foot past twice its speed", "movement", "squares moved",
       [](int f, int) {
         ClearTheField({f});
         Walk(f, SquaresAFootPast(f, 2), kActionCharge);
       }},
      {"moves a foot past its speed in a single action", "movement", "single-action turn",
       [](int f, int) { Walk(f, SquaresAFootPast(f, 1), kActionWalkPath); }, true},
      {"charges, then a full attack without pounce", "full-attack-after-move", "shots after moving 2 squares",
       [](int f, int foe) { ChargeAndFullAttack(f, foe, 0); }},
      {"moves a foot past its speed and attacks", "double-move-and-action", "and made 1 attacks, 0 grapple",
       [](int f, int foe) {
         Walk(f, SquaresAFootPast(f, 1), kActionWalkPath);
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
      {"a held casting of the last entry in the order resumes with its spent action given back", "actions",
       "the standard action came back",
       [](int f, int) {
         std::swap(TurnOrder[CurrentTurnIndex], TurnOrder[TurnEntryCount - 1]);
         CurrentTurnIndex = TurnEntryCount - 1;
         YieldAndResume(f, 1, 0);
       }},
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
      {"a profile's last entry a bite the rules do not give", "profile", "entry 6 is of kind 3 where the rules give kind 0",
       [](int f, int foe) {
         AttackProfile p = Blows(kEntryMainHand, 1);
         p.entries[kAttackProfileEntries - 1] = Blows(kEntryNatural0, 1).entries[0];
         Attack(f, foe, p);
       }},
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
      // Each condition that keeps a fighter from attacking, alone.
      {"attacks while Dead", "cannot-act", "while Dead", [](int f, int foe) { AttackWhile(f, foe, kCondDead); }},
      {"attacks while Unconscious", "cannot-act", "while Unconscious",
       [](int f, int foe) { AttackWhile(f, foe, kCondUnconscious); }},
      {"attacks while Petrified", "cannot-act", "while Petrified",
       [](int f, int foe) { AttackWhile(f, foe, kCondPetrified); }},
      {"attacks while Sleeping", "cannot-act", "while Sleeping",
       [](int f, int foe) { AttackWhile(f, foe, kCondSleeping); }},
      {"attacks while Paralyzed", "cannot-act", "while Paralyzed",
       [](int f, int foe) { AttackWhile(f, foe, kCondParalyzed); }},
      {"attacks while Dancing", "cannot-act", "while Dancing", [](int f, int foe) { AttackWhile(f, foe, kCondDancing); }},
      {"attacks while Stunned", "cannot-act", "while Stunned", [](int f, int foe) { AttackWhile(f, foe, kCondStunned); }},
      {"attacks while Cowering", "cannot-act", "while Cowering",
       [](int f, int foe) { AttackWhile(f, foe, kCondCowering); }},
      {"attacks while Dazed", "cannot-act", "while Dazed", [](int f, int foe) { AttackWhile(f, foe, kCondDazed); }},
      {"attacks while Nauseated", "cannot-act", "while Nauseated",
       [](int f, int foe) { AttackWhile(f, foe, kCondNauseated); }},
      // A pinned creature strikes at nothing but the hold check of its
      // escape; no cast begins, or is announced, while held.
      {"a pinned creature's blow in the action of breaking free", "cannot-act", "while Pinned",
       [](int f, int foe) {
         Give(f, kCondPinned);
         CombatAction.actionCode = kActionEscape;
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"a pinned creature's hold check of a pin", "cannot-act", "while Pinned",
       [](int f, int foe) {
         Give(f, kCondPinned);
         HoldCheck(f, foe, kActionPin);
       }},
      {"a stunned creature's hold check to break free", "cannot-act", "while Stunned",
       [](int f, int foe) {
         Stun(f);
         HoldCheck(f, foe, kActionEscape);
       }},
      {"a paralysed caster begins a spell with a gesture", "cannot-act", "begins a cast of spell 1 while Paralyzed",
       [](int f, int) {
         Give(f, kCondParalyzed);
         CastSpell(f, 1, 1, kMetamagicNone, 0);
       }},
      {"a caster paralysed amid its spell with a gesture announces it", "cannot-act",
       "ends in a cast of spell 1 while Paralyzed",
       [](int f, int) { CastSpell(f, 1, 1, kMetamagicNone, 0, kCondParalyzed); }},
      {"a paralysed caster begins a spell with no gesture from a wand", "cannot-act",
       "cast of spell 1 from an item while Paralyzed",
       [](int f, int) {
         Give(f, kCondParalyzed);
         CastSpell(f, 1, 0, kMetamagicNone, 1);
       }},
      {"a sleeping caster begins a stilled spell", "cannot-act", "cast of spell 1 while Sleeping",
       [](int f, int) {
         Give(f, kCondSleeping);
         CastSpell(f, 1, 1, kMetamagicStilled, 0);
       }},
      {"a stilled casting from a scroll resumes in a caster paralysed while it was held", "cannot-act",
       "begins a cast of spell 1 from an item while Paralyzed",
       [](int f, int) {
         PendingMetamagic = kMetamagicStilled;
         CastingFromItem = 1;
         YieldAndResume(f, 0, 0, 31, Held::kResumed, true);
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
      // Each condition that keeps a fighter from moving, alone; Nauseated and
      // Dancing keep none.
      {"moves while Dead", "cannot-act", "while Dead", [](int f, int) { WalkWhile(f, kCondDead); }},
      {"moves while Unconscious", "cannot-act", "while Unconscious", [](int f, int) { WalkWhile(f, kCondUnconscious); }},
      {"moves while Petrified", "cannot-act", "while Petrified", [](int f, int) { WalkWhile(f, kCondPetrified); }},
      {"moves while Sleeping", "cannot-act", "while Sleeping", [](int f, int) { WalkWhile(f, kCondSleeping); }},
      {"moves while Paralyzed", "cannot-act", "while Paralyzed", [](int f, int) { WalkWhile(f, kCondParalyzed); }},
      {"moves while Stunned", "cannot-act", "while Stunned", [](int f, int) { WalkWhile(f, kCondStunned); }},
      {"moves while Cowering", "cannot-act", "while Cowering", [](int f, int) { WalkWhile(f, kCondCowering); }},
      {"moves while Dazed", "cannot-act", "while Dazed", [](int f, int) { WalkWhile(f, kCondDazed); }},
      {"moves while Nauseated, then while Dancing", "", "",
       [](int f, int) {
         WalkWhile(f, kCondNauseated);
         WalkWhile(f, kCondDancing);
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
      {"ammunition rises by one", "ammunition", "ammunition rose from",
       [](int, int foe) {
         Creatures[foe].ammunition = ItemPair{kFirstBaseItemCode, Creatures[foe].ammunition.count + 1};
       }},
      // The attacks of opportunity leaving a square draws.
      {"walks off a square two foes threaten, the second, deafened, makes none", "missing-reaction",
       "makes none, action 1",
       [](int f, int) {
         const int second = TwoFoesBeside(f, kActionWalkPath).second;
         Give(second, kCondDeafened);
         Walk(f, 1, kActionWalkPath);
       }},
      {"the computer's charge off a square a foe threatens draws none", "missing-reaction", "makes none, action 11",
       [](int f, int foe) {
         Creatures[foe].attacksOfOpportunityLeft = 1;
         Beside(foe, f);
         Walk(f, 1, kActionCharge);
       }},
      {"a charge runs on off a square two foes threaten, the second, flat-footed with Combat Reflexes, makes none",
       "missing-reaction", "makes none, action 11",
       [](int f, int) {
         Walk(f, 1, kActionCharge);
         const int second = TwoFoesBeside(f, kActionCharge).second;
         Give(second, kCondFlatFooted);
         Creatures[second].feats[kFeatCombatReflexes] = 1;
         Walk(f, 1, kActionCharge);
       }},
      {"the player's charge off a square two foes threaten, the second, sensing by hearing, makes none",
       "missing-reaction", "makes none, action 11",
       [](int f, int) {
         const int second = TwoFoesBeside(f, kActionCharge).second;
         Creatures[second].special[kSenseKindWord] = 5;
         CombatAction.playerControlled = 1;
         Walk(f, 1, kActionCharge);
         CombatAction.playerControlled = 0;
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
         // Not surprised, and flat-footed: it reacts only with Combat Reflexes
         // (one a round at Dexterity 10).
         RemoveCondition(foe, kCondSurprised);
         Creatures[foe].feats[kFeatCombatReflexes] = 1;
         Creatures[foe].dexterity.current = 10;
         Creatures[foe].attacksOfOpportunityLeft = 1;
         for (int32_t code : {kActionInventory, kActionWake}) Provoke(f, foe, code);
       },
       true},
      {"attacks of opportunity left below none", "attacks-of-opportunity", "-1 attacks of opportunity left of",
       [](int, int foe) { Creatures[foe].attacksOfOpportunityLeft = -1; }},
      {"a readied foe's attack, then as many attacks of opportunity as it has", "", "",
       [](int f, int foe) {
         const int32_t left = Creatures[foe].attacksOfOpportunityLeft;
         ReadiedAttacks(f, foe, kActionWalkPath);
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
      {"a dead foe taken off the map while still in the order", "dead-in-order", "in the turn order at",
       [](int, int foe) {
         Creatures[foe].hitPoints = DeadAt(foe);
         Fell(foe);
       }},
      {"a held casting resumes, then a second cast", "actions", "2 casts and 0 attacks in one turn",
       [](int f, int) {
         YieldAndResume(f, 0, 0);
         StartCast(f);
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
      {"decides while Dead", "cannot-act", "decides at", [](int f, int) { DecideWhile(f, kCondDead); }},
      {"decides while Petrified", "cannot-act", "decides at", [](int f, int) { DecideWhile(f, kCondPetrified); }},
      {"conditions lasting 0 and 999 rounds, until rest and 3000 rounds", "", "",
       [](int, int foe) { EdgesOfDuration(foe); }},
      {"condition 1 lasting -1 rounds", "duration", "lasts -1 rounds",
       [](int, int foe) { FirstCondition(foe, 1, -1); }},
      {"a condition lasting 1001 rounds", "duration", "lasts 1001 rounds",
       [](int, int foe) { FirstCondition(foe, kCondHasted, kDurationLasting + 1); }},
      {"one piece of ammunition of no item", "ammunition", "1 pieces of ammunition of item 0",
       [](int, int foe) { Creatures[foe].ammunition = ItemPair{0, 1}; }},
      {"one piece of ammunition of the last crafted item", "ammunition", "1 pieces of ammunition of item 4999",
       [](int, int foe) { Creatures[foe].ammunition = ItemPair{kFirstBaseItemCode - 1, 1}; }},
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
      {"an attack of opportunity against the step of a step and attack", "provoking",
       "against a five-foot step of creature", [](int f, int foe) { Provoke(f, foe, kActionStepAndAttack); }},
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
      {"an attack of opportunity by a foe flat-footed without Combat Reflexes", "provoking",
       "by one flat-footed without Combat Reflexes",
       [](int f, int foe) {
         Creatures[foe].feats[kFeatCombatReflexes] = 0;
         Give(foe, kCondFlatFooted);
         Provoke(f, foe, kActionShot);
       }},
      {"an attack of opportunity by a foe with nothing in its hand and no natural attack", "provoking",
       "by one with no weapon that threatens",
       [](int f, int foe) {
         Creatures[foe].equipment[kSlotRightHand - 1] = 0;
         NaturalAttacks(foe, {});
         Provoke(f, foe, kActionInventory);
       }},
      {"an attack of opportunity by a foe with nothing in its hand but its fists", "provoking",
       "by one with no weapon that threatens",
       [](int f, int foe) {
         Creatures[foe].equipment[kSlotRightHand - 1] = 0;
         Creatures[foe].feats[kFeatUnarmedStrike] = 0;
         NaturalAttacks(foe, {{3, 1}});
         Provoke(f, foe, kActionShot);
       }},
      {"the grappled target of an unarmed blow answers it", "provoking", "by one Grappling",
       [](int f, int foe) {
         Give(f, kCondUnarmed);
         Give(foe, kCondGrappling);
         Provoke(f, foe, kActionMeleeAttack);
       }},
      // A readied action against an approach makes one attack and is spent.
      {"a readied action strikes twice as the fighter walks on", "readied",
       "a second attack of its readied action on creature",
       [](int f, int foe) { ReadiedAttacks(f, foe, kActionWalkPath, 2); }},
      {"a readied action, left readied, strikes the fighter's ally as it charges in the next turn", "readied",
       "the first made in round",
       [](int f, int foe) {
         ReadiedAttacks(f, foe, kActionWalkPath);
         EndTheTurn();
         TurnComes(EntryOf(AllyOf(f)));
         ReadiedAttacks(AllyOf(f), foe, kActionCharge);
       }},
      {"a readied attack on a creature not acting", "readied", "not on creature",
       [](int f, int foe) { ReadiedAttacks(f, foe, kActionWalkPath, 1, AllyOf(f)); }},
      {"a readied attack by an ally", "readied", "by one not an enemy of creature",
       [](int f, int) { ReadiedAttacks(f, AllyOf(f), kActionMoveAndAttack); }},
      {"a readied attack from two squares away", "readied", "by one not next to creature",
       [](int f, int foe) {
         Beside(foe, f);
         Creatures[foe].squareX += Creatures[foe].squareX > Creatures[f].squareX ? 1 : -1;
         TurnOrder[EntryOf(foe)].plannedAction = 21;
         CombatAction.actionCode = kActionWalkPath;
         CombatAction.reactingCreature = foe;
         Attack(foe, f, Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
       }},
      {"a readied attack against a pin", "readied", "against action 19 of creature",
       [](int f, int foe) { ReadiedAttacks(f, foe, kActionPin); }},
      {"a readied attack by a foe confused, its first condition", "readied", "by one Confused",
       [](int f, int foe) {
         FirstCondition(foe, kCondConfused);
         ReadiedAttacks(f, foe, kActionWalkPath);
       }},
      {"a readied attack by a grappling foe", "readied", "by one Grappling",
       [](int f, int foe) {
         Give(foe, kCondGrappling);
         ReadiedAttacks(f, foe, kActionCharge);
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
      {"attacks of opportunity against the walk of a move and attack, a charge and the next shot", "", "",
       [](int f, int foe) {
         for (int32_t code : {kActionMoveAndAttack, kActionCharge, kActionNextShot}) Provoke(f, foe, code);
       },
       false, true},
      {"attacks of opportunity from the corners of a mover whose record gives footprints of 0, each one square", "",
       "",
       [](int f, int foe) {
         for (int c : {f, foe}) Creatures[c].footprintWidth.current = Creatures[c].footprintHeight.current = 0;
         // Below and right of the mover its own footprint tells; above and
         // left of it the reactor's.
         for (int corner : {1, -1}) {
           Creatures[foe].squareX = Creatures[f].squareX + corner;
           Creatures[foe].squareY = Creatures[f].squareY + corner;
           CombatAction.actionCode = corner > 0 ? kActionShot : kActionInventory;
           SavedTarget = foe;
           CombatAction.reactingCreature = foe;
           Attack(foe, f, Blows(kEntryMainHand, 1));
           CombatAction.reactingCreature = -1;
           Frame();
         }
       },
       false, true},
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
       },
       false, true},
      {"readied attacks against a walk, a five-foot step, a step and attack, a move and attack, a charge and a bull "
       "rush with Improved Bull Rush, by a foe with no attack of opportunity left, and in place of one against a "
       "shot, each readied anew in the foe's own turn", "", "",
       [](int f, int foe) {
         Creatures[f].feats[kFeatImprovedBullRush] = 1;
         for (int32_t code : {kActionWalkPath, kActionFiveFootStep, kActionStepAndAttack, kActionMoveAndAttack,
                              kActionCharge, kActionBullRush, kActionShot}) {
           Creatures[foe].attacksOfOpportunityLeft = code == kActionShot ? 1 : 0;
           ReadiedAttacks(f, foe, code);
           TurnComes(EntryOf(foe));
           TurnComes(EntryOf(f));
         }
       }},
      {"attacks of opportunity by a foe with nothing in its hand but fists with Improved Unarmed Strike, and with "
       "claws", "", "",
       [](int f, int foe) {
         Creatures[foe].equipment[kSlotRightHand - 1] = 0;
         Creatures[foe].feats[kFeatUnarmedStrike] = 1;
         NaturalAttacks(foe, {{3, 1}});
         Provoke(f, foe, kActionShot);
         Creatures[foe].feats[kFeatUnarmedStrike] = 0;
         NaturalAttacks(foe, {{2, 2}});
         Provoke(f, foe, kActionInventory);
       },
       false, true},
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
      {"two weapons with Improved Two-Weapon Fighting, the off hand's second blow 5 lower", "", "",
       [](int f, int foe) {
         Wield(f, 2, 0, kLongsword, 0);
         Creatures[f].feats[kFeatImprovedTwoWeaponFighting] = 1;
         EachFormOnce(f, foe);
         AttackProfile p = ProfileOf(f, foe);
         p.entries[1].attackRoll = ModifierList{};
         p.entries[1].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, -5};
         Attack(f, foe, p, 1);
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
      {"claws of three beside a waraxe alone in the left hand, which is no shield", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{2, 3}});
         BlowsHolding(f, foe, {{0, kWaraxe}});
       }},
      {"a bite beside a base item in the hand, then a sword whatever crafted row 0 holds", "", "",
       [](int f, int foe) {
         NaturalAttacks(f, {{1, 1}});
         CraftedWeapons[0] = CraftedWeapons[kDagger];
         BlowsHolding(f, foe, {{static_cast<uint32_t>(kFirstBaseItemCode), 0}, {kLongsword, 0}});
       }},
      {"charges twice its speed in the surprise round", "", "",
       [](int f, int) {
         ClearTheField({f});
         Walk(f, 2 * Creatures[f].speed.current / 5, kActionCharge);
       },
       true},
      {"casts, then charges and strikes", "", "",
       [](int f, int foe) {
         StartCast(f);
         Walk(f, 2, kActionCharge);
         Beside(foe, f);
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
      {"a pinned creature's hold check to break free", "", "",
       [](int f, int foe) {
         Give(f, kCondPinned);
         HoldCheck(f, foe, kActionEscape);
       }},
      {"a paralysed caster's spell 0 stilled, then in its next turn the table's last spell, with no gesture", "", "",
       [](int f, int) {
         Give(f, kCondParalyzed);
         CastSpell(f, 0, 1, kMetamagicStilled, 0);
         ItsNextRound(f);
         CastSpell(f, kSpellRows - 1, 0, kMetamagicNone, 0);
       }},
      {"a caster paralysed amid its spell with a gesture loses it unannounced", "", "",
       [](int f, int) { CastSpell(f, 1, 1, kMetamagicNone, 0, kCondParalyzed, false); }},
      {"walks off squares beside a foe kept from reacting by one thing at a time, and beside an ally", "", "",
       [](int f, int foe) { WalkOffBesideFoesKeptFromReacting(f, foe); }},
      {"attacks of opportunity against a walk, a move and attack and a charge, each before its square", "", "",
       [](int f, int) { ReactionsBeforeEachMove(f); }},
      {"the computer's charge off a square two foes threaten draws the first's alone", "", "",
       [](int f, int) {
         TwoFoesBeside(f, kActionCharge);
         CombatAction.playerControlled = 0;
         Walk(f, 1, kActionCharge);
       }},
      {"moves its speed in a single action", "", "",
       [](int f, int) { Walk(f, Creatures[f].speed.current / 5, kActionWalkPath); }, true},
      {"a hasted fighter's three blows", "", "", [](int f, int foe) { HastedBlows(f, foe, {0, 0, -5}); }},
      {"the attacks of opportunity Combat Reflexes gives", "", "", [](int, int foe) { ReflexesAtTheirEdge(foe, 2); }},
  };
  return cases;
}

// The cases' turns are run in parts, each a test, so that a parallel run
// spreads them and no part takes long: part k runs every kCaseParts-th turn
// from the k-th.
constexpr size_t kCaseParts = 24;

void ExpectEachRuleReported(size_t part) {
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
  for (const std::vector<Case>* table : {&RuleCases(), &PlaceCases()})
    for (const Case& c : *table) {
      runs.emplace_back(&c, 0);
      if (!c.surprise) runs.emplace_back(&c, firstSide);
    }
  std::vector<std::pair<const Case*, int>> ours;
  for (size_t i = part; i < runs.size(); i += kCaseParts) ours.push_back(runs[i]);
  std::vector<CraftedWeaponRecord> kept;
  for (uint32_t row : kTestRows) kept.push_back(CraftedWeapons[row]);
  for (const auto& [run, otherThanSide] : ours) {
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
    ActionTarget = -1;  // no charge target, and no area taken, but the case's own
    AreaTargetList[0] = -1;
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

TEST_P(TurnCheck, EachRuleBrokenOnPurposeIsReported) { ExpectEachRuleReported(GetParam()); }

INSTANTIATE_TEST_SUITE_P(, TurnCheck, ::testing::Range<size_t>(0, kCaseParts));

}  // namespace
