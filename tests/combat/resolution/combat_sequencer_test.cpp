// Uses of spells, Turn Undead and special attacks carried frame by frame
// through the combat sequencer's steps.
#include "combat/resolution/combat_sequencer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/special_attacks.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

constexpr int kCaster = 4, kFoeA = 5, kFoeB = 6, kFoeC = 7;
const std::string H = "\xA3";

std::string Log() { return std::string(MessageLogText); }
std::string Floating(int creature) { return FloatingTexts[creature].text; }

class CastingSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedRandomForTests(7);
    std::memset(Creatures, 0, sizeof Creatures);
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    std::memset(SpellTable, 0, sizeof SpellTable);
    for (FloatingTextEntry& f : FloatingTexts) f = FloatingTextEntry{};
    MessageLogText[0] = 0;
    FighterCount = 0;
    mapfixture::DrawMap(std::vector<std::string>(20, std::string(20, '.')));
    CombatAction = CombatActionState{};
    ClearCombatEvents();
    ClearQueuedAction();
    PlaybackCreature = -1;
    FramesPerEvent = 2;
    for (int32_t& w : AnimationSpeedWords) w = 1;
    MoveInProgress = 0;
    PendingMetamagic = 0;
    CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = CastResumed = 0;
    SpellTarget = -1;
    OptionWords[kOptionConfirmPersonalSpells] = 0;
    Put(kCaster, 2, 2, 2, 5);
  }

  static CreatureRecord& Put(int id, int x, int y, int side, int level) {
    mapfixture::PlaceFighter(id, x, y);
    CreatureRecord& c = Creatures[id];
    std::snprintf(c.name, sizeof c.name, "%s", id == kCaster ? "Caster" : id == kFoeA ? "Ann" : id == kFoeB ? "Bo" : "Cy");
    c.allegiance = side;
    c.level = c.effectiveLevel = level;
    c.casterLevelAdjust = level;
    c.size = {3, 3};
    c.speed = {30, 30};
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    c.baseHitPoints = c.maxHitPoints = c.hitPoints = 60;
    c.spellsPerDay[0] = c.spellsLeft[0] = 3;
    c.spellsLeft[2] = c.spellsPerDay[2] = 2;
    c.pixelX = x * 24;
    c.pixelY = y * 24;
    return c;
  }
  static void SetProtection(int id, int pair, int value) { Creatures[id].protections[pair] = {value, value}; }

  // The battle with the placed fighters; the caster acts.
  static void Fight(uint8_t player) {
    mapfixture::StartTestCombat();
    BuildOccupancyGrids(kCaster);
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kCaster) CombatAction.currentEntry = i;
    CombatAction.playerControlled = player;
    CombatState = 3;
  }
  static SpellRecord& Spell(int id, int target, int level, SpellEffect fx) {
    SpellRecord& s = SpellTable[id];
    std::snprintf(s.name, sizeof s.name, "Spell %d", id);
    s.level = level;
    s.school = 5;
    s.target = target;
    s.harmful = 1;
    s.verbal = s.somatic = 1;
    s.range = 5;
    s.effects[0] = fx;
    return s;
  }
  static void Cast(int spell) {
    SpellInProgress = spell;
    SpellCaster = kCaster;
    ScreenMode = kModeStartCast;
  }
  // Runs frames until the use ends or waits for the player; the screen mode
  // each frame started in, repeats folded.
  static std::vector<uint32_t> Frames(int limit = 2000) {
    std::vector<uint32_t> modes;
    for (int i = 0; i < limit; ++i) {
      if (modes.empty() || modes.back() != ScreenMode) modes.push_back(ScreenMode);
      if (ScreenMode == 0 || (ScreenMode >= 10 && ScreenMode <= 16 && i > 0)) break;
      mapfixture::StepCamera();
      ProcessCombatAction();
    }
    if (modes.back() != ScreenMode) modes.push_back(ScreenMode);
    return modes;
  }
  static bool Rolled(const char* caption) {
    for (int i = 0; i < kCombatRollLogSize; ++i)
      if (std::string(CombatRollLog[i].caption) == caption) return true;
    return false;
  }
};

using Modes = std::vector<uint32_t>;

