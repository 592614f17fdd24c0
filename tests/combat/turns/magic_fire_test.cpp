// A computer caster about to step into magic fire: it dispels the fire or
// shields itself first, or, with its action spent, ends its turn.
#include <gtest/gtest.h>

#include "combat/turns/computer_decision.h"
#include "combat/turns/magic_fire.h"
#include "combat/turns/tactics_fixture.h"
#include "engine/frame.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

namespace {

using tacticsfixture::TacticsTest;
constexpr int kCaster = 100, kFoe = 101;

class MagicFire : public TacticsTest {
 protected:
  // The caster at (3, 5) walking east into a fire of three cells on (4, 4),
  // (4, 5) and (5, 5); a foe far off.
  void SetUp() override {
    TacticsTest::SetUp();
    OpenBattle(20, 12);
    turnsfixture::AddFighter(kCaster, 2, 3, 5);
    turnsfixture::AddFighter(kFoe, 1, 16, 5);
    for (auto [x, y] : {std::pair{4, 4}, {4, 5}, {5, 5}}) MagicAreaGrid[SquareIndex(x, y)] = {kEffectFire, 5, 0};
    CombatState = kStateActionUnderWay;
    ScreenMode = 0;
  }
  void Begin() {
    turnsfixture::StartTurn(kCaster);
    FighterSlots[Creatures[kCaster].fighterSlot].pathIndex = 1;
    Creatures[kCaster].destinationX = 10;
    Creatures[kCaster].destinationY = 5;
    CombatAction.actionCode = 1;
  }
  static void ExpectStopped() {
    const CreatureRecord& c = Creatures[kCaster];
    EXPECT_EQ(FighterSlots[c.fighterSlot].pathIndex, -1);
    EXPECT_EQ(CombatAction.actionCode, 0);
    EXPECT_EQ(c.destinationX, 3);
    EXPECT_EQ(c.destinationY, 5);
    EXPECT_EQ(c.nextX, 3);
    EXPECT_EQ(CombatAction.standardActionLeft, 0);
  }
};

TEST_F(MagicFire, AWizardDispelsTheFireOnItsNextSquareFromItsSlots) {
  MakeCaster(kCaster, 4, {kSpellDispel});
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  ExpectStopped();
  EXPECT_EQ(SpellInProgress, kSpellDispel);
  EXPECT_EQ(SpellCaster, kCaster);
  EXPECT_EQ(DispelReason, 8);
  EXPECT_EQ(MagicFireStepSquare.x, 4);
  EXPECT_EQ(MagicFireStepSquare.y, 5);
  EXPECT_EQ(PendingMetamagic, 0);
  EXPECT_EQ(ScreenMode, kModeCastStart);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
}

TEST_F(MagicFire, ABraziersFireOrAFreeSquareIsWalkedOn) {
  MakeCaster(kCaster, 4, {kSpellDispel});
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 6), 0);
  MagicAreaGrid[SquareIndex(4, 5)] = {kEffectFire, kDurationLasting, 0};
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(CombatAction.actionCode, 1);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
}

TEST_F(MagicFire, WithItsStandardActionSpentTheCasterEndsItsTurn) {
  MakeCaster(kCaster, 4, {kSpellDispel});
  Begin();
  CombatAction.standardActionLeft = 0;
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  ExpectStopped();
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_EQ(ActionBarMode, 1);
  EXPECT_EQ(SpellInProgress, -1);
}

// A Cleric shields itself, with the greater protection while a slot of its
// level is left; one already resisting fire walks on.
TEST_F(MagicFire, AClericShieldsItselfWithTheStrongestProtectionItHasASlotFor) {
  MakeCaster(kCaster, 3, {kSpellProtectionFire, kSpellGreaterProtectionFire});
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  EXPECT_EQ(SpellInProgress, kSpellGreaterProtectionFire);
  EXPECT_EQ(SpellTarget, kCaster);
  ResetCurrentCastState();
  Begin();
  Creatures[kCaster].spellsLeft[2] = 0;
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  EXPECT_EQ(SpellInProgress, kSpellProtectionFire);
  ResetCurrentCastState();
  Begin();
  Creatures[kCaster].protections[kProtResistFire].current = 5;
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
}

// Silenced, a caster needs the Silent feat and a slot one level higher.
TEST_F(MagicFire, ASilencedWizardCastsSilentlyOrNotAtAll) {
  MakeCaster(kCaster, 4, {kSpellDispel});
  AddCondition(kCaster, kCondSilenced, 5, 0, 31, 0);
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
  Creatures[kCaster].feats[kFeatMetamagicSilent] = 1;
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  EXPECT_EQ(PendingMetamagic, kMetamagicSilent);
  ResetCurrentCastState();
  Begin();
  Creatures[kCaster].spellsLeft[3] = 0;  // no slot at level 4
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
}

// A spell-like DISPEL needs a centre worth casting at: one cell of fire is
// not, and the words of the search are put back.
TEST_F(MagicFire, AnInnateDispelWithNoCentreLeavesEverythingAsItWas) {
  CreatureRecord& c = Creatures[kCaster];
  c.special[kSpecialSpellLike] = kSpellDispel + 1;
  c.special[kSpecialUsesLeft] = 1;
  MagicAreaGrid[SquareIndex(4, 4)] = {};
  MagicAreaGrid[SquareIndex(5, 5)] = {};
  Begin();
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(DispelReason, 0);
  EXPECT_EQ(MagicFireStepSquare.x, -1);
  EXPECT_EQ(CombatAction.actionCode, 1);
  // With the whole fire it dispels innately, and a fire-proof kind never does.
  for (auto [x, y] : {std::pair{4, 4}, {5, 5}}) MagicAreaGrid[SquareIndex(x, y)] = {kEffectFire, 5, 0};
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 1);
  EXPECT_EQ(CastingSpellLike, 1);
  ResetCurrentCastState();
  Begin();
  c.kind = 1;
  EXPECT_EQ(CheckMagicFireCasting(kCaster, 4, 5), 0);
}

}  // namespace
