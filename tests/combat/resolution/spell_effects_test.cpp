// The spells of the game's own spell table cast through the sequencer frame
// by frame on seeded test battles: what each effect code does to its target
// and where it refuses.
#include "combat/resolution/spell_effects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_effect_codes.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "map/area_shapes.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "platform/audio.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/game_screen.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int kCaster = 4, kFoe = 5, kFriend = 6, kOther = 7, kReserve = 9;
const std::string H = "\xA3";

std::string Log() { return std::string(MessageLogText); }
std::string Floating(int creature) { return FloatingTexts[creature].text; }
bool Has(int creature, uint32_t id) { return HasCondition(creature, id); }

class SpellEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadSpellTable(), 1);
    Reset(11);
  }

  // A fresh battle: the caster (level 15, side 1) at (5, 5), a foe at (8, 5)
  // and a friend at (5, 8), all humanoids that fail their saves but on a 20.
  static void Reset(uint32_t seed) {
    SeedRandomForTests(seed);
    std::memset(Creatures, 0, sizeof Creatures);
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    std::memset(FighterSlots, 0, sizeof FighterSlots);
    for (FloatingTextEntry& f : FloatingTexts) f = FloatingTextEntry{};
    MessageLogText[0] = 0;
    FighterCount = 0;
    mapfixture::DrawMap(std::vector<std::string>(20, std::string(20, '.')));
    CombatAction = CombatActionState{};
    ClearCombatEvents();
    ClearQueuedAction();
    PlaybackCreature = -1;
    FramesPerEvent = 1;
    for (int32_t& w : AnimationSpeedWords) w = 1;
    MoveInProgress = 0;
    PendingMetamagic = 0;
    CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = CastResumed = 0;
    SpellTarget = -1;
    SummonsMade = 0;
    OptionWords[kOptionConfirmPersonalSpells] = 0;
    Put(kCaster, 5, 5, 1, 15);
    Put(kFoe, 8, 5, 2, 3);
    Put(kFriend, 5, 8, 1, 3);
    Put(kReserve, 15, 15, 2, 3);  // a foe far off, so the battle goes on
    mapfixture::StartTestCombat();
    BuildOccupancyGrids(kCaster);
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kCaster) CombatAction.currentEntry = i;
    CombatAction.playerControlled = 1;
    CombatState = 3;
  }

  static CreatureRecord& Put(int id, int x, int y, int side, int level) {
    mapfixture::PlaceFighter(id, x, y);
    CreatureRecord& c = Creatures[id];
    std::snprintf(c.name, sizeof c.name, "%s", id == kCaster ? "Mage" : id == kFoe ? "Orc" : id == kFriend ? "Ally" : "Imp");
    c.allegiance = side;
    c.type = 5;
    c.level = c.effectiveLevel = level;
    c.casterLevelAdjust = level;
    c.size = {3, 3};
    c.speed = {30, 30};
    c.alignment = 5;
    c.baseAttack = {30, 30};
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    if (id != kCaster) c.fortitude = c.reflex = c.willpower = {-40, -40};
    c.intelligence = c.wisdom = {18, 18};
    c.baseHitPoints = c.maxHitPoints = c.hitPoints = 60;
    for (int l = 0; l < 9; ++l) c.spellsPerDay[l] = c.spellsLeft[l] = 9;
    c.figureSize[0] = c.figureSize[1] = {24, 24};
    c.pixelX = x * 24;
    c.pixelY = y * 24;
    return c;
  }

  // Casts the real spell row as the player: the aim is answered with the
  // targets (and their squares marked as the area), then the frames run until
  // the use is over.
  static void Cast(int spell, std::vector<int> targets) {
    SpellInProgress = spell;
    SpellCaster = kCaster;
    ScreenMode = kModeStartCast;
    // Each aim (a further missile or ray asks again) is answered alike.
    for (int aims = 0; aims < 12; ++aims) {
      for (int i = 0; i < 3000 && ScreenMode != 0 && !(ScreenMode >= 10 && ScreenMode <= 16) && ScreenMode < 30; ++i) {
        mapfixture::StepCamera();
        ProcessCombatAction();
      }
      if (!(ScreenMode >= 10 && ScreenMode <= 16)) return;
      for (int32_t& a : AreaTargetList) a = -1;
      std::memset(AreaMask, 0, sizeof AreaMask);
      for (size_t i = 0; i < targets.size(); ++i) {
        AreaTargetList[i] = targets[i];
        AreaMask[SquareIndex(Creatures[targets[i]].squareX, Creatures[targets[i]].squareY)] = 1;
      }
      // A further missile goes on from the announcement (its slot is spent).
      ScreenMode = aims == 0 ? kModeSpendSource : kModeAnnounce;
    }
  }
};

