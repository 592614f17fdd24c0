// Whole battles stepped headless by the battle runner: seeded battles end or
// reach the round cap without a fault, one seed gives one log, the roster
// covers the kinds of fighters, the invariant checks catch what they name,
// and the Kings' Barrow is fought as the main adventure brings a party to it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/target_terms.h"
#include "creatures/creature_kinds.h"
#include "harness/battle_runner.h"
#include "harness/encounter_battle.h"
#include "rules/attack_profile.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

class Battles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(battles::StartBattleGame()); }
  static void TearDownTestSuite() { battles::StopBattleGame(); }
};

// Fifty seeded battles, ten to a test so that a parallel test run spreads
// them; each battle is laid out afresh from its seed, so the five tests play
// the same battles one long run would.
void ExpectSeededBattlesEndOrReachTheCap(uint32_t firstSeed, uint32_t lastSeed) {
  for (uint32_t seed = firstSeed; seed <= lastSeed; ++seed) {
    battles::BattleOptions options;
    options.seed = seed;
    const battles::BattleOutcome o = battles::RunBattle(options);
    ASSERT_EQ(o.fault, "") << battles::BattleLine(o);
    EXPECT_TRUE(o.capped || o.winner != 0) << battles::BattleLine(o);
    EXPECT_GE(o.rounds, 1);
    EXPECT_LE(o.rounds, battles::kDefaultRoundCap);
    EXPECT_EQ(o.fighters, 12);
    EXPECT_GT(o.decisions, 0) << battles::BattleLine(o);
    if (o.winner != 0) {
      EXPECT_GT(o.fallen, 0) << battles::BattleLine(o);
    }
  }
}

TEST_F(Battles, Seeds1To10EndOrReachTheCapWithoutAFault) { ExpectSeededBattlesEndOrReachTheCap(1, 10); }
TEST_F(Battles, Seeds11To20EndOrReachTheCapWithoutAFault) { ExpectSeededBattlesEndOrReachTheCap(11, 20); }
TEST_F(Battles, Seeds21To30EndOrReachTheCapWithoutAFault) { ExpectSeededBattlesEndOrReachTheCap(21, 30); }
TEST_F(Battles, Seeds31To40EndOrReachTheCapWithoutAFault) { ExpectSeededBattlesEndOrReachTheCap(31, 40); }
TEST_F(Battles, Seeds41To50EndOrReachTheCapWithoutAFault) { ExpectSeededBattlesEndOrReachTheCap(41, 50); }

// Battles watched against the rules of a turn that once broke them, one a
// test so that a parallel run spreads them.
void ExpectTheBattleKeepsTheRulesOfATurn(uint32_t seed, int fighters) {
  battles::BattleOptions options;
  options.seed = seed;
  options.fighters = fighters;
  options.check = true;
  const battles::BattleOutcome o = battles::RunBattle(options);
  ASSERT_EQ(o.fault, "") << battles::BattleLine(o);
  for (const battles::Breach& b : o.breaches) ADD_FAILURE() << battles::BreachLine(b);
}

// A grappling Medusa (an archer) whose grapple attacks were made went on
// wrestling in the same turn, once per decision, until her partner died.
TEST_F(Battles, Seed4109OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(4109, 12); }
// A hasted caster changing form in its own turn kept one move after the
// cast, not two.
TEST_F(Battles, Seed1633Of40OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(1633, 40); }
// A wrestling Lizardman whose poisoned Dexterity an entangling area took
// below 1 decided as if free and wrestled on, paralysed only as its attack
// was made.
TEST_F(Battles, Seed7376Of40OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(7376, 40); }
// An ally of side A was written over the record of side B's 19th summoned
// elemental.
TEST_F(Battles, Seed2363Of40OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(2363, 40); }
// A walker that the square it entered left paralysed walked on.
TEST_F(Battles, Seed7433Of40OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(7433, 40); }
// A Cursed orc lost its attack of opportunity against a charging Grimlock,
// and the move's chain, left running, gave the Dwarf one after the charge's
// blow.
TEST_F(Battles, Seed2001OnceBrokeTheRulesOfATurnAndKeepsThem) { ExpectTheBattleKeepsTheRulesOfATurn(2001, 12); }

