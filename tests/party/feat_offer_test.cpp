// Which feats a member may take and the two the feat page proposes.
#include <gtest/gtest.h>

#include <cstring>

#include "frontend/game_reset.h"
#include "party/feat_offer.h"
#include "rules/feat_names.h"
#include "rules/creature_record.h"

namespace {

class FeatOfferTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }

  // A creature of the class and level with every score 10 and no feat.
  static CreatureRecord& Make(int creatureClass, int level, int bab) {
    CreatureRecord& c = Creatures[kId];
    std::memset(static_cast<void*>(&c), 0, sizeof c);
    std::strcpy(c.name, "Tester");
    c.creatureClass = creatureClass;
    c.level = level;
    c.baseAttack.base = bab;
    for (StatPair* a : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      a->base = 10;
    return c;
  }
  static bool Offered(int feat) { return ComputeFeatOffer(kId)[feat] == 1; }
  static GoodFeats Good() { return ChooseGoodFeats(kId, ComputeFeatOffer(kId)); }
  static constexpr int kId = 40;
};

TEST_F(FeatOfferTest, AFreshKnightIsOfferedWhatItsScoresAllow) {
  CreatureRecord& c = Make(kClassKnight, 1, 1);
  c.strength.base = 13;
  c.dexterity.base = 12;
  for (int f : {29, 30, 44, 51, 54, 55, 56, 57}) c.feats[f] = 1;
  for (int f : {0, 16, 15, 10, 323, 321, 3, 24, 88, 11}) EXPECT_TRUE(Offered(f)) << f;
  for (int f : {14, 180, 1, 4, 12, 13, 58, 289, 29, 44}) EXPECT_FALSE(Offered(f)) << f;
  EXPECT_TRUE(Offered(kFeatBastardSword));  // BAB 1
  EXPECT_EQ(Good(), (GoodFeats{kFeatCleave, 88}));  // CLEAVE, then WEAPON FOCUS (LONGSWORD)
}

// Each rule met exactly, then missed by one requirement at a time.
TEST_F(FeatOfferTest, EachRequirementMetExactlyOffersTheFeatAndMissedByOneDoesNot) {
  struct Need {
    int feat, creatureClass, level, bab, str, dex, intel;
    std::vector<int> held;
  };
  const Need needs[] = {
      {17, kClassKnight, 4, 4, 13, 10, 10, {16}},                 // GREAT CLEAVE
      {19, kClassKnight, 4, 4, 10, 13, 13, {14, 322, 18}},        // WHIRLWIND ATTACK
      {22, kClassKnight, 11, 11, 10, 15, 10, {20, 21}},           // GREATER TWOWEAPON FIGHTING
      {26, kClassKnight, 11, 11, 10, 15, 10, {24, 25}},           // IMPROVED PRECISE SHOT
      {2, kClassKnight, 1, 0, 10, 13, 10, {5}},                   // IMPROVED GRAPPLE
      {56, kClassKnight, 1, 0, 10, 10, 10, {54, 55}},             // ARMOR PROFICIENCY (HEAVY)
      {59 + 29, kClassCleric, 1, 1, 10, 10, 10, {44}},            // WEAPON FOCUS (LONGSWORD)
      {59 + 16, kClassWizard, 1, 1, 10, 10, 10, {29}},            // WEAPON FOCUS (MORNINGSTAR)
      {59 + 44, kClassKnight, 1, 1, 10, 10, 10, {52}},            // WEAPON FOCUS (BASTARD SWORD)
      {151 + 29, kClassKnight, 4, 0, 10, 10, 10, {88}},           // WEAPON SPECIALISATION (LONGSWORD)
      {105 + 29, kClassKnight, 8, 0, 10, 10, 10, {88}},           // GREATER WEAPON FOCUS (LONGSWORD)
      {197 + 29, kClassKnight, 12, 0, 10, 10, 10, {180, 134}},   // GREATER SPECIALISATION (LONGSWORD)
      {243 + 29, kClassKnight, 8, 8, 10, 10, 10, {44}},           // IMPROVED CRITICAL (LONGSWORD)
      {243, kClassKnight, 8, 8, 10, 10, 10, {5}},                 // IMPROVED CRITICAL (FISTS)
      {290, kClassWizard, 5, 0, 10, 10, 10, {}},                  // CRAFT WAND
      {292, kClassCleric, 12, 0, 10, 10, 10, {}},                 // FORGE RING
      {293, kClassCleric, 3, 0, 10, 10, 10, {}},                  // CRAFT WONDROUS ITEM
      {298, kClassWizard, 1, 0, 10, 10, 10, {297}},               // GREATER SPELL PENETRATION
      {296, kClassCleric, 1, 0, 10, 10, 10, {315}},               // AUGMENT SUMMONING
      {316, kClassWizard, 1, 0, 10, 10, 10, {308}},               // GREATER SPELL FOCUS (EVOCATION)
      {322, kClassKnight, 1, 0, 10, 13, 10, {14}},                // MOBILITY
  };
  for (const Need& n : needs) {
    const auto make = [&] {
      CreatureRecord& c = Make(n.creatureClass, n.level, n.bab);
      c.strength.base = n.str;
      c.dexterity.base = n.dex;
      c.intelligence.base = n.intel;
      for (int f : n.held) c.feats[f] = 1;
      return &c;
    };
    make();
    EXPECT_TRUE(Offered(n.feat)) << n.feat;
    if (n.level > 1 && n.bab < n.level) {
      make()->level = n.level - 1;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " level";
    }
    if (n.bab > 0) {
      make()->baseAttack.base = n.bab - 1;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " bab";
    }
    if (n.str > 10) {
      make()->strength.base = n.str - 1;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " str";
    }
    if (n.dex > 10) {
      make()->dexterity.base = n.dex - 1;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " dex";
    }
    if (n.intel > 10) {
      make()->intelligence.base = n.intel - 1;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " int";
    }
    for (int f : n.held) {
      make()->feats[f] = 0;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " without " << f;
    }
    if (n.creatureClass != kClassKnight && n.feat >= kFeatScribeScroll) {
      make()->creatureClass = kClassKnight;
      EXPECT_FALSE(Offered(n.feat)) << n.feat << " knight";
    }
  }
}

