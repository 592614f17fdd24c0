// A battle of two created groups on a drawn map, started by the meeting test
// and stepped frame by frame through the state machine.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "battle_fixture.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/turn_routines.h"
#include "rules/conditions.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/current_cast.h"

namespace {

TEST_F(BattleTest, TheMeetingGathersTheGroupAndOrdersByInitiative) {
  int ties = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    Fresh();
    MeetTwoGroups(seed * 7);
    ASSERT_EQ(StartCombat(0), 1);
    EXPECT_EQ(InCombat, 1u);
    EXPECT_EQ(CombatState, kStateStartOfCombat);
    ASSERT_EQ(TurnEntryCount, 4);
    EXPECT_EQ(Log().rfind("\rCombat begins...\r\rInitiative Rolls\r\r", 0), 0u);
    // The rolls were kept in listing order: the party, then the meeting
    // enemy and its group. Highest total first; of equal totals the one
    // listed later acts first.
    const int listed[4] = {0, 1, kFoeA, kFoeB};
    std::vector<std::pair<int, int>> rolls;
    for (int i = 0; i < 4; ++i) rolls.push_back({CombatRollLog[i].total, listed[i]});
    std::stable_sort(rolls.begin(), rolls.end(), [](auto a, auto b) { return a.first < b.first; });
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TurnOrder[i].creature, rolls[3 - i].second) << "seed " << seed;
    for (int i = 0; i + 1 < 4; ++i) ties += rolls[i].first == rolls[i + 1].first;
    for (int i = 0; i < 4; ++i) {
      EXPECT_GE(FindCondition(TurnOrder[i].creature, kCondFlatFooted), 0);
      EXPECT_EQ(Creatures[TurnOrder[i].creature].destinationX, -1);
    }
  }
  EXPECT_GT(ties, 0) << "no tie met: the tie rule went untested";
}

TEST_F(BattleTest, DistractedFoesAreSurprisedAndLoseTheirFirstTurn) {
  MeetTwoGroups(11);
  for (int foe : {kFoeA, kFoeB}) AddCondition(foe, kCondDistracted, 5, 0, 0, 0);
  ASSERT_EQ(StartCombat(0), 1);
  EXPECT_EQ(EnemiesSurprised, 1);
  EXPECT_NE(Log().find("are all @SURPRISED@ by\rthe sudden interruption.\r\r"), std::string::npos);
  EXPECT_LT(FindCondition(0, kCondSurprised), 0);
  // The first round is a surprise round: the party has a single move.
  ASSERT_TRUE(UntilTurnOf(0));
  EXPECT_EQ(SurpriseRound, 1);
  EXPECT_EQ(CombatAction.movesLeft, Creatures[0].speed.current);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 0);
  // Each foe loses exactly its first turn and its surprise with it.
  ASSERT_TRUE(UntilTurnOf(kFoeA));
  EXPECT_EQ(SurpriseRound, 0);
  EXPECT_LT(FindCondition(kFoeA, kCondSurprised), 0);
  std::string lost = "\xA3";
  lost.append(Creatures[kFoeA].name).append("\xA3 is @SURPRISED@ and can't act.\r\r");
  EXPECT_NE(Log().find(lost), std::string::npos);
}

TEST_F(BattleTest, APartyThatSeesNoFoeIsSurprised) {
  MeetTwoGroups(12);
  for (int s = 0; s < kPartySize; ++s)
    for (int32_t& v : FighterSlots[s].visible) v = 0;
  ASSERT_EQ(StartCombat(0), 1);
  EXPECT_EQ(EnemiesSurprised, 0);
  EXPECT_GE(FindCondition(0, kCondSurprised), 0);
  EXPECT_GE(FindCondition(1, kCondSurprised), 0);
  EXPECT_LT(FindCondition(kFoeA, kCondSurprised), 0);
}

TEST_F(BattleTest, AConditionEndsAtTheUpkeepOfItsLastRound) {
  MeetTwoGroups(13);
  ASSERT_EQ(StartCombat(0), 1);
  AddCondition(0, kCondShaken, 2, 0, kSourceSpell, 0);
  ASSERT_TRUE(UntilTurnOf(0));
  ASSERT_GE(FindCondition(0, kCondShaken), 0);
  EXPECT_EQ(Creatures[0].conditions[FindCondition(0, kCondShaken)].duration, 1);
  Frame();  // the player ends the turn
  ASSERT_TRUE(UntilTurnOf(0));
  EXPECT_LT(FindCondition(0, kCondShaken), 0);
  char line[160];
  std::snprintf(line, sizeof line, "\xA3%s\xA3 loses effect: \xA3%.15s\xA3.\r\r", Creatures[0].name,
                ConditionName(kCondShaken));
  EXPECT_NE(Log().find(line), std::string::npos);
}

