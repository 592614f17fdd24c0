#include "frontend/game_reset.h"
#include "combat/resolution/attack_resolution.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "combat/actions/combat_actions.h"
#include "combat/actions/combat_sounds.h"
#include "state/turn_order.h"
#include "rules/combat_roll_log.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "screens/game/game_screen.h"

namespace {

constexpr int kA = 4, kT = 5;  // attacker and target
constexpr uint32_t kSword = 10, kMace = 11;
const std::string H = "\xA3";

void MakeFighter(int id, const char* name, int x, int bab) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "%s", name);
  c.creatureClass = 1;
  c.level = c.effectiveLevel = 1;
  c.baseAttack = {bab, bab};
  for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    *p = {10, 10};
  c.size = {3, 3};
  c.speed = {30, 30};
  c.footprintWidth = c.footprintHeight = {1, 1};
  c.squareX = x;
  c.squareY = 5;
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = 100;
  c.allegiance = id == kA ? 1 : 2;
  c.present = 1;
  c.fighterSlot = -1;
}

CraftedWeaponRecord& MakeWeapon(uint32_t code, const char* name, int count, int sides, int damageKind) {
  CraftedWeaponRecord& w = CraftedWeapons[code];
  std::memset(&w, 0, sizeof w);
  std::snprintf(w.name, sizeof w.name, "%s", name);
  w.itemType = 19;
  w.handling = 2;
  w.proficiency = 1;
  w.size = 3;
  w.dieCount = count;
  w.dieSides = sides;
  w.damageKind = damageKind;
  w.critLow = 20;
  w.critMultiplier = 2;
  return w;
}

std::string Log() { return std::string(MessageLogText); }

// The roll linked right after the text: its shown value and its index.
bool LinkAfter(const std::string& log, const std::string& text, int* value, int* index) {
  const size_t at = log.find(text);
  if (at == std::string::npos) return false;
  return std::sscanf(log.c_str() + at + text.size(), "@%d|%d@", value, index) == 2;
}

int CountSource(const ModifierList& list, int32_t source) {
  int n = 0;
  for (const ModifierPair& p : list.pairs)
    if (p.source == source) ++n;
  return n;
}

class AttackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ResetItemTablesState();
    InCombat = 1;  // conditions of a few rounds last only in combat
    OptionWords[kOptionDisplayExpandedTooltip] = 0;
    MakeWeapon(kSword, "Longsword", 1, 8, 1);
  }

  // Builds the pair afresh (setup may change them), seeds and attacks.
  int Attack(uint32_t seed, const std::function<void()>& setup = {}, uint8_t evaluate = 0) {
    MakeFighter(kA, "Fighter", 5, 30);
    MakeFighter(kT, "Target", 6, 0);
    Creatures[kA].equipment[kSlotRightHand - 1] = kSword;
    if (setup) setup();
    RecomputeCreature(kA, 1);
    RecomputeCreature(kT, 1);
    ClearMessageLog();
    CombatRollCount = 0;
    CombatAction = CombatActionState{};
    PendingCombatSound = CombatSoundRequest{};
    SeedRandomForTests(seed);
    return ResolveAttack(kA, kT, 0, 0, evaluate, 0, 0, nullptr);
  }

  // The first seed whose attack's log holds the text.
  uint32_t SeedWhere(const std::string& text, const std::function<void()>& setup = {}) {
    for (uint32_t seed = 1; seed < 400; ++seed) {
      Attack(seed, setup);
      if (Log().find(text) != std::string::npos) return seed;
    }
    ADD_FAILURE() << "no seed gives " << text;
    return 0;
  }
};