TEST_F(CastingSteps, ASingleTargetSpellWaitsForTheAimThenResolves) {
  Put(kFoeA, 5, 2, 1, 1);
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0});  // 2d3 cold
  Fight(1);
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 10}));
  ProcessCombatAction();  // the aim waits for the player's click
  EXPECT_EQ(ScreenMode, 10u);
  EXPECT_EQ(CombatState, 1);
  AreaTargetList[0] = kFoeA;  // the game screen's click
  ScreenMode = kModeSpendSource;
  EXPECT_EQ(Frames(), (Modes{24, 20, 21, 0}));
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);
  EXPECT_LT(Creatures[kFoeA].hitPoints, 60);
  EXPECT_GE(Creatures[kFoeA].hitPoints, 54);
  EXPECT_NE(Log().find(H + "Caster" + H + " casts @" + SpellKeywordFull(11) + "@ on " + H + "Ann" + H + ".\r\r"),
            std::string::npos);
  EXPECT_NE(Log().find("(" + H + "cold" + H + ")."), std::string::npos);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(CombatState, 1);  // the player's fighter acts on
  EXPECT_EQ(PlaybackCreature, -1);
}

// Each further missile the player aims goes straight to its announcement:
// the use is paid for and checked once, and ends after its last missile.
TEST_F(CastingSteps, APlayersFurtherMissilesAreNeitherPaidNorCheckedAgain) {
  Put(kFoeA, 5, 2, 1, 1);
  Put(kFoeB, 6, 3, 1, 1);
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0}).areaSize = 3;  // three missiles of 2d3 cold
  Fight(1);
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 10}));
  const int targets[] = {kFoeA, kFoeB, kFoeA};
  for (int i = 0; i < 3; ++i) {
    AreaTargetList[0] = targets[i];  // the game screen's click
    ScreenMode = kModeSpendSource;
    const Modes modes = Frames();
    EXPECT_EQ(modes, i < 2 ? (Modes{24, 20, 21, 10}) : (Modes{24, 20, 21, 0})) << "missile " << i + 1;
    EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2) << "missile " << i + 1;
  }
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_LT(Creatures[kFoeB].hitPoints, 60);
  // The next use is paid for again.
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 10}));
  AreaTargetList[0] = kFoeB;
  ScreenMode = kModeSpendSource;
  Frames();
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 1);
}

TEST_F(CastingSteps, AnAreaSpellMeetsImmunityResistanceAndAHalvingSave) {
  CreatureRecord& a = Put(kFoeA, 10, 10, 1, 1);
  CreatureRecord& b = Put(kFoeB, 11, 10, 1, 2);
  CreatureRecord& c = Put(kFoeC, 10, 11, 1, 3);
  SetProtection(kFoeA, kProtFirstImmunity + 15, 1);  // fire immunity
  SetProtection(kFoeB, kProtSpellResistance, 40);
  c.reflex = {40, 40};
  SpellRecord& s = Spell(31, kAimCircle, 3, {3, 0, 0, 0, 6, 21, 3, 1});  // caster-level d6 fire, Reflex half
  s.areaSize = 10;
  s.immunity1 = 2;  // fire
  Fight(0);
  Cast(31);
  const Modes modes = Frames();
  EXPECT_EQ(modes.front(), 22u);
  EXPECT_EQ(modes[1], 24u);
  EXPECT_EQ(modes[2], 20u);
  EXPECT_EQ(modes[3], 21u);
  EXPECT_EQ(modes.back(), 0u);
  // Sorted by level: the immune one first, then the resisting one, then the saver.
  EXPECT_EQ(AreaTargetList[0], kFoeA);
  EXPECT_EQ(a.hitPoints, 60);
  EXPECT_EQ(Floating(kFoeA), "Immune (Fire)");
  EXPECT_NE(Log().find(H + "Ann" + H + " is immune to " + H + "Fire" + H + "."), std::string::npos);
  EXPECT_EQ(b.hitPoints, 60);
  EXPECT_EQ(Floating(kFoeB), "Resisted (SR 40)");
  EXPECT_NE(Log().find(H + "Bo" + H + " (SR " + H + "40" + H + ") resists the spell."), std::string::npos);
  EXPECT_NE(Log().find("Save succeeded (DC @"), std::string::npos);
  EXPECT_LT(c.hitPoints, 60);
  EXPECT_GE(c.hitPoints, 60 - 15);  // at most half of 5d6
  EXPECT_TRUE(Rolled("Caster level check"));
  EXPECT_TRUE(Rolled("Spell Difficulty Class"));
  EXPECT_EQ(CombatState, 2);  // the computer fighter decides again
}