TEST_F(FeatOfferTest, HeldFeatsLeaveTheOfferButToughnessStays) {
  CreatureRecord& c = Make(kClassKnight, 20, 20);
  c.strength.base = c.dexterity.base = c.intelligence.base = 18;
  for (int round = 0; round < 400; ++round) {
    const FeatOffer offer = ComputeFeatOffer(kId);
    int next = -1;
    for (int f = 0; f < kFeatFlags && next < 0; ++f)
      if (offer[f] == 1 && f != kFeatToughness) next = f;
    if (next < 0) break;
    c.feats[next] = 1;
    EXPECT_FALSE(Offered(next)) << next;
  }
  EXPECT_EQ(Good(), (GoodFeats{-1, -1}));
  c.feats[kFeatToughness] = 3;
  EXPECT_TRUE(Offered(kFeatToughness));
  // Picked up along the way: the whole Knight tree, never a natural attack.
  EXPECT_EQ(c.feats[19], 1);
  EXPECT_EQ(c.feats[197 + 44], 1);
  EXPECT_EQ(c.feats[60], 0);
  EXPECT_EQ(c.feats[159], 0);
}

TEST_F(FeatOfferTest, SpellFociFollowTheirSchoolsAndClasses) {
  CreatureRecord& w = Make(kClassWizard, 20, 10);
  EXPECT_TRUE(Offered(309));
  EXPECT_FALSE(Offered(310));
  EXPECT_FALSE(Offered(311));
  EXPECT_FALSE(Offered(105 + 29));
  EXPECT_FALSE(Offered(151 + 29));
  w.feats[308] = 1;
  EXPECT_FALSE(Offered(308));
  EXPECT_TRUE(Offered(316));
  w.feats[316] = 1;
  w.feats[308] = 0;
  EXPECT_FALSE(Offered(308));  // its greater form is held
  w.feats[311] = 1;            // a plain focus got another way
  EXPECT_TRUE(Offered(319));
  EXPECT_FALSE(Offered(296));
  Make(kClassCleric, 20, 15);
  EXPECT_FALSE(Offered(309));
  EXPECT_FALSE(Offered(312));
  EXPECT_TRUE(Offered(305));
  EXPECT_FALSE(Offered(296));
}