TEST_F(AttackTest, AHitLogsItsRollsInOrderWithTheirLinks) {
  const uint32_t seed = SeedWhere("(Success)\r");
  ASSERT_EQ(Attack(seed), 10);
  const std::string log = Log();
  EXPECT_EQ(log.rfind(H + "Fighter" + H + " attacks " + H + "Target" + H + ".\r@ATTACK_ROLL@ " + H + "30" + H + " + " + H + "$", 0),
            0u);
  int total, roll, ac, acRoll, damage, damageRoll;
  ASSERT_TRUE(LinkAfter(log, " = ", &total, &roll));
  ASSERT_TRUE(LinkAfter(log, "@ARMOR_CLASS@ ", &ac, &acRoll));
  ASSERT_TRUE(LinkAfter(log, "@SLASHING@: " + H + "Target" + H + " loses ", &damage, &damageRoll));
  EXPECT_EQ(std::vector<int>({roll, acRoll, damageRoll}), std::vector<int>({0, 1, 2}));
  EXPECT_STREQ(CombatRollLog[0].caption, "Attack Roll (Longsword)");
  EXPECT_EQ(CombatRollLog[0].total, total);
  EXPECT_EQ(ac, 10);
  EXPECT_STREQ(CombatRollLog[2].caption, "Damage Bonus (Longsword)");
  EXPECT_NE(log.find("@ARMOR_CLASS@ @10|01@ (Success)\r@SLASHING@"), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 3), ".\r\r") << "the attack closes with an empty line";
  EXPECT_EQ(Creatures[kT].hitPoints, 100 - damage);
  EXPECT_EQ(CombatEvents[0].type, 2);
  EXPECT_EQ(CombatEvents[0].value, damage);
  EXPECT_EQ(CombatEvents[0].creature, kT);
  EXPECT_TRUE(IsEmptyCombatEvent(CombatEvents[1]));
  EXPECT_EQ(PendingCombatSound.kind, 2);
  EXPECT_EQ(PendingCombatSound.item, static_cast<int32_t>(kSword));
}

TEST_F(AttackTest, ConcealmentIsRolledBeforeTheAttackAndAMissStopsThere) {
  const auto invisible = [] { AddCondition(kT, kCondInvisible, 5, 0, 18, 0); };
  const uint32_t seed = SeedWhere("(Failure)\r", invisible);
  EXPECT_EQ(Attack(seed, invisible), 4);
  const std::string log = Log();
  EXPECT_NE(log.find("Concealment chance @50|00@% (Failure)\r"), std::string::npos);
  EXPECT_EQ(log.find("@ATTACK_ROLL@"), std::string::npos);
  EXPECT_STREQ(CombatRollLog[0].caption, "Concealment Miss Chance");
  EXPECT_EQ(CombatRollLog[0].pairs[0].source, static_cast<int32_t>(kCondInvisible));
  EXPECT_EQ(PendingCombatSound.kind, 10);
  EXPECT_EQ(Creatures[kT].hitPoints, 100);

  // A blinded attacker cannot see through the invisibility it cannot see:
  // the Invisible source is dropped and its own blindness is rolled.
  Attack(seed, [&] {
    invisible();
    AddCondition(kA, kCondBlinded, 5, 0, 18, 0);
  });
  EXPECT_EQ(CombatRollLog[0].pairs[0].source, static_cast<int32_t>(kCondBlinded));

  // True seeing overcomes invisibility: no roll at all.
  Attack(seed, [&] {
    invisible();
    AddCondition(kA, kCondTrueSeeing, 5, 0, 18, 0);
  });
  EXPECT_EQ(Log().rfind("(Concealment Negated by " + H + "Fighter" + H + ")\r", std::string::npos) != std::string::npos,
            true);
}