// The state a spell can change on a creature.
std::vector<int32_t> Digest(int id) {
  const CreatureRecord& c = Creatures[id];
  std::vector<int32_t> d = {c.hitPoints, c.allegiance, c.present, c.squareX, c.squareY, c.strength.current,
                            c.size.current, c.figure, c.experience};
  for (const ConditionEntry& e : c.conditions) {
    d.push_back(static_cast<int32_t>(e.id));
    d.push_back(e.value);
  }
  return d;
}

TEST_F(SpellEffects, EveryRealSpellResolvesAndChangesWhatItsNameSays) {
  for (int spell = 0; spell < kFirstSpareSpell; ++spell) {
    Reset(100 + spell);
    const SpellRecord& row = SpellTable[spell];
    const int32_t code = row.effects[0].code;
    int target = row.beneficial == 1 ? kFriend : kFoe;
    if (row.target == kTargetingCaster || row.target == kTargetingCentered) target = kCaster;
    if (code == kFxPurge) target = kFriend;
    CreatureRecord& t = Creatures[target];
    // What the spell needs to find on its target.
    switch (code) {
      case kFxHeal: t.hitPoints = 10; break;
      case kFxLesserRestoration: case kFxRestoration: AddCondition(target, kCondDamagedStrength, 2000, 2, 18, 0); break;
      case kFxRemoveBlindness: AddCondition(target, kCondBlinded, 1000, 0, 18, 0); break;
      case kFxRemoveCurse: AddCondition(target, kCondCursed, 1000, 0, 18, 0); break;
      case kFxRemoveFatigue: AddCondition(target, kCondFatigued, 1000, 0, 18, 0); break;
      case kFxFreedom: case kFxRemoveParalysis: AddCondition(target, kCondParalyzed, 1000, 0, 18, 0); break;
      case kFxRemoveNegativeLevels: AddCondition(target, kCondLevelDrained, 1000, 1, 18, 0); break;
      case kFxStoneToFlesh: AddCondition(target, kCondPetrified, 1000, 0, 18, 0); break;
      case kFxRemoveShaken: AddCondition(target, kCondShaken, 1000, 0, 18, 0); break;
      case kFxDispel: AddCondition(target, kCondHasted, 10, 0, 18, 0); break;
      case kFxPurge:  // (an invisible caster would lose it before the cast)
        target = kFriend;
        AddCondition(target, kCondInvisible, 10, 0, 18, 0);
        break;
      case kFxRaiseDead: case kFxResurrection:
        AddCondition(target, kCondDead, 1000, 0, 18, 0);
        t.hitPoints = -20;
        t.experience = 40000;
        break;
      case kFxDominateUndead: case kFxDestroyUndead: t.type = 8; break;
      default: break;
    }
    if (spell == kSpellFreedomOfMovement) AddCondition(target, kCondParalyzed, 1000, 0, 18, 0);
    ChosenItem = 100;
    CraftedWeapons[100] = CraftedWeaponRecord{};
    std::snprintf(CraftedWeapons[100].name, sizeof CraftedWeapons[100].name, "Sword");
    CraftedWeapons[100].itemType = 29;
    CraftedWeapons[100].size = 3;
    CraftedWeapons[100].dieKind = 4;  // a longsword's 1d8
    CraftedWeapons[100].dieSides = 8;
    CraftedWeapons[100].dieCount = 1;
    const std::vector<int32_t> before = Digest(target);
    Cast(spell, row.target == kTargetingCaster ? std::vector<int>{kCaster} : std::vector<int>{target});
    SCOPED_TRACE(std::string("spell ") + std::to_string(spell) + " " + row.name);
    if (code == kFxTeleport) {
      EXPECT_EQ(ScreenMode, 9u);
      continue;
    }
    EXPECT_EQ(ScreenMode, 0u);
    EXPECT_EQ(SpellInProgress, -1);
    if (code == kFxSummon) {
      EXPECT_EQ(Creatures[581].present, 1);
      EXPECT_TRUE(Has(581, kCondSummonedCreature));
    } else if (code == kFxWallArea) {
      EXPECT_EQ(MagicAreaGrid[SquareIndex(8, 5)].kind, static_cast<uint32_t>(kEffectSolid));
    } else if (code == kFxEnlargeItem || code == kFxReduceItem) {
      EXPECT_NE(CraftedWeapons[100].size, 3);
    } else {
      EXPECT_NE(Digest(target), before) << Floating(target) << "\n" << Log();
    }
  }
}

