// The turn check itself: each rule it watches, broken on purpose in the turn
// of a battle laid out afresh, is reported under its name, and turns within
// the rules (a pounce, a held casting resumed) are not.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_movement.h"
#include "combat/resolution/attack_resolution.h"
#include "engine/frame.h"
#include "harness/battle_runner.h"
#include "harness/turn_check.h"
#include "rules/attack_profile.h"
#include "rules/creature_record.h"
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
constexpr uint32_t kStartCast = 22;

// Steps the watched battle until the computer is about to decide a turn
// with its whole budget; returns the fighter.
int UpToADecision() {
  for (int frame = 0; frame < 5000; ++frame) {
    if (!battles::StepBattleFrame()) break;
    battles::WatchFrame();
    const CombatActionState& a = CombatAction;
    if (CombatState == kStateComputerDecision && a.fullRoundActionLeft == 1 && a.standardActionLeft == 1 &&
        a.moveActionLeft == 1 && a.singleActionTurn == 0)
      return CurrentFighter();
  }
  return -1;
}

int FoeOf(int f) {
  for (int id : battles::BattleFighters())
    if (Creatures[id].allegiance != Creatures[f].allegiance && Creatures[id].hitPoints > 0) return id;
  return -1;
}

// Squares paid for back and forth beside the fighter's square.
void Walk(int f, int squares, int32_t code) {
  CreatureRecord& c = Creatures[f];
  const int away = c.squareX > 0 ? -1 : 1;
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

void Attack(int f, int target, const AttackProfile& p, int entry = 0) {
  AttackObserver(AttackWatch{f, target, entry, &p, false, false});
}

void AttackTwice(int f, int target, const AttackProfile& p) {
  Attack(f, target, p);
  Attack(f, target, p);
}

// Two squares of a charge, then both natural attacks; sense code 3 pounces.
void ChargeAndFullAttack(int f, int foe, int32_t sense) {
  Creatures[f].special[kSenseKindWord] = sense;
  Walk(f, 2, kActionCharge);
  Attack(f, foe, Blows(kEntryNatural0, 1), 0);
  Attack(f, foe, Blows(kEntryNatural0, 1), 1);
}

void Frame(uint32_t screenMode = 0) {
  ScreenMode = screenMode;
  battles::WatchFrame();
}

void StartCast(int f) {
  SpellInProgress = 1;
  SpellCaster = f;
  Frame(kStartCast);
  Frame();
}

// The fighter's casting yields to a readied foe (held code 27: its block is
// given back as it resumes), the foe's turn passes, and the casting
// resumes with its standard action as given back.
void YieldAndResume(int f, int32_t standardGivenBack) {
  const int entry = CurrentTurnIndex;
  StartCast(f);
  CombatAction.standardActionLeft = 0;
  TurnOrder[entry].plannedAction = 27;
  CombatState = kStateNextFighter;
  Frame();
  CurrentTurnIndex = (entry + 1) % TurnEntryCount;
  CombatState = kStateComputerDecision;
  Frame();
  TurnOrder[entry].plannedAction = 0;
  CurrentTurnIndex = entry;
  CombatAction.standardActionLeft = standardGivenBack;
  CombatState = kStateActionUnderWay;
  Frame(kStartCast);
  Frame();
}

TEST_F(TurnCheck, EachRuleBrokenOnPurposeIsReported) {
  struct Case {
    const char* what;
    const char* rule;  // "" for a turn within the rules
    std::function<void(int f, int foe)> breakIt;
  };
  const std::vector<Case> cases = {
      {"moves past twice its speed", "movement",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionWalkPath); }},
      {"a five-foot step, then a walk", "five-foot-step",
       [](int f, int) {
         Walk(f, 1, kActionFiveFootStep);
         Walk(f, 1, kActionWalkPath);
       }},
      {"a spent action comes back", "actions",
       [](int, int) {
         CombatAction.standardActionLeft = 0;
         Frame();
         CombatAction.standardActionLeft = 1;
         Frame();
       }},
      {"moves past its speed and attacks", "double-move-and-action",
       [](int f, int foe) {
         Walk(f, Creatures[f].speed.current / 5 + 1, kActionWalkPath);
         Attack(f, foe, Blows(kEntryMainHand, 1));
       }},
      {"casts twice", "actions",
       [](int f, int) {
         StartCast(f);
         StartCast(f);
       }},
      {"a second blow of one", "melee-attacks", [](int f, int foe) { AttackTwice(f, foe, Blows(kEntryMainHand, 1)); }},
      {"a second shot of one", "shots", [](int f, int foe) { AttackTwice(f, foe, Blows(kEntryRanged, 1)); }},
      {"a second blow of a weapon at the full bonus", "iterative",
       [](int f, int foe) { AttackTwice(f, foe, Blows(kEntryMainHand, 2)); }},
      {"a foe's second attack of opportunity of one", "attacks-of-opportunity",
       [](int f, int foe) {
         CombatAction.reactingCreature = foe;
         for (int i = 0; i <= Creatures[foe].attacksOfOpportunityLeft; ++i) Attack(foe, f, Blows(kEntryMainHand, 1));
         CombatAction.reactingCreature = -1;
       }},
      {"a turn refills one attack of opportunity too many", "attacks-of-opportunity",
       [](int f, int) {
         for (int frame = 0; frame < 5000 && CurrentFighter() == f; ++frame) {
           battles::StepBattleFrame();
           if (CurrentFighter() != f) ++Creatures[CurrentFighter()].attacksOfOpportunityLeft;
           battles::WatchFrame();
         }
       }},
      {"charges, then a full attack without pounce", "full-attack-after-move",
       [](int f, int foe) { ChargeAndFullAttack(f, foe, 0); }},
      {"charges past twice its speed", "movement",
       [](int f, int) { Walk(f, 2 * Creatures[f].speed.current / 5 + 1, kActionCharge); }},
      {"pounces: charges, then a full attack", "", [](int f, int foe) { ChargeAndFullAttack(f, foe, 3); }},
      {"a held casting resumes with its spent action given back", "actions",
       [](int f, int) { YieldAndResume(f, 1); }},
      {"a held casting resumes", "", [](int f, int) { YieldAndResume(f, 0); }},
  };
  for (const Case& c : cases) {
    battles::BattleOptions options;
    options.seed = kSeed;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    battles::StartTurnWatch(kSeed);
    const int f = UpToADecision();
    ASSERT_GE(f, 0) << c.what;
    const int foe = FoeOf(f);
    ASSERT_GE(foe, 0) << c.what;
    c.breakIt(f, foe);
    const std::vector<battles::Breach> breaches = battles::EndTurnWatch();
    ScreenMode = 0;
    SpellInProgress = -1;
    std::set<std::string> rules;
    std::string lines;
    for (const battles::Breach& b : breaches) {
      rules.insert(b.rule);
      lines += battles::BreachLine(b) + "\n";
    }
    if (c.rule[0] == '\0')
      EXPECT_TRUE(rules.empty()) << c.what << ":\n" << lines;
    else
      EXPECT_TRUE(rules.count(c.rule)) << c.what << " not reported as " << c.rule << ":\n" << lines;
  }
}

}  // namespace