TEST_F(CastingSteps, AMissedTouchLeavesTheTargetUntouched) {
  Put(kFoeA, 3, 2, 1, 1);
  SetProtection(kFoeA, kProtDeflection, 200);
  SpellRecord& s = Spell(6, kAimIndividual, 1, {6, 0, 0, 0, 6, 3, 0, 0});
  s.meleeTouch = 1;
  Fight(0);
  Cast(6);
  Frames();
  EXPECT_EQ(ScreenMode, 0u);
  EXPECT_EQ(Creatures[kFoeA].hitPoints, 60);
  EXPECT_NE(Log().find("@TOUCH_ATTACK@"), std::string::npos);
  EXPECT_NE(Log().find("Missed (AC @"), std::string::npos);
  EXPECT_EQ(Floating(kFoeA), "Miss");
}

TEST_F(CastingSteps, DamageWhileCastingBreaksConcentration) {
  Put(kFoeA, 5, 2, 1, 1);
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0});
  AddCondition(kCaster, kCondDamagedWhileCasting, 1, 200, 24, 0);
  Fight(0);
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 24, 0}));
  EXPECT_NE(Log().find("@DAMAGED_WHILE_CASTING@:\r"), std::string::npos);
  EXPECT_NE(Log().find("Failure (DC @"), std::string::npos);
  EXPECT_EQ(Floating(kCaster), "Concentration Failure");
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_EQ(QueuedCombatState, 2);
  EXPECT_EQ(CombatEvents[0].type, 45);
  EXPECT_EQ(CombatEvents[0].sound, 38);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);  // the source was spent before the checks
  EXPECT_EQ(Creatures[kFoeA].hitPoints, 60);
}

TEST_F(CastingSteps, AScrollIsUsedUpAndAWandLosesACharge) {
  Spell(2, kAimCaster, 1, {99, 0, 0, 0, 0, 0, 0, 0}).harmful = 0;
  Creatures[kCaster].carried[0] = {5100, 1};
  Put(kFoeA, 15, 15, 1, 1);  // a foe far off, so the battle goes on
  Fight(0);
  CastingFromItem = 1;
  CastingItem = 5100;
  Cast(2);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(Creatures[kCaster].carried[0].code, 0u);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 3);
  EXPECT_EQ(CastingFromItem, 0);

  CraftedWeaponRecord& wand = CraftedWeapons[40];
  std::memset(&wand, 0, sizeof wand);
  wand.itemType = 8;
  wand.spell = 2;
  wand.charges = 3;
  CastingFromItem = CastingWand = 1;
  CastingItem = 40;
  Cast(2);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(wand.charges, 2);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 3);
  EXPECT_NE(Log().find(" uses @" + std::string(SpellKeywordFull(2)) + "@ wand."), std::string::npos);
}

TEST_F(CastingSteps, TurnUndeadSpendsAUseAndTurnsTheUndeadBeside) {
  Creatures[kCaster].displayWords[kDisplayTurnUndeadUses] = 2;
  CreatureRecord& u = Put(kFoeA, 3, 2, 1, 1);
  u.type = 8;
  Fight(0);
  Cast(kSpellTurnUndead);
  const Modes modes = Frames();
  EXPECT_EQ(modes.front(), 22u);
  EXPECT_EQ(modes.back(), 0u);
  EXPECT_EQ(Creatures[kCaster].displayWords[kDisplayTurnUndeadUses], 1);
  EXPECT_NE(Log().find(H + "Caster" + H + " uses @TURN_UNDEAD@ ability.\r\r"), std::string::npos);
  EXPECT_TRUE(Rolled("Turn Undead Difficulty Class"));
}