TEST_F(SpellEffects, DamageHealingAndDrainComeThroughTheAmounts) {
  Reset(5);
  Cast(kSpellFireball, {kFoe});
  EXPECT_LT(Creatures[kFoe].hitPoints, 60);
  EXPECT_NE(Log().find("(" + H + "fire" + H + ")"), std::string::npos);
  Creatures[kFriend].hitPoints = 20;
  Cast(kSpellCureModerateWounds, {kFriend});
  EXPECT_GT(Creatures[kFriend].hitPoints, 20);
  // Vampiric: the caster gains what the living foe loses; undead are refused.
  Creatures[kCaster].hitPoints = 30;
  const int32_t foeBefore = Creatures[kFoe].hitPoints;
  Cast(kSpellVampiricRay, {kFoe});
  EXPECT_EQ(Creatures[kCaster].hitPoints - 30, foeBefore - Creatures[kFoe].hitPoints);
  Creatures[kFoe].type = 8;
  const int32_t undead = Creatures[kFoe].hitPoints;
  Cast(kSpellVampiricRay, {kFoe});
  EXPECT_EQ(Creatures[kFoe].hitPoints, undead);
  EXPECT_EQ(Floating(kFoe), "Not a living creature");
}

// Magic Missile over many casts: one missile at caster levels 1 and 2, one
// more for every two levels beyond the first, at most five; each missile
// 1d4+1 force damage, every value from 2 to 5 coming up.
TEST_F(SpellEffects, MagicMissileFliesByCasterLevelAndEachDoesOneD4PlusOne) {
  std::vector<int> seen(6, 0);
  for (const auto& [level, missiles] : {std::pair{1, 1}, {2, 1}, {3, 2}, {5, 3}, {8, 4}, {9, 5}, {15, 5}}) {
    for (int cast = 0; cast < 40; ++cast) {
      Reset(1000 + 100 * level + cast);
      Creatures[kCaster].casterLevelAdjust = level;
      Creatures[kCaster].level = Creatures[kCaster].effectiveLevel = level;
      Cast(kSpellMagicMissile, {kFoe});
      // Each missile's damage, as its log line tells it.
      const std::string log = Log(), line = "Orc" + H + " loses @";
      int flown = 0, total = 0;
      for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
        const int amount = std::atoi(log.c_str() + at + line.size());
        ASSERT_GE(amount, 2) << "level " << level;
        ASSERT_LE(amount, 5) << "level " << level;
        ++seen[amount];
        ++flown;
        total += amount;
      }
      EXPECT_EQ(flown, missiles) << "level " << level;
      EXPECT_EQ(Creatures[kFoe].hitPoints, 60 - total) << "level " << level;
    }
  }
  for (int amount = 2; amount <= 5; ++amount) EXPECT_GT(seen[amount], 20) << amount;
}