TEST_F(AttackTest, ConfirmedCriticalMultipliesOnlyTheDice) {
  const auto greatsword = [] {
    CraftedWeaponRecord& w = MakeWeapon(kSword, "Greatsword", 2, 6, 1);
    w.critLow = 15;
    w.critMultiplier = 3;
    Creatures[kA].strength = {14, 14};
  };
  const uint32_t seed = SeedWhere("Success (AC ", greatsword);
  Attack(seed, greatsword);
  const std::string log = Log();
  EXPECT_NE(log.find("scores a @THREAT@.\r@CRITICAL@ attack roll @"), std::string::npos);
  int damage, index;
  ASSERT_TRUE(LinkAfter(log, "loses ", &damage, &index));
  const ModifierList& list = CombatRollLog[index];
  EXPECT_STREQ(list.caption, "Critical (Greatsword)");
  EXPECT_EQ(CountSource(list, 601), 6) << "2d6 x3 rolls 6d6";
  EXPECT_EQ(CountSource(list, 173), 1) << "the Strength bonus counts once";
  EXPECT_EQ(FloatingTexts[kA].framesLeft, FloatingTextDuration);
  EXPECT_STREQ(FloatingTexts[kA].text, "Critical Hit");
}

TEST_F(AttackTest, TheConfirmationRollsConcealmentAgain) {
  const auto concealed = [] {
    MakeWeapon(kSword, "Longsword", 1, 8, 1).critLow = 15;
    AddCondition(kT, kCondMagicallyConcealed, 5, 20, 18, 0);
  };
  // Passing it names nothing: the critical roll follows on the same line.
  const std::string chance = "Concealment chance " + H + "20%" + H + " ";
  Attack(SeedWhere(chance + "@CRITICAL@ attack roll @", concealed), concealed);
  EXPECT_EQ(Log().find(chance + "(Success)"), std::string::npos);

  // Failing it leaves an ordinary hit.
  EXPECT_EQ(Attack(SeedWhere(chance + "(Failure)\r", concealed), concealed), 10);
  const std::string log = Log();
  EXPECT_EQ(log.find("@CRITICAL@ attack roll"), std::string::npos);
  int damage, index;
  ASSERT_TRUE(LinkAfter(log, "loses ", &damage, &index));
  EXPECT_STREQ(CombatRollLog[index].caption, "Damage Bonus (Longsword)");
}

TEST_F(AttackTest, ANaturalTwentyBelowArmourIsAThreatWhoseFailedConfirmationStillHits) {
  const auto armoured = [] {
    Creatures[kA].baseAttack = {0, 0};
    Creatures[kT].protections[kProtNaturalArmour].base = 25;
  };
  const uint32_t seed = SeedWhere("scores a @THREAT@", armoured);
  EXPECT_EQ(Attack(seed, armoured), 10);
  const std::string log = Log();
  EXPECT_NE(log.find("Missed (AC " + H + "35" + H + "). The attack is not a critical hit.\r"), std::string::npos);
  int damage, index;
  ASSERT_TRUE(LinkAfter(log, "loses ", &damage, &index));
  EXPECT_STREQ(CombatRollLog[index].caption, "Damage Bonus (Longsword)");
  EXPECT_EQ(Creatures[kT].hitPoints, 100 - damage);
}

TEST_F(AttackTest, FortificationNegatesACritical) {
  const auto fortified = [](int32_t percent) {
    return [percent] {
      MakeWeapon(kSword, "Longsword", 1, 8, 1).critLow = 15;
      AddCondition(kT, kCondCriticalHitResistance, 1000, percent, 18, 0);
    };
  };
  Attack(SeedWhere("Success (AC ", fortified(100)), fortified(100));
  std::string log = Log();
  // Full fortification makes the recomputed creature immune to critical hits.
  EXPECT_NE(log.find("Success (AC " + H + "10" + H + ")\r" + H + "Target" + H + " is immune to CRITICAL_HITS.\r"),
            std::string::npos);
  EXPECT_EQ(log.find("Critical ("), std::string::npos);

  Attack(SeedWhere("Failure: @FORTIFICATION@", fortified(50)), fortified(50));
  log = Log();
  EXPECT_NE(log.find(H + "Fighter" + H + " rolls to bypass criticals resistance: " + H), std::string::npos);
  EXPECT_NE(log.find("Failure: @FORTIFICATION@ " + H + "50%" + H + "\rThe critical hit is negated.\r"),
            std::string::npos);
}