TEST_F(CastingSteps, ABreathAndAGazeGoThroughTheSameSteps) {
  CreatureRecord& dragon = Creatures[kCaster];
  dragon.special[kSpecialAttackKind] = 1;
  dragon.special[kSpecialAttackSides] = 6;
  dragon.special[kSpecialAttackDice] = 4;
  Put(kFoeA, 3, 2, 1, 1);
  Put(kFoeB, 15, 15, 1, 1);  // out of the cone: the battle goes on when the gaze petrifies Ann
  Fight(0);
  Cast(kSpellSpecialAttack);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_NE(Log().find(H + "Caster" + H + " uses its cone of fire @BREATH_WEAPON@.\r\r"), std::string::npos);
  EXPECT_TRUE(Rolled("Breath Weapon Difficulty Class"));
  EXPECT_TRUE(Rolled("Effect : Breath Weapon"));
  EXPECT_LT(Creatures[kFoeA].hitPoints, 60);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 3);

  // The gaze: its own line and difficulty, by Charisma, aimed as a cone.
  dragon.special[kSpecialAttackKind] = 23;
  dragon.charisma = {20, 20};
  Cast(kSpellSpecialAttack);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_NE(Log().find(" uses its petrification " + H + "gaze" + H + " " + H + "attack" + H + "."), std::string::npos);
  bool found = false;
  for (const ModifierList& l : CombatRollLog)
    if (std::string(l.caption) == "Gaze Attack Difficulty Class") found = l.total == 10 + LevelCapByKind() / 2 + 5;
  EXPECT_TRUE(found);
}

TEST_F(CastingSteps, AUseWithoutATargetEndsAndHandsTheTurnBack) {
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0});
  Fight(0);  // no enemy on the map
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 24, 0}));
  EXPECT_NE(Log().find(H + "Caster" + H + ": No target for spellcasting.\r\r"), std::string::npos);
  EXPECT_EQ(Floating(kCaster), "No target found");
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_EQ(CombatAction.actionParameter, 29);
  EXPECT_EQ(CombatState, 3);
  EXPECT_EQ(QueuedCombatState, 2);
  EXPECT_EQ(CombatEvents[0].type, 45);

  // Kinds no aim serves end the same way instead of waiting for ever: the
  // player's kind 11 and the computer's item kind 10.
  Put(kFoeA, 5, 2, 1, 1);
  Spell(12, kAimSquareOrIndividual, 1, {99, 0, 0, 0, 0, 0, 0, 0});
  Spell(13, kAimEquipment, 1, {127, 0, 0, 0, 0, 0, 0, 0});
  Fight(1);
  Cast(12);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(QueuedCombatState, 1);
  Fight(0);
  Cast(13);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(Floating(kCaster), "No target found");
}

TEST_F(CastingSteps, AWebCellKeepsItsSaveDcAndAnUnnamedCodeStillNamesItsImmunity) {
  CreatureRecord& k = Creatures[kCaster];
  k.feats[kFeatSpellFocusFirst + 2] = 1;  // Spell Focus (Conjuration)
  // The computer places the web where it catches a foe it may hold: Bo,
  // with Ann beside him inside the same web.
  Put(kFoeB, 10, 10, 1, 1);
  Put(kFoeA, 11, 10, 1, 1);
  SpellRecord& web = Spell(15, kAimCircle, 2, {119, 14, 10, 0, 0, 0, 0, 0});
  web.school = 2;
  web.areaSize = 5;
  web.immunity1 = 48;
  SetProtection(kFoeA, 48, 1);
  Fight(0);
  Cast(15);
  EXPECT_EQ(Frames().back(), 0u);
  const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(10, 10)];
  EXPECT_EQ(cell.kind, kEffectWeb);
  EXPECT_EQ(cell.value, 10 + 2 + 1);
  EXPECT_EQ(cell.roundsLeft, 11u) << "ten rounds and the round of the casting";
  EXPECT_EQ(Floating(kFoeA), "Immune (Magic)");
}

TEST_F(CastingSteps, ACasterLosesInvisibilityBeforeTheSpellAndResumesAtTheChecks) {
  Put(kFoeA, 5, 2, 1, 1);
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0});
  AddCondition(kCaster, kCondInvisible, 10, 0, kSourceSpell, 0);
  Fight(0);
  Cast(11);
  EXPECT_EQ(Frames(), (Modes{22, 24, 0}));
  EXPECT_FALSE(HasCondition(kCaster, kCondInvisible));
  EXPECT_EQ(Floating(kCaster), "Lost effect (Invisibility)");
  EXPECT_EQ(QueuedScreenMode, static_cast<int32_t>(kModeCastingChecks));
  EXPECT_EQ(CombatAction.actionCode, 13);
  ScreenMode = static_cast<uint32_t>(QueuedScreenMode);  // the executor applies the follow-up
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_LT(Creatures[kFoeA].hitPoints, 60);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);  // spent once
}

