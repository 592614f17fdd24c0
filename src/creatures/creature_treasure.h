// Coins, goods and magic items of created creatures, and the generated rows
// of the crafted item table that carry their weapons, armour and wands.
//
// Generated items live in crafted rows 4701 to 4950: each is a copy of the
// prepared row of its item option (row 4951 + option) with the owned mark
// set, so it can carry its own enhancement, abilities, name and price.
#pragma once
#include "rules/record_words.h"

constexpr int kFirstGeneratedItemRow = 4701;
constexpr int kLastGeneratedItemRow = 4950;
constexpr int kFirstPreparedItemRow = 4952;  // item option k is row 4951 + k
constexpr int kWandOption = 8;

// The treasure multipliers of a creature kind are its three generation words
// (TreasureWord, rules/record_words.h).

// The grades of a magic item roll.
enum TreasureGrade : int {
  kTreasureNothing = 0,
  kTreasureMinor = 1,
  kTreasureMedium = 2,
  kTreasureMajor = 3,
};

// The first generated row whose name is empty; -1 when all 250 are used.
int FindFreeGeneratedItemRow();
// Copies the prepared row of an item option (1 to 48) into a free generated
// row and marks it owned; -1 (nothing made) when no row is free, the option
// is outside 1 to 48 or its prepared row is empty. When none is free, the
// rows nothing holds any more are given back first (once in a making while
// that look finds none, creatures/unheld_item_rows.h).
int MakeGeneratedItem(int option);
// Whether an item code names a generated row (4701 to 4950).
bool IsGeneratedItemRow(uint32_t code);
// Empties the places of a creature's equipment, ammunition and backpack that
// hold generated items; their rows are left as they are (the next item
// made without a free row looks for them).
void DropGeneratedItems(int creature);
// A creature taken off for good gives its generated items up: its places
// holding them are emptied, and every generated row nothing else holds comes
// back (creatures/unheld_item_rows.h), so that its record names no row
// another item may take.
void ReleaseGeneratedItems(int creature);

// Gold from the creature's coins multiplier, by the coin row of the level
// (ratings 0 and below share the lowest row, 20 and above the highest).
int RollCoins(int creature, int level);
// The number of gems from the creature's goods multiplier: one per roll that
// beats the rating's threshold; 0 at once for rating -2 or below.
int RollGoods(int creature, int challengeRating);
// A gem kind: base row 502 to 516.
int PickGemRow();
// The total value in gold of count gems, each drawn like PickGemRow.
int RollGemsValue(int count);
// One roll of the magic item tables by challenge rating; the item made goes
// into the first free carried pair. Returns the grade rolled.
int GiveCreatureTreasure(int creature, int challengeRating);
// The treasure of a creature that carries no equipment: coins into carried
// pair 0, gems and the item rolls of its multipliers into the free pairs.
void GiveTreasureByRating(int creature, int challengeRating);