TEST_F(AttackTest, DamageReductionByKindAndTheWeaponThatBypassesIt) {
  const auto resistant = [](uint32_t weapon) {
    return [weapon] {
      MakeWeapon(kSword, "Longsword", 12, 1, 1);   // slashing, 12 points
      MakeWeapon(kMace, "Mace", 12, 1, 2);         // bludgeoning, 12 points
      Creatures[kA].equipment[kSlotRightHand - 1] = weapon;
      Creatures[kT].protections[kProtDamageReduction].base = 5;
      Creatures[kT].protections[kProtDamageReductionKind].base = 4;  // slashing overcomes it
    };
  };
  const uint32_t seed = SeedWhere("(Success)\r", resistant(kSword));
  Attack(seed, resistant(kSword));
  EXPECT_EQ(Creatures[kT].hitPoints, 88);
  Attack(seed, resistant(kMace));
  EXPECT_EQ(Creatures[kT].hitPoints, 93);
  int damage, index;
  ASSERT_TRUE(LinkAfter(Log(), "@BLUDGEONING@: " + H + "Target" + H + " loses ", &damage, &index));
  EXPECT_EQ(damage, 7);
  EXPECT_EQ(CountSource(CombatRollLog[index], 664), 1);
}

TEST_F(AttackTest, AbsorbingPools) {
  const auto pool = [](uint32_t param) {
    return [param] {
      MakeWeapon(kSword, "Longsword", 12, 1, 1);
      AddCondition(kT, kCondReducedDamageAdamantine, 100, 10, 18, param);  // stoneskin: reduction 10 against all but adamantine
    };
  };
  const uint32_t seed = SeedWhere("(Success)\r", pool(7));
  // 12 points against a pool of 7: min(12, 10) >= 7, the pool ends and
  // absorbs its last 7; 5 get through.
  Attack(seed, pool(7));
  EXPECT_EQ(Creatures[kT].hitPoints, 95);
  EXPECT_EQ(FindCondition(kT, kCondReducedDamageAdamantine), -1);
  EXPECT_STREQ(FloatingTexts[kT].text, "Lost Effect (Stoneskin)");
  // A pool of 20 absorbs 10 and keeps 10.
  Attack(seed, pool(20));
  EXPECT_EQ(Creatures[kT].hitPoints, 98);
  EXPECT_EQ(Creatures[kT].conditions[FindCondition(kT, kCondReducedDamageAdamantine)].param, 10u);
  // No pool (-1) and a pool of 0 are plain reductions that stay.
  for (uint32_t none : {0xFFFFFFFFu, 0u}) {
    Attack(seed, pool(none));
    EXPECT_EQ(Creatures[kT].hitPoints, 98);
    ASSERT_GE(FindCondition(kT, kCondReducedDamageAdamantine), 0);
    EXPECT_EQ(Creatures[kT].conditions[FindCondition(kT, kCondReducedDamageAdamantine)].param, none);
  }
}