// The first of five missiles fells the last foe: the battle is won there and
// then, with no aim asked for the four left and no turn to end.
TEST_F(SpellEffects, AMissileFellingTheLastFoeEndsTheBattle) {
  Creatures[kReserve].allegiance = 1;  // the far creature is no foe now
  Creatures[kFoe].hitPoints = 1;  // the caster's level gives five missiles
  Cast(kSpellMagicMissile, {kFoe});
  EXPECT_EQ(Log().find("Orc" + H + " loses @"), Log().rfind("Orc" + H + " loses @"));  // one missile flew
  EXPECT_EQ(InCombat, 0);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeVictory));
  EXPECT_EQ(SpellInProgress, -1);
}

// Negative levels past the last level, or Constitution lost to nothing, kill:
// the target leaves the battle at once, not at its next turn.
TEST_F(SpellEffects, ATargetDrainedToDeathLeavesTheBattle) {
  auto inOrder = [](int id) {
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == id) return true;
    return false;
  };
  Reset(6);
  Creatures[kFoe].level = Creatures[kFoe].effectiveLevel = 1;
  Cast(kSpellEnervationRay, {kFoe});
  EXPECT_TRUE(Has(kFoe, kCondDead));
  EXPECT_FALSE(inOrder(kFoe));
  EXPECT_NE(Log().find(H + "Orc" + H + " dies."), std::string::npos);
  Put(kOther, 9, 9, 2, 8).constitution = {1, 1};
  mapfixture::StartTestCombat();
  Cast(kSpellPoisonGas, {kOther});
  EXPECT_TRUE(Has(kOther, kCondDead));
  EXPECT_FALSE(inOrder(kOther));
  EXPECT_TRUE(inOrder(kReserve));
}

// Heal and Mass Heal free a friend at once of a paralysis its Dexterity
// damage, or its exhaustion, had given it: it makes its attacks of
// opportunity and is no helpless target before its own turn.
TEST_F(SpellEffects, AHealThatTakesAwayAnAfflictionFreesAtOnce) {
  for (const int spell : {kSpellHeal, kSpellMassHeal}) {
    SCOPED_TRACE(spell);
    Reset(7);
    AddCondition(kFriend, kCondDamagedDexterity, 2000, 10, 18, 0);
    Put(kOther, 6, 8, 1, 3).dexterity = {6, 6};
    mapfixture::StartTestCombat();
    AddCondition(kOther, kCondExhausted, 1000, 0, 18, 0);
    for (const int held : {kFriend, kOther}) {
      RecomputeCreature(held, 0);
      ASSERT_TRUE(Has(held, kCondParalyzed)) << held;
    }
    Cast(spell, spell == kSpellHeal ? std::vector<int>{kFriend} : std::vector<int>{kFriend, kOther});
    if (spell == kSpellHeal) Cast(spell, {kOther});
    for (const int freed : {kFriend, kOther}) {
      SCOPED_TRACE(freed);
      EXPECT_FALSE(Has(freed, kCondParalyzed));
      EXPECT_GT(Creatures[freed].dexterity.current, 0);
      EXPECT_TRUE(MayDo(freed, kDeedStrike));
    }
  }
}

TEST_F(SpellEffects, LendLifeMovesHitPointsAndRaisesTheFallen) {
  CreatureRecord& f = Creatures[kFriend];
  f.hitPoints = -3;
  AddCondition(kFriend, kCondUnconscious, 1000, 0, 18, 0);
  Cast(kSpellLendLife, {kFriend});
  // The caster keeps 1 hit point: 59 of the 63 missing move over.
  EXPECT_EQ(f.hitPoints, 56);
  EXPECT_EQ(Creatures[kCaster].hitPoints, 1);
  EXPECT_FALSE(Has(kFriend, kCondUnconscious));
  EXPECT_LE(std::abs(f.squareX - Creatures[kCaster].squareX), 1);  // back beside the caster
  EXPECT_LE(std::abs(f.squareY - Creatures[kCaster].squareY), 1);
  EXPECT_EQ(Floating(kFriend), "Healed");
  Creatures[kCaster].hitPoints = 1;
  f.hitPoints = 10;
  Cast(kSpellLendLife, {kFriend});
  EXPECT_EQ(f.hitPoints, 10);
  EXPECT_EQ(Floating(kFriend), "No HP available");
}

