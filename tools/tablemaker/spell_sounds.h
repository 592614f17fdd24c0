// The sound families of the spell rows: spells that do alike sound alike. A
// row of the source names the family it casts with ('family') and, where what
// takes hold on its targets is of another family, that one ('holds'); the
// header of content/tables/spells.txt says what each family covers, this table
// which magic sounds it has.
#pragma once
#include <string>
#include <vector>

#include "table_schema.h"

// Words of a spell row that only the source holds (the table file leaves them out).
constexpr int kFamilyWord = 664, kHoldsWord = 668;
constexpr int kSpellSourceOnlyBytes = 8;

// The family names as the source gives them, by number ("None", the spare rows', first).
const char* const* SoundFamilyNames();
int LastSoundFamily();

// Adds what is wrong with row r's three sound words (0 none, else Magic_N)
// for the family it casts with and the one that takes hold (0 none).
void CheckSpellSounds(int r, int family, int holds, int castSound, int effectSound, int targetSound,
                      RowProblems* problems);