TEST_F(BattleTest, AFighterBleedingToDeathLeavesTheOrderAndTheNextOneActs) {
  MeetTwoGroups(14);
  ASSERT_EQ(StartCombat(0), 1);
  const int dying = TurnOrder[1].creature, next = TurnOrder[2].creature, after = TurnOrder[3].creature;
  AddCondition(dying, kCondBleeding, 100, 500, 0, 0);
  ASSERT_TRUE(UntilTurnOf(next));
  EXPECT_EQ(IndexOf(dying), -1);
  EXPECT_EQ(Creatures[dying].present, 0);
  EXPECT_EQ(TurnEntryCount, 3);
  EXPECT_EQ(CurrentTurnIndex, 1);
  EXPECT_EQ(ActorFellDuringReaction, 0);
  if (InCombat == 1) {
    Frame();
    ASSERT_TRUE(UntilTurnOf(after));
    EXPECT_EQ(CurrentTurnIndex, 2);
  }
}

// A grapple whose opponent went down marks its end for that turn only: the
// next fighter's full attack still closes after its last attack (the mark
// once kept every later full attack of the battle going without end).
TEST_F(BattleTest, AGrappleEndedOnAnEarlierTurnLeavesTheNextFullAttacksAlone) {
  MeetTwoGroups(14);
  ASSERT_EQ(StartCombat(0), 1);
  const int next = TurnOrder[1].creature;
  GrappleAttackEnded = 1;
  ASSERT_TRUE(UntilTurnOf(next));
  EXPECT_EQ(GrappleAttackEnded, 0);
}

// Two friends grappling let go at the start of either one's turn, and the one
// that was pinned has its Dexterity back at once, not at its own next turn.
TEST_F(BattleTest, AFriendFreedOfAPinHasItsDexterityBackAtOnce) {
  MeetTwoGroups(14);
  ASSERT_EQ(StartCombat(0), 1);
  const int32_t dexterity = Creatures[1].dexterity.current;
  ASSERT_GT(dexterity, 0);
  AddCondition(0, kCondGrappling, kDurationLasting, 1, 31, 0);
  AddCondition(1, kCondGrappling, kDurationLasting, 0, 31, 0);
  AddCondition(1, kCondPinned, 2, 0, 31, 0);
  RecomputeCreature(1, 0);
  ASSERT_EQ(Creatures[1].dexterity.current, 0);
  ASSERT_TRUE(ReleaseFriendlyGrapple(0));
  EXPECT_LT(FindCondition(1, kCondPinned), 0);
  EXPECT_EQ(Creatures[1].dexterity.current, dexterity);
}

// Both foes bleed to death: victory, the same log for the same seed; then
// both party members bleed to death: defeat.
TEST_F(BattleTest, VictoryAndDefeatEndTheBattleAndOneSeedGivesOneLog) {
  std::string logs[2];
  for (std::string& log : logs) {
    Fresh();
    MeetTwoGroups(21);
    SeedRandomForTests(99);
    ASSERT_EQ(StartCombat(0), 1);
    for (int foe : {kFoeA, kFoeB}) AddCondition(foe, kCondBleeding, 100, 4, 0, 0);
    int rounds = 0, last = -2;
    FramesUntil([&] {
      if (CurrentTurnIndex < last) ++rounds;
      last = CurrentTurnIndex;
      return false;
    });
    EXPECT_EQ(InCombat, 0u);
    EXPECT_EQ(ScreenMode, 8u);
    EXPECT_GE(rounds, 2);  // a gnoll takes more than one bleeding to fall
    log = Log();
  }
  EXPECT_EQ(logs[0], logs[1]);

  Fresh();
  MeetTwoGroups(22);
  ASSERT_EQ(StartCombat(0), 1);
  for (int m : {0, 1}) AddCondition(m, kCondBleeding, 100, 500, 0, 0);
  FramesUntil([] { return false; });
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(ScreenMode, 7u);
  EXPECT_GE(FindCondition(0, kCondDead), 0);
}

// A plague's bite at the upkeep that takes the last hit point fells the
// fighter, who leaves the order before acting.
TEST_F(BattleTest, APlagueBiteAtTheUpkeepCanFell) {
  MeetTwoGroups(16);
  ASSERT_EQ(StartCombat(0), 1);
  const int bitten = TurnOrder[1].creature, next = TurnOrder[2].creature;
  Creatures[bitten].hitPoints = 1;
  MagicAreaGrid[SquareIndex(Creatures[bitten].squareX, Creatures[bitten].squareY)] = {kEffectInsectPlague, 5, 0};
  ASSERT_TRUE(UntilTurnOf(next));
  EXPECT_EQ(IndexOf(bitten), -1);
  EXPECT_LE(Creatures[bitten].hitPoints, 0);
  EXPECT_NE(Log().find("@INSECT_PLAGUE@: \xA3" + std::string(Creatures[bitten].name) + "\xA3 loses"),
            std::string::npos);
}