// A willing friend is touched without a roll: every touch cure reaches it
// from a caster who could hit nothing, while a harmful touch on a foe rolls.
TEST_F(SpellEffects, AFriendIsTouchedWithoutARollAndAFoeWithOne) {
  Creatures[kCaster].baseAttack = {-60, -60};
  for (int spell : {kSpellCureLightWounds, kSpellCureModerateWounds, kSpellCureSeriousWounds,
                    kSpellCureCriticalWounds, kSpellHeal, kSpellLendLife}) {
    MessageLogText[0] = 0;
    Creatures[kCaster].hitPoints = 60;
    Creatures[kFriend].hitPoints = 10;
    Cast(spell, {kFriend});
    EXPECT_GT(Creatures[kFriend].hitPoints, 10) << spell;
    EXPECT_EQ(Log().find("@TOUCH_ATTACK@"), std::string::npos) << spell;
  }
  MessageLogText[0] = 0;
  Cast(kSpellInflictLightWounds, {kFoe});
  EXPECT_NE(Log().find(H + "Mage" + H + " @TOUCH_ATTACK@"), std::string::npos);
}

// A cast plays its casting sound, and each condition taking hold its effect
// sound, on the spell sound channel (the mixer counts the plays).
TEST_F(SpellEffects, ACastPlaysItsSoundsOnTheSpellChannel) {
  ASSERT_TRUE(platform::InitPlatform());
  ASSERT_EQ(InitSound(1), 1);
  for (int c = 0; c < kSoundChannelCount; ++c) ASSERT_EQ(CreateSoundChannel(c), 1);
  for (int k = 30; k <= 53; ++k) {
    SoundSample& s = SoundSamples[k];
    FreeSoundSample(&s);
    s.block = s.data = static_cast<uint8_t*>(std::calloc(4000, 1));
    s.size = s.remaining = 4000;
    s.channels = 2;
  }
  OptionWords[kOptionSoundVolume] = 80;
  const int buffer = SoundChannels[kSpellSoundChannel].buffer;
  const SpellRecord& fireball = SpellTable[kSpellFireball];
  const SpellRecord& hold = SpellTable[kSpellHoldPerson];
  Cast(kSpellFireball, {kFoe});
  EXPECT_EQ(platform::SoundBufferPlays(buffer), 1u);
  EXPECT_EQ(SoundChannels[kSpellSoundChannel].sample.data, SoundSamples[29 + fireball.castSound].data);
  Cast(kSpellHoldPerson, {kFoe});
  EXPECT_EQ(platform::SoundBufferPlays(buffer), 3u);
  EXPECT_EQ(SoundChannels[kSpellSoundChannel].sample.data, SoundSamples[29 + hold.effectSound].data);
  for (int c = 0; c < kSoundChannelCount; ++c) FreeSoundChannel(c);
  for (auto& s : SoundSamples) FreeSoundSample(&s);
  ShutdownSound();
}