TEST_F(AttackTest, EnergyResistanceAndResponsesOfAFlamingWeapon) {
  const auto flaming = [](int pair, int32_t value) {
    return [pair, value] {
      MakeWeapon(kSword, "Longsword", 1, 1, 1).properties[16] = 1;
      Creatures[kT].protections[pair].base = value;
    };
  };
  const uint32_t seed = SeedWhere("(Success)\r", flaming(kProtResistFire, 10));
  Attack(seed, flaming(kProtResistFire, 10));
  EXPECT_NE(Log().find("Damage reduction reduced @FIRE_DAMAGE@ to zero.\r"), std::string::npos);
  EXPECT_TRUE(IsEmptyCombatEvent(CombatEvents[1]));
  EXPECT_EQ(Creatures[kT].hitPoints, 99);

  // Weakness adds half of the roll, and the fire takes the next event entry.
  Attack(seed, flaming(ImmunityPair(kImmFire), kImmunitySeriousWeakness));
  int fire, index;
  ASSERT_TRUE(LinkAfter(Log(), "@FIRE_DAMAGE@: " + H + "Target" + H + " loses ", &fire, &index));
  EXPECT_STREQ(CombatRollLog[index].caption, "Magic Damage (Flaming Weapon)");
  EXPECT_EQ(CountSource(CombatRollLog[index], 278), 1);
  EXPECT_EQ(fire % 2, 0);
  EXPECT_EQ(CombatEvents[1].type, 4);
  EXPECT_EQ(CombatEvents[1].value, fire);
  EXPECT_EQ(CombatEvents[1].sound, 48);

  // Reversed fire on a creature at full hit points (its damage reduction
  // takes the blade's point) heals nothing and reports nothing.
  Attack(seed, [&] {
    flaming(ImmunityPair(kImmFire), kImmunityReverse)();
    Creatures[kT].protections[kProtDamageReduction].base = 5;
    Creatures[kT].protections[kProtDamageReductionKind].base = 1;
  });
  EXPECT_EQ(CombatEvents[0].type, 53);
  EXPECT_EQ(Log().find("recovers"), std::string::npos);
  EXPECT_TRUE(IsEmptyCombatEvent(CombatEvents[1]));
}

TEST_F(AttackTest, AWeaponAbilityWithItsSave) {
  const auto blinding = [] { MakeWeapon(kSword, "Longsword", 1, 8, 1).properties[3] = 1; };
  const uint32_t seed = SeedWhere("is @BLINDED@ for ", blinding);
  Attack(seed, blinding);
  const std::string log = Log();
  int save, index;
  ASSERT_TRUE(LinkAfter(log, H + "Target" + H + " @SAVING_THROW@ ", &save, &index));
  EXPECT_STREQ(CombatRollLog[index].caption, "Willpower Saving Throw");
  EXPECT_LT(save, 18);
  const int slot = FindCondition(kT, kCondBlinded);
  ASSERT_GE(slot, 0);
  const std::string text = H + "Target" + H + " is @BLINDED@ for " + H + std::to_string(Creatures[kT].conditions[slot].duration) + H + " rounds.\r";
  EXPECT_NE(log.find(text), std::string::npos);
  EXPECT_EQ(CombatEvents[1].type, 31);
  EXPECT_EQ(CombatEvents[1].sound, 35);

  // Already blind: no save is rolled.
  Attack(seed, [&] {
    blinding();
    AddCondition(kT, kCondBlinded, 3, 0, 18, 0);
  });
  EXPECT_NE(Log().find(H + "Target" + H + " is already @BLIND@.\r"), std::string::npos);
  EXPECT_EQ(Log().find("@SAVING_THROW@"), std::string::npos);
}

TEST_F(AttackTest, ANaturalAttacksAbilityDamageTakesTheEntryAfterItsBite) {
  const auto biter = [](int32_t firstCode) {
    return [firstCode] {
      Creatures[kA].equipment[kSlotRightHand - 1] = 0;
      Creatures[kA].naturalAttacks[0] = {1, 1, 20, firstCode, 1, 4, 12, 2, 1};  // bite, then 2 Strength
    };
  };
  const uint32_t seed = SeedWhere("(Success)\r", biter(3));
  Attack(seed, biter(3));
  const std::string log = Log();
  int bite, index;
  ASSERT_TRUE(LinkAfter(log, "@PIERCING@: " + H + "Target" + H + " loses ", &bite, &index));
  EXPECT_NE(log.find(H + "Ability_Damage" + H + ": " + H + "Target" + H + " loses @2|"), std::string::npos);
  EXPECT_EQ(CombatEvents[0].type, 3);
  EXPECT_EQ(CombatEvents[0].value, bite);
  EXPECT_EQ(CombatEvents[1].type, 12);
  EXPECT_EQ(CombatEvents[1].value, 2);
  EXPECT_EQ(CombatEvents[1].sound, 50);
  const int slot = FindCondition(kT, kCondDamagedStrength);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(Creatures[kT].conditions[slot].value, 2);
  EXPECT_EQ(Creatures[kT].conditions[slot].duration, kDurationUntilRest);
  EXPECT_EQ(Creatures[kT].conditions[slot].source, 20u);

  // With no bite damage the ability damage is the first event (the queue
  // never starts with an empty entry).
  Attack(seed, biter(0));
  EXPECT_EQ(CombatEvents[0].type, 12);
}