TEST_F(BattleTest, AnOrderOfFightersNoneOfWhomCanActDoesNotHang) {
  MeetTwoGroups(15);
  ASSERT_EQ(StartCombat(0), 1);
  for (int i = 0; i < TurnEntryCount; ++i) AddCondition(TurnOrder[i].creature, kCondUnconscious, 3000, 0, 0, 0);
  for (int f = 0; f < 5; ++f) Frame();
  EXPECT_EQ(InCombat, 1u);
  EXPECT_GE(CurrentTurnIndex, -1);
  EXPECT_LE(CurrentTurnIndex, TurnEntryCount);
}

// A casting carried into the caster's next turn comes back with its
// metamagic and the wand it is cast from, and takes no group value of an
// earlier cast; the words of a cast (and the focus of a readied fighter)
// never linger into the next turn.
TEST_F(BattleTest, ACarriedCastingResumesWithItsOwnWordsOnly) {
  MeetTwoGroups(16);
  ASSERT_EQ(StartCombat(0), 1);
  PendingMetamagic = kMetamagicSilent;
  CastingScripted = 1;
  ASSERT_TRUE(UntilTurnOf(TurnOrder[0].creature));
  EXPECT_EQ(PendingMetamagic, 0);
  EXPECT_EQ(CastingScripted, 0);
  // Nor does a reaction chain whose actor fell to a reaction mid-chain.
  CombatState = kStateNextFighter;
  MovementPlaybackActive = 0;  // the view has come to the fighter
  FollowTarget = -1;
  ReactionPending = 1;
  ContinueOpportunityChain = 1;
  DisruptionTarget = kFoeB;  // the focus of a fighter readied before
  CombatCycle();
  EXPECT_EQ(ReactionPending, 0);
  EXPECT_EQ(ContinueOpportunityChain, 0);
  EXPECT_EQ(DisruptionTarget, -1) << "the next fighter has no readied target";

  constexpr uint32_t kWand = 7;
  Creatures[kFoeA].equipment[kSlotRightHand - 1] = kWand;
  TurnOrderEntry& held = TurnOrder[IndexOf(kFoeA)];
  held.plannedAction = 29;  // a wand casting, the action block kept
  held.plannedTarget = kSpellMagicMissile;
  held.plannedParameter = kMetamagicEmpowered;
  held.extraValue2 = 5;  // left by an earlier group spell
  FramesUntil([] { return SpellInProgress != -1; });
  ASSERT_EQ(CurrentFighter(), kFoeA);
  EXPECT_EQ(SpellInProgress, kSpellMagicMissile);
  EXPECT_EQ(PendingMetamagic, kMetamagicEmpowered);
  EXPECT_EQ(CastingExtraValue[1], 0);
  EXPECT_EQ(CastingWand, 1);
  EXPECT_EQ(CastingFromItem, 1);
  EXPECT_EQ(CastingItem, kWand);
  EXPECT_EQ(CastResumed, 1) << "the wand's charge was spent when the casting began";
  EXPECT_EQ(ScreenMode, 22u);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
}

// A casting held from a scroll is cast from an item as a wand's is: a caster
// paralysed in the meantime loses it even for a spell without a somatic
// part (the scroll is read by hand), whether its action block was kept or
// not; a caster free to use it goes on with it as an item's casting.
TEST_F(BattleTest, AHeldScrollIsLostAsAWandIsToAParalysedCaster) {
  MeetTwoGroups(16);
  ASSERT_EQ(StartCombat(0), 1);
  SpellTable[kSpellMagicMissile].somatic = 0;
  const struct {
    int32_t code;
    bool paralysed;
  } cases[] = {{26, true}, {30, true}, {31, true}, {30, false}};
  for (const auto& k : cases) {
    RemoveCondition(1, kCondParalyzed);
    if (k.paralysed) AddCondition(1, kCondParalyzed, 5, 0, 0, 0);
    TurnOrderEntry& held = TurnOrder[IndexOf(1)];
    held.plannedAction = k.code;
    held.plannedTarget = kSpellMagicMissile;
    held.plannedParameter = 0;
    MessageLogText[0] = 0;
    CurrentTurnIndex = IndexOf(1) - 1;
    CombatState = kStateNextFighter;
    MovementPlaybackActive = 0;
    FollowTarget = -1;
    CombatCycle();
    ASSERT_EQ(CurrentFighter(), 1) << k.code;
    const bool lost = Log().find("Spellcasting Disrupted") != std::string::npos;
    EXPECT_EQ(lost, k.paralysed) << k.code;
    EXPECT_EQ(SpellInProgress, k.paralysed ? -1 : kSpellMagicMissile) << k.code;
    if (!k.paralysed) {
      EXPECT_EQ(CastingFromItem, 1) << "later checks and costs know the scroll";
      EXPECT_EQ(CastingWand, 0);
    }
  }
}

