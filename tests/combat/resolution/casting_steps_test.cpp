// The casting checks together with the action executor, frame by frame as
// the game runs them: a caster's attacks of opportunity are taken one enemy
// after another (a caster they leave unable to go on loses its spell), and a
// use that ends early in the checks is finished by the executor whatever
// combat state the player's aim left; a counterspeller that cannot cast names
// the condition that stops it.
#include <gtest/gtest.h>

#include "combat/actions/executor_fixture.h"
#include "combat/actions/reactions.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/log_keywords.h"
#include "engine/help_pages.h"
#include "engine/frame.h"
#include "rules/conditions.h"
#include "screens/game/game_screen.h"

namespace {

using namespace executorfixture;

constexpr int kCaster = 4, kFirst = 5, kSecond = 6;
constexpr int kSpell = 11;

class CastingChecksInBattle : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(5);
    ClearMessageLog();
    mapfixture::DrawMap(std::vector<std::string>(12, std::string(12, '.')));
    SpellRecord& s = SpellTable[kSpell];
    std::memset(&s, 0, sizeof s);
    std::snprintf(s.name, sizeof s.name, "Frost");
    s.level = 1;
    s.target = kAimIndividual;
    s.harmful = 1;
    s.range = 5;
    s.effects[0] = {4, 0, 0, 0, 3, 2, 0, 0};  // 2d3 cold
  }
  // The caster and the two enemies standing next to it.
  static void Meet(int32_t casterSide) {
    const int32_t foes = casterSide == kAllegianceParty ? kAllegianceEnemy : kAllegianceParty;
    MakeFighter(kCaster, "Caster", 2, 2, casterSide, 0, 500);
    MakeFighter(kFirst, "First", 3, 2, foes, 0);
    MakeFighter(kSecond, "Second", 2, 3, foes, 0);
    Creatures[kCaster].spellsPerDay[0] = Creatures[kCaster].spellsLeft[0] = 3;
    StartBattle(kCaster);
  }
  static void Cast() {
    SpellInProgress = kSpell;
    SpellCaster = kCaster;
    ScreenMode = kModeStartCast;
  }
  // Game frames, the sequencer then the executor, until the condition holds.
  static int Frames(const std::function<bool()>& done, int limit = 3000) {
    int frames = 0;
    while (frames < limit && !done()) {
      mapfixture::StepCamera();
      ProcessCombatAction();
      ExecuteCombatAction();
      ++frames;
    }
    return frames;
  }
  static bool UseAndActionOver() {
    return SpellInProgress == -1 && ScreenMode == 0 && CombatAction.actionCode == 0 && PlaybackCreature == -1;
  }
};

TEST_F(CastingChecksInBattle, EveryEnemyBesideTheCasterTakesItsAttackBeforeTheSpell) {
  Meet(kAllegianceEnemy);
  Creatures[kCaster].constitution = {70, 70};  // keeps its concentration whatever the blows
  Cast();
  ASSERT_LT(Frames(UseAndActionOver), 3000);
  EXPECT_EQ(Count(Log(), "\xA3" "First\xA3 gets @AOO@ against \xA3" "Caster\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3" "Second\xA3 gets @AOO@ against \xA3" "Caster\xA3."), 1);
  EXPECT_EQ(Creatures[kFirst].attacksOfOpportunityLeft, 0);
  EXPECT_EQ(Creatures[kSecond].attacksOfOpportunityLeft, 0);
  // The chain is closed: the next provoking action starts a chain of its own.
  EXPECT_EQ(ReactionPending, 0);
  EXPECT_EQ(ReactorListPosition, 0);
  EXPECT_EQ(ActingCreature, kCaster);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);
}

