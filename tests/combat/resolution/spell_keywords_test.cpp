#include "combat/resolution/spell_keywords.h"
#include "rules/casting_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SpellKeywordsTest, EverySpellRowHasItsFullKeyword) {
  EXPECT_STREQ(SpellKeywordFull(0), "ENTANGLE");
  EXPECT_STREQ(SpellKeywordFull(3), "SLEEP");
  EXPECT_STREQ(SpellKeywordFull(7), "RAY_OF_ENFEEBLEMENT");
  EXPECT_STREQ(SpellKeywordFull(100), "POWER_WORD_SLEEP");
  EXPECT_STREQ(SpellKeywordFull(110), "PROTECTION_(GOOD/EVIL)");
  EXPECT_STREQ(SpellKeywordFull(174), "TRUE_RESURRECTION");
  EXPECT_STREQ(SpellKeywordFull(179), "Extra Spell 5");
  EXPECT_STREQ(SpellKeywordFull(-1), "");
  EXPECT_STREQ(SpellKeywordFull(180), "");
  for (int spell = 0; spell < kSpellRows; ++spell) {
    EXPECT_GT(std::strlen(SpellKeywordTable[spell]), 0u) << spell;
    for (int other = 0; other < spell; ++other) EXPECT_STRNE(SpellKeywordTable[spell], SpellKeywordTable[other]);
  }
}

}  // namespace
