// The spell page: the grid of learnable spells by level, the shifted first
// row, scrolls the party carries, the good choices and the return.
#include "party/level_up_words.h"
#include "party/party_screens.h"
#include "party_fixture.h"
#include "rules/item_tables.h"

namespace {

using partytest::PartyPages;
using partytest::Point;
using partytest::SmallCell;

// The icon of slot k (0, 1, 2...) in the row of spell level L.
Point Icon(int level, int k) { return {68 + 16 * k + 4, 36 + 16 * level + 4}; }
const Point kRight = {275, 43}, kLeft = {267, 43};

class SpellPage : public PartyPages {
 protected:
  static void Open(int creature, int32_t creatureClass, int level) {
    Creatures[creature].creatureClass = creatureClass;
    Creatures[creature].level = level;
    ShowPage("Spell Selection", kPageSpellPick, creature);
    Settle();
  }
  static int KnownCount(int creature) {
    int n = 0;
    for (int s = 0; s < kSpellRows; ++s) n += Creatures[creature].knownSpells[s];
    return n;
  }
};

TEST_F(SpellPage, LevelsOpenEveryOtherClassLevel) {
  Open(1, kClassWizard, 2);
  ClickAt(Icon(2, 0));
  EXPECT_EQ(KnownCount(1), 0);
  ExpectTopPage(kPageSpellPick, 1);
  ClickAt(Icon(1, 0));
  EXPECT_EQ(Creatures[1].knownSpells[0], 1);
  ExpectTopPage(kPageCharacterCreation, 1);
  Open(1, kClassWizard, 3);
  ClickAt(Icon(2, 0));
  EXPECT_EQ(Creatures[1].knownSpells[14], 1);  // the first arcane spell of level 2
  Open(1, kClassWizard, 3);
  EXPECT_EQ(HintAt({48, 59}), "Level_1_Arcane_Spells");
  Open(2, kClassCleric, 1);
  EXPECT_EQ(HintAt({48, 187}), "Level_9_Cleric_Spells");
}

TEST_F(SpellPage, ALongFirstRowShiftsAndHidesWhatItPasses) {
  Open(2, kClassCleric, 1);  // 17 divine spells of level 1
  EXPECT_EQ(HintAt(kRight), "Scroll Right");
  EXPECT_EQ(HintAt(kLeft), "");
  ClickAt(kRight);
  EXPECT_EQ(SpellRowOffset, 1);
  EXPECT_EQ(HintAt(kLeft), "Scroll Left");
  Creatures[2].knownSpells[110] = 1;  // 16 left
  ClickAt(kRight);
  EXPECT_EQ(SpellRowOffset, 2);
  EXPECT_EQ(HintAt(kRight), "");
  ClickAt(Icon(1, 0));  // the third candidate now stands first
  EXPECT_EQ(Creatures[2].knownSpells[104], 1);
  EXPECT_EQ(SpellRowOffset, 0);
}

TEST_F(SpellPage, AScrollTheyCarryIsMarkedNotProposedAndStillLearnt) {
  Creatures[0].carried[0] = {5003 + 5, 1};  // a scroll of spell 5
  Open(1, kClassWizard, 1);
  EXPECT_EQ(HintAt(Icon(1, 5)), "You have a scroll of this spell");
  ClickAt(SmallCell(15, 35));
  EXPECT_EQ(Creatures[1].knownSpells[5], 0);
  EXPECT_EQ(Creatures[1].knownSpells[3], 1);  // the best choice without the scroll's spell
  Open(1, kClassWizard, 1);
  ClickAt(Icon(1, 4));  // spell 3 is known: spell 5 stands fifth
  EXPECT_EQ(Creatures[1].knownSpells[5], 1);
}

TEST_F(SpellPage, DeepSlumberFollowsHasteOnlyWithEnchantmentFocus) {
  const int before[] = {95, 98, 97, 101, 94, 92, 87, 88, 93, 82, 79, 81, 83, 69, 72,
                        68, 70, 59, 60, 61, 64, 65, 41, 47, 49, 50, 48, 31};
  for (bool focus : {false, true}) {
    for (int s : before) Creatures[1].knownSpells[s] = 1;
    Creatures[1].knownSpells[27] = Creatures[1].knownSpells[28] = 0;
    Creatures[1].feats[305] = focus ? 1 : 0;
    Open(1, kClassWizard, 5);
    ClickAt(SmallCell(15, 36, 1));
    EXPECT_EQ(Creatures[1].knownSpells[focus ? 28 : 27], 1) << focus;
    EXPECT_EQ(Creatures[1].knownSpells[36], 0);
  }
}

TEST_F(SpellPage, NothingToLearnHandsBackAtOnceAndALevelUpKeepsItsSlots) {
  Open(3, kClassKnight, 5);
  ExpectTopPage(kPageCharacterCreation, 3);
  NewPartyPending = 0;
  Open(3, kClassKnight, 5);
  ExpectTopPage(kPageLevelUp, 3);
  SpellSlotCounter = 2;
  Open(2, kClassCleric, 1);
  ClickAt(Icon(1, 0));
  EXPECT_EQ(PendingLevelUpChoices[kPendingFirstSpell], -1);
  EXPECT_EQ(PendingLevelUpChoices[kPendingSecondSpell], 102);
  ExpectTopPage(kPageLevelUp, 2);
}

}  // namespace