TEST_F(CastingChecksInBattle, AnEarlyEndAfterThePlayersAimIsFinishedByTheExecutor) {
  Meet(kAllegianceParty);
  for (int foe : {kFirst, kSecond}) Creatures[foe].attacksOfOpportunityLeft = 0;
  CombatAction.playerControlled = 1;
  AddCondition(kCaster, kCondInvisible, 10, 0, kSourceSpell, 0);
  Cast();
  Frames([] { return ScreenMode == kModeAimCreature; });
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  AreaTargetList[0] = kFirst;  // the game screen's click
  ScreenMode = kModeSpendSource;
  // Invisibility is lost before the spell; the executor brings the use back
  // to its checks, and the spell is cast.
  ASSERT_LT(Frames(UseAndActionOver), 3000);
  EXPECT_FALSE(HasCondition(kCaster, kCondInvisible));
  EXPECT_LT(Creatures[kFirst].hitPoints, 100);
  EXPECT_EQ(CombatState, kStatePlayerTurn);

  // A concentration failure ends the use; its events are shown and the
  // player's fighter gets its turn back.
  AddCondition(kCaster, kCondDamagedWhileCasting, 1, 200, 24, 0);
  Cast();
  Frames([] { return ScreenMode == kModeAimCreature; });
  AreaTargetList[0] = kFirst;
  ScreenMode = kModeSpendSource;
  ASSERT_LT(Frames(UseAndActionOver), 3000);
  EXPECT_NE(Log().find("Failure (DC @"), std::string::npos);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 1);
}

// An enemy whose attack of opportunity on the caster takes its Dexterity to
// nothing paralyses it: the spell it was casting with a gesture is lost, its
// slot spent, as a failed concentration loses it.
TEST_F(CastingChecksInBattle, ACasterParalysedByAReactionToItsCastLosesTheSpell) {
  Meet(kAllegianceEnemy);
  Creatures[kCaster].constitution = {70, 70};  // keeps its concentration whatever the blows
  SpellTable[kSpell].somatic = 1;
  CreatureRecord& first = Creatures[kFirst];
  first.equipment[kSlotRightHand - 1] = 0;
  first.baseAttack = {30, 30};
  first.naturalAttacks[0] = {1, 1, 20, 1, 1, 2, 13, 10, 1};  // a bite, then 10 Dexterity
  RecomputeCreature(kFirst, 0);
  Cast();
  ASSERT_LT(Frames(UseAndActionOver), 3000);
  ASSERT_EQ(Count(Log(), "\xA3" "First\xA3 gets @AOO@ against \xA3" "Caster\xA3."), 1);
  ASSERT_GE(FindCondition(kCaster, kCondParalyzed), 0);
  EXPECT_EQ(Count(Log(), "\xA3" "Caster\xA3: Spellcasting Disrupted."), 1);
  EXPECT_EQ(Count(Log(), "\xA3" "Caster\xA3 casts"), 0);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);
  EXPECT_EQ(SpellInProgress, -1);
}

// A readied counterspeller that cannot cast names its condition as a link
// that opens the condition's help page, and drops its plan.
TEST_F(CastingChecksInBattle, AStunnedCounterspellerNamesItsConditionAsAHelpLink) {
  Meet(kAllegianceEnemy);
  for (int foe : {kFirst, kSecond}) Creatures[foe].attacksOfOpportunityLeft = 0;
  Creatures[kCaster].constitution = {70, 70};
  AddCondition(kFirst, kCondStunned, 10, 0, kSourceSpell, 0);
  TurnOrderEntry* plan = nullptr;
  for (int i = 0; i < TurnEntryCount; ++i)
    if (TurnOrder[i].creature == kFirst) plan = &TurnOrder[i];
  ASSERT_NE(plan, nullptr);
  plan->plannedAction = 9;
  plan->plannedTarget = kCaster;
  Cast();
  ASSERT_LT(Frames(UseAndActionOver), 3000);
  EXPECT_EQ(Count(Log(), "\xA3" "First\xA3 fails to @COUNTERSPELL@: @STUNNED@."), 1);
  EXPECT_EQ(plan->plannedAction, 0);
  ASSERT_TRUE(LoadHelpTables());
  EXPECT_GE(FindHelpKeyword("@STUNNED@"), 0);
}

// Every keyword a log line fills in from a table opens a help page.
TEST(LogKeywords, EveryKeywordFilledInAtRunTimeHasAHelpPage) {
  ASSERT_TRUE(LoadHelpTables());
  const std::vector<LogKeyword> keywords = RunTimeLogKeywords();
  EXPECT_GT(keywords.size(), 40u);
  for (const LogKeyword& k : keywords) EXPECT_GE(FindHelpKeyword(k.keyword.c_str()), 0) << k.keyword << " " << k.where;
}

}  // namespace