TEST_F(SpellEffects, OpposedConditionsOnlyCancelEachOther) {
  Cast(kSpellHaste, {kFriend});
  EXPECT_TRUE(Has(kFriend, kCondHasted));
  Cast(kSpellSlow, {kFriend});  // a friend: no save; Slow only takes the haste away
  EXPECT_FALSE(Has(kFriend, kCondHasted));
  EXPECT_FALSE(Has(kFriend, kCondSlowed));
  EXPECT_EQ(Floating(kFriend), "Lost Effect (Haste)");
  Cast(kSpellSlow, {kFriend});
  EXPECT_TRUE(Has(kFriend, kCondSlowed));
  Cast(kSpellSlow, {kFriend});
  EXPECT_EQ(Floating(kFriend), "Already Has Effect");
  // Prayer: bad luck for the foe, luck for the friend.
  Cast(kSpellPrayer, {kFoe, kFriend});
  EXPECT_TRUE(Has(kFoe, kCondUnlucky));
  EXPECT_TRUE(Has(kFriend, kCondLucky));
}

TEST_F(SpellEffects, PowerWordsNeedNoSaveAndHeedTheHitPoints) {
  Creatures[kFoe].fortitude = Creatures[kFoe].willpower = {100, 100};
  Cast(kSpellPowerWordStun, {kFoe});
  const int stun = FindCondition(kFoe, kCondStunned);
  ASSERT_GE(stun, 0);
  // 60 hit points: 2d4 + 1 rounds, and one more for the round of the cast.
  EXPECT_GE(Creatures[kFoe].conditions[stun].duration, 4);
  EXPECT_LE(Creatures[kFoe].conditions[stun].duration, 10);
  Put(kOther, 9, 9, 2, 3).hitPoints = 300;
  Cast(kSpellPowerWordSleep, {kOther});
  EXPECT_FALSE(Has(kOther, kCondSleeping));
  EXPECT_EQ(Floating(kOther), "More than 250 HP");
  Creatures[kFriend].hitPoints = 40;
  Cast(kSpellPowerWordBlind, {kFriend});
  ASSERT_GE(FindCondition(kFriend, kCondBlinded), 0);
  EXPECT_EQ(Creatures[kFriend].conditions[FindCondition(kFriend, kCondBlinded)].duration, kDurationLasting);
}

TEST_F(SpellEffects, SleepSpendsItsHitDicePoolWeakestFirst) {
  Put(kOther, 9, 5, 2, 3);
  // Sleep's pool is 4: the first foe of 3 levels sleeps, the second is refused
  // and the list ends.
  Cast(kSpellSleep, {kFoe, kOther});
  EXPECT_TRUE(Has(kFoe, kCondSleeping));
  EXPECT_FALSE(Has(kOther, kCondSleeping));
  EXPECT_EQ(Floating(kOther), "Hit Dice too high");
  Creatures[kFriend].level = Creatures[kFriend].effectiveLevel = 5;
  Cast(kSpellSleep, {kFriend});
  EXPECT_EQ(Floating(kFriend), "Level too high");
}

TEST_F(SpellEffects, DominationTurnsTheSideAndASecondCastingReleases) {
  Cast(kSpellDominatePerson, {kFoe});
  EXPECT_TRUE(Has(kFoe, kCondDominated));
  EXPECT_EQ(Creatures[kFoe].allegiance, 5);
  Cast(kSpellDominatePerson, {kFoe});
  EXPECT_FALSE(Has(kFoe, kCondDominated));
  EXPECT_EQ(Creatures[kFoe].allegiance, 2);
  EXPECT_EQ(Floating(kFoe), "Released");
  Creatures[kFoe].type = 4;  // a giant is no humanoid
  Cast(kSpellDominatePerson, {kFoe});
  EXPECT_EQ(Floating(kFoe), "Not humanoid");
  Cast(kSpellDominateUndead, {kFoe});
  EXPECT_EQ(Floating(kFoe), "Not undead");
}