class CoupDeGraceTest : public AttackTest {
 protected:
  int Strike(uint32_t seed, int hitPoints) {
    MakeFighter(kA, "Fighter", 5, 30);
    MakeFighter(kT, "Target", 6, 0);
    Creatures[kA].equipment[kSlotRightHand - 1] = kSword;
    AddCondition(kT, kCondSleeping, 10, 0, 18, 0);
    Creatures[kT].baseHitPoints = Creatures[kT].maxHitPoints = Creatures[kT].hitPoints = hitPoints;
    RecomputeCreature(kA, 1);
    RecomputeCreature(kT, 1);
    ClearMessageLog();
    CombatRollCount = 0;
    CombatAction = CombatActionState{};
    CombatAction.currentEntry = 0;
    TurnOrder[0].creature = kA;
    TurnEntryCount = 1;
    CoupDeGraceAction = 1;
    SeedRandomForTests(seed);
    const int result = ResolveAttack(kA, kT, 0, 0, 0, 0, 0, nullptr);
    CoupDeGraceAction = 0;
    return result;
  }
};

TEST_F(CoupDeGraceTest, NoAttackRollACriticalAndASaveAgainstDeath) {
  uint32_t seed = 1;
  while (seed < 400) {
    Strike(seed, 100);
    if (Log().find("Save failed (DC @") != std::string::npos) break;
    ++seed;
  }
  const std::string log = Log();
  EXPECT_EQ(log.rfind(H + "Fighter" + H + " inflicts @COUP_DE_GRACE@.\r", 0), 0u);
  EXPECT_EQ(log.find("@ATTACK_ROLL@"), std::string::npos);
  EXPECT_STREQ(FloatingTexts[kA].text, "Coup De Grace");
  int damage, index, dc, dcIndex;
  ASSERT_TRUE(LinkAfter(log, "@SLASHING@: " + H + "Target" + H + " loses ", &damage, &index));
  EXPECT_STREQ(CombatRollLog[index].caption, "Critical (Longsword)");
  ASSERT_TRUE(LinkAfter(log, "Save failed (DC ", &dc, &dcIndex));
  EXPECT_EQ(dc, 10 + damage);
  EXPECT_STREQ(CombatRollLog[dcIndex].caption, "Difficulty Class (Coup de Grace)");
  EXPECT_EQ(Creatures[kT].hitPoints, -10);
  EXPECT_EQ(CombatEvents[1].type, 1);
  EXPECT_EQ(CombatEvents[1].value, 100 - damage + 10);

  // A blow that kills outright asks for no save.
  Strike(seed, 1);
  EXPECT_EQ(Log().find("@SAVE@"), std::string::npos);
}

