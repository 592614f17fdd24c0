// The turn check itself: each of its reports, made by a rule broken on
// purpose in the turn of a battle laid out afresh (in its second round, or
// in a single action of its surprise round), is seen in its own words and
// under its rule alone, and turns within the rules (a pounce, a held casting
// resumed, a hasted fighter's blows, the edge of a budget or a count) are
// reported by none.
#include <gtest/gtest.h>

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

// Steps the watched battle until the computer is about to decide a turn
// with its whole budget: a turn of the second round, or with surprise one of
// the surprise round (round 1, a single action); returns the fighter.
int UpToADecision(bool surprise = false) {
  for (int frame = 0; frame < 5000; ++frame) {
    if (!battles::StepBattleFrame()) break;
    battles::WatchFrame();
    const CombatActionState& a = CombatAction;
    if (CombatState != kStateComputerDecision || a.standardActionLeft != 1 || a.moveActionLeft != 1) continue;
    if (surprise ? CombatRoundNumber == 1 && a.singleActionTurn == 1
                 : a.fullRoundActionLeft == 1 && a.singleActionTurn == 0)
      return CurrentFighter();
  }
  return -1;
}

// A foe of the fighter still standing on the map, or -1.
int FoeOf(int f) {
  for (int id : battles::BattleFighters())
    if (Creatures[id].allegiance != Creatures[f].allegiance && Creatures[id].hitPoints > 0 &&
        Creatures[id].present == 1)
      return id;
  return -1;
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

// A profile of one entry of that kind giving count attacks, or two natural
// attacks of one each.
AttackProfile Blows(int32_t kind, int32_t count) {
  AttackProfile p;
  p.entries[0].kind = kind;
  p.entries[0].attackCount.total = count;
  if (kind == kEntryNatural0) p.entries[1] = p.entries[0];
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

void Attack(int f, int target, const AttackProfile& p, int entry = 0) {
  AttackObserver(AttackWatch{f, target, entry, &p, false, false});
}

// A shot of one, with the second entry (the first, melee, empty).
void Shoot(int f, int target) {
  const AttackProfile p = Entries({kEntryNone, kEntryRanged});
  Attack(f, target, p, 1);
}

// A shot of each of two ranged entries of one shot: the second gives no
// shots of its own.
void TwoShotsOfOne(int f, int target) {
  const AttackProfile p = Entries({kEntryNone, kEntryRanged, kEntryRanged});
  Attack(f, target, p, 1);
  Attack(f, target, p, 2);
}

void Grapple(int f, int target) {
  const AttackProfile p = Blows(kEntryMainHand, 1);
  AttackObserver(AttackWatch{f, target, 0, &p, true, false});
}

void AttackTwice(int f, int target, const AttackProfile& p) {
  Attack(f, target, p);
  Attack(f, target, p);
}

// A hasted fighter's blows of a weapon of two attacks (three with the haste),
// each at the falling bonus given.
void HastedBlows(int f, int target, std::initializer_list<int32_t> fallingBonuses) {
  AttackProfile p = Blows(kEntryMainHand, 3);
  p.entries[0].attackCount.pairs[0] = ModifierPair{static_cast<int32_t>(kCondHasted), 1};
  for (int32_t falling : fallingBonuses) {
    p.entries[0].attackRoll.pairs[0] = ModifierPair{kSrcDecreasingAttackBonus, falling};
    Attack(f, target, p);
  }
}

// The creature takes Combat Reflexes at Dexterity 12, the least that gives
// it a second attack of opportunity a round, and has that many left.
void ReflexesAtTheirEdge(int c, int32_t left) {
  Creatures[c].feats[kFeatCombatReflexes] = 1;
  Creatures[c].dexterity.current = 12;
  Creatures[c].attacksOfOpportunityLeft = left;
}

// Two squares of a charge, then both natural attacks; sense code 3 pounces.
void ChargeAndFullAttack(int f, int foe, int32_t sense) {
  Creatures[f].special[kSenseKindWord] = sense;
  Walk(f, 2, kActionCharge);
  Attack(f, foe, Blows(kEntryNatural0, 1), 0);
  Attack(f, foe, Blows(kEntryNatural0, 1), 1);
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

void Frame(uint32_t screenMode = 0) {
  ScreenMode = screenMode;
  battles::WatchFrame();
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

void Stun(int f) { AddCondition(f, kCondStunned, 3, 0, 0, 0); }

// Knocked off the map: fallen, not dead.
void Fell(int c) { Creatures[c].present = 0; }

// The fighter's casting yields to a readied foe (held code 27: its block is
// given back as it resumes), in the foe's turn that passes it makes an attack
// of opportunity, and the casting resumes with its standard action and its
// attacks of opportunity as given back.
void YieldAndResume(int f, int32_t standardGivenBack, int32_t opportunitiesGivenBack) {
  const int entry = CurrentTurnIndex;
  StartCast(f);
  CombatAction.standardActionLeft = 0;
  TurnOrder[entry].plannedAction = 27;
  CombatState = kStateNextFighter;
  Frame();
  CurrentTurnIndex = (entry + 1) % TurnEntryCount;
  CombatState = kStateComputerDecision;
  Frame();
  CombatAction.reactingCreature = f;
  Attack(f, FoeOf(f), Blows(kEntryMainHand, 1));
  CombatAction.reactingCreature = -1;
  --Creatures[f].attacksOfOpportunityLeft;
  Frame();
  TurnOrder[entry].plannedAction = 0;
  CurrentTurnIndex = entry;
  CombatAction.standardActionLeft = standardGivenBack;
  Creatures[f].attacksOfOpportunityLeft += opportunitiesGivenBack;
  CombatState = kStateActionUnderWay;
  Frame(kModeCastStart);
  Frame();
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
      {"a held casting resumes with its spent action given back", "actions", "the standard action came back",
       [](int f, int) { YieldAndResume(f, 1, 0); }},
      // Attacks.
      // More attacks than allowed, each entry within its own count: a melee
      // entry after the ranged one gives none, a second ranged entry no shots.
      {"a second blow of one, with an entry after the ranged one", "melee-attacks", "melee attack 2 of 1 allowed",
       [](int f, int foe) {
         const AttackProfile p = Entries({kEntryMainHand, kEntryRanged, kEntryMainHand});
         Attack(f, foe, p, 0);
         Attack(f, foe, p, 2);
       }},
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
         Attack(f, foe, Blows(kEntryNatural0, 1), 0);
         Attack(f, foe, Blows(kEntryNatural0, 1), 0);
       }},
      {"a second blow of a weapon at the full bonus", "iterative", "at a falling bonus of 0, not -5",
       [](int f, int foe) { AttackTwice(f, foe, Blows(kEntryMainHand, 2)); }},
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
         Attack(f, foe, Blows(kEntryNatural0, 1), 0);
         Fell(foe);
         Attack(f, FoeOf(f), Blows(kEntryNatural0, 1), 1);
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
       [](int f, int foe) {
         Creatures[f].feats[kFeatGreatCleave] = 0;
         Attack(f, foe, Blows(kEntryMainHand, 1));
         Fell(foe);
         g_Cleaving = foe;
         for (int k = 0; k < 2; ++k) {
           const int next = FoeOf(f);
           Attack(f, next, Blows(kEntryMainHand, 1));
           Fell(next);
         }
         g_Cleaving = -1;
       }},
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
         CombatAction.reactingCreature = foe;
         for (int i = 0; i <= Creatures[foe].attacksOfOpportunityLeft; ++i) Attack(foe, f, Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
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
      // Within the rules.
      {"pounces: charges, then a full attack", "", "", [](int f, int foe) { ChargeAndFullAttack(f, foe, 3); }},
      {"a held casting resumes", "", "", [](int f, int) { YieldAndResume(f, 0, 0); }},
      {"moves its speed in a single action", "", "",
       [](int f, int) { Walk(f, Creatures[f].speed.current / 5, kActionWalkPath); }, true},
      {"a hasted fighter's three blows", "", "", [](int f, int foe) { HastedBlows(f, foe, {0, 0, -5}); }},
      {"the attacks of opportunity Combat Reflexes gives", "", "", [](int, int foe) { ReflexesAtTheirEdge(foe, 2); }},
  };
  for (const Case& c : cases) {
    battles::BattleOptions options;
    options.seed = kSeed;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    battles::StartTurnWatch(kSeed);
    const int f = UpToADecision(c.surprise);
    ASSERT_GE(f, 0) << c.what;
    const int foe = FoeOf(f);
    ASSERT_GE(foe, 0) << c.what;
    c.breakIt(f, foe);
    const std::vector<battles::Breach> breaches = battles::EndTurnWatch();
    ScreenMode = 0;
    SpellInProgress = -1;
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
    EXPECT_FALSE(again) << c.what << " reported twice in a round:\n" << lines;
    if (c.rule[0] == '\0') {
      EXPECT_TRUE(breaches.empty()) << c.what << ":\n" << lines;
    } else {
      EXPECT_TRUE(seen) << c.what << " not reported as " << c.rule << " \"" << c.words << "\":\n" << lines;
      EXPECT_FALSE(others) << c.what << " reported under other rules:\n" << lines;
    }
  }
}

}  // namespace