TEST_F(Battles, OneSeedReplaysToTheSameLog) {
  battles::BattleOptions options;
  options.seed = 7;
  options.keepLog = true;
  const battles::BattleOutcome first = battles::RunBattle(options);
  battles::BattleOptions other = options;
  other.seed = 8;
  battles::RunBattle(other);  // a battle between leaves nothing behind
  const battles::BattleOutcome second = battles::RunBattle(options);
  ASSERT_EQ(first.fault, "");
  EXPECT_NE(first.log.find("Combat begins..."), std::string::npos);
  EXPECT_EQ(first.log, second.log);
  EXPECT_EQ(battles::BattleLine(first), battles::BattleLine(second));
}

// Over many seeds the groups hold melee fighters, archers, casters of both
// kinds, undead, large creatures, dragons and people of a monster's class,
// placed apart on open squares,
// and both the 60 x 60 walled maps and the smaller ones are used.
TEST_F(Battles, TheRosterCoversTheKindsOfFighters) {
  std::set<std::string> seen;
  std::set<int> sizes;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    battles::BattleOptions options;
    options.seed = seed;
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    ASSERT_EQ(battles::CheckBattleInvariants(), "") << "seed " << seed;
    ASSERT_EQ(TurnEntryCount, 12) << "seed " << seed;
    sizes.insert(CurrentMap.width * 100 + CurrentMap.height);
    for (int id : battles::BattleFighters()) {
      const CreatureRecord& c = Creatures[id];
      EXPECT_GT(c.hitPoints, 0) << c.name;
      // A summoning writes its elemental over these records.
      EXPECT_FALSE(id >= kSummonRecord && id < kFirstSummonRecord + kMostSummons) << "fighter " << id;
      if (IsDragonKind(c.kind)) seen.insert("dragon");
      if (c.creatureClass == kClassWizard) seen.insert("wizard");
      if (c.creatureClass == kClassCleric) seen.insert("cleric");
      if (c.kind == kKindSkeleton || c.kind == kKindZombie || c.kind == kKindMummy || c.kind == kKindLich)
        seen.insert("undead");
      if (c.footprintWidth.current > 1) seen.insert("large");
      if (c.equipment[kSlotRanged - 1] != 0) seen.insert("archer");
      if (c.equipment[kSlotRanged - 1] == 0 && c.creatureClass == kClassWarrior) seen.insert("melee");
      // A person of a monster's class (a human giant, an elven dragon).
      const bool person = c.kind == kKindHuman || c.kind == kKindDwarf || c.kind == kKindElf ||
                          c.kind == kKindHalfElf || c.kind == kKindOrc;
      if (person && c.creatureClass >= kClassAnimal && c.creatureClass != kClassHumanoid &&
          c.creatureClass != kClassWarrior && c.creatureClass != kClassNoble)
        seen.insert("other class");
    }
  }
  EXPECT_EQ(seen, (std::set<std::string>{"archer", "cleric", "dragon", "large", "melee", "other class", "undead", "wizard"}));
  EXPECT_TRUE(sizes.count(6060)) << "no 60 x 60 map in the test set";
  EXPECT_GE(sizes.size(), 3u);
}

// Each invariant, broken on purpose in a freshly laid-out battle, is named.
TEST_F(Battles, TheInvariantChecksNameWhatBroke) {
  auto broken = [](auto breakIt) {
    battles::BattleOptions options;
    options.seed = 3;
    std::string fault;
    EXPECT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    EXPECT_EQ(battles::CheckBattleInvariants(), "");
    const std::vector<int>& f = battles::BattleFighters();
    breakIt(Creatures[f[0]], Creatures[f.back()]);
    return battles::CheckBattleInvariants();
  };
  auto says = [](const std::string& message, const char* part) {
    EXPECT_NE(message.find(part), std::string::npos) << message;
  };
  says(broken([](CreatureRecord& a, CreatureRecord&) { a.hitPoints = a.maxHitPoints + 1; }), "above the maximum");
  says(broken([](CreatureRecord& a, CreatureRecord& b) {
         b.squareX = a.squareX;
         b.squareY = a.squareY;
       }),
       "overlaps");
  says(broken([](CreatureRecord& a, CreatureRecord&) { a.squareX = a.squareY = 0; }), "blocked square");
  says(broken([](CreatureRecord& a, CreatureRecord&) { a.squareX = CurrentMap.width; }), "blocked square");
  says(broken([](CreatureRecord&, CreatureRecord& b) { b.hitPoints = 0; }), "not a live present fighter");
  says(broken([](CreatureRecord&, CreatureRecord& b) { b.conditions[kConditionSlots - 1].id = kConditionNameCount; }),
       "unknown");
  says(broken([](CreatureRecord&, CreatureRecord&) { CurrentTurnIndex = TurnEntryCount + 1; }), "acting index");
  says(broken([](CreatureRecord&, CreatureRecord&) { TurnOrder[1].creature = -5; }), "names no creature");
}