TEST_F(SpellEffects, APolymorphKeepsTheNaturalFormThatDispelBringsBack) {
  CreatureRecord& m = Creatures[kCaster];
  m.strength = {11, 11};
  m.equipment[kSlotTorso - 1] = 77;
  // Hasted (speed 60) in its own turn, the caster changes form with its
  // standard action: one move of its speed is left, as the form's speed is
  // the same 60.
  AddCondition(kCaster, kCondHasted, 10, 0, 18, 0);
  RecomputeCreature(kCaster, 0);
  CombatAction.fullRoundActionLeft = CombatAction.standardActionLeft = CombatAction.moveActionLeft = 1;
  CombatAction.movesLeft = 2 * m.speed.current;
  Cast(kSpellPolymorphSpider, {kCaster});
  ASSERT_TRUE(Has(kCaster, kCondPolymorphed));
  EXPECT_EQ(m.speed.current, 60);
  EXPECT_EQ(CombatAction.movesLeft, 60) << "the move left doubled with the form's base speed";
  EXPECT_EQ(m.strength.base, 14);
  EXPECT_EQ(m.figure, 207);
  EXPECT_EQ(m.equipment[kSlotTorso - 1], 0u);
  EXPECT_EQ(Floating(kCaster), "Polymorph (GIANT_SPIDER)");
  Cast(kSpellPolymorphBear, {kCaster});
  EXPECT_EQ(Floating(kCaster), "Already Has Effect");
  Cast(kSpellDispel, {kCaster});
  EXPECT_FALSE(Has(kCaster, kCondPolymorphed));
  EXPECT_EQ(m.strength.base, 11);
  EXPECT_EQ(m.equipment[kSlotTorso - 1], 77u);
  // The form dismissed in a later turn scales the moves left by the change
  // from the form's speed in use (30, hasted 60) to the natural one (40,
  // hasted 80), whether the haste ended while in the form or began in it:
  // they rise by the whole percent of the change, 33.
  m.speed = {40, 40};
  for (const bool hastedFirst : {true, false}) {
    RemoveCondition(kCaster, kCondHasted);
    if (hastedFirst) AddCondition(kCaster, kCondHasted, 10, 0, 18, 0);
    RecomputeCreature(kCaster, 0);
    Cast(kSpellPolymorphSpider, {kCaster});
    ASSERT_TRUE(Has(kCaster, kCondPolymorphed));
    if (hastedFirst) RemoveCondition(kCaster, kCondHasted);
    else AddCondition(kCaster, kCondHasted, 10, 0, 18, 0);
    RecomputeCreature(kCaster, 0);
    CombatAction.movesLeft = 2 * m.speed.current;
    const int32_t moves = CombatAction.movesLeft;
    EndPolymorph(kCaster);
    EXPECT_EQ(m.speed.current, hastedFirst ? 40 : 80);
    EXPECT_EQ(CombatAction.movesLeft, moves + 33 * moves / 100) << (hastedFirst ? "haste lost in the form" : "haste gained in the form");
  }
  // Baleful Polymorph refuses a creature above its level cap and a non-humanoid.
  Creatures[kFoe].level = Creatures[kFoe].effectiveLevel = 9;
  Cast(kSpellBalefulPolymorph, {kFoe});
  EXPECT_EQ(Floating(kFoe), "Hit dice too high");
}

TEST_F(SpellEffects, EnlargeAndReduceUndoEachOther) {
  CreatureRecord& f = Creatures[kFriend];
  Cast(kSpellEnlargePerson, {kFriend});
  EXPECT_TRUE(Has(kFriend, kCondEnlarged));
  Cast(kSpellReducePerson, {kFriend});
  EXPECT_FALSE(Has(kFriend, kCondEnlarged));
  EXPECT_FALSE(Has(kFriend, kCondReduced));
  EXPECT_EQ(Floating(kFriend), "Enlarge Canceled");
  f.size.base = 4;
  Cast(kSpellEnlargePerson, {kFriend});
  EXPECT_EQ(Floating(kFriend), "Not Medium Size");
  EXPECT_NE(Log().find("Failure: Not Medium Size"), std::string::npos);
}

