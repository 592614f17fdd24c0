// A least version of the saved games, standing until the saved-game files
// are written: no slot is used and nothing is written.
#include "frontend/saved_games.h"

namespace {
constexpr int kNotWritten = 1;
}  // namespace

int WriteSavedGame(int) { return kNotWritten; }
int FindFreeSaveSlot() { return 1; }
