// Each word of the creature record's word arrays carries one meaning: the
// named words of an array are distinct and lie inside it.
#include <gtest/gtest.h>

#include <iterator>
#include <span>

#include "map/fighter_tests.h"
#include "rules/creature_record.h"

namespace {

struct WordList {
  const char* array;
  std::span<const int> ids;
  int size;  // the words of the array
};

TEST(RecordWords, EveryNamedWordHasAWordOfItsOwn) {
  const CreatureRecord& c = Creatures[0];
  const WordList lists[] = {
      {"display", kDisplayWordIds, static_cast<int>(std::size(c.displayWords))},
      {"behaviour", kBehaviourWordIds, static_cast<int>(std::size(c.behaviour))},
      {"special", kSpecialWordIds, static_cast<int>(std::size(c.special))},
      {"script-set", kScriptWordIds, static_cast<int>(std::size(c.scriptWords))},
      {"further", kFurtherWordIds, static_cast<int>(std::size(c.furtherWords))},
      {"generation", kGenerationWordIds, static_cast<int>(std::size(c.generation))},
      {"follower formation", kFollowerFormationWordIds, static_cast<int>(std::size(c.formationWords))},
      {"leader formation", kLeaderFormationWordIds, static_cast<int>(std::size(c.formationWords))},
      {"waypoint", kWaypointWordIds, static_cast<int>(std::size(c.patrol[0]))},
      {"protection flag", kProtectionFlagCodes, 70},  // the protection codes run to 69
  };
  for (const WordList& l : lists) {
    for (size_t i = 0; i < l.ids.size(); ++i) {
      EXPECT_GE(l.ids[i], 0) << l.array << " entry " << i;
      EXPECT_LT(l.ids[i], l.size) << l.array << " entry " << i;
      for (size_t j = i + 1; j < l.ids.size(); ++j)
        EXPECT_NE(l.ids[i], l.ids[j]) << l.array << " entries " << i << " and " << j << " share word " << l.ids[i];
    }
  }
  // The arrays whose words are all spoken for list every word.
  EXPECT_EQ(std::size(kBehaviourWordIds), std::size(c.behaviour));
  EXPECT_EQ(std::size(kSpecialWordIds), std::size(c.special));
  EXPECT_EQ(std::size(kScriptWordIds), std::size(c.scriptWords));
}

TEST(RecordWords, TheProtectionFlagsReadImmunityCategoriesOfTheirOwn) {
  // Each flag code reads its own immunity category (the code of pair 48 is read straight from the pair).
  for (int a : kProtectionFlagCodes) {
    if (a == kCodeReadFromPair) continue;
    EXPECT_GE(ImmunityCategoryOfCode(a), 0) << "code " << a;
    for (int b : kProtectionFlagCodes) {
      if (b == a || b == kCodeReadFromPair) continue;
      EXPECT_NE(ImmunityCategoryOfCode(a), ImmunityCategoryOfCode(b)) << a << " " << b;
    }
  }
  EXPECT_EQ(ImmunityCategoryOfCode(kCodeCannotBeGrappled), kImmGrappling);
  EXPECT_EQ(ImmunityCategoryOfCode(kCodeCannotBePinned), kImmPinning);
}

}  // namespace
