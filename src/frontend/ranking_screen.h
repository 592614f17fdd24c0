// The ranking page (page type 137): ten entries of the "Score" leaderboard,
// scrolled by keys, the wheel and two arrows.
#pragma once
#include <cstddef>
#include <cstdint>

// The window of ranks the ranking page asks for next, or 0 for none: the
// first shown rank, the entries shown and the board's total, and the move
// asked (-1 one up, -3 a page up, 1 one down, 3 a page down; kToFirst and
// kToLast the ends).
constexpr int kToFirst = -1000;
constexpr int kToLast = 1000;
int RankingWindowStart(int firstShown, int shownCount, int total, int move);
// A player's name as the page shows it: names of more than 24 characters
// cut to their first 21 and "...".
void ShownPlayerName(const char* name, char* out, size_t size);