// A foe readied against the caster's spellcasting acts first: the use
// becomes the caster's held casting, spent once, and the next fighter taken
// is the foe, the caster's entry right after it. An area use keeps the
// caster's action block as it stood when it yielded, the casting paid for.
TEST_F(CastingSteps, ACastYieldsToAFoeReadiedAgainstIt) {
  Put(kFoeA, 5, 2, 1, 1);
  Put(kFoeB, 6, 4, 1, 1);
  Spell(11, kAimIndividual, 1, {4, 0, 0, 0, 3, 2, 0, 0}).castingTime = 2;
  for (int foeFirst = 0; foeFirst < 2; ++foeFirst) {
    for (TurnOrderEntry& e : TurnOrder) e = TurnOrderEntry{};
    Fight(0);
    if (foeFirst == 1) {  // the readied foe stands before the caster in the order
      std::swap(TurnOrder[0], TurnOrder[2]);
      CombatAction.currentEntry = 2;
    }
    CombatAction.standardActionLeft = 1;
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kFoeB) {
        TurnOrder[i].plannedAction = 22;
        TurnOrder[i].plannedTarget = kCaster;
      }
    Creatures[kCaster].spellsLeft[0] = 3;
    Cast(11);
    EXPECT_EQ(Frames(), (Modes{22, 24, 0}));
    EXPECT_EQ(CombatState, 4);
    ASSERT_GE(CurrentTurnIndex + 2, 1);
    EXPECT_EQ(TurnOrder[CurrentTurnIndex + 1].creature, kFoeB) << "foe first " << foeFirst;
    const TurnOrderEntry& held = TurnOrder[CurrentTurnIndex + 2];
    EXPECT_EQ(held.creature, kCaster);
    EXPECT_EQ(held.plannedAction, 24);
    EXPECT_EQ(held.plannedTarget, 11);
    EXPECT_TRUE(held.triggerCreature == kFoeA || held.triggerCreature == kFoeB);
    EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2);
    EXPECT_EQ(Creatures[kFoeA].hitPoints + Creatures[kFoeB].hitPoints, 120);
    EXPECT_EQ(CastResumed, 0);
  }
  // An area spell is held as code 27 with the caster's block.
  SpellRecord& burst = Spell(31, kAimCircle, 3, {3, 0, 0, 0, 6, 2, 0, 0});
  burst.areaSize = 10;
  burst.castingTime = 2;
  for (TurnOrderEntry& e : TurnOrder) e = TurnOrderEntry{};
  Fight(0);
  CombatAction.standardActionLeft = 1;
  TurnOrder[2].plannedAction = 23;
  TurnOrder[2].plannedTarget = kCaster;
  Cast(31);
  EXPECT_EQ(Frames(), (Modes{22, 24, 0}));
  EXPECT_EQ(TurnOrder[CurrentTurnIndex + 2].plannedAction, 27);
  ASSERT_NE(HeldCastingAction(kCaster), nullptr);
  EXPECT_EQ(HeldCastingAction(kCaster)->standardActionLeft, 0);
}

// A caster caught in its own burst falls: its turn ends when the fall has
// been shown, and no fall mark is left to cut short the next fighter's turn.
TEST_F(CastingSteps, ACasterSlainByItsOwnBurstLeavesNoFallMarkBehind) {
  Put(kFoeA, 3, 2, 1, 1);
  Put(kFoeB, 15, 15, 2, 1);  // the caster's ally, far away: the battle goes on
  SpellRecord& s = Spell(31, kAimCentered, 3, {3, 0, 0, 0, 6, 2, 0, 0});  // 2d6 fire round the caster
  s.areaSize = 10;
  Creatures[kCaster].hitPoints = 1;
  Fight(0);
  Cast(31);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(Creatures[kCaster].present, 0);
  EXPECT_EQ(ActorFellDuringReaction, 0);
  EXPECT_EQ(CombatState, 4);
}

TEST_F(CastingSteps, ResponsesApplyAfterTheSaveAndAHalvedOneLeavesNothing) {
  CreatureRecord& weak = Put(kFoeA, 10, 10, 1, 1);
  CreatureRecord& saver = Put(kFoeB, 11, 10, 1, 2);
  SetProtection(kFoeA, kProtFirstImmunity + 15, 3);  // serious weakness to fire
  weak.reflex = {-40, -40};                          // never saves but on a 20
  saver.reflex = {40, 40};                           // always saves but on a 1
  SpellRecord& s = Spell(31, kAimCircle, 3, {3, 0, 0, 0, 4, 0, 3, 0});  // a fixed 4 fire, Reflex half
  s.areaSize = 10;
  s.immunity1 = 2;
  Fight(0);
  Cast(31);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(weak.hitPoints, 60 - 8);
  // A fixed 1 halved by the save leaves nothing.
  s.effects[0].amountSides = 1;
  weak.hitPoints = saver.hitPoints = 60;
  SetProtection(kFoeA, kProtFirstImmunity + 15, 0);
  Cast(31);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(saver.hitPoints, 60);
  EXPECT_EQ(Floating(kFoeB), "Saved - no effect");
  EXPECT_NE(Log().find("Saving throw reduced effect to zero.\r"), std::string::npos);
}