TEST_F(FeatOfferTest, GoodChoicesOfTheThreeClasses) {
  Make(kClassWizard, 1, 0).intelligence.base = 16;
  EXPECT_EQ(Good(), (GoodFeats{305, 294}));
  CreatureRecord& w = Make(kClassWizard, 5, 2);
  w.feats[306] = 1;  // any focus takes ENCHANTMENT off the list
  EXPECT_EQ(Good(), (GoodFeats{291, 314}));
  w.feats[291] = w.feats[314] = w.feats[290] = w.feats[294] = w.feats[299] = w.feats[300] = 1;
  w.feats[14] = w.feats[322] = 1;
  w.dexterity.base = 13;
  EXPECT_EQ(Good(), (GoodFeats{293, 68}));
  w.feats[293] = w.feats[68] = 1;
  EXPECT_EQ(Good(), (GoodFeats{24, 301}));  // the shots follow WEAPON FOCUS (RANGED TOUCH)

  CreatureRecord& k = Make(kClassCleric, 1, 0);
  for (int f : {29, 54, 55, 56, 57}) k.feats[f] = 1;
  EXPECT_EQ(Good(), (GoodFeats{289, 294}));

  // The weapon at the end of a Cleric's list: MORNINGSTAR without a martial
  // or exotic proficiency, else the focus of the proficiency held.
  FeatOffer offer{};
  offer[75] = offer[88] = offer[103] = 1;
  EXPECT_EQ(ChooseGoodFeats(kId, offer), (GoodFeats{75, -1}));
  k.feats[44] = 1;
  EXPECT_EQ(ChooseGoodFeats(kId, offer), (GoodFeats{88, -1}));
  k.feats[52] = 1;
  EXPECT_EQ(ChooseGoodFeats(kId, offer), (GoodFeats{103, 88}));

  // A Knight with WEAPON FOCUS (BASTARD SWORD) alone still has no exotic
  // proficiency or weapon focus that counts.
  CreatureRecord& f = Make(kClassKnight, 1, 1);
  f.feats[103] = 1;
  FeatOffer knightOffer{};
  knightOffer[88] = 1;
  EXPECT_FALSE(HasExoticProfOrWeaponFocus(kId));
  EXPECT_EQ(ChooseGoodFeats(kId, knightOffer), (GoodFeats{88, -1}));
  f.feats[70] = 1;
  EXPECT_TRUE(HasExoticProfOrWeaponFocus(kId));
  EXPECT_EQ(ChooseGoodFeats(kId, knightOffer), (GoodFeats{-1, -1}));
  f.creatureClass = kClassRogue;
  EXPECT_EQ(Good(), (GoodFeats{-1, -1}));
}

// The creation and level-up lists' names fit the creation list's column; a long
// family name is shortened, and only then a long weapon word.
TEST(FeatNames, ListNamesFitTheirColumn) {
  for (int f = 0; f < kFeatFlags; ++f) EXPECT_LE(std::strlen(FeatDisplayNames[f]), size_t{kFeatDisplayNameLength}) << f;
  EXPECT_STREQ(FeatDisplayNames[0], "IMPROVED BULLRUSH");
  EXPECT_STREQ(FeatDisplayNames[104], "WPN. FOCUS (D. WARAXE)");
  EXPECT_STREQ(FeatDisplayNames[149], "GR. FOCUS (B. SWORD)");
  EXPECT_STREQ(FeatDisplayNames[150], "GR. FOCUS (D. WARAXE)");
  EXPECT_STREQ(FeatDisplayNames[263], "IMP. CRIT. (H.CROSSBOW)");
  EXPECT_STREQ(FeatDisplayNames[313], "GR. SPELL FOCUS (ENCH.)");
  EXPECT_STREQ(FeatNameTable[150], "GREATER WEAPON FOCUS (DWARVEN WARAXE)");
  EXPECT_STREQ(FeatKeywordTable[263], "IC HCROS");
}

}  // namespace