TEST_F(SpellEffects, DeathsHonourTypeLevelAndTheSave) {
  Creatures[kFoe].type = 8;
  Cast(kSpellFingerOfDeath, {kFoe});
  EXPECT_EQ(Floating(kFoe), "Wrong Type");
  EXPECT_EQ(Creatures[kFoe].hitPoints, 60);
  Creatures[kFoe].type = 5;
  Creatures[kFoe].fortitude = {100, 100};  // saves: 3d6 + the caster level instead
  Cast(kSpellFingerOfDeath, {kFoe});
  EXPECT_LE(Creatures[kFoe].hitPoints, 60 - 18);
  EXPECT_GE(Creatures[kFoe].hitPoints, 60 - 33);
  Creatures[kFoe].fortitude = {-40, -40};
  Cast(kSpellSlayLiving, {kFoe});
  EXPECT_LE(Creatures[kFoe].hitPoints, -9000);
  // Poison Gas slays the weakest outright and takes Constitution from the strong.
  Put(kOther, 9, 9, 2, 8);
  Cast(kSpellPoisonGas, {kOther});
  EXPECT_TRUE(Has(kOther, kCondDamagedConstitution));
  EXPECT_GT(Creatures[kOther].hitPoints, 0);
}

TEST_F(SpellEffects, SummonsStopAtTheirLimitAndSpendTheSlot) {
  Cast(kSpellSummonFireElemental, {kCaster});
  EXPECT_EQ(Creatures[581].present, 1);
  EXPECT_EQ(ConditionValue(581, kCondSummonedCreature), kCaster);
  EXPECT_NE(Log().find("summons a @FIRE_ELEMENTAL@."), std::string::npos);
  const int32_t left = Creatures[kCaster].spellsLeft[0];
  Cast(kSpellSummonAirElemental, {kCaster});
  EXPECT_EQ(Floating(kCaster), "Can't summon more");
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], left - 1);
  // Dispel sends a summoned creature away.
  Cast(kSpellDispel, {581});
  EXPECT_LE(Creatures[581].hitPoints, -9000);
}

TEST_F(SpellEffects, CuresRefuseWhatIsNotThere) {
  for (int spell : {kSpellRemoveBlindness, kSpellRemoveCurse, kSpellLesserRestoration, kSpellRestoration,
                    kSpellRemoveNegativeLevels, kSpellFreedomOfMovement}) {
    Cast(spell, {kFriend});
    EXPECT_EQ(Floating(kFriend), "No effect") << spell;
  }
  Cast(kSpellStoneToFlesh, {kFriend});
  EXPECT_EQ(Floating(kFriend), "Not petrified");
  Cast(kSpellRaiseDead, {kFriend});
  EXPECT_EQ(Floating(kFriend), "No effect");
  AddCondition(kFriend, kCondExhausted, 1000, 0, 18, 0);
  Cast(kSpellRemoveFatigue, {kFriend});
  EXPECT_TRUE(Has(kFriend, kCondFatigued));
  EXPECT_FALSE(Has(kFriend, kCondExhausted));
  EXPECT_NE(Log().find(H + "Ally" + H + " loses effect: " + H + "Exhausted" + H), std::string::npos);
}

TEST_F(SpellEffects, LastingAreasMarkTheirSquaresAndTheCreaturesOnThem) {
  Cast(kSpellWeb, {kFoe});
  EXPECT_EQ(MagicAreaGrid[SquareIndex(8, 5)].kind, static_cast<uint32_t>(kEffectWeb));
  EXPECT_TRUE(Has(kFoe, kCondEntangled));
  EXPECT_TRUE(Has(kFoe, kCondStuck));
  Cast(kSpellDarkness, {kFriend});
  EXPECT_EQ(MagicAreaGrid[SquareIndex(5, 8)].kind, static_cast<uint32_t>(kEffectDarkness));
  EXPECT_EQ(ConditionValue(kFriend, kCondConcealedByDarkness), 50);
  Cast(kSpellWallOfFire, {kFoe});
  EXPECT_TRUE(Has(kFoe, kCondBurning));
  Cast(kSpellLight, {kCaster, kFriend});
  EXPECT_TRUE(Has(kCaster, kCondIlluminating));
}

}  // namespace