TEST_F(AttackTest, EvaluationLeavesEverythingAsItWas) {
  Attack(1);  // a real attack first, so that the log, the rolls and the events hold something
  CombatEvents[3] = CombatEvent{45, 7, kT, 35, 0};
  AddCondition(kT, kCondInvisible, 5, 0, 18, 0);
  AddCondition(kA, kCondBlinded, 5, 0, 18, 0);
  RecomputeCreature(kA, 0);
  RecomputeCreature(kT, 0);
  static CreatureRecord creatures[kCreatureCount];
  std::memcpy(creatures, Creatures, sizeof creatures);
  const std::string log = Log();
  static ModifierList rolls[kCombatRollLogSize];
  std::memcpy(rolls, CombatRollLog, sizeof rolls);
  const int rollCount = CombatRollCount;
  CombatEvent events[kCombatEventCount];
  std::memcpy(events, CombatEvents, sizeof events);
  const uint64_t words = RandomWordsUsed();

  const int chance = ResolveAttack(kA, kT, 0, 0, 1, 0, 0, nullptr);
  EXPECT_GE(chance, 1);
  EXPECT_LE(chance, 100);
  EXPECT_EQ(std::memcmp(creatures, Creatures, sizeof creatures), 0);
  EXPECT_EQ(Log(), log);
  EXPECT_EQ(std::memcmp(rolls, CombatRollLog, sizeof rolls), 0);
  EXPECT_EQ(CombatRollCount, rollCount);
  EXPECT_EQ(std::memcmp(events, CombatEvents, sizeof events), 0);
  EXPECT_EQ(RandomWordsUsed(), words);
}

TEST_F(AttackTest, HitChances) {
  // 30 against 10 is capped at 95; a blinded attacker against an invisible
  // target misses half by its own blindness, Blind-Fight squares that away.
  EXPECT_EQ(Attack(1, {}, 1), 95);
  const auto blind = [] { AddCondition(kA, kCondBlinded, 5, 0, 18, 0); };
  EXPECT_EQ(Attack(1, blind, 1), 47);
  EXPECT_EQ(Attack(1, [&] { blind(); Creatures[kA].feats[kFeatBlindFight] = 1; }, 1), 71);
  // Equal grapple rolls: 52 for the attacker, who wins ties.
  MakeFighter(kA, "Fighter", 5, 0);
  MakeFighter(kT, "Target", 6, 0);
  Creatures[kA].naturalAttacks[0] = Creatures[kT].naturalAttacks[0] = {3, 1, 20, 1, 1, 3, 0, 0, 0};
  Creatures[kA].feats[kFeatImprovedGrapple] = Creatures[kT].feats[kFeatImprovedGrapple] = 1;
  EXPECT_EQ(ResolveAttack(kA, kT, 0, 0, 1, 1, 1, nullptr), 52);
  EXPECT_EQ(ShownHitChance, 52);
}

TEST_F(AttackTest, RefusedAttacksLeaveNoTrace) {
  const auto check = [&](int expected, const std::function<void()>& setup, int entry = 0) {
    MakeFighter(kA, "Fighter", 5, 30);
    MakeFighter(kT, "Target", 6, 0);
    Creatures[kA].equipment[kSlotRightHand - 1] = kSword;
    Creatures[kA].facing = 5;
    setup();
    ClearMessageLog();
    const uint64_t words = RandomWordsUsed();
    EXPECT_EQ(ResolveAttack(kA, kT, entry, 0, 0, 0, 0, nullptr), expected);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(RandomWordsUsed(), words);
    EXPECT_EQ(Creatures[kA].facing, 5) << "a refused attack does not turn the attacker";
  };
  check(1, [] { Creatures[kT].present = 0; });
  check(2, [] {}, 7);
  check(2, [] {}, 3);  // an entry of no kind
  check(3, [] { AddCondition(kT, kCondDead, 1000, 0, 24, 0); });
  EXPECT_EQ(ResolveAttack(kA, 2100, 0, 0, 0, 0, 0, nullptr), 1);
  EXPECT_EQ(ResolveAttack(-1, kT, 0, 0, 0, 0, 0, nullptr), 2);
}