// A resistance halves as the save does, keeping the smaller half: a fixed 5
// leaves 2, a fixed 1 leaves nothing.
TEST_F(CastingSteps, ResistanceHalvesKeepingTheSmallerHalf) {
  CreatureRecord& a = Put(kFoeA, 10, 10, 1, 1);
  SetProtection(kFoeA, kProtFirstImmunity + 15, kImmunityResistance);  // fire
  SpellRecord& s = Spell(31, kAimCircle, 3, {3, 0, 0, 0, 5, 0, 0, 0});  // a fixed 5 fire, no save
  s.areaSize = 5;
  s.immunity1 = 2;
  Fight(0);
  Cast(31);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(a.hitPoints, 60 - 2);
  s.effects[0].amountSides = 1;
  a.hitPoints = 60;
  Cast(31);
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(a.hitPoints, 60);
  EXPECT_EQ(Floating(kFoeA), "Resisted");
  EXPECT_NE(Log().find("Racial resistance reduced effect to zero.\r"), std::string::npos);
}

// The lasting cells of an area last as long as the conditions it gives: the
// duration of the code and the round of the casting (caster level 5).
TEST_F(CastingSteps, LastingCellsCountTheRoundOfTheCasting) {
  Put(kFoeA, 10, 10, 1, 1);
  struct Case {
    SpellEffect effect;
    uint32_t kind, rounds;
  };
  const Case cases[] = {{{131, 1, 0, 0, 0, 0, 0, 0}, kEffectDarkness, 6},   // 1 a level
                        {{115, 3, 0, 0, 0, 0, 0, 0}, kEffectEntangle, 16},  // 3 a level
                        {{132, 14, 4, 0, 0, 0, 0, 0}, kEffectSilence, 5}};  // 4 rounds
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    Spell(31, kAimCircle, 2, c.effect).areaSize = 5;
    Fight(0);
    Cast(31);
    EXPECT_EQ(Frames().back(), 0u);
    EXPECT_EQ(MagicAreaGrid[SquareIndex(10, 10)].kind, c.kind);
    EXPECT_EQ(MagicAreaGrid[SquareIndex(10, 10)].roundsLeft, c.rounds);
  }
}

// A cure the computer's spell choice sent against an undead foe reaches it,
// not a wounded friend; an infliction meant for an undead friend reaches
// that friend, not a living foe.
TEST_F(CastingSteps, ACureOrInflictionReachesTheSideItsChoiceMeant) {
  CreatureRecord& undead = Put(kFoeA, 4, 2, 1, 1);
  CreatureRecord& friendly = Put(kFoeB, 3, 3, 2, 1);
  undead.type = 8;
  undead.hitPoints = friendly.hitPoints = 30;
  SpellRecord& cure = Spell(107, kAimIndividual, 1, {1, 0, 0, 0, 1, 0, 0, 0});  // a fixed 1
  cure.beneficial = 1;
  cure.harmful = 0;
  Fight(0);
  Cast(107);
  CastingExtraValue[1] = kGroupAgainstEnemies;
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(friendly.hitPoints, 30);
  EXPECT_NE(undead.hitPoints, 30);

  undead.allegiance = 2;
  friendly.allegiance = 1;
  friendly.type = 5;
  undead.hitPoints = friendly.hitPoints = 30;
  Spell(109, kAimIndividual, 1, {9, 0, 0, 0, 1, 0, 0, 0});  // a fixed 1 of negative energy
  Fight(0);
  Cast(109);
  CastingExtraValue[1] = kGroupOnFriends;
  EXPECT_EQ(Frames().back(), 0u);
  EXPECT_EQ(friendly.hitPoints, 30) << "the living foe is spared";
  EXPECT_NE(undead.hitPoints, 30);
}

}  // namespace