// Four Knights made on the creation pages come to the Kings' Barrow with
// what the road gave them: a careful party holds a weapon that passes over
// the guardians' damage reduction, finds a fire to rest at before the tomb,
// and fights the whole barrow through to its end.
TEST_F(Battles, ACarefulPartyComesToTheBarrowWithAHammerAndAFire) {
  battles::BattleOptions options;
  options.seed = 5;
  options.barrowFight = battles::kBarrowWhole;
  options.createdParty = true;
  options.careful = true;
  std::string fault;
  ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
  const int guardian = battles::BattleFighters()[kPartySize];
  ASSERT_GT(Creatures[guardian].protections[kProtDamageReduction].current, 0);
  int breakers = 0;
  for (int m = 0; m < kPartySize; ++m) {
    EXPECT_EQ(Creatures[m].creatureClass, kClassKnight);
    breakers += OvercomesDamageReduction(m, kEntryMainHand, guardian) ? 1 : 0;
  }
  EXPECT_GE(breakers, 1);
  int fires = 0;
  for (int x = 0; x < CurrentMap.width; ++x)
    for (int y = 0; y < CurrentMap.height; ++y) fires += CurrentMap.At(kLayerWalls, x, y) == 90 ? 1 : 0;
  EXPECT_EQ(fires, 1) << "a campfire in the barrow's upper hall";
  const battles::BattleOutcome o = battles::RunBattle(options);
  EXPECT_EQ(o.fault, "");
  EXPECT_TRUE(o.capped || o.winner != 0) << battles::BattleLine(o);
}

TEST(BattleLog, MarksAreShownPlainly) {
  EXPECT_EQ(battles::PlainLogText("\xA3" "Fire_Giant\xA3 is @SURPRISED@.\r\r"), "Fire Giant is SURPRISED.\n\n");
  EXPECT_EQ(battles::PlainLogText("@+05|03@ - \xA3Orc\xA3, an @ATTACK_ROLL@ of @17|99@\r"),
            "+05 - Orc, an ATTACK ROLL of 17\n");
  // An '@' that closes nothing on its line stays.
  EXPECT_EQ(battles::PlainLogText("mail@home\rnext@"), "mail@home\nnext@");
}

TEST(BattleLines, SummaryCountsAndPercentiles) {
  battles::BattleOutcome ended, capped;
  ended.seed = 4;
  ended.rounds = 9;
  ended.winner = 'B';
  ended.fighters = 12;
  ended.fallen = 7;
  capped.capped = true;
  for (int i = 1; i <= 100; ++i) ended.decisionNanos.push_back(i * 1000);
  capped.decisionNanos = {250000};
  ended.decisionCpuNanos = {2000, 7499};
  capped.decisionCpuNanos = {9500};
  ended.decisions = 100;
  EXPECT_EQ(battles::BattleLine(ended), "seed=4 rounds=9 winner=B fighters=12 fallen=7 decisions=100");
  EXPECT_EQ(battles::SummaryLine({ended, capped}),
            "battles=2 ended=1 capped=1 decisions=101 p50_us=51 p99_us=100 max_us=250 p99_cpu_us=10 "
            "max_cpu_us=10");
  ended.frameCpuNanos = 3000000000;
  ended.sightCpuNanos = 1000000000;
  EXPECT_EQ(battles::SightShareLine({ended, capped}), "frames_cpu_ms=3000 sight_cpu_ms=1000 sight_share=0.333");
  EXPECT_EQ(battles::Percentile({}, 99), 0);
  EXPECT_EQ(battles::Percentile({5}, 1), 5);
}

}  // namespace
