// The words a level-up shares with the feat and spell pages it opens: the
// choices made so far and which of two choices the next pick fills.
#pragma once
#include <cstdint>

// First new feat, second new feat, first new spell, second new spell of
// the level-up under way (-1 none).
enum PendingChoice : int { kPendingFirstFeat = 0, kPendingSecondFeat = 1, kPendingFirstSpell = 2, kPendingSecondSpell = 3 };
extern int32_t PendingLevelUpChoices[4];
// 1 or 2: whether the next feat (spell) picked is the first or the second
// new one; set by the level-up page before it opens the feat (spell) page.
extern int32_t FeatSlotCounter;
extern int32_t SpellSlotCounter;

// The member's values just before its level rose, for the level-up page to
// show and to put back on "Cancel": old level, old caster-level value, the
// old bases of base attack bonus, Fortitude, Reflex and Willpower, and the
// six old base ability scores (Strength first). Filled by the game screen's
// level-up start.
enum LevelUpBackupWord : int {
  kBackupLevel = 0,
  kBackupCasterLevel = 1,
  kBackupBaseAttack = 2,
  kBackupFortitude = 3,
  kBackupReflex = 4,
  kBackupWillpower = 5,
  kBackupStrength = 6,  // 6 to 11: Strength, Dexterity, Constitution, Intelligence, Wisdom, Charisma
};
constexpr int kLevelUpBackupWords = 12;
extern int32_t LevelUpBackup[kLevelUpBackupWords];
inline int32_t (&LevelUpSnapshot)[kLevelUpBackupWords] = LevelUpBackup;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetLevelUpWords();