// A casting that yields to a foe readied against it comes back with the
// caster's own turn as it stood then (the casting paid for), though the foe
// began a use of its own in between; it comes back in the same round, so
// its conditions are not counted down again nor its attacks of opportunity
// refilled.
TEST_F(BattleTest, AHeldCastingComesBackWithItsCastersOwnTurn) {
  MeetTwoGroups(16);
  ASSERT_EQ(StartCombat(0), 1);
  ASSERT_TRUE(UntilTurnOf(kFoeA));
  CombatActionState& a = CombatAction;
  a.movesLeft = 2 * Creatures[kFoeA].speed.current - 10;  // 10 feet walked, the cast's action spent
  a.fullRoundActionLeft = a.standardActionLeft = a.moveActionLeft = 0;
  a.singleActionTurn = 0;
  const int32_t moves = a.movesLeft;
  TurnOrderEntry& readied = TurnOrder[IndexOf(0)];
  readied.plannedAction = 22;
  readied.plannedTarget = kFoeA;
  SpellInProgress = kSpellMagicMissile;
  SpellCaster = kFoeA;
  SpellTarget = -1;
  ASSERT_TRUE(YieldToReadiedEnemy());
  ASSERT_EQ(TurnOrder[IndexOf(kFoeA)].plannedAction, 27);

  // The foe's released turn (a single move) and its own use.
  a = CombatActionState{};
  a.currentEntry = IndexOf(0);
  a.movesLeft = 15;
  a.standardActionLeft = a.moveActionLeft = a.singleActionTurn = 1;
  SpellInProgress = kSpellMagicMissile;
  SpellCaster = 0;
  ScreenMode = 22;
  ProcessCombatAction();
  SpellInProgress = -1;
  ScreenMode = 0;

  AddCondition(kFoeA, kCondDistracted, 2, 0, 0, 0);
  Creatures[kFoeA].attacksOfOpportunityLeft = 0;  // spent in the foe's turn
  CurrentTurnIndex = IndexOf(kFoeA) - 1;
  CombatState = kStateNextFighter;
  MovementPlaybackActive = 0;
  FollowTarget = -1;
  CombatCycle();
  ASSERT_EQ(CurrentFighter(), kFoeA);
  EXPECT_EQ(a.movesLeft, moves);
  EXPECT_EQ(a.standardActionLeft, 0);
  EXPECT_EQ(a.singleActionTurn, 0);
  const int distracted = FindCondition(kFoeA, kCondDistracted);
  ASSERT_GE(distracted, 0);
  EXPECT_EQ(Creatures[kFoeA].conditions[distracted].duration, 2);
  EXPECT_EQ(Creatures[kFoeA].attacksOfOpportunityLeft, 0);
}

// A computer fighter alone among its foes keeps the plan of its Lightning
// Bolt wand (a rectangle laid from it: no friend need stand in its reach),
// walks to a square to lay it from and fires it.
TEST_F(BattleTest, ALoneFighterFiresItsLightningBoltWand) {
  mapfixture::DrawMap(std::vector<std::string>(20, std::string(20, '.')));  // room for the bolt's 60 feet
  Create(16, kKindHuman, kClassWarrior, 3, 0, 0, 0, 0, 0);
  Create(17, kKindHuman, kClassWarrior, 3, 0, 0, 0, 0, 1);
  Create(18, kKindGnoll, 0, 0, 0, 0, 0, 0, kFoeA);
  Place(0, 1, 1, kAllegianceParty);
  Place(1, 2, 1, kAllegianceParty);
  Place(kFoeA, 8, 6, kAllegianceEnemy);
  constexpr uint32_t kWand = 7;
  CraftedWeaponRecord& wand = CraftedWeapons[kWand];
  wand = {};
  std::snprintf(wand.name, sizeof wand.name, "Lightning Bolt Wand");
  wand.itemType = 8;
  wand.charges = 5;
  wand.spell = kSpellLightningBolt;
  Creatures[kFoeA].equipment[kSlotRightHand - 1] = kWand;
  Creatures[kFoeA].behaviour[kBehaviourWand] = 100;
  EveryoneSeesEveryone();
  ASSERT_EQ(StartCombat(0), 1);
  FramesUntil([] { return SpellInProgress != -1; });
  ASSERT_EQ(CurrentFighter(), kFoeA);
  EXPECT_EQ(SpellInProgress, kSpellLightningBolt);
  EXPECT_EQ(CastingWand, 1);
  EXPECT_EQ(CastingItem, kWand);
}

}  // namespace