TEST_F(AttackTest, EveryEffectTakesItsOwnEntryAndAFullQueueStops) {
  // A weapon with every ability against a chaotic good target: more effects
  // than the ten entries of the queue.
  const auto everything = [] {
    CraftedWeaponRecord& w = MakeWeapon(kSword, "Longsword", 1, 8, 1);
    w.critLow = 2;
    for (int p : {0, 3, 5, 6, 8, 9, 10, 15, 16, 17, 18, 20}) w.properties[p] = 1;
    Creatures[kT].alignment = 7;
    Creatures[kT].wisdom = Creatures[kT].constitution = {1, 1};
  };
  const uint32_t seed = SeedWhere("@VORPAL@", everything);
  Attack(seed, everything);
  // Nine events at most: the last entry stays empty and ends the list.
  for (int i = 0; i < kCombatEventsKept; ++i) EXPECT_FALSE(IsEmptyCombatEvent(CombatEvents[i])) << i;
  EXPECT_TRUE(IsEmptyCombatEvent(CombatEvents[kCombatEventCount - 1]));
  EXPECT_EQ(CombatEventReadIndex, 0u);
  EXPECT_EQ(CombatEvents[0].type, 2);
  EXPECT_EQ(CombatEvents[1].type, 35);  // unholy
  EXPECT_EQ(CombatEvents[2].type, 36);  // axiomatic
}

// A melee exchange until one falls: every piece of the log is one of the
// game's own texts.
TEST_F(AttackTest, AMeleeExchangeWritesOnlyTheGamesTexts) {
  MakeFighter(kA, "Fighter", 5, 3);
  MakeFighter(kT, "Target", 6, 2);
  MakeWeapon(kMace, "Mace", 1, 6, 2).critLow = 19;
  Creatures[kA].equipment[kSlotRightHand - 1] = kSword;
  Creatures[kT].equipment[kSlotRightHand - 1] = kMace;
  Creatures[kA].hitPoints = Creatures[kT].hitPoints = 30;
  ClearMessageLog();
  CombatRollCount = 0;
  SeedRandomForTests(7);
  int rounds = 0;
  while (Creatures[kA].hitPoints > 0 && Creatures[kT].hitPoints > 0 && rounds < 200) {
    const int who = rounds % 2 == 0 ? kA : kT;
    const int result = ResolveAttack(who, who == kA ? kT : kA, 0, 0, 0, 0, 0, nullptr);
    ++rounds;
    // The blow that fells ends the exchange with the fall's result.
    const bool fell = Creatures[kA].hitPoints <= 0 || Creatures[kT].hitPoints <= 0;
    EXPECT_TRUE(result == 4 || result == 10 || (fell && result == 11)) << result;
  }
  EXPECT_LT(rounds, 200);
  const std::string name = H + "(Fighter|Target)" + H;
  const std::string roll = "@-?[0-9]+\\|[0-9][0-9]@";
  const std::regex piece(
      name + " attacks " + name + "\\.\r|@ATTACK_ROLL@ " + H + "-?[0-9]+" + H + " \\+ " + H + "\\$[0-9]+" + H +
      " = " + roll + "\r|@ARMOR_CLASS@ " + roll + " |\\(Success\\)\r|" + H + "Automatic_failure" + H +
      "\\.\r\r|\r\\(Defender dodges the attack\\)\r\r|\r\\(Attack hits armor, does no damage\\)\r\r|"
      "\r\\(Attack fails to pierce defender's skin\\)\r\r|\r" + name + " scores a @THREAT@\\.\r|@CRITICAL@ attack roll " +
      roll + "\r|Missed \\(AC " + H + "[0-9]+" + H + "\\)\\. The attack is not a critical hit\\.\r|Success \\(AC " + H +
      "[0-9]+" + H + "\\)\r|@(SLASHING|BLUDGEONING)@: " + name + " loses " + roll + " @HP@\\.\r|" + name +
      " dies\\.\r\r|\r");
  std::string log = Log();
  // The log may have been trimmed at its head; start at the first whole attack.
  size_t at = log.find(H + "Fighter" + H + " attacks");
  ASSERT_NE(at, std::string::npos);
  while (at < log.size()) {
    std::smatch m;
    const std::string rest = log.substr(at, 300);
    ASSERT_TRUE(std::regex_search(rest, m, piece, std::regex_constants::match_continuous))
        << "unexpected text: " << rest.substr(0, 80);
    at += m.length(0);
  }
}

}  // namespace
