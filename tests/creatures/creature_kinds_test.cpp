#include "creatures/creature_kinds.h"

#include <cstring>
#include <set>

#include "creation_fixture.h"

namespace {

TEST(CreatureKindsTest, NamesTemplatesAndLevelRowsCoverTheSameKinds) {
  int named = 0;
  for (int kind = 0; kind < kKindRows; ++kind) {
    ASSERT_NE(std::memchr(KindNames[kind], 0, sizeof KindNames[kind]), nullptr);
    if (std::strcmp(KindNames[kind], "-") != 0) ++named;
  }
  EXPECT_EQ(named, 46);  // "NONE", the 44 templates and the giant rat
  EXPECT_STREQ(KindNames[kKindThriKreen], "THRI-KREEN");
  EXPECT_STREQ(KindNames[kKindGiantRat], "GIANT_RAT");
  EXPECT_STREQ(KindNames[kKindZombie], "ZOMBIE");
  EXPECT_STREQ(KindNames[92], "-");

  std::set<int> kinds;
  for (const KindTemplate& t : KindTemplates) {
    kinds.insert(t.kind);
    EXPECT_STRNE(KindNames[t.kind], "-") << t.kind;
    EXPECT_NE(FindKindLevels(t.kind), nullptr) << t.kind;
    EXPECT_EQ(IsDragonKind(t.kind), t.type == kTypeDragon) << t.kind;
    EXPECT_TRUE(t.kind == kKindHuman || (t.name && std::strlen(t.description) < 402)) << t.kind;
  }
  EXPECT_EQ(kinds.size(), static_cast<size_t>(kKindTemplateCount));
  EXPECT_EQ(FindKindTemplate(kKindGiantRat), nullptr);
  for (const AttackRider& r : AttackRiders) EXPECT_TRUE(kinds.count(r.kind)) << r.kind;
}

TEST(CreatureKindsTest, TraitSets) {
  std::memset(&Creatures[7], 0, sizeof Creatures[7]);
  CreatureRecord& c = Creatures[7];
  c.size.base = 4;
  ApplyConstructTraits(7);
  EXPECT_EQ(c.baseHitPoints, 30);
  EXPECT_EQ(c.protections[ImmunityPair(kImmPositiveEnergy)].base, kImmunityImmune);
  EXPECT_EQ(c.protections[ImmunityPair(kImmMind)].base, kImmunityImmune);
  EXPECT_EQ(c.sightless, 1);
  ApplyUndeadTraits(7);
  EXPECT_EQ(c.protections[ImmunityPair(kImmNegativeEnergy)].base, kImmunityReverse);
  EXPECT_EQ(c.protections[ImmunityPair(kImmFire)].base, 0);
  c.size.base = 1;
  ApplyConstructTraits(7);
  EXPECT_EQ(c.baseHitPoints, 30);
}

}  // namespace
